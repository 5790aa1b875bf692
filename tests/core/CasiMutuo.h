#pragma once
// Seeded mortgage inputs for comparing the program's search with the plain
// one: ordinary loans, roots placed halfway between two grid points, roots
// beyond either end of the grid, and the degenerate schedules.
#include "MutuoRiferimento.h"

#include "Mutuo.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace casi {

struct CasoMutuo {
    double importo = 0;
    double oneri = 0;
    double nRate = 0;
    double rateAnnuali = 12;
    double rata = 0;
};

// The instalment that repays netto in n periods at the periodic rate r.
inline double RataPerTasso(double netto, int n, double r)
{
    if (r == 0)
        return netto / n;
    return netto * r / (1 - std::pow(1 + r, -n));
}

// The instalment that makes |V| equal at grid points r1 and r2 (V of
// opposite signs there): the closest call the search can meet.
inline double RataPareggio(double netto, int n, double r1, double r2)
{
    double a1 = 0, a2 = 0;
    for (int k = 1; k <= n; ++k) {
        a1 += std::pow(1 + r1, -k);
        a2 += std::pow(1 + r2, -k);
    }
    return 2 * netto / (a1 + a2);
}

// The grid of the search, made the way the search makes it.
inline const std::vector<double>& Griglia()
{
    static const std::vector<double> g = [] {
        std::vector<double> v;
        for (double r = 0; r <= 1; r = r + 0.0001)
            v.push_back(r);
        return v;
    }();
    return g;
}

class Generatore {
public:
    explicit Generatore(std::uint64_t seme) : motore_(seme) {}

    CasoMutuo Prossimo()
    {
        CasoMutuo c;
        const int periodi[] = {12, 6, 4, 3, 2, 1};
        c.rateAnnuali = periodi[intero(0, 5)];
        const int tipo = intero(0, 99);
        const int n = intero(0, 9) < 7 ? intero(1, 400) : intero(1, 40);
        c.nRate = n;
        c.importo = std::round(uniforme(1000, 1e6) * 100) / 100;
        c.oneri = intero(0, 1) ? std::round(c.importo * uniforme(0, 0.05) * 100) / 100 : 0;
        const double netto = c.importo - c.oneri;
        const auto& g = Griglia();
        if (tipo < 35) {
            // An ordinary loan, the rata rounded to cents as typed.
            const double r = uniforme(0, 0.08);
            c.rata = std::round(RataPerTasso(netto, n, r) * 100) / 100;
        } else if (tipo < 50) {
            // Root halfway between two grid points, give or take a hair.
            const std::size_t i = static_cast<std::size_t>(intero(0, 3000));
            const double r = (g[i] + g[i + 1]) / 2 * (1 + uniforme(-1e-9, 1e-9));
            c.rata = RataPerTasso(netto, n, r);
        } else if (tipo < 60) {
            // |V| equal at two neighbouring grid points, up to rounding.
            const std::size_t i = static_cast<std::size_t>(intero(0, 9999));
            c.rata = RataPareggio(netto, n, g[i], g[i + 1]);
        } else if (tipo < 70) {
            // Root anywhere on the grid, up to and beyond its upper end.
            c.rata = RataPerTasso(netto, n, uniforme(0, 1.3));
        } else if (tipo < 75) {
            // The instalments repay exactly the net amount (S = 0).
            c.rata = static_cast<double>(intero(1, 5000));
            c.importo = c.rata * n;
            c.oneri = 0;
        } else if (tipo < 80) {
            // Negative instalments and net amounts: V falls with the rate.
            c.importo = -c.importo;
            c.oneri = 0;
            c.rata = -RataPerTasso(-c.importo, n, uniforme(0, 0.5));
        } else if (tipo < 85) {
            // Net amount of the other sign to the instalments: no root at all.
            c.importo = -c.importo * uniforme(0, 2);
            c.rata = uniforme(0.01, 1e4);
        } else if (tipo < 90) {
            // Amounts of any size, tiny to huge, either sign.
            c.importo = logaritmico() * (intero(0, 3) ? 1 : -1);
            c.oneri = intero(0, 1) ? logaritmico() : 0;
            c.rata = logaritmico() * (intero(0, 3) ? 1 : -1);
        } else {
            // The degenerate schedules.
            switch (intero(0, 7)) {
            case 0: c.importo = c.oneri = c.rata = 0; break;                // V identically 0
            case 1: c.nRate = -intero(0, 30000); break;                       // no instalments
            case 2: c.nRate = 0; c.importo = -c.importo; break;
            case 3: c.rata = 0; c.importo = -c.importo; break;                // Rata 0
            case 4: c.rata = 1e-200; c.importo = 0; c.oneri = 0; break;       // vanishing rata
            case 5: c.importo = -2e15; c.rata = 1; break;                     // |V| above 1e15
            case 6: c.rata = 1e299; break;                                    // sums near the limit
            default: c.rata = netto * 50; break;                              // root far beyond 1
            }
        }
        return c;
    }

private:
    int intero(int da, int a) { return std::uniform_int_distribution<int>(da, a)(motore_); }
    double uniforme(double da, double a) { return std::uniform_real_distribution<double>(da, a)(motore_); }
    double logaritmico() { return std::pow(10.0, uniforme(-12, 16)); }
    std::mt19937_64 motore_;
};

// Runs both searches on one input; empty when they agree bit for bit
// (results, or the kind of failure), else a description of the difference.
inline std::string Confronta(const CasoMutuo& c)
{
    Mutuo m;
    m.setImporto(c.importo);
    m.setOneri(c.oneri);
    m.setNRate(c.nRate);
    m.setRateAnnuali(c.rateAnnuali);
    m.setRata(c.rata);

    std::string errore;
    riferimento::EsitoMutuo atteso;
    std::string erroreAtteso;
    try {
        atteso = riferimento::MutuoCompleto(c.importo, c.oneri, static_cast<std::int16_t>(m.NRate()),
                                            static_cast<std::int16_t>(m.RateAnnuali()), c.rata);
    } catch (const std::out_of_range&) {
        erroreAtteso = "out_of_range";
    } catch (const std::range_error&) {
        erroreAtteso = "range_error";
    }
    std::string erroreOttenuto;
    try {
        m.Aggiorna();
    } catch (const std::out_of_range&) {
        erroreOttenuto = "out_of_range";
    } catch (const std::range_error&) {
        erroreOttenuto = "range_error";
    }
    const auto descrizione = [&] {
        return "importo " + std::to_string(c.importo) + " oneri " + std::to_string(c.oneri) + " n " +
               std::to_string(c.nRate) + " rata " + std::to_string(c.rata);
    };
    if (erroreAtteso != erroreOttenuto)
        return descrizione() + ": failure '" + erroreOttenuto + "', expected '" + erroreAtteso + "'";
    if (!erroreAtteso.empty())
        return {};
    if (std::bit_cast<std::uint64_t>(m.TEGperiodo()) != std::bit_cast<std::uint64_t>(atteso.periodo) ||
        std::bit_cast<std::uint64_t>(m.TEGannuale()) != std::bit_cast<std::uint64_t>(atteso.annuale))
        return descrizione() + ": periodic " + std::to_string(m.TEGperiodo()) + " expected " +
               std::to_string(atteso.periodo);
    return {};
}

} // namespace casi
