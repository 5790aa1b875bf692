#include "PassaggiVerifica.h"

#include "BOX.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "PaginaSoglia.h"
#include "PagineFinanziamenti.h"
#include "PassaggiContratto.h"
#include "modStampa.h"

#include <QDate>
#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <exception>

using namespace std::chrono;

namespace {

const QString Per = QStringLiteral(" \u00d7 ");
const QString Meno = QStringLiteral(" \u2212 ");
const QString Uguale = QStringLiteral(" = ");

QString Testo(const std::string& s) { return QString::fromStdString(s); }

// A rate as the windows show it ("14,000%"); the reason when there is none.
QString TassoFinestra(double tasso)
{
    if (tasso == DatiIncoerenti || !std::isfinite(tasso * 100))
        return QStringLiteral("dati incoerenti");
    return Testo(FormatoTasso(tasso));
}

// A rate inside a formula: at least three decimals, up to `massimo`.
QString Percento(double tasso, int massimo)
{
    return NumeroNelTesto(tasso * 100, 3, std::max(3, massimo)) + QLatin1Char('%');
}

QString Data(sys_days d) { return DataQt(d).toString(QStringLiteral("dd/MM/yyyy")); }

// A figure that may be negative inside a sum: "− 50,00" rather than "+ -50,00".
QString Aggiungi(const QString& somma, double valore, const QString& testo)
{
    return somma + (valore < 0 ? Meno + testo.mid(1) : QStringLiteral(" + ") + testo);
}

QString Romano(int q)
{
    static const char* const romani[] = {"I", "II", "III", "IV"};
    return QString::fromLatin1(romani[std::clamp(q, 1, 4) - 1]);
}

// A section's heading: what it is and, when given, its description.
QString Intestazione(const QString& cosa, const std::string& descrizione)
{
    const QString testo = Testo(descrizione).simplified();
    return testo.isEmpty() ? cosa : cosa + QStringLiteral(" \u2013 ") + testo;
}

// "mensile", "trimestrale", ... for instalments per year.
QString Periodicita(int rateAnnue)
{
    switch (rateAnnue) {
    case 12: return QStringLiteral("mensile");
    case 6: return QStringLiteral("bimestrale");
    case 4: return QStringLiteral("trimestrale");
    case 3: return QStringLiteral("quadrimestrale");
    case 2: return QStringLiteral("semestrale");
    case 1: return QStringLiteral("annuale");
    }
    return QStringLiteral("del periodo");
}

// "i = 0,4567%; T.E.G. = (1 + 0,4567%)^12 − 1 = 5,614%", the period's rate
// printed with the decimals the annual one needs.
QString Capitalizzato(const QString& nome, double periodo, int n, double annuo)
{
    const QString stampato = TassoFinestra(annuo);
    const int k = DecimaliNecessari(
        {{periodo * 100, 3}}, [n](const std::vector<double>& p) { return std::pow(1 + p[0] / 100, n) - 1; },
        TassoFinestra, stampato);
    const QString i = Percento(periodo, 3 + k);
    return QStringLiteral("%1 = %2; T.E.G. = (1 + %2)^%3 \u2212 1 = %4").arg(nome, i).arg(n).arg(stampato);
}

// ---- The current account ----------------------------------------------------

// The days from the quarter's first to the year's last, over which the
// analytic table compounds.
int GiorniAFineAnno(int anno, int trimestre)
{
    const sys_days inizio{year{anno} / month{static_cast<unsigned>(3 * trimestre - 2)} / 1};
    const sys_days fine{year{anno} / December / 31};
    return static_cast<int>((fine - inizio).count()) + 1;
}

QString NumeriCapitale(const BOX& t, double numeri, int decimali)
{
    const int g = t.GiorniTrimestre();
    return QStringLiteral("Numeri per data = Numeri \u00d7 (G \u2212 giorni valuta) / G = ") +
           ImportoNelTesto(t.Numeri()) + Per + QStringLiteral("(%1").arg(g) + Meno +
           NumeroNelTesto(t.GiorniValuta(), 0, 2) + QStringLiteral(") / %1 = ").arg(g) +
           NumeroNelTesto(numeri, 2, decimali);
}

QString DatiTrimestre(const BOX& t)
{
    QString s = QStringLiteral("Dati del trimestre: numeri debitori %1, interessi %2, commissioni %3")
                    .arg(ImportoNelTesto(t.Numeri()), ImportoNelTesto(t.Interessi()), ImportoNelTesto(t.Commissioni()));
    if (t.CMS() != 0)
        s += QStringLiteral(" di cui CMS %1").arg(ImportoNelTesto(t.CMS()));
    s += QStringLiteral(", spese %1, giorni valuta %2, fido accordato %3, massimo scoperto %4; G = %5 giorni del "
                        "trimestre, anno di %6 giorni.")
             .arg(ImportoNelTesto(t.Spese()), NumeroNelTesto(t.GiorniValuta(), 0, 2), ImportoNelTesto(t.Accordato()),
                  ImportoNelTesto(t.MassimoScoperto()))
             .arg(t.GiorniTrimestre())
             .arg(t.GiorniAnno());
    return s;
}

QString Base(const TerminiIstruzioni& f, const BOX& t)
{
    switch (f.tipoBase) {
    case BaseOneri::Accordato:
        return QStringLiteral("B = Fido accordato = %1: il saldo non ha superato il fido")
            .arg(ImportoNelTesto(f.base));
    case BaseOneri::MassimoScoperto:
        if (t.Accordato() > 0)
            return QStringLiteral("B = Massimo scoperto = %1: il saldo ha superato il fido accordato di %2")
                .arg(ImportoNelTesto(f.base), ImportoNelTesto(t.Accordato()));
        return QStringLiteral("B = Massimo scoperto = %1: nessun fido accordato").arg(ImportoNelTesto(f.base));
    case BaseOneri::Nessuna:
        break;
    }
    return QStringLiteral("B: n\u00e9 fido accordato n\u00e9 massimo scoperto indicati");
}

// The verdict of one formula against a period's threshold.
QString Verdetto(const RigaPaginaSoglia& r)
{
    QString t = FormulaERuolo(r) + QStringLiteral(": ");
    if (!r.tasso.isEmpty())
        t += r.tasso + QLatin1Char(' ');
    if (!r.tassoGriglia.isEmpty())
        t += QStringLiteral("e griglia %1 ").arg(r.tassoGriglia);
    t += QStringLiteral("\u2013 ") + (r.Oltre() ? QStringLiteral("OLTRE SOGLIA") : r.esito);
    if (!r.margine.isEmpty())
        t += QStringLiteral(", margine %1 punti").arg(r.margine);
    if (!r.nota.isEmpty())
        t += QStringLiteral("; ") + r.nota;
    return t;
}

// ---- The rate of each loan --------------------------------------------------

BloccoPassaggi MutuoPassaggi(const Documento& d)
{
    BloccoPassaggi b;
    Mutuo m = d.MutuoCorrente();
    b.push_back({Intestazione(QStringLiteral("Mutuo"), m.Descrizione()), 0, true});
    try {
        m.Aggiorna();
    } catch (const std::exception& e) {
        b.push_back({QStringLiteral("Il mutuo non si calcola: %1").arg(QString::fromUtf8(e.what())), 1});
        return b;
    }
    const int n = static_cast<int>(m.NRate()), annue = static_cast<int>(m.RateAnnuali());
    b.push_back({QStringLiteral("Il tasso del periodo i rende il valore attuale delle rate uguale alla somma "
                                "ricevuta:"),
                 1});
    b.push_back(
        {QStringLiteral("Importo finanziato \u2212 Oneri = Rata \u00d7 \u03a3 (k = 1\u2026N) (1 + i)^\u2212k"), 2});
    b.push_back({ImportoNelTesto(m.Importo()) + Meno + ImportoNelTesto(m.Oneri()) + Uguale +
                     ImportoNelTesto(m.Rata()) +
                     QStringLiteral(" \u00d7 \u03a3 (k = 1\u2026%1) (1 + i)^\u2212k").arg(n),
                 2});
    b.push_back({QStringLiteral("T.E.G. annuale = (1 + i)^%1 \u2212 1, con %2 rate l'anno, periodicit\u00e0 %3")
                     .arg(annue)
                     .arg(annue)
                     .arg(Periodicita(annue)),
                 1});
    if (m.TEGperiodoEsatto() && m.TEGannualeEsatto())
        b.push_back({QStringLiteral("Tasso esatto %1: ").arg(Periodicita(annue)) +
                         Capitalizzato(QStringLiteral("i"), *m.TEGperiodoEsatto(), annue, *m.TEGannualeEsatto()),
                     2});
    else
        b.push_back({QStringLiteral("Tasso esatto: l'equazione non ha una soluzione, tasso non determinabile."), 2});
    if (m.TEGannuale() == DatiIncoerenti || m.TEGperiodo() == DatiIncoerenti)
        b.push_back({QStringLiteral("Tasso della griglia, a passi di 0,01%: dati incoerenti"), 2});
    else
        b.push_back({QStringLiteral("Tasso della griglia, a passi di 0,01%: ") +
                         Capitalizzato(QStringLiteral("i"), m.TEGperiodo(), annue, m.TEGannuale()),
                     2});
    return b;
}

BloccoPassaggi OperazioniPassaggi(const Documento& d)
{
    BloccoPassaggi b;
    OPE o = d.Operazioni();
    b.push_back({Intestazione(QStringLiteral("Operazioni finanziarie varie"), o.Descrizione()), 0, true});
    try {
        o.Aggiorna();
    } catch (const std::exception& e) {
        b.push_back({QStringLiteral("Le operazioni non si calcolano: %1").arg(QString::fromUtf8(e.what())), 1});
        return b;
    }
    // The flows by date, months counted from the first, as the calculation
    // takes them (positive received, negative paid).
    std::vector<std::pair<long long, double>> flussi;
    for (int r = 1; r <= OPE::Righe; ++r)
        if (o.Segno(r) * o.Importo(r) != 0)
            flussi.push_back({static_cast<long long>(o.Anno(r)) * 12 + o.Mese(r), o.Segno(r) * o.Importo(r)});
    std::stable_sort(flussi.begin(), flussi.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    b.push_back({QStringLiteral("Il tasso mensile j rende nullo il valore attuale dei flussi F, positivi i "
                                "ricevuti e negativi i pagati, a t mesi dal primo:"),
                 1});
    b.push_back({QStringLiteral("\u03a3 F \u00d7 (1 + j)^\u2212t = 0"), 2});
    QString somma;
    for (const auto& [mese, flusso] : flussi) {
        QString termine = ImportoNelTesto(flusso);
        const long long t = mese - flussi.front().first;
        if (t != 0)
            termine += QStringLiteral("\u00a0\u00d7\u00a0(1\u00a0+\u00a0j)^\u2212%1").arg(t);
        somma = somma.isEmpty() ? termine : Aggiungi(somma, flusso, termine);
    }
    b.push_back({somma + QStringLiteral(" = 0"), 2});
    if (o.TEGmensileEsatto() && o.TEGesatto())
        b.push_back({QStringLiteral("Tasso esatto mensile: ") +
                         Capitalizzato(QStringLiteral("j"), *o.TEGmensileEsatto(), 12, *o.TEGesatto()),
                     1});
    else
        b.push_back({QStringLiteral("Tasso esatto: l'equazione non ha una soluzione sola, tasso non determinabile."), 1});
    b.push_back({QStringLiteral("Tasso della griglia, a passi di 0,005% mensile: T.E.G. = (1 + j)^12 \u2212 1 = %1")
                     .arg(TassoFinestra(o.TEG())),
                 1});
    return b;
}

BloccoPassaggi BrevePassaggi(const Documento& d)
{
    BloccoPassaggi b;
    BREVE f = d.BreveCorrente();
    b.push_back({Intestazione(QStringLiteral("Operazione di breve termine"), f.Descrizione()), 0, true});
    try {
        f.Aggiorna();
    } catch (const std::exception& e) {
        b.push_back({QStringLiteral("Il finanziamento non si calcola: %1").arg(QString::fromUtf8(e.what())), 1});
        return b;
    }
    const long long giorni = (f.Data1() - f.Data0()).count();
    b.push_back({QStringLiteral("T.E.G. del periodo = Importo restituito / (Importo finanziato \u2212 Oneri) \u2212 1"),
                 1});
    if (f.TEG() == DatiIncoerenti || f.TEGbreve() == DatiIncoerenti || giorni <= 0) {
        b.push_back({QStringLiteral("dati incoerenti: la restituzione deve seguire l'erogazione e superare "
                                    "l'importo netto ricevuto"),
                     2});
        return b;
    }
    // The period's rate with the decimals the annual rate needs.
    const QString annuo = TassoFinestra(f.TEG());
    const int k = DecimaliNecessari(
        {{f.TEGbreve() * 100, 3}},
        [giorni](const std::vector<double>& p) { return p[0] / 100 * 365 / static_cast<double>(giorni); },
        TassoFinestra, annuo);
    const QString periodo = Percento(f.TEGbreve(), 3 + k);
    b.push_back({QStringLiteral("T.E.G. del periodo = ") + ImportoNelTesto(f.Restituito()) + QStringLiteral(" / (") +
                     ImportoNelTesto(f.Finanziato()) + Meno + ImportoNelTesto(f.Oneri()) + QStringLiteral(")") +
                     Meno + QStringLiteral("1 = ") + periodo,
                 2});
    b.push_back({QStringLiteral("T.E.G. su base annuale = T.E.G. del periodo \u00d7 365 / giorni, dal %1 al %2")
                     .arg(Data(f.Data0()), Data(f.Data1())),
                 1});
    b.push_back({QStringLiteral("T.E.G. su base annuale = %1 \u00d7 365 / %2 = %3").arg(periodo).arg(giorni).arg(annuo), 2});
    return b;
}

// The blocks of one quarter: its figures and the formula in force, each
// formula with its figures, then for each period the threshold, the
// verdicts and the CMS check.
void BlocchiTrimestre(const Documento& d, const EsitoTrimestreConto& q, std::vector<BloccoPassaggi>& blocchi)
{
    BloccoPassaggi testa;
    testa.push_back({Intestazione(QStringLiteral("Conto corrente, trimestre %1 %2").arg(Romano(q.trimestre)).arg(d.AnnoRiferimento()),
                                  d.Trimestri(1).Descrizione()),
                     0, true});
    BOX t = d.Trimestri(std::clamp(q.trimestre, 1, 4));
    try {
        t.Aggiorna();
    } catch (const std::exception& e) {
        testa.push_back({QStringLiteral("Il trimestre non si calcola: %1").arg(QString::fromUtf8(e.what())), 1});
        blocchi.push_back(std::move(testa));
        return;
    }
    testa.push_back({DatiTrimestre(t), 1});
    testa.push_back({QStringLiteral("Formula in vigore nei giorni del trimestre: %1 \u2013 %2.")
                         .arg(Testo(NomeFormula(q.inVigore)), Testo(FonteFormula(q.inVigore))),
                     1});
    blocchi.push_back(std::move(testa));
    if (q.tratti.empty())
        return;

    // Each formula once, in the order of the first period's rows: the
    // formula in force first.
    for (const RigaFormula& f : q.tratti.front().righe) {
        BloccoPassaggi b;
        b.push_back({Testo(NomeFormula(f.formula)) + QStringLiteral(" \u2013 ") + Testo(TestoRuolo(f.ruolo)) +
                         QLatin1Char(':'),
                     1, f.ruolo == RuoloFormula::Decide});
        const QStringList righe = std::holds_alternative<TerminiIstruzioni>(f.termini)
                                      ? PassaggiIstruzioni(f.formula, std::get<TerminiIstruzioni>(f.termini), t)
                                      : PassaggiAnalitico(std::get<TerminiAnalitico>(f.termini), t);
        for (const QString& r : righe)
            b.push_back({r, 2});
        if (!f.esito.tasso && !f.esito.nota.empty())
            b.push_back({QStringLiteral("Tasso non determinabile: %1.").arg(Testo(f.esito.nota)), 2});
        blocchi.push_back(std::move(b));
    }
}

// ---- The threshold and the verdicts -----------------------------------------

// The date that places an operation in its period, and what it is; empty
// for the current account, whose quarters are their own periods.
QString DataDellOperazione(const QString& operazione, const Documento& d)
{
    const ParametriUsura& u = d.Usura();
    if (operazione == QLatin1String("Mutuo"))
        return u.DataStipula() ? QStringLiteral("data di stipula ") + Data(*u.DataStipula()) : QString();
    if (operazione == QLatin1String("Operazioni"))
        return u.DataOperazioni() ? QStringLiteral("data del contratto ") + Data(*u.DataOperazioni())
                                  : QStringLiteral("mese del primo flusso");
    if (operazione.startsWith(QLatin1String("Conto corrente")))
        return {};
    return QStringLiteral("data di erogazione ") + Data(d.BreveCorrente().Data0());
}

// The threshold of a period with its source: the heading, then category,
// class, TEGM and the legal formula.
BloccoPassaggi Soglia(const EsitoVerifica& e, const QString& data)
{
    BloccoPassaggi b;
    const QString periodo = e.inizio && e.fine ? TestoPeriodo(*e.inizio, *e.fine) : QString();
    b.push_back({periodo.isEmpty() ? QStringLiteral("Soglia d'usura")
                                   : QStringLiteral("Soglia d'usura del periodo ") + periodo,
                 1, true});
    if (!e.tegm || !e.soglia || !e.inizio)
        return b;
    if (!data.isEmpty())
        b.push_back({QStringLiteral("Data che individua il periodo: ") + data, 2});
    b.push_back({QStringLiteral("Categoria: ") + Testo(e.categoria), 2});
    QString classe = QStringLiteral("Classe: ") + TestoClasse(e);
    if (!e.importoClasse)
        classe += QStringLiteral(", indicata nel conteggio");
    else if (!SerieSoglie::ClasseInLire(e.classe))
        classe += QStringLiteral(", scelta dall'importo: %1 %2 euro")
                      .arg(e.voceImporto.empty() ? QStringLiteral("importo") : Testo(e.voceImporto),
                           ImportoNelTesto(*e.importoClasse));
    b.push_back({classe, 2});
    const bool primaDel2011 = *e.inizio <= sys_days{2011y / May / 13};
    b.push_back({QStringLiteral("TEGM %1%; soglia = %2, formula dei periodi %3")
                     .arg(NumeroNelTesto(*e.tegm * 100, 2, 4))
                     .arg(primaDel2011 ? QStringLiteral("TEGM \u00d7 1,5")
                                       : QStringLiteral("min(TEGM \u00d7 1,25 + 4; TEGM + 8)"))
                     .arg(primaDel2011 ? QStringLiteral("iniziati fino al 13/05/2011")
                                       : QStringLiteral("dal 14/05/2011")),
                 2});
    b.push_back({QStringLiteral("Soglia = ") + FormulaSoglia(*e.tegm * 100, *e.inizio), 2});
    return b;
}

// The blocks of a quarter's periods: threshold, the verdict of each
// formula, the CMS check.
void BlocchiSoglie(const EsitoTrimestreConto& q, std::vector<BloccoPassaggi>& blocchi)
{
    const std::vector<RigaPaginaSoglia> righe = RigheConto({q});
    std::size_t i = 0;
    for (const TrattoConto& t : q.tratti) {
        if (t.righe.empty())
            continue;
        BloccoPassaggi b = Soglia(t.righe.front().esito, QString());
        for (std::size_t k = 0; k < t.righe.size() && i < righe.size(); ++k, ++i)
            b.push_back({Verdetto(righe[i]), 2, righe[i].Oltre() && !righe[i].riferimento});
        if (t.cms) {
            b.push_back({QStringLiteral("Verifica della CMS (Cass. S.U. 16303/2018), per la formula in vigore:"), 1,
                         true});
            for (const QString& r : PassaggiCMS(*t.cms))
                b.push_back({r, 2, false});
            if (i < righe.size() && righe[i].cms) {
                b.back().grassetto = righe[i].Oltre();
                ++i;
            }
        }
        blocchi.push_back(std::move(b));
    }
}

// Breaks a line between words so that it stays on the paper: the room is
// measured in twips, in the font the page frame prints rows with.
QFontMetricsF Metrica(bool grassetto)
{
    static QImage misura = [] {
        QImage m(1, 1, QImage::Format_RGB32);
        m.setDotsPerMeterX(56693);  // 1440 dots per inch: a dot is a twip
        m.setDotsPerMeterY(56693);
        return m;
    }();
    QFont carattere(FamigliaCarattere());
    carattere.setPointSizeF(PuntiCarattere(0));
    carattere.setBold(grassetto);
    return QFontMetricsF(carattere, &misura);
}

} // namespace

QString NumeroNelTesto(double valore, int minimo, int massimo)
{
    if (!std::isfinite(valore))
        return QStringLiteral("?");
    const double scala = std::pow(10.0, massimo);
    const double arrotondato = std::round(std::abs(valore) * scala) / scala;
    QString s = QString::number(arrotondato, 'f', massimo);
    const qsizetype punto = s.indexOf(QLatin1Char('.'));
    QString intero = punto < 0 ? s : s.left(punto);
    QString decimali = punto < 0 ? QString() : s.mid(punto + 1);
    while (decimali.size() > minimo && decimali.endsWith(QLatin1Char('0')))
        decimali.chop(1);
    for (qsizetype i = intero.size() - 3; i > 0; i -= 3)
        intero.insert(i, QLatin1Char('.'));
    const QString segno = (valore < 0 && arrotondato != 0) ? QStringLiteral("\u2212") : QString();
    return segno + intero + (decimali.isEmpty() ? QString() : QLatin1Char(',') + decimali);
}

QString ImportoNelTesto(double valore)
{
    try {
        return Testo(FormatoImporto(valore));
    } catch (const std::overflow_error&) {
        return QStringLiteral("?");
    }
}

int DecimaliNecessari(const std::vector<std::pair<double, int>>& cifre,
                      const std::function<double(const std::vector<double>&)>& formula,
                      const std::function<QString(double)>& testo, const QString& stampato)
{
    constexpr int Massimo = 10;
    std::vector<double> stampate(cifre.size());
    for (int k = 0; k < Massimo; ++k) {
        for (std::size_t i = 0; i < cifre.size(); ++i) {
            const double scala = std::pow(10.0, cifre[i].second + k);
            stampate[i] = std::round(cifre[i].first * scala) / scala;
        }
        if (testo(formula(stampate)) == stampato)
            return k;
    }
    return Massimo;
}

QString FormulaSoglia(double tegm, sys_days inizio)
{
    const QString m = NumeroNelTesto(tegm, 2, 4);
    const QString soglia = NumeroNelTesto(SerieSoglie::SogliaLegale(tegm, inizio), 2, 4) + QLatin1Char('%');
    if (inizio <= sys_days{2011y / May / 13})
        return m + Per + QStringLiteral("1,5 = ") + soglia;
    return QStringLiteral("min(") + m + Per + QStringLiteral("1,25 + 4; ") + m + QStringLiteral(" + 8) = ") + soglia;
}

QStringList PassaggiIstruzioni(FormulaConto formula, const TerminiIstruzioni& f, const BOX& t)
{
    QStringList righe;
    const QString stampato = f.tasso ? TassoFinestra(*f.tasso) : QString();
    const QString giorni100 = NumeroNelTesto(f.giorni * 100.0, 0, 0);
    if (formula == FormulaConto::Fino2009) {
        // The numbers by transaction date, with the decimals the rate needs.
        int k = 0;
        if (f.tasso && f.numeri != 0) {
            const double quota = f.tipoBase == BaseOneri::Nessuna ? 0 : f.oneri / f.base;
            k = DecimaliNecessari({{f.numeri, 2}},
                                  [&](const std::vector<double>& p) { return f.interessi * f.giorni / p[0] + quota; },
                                  TassoFinestra, stampato);
        }
        const QString numeri = NumeroNelTesto(f.numeri, 2, 2 + k);
        if (f.numeri != f.numeriEstratto)
            righe << NumeriCapitale(t, f.numeri, 2 + k);
        righe << QStringLiteral("Oneri = Commissioni + Spese \u2212 CMS = ") + ImportoNelTesto(f.commissioni) +
                     QStringLiteral(" + ") + ImportoNelTesto(f.spese) + Meno + ImportoNelTesto(f.cmsEsclusa) + Uguale +
                     ImportoNelTesto(f.oneri);
        righe << QStringLiteral("T.E.G. = Interessi \u00d7 %1 / Numeri per data + Oneri \u00d7 100 / Fido accordato")
                     .arg(giorni100);
        QString s = f.numeri == 0 ? QStringLiteral("0")
                                  : ImportoNelTesto(f.interessi) + Per + giorni100 + QStringLiteral(" / ") + numeri;
        if (f.tipoBase != BaseOneri::Nessuna)
            s = Aggiungi(s, f.oneri, ImportoNelTesto(f.oneri)) + Per + QStringLiteral("100 / ") +
                ImportoNelTesto(f.base);
        else
            righe << QStringLiteral("Senza fido accordato gli oneri non entrano in questa formula.");
        if (f.tasso)
            righe << QStringLiteral("T.E.G. = ") + s + Uguale + stampato;
        return righe;
    }
    righe << QStringLiteral("Oneri = Commissioni, CMS compresa, + Spese = ") + ImportoNelTesto(f.commissioni) +
                 QStringLiteral(" + ") + ImportoNelTesto(f.spese) + Uguale + ImportoNelTesto(f.oneri);
    righe << Base(f, t);
    righe << QStringLiteral("T.E.G. = Interessi \u00d7 %1 / Numeri + Oneri \u00d7 %2 \u00d7 100 / B")
                 .arg(giorni100)
                 .arg(f.annualizzazione);
    QString s = f.numeri == 0 ? QStringLiteral("0")
                              : ImportoNelTesto(f.interessi) + Per + giorni100 + QStringLiteral(" / ") +
                                    ImportoNelTesto(f.numeri);
    if (f.oneri != 0)
        s = Aggiungi(s, f.oneri, ImportoNelTesto(f.oneri)) + Per + QString::number(f.annualizzazione) + Per +
            QStringLiteral("100 / ") + (f.tipoBase != BaseOneri::Nessuna ? ImportoNelTesto(f.base) : QStringLiteral("B"));
    if (f.tasso)
        righe << QStringLiteral("T.E.G. = ") + s + Uguale + stampato;
    return righe;
}

QStringList PassaggiAnalitico(const TerminiAnalitico& f, const BOX& t)
{
    QStringList righe;
    const int g = f.giorniTrimestre, anno = f.giorniAnno;
    const int r = GiorniAFineAnno(t.AnnoRiferimento(), std::clamp<int>(t.Trimestre(), 1, 4));
    righe << QStringLiteral("Oneri effettivi = Interessi + Commissioni + Spese = ") + ImportoNelTesto(t.Interessi()) +
                 QStringLiteral(" + ") + ImportoNelTesto(t.Commissioni()) + QStringLiteral(" + ") +
                 ImportoNelTesto(t.Spese()) + Uguale + ImportoNelTesto(f.oneriEffettivi);
    if (!f.tasso || g <= 0 || r <= 0)
        return righe;
    // From the end back: the incidence with the decimals the total needs,
    // then the average debt with those the incidence needs.
    const QString totale = TassoFinestra(*f.tasso);
    const double incidenza = f.oneriEffettiviP;
    const int kP = DecimaliNecessari(
        {{incidenza * 100, 3}},
        [g, r](const std::vector<double>& p) { return std::pow(1 + g * (p[0] / 100) / r, double(r) / g) - 1; },
        TassoFinestra, totale);
    const QString incidenzaTesto = Percento(incidenza, 3 + kP);
    const auto comeIncidenza = [kP](double x) { return Percento(x, 3 + kP); };
    const int kA = DecimaliNecessari(
        {{f.debitoMedio, 2}},
        [&](const std::vector<double>& p) { return f.oneriEffettivi / p[0] * anno / g; }, comeIncidenza,
        incidenzaTesto);
    const QString debito = NumeroNelTesto(f.debitoMedio, 2, 2 + kA);
    if (t.GiorniValuta() != 0)
        righe << QStringLiteral("Debito medio per data = Numeri \u00d7 (G \u2212 giorni valuta) / G / G = ") +
                     ImportoNelTesto(t.Numeri()) + Per + QStringLiteral("(%1").arg(g) + Meno +
                     NumeroNelTesto(t.GiorniValuta(), 0, 2) + QStringLiteral(") / %1 / %1 = ").arg(g) + debito;
    else
        righe << QStringLiteral("Debito medio per data = Numeri / G = ") + ImportoNelTesto(t.Numeri()) +
                     QStringLiteral(" / %1 = ").arg(g) + debito;
    righe << QStringLiteral("Incidenza degli oneri = Oneri effettivi / Debito medio \u00d7 %1 / G = ").arg(anno) +
                 ImportoNelTesto(f.oneriEffettivi) + QStringLiteral(" / ") + debito + Per +
                 QStringLiteral("%1 / %2 = ").arg(anno).arg(g) + incidenzaTesto;
    righe << QStringLiteral("T.E.G. analitico = (1 + G \u00d7 incidenza / R)^(R / G) \u2212 1, R = %1 giorni dal "
                            "primo del trimestre a fine anno")
                 .arg(r);
    righe << QStringLiteral("T.E.G. analitico = (1 + %1 \u00d7 %2 / %3)^(%3 / %1) \u2212 1 = ")
                     .arg(g)
                     .arg(incidenzaTesto)
                     .arg(r) +
                 totale;
    // The compounding's share, from the two printed figures.
    const double decimali = 3 + kP, scala = std::pow(10.0, decimali);
    const double anatocismo = std::round(*f.tasso * 100 * 1000) / 1000 - std::round(incidenza * 100 * scala) / scala;
    righe << QStringLiteral("di cui anatocismo = ") + totale + Meno + incidenzaTesto + Uguale +
                 NumeroNelTesto(anatocismo, 3, 3 + kP) + QLatin1Char('%');
    return righe;
}

QStringList PassaggiCMS(const VerificaCMS& v)
{
    QStringList righe;
    if (v.cmsPercentuale)
        righe << QStringLiteral("CMS applicata = CMS / Massimo scoperto = ") + ImportoNelTesto(v.cms) +
                     QStringLiteral(" / ") + ImportoNelTesto(v.massimoScoperto) + Uguale +
                     NumeroNelTesto(*v.cmsPercentuale * 100, 3, 4) + QLatin1Char('%');
    if (v.cmsMedia && v.cmsSoglia) {
        const QString soglia = NumeroNelTesto(*v.cmsSoglia * 100, 2, 6) + QLatin1Char('%');
        righe << QStringLiteral("CMS soglia = CMS media \u00d7 1,5 = ") + NumeroNelTesto(*v.cmsMedia * 100, 2, 6) +
                     QStringLiteral("%") + Per + QStringLiteral("1,5 = ") + soglia;
        if (v.cmsEntroSoglia)
            righe << QStringLiteral("CMS entro soglia = CMS soglia \u00d7 Massimo scoperto = ") + soglia + Per +
                         ImportoNelTesto(v.massimoScoperto) + Uguale + ImportoNelTesto(*v.cmsEntroSoglia);
        if (v.eccedenza)
            righe << QStringLiteral("Eccedenza = CMS \u2212 CMS entro soglia = ") + ImportoNelTesto(v.cms) + Meno +
                         ImportoNelTesto(*v.cmsEntroSoglia) + Uguale + ImportoNelTesto(*v.eccedenza);
    }
    if (v.interessiSoglia && v.interessiApplicati && v.margine && v.teg && v.soglia && v.giorni > 0) {
        // The numbers and the rate with the decimals the two amounts need.
        const double giorni = v.giorni;
        const QString consentiti = ImportoNelTesto(*v.interessiSoglia), applicati = ImportoNelTesto(*v.interessiApplicati);
        const int kN = DecimaliNecessari(
            {{v.numeri, 2}}, [&](const std::vector<double>& p) { return *v.soglia * p[0] / giorni; },
            ImportoNelTesto, consentiti);
        const int k = std::max(kN, DecimaliNecessari({{*v.teg * 100, 3}, {v.numeri, 2 + kN}},
                                                     [&](const std::vector<double>& p) {
                                                         return p[0] / 100 * p[1] / giorni;
                                                     },
                                                     ImportoNelTesto, applicati));
        const QString numeri = NumeroNelTesto(v.numeri, 2, 2 + std::max(kN, k));
        righe << QStringLiteral("Interessi alla soglia = Soglia \u00d7 Numeri per data / %1 = ").arg(v.giorni) +
                     NumeroNelTesto(*v.soglia * 100, 2, 4) + QStringLiteral("%") + Per + numeri +
                     QStringLiteral(" / %1 = ").arg(v.giorni) + consentiti;
        righe << QStringLiteral("Interessi al T.E.G. senza CMS = T.E.G. \u00d7 Numeri per data / %1 = ").arg(v.giorni) +
                     Percento(*v.teg, 3 + k) + Per + numeri + QStringLiteral(" / %1 = ").arg(v.giorni) + applicati;
        righe << QStringLiteral("Margine degli interessi = ") + consentiti + Meno + applicati + Uguale +
                     ImportoNelTesto(*v.margine);
    }
    const QString esito = v.stato == StatoVerifica::OltreSoglia ? QStringLiteral("OLTRE SOGLIA")
                                                                 : Testo(TestoStato(v.stato));
    righe << QStringLiteral("Esito: %1 \u2013 %2").arg(esito, Testo(v.spiegazione));
    return righe;
}

std::vector<SezionePassaggi> PassaggiVerifica(const Documento& d, const std::vector<EsitoTrimestreConto>& conto,
                                              const std::vector<EsitoVerifica>& tutti)
{
    // The loan contract's verdicts have steps of their own, after the others.
    const std::vector<EsitoVerifica> esiti = SenzaEsitiContratto(tutti);
    std::vector<SezionePassaggi> sezioni;
    if (!conto.empty()) {
        SezionePassaggi s{QStringLiteral("Conto corrente"), {}};
        for (const EsitoTrimestreConto& q : conto) {
            BlocchiTrimestre(d, q, s.blocchi);
            BlocchiSoglie(q, s.blocchi);
        }
        sezioni.push_back(std::move(s));
    }
    const std::vector<RigaPaginaSoglia> righe = RigheSoglia(esiti);
    for (std::size_t i = 0; i < esiti.size();) {
        // The verdicts of one operation follow one another.
        const QString operazione = Testo(esiti[i].operazione);
        std::size_t j = i;
        while (j < esiti.size() && Testo(esiti[j].operazione) == operazione)
            ++j;
        QString sezione = operazione;
        BloccoPassaggi calcolo;
        if (operazione == QLatin1String("Mutuo")) {
            calcolo = MutuoPassaggi(d);
        } else if (operazione == QLatin1String("Operazioni")) {
            sezione = QStringLiteral("Operazioni finanziarie varie");
            calcolo = OperazioniPassaggi(d);
        } else {
            sezione = QStringLiteral("Operazione di breve termine");
            calcolo = BrevePassaggi(d);
        }
        if (sezioni.empty() || sezioni.back().operazione != sezione)
            sezioni.push_back({sezione, {}});
        SezionePassaggi& s = sezioni.back();
        if (!calcolo.empty())
            s.blocchi.push_back(std::move(calcolo));
        // One threshold block per period, in the verdicts' order, with the
        // verdicts of that period.
        std::vector<std::pair<std::optional<sys_days>, std::optional<sys_days>>> visti;
        for (std::size_t k = i; k < j; ++k) {
            const std::pair periodo{esiti[k].inizio, esiti[k].fine};
            if (std::find(visti.begin(), visti.end(), periodo) != visti.end())
                continue;
            visti.push_back(periodo);
            BloccoPassaggi b = Soglia(esiti[k], DataDellOperazione(operazione, d));
            for (std::size_t h = k; h < j; ++h)
                if (esiti[h].inizio == periodo.first && esiti[h].fine == periodo.second)
                    b.push_back({Verdetto(righe[h]), 2, righe[h].Oltre()});
            s.blocchi.push_back(std::move(b));
        }
        i = j;
    }
    AggiungiPassaggiContratto(sezioni, d, tutti);
    return sezioni;
}

double LarghezzaStampa(const QString& testo, bool grassetto)
{
    return Metrica(grassetto).horizontalAdvance(testo);
}

QStringList SpezzaStampa(const QString& testo, bool grassetto, double stanza)
{
    const QFontMetricsF fm = Metrica(grassetto);
    QStringList righe;
    QString riga;
    for (const QString& parola : testo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString prova = riga.isEmpty() ? parola : riga + QLatin1Char(' ') + parola;
        if (!riga.isEmpty() && fm.horizontalAdvance(prova) > stanza) {
            righe << riga;
            riga = parola;
        } else {
            riga = prova;
        }
    }
    if (!riga.isEmpty() || righe.isEmpty())
        righe << riga;
    return righe;
}

std::vector<Rapporto> RapportiPassaggi(const SezionePassaggi& sezione)
{
    constexpr int RighePagina = 44;                // as the threshold report's pages
    constexpr int PaginePerRapporto = 4;           // a print table holds 200 rows
    constexpr int Rientri[3] = {500, 800, 1100};  // x of each indent, twips
    constexpr double FineRiga = 11000;            // inside the right edge the page keeps its texts in
    std::vector<Rapporto> rapporti;
    auto nuovo = [&] {
        Rapporto r;
        r.nome = QStringLiteral("StampaPassaggiUsura");
        r.titolo = QStringLiteral("Verifica usura: i passaggi");
        r.sottotitolo = sezione.operazione;
        r.colonne = {{1, Rientri[0], 0}, {2, Rientri[1], 0}, {3, Rientri[2], 0}};
        rapporti.push_back(std::move(r));
    };
    int n = 0;  // rows used in the current report
    auto chiudi = [&] {
        Rapporto& r = rapporti.back();
        r.RighePerPagina = std::min(n, RighePagina);
        r.NumeroPagine = std::max(1, (n + RighePagina - 1) / RighePagina);
    };
    nuovo();
    for (const BloccoPassaggi& blocco : sezione.blocchi) {
        std::vector<std::pair<QString, const RigaPassaggio*>> righe;
        for (const RigaPassaggio& riga : blocco)
            for (const QString& pezzo :
                 SpezzaStampa(riga.testo, riga.grassetto, FineRiga - Rientri[std::clamp(riga.rientro, 0, 2)]))
                righe.push_back({pezzo, &riga});
        const int quante = static_cast<int>(righe.size()) + (n > 0 ? 1 : 0);
        const int liberi = RighePagina - n % RighePagina;
        if (n > 0 && quante > liberi && static_cast<int>(righe.size()) <= RighePagina)
            n += liberi;  // the block starts the next page
        else if (n > 0)
            ++n;  // a blank row between blocks
        if (n + static_cast<int>(righe.size()) > RighePagina * PaginePerRapporto) {
            chiudi();
            nuovo();
            n = 0;
        }
        for (const auto& [testo, riga] : righe) {
            ++n;
            if (n > TabellaStampa::MaxRighe)
                break;
            rapporti.back().tabella.setTesto(n, std::clamp(riga->rientro, 0, 2) + 1, testo);
            rapporti.back().tabella.setRigaGrassetto(n, riga->grassetto);
        }
    }
    chiudi();
    return rapporti;
}
