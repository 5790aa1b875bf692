#pragma once
// The monthly-rate grid of the cash flows and its search.
#include <vector>

// The grid 0, 0.00005, ... made by repeated addition of the step, up to the
// last accumulated value not above 1.
const std::vector<double>& GrigliaFlussi();

// Present value at the grid point r: v = 0, then v = v + flussi[i] *
// (1 + r)^-mesi[i] for i = 0..quanti-1, in that order.
double ValoreAttualeFlussi(const double* flussi, const double* mesi, int quanti, double r);

// Index of the first grid point with the strictly smallest |V| below 1e15,
// or -1 when none is below it, by evaluating every point. Throws
// std::range_error when some V is not finite.
int RicercaCompletaFlussi(const double* flussi, const double* mesi, int quanti);

// The same index as RicercaCompletaFlussi, bit for bit, on every input (and
// the same failure), evaluating only the points near the smallest |V|. Flows
// of 0 may be given or left out: they change no V. Falls back to the full
// scan for flows changing sign more than once, a month before the first one
// (mesi[i] < 0), or amounts near the limits of a double.
int RicercaRapidaFlussi(const double* flussi, const double* mesi, int quanti);
