// The main window with real calculation files: start-up on the example,
// saving, "Salva ed esci", loads that fail, the manual, a file named on the
// command line, the installed layout.
#include "AperturaEsterna.h"
#include "Archivio.h"
#include "ConteggioAperto.h"
#include "Dichiarazioni.h"
#include "Esportazione.h"
#include "Finestre.h"
#include "Mainform.h"
#include "Messaggi.h"
#include "PaginaSoglia.h"
#include "Pagine.h"
#include "PagineFinanziamenti.h"
#include "RapportoSoglia.h"
#include "SoglieInUso.h"
#include "Stampanti.h"
#include "frmNuovoPiano.h"
#include "modCopia.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
        ConteggioAperto c;
        c.Carica(Archivio(), QStringLiteral("Esempio"));
        c.Doc().MutuoCorrente().setImporto(100000);
        c.Doc().Trimestri(2).setNumeri(1234567.25);
        c.Doc().BreveCorrente().setDescrizione("Anticipo fatture");
        c.Doc().BreveCorrente().setFinanziato(10000);
        c.Doc().Operazioni().setImporto(3, 2500);
        c.Salva();
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
    }

    void cleanup()
    {
        m_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ImpostaRisponditore({});
    }

    void avvioSenzaArchivio()
    {
        Avvia();
        QVERIFY(QDir(Archivio()).exists());
        const QStringList m = Messaggi();
        QCOMPARE(m.size(), 1);
        QVERIFY(m[0].contains("Esempio"));
        QVERIFY(m_->Conteggio().Doc().NomeConteggio().empty());
        QVERIFY(!A("mnuSalva")->isEnabled());
        QVERIFY(m_->isEnabled());
    }

    void avvioSullEsempio()
    {
        PreparaEsempio();
        Avvia();
        QCOMPARE(Messaggi(), QStringList());
        QCOMPARE(m_->Conteggio().Doc().NomeConteggio(), std::string("Esempio"));
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 100000.0);
        QCOMPARE(m_->Conteggio().Doc().Trimestri(2).Numeri(), 1234567.25);
        QCOMPARE(m_->Conteggio().Doc().Trimestri(2).Trimestre(), 2);
        QCOMPARE(m_->FinestraCorrente(), QStringLiteral("frmTitolo"));
        QVERIFY(A("mnuSalva")->isEnabled() && A("mnuTabella")->isEnabled());
        QCOMPARE(m_->Conteggio().File(), PercorsoConteggio(Archivio(), "Esempio"));
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
        QVERIFY(m_->Conteggio().Doc().NomeConteggio().empty());
        QVERIFY(m_->isEnabled() && m_->isVisible());
    }

    // A failed load keeps the calculation that was open, and says so.
    // An updated threshold series in the archive that cannot be read is told
    // at start-up, not only under the verdicts' table.
    void soglieIllegibiliAllAvvio()
    {
        PreparaEsempio();
        QFile f(Archivio() + "/" + NomeFileSoglie);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("non una serie di soglie\n");
        f.close();
        Avvia();
        const QStringList m = Messaggi();
        QVERIFY2(m.size() == 1 && m[0].contains("tassi soglia aggiornati") && m[0].contains(NomeFileSoglie) &&
                     m[0].contains("serie incorporata"),
                 qPrintable(m.join('|')));
        QVERIFY(QFile::remove(f.fileName()));
    }

    void caricamentoFallitoTieneIlConteggio()
    {
        PreparaEsempio();
        Avvia();
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 100000.0);
        m_->ApriFinestra(QStringLiteral("frmMutuo"));
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 100000.0);
        m_->ScaricaFinestre();
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 100000.0);
        QVERIFY(!m_->CaricaConteggio(QStringLiteral("Inesistente")));
        QCOMPARE(Messaggi().size(), 1);
        QVERIFY(m_->FinestraAperta(QStringLiteral("frmTitolo")));
        QCOMPARE(m_->FinestraCorrente(), QStringLiteral("frmTitolo"));
        QCOMPARE(m_->Conteggio().Doc().NomeConteggio(), std::string("Esempio"));
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 100000.0);
        QCOMPARE(m_->Conteggio().File(), PercorsoConteggio(Archivio(), "Esempio"));
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
            QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 100000.0);
            QCOMPARE(m_->Conteggio().Doc().Trimestri(2).Numeri(), 1234567.25);
            QCOMPARE(m_->Conteggio().Doc().BreveCorrente().Finanziato(), 10000.0);
            QCOMPARE(m_->Conteggio().Doc().Operazioni().Importo(3), 2500.0);
            QCOMPARE(m_->Conteggio().Doc().BreveCorrente().Descrizione(), std::string("Anticipo fatture"));
            QVERIFY2(!m_->Conteggio().Modificato(), chiave);
        }
        QCOMPARE(Messaggi(), QStringList());
    }

    // What is typed is saved; a save that fails does not end the program.
    void salvaEdEsci()
    {
        PreparaEsempio();
        Avvia();
        m_->show();
        m_->Conteggio().Doc().MutuoCorrente().setImporto(250000);
        A("mnuSalva")->trigger();
        QCOMPARE(Messaggi(), QStringList());
        m_->Conteggio().Doc().MutuoCorrente().setImporto(1);
        m_->Conteggio().Carica(Archivio(), QStringLiteral("Esempio"));
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 250000.0);

        QVERIFY(QFile::remove(PercorsoConteggio(Archivio(), "Esempio")));
        A("mnuSalvaEsci")->trigger();
        QCOMPARE(Messaggi().size(), 1);
        QVERIFY(m_->isVisible());
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 250000.0);
    }

    // "Salva con nome…" from the menu: the copy, with the changes, becomes
    // the open calculation; the title follows; the first file keeps its figures.
    void salvaConNome()
    {
        PreparaEsempio();
        Avvia();
        // A figure typed into the mortgage window is an unsaved change.
        m_->EseguiComando(QStringLiteral("mutuo"));
        auto* importo = m_->FinestraAperta(QStringLiteral("frmMutuo"))->findChild<QLineEdit*>("XPText1(0)");
        QTest::mouseClick(importo, Qt::LeftButton);
        QTest::keyClick(importo, Qt::Key_7);
        QVERIFY(m_->isWindowModified());
        A("mnuSalvaConNome")->trigger();
        frmNuovoPiano* d = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* n = qobject_cast<frmNuovoPiano*>(w); n && n->isVisible())
                d = n;
        QVERIFY(d && !m_->isEnabled());
        QCOMPARE(d->windowTitle(), QStringLiteral("Salva con nome"));
        d->XPText1()->setText(QStringLiteral("Esempio 2"));
        d->XPButton1()->click();
        QCOMPARE(m_->Conteggio().Doc().NomeConteggio(), std::string("Esempio 2"));
        QTRY_COMPARE(m_->windowTitle(), QStringLiteral("Esempio 2[*] - Zelvi T.E.G."));
        QVERIFY(!m_->isWindowModified() && m_->isEnabled());
        m_->Conteggio().Carica(Archivio(), QStringLiteral("Esempio"));
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 100000.0);
    }

    // Another copy of the program: opening a file it holds asks first (No
    // keeps what was open); saving after the other copy saved says so, keeps
    // its change and offers "Salva con nome…", whose dialog opens on Yes.
    void dueCopieDelProgramma()
    {
        PreparaEsempio();
        CreaConteggio(Archivio(), QStringLiteral("Altro"));
        ConteggioAperto altra;
        altra.Carica(Archivio(), QStringLiteral("Altro"));
        Avvia();
        Messaggi();
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::No; });
        QVERIFY(!m_->ApriFile(PercorsoConteggio(Archivio(), QStringLiteral("Altro"))));
        QCOMPARE(m_->Conteggio().Nome(), QStringLiteral("Esempio"));
        QStringList m = Messaggi();
        QVERIFY2(m.size() == 1 && m[0].contains("\u00abAltro\u00bb è già aperto in un'altra copia"), qPrintable(m.join('|')));

        ConteggioAperto seconda;
        seconda.Carica(Archivio(), QStringLiteral("Esempio"), true);
        seconda.Doc().MutuoCorrente().setRata(77);
        seconda.Salva();
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Yes; });
        m_->show();
        m_->EseguiComando(QStringLiteral("mutuo"));
        auto* rata = m_->FinestraAperta(QStringLiteral("frmMutuo"))->findChild<QLineEdit*>("XPText1(2)");
        QTest::mouseClick(rata, Qt::LeftButton);
        QTest::keyClick(rata, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(rata, Qt::Key_5);
        A("mnuSalva")->trigger();
        m = Messaggi();
        QVERIFY2(m.size() == 1 && m[0].contains("non è stato salvato") && m[0].contains("Salva con nome"),
                 qPrintable(m.join('|')));
        QVERIFY(m_->isWindowModified());
        Documento letto;
        LeggiConteggio(Archivio(), QStringLiteral("Esempio"), letto);
        QCOMPARE(letto.MutuoCorrente().Rata(), 77.0);
        frmNuovoPiano* d = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* n = qobject_cast<frmNuovoPiano*>(w); n && n->isVisible())
                d = n;
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Salva con nome"));
        d->close();
    }

    // Printing shows the wait window and a file chooser over the frame; once
    // the frame is active again, the window printed is still current and in
    // front, and "Copia" and "Esporta CSV…" act on it.
    void stampaLasciaLaFinestraCorrente_data()
    {
        QTest::addColumn<QString>("voce");
        QTest::addColumn<QString>("finestra");
        QTest::newRow("verifica usura") << "mnuUsura" << "frmUsura";
        QTest::newRow("mutuo") << "mnuMutuo" << "frmMutuo";
        QTest::newRow("tabella analitica") << "mnuMatematico" << "frmCalcoli";
    }
    void stampaLasciaLaFinestraCorrente()
    {
        QFETCH(QString, voce);
        QFETCH(QString, finestra);
        PreparaEsempio();
        Avvia();
        Messaggi();
        m_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_.get()));
        QTemporaryDir uscite;
        ImpostaStampanteCorrente(DispositivoPdf);
        ImpostaSceltaFilePdf([&](QWidget* genitore, const QString&) {
            QDialog scelta(genitore);  // a modal chooser, as the system's is
            QTimer::singleShot(50, &scelta, &QDialog::accept);
            scelta.exec();
            return uscite.filePath(QStringLiteral("stampa.pdf"));
        });
        A(qPrintable(voce))->trigger();
        QTest::qWait(50);
        A("mnuStampa")->trigger();
        m_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_.get()));
        QTest::qWait(50);
        QVERIFY(QFileInfo(uscite.filePath(QStringLiteral("stampa.pdf"))).size() > 1000);
        QCOMPARE(m_->FinestraCorrente(), finestra);
        QMdiSubWindow* sub = m_->AreaFinestre()->activeSubWindow();
        QVERIFY(sub && sub->widget()->objectName() == finestra);
        QCOMPARE(m_->AreaFinestre()->subWindowList(QMdiArea::StackingOrder).last(), sub);
        QGuiApplication::clipboard()->clear();
        A("mnuCopia")->trigger();
        QVERIFY(!QGuiApplication::clipboard()->text().isEmpty());
        QString esportato;
        ImpostaSceltaFileEsportazione([&](QWidget*, const QString& proposto, FormatoEsportazione) {
            esportato = proposto;
            return QString();
        });
        A("mnuEsportaCSV")->trigger();
        QVERIFY(!esportato.isEmpty());
        QCOMPARE(Messaggi(), QStringList());
        ImpostaSceltaFilePdf({});
        ImpostaSceltaFileEsportazione({});
    }

    // Typing into a field marks the title at once, before the field is left;
    // moving through the fields does not; saving and loading clear the mark.
    void modificheDigitate_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<QString>("finestra");
        QTest::addColumn<QString>("campo");
        QTest::newRow("conto") << "cc" << "frmBox" << "XPText2(1)";
        QTest::newRow("descrizione conto") << "cc" << "frmBox" << "XPText20";
        QTest::newRow("mutuo") << "mutuo" << "frmMutuo" << "XPText1(2)";
        QTest::newRow("operazioni") << "altro" << "frmOPE" << "XPText1(4)";
        QTest::newRow("breve") << "breve" << "frmBreve" << "XPText2";
    }
    void modificheDigitate()
    {
        QFETCH(QString, comando);
        QFETCH(QString, finestra);
        QFETCH(QString, campo);
        PreparaEsempio();
        Avvia();
        m_->show();
        for (int volta = 0; volta < 2; ++volta) {
            m_->EseguiComando(comando);
            auto* c = m_->FinestraAperta(finestra)->findChild<QLineEdit*>(campo);
            QVERIFY(c);
            QTest::mouseClick(c, Qt::LeftButton);
            QTest::keyClick(c, Qt::Key_Tab);
            QTest::mouseClick(c, Qt::LeftButton);
            QVERIFY(!m_->isWindowModified());
            // The whole amount replaced: "5" typed inside it would not be an amount.
            QTest::keyClick(c, Qt::Key_A, Qt::ControlModifier);
            QVERIFY(!m_->isWindowModified());
            QTest::keyClick(c, Qt::Key_5);
            QVERIFY(m_->isWindowModified());
            QCOMPARE(m_->windowTitle(), QStringLiteral("Esempio[*] - Zelvi T.E.G."));
            if (volta == 0)
                A("mnuSalva")->trigger();
            else
                QVERIFY(m_->CaricaConteggio(QStringLiteral("Esempio")));
            QVERIFY(!m_->isWindowModified());
        }
        QCOMPARE(Messaggi(), QStringList());
    }

    // A choice of the usury check is an edit too.
    void sceltaDellaVerifica()
    {
        PreparaEsempio();
        Avvia();
        m_->show();
        m_->EseguiComando(QStringLiteral("usura"));
        auto* w = m_->FinestraAperta(QStringLiteral("frmUsura"));
        auto* categoria = w->findChildren<QComboBox*>().value(0);
        QVERIFY(categoria && !m_->isWindowModified());
        categoria->setFocus();
        QTest::keyClick(categoria, Qt::Key_Down);
        QVERIFY(m_->isWindowModified());
    }

    // Each window's copy and report come from its own page, whatever the
    // document holds; the title window and unknown names have none.
    void usciteDelleFinestre()
    {
        PreparaEsempio();
        Avvia();
        Documento& d = m_->Conteggio().Doc();
        const struct {
            const char* comando;
            const char* finestra;
            std::function<QString()> copia;
            QString descrizione;
        } righe[] = {
            {"cc", "frmBox", [&] { return CopiaInput(PaginaInput(d)); }, {}},
            {"mutuo", "frmMutuo", [&] { return CopiaMutuo(PaginaMutuo(d.MutuoCorrente())); }, {}},
            {"altro", "frmOPE", [&] { return CopiaOPE(PaginaOPE(d.Operazioni())); }, {}},
            {"breve", "frmBreve", [&] { return CopiaBreve(PaginaBreve(d.BreveCorrente())); }, "Anticipo fatture"},
            {"matematico", "frmCalcoli", [&] { QString e; return CopiaMatematico(PaginaMatematico(d, e)); }, {}},
            {"italia", "frmItalia", [&] { QString e; return CopiaItalia(PaginaItalia(d, e)); }, {}},
            {"usura", "frmUsura", [&] { return CopiaSoglia(PaginaSoglia(d)); }, {}},
        };
        for (const auto& r : righe) {
            m_->EseguiComando(QLatin1String(r.comando));
            QGuiApplication::clipboard()->clear();
            m_->EseguiComando(QStringLiteral("copia"));
            QCOMPARE(QGuiApplication::clipboard()->text(), r.copia());
            Rapporto rapporto;
            QVERIFY(RapportoFinestra(QLatin1String(r.finestra), m_->FinestraAperta(QLatin1String(r.finestra)), rapporto));
            if (!r.descrizione.isEmpty())
                QCOMPARE(rapporto.titolo, QStringLiteral("T.E.G. su ") + r.descrizione);
        }
        QWidget titolo;
        titolo.setObjectName(QStringLiteral("frmTitolo"));
        Rapporto r;
        QString testo;
        for (const QString& nome : {QStringLiteral("frmTitolo"), QString(), QStringLiteral("frmInfo")})
            QVERIFY(!RapportoFinestra(nome, &titolo, r) && !TestoCopiaFinestra(nome, &titolo, testo));
        QVERIFY(!RapportoFinestra(QStringLiteral("frmBreve"), nullptr, r));
        QCOMPARE(Messaggi(), QStringList());
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
        QCOMPARE(m_->Conteggio().File(), riga.file);
        QTRY_VERIFY(m_->findChild<QLabel*>("Panel2")->text().contains("Documenti"));
        m_->Conteggio().Doc().MutuoCorrente().setImporto(4321);
        A("mnuSalva")->trigger();
        QCOMPARE(Messaggi(), QStringList());
        QVERIFY(!QFile::exists(PercorsoConteggio(Archivio(), "Rossi")));
        m_->Conteggio().Carica(altrove, "Rossi");
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 4321.0);

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
        // The user is told where the copy went.
        const QStringList dove = Messaggi();
        QVERIFY2(dove.size() == 1 && dove[0].contains("salvato nell'archivio") &&
                     dove[0].contains(QDir::toNativeSeparators(PercorsoConteggio(Archivio(), "Rossi 2"))),
                 qPrintable(dove.join('|')));
        m_->Conteggio().Doc().MutuoCorrente().setImporto(999);
        A("mnuSalva")->trigger();
        QCOMPARE(Messaggi(), QStringList());
        QCOMPARE(m_->Conteggio().File(), PercorsoConteggio(Archivio(), "Rossi 2"));
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
        QCOMPARE(m_->Conteggio().File(), PercorsoConteggio(Archivio(), "Esempio"));
    }

    // Installed (bin/ beside share/zelvi-teg/), the archive goes to the
    // user's data folder with a copy of the read-only example that the user
    // can save into; the manual is the installed one.
    void installato()
    {
        PreparaEsempio();
        const QString usr = cartella_.path() + "/usr", dati = usr + "/share/zelvi-teg";
        QVERIFY(QDir().mkpath(usr + "/bin") && QDir().mkpath(dati + "/Archivio") && QDir().mkpath(dati + "/help"));
        // Both examples the package ships, read-only.
        for (const char* esempio : {"Esempio", "Esempio movimenti"}) {
            const QString installato = PercorsoConteggio(dati + "/Archivio", esempio);
            QVERIFY(QFile::copy(PercorsoConteggio(Archivio(), "Esempio"), installato));
            QVERIFY(QFile::setPermissions(installato, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        }
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
        QCOMPARE(m_->Conteggio().File(), PercorsoConteggio(personale, "Esempio"));
        QVERIFY(QFileInfo(PercorsoConteggio(personale, "Esempio movimenti")).isWritable());
        QCOMPARE(m_->Conteggio().Doc().MutuoCorrente().Importo(), 100000.0);
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
