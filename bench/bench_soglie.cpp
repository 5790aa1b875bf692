// Speed of the threshold series: reading it, finding the row of a date,
// category and amount, and checking a whole calculation.
#include "Dichiarazioni.h"
#include "Soglie.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

using namespace std::chrono;

namespace {

std::string TestoSerie()
{
    std::ifstream file(SERIE_SOGLIE, std::ios::binary);
    std::stringstream testo;
    testo << file.rdbuf();
    return testo.str();
}

const SerieSoglie& Serie()
{
    static const SerieSoglie serie = [] {
        std::vector<ErroreSoglie> errori;
        return SerieSoglie::Leggi(TestoSerie(), errori).value();
    }();
    return serie;
}

void LetturaSerie(benchmark::State& stato)
{
    const std::string testo = TestoSerie();
    for (auto _ : stato) {
        std::vector<ErroreSoglie> errori;
        benchmark::DoNotOptimize(SerieSoglie::Leggi(testo, errori));
    }
}
BENCHMARK(LetturaSerie)->Unit(benchmark::kMillisecond);

// A day of each year in turn, so the search does not always hit one period.
void RicercaSoglia(benchmark::State& stato)
{
    const SerieSoglie& serie = Serie();
    int i = 0;
    for (auto _ : stato) {
        const sys_days giorno = sys_days{year{1998 + i % 29} / May / 20};
        i = i + 1;
        const PeriodoSoglie* p = serie.PeriodoDi(giorno);
        benchmark::DoNotOptimize(p ? SerieSoglie::RigaPerImporto(*p, "APERTURE DI CREDITO IN CONTO CORRENTE", 8000)
                                   : nullptr);
    }
}
BENCHMARK(RicercaSoglia)->Unit(benchmark::kNanosecond);

// Four quarters, a 20-year mortgage, two cash flows and a short-term financing.
void VerificaCompleta(benchmark::State& stato)
{
    static Documento d;
    d.InizializzaConteggio();
    d.setAnnoRiferimento(2011);
    for (int q = 1; q <= 4; ++q) {
        BOX& t = d.Trimestri(q);
        t.setNumeri(455000);
        t.setInteressi(149.59);
        t.setCommissioni(50);
        t.setAccordato(10000);
        t.setMassimoScoperto(13000);
    }
    Mutuo& m = d.MutuoCorrente();
    m.setImporto(100000);
    m.setNRate(240);
    m.setRata(716.43);
    d.Usura().setDataStipula(sys_days{2011y / June / 1});
    OPE& o = d.Operazioni();
    o.setAnno(1, 2011), o.setMese(1, 3), o.setSegno(1, 1), o.setImporto(1, 10000);
    o.setAnno(2, 2012), o.setMese(2, 3), o.setSegno(2, -1), o.setImporto(2, 11000);
    d.Usura().setCategoriaOperazioni("CREDITO PERSONALE");
    BREVE& b = d.BreveCorrente();
    b.setData0(sys_days{2011y / July / 1});
    b.setData1(sys_days{2011y / December / 31});
    b.setFinanziato(10000);
    b.setRestituito(10500);
    d.Usura().setCategoriaBreve("ANTICIPI E SCONTI");
    for (auto _ : stato)
        benchmark::DoNotOptimize(VerificaConteggio(d, Serie()));
}
BENCHMARK(VerificaCompleta)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
