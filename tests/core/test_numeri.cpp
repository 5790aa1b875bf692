// Typed numbers in, amounts and rates out, 16-bit storage.
#include "Funzioni.h"

#include <QtTest>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <random>
#include <stdexcept>
#include <string>

namespace {

// A C++ locale that writes numbers with a comma and groups with a space, to
// make sure the program's own conventions ignore whatever locale is active.
struct VirgolaDecimale : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return ' '; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

class TestNumeri : public QObject {
    Q_OBJECT
private slots:
    void leggeNumeriDigitati_data();
    void leggeNumeriDigitati();
    void leggeImportiControllati_data();
    void leggeImportiControllati();
    void scriveImporti_data();
    void scriveImporti();
    void scriveTassi_data();
    void scriveTassi();
    void importoRilettoDueDecimali();
    void numeriNonFinitiNonSiScrivono();
    void nessunaDipendenzaDalLocale();
    void interi16Arrotondano();
    void interi16FuoriIntervallo();
};

void TestNumeri::leggeNumeriDigitati_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<double>("atteso");
    QTest::newRow("migliaia e decimali") << "1.234,56" << 1234.56;
    QTest::newRow("senza migliaia") << "1234,56" << 1234.56;
    QTest::newRow("punto migliaia") << "1.5" << 15.0;
    QTest::newRow("virgola decimale") << "1,5" << 1.5;
    QTest::newRow("negativo") << "-1.234,56" << -1234.56;
    QTest::newRow("spazio prima del meno") << " -1.234,56" << 1234.56;
    QTest::newRow("meno in fondo") << "12-" << 12.0;
    QTest::newRow("seconda virgola") << "1,2,3" << 1.2;
    QTest::newRow("simbolo euro") << "€ 1.000,00" << 1000.0;
    QTest::newRow("solo lettere") << "abc" << 0.0;
    QTest::newRow("vuoto") << "" << 0.0;
    QTest::newRow("solo spazi") << "   " << 0.0;
    QTest::newRow("solo meno") << "-" << 0.0;
    QTest::newRow("percentuale") << "1,235%" << 1.235;
    QTest::newRow("virgola iniziale") << ",5" << 0.5;
    QTest::newRow("virgola finale") << "7," << 7.0;
    QTest::newRow("spazi interni") << "1 000" << 1000.0;
    QTest::newRow("cifre oltre il double") << QString(400, QLatin1Char('9')) << HUGE_VAL;
    QTest::newRow("decimali oltre il double") << "0," + QString(400, QLatin1Char('0')) + "1" << 0.0;
}

void TestNumeri::leggeNumeriDigitati()
{
    QFETCH(QString, testo);
    QFETCH(double, atteso);
    const double letto = PulisciNumero(testo.toStdString());
    QCOMPARE(letto, atteso);
    QVERIFY(!std::signbit(letto) || atteso < 0);
}

// Texts that are not an Italian amount are refused, not read as another number.
void TestNumeri::leggeImportiControllati_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("esito");  // the value read, or the error kind
    QTest::newRow("migliaia") << " 1.234,56 " << "1234.56";
    QTest::newRow("negativo") << "-7,5" << "-7.5";
    QTest::newRow("vuoto") << "" << "0";
    QTest::newRow("virgola finale") << "7," << "7";
    QTest::newRow("quindici cifre") << "999.999.999.999.999,99" << "999999999999999.99";
    QTest::newRow("zeri iniziali") << QString(30, QLatin1Char('0')) + "1" << "1";
    QTest::newRow("trenta cifre") << "123456789012345678901234567890" << "grande";
    QTest::newRow("diecimila nove") << QString(10000, QLatin1Char('9')) << "grande";
    QTest::newRow("esponente") << "1e309" << "non valido";
    QTest::newRow("lettere") << "abc" << "non valido";
    QTest::newRow("due virgole") << "1,2,3" << "non valido";
    QTest::newRow("punto nei decimali") << "1,2.3" << "non valido";
    QTest::newRow("punto finale") << "12." << "non valido";
    QTest::newRow("meno dopo lo spazio") << " -5" << "non valido";
    QTest::newRow("solo virgola") << "," << "non valido";
}

void TestNumeri::leggeImportiControllati()
{
    QFETCH(QString, testo);
    QFETCH(QString, esito);
    const std::string t = testo.toStdString();
    if (esito == "grande")
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, LeggiNumeroItaliano(t));
    else if (esito == "non valido")
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, LeggiNumeroItaliano(t));
    else
        QCOMPARE(LeggiNumeroItaliano(t), esito.toDouble());
}

void TestNumeri::scriveImporti_data()
{
    QTest::addColumn<double>("valore");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("milioni") << 1234567.891 << "1.234.567,89";
    QTest::newRow("zero") << 0.0 << "0,00";
    QTest::newRow("negativo intero") << -5.0 << "-5,00";
    QTest::newRow("un decimale") << 1234.5 << "1.234,50";
    QTest::newRow("milioni negativi") << -1234567.891 << "-1.234.567,89";
    QTest::newRow("sotto l'unita") << 0.07 << "0,07";
    QTest::newRow("esattamente mille") << 1000.0 << "1.000,00";
    QTest::newRow("centinaia") << 999.999 << "1.000,00";
    QTest::newRow("miliardi") << 12345678901.0 << "12.345.678.901,00";
    QTest::newRow("meta esatta") << 0.125 << "0,13";
    QTest::newRow("meta esatta negativa") << -2.375 << "-2,38";
    QTest::newRow("quasi meta") << 1.005 << "1,00";
    QTest::newRow("negativo che arrotonda a zero") << -0.001 << "0,00";
    QTest::newRow("zero negativo") << -0.0 << "0,00";
    QTest::newRow("enorme") << 1e20 << "100.000.000.000.000.000.000,00";
}

void TestNumeri::scriveImporti()
{
    QFETCH(double, valore);
    QFETCH(QString, atteso);
    QCOMPARE(QString::fromStdString(FormatoImporto(valore)), atteso);
}

void TestNumeri::scriveTassi_data()
{
    QTest::addColumn<double>("tasso");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("tre decimali") << 0.0123456 << "1,235%";
    QTest::newRow("migliaia") << 12.5 << "1.250,000%";
    QTest::newRow("zero") << 0.0 << "0,000%";
    QTest::newRow("negativo") << -0.05 << "-5,000%";
    QTest::newRow("marcatore") << DatiIncoerenti << "-1.234.567,000%";
}

void TestNumeri::scriveTassi()
{
    QFETCH(double, tasso);
    QFETCH(QString, atteso);
    QCOMPARE(QString::fromStdString(FormatoTasso(tasso)), atteso);
}

void TestNumeri::importoRilettoDueDecimali()
{
    std::mt19937_64 motore(7);
    std::uniform_real_distribution<double> valori(-1e9, 1e9);
    for (int i = 0; i < 2000; ++i) {
        const double x = valori(motore) / (i % 3 == 0 ? 1e6 : 1);
        const double riletto = PulisciNumero(FormatoImporto(x));
        QVERIFY2(std::fabs(riletto - x) <= 0.005 + std::fabs(x) * 1e-15,
                 qPrintable(QString::number(x, 'g', 17)));
        QCOMPARE(riletto, std::round(riletto * 100) / 100);
    }
}

void TestNumeri::numeriNonFinitiNonSiScrivono()
{
    const double inf = std::numeric_limits<double>::infinity();
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, FormatoImporto(inf));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, FormatoImporto(-inf));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, FormatoImporto(std::nan("")));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, FormatoTasso(std::nan("")));
    // Finite, but not once multiplied by 100.
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, FormatoTasso(1e307));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, FormatoSoglia(1e307));
    // A threshold keeps every decimal it has, up to four.
    QCOMPARE(FormatoSoglia(0.093875), std::string("9,3875%"));
    QCOMPARE(FormatoSoglia(0.14385), std::string("14,385%"));
    QCOMPARE(FormatoSoglia(0.1221), std::string("12,210%"));
    const std::string enorme = FormatoImporto(-1e307);
    QVERIFY(enorme.rfind("-9.999", 0) == 0 || enorme.rfind("-10.000", 0) == 0);
    QVERIFY(enorme.size() > 400);
    QCOMPARE(enorme.substr(enorme.size() - 3), std::string(",00"));
}

void TestNumeri::nessunaDipendenzaDalLocale()
{
    const std::locale prima = std::locale::global(std::locale(std::locale::classic(), new VirgolaDecimale));
    const char* nomi[] = {"it_IT.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"};
    std::string vecchio = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* nome : nomi)
        if (std::setlocale(LC_NUMERIC, nome))
            break;
    const std::string importo = FormatoImporto(1234567.891);
    const std::string tasso = FormatoTasso(0.0123456);
    const double letto = PulisciNumero("1.234,56");
    std::setlocale(LC_NUMERIC, vecchio.c_str());
    std::locale::global(prima);
    QCOMPARE(importo, std::string("1.234.567,89"));
    QCOMPARE(tasso, std::string("1,235%"));
    QCOMPARE(letto, 1234.56);
}

void TestNumeri::interi16Arrotondano()
{
    QCOMPARE(Intero16(2.5), std::int16_t(2));
    QCOMPARE(Intero16(3.5), std::int16_t(4));
    QCOMPARE(Intero16(-2.5), std::int16_t(-2));
    QCOMPARE(Intero16(-3.5), std::int16_t(-4));
    QCOMPARE(Intero16(2.4999999), std::int16_t(2));
    QCOMPARE(Intero16(2.5000001), std::int16_t(3));
    QCOMPARE(Intero16(-0.4), std::int16_t(0));
    QCOMPARE(Intero16(32767.4), std::int16_t(32767));
    QCOMPARE(Intero16(-32768.5), std::int16_t(-32768));
    QCOMPARE(Intero16(-32768.0), std::int16_t(-32768));
}

void TestNumeri::interi16FuoriIntervallo()
{
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, Intero16(32767.5));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, Intero16(32768));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, Intero16(-32768.6));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, Intero16(1e300));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, Intero16(std::numeric_limits<double>::infinity()));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, Intero16(std::nan("")));
}

QTEST_APPLESS_MAIN(TestNumeri)
#include "test_numeri.moc"
