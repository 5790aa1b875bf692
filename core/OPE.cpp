#include "OPE.h"

#include "Funzioni.h"
#include "RicercaFlussi.h"
#include "TassoEsatto.h"

#include <algorithm>
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
    // More received than paid is decided on whole cents, where a sum of
    // doubles could leave a flow that repays exactly a little above 0.
    std::int64_t centesimi = 0;
    bool esatta = true;
    for (double f : flusso) {
        const std::optional<std::int64_t> c = CentesimiInteri(f);
        esatta = esatta && c.has_value();
        centesimi += c.value_or(0);
    }
    if (esatta ? centesimi > 0 : somma > 0) {
        teg_ = DatiIncoerenti;
        tegMensileEsatto_ = tegEsatto_ = std::nullopt;
        return;
    }

    // Months counted from the earliest flow that moves money. A row left at
    // amount 0 adds nothing to the balance and takes no part from here on:
    // as the reference month it would discount every flow by many months,
    // and dated long before the others its discount factor would overflow
    // (0 times infinity). The order of the rows that remain is the sort's.
    std::array<double, Righe> importi{};
    std::array<double, Righe> distanza{};
    int quanti = 0;
    double meseZero = 0;
    for (int i = 0; i < Righe; ++i) {
        if (flusso[i] == 0)
            continue;
        const double anno = std::floor(chiave[i] / 100);
        const double mese = anno * 12 + (chiave[i] - anno * 100);
        if (quanti == 0)
            meseZero = mese;
        importi[quanti] = flusso[i];
        distanza[quanti] = mese - meseZero;
        ++quanti;
    }

    const int indice = RicercaRapidaFlussi(importi.data(), distanza.data(), quanti);
    const double tasso = indice < 0 ? 0.0 : GrigliaFlussi()[static_cast<std::size_t>(indice)];
    const double teg = std::pow(1 + tasso, 12.0) - 1;
    if (!std::isfinite(teg))
        throw std::range_error("Il risultato TEG delle operazioni non è un numero finito");

    // The exact rate solves the same equation; it wants the months in
    // ascending order, which the date keys give unless a month is outside
    // 1..12 (a file can hold any number).
    std::array<std::size_t, Righe> ordine{};
    for (int i = 0; i < quanti; ++i)
        ordine[i] = static_cast<std::size_t>(i);
    std::stable_sort(ordine.begin(), ordine.begin() + quanti,
                     [&](std::size_t a, std::size_t b) { return distanza[a] < distanza[b]; });
    std::array<double, Righe> importiOrdinati{}, mesiOrdinati{};
    for (int i = 0; i < quanti; ++i) {
        importiOrdinati[i] = importi[ordine[i]];
        mesiOrdinati[i] = distanza[ordine[i]];
    }
    std::optional<double> mensile = TassoEsattoFlussi(importiOrdinati.data(), mesiOrdinati.data(), quanti);
    // Flows that add up to exactly 0 have the root r = 0; the one root
    // found is that one, whatever the last bits of the search say.
    if (mensile && esatta && centesimi == 0)
        mensile = 0.0;
    std::optional<double> annuale;
    if (mensile)
        annuale = TassoComposto(*mensile, 12);
    if (!annuale)
        mensile = std::nullopt;

    teg_ = (teg > 0.999) ? DatiIncoerenti : teg;
    tegMensileEsatto_ = mensile;
    tegEsatto_ = annuale;
}
