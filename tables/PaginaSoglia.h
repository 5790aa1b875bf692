#pragma once
// The usury check as plain data: one row per rate compared with the
// threshold of its period, category and class, and the choices the check
// window offers. The window, the printed report and the copy all read these
// texts; nothing here shows anything.
#include "Griglia.h"
#include "Soglie.h"

#include <QDate>
#include <QString>
#include <vector>

class Documento;

struct RigaPaginaSoglia {
    QString operazione;    // "Conto corrente, trimestre I", "Mutuo", ...
    QString formula;       // "T.E.G. del programma", "T.E.G. Istruzioni 2016", ...
    QString periodo;       // "01/04/2011 – 13/05/2011"; empty without a period
    QString categoria, classe;
    QString tegm, soglia, tasso;  // "16,180%"; empty when not known
    QString tassoGriglia;  // the grid rate beside an exact rate; empty otherwise
    QString margine;       // threshold less rate in points, "2,345" or "-0,120"
    QString esito;         // "entro soglia", "⚠ OLTRE SOGLIA", "soglia non disponibile", ...
    QString nota;          // why there is no verdict, when the check says
    StatoVerifica stato = StatoVerifica::TassoNonDeterminabile;
    bool Oltre() const { return stato == StatoVerifica::OltreSoglia; }
};

struct DatiPaginaSoglia {
    QString titolo = QStringLiteral("Verifica usura");
    QString sottotitolo;   // "Conteggio «Esempio» – tassi confrontati con le soglie (L. 108/1996)"
    std::vector<RigaPaginaSoglia> righe;
    // The check's results the rows were written from, for the report's steps.
    std::vector<EsitoVerifica> esiti;
    QString fonte;         // "Soglie note fino al 31/12/2026 (serie ufficiale incorporata nel programma)"
    QString avviso;        // why an updated series in the archive is not in use; empty when none
    QString errore;        // what could not be checked; empty when everything was
};

// The verdict marked so that it stands out without colour: capitals and a sign.
inline const QString TestoOltreSoglia = QStringLiteral("\u26A0 OLTRE SOGLIA");

// "dd/mm/yyyy – dd/mm/yyyy".
QString TestoPeriodo(std::chrono::sys_days inizio, std::chrono::sys_days fine);

// The rows for verdicts already computed. Never throws.
std::vector<RigaPaginaSoglia> RigheSoglia(const std::vector<EsitoVerifica>& esiti);

// Checks the document against the series in use (SoglieInUso) and names the
// series. Never throws: a check that fails leaves the rows empty and says
// why in errore.
DatiPaginaSoglia PaginaSoglia(const Documento& documento);

// The grid of the check window: a grey header row, then one row per rate;
// a rate over the threshold has its verdict in bold.
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
