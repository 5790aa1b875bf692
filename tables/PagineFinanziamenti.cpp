#include "PagineFinanziamenti.h"

#include "BREVE.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Mutuo.h"
#include "OPE.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <stdexcept>

namespace {

struct Periodicita {
    int rateAnnuali;
    const char* testo;
};
constexpr Periodicita periodicita[] = {
    {12, "Mensile"}, {6, "Bimestrale"}, {4, "Trimestrale"},
    {3, "Quadrimestrale"}, {2, "Semestrale"}, {1, "Annuale"},
};

constexpr const char* abbreviazioniMesi[] = {"Gen", "Feb", "Mar", "Apr", "Mag", "Giu",
                                             "Lug", "Ago", "Set", "Ott", "Nov", "Dic"};
// The flow months run from January 1990 (usury cases go that far back) to
// December thirty years after the current one.
constexpr int primoAnnoElenco = 1990;
constexpr int anniDopoOggi = 30;

// Day number of 1 January 1970 in the Julian day count QDate uses.
constexpr qint64 giornoGiuliano1970 = 2440588;

// Runs a recomputation and turns its failure into the message the user reads
// ("Impossibile calcolare il T.E.G. del mutuo: ..."); empty when it succeeded.
template <class Calcolo>
QString Calcola(const QString& cosa, const QString& fuoriLimite, Calcolo calcolo)
{
    QString motivo;
    try {
        calcolo();
        return {};
    } catch (const std::out_of_range&) {
        motivo = fuoriLimite;
    } catch (const std::overflow_error&) {
        motivo = QStringLiteral("un valore inserito è fuori dall'intervallo ammesso.");
    } catch (const std::range_error&) {
        motivo = QStringLiteral("gli importi inseriti sono troppo grandi e il risultato non è un numero.");
    } catch (const std::exception& e) {
        motivo = QString::fromStdString(e.what());
    }
    return QStringLiteral("Impossibile calcolare %1: %2").arg(cosa, motivo);
}

} // namespace

const QStringList& ElencoPeriodicita()
{
    static const QStringList elenco = [] {
        QStringList l;
        for (const auto& p : periodicita)
            l << QString::fromUtf8(p.testo);
        return l;
    }();
    return elenco;
}

int RateAnnualiDaPeriodicita(const QString& testo)
{
    for (const auto& p : periodicita)
        if (testo == QLatin1String(p.testo))
            return p.rateAnnuali;
    return 0;
}

QString PeriodicitaDaRateAnnuali(double rateAnnuali)
{
    for (const auto& p : periodicita)
        if (rateAnnuali == p.rateAnnuali)
            return QString::fromUtf8(p.testo);
    return {};
}

QString IntestazioneTassoPeriodo(const QString& periodicitaScelta)
{
    return QStringLiteral("T.E.G. ") + periodicitaScelta.toLower() + QStringLiteral(" (approx.)");
}

const QStringList& ElencoNumeroRate()
{
    static const QStringList elenco = [] {
        QStringList l;
        l.reserve(360);
        for (int n = 1; n <= 360; ++n)
            l << QString::number(n);
        return l;
    }();
    return elenco;
}

QString TestoIntero(double valore)
{
    if (!std::isfinite(valore))
        return {};
    return QString::number(static_cast<qlonglong>(std::llround(valore)));
}

QStringList ElencoMesiAnni()
{
    const std::chrono::sys_days oggi =
        OrologioConteggio ? OrologioConteggio()
                          : std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const int ultimoAnno = static_cast<int>(std::chrono::year_month_day{oggi}.year()) + anniDopoOggi;
    QStringList l;
    l.reserve(12 * std::max(0, ultimoAnno - primoAnnoElenco + 1));
    for (int anno = primoAnnoElenco; anno <= ultimoAnno; ++anno)
        for (int mese = 1; mese <= 12; ++mese)
            l << TestoMeseAnno(mese, anno);
    return l;
}

QString TestoMeseAnno(int mese, int anno)
{
    if (mese < 1 || mese > 12)
        return {};
    return QLatin1String(abbreviazioniMesi[mese - 1]) + QStringLiteral(" - ") + QString::number(anno);
}

void LeggiMeseAnno(const QString& testo, int& mese, int& anno)
{
    mese = 0;
    const QString inizio = testo.left(3).toLower();
    for (int m = 0; m < 12; ++m)
        if (inizio == QString::fromLatin1(abbreviazioniMesi[m]).toLower())
            mese = m + 1;
    bool ok = false;
    const double a = testo.right(4).trimmed().toDouble(&ok);
    anno = ok && std::isfinite(a) && std::fabs(a) < 2e9 ? static_cast<int>(std::lround(a)) : 0;
}

QString TestoSegno(int segno)
{
    if (segno == 1)
        return TestoEntrata;
    if (segno == -1)
        return TestoUscita;
    return {};
}

int SegnoDaTesto(const QString& testo)
{
    if (testo == TestoEntrata)
        return 1;
    if (testo == TestoUscita)
        return -1;
    return 0;
}

QString TestoTasso(double tasso)
{
    if (tasso == DatiIncoerenti)
        return TestoDatiIncoerenti;
    return QString::fromStdString(FormatoTasso(tasso));
}

QString TestoImporto(double importo)
{
    return QString::fromStdString(FormatoImporto(importo));
}

QString TestoTassiEsatti(std::optional<double> periodo, std::optional<double> annuale,
                         const QString& periodicitaScelta)
{
    if (!periodo || !annuale)
        return TestoNonDeterminabile;
    const QString nome =
        periodicitaScelta.isEmpty() ? QStringLiteral("per periodo") : periodicitaScelta.toLower();
    return QStringLiteral("%1 %2, %3 annuo")
        .arg(QString::fromStdString(FormatoTasso(*periodo)), nome,
             QString::fromStdString(FormatoTasso(*annuale)));
}

double LeggiImporto(const QString& testo)
{
    return PulisciNumero(testo.toStdString());
}

QDate DataQt(std::chrono::sys_days d)
{
    return QDate::fromJulianDay(d.time_since_epoch().count() + giornoGiuliano1970);
}

std::chrono::sys_days DataCalcolo(const QDate& d)
{
    return std::chrono::sys_days{std::chrono::days{d.toJulianDay() - giornoGiuliano1970}};
}

TassiCalcolati RicalcolaMutuo(Mutuo& m)
{
    TassiCalcolati t;
    const QString fuoriLimite =
        QStringLiteral("il numero complessivo di rate (%1) supera il massimo di %2.")
            .arg(TestoIntero(m.NRate()))
            .arg(Mutuo::MassimoRate);
    t.errore = Calcola(QStringLiteral("il T.E.G. del mutuo"), fuoriLimite, [&] {
        m.Aggiorna();
        if (m.TEGannuale() == DatiIncoerenti) {
            t.tassoPeriodo = t.tassoAnnuale = TestoDatiIncoerenti;
        } else {
            t.tassoPeriodo = TestoTasso(m.TEGperiodo());
            t.tassoAnnuale = TestoTasso(m.TEGannuale());
        }
        t.tassoEsatto = TestoTassiEsatti(m.TEGperiodoEsatto(), m.TEGannualeEsatto(),
                                         PeriodicitaDaRateAnnuali(m.RateAnnuali()));
    });
    if (!t.errore.isEmpty()) {
        t.tassoPeriodo = t.tassoAnnuale = TestoDatiIncoerenti;
        t.tassoEsatto = TestoNonDeterminabile;
    }
    return t;
}

TassiCalcolati RicalcolaOPE(OPE& o)
{
    TassiCalcolati t;
    t.errore = Calcola(QStringLiteral("il T.E.G. delle operazioni"),
                       QStringLiteral("una riga è fuori dall'elenco delle operazioni."), [&] {
        o.Aggiorna();
        t.tassoAnnuale = TestoTasso(o.TEG());
        t.tassoEsatto = TestoTassiEsatti(o.TEGmensileEsatto(), o.TEGesatto(), QStringLiteral("Mensile"));
    });
    if (!t.errore.isEmpty()) {
        t.tassoAnnuale = TestoDatiIncoerenti;
        t.tassoEsatto = TestoNonDeterminabile;
    }
    return t;
}

TassiCalcolati RicalcolaBreve(BREVE& b)
{
    TassiCalcolati t;
    t.errore = Calcola(QStringLiteral("il T.E.G. dell'operazione a breve termine"),
                       QStringLiteral("un valore inserito è fuori dall'intervallo ammesso."), [&] {
        b.Aggiorna();
        if (b.TEG() == DatiIncoerenti) {
            t.tassoAnnuale = t.tassoPeriodo = TestoDatiIncoerenti;
        } else {
            t.tassoAnnuale = TestoTasso(b.TEG());
            t.tassoPeriodo = TestoTasso(b.TEGbreve());
        }
    });
    if (!t.errore.isEmpty())
        t.tassoAnnuale = t.tassoPeriodo = TestoDatiIncoerenti;
    return t;
}

namespace {
// An amount as its field shows it; an amount too large to be written leaves
// the field empty rather than stopping the whole page.
QString ImportoSicuro(double v, QString& errore)
{
    QString testo;
    const QString e = Calcola(QStringLiteral("l'importo da mostrare"),
                              QStringLiteral("il valore è fuori dall'intervallo ammesso."),
                              [&] { testo = TestoImporto(v); });
    if (errore.isEmpty())
        errore = e;
    return testo;
}
} // namespace

DatiPaginaMutuo PaginaMutuo(Mutuo& m)
{
    DatiPaginaMutuo p;
    const TassiCalcolati t = RicalcolaMutuo(m);
    p.errore = t.errore;
    p.importi = {ImportoSicuro(m.Importo(), p.errore), ImportoSicuro(m.Oneri(), p.errore),
                 ImportoSicuro(m.Rata(), p.errore)};
    p.periodicita = PeriodicitaDaRateAnnuali(m.RateAnnuali());
    p.intestazione = IntestazioneTassoPeriodo(p.periodicita);
    p.tassoPeriodo = t.tassoPeriodo;
    p.didascaliaAnnuale = DidascaliaTassoAnnualeMutuo;
    p.tassoAnnuale = t.tassoAnnuale;
    p.didascaliaEsatto = DidascaliaTassoEsatto;
    p.tassoEsatto = t.tassoEsatto;
    p.numeroRate = TestoIntero(m.NRate());
    p.descrizione = QString::fromStdString(m.Descrizione());
    return p;
}

DatiPaginaOPE PaginaOPE(OPE& o)
{
    DatiPaginaOPE p;
    const TassiCalcolati t = RicalcolaOPE(o);
    p.errore = t.errore;
    for (int k = 0; k < OPE::Righe; ++k) {
        const int r = k + 1;
        DatiRigaOPE& riga = p.righe[k];
        riga.numero = QString::number(r) + QLatin1Char('.');
        riga.meseAnno = TestoMeseAnno(o.Mese(r), o.Anno(r));
        riga.segno = TestoSegno(o.Segno(r));
        riga.importo = ImportoSicuro(o.Importo(r), p.errore);
        riga.valore = o.Importo(r);
    }
    p.didascalia = DidascaliaTassoOPE;
    p.tasso = t.tassoAnnuale;
    p.didascaliaEsatto = DidascaliaTassoEsatto;
    p.tassoEsatto = t.tassoEsatto;
    p.descrizione = QString::fromStdString(o.Descrizione());
    return p;
}

DatiPaginaBreve PaginaBreve(BREVE& b)
{
    DatiPaginaBreve p;
    const TassiCalcolati t = RicalcolaBreve(b);
    p.errore = t.errore;
    p.descrizione = QString::fromStdString(b.Descrizione());
    p.importi = {ImportoSicuro(b.Finanziato(), p.errore), ImportoSicuro(b.Oneri(), p.errore),
                 ImportoSicuro(b.Restituito(), p.errore)};
    p.data0 = DataQt(b.Data0());
    p.data1 = DataQt(b.Data1());
    p.tassoAnnuale = t.tassoAnnuale;
    p.tassoPeriodo = t.tassoPeriodo;
    return p;
}
