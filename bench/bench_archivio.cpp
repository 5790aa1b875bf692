// Speed of the check for unsaved changes, which the main window runs every
// 100 ms to mark its title.
#include "Archivio.h"
#include "Dichiarazioni.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void ControlloModifiche(benchmark::State& stato)
{
    QTemporaryDir cartella;
    CreaConteggio(cartella.path(), QStringLiteral("Prova"));
    CaricaConteggio(cartella.path(), QStringLiteral("Prova"));
    Conteggio.MutuoCorrente().setImporto(stato.range(0) ? 1 : 0);  // changed, or not
    for (auto _ : stato)
        benchmark::DoNotOptimize(ConteggioModificato());
    RilasciaDatabaseCorrente();
}
BENCHMARK(ControlloModifiche)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
