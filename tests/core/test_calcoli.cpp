// Current-account quarter, cash-flow operations, short-term financing.
#include "Dichiarazioni.h"
#include "Funzioni.h"

#include <QtTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

using namespace std::chrono;

namespace {

bool Vicino(double valore, double atteso, double tolleranza)
{
    return std::fabs(valore - atteso) <= tolleranza;
}

#define VICINO(valore, atteso, tolleranza)                                                        \
    QVERIFY2(Vicino((valore), (atteso), (tolleranza)),                                            \
             qPrintable(QString("%1 = %2, expected %3").arg(#valore).arg((valore), 0, 'g', 12).arg((atteso))))

// The quarter of the worked example: quarter 1 of a non-leap year.
void Esempio(BOX& b)
{
    b.setNumeri(9000000);
    b.setInteressi(2000);
    b.setCommissioni(500);
    b.setSpese(100);
    b.setGiorniValuta(0);
    b.setAccordato(0);
    b.setCMS(0);
}

struct Riga {
    int anno, mese, segno;
    double importo;
};

void ScriviRighe(OPE& o, const std::vector<Riga>& righe)
{
    for (int r = 1; r <= OPE::Righe; ++r) {
        const Riga riga = r <= static_cast<int>(righe.size()) ? righe[r - 1] : Riga{2010, 1, -1, 0};
        o.setAnno(r, riga.anno);
        o.setMese(r, riga.mese);
        o.setSegno(r, riga.segno);
        o.setImporto(r, riga.importo);
    }
}

} // namespace

class TestCalcoli : public QObject {
    Q_OBJECT
private slots:
    void trimestreEsempio();
    void trimestreEsempioConValuta();
    void trimestreAnniBisestili();
    void trimestreCasiLimite();
    void trimestreFuoriIntervallo();
    void trimestreNonFinitoLasciaRisultati();

    void operazioniEsempioInOgniOrdine();
    void operazioniSaldoEMarcatore();
    void operazioniRigheVuoteNonContano();
    void operazioniStessoMese();
    void operazioniRighe();
    void operazioniDataFuoriIntervallo();

    void breveEsempi();
    void breveMarcatore();
    void breveNonFinito();
};

void TestCalcoli::trimestreEsempio()
{
    Documento d;
    d.setAnnoRiferimento(2023);
    BOX& b = d.Trimestri(1);
    Esempio(b);
    b.Aggiorna();
    VICINO(b.DebitoMedioPerData(), 100000, 1e-9);
    VICINO(b.TabInteressiP(), 0.0811111, 5e-8);
    VICINO(b.TabCommissioniP(), 0.0202778, 5e-8);
    VICINO(b.TabSpeseP(), 0.0040556, 5e-8);
    VICINO(b.TabOneriEffettiviP(), 0.1054444, 5e-8);
    VICINO(b.TabAnatocismoP(), 0.0042636, 5e-8);
    VICINO(b.TabAnatocismo(), 426.36, 5e-3);
    VICINO(b.TabCostoTotale(), 3026.36, 5e-3);
    VICINO(b.TabCostoTotaleP(), 0.1097081, 5e-8);
    VICINO(b.TabOneriEffettivi(), 2600, 1e-9);
    QCOMPARE(b.TabEffettoValutaInteressi(), 0.0);
    QCOMPARE(b.TEGinteressi(), 2000.0);
    QCOMPARE(b.TEGoneri(), 600.0);
    VICINO(b.TEG(), 0.0811111, 5e-8);
}

void TestCalcoli::trimestreEsempioConValuta()
{
    Documento d;
    d.setAnnoRiferimento(2023);
    BOX& b = d.Trimestri(1);
    Esempio(b);
    b.setGiorniValuta(10);
    b.Aggiorna();
    VICINO(b.TEGnumeri(), 8000000, 1e-6);
    VICINO(b.DebitoMedioPerData(), 88888.89, 5e-3);
    VICINO(b.DebitoMedioPerValuta(), 100000, 1e-9);
    VICINO(b.TEG(), 0.09125, 1e-12);
    VICINO(b.TabEffettoValutaInteressi(), 2000.0 / 9, 1e-9);
    // The five charges add up to what was debited.
    VICINO(b.TabOneriEffettivi(), 2600, 1e-9);

    b.setAccordato(200000);
    b.setCMS(300);
    b.Aggiorna();
    QCOMPARE(b.TEGoneri(), 300.0);
    VICINO(b.TEG(), 0.09275, 1e-12);
}

void TestCalcoli::trimestreAnniBisestili()
{
    // Any multiple of 4 is a leap year, 2100 included; the year reaches the
    // quarter through its document.
    struct Caso { int anno; double giorniAnno, giorniTrimestre1; };
    for (const Caso c : {Caso{2024, 366, 91}, Caso{2023, 365, 90}, Caso{2100, 366, 91}, Caso{1981, 365, 90}}) {
        Documento d;
        d.setAnnoRiferimento(c.anno);
        BOX& b = d.Trimestri(1);
        b.setNumeri(c.giorniTrimestre1 * 1000);  // average debt 1000
        b.setInteressi(10);
        b.Aggiorna();
        VICINO(b.DebitoMedioPerData(), 1000, 1e-9);
        VICINO(b.TabInteressiP(), 10.0 / 1000 * c.giorniAnno / c.giorniTrimestre1, 1e-15);
        VICINO(b.TEG(), c.giorniAnno * 10 / (c.giorniTrimestre1 * 1000), 1e-15);
    }
    // Quarters 2 to 4 do not depend on the leap year except through D.
    Documento d;
    d.setAnnoRiferimento(2024);
    for (int q = 2; q <= 4; ++q) {
        BOX& b = d.Trimestri(q);
        const double g = q == 2 ? 91 : 92;
        b.setNumeri(g * 1000);
        b.setInteressi(1);
        b.Aggiorna();
        VICINO(b.DebitoMedioPerValuta(), 1000, 1e-12);
        VICINO(b.TabInteressiP(), 1.0 / 1000 * 366 / g, 1e-15);
    }
}

void TestCalcoli::trimestreCasiLimite()
{
    Documento d;
    d.setAnnoRiferimento(2023);
    // All inputs zero: every result zero.
    BOX& zero = d.Trimestri(2);
    zero.Aggiorna();
    QCOMPARE(zero.TabAnatocismoP(), 0.0);
    QCOMPARE(zero.TabCostoTotale(), 0.0);
    QCOMPARE(zero.TEG(), 0.0);

    // Value-date lag equal to the quarter: nothing left by date.
    BOX& b = d.Trimestri(3);
    Esempio(b);
    b.setGiorniValuta(92);
    b.setAccordato(100000);
    b.setCMS(100);
    b.Aggiorna();
    QCOMPARE(b.TEGnumeri(), 0.0);
    QCOMPARE(b.DebitoMedioPerData(), 0.0);
    QCOMPARE(b.TabInteressi(), 0.0);
    QCOMPARE(b.TabInteressiP(), 0.0);
    QCOMPARE(b.TabOneriEffettiviP(), 0.0);
    QCOMPARE(b.TabEffettoValutaInteressi(), 2000.0);
    VICINO(b.TEG(), 500.0 / 100000, 1e-15);

    // A lag beyond the quarter makes the figures by date negative.
    b.setGiorniValuta(100);
    b.setAccordato(0);
    b.Aggiorna();
    QVERIFY(b.TEGnumeri() < 0);
    QVERIFY(b.DebitoMedioPerData() < 0);
    QVERIFY(b.TEG() < 0);

    // Quarter 4 compounds over itself only: no compounding effect.
    BOX& q4 = d.Trimestri(4);
    Esempio(q4);
    q4.Aggiorna();
    VICINO(q4.TabAnatocismoP(), 0, 1e-15);
    // Without a granted line the charges do not enter TEG.
    q4.setCMS(-1e6);
    q4.Aggiorna();
    VICINO(q4.TEG(), 365.0 * 2000 / 9000000, 1e-15);
}

void TestCalcoli::trimestreFuoriIntervallo()
{
    Documento d;
    d.setAnnoRiferimento(2023);
    BOX& b = d.Trimestri(1);
    Esempio(b);
    for (double q : {0.0, 5.0, -1.0, 32767.0}) {
        b.setTrimestre(q);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, b.Aggiorna());
        QCOMPARE(b.TEG(), 0.0);
    }
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, b.setTrimestre(40000));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, d.Trimestri(0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, d.Trimestri(5));
}

void TestCalcoli::trimestreNonFinitoLasciaRisultati()
{
    Documento d;
    d.setAnnoRiferimento(2023);
    BOX& b = d.Trimestri(2);
    Esempio(b);
    b.Aggiorna();
    const double teg = b.TEG();
    const double costo = b.TabCostoTotale();
    const double interessiP = b.TabInteressiP();

    // Charges so negative that the compounding base is negative and raised
    // to the fractional power 275/91.
    b.setInteressi(-1e6);
    try {
        b.Aggiorna();
        QFAIL("a negative base to a fractional power must fail");
    } catch (const std::range_error& e) {
        QVERIFY(std::string(e.what()).find("TabAnatocismoP") != std::string::npos);
    }
    // Nothing of the failed recomputation is left behind.
    QCOMPARE(b.TEG(), teg);
    QCOMPARE(b.TabCostoTotale(), costo);
    QCOMPARE(b.TabInteressiP(), interessiP);

    b.setInteressi(2000);
    b.setNumeri(1e-320);  // average debt too small to divide by
    QVERIFY_THROWS_EXCEPTION(std::range_error, b.Aggiorna());
    b.setNumeri(std::numeric_limits<double>::infinity());
    QVERIFY_THROWS_EXCEPTION(std::range_error, b.Aggiorna());
    QCOMPARE(b.TEG(), teg);
}

void TestCalcoli::operazioniEsempioInOgniOrdine()
{
    std::vector<Riga> righe{{2020, 1, 1, 10000}};
    for (int m = 2; m <= 10; ++m)
        righe.push_back({2020, m, -1, 1200});
    OPE o;
    ScriviRighe(o, righe);
    o.Aggiorna();
    const double atteso = std::pow(1.0157, 12) - 1;
    VICINO(o.TEG(), atteso, 1e-12);
    VICINO(o.TEG(), 0.20555, 5e-6);

    std::mt19937 motore(11);
    for (int prova = 0; prova < 20; ++prova) {
        std::shuffle(righe.begin(), righe.end(), motore);
        ScriviRighe(o, righe);
        o.Aggiorna();
        VICINO(o.TEG(), atteso, 1e-12);
    }
    // The rows themselves keep the order they were given.
    QCOMPARE(o.Anno(1), righe[0].anno);
    QCOMPARE(o.Mese(1), righe[0].mese);
    QCOMPARE(o.Importo(10), righe[9].importo);
}

void TestCalcoli::operazioniSaldoEMarcatore()
{
    OPE o;
    // Every row January 2010, paid, 0: V is identically 0.
    ScriviRighe(o, {});
    o.Aggiorna();
    QCOMPARE(o.TEG(), 0.0);

    ScriviRighe(o, {{2020, 1, 1, 10000}, {2020, 2, -1, 10000}});
    o.Aggiorna();
    QCOMPARE(o.TEG(), 0.0);

    ScriviRighe(o, {{2020, 1, 1, 10000}, {2020, 2, -1, 9000}});
    o.Aggiorna();
    QCOMPARE(o.TEG(), DatiIncoerenti);

    ScriviRighe(o, {{2020, 1, 1, 1000}, {2020, 2, -1, 3000}});
    o.Aggiorna();
    QCOMPARE(o.TEG(), DatiIncoerenti);

    // Across a year end.
    ScriviRighe(o, {{2020, 12, 1, 10000}, {2021, 1, -1, 10100}});
    o.Aggiorna();
    VICINO(o.TEG(), std::pow(1.01, 12) - 1, 1e-9);
}

void TestCalcoli::operazioniRigheVuoteNonContano()
{
    // Two flows in use, the other rows left at their defaults (January 2010,
    // amount 0) or at any earlier date: the empty rows change nothing.
    OPE o;
    ScriviRighe(o, {{2020, 1, 1, 10000}, {2021, 1, -1, 11200}});
    o.Aggiorna();
    const double teg = o.TEG();
    VICINO(teg, 0.12, 1e-3);
    ScriviRighe(o, {{2021, 1, -1, 11200}, {1990, 6, 1, 0}, {2020, 1, 1, 10000}, {2025, 1, -1, 0}});
    o.Aggiorna();
    QCOMPARE(o.TEG(), teg);
    // An empty row between two flows is as good as absent too.
    ScriviRighe(o, {{2020, 1, 1, 10000}, {2020, 6, -1, 0}, {2021, 1, -1, 11200}, {2000, 1, -1, 0}});
    o.Aggiorna();
    QCOMPARE(o.TEG(), teg);
}

void TestCalcoli::operazioniStessoMese()
{
    OPE o;
    ScriviRighe(o, {{2020, 1, 1, 6000}, {2020, 1, 1, 4000}, {2021, 1, -1, 5600}, {2021, 1, -1, 5600}});
    o.Aggiorna();
    const double teg = o.TEG();
    ScriviRighe(o, {{2021, 1, -1, 5600}, {2020, 1, 1, 4000}, {2021, 1, -1, 5600}, {2020, 1, 1, 6000}});
    o.Aggiorna();
    QCOMPARE(o.TEG(), teg);
    VICINO(teg, 0.12, 1e-3);
}

void TestCalcoli::operazioniRighe()
{
    OPE o;
    o.setImporto(0, 5);
    QCOMPARE(o.Importo(0), 5.0);
    for (int r : {-1, 11, 32767}) {
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, o.Mese(r));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, o.setMese(r, 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, o.Anno(r));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, o.setAnno(r, 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, o.Segno(r));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, o.setSegno(r, 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, o.Importo(r));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, o.setImporto(r, 1));
    }
    o.setSegno(3, -0.5);
    QCOMPARE(o.Segno(3), std::int16_t(0));
    o.setSegno(3, 1.5);
    QCOMPARE(o.Segno(3), std::int16_t(2));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, o.setSegno(3, 32768));
    QCOMPARE(o.Segno(3), std::int16_t(2));
}

void TestCalcoli::operazioniDataFuoriIntervallo()
{
    OPE o;
    ScriviRighe(o, {{2020, 1, 1, 10000}, {2020, 2, -1, 10100}});
    o.Aggiorna();
    const double teg = o.TEG();
    o.setAnno(5, 21474837);  // 21474837 * 100 leaves 32 bits
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, o.Aggiorna());
    QCOMPARE(o.TEG(), teg);
    o.setAnno(5, 2020);
    o.setImporto(2, 1e308);
    o.setImporto(3, 1e308);
    o.setSegno(3, -1);
    QVERIFY_THROWS_EXCEPTION(std::range_error, o.Aggiorna());
    QCOMPARE(o.TEG(), teg);
}

void TestCalcoli::breveEsempi()
{
    BREVE b;
    b.setData0(sys_days{2010y / January / 1});
    b.setData1(sys_days{2010y / April / 1});
    b.setFinanziato(10000);
    b.setOneri(100);
    b.setRestituito(10200);
    b.Aggiorna();
    VICINO(b.TEGbreve(), 0.030303, 5e-7);
    VICINO(b.TEG(), 0.122896, 5e-7);
    VICINO(b.TEG(), (10200.0 / 9900 - 1) * 365 / 90, 1e-15);

    b.setRestituito(9900);
    b.Aggiorna();
    QCOMPARE(b.TEGbreve(), 0.0);
    QCOMPARE(b.TEG(), 0.0);

    b.setData1(sys_days{2010y / January / 2});
    b.setFinanziato(1000);
    b.setOneri(0);
    b.setRestituito(1001);
    b.Aggiorna();
    VICINO(b.TEGbreve(), 0.001, 1e-15);
    VICINO(b.TEG(), 0.365, 1e-12);

    // 29 February in between: still 365 days to the year.
    b.setData0(sys_days{2024y / January / 1});
    b.setData1(sys_days{2024y / December / 31});
    b.setRestituito(1100);
    b.Aggiorna();
    VICINO(b.TEG(), 0.1, 1e-12);
    QCOMPARE(b.TEG(), b.TEGbreve());
}

void TestCalcoli::breveMarcatore()
{
    BREVE b;
    b.setData0(sys_days{2010y / January / 1});
    b.setData1(sys_days{2010y / January / 1});
    // Defaults: the net amount is not positive.
    b.Aggiorna();
    QCOMPARE(b.TEG(), DatiIncoerenti);
    QCOMPARE(b.TEGbreve(), 0.0);

    // Same dates: the marker whatever the amounts; TEGbreve keeps its value.
    b.setData1(sys_days{2010y / April / 1});
    b.setFinanziato(10000);
    b.setRestituito(10200);
    b.Aggiorna();
    const double breve = b.TEGbreve();
    b.setData1(b.Data0());
    b.Aggiorna();
    QCOMPARE(b.TEG(), DatiIncoerenti);
    QCOMPARE(b.TEGbreve(), breve);
    b.setData1(sys_days{2009y / December / 1});
    b.Aggiorna();
    QCOMPARE(b.TEG(), DatiIncoerenti);

    // Less repaid than received: both rates are the marker.
    b.setData1(sys_days{2010y / April / 1});
    b.setRestituito(9000);
    b.Aggiorna();
    QCOMPARE(b.TEG(), DatiIncoerenti);
    QCOMPARE(b.TEGbreve(), DatiIncoerenti);

    // Charges eating the whole amount.
    b.setOneri(10000);
    b.setRestituito(10200);
    b.Aggiorna();
    QCOMPARE(b.TEG(), DatiIncoerenti);
}

void TestCalcoli::breveNonFinito()
{
    BREVE b;
    b.setData0(sys_days{2010y / January / 1});
    b.setData1(sys_days{2010y / April / 1});
    b.setFinanziato(10000);
    b.setRestituito(10200);
    b.Aggiorna();
    const double teg = b.TEG();
    const double breve = b.TEGbreve();
    b.setFinanziato(1e-300);
    b.setRestituito(1e300);
    try {
        b.Aggiorna();
        QFAIL("an infinite rate must fail");
    } catch (const std::range_error& e) {
        QVERIFY(std::string(e.what()).find("TEGbreve") != std::string::npos);
    }
    QCOMPARE(b.TEG(), teg);
    QCOMPARE(b.TEGbreve(), breve);

    // A finite period rate whose annualisation overflows.
    b.setFinanziato(1);
    b.setRestituito(1e308);
    b.setData1(sys_days{2010y / January / 2});
    QVERIFY_THROWS_EXCEPTION(std::range_error, b.Aggiorna());
    QCOMPARE(b.TEG(), teg);
}

QTEST_APPLESS_MAIN(TestCalcoli)
#include "test_calcoli.moc"
