// Speed of the loan's plan and its three exact rates, recomputed after every
// edit of the loan: the plan alone, and the plan with the rates.
#include "PianoMutuo.h"

#include <benchmark/benchmark.h>

namespace {

ContrattoMutuo Contratto(int n)
{
    using namespace std::chrono;
    ContrattoMutuo c;
    c.importo = 100000;
    c.tan = 0.04;
    c.numeroRate = n;
    c.dataStipula = sys_days{year{2021} / March / 1};
    c.dataPrimaRata = sys_days{year{2021} / April / 1};
    c.costi = {CostoPredefinito(TipoCosto::Perizia, 300, PagamentoCosto::Stipula),
               CostoPredefinito(TipoCosto::Istruttoria, 1000, PagamentoCosto::Stipula),
               CostoPredefinito(TipoCosto::Incasso, 2, PagamentoCosto::OgniRata),
               CostoPredefinito(TipoCosto::Assicurazione, 150, PagamentoCosto::Annuale)};
    c.costi.back().nelTasso = false;
    return c;
}

void PianoMutuo(benchmark::State& stato)
{
    const ContrattoMutuo c = Contratto(static_cast<int>(stato.range(0)));
    for (auto _ : stato)
        benchmark::DoNotOptimize(CalcolaPiano(c));
}
BENCHMARK(PianoMutuo)->Arg(12)->Arg(120)->Arg(360)->Unit(benchmark::kMicrosecond);

void PianoETreTassi(benchmark::State& stato)
{
    const ContrattoMutuo c = Contratto(static_cast<int>(stato.range(0)));
    for (auto _ : stato) {
        const Risultato<PianoAmmortamento> piano = CalcolaPiano(c);
        const TassiMutuo tassi = CalcolaTassi(c, *piano);
        benchmark::DoNotOptimize(tassi.conFacoltativi.Opzionale());
    }
}
BENCHMARK(PianoETreTassi)->Arg(12)->Arg(120)->Arg(360)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
