// Speed of what the mortgage window and the plan window rebuild after every
// edit of the contract: the contract's lines (plan, rates with and without
// each cost, early repayment) and the plan's page and grid, 360 instalments.
#include "Dichiarazioni.h"
#include "PaginaContratto.h"
#include "PaginaPiano.h"

#include <benchmark/benchmark.h>

namespace {

void Prepara(Documento& d, int n)
{
    using namespace std::chrono;
    d.InizializzaConteggio();
    d.MutuoCorrente().setImporto(100000);
    d.MutuoCorrente().setNRate(n);
    d.MutuoCorrente().setRateAnnuali(12);
    d.MutuoCorrente().setRata(479.42);
    d.Usura().setDataStipula(sys_days{year{2021} / March / 1});
    d.Contratto().dataPrimaRata = sys_days{year{2021} / April / 1};
    d.Contratto().tan = 0.04;
    d.Contratto().costi = {CostoPredefinito(TipoCosto::Perizia, 300, PagamentoCosto::Stipula),
                           CostoPredefinito(TipoCosto::Istruttoria, 1000, PagamentoCosto::Stipula),
                           CostoPredefinito(TipoCosto::Incasso, 2, PagamentoCosto::OgniRata),
                           CostoPredefinito(TipoCosto::Assicurazione, 2500, PagamentoCosto::Stipula)};
    d.Contratto().estinzione = {true, TipoPenale::Percentuale, 0.02, sys_days{year{2031} / March / 1}};
}

void RigheContratto(benchmark::State& stato)
{
    Documento d;
    Prepara(d, static_cast<int>(stato.range(0)));
    for (auto _ : stato)
        benchmark::DoNotOptimize(PaginaContratto(d).risultati.size());
}
BENCHMARK(RigheContratto)->Arg(360)->Unit(benchmark::kMicrosecond);

void PaginaEGrigliaPiano(benchmark::State& stato)
{
    Documento d;
    Prepara(d, static_cast<int>(stato.range(0)));
    for (auto _ : stato)
        benchmark::DoNotOptimize(GrigliaPiano(PaginaPiano(d)).Righe());
}
BENCHMARK(PaginaEGrigliaPiano)->Arg(360)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
