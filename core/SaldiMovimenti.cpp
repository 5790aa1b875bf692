#include "SaldiMovimenti.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

using std::chrono::sys_days;

namespace {

[[noreturn]] void Traboccato()
{
    throw std::overflow_error("Gli importi dei movimenti sono troppo grandi: un saldo supera il limite di calcolo.");
}

Centesimi Piu(Centesimi a, Centesimi b)
{
    Centesimi r = 0;
    if (__builtin_add_overflow(a, b, &r))
        Traboccato();
    return r;
}

Centesimi Meno(Centesimi a, Centesimi b)
{
    Centesimi r = 0;
    if (__builtin_sub_overflow(a, b, &r))
        Traboccato();
    return r;
}

// The indices of the movements in the order of `prima`, ties in list order.
template <typename Prima>
std::vector<std::size_t> Ordine(const std::vector<Movimento>& movimenti, Prima prima)
{
    std::vector<std::size_t> ordine(movimenti.size());
    std::iota(ordine.begin(), ordine.end(), std::size_t{0});
    std::stable_sort(ordine.begin(), ordine.end(),
                     [&](std::size_t a, std::size_t b) { return prima(movimenti[a], movimenti[b]); });
    return ordine;
}

} // namespace

std::vector<Centesimi> SaldiPerValuta(const std::vector<Movimento>& movimenti, Centesimi partenza)
{
    const std::vector<std::size_t> ordine = Ordine(movimenti, [](const Movimento& a, const Movimento& b) {
        return a.dataValuta != b.dataValuta ? a.dataValuta < b.dataValuta : a.dataContabile < b.dataContabile;
    });
    std::vector<Centesimi> saldi(movimenti.size());
    Centesimi saldo = partenza;
    for (const std::size_t i : ordine)
        saldi[i] = saldo = Piu(saldo, movimenti[i].importo);
    return saldi;
}

std::vector<ControlloSaldi> ControllaSaldiDichiarati(const std::vector<Movimento>& movimenti,
                                                     const std::vector<SaldiEstratto>& saldi)
{
    const std::vector<std::size_t> ordine =
        Ordine(movimenti, [](const Movimento& a, const Movimento& b) { return a.dataContabile < b.dataContabile; });
    // progressivo[k]: the sum of the first k movements in booking order.
    std::vector<Centesimi> progressivo(ordine.size() + 1, 0);
    for (std::size_t k = 0; k < ordine.size(); ++k)
        progressivo[k + 1] = Piu(progressivo[k], movimenti[ordine[k]].importo);
    // How many movements are booked before `giorno` (or on it, with `compreso`).
    const auto fino = [&](sys_days giorno, bool compreso) {
        const auto it = compreso ? std::upper_bound(ordine.begin(), ordine.end(), giorno,
                                                    [&](sys_days g, std::size_t i) { return g < movimenti[i].dataContabile; })
                                 : std::lower_bound(ordine.begin(), ordine.end(), giorno,
                                                    [&](std::size_t i, sys_days g) { return movimenti[i].dataContabile < g; });
        return static_cast<std::size_t>(it - ordine.begin());
    };

    std::vector<ControlloSaldi> controlli;
    controlli.reserve(saldi.size());
    for (std::size_t e = 0; e < saldi.size(); ++e) {
        const SaldiEstratto& s = saldi[e];
        const std::size_t fine = std::max(fino(s.dataFinale, true), fino(s.dataIniziale, true));
        const auto lettura = [&](std::size_t inizio, bool conPrimoGiorno) {
            ControlloSaldi c;
            c.estratto = e;
            c.conPrimoGiorno = conPrimoGiorno;
            c.movimenti = fine - inizio;
            c.somma = Meno(progressivo[fine], progressivo[inizio]);
            c.calcolato = Piu(s.saldoIniziale, c.somma);
            c.differenza = Meno(s.saldoFinale, c.calcolato);
            if (fine > inizio)
                c.ultimo = ordine[fine - 1];
            return c;
        };
        const std::size_t dopoPrimo = fino(s.dataIniziale, true), dalPrimo = fino(s.dataIniziale, false);
        ControlloSaldi c = lettura(dopoPrimo, false);
        if (!c.Concorda() && dalPrimo < dopoPrimo)
            if (ControlloSaldi altra = lettura(dalPrimo, true); altra.Concorda())
                c = altra;
        controlli.push_back(c);
    }
    return controlli;
}
