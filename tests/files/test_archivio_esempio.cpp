// The example calculation the build puts into the runnable folder: it lists
// with its four descriptions, loads, holds the example figures and gives a
// rate for each calculation.
#include "Archivio.h"
#include "ConteggioAperto.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "PaginaSoglia.h"
#include "SoglieInUso.h"

#include <QFileInfo>
#include <algorithm>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono;

class TestArchivioEsempio : public QObject {
    Q_OBJECT

    ConteggioAperto conteggio_;

    QString archivio_;

private slots:
    void initTestCase()
    {
        archivio_ = qEnvironmentVariable("ZELVI_APP_DIR") + QStringLiteral("/Archivio");
        if (!QFileInfo::exists(PercorsoConteggio(archivio_, "Esempio")))
            QFAIL(qPrintable("Esempio.ccc missing in " + archivio_ + " (build the target esempio)"));
    }

    void cleanup() { conteggio_.Chiudi(); }

    void elenco()
    {
        const QList<VoceArchivio> e = ElencoArchivio(archivio_);
        const auto it = std::find_if(e.begin(), e.end(), [](const VoceArchivio& v) { return v.nome == "Esempio"; });
        QVERIFY(it != e.end());
        QVERIFY(it->leggibile);
        QVERIFY(it->contoCorrente.startsWith("Conto corrente"));
        QVERIFY(it->mutuo.startsWith("Mutuo"));
        QVERIFY(it->varie.startsWith("Prestito"));
        QVERIFY(it->breve.startsWith("Anticipo"));
    }

    void figureETassi()
    {
        conteggio_.Doc().InizializzaConteggio();
        conteggio_.Carica(archivio_, "Esempio");
        QCOMPARE(conteggio_.Doc().NomeConteggio(), std::string("Esempio"));
        QCOMPARE(conteggio_.Doc().AnnoRiferimento(), 2010);
        QCOMPARE(conteggio_.Doc().Trimestri(1).Numeri(), 9000000.00);
        QCOMPARE(conteggio_.Doc().Trimestri(3).Numeri(), 7300000.55);
        QCOMPARE(conteggio_.Doc().Trimestri(2).Commissioni(), 610.25);
        QCOMPARE(conteggio_.Doc().Trimestri(4).Accordato(), 0.0);
        QCOMPARE(conteggio_.Doc().MutuoCorrente().Importo(), 100000.0);
        QCOMPARE(conteggio_.Doc().MutuoCorrente().NRate(), 120.0);
        QCOMPARE(conteggio_.Doc().BreveCorrente().Data1(), sys_days{year{2010} / April / 1});

        for (int q = 1; q <= 4; ++q) {
            conteggio_.Doc().Trimestri(q).Aggiorna();
            QVERIFY(conteggio_.Doc().Trimestri(q).TEG() > 0.01 && conteggio_.Doc().Trimestri(q).TEG() < 0.5);
        }
        conteggio_.Doc().MutuoCorrente().Aggiorna();
        QVERIFY(conteggio_.Doc().MutuoCorrente().TEGannuale() > 0.03 && conteggio_.Doc().MutuoCorrente().TEGannuale() < 0.06);
        // Ten thousand received and nine monthly payments of 1200.
        conteggio_.Doc().Operazioni().Aggiorna();
        QCOMPARE(QString::fromStdString(FormatoTasso(conteggio_.Doc().Operazioni().TEG())), QStringLiteral("20,555%"));
        conteggio_.Doc().BreveCorrente().Aggiorna();
        QVERIFY(conteggio_.Doc().BreveCorrente().TEG() > 0.05 && conteggio_.Doc().BreveCorrente().TEG() < 0.2);
    }

    // Opened, the example has a verdict for every rate it computes.
    void verdettiDiUsura()
    {
        conteggio_.Carica(archivio_, "Esempio");
        ImpostaCartellaSoglie({});
        const DatiPaginaSoglia d = PaginaSoglia(conteggio_.Doc());
        QCOMPARE(d.righe.size(), std::size_t{19});
        for (const RigaPaginaSoglia& r : d.righe)
            QVERIFY2(r.stato == StatoVerifica::EntroSoglia || r.stato == StatoVerifica::OltreSoglia,
                     qPrintable(r.operazione + ": " + r.esito));
    }

    // A copy of the example saves and loads like any other calculation.
    void copiaSalvabile()
    {
        QTemporaryDir d;
        QVERIFY(QFile::copy(PercorsoConteggio(archivio_, "Esempio"), PercorsoConteggio(d.path(), "Esempio")));
        conteggio_.Carica(d.path(), "Esempio");
        conteggio_.Doc().MutuoCorrente().setRata(1001.5);
        conteggio_.Salva();
        conteggio_.Doc().MutuoCorrente().setRata(0);
        conteggio_.Carica(d.path(), "Esempio");
        QCOMPARE(conteggio_.Doc().MutuoCorrente().Rata(), 1001.5);
        QCOMPARE(conteggio_.Doc().Trimestri(3).Numeri(), 7300000.55);
    }
};

QTEST_GUILESS_MAIN(TestArchivioEsempio)
#include "test_archivio_esempio.moc"
