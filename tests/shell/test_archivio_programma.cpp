// The main window with real calculation files: start-up on the example,
// saving, "Salva ed esci", loads that fail, the manual, a file named on the
// command line, the installed layout.
#include "AperturaEsterna.h"
#include "Archivio.h"
#include "Dichiarazioni.h"
#include "Mainform.h"
#include "Messaggi.h"
#include "frmNuovoPiano.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
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

    void Avvia(const RigaComando& riga = {}, const QString& programma = {})
    {
        m_ = std::make_unique<Mainform>();
        m_->ImpostaCartellaProgramma(programma.isEmpty() ? cartella_.path() : programma);
        m_->Avvia(riga);
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
            QVERIFY2(!ConteggioModificato(), chiave);
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

    // "Salva con nome…" from the menu: the copy, with the changes, becomes
    // the open calculation; the title follows; the first file keeps its figures.
    void salvaConNome()
    {
        PreparaEsempio();
        Avvia();
        Conteggio.MutuoCorrente().setImporto(7);
        QTRY_VERIFY(m_->isWindowModified());
        A("mnuSalvaConNome")->trigger();
        frmNuovoPiano* d = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* n = qobject_cast<frmNuovoPiano*>(w); n && n->isVisible())
                d = n;
        QVERIFY(d && !m_->isEnabled());
        QCOMPARE(d->windowTitle(), QStringLiteral("Salva con nome"));
        d->XPText1()->setText(QStringLiteral("Esempio 2"));
        d->XPButton1()->click();
        QCOMPARE(Conteggio.NomeConteggio(), std::string("Esempio 2"));
        QTRY_COMPARE(m_->windowTitle(), QStringLiteral("Esempio 2[*] - Zelvi T.E.G."));
        QVERIFY(!m_->isWindowModified() && m_->isEnabled());
        CaricaConteggio(Archivio(), QStringLiteral("Esempio"));
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 100000.0);
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

    // A file named on the command line opens where it is and is saved there;
    // one in the archive stays an archive calculation.
    void fileDallaRigaDiComando()
    {
        PreparaEsempio();
        const QString altrove = cartella_.path() + "/Documenti";
        QDir(altrove).removeRecursively();
        QVERIFY(QDir().mkpath(altrove));
        CreaConteggio(altrove, "Rossi");
        RigaComando riga;
        riga.file = altrove + "/Rossi.ccc";
        Avvia(riga);
        QCOMPARE(Messaggi(), QStringList());
        QCOMPARE(DatabaseCorrente(), riga.file);
        QTRY_VERIFY(m_->findChild<QLabel*>("Panel2")->text().contains("Documenti"));
        Conteggio.MutuoCorrente().setImporto(4321);
        A("mnuSalva")->trigger();
        QCOMPARE(Messaggi(), QStringList());
        QVERIFY(!QFile::exists(PercorsoConteggio(Archivio(), "Rossi")));
        CaricaConteggio(altrove, "Rossi");
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 4321.0);

        // Saved under a new name, the copy is in the archive and is saved there,
        // never into a file of that name beside the first one.
        CreaConteggio(altrove, "Rossi 2");
        const auto contenuto = [](const QString& percorso) {
            QFile f(percorso);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray estraneo = contenuto(altrove + "/Rossi 2.ccc");
        A("mnuSalvaConNome")->trigger();
        frmNuovoPiano* d = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* n = qobject_cast<frmNuovoPiano*>(w); n && n->isVisible())
                d = n;
        QVERIFY(d);
        d->XPText1()->setText(QStringLiteral("Rossi 2"));
        d->XPButton1()->click();
        Conteggio.MutuoCorrente().setImporto(999);
        A("mnuSalva")->trigger();
        QCOMPARE(Messaggi(), QStringList());
        QCOMPARE(DatabaseCorrente(), PercorsoConteggio(Archivio(), "Rossi 2"));
        QCOMPARE(contenuto(altrove + "/Rossi 2.ccc"), estraneo);

        QVERIFY(m_->ApriFile(Archivio() + "/../Archivio/Esempio.ccc"));
        QCOMPARE(m_->CartellaConteggio(), Archivio());
        QTRY_COMPARE(m_->findChild<QLabel*>("Panel2")->text(), QStringLiteral("Esempio"));
    }

    // A damaged file named on the command line says so; the example opens.
    void fileDallaRigaDiComandoGuasto()
    {
        PreparaEsempio();
        QFile guasto(cartella_.path() + "/Guasto.ccc");
        QVERIFY(guasto.open(QIODevice::WriteOnly));
        guasto.write("non un database");
        guasto.close();
        RigaComando riga;
        riga.file = guasto.fileName();
        Avvia(riga);
        const QStringList m = Messaggi();
        QVERIFY(m.size() == 1 && m[0].contains("Guasto"));
        QCOMPARE(DatabaseCorrente(), PercorsoConteggio(Archivio(), "Esempio"));
    }

    // Installed (bin/ beside share/zelvi-teg/), the archive goes to the
    // user's data folder with a copy of the read-only example that the user
    // can save into; the manual is the installed one.
    void installato()
    {
        PreparaEsempio();
        const QString usr = cartella_.path() + "/usr", dati = usr + "/share/zelvi-teg";
        QVERIFY(QDir().mkpath(usr + "/bin") && QDir().mkpath(dati + "/Archivio") && QDir().mkpath(dati + "/help"));
        QVERIFY(QFile::copy(PercorsoConteggio(Archivio(), "Esempio"), dati + "/Archivio/Esempio.ccc"));
        QVERIFY(QFile::setPermissions(dati + "/Archivio/Esempio.ccc", QFileDevice::ReadOwner | QFileDevice::ReadOther));
        QFile pdf(dati + "/help/manuale.pdf");
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.close();
        qputenv("XDG_DATA_HOME", (cartella_.path() + "/casa").toLocal8Bit());
        const QString personale =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/Archivio";
        QVERIFY(personale.startsWith(cartella_.path() + "/casa/"));

        Avvia({}, usr + "/bin");
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(Messaggi(), QStringList());
        QCOMPARE(DatabaseCorrente(), PercorsoConteggio(personale, "Esempio"));
        QCOMPARE(Conteggio.MutuoCorrente().Importo(), 100000.0);
        A("mnuSalva")->trigger();
        QCOMPARE(Messaggi(), QStringList());
        ApreUrl apre;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &apre, "apri");
        ImpostaControlloApertura([](const QString&) { return true; });
        m_->EseguiComando(QStringLiteral("guida"));
        ImpostaControlloApertura({});
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(apre.aperti, QList<QUrl>({QUrl::fromLocalFile(pdf.fileName())}));
    }
};

QTEST_MAIN(TestArchivioProgramma)
#include "test_archivio_programma.moc"
