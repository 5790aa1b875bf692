#pragma once
// The official series of average rates (TEGM) and usury thresholds by period,
// category and amount class (L. 108/1996), read from its semicolon-separated
// text, and the check of a calculation's rates against it.
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Documento;

// One row of the series: a category and class of a period. Rates are in
// percentage points, as the series writes them (16,18 -> 16.18).
struct RigaSoglia {
    std::string categoria;
    std::string classe;
    double tegm = 0;
    double sogliaPubblicata = 0;  // the SOGLIA column, only to cross-check
    int riga = 0;                 // line of the text it was read from
};

// A period of validity (both ends included) with its rows in text order.
struct PeriodoSoglie {
    std::chrono::sys_days inizio{}, fine{};
    std::vector<RigaSoglia> righe;
};

// A fault found while reading the text: the line (1 = the header; 0 for the
// text as a whole) and what is wrong there, in Italian.
struct ErroreSoglie {
    int riga = 0;
    std::string testo;
};

class SerieSoglie {
public:
    // The header every text must open with.
    static constexpr std::string_view Intestazione = "INIZIO;FINE;CATEGORIA;CLASSE;TEGM;SOGLIA";
    // Largest distance in points allowed between SOGLIA and the legal threshold.
    static constexpr double TolleranzaSoglia = 0.01;
    // Lire for one euro, to compare an amount in euro with a class in lire.
    static constexpr double LirePerEuro = 1936.27;

    // An empty series: covers no date.
    SerieSoglie() = default;

    // Reads and validates the whole text (UTF-8, optional BOM, CRLF or LF,
    // dd/mm/yyyy dates, decimal comma; blank lines are ignored). Checks dates,
    // numbers and the number of fields of each line, FINE not before INIZIO,
    // periods neither overlapping nor split in two blocks, each category
    // written one way in a period (not once in capitals and once not, say),
    // each category/class pair once per period (case and blanks of the class
    // aside), no control character in any field, SOGLIA within
    // TolleranzaSoglia of the legal threshold. Returns the series, or std::nullopt with every fault found
    // in `errori` (in line order) when there is at least one. Never throws
    // for any text (only std::bad_alloc).
    static std::optional<SerieSoglie> Leggi(std::string_view testo, std::vector<ErroreSoglie>& errori);

    // Periods sorted by start date; they do not overlap (gaps are possible).
    const std::vector<PeriodoSoglie>& Periodi() const { return periodi_; }
    bool Vuota() const { return periodi_.empty(); }
    std::size_t NumeroRighe() const;
    // First and last day covered; std::nullopt for an empty series.
    std::optional<std::chrono::sys_days> PrimaData() const;
    std::optional<std::chrono::sys_days> UltimaData() const;
    // Periods in the series with a gap before them (their start minus one
    // day is covered by no period), for a warning when the series is taken.
    std::vector<const PeriodoSoglie*> PeriodiDopoUnaLacuna() const;

    // The period covering a day; nullptr when none does. Binary search.
    const PeriodoSoglie* PeriodoDi(std::chrono::sys_days giorno) const;
    // The periods overlapping [da, a] in date order; empty when none does.
    std::vector<const PeriodoSoglie*> PeriodiTra(std::chrono::sys_days da, std::chrono::sys_days a) const;

    // Distinct categories of a period, in text order.
    static std::vector<std::string> Categorie(const PeriodoSoglie& periodo);
    // The category of a period a chosen name stands for: the same name, or
    // the same name once the bracketed validity note of either is dropped
    // (case and repeated blanks do not matter). Empty when the period does
    // not list it.
    static std::string CategoriaDelPeriodo(const PeriodoSoglie& periodo, std::string_view scelta);
    // Classes of a category of the period (exact name), in text order.
    static std::vector<std::string> Classi(const PeriodoSoglie& periodo, std::string_view categoria);
    // The row of a category (as CategoriaDelPeriodo finds it) and class
    // (exact name); nullptr when the period has none.
    static const RigaSoglia* Riga(const PeriodoSoglie& periodo, std::string_view categoria,
                                  std::string_view classe);
    // The row of a category whose class text admits an amount in euro
    // ("fino a 5.000 euro", "oltre 10 milioni di lire", "da 50.000 a 200.000
    // euro", "intera distribuzione", ...; lire classes compare the amount
    // times LirePerEuro). When two classes admit it (a bound written in both),
    // the one with the lower upper bound. nullptr when no class admits it,
    // when a class text cannot be read, or when the amount is not above 0 and
    // the category has more than one class.
    static const RigaSoglia* RigaPerImporto(const PeriodoSoglie& periodo, std::string_view categoria,
                                            double importoEuro);
    // Whether a class text bounds amounts in lire ("oltre 10 milioni di
    // lire"), as RigaPerImporto reads it; false for euro classes, "intera
    // distribuzione" and texts it cannot read.
    static bool ClasseInLire(std::string_view classe);

    // The legal threshold in points for a TEGM in points and the start of its
    // period: TEGM x 1,5 up to 13/05/2011, then min(TEGM x 1,25 + 4, TEGM + 8).
    static double SogliaLegale(double tegm, std::chrono::sys_days inizioPeriodo);

private:
    std::vector<PeriodoSoglie> periodi_;
};

// The outcome of one rate against one period.
enum class StatoVerifica {
    EntroSoglia,             // rate not above the threshold
    OltreSoglia,             // rate above the threshold
    SogliaNonDisponibile,    // the series covers no period for the date
    CategoriaNonPrevista,    // the period does not list the category
    CategoriaNonScelta,      // no category chosen yet
    ClasseNonDeterminabile,  // no class of the category fits the amount, or the fixed class is not listed
    TassoNonDeterminabile,   // the calculation gives no rate
    DataMancante,            // the operation has no date to place it in a period
    CMSNonVerificabile       // the commission on the maximum overdraft cannot be checked (a figure is missing)
};

// "entro soglia", "OLTRE SOGLIA", "soglia non disponibile", "categoria non
// prevista", "categoria non scelta", "classe non determinabile", "tasso non
// determinabile", "data non indicata", "CMS non verificabile". Never fails.
std::string TestoStato(StatoVerifica stato);

struct EsitoVerifica {
    std::string operazione;  // "Conto corrente, trimestre I", "Mutuo", "Operazioni", "Finanziamento a breve"
    std::string formula;     // "T.E.G. del programma", "T.E.G. esatto"; a quarter's: NomeFormula
    std::optional<std::chrono::sys_days> inizio, fine;  // the period checked, when there is one
    std::string categoria, classe;  // as the series writes them (the choice when not found)
    // Fractions (0.1618 = 16,18 %); margine = soglia - tasso. tassoGriglia is
    // the grid rate, given when tasso is the exact rate.
    std::optional<double> tegm, soglia, tasso, tassoGriglia, margine;
    // The amount in euro the class was chosen by; empty when the class is
    // the one the user fixed or no amount was given. voceImporto says what
    // the amount is ("fido accordato", "massimo scoperto", "importo
    // finanziato", "somme ricevute"); empty when not known.
    std::optional<double> importoClasse;
    std::string voceImporto;
    StatoVerifica stato = StatoVerifica::TassoNonDeterminabile;
    std::string nota;  // a short explanation for the states that are not a verdict; may be empty
};

// Checks the rates of the document's loans against the series (the current
// account's quarters are checked by VerificaConto): recomputes (Aggiorna) a
// copy of each part it checks, the document itself is not changed. One row
// per rate, in this order: the mortgage, the cash flows, the short-term
// financing. A part with no figures at all is left out. A part whose
// recomputation throws gives a TassoNonDeterminabile row with the reason in
// `nota`; a rate the calculation marks as not determinable (DatiIncoerenti)
// never reaches tasso or tassoGriglia. Only std::bad_alloc leaves.
std::vector<EsitoVerifica> VerificaConteggio(const Documento& documento, const SerieSoglie& serie);

// ---------------------------------------------------------------- for the checks built on this one

// A run of days [inizio, fine] and the period of the series covering it
// (nullptr: no period covers those days).
struct TrattoSoglie {
    const PeriodoSoglie* periodo = nullptr;
    std::chrono::sys_days inizio{}, fine{};
};

// The runs [da, a] falls into, in date order: each period overlapping it
// (with the period's own dates) and each run of days no period covers
// (clipped to [da, a]). Empty only when a < da.
std::vector<TrattoSoglie> TrattiSoglie(const SerieSoglie& serie, std::chrono::sys_days da,
                                       std::chrono::sys_days a);

// One rate against the threshold of a run, as VerificaConteggio compares
// each rate: the category and the class (the fixed one, else the one the
// amount falls in), TEGM, threshold, margin and state. `tasso` empty means
// no rate, for the reason in `notaTasso`. For a run no period covers the row
// takes the run's dates and says why there is no threshold. `voceImporto`
// names the amount (EsitoVerifica::voceImporto). Only std::bad_alloc leaves.
EsitoVerifica ConfrontaConSoglia(const SerieSoglie& serie, const TrattoSoglie& tratto, std::string operazione,
                                 std::string formula, std::optional<double> tasso, const std::string& notaTasso,
                                 const std::string& categoria, const std::string& classeFissata,
                                 std::optional<double> importoClasse, const std::string& voceImporto = {});
