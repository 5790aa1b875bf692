#include "OPE.h"

#include "Funzioni.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

void OPE::controllaRiga(int r)
{
    if (r < 0 || r > Righe)
        throw std::out_of_range("Riga delle operazioni fuori dall'intervallo 0..10: " + std::to_string(r));
}

std::int32_t OPE::Mese(int r) const { controllaRiga(r); return mese_[r]; }
void OPE::setMese(int r, std::int32_t v) { controllaRiga(r); mese_[r] = v; }
std::int32_t OPE::Anno(int r) const { controllaRiga(r); return anno_[r]; }
void OPE::setAnno(int r, std::int32_t v) { controllaRiga(r); anno_[r] = v; }
std::int16_t OPE::Segno(int r) const { controllaRiga(r); return segno_[r]; }
void OPE::setSegno(int r, double v) { controllaRiga(r); segno_[r] = Intero16(v); }
double OPE::Importo(int r) const { controllaRiga(r); return importo_[r]; }
void OPE::setImporto(int r, double v) { controllaRiga(r); importo_[r] = v; }

void OPE::Aggiorna()
{
    // Private pairs (date key, signed flow) of rows 1..10, numbered 0..9.
    std::array<double, Righe> chiave{};
    std::array<double, Righe> flusso{};
    for (int r = 1; r <= Righe; ++r) {
        const std::int64_t k = static_cast<std::int64_t>(anno_[r]) * 100 + mese_[r];
        if (k < std::numeric_limits<std::int32_t>::min() || k > std::numeric_limits<std::int32_t>::max())
            throw std::overflow_error("La data della riga " + std::to_string(r) +
                                      " è fuori dall'intervallo ammesso");
        chiave[r - 1] = static_cast<double>(k);
        flusso[r - 1] = segno_[r] * importo_[r];
    }

    // Exchange sort by ascending key; equal keys keep no particular order.
    for (int i = 0; i < Righe - 1; ++i)
        for (int j = i + 1; j < Righe; ++j)
            if (chiave[j] < chiave[i]) {
                std::swap(chiave[i], chiave[j]);
                std::swap(flusso[i], flusso[j]);
            }

    double somma = 0;
    for (double f : flusso)
        somma = somma + f;
    if (!std::isfinite(somma))
        throw std::range_error("La somma dei flussi delle operazioni non è un numero finito");
    if (somma > 0) {
        teg_ = DatiIncoerenti;
        return;
    }

    // Months counted from the earliest flow that moves money. A row left at
    // amount 0 adds nothing to the balance and must not become the reference
    // month: an earlier empty row would discount every flow by many months,
    // shrink |V| towards 0 at the top of the grid and turn a sound operation
    // into "no rate". With no money moving at all the earliest row is used.
    std::array<double, Righe> mese{};
    for (int i = 0; i < Righe; ++i) {
        const double anno = std::floor(chiave[i] / 100);
        mese[i] = anno * 12 + (chiave[i] - anno * 100);
    }
    double meseZero = mese[0];
    for (int i = 0; i < Righe; ++i)
        if (flusso[i] != 0) {
            meseZero = mese[i];
            break;
        }
    std::array<double, Righe> distanza{};
    for (int i = 0; i < Righe; ++i)
        distanza[i] = mese[i] - meseZero;

    // Full search of the monthly grid 0, 0.00005, ... 1 (repeated addition);
    // the first point with the strictly smallest |V| wins.
    double migliore = 1e15;
    double tasso = 0;
    for (double r = 0; r <= 1; r = r + 0.00005) {
        const double base = 1 + r;
        double v = 0;
        for (int i = 0; i < Righe; ++i)
            v = v + flusso[i] * std::pow(base, -distanza[i]);
        if (!std::isfinite(v))
            throw std::range_error("Il valore attuale delle operazioni non è un numero finito");
        if (std::fabs(v) < migliore) {
            migliore = std::fabs(v);
            tasso = r;
        }
    }

    const double teg = std::pow(1 + tasso, 12.0) - 1;
    if (!std::isfinite(teg))
        throw std::range_error("Il risultato TEG delle operazioni non è un numero finito");
    teg_ = (teg > 0.999) ? DatiIncoerenti : teg;
}
