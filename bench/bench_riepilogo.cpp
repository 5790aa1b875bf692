// Speed of the multi-year overview: N yearly calculations read from the
// archive, checked against the built-in thresholds, and the chart drawn at
// the size of the window. Runs without a display.
#include "Archivio.h"
#include "CaricaRiepilogo.h"
#include "Dichiarazioni.h"
#include "GraficoRiepilogo.h"
#include "SoglieInUso.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void Riepilogo(benchmark::State& stato)
{
    QTemporaryDir cartella;
    QStringList nomi;
    for (int i = 0; i < stato.range(0); ++i) {
        Documento d;
        d.InizializzaConteggio();
        d.setAnnoRiferimento(1998 + i);
        for (int q = 1; q <= 4; ++q) {
            BOX& t = d.Trimestri(q);
            t.setNumeri(9000000 + 1000 * q);
            t.setInteressi(2000 + 100 * (i % 7));
            t.setCommissioni(500);
            t.setSpese(100);
            t.setAccordato(150000);
            t.setMassimoScoperto(140000);
        }
        nomi << QStringLiteral("Anno%1").arg(1998 + i);
        SalvaConteggioConNome(cartella.path(), nomi.last(), d);
    }
    const SerieSoglie& serie = SoglieIncorporate();
    QImage schermo(1200, 500, QImage::Format_RGB32);
    for (auto _ : stato) {
        const DatiPaginaRiepilogo d = CaricaRiepilogo(cartella.path(), nomi, serie);
        QPainter p(&schermo);
        DisegnaGrafico(d, p, QRectF(schermo.rect()));
        benchmark::DoNotOptimize(d.righe.size());
    }
}
BENCHMARK(Riepilogo)->Arg(3)->Arg(40)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
