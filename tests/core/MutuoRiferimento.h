#pragma once
// The mortgage rate by the plain search, kept as the reference the program's
// own search must match bit for bit: every grid point 0, 0.0001, ... 1 (by
// repeated addition), every term f(k) * (1 + r)^-k added in order of k, the
// first point with the strictly smallest |V| below 1e15 wins.
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace riferimento {

struct EsitoMutuo {
    double periodo = 0;
    double annuale = 0;
};

inline EsitoMutuo MutuoCompleto(double importo, double oneri, std::int16_t nRate,
                                std::int16_t rateAnnuali, double rata)
{
    constexpr double incoerenti = -12345.67;
    const int n = nRate;
    if (n > 400)
        throw std::out_of_range("NRate");
    double f[401];
    f[0] = importo - oneri;
    double s = f[0];
    for (int k = 1; k <= n; ++k) {
        f[k] = -rata;
        s = s + f[k];
    }
    if (!std::isfinite(s))
        throw std::range_error("somma");
    if (s > 0)
        return {incoerenti, incoerenti};

    double migliore = 1e15;
    double trovato = 0;
    for (double r = 0; r <= 1; r = r + 0.0001) {
        double v = 0;
        for (int k = 0; k <= (n > 0 ? n : 0); ++k)
            v = v + f[k] * std::pow(1 + r, -static_cast<double>(k));
        if (!std::isfinite(v))
            throw std::range_error("valore attuale");
        if (std::fabs(v) < migliore) {
            migliore = std::fabs(v);
            trovato = r;
        }
    }
    if (trovato > 0.999)
        return {incoerenti, incoerenti};
    const double annuale = std::pow(1 + trovato, static_cast<double>(rateAnnuali)) - 1;
    if (!std::isfinite(annuale))
        throw std::range_error("TEGannuale");
    return {trovato, annuale};
}

} // namespace riferimento
