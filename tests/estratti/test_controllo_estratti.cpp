// The checks every statement import runs, before anything is added.
#include "AiutiEstratti.h"
#include "ControlloEstratti.h"

#include <QtTest>

#include <functional>
#include <limits>

namespace {

const std::chrono::sys_days Oggi = GG(1, 6, 2023);

Movimento M(std::chrono::sys_days contabile, std::chrono::sys_days valuta, Centesimi importo, std::string descrizione,
            int riga = 0)
{
    Movimento m;
    m.dataContabile = contabile;
    m.dataValuta = valuta;
    m.importo = importo;
    m.descrizione = std::move(descrizione);
    m.riga = riga;
    return m;
}

// 1.000,00 on 31/12/2022, two movements, 3.350,50 on 02/01/2023.
EstrattoConto Sano()
{
    EstrattoConto e;
    e.file = "gennaio.cbi";
    e.iniziale = SaldoDichiarato{GG(31, 12, 2022), 100000, 1};
    e.movimenti = {M(GG(2, 1, 2023), GG(2, 1, 2023), -15000, "BONIFICO", 2),
                   M(GG(2, 1, 2023), GG(30, 12, 2022), 250050, "ACCREDITO", 3)};
    e.finale = SaldoDichiarato{GG(2, 1, 2023), 335050, 4};
    return e;
}

struct Caso {
    const char* nome;
    std::function<void(EstrattoConto&)> cambia;
    const char* atteso;  // part of the message; nullptr = sound
    int riga;
};

const Caso Casi[] = {
    {"sano", [](EstrattoConto&) {}, nullptr, 0},
    {"un centesimo in meno", [](EstrattoConto& e) { e.finale->saldo -= 1; },
     "gennaio.cbi, riga 4: il saldo iniziale 1.000,00 del 31/12/2022 più i movimenti (2.350,50) dà 3.350,50, non il "
     "saldo finale dichiarato 3.350,49 del 02/01/2023.",
     4},
    {"senza saldo finale nulla da quadrare", [](EstrattoConto& e) { e.finale.reset(); e.movimenti.pop_back(); }, nullptr, 0},
    {"primo giorno plausibile", [](EstrattoConto& e) { e.iniziale->data = GG(1, 1, 1990); }, nullptr, 0},
    {"prima del 1990", [](EstrattoConto& e) { e.movimenti[0].dataContabile = e.movimenti[0].dataValuta = GG(31, 12, 1989); },
     "la data contabile 31/12/1989 non è plausibile (ammesse dal 01/01/1990 al 01/06/2023)", 2},
    {"oggi", [](EstrattoConto& e) { e.finale->data = Oggi; }, nullptr, 0},
    {"domani", [](EstrattoConto& e) { e.movimenti[1].dataValuta = Oggi + std::chrono::days{1}; },
     "la data valuta 02/06/2023 non è plausibile", 3},
    {"valuta a un anno esatto", [](EstrattoConto& e) { e.movimenti[0].dataValuta = GG(2, 1, 2022); }, nullptr, 0},
    {"valuta a un anno e un giorno", [](EstrattoConto& e) { e.movimenti[0].dataValuta = GG(1, 1, 2022); },
     "la data valuta 01/01/2022 dista più di un anno dalla data contabile 02/01/2023", 2},
    {"29 febbraio più un anno",
     [](EstrattoConto& e) { e.movimenti[0].dataContabile = GG(29, 2, 2020), e.movimenti[0].dataValuta = GG(28, 2, 2021); },
     nullptr, 0},
    {"29 febbraio più un anno e un giorno",
     [](EstrattoConto& e) { e.movimenti[0].dataContabile = GG(29, 2, 2020), e.movimenti[0].dataValuta = GG(1, 3, 2021); },
     "dista più di un anno", 2},
    {"importo al limite",
     [](EstrattoConto& e) { e.movimenti[0].importo = -ImportoMassimo, e.finale->saldo = 100000 - ImportoMassimo + 250050; },
     nullptr, 0},
    {"importo oltre il limite",
     [](EstrattoConto& e) {
         e.iniziale->saldo = -ImportoMassimo;
         e.movimenti[1].importo = ImportoMassimo + 1;
         e.finale->saldo = -14999;
     },
     "l'importo 10.000.000.000,01 supera il limite di 10.000.000.000,00 euro", 3},
    {"saldo oltre il limite", [](EstrattoConto& e) { e.iniziale->saldo = -ImportoMassimo - 100; },
     "il saldo iniziale -10.000.000.001,00 supera il limite", 1},
    // Far beyond any statement: faults, and no overflow on the way.
    {"importi enormi",
     [](EstrattoConto& e) {
         e.movimenti[0].importo = std::numeric_limits<Centesimi>::max();
         e.movimenti[1].importo = std::numeric_limits<Centesimi>::max();
         e.finale->saldo = std::numeric_limits<Centesimi>::min();
     },
     "il saldo finale -92.233.720.368.547.758,08 supera il limite", 4},
};

} // namespace

class TestControlloEstratti : public QObject {
    Q_OBJECT
private slots:
    void controllaEstratto_data();
    void controllaEstratto();
    void duplicatiContatiNonFusi();
    void duplicatiTraEstrattiSovrapposti();
};

void TestControlloEstratti::controllaEstratto_data()
{
    QTest::addColumn<int>("caso");
    for (int i = 0; i < int(std::size(Casi)); ++i)
        QTest::newRow(Casi[i].nome) << i;
}

void TestControlloEstratti::controllaEstratto()
{
    QFETCH(int, caso);
    EstrattoConto e = Sano();
    Casi[caso].cambia(e);
    const auto difetti = ControllaEstratto(e, Oggi);
    if (!Casi[caso].atteso) {
        for (const auto& d : difetti)
            qWarning("%s", d.Messaggio().c_str());
        QVERIFY(difetti.empty());
        return;
    }
    QVERIFY(!difetti.empty());
    const QString messaggio = QString::fromStdString(difetti.front().Messaggio());
    QVERIFY2(messaggio.contains(QString::fromUtf8(Casi[caso].atteso)), qPrintable(messaggio));
    QCOMPARE(difetti.front().riga, Casi[caso].riga);
    QVERIFY(messaggio.startsWith(QStringLiteral("gennaio.cbi, riga ")));
}

// Two equal fees on one day are two movements: one already present leaves
// the other to add.
void TestControlloEstratti::duplicatiContatiNonFusi()
{
    const Movimento commissione = M(GG(31, 3, 2023), GG(31, 3, 2023), -200, "COMMISSIONE BONIFICO");
    ControlloDuplicati controllo({commissione});
    std::size_t duplicati = 0;
    Movimento altra = commissione;
    altra.descrizione = "  commissione   bonifico ";
    Movimento altraValuta = commissione;
    altraValuta.dataValuta = GG(1, 4, 2023);
    const auto nuovi = controllo.Nuovi({commissione, altra, altraValuta}, duplicati);
    QCOMPARE(duplicati, std::size_t(1));
    QCOMPARE(Righe(nuovi), (QStringList{QStringLiteral("31/03/2023 31/03/2023 -2,00 /   commissione   bonifico  @0"),
                                        QStringLiteral("31/03/2023 01/04/2023 -2,00 / COMMISSIONE BONIFICO @0")}));
}

// Statements of one import that overlap add each movement once.
void TestControlloEstratti::duplicatiTraEstrattiSovrapposti()
{
    const Movimento a = M(GG(2, 1, 2023), GG(2, 1, 2023), -100, "A"), b = M(GG(3, 1, 2023), GG(3, 1, 2023), 200, "B"),
                    c = M(GG(4, 1, 2023), GG(4, 1, 2023), 300, "C");
    ControlloDuplicati controllo({});
    std::size_t duplicati = 0;
    QCOMPARE(controllo.Nuovi({a, b}, duplicati).size(), std::size_t(2));
    QCOMPARE(duplicati, std::size_t(0));
    const auto secondo = controllo.Nuovi({b, c}, duplicati);
    QCOMPARE(duplicati, std::size_t(1));
    QCOMPARE(Righe(secondo), QStringList{Riga(c)});
    QCOMPARE(controllo.Nuovi({a, b, c}, duplicati).size(), std::size_t(0));
    QCOMPARE(duplicati, std::size_t(4));
}

QTEST_APPLESS_MAIN(TestControlloEstratti)
#include "test_controllo_estratti.moc"
