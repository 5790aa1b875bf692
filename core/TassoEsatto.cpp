#include "TassoEsatto.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int MassimoDimezzamenti = 2000;
constexpr double Precisione = 1e-15;
constexpr double PrecisioneAssoluta = 1e-40;
// ln(1 + r) beyond which 1 + r is no longer a finite double, either way.
constexpr double LimiteLogaritmo = 700;

// The root of an equation written in y = ln(1 + r), returned as r = e^y - 1.
// h must be negative below its only root and positive above it (NaN counts
// as a failure). The bracket starts at y = 0 and doubles its far end until
// the sign changes; beyond |y| = 700 the rate is not a finite double and
// there is no result. Working in y rather than r keeps the digits of a small
// rate (e^y - 1 by expm1) and of a rate near -1 alike.
template <class Equazione>
std::optional<double> Radice(Equazione h)
{
    const double h0 = h(0.0);
    if (std::isnan(h0))
        return std::nullopt;
    if (h0 == 0)
        return 0.0;

    // The last point on the side of y = 0 and the first beyond the root.
    double prima = 0, oltre = 0;
    const double verso = h0 < 0 ? 1.0 : -1.0;  // towards the root
    for (double passo = 1;; passo *= 2) {
        if (passo > LimiteLogaritmo)
            return std::nullopt;
        const double y = verso * passo;
        const double v = h(y);
        if (std::isnan(v))
            return std::nullopt;
        if (v == 0)
            return std::expm1(y);
        if ((v > 0) == (verso > 0)) {
            oltre = y;
            break;
        }
        prima = y;
    }
    double basso = std::min(prima, oltre), alto = std::max(prima, oltre);

    for (int i = 0; i < MassimoDimezzamenti; ++i) {
        const double larghezza = alto - basso;
        if (larghezza <= Precisione * std::min(std::fabs(basso), std::fabs(alto)) ||
            larghezza <= PrecisioneAssoluta)
            break;
        const double medio = basso + larghezza / 2;
        if (medio <= basso || medio >= alto)
            break;
        const double v = h(medio);
        if (std::isnan(v))
            return std::nullopt;
        if (v == 0)
            return std::expm1(medio);
        (v < 0 ? basso : alto) = medio;
    }
    const double r = std::expm1(basso + (alto - basso) / 2);
    return std::isfinite(r) ? std::optional<double>(r) : std::nullopt;
}

} // namespace

std::optional<double> TassoEsattoRata(double netto, double rata, int n)
{
    if (n < 1 || rata == 0)
        return std::nullopt;
    const double q = netto / rata;
    if (!std::isfinite(q) || !(q > 0))
        return std::nullopt;
    const double rate = n;
    // sum_{k=1..n} e^-ky = (1 - e^-ny) / (e^y - 1), n at y = 0; it falls
    // with y, so q minus it rises through the root.
    return Radice([=](double y) {
        if (y == 0)
            return q - rate;
        return q + std::expm1(-rate * y) / std::expm1(y);
    });
}

std::optional<double> TassoEsattoFlussi(const double* flussi, const double* mesi, int quanti)
{
    // Flows of the same month summed, rows of 0 left out, in month order.
    std::array<double, 10> somma{};
    std::array<double, 10> mese{};
    int termini = 0;
    for (int i = 0; i < quanti && i < 10; ++i) {
        if (flussi[i] == 0)
            continue;
        if (!std::isfinite(flussi[i]) || !std::isfinite(mesi[i]))
            return std::nullopt;
        if (termini > 0 && mese[termini - 1] == mesi[i]) {
            somma[termini - 1] += flussi[i];
        } else {
            somma[termini] = flussi[i];
            mese[termini] = mesi[i];
            ++termini;
        }
    }

    // Scaled to the largest sum, so no sum of terms can overflow below.
    double massimo = 0;
    int cambi = 0;
    double segnoPrecedente = 0;
    for (int j = 0; j < termini; ++j) {
        if (!std::isfinite(somma[j]))
            return std::nullopt;
        massimo = std::max(massimo, std::fabs(somma[j]));
        if (somma[j] != 0) {
            const double segno = somma[j] > 0 ? 1 : -1;
            if (segnoPrecedente != 0 && segno != segnoPrecedente)
                ++cambi;
            segnoPrecedente = segno;
        }
    }
    // As a polynomial in x = 1 / (1 + r), whose roots in (0, infinity) are
    // the rates in (-1, infinity), the rule of signs allows as many roots as
    // changes of sign, fewer by an even number: one change, exactly one root.
    if (cambi != 1)
        return std::nullopt;
    double primo = 0;  // the sign of the earliest sum, which V takes as r grows
    for (int j = 0; j < termini && primo == 0; ++j)
        primo = somma[j] > 0 ? 1 : (somma[j] < 0 ? -1 : 0);
    for (int j = 0; j < termini; ++j)
        somma[j] /= massimo;
    const double inizio = mese[0];
    const double fine = mese[termini - 1];

    // primo * V(y), V(y) = sum c_j e^-(t_j - t_0) y: from -primo at r -> -1
    // (the latest sums weigh most) to +primo at r -> infinity. For y < 0 it is
    // multiplied by e^(t_last - t_0) y, which keeps its sign and every factor
    // at most 1.
    return Radice([&](double y) {
        double v = 0;
        for (int j = 0; j < termini; ++j) {
            const double esponente = y >= 0 ? -(mese[j] - inizio) * y : (fine - mese[j]) * y;
            v += somma[j] * std::exp(esponente);
        }
        return primo * v;
    });
}

std::optional<double> TassoComposto(double periodo, double periodi)
{
    if (!std::isfinite(periodo) || !(periodo > -1) || !std::isfinite(periodi))
        return std::nullopt;
    const double tasso = std::expm1(periodi * std::log1p(periodo));
    if (!std::isfinite(tasso) || tasso > 1e12)
        return std::nullopt;
    return tasso;
}
