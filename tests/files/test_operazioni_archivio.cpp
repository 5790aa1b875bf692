// Unsaved changes, "Salva con nome…", and deleting and duplicating
// calculations from the archive browser, over real archive folders.
#include "Archivio.h"
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "OperazioniArchivio.h"
#include "frmCaricaFile.h"
#include "frmNuovoPiano.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

QByteArray contenuto(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList elenco(const QString& cartella)
{
    return QDir(cartella).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class ProvaOperazioniArchivio : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString a_;  // the archive folder
    QMessageBox::StandardButton risposta_ = QMessageBox::Yes;

    QString P(const char* nome) const { return PercorsoConteggio(a_, QString::fromUtf8(nome)); }

private slots:
    void init()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        a_ = dir_.path() + QStringLiteral("/Archivio");
        QDir(a_).removeRecursively();
        QDir().mkpath(a_);
        ImpostaRisponditore([this](const QString&, QMessageBox::StandardButtons) { return risposta_; });
        risposta_ = QMessageBox::Yes;
        CreaConteggio(a_, "Rossi");
        CreaConteggio(a_, "Bianchi");
        CaricaConteggio(a_, "Rossi");
    }

    void cleanup()
    {
        RilasciaDatabaseCorrente();
        ImpostaRisponditore({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Changes count until saved or undone, whatever field they touch; a
    // load or a save starts afresh.
    void modifiche()
    {
        QVERIFY(!ConteggioModificato());
        Conteggio.Operazioni().setImporto(7, 1500);
        QVERIFY(ConteggioModificato());
        Conteggio.Operazioni().setImporto(7, 0);
        QVERIFY(!ConteggioModificato());
        Conteggio.BreveCorrente().setDescrizione("Anticipo");
        QVERIFY(ConteggioModificato());
        SalvaConteggio(a_);
        QVERIFY(!ConteggioModificato());
        Conteggio.setAnnoRiferimento(2024);
        CaricaConteggio(a_, "Bianchi");
        QVERIFY(!ConteggioModificato());
        Conteggio.setNomeConteggio({});
        Conteggio.setAnnoRiferimento(2020);
        QVERIFY(!ConteggioModificato());  // nothing open, nothing to save
    }

    // The copy holds the document as it is now and becomes the open
    // calculation; the file it came from keeps what was saved in it.
    void salvaConNome()
    {
        const QByteArray prima = contenuto(P("Rossi"));
        Conteggio.MutuoCorrente().setImporto(120000);
        SalvaConteggioConNome(a_, "Rossi 2");
        QCOMPARE(Conteggio.NomeConteggio(), std::string("Rossi 2"));
        QCOMPARE(DatabaseCorrente(), P("Rossi 2"));
        QVERIFY(!ConteggioModificato());
        QCOMPARE(contenuto(P("Rossi")), prima);
        CaricaConteggio(a_, "Rossi 2");
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 120000.0);
        QCOMPARE(elenco(a_), QStringList({"Bianchi.ccc", "Rossi 2.ccc", "Rossi.ccc"}));
    }

    // Every refusal says what failed and leaves the folder and the open
    // calculation as they were.
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
        Conteggio.MutuoCorrente().setImporto(5);
        const QStringList prima = elenco(a_);
        const QByteArray bianchi = contenuto(P("Bianchi"));
        try {
            switch (operazione) {
            case 0: SalvaConteggioConNome(a_, nome); break;
            case 1: DuplicaConteggio(a_, "Rossi", nome); break;
            case 2: DuplicaConteggio(a_, nome, "Copia"); break;
            default: EliminaConteggio(a_, nome); break;
            }
            QFAIL("no error");
        } catch (const ErroreConteggio& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(messaggio), e.what());
        }
        QCOMPARE(elenco(a_), prima);
        QCOMPARE(contenuto(P("Bianchi")), bianchi);
        QCOMPARE(Conteggio.NomeConteggio(), std::string("Rossi"));
        QCOMPARE(DatabaseCorrente(), P("Rossi"));
        QVERIFY(ConteggioModificato());
    }

    // A duplicate is the same file under another name; deleting takes the
    // journal an interrupted save may have left, which would otherwise be
    // applied to a later calculation of the same name.
    void duplicaEdElimina()
    {
        DuplicaConteggio(a_, "Bianchi", "Verdi");
        QCOMPARE(contenuto(P("Verdi")), contenuto(P("Bianchi")));
        QFile giornale(P("Verdi") + "-journal");
        QVERIFY(giornale.open(QIODevice::WriteOnly));
        giornale.write("x");
        giornale.close();
        EliminaConteggio(a_, "Verdi");
        QCOMPARE(elenco(a_), QStringList({"Bianchi.ccc", "Rossi.ccc"}));
    }

    // The browser: "Elimina" asks first and never deletes the open
    // calculation; "Duplica" asks a name with the rules of a new one.
    void nelBrowser()
    {
        QWidget principale;
        auto* d = new frmCaricaFile(&principale, a_, [](const QString&) {});
        QTreeWidget* l = d->ListView1();
        QVERIFY(!d->XPButton3()->isEnabled() && !d->XPButton4()->isEnabled());

        l->setCurrentItem(l->topLevelItem(1));  // Rossi, the open one
        d->XPButton4()->click();
        QCOMPARE(MessaggiMostrati().size(), 1);
        QVERIFY(QFile::exists(P("Rossi")));

        l->setCurrentItem(l->topLevelItem(0));  // Bianchi
        risposta_ = QMessageBox::No;
        d->XPButton4()->click();
        QVERIFY(MessaggiMostrati().first().contains("Eliminare il conteggio \u00abBianchi\u00bb?"));
        QVERIFY(QFile::exists(P("Bianchi")));

        d->XPButton3()->click();
        auto* nuovo = d->findChild<frmNuovoPiano*>();
        if (!nuovo)
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* n = qobject_cast<frmNuovoPiano*>(w); n && n->isVisible())
                    nuovo = n;
        QVERIFY(nuovo);
        QCOMPARE(nuovo->XPText1()->text(), QStringLiteral("Bianchi - copia"));
        QVERIFY(!d->isEnabled());
        nuovo->XPText1()->setText("rossi");
        nuovo->XPButton1()->click();  // a name already there, in another case
        QVERIFY(MessaggiMostrati().first().contains("esiste già"));
        nuovo->XPText1()->setText("  Gialli ");
        nuovo->XPButton1()->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(contenuto(P("Gialli")), contenuto(P("Bianchi")));
        QVERIFY(d->isEnabled());
        QCOMPARE(l->currentItem()->text(0), QStringLiteral("Gialli"));

        risposta_ = QMessageBox::Yes;
        d->XPButton4()->click();
        QVERIFY(!QFile::exists(P("Gialli")));
        QCOMPARE(l->topLevelItemCount(), 2);
        delete d;
    }
};

QTEST_MAIN(ProvaOperazioniArchivio)
#include "test_operazioni_archivio.moc"
