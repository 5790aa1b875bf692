#pragma once
// Exact rates: the root of a present-value equation found by bisection, to
// set beside the grid rates of the mortgage and the cash flows.
//
// Both solvers work in y = ln(1 + r), which keeps the digits of a small rate
// and of one near -1 alike. The bracket starts at y = 0 and doubles its far
// end (1, 2, 4, ... 512, then 700) until the equation changes sign: every
// root with |ln(1 + r)| <= 700 is found; beyond (1 + r near the end of the
// finite doubles) there is no result. The bracket is then halved until its
// width is within 1e-15 of its ends (or 1e-40 for a root at 0) or no double
// lies inside, at most 2000 halvings, and its midpoint is returned: a
// relative accuracy of 1e-15 in ln(1 + r), and better than 1e-13 in r for
// any rate TassoComposto lets through, wherever the equation can be
// evaluated that well. Never throws, never allocates; no
// result (std::nullopt) when the equation has no root in (-1, infinity),
// more than one, or when the inputs are not finite.
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
