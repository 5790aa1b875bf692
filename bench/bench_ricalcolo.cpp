// Speed of the recalculation of the account: ten years of movements, the
// whole recalculation with its two passes, the remittances and the working,
// as it runs after every change of an option.
#include "Ricalcolo.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <sstream>

using namespace std::chrono;

namespace {

const SerieTassoLegale& Legale()
{
    static const SerieTassoLegale serie = [] {
        std::ifstream file(TASSO_LEGALE, std::ios::binary);
        std::stringstream testo;
        testo << file.rdbuf();
        std::vector<ErroreTassoLegale> errori;
        return SerieTassoLegale::Leggi(testo.str(), errori).value();
    }();
    return serie;
}

// 2008-2017: rates agreed with a credit line, then "usi di piazza" (legal
// rate), quarterly capitalisation agreed; `n` movements, one in twenty a
// charge of the bank, value dates a few days off the booking dates.
struct Conto {
    std::vector<Movimento> movimenti;
    std::vector<SaldiEstratto> saldi;
    CondizioniConto condizioni;
};

Conto ContoDi(int n)
{
    Conto c;
    CondizioniPeriodo p;
    p.dal = sys_days{year{2008} / 1 / 1};
    p.accordato = 2000000;
    p.tassoDebitore = 0.09, p.tassoDebitoreOltreFido = 0.13, p.tassoCreditore = 0.002, p.percentualeCMS = 0.005;
    p.tassiPattuiti = p.capitalizzazionePattuita = p.cmsPattuita = p.dal;
    c.condizioni.periodi.push_back(p);
    p.dal = sys_days{year{2012} / 7 / 1};
    p.tassiPattuiti = p.capitalizzazionePattuita = p.cmsPattuita = p.dal;
    p.usiPiazza = true;
    c.condizioni.periodi.push_back(p);
    c.condizioni.autorizzazioneAddebito = sys_days{year{2017} / 1 / 1};

    std::mt19937_64 caso(50000);
    const int giorni = (sys_days{year{2017} / 12 / 31} - sys_days{year{2008} / 1 / 1}).count();
    Centesimi saldo = 0;
    for (int i = 0; i < n; ++i) {
        Movimento m;
        m.dataContabile = sys_days{year{2008} / 1 / 1} + days{std::int64_t(i) * giorni / n};
        m.dataValuta = std::max(sys_days{year{2008} / 1 / 1},
                                m.dataContabile + days{std::uniform_int_distribution<int>(-3, 3)(caso)});
        m.importo = std::uniform_int_distribution<Centesimi>(1000, 500000)(caso);
        if (saldo > 0 || (saldo > -3000000 && caso() % 2))
            m.importo = -m.importo;
        if (i % 20 == 0) {
            m.classe = i % 40 == 0 ? ClasseMovimento::InteressiDebitori : ClasseMovimento::Commissioni;
            m.importo = -m.importo / 100;
        }
        saldo += m.importo;
        c.movimenti.push_back(m);
    }
    c.saldi.push_back({sys_days{year{2008} / 1 / 1}, sys_days{year{2017} / 12 / 31}, 0, saldo, "", 0});
    return c;
}

void RicalcoloCompleto(benchmark::State& stato)
{
    const Conto c = ContoDi(int(stato.range(0)));
    OpzioniRicalcolo o;
    o.trimestriOltreSoglia = {{2011, 3}};
    o.attoInterruttivo = sys_days{year{2019} / 5 / 1};
    if (!Ricalcola(c.movimenti, c.saldi, c.condizioni, Legale(), o).Valido())
        stato.SkipWithError("dati non validi");
    for (auto _ : stato)
        benchmark::DoNotOptimize(Ricalcola(c.movimenti, c.saldi, c.condizioni, Legale(), o));
}
BENCHMARK(RicalcoloCompleto)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
