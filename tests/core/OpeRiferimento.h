#pragma once
// The cash-flow rate by the plain search, kept as the reference the program's
// own search must match bit for bit: the rows sorted by date key with the
// exchange sort, rows of amount 0 left out, months counted from the earliest
// remaining row, every grid point 0, 0.00005, ... 1 (by repeated addition),
// every term F * (1 + r)^-t added in row order, the first point with the
// strictly smallest |V| below 1e15 wins.
#include <array>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <utility>

namespace riferimento {

// The grid point of the plain scan over given flows and months: its index,
// or -1 when no |V| is below 1e15. Throws std::range_error for a V that is
// not finite.
inline int IndiceFlussi(const double* f, const double* t, int n)
{
    double migliore = 1e15;
    int trovato = -1;
    int i = 0;
    for (double r = 0; r <= 1; r = r + 0.00005, ++i) {
        double v = 0;
        for (int k = 0; k < n; ++k)
            v = v + f[k] * std::pow(1 + r, -t[k]);
        if (!std::isfinite(v))
            throw std::range_error("valore attuale");
        if (std::fabs(v) < migliore) {
            migliore = std::fabs(v);
            trovato = i;
        }
    }
    return trovato;
}

// The annual rate of ten rows (year, month, signed amount), or the marker.
inline double TegOperazioni(const std::array<std::int32_t, 10>& anni, const std::array<std::int32_t, 10>& mesi,
                            const std::array<double, 10>& importi)
{
    constexpr double incoerenti = -12345.67;
    std::array<double, 10> k{}, f = importi;
    for (int r = 0; r < 10; ++r)
        k[r] = static_cast<double>(static_cast<std::int64_t>(anni[r]) * 100 + mesi[r]);
    for (int i = 0; i < 9; ++i)
        for (int j = i + 1; j < 10; ++j)
            if (k[j] < k[i]) {
                std::swap(k[i], k[j]);
                std::swap(f[i], f[j]);
            }
    double s = 0;
    for (double x : f)
        s = s + x;
    if (!std::isfinite(s))
        throw std::range_error("somma");
    if (s > 0)
        return incoerenti;
    double flussi[10], t[10];
    int n = 0;
    double zero = 0;
    for (int i = 0; i < 10; ++i) {
        if (f[i] == 0)
            continue;
        const double y = std::floor(k[i] / 100);
        const double m = y * 12 + (k[i] - y * 100);
        if (n == 0)
            zero = m;
        flussi[n] = f[i];
        t[n++] = m - zero;
    }
    const int indice = IndiceFlussi(flussi, t, n);
    double r = 0;
    for (int i = 0; i < indice; ++i)
        r = r + 0.00005;
    const double teg = std::pow(1 + r, 12.0) - 1;
    if (!std::isfinite(teg))
        throw std::range_error("TEG");
    return teg > 0.999 ? incoerenti : teg;
}

} // namespace riferimento
