#pragma once
// The loan's rates against the usury thresholds of its contract date: the
// rate with its costs, the default rate against the threshold for default
// interest (TEGM plus the decree's average surcharge), the early-repayment
// case; each with margin, verdict and the formula with its numbers.
#include "MaggiorazioniMora.h"
#include "PianoMutuo.h"
#include "Soglie.h"

#include <optional>
#include <string>

// The category and class of the threshold series the loan is compared with
// (as ParametriUsura keeps them); an empty class is chosen by the amount.
struct SceltaSoglia {
    std::string categoria, classe;
};

struct VerificaMutuo {
    // The row as the usury check shows it: rate, TEGM, threshold, margin,
    // state and a note for the states that are not a verdict. Its period is
    // the one of the contract date.
    EsitoVerifica esito;
    // The default surcharge added to the TEGM (fraction, 0.021 = 2,1 points)
    // and the decree that reports it; only for the default rate.
    std::optional<double> maggiorazione;
    std::string fonteMaggiorazione;
    // The threshold formula with its numbers in points, e.g.
    // "(5,36 + 2,10) × 1,5 = 11,19" or "min(2,61 × 1,25 + 4; 2,61 + 8) = 7,2625";
    // empty when there is no threshold.
    std::string calcolo;
};

// Whether the loan runs more than five years: its last instalment after the
// contract date plus 60 months. False when the dates are not given.
bool OltreCinqueAnni(const ContrattoMutuo& contratto);

// The rate with the costs switched into it ("Mutuo", "T.A.E.G. con i costi").
// Never throws (only std::bad_alloc).
VerificaMutuo VerificaTassoMutuo(const ContrattoMutuo& contratto, const TassiMutuo& tassi, const SerieSoglie& serie,
                                 const SceltaSoglia& scelta);

// The default rate ("Mutuo, interessi di mora", "tasso di mora pattuito")
// against SogliaLegale(TEGM + surcharge) of the contract date's period; the
// surcharge category from CategoriaMoraPer. No threshold
// (SogliaNonDisponibile, with the reason in the note) when no surcharge
// covers the date: none was surveyed before 01/04/2003. Empty when the
// contract has no default rate. Never throws (only std::bad_alloc).
std::optional<VerificaMutuo> VerificaMoraMutuo(const ContrattoMutuo& contratto, const SerieSoglie& serie,
                                               const SerieMaggiorazioniMora& maggiorazioni, const SceltaSoglia& scelta);

// The early-repayment rate with the fee ("Mutuo, estinzione anticipata",
// "T.A.E.G. all'estinzione con penale") against the threshold of the
// contract date. Empty when the early repayment is not considered; a case
// that failed gives TassoNonDeterminabile with its reason. Never throws
// (only std::bad_alloc).
std::optional<VerificaMutuo> VerificaEstinzioneMutuo(const ContrattoMutuo& contratto,
                                                     const Risultato<CasoEstinzione>& caso, const SerieSoglie& serie,
                                                     const SceltaSoglia& scelta);
