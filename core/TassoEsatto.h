#pragma once
// Exact rates: the root of a present-value equation found by bisection, to
// set beside the grid rates of the mortgage and the cash flows.
//
// Both solvers keep a bracket [basso, alto] on which the equation changes
// sign and halve it until its width is within 1e-15 of the rate (or of 1e-300
// for a rate at 0), at most 2000 halvings (enough to reach two neighbouring
// doubles from any bracket). The midpoint of the last bracket is returned, so
// the relative accuracy is 1e-15 where the equation can be evaluated that
// well. Never throws, never allocates; no result (std::nullopt) when the
// equation has no root in (-1, infinity), more than one, or when the
// inputs are not finite.
#include <optional>

// The periodic rate r of netto = rata * sum_{k=1..n} (1 + r)^-k. The sum
// falls strictly from infinity to 0 as r goes from -1 to infinity, so there
// is one root exactly when n >= 1 and netto / rata is a positive finite
// number; none otherwise.
std::optional<double> TassoEsattoRata(double netto, double rata, int n);

// The monthly rate r of sum_i flussi[i] * (1 + r)^-mesi[i] = 0, for quanti
// flows (at most 10) given in ascending order of their months (any real
// month, any sign). Flows of the same month are added first; the rule of
// signs then bounds the roots in (-1, infinity) by the changes of sign of
// those sums taken in order of month: no change, no root; one change, exactly
// one root, which is returned. With two or more changes the roots are
// counted (those with 1 + r between e^-700 and e^700) and the rate is
// returned only when there is exactly one.
std::optional<double> TassoEsattoFlussi(const double* flussi, const double* mesi, int quanti);

// (1 + periodo)^periodi - 1, computed without losing the digits of a small
// rate; no result when it is not finite or is too large to be shown as a
// percentage (above 1e12).
std::optional<double> TassoComposto(double periodo, double periodi);
