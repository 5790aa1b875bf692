// The main window: menus and toolbar, enablement, status bar, commands and
// their failures, the child windows inside the frame.
#include "Dichiarazioni.h"
#include "ElencoFile.h"
#include "FinestreProva.h"
#include "Mainform.h"
#include "Messaggi.h"
#include "Twips.h"
#include "frmTitolo.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

// The main window with the commands of the other parts recorded.
class MainformProva : public Mainform {
public:
    QStringList chiamate;
    QString lancia;          // the call that throws
    bool attesaInStampa = false;
    bool abilitataInStampa = true;
    bool modificato = false;

    void Registra(const QString& nome)
    {
        chiamate << nome;
        if (nome == lancia)
            throw std::runtime_error("disco pieno");
    }

protected:
    void NuovoConteggio() override { Registra("NuovoConteggio"); }
    void ApriConteggio() override { Registra("ApriConteggio"); }
    void SalvaConteggio() override
    {
        Registra("SalvaConteggio");
        modificato = false;
    }
    bool ConteggioModificato() const override { return modificato; }
    void ApriManuale() override { Registra("ApriManuale"); }
    void StampaTabella(const QString& f) override
    {
        attesaInStampa = AttesaVisibile();
        abilitataInStampa = isEnabled();
        Registra("StampaTabella " + f);
    }
    void CopiaTabella(const QString& f) override { Registra("CopiaTabella " + f); }
    void ImpostaStampante() override { Registra("ImpostaStampante"); }
    void CaricaEsempio() override { Registra("CaricaEsempio"); }
    void RilasciaDatabase() override { Registra("RilasciaDatabase"); }
};

QStringList Nomi(const QList<QAction*>& azioni)
{
    QStringList l;
    for (QAction* a : azioni)
        l << a->objectName();
    return l;
}

} // namespace

class TestMainform : public QObject {
    Q_OBJECT

    QMessageBox::StandardButton risposta_ = QMessageBox::Yes;
    std::unique_ptr<MainformProva> m_;
    QList<QPointer<FinestraProva>> create_;
    bool paginaLancia_ = false;

    MainformProva& M() { return *m_; }
    QAction* A(const char* nome) { return M().findChild<QAction*>(QLatin1String(nome)); }
    QLabel* Pannello(int n) { return M().findChild<QLabel*>(QStringLiteral("Panel%1").arg(n)); }
    FinestraProva* Aperta(const char* nome)
    {
        return dynamic_cast<FinestraProva*>(M().FinestraAperta(QLatin1String(nome)));
    }
    // Windows closed by a command go once control is back in the event loop.
    void Scorri() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init()
    {
        ImpostaRisponditore([this](const QString&, QMessageBox::StandardButtons) { return risposta_; });
        risposta_ = QMessageBox::Yes;
        paginaLancia_ = false;
        m_ = std::make_unique<MainformProva>();
        M().ImpostaFabbrica([this](const QString& nome) -> FinestraFiglia* {
            static const QStringList note = {"frmBox", "frmCalcoli", "frmItalia",
                                             "frmMutuo", "frmOPE", "frmBreve", "frmUsura",
                                             "frmRiepilogo"};
            if (!note.contains(nome))
                return nullptr;
            auto* w = new FinestraProva(M().Conteggio().Doc(), nome, nome == "frmCalcoli" || nome == "frmItalia",
                                        paginaLancia_);
            create_ << w;
            return w;
        });
        M().Avvia();
        MessaggiMostrati();
    }

    void cleanup()
    {
        m_.reset();
        Scorri();
        ImpostaRisponditore({});
    }

    void avvio()
    {
        MainformProva m;
        m.Conteggio().Doc().Trimestri(3).setTrimestre(0);
        m.Avvia();
        const QRect schermo = m.screen()->geometry();
        const bool piccolo = PixelATwips(schermo.width()) < 15360 || PixelATwips(schermo.height()) < 9000;
        QCOMPARE(MessaggiMostrati().contains(
                     "La risoluzione dello schermo è insufficiente. Potrebbe non essere possibile "
                     "visualizzare alcune funzionalità."),
                 piccolo);
        QCOMPARE(m.chiamate, QStringList({"CaricaEsempio"}));
        QCOMPARE(m.Conteggio().Doc().Trimestri(3).Trimestre(), 3);
        QCOMPARE(m.FinestraCorrente(), QStringLiteral("frmTitolo"));
        QVERIFY(m.isVisible() && m.isEnabled());
        QCOMPARE(m.pos(), m.screen()->availableGeometry().topLeft());
    }

    void menuNellOrdine()
    {
        QCOMPARE(Nomi(M().menuBar()->actions()),
                 QStringList({"mnuFIle", "mnuTabella", "mnuCopiaEsporta", "mnumnuStampa",
                              "mnuGUida", "mnuInformazioni"}));
        QStringList testi;
        for (QAction* a : M().menuBar()->actions())
            testi << a->text().remove('&');
        QCOMPARE(testi, QStringList({"File", "Tabelle", "Copia", "Stampa", "Guida", "Informazioni"}));

        auto voci = [this](const char* menu) {
            QStringList l;
            for (QAction* a : M().findChild<QMenu*>(QLatin1String(menu))->actions())
                l << a->objectName() + (a->isSeparator() ? QString() : ": " + a->text().remove('&'));
            return l;
        };
        QCOMPARE(voci("mnuFIle"),
                 QStringList({"mnuNuovo: Nuovo conteggio", "mnusep3", "mnuapri: Apri conteggio",
                              "mnuArchivio: Apri archivio", "mnuAggiornaSoglie: Aggiorna tassi soglia…", "mnusep55", "mnuSalva: Salva conteggio",
                              "mnuSalvaConNome: Salva con nome…", "mnusepImporta",
                              "mnuImporta: Importa estratto conto…", "mnuAnnullaImportazione: Annulla importazione",
                              "mnusep1", "mnuSalvaEsci: Salva ed esci",
                              "mnuEsci: Esci senza salvare"}));
        QCOMPARE(voci("mnuTabella"),
                 QStringList({"mnucc: T.E.G. su conto corrente", "mnuMovimenti: Movimenti",
                              "mnuCondizioni: Condizioni del conto", "mnuScalare: Scalare",
                              "mnuCalcolaTrimestri: Calcola trimestri dai movimenti\u2026", "mnusepConto",
                              "mnuMutuo: T.E.G. su mutuo",
                              "mnuPiano: Piano di ammortamento", "mnuVarie: T.E.G. su operazioni finanziarie varie",
                              "mnuBreve: T.E.G. su operazioni finanziarie di breve termine",
                              "mnuUsura: Verifica usura", "mnuRiepilogo: Riepilogo pluriennale",
                              "mnuRegole: Regole delle classi", "mnuRicalcolo: Ricalcolo"}));
        QCOMPARE(voci("mnucc"),
                 QStringList({"mnuInput: Dati di input", "mnuMatematico: T.E.G. matematico",
                              "mnuItalia: T.E.G. Banca d'Italia"}));
        QCOMPARE(voci("mnuCopiaEsporta"),
                 QStringList({"mnuCopia: Copia tabella corrente", "mnuEsportaExcel: Esporta in Excel\u2026",
                              "mnuEsportaCSV: Esporta CSV\u2026"}));
        QCOMPARE(voci("mnumnuStampa"),
                 QStringList({"mnuStampa: Stampa tabella corrente",
                              "mnuAnteprima: Anteprima di stampa", "mnuRelazione: Crea relazione PDF\u2026",
                              "mnuStampante: Seleziona dispositivo di stampa"}));
        QCOMPARE(M().windowTitle(), QStringLiteral("Zelvi T.E.G."));
    }

    void toolbarConChiavi()
    {
        auto* barra = M().findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QVERIFY(barra);
        QStringList righe;
        for (QAction* a : barra->actions()) {
            QCOMPARE(a->data().toString(), a->objectName());
            QVERIFY(!a->icon().isNull());
            righe << a->text() + "|" + a->objectName() + "|" + a->toolTip();
        }
        QCOMPARE(righe,
                 QStringList({"Nuovo|nuovo|Nuovo conteggio", "Apri|apri|Apri conteggio",
                              "Salva|salva|Salva conteggio", "Stampa|stampa|Stampa vista attuale",
                              "Copia|copia|Copia tabella attuale", "C/C|cc|T.E.G. su conto corrente",
                              "Movimenti|movimenti|Movimenti del conto",
                              "Mutuo|mutuo|T.E.G. su mutuo",
                              "Brevi|breve|Operazioni finanziarie semplici a breve termine",
                              "Altro|altro|T.E.G. su operazioni finanziarie varie",
                              "Usura|usura|Verifica usura", "Riepilogo|riepilogo|Riepilogo pluriennale",
                              "Ricalcolo|ricalcolo|Ricalcolo del conto", "Guida|guida|Guida", "Informazioni|informazioni|Informazioni"}));
        auto* apri = qobject_cast<QToolButton*>(barra->widgetForAction(barra->actions().at(1)));
        QVERIFY(apri && apri->menu());
        QCOMPARE(apri->popupMode(), QToolButton::MenuButtonPopup);
        QStringList tendina;
        for (QAction* a : apri->menu()->actions())
            tendina << a->text() + "|" + a->data().toString();
        QCOMPARE(tendina, QStringList({"Apri conteggio|apri", "Apri archivio|archivio"}));

        // Each item runs its command once.
        apri->menu()->actions().at(0)->trigger();
        QCOMPARE(M().chiamate, QStringList({"CaricaEsempio", "ApriConteggio"}));
    }

    void abilitazionePrimaEDopoIlCaricamento()
    {
        const char* conConteggio[] = {"mnuTabella", "mnuCopiaEsporta", "mnumnuStampa", "mnuSalva",
                                      "mnuSalvaConNome", "mnuSalvaEsci", "mnuStampa", "salva", "stampa", "copia",
                                      "cc", "mutuo", "breve", "altro", "usura"};
        const char* sempre[] = {"mnuFIle", "mnuNuovo", "mnuapri", "mnuEsci", "mnuGUida",
                                "mnuInformazioni", "nuovo", "apri", "guida", "informazioni"};
        for (const char* n : conConteggio)
            QVERIFY2(!A(n)->isEnabled(), n);
        for (const char* n : sempre)
            QVERIFY2(A(n)->isEnabled(), n);
        QVERIFY(M().isEnabled());
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmTitolo"));

        M().EseguiComando("cc");
        M().DopoCaricamento();
        Scorri();
        for (const char* n : conConteggio)
            QVERIFY2(A(n)->isEnabled(), n);
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmTitolo"));
        QCOMPARE(M().AreaFinestre()->subWindowList().size(), 1);
        QVERIFY(M().FinestraAperta("frmTitolo"));
    }

    void barraDiStato()
    {
        auto* timer = M().findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 100);
        QCOMPARE(Pannello(3)->text(), QDate::currentDate().toString("dd/MM/yyyy"));
        QCOMPARE(Pannello(3)->toolTip(), QStringLiteral("Soglie note fino al 31/12/2026"));
        M().Conteggio().Doc().setNomeConteggio("Prova àè");
        QTRY_COMPARE_WITH_TIMEOUT(Pannello(2)->text(), QStringLiteral("Prova àè"), 150);

        M().resize(1600, 900);
        QCOMPARE(Pannello(2)->width(),
                 TwipsAPixel(M().MisuraTwips().width() - PixelATwips(Pannello(1)->width()) -
                             PixelATwips(Pannello(3)->width()) - 240));
    }

    void misuraMinima()
    {
        M().resize(400, 300);
        const QSizeF t = M().MisuraTwips();
        QVERIFY(t.width() >= Mainform::LarghezzaMinima);
        QVERIFY(t.height() >= Mainform::AltezzaMinima);
    }

    void finestraFigliaSegueLaCornice()
    {
        M().EseguiComando("mutuo");
        FinestraProva* w = Aperta("frmMutuo");
        QVERIFY(w);
        QCOMPARE(w->pagine, 1);
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmMutuo"));
        QCOMPARE(M().FinestraFigliaCorrente(), w);
        QVERIFY(!M().FinestraAperta("frmTitolo"));
        for (QSize s : {QSize(1600, 1000), QSize(1100, 700), QSize(1920, 1048)}) {
            M().resize(s);
            const QWidget* sub = w->parentWidget();
            QCOMPARE(sub->pos(), QPoint(0, 0));
            QCOMPARE(w->mapTo(M().AreaFinestre()->viewport(), QPoint(0, 0)), QPoint(0, 0));
            const QSize fuori = M().frameGeometry().size();
            QCOMPARE(w->size(), QSize(TwipsAPixel(PixelATwips(fuori.width()) - 240),
                                      TwipsAPixel(PixelATwips(fuori.height()) - 1920)));
            QVERIFY(w->isVisible());
        }
    }

    void titoloSuTuttaLaCornice()
    {
        M().resize(1500, 950);
        auto* t = qobject_cast<frmTitolo*>(M().FinestraAperta("frmTitolo"));
        QVERIFY(t);
        QCOMPARE(t->parentWidget()->geometry(), QRect(QPoint(0, 0), M().frameGeometry().size()));
        QCOMPARE(t->Image3()->pos(), t->Image2()->pos());
        QCOMPARE(t->Timer1()->interval(), 700);
        const bool prima = t->Image2()->isVisible();
        QTRY_COMPARE_WITH_TIMEOUT(t->Image2()->isVisible(), !prima, 2000);
    }

    void stampaECopiaSoloConUnaTabella()
    {
        M().DopoCaricamento();
        A("mnuStampa")->trigger();
        A("mnuCopia")->trigger();
        M().EseguiComando("stampa");
        M().EseguiComando("copia");
        QCOMPARE(M().chiamate, QStringList({"CaricaEsempio"}));
        QVERIFY(MessaggiMostrati().isEmpty());
        QVERIFY(M().isEnabled());

        A("mnuInput")->trigger();
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmBox"));
        M().EseguiComando("stampa");
        M().EseguiComando("copia");
        QCOMPARE(M().chiamate,
                 QStringList({"CaricaEsempio", "StampaTabella frmBox", "CopiaTabella frmBox"}));
        QVERIFY(M().attesaInStampa);
        QVERIFY(!M().abilitataInStampa);
        QVERIFY(M().isEnabled());
        QVERIFY(!M().AttesaVisibile());
        // The field being edited was committed before each command.
        QCOMPARE(Aperta("frmBox")->conferme, 2);
    }

    void comandoCheFallisce()
    {
        M().DopoCaricamento();
        A("mnuInput")->trigger();
        M().lancia = "StampaTabella frmBox";
        M().EseguiComando("stampa");
        const QStringList m = MessaggiMostrati();
        QCOMPARE(m.size(), 1);
        QVERIFY(m[0].contains("Stampa tabella corrente"));
        QVERIFY(m[0].contains("disco pieno"));
        QVERIFY(M().isEnabled());
        QVERIFY(!M().AttesaVisibile());

        M().lancia = "SalvaConteggio";
        A("mnuSalvaEsci")->trigger();
        QCOMPARE(MessaggiMostrati().size(), 1);
        QVERIFY(M().isVisible());                  // a failed save does not exit
        QVERIFY(Aperta("frmBox"));

        M().lancia.clear();
        A("mnuNuovo")->trigger();
        QCOMPARE(M().chiamate.last(), QStringLiteral("NuovoConteggio"));
    }

    void paginaCheFallisce()
    {
        paginaLancia_ = true;
        A("mnuMatematico")->trigger();
        FinestraProva* w = Aperta("frmCalcoli");
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmCalcoli"));
        const QStringList m = MessaggiMostrati();
        QCOMPARE(m.size(), 1);
        QVERIFY(m[0].contains("valore fuori intervallo"));
        QVERIFY(M().isEnabled());
    }

    // New, open and closing ask about unsaved changes, and only then; the
    // edited field is committed before the check. Annulla stops the
    // command, No goes on without saving, Sì saves first.
    void domandaSulleModifiche_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<bool>("modificato");
        QTest::addColumn<int>("risposta");
        QTest::addColumn<QStringList>("chiamate");
        const int si = QMessageBox::Yes, no = QMessageBox::No, annulla = QMessageBox::Cancel;
        for (const char* c : {"nuovo", "apri", "chiudi"}) {
            const QString fatto = c == QLatin1String("nuovo")  ? "NuovoConteggio"
                                  : c == QLatin1String("apri") ? "ApriConteggio"
                                                               : "RilasciaDatabase";
            QTest::addRow("%s senza modifiche", c) << c << false << annulla << QStringList{fatto};
            QTest::addRow("%s annulla", c) << c << true << annulla << QStringList{};
            QTest::addRow("%s no", c) << c << true << no << QStringList{fatto};
            QTest::addRow("%s si", c) << c << true << si << QStringList{"SalvaConteggio", fatto};
        }
    }
    void domandaSulleModifiche()
    {
        QFETCH(QString, comando);
        QFETCH(bool, modificato);
        QFETCH(int, risposta);
        QFETCH(QStringList, chiamate);
        M().Conteggio().Doc().setNomeConteggio("Rossi");
        A("mnuInput")->trigger();
        M().chiamate.clear();
        M().modificato = modificato;
        risposta_ = QMessageBox::StandardButton(risposta);
        if (comando == "chiudi")
            M().close();
        else
            M().EseguiComando(comando);
        QCOMPARE(M().chiamate, chiamate);
        QCOMPARE(MessaggiMostrati().size(), modificato ? 1 : 0);
        QCOMPARE(M().isVisible(), comando != "chiudi" || chiamate.isEmpty());
        QCOMPARE(Aperta("frmBox") ? Aperta("frmBox")->conferme : 1, 1);
    }

    // "Esci senza salvare" does not ask; "Salva ed esci" has nothing left to ask.
    void esciSenzaDomande()
    {
        M().DopoCaricamento();
        for (const char* voce : {"mnuSalvaEsci", "mnuEsci"}) {
            M().show();
            M().modificato = true;
            A(voce)->trigger();
            QVERIFY2(!M().isVisible(), voce);
        }
        QVERIFY(MessaggiMostrati().isEmpty());
    }

    // Each menu's letters are unique and every item has one; the shortcuts
    // run their commands, but a focused text field keeps its own Ctrl+C.
    void tastiera()
    {
        QList<QMenu*> menu = {nullptr};
        menu << M().menuBar()->findChildren<QMenu*>();
        for (QMenu* m : menu) {
            QSet<QChar> lettere;
            for (QAction* a : m ? m->actions() : M().menuBar()->actions()) {
                if (a->isSeparator())
                    continue;
                const qsizetype i = a->text().indexOf('&');
                QVERIFY2(i >= 0 && i + 1 < a->text().size(), qPrintable(a->objectName()));
                const QChar c = a->text().at(i + 1).toLower();
                QVERIFY2(!lettere.contains(c), qPrintable(a->objectName()));
                lettere << c;
            }
        }
        M().DopoCaricamento();
        A("mnuMatematico")->trigger();
        FinestraProva* w = Aperta("frmCalcoli");
        auto* campo = new QLineEdit(w);
        campo->show();
        M().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&M()));
        campo->setFocus();
        M().chiamate.clear();
        QTest::keyClick(campo, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(campo, Qt::Key_F1);
        QCOMPARE(M().chiamate, QStringList({"ApriManuale"}));
        M().chiamate.clear();
        for (Qt::Key k : {Qt::Key_C, Qt::Key_N, Qt::Key_O, Qt::Key_S, Qt::Key_P}) {
            w->griglia->setFocus();
            QTest::keyClick(w->griglia, k, Qt::ControlModifier);
        }
        QCOMPARE(M().chiamate, QStringList({"CopiaTabella frmCalcoli", "NuovoConteggio", "ApriConteggio",
                                            "SalvaConteggio", "StampaTabella frmCalcoli"}));
    }

    void comandiDelleFinestreFiglie()
    {
        M().EseguiComando("nessuno");
        QCOMPARE(M().chiamate, QStringList({"CaricaEsempio"}));

        A("mnuMatematico")->trigger();
        FinestraProva* calcoli = Aperta("frmCalcoli");
        QVERIFY(M().FinestraAperta("frmTitolo"));    // the menu does not close the others
        calcoli->Premi("italia");
        Scorri();
        QVERIFY(!Aperta("frmCalcoli"));
        QVERIFY(!M().FinestraAperta("frmTitolo"));
        QVERIFY(Aperta("frmItalia"));
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmItalia"));

        Aperta("frmItalia")->Premi("input");
        Scorri();
        FinestraProva* box = Aperta("frmBox");
        QVERIFY(box);
        QCOMPARE(M().AreaFinestre()->subWindowList().size(), 1);
        box->Premi("input");
        Scorri();
        QCOMPARE(Aperta("frmBox"), box);

        // Opening a window already open loads it afresh as the current one.
        A("mnuMatematico")->trigger();
        A("mnuInput")->trigger();
        Scorri();
        QVERIFY(Aperta("frmBox") != box);
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmBox"));
        QCOMPARE(M().AreaFinestre()->subWindowList().size(), 2);

        // The usury check replaces the others, and prints and copies.
        M().EseguiComando("usura");
        Scorri();
        QVERIFY(Aperta("frmUsura") && !Aperta("frmBox"));
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmUsura"));
        QVERIFY(Mainform::HaTabella("frmUsura"));
        M().EseguiComando("riepilogo");
        Scorri();
        QVERIFY(Aperta("frmRiepilogo") && !Aperta("frmUsura"));
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmRiepilogo"));
        QVERIFY(Mainform::HaTabella("frmRiepilogo"));

        M().ScaricaFinestre();
        M().ScaricaFinestre();
        Scorri();
        QVERIFY(M().AreaFinestre()->subWindowList().isEmpty());
    }

    void laFinestraDavantiEQuellaCorrente()
    {
        A("mnuMatematico")->trigger();
        A("mnuItalia")->trigger();
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmItalia"));
        auto* calcoli = qobject_cast<QMdiSubWindow*>(Aperta("frmCalcoli")->parentWidget());
        M().AreaFinestre()->setActiveSubWindow(calcoli);
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmCalcoli"));
        M().resize(1500, 900);
        QCOMPARE(M().FinestraCorrente(), QStringLiteral("frmCalcoli"));
        QCOMPARE(M().AreaFinestre()->activeSubWindow(), calcoli);
        M().EseguiComando("copia");
        QCOMPARE(M().chiamate.last(), QStringLiteral("CopiaTabella frmCalcoli"));
    }

    // Whatever path opened it, the window loaded last is current and in
    // front, also once the wait window is gone and the frame is active again.
    void laFinestraApertaPerUltimaECorrente_data()
    {
        QTest::addColumn<QStringList>("azioni");
        QTest::addColumn<QString>("attesa");
        QTest::newRow("breve poi mutuo") << QStringList{"mnuBreve", "mnuMutuo"} << "frmMutuo";
        QTest::newRow("matematico poi input") << QStringList{"mnuMatematico", "mnuInput"} << "frmBox";
        QTest::newRow("input poi italia") << QStringList{"mnuInput", "mnuItalia"} << "frmItalia";
        QTest::newRow("tasti") << QStringList{"breve", "mnuVarie"} << "frmOPE";
    }
    void laFinestraApertaPerUltimaECorrente()
    {
        QFETCH(QStringList, azioni);
        QFETCH(QString, attesa);
        M().DopoCaricamento();
        M().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&M()));
        for (const QString& a : azioni) {
            if (QAction* azione = A(qPrintable(a)))
                azione->trigger();
            else
                M().EseguiComando(a);
            QTest::qWait(50);
        }
        QTest::qWait(100);
        QCOMPARE(M().FinestraCorrente(), attesa);
        QMdiSubWindow* sub = M().AreaFinestre()->activeSubWindow();
        QVERIFY(sub && sub->widget());
        QCOMPARE(sub->widget()->objectName(), attesa);
        QCOMPARE(M().AreaFinestre()->subWindowList(QMdiArea::StackingOrder).last(), sub);
        A("mnuCopia")->trigger();
        QCOMPARE(M().chiamate.last(), "CopiaTabella " + attesa);
    }

    void finestraMancanteNonFaNulla()
    {
        M().ImpostaFabbrica([](const QString&) { return nullptr; });
        M().EseguiComando("breve");
        QCOMPARE(M().ApriFinestra("frmBreve"), nullptr);
        QVERIFY(MessaggiMostrati().isEmpty());
        QVERIFY(M().isEnabled());
    }

    void attesaEInformazioniBloccanoLaCornice()
    {
        M().MostraAttesa();
        QVERIFY(!M().isEnabled());
        QVERIFY(M().AttesaVisibile());
        M().NascondiAttesa();
        QVERIFY(M().isEnabled());

        A("mnuInformazioni")->trigger();
        QWidget* info = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmInfo" && w->isVisible())
                info = w;
        QVERIFY(info);
        QCOMPARE(info->windowTitle(), QStringLiteral("Informazioni"));
        auto* produttore = info->findChild<QLabel*>("Label6");
        QVERIFY(produttore && produttore->text().contains("Produttore:") &&
                produttore->text().contains("Assistenza:"));
        QVERIFY(!M().isEnabled());
        QPointer<QWidget> guardia(info);
        info->findChild<QPushButton*>("Command6")->click();
        Scorri();
        QVERIFY(guardia.isNull());
        QVERIFY(M().isEnabled());
    }

    void elencoDeiFile()
    {
        QTemporaryDir d;
        for (const char* n : {"b.ccc", "A.ccc", ".nascosto", "c.txt"}) {
            QFile f(d.filePath(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(d.path()).mkdir("Cartella"));
        auto* elenco = M().findChild<QListWidget*>("File1");
        QVERIFY(elenco && !elenco->isVisible());
        elenco->setProperty("Path", d.path());
        QCOMPARE(M().File1()->Nomi(), QStringList({"A.ccc", "b.ccc", "c.txt"}));

        auto* logo = M().findChild<QLabel*>("Picture2");
        QCOMPARE(logo->pixmap().size(), QSize(188, 71));
        QVERIFY(M().PercorsoArchivio().endsWith("/Archivio"));
        QCOMPARE(Mainform::NumeriRomani(4), QStringLiteral("IV"));
    }

    void uscita()
    {
        A("mnuInput")->trigger();
        A("mnuEsci")->trigger();
        Scorri();
        QVERIFY(!M().isVisible());
        QCOMPARE(M().chiamate.last(), QStringLiteral("RilasciaDatabase"));
        QVERIFY(M().AreaFinestre()->subWindowList().isEmpty());
    }
};

QTEST_MAIN(TestMainform)
#include "test_mainform.moc"
