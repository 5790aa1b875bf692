#include "PaginaContratto.h"

#include "ContrattoConteggio.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "PagineFinanziamenti.h"

#include <algorithm>
#include <cmath>

using namespace std::chrono;

namespace {

QString Testo(const std::string& s) { return QString::fromStdString(s); }

QStringList Voci(std::initializer_list<const char*> testi)
{
    QStringList l;
    for (const char* t : testi)
        l << QString::fromUtf8(t);
    return l;
}

QString Giorno(sys_days d) { return Testo(TestoGiorno(d)); }

QString Importo(double euro)
{
    if (!std::isfinite(euro))
        return QStringLiteral("non valido");
    return Testo(FormatoImporto(euro));
}

QString Tasso(double frazione)
{
    if (!std::isfinite(frazione * 100))
        return QStringLiteral("non valido");
    return Testo(FormatoTasso(frazione));
}

QString Tasso(const Risultato<double>& r)
{
    return r ? Tasso(*r) : TestoNonDeterminabile;
}

// A difference of rates in points, three decimals, its sign written: "+0,196", "-0,030".
QString Punti(double frazione)
{
    double punti = std::round(frazione * 100000) / 1000;
    if (punti == 0)
        punti = 0;
    QString t = QString::number(punti, 'f', 3).replace(QLatin1Char('.'), QLatin1Char(','));
    return punti > 0 ? QLatin1Char('+') + t : t;
}

QString Minuscolo(const QString& t) { return t.isEmpty() ? t : t.left(1).toLower() + t.mid(1); }

// How a cost is named on its line: its description and kind, or the kind.
QString NomeCosto(const CostoMutuo& c)
{
    const QString tipo = Testo(NomeTipoCosto(c.tipo));
    const QString descrizione = Testo(c.descrizione).simplified();
    if (descrizione.isEmpty())
        return tipo.left(1).toUpper() + tipo.mid(1);
    return descrizione + QStringLiteral(" (") + tipo + QLatin1Char(')');
}

QString QuandoSiPaga(const CostoMutuo& c)
{
    switch (c.pagamento) {
    case PagamentoCosto::Stipula: return QStringLiteral("alla stipula");
    case PagamentoCosto::OgniRata: return QStringLiteral("a ogni rata");
    case PagamentoCosto::Annuale: return QStringLiteral("ogni anno");
    case PagamentoCosto::AllaData:
        return c.data ? QStringLiteral("il ") + Giorno(*c.data) : QStringLiteral("a una data non indicata");
    }
    return {};
}

RigaContratto Titolo(const QString& testo) { return {{}, testo, {}, true, false}; }
RigaContratto Dato(const QString& didascalia, const QString& valore) { return {{}, didascalia, valore}; }
RigaContratto Risultato_(const QString& chiave, const QString& didascalia, const QString& valore,
                         bool evidenza = false)
{
    return {chiave, didascalia, valore, false, evidenza};
}

std::vector<RigaContratto> Dati(const ContrattoMutuo& c)
{
    std::vector<RigaContratto> r;
    r.push_back(Titolo(QStringLiteral("Dati del contratto")));
    r.push_back(Dato(QStringLiteral("Data di stipula"),
                     c.dataStipula ? Giorno(*c.dataStipula) : QStringLiteral("non indicata")));
    r.push_back(Dato(QStringLiteral("Data della prima rata"),
                     c.dataPrimaRata ? Giorno(*c.dataPrimaRata) : QStringLiteral("non indicata")));
    r.push_back(Dato(QStringLiteral("TAN"), Tasso(c.tan) + QStringLiteral(", base ") +
                                                Minuscolo(ElencoBasiTan().value(static_cast<int>(c.base)))));
    r.push_back(Dato(QStringLiteral("Ammortamento"), Minuscolo(ElencoMetodi().value(static_cast<int>(c.metodo)))));
    r.push_back(Dato(QStringLiteral("Giorni di preammortamento"), QString::number(c.giorniPreammortamento)));
    r.push_back(Dato(QStringLiteral("TAEG/ISC dichiarato"),
                     c.taegDichiarato ? Tasso(*c.taegDichiarato) : QStringLiteral("non indicato")));
    if (!c.costi.empty()) {
        r.push_back(Titolo(QStringLiteral("Costi")));
        for (const CostoMutuo& costo : c.costi) {
            r.push_back(Dato(NomeCosto(costo), QStringLiteral("%1 %2, %3")
                                                   .arg(Importo(costo.importo), QuandoSiPaga(costo),
                                                        costo.nelTasso ? QStringLiteral("nel tasso")
                                                                       : QStringLiteral("fuori dal tasso"))));
            if (!Testo(costo.motivo).simplified().isEmpty())
                r.push_back(Dato(QStringLiteral("   ") + Testo(costo.motivo).simplified(), {}));
        }
    }
    switch (c.mora.tipo) {
    case TipoMora::Nessuna:
        r.push_back(Dato(QStringLiteral("Interessi di mora"), QStringLiteral("non indicati")));
        break;
    case TipoMora::Spread:
        r.push_back(Dato(QStringLiteral("Interessi di mora"),
                         QStringLiteral("TAN + %1 punti").arg(Punti(c.mora.valore).remove(QLatin1Char('+')))));
        break;
    case TipoMora::Fisso:
        r.push_back(Dato(QStringLiteral("Interessi di mora"), QStringLiteral("tasso fisso ") + Tasso(c.mora.valore)));
        break;
    }
    const EstinzioneAnticipata& e = c.estinzione;
    if (!e.considerata) {
        r.push_back(Dato(QStringLiteral("Estinzione anticipata"), QStringLiteral("non considerata")));
    } else {
        r.push_back(Dato(e.data ? QStringLiteral("Estinzione anticipata al ") + Giorno(*e.data)
                                : QStringLiteral("Estinzione anticipata (data non indicata)"),
                         e.tipo == TipoPenale::Percentuale
                             ? QStringLiteral("penale ") + Tasso(e.valore) + QStringLiteral(" del debito residuo")
                             : QStringLiteral("penale ") + Importo(e.valore)));
    }
    return r;
}

std::vector<RigaContratto> Risultati(const EsameContratto& e, const Documento& d)
{
    const ContrattoMutuo& c = e.contratto;
    std::vector<RigaContratto> r;
    r.push_back(Titolo(QStringLiteral("Risultati del contratto")));
    if (e.piano) {
        const PianoAmmortamento& p = *e.piano;
        const double perRata = CostiPerRata(c.costi);
        QString rata = Importo(p.rataPiano);
        if (perRata != 0 && std::isfinite(perRata))
            rata += QStringLiteral(" + %1 di spese = %2").arg(Importo(perRata), Importo(p.rataPiano + perRata));
        r.push_back(Risultato_(QStringLiteral("RataPiano"),
                               c.metodo == MetodoAmmortamento::Francese ? QStringLiteral("Rata del piano")
                                                                         : QStringLiteral("Prima rata del piano"),
                               rata));
        if (e.confronto) {
            const ConfrontoRata& x = *e.confronto;
            r.push_back(Risultato_(QStringLiteral("RataIndicata"),
                                   x.concorda ? QStringLiteral("Rata indicata: concorda con il piano")
                                              : QStringLiteral("Rata indicata: differisce di %1 dal piano")
                                                    .arg(Importo(x.differenza)),
                                   Importo(d.MutuoCorrente().Rata()), !x.concorda));
        }
        r.push_back(Risultato_(QStringLiteral("TassoNudo"), QStringLiteral("T.A.E.G. senza costi"), Tasso(e.tassi.nudo)));
        r.push_back(Risultato_(QStringLiteral("TassoConCosti"), QStringLiteral("T.A.E.G. con i costi nel tasso"),
                               Tasso(e.tassi.conCosti), true));
        r.push_back(Risultato_(QStringLiteral("TassoFacoltativi"), QStringLiteral("T.A.E.G. con ogni costo facoltativo"),
                               Tasso(e.tassi.conFacoltativi)));
        for (const TassoPerCosto& t : e.perCosto) {
            const QString nome = NomeCosto(c.costi[static_cast<std::size_t>(t.costo)]);
            r.push_back(Risultato_(QStringLiteral("TassoCon(%1)").arg(t.costo), QStringLiteral("Con ") + nome,
                                   Tasso(t.con)));
            r.push_back(Risultato_(QStringLiteral("TassoSenza(%1)").arg(t.costo), QStringLiteral("Senza ") + nome,
                                   Tasso(t.senza)));
        }
        if (e.tassi.scartoDaTaegDichiarato)
            r.push_back(Risultato_(QStringLiteral("ScartoTaeg"), QStringLiteral("Scarto dal TAEG/ISC dichiarato"),
                                   Punti(*e.tassi.scartoDaTaegDichiarato) + QStringLiteral(" punti")));
        if (e.estinzione) {
            const CasoEstinzione& x = *e.estinzione;
            r.push_back(Risultato_(QStringLiteral("EstinzioneResiduo"),
                                   QStringLiteral("Debito residuo al ") + Giorno(x.data), Importo(x.debitoResiduo)));
            r.push_back(Risultato_(QStringLiteral("EstinzioneInteressi"), QStringLiteral("Interessi maturati"),
                                   Importo(x.interessiMaturati)));
            r.push_back(Risultato_(QStringLiteral("EstinzionePenale"), QStringLiteral("Penale"), Importo(x.penale)));
            r.push_back(Risultato_(QStringLiteral("EstinzioneConPenale"),
                                   QStringLiteral("T.A.E.G. all'estinzione con penale"), Tasso(x.tassoConPenale)));
            r.push_back(Risultato_(QStringLiteral("EstinzioneSenzaPenale"),
                                   QStringLiteral("T.A.E.G. all'estinzione senza penale"), Tasso(x.tassoSenzaPenale)));
        }
    }
    if (e.mora)
        r.push_back(Risultato_(QStringLiteral("TassoMora"), QStringLiteral("Tasso di mora pattuito"), Tasso(*e.mora)));

    int n = 0;
    if (e.piano)
        for (const std::string& a : e.piano->avvisi)
            r.push_back(Risultato_(QStringLiteral("Avviso(%1)").arg(n++), Testo(a), {}));
    const double oneri = d.MutuoCorrente().Oneri();
    if (oneri != 0 && std::isfinite(oneri))
        r.push_back(Risultato_(QStringLiteral("Avviso(%1)").arg(n++),
                               QStringLiteral("Gli oneri trattenuti sul finanziato (%1) non entrano nei tassi del "
                                              "contratto: per includerli, indicarli tra i costi.")
                                   .arg(Importo(oneri)),
                               {}));
    if (!e.errori.empty()) {
        r.push_back(Titolo(QStringLiteral("Dati non accettati")));
        for (std::size_t i = 0; i < e.errori.size(); ++i)
            r.push_back(Risultato_(QStringLiteral("Errore(%1)").arg(i), Testo(e.errori[i].testo), {}, true));
    }
    return r;
}

} // namespace

const QStringList& ElencoBasiTan()
{
    static const QStringList l = Voci({"Commerciale (30/360)", "Tasso equivalente", "Giorni effettivi/365",
                                       "Giorni effettivi/360"});
    return l;
}

const QStringList& ElencoMetodi()
{
    static const QStringList l =
        Voci({"Francese (rata costante)", "Italiano (quota capitale costante)", "Bullet (solo interessi)"});
    return l;
}

const QStringList& ElencoTipiCosto()
{
    static const QStringList l =
        Voci({"Istruttoria", "Perizia", "Incasso rata", "Assicurazione", "Notaio", "Imposte e tasse", "Altro"});
    return l;
}

const QStringList& ElencoPagamenti()
{
    static const QStringList l = Voci({"Alla stipula", "A ogni rata", "Ogni anno", "Alla data"});
    return l;
}

const QStringList& ElencoTipiMora()
{
    static const QStringList l = Voci({"Non indicati", "TAN + maggiorazione", "Tasso fisso"});
    return l;
}

const QStringList& ElencoTipiPenale()
{
    static const QStringList l = Voci({"% del debito residuo", "Importo fisso"});
    return l;
}

QString TestoPercento(double frazione)
{
    if (!std::isfinite(frazione * 100))
        return {};
    QString t = QString::number(frazione * 100, 'f', 6);
    while (t.endsWith(QLatin1Char('0')) && t.indexOf(QLatin1Char('.')) < t.size() - 4)
        t.chop(1);
    if (t.startsWith(QLatin1String("-0.")) && t.mid(1).toDouble() == 0)
        t.remove(0, 1);
    return t.replace(QLatin1Char('.'), QLatin1Char(','));
}

std::optional<double> LeggiPercento(const QString& testo, QString* motivo)
{
    const QString t = testo.trimmed();
    const auto rifiuta = [motivo](const QString& perche) -> std::optional<double> {
        if (motivo)
            *motivo = perche;
        return std::nullopt;
    };
    if (t.isEmpty())
        return rifiuta(QStringLiteral("è vuoto"));
    const qsizetype virgola = t.indexOf(QLatin1Char(','));
    const QString intera = virgola < 0 ? t : t.left(virgola);
    const QString decimali = virgola < 0 ? QString() : t.mid(virgola + 1);
    const auto cifre = [](const QString& s) {
        return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    };
    if (!cifre(intera) || !cifre(decimali) || (intera.isEmpty() && decimali.isEmpty()))
        return rifiuta(QStringLiteral("non è un tasso: si scrivono solo cifre e al più una virgola"));
    if (decimali.size() > 6)
        return rifiuta(QStringLiteral("ha più di sei decimali"));
    if (intera.size() > 4)
        return rifiuta(QStringLiteral("è troppo grande"));
    const QString numero = (intera.isEmpty() ? QStringLiteral("0") : intera) + QLatin1Char('.') +
                           (decimali.isEmpty() ? QStringLiteral("0") : decimali);
    return numero.toDouble() / 100;
}

DatiPaginaContratto PaginaContratto(const Documento& d)
{
    if (!d.Contratto().Indicati())
        return {};
    return PaginaContratto(d, EsaminaContratto(d));
}

DatiPaginaContratto PaginaContratto(const Documento& d, const EsameContratto& e)
{
    DatiPaginaContratto p;
    p.indicato = d.Contratto().Indicati();
    if (!p.indicato)
        return p;
    p.dati = Dati(e.contratto);
    p.risultati = Risultati(e, d);
    for (const ErroreContratto& x : e.errori)
        p.errori << Testo(x.testo);
    return p;
}

DatiPaginaMutuo PaginaMutuoConContratto(Documento& d)
{
    DatiPaginaMutuo p = PaginaMutuo(d.MutuoCorrente());
    p.contratto = PaginaContratto(d);
    return p;
}
