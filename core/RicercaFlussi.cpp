#include "RicercaFlussi.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>

const std::vector<double>& GrigliaFlussi()
{
    static const std::vector<double> griglia = [] {
        std::vector<double> g;
        for (double r = 0; r <= 1; r = r + 0.00005)
            g.push_back(r);
        return g;
    }();
    return griglia;
}

double ValoreAttualeFlussi(const double* flussi, const double* mesi, int quanti, double r)
{
    const double base = 1 + r;
    double v = 0;
    for (int i = 0; i < quanti; ++i)
        v = v + flussi[i] * std::pow(base, -mesi[i]);
    return v;
}

int RicercaCompletaFlussi(const double* flussi, const double* mesi, int quanti)
{
    const std::vector<double>& griglia = GrigliaFlussi();
    double migliore = 1e15;
    int indice = -1;
    for (std::size_t i = 0; i < griglia.size(); ++i) {
        const double v = ValoreAttualeFlussi(flussi, mesi, quanti, griglia[i]);
        if (!std::isfinite(v))
            throw std::range_error("Il valore attuale delle operazioni non è un numero finito");
        if (std::fabs(v) < migliore) {
            migliore = std::fabs(v);
            indice = static_cast<int>(i);
        }
    }
    return indice;
}

namespace {

constexpr int MassimoFlussi = 10;
// Intervals of at most this many steps are evaluated point by point.
constexpr int FogliaPunti = 8;

using Termini = std::array<double, MassimoFlussi>;

// Branch and bound over the grid.
//
// Every term f * (1 + r)^-t with t >= 0 is monotone in r, so on an interval
// of grid points each term lies between its values at the two ends: the sum
// of the smaller ends bounds V from below, the sum of the larger ends from
// above, and whichever of them keeps one sign bounds |V| away from 0. An
// interval whose bound exceeds the smallest |V| found so far by more than the
// rounding can hold no winner and is dropped; the others are halved, down to
// a few points evaluated exactly as the full scan evaluates them. With the
// smallest |V| kept as in the scan (strictly smaller, or equal at a lower
// index), the answer is the scan's: every dropped point has a computed |V|
// strictly above the final smallest one.
//
// E bounds the distance between any computed sum of terms (the scan's V or a
// bound) and its exact value: each term is a power within one unit in the
// last place times a flow, and at most ten terms are added, so (n + 3) u M
// (u the unit roundoff, M = sum |f|) is the worst case; E is taken as
// 16 (n + 4) u M plus 1e-290 for results that leave the normal range. A
// point's computed |V| is then at least bound - 2E; dropping only above
// smallest + 4E leaves room for the rounding of E itself. A larger E only
// keeps more intervals (more evaluations, same answer).
//
// The bound is tight far from the root and loose near it, so the search
// starts from the neighbours of the sign change of V, found by bisection:
// with flows changing sign at most once V has one root, the smallest |V| is
// then small at once and almost every interval is dropped at the first test.
class Ricerca {
public:
    Ricerca(const double* flussi, const double* mesi, int quanti, double errore)
        : flussi_(flussi), mesi_(mesi), quanti_(quanti), margine_(4 * errore),
          griglia_(GrigliaFlussi())
    {
    }

    int Trova()
    {
        const int ultimo = static_cast<int>(griglia_.size()) - 1;
        const double v0 = valuta(0);
        if (v0 == 0)
            return 0;  // nothing beats 0 at the first point
        // First point where V no longer has the sign of V(0).
        int basso = 0, alto = ultimo + 1;
        while (alto - basso > 1) {
            const int centro = basso + (alto - basso) / 2;
            const double v = ValoreAttualeFlussi(flussi_, mesi_, quanti_, griglia_[centro]);
            if ((v > 0) == (v0 > 0) && v != 0)
                basso = centro;
            else
                alto = centro;
        }
        valuta(basso);
        if (alto <= ultimo)
            valuta(alto);

        Termini a{}, b{};
        termini(0, a);
        termini(ultimo, b);
        esplora(0, ultimo, a, b);
        return minimo_ < 1e15 ? indice_ : -1;
    }

private:
    // The scan's |V| at point i, kept when it is the smallest so far.
    double valuta(int i)
    {
        const double v = ValoreAttualeFlussi(flussi_, mesi_, quanti_, griglia_[i]);
        const double a = std::fabs(v);
        if (a < minimo_ || (a == minimo_ && i < indice_)) {
            minimo_ = a;
            indice_ = i;
        }
        return v;
    }

    void termini(int i, Termini& t) const
    {
        const double base = 1 + griglia_[i];
        for (int k = 0; k < quanti_; ++k)
            t[k] = flussi_[k] * std::pow(base, -mesi_[k]);
    }

    void esplora(int da, int a, const Termini& primo, const Termini& ultimo)
    {
        double sotto = 0, sopra = 0;
        for (int k = 0; k < quanti_; ++k) {
            sotto += std::min(primo[k], ultimo[k]);
            sopra += std::max(primo[k], ultimo[k]);
        }
        if (std::max(sotto, -sopra) > minimo_ + margine_)
            return;
        if (a - da <= FogliaPunti) {
            for (int i = da; i <= a; ++i)
                valuta(i);
            return;
        }
        const int centro = da + (a - da) / 2;
        Termini medio{};
        termini(centro, medio);
        esplora(da, centro, primo, medio);
        esplora(centro, a, medio, ultimo);
    }

    const double* flussi_;
    const double* mesi_;
    int quanti_;
    double margine_;
    const std::vector<double>& griglia_;
    double minimo_ = 1e15;
    int indice_ = -1;
};

} // namespace

int RicercaRapidaFlussi(const double* flussi, const double* mesi, int quanti)
{
    if (quanti < 0 || quanti > MassimoFlussi)
        return RicercaCompletaFlussi(flussi, mesi, std::max(quanti, 0));
    double massimo = 0;
    int cambi = 0;
    double segno = 0;
    bool costante = true;  // every flow at month 0 (or of 0)
    for (int i = 0; i < quanti; ++i) {
        // A negative month can overflow the power at the top of the grid;
        // a NaN month or flow makes every V NaN: the scan says what happens.
        if (!(mesi[i] >= 0) || std::isnan(flussi[i]))
            return RicercaCompletaFlussi(flussi, mesi, quanti);
        massimo += std::fabs(flussi[i]);
        costante = costante && (flussi[i] == 0 || mesi[i] == 0);
        if (flussi[i] != 0) {
            const double s = flussi[i] > 0 ? 1 : -1;
            if (segno != 0 && s != segno)
                ++cambi;
            segno = s;
        }
    }
    if (massimo == 0)
        return 0;  // V is 0 everywhere: the first point wins
    if (costante && massimo <= 1e300) {
        // (1 + r)^-0 is exactly 1: V is the same number at every point.
        const double v = std::fabs(ValoreAttualeFlussi(flussi, mesi, quanti, 0));
        return v < 1e15 ? 0 : -1;
    }
    if (cambi > 1 || !(massimo <= 1e300) || massimo < 1e-250)
        return RicercaCompletaFlussi(flussi, mesi, quanti);

    const double errore =
        8.0 * (quanti + 4) * std::numeric_limits<double>::epsilon() * massimo + 1e-290;
    return Ricerca(flussi, mesi, quanti, errore).Trova();
}
