#pragma once
// A loan as the contract writes it (dates, TAN, amortisation method, costs,
// default interest, early-repayment fee), its amortisation plan and the
// exact rates of its dated cash flows, with and without the costs.
#include "FlussiDatati.h"
#include "Risultato.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// How the principal is repaid.
enum class MetodoAmmortamento {
    Francese,  // constant instalment
    Italiano,  // constant principal
    Bullet     // interest only, the whole principal with the last instalment
};

// How the TAN gives the interest of a period.
// Odd days (pre-amortisation, interest accrued at an early repayment) are
// counted 30/360 for the commercial basis (the pre-amortisation days as
// typed), in calendar days otherwise.
enum class BaseTan {
    Commerciale,   // TAN / instalments a year each period; odd days TAN x days / 360
    Equivalente,   // (1 + TAN)^(1 / instalments a year) - 1 each period; odd days (1 + TAN)^(days/365) - 1
    Effettivi365,  // TAN x actual days / 365
    Effettivi360   // TAN x actual days / 360
};

// When a cost is paid.
enum class PagamentoCosto {
    Stipula,   // once, on the contract date
    OgniRata,  // with each instalment
    Annuale,   // on the contract date and on each anniversary before the last instalment
    AllaData   // once, on its own date
};

enum class TipoCosto { Istruttoria, Perizia, Incasso, Assicurazione, Notaio, Imposte, Altro };

struct CostoMutuo {
    std::string descrizione;
    TipoCosto tipo = TipoCosto::Altro;
    double importo = 0;  // euro, each time it is paid
    PagamentoCosto pagamento = PagamentoCosto::Stipula;
    std::optional<std::chrono::sys_days> data;  // only for AllaData
    bool nelTasso = true;  // whether it enters the rate
    std::string motivo;    // why it does or does not, printed beside it
};

// A cost of the kind with the default inclusion and its reason: appraisal,
// arrangement, collection fee and an insurance taken with the loan in the
// rate; notary and taxes out; "Altro" in. Never fails.
CostoMutuo CostoPredefinito(TipoCosto tipo, double importo, PagamentoCosto pagamento);
// The printed reason for including (or not) a cost of the kind. Never fails.
std::string MotivoPredefinito(TipoCosto tipo, bool nelTasso);
// Whether including a cost of the kind is a matter of judgment (insurance,
// notary, other costs): the rate "with every optional cost" adds these even
// when switched off. Never fails.
bool CostoFacoltativo(TipoCosto tipo);
// "istruttoria", "perizia", "incasso rata", "assicurazione", "notaio",
// "imposte e tasse", "altro". Never fails.
std::string NomeTipoCosto(TipoCosto tipo);

enum class TipoMora { Nessuna, Spread, Fisso };
struct InteressiMora {
    TipoMora tipo = TipoMora::Nessuna;
    double valore = 0;  // fraction a year: added to the TAN (Spread) or the rate itself (Fisso)
};

enum class TipoPenale { Percentuale, Fissa };
struct EstinzioneAnticipata {
    bool considerata = false;  // courts differ whether the fee counts: the check is a choice
    TipoPenale tipo = TipoPenale::Percentuale;
    double valore = 0;  // fraction of the residual debt, or euro
    std::optional<std::chrono::sys_days> data;
};

struct ContrattoMutuo {
    // Largest number of instalments a plan may have.
    static constexpr int MassimoRate = 600;

    double importo = 0;  // euro lent, paid out on the contract date
    std::optional<std::chrono::sys_days> dataStipula, dataPrimaRata;
    double tan = 0;  // fraction a year
    BaseTan base = BaseTan::Commerciale;
    MetodoAmmortamento metodo = MetodoAmmortamento::Francese;
    int rateAnnuali = 12;  // 12, 6, 4, 3, 2 or 1
    int numeroRate = 0;
    // Days from the contract date to the start of amortisation; their
    // interest on the whole amount is paid on that day.
    int giorniPreammortamento = 0;
    std::optional<double> taegDichiarato;  // the bank's TAEG/ISC, fraction a year
    std::optional<double> rataDichiarata;  // the instalment of the contract, euro, without costs
    std::vector<CostoMutuo> costi;
    InteressiMora mora;
    EstinzioneAnticipata estinzione;
};

// A field a fault is about, so that a window can point at it.
enum class CampoContratto {
    Importo, DataStipula, DataPrimaRata, Tan, RateAnnuali, NumeroRate,
    Preammortamento, RataDichiarata, TaegDichiarato, Costo, Mora, Estinzione
};

struct ErroreContratto {
    CampoContratto campo;
    int costo = -1;     // index in `costi` for CampoContratto::Costo
    std::string testo;  // Italian, whole sentence
};

// Every fault of the contract data in field order: a missing or non-positive
// amount, missing dates, a first instalment not after the start of
// amortisation, a TAN or default rate below 0 or beyond 100 %, a periodicity
// other than 12/6/4/3/2/1, instalments below 1 or beyond MassimoRate, a
// typed instalment that never repays the loan (not above the first
// period's interest, or times the instalments not above the amount), a cost
// not finite or negative or dated outside the plan, an early-repayment date
// not strictly between the contract date and the last instalment. Empty
// when the data are sound. Never throws (only std::bad_alloc).
std::vector<ErroreContratto> ControllaContratto(const ContrattoMutuo& contratto);

// One row of the plan. Row 0, when there is pre-amortisation, holds its
// interest alone on the day amortisation starts.
struct RigaPiano {
    int numero = 0;
    std::chrono::sys_days data;
    double rata = 0, interessi = 0, quotaCapitale = 0, debitoResiduo = 0;
    double costi = 0;  // every cost paid that day, in the rate or not
};

struct PianoAmmortamento {
    std::vector<RigaPiano> righe;
    double totaleRate = 0, totaleInteressi = 0, totaleCapitale = 0, totaleCosti = 0;
    double costiStipula = 0;        // costs paid on the contract date (not in any row)
    double rataPiano = 0;           // the first instalment of amortisation (the constant one of a French plan)
    std::vector<std::string> avvisi;  // what the user should know: an irregular first period
};

// The plan, amounts rounded to the cent as a bank prints them: each
// period's interest by the basis, the French instalment by the closed
// formula at the periodic rate, the Italian principal as amount / n; the
// last instalment settles the residual to 0. Instalment dates are the first
// one plus whole periods (SpostaMesi, month ends kept). Fails with the first
// fault of ControllaContratto, except those of the default rate, the early
// repayment and the stated TAEG: they stop only their own check.
Risultato<PianoAmmortamento> CalcolaPiano(const ContrattoMutuo& contratto);

// The plan's instalment beside the typed one: a difference beyond a cent is
// reported, never replaced.
struct ConfrontoRata {
    double rataPiano = 0, rataDichiarata = 0, differenza = 0;  // differenza = dichiarata - piano
    bool concorda = true;  // |differenza| at most 0,01
};
// Empty when no instalment was typed.
std::optional<ConfrontoRata> ConfrontaRata(const ContrattoMutuo& contratto, const PianoAmmortamento& piano);

// Which costs go into the flows.
enum class CostiNelTasso {
    Nessuno,     // the bare rate: instalments and pre-amortisation interest only
    Scelti,      // the costs switched into the rate
    Facoltativi  // those, and every optional cost (CostoFacoltativo) even when switched off
};

// The dated flows of the loan from the borrower's side: the amount on the
// contract date less the costs paid then, the pre-amortisation interest,
// each instalment with its costs, the yearly and dated costs.
std::vector<FlussoDatato> FlussiMutuo(const ContrattoMutuo& contratto, const PianoAmmortamento& piano,
                                      CostiNelTasso costi);

struct TassiMutuo {
    // Fractions a year, TAEG convention.
    Risultato<double> nudo = Risultato<double>::Fallito({});
    Risultato<double> conCosti = Risultato<double>::Fallito({});
    Risultato<double> conFacoltativi = Risultato<double>::Fallito({});
    // conCosti less the bank's stated TAEG/ISC, when both are known.
    std::optional<double> scartoDaTaegDichiarato;
};

// The three rates of the plan's flows (TassoAnnuoFlussi). Each fails on its
// own, with the reason, when no rate balances its flows (costs taking away
// the whole amount). Never throws (only std::bad_alloc).
TassiMutuo CalcolaTassi(const ContrattoMutuo& contratto, const PianoAmmortamento& piano);

// The rate with the costs switched into it (conCosti) with one optional
// cost forced in and forced out.
struct TassoPerCosto {
    int costo = 0;  // index in `costi`
    Risultato<double> con = Risultato<double>::Fallito({});
    Risultato<double> senza = Risultato<double>::Fallito({});
};
// One entry for each optional cost (CostoFacoltativo), in list order.
std::vector<TassoPerCosto> TassiPerCosto(const ContrattoMutuo& contratto, const PianoAmmortamento& piano);

// The loan repaid on the chosen date: the flows of the plan up to that day,
// then the residual, the interest accrued since the last instalment and the fee.
struct CasoEstinzione {
    std::chrono::sys_days data;
    double debitoResiduo = 0, interessiMaturati = 0, penale = 0;
    Risultato<double> tassoConPenale = Risultato<double>::Fallito({});
    Risultato<double> tassoSenzaPenale = Risultato<double>::Fallito({});
};
// With the costs switched into the rate. Fails when the early repayment is
// not considered, has no date, or the date is not strictly between the
// contract date and the last instalment.
Risultato<CasoEstinzione> CalcolaEstinzione(const ContrattoMutuo& contratto, const PianoAmmortamento& piano);

// The contractual default rate (TAN + spread, or the fixed rate); empty
// when the contract has none.
std::optional<double> TassoMora(const ContrattoMutuo& contratto);

// "dd/mm/yyyy". Never fails.
std::string TestoGiorno(std::chrono::sys_days giorno);
