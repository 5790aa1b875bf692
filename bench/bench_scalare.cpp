// Speed of the scale and of the classes over a busy account: ten years,
// 50 000 movements.
#include "core/ContoGenerato.h"

#include "ClassiMovimenti.h"
#include "Scalare.h"

#include <benchmark/benchmark.h>

namespace {

const prova::ContoGenerato& Conto()
{
    static const prova::ContoGenerato conto = [] {
        prova::ContoGenerato c = prova::GeneraConto(20240518);
        ApplicaRegole(c.movimenti, RegolePredefinite());
        return c;
    }();
    return conto;
}

// The scale of every quarter and the figures of each year's four quarters,
// as "Calcola trimestri dai movimenti" needs them.
void ScalareETrimestri(benchmark::State& stato)
{
    const prova::ContoGenerato& c = Conto();
    for (auto _ : stato) {
        const Scalare s = CalcolaScalare(c.movimenti, c.saldi, c.condizioni);
        for (int anno = 2014; anno <= 2023; ++anno)
            benchmark::DoNotOptimize(FigureAnno(s, anno));
        benchmark::DoNotOptimize(AnniCoperti(c.movimenti, c.saldi));
    }
}
BENCHMARK(ScalareETrimestri)->Unit(benchmark::kMillisecond);

void RegoleClassi(benchmark::State& stato)
{
    const std::vector<RegolaClasse> regole = RegolePredefinite();
    std::vector<Movimento> movimenti = Conto().movimenti;
    for (auto _ : stato)
        benchmark::DoNotOptimize(ApplicaRegole(movimenti, regole));
}
BENCHMARK(RegoleClassi)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
