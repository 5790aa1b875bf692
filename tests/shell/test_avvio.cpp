// Start-up without windows: the command line, the choice of the archive
// folder, a calculation file given by path.
#include "Archivio.h"
#include "Avvio.h"

#include <QDir>
#include <QTest>

class TestAvvio : public QObject {
    Q_OBJECT

private slots:
    void rigaComando_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("atteso");  // aiuto|versione|archivio|file|errore?
        QTest::newRow("niente") << QStringList() << "0|0|||0";
        QTest::newRow("archivio e file") << QStringList{"x.ccc", "--archivio", "/a b"} << "0|0|/a b|x.ccc|0";
        QTest::newRow("dopo --") << QStringList{"--", "-h.ccc"} << "0|0||-h.ccc|0";
        QTest::newRow("versione") << QStringList{"-v"} << "0|1|||0";
        QTest::newRow("aiuto vince l'errore") << QStringList{"--nulla", "--help"} << "1|0|||1";
        QTest::newRow("archivio senza cartella") << QStringList{"--archivio"} << "0|0|||1";
        QTest::newRow("archivio vuoto") << QStringList{"--archivio="} << "0|0|||1";
        QTest::newRow("due file") << QStringList{"a.ccc", "b.ccc"} << "0|0|||1";
    }
    void rigaComando()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(QString, atteso);
        const RigaComando r = LeggiRigaComando(QStringList{"zelvi-teg"} + argomenti);
        const QString visto = QStringList{QString::number(r.aiuto), QString::number(r.versione), r.archivio,
                                          r.errore.isEmpty() ? r.file : QString(),
                                          QString::number(!r.errore.isEmpty())}
                                  .join('|');
        QCOMPARE(visto, atteso);
    }

    void sceltaArchivio_data()
    {
        QTest::addColumn<bool>("scrivibile");
        QTest::addColumn<bool>("installato");
        QTest::addColumn<QString>("opzione");
        QTest::addColumn<QString>("atteso");
        const QString qui = QDir::currentPath();
        QTest::newRow("cartella di compilazione") << true << false << "" << "/prog/Archivio";
        QTest::newRow("cartella di sola lettura") << false << false << "" << "/casa/Archivio";
        QTest::newRow("installato, anche per root") << true << true << "" << "/casa/Archivio";
        QTest::newRow("opzione") << false << true << "/altro/./qui/" << "/altro/qui";
        QTest::newRow("opzione relativa") << true << false << "conti" << qui + "/conti";
    }
    void sceltaArchivio()
    {
        QFETCH(bool, scrivibile);
        QFETCH(bool, installato);
        QFETCH(QString, opzione);
        QFETCH(QString, atteso);
        QCOMPARE(ScegliArchivio("/prog", scrivibile, installato, "/casa", opzione), atteso);
    }

    void percorsoConteggio_data()
    {
        QTest::addColumn<QString>("percorso");
        QTest::addColumn<QString>("atteso");  // cartella|nome, empty when refused
        QTest::newRow("assoluto") << "/a/b/../c/Rossi 2.ccc" << "/a/c|Rossi 2";
        QTest::newRow("relativo") << "conti/Bianchi.ccc" << QDir::currentPath() + "/conti|Bianchi";
        QTest::newRow("maiuscole") << "/a/Rossi.CCC" << "";
        QTest::newRow("solo estensione") << "/a/.ccc" << "";
    }
    void percorsoConteggio()
    {
        QFETCH(QString, percorso);
        QFETCH(QString, atteso);
        QString visto;
        try {
            const FileConteggio f = DividiPercorso(percorso);
            visto = f.cartella + '|' + f.nome;
        } catch (const ErroreConteggio&) {
        }
        QCOMPARE(visto, atteso);
    }
};

QTEST_GUILESS_MAIN(TestAvvio)
#include "test_avvio.moc"
