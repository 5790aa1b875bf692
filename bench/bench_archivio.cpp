// Speed of opening and saving a calculation file, as "Apri conteggio" and
// "Salva conteggio" do it, every field going through the file's declared
// layout.
#include "Archivio.h"
#include "ConteggioAperto.h"
#include "core/ContoGenerato.h"

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

// A calculation holding ten years of a busy account: 50 000 movements, their
// statements and conditions.
void ContoDiDieciAnni(Documento& d)
{
    prova::ContoGenerato g = prova::GeneraConto(7);
    d.ContoCorrente().movimenti = std::move(g.movimenti);
    d.ContoCorrente().saldi = std::move(g.saldi);
    d.ContoCorrente().condizioni = std::move(g.condizioni);
}

void CaricaMovimenti(benchmark::State& stato)
{
    QTemporaryDir cartella;
    CreaConteggio(cartella.path(), QStringLiteral("Prova"));
    ConteggioAperto c;
    c.Carica(cartella.path(), QStringLiteral("Prova"));
    ContoDiDieciAnni(c.Doc());
    c.Salva();
    for (auto _ : stato) {
        c.Carica(cartella.path(), QStringLiteral("Prova"));
        benchmark::DoNotOptimize(c.Doc().ContoCorrente().movimenti.size());
    }
}
BENCHMARK(CaricaMovimenti)->Unit(benchmark::kMillisecond);

void SalvaMovimenti(benchmark::State& stato)
{
    QTemporaryDir cartella;
    CreaConteggio(cartella.path(), QStringLiteral("Prova"));
    ConteggioAperto c;
    c.Carica(cartella.path(), QStringLiteral("Prova"));
    ContoDiDieciAnni(c.Doc());
    for (auto _ : stato)
        c.Salva();
}
BENCHMARK(SalvaMovimenti)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
