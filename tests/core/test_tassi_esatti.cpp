// Exact rates of the mortgage and the cash flows, and the fast cash-flow
// search compared with the plain full scan.
#include "Funzioni.h"
#include "Mutuo.h"
#include "OPE.h"
#include "RicercaFlussi.h"
#include "TassoEsatto.h"

#include <QtTest>

#include <cmath>
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

// Rows 1..n in consecutive months of 2010; the amounts signed.
OPE Operazioni(const std::vector<double>& flussi, int annoUltima = 2010)
{
    OPE o;
    for (int r = 1; r <= OPE::Righe; ++r) {
        const double f = r <= int(flussi.size()) ? flussi[r - 1] : 0;
        o.setAnno(r, r == OPE::Righe ? annoUltima : 2010);
        o.setMese(r, r);
        o.setSegno(r, f > 0 ? 1 : -1);
        o.setImporto(r, std::fabs(f));
    }
    o.Aggiorna();
    return o;
}

// |V| at the monthly rate r, relative to the amounts; flows in months 0, 1, ...
// unless the months are given.
double Residuo(const std::vector<double>& f, double r, std::vector<double> mesi = {})
{
    for (std::size_t i = mesi.size(); i < f.size(); ++i)
        mesi.push_back(double(i));
    double v = 0, scala = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        v += f[i] * std::exp(-mesi[i] * std::log1p(r));
        scala += std::fabs(f[i]);
    }
    return std::fabs(v) / scala;
}

// The plain scan: every grid point, terms added in row order, the first
// strictly smallest |V| below 1e15. The powers of months 0..240 are made once
// by the same std::pow calls, so the bits are the same.
int ScanCompleto(const double* f, const double* t, int n)
{
    const std::vector<double>& g = GrigliaFlussi();
    static const std::vector<double> potenze = [&] {
        std::vector<double> p;
        for (int mese = 0; mese <= 240; ++mese)
            for (double r : g)
                p.push_back(std::pow(1 + r, -double(mese)));
        return p;
    }();
    double migliore = 1e15;
    int trovato = -1;
    for (std::size_t j = 0; j < g.size(); ++j) {
        double v = 0;
        for (int k = 0; k < n; ++k)
            v = v + f[k] * (t[k] <= 240 ? potenze[std::size_t(t[k]) * g.size() + j] : std::pow(1 + g[j], -t[k]));
        if (!std::isfinite(v))
            throw std::range_error("valore attuale");
        if (std::fabs(v) < migliore) {
            migliore = std::fabs(v);
            trovato = int(j);
        }
    }
    return trovato;
}

} // namespace

class TestTassiEsatti : public QObject {
    Q_OBJECT
private slots:
    void casiNoti();
    void senzaRadiceUnica();
    void rimborsoEsattoSenzaInteressi();
    void tassoAlLimiteDellaRicerca();
    void residuiCasuali();
    void rigaVuotaMoltoAnteriore();
    void ricercaRapidaComeCompleta();
};

void TestTassiEsatti::casiNoti()
{
    // 100 000 at 240 monthly instalments of 700 with 1 500 of costs.
    const Mutuo m = CreaMutuo(100000, 1500, 700, 240);
    QCOMPARE(FormatoTasso(m.TEGannuale()), std::string("6,041%"));
    QCOMPARE(FormatoTasso(m.TEGannualeEsatto().value()), std::string("6,062%"));
    QCOMPARE(FormatoTasso(m.TEGperiodoEsatto().value()), std::string("0,492%"));
    // Closed forms: one instalment of 150 for 100 is 50 %; instalments
    // adding up to the net amount, 0 %; 200 twice for 100, sqrt(3), beyond
    // the grid (quarterly here).
    QCOMPARE(CreaMutuo(100, 0, 150, 1).TEGperiodoEsatto().value(), 0.5);
    QCOMPARE(CreaMutuo(12000, 0, 100, 120).TEGperiodoEsatto().value(), 0.0);
    const Mutuo alto = CreaMutuo(100, 0, 200, 2, 4);
    QCOMPARE(alto.TEGannuale(), DatiIncoerenti);
    QVERIFY(std::fabs(alto.TEGperiodoEsatto().value() - std::sqrt(3.0)) < 1e-14);
    QVERIFY(std::fabs(alto.TEGannualeEsatto().value() - (std::pow(1 + std::sqrt(3.0), 4) - 1)) < 1e-12);

    // The example's flows: 10 000 received, nine payments of 1 200.
    const std::vector<double> esempio{10000, -1200, -1200, -1200, -1200, -1200, -1200, -1200, -1200, -1200};
    const OPE o = Operazioni(esempio);
    QCOMPARE(FormatoTasso(o.TEG()), std::string("20,555%"));
    QCOMPARE(FormatoTasso(o.TEGesatto().value()), std::string("20,520%"));
    QVERIFY(Residuo(esempio, o.TEGmensileEsatto().value()) < 1e-15);
    // 500 more received in the fifth month: three changes of sign, one root.
    const std::vector<double> tranche{8000, -1200, -1200, -1200, 500, -1200, -1200, -1200, -1200, -1200};
    QVERIFY(Residuo(tranche, Operazioni(tranche).TEGmensileEsatto().value()) < 1e-15);
}

void TestTassiEsatti::senzaRadiceUnica()
{
    const std::vector<double> flussi[] = {
        {1000, -900},          // more received than paid
        {-1000, -900},         // all paid
        {-1000, 2300, -1320},  // two roots, 10 % and 20 %
        {-1000, 1500, -1000},  // two changes of sign, no root
    };
    for (const auto& f : flussi) {
        const OPE o = Operazioni(f);
        QVERIFY(!o.TEGmensileEsatto() && !o.TEGesatto());
    }
    // No instalment; instalments of 0, of the other sign, or short of the net amount.
    for (const auto& [rata, n] : {std::pair{100.0, 0}, {0.0, 12}, {-100.0, 12}, {80.0, 12}}) {
        const Mutuo m = CreaMutuo(1000, 0, rata, n);
        QVERIFY(!m.TEGperiodoEsatto() && !m.TEGannualeEsatto());
    }
}

// Schedules that repay exactly the amount: the sums of doubles leave a few
// cents' worth of bits above 0, the cents do not; the rate is 0.
void TestTassiEsatti::rimborsoEsattoSenzaInteressi()
{
    OPE o;
    const int date[5][2] = {{2, 2017}, {9, 2017}, {5, 2018}, {1, 2019}, {5, 2020}};
    for (int r = 1; r <= 5; ++r) {
        o.setMese(r, date[r - 1][0]);
        o.setAnno(r, date[r - 1][1]);
        o.setSegno(r, r == 1 ? 1 : -1);
        o.setImporto(r, r == 1 ? 182656.96 : 45664.24);
    }
    o.Aggiorna();
    QCOMPARE(o.TEG(), 0.0);
    QCOMPARE(o.TEGmensileEsatto().value_or(-1), 0.0);
    QCOMPARE(o.TEGesatto().value_or(-1), 0.0);
    // One cent more received is more received than paid.
    o.setImporto(1, 182656.97);
    o.Aggiorna();
    QCOMPARE(o.TEG(), DatiIncoerenti);
    QVERIFY(!o.TEGesatto());

    const Mutuo m = CreaMutuo(446656.99, 0, 14408.29, 31);
    QCOMPARE(m.TEGperiodo(), 0.0);
    QCOMPARE(m.TEGperiodoEsatto().value_or(-1), 0.0);
    QCOMPARE(m.TEGannualeEsatto().value_or(-1), 0.0);
    QCOMPARE(CreaMutuo(446657.00, 0, 14408.29, 31).TEGperiodo(), DatiIncoerenti);
}

// The bracket reaches |ln(1 + r)| = 700, as TassoEsatto.h says, and no further.
void TestTassiEsatti::tassoAlLimiteDellaRicerca()
{
    const std::optional<double> enorme = TassoEsattoRata(1, 1e300, 1);  // ln(1 + r) = 690.8
    QVERIFY(enorme && std::fabs(*enorme / 1e300 - 1) < 1e-12);
    QVERIFY(!TassoEsattoRata(1, 1e305, 1));  // 702.3
    const double flussi[2] = {1, -1e300}, mesi[2] = {0, 1};
    const std::optional<double> mensile = TassoEsattoFlussi(flussi, mesi, 2);
    QVERIFY(mensile && std::fabs(*mensile / 1e300 - 1) < 1e-12);
}

void TestTassiEsatti::residuiCasuali()
{
    std::mt19937_64 motore(11);
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 2000; ++i) {
        // A mortgage at a random rate, down to 1e-8 a period.
        const int n = 1 + int(u(motore) * 400);
        const double netto = 1000 + u(motore) * 1e6;
        const double r = u(motore) < 0.8 ? u(motore) * 0.1 : std::pow(10.0, -8 + u(motore) * 9);
        const double rata = netto * r / -std::expm1(-n * std::log1p(r));
        const double esatto = TassoEsattoRata(netto, rata, n).value();
        const double rendita = -std::expm1(-n * std::log1p(esatto)) / esatto;
        QVERIFY(std::fabs(netto - rata * rendita) <= 1e-9 * (netto + n * rata));

        // Flows: an amount received, up to nine payments in later months.
        std::vector<double> f{1000 + u(motore) * 1e5}, mesi{0};
        const int pagamenti = 1 + int(u(motore) * 9);
        for (int k = 0; k < pagamenti; ++k) {
            mesi.push_back(mesi.back() + 1 + int(u(motore) * 24));
            f.push_back(-f[0] / pagamenti * (0.5 + u(motore)));
        }
        const auto mensile = TassoEsattoFlussi(f.data(), mesi.data(), int(f.size()));
        QVERIFY(mensile && Residuo(f, *mensile, mesi) < 1e-9);
    }
}

void TestTassiEsatti::rigaVuotaMoltoAnteriore()
{
    // A row of amount 0 dated in 1900, 110 years before the flows: its factor
    // 2^1320 at the top of the grid once made the search fail (0 x infinity).
    const std::vector<double> flussi{8800, -1200, -1200, -1200, -1200, -1200, -1200, -1200, -1200};
    const OPE senza = Operazioni(flussi);
    OPE con = Operazioni(flussi, 1900);
    QCOMPARE(con.TEG(), senza.TEG());
    QVERIFY(con.TEGesatto() == senza.TEGesatto());
    QVERIFY(senza.TEG() > 0.2 && senza.TEG() < 0.3);
}

void TestTassiEsatti::ricercaRapidaComeCompleta()
{
    const auto& g = GrigliaFlussi();
    QCOMPARE(g.size(), std::size_t(20001));
    std::mt19937_64 motore(20261208);
    std::uniform_real_distribution<double> u(0, 1);
    const auto intero = [&](int da, int a) { return da + int(u(motore) * (a - da + 1)); };
    int differenze = 0;
    for (int caso = 0; caso < 10000; ++caso) {
        // Kinds 1, 2 and 4 go to the full scan on both sides: fewer of them.
        int tipo = intero(0, 39);
        tipo = tipo >= 30 ? 0 : tipo;
        const int n = intero(tipo == 0 ? 2 : 1, 10);
        double f[10], t[10];
        const double scala = std::pow(10.0, -14 + u(motore) * 30);
        const double capitale = std::round(u(motore) * 1e7) / 100;
        for (int k = 0; k < n; ++k) {
            t[k] = k == 0 ? 0 : t[k - 1] + (intero(0, 3) ? intero(0, 24) : 0);
            f[k] = k == 0 ? capitale : -capitale / n * (0.5 + u(motore));
        }
        if (tipo == 0) {
            // Two flows, the root halfway between grid points, or |V| equal
            // at the two neighbours up to rounding.
            const std::size_t i = std::size_t(intero(0, 19999));
            t[1] = std::max(t[1], 1.0);
            f[1] = intero(0, 1) ? -f[0] * std::pow(1 + (g[i] + g[i + 1]) / 2, t[1])
                                : -2 * f[0] / (std::pow(1 + g[i], -t[1]) + std::pow(1 + g[i + 1], -t[1]));
            std::fill(f + 2, f + n, 0.0);
        }
        for (int k = 0; k < n; ++k) {
            if (tipo == 1)
                f[k] = std::pow(10.0, -12 + u(motore) * 28) * (intero(0, 1) ? 1 : -1);  // any signs and sizes
            else if (tipo == 2)
                f[k] = std::pow(10.0, 289 + u(motore) * 18) * (k ? -1 : 1);  // near the limits
            else if (tipo == 3)
                f[k] = -std::fabs(f[k]);  // all paid
            else if (tipo == 4 && k == n - 1 && k > 0)
                t[k] = intero(0, 1) ? 1e6 : 1200;  // far in the future
            else if (tipo == 5)
                f[k] = k ? -f[k] * (0.9 + u(motore) * 0.2) : -f[k];  // paid first, received later
            else if (tipo == 6)
                f[k] *= scala;  // tiny to huge
            if (intero(0, 5) == 0)
                f[k] = 0;  // empty rows
        }
        int atteso = -2, ottenuto = -2;
        try {
            atteso = ScanCompleto(f, t, n);
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

QTEST_APPLESS_MAIN(TestTassiEsatti)
#include "test_tassi_esatti.moc"
