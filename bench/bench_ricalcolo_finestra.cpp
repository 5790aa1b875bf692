// Speed of the window "Ricalcolo" after a change of an option: ten years of a
// busy account (50 000 movements), the option chosen in its list, the page
// rebuilt (the recalculation, the grids, the remittances, the chart's series)
// and the window painted on the page in front. Runs without a display.
#include "Dichiarazioni.h"
#include "GraficoRicalcolo.h"
#include "PaginaRicalcolo.h"
#include "TassoLegaleInUso.h"
#include "frmRicalcolo.h"

#include "core/ContoGenerato.h"

#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QTabWidget>
#include <algorithm>

#include <benchmark/benchmark.h>

namespace {

// The generated account with the classes its movements should have, the
// rates agreed from the start.
Documento Conto()
{
    Documento d;
    d.InizializzaConteggio();
    d.setAnnoRiferimento(2014);
    prova::ContoGenerato g = prova::GeneraConto(50000);
    for (std::size_t i = 0; i < g.movimenti.size(); ++i)
        g.movimenti[i].classe = g.classi[i];
    // The conditions cover the days valued before the first statement too.
    std::chrono::sys_days primo = g.condizioni.periodi.front().dal;
    for (const Movimento& m : g.movimenti)
        primo = std::min({primo, m.dataValuta, m.dataContabile});
    g.condizioni.periodi.front().dal = primo;
    for (CondizioniPeriodo& p : g.condizioni.periodi)
        p.tassiPattuiti = p.dal;
    ContoMovimenti& c = d.ContoCorrente();
    c.movimenti = std::move(g.movimenti);
    c.saldi = std::move(g.saldi);
    c.condizioni = std::move(g.condizioni);
    return d;
}

// The page and the chart's series, as the window rebuilds them.
void PaginaEGrafico(benchmark::State& stato)
{
    Documento d = Conto();
    const VerificaMovimenti soglia = VerificaSoglieRicalcolo(d);
    QChart* grafico = CreaGraficoRicalcolo({});
    std::size_t scelta = 0;
    for (auto _ : stato) {
        scelta = 1 - scelta;
        ScegliOpzione(d.ContoCorrente().ricalcolo, "date", scelta);
        const DatiPaginaRicalcolo p = PaginaRicalcolo(d, soglia, TassoLegaleInUso());
        if (!p.Valido())
            stato.SkipWithError(p.errori.front().toUtf8().constData());
        AggiornaGraficoRicalcolo(grafico, p);
        benchmark::DoNotOptimize(p.esito.saldi.size());
    }
    delete grafico;
}
BENCHMARK(PaginaEGrafico)->Unit(benchmark::kMillisecond);

// The whole window: the option chosen in its list, the window painted with
// the chart's page in front.
void FinestraRidisegnata(benchmark::State& stato)
{
    Documento d = Conto();
    frmRicalcolo w(d);
    w.resize(1300, 650);
    w.Pagina();
    w.show();
    w.Schede()->setCurrentIndex(4);
    QApplication::processEvents();
    QComboBox* date = w.Opzione("date");
    int scelta = 0;
    for (auto _ : stato) {
        scelta = 1 - scelta;
        date->setCurrentIndex(scelta);
        emit date->activated(scelta);
        w.repaint();
        benchmark::DoNotOptimize(w.Dati().esito.saldi.size());
    }
    if (!w.Dati().Valido())
        stato.SkipWithError("ricalcolo non valido");
}
BENCHMARK(FinestraRidisegnata)->Unit(benchmark::kMillisecond);

// The recalculation alone, on the same account.
void SoloRicalcolo(benchmark::State& stato)
{
    Documento d = Conto();
    OpzioniRicalcolo o = d.ContoCorrente().ricalcolo;
    o.trimestriOltreSoglia = VerificaSoglieRicalcolo(d).Oltre();
    const ContoMovimenti& c = d.ContoCorrente();
    for (auto _ : stato)
        benchmark::DoNotOptimize(Ricalcola(c.movimenti, c.saldi, c.condizioni, TassoLegaleInUso(), o));
}
BENCHMARK(SoloRicalcolo)->Unit(benchmark::kMillisecond);

// The check of the quarters against the threshold, run when the window is
// shown or brought to the front, not on a change of an option.
void VerificaSoglia(benchmark::State& stato)
{
    const Documento d = Conto();
    for (auto _ : stato)
        benchmark::DoNotOptimize(VerificaSoglieRicalcolo(d));
}
BENCHMARK(VerificaSoglia)->Unit(benchmark::kMillisecond);

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
