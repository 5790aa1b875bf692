#pragma once
// The loan's contract as the calculation keeps it: the data the mortgage
// window adds to its amount, instalment and count (first instalment, TAN,
// method, costs, default interest, early repayment), and the whole
// examination of the contract the windows, the reports and the usury check
// read: plan, rates, instalment compared, early repayment.
#include "PianoMutuo.h"

#include <chrono>
#include <optional>
#include <vector>

class Documento;

// What the calculation keeps beside the mortgage (Mutuo: amount, instalment,
// count, periodicity) and the contract date of the usury check
// (ParametriUsura::DataStipula).
struct DatiContratto {
    std::optional<std::chrono::sys_days> dataPrimaRata;
    double tan = 0;  // fraction a year
    BaseTan base = BaseTan::Commerciale;
    MetodoAmmortamento metodo = MetodoAmmortamento::Francese;
    int giorniPreammortamento = 0;
    std::optional<double> taegDichiarato;  // fraction a year
    std::vector<CostoMutuo> costi;
    InteressiMora mora;
    EstinzioneAnticipata estinzione;

    // Whether the user has given any of it (a first instalment, a TAN, a
    // cost, a default rate, an early repayment): until then the contract is
    // not examined and the outputs stay as they were without it.
    bool Indicati() const;
};

// The contract of the document: the mortgage's amount, count and
// periodicity, the contract date of the usury check, the contract data, and
// as the instalment of the contract the one typed in the mortgage window
// less the costs paid with each instalment (that field holds the instalment
// "comprensiva di spese"); no instalment when none was typed. Never fails.
ContrattoMutuo ContrattoDi(const Documento& documento);

// The sum of the costs paid with each instalment, in the rate or not.
double CostiPerRata(const std::vector<CostoMutuo>& costi);

// Everything computed from the contract.
struct EsameContratto {
    ContrattoMutuo contratto;
    // Every fault of the data (ControllaContratto), in field order.
    std::vector<ErroreContratto> errori;
    Risultato<PianoAmmortamento> piano = Risultato<PianoAmmortamento>::Fallito({});
    // The rest only when there is a plan.
    TassiMutuo tassi;
    std::vector<TassoPerCosto> perCosto;
    std::optional<ConfrontoRata> confronto;
    Risultato<CasoEstinzione> estinzione = Risultato<CasoEstinzione>::Fallito({});
    // The contractual default rate when there is one and its data are sound.
    std::optional<double> mora;
};

// Examines the document's contract. Never throws (only std::bad_alloc).
EsameContratto EsaminaContratto(const Documento& documento);
EsameContratto EsaminaContratto(const ContrattoMutuo& contratto);
