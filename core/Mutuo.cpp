#include "Mutuo.h"

#include "Funzioni.h"
#include "TassoEsatto.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

void Mutuo::setNRate(double v)
{
    nRate_ = Intero16(v);
}

void Mutuo::setRateAnnuali(double v)
{
    rateAnnuali_ = Intero16(v);
}

namespace {

// The periodic-rate grid 0, 0.0001, ... made by repeated addition of the
// step, up to the last accumulated value not above 1.
const std::vector<double>& GrigliaMutuo()
{
    static const std::vector<double> griglia = [] {
        std::vector<double> g;
        for (double r = 0; r <= 1; r = r + 0.0001)
            g.push_back(r);
        return g;
    }();
    return griglia;
}

// Present value of the schedule at rate r: f(0) = netto, f(k) = -rata for
// k = 1..n, terms added in order of k.
double ValoreAttuale(double netto, double rata, int n, double r)
{
    const double base = 1 + r;
    double v = 0;
    v = v + netto * std::pow(base, -0.0);
    for (int k = 1; k <= n; ++k)
        v = v + (-rata) * std::pow(base, -static_cast<double>(k));
    return v;
}

// Index of the first grid point with the strictly smallest |V| below 1e15,
// or -1 when none is below it.
int RicercaCompleta(double netto, double rata, int n)
{
    const std::vector<double>& griglia = GrigliaMutuo();
    double migliore = 1e15;
    int indice = -1;
    for (std::size_t i = 0; i < griglia.size(); ++i) {
        const double v = ValoreAttuale(netto, rata, n, griglia[i]);
        if (!std::isfinite(v))
            throw std::range_error("Il valore attuale del mutuo non è un numero finito");
        if (std::fabs(v) < migliore) {
            migliore = std::fabs(v);
            indice = static_cast<int>(i);
        }
    }
    return indice;
}

// The present value with the discount factors made by repeated
// multiplication instead of one power per term. Its distance from the exact
// value is below 3 (n + 2) u M (u the unit roundoff, M = |f(0)| + n |rata|),
// which is enough to tell on which side of the root a grid point lies.
double ValoreApprossimato(double netto, double rata, int n, double r)
{
    const double sconto = 1 / (1 + r);
    double fattore = 1;
    double v = netto;
    for (int k = 1; k <= n; ++k) {
        fattore = fattore * sconto;
        v = v + (-rata) * fattore;
    }
    return v;
}

// The same grid point as RicercaCompleta, found without scanning the grid.
//
// All instalments have the same sign, so the exact present value at the grid
// base 1 + r is monotone in r and |V| has a single valley: the points whose
// exact |V| is within 2E of the smallest one form one run of neighbours, E
// bounding the rounding error of the term-by-term sum. Only those points can
// win the full scan. A bisection on the sign of V finds the valley; the run
// is then widened on both sides, evaluating |V| term by term exactly as the
// full scan does, until a point exceeds the smallest |V| seen by more than 4E
// (its exact value then lies beyond the valley, and so do all points past it).
// Within the run the first point with the smallest |V| wins, as in the scan.
// The bisection's own error stays below 3E, so the point where it stops is
// never more than that away from the valley: the run always covers it.
//
// E is taken as 16 (n + 4) u M, several times the worst case of n + 1
// products of a power within one unit in the last place and n + 1 additions;
// the stop test uses 5E to leave room for the rounding of E itself. A larger
// E only widens the run (more evaluations, same answer).
//
// Inputs for which these error bounds do not hold (no instalments, an
// instalment of 0 or so small that its products leave the normal range, sums
// near the limits of a double) go to the scan. So do, in effect, absurd
// schedules where the rounding noise of V spans much of the grid (a net
// amount of -10^12 against instalments of 1): the run then grows as wide as
// the noise, and the answer is still the scan's.
int RicercaRapida(double netto, double rata, int n)
{
    if (n <= 0 || rata == 0)
        // V is the constant f(0): the first grid point wins if it is below 1e15.
        return std::fabs(netto) < 1e15 ? 0 : -1;

    const double massimo = std::fabs(netto) + n * std::fabs(rata);
    if (!(std::fabs(rata) >= 1e-150) || !(massimo <= 1e300))
        return RicercaCompleta(netto, rata, n);

    const std::vector<double>& griglia = GrigliaMutuo();
    const int punti = static_cast<int>(griglia.size());
    const double errore = 8.0 * (n + 4) * std::numeric_limits<double>::epsilon() * massimo;
    const double soglia = 5 * errore;
    // V grows with r when the instalments are positive, falls when negative.
    const double verso = rata > 0 ? 1.0 : -1.0;

    // First grid point where the signed value is no longer negative.
    int primo = 0;
    int conta = punti;
    while (conta > 0) {
        const int meta = conta / 2;
        const int centro = primo + meta;
        if (verso * ValoreApprossimato(netto, rata, n, griglia[static_cast<std::size_t>(centro)]) < 0) {
            primo = centro + 1;
            conta -= meta + 1;
        } else {
            conta = meta;
        }
    }

    double minimo = std::numeric_limits<double>::infinity();
    int indice = -1;
    // Keeps the smallest |V| and, among equal ones, the lowest index.
    const auto valuta = [&](int i) {
        const double a = std::fabs(ValoreAttuale(netto, rata, n, griglia[static_cast<std::size_t>(i)]));
        if (a < minimo || (a == minimo && i < indice)) {
            minimo = a;
            indice = i;
        }
        return a;
    };

    if (primo - 1 >= 0)
        valuta(primo - 1);
    if (primo < punti)
        valuta(primo);
    for (int i = primo - 2; i >= 0; --i)
        if (valuta(i) > minimo + soglia)
            break;
    for (int i = primo + 1; i < punti; ++i)
        if (valuta(i) > minimo + soglia)
            break;

    return minimo < 1e15 ? indice : -1;
}

} // namespace

void Mutuo::Aggiorna()
{
    const int n = nRate_;
    if (n > MassimoRate)
        throw std::out_of_range("Il numero di rate " + std::to_string(n) + " supera il massimo di " +
                                std::to_string(MassimoRate));

    const double netto = importo_ - oneri_;
    double somma = netto;
    for (int k = 1; k <= n; ++k)
        somma = somma + (-rata_);
    if (!std::isfinite(somma))
        throw std::range_error("La somma dei flussi del mutuo non è un numero finito");
    // Whether the instalments repay the net amount is decided on whole
    // cents: 31 x 14.408,29 is exactly 446.656,99, a sum of doubles not.
    const std::optional<std::int64_t> importo = CentesimiInteri(importo_), oneri = CentesimiInteri(oneri_),
                                      rata = CentesimiInteri(rata_);
    const bool esatta = importo && oneri && rata && n >= 0;
    const std::int64_t differenza = esatta ? *importo - *oneri - n * *rata : 0;
    if (esatta ? differenza > 0 : somma > 0) {
        tegPeriodo_ = tegAnnuale_ = DatiIncoerenti;
        tegPeriodoEsatto_ = tegAnnualeEsatto_ = std::nullopt;
        return;
    }

    std::optional<double> periodoEsatto = TassoEsattoRata(netto, rata_, n);
    if (periodoEsatto && esatta && differenza == 0)
        periodoEsatto = 0.0;  // the root of instalments that repay exactly
    std::optional<double> annualeEsatto;
    if (periodoEsatto)
        annualeEsatto = TassoComposto(*periodoEsatto, rateAnnuali_);
    if (!annualeEsatto)
        periodoEsatto = std::nullopt;

    const int indice = RicercaRapida(netto, rata_, n);
    const double periodo = indice < 0 ? 0.0 : GrigliaMutuo()[static_cast<std::size_t>(indice)];
    if (periodo > 0.999) {
        tegPeriodo_ = tegAnnuale_ = DatiIncoerenti;
        tegPeriodoEsatto_ = periodoEsatto;
        tegAnnualeEsatto_ = annualeEsatto;
        return;
    }
    const double annuale = std::pow(1 + periodo, static_cast<double>(rateAnnuali_)) - 1;
    if (!std::isfinite(annuale))
        throw std::range_error("Il risultato TEGannuale del mutuo non è un numero finito");
    tegPeriodo_ = periodo;
    tegAnnuale_ = annuale;
    tegPeriodoEsatto_ = periodoEsatto;
    tegAnnualeEsatto_ = annualeEsatto;
}
