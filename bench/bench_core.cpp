// Speed of the recomputations that run after every edit.
#include "core/MutuoRiferimento.h"

#include "Dichiarazioni.h"
#include "RicercaFlussi.h"
#include "TassoEsatto.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A loan whose root lies inside the grid, at 6 % a year.
double RataMensile(double netto, int n)
{
    const double r = 0.005;
    return netto * r / (1 - std::pow(1 + r, -n));
}

void MutuoRapido(benchmark::State& stato)
{
    const int n = static_cast<int>(stato.range(0));
    Mutuo m;
    m.setImporto(100000);
    m.setOneri(1500);
    m.setNRate(n);
    m.setRateAnnuali(12);
    m.setRata(RataMensile(100000, n));
    for (auto _ : stato) {
        m.Aggiorna();
        benchmark::DoNotOptimize(m.TEGannuale());
    }
}
BENCHMARK(MutuoRapido)->Arg(12)->Arg(120)->Arg(360)->Unit(benchmark::kMicrosecond);

void MutuoRicercaCompleta(benchmark::State& stato)
{
    const int n = static_cast<int>(stato.range(0));
    const double rata = RataMensile(100000, n);
    for (auto _ : stato) {
        const auto esito = riferimento::MutuoCompleto(100000, 1500, static_cast<std::int16_t>(n), 12, rata);
        benchmark::DoNotOptimize(esito.annuale);
    }
}
BENCHMARK(MutuoRicercaCompleta)->Arg(12)->Arg(120)->Arg(360)->Unit(benchmark::kMicrosecond);

void OperazioniAggiorna(benchmark::State& stato)
{
    OPE o;
    o.setAnno(1, 2020);
    o.setMese(1, 1);
    o.setSegno(1, 1);
    o.setImporto(1, 10000);
    for (int r = 2; r <= OPE::Righe; ++r) {
        o.setAnno(r, 2020);
        o.setMese(r, r);
        o.setSegno(r, -1);
        o.setImporto(r, 1200);
    }
    for (auto _ : stato) {
        o.Aggiorna();
        benchmark::DoNotOptimize(o.TEG());
    }
}
BENCHMARK(OperazioniAggiorna)->Unit(benchmark::kMicrosecond);

// The exact periodic rate beside the grid search above, same loans.
void MutuoTassoEsatto(benchmark::State& stato)
{
    const int n = static_cast<int>(stato.range(0));
    const double rata = RataMensile(100000, n);
    for (auto _ : stato)
        benchmark::DoNotOptimize(TassoEsattoRata(100000 - 1500, rata, n));
}
BENCHMARK(MutuoTassoEsatto)->Arg(12)->Arg(120)->Arg(360)->Unit(benchmark::kMicrosecond);

// The flows of OperazioniAggiorna as the search sees them: 10 000 received,
// nine payments of 1 200 in the following months.
struct FlussiEsempio {
    double importi[10];
    double mesi[10];
    FlussiEsempio()
    {
        for (int i = 0; i < 10; ++i) {
            importi[i] = i == 0 ? 10000 : -1200;
            mesi[i] = i;
        }
    }
};

void FlussiTassoEsatto(benchmark::State& stato)
{
    const FlussiEsempio f;
    for (auto _ : stato)
        benchmark::DoNotOptimize(TassoEsattoFlussi(f.importi, f.mesi, 10));
}
BENCHMARK(FlussiTassoEsatto)->Unit(benchmark::kMicrosecond);

// A second amount received in the fifth month: three changes of sign, so the
// roots are counted rather than bounded by the signs.
void FlussiTassoEsattoTreCambi(benchmark::State& stato)
{
    FlussiEsempio f;
    f.importi[0] = 8000;
    f.importi[4] = 500;
    for (auto _ : stato)
        benchmark::DoNotOptimize(TassoEsattoFlussi(f.importi, f.mesi, 10));
}
BENCHMARK(FlussiTassoEsattoTreCambi)->Unit(benchmark::kMicrosecond);

void FlussiRicercaRapida(benchmark::State& stato)
{
    const FlussiEsempio f;
    for (auto _ : stato)
        benchmark::DoNotOptimize(RicercaRapidaFlussi(f.importi, f.mesi, 10));
}
BENCHMARK(FlussiRicercaRapida)->Unit(benchmark::kMicrosecond);

void FlussiRicercaCompleta(benchmark::State& stato)
{
    const FlussiEsempio f;
    for (auto _ : stato)
        benchmark::DoNotOptimize(RicercaCompletaFlussi(f.importi, f.mesi, 10));
}
BENCHMARK(FlussiRicercaCompleta)->Unit(benchmark::kMicrosecond);

void TrimestreAggiorna(benchmark::State& stato)
{
    Documento d;
    d.setAnnoRiferimento(2023);
    BOX& b = d.Trimestri(2);
    b.setNumeri(9000000);
    b.setInteressi(2000);
    b.setCommissioni(500);
    b.setSpese(100);
    b.setGiorniValuta(3);
    b.setAccordato(200000);
    b.setCMS(300);
    for (auto _ : stato) {
        b.Aggiorna();
        benchmark::DoNotOptimize(b.TEG());
    }
}
BENCHMARK(TrimestreAggiorna);

} // namespace

BENCHMARK_MAIN();
