// Speed of the account's windows on a busy account (ten years, 50 000
// movements): the movements table read, sorted, filtered and edited; its
// page for print and export; the scale window's year; and the quarters of
// every year filled from the movements as "Calcola trimestri dai movimenti"
// fills them (one calculation per year).
#include "core/ContoGenerato.h"

#include "ClassiMovimenti.h"
#include "Dichiarazioni.h"
#include "ModelloMovimenti.h"
#include "PaginaMovimenti.h"
#include "PaginaScalare.h"
#include "Scalare.h"
#include "TrimestriDaMovimenti.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <numeric>

namespace {

Documento& Doc()
{
    static Documento d = [] {
        Documento x;
        x.InizializzaConteggio();
        prova::ContoGenerato g = prova::GeneraConto(20240611);
        ContoMovimenti& c = x.ContoCorrente();
        c.movimenti = std::move(g.movimenti);
        c.saldi = std::move(g.saldi);
        c.condizioni = std::move(g.condizioni);
        ApplicaRegole(c.movimenti, c.regole);
        return x;
    }();
    return d;
}

// The window opened: the running balances and the statements' checks.
void ApriMovimenti(benchmark::State& stato)
{
    for (auto _ : stato) {
        ModelloMovimenti m(Doc());
        benchmark::DoNotOptimize(m.rowCount());
    }
}
BENCHMARK(ApriMovimenti)->Unit(benchmark::kMillisecond);

// A click on a heading: by amount, by description (texts compared as the
// rules compare them), by running balance.
void OrdinaMovimenti(benchmark::State& stato)
{
    ModelloMovimenti m(Doc());
    const int colonna = static_cast<int>(stato.range(0));
    Qt::SortOrder verso = Qt::AscendingOrder;
    for (auto _ : stato) {
        m.sort(colonna, verso);
        verso = verso == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
}
BENCHMARK(OrdinaMovimenti)
    ->Arg(static_cast<int>(ColonnaMovimenti::Importo))
    ->Arg(static_cast<int>(ColonnaMovimenti::Descrizione))
    ->Arg(static_cast<int>(ColonnaMovimenti::Saldo))
    ->Unit(benchmark::kMillisecond);

// Words typed into the filter, a period, then the filter taken off.
void FiltraMovimenti(benchmark::State& stato)
{
    ModelloMovimenti m(Doc());
    FiltroMovimenti parole, periodo;
    parole.testo = QStringLiteral("bonifico");
    periodo.dal = std::chrono::sys_days{std::chrono::year{2018} / 1 / 1};
    periodo.al = std::chrono::sys_days{std::chrono::year{2018} / 12 / 31};
    for (auto _ : stato) {
        m.ImpostaFiltro(parole);
        m.ImpostaFiltro(periodo);
        m.ImpostaFiltro({});
    }
}
BENCHMARK(FiltraMovimenti)->Unit(benchmark::kMillisecond);

// One amount typed into a cell, then Ctrl+Z: each recomputes every running
// balance.
void ModificaEAnnulla(benchmark::State& stato)
{
    ModelloMovimenti m(Doc());
    const QModelIndex cella = m.index(25000, static_cast<int>(ColonnaMovimenti::Importo));
    for (auto _ : stato) {
        m.setData(cella, QStringLiteral("-1.234,56"));
        m.Annullamenti()->undo();
    }
}
BENCHMARK(ModificaEAnnulla)->Unit(benchmark::kMillisecond);

// The page of all the movements, as print, copy and export take it.
void PaginaDeiMovimenti(benchmark::State& stato)
{
    std::vector<std::size_t> ordine(Doc().ContoCorrente().movimenti.size());
    std::iota(ordine.begin(), ordine.end(), std::size_t{0});
    for (auto _ : stato)
        benchmark::DoNotOptimize(PaginaMovimenti(Doc().ContoCorrente(), ordine, QString(), QStringLiteral("Prova")));
}
BENCHMARK(PaginaDeiMovimenti)->Unit(benchmark::kMillisecond);

// The scale window showing a year.
void PaginaDelloScalare(benchmark::State& stato)
{
    for (auto _ : stato)
        benchmark::DoNotOptimize(PaginaScalare(Doc().ContoCorrente(), 2018, 2018, QStringLiteral("Prova")));
}
BENCHMARK(PaginaDelloScalare)->Unit(benchmark::kMillisecond);

// "Calcola trimestri dai movimenti" for the ten years: the scale once, then
// a copy of the calculation per year with its quarters filled.
void TrimestriDeiDieciAnni(benchmark::State& stato)
{
    const ContoMovimenti& c = Doc().ContoCorrente();
    for (auto _ : stato) {
        const Scalare s = CalcolaScalare(c.movimenti, c.saldi, c.condizioni);
        for (int anno = 2014; anno <= 2023; ++anno) {
            Documento copia = Doc();
            RiempiTrimestri(copia, s, anno, true);
            benchmark::DoNotOptimize(copia);
        }
    }
}
BENCHMARK(TrimestriDeiDieciAnni)->Unit(benchmark::kMillisecond);

// The same without the copies: the figures alone.
void TrimestriSenzaCopie(benchmark::State& stato)
{
    const ContoMovimenti& c = Doc().ContoCorrente();
    Documento d = Doc();
    for (auto _ : stato) {
        const Scalare s = CalcolaScalare(c.movimenti, c.saldi, c.condizioni);
        for (int anno = 2014; anno <= 2023; ++anno)
            RiempiTrimestri(d, s, anno, true);
    }
}
BENCHMARK(TrimestriSenzaCopie)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
