#pragma once
// The usury check as plain data: one row per rate compared with the
// threshold of its period, category and class (for each quarter of the
// current account every formula, the one in force first, and the CMS check
// up to 2009), and the choices the check window offers. The window, the
// printed report, the copy and the exports all read these texts; nothing
// here shows anything.
#include "Griglia.h"
#include "Soglie.h"
#include "VerificaConto.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Documento;

struct RigaPaginaSoglia {
    QString operazione;    // "Conto corrente, trimestre I", "Mutuo", ...
    // What the rate is and where its formula comes from: a quarter's
    // NomeFormula ("Istruzioni Banca d'Italia 2009", "T.E.G. analitico (con
    // anatocismo)"), TitoloVerificaCMS, "T.E.G. del programma", "T.E.G. esatto"...
    QString formula;
    // A quarter's row: "decide", "(riferimento)", "non in vigore nel periodo",
    // or for the CMS check "esito del trimestre"; empty for the other rates.
    QString ruolo;
    QString periodo;       // "01/04/2011 – 13/05/2011"; empty without a period
    QString categoria;
    // The class as the series writes it; a class in lire is followed by the
    // amount it was chosen by, converted ("oltre 100 milioni di lire (fido
    // accordato 150.000,00 € = 290.440.500 lire)").
    QString classe;
    QString tegm, tasso;   // "16,180%"; empty when not known
    QString soglia;        // with all its decimals, three to four: "9,3875%", "14,385%"
    QString tassoGriglia;  // the grid rate beside an exact rate; empty otherwise
    QString margine;       // threshold less rate in points, "2,345" or "-0,120"
    QString esito;         // "entro soglia", "⚠ OLTRE SOGLIA", "soglia non disponibile", ...
    QString nota;          // why there is no verdict, or how the CMS check was settled
    StatoVerifica stato = StatoVerifica::TassoNonDeterminabile;
    // A rate shown beside the one that decides (the analytic cost, a formula
    // of another period): greyed, its verdict does not count.
    bool riferimento = false;
    // The CMS check of a quarter up to 2009: tegm is the average CMS, soglia
    // the CMS threshold (average x 1,5), tasso the CMS charged as a share of
    // the maximum debit balance; esito is the quarter's verdict.
    bool cms = false;
    bool Oltre() const { return stato == StatoVerifica::OltreSoglia; }
};

struct DatiPaginaSoglia {
    QString titolo = QStringLiteral("Verifica usura");
    QString sottotitolo;   // "Conteggio «Esempio» – tassi confrontati con le soglie (L. 108/1996)"
    std::vector<RigaPaginaSoglia> righe;
    // The checks the rows were written from, for the report's steps: the
    // current account's quarters, then every other rate.
    std::vector<EsitoTrimestreConto> conto;
    std::vector<EsitoVerifica> esiti;
    // One line per formula the rows name: what it is and its source.
    QStringList formule;
    QString fonte;         // "Soglie d'usura: " + TestoFonteSoglie()
    QString avviso;        // why an updated series in the archive is not in use; empty when none
    QString errore;        // what could not be checked; empty when everything was
};

// The verdict marked so that it stands out without colour: capitals and a sign.
inline const QString TestoOltreSoglia = QStringLiteral("\u26A0 OLTRE SOGLIA");

// The caption of a quarter's CMS check row and what it stands for.
inline const QString TitoloVerificaCMS = QStringLiteral("Verifica CMS (Cass. S.U. 16303/2018)");
inline const QString RuoloVerificaCMS = QStringLiteral("esito del trimestre");

// What a row's rate is with its role, as one text: "Istruzioni Banca
// d'Italia 2009 – decide", "T.E.G. analitico (con anatocismo) (riferimento)",
// "T.E.G. esatto".
QString FormulaERuolo(const RigaPaginaSoglia& riga);

// "dd/mm/yyyy – dd/mm/yyyy".
QString TestoPeriodo(std::chrono::sys_days inizio, std::chrono::sys_days fine);

// A rate as the windows show it ("12,290%"); empty for none, for one that is
// not finite and for the marker DatiIncoerenti. Never throws.
QString TestoTasso(const std::optional<double>& tasso);
// A threshold with all its decimals, three or four: 0.093875 -> "9,3875%",
// 0.14385 -> "14,385%"; empty as TestoTasso. Never throws.
QString TestoSoglia(const std::optional<double>& soglia);

// The class of a verdict as the rows show it (RigaPaginaSoglia::classe).
QString TestoClasse(const EsitoVerifica& esito);

// The rows for verdicts already computed: RigheConto gives, for each quarter
// and each period it touches, its formulas in the check's order (the one in
// force first) and then its CMS check, when there is one; RigheSoglia one
// row per verdict. Never throw.
std::vector<RigaPaginaSoglia> RigheConto(const std::vector<EsitoTrimestreConto>& conto);
std::vector<RigaPaginaSoglia> RigheSoglia(const std::vector<EsitoVerifica>& esiti);

// "name: source" for each formula the quarters' rows name, in the order
// they first appear, and the CMS check's rule when it appears.
QStringList LegendaFormule(const std::vector<EsitoTrimestreConto>& conto);

// Checks the document against the series in use (SoglieInUso) and names the
// series: the current account by the formula in force (VerificaConto), then
// the other rates (VerificaConteggio). Never throws: a check that fails leaves
// the rows empty and says why in errore.
DatiPaginaSoglia PaginaSoglia(const Documento& documento);

// The grid of the check window: a grey header row, then one row per rate; a
// rate over the threshold has its verdict in bold, a row that does not
// decide is greyed. Within a quarter's period the operation, the period, the
// category and the class are written on its first row only.
Griglia GrigliaSoglia(const DatiPaginaSoglia& dati);

// ---- Choices of the check window -------------------------------------------

enum class OperazioneUsura { Conto, Mutuo, Operazioni, Breve };

// An entry of a drop-down list: what it shows and what the document keeps.
struct VoceScelta {
    QString testo;
    QString valore;
};

struct ScelteUsura {
    // The categories of the periods the operation falls in (all the reference
    // year's periods for the current account; with no period, the latest of
    // the series), and the stored choice among them.
    std::vector<VoceScelta> categorie;
    int categoria = -1;
    // "scelta automatica dall'importo" first, then the classes of the chosen
    // category in those periods.
    std::vector<VoceScelta> classi;
    int classe = 0;
    // The date that places the operation in a period: the one given (dataIndicata)
    // or the one the check takes otherwise (the first cash flow, the disbursement);
    // invalid when there is none.
    QDate data;
    bool dataIndicata = false;
};

inline const QString TestoClasseAutomatica = QStringLiteral("scelta automatica dall'importo");

// The choices for one operation. Never throws.
ScelteUsura ScelteDi(OperazioneUsura operazione, const Documento& documento, const SerieSoglie& serie);

// The document's category and class of an operation.
std::string CategoriaUsura(const Documento& documento, OperazioneUsura operazione);
std::string ClasseUsura(const Documento& documento, OperazioneUsura operazione);
// Stores a category (and returns the class to automatic, as the classes of
// another category differ) or a class.
void ScegliCategoria(Documento& documento, OperazioneUsura operazione, const std::string& categoria);
void ScegliClasse(Documento& documento, OperazioneUsura operazione, const std::string& classe);
