// Exact rates of the mortgage and the cash flows, and the fast cash-flow
// search compared with the plain full scan.
#include "OpeRiferimento.h"

#include "Funzioni.h"
#include "Mutuo.h"
#include "OPE.h"
#include "RicercaFlussi.h"
#include "TassoEsatto.h"

#include <QtTest>

#include <bit>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

namespace {

Mutuo CreaMutuo(double importo, double oneri, double rata, int n, int rateAnnuali = 12)
{
    Mutuo m;
    m.setImporto(importo);
    m.setOneri(oneri);
    m.setRata(rata);
    m.setNRate(n);
    m.setRateAnnuali(rateAnnuali);
    m.Aggiorna();
    return m;
}

// The operations of the example: 10 000 received in January, nine
// repayments of 1 200 in the following months.
OPE Esempio()
{
    OPE o;
    for (int r = 1; r <= OPE::Righe; ++r) {
        o.setAnno(r, 2010);
        o.setMese(r, r);
        o.setSegno(r, r == 1 ? 1 : -1);
        o.setImporto(r, r == 1 ? 10000 : 1200);
    }
    return o;
}

double Residuo(const std::vector<double>& f, const std::vector<double>& t, double r)
{
    double v = 0, scala = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        v += f[i] * std::exp(-t[i] * std::log1p(r));
        scala += std::fabs(f[i]);
    }
    return std::fabs(v) / scala;
}

// The plain scan over flows of whole months, with the powers of each month
// made once: the same std::pow calls as the scan, so the same bits, and each
// point's terms still added in row order.
class ScanVeloce {
public:
    static constexpr int Mesi = 241;
    ScanVeloce() : punti_(GrigliaFlussi().size()), potenze_(punti_ * Mesi), valori_(punti_)
    {
        const auto& g = GrigliaFlussi();
        for (int t = 0; t < Mesi; ++t)
            for (std::size_t j = 0; j < punti_; ++j)
                potenze_[t * punti_ + j] = std::pow(1 + g[j], -static_cast<double>(t));
    }
    int Indice(const double* f, const double* t, int n)
    {
        for (int k = 0; k < n; ++k)
            if (!(t[k] >= 0 && t[k] < Mesi && t[k] == std::floor(t[k])))
                return riferimento::IndiceFlussi(f, t, n);
        std::fill(valori_.begin(), valori_.end(), 0.0);
        for (int k = 0; k < n; ++k) {
            const double* p = &potenze_[static_cast<std::size_t>(t[k]) * punti_];
            for (std::size_t j = 0; j < punti_; ++j)
                valori_[j] = valori_[j] + f[k] * p[j];
        }
        double migliore = 1e15;
        int trovato = -1;
        for (std::size_t j = 0; j < punti_; ++j) {
            if (!std::isfinite(valori_[j]))
                throw std::range_error("valore attuale");
            if (std::fabs(valori_[j]) < migliore) {
                migliore = std::fabs(valori_[j]);
                trovato = static_cast<int>(j);
            }
        }
        return trovato;
    }

private:
    std::size_t punti_;
    std::vector<double> potenze_, valori_;
};

} // namespace

class TestTassiEsatti : public QObject {
    Q_OBJECT
private slots:
    void casiNoti();
    void senzaRadiceUnica_data();
    void senzaRadiceUnica();
    void residuiCasuali();
    void rigaVuotaMoltoAnteriore();
    void ricercaRapidaComeCompleta();
    void operazioniComeRiferimento();
};

void TestTassiEsatti::casiNoti()
{
    // 100 000 at 240 monthly instalments of 700 with 1 500 of costs.
    const Mutuo m = CreaMutuo(100000, 1500, 700, 240);
    QCOMPARE(FormatoTasso(m.TEGannuale()), std::string("6,041%"));
    QVERIFY(m.TEGannualeEsatto());
    QCOMPARE(FormatoTasso(*m.TEGannualeEsatto()), std::string("6,062%"));
    QCOMPARE(FormatoTasso(*m.TEGperiodoEsatto()), std::string("0,492%"));

    OPE o = Esempio();
    o.Aggiorna();
    QCOMPARE(FormatoTasso(o.TEG()), std::string("20,555%"));
    QVERIFY(o.TEGesatto());
    QCOMPARE(FormatoTasso(*o.TEGesatto()), std::string("20,520%"));
    QVERIFY(std::fabs(std::pow(1 + *o.TEGmensileEsatto(), 12) - 1 - *o.TEGesatto()) < 1e-15);
    // A second amount received between the payments: three changes of
    // sign, still one root.
    const std::vector<double> tranche{8000, -1200, -1200, -1200, 500, -1200, -1200, -1200, -1200, -1200};
    const std::vector<double> mesi{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const auto r = TassoEsattoFlussi(tranche.data(), mesi.data(), 10);
    QVERIFY(r && Residuo(tranche, mesi, *r) < 1e-15);

    // Closed forms: one instalment repays netto (1 + r); n instalments
    // summing to the net amount mean r = 0; quarterly compounding.
    QCOMPARE(*CreaMutuo(100, 0, 150, 1).TEGperiodoEsatto(), 0.5);
    QCOMPARE(*CreaMutuo(12000, 0, 100, 120).TEGperiodoEsatto(), 0.0);
    const Mutuo t = CreaMutuo(100000, 0, 3000, 40, 4);
    QVERIFY(std::fabs(*t.TEGannualeEsatto() - (std::pow(1 + *t.TEGperiodoEsatto(), 4) - 1)) < 1e-15);
    // Beyond the grid the grid rate is the marker, the exact one still a rate.
    const Mutuo alto = CreaMutuo(100, 0, 200, 2);
    QCOMPARE(alto.TEGannuale(), DatiIncoerenti);
    QVERIFY(std::fabs(*alto.TEGperiodoEsatto() - std::sqrt(3.0)) < 1e-14);
}

void TestTassiEsatti::senzaRadiceUnica_data()
{
    // Rows: amounts of up to four flows in consecutive months (0 = unused).
    QTest::addColumn<QList<double>>("flussi");
    QTest::newRow("more received than paid") << QList<double>{1000, -900};
    QTest::newRow("all paid") << QList<double>{-1000, -900};
    QTest::newRow("nothing moves") << QList<double>{0, 0};
    QTest::newRow("two roots, 10% and 20%") << QList<double>{-1000, 2300, -1320};
    QTest::newRow("two changes of sign, no root") << QList<double>{-1000, 1500, -1000};
}

void TestTassiEsatti::senzaRadiceUnica()
{
    QFETCH(QList<double>, flussi);
    OPE o;
    for (int r = 1; r <= OPE::Righe; ++r) {
        o.setAnno(r, 2020);
        o.setMese(r, 1);
        o.setSegno(r, -1);
    }
    for (int i = 0; i < flussi.size(); ++i) {
        o.setMese(i + 1, i + 1);
        o.setSegno(i + 1, flussi[i] < 0 ? -1 : 1);
        o.setImporto(i + 1, std::fabs(flussi[i]));
    }
    o.Aggiorna();
    QVERIFY(!o.TEGmensileEsatto());
    QVERIFY(!o.TEGesatto());

    // The mortgage's own cases with no rate: no instalment, instalments of 0
    // or of the other sign, instalments short of the net amount.
    for (const auto& [netto, rata, n] : {std::tuple{1000.0, 100.0, 0}, {1000.0, 0.0, 12},
                                          {1000.0, -100.0, 12}, {1000.0, 80.0, 12}}) {
        const Mutuo m = CreaMutuo(netto, 0, rata, n);
        QVERIFY(!m.TEGperiodoEsatto() && !m.TEGannualeEsatto());
    }
}

void TestTassiEsatti::residuiCasuali()
{
    std::mt19937_64 motore(11);
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 2000; ++i) {
        // A mortgage at a random rate, or instalments of any size.
        const int n = 1 + static_cast<int>(u(motore) * 400);
        const double netto = 1000 + u(motore) * 1e6;
        const double r = u(motore) < 0.8 ? u(motore) * 0.1 : std::pow(10.0, -8 + u(motore) * 9);
        const double rata = netto * r / -std::expm1(-n * std::log1p(r));
        const auto esatto = TassoEsattoRata(netto, rata, n);
        QVERIFY(esatto);
        // Residual relative to the amounts: netto - rata * annuity(r).
        const double rendita = -std::expm1(-n * std::log1p(*esatto)) / *esatto;
        QVERIFY(std::fabs(netto - rata * rendita) <= 1e-9 * (netto + n * rata));
        QVERIFY(std::fabs(*esatto - r) <= 1e-9 * r + 1e-13);

        // Flows: one amount received, then up to nine paid in later months.
        std::vector<double> f{1000 + u(motore) * 1e5}, t{0};
        const int pagamenti = 1 + static_cast<int>(u(motore) * 9);
        for (int k = 0; k < pagamenti; ++k) {
            t.push_back(t.back() + 1 + static_cast<int>(u(motore) * 24));
            f.push_back(-f[0] / pagamenti * (0.5 + u(motore)));
        }
        const auto mensile = TassoEsattoFlussi(f.data(), t.data(), static_cast<int>(f.size()));
        QVERIFY(mensile);
        QVERIFY(Residuo(f, t, *mensile) < 1e-9);
    }
}

void TestTassiEsatti::rigaVuotaMoltoAnteriore()
{
    // A row of amount 0 dated long before the flows: its factor 2^1200 at
    // the top of the grid once made the search fail (0 times infinity).
    OPE o = Esempio();
    o.setImporto(10, 0);
    o.setImporto(1, 8800);
    o.setAnno(10, 1900);
    o.Aggiorna();
    OPE senza = Esempio();
    senza.setImporto(10, 0);
    senza.setImporto(1, 8800);
    senza.Aggiorna();
    QCOMPARE(o.TEG(), senza.TEG());
    QCOMPARE(*o.TEGesatto(), *senza.TEGesatto());
    QVERIFY(o.TEG() > 0.2 && o.TEG() < 0.3);
}

void TestTassiEsatti::ricercaRapidaComeCompleta()
{
    ScanVeloce scan;
    const auto& g = GrigliaFlussi();
    QCOMPARE(g.size(), std::size_t(20001));
    std::mt19937_64 motore(20261208);
    std::uniform_real_distribution<double> u(0, 1);
    const auto intero = [&](int da, int a) { return da + static_cast<int>(u(motore) * (a - da + 1)); };
    int differenze = 0;
    for (int caso = 0; caso < 10000; ++caso) {
        // Kinds 1, 2 and 4 mostly go to the full scan on both sides: fewer.
        int tipo = intero(0, 39);
        if (tipo >= 30)
            tipo = 0;  // the closest calls, more often
        const int n = intero(tipo == 0 ? 2 : 1, 10);
        double f[10], t[10];
        double mese = 0;
        for (int k = 0; k < n; ++k) {
            t[k] = mese;
            mese += intero(0, 3) ? intero(0, 24) : 0;
        }
        const double capitale = std::round(u(motore) * 1e7) / 100;
        for (int k = 0; k < n; ++k)
            f[k] = k == 0 ? capitale : -capitale / n * (0.5 + u(motore));
        if (tipo == 0) {
            // A root halfway between grid points: two flows.
            const std::size_t i = static_cast<std::size_t>(intero(0, 19999));
            t[1] = std::max(t[1], 1.0);
            const double r = (g[i] + g[i + 1]) / 2;
            f[1] = -f[0] * std::pow(1 + r, t[1]);
            // |V| equal at the two neighbours, up to rounding, half the time.
            if (intero(0, 1))
                f[1] = -2 * f[0] / (std::pow(1 + g[i], -t[1]) + std::pow(1 + g[i + 1], -t[1]));
            for (int k = 2; k < n; ++k)
                f[k] = 0;
        } else if (tipo == 1) {
            for (int k = 0; k < n; ++k)  // any signs, any sizes
                f[k] = std::pow(10.0, -12 + u(motore) * 28) * (intero(0, 1) ? 1 : -1);
        } else if (tipo == 2) {
            for (int k = 0; k < n; ++k)  // near the limits of a double
                f[k] = std::pow(10.0, 290 + u(motore) * 18) * (k == 0 ? 1 : -1) / 10;
        } else if (tipo == 3) {
            for (int k = 0; k < n; ++k)  // all of one sign
                f[k] = -u(motore) * 1e4;
        } else if (tipo == 4 && n > 1) {
            t[n - 1] = intero(0, 1) ? 1e6 : 1200;  // far in the future
        } else if (tipo == 5) {
            f[0] = -f[0];  // paid first, received later
            for (int k = 1; k < n; ++k)
                f[k] = -f[k] * (0.9 + u(motore) * 0.2);
        } else if (tipo == 6) {
            const double scala = std::pow(10.0, -14 + u(motore) * 30);  // tiny to huge
            for (int k = 0; k < n; ++k)
                f[k] *= scala;
        }
        for (int k = 0; k < n; ++k)
            if (intero(0, 5) == 0)
                f[k] = 0;  // empty rows
        int atteso = -2, ottenuto = -2;
        try {
            atteso = scan.Indice(f, t, n);
        } catch (const std::range_error&) {
        }
        try {
            ottenuto = RicercaRapidaFlussi(f, t, n);
        } catch (const std::range_error&) {
        }
        if (atteso != ottenuto && ++differenze <= 10)
            qWarning("case %d: fast %d, full %d", caso, ottenuto, atteso);
    }
    QCOMPARE(differenze, 0);
}

void TestTassiEsatti::operazioniComeRiferimento()
{
    // The whole recomputation against the plain one: rows in any order,
    // repeated months, empty rows dated anywhere.
    std::mt19937_64 motore(7);
    std::uniform_real_distribution<double> u(0, 1);
    for (int caso = 0; caso < 60; ++caso) {
        std::array<std::int32_t, 10> anni{}, mesi{};
        std::array<double, 10> importi{};
        OPE o;
        for (int r = 0; r < 10; ++r) {
            const bool vuota = u(motore) < 0.3;
            anni[r] = vuota && u(motore) < 0.5 ? 1800 + static_cast<int>(u(motore) * 100)
                                               : 2010 + static_cast<int>(u(motore) * 3);
            mesi[r] = 1 + static_cast<int>(u(motore) * 12);
            const int segno = r == 0 || u(motore) < 0.1 ? 1 : -1;
            const double importo = vuota ? 0 : std::round(u(motore) * 3e5) / 100;
            importi[r] = segno * importo;
            o.setAnno(r + 1, anni[r]);
            o.setMese(r + 1, mesi[r]);
            o.setSegno(r + 1, segno);
            o.setImporto(r + 1, importo);
        }
        // Row 1 receives a little less than the others pay.
        double pagato = 0;
        for (int r = 1; r < 10; ++r)
            pagato += std::fabs(importi[r]);
        importi[0] = std::round(pagato * 90) / 100;
        o.setSegno(1, 1);
        o.setImporto(1, importi[0]);
        o.Aggiorna();
        const double atteso = riferimento::TegOperazioni(anni, mesi, importi);
        QCOMPARE(std::bit_cast<std::uint64_t>(o.TEG()), std::bit_cast<std::uint64_t>(atteso));
    }
}

QTEST_APPLESS_MAIN(TestTassiEsatti)
#include "test_tassi_esatti.moc"
