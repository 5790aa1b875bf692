#pragma once
// The usury check of every quarter the account's movements cover, as the
// recalculation needs it: each quarter's figures drawn from the scale and
// checked against its threshold by the formula in force, so that the
// quarters above it bear no interest (art. 1815 c. 2 c.c.).
#include "ContoMovimenti.h"
#include "ParametriUsura.h"
#include "Ricalcolo.h"
#include "Scalare.h"
#include "Soglie.h"

#include <optional>
#include <string>
#include <vector>

// One quarter checked.
struct TrimestreSoglia {
    TrimestreAnno trimestre;
    Copertura copertura = Copertura::Nessuna;
    std::string formula;                  // the formula in force (NomeFormula)
    std::optional<double> tasso, soglia;  // fractions; empty when not known
    // The verdict: above the threshold when any threshold period of the
    // quarter is; else that of the first period without a verdict, else
    // EntroSoglia.
    StatoVerifica stato = StatoVerifica::TassoNonDeterminabile;
    std::string nota;   // why there is no verdict, or how the CMS check decided; may be empty
    // Counted among the quarters above the threshold: stato is OltreSoglia
    // and the statements cover the quarter (at most its closing postings
    // missing, which can only lower its rate).
    bool oltre = false;
};

struct VerificaMovimenti {
    std::vector<TrimestreSoglia> trimestri;  // in date order, quarters the records do not touch left out
    std::string errore;                      // the scale could not be drawn (then no quarter)

    // The quarters counted above the threshold, in order.
    std::vector<TrimestreAnno> Oltre() const;
};

// Checks each quarter of the account's scale (CalcolaScalare) that its
// records touch: the quarter's fields are its FigureAnno, the category and
// class are the calculation's choices, the average CMS that of `usura` for
// the quarters of annoRiferimento (the only ones it is typed for), none for
// the others. A quarter only partly covered is checked but not counted.
// Never throws (only std::bad_alloc).
VerificaMovimenti VerificaTrimestriMovimenti(const ContoMovimenti& conto, int annoRiferimento,
                                             const ParametriUsura& usura, const SerieSoglie& serie);
