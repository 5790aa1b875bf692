#pragma once
// A seeded current account of many years, for the tests and benchmarks of
// the scale and of the recalculation: ordinary movements with typical
// descriptions and value dates whose balance wanders in and out of debit and
// beyond the credit line, each quarter's closing postings (interest, CMS or
// CDF, fees, stamp duty), one statement a quarter with its declared
// balances, conditions whose credit line changes over the years, and the
// class each movement should get from the default rules. The same seed
// gives the same account on every machine: only the engine's raw numbers
// are used, never the library's distributions.
#include "Condizioni.h"
#include "Movimenti.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace prova {

struct ContoGenerato {
    std::vector<Movimento> movimenti;     // by booking date; class Ordinario, no rule
    std::vector<ClasseMovimento> classi;  // the class each movement should get
    std::vector<SaldiEstratto> saldi;     // a statement a quarter, then one for the month after
    CondizioniConto condizioni;
};

// `anni` years from 1 January of `primoAnno`, `ordinari` ordinary movements
// plus five to eight closing postings a quarter (248 over ten years). The statement of quarter
// number `senzaEstratto` (from 0; -1 = none) is left out, so that the
// records have a hole.
inline ContoGenerato GeneraConto(std::uint64_t seme, int primoAnno = 2014, int anni = 10, int ordinari = 49752,
                                 int senzaEstratto = 17)
{
    using namespace std::chrono;
    std::mt19937_64 motore(seme);
    const auto caso = [&](std::uint64_t n) { return static_cast<std::int64_t>(motore() % n); };

    ContoGenerato conto;
    const sys_days inizio{year{primoAnno} / 1 / 1};
    const sys_days fine{year{primoAnno + anni - 1} / 12 / 31};
    const auto giorno = [&](int a, unsigned m, unsigned g) { return sys_days{year{primoAnno + a} / month{m} / g}; };

    // Credit lines: a change within a quarter, none for a year, a larger one.
    const std::pair<sys_days, Centesimi> fidi[] = {{inizio, 5'000'000},        {giorno(2, 7, 15), 8'000'000},
                                                   {giorno(5, 11, 20), 3'000'000}, {giorno(7, 1, 1), 0},
                                                   {giorno(8, 4, 1), 10'000'000}};
    for (const auto& [dal, fido] : fidi) {
        CondizioniPeriodo p;
        p.dal = dal;
        p.accordato = fido;
        p.tassoDebitore = 0.09;
        p.tassoDebitoreOltreFido = 0.13;
        p.tassoCreditore = 0.005;
        p.percentualeCMS = 0.005;
        conto.condizioni.periodi.push_back(p);
    }

    // Each quarter's closing, valued on its last day and booked two days
    // later; the wording varies as banks' does.
    for (int q = 0; q < anni * 4; ++q) {
        const sys_days chiusura = sys_days{year{primoAnno + q / 4} / month{static_cast<unsigned>(q % 4 * 3 + 3)} / last};
        const auto posta = [&](Centesimi importo, std::string causale, std::string descrizione, ClasseMovimento classe) {
            Movimento m;
            m.dataContabile = chiusura + days{2};
            m.dataValuta = chiusura;
            m.importo = importo;
            m.causaleCBI = std::move(causale);
            m.descrizione = std::move(descrizione);
            conto.movimenti.push_back(m);
            conto.classi.push_back(classe);
        };
        const char* interessi[] = {"INTERESSI DEBITORI", "COMPETENZE DI CHIUSURA", "Int. debitori al"};
        if (q % 4 == 3)
            posta(-(10'000 + caso(400'000)), "18", "LIQUIDAZIONE", ClasseMovimento::InteressiDebitori);
        else
            posta(-(10'000 + caso(400'000)), "", interessi[q % 3], ClasseMovimento::InteressiDebitori);
        if (q < 20)
            posta(-(1'000 + caso(50'000)), "", "COMM. MASSIMO SCOPERTO", ClasseMovimento::CMS);
        else
            posta(-(1'000 + caso(50'000)), "", "Commissione disponibilità fondi", ClasseMovimento::Commissioni);
        posta(-(1'500 + caso(4'500)), "", "SPESE TENUTA CONTO", ClasseMovimento::Commissioni);
        posta(-(100 + caso(3'000)), "", "SPESE PER OPERAZIONI N. 37", ClasseMovimento::Commissioni);
        posta(-3'420, "", "IMPOSTA DI BOLLO E/C", ClasseMovimento::Imposte);
        if (q % 5 == 0)
            posta(-5'000, "", "C.I.V. COMMISSIONE ISTRUTTORIA VELOCE", ClasseMovimento::Commissioni);
        if (q % 2 == 0) {
            posta(100 + caso(5'000), "", "INTERESSI CREDITORI", ClasseMovimento::InteressiCreditori);
            posta(-26, "", "RITENUTA FISCALE SU INTERESSI", ClasseMovimento::Imposte);
        }
    }

    // Ordinary movements: booking days at random, signs leaning towards a
    // target balance that swings between +40 000 and -130 000 euro.
    std::vector<sys_days> contabili;
    const auto giorniTotali = (fine - inizio).count() + 1;
    for (int i = 0; i < ordinari; ++i)
        contabili.push_back(inizio + days{caso(static_cast<std::uint64_t>(giorniTotali))});
    std::sort(contabili.begin(), contabili.end());
    const char* accrediti[] = {"BONIFICO A VOSTRO FAVORE DA CLIENTE", "VERSAMENTO CONTANTI", "ACCREDITO RI.BA.",
                               "INCASSO POS"};
    const char* addebiti[] = {"PAGAMENTO FORNITORE", "PRELIEVO BANCOMAT", "ADDEBITO SDD UTENZE", "ASSEGNO N.",
                              "PAGAMENTO POS"};
    const char* causali[] = {"48", "26", "50", "Z1", ""};
    Centesimi saldo = -1'234'567;  // booked balance, the closing postings included
    std::size_t chiusure = 0;
    const std::size_t postate = conto.movimenti.size();
    for (const sys_days c : contabili) {
        for (; chiusure < postate && conto.movimenti[chiusure].dataContabile <= c; ++chiusure)
            saldo += conto.movimenti[chiusure].importo;
        // A triangle of 400 days from +40 000 to -130 000 euro, in cents.
        const std::int64_t passo = (c - inizio).count() % 400;
        const Centesimi obiettivo = -13'000'000 + 85'000 * (passo < 200 ? 200 - passo : passo - 200);
        const std::int64_t permille = 500 + std::clamp<std::int64_t>((obiettivo - saldo) / 20'000, -400, 400);
        const bool accredito = caso(1000) < permille;
        Movimento m;
        m.dataContabile = c;
        m.importo = 100 + caso(300'000);
        if (!accredito)
            m.importo = -m.importo;
        // Value dates: often the booking day; later for credits, earlier for
        // debits, sometimes the other way round.
        const std::int64_t ritardo = caso(10) < 6 ? 0 : 1 + caso(5);
        const bool favorevole = caso(20) == 0;
        m.dataValuta = c + days{(accredito != favorevole) ? ritardo : -ritardo};
        m.causaleCBI = causali[caso(5)];
        m.descrizione = std::string(accredito ? accrediti[caso(4)] : addebiti[caso(5)]) + " " + std::to_string(caso(9000) + 1000);
        saldo += m.importo;
        conto.movimenti.push_back(m);
        conto.classi.push_back(ClasseMovimento::Ordinario);
    }
    std::vector<std::size_t> ordine(conto.movimenti.size());
    for (std::size_t i = 0; i < ordine.size(); ++i)
        ordine[i] = i;
    std::stable_sort(ordine.begin(), ordine.end(), [&](std::size_t a, std::size_t b) {
        return conto.movimenti[a].dataContabile < conto.movimenti[b].dataContabile;
    });
    ContoGenerato ordinato{{}, {}, {}, conto.condizioni};
    for (const std::size_t i : ordine) {
        ordinato.movimenti.push_back(conto.movimenti[i]);
        ordinato.classi.push_back(conto.classi[i]);
    }

    // A statement a quarter, opening on the last day of the quarter before
    // (as CBI files do), and one for the month after the last quarter.
    Centesimi contabile = -1'234'567;
    std::size_t prossimo = 0;
    const auto saldoAl = [&](sys_days giorno) {
        while (prossimo < ordinato.movimenti.size() && ordinato.movimenti[prossimo].dataContabile <= giorno)
            contabile += ordinato.movimenti[prossimo++].importo;
        return contabile;
    };
    sys_days apertura = inizio - days{1};
    Centesimi saldoApertura = saldoAl(apertura);
    for (int q = 0; q <= anni * 4; ++q) {
        const sys_days chiusura = q < anni * 4
            ? sys_days{year{primoAnno + q / 4} / month{static_cast<unsigned>(q % 4 * 3 + 3)} / last}
            : sys_days{year{primoAnno + anni} / 1 / 31};
        const Centesimi saldoChiusura = saldoAl(chiusura);
        if (q != senzaEstratto)
            ordinato.saldi.push_back({apertura, chiusura, saldoApertura, saldoChiusura, "estratto" + std::to_string(q), 1});
        apertura = chiusura;
        saldoApertura = saldoChiusura;
    }
    return ordinato;
}

} // namespace prova
