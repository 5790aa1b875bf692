// Speed of what follows the reading of the statements: ten years of a busy
// account (50 000 movements) added to the open calculation, each classed by
// its rules, and the page of the class rules counted over them.
#include "core/ContoGenerato.h"

#include "ImportazioneConto.h"
#include "PaginaRegole.h"

#include <benchmark/benchmark.h>

namespace {

const prova::ContoGenerato& Conto()
{
    static const prova::ContoGenerato conto = prova::GeneraConto(20240518);
    return conto;
}

// "Importa" on the summary: the movements classed and added, the balances
// and the account's particulars; the account before it kept for the undo.
void ApplicaAlConto(benchmark::State& stato)
{
    EsitoImportazione esito;
    esito.movimenti = Conto().movimenti;
    esito.saldi = Conto().saldi;
    for (auto _ : stato) {
        ContoMovimenti conto;
        conto.regole = RegolePredefinite();
        const ContoMovimenti prima = conto;
        benchmark::DoNotOptimize(ApplicaImportazione(conto, esito));
        benchmark::DoNotOptimize(StessoConto(prima, conto));
    }
}
BENCHMARK(ApplicaAlConto)->Unit(benchmark::kMillisecond);

// The rules window after each edit: every movement counted for its rule.
void PaginaDelleRegole(benchmark::State& stato)
{
    std::vector<Movimento> movimenti = Conto().movimenti;
    ApplicaRegole(movimenti, RegolePredefinite());
    const std::vector<RegolaClasse> regole = RegolePredefinite();
    for (auto _ : stato)
        benchmark::DoNotOptimize(PaginaRegole(regole, movimenti, true));
}
BENCHMARK(PaginaDelleRegole)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
