// The main window with real calculation files: start-up on the example,
// saving, "Salva ed esci", loads that fail, the manual.
#include "AperturaEsterna.h"
#include "Archivio.h"
#include "Dichiarazioni.h"
#include "Mainform.h"
#include "Messaggi.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

class ApreUrl : public QObject {
    Q_OBJECT
public:
    QList<QUrl> aperti;
public slots:
    void apri(const QUrl& u) { aperti << u; }
};

class TestArchivioProgramma : public QObject {
    Q_OBJECT

    QTemporaryDir cartella_;
    std::unique_ptr<Mainform> m_;

    QString Archivio() const { return cartella_.path() + QStringLiteral("/Archivio"); }
    QAction* A(const char* nome) { return m_->findChild<QAction*>(QLatin1String(nome)); }

    void Avvia()
    {
        m_ = std::make_unique<Mainform>();
        m_->ImpostaCartellaProgramma(cartella_.path());
        m_->Avvia();
    }

    // The messages shown, less the warning about a small screen.
    static QStringList Messaggi()
    {
        QStringList m = MessaggiMostrati();
        m.removeIf([](const QString& t) { return t.startsWith("La risoluzione dello schermo"); });
        return m;
    }

    // An example file whose figures differ from the defaults.
    void PreparaEsempio()
    {
        QDir().mkpath(Archivio());
        CreaConteggio(Archivio(), QStringLiteral("Esempio"));
        CaricaConteggio(Archivio(), QStringLiteral("Esempio"));
        Conteggio.MutuoCorrente().setImporto(100000);
        Conteggio.Trimestri(2).setNumeri(1234567.25);
        Conteggio.BreveCorrente().setDescrizione("Anticipo fatture");
        Conteggio.BreveCorrente().setFinanziato(10000);
        Conteggio.Operazioni().setImporto(3, 2500);
        SalvaConteggio(Archivio());
        RilasciaDatabaseCorrente();
        InizializzaConteggio();
        Conteggio.setNomeConteggio({});
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(cartella_.isValid());
    }

    void init()
    {
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Yes; });
        QDir(Archivio()).removeRecursively();
        RilasciaDatabaseCorrente();
        InizializzaConteggio();
        Conteggio.setNomeConteggio({});
    }

    void cleanup()
    {
        m_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RilasciaDatabaseCorrente();
        ImpostaRisponditore({});
    }

    void avvioSenzaArchivio()
    {
        Avvia();
        QVERIFY(QDir(Archivio()).exists());
        const QStringList m = Messaggi();
        QCOMPARE(m.size(), 1);
        QVERIFY(m[0].contains("Esempio"));
        QVERIFY(Conteggio.NomeConteggio().empty());
        QVERIFY(!A("mnuSalva")->isEnabled());
        QVERIFY(m_->isEnabled());
    }

    void avvioSullEsempio()
    {
        PreparaEsempio();
        Avvia();
        QCOMPARE(Messaggi(), QStringList());
        QCOMPARE(Conteggio.NomeConteggio(), std::string("Esempio"));
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 100000.0);
        QCOMPARE(Conteggio.Trimestri(2).Numeri(), 1234567.25);
        QCOMPARE(Conteggio.Trimestri(2).Trimestre(), 2);
        QCOMPARE(m_->FinestraCorrente(), QStringLiteral("frmTitolo"));
        QVERIFY(A("mnuSalva")->isEnabled() && A("mnuTabella")->isEnabled());
        QCOMPARE(DatabaseCorrente(), PercorsoConteggio(Archivio(), "Esempio"));
        QTRY_COMPARE(m_->findChild<QLabel*>("Panel2")->text(), QStringLiteral("Esempio"));
    }

    void avvioSuUnEsempioGuasto()
    {
        QDir().mkpath(Archivio());
        QFile f(PercorsoConteggio(Archivio(), "Esempio"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("non un database");
        f.close();
        Avvia();
        const QStringList m = Messaggi();
        QCOMPARE(m.size(), 1);
        QVERIFY(m[0].contains("Esempio"));
        QVERIFY(Conteggio.NomeConteggio().empty());
        QVERIFY(m_->isEnabled() && m_->isVisible());
    }

    // A failed load keeps the calculation that was open, and says so.
    void caricamentoFallitoTieneIlConteggio()
    {
        PreparaEsempio();
        Avvia();
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 100000.0);
        m_->ApriFinestra(QStringLiteral("frmMutuo"));
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 100000.0);
        m_->ScaricaFinestre();
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 100000.0);
        QVERIFY(!m_->CaricaConteggio(QStringLiteral("Inesistente")));
        QCOMPARE(Messaggi().size(), 1);
        QVERIFY(m_->FinestraAperta(QStringLiteral("frmTitolo")));
        QCOMPARE(m_->FinestraCorrente(), QStringLiteral("frmTitolo"));
        QCOMPARE(Conteggio.NomeConteggio(), std::string("Esempio"));
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 100000.0);
        QCOMPARE(DatabaseCorrente(), PercorsoConteggio(Archivio(), "Esempio"));
        QVERIFY(m_->isEnabled());
    }

    // Opening a window shows the document; it does not change it.
    void leFinestreNonCambianoIlDocumento()
    {
        PreparaEsempio();
        Avvia();
        for (const char* chiave : {"cc", "mutuo", "altro", "breve", "matematico", "italia"}) {
            m_->EseguiComando(QLatin1String(chiave));
            QVERIFY2(m_->FinestraFigliaCorrente(), chiave);
            m_->ScaricaFinestre();
            QCOMPARE(Conteggio.MutuoCorrente().Importo(), 100000.0);
            QCOMPARE(Conteggio.Trimestri(2).Numeri(), 1234567.25);
            QCOMPARE(Conteggio.BreveCorrente().Finanziato(), 10000.0);
            QCOMPARE(Conteggio.Operazioni().Importo(3), 2500.0);
            QCOMPARE(Conteggio.BreveCorrente().Descrizione(), std::string("Anticipo fatture"));
        }
        QCOMPARE(Messaggi(), QStringList());
    }

    // What is typed is saved; a save that fails does not end the program.
    void salvaEdEsci()
    {
        PreparaEsempio();
        Avvia();
        m_->show();
        Conteggio.MutuoCorrente().setImporto(250000);
        A("mnuSalva")->trigger();
        QCOMPARE(Messaggi(), QStringList());
        Conteggio.MutuoCorrente().setImporto(1);
        CaricaConteggio(Archivio(), QStringLiteral("Esempio"));
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 250000.0);

        QVERIFY(QFile::remove(PercorsoConteggio(Archivio(), "Esempio")));
        A("mnuSalvaEsci")->trigger();
        QCOMPARE(Messaggi().size(), 1);
        QVERIFY(m_->isVisible());
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 250000.0);
    }

    void manuale()
    {
        ImpostaControlloApertura([](const QString&) { return true; });
        Avvia();
        Messaggi();
        ApreUrl apre;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &apre, "apri");
        m_->EseguiComando(QStringLiteral("guida"));
        QCOMPARE(Messaggi().size(), 1);
        QVERIFY(apre.aperti.isEmpty());

        QDir().mkpath(cartella_.path() + "/help");
        QFile pdf(cartella_.path() + "/help/manuale.pdf");
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.close();
        A("mnuGUida")->trigger();
        QCOMPARE(Messaggi(), QStringList());
        QCOMPARE(apre.aperti, QList<QUrl>({QUrl::fromLocalFile(pdf.fileName())}));

        // With no program for the type nothing is tried, and the user reads
        // where the file is.
        QStringList chiesti;
        ImpostaControlloApertura([&chiesti](const QString& tipo) {
            chiesti << tipo;
            return false;
        });
        A("mnuGUida")->trigger();
        A("mnuArchivio")->trigger();
        QCOMPARE(chiesti, QStringList({"application/pdf", "inode/directory"}));
        const QStringList m = Messaggi();
        QCOMPARE(m.size(), 2);
        QVERIFY2(m[0].contains(QDir::toNativeSeparators(pdf.fileName())), qPrintable(m[0]));
        QVERIFY2(m[1].contains(QDir::toNativeSeparators(Archivio())), qPrintable(m[1]));
        QCOMPARE(apre.aperti.size(), 1);
        ImpostaControlloApertura({});
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    }
};

QTEST_MAIN(TestArchivioProgramma)
#include "test_archivio_programma.moc"
