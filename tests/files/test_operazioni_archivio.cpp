// Unsaved changes, "Salva con nome…", and deleting and duplicating
// calculations from the archive browser, over a real archive folder.
#include "Archivio.h"
#include "ConteggioAperto.h"
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "OperazioniArchivio.h"
#include "frmCaricaFile.h"
#include "frmNuovoPiano.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

class ProvaOperazioniArchivio : public QObject {
    Q_OBJECT

    ConteggioAperto conteggio_;

    QTemporaryDir a_;
    QMessageBox::StandardButton risposta_ = QMessageBox::Yes;

    QString P(const QString& nome) const { return PercorsoConteggio(a_.path(), nome); }
    QByteArray Byte(const QString& nome) const
    {
        QFile f(P(nome));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList Elenco() const { return QDir(a_.path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void init()
    {
        for (const QString& f : Elenco())
            QFile::remove(a_.filePath(f));
        ImpostaRisponditore([this](const QString&, QMessageBox::StandardButtons) { return risposta_; });
        risposta_ = QMessageBox::Yes;
        CreaConteggio(a_.path(), "Rossi");
        CreaConteggio(a_.path(), "Bianchi");
        conteggio_.Carica(a_.path(), "Rossi");
    }
    void cleanup() { conteggio_.Chiudi(); }

    // The edits reported count until the calculation is saved or loaded
    // again, whatever field they touch; the state says when it changes.
    void modifiche()
    {
        QSignalSpy stato(&conteggio_, &ConteggioAperto::ModificatoCambiato);
        QVERIFY(!conteggio_.Modificato());
        conteggio_.Doc().Operazioni().setImporto(7, 1500);
        conteggio_.SegnaModifica();
        conteggio_.SegnaModifica();
        QVERIFY(conteggio_.Modificato());
        conteggio_.Salva();
        QVERIFY(!conteggio_.Modificato());
        conteggio_.Doc().BreveCorrente().setDescrizione("Anticipo");
        conteggio_.SegnaModifica();
        conteggio_.Carica(a_.path(), "Rossi");
        QVERIFY(!conteggio_.Modificato());
        QCOMPARE(conteggio_.Doc().Operazioni().Importo(7), 1500.0);
        QCOMPARE(conteggio_.Doc().BreveCorrente().Descrizione(), std::string("Inserire descrizione"));
        QCOMPARE(stato.size(), 4);
        QCOMPARE(stato.at(0).at(0).toBool(), true);
        QCOMPARE(stato.at(3).at(0).toBool(), false);
    }

    // Every refusal says what failed and leaves the folder, the other file
    // and the open calculation, unsaved changes included, as they were.
    void rifiuti_data()
    {
        QTest::addColumn<int>("operazione");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("salva sopra un altro") << 0 << "Bianchi" << "esiste già";
        QTest::newRow("salva nome non valido") << 0 << "a/b" << "non è valido";
        QTest::newRow("duplica sopra un altro") << 1 << "Bianchi" << "esiste già";
        QTest::newRow("duplica un mancante") << 2 << "Nessuno" << "non esiste più";
        QTest::newRow("elimina l'aperto") << 3 << "Rossi" << "è il conteggio aperto";
        QTest::newRow("elimina un mancante") << 3 << "Nessuno" << "non esiste più";
    }
    void rifiuti()
    {
        QFETCH(int, operazione);
        QFETCH(QString, nome);
        QFETCH(QString, messaggio);
        conteggio_.Doc().MutuoCorrente().setImporto(5);
        conteggio_.SegnaModifica();
        const QStringList prima = Elenco();
        const QByteArray bianchi = Byte("Bianchi");
        try {
            switch (operazione) {
            case 0: conteggio_.SalvaConNome(a_.path(), nome); break;
            case 1: DuplicaConteggio(a_.path(), "Rossi", nome); break;
            case 2: DuplicaConteggio(a_.path(), nome, "Copia"); break;
            default: EliminaConteggio(a_.path(), nome, conteggio_.File()); break;
            }
            QFAIL("no error");
        } catch (const ErroreConteggio& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(messaggio), e.what());
        }
        QCOMPARE(Elenco(), prima);
        QCOMPARE(Byte("Bianchi"), bianchi);
        QCOMPARE(conteggio_.File(), P("Rossi"));
        QVERIFY(conteggio_.Modificato());
    }

    // The browser: "Duplica" asks a name with the rules of a new
    // calculation and copies the file; "Elimina" asks first, takes the
    // journal an interrupted save may have left (it would be applied to a
    // later file of that name), and refuses the open calculation.
    void nelBrowser()
    {
        QWidget principale;
        auto* d = new frmCaricaFile(&principale, a_.path(), [](const QString&) {}, conteggio_.File());
        QTreeWidget* l = d->ListView1();
        l->setCurrentItem(l->topLevelItem(0));  // Bianchi
        d->XPButton3()->click();
        frmNuovoPiano* nuovo = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* n = qobject_cast<frmNuovoPiano*>(w); n && n->isVisible())
                nuovo = n;
        QVERIFY(nuovo && !d->isEnabled());
        QCOMPARE(nuovo->XPText1()->text(), QStringLiteral("Bianchi - copia"));
        nuovo->XPText1()->setText("rossi");
        nuovo->XPButton1()->click();
        QVERIFY(MessaggiMostrati().first().contains("esiste già"));
        nuovo->XPText1()->setText(" Gialli ");
        nuovo->XPButton1()->click();
        QCOMPARE(Byte("Gialli"), Byte("Bianchi"));
        QCOMPARE(l->currentItem()->text(0), QStringLiteral("Gialli"));
        QVERIFY(d->isEnabled());

        QFile giornale(P("Gialli") + "-journal");
        QVERIFY(giornale.open(QIODevice::WriteOnly) && giornale.write("x") == 1);
        giornale.close();
        risposta_ = QMessageBox::No;
        d->XPButton4()->click();
        QVERIFY(MessaggiMostrati().first().contains("Eliminare il conteggio \u00abGialli\u00bb?"));
        risposta_ = QMessageBox::Yes;
        d->XPButton4()->click();
        QCOMPARE(Elenco(), QStringList({"Bianchi.ccc", "Rossi.ccc"}));

        l->setCurrentItem(l->topLevelItem(1));  // Rossi, the open one: not even asked
        d->XPButton4()->click();
        QVERIFY(MessaggiMostrati().last().contains("è quello aperto"));
        QVERIFY(QFile::exists(P("Rossi")));
        delete d;
    }
};

QTEST_MAIN(ProvaOperazioniArchivio)
#include "test_operazioni_archivio.moc"
