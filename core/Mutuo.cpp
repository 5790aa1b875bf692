#include "Mutuo.h"

#include "Funzioni.h"

#include <cmath>
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
    if (somma > 0) {
        tegPeriodo_ = tegAnnuale_ = DatiIncoerenti;
        return;
    }

    const int indice = RicercaCompleta(netto, rata_, n);
    const double periodo = indice < 0 ? 0.0 : GrigliaMutuo()[static_cast<std::size_t>(indice)];
    if (periodo > 0.999) {
        tegPeriodo_ = tegAnnuale_ = DatiIncoerenti;
        return;
    }
    const double annuale = std::pow(1 + periodo, static_cast<double>(rateAnnuali_)) - 1;
    if (!std::isfinite(annuale))
        throw std::range_error("Il risultato TEGannuale del mutuo non è un numero finito");
    tegPeriodo_ = periodo;
    tegAnnuale_ = annuale;
}
