#include "PassaggiContratto.h"

#include "ContrattoConteggio.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "MaggiorazioniInUso.h"
#include "PaginaContratto.h"
#include "PaginaSoglia.h"
#include "PagineFinanziamenti.h"
#include "SoglieInUso.h"
#include "VerificaContratto.h"

#include <algorithm>
#include <cmath>

using namespace std::chrono;

namespace {

QString Testo(const std::string& s) { return QString::fromStdString(s); }
QString Giorno(sys_days d) { return Testo(TestoGiorno(d)); }
QString Tasso(double t) { return std::isfinite(t * 100) ? Testo(FormatoTasso(t)) : QStringLiteral("non valido"); }
QString Tasso(const Risultato<double>& r)
{
    return r ? Tasso(*r) : QStringLiteral("non determinabile (") + Testo(r.Errore()) + QLatin1Char(')');
}
QString Punti(double frazione) { return NumeroNelTesto(frazione * 100, 1, 4); }
QString Minuscolo(const QString& t) { return t.isEmpty() ? t : t.left(1).toLower() + t.mid(1); }

QString NomeCosto(const CostoMutuo& c)
{
    const QString tipo = Testo(NomeTipoCosto(c.tipo));
    const QString descrizione = Testo(c.descrizione).simplified();
    return descrizione.isEmpty() ? tipo : descrizione + QStringLiteral(" (") + tipo + QLatin1Char(')');
}

// The contract, its costs and its rates with their figures.
BloccoPassaggi Contratto(const Documento& d, const EsameContratto& e)
{
    const ContrattoMutuo& c = e.contratto;
    BloccoPassaggi b;
    QString titolo = QStringLiteral("Mutuo: il contratto");
    const QString descrizione = Testo(d.MutuoCorrente().Descrizione()).simplified();
    if (!descrizione.isEmpty())
        titolo += QStringLiteral(" \u2013 ") + descrizione;
    b.push_back({titolo, 0, true});
    if (!e.piano) {
        b.push_back({QStringLiteral("Il piano non si calcola: ") + Testo(e.piano.Errore()), 1});
        return b;
    }
    const PianoAmmortamento& p = *e.piano;
    b.push_back({QStringLiteral("Importo %1, stipula %2, prima rata %3; %4 rate %5; TAN %6 (base %7); "
                                "ammortamento %8.")
                     .arg(ImportoNelTesto(c.importo), Giorno(*c.dataStipula), Giorno(*c.dataPrimaRata))
                     .arg(c.numeroRate)
                     .arg(PeriodicitaDaRateAnnuali(c.rateAnnuali).toLower(), Tasso(c.tan),
                          Minuscolo(ElencoBasiTan().value(static_cast<int>(c.base))),
                          Minuscolo(ElencoMetodi().value(static_cast<int>(c.metodo)))),
                 1});
    double stipula = 0, dopo = 0;
    for (const bool nelTasso : {true, false}) {
        bool intestato = false;
        for (const CostoMutuo& costo : c.costi) {
            if (costo.nelTasso != nelTasso)
                continue;
            if (!intestato)
                b.push_back({nelTasso ? QStringLiteral("Costi nel tasso:") : QStringLiteral("Costi esclusi dal tasso:"),
                             1});
            intestato = true;
            b.push_back({QStringLiteral("%1: %2 %3 \u2013 %4")
                             .arg(NomeCosto(costo), ImportoNelTesto(costo.importo),
                                  Minuscolo(ElencoPagamenti().value(static_cast<int>(costo.pagamento))),
                                  Testo(costo.motivo)),
                         2});
            if (nelTasso && costo.pagamento == PagamentoCosto::Stipula)
                stipula += costo.importo;
        }
    }
    for (const FlussoDatato& f : FlussiMutuo(c, p, CostiNelTasso::Scelti))
        if (f.data != *c.dataStipula)
            dopo -= f.importo;
    b.push_back({QStringLiteral("Il T.A.E.G. è il tasso annuo X che rende la somma ricevuta alla stipula uguale al "
                                "valore attuale dei pagamenti, con i tempi t in anni dalla stipula (mesi interi in "
                                "dodicesimi di anno, gli altri giorni sui giorni dell'anno; allegato I della "
                                "direttiva 2008/48/CE):"),
                 1});
    b.push_back({QStringLiteral("Somma ricevuta = \u03a3 pagamenti \u00d7 (1 + X)^\u2212t"), 2});
    b.push_back({QStringLiteral("Somma ricevuta = %1 \u2212 %2 (costi nel tasso pagati alla stipula) = %3")
                     .arg(ImportoNelTesto(c.importo), ImportoNelTesto(stipula), ImportoNelTesto(c.importo - stipula)),
                 2});
    b.push_back({QStringLiteral("Pagamenti: le rate del piano dal %1 al %2 (%3) e i costi nel tasso pagati dopo "
                                "la stipula, in tutto %4")
                     .arg(Giorno(p.righe.front().data), Giorno(p.righe.back().data), ImportoNelTesto(p.totaleRate),
                          ImportoNelTesto(dopo)),
                 2});
    b.push_back({QStringLiteral("T.A.E.G. senza costi %1; con i costi nel tasso %2; con ogni costo facoltativo %3")
                     .arg(Tasso(e.tassi.nudo), Tasso(e.tassi.conCosti), Tasso(e.tassi.conFacoltativi)),
                 2});
    return b;
}

// The threshold of one verdict with its figures, and the verdict.
BloccoPassaggi Soglia(const VerificaMutuo& v, const QString& intestazione, const Documento& d,
                      const std::vector<RigaPassaggio>& premessa)
{
    const EsitoVerifica& e = v.esito;
    BloccoPassaggi b;
    QString titolo = intestazione;
    if (e.inizio && e.fine)
        titolo += QStringLiteral(": soglia del periodo ") + TestoPeriodo(*e.inizio, *e.fine);
    b.push_back({titolo, 1, true});
    b.insert(b.end(), premessa.begin(), premessa.end());
    if (e.tegm && e.soglia) {
        if (const auto stipula = d.Usura().DataStipula())
            b.push_back({QStringLiteral("Data che individua il periodo: data di stipula ") + Giorno(*stipula), 2});
        QString classe = QStringLiteral("Categoria: %1; classe: %2").arg(Testo(e.categoria), Testo(e.classe));
        classe += e.importoClasse ? QStringLiteral(" (dall'importo finanziato di %1 euro)")
                                        .arg(ImportoNelTesto(*e.importoClasse))
                                  : QStringLiteral(" (indicata nel conteggio)");
        b.push_back({classe, 2});
        QString tegm = QStringLiteral("TEGM %1%").arg(NumeroNelTesto(*e.tegm * 100, 2, 4));
        if (v.maggiorazione)
            tegm += QStringLiteral("; maggiorazione media di mora %1 punti (%2)")
                        .arg(Punti(*v.maggiorazione), Testo(v.fonteMaggiorazione));
        b.push_back({tegm, 2});
        b.push_back({QStringLiteral("Soglia = ") + Testo(v.calcolo) + QLatin1Char('%'), 2});
    }
    const RigaPaginaSoglia r = RigheSoglia({e}).front();
    QString t = r.formula + QStringLiteral(": ");
    if (!r.tasso.isEmpty())
        t += r.tasso + QLatin1Char(' ');
    t += QStringLiteral("\u2013 ") + (r.Oltre() ? QStringLiteral("OLTRE SOGLIA") : r.esito);
    if (!r.margine.isEmpty())
        t += QStringLiteral(", margine %1 punti").arg(r.margine);
    if (!r.nota.isEmpty())
        t += QStringLiteral(" (%1)").arg(r.nota);
    b.push_back({t, 2, r.Oltre()});
    return b;
}

} // namespace

std::vector<EsitoVerifica> SenzaEsitiContratto(const std::vector<EsitoVerifica>& esiti)
{
    std::vector<EsitoVerifica> altri;
    std::copy_if(esiti.begin(), esiti.end(), std::back_inserter(altri),
                 [](const EsitoVerifica& e) { return !EsitoDelContratto(e); });
    return altri;
}

void AggiungiPassaggiContratto(std::vector<SezionePassaggi>& sezioni, const Documento& d,
                               const std::vector<EsitoVerifica>& esiti)
{
    if (std::none_of(esiti.begin(), esiti.end(), EsitoDelContratto))
        return;
    const EsameContratto e = EsaminaContratto(d);
    const ContrattoMutuo& c = e.contratto;
    SezionePassaggi s{QStringLiteral("Mutuo: il contratto"), {Contratto(d, e)}};
    for (const VerificaMutuo& v : VerificheContratto(d, SoglieInUso(), MaggiorazioniInUso())) {
        std::vector<RigaPassaggio> premessa;
        QString intestazione = QStringLiteral("T.A.E.G. con i costi nel tasso");
        if (v.esito.formula == "tasso di mora pattuito") {
            intestazione = QStringLiteral("Interessi di mora");
            premessa.push_back({c.mora.tipo == TipoMora::Spread
                                    ? QStringLiteral("Tasso di mora pattuito = TAN + maggiorazione = %1 + %2 punti = %3")
                                          .arg(Tasso(c.tan), Punti(c.mora.valore), Tasso(c.tan + c.mora.valore))
                                    : QStringLiteral("Tasso di mora pattuito: tasso fisso %1").arg(Tasso(c.mora.valore)),
                                2});
            premessa.push_back({OltreCinqueAnni(c)
                                    ? QStringLiteral("Durata del mutuo: oltre cinque anni dalla stipula all'ultima rata")
                                    : QStringLiteral("Durata del mutuo: fino a cinque anni dalla stipula all'ultima rata"),
                                2});
            premessa.push_back({QStringLiteral("Soglia di mora: la formula di legge applicata al TEGM più la "
                                               "maggiorazione media di mora del decreto (Cass. S.U. 19597/2020)"),
                                2});
        } else if (v.esito.formula == "T.A.E.G. all'estinzione con penale") {
            intestazione = QStringLiteral("Estinzione anticipata");
            if (e.piano && e.estinzione) {
                const CasoEstinzione& x = *e.estinzione;
                premessa.push_back(
                    {QStringLiteral("Al %1: debito residuo %2 + interessi maturati %3 + penale %4 = %5")
                         .arg(Giorno(x.data), ImportoNelTesto(x.debitoResiduo), ImportoNelTesto(x.interessiMaturati),
                              ImportoNelTesto(x.penale),
                              ImportoNelTesto(x.debitoResiduo + x.interessiMaturati + x.penale)),
                     2});
                if (c.estinzione.tipo == TipoPenale::Percentuale)
                    premessa.push_back({QStringLiteral("Penale = %1 \u00d7 %2 = %3")
                                            .arg(Tasso(c.estinzione.valore), ImportoNelTesto(x.debitoResiduo),
                                                 ImportoNelTesto(x.penale)),
                                        2});
                premessa.push_back({QStringLiteral("T.A.E.G. dei flussi fino all'estinzione: con la penale %1; "
                                                   "senza penale %2")
                                        .arg(Tasso(x.tassoConPenale), Tasso(x.tassoSenzaPenale)),
                                    2});
            }
        }
        s.blocchi.push_back(Soglia(v, intestazione, d, premessa));
    }
    sezioni.push_back(std::move(s));
}
