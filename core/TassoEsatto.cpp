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

// Halves [basso, alto], on which h rises through 0 (negative at basso,
// positive at alto), until its width is within Precisione of its ends (or
// PrecisioneAssoluta) or no double lies between them; at most
// MassimoDimezzamenti steps. NaN when h is NaN somewhere on the way.
template <class Equazione>
double Bisezione(Equazione h, double basso, double alto)
{
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
            return v;
        if (v == 0)
            return medio;
        (v < 0 ? basso : alto) = medio;
    }
    return basso + (alto - basso) / 2;
}

// The root of an equation written in y = ln(1 + r), returned as r = e^y - 1.
// h must be negative below its only root and positive above it (NaN counts
// as a failure). The bracket starts at y = 0 and doubles its far end until
// the sign changes, the last step ending at |y| = 700 itself; a root beyond
// it is not looked for, and there is no result. Working in y rather than r keeps the digits of a small
// rate (e^y - 1 by expm1) and of a rate near -1 alike.
template <class Equazione>
std::optional<double> Radice(Equazione h)
{
    const double h0 = h(0.0);
    if (std::isnan(h0))
        return std::nullopt;
    if (h0 == 0)
        return 0.0;

    // The last point on the side of y = 0 and the first beyond the root:
    // steps 1, 2, 4, ... 512, then the limit itself.
    double prima = 0, oltre = 0;
    const double verso = h0 < 0 ? 1.0 : -1.0;  // towards the root
    for (double passo = 1;; passo = std::min(2 * passo, LimiteLogaritmo)) {
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
        if (passo == LimiteLogaritmo)
            return std::nullopt;
        prima = y;
    }
    const double y = Bisezione(h, std::min(prima, oltre), std::max(prima, oltre));
    if (std::isnan(y))
        return std::nullopt;
    const double r = std::expm1(y);
    return std::isfinite(r) ? std::optional<double>(r) : std::nullopt;
}

// A sum of exponentials W(y) = sum_j a_j e^-(u_j y), 0 = u_0 < u_1 < ...,
// no a_j of 0: the present value in y = ln(1 + r), months counted from the
// first flow.
struct Esponenziali {
    int termini = 0;
    std::array<double, 10> a{}, u{};

    // W(y) times a positive factor: e^(u_last y) for y < 0, so that no
    // factor exceeds 1 and the sum cannot overflow.
    double operator()(double y) const
    {
        const double ultimo = u[termini - 1];
        double v = 0;
        for (int j = 0; j < termini; ++j)
            v += a[j] * std::exp(y >= 0 ? -u[j] * y : (ultimo - u[j]) * y);
        return v;
    }
};

// The roots of W in [-700, 700] in ascending order, at most termini - 1 of
// them, or -1 when they cannot be told (a NaN, more roots found than there
// can be), by Rolle's theorem: e^(u_1 y) W'(y) is again a
// sum of exponentials with one term fewer, and between two of its roots
// e^(u_0 y) W = W is monotone, so it has at most one root there, found by
// bisection when W changes sign. A root where W only touches 0 counts when W
// is exactly 0 at the extremum.
int Radici(const Esponenziali& w, double* radici)
{
    if (w.termini <= 1)
        return 0;
    Esponenziali derivata;
    derivata.termini = w.termini - 1;
    double massimo = 0;
    for (int j = 1; j < w.termini; ++j) {
        derivata.a[j - 1] = -w.u[j] * w.a[j];
        derivata.u[j - 1] = w.u[j] - w.u[1];
        massimo = std::max(massimo, std::fabs(derivata.a[j - 1]));
    }
    for (int j = 0; j < derivata.termini; ++j)
        derivata.a[j] /= massimo;  // scaled: the products of months can be large
    std::array<double, 12> punti{};
    int quanti = 0;
    punti[quanti++] = -LimiteLogaritmo;
    const int critici = Radici(derivata, punti.data() + quanti);
    if (critici < 0)
        return -1;
    quanti += critici;
    punti[quanti++] = LimiteLogaritmo;

    int trovate = 0;
    double precedente = w(punti[0]);
    if (std::isnan(precedente))
        return -1;
    if (precedente == 0)
        radici[trovate++] = punti[0];
    for (int i = 1; i < quanti; ++i) {
        const double v = w(punti[i]);
        if (std::isnan(v))
            return -1;
        if (v == 0) {
            if (trovate == 0 || radici[trovate - 1] != punti[i])
                radici[trovate++] = punti[i];
        } else if (precedente != 0 && (v > 0) != (precedente > 0)) {
            const double verso = precedente < 0 ? 1 : -1;
            radici[trovate++] =
                Bisezione([&](double y) { return verso * w(y); }, punti[i - 1], punti[i]);
        }
        if (trovate > w.termini - 1)
            return -1;
        precedente = v;
    }
    return trovate;
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
    // Flows of the same month summed, in month order; sums of 0 left out.
    std::array<double, 10> somma{};
    std::array<double, 10> mese{};
    int mesiDistinti = 0;
    for (int i = 0; i < quanti && i < 10; ++i) {
        if (flussi[i] == 0)
            continue;
        if (!std::isfinite(flussi[i]) || !std::isfinite(mesi[i]))
            return std::nullopt;
        if (mesiDistinti > 0 && mese[mesiDistinti - 1] == mesi[i]) {
            somma[mesiDistinti - 1] += flussi[i];
        } else {
            somma[mesiDistinti] = flussi[i];
            mese[mesiDistinti] = mesi[i];
            ++mesiDistinti;
        }
    }
    Esponenziali v;
    double massimo = 0;
    for (int j = 0; j < mesiDistinti; ++j) {
        if (!std::isfinite(somma[j]))
            return std::nullopt;
        if (somma[j] == 0)
            continue;
        v.a[v.termini] = somma[j];
        v.u[v.termini] = mese[j] - mese[0];
        massimo = std::max(massimo, std::fabs(somma[j]));
        ++v.termini;
    }
    if (v.termini == 0)
        return std::nullopt;
    int cambi = 0;
    for (int j = 0; j < v.termini; ++j) {
        v.a[j] /= massimo;  // no sum of terms can overflow below
        if (j > 0 && (v.a[j] > 0) != (v.a[j - 1] > 0))
            ++cambi;
    }

    // As a polynomial in x = 1 / (1 + r), whose roots in (0, infinity) are
    // the rates in (-1, infinity), the rule of signs allows as many roots as
    // changes of sign, fewer by an even number: none, no root; one, exactly
    // one, where V goes from the sign of the latest sum (r -> -1) to that of
    // the earliest (r -> infinity).
    if (cambi == 0)
        return std::nullopt;
    if (cambi == 1) {
        const double primo = v.a[0] > 0 ? 1 : -1;
        return Radice([&](double y) { return primo * v(y); });
    }
    // Several changes: count the roots themselves.
    std::array<double, 12> radici{};
    if (Radici(v, radici.data()) != 1)
        return std::nullopt;
    const double r = std::expm1(radici[0]);
    return std::isfinite(r) && r > -1 ? std::optional<double>(r) : std::nullopt;
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
