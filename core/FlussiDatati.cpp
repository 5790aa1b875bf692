#include "FlussiDatati.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

using namespace std::chrono;

namespace {

bool UltimoDelMese(const year_month_day& g)
{
    return g.day() == year_month_day_last{g.year(), month_day_last{g.month()}}.day();
}

// A sum of exponentials in y = ln(1 + X): sum_j a_j e^(-t_j y), 0 = t_0 <
// t_1 < ..., written so that no factor exceeds 1 and nothing overflows:
// for y < 0 it is multiplied by the positive e^(t_last y). `segno` makes it
// negative below the root and positive above.
struct Equazione {
    std::vector<double> a, t;
    double segno = 1;

    // The value and the slope, both scaled the same way on each side of 0.
    void operator()(double y, double& valore, double& pendenza) const
    {
        const double ultimo = t.back();
        valore = 0;
        pendenza = 0;
        for (std::size_t j = 0; j < a.size(); ++j) {
            const double esponente = y >= 0 ? -t[j] : ultimo - t[j];
            const double termine = a[j] * std::exp(esponente * y);
            valore += termine;
            pendenza += termine * esponente;
        }
        valore *= segno;
        pendenza *= segno;
    }
    double operator()(double y) const
    {
        double v, p;
        (*this)(y, v, p);
        return v;
    }
};

constexpr double LimiteLogaritmo = 700;
constexpr double Precisione = 1e-15;
constexpr double PrecisioneAssoluta = 1e-40;
constexpr int MassimoPassi = 200;

// Newton steps inside [basso, alto], where h goes from negative to positive;
// a bisection wherever a step would leave the bracket.
double NewtonProtetto(const Equazione& h, double basso, double alto)
{
    double y = basso + (alto - basso) / 2;
    for (int i = 0; i < MassimoPassi; ++i) {
        double v, p;
        h(y, v, p);
        if (std::isnan(v))
            return v;
        if (v == 0)
            return y;
        (v < 0 ? basso : alto) = y;
        const double tolleranza = std::max(Precisione * std::fabs(y), PrecisioneAssoluta);
        if (alto - basso <= tolleranza)
            return basso + (alto - basso) / 2;
        const double newton = y - v / p;
        if (std::isfinite(newton) && newton > basso && newton < alto) {
            const bool fermo = std::fabs(newton - y) <= tolleranza;
            y = newton;
            if (fermo)
                return y;
        } else {
            y = basso + (alto - basso) / 2;
        }
    }
    return y;
}

} // namespace

sys_days SpostaMesi(sys_days giorno, int mesi, bool fineMese)
{
    const year_month_day g{giorno};
    const year_month ym = year_month{g.year(), g.month()} + months{mesi};
    const day ultimo = year_month_day_last{ym.year(), month_day_last{ym.month()}}.day();
    const day d = (fineMese && UltimoDelMese(g)) ? ultimo : std::min(g.day(), ultimo);
    return sys_days{ym / d};
}

IntervalloTaeg IntervalloTaegTra(sys_days inizio, sys_days data)
{
    if (data < inizio)
        throw std::invalid_argument("la data precede l'inizio dei flussi");
    const year_month_day a{inizio}, b{data};
    const bool fineMese = UltimoDelMese(a);
    int mesi = (static_cast<int>(b.year()) - static_cast<int>(a.year())) * 12 +
               (static_cast<int>(static_cast<unsigned>(b.month())) - static_cast<int>(static_cast<unsigned>(a.month())));
    // At most one month too many: the day of the month decides.
    while (mesi > 0 && SpostaMesi(data, -mesi, fineMese) < inizio)
        --mesi;
    IntervalloTaeg r;
    r.mesi = mesi;
    const sys_days fineGiorni = SpostaMesi(data, -mesi, fineMese);
    r.giorni = static_cast<int>((fineGiorni - inizio).count());
    r.giorniAnno = static_cast<int>((fineGiorni - SpostaMesi(fineGiorni, -12, false)).count());
    return r;
}

std::optional<double> TassoAnnuoFlussi(const std::vector<FlussoDatato>& flussi)
{
    if (flussi.empty())
        return std::nullopt;
    std::vector<FlussoDatato> ordinati(flussi);
    std::stable_sort(ordinati.begin(), ordinati.end(),
                     [](const FlussoDatato& x, const FlussoDatato& y) { return x.data < y.data; });
    const sys_days inizio = ordinati.front().data;

    // Sums by day, then scaled so that the largest is 1 (no sum overflows).
    Equazione h;
    double massimo = 0;
    for (std::size_t i = 0; i < ordinati.size();) {
        double somma = 0;
        const sys_days giorno = ordinati[i].data;
        for (; i < ordinati.size() && ordinati[i].data == giorno; ++i) {
            if (!std::isfinite(ordinati[i].importo))
                return std::nullopt;
            somma += ordinati[i].importo;
        }
        if (!std::isfinite(somma))
            return std::nullopt;
        if (somma == 0)
            continue;
        h.a.push_back(somma);
        h.t.push_back(IntervalloTaegTra(inizio, giorno).Anni());
        massimo = std::max(massimo, std::fabs(somma));
    }
    int cambi = 0;
    for (std::size_t j = 0; j < h.a.size(); ++j) {
        h.a[j] /= massimo;
        if (j > 0 && (h.a[j] > 0) != (h.a[j - 1] > 0))
            ++cambi;
    }
    if (cambi != 1)
        return std::nullopt;
    // Towards X -> infinity the earliest sum is left: its sign is the sign above the root.
    h.segno = h.a.front() > 0 ? 1 : -1;

    const double h0 = h(0.0);
    if (h0 == 0)
        return 0.0;
    double prima = 0, oltre = 0;
    const double verso = h0 < 0 ? 1.0 : -1.0;
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
    const double y = NewtonProtetto(h, std::min(prima, oltre), std::max(prima, oltre));
    const double r = std::expm1(y);
    if (!std::isfinite(r))
        return std::nullopt;
    return r;
}
