#pragma once
// What the mortgage, various-operations and short-term windows show, built as
// plain data from the document: the texts of their fields, the entries of
// their lists and the captions of their rate labels. The windows only put
// these texts on screen; tests read them without a display.
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <optional>

class Mutuo;
class OPE;
class BREVE;

inline const QString TestoDatiIncoerenti = QStringLiteral("dati incoerenti");

// ---- Lists and their texts ----------------------------------------------

// "Mensile", "Bimestrale", "Trimestrale", "Quadrimestrale", "Semestrale", "Annuale".
const QStringList& ElencoPeriodicita();
// 12, 6, 4, 3, 2, 1 for the texts above; 0 for any other text.
int RateAnnualiDaPeriodicita(const QString& testo);
// The list text for 12, 6, 4, 3, 2 or 1 instalments a year; empty otherwise.
QString PeriodicitaDaRateAnnuali(double rateAnnuali);
// "T.E.G. " + the periodicity in lower case + " (approx.)".
QString IntestazioneTassoPeriodo(const QString& periodicita);
inline const QString DidascaliaTassoAnnualeMutuo = QStringLiteral("T.E.G. annuale (approx.)");

// "1" to "360".
const QStringList& ElencoNumeroRate();
// A whole number written as decimal digits without blanks ("-3" when negative).
QString TestoIntero(double valore);

// "Gen - 1990" ... "Dic - " and the year of OrologioConteggio + 30.
QStringList ElencoMesiAnni();
// The item of that month and year ("Mar - 2011"), also for a year outside the
// list; empty for a month outside 1..12.
QString TestoMeseAnno(int mese, int anno);
// Reads a month-and-year text: the month from its first three letters (0 when
// they are no known abbreviation) and the year from its last four characters,
// rounded to a whole number (0 when they are not a number).
void LeggiMeseAnno(const QString& testo, int& mese, int& anno);

inline const QString TestoEntrata = QStringLiteral("Entrata");
inline const QString TestoUscita = QStringLiteral("Uscita");
// "Entrata" for 1, "Uscita" for -1, empty otherwise.
QString TestoSegno(int segno);
// 1 for "Entrata", -1 for "Uscita", 0 for any other text.
int SegnoDaTesto(const QString& testo);

// A rate as the windows show it: the percentage, or "dati incoerenti" for the
// inconsistency marker.
QString TestoTasso(double tasso);
QString TestoImporto(double importo);

inline const QString DidascaliaTassoEsatto = QStringLiteral("T.E.G. esatto");
inline const QString TestoNonDeterminabile = QStringLiteral("non determinabile");
// The exact rates on one line: "0,492% mensile, 6,062% annuo", the periodic
// rate named by the periodicity in lower case ("per periodo" when empty);
// "non determinabile" when either rate is missing.
QString TestoTassiEsatti(std::optional<double> periodo, std::optional<double> annuale,
                         const QString& periodicita);
// The amount a typed text stands for, and the text the field shows for it.
double LeggiImporto(const QString& testo);

QDate DataQt(std::chrono::sys_days d);
// d must be a valid date.
std::chrono::sys_days DataCalcolo(const QDate& d);

// ---- Results after a recomputation --------------------------------------

// The two rate captions of a window after its object has been recomputed.
// When the calculation fails (an instalment count above the schedule, a
// result that is not finite, a year key out of range), errore holds the
// message for the user and both rates read "dati incoerenti".
struct TassiCalcolati {
    QString tassoPeriodo;  // the mortgage's and short-term's rate per period
    QString tassoAnnuale;
    QString tassoEsatto;   // the exact rates, see TestoTassiEsatti
    QString errore;
};

TassiCalcolati RicalcolaMutuo(Mutuo& m);
TassiCalcolati RicalcolaOPE(OPE& o);       // only tassoAnnuale is used
TassiCalcolati RicalcolaBreve(BREVE& b);

// ---- Whole pages ----------------------------------------------------------

struct DatiPaginaMutuo {
    std::array<QString, 3> importi;  // XPText1(0..2): Importo, Oneri, Rata
    QString periodicita;             // Combo1's text, empty when none matches
    QString numeroRate;              // Combo2's text
    QString intestazione;            // Label1(1)
    QString tassoPeriodo;            // Label1(6)
    QString didascaliaAnnuale;       // Label1(7)
    QString tassoAnnuale;            // Label1(8)
    QString didascaliaEsatto;        // Label1(10)
    QString tassoEsatto;             // Label1(11)
    QString descrizione;             // XPText2
    QString errore;                  // message for the user, empty when none
};
// Recomputes the mortgage and returns what frmMutuo shows.
DatiPaginaMutuo PaginaMutuo(Mutuo& m);

struct DatiRigaOPE {
    QString numero;    // Lnumero(k): "1." .. "10."
    QString meseAnno;  // Combo1(k)'s text, empty without a month
    QString segno;     // Combo2(k)'s text, empty without a direction
    QString importo;   // XPText1(k)
    double valore = 0; // the amount itself: a flow of 0 takes no part
};
inline const QString DidascaliaTassoOPE = QStringLiteral("T.E.G. su base annua (approx.)");
struct DatiPaginaOPE {
    std::array<DatiRigaOPE, 10> righe;
    QString didascalia;        // Label1(7)
    QString tasso;             // Label1(8)
    QString didascaliaEsatto;  // Label1(10)
    QString tassoEsatto;       // Label1(11)
    QString descrizione;       // XPText2
    QString errore;
};
DatiPaginaOPE PaginaOPE(OPE& o);

struct DatiPaginaBreve {
    QString descrizione;             // XPText2
    std::array<QString, 3> importi;  // XPText1(0..2): Finanziato, Oneri, Restituito
    QDate data0, data1;              // DTPicker1, DTPicker2
    QString tassoAnnuale;            // Label1(8)
    QString tassoPeriodo;            // Label1(6)
    QString errore;
};
DatiPaginaBreve PaginaBreve(BREVE& b);
