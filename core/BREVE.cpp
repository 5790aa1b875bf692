#include "BREVE.h"

#include "Funzioni.h"

#include <cmath>
#include <stdexcept>

void BREVE::Aggiorna()
{
    const double giorni = static_cast<double>((data1_ - data0_).count());
    const double netto = finanziato_ - oneri_;
    if (!(netto > 0) || !(data0_ < data1_)) {
        // No rate: only TEG carries the marker; TEGbreve keeps its value and
        // is read only while TEG is not the marker.
        teg_ = DatiIncoerenti;
        return;
    }
    const double tegBreve = restituito_ / netto - 1;
    if (!std::isfinite(tegBreve))
        throw std::range_error("Il risultato TEGbreve non è un numero finito");
    const double teg = tegBreve * 365 / giorni;
    if (!std::isfinite(teg))
        throw std::range_error("Il risultato TEG non è un numero finito");
    if (teg < 0) {
        teg_ = tegBreve_ = DatiIncoerenti;
        return;
    }
    tegBreve_ = tegBreve;
    teg_ = teg;
}
