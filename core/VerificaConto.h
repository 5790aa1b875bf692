#pragma once
// The usury check of the current account quarter by quarter: the rate by the
// formula in force in the quarter decides, every other formula is compared
// beside it, and up to 31/12/2009 the commission on the maximum overdraft
// (CMS) is checked apart against its own threshold.
#include "Soglie.h"

#include <chrono>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class BOX;
class Documento;
class ParametriUsura;

// The formulas a quarter's rate is computed by.
enum class FormulaConto {
    Fino2009,        // the supervisory formula of the instructions before August 2009, CMS left out
    Istruzioni2009,  // instructions of August 2009: CMS (and from 2012 the fees that replaced it) among the charges
    Istruzioni2016,  // instructions of July 2016
    Analitico        // the program's analytic cost: charges by date plus compounding, on the average debt
};

// The last day each Bank of Italy formula decides: 31/12/2009 for Fino2009,
// 31/03/2017 for Istruzioni2009.
inline constexpr std::chrono::sys_days UltimoGiornoFino2009{std::chrono::year{2009} / std::chrono::December / 31};
inline constexpr std::chrono::sys_days UltimoGiornoIstruzioni2009{std::chrono::year{2017} / std::chrono::March / 31};

// The formula that decides for a day: Fino2009 up to 31/12/2009,
// Istruzioni2009 up to 31/03/2017, Istruzioni2016 afterwards. Never
// Analitico.
FormulaConto FormulaInVigore(std::chrono::sys_days giorno);

// The caption of a formula, naming what it is ("Istruzioni Banca d'Italia
// 2009", "T.E.G. analitico (con anatocismo)", ...), and its source with the
// days it decides. Never fail.
std::string NomeFormula(FormulaConto formula);
std::string FonteFormula(FormulaConto formula);

// What a formula's row is in the quarter's check.
enum class RuoloFormula {
    Decide,       // the formula in force in the period: its verdict counts
    Riferimento,  // the analytic cost: shown beside, never decides
    NonInVigore   // a Bank of Italy formula of another period
};

// "decide", "(riferimento)", "non in vigore nel periodo". Never fails.
std::string TestoRuolo(RuoloFormula ruolo);

// What the charges of a Bank of Italy formula are divided by.
enum class BaseOneri {
    Accordato,        // the credit line
    MassimoScoperto,  // the maximum debit balance: no credit line, or the balance went beyond it
    Nessuna           // neither is given: the charges term is left out (up to 2009) or the rate cannot be determined
};

// The figures of a Bank of Italy formula, as the report writes it:
//   tasso = interessi x giorni / numeri + oneri x annualizzazione / base
// Amounts in euro for the quarter, numeri in euro x days, quotas and rate as
// fractions (0.08 = 8 %).
struct TerminiIstruzioni {
    double interessi = 0;
    double numeri = 0;          // by transaction date (Fino2009) or as on the statement
    double numeriEstratto = 0;  // the statement's numeri (they differ from numeri by the value days)
    int giorni = 0;             // 365 or 366 by the reference year (Fino2009), else 365
    double commissioni = 0, spese = 0;
    double cmsEsclusa = 0;      // the CMS taken out of the charges (Fino2009 only)
    double oneri = 0;           // commissioni + spese - cmsEsclusa
    int annualizzazione = 1;    // 1 (Fino2009: charges of the quarter) or 4 (charges a year)
    double base = 0;
    BaseOneri tipoBase = BaseOneri::Nessuna;
    double quotaInteressi = 0, quotaOneri = 0;
    std::optional<double> tasso;  // quotaInteressi + quotaOneri; empty when not determinable
};

// The figures of the analytic cost, as the analytic table shows them:
//   tasso = incidenza degli oneri effettivi + incidenza dell'anatocismo
// both annual incidences on the average debt by transaction date.
struct TerminiAnalitico {
    double debitoMedio = 0;
    double oneriEffettivi = 0, oneriEffettiviP = 0;
    double anatocismo = 0, anatocismoP = 0;
    int giorniTrimestre = 0, giorniAnno = 0;
    std::optional<double> tasso;
};

// One formula of the quarter against one period. esito.formula is
// NomeFormula(formula); esito.tasso, soglia, margine and stato are the
// comparison (margine = soglia - tasso, fractions).
struct RigaFormula {
    FormulaConto formula = FormulaConto::Fino2009;
    RuoloFormula ruolo = RuoloFormula::Decide;
    EsitoVerifica esito;
    std::variant<TerminiIstruzioni, TerminiAnalitico> termini;
};

// Which comparison settled the CMS check.
enum class ConfrontoCMS {
    Nessuno,               // no verdict: the rate, the threshold or a CMS figure is missing
    TEG,                   // the T.E.G. without CMS is over the threshold, or no CMS was charged
    CMSEntroSoglia,        // the CMS is within the CMS threshold
    MargineCapiente,       // the CMS is beyond it, but the interest margin absorbs the excess
    MargineInsufficiente   // the excess is larger than the interest margin
};

// The CMS check of a quarter up to 31/12/2009 (Cass. S.U. 16303/2018), for
// one period: the CMS charged, as a share of the maximum debit balance,
// against the CMS threshold (average CMS x 1,5); the T.E.G. without CMS
// against the rate threshold; an excess of CMS (euro) set against the
// interest margin left under the threshold (euro, on the quarter's numeri).
// Amounts in euro, rates as fractions. Amounts compared are rounded to the
// cent, as they are shown.
struct VerificaCMS {
    std::optional<std::chrono::sys_days> inizio, fine;
    double cms = 0, massimoScoperto = 0;
    std::optional<double> cmsPercentuale;  // cms / massimoScoperto
    std::optional<double> cmsMedia;        // as the user typed it
    std::optional<double> cmsSoglia;       // cmsMedia x 1,5
    std::optional<double> cmsEntroSoglia;  // cmsSoglia x massimoScoperto
    std::optional<double> eccedenza;       // cms - cmsEntroSoglia, when positive
    // The T.E.G. without CMS (Fino2009) and the rate threshold of the period;
    // interessiSoglia and interessiApplicati are each rate x numeri / giorni,
    // margine their difference (negative: the T.E.G. is over the threshold).
    std::optional<double> teg, soglia;
    double numeri = 0;
    int giorni = 0;
    std::optional<double> interessiSoglia, interessiApplicati, margine;
    StatoVerifica stato = StatoVerifica::CMSNonVerificabile;  // the quarter's verdict for the period
    ConfrontoCMS decisivo = ConfrontoCMS::Nessuno;
    std::string spiegazione;  // which comparison decided, with its figures, in Italian
};

// One period (or run of days no period covers) the quarter touches.
struct TrattoConto {
    std::chrono::sys_days inizio{}, fine{};
    // The formula in force first (Decide), then the analytic cost
    // (Riferimento), then the other Bank of Italy formulas in date order
    // (NonInVigore).
    std::vector<RigaFormula> righe;
    std::optional<VerificaCMS> cms;  // up to 31/12/2009 only

    // The row of the formula in force.
    const RigaFormula& Decisiva() const { return righe.front(); }
    // The verdict for the period: the CMS check's where there is one (it
    // includes the T.E.G.'s), else the formula in force's.
    StatoVerifica Stato() const { return cms ? cms->stato : righe.front().esito.stato; }
};

// The check of one quarter.
struct EsitoTrimestreConto {
    int trimestre = 0;
    std::string operazione;  // "Conto corrente, trimestre I"
    FormulaConto inVigore = FormulaConto::Fino2009;
    std::vector<TrattoConto> tratti;  // in date order
};

// Checks one quarter of reference year `anno`, whose Aggiorna has already run
// for that year: the quarter's days are placed in the series, the category
// and class are those of the choices (`usura`: the account's category, the
// fixed class or the one of the credit line, else of the maximum debit
// balance) and the average CMS is usura.CMSMedia(quarter). Never throws but
// std::bad_alloc.
EsitoTrimestreConto VerificaTrimestreConto(const BOX& trimestre, int anno, const ParametriUsura& usura,
                                           const SerieSoglie& serie);

// Checks every quarter of the document with a figure, on copies recomputed
// here (the document is not changed). A quarter whose recomputation throws
// gives rows without a rate, the reason in esito.nota. Never throws but
// std::bad_alloc.
std::vector<EsitoTrimestreConto> VerificaConto(const Documento& documento, const SerieSoglie& serie);
