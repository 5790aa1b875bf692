// Speed of opening and saving a calculation file, as "Apri conteggio" and
// "Salva conteggio" do it, every field going through the file's declared
// layout.
#include "Archivio.h"
#include "ConteggioAperto.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void Carica(benchmark::State& stato)
{
    QTemporaryDir cartella;
    CreaConteggio(cartella.path(), QStringLiteral("Prova"));
    ConteggioAperto c;
    for (auto _ : stato) {
        c.Carica(cartella.path(), QStringLiteral("Prova"));
        benchmark::DoNotOptimize(c.Doc().AnnoRiferimento());
    }
}
BENCHMARK(Carica)->Unit(benchmark::kMicrosecond);

void Salva(benchmark::State& stato)
{
    QTemporaryDir cartella;
    CreaConteggio(cartella.path(), QStringLiteral("Prova"));
    ConteggioAperto c;
    c.Carica(cartella.path(), QStringLiteral("Prova"));
    double importo = 0;
    for (auto _ : stato) {
        c.Doc().MutuoCorrente().setImporto(++importo);
        c.Salva();
    }
}
BENCHMARK(Salva)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
