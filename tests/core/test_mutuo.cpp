// The mortgage: worked cases, failures, and the search compared bit for bit
// with the plain full-grid search.
#include "CasiMutuo.h"
#include "MutuoRiferimento.h"

#include "Funzioni.h"
#include "Mutuo.h"

#include <QtTest>

#include <bit>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

Mutuo Crea(double importo, double oneri, double rata, double nRate, double rateAnnuali = 12)
{
    Mutuo m;
    m.setImporto(importo);
    m.setOneri(oneri);
    m.setRata(rata);
    m.setNRate(nRate);
    m.setRateAnnuali(rateAnnuali);
    return m;
}

bool Identici(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

} // namespace

class TestMutuo : public QObject {
    Q_OBJECT
private slots:
    void esempio();
    void casiDelSaldo();
    void radiceOltreLaGriglia();
    void senzaRate();
    void memoria16Bit();
    void troppeRateNonCambiaNulla();
    void risultatiNonFinitiNonCambianoNulla();
    void confrontoConRicercaCompleta();
    void confrontoSuCasiCritici();
};

void TestMutuo::esempio()
{
    Mutuo m = Crea(100000, 0, 1000, 120);
    m.Aggiorna();
    QVERIFY(std::fabs(m.TEGperiodo() - 0.0031) < 1e-12);
    QVERIFY(std::fabs(m.TEGannuale() - (std::pow(1.0031, 12) - 1)) < 1e-12);
    QVERIFY(std::fabs(m.TEGannuale() - 0.03784) < 5e-6);
    const auto atteso = riferimento::MutuoCompleto(100000, 0, 120, 12, 1000);
    QVERIFY(Identici(m.TEGperiodo(), atteso.periodo));
    QVERIFY(Identici(m.TEGannuale(), atteso.annuale));

    // Quarterly instalments compound four times a year.
    Mutuo t = Crea(100000, 0, 3000, 40, 4);
    t.Aggiorna();
    QVERIFY(std::fabs(t.TEGannuale() - (std::pow(1 + t.TEGperiodo(), 4) - 1)) < 1e-15);
}

void TestMutuo::casiDelSaldo()
{
    // Instalments repaying exactly the net amount: S = 0, rate 0.
    Mutuo pari = Crea(101000, 1000, 1000, 100);
    pari.Aggiorna();
    QCOMPARE(pari.TEGperiodo(), 0.0);
    QCOMPARE(pari.TEGannuale(), 0.0);

    // Not even the net amount comes back.
    Mutuo poco = Crea(100000, 0, 999, 100);
    poco.Aggiorna();
    QCOMPARE(poco.TEGperiodo(), DatiIncoerenti);
    QCOMPARE(poco.TEGannuale(), DatiIncoerenti);

    // The charges withheld make the same instalments a higher rate.
    Mutuo senza = Crea(100000, 0, 1000, 120);
    Mutuo con = Crea(100000, 3000, 1000, 120);
    senza.Aggiorna();
    con.Aggiorna();
    QVERIFY(con.TEGperiodo() > senza.TEGperiodo());

    // The defaults: nothing lent, one instalment of 0; V is identically 0.
    Mutuo vuoto = Crea(0, 0, 0, 1);
    vuoto.Aggiorna();
    QCOMPARE(vuoto.TEGperiodo(), 0.0);
    QCOMPARE(vuoto.TEGannuale(), 0.0);
}

void TestMutuo::radiceOltreLaGriglia()
{
    Mutuo m = Crea(100, 0, 200, 2);
    m.Aggiorna();
    QCOMPARE(m.TEGperiodo(), DatiIncoerenti);
    QCOMPARE(m.TEGannuale(), DatiIncoerenti);

    // A root just inside the grid is still a rate.
    Mutuo alto = Crea(100, 0, casi::RataPerTasso(100, 2, 0.95), 2);
    alto.Aggiorna();
    QVERIFY(std::fabs(alto.TEGperiodo() - 0.95) < 1e-9);
    // Annual periodicity: the annual rate is the periodic one.
    Mutuo annuale = Crea(100, 0, casi::RataPerTasso(100, 2, 0.95), 2, 1);
    annuale.Aggiorna();
    QCOMPARE(annuale.TEGannuale(), (1 + annuale.TEGperiodo()) - 1);
}

void TestMutuo::senzaRate()
{
    for (double n : {0.0, -1.0, -400.0}) {
        Mutuo negativo = Crea(-500, 0, 100, n);
        negativo.Aggiorna();
        QCOMPARE(negativo.TEGperiodo(), 0.0);
        QCOMPARE(negativo.TEGannuale(), 0.0);
        Mutuo positivo = Crea(500, 0, 100, n);
        positivo.Aggiorna();
        QCOMPARE(positivo.TEGperiodo(), DatiIncoerenti);
    }
}

void TestMutuo::memoria16Bit()
{
    Mutuo m;
    m.setNRate(120.5);
    QCOMPARE(m.NRate(), 120.0);
    m.setNRate(121.5);
    QCOMPARE(m.NRate(), 122.0);
    m.setRateAnnuali(11.6);
    QCOMPARE(m.RateAnnuali(), 12.0);
    m.setNRate(-32768);
    QCOMPARE(m.NRate(), -32768.0);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, m.setNRate(32768));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, m.setRateAnnuali(-32769));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, m.setNRate(std::nan("")));
    // A refused assignment leaves the stored value alone.
    QCOMPARE(m.NRate(), -32768.0);
    QCOMPARE(m.RateAnnuali(), 12.0);
}

void TestMutuo::troppeRateNonCambiaNulla()
{
    Mutuo m = Crea(100000, 0, 1000, 120);
    m.Aggiorna();
    m.setNRate(401);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, m.Aggiorna());
    QVERIFY(std::fabs(m.TEGperiodo() - 0.0031) < 1e-12);
    m.setNRate(32767);
    m.setRata(0);  // would be the marker if the schedule were built
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, m.Aggiorna());
    QVERIFY(std::fabs(m.TEGperiodo() - 0.0031) < 1e-12);

    // 400 instalments is the largest schedule and works.
    m.setNRate(400);
    m.setRata(300);
    m.Aggiorna();
    QVERIFY(m.TEGperiodo() > 0 && m.TEGperiodo() < 0.01);
}

void TestMutuo::risultatiNonFinitiNonCambianoNulla()
{
    Mutuo m = Crea(100, 0, 75, 2, 12);
    m.Aggiorna();
    const double periodo = m.TEGperiodo();
    const double annuale = m.TEGannuale();
    QVERIFY(periodo > 0.3 && periodo < 0.35);

    // (1 + r)^32767 overflows.
    m.setRateAnnuali(32767);
    try {
        m.Aggiorna();
        QFAIL("an infinite annual rate must fail");
    } catch (const std::range_error& e) {
        QVERIFY(std::string(e.what()).find("TEGannuale") != std::string::npos);
    }
    QCOMPARE(m.TEGperiodo(), periodo);
    QCOMPARE(m.TEGannuale(), annuale);

    // Sums beyond the double range.
    m.setRateAnnuali(12);
    m.setImporto(-1e308);
    m.setOneri(1e308);
    QVERIFY_THROWS_EXCEPTION(std::range_error, m.Aggiorna());
    m.setImporto(std::numeric_limits<double>::infinity());
    m.setOneri(0);
    m.setRata(std::numeric_limits<double>::infinity());
    QVERIFY_THROWS_EXCEPTION(std::range_error, m.Aggiorna());
    QCOMPARE(m.TEGperiodo(), periodo);

    // A marker result never fails, whatever the periodicity.
    Mutuo oltre = Crea(100, 0, 200, 2, 32767);
    oltre.Aggiorna();
    QCOMPARE(oltre.TEGannuale(), DatiIncoerenti);
}

void TestMutuo::confrontoConRicercaCompleta()
{
    casi::Generatore generatore(424242);
    int differenze = 0;
    for (int i = 0; i < 300; ++i) {
        const std::string esito = casi::Confronta(generatore.Prossimo());
        if (!esito.empty()) {
            ++differenze;
            qWarning("%s", esito.c_str());
        }
    }
    QCOMPARE(differenze, 0);
}

void TestMutuo::confrontoSuCasiCritici()
{
    const auto& g = casi::Griglia();
    QCOMPARE(g.size(), std::size_t(10001));
    QVERIFY(g.back() <= 1);
    std::vector<casi::CasoMutuo> casi;
    // Roots exactly halfway between grid points, low, middle and high on
    // the grid, for short and long schedules.
    for (int n : {1, 2, 12, 120, 360, 400})
        for (std::size_t i : {0u, 1u, 30u, 4999u, 9990u, 9999u}) {
            const double r = (g[i] + g[i + 1]) / 2;
            casi.push_back({100000, 0, static_cast<double>(n), 12, casi::RataPerTasso(100000, n, r)});
            casi.push_back({-100000, 0, static_cast<double>(n), 12, -casi::RataPerTasso(100000, n, r)});
        }
    // |V| equal at two neighbours up to rounding: the tie goes to the first.
    for (int n : {1, 12, 120, 360, 400})
        for (std::size_t i : {0u, 7u, 31u, 2500u, 9998u, 9999u})
            casi.push_back({100000, 0, static_cast<double>(n), 12,
                            casi::RataPareggio(100000, n, g[i], g[i + 1])});
    // Roots exactly on a grid point.
    for (std::size_t i : {0u, 1u, 31u, 5000u, 9990u, 10000u})
        casi.push_back({100000, 0, 120, 12, casi::RataPerTasso(100000, 120, g[i])});
    // Degenerate schedules and extreme sizes.
    const double minimo = std::numeric_limits<double>::denorm_min();
    const casi::CasoMutuo estremi[] = {
        {0, 0, 1, 12, 0},           {0, 0, 360, 12, 0},        {-5, 0, 360, 12, 0},
        {0, 0, 0, 12, 5},           {-1, 0, -7, 12, 5},        {0, 0, 360, 12, 1e-300},
        {0, 0, 360, 12, minimo},    {1e-300, 0, 1, 12, 1e-300}, {-2e15, 0, 12, 12, 1},
        {-1e15, 0, 1, 12, 1e-3},    {0, 0, 400, 12, 1e300},    {1e300, 0, 400, 12, 2e298},
        {100, 0, 2, 12, 200},       {1, 0, 400, 12, 1e6},      {1e6, 0, 400, 12, -1},
        {-1e6, 0, 400, 12, -1e-5},  {3e5, 1e3, 360, 12, 1e4},  {1, 0, 1, 12, 1},
    };
    for (const auto& c : estremi)
        casi.push_back(c);

    int differenze = 0;
    for (const auto& c : casi) {
        const std::string esito = casi::Confronta(c);
        if (!esito.empty()) {
            ++differenze;
            qWarning("%s", esito.c_str());
        }
    }
    QCOMPARE(differenze, 0);
}

QTEST_APPLESS_MAIN(TestMutuo)
#include "test_mutuo.moc"
