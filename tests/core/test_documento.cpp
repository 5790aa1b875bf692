// The calculation document and its defaults.
#include "Dichiarazioni.h"
#include "Funzioni.h"

#include <QtTest>

#include <chrono>
#include <stdexcept>

using namespace std::chrono;

class TestDocumento : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void annoDiRiferimento_data();
    void annoDiRiferimento();
    void valoriIniziali();
    void orologioPredefinito();
    void annoA16Bit();
};

void TestDocumento::cleanup()
{
    OrologioConteggio = nullptr;
}

void TestDocumento::annoDiRiferimento_data()
{
    QTest::addColumn<int>("anno");
    QTest::addColumn<int>("atteso");
    QTest::newRow("2026") << 2026 << 2025;
    QTest::newRow("1981") << 1981 << 1980;
    QTest::newRow("2031") << 2031 << 2030;
    QTest::newRow("1980") << 1980 << 1980;
    QTest::newRow("2032") << 2032 << 1980;
    QTest::newRow("1900") << 1900 << 1980;
}

void TestDocumento::annoDiRiferimento()
{
    QFETCH(int, anno);
    QFETCH(int, atteso);
    OrologioConteggio = [anno] { return sys_days{year{anno} / December / 31}; };
    Documento d;
    d.InizializzaConteggio();
    QCOMPARE(int(d.AnnoRiferimento()), atteso);
}

void TestDocumento::valoriIniziali()
{
    OrologioConteggio = [] { return sys_days{2026y / January / 1}; };
    Documento d;
    // Whatever was there before is replaced by the defaults.
    d.setNomeConteggio("Esempio");
    d.Trimestri(2).setNumeri(5);
    d.Trimestri(3).setTrimestre(1);
    d.Trimestri(4).setAccordato(7);
    d.MutuoCorrente().setNRate(360);
    d.Operazioni().setSegno(4, 1);
    d.BreveCorrente().setRestituito(3);
    d.InizializzaConteggio();

    QVERIFY(d.NomeConteggio().empty());
    for (int q = 1; q <= 4; ++q) {
        const BOX& b = d.Trimestri(q);
        QCOMPARE(int(b.Trimestre()), q);
        QCOMPARE(b.Numeri(), 0.0);
        QCOMPARE(b.Descrizione(), std::string(q == 1 ? "Inserire descrizione" : ""));
    }
    // The granted line is not a default of the initialisation.
    QCOMPARE(d.Trimestri(4).Accordato(), 7.0);

    const Mutuo& m = d.MutuoCorrente();
    QCOMPARE(m.NRate(), 1.0);
    QCOMPARE(m.RateAnnuali(), 12.0);
    QCOMPARE(m.Descrizione(), std::string("Inserire descrizione"));
    const OPE& o = d.Operazioni();
    for (int r = 1; r <= OPE::Righe; ++r) {
        QCOMPARE(o.Anno(r), 2010);
        QCOMPARE(o.Mese(r), 1);
        QCOMPARE(o.Segno(r), std::int16_t(-1));
        QCOMPARE(o.Importo(r), 0.0);
    }
    const BREVE& b = d.BreveCorrente();
    QCOMPARE(b.Data0(), sys_days{2010y / January / 1});
    QCOMPARE(b.Data1(), sys_days{2010y / January / 1});
    QCOMPARE(b.Restituito(), 0.0);

    // The defaults compute: mortgage and operations 0, short-term the marker.
    d.MutuoCorrente().Aggiorna();
    QCOMPARE(d.MutuoCorrente().TEGannuale(), 0.0);
    d.Operazioni().Aggiorna();
    QCOMPARE(d.Operazioni().TEG(), 0.0);
    d.BreveCorrente().Aggiorna();
    QCOMPARE(d.BreveCorrente().TEG(), DatiIncoerenti);
    for (int q = 1; q <= 4; ++q) {
        d.Trimestri(q).Aggiorna();
        QCOMPARE(d.Trimestri(q).TEG(), 0.0);
    }
}

void TestDocumento::orologioPredefinito()
{
    // Without a replacement the document reads today's local date.
    const auto adesso = std::time(nullptr);
    std::tm oggi{};
    localtime_r(&adesso, &oggi);
    const int anno = oggi.tm_year + 1900 - 1;
    OrologioConteggio = nullptr;
    Documento d;
    d.InizializzaConteggio();
    QCOMPARE(int(d.AnnoRiferimento()), (anno >= 1980 && anno <= 2030) ? anno : 1980);
}

void TestDocumento::annoA16Bit()
{
    Documento d;
    d.setAnnoRiferimento(2024.5);
    QCOMPARE(int(d.AnnoRiferimento()), 2024);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, d.setAnnoRiferimento(40000));
    QCOMPARE(int(d.AnnoRiferimento()), 2024);
    // The quarters count the year of their own document, a copy's its own.
    Documento altro = d;
    altro.setAnnoRiferimento(2023);
    d.Trimestri(1).setNumeri(91000);
    d.Trimestri(1).setInteressi(1);
    d.Trimestri(1).Aggiorna();
    altro.Trimestri(1).setNumeri(90000);
    altro.Trimestri(1).setInteressi(1);
    altro.Trimestri(1).Aggiorna();
    QCOMPARE(d.Trimestri(1).DebitoMedioPerValuta(), 1000.0);
    QCOMPARE(altro.Trimestri(1).DebitoMedioPerValuta(), 1000.0);
}

QTEST_APPLESS_MAIN(TestDocumento)
#include "test_documento.moc"
