// The mortgage, various-operations and short-term windows, driven through
// their controls as a user drives them: clicks, typing, Tab, list choices.
#include "CampiFinanziamento.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"
#include "frmBox.h"
#include "frmBreve.h"
#include "frmMutuo.h"
#include "frmOPE.h"
#include "frmUsura.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

using namespace std::chrono;

namespace {

CampoFinanziamento* campo(QWidget* w, const QString& nome)
{
    auto* c = w->findChild<CampoFinanziamento*>(nome);
    if (!c)
        qFatal("no field %s", qPrintable(nome));
    return c;
}

ElencoFinanziamento* elenco(QWidget* w, const QString& nome)
{
    auto* c = w->findChild<ElencoFinanziamento*>(nome);
    if (!c)
        qFatal("no list %s", qPrintable(nome));
    return c;
}

QString etichetta(QWidget* w, const QString& nome)
{
    auto* l = w->findChild<QLabel*>(nome);
    return l ? l->text() : QStringLiteral("<missing %1>").arg(nome);
}

// Clicks into a field (or, when it has the focus already, selects its text
// with Ctrl+A), types over its selected text and leaves it with Tab.
void scrivi(QWidget* w, const QString& nome, const QString& testo)
{
    CampoFinanziamento* c = campo(w, nome);
    if (c->hasFocus())
        QTest::keyClick(c, Qt::Key_A, Qt::ControlModifier);
    else
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, c->height() / 2));
    QVERIFY(c->hasFocus());
    QCOMPARE(c->selectedText(), c->text());
    QTest::keyClicks(c, testo);
    QTest::keyClick(c, Qt::Key_Tab);
}

// Opens a list with a click and picks an item with the keyboard.
void scegli(QWidget* w, const QString& nome, const QString& voce)
{
    ElencoFinanziamento* c = elenco(w, nome);
    const int i = c->findText(voce);
    QVERIFY2(i >= 0, qPrintable(voce));
    QTest::mouseClick(c->lineEdit(), Qt::LeftButton);
    QTRY_VERIFY(c->view()->isVisible());
    c->view()->setCurrentIndex(c->model()->index(i, 0));
    QTest::keyClick(c->view(), Qt::Key_Return);
    QTRY_VERIFY(!c->view()->isVisible());
    QCOMPARE(c->currentText(), voce);
}

template <class F>
void apri(F& finestra)
{
    finestra.Pagina();
    finestra.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&finestra));
}

// One of the input windows, by name, shown and filled from the document.
std::unique_ptr<FinestraFiglia> aperta(const QString& nome, Documento& conteggio_)
{
    std::unique_ptr<FinestraFiglia> w;
    if (nome == "frmMutuo")
        w = std::make_unique<frmMutuo>(conteggio_);
    else if (nome == "frmBreve")
        w = std::make_unique<frmBreve>(conteggio_);
    else if (nome == "frmOPE")
        w = std::make_unique<frmOPE>(conteggio_);
    else if (nome == "frmUsura")
        w = std::make_unique<frmUsura>(conteggio_);
    else
        w = std::make_unique<frmBox>(conteggio_);
    w->show();
    apri(*w);
    return w;
}

} // namespace

class TestFinanziamenti : public QObject {
    Q_OBJECT

    Documento conteggio_;
private slots:
    void init()
    {
        conteggio_.InizializzaConteggio();
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    }
    void cleanup() { ImpostaRisponditore({}); }

    void elenchiETesti();
    void paginaMutuoValoriFuoriElenco();
    void paginaOPEValoriFuoriElenco();
    void campiColoriEFiltri();

    void mutuoRateEPeriodicita();
    void mutuoDatiIncoerentiEUscitaSenzaModifiche();
    void mutuoErroreDelCalcoloLasciaLaFinestraUsabile();
    void mutuoDescrizioneEConferma();
    void mutuoTempoDiAggiornamento();
    void finestraNellAreaPrincipale();

    void operazioniDieciFlussi();
    void operazioniAnnoFuoriElencoNonCambia();

    void breveTassiEDate();
    void breveDateDaTastiera();

    void dateDigitate_data();
    void dateDigitate();
    void dateDopoUnClic_data();
    void dateDopoUnClic();
    void elenchiAClicEDaTastiera_data();
    void elenchiAClicEDaTastiera();
    void importoRifiutatoRiprendeIlValore_data();
    void importoRifiutatoRiprendeIlValore();
    void importoDigitatoSuUnoEsistente_data();
    void importoDigitatoSuUnoEsistente();
    void avvisoLirePrimaDel2002();
};

void TestFinanziamenti::elenchiETesti()
{
    QCOMPARE(ElencoPeriodicita().size(), 6);
    for (const QString& p : ElencoPeriodicita())
        QCOMPARE(PeriodicitaDaRateAnnuali(RateAnnualiDaPeriodicita(p)), p);
    QCOMPARE(RateAnnualiDaPeriodicita(QStringLiteral("Quadrimestrale")), 3);
    QCOMPARE(RateAnnualiDaPeriodicita(QStringLiteral("mensile")), 0);
    QCOMPARE(PeriodicitaDaRateAnnuali(4), QStringLiteral("Trimestrale"));
    QCOMPARE(IntestazioneTassoPeriodo(QStringLiteral("Trimestrale")),
             QStringLiteral("T.E.G. trimestrale (approx.)"));

    QCOMPARE(ElencoNumeroRate().size(), 360);
    QCOMPARE(ElencoNumeroRate().first(), QStringLiteral("1"));
    QCOMPARE(ElencoNumeroRate().last(), QStringLiteral("360"));

    // The flow months follow the clock: this year's flows can be entered.
    const auto orologio = OrologioConteggio;
    OrologioConteggio = [] { return sys_days{year{2026} / March / 8}; };
    const QStringList mesi = ElencoMesiAnni();
    OrologioConteggio = orologio;
    QCOMPARE(mesi.size(), 12 * (2056 - 1990 + 1));
    QCOMPARE(mesi.first(), QStringLiteral("Gen - 1990"));
    QCOMPARE(mesi.last(), QStringLiteral("Dic - 2056"));
    QCOMPARE(TestoMeseAnno(3, 2011), QStringLiteral("Mar - 2011"));
    QCOMPARE(TestoMeseAnno(0, 2011), QString());
    int mese = -1, anno = -1;
    LeggiMeseAnno(QStringLiteral("Ago - 2017"), mese, anno);
    QCOMPARE(mese, 8);
    QCOMPARE(anno, 2017);
    LeggiMeseAnno(QStringLiteral("Xyz - 2019"), mese, anno);  // the year still counts
    QCOMPARE(mese, 0);
    QCOMPARE(anno, 2019);

    QCOMPARE(TestoSegno(1), TestoEntrata);
    QCOMPARE(TestoSegno(-1), TestoUscita);
    QCOMPARE(TestoSegno(0), QString());
    QCOMPARE(SegnoDaTesto(TestoUscita), -1);
    QCOMPARE(SegnoDaTesto(QString()), 0);

    QCOMPARE(TestoTasso(DatiIncoerenti), QStringLiteral("dati incoerenti"));
    QCOMPARE(TestoTasso(0), QStringLiteral("0,000%"));

    const sys_days capodanno = sys_days{year{2010} / January / 1};
    QCOMPARE(DataQt(capodanno), QDate(2010, 1, 1));
    QCOMPARE(DataCalcolo(QDate(2024, 2, 29)), sys_days{year{2024} / February / 29});
    QCOMPARE(DataCalcolo(DataQt(sys_days{year{1601} / March / 3})), sys_days{year{1601} / March / 3});
}

void TestFinanziamenti::paginaMutuoValoriFuoriElenco()
{
    Mutuo& m = conteggio_.MutuoCorrente();
    m.setRateAnnuali(5);
    DatiPaginaMutuo p = PaginaMutuo(m);
    QCOMPARE(p.periodicita, QString());
    QCOMPARE(p.intestazione, QStringLiteral("T.E.G.  (approx.)"));
    QCOMPARE(p.didascaliaAnnuale, QStringLiteral("T.E.G. annuale (approx.)"));
    QVERIFY(p.errore.isEmpty());

    // A file with more instalments than the schedule holds: the count stays
    // as stored and the failure is reported, not hidden behind old rates.
    m.setRateAnnuali(12);
    m.setNRate(500);
    p = PaginaMutuo(m);
    QCOMPARE(p.numeroRate, QStringLiteral("500"));
    QCOMPARE(p.tassoPeriodo, QStringLiteral("dati incoerenti"));
    QCOMPARE(p.tassoAnnuale, QStringLiteral("dati incoerenti"));
    QVERIFY(p.errore.contains(QStringLiteral("500")));
    QCOMPARE(m.NRate(), 500.0);

    frmMutuo w(conteggio_);
    apri(w);
    QCOMPARE(MessaggiMostrati().size(), 1);
    QCOMPARE(elenco(&w, "Combo2")->currentText(), QStringLiteral("500"));
    QCOMPARE(elenco(&w, "Combo2")->currentIndex(), -1);
    QCOMPARE(elenco(&w, "Combo2")->count(), 360);
}

void TestFinanziamenti::paginaOPEValoriFuoriElenco()
{
    OPE& o = conteggio_.Operazioni();
    o.setMese(1, 3);
    o.setAnno(1, 2011);
    o.setMese(2, 0);
    o.setSegno(3, 0);
    o.setMese(4, 7);
    o.setAnno(4, 1985);
    o.setImporto(10, 1234.5);
    const DatiPaginaOPE p = PaginaOPE(o);
    QCOMPARE(p.righe[0].meseAnno, QStringLiteral("Mar - 2011"));
    QCOMPARE(p.righe[1].meseAnno, QString());
    QCOMPARE(p.righe[2].segno, QString());
    QCOMPARE(p.righe[3].meseAnno, QStringLiteral("Lug - 1985"));
    QCOMPARE(p.righe[9].numero, QStringLiteral("10."));
    QCOMPARE(p.righe[9].importo, QStringLiteral("1.234,50"));

    frmOPE w(conteggio_);
    apri(w);
    QCOMPARE(elenco(&w, "Combo1(1)")->currentText(), QString());
    QCOMPARE(elenco(&w, "Combo1(1)")->count(), ElencoMesiAnni().size());
    QCOMPARE(elenco(&w, "Combo2(2)")->currentText(), QString());
    QCOMPARE(elenco(&w, "Combo2(2)")->currentIndex(), -1);
    QCOMPARE(elenco(&w, "Combo1(3)")->currentText(), QStringLiteral("Lug - 1985"));
    QCOMPARE(etichetta(&w, "Lnumero(9)"), QStringLiteral("10."));
    QCOMPARE(campo(&w, "XPText1(9)")->text(), QStringLiteral("1.234,50"));
}

void TestFinanziamenti::campiColoriEFiltri()
{
    frmMutuo w(conteggio_);
    apri(w);
    CampoFinanziamento* importo = campo(&w, "XPText1(0)");
    CampoFinanziamento* oneri = campo(&w, "XPText1(1)");
    CampoFinanziamento* descrizione = campo(&w, "XPText2");
    // The window opens with the focus in its first field.
    QVERIFY(importo->hasFocus());
    QCOMPARE(importo->palette().color(QPalette::Base), QColor(255, 192, 128));
    QCOMPARE(oneri->palette().color(QPalette::Base), QColor(255, 255, 255));

    QTest::keyClick(importo, Qt::Key_Tab);
    QCOMPARE(importo->palette().color(QPalette::Base), QColor(255, 255, 255));
    QTest::mouseClick(importo, Qt::LeftButton, {}, QPoint(10, importo->height() / 2));
    QCOMPARE(importo->palette().color(QPalette::Base), QColor(255, 192, 128));
    QCOMPARE(importo->selectedText(), QStringLiteral("0,00"));
    QTest::keyClicks(importo, QStringLiteral("12a.5-,3x"));
    QCOMPARE(importo->text(), QStringLiteral("125,3"));
    QTest::keyClick(importo, Qt::Key_Backspace);
    QCOMPARE(importo->text(), QStringLiteral("125,"));
    QApplication::clipboard()->setText(QStringLiteral("7 €"));
    QTest::keyClick(importo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(importo->text(), QStringLiteral("125,7"));

    QTest::mouseClick(descrizione, Qt::LeftButton, {}, QPoint(10, descrizione->height() / 2));
    QCOMPARE(importo->palette().color(QPalette::Base), QColor(255, 255, 255));
    QCOMPARE(importo->text(), QStringLiteral("125,70"));
    QCOMPARE(conteggio_.MutuoCorrente().Importo(), 125.7);
    QCOMPARE(descrizione->palette().color(QPalette::Base), QColor(255, 192, 128));
    QCOMPARE(descrizione->selectedText(), QStringLiteral("Inserire descrizione"));
    QTest::keyClicks(descrizione, QStringLiteral("Casa: \"via Roma\" 1/2 <a>?*|\\ ok."));
    QCOMPARE(descrizione->text(), QStringLiteral("Casa via Roma 12 a ok."));
}

void TestFinanziamenti::mutuoRateEPeriodicita()
{
    frmMutuo w(conteggio_);
    apri(w);
    QCOMPARE(w.property("Tag").toString(), QStringLiteral("1513506645"));
    QCOMPARE(w.findChild<QWidget*>("XPFrame4")->property("Tag").toString(),
             QStringLiteral("00120006001485005925"));
    QCOMPARE(elenco(&w, "Combo1")->currentText(), QStringLiteral("Mensile"));
    QCOMPARE(elenco(&w, "Combo2")->currentText(), QStringLiteral("1"));

    scrivi(&w, "XPText1(0)", "100000");
    scrivi(&w, "XPText1(2)", "1000");
    scegli(&w, "Combo2", "120");
    scegli(&w, "Combo1", "Mensile");
    QCOMPARE(campo(&w, "XPText1(0)")->text(), QStringLiteral("100.000,00"));
    QCOMPARE(campo(&w, "XPText1(2)")->text(), QStringLiteral("1.000,00"));
    QCOMPARE(etichetta(&w, "Label1(1)"), QStringLiteral("T.E.G. mensile (approx.)"));
    QCOMPARE(etichetta(&w, "Label1(6)"), QStringLiteral("0,310%"));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("3,784%"));
    QCOMPARE(etichetta(&w, "Label1(7)"), QStringLiteral("T.E.G. annuale (approx.)"));

    scegli(&w, "Combo1", "Annuale");
    QCOMPARE(conteggio_.MutuoCorrente().RateAnnuali(), 1.0);
    QCOMPARE(etichetta(&w, "Label1(1)"), QStringLiteral("T.E.G. annuale (approx.)"));
    QCOMPARE(etichetta(&w, "Label1(6)"), QStringLiteral("0,310%"));
    QCOMPARE(etichetta(&w, "Label1(8)"), etichetta(&w, "Label1(6)"));

    scegli(&w, "Combo1", "Trimestrale");
    QCOMPARE(etichetta(&w, "Label1(1)"), QStringLiteral("T.E.G. trimestrale (approx.)"));
    QVERIFY(MessaggiMostrati().isEmpty());
}

void TestFinanziamenti::mutuoDatiIncoerentiEUscitaSenzaModifiche()
{
    frmMutuo w(conteggio_);
    apri(w);
    scrivi(&w, "XPText1(0)", "100000");
    scrivi(&w, "XPText1(1)", "2000");
    scrivi(&w, "XPText1(2)", "800");
    scegli(&w, "Combo2", "120");  // 96 000 repaid against 98 000 received
    QCOMPARE(etichetta(&w, "Label1(6)"), QStringLiteral("dati incoerenti"));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("dati incoerenti"));
    QCOMPARE(campo(&w, "XPText1(2)")->text(), QStringLiteral("800,00"));

    // Leaving a field without changing it still recomputes and redraws.
    conteggio_.MutuoCorrente().setRata(1000);
    QTest::mouseClick(campo(&w, "XPText1(0)"), Qt::LeftButton);
    QTest::keyClick(campo(&w, "XPText1(0)"), Qt::Key_Tab);
    QCOMPARE(campo(&w, "XPText1(2)")->text(), QStringLiteral("800,00"));  // the field is not reread
    QVERIFY(etichetta(&w, "Label1(8)").endsWith(QLatin1Char('%')));

    CampoFinanziamento* rata = campo(&w, "XPText1(2)");  // an empty field stores 0
    QTest::mouseClick(rata, Qt::LeftButton);
    QTest::keyClick(rata, Qt::Key_Backspace);
    QCOMPARE(rata->text(), QString());
    QTest::keyClick(rata, Qt::Key_Tab);
    QCOMPARE(campo(&w, "XPText1(2)")->text(), QStringLiteral("0,00"));
    QCOMPARE(conteggio_.MutuoCorrente().Rata(), 0.0);
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("dati incoerenti"));
}

void TestFinanziamenti::mutuoErroreDelCalcoloLasciaLaFinestraUsabile()
{
    Mutuo& m = conteggio_.MutuoCorrente();
    m.setImporto(100000);
    m.setRata(1000);
    m.setNRate(500);
    frmMutuo w(conteggio_);
    apri(w);
    const QStringList messaggi = MessaggiMostrati();
    QVERIFY2(messaggi.size() == 1, qPrintable(messaggi.join(QLatin1Char('|'))));
    QVERIFY(messaggi.first().contains(QStringLiteral("400")));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("dati incoerenti"));

    // Another edit reports again, and never touches the stored count.
    scrivi(&w, "XPText1(1)", "0");
    QVERIFY(!MessaggiMostrati().isEmpty());
    QCOMPARE(m.NRate(), 500.0);

    scegli(&w, "Combo2", "120");
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("3,784%"));
    MessaggiMostrati();
    scrivi(&w, "XPText1(1)", "0");
    QVERIFY(MessaggiMostrati().isEmpty());

    // An amount too large for any rate: the failure is shown, the window lives on.
    scrivi(&w, "XPText1(0)", QString(310, QLatin1Char('9')));
    QVERIFY(!MessaggiMostrati().isEmpty());
    scrivi(&w, "XPText1(0)", "100000");
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("3,784%"));
}

void TestFinanziamenti::mutuoDescrizioneEConferma()
{
    frmMutuo w(conteggio_);
    apri(w);
    CampoFinanziamento* descrizione = campo(&w, "XPText2");
    QTest::mouseClick(descrizione, Qt::LeftButton);
    QTest::keyClicks(descrizione, QStringLiteral("Mutuo prima casa"));
    QCOMPARE(conteggio_.MutuoCorrente().Descrizione(), std::string("Inserire descrizione"));
    w.ConfermaModifiche();  // what a save or a print does first
    QCOMPARE(conteggio_.MutuoCorrente().Descrizione(), std::string("Mutuo prima casa"));

    CampoFinanziamento* rata = campo(&w, "XPText1(2)");
    QTest::mouseClick(rata, Qt::LeftButton);
    QTest::keyClicks(rata, QStringLiteral("950"));
    w.ConfermaModifiche();
    QCOMPARE(conteggio_.MutuoCorrente().Rata(), 950.0);
    QCOMPARE(rata->text(), QStringLiteral("950,00"));

    // Enter confirms without leaving the field.
    QTest::keyClick(rata, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(rata, QStringLiteral("960"));
    QTest::keyClick(rata, Qt::Key_Return);
    QCOMPARE(conteggio_.MutuoCorrente().Rata(), 960.0);
    QCOMPARE(rata->text(), QStringLiteral("960,00"));
    QVERIFY(rata->hasFocus());
    QCOMPARE(rata->selectedText(), rata->text());

    // Typing while the window goes away is kept as well.
    QTest::keyClick(rata, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(rata, QStringLiteral("975"));
    QCOMPARE(rata->text(), QStringLiteral("975"));
    w.hide();  // as when the window is closed or replaced
    QCOMPARE(conteggio_.MutuoCorrente().Rata(), 975.0);
}

void TestFinanziamenti::mutuoTempoDiAggiornamento()
{
    frmMutuo w(conteggio_);
    apri(w);
    scrivi(&w, "XPText1(0)", "150000");
    scrivi(&w, "XPText1(2)", "900");
    scegli(&w, "Combo2", "360");
    QCOMPARE(elenco(&w, "Combo2")->currentIndex(), 359);
    QVERIFY(etichetta(&w, "Label1(8)").endsWith(QLatin1Char('%')));

    CampoFinanziamento* rata = campo(&w, "XPText1(2)");
    QTest::mouseClick(rata, Qt::LeftButton);
    QTest::keyClicks(rata, QStringLiteral("950"));
    QElapsedTimer t;
    t.start();
    QTest::keyClick(rata, Qt::Key_Tab);
    const double ms = t.nsecsElapsed() / 1e6;
    t.restart();
    RicalcolaMutuo(conteggio_.MutuoCorrente());
    qDebug("mortgage of 360 instalments, one edit to refreshed rates: %.2f ms (the recomputation "
           "alone: %.2f ms)",
           ms, t.nsecsElapsed() / 1e6);
    QVERIFY(etichetta(&w, "Label1(8)").endsWith(QLatin1Char('%')));
}

void TestFinanziamenti::finestraNellAreaPrincipale()
{
    // As the main window holds it: inside a sub-window that is hidden while
    // laid out, filled, and hidden again when another window replaces it.
    QMdiArea area;
    area.resize(1100, 500);
    area.show();
    auto* w = new frmOPE(conteggio_);
    QMdiSubWindow* sub = area.addSubWindow(w, Qt::FramelessWindowHint);
    sub->show();
    area.setActiveSubWindow(sub);
    w->Pagina();
    QVERIFY(w->isVisible());
    QVERIFY(sub->isVisible());
    QCOMPARE(elenco(w, "Combo1(0)")->currentText(), QStringLiteral("Gen - 2010"));
    QVERIFY(QTest::qWaitForWindowActive(&area));
    QTRY_VERIFY(w->isAncestorOf(QApplication::focusWidget()));  // opened, it takes the keyboard

    CampoFinanziamento* importo = campo(w, "XPText1(3)");
    QTest::mouseClick(importo, Qt::LeftButton);
    QTest::keyClicks(importo, QStringLiteral("250"));
    sub->hide();
    QCOMPARE(conteggio_.Operazioni().Importo(4), 250.0);
}

void TestFinanziamenti::operazioniDieciFlussi()
{
    frmOPE w(conteggio_);
    apri(w);
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("0,000%"));
    QCOMPARE(etichetta(&w, "Label1(7)"), QStringLiteral("T.E.G. su base annua (approx.)"));
    // Entered from the last row up: the order of the rows does not matter.
    const char* const mesi[] = {"Gen", "Feb", "Mar", "Apr", "Mag", "Giu", "Lug", "Ago", "Set", "Ott"};
    for (int k = 9; k >= 0; --k) {
        scegli(&w, QStringLiteral("Combo1(%1)").arg(k), QStringLiteral("%1 - 2020").arg(mesi[k]));
        scegli(&w, QStringLiteral("Combo2(%1)").arg(k), k == 0 ? "Entrata" : "Uscita");
        scrivi(&w, QStringLiteral("XPText1(%1)").arg(k), k == 0 ? "10000" : "1200");
    }
    QCOMPARE(conteggio_.Operazioni().Mese(10), 10);
    QCOMPARE(conteggio_.Operazioni().Anno(10), 2020);
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("20,555%"));
    QCOMPARE(campo(&w, "XPText1(0)")->text(), QStringLiteral("10.000,00"));

    // The same month chosen again recomputes to the same value.
    scegli(&w, "Combo1(4)", "Mag - 2020");
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("20,555%"));

    CampoFinanziamento* ultimo = campo(&w, "XPText1(9)");
    QTest::mouseClick(ultimo, Qt::LeftButton);
    QTest::keyClicks(ultimo, QStringLiteral("1200"));
    QElapsedTimer t;
    t.start();
    QTest::keyClick(ultimo, Qt::Key_Tab);
    qDebug("ten flows, one edit to refreshed rate: %.2f ms", t.nsecsElapsed() / 1e6);

    scegli(&w, "Combo2(0)", "Uscita");
    QCOMPARE(conteggio_.Operazioni().Segno(1), -1);
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("dati incoerenti"));
    scegli(&w, "Combo2(0)", "Entrata");
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("20,555%"));
    QVERIFY(MessaggiMostrati().isEmpty());
}

void TestFinanziamenti::operazioniAnnoFuoriElencoNonCambia()
{
    OPE& o = conteggio_.Operazioni();
    o.setMese(2, 5);
    o.setAnno(2, 1985);
    frmOPE w(conteggio_);
    apri(w);
    QCOMPARE(elenco(&w, "Combo1(1)")->currentText(), QStringLiteral("Mag - 1985"));
    // Editing other rows leaves the year as stored.
    scrivi(&w, "XPText1(0)", "500");
    scegli(&w, "Combo2(1)", "Entrata");
    QCOMPARE(o.Anno(2), 1985);
    QCOMPARE(o.Mese(2), 5);
    QCOMPARE(elenco(&w, "Combo1(1)")->currentText(), QStringLiteral("Mag - 1985"));
    scegli(&w, "Combo1(1)", "Dic - 2026");
    QCOMPARE(o.Anno(2), 2026);
    QCOMPARE(o.Mese(2), 12);
}

void TestFinanziamenti::breveTassiEDate()
{
    frmBreve w(conteggio_);
    apri(w);
    auto* erogazione = w.findChild<QDateEdit*>("DTPicker1");
    auto* restituzione = w.findChild<QDateEdit*>("DTPicker2");
    QVERIFY(erogazione && restituzione);
    QVERIFY(restituzione->calendarPopup());
    QCOMPARE(restituzione->displayFormat(), QStringLiteral("dd/MM/yyyy"));
    QCOMPARE(erogazione->date(), QDate(2010, 1, 1));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("dati incoerenti"));
    QCOMPARE(etichetta(&w, "Label1(6)"), QStringLiteral("dati incoerenti"));

    scrivi(&w, "XPText1(0)", "10000");
    scrivi(&w, "XPText1(1)", "100");
    scrivi(&w, "XPText1(2)", "10200");
    restituzione->setDate(QDate(2010, 4, 1));  // as the calendar does
    QCOMPARE(conteggio_.BreveCorrente().Data1(), sys_days{year{2010} / April / 1});
    QCOMPARE(etichetta(&w, "Label1(6)"), QStringLiteral("3,030%"));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("12,290%"));
    QCOMPARE(restituzione->text(), QStringLiteral("01/04/2010"));

    restituzione->setDate(QDate(2010, 1, 1));
    QCOMPARE(etichetta(&w, "Label1(6)"), QStringLiteral("dati incoerenti"));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("dati incoerenti"));
    restituzione->setDate(QDate(2010, 4, 1));
    QCOMPARE(etichetta(&w, "Label1(6)"), QStringLiteral("3,030%"));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("12,290%"));

    scrivi(&w, "XPText1(2)", "9900");  // repaid exactly the net amount
    QCOMPARE(etichetta(&w, "Label1(6)"), QStringLiteral("0,000%"));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("0,000%"));
    QVERIFY(MessaggiMostrati().isEmpty());
}

void TestFinanziamenti::breveDateDaTastiera()
{
    BREVE& b = conteggio_.BreveCorrente();
    b.setFinanziato(10000);
    b.setOneri(100);
    b.setRestituito(10200);
    b.setData1(sys_days{year{2010} / April / 1});
    // Held by a parent window, as in the main window, so that filling it
    // again keeps the parent active.
    QWidget ospite;
    ospite.resize(1100, 500);
    auto* finestra = new frmBreve(conteggio_, &ospite);
    frmBreve& w = *finestra;
    ospite.show();
    w.Pagina();
    ospite.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&ospite));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("12,290%"));
    auto* restituzione = w.findChild<QDateEdit*>("DTPicker2");

    // Tabbing in selects the day.
    restituzione->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(restituzione->hasFocus());
    QTest::keyClick(restituzione, Qt::Key_Up);  // an arrow counts at once
    QCOMPARE(b.Data1(), sys_days{year{2010} / April / 2});
    QCOMPARE(etichetta(&w, "Label1(6)"), QStringLiteral("3,030%"));
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("12,155%"));

    // A stored date the calendar cannot show is reported and kept as it is.
    const sys_days antica = sys_days{year{50} / June / 1};
    b.setData0(antica);
    w.Pagina();
    QCOMPARE(MessaggiMostrati().size(), 1);
    scrivi(&w, "XPText1(1)", "200");
    QCOMPARE(b.Data0(), antica);
    b.setData0(sys_days{year{2010} / January / 1});
    w.Pagina();
    QVERIFY(MessaggiMostrati().isEmpty());
    restituzione->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(restituzione->hasFocus());

    // A typed date counts once confirmed; a day alone is no date.
    QTest::keyClicks(restituzione, QStringLiteral("15"));
    w.ConfermaModifiche();
    QCOMPARE(MessaggiMostrati().size(), 1);
    QCOMPARE(restituzione->text(), QStringLiteral("02/04/2010"));
    QTest::keyClicks(restituzione, QStringLiteral("15042010"));
    QCOMPARE(restituzione->text(), QStringLiteral("15042010"));
    w.ConfermaModifiche();
    QCOMPARE(b.Data1(), sys_days{year{2010} / April / 15});
}

// A date typed at normal speed, with or without separators, is that date;
// Tab leaves the field; an implausible year is refused and never stored.
void TestFinanziamenti::dateDigitate_data()
{
    QTest::addColumn<QString>("digitato");
    QTest::addColumn<QDate>("attesa");  // invalid: refused
    QTest::newRow("solo Tab") << "" << QDate(2010, 4, 1);
    QTest::newRow("con barre") << "20/05/2024" << QDate(2024, 5, 20);
    QTest::newRow("giorno di una cifra") << "3/7/2001" << QDate(2001, 7, 3);
    QTest::newRow("senza separatori") << "15112023" << QDate(2023, 11, 15);
    QTest::newRow("con punti") << "03.02.1997" << QDate(1997, 2, 3);
    QTest::newRow("anno troppo antico") << "15/05/0320" << QDate();
    QTest::newRow("anno troppo lontano") << "15/11/7112" << QDate();
}

void TestFinanziamenti::dateDigitate()
{
    QFETCH(QString, digitato);
    QFETCH(QDate, attesa);
    BREVE& b = conteggio_.BreveCorrente();
    const sys_days prima = sys_days{year{2010} / April / 1};
    b.setData0(prima);
    const auto w = aperta("frmBreve", conteggio_);
    auto* erogazione = w->findChild<QDateEdit*>("DTPicker1");
    QTest::mouseClick(erogazione, Qt::LeftButton, {}, QPoint(4, erogazione->height() / 2));
    QTRY_VERIFY(erogazione->hasFocus());
    QTest::keyClicks(erogazione, digitato);
    QTest::keyClick(erogazione, Qt::Key_Tab);
    QVERIFY(!erogazione->hasFocus());
    if (attesa.isValid()) {
        QCOMPARE(erogazione->date(), attesa);
        QCOMPARE(b.Data0(), DataCalcolo(attesa));
        QVERIFY(MessaggiMostrati().isEmpty());
    } else {
        QCOMPARE(b.Data0(), prima);
        QCOMPARE(erogazione->date(), QDate(2010, 4, 1));
        QCOMPARE(MessaggiMostrati().size(), 1);
    }
}

// Clicked anywhere in the field, the whole text selected or not, a date typed
// in full is the date taken, in every date field; a part of a date, or a
// date no calendar has, is refused with a message and the stored one stays.
void TestFinanziamenti::dateDopoUnClic_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<int>("parte");  // 0 the day, 1 the month, 2 the year
    QTest::addColumn<bool>("tutto");  // Ctrl+A after the click
    QTest::addColumn<QString>("digitato");
    QTest::addColumn<QDate>("attesa");  // invalid: refused
    const char* const campi[3][2] = {{"frmBreve", "DTPicker1"}, {"frmBreve", "DTPicker2"}, {"frmUsura", "Data(1)"}};
    const char* const parti[3] = {"giorno", "mese", "anno"};
    int n = 0;
    for (const auto& c : campi)
        for (int parte = 0; parte < 3; ++parte)
            for (bool tutto : {false, true}) {
                const QString digitato = ++n % 2 ? QStringLiteral("20/05/2024") : QStringLiteral("20052024");
                QTest::addRow("%s %s, %s, %s", c[0], c[1], parti[parte], tutto ? "tutto scelto" : "clic")
                    << c[0] << c[1] << parte << tutto << digitato << QDate(2024, 5, 20);
            }
    QTest::newRow("solo giorno e mese") << "frmBreve" << "DTPicker1" << 1 << false << "20/05" << QDate();
    QTest::newRow("solo anno") << "frmUsura" << "Data(1)" << 2 << false << "2005" << QDate();
    QTest::newRow("anno di due cifre") << "frmBreve" << "DTPicker2" << 0 << true << "20/05/24" << QDate();
    QTest::newRow("giorno che non c'è") << "frmBreve" << "DTPicker1" << 0 << false << "31/02/2024" << QDate();
}

void TestFinanziamenti::dateDopoUnClic()
{
    QFETCH(QString, finestra);
    QFETCH(QString, nome);
    QFETCH(int, parte);
    QFETCH(bool, tutto);
    QFETCH(QString, digitato);
    QFETCH(QDate, attesa);
    BREVE& b = conteggio_.BreveCorrente();
    b.setData0(sys_days{year{2010} / January / 1});
    b.setData1(sys_days{year{2010} / April / 1});
    conteggio_.Usura().setDataStipula(sys_days{year{2010} / March / 15});
    const auto memorizzata = [&] {
        return DataQt(nome == "DTPicker1" ? b.Data0() : nome == "DTPicker2" ? b.Data1() : *conteggio_.Usura().DataStipula());
    };
    const QDate prima = memorizzata();
    const auto w = aperta(finestra, conteggio_);
    auto* data = w->findChild<QDateEdit*>(nome);
    QVERIFY(data && data->isEnabled());
    QCOMPARE(data->date(), prima);

    // Inside the day, the month or the year, between their two first digits.
    QLineEdit* testo = data->findChild<QLineEdit*>();
    const int posizione = parte * 3 + 1;
    int x = 0;
    while (x < testo->width() && testo->cursorPositionAt(QPoint(x, testo->height() / 2)) < posizione)
        ++x;
    QTest::mouseClick(testo, Qt::LeftButton, {}, QPoint(x + 1, testo->height() / 2));
    QWidget* fuoco = QApplication::focusWidget();
    QVERIFY(fuoco == data || data->isAncestorOf(fuoco));
    if (tutto)
        QTest::keyClick(fuoco, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(fuoco, digitato);
    QTest::keyClick(fuoco, Qt::Key_Tab);
    QVERIFY(!data->hasFocus());
    const QStringList messaggi = MessaggiMostrati();
    if (attesa.isValid()) {
        QCOMPARE(data->date(), attesa);
        QCOMPARE(memorizzata(), attesa);
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('|')));
    } else {
        QCOMPARE(memorizzata(), prima);
        QCOMPARE(data->text(), prima.toString(QStringLiteral("dd/MM/yyyy")));
        QCOMPARE(messaggi.size(), 1);
        QVERIFY2(messaggi[0].contains(digitato) && messaggi[0].contains(prima.toString("dd/MM/yyyy")),
                 qPrintable(messaggi[0]));
    }
}

// A click on a list's text opens it and leaves it open (the events go
// through the window, as the user's do, so the open list gets the release).
// Typing into any list of the program, closed or open (then Enter), picks
// the first item that starts with what was typed, blanks and case aside.
void TestFinanziamenti::elenchiAClicEDaTastiera_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("digitato");
    QTest::addColumn<QString>("scelto");
    for (bool aperto : {false, true}) {
        const char* modo = aperto ? "aperto" : "chiuso";
        QTest::addRow("numero di rate, %s", modo) << "frmMutuo" << "Combo2" << "240" << "240";
        QTest::addRow("periodicità, %s", modo) << "frmMutuo" << "Combo1" << "tri" << "Trimestrale";
        QTest::addRow("segno, %s", modo) << "frmOPE" << "Combo2(0)" << "e" << "Entrata";
        QTest::addRow("mese e anno, %s", modo) << "frmOPE" << "Combo1(0)" << "Gen - 2011" << "Gen - 2011";
        QTest::addRow("mese e anno a parole, %s", modo) << "frmOPE" << "Combo1(3)" << "ago 2017" << "Ago - 2017";
        QTest::addRow("anno, %s", modo) << "frmBox" << "Combo1" << "2024" << "2024";
        QTest::addRow("categoria, %s", modo) << "frmUsura" << "Categoria(3)" << "factoring" << "FACTORING";
        QTest::addRow("classe, %s", modo) << "frmUsura" << "Classe(3)" << "oltre" << "oltre 5.000 euro";
    }
    // Half a second between keys, as someone looking at the keyboard types.
    QTest::newRow("categoria a tasti lenti, chiuso") << "frmUsura" << "Categoria(3)" << "leasing s"
                                                      << "LEASING STRUMENTALE";
}

void TestFinanziamenti::elenchiAClicEDaTastiera()
{
    QFETCH(QString, finestra);
    QFETCH(QString, nome);
    QFETCH(QString, digitato);
    QFETCH(QString, scelto);
    const bool aperto = QString::fromUtf8(QTest::currentDataTag()).endsWith("aperto");
    conteggio_.BreveCorrente().setData0(sys_days{year{2010} / January / 1});
    conteggio_.Usura().setCategoriaBreve("ANTICIPI, SCONTI COMMERCIALI E ALTRI FINANZIAMENTI ALLE IMPRESE");
    const auto w = aperta(finestra, conteggio_);
    auto* c = w->findChild<QComboBox*>(nome);
    QVERIFY(c);
    QVERIFY2(c->findText(scelto, Qt::MatchStartsWith) >= 0, qPrintable(scelto));
    QWindow* finestraQt = w->windowHandle();
    QWidget* bersaglio = c->lineEdit() ? static_cast<QWidget*>(c->lineEdit()) : c;
    const QPoint dove = bersaglio->mapTo(w.get(), QPoint(5, bersaglio->height() / 2));
    QTest::mousePress(finestraQt, Qt::LeftButton, {}, dove);
    QTest::mouseRelease(finestraQt, Qt::LeftButton, {}, dove, 60);
    QTest::qWait(50);
    QVERIFY(c->view()->isVisible());
    if (!aperto) {
        QTest::keyClick(c->view(), Qt::Key_Escape);
        QTRY_VERIFY(!c->view()->isVisible());
    }

    QSignalSpy scelte(c, &QComboBox::textActivated);
    // keyClicks waits before the press and before the release of each key.
    const int pausa = QString::fromUtf8(QTest::currentDataTag()).contains("lenti") ? 250 : -1;
    QTest::keyClicks(aperto ? static_cast<QWidget*>(c->view()) : QApplication::focusWidget(), digitato, {}, pausa);
    if (aperto) {
        QVERIFY(c->view()->isVisible());
        QCOMPARE(c->view()->currentIndex().data().toString(), scelto);
        QTest::keyClick(c->view(), Qt::Key_Return);
        QTRY_VERIFY(!c->view()->isVisible());
    }
    QVERIFY2(c->currentText().startsWith(scelto), qPrintable(c->currentText()));
    QVERIFY(!scelte.isEmpty());
    QCOMPARE(scelte.last().at(0).toString(), c->currentText());
    if (nome == "Combo2" && finestra == "frmMutuo")
        QCOMPARE(conteggio_.MutuoCorrente().NRate(), 240.0);
    if (finestra == "frmBox")
        QCOMPARE(conteggio_.AnnoRiferimento(), 2024.0);
    if (nome == "Combo1(0)")
        QCOMPARE(conteggio_.Operazioni().Anno(1), 2011);
    if (nome == "Categoria(3)")
        QCOMPARE(QString::fromStdString(conteggio_.Usura().CategoriaBreve()), c->currentData().toString());
}

// A refused amount leaves the stored one in the field and in the document,
// and the message quotes only the start of what was typed.
void TestFinanziamenti::importoRifiutatoRiprendeIlValore_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<bool>("incolla");
    const QString nove(10000, QLatin1Char('9'));
    QTest::newRow("mutuo, diecimila nove") << "frmMutuo" << "XPText1(0)" << nove << true;
    QTest::newRow("mutuo, trenta cifre") << "frmMutuo" << "XPText1(2)" << "123456789012345678901234567890" << false;
    QTest::newRow("breve, due virgole") << "frmBreve" << "XPText1(1)" << "1,2,3" << false;
    QTest::newRow("operazioni, esponente") << "frmOPE" << "XPText1(3)" << "1e309" << true;
    QTest::newRow("conto, diecimila nove") << "frmBox" << "XPText2(1)" << nove << true;
    QTest::newRow("conto, formato inglese") << "frmBox" << "XPText2(1)" << "1,234.56" << true;
    QTest::newRow("mutuo, negativo") << "frmMutuo" << "XPText1(0)" << "-5.000" << true;
}

void TestFinanziamenti::importoRifiutatoRiprendeIlValore()
{
    QFETCH(QString, finestra);
    QFETCH(QString, nome);
    QFETCH(QString, testo);
    QFETCH(bool, incolla);
    conteggio_.MutuoCorrente().setRata(321.5);
    conteggio_.MutuoCorrente().setImporto(1000);
    conteggio_.BreveCorrente().setOneri(12);
    conteggio_.Operazioni().setImporto(4, 77);
    conteggio_.Trimestri(2).setInteressi(8.25);
    const std::unique_ptr<FinestraFiglia> w = aperta(finestra, conteggio_);
    CampoFinanziamento* c = campo(w.get(), nome);
    const QString prima = c->text();
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, c->height() / 2));
    if (incolla) {
        QApplication::clipboard()->setText(testo);
        QTest::keyClick(c, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(c, testo);
    }
    QTest::keyClick(c, Qt::Key_Tab);
    const QStringList m = MessaggiMostrati();
    QCOMPARE(m.size(), 1);
    QVERIFY2(m[0].size() < 160, qPrintable(m[0]));
    // The field shows the stored amount again, and the document keeps it.
    QCOMPARE(c->text(), prima);
    QCOMPARE(conteggio_.MutuoCorrente().Rata(), 321.5);
    QCOMPARE(conteggio_.BreveCorrente().Oneri(), 12.0);
    QCOMPARE(conteggio_.Operazioni().Importo(4), 77.0);
    QCOMPARE(conteggio_.Trimestri(2).Interessi(), 8.25);
}

// Typing into an amount field that holds one, in every window: a second
// click beside the amount selects it, so that typing replaces it; typed into
// it (the cursor before its first digit) or in English, the text is no
// Italian amount and is refused as pasting it is, the stored amount back.
void TestFinanziamenti::importoDigitatoSuUnoEsistente_data()
{
    QTest::addColumn<QString>("finestra");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<double>("prima");
    QTest::addColumn<QString>("clic");  // the second click: "accanto", "sulla cifra", "nessuno"
    QTest::addColumn<QString>("digitato");
    QTest::addColumn<QString>("atteso");  // empty: refused
    const char* const campi[4][2] = {
        {"frmMutuo", "XPText1(2)"}, {"frmBreve", "XPText1(0)"}, {"frmOPE", "XPText1(4)"}, {"frmBox", "XPText7(1)"}};
    for (const auto& c : campi) {
        QTest::addRow("%s, 3000 prima di 2.000,00", c[0]) << c[0] << c[1] << 2000.0 << "sulla cifra" << "3000" << "";
        QTest::addRow("%s, 3000 su 2.000,00", c[0]) << c[0] << c[1] << 2000.0 << "accanto" << "3000" << "3.000,00";
        QTest::addRow("%s, 100000 su 0,00", c[0]) << c[0] << c[1] << 0.0 << "accanto" << "100000" << "100.000,00";
        QTest::addRow("%s, 1,234.56", c[0]) << c[0] << c[1] << 2000.0 << "nessuno" << "1,234.56" << "";
    }
}

void TestFinanziamenti::importoDigitatoSuUnoEsistente()
{
    QFETCH(QString, finestra);
    QFETCH(QString, nome);
    QFETCH(double, prima);
    QFETCH(QString, clic);
    QFETCH(QString, digitato);
    QFETCH(QString, atteso);
    const auto memorizzato = [&] {
        return finestra == "frmMutuo"   ? conteggio_.MutuoCorrente().Rata()
               : finestra == "frmBreve" ? conteggio_.BreveCorrente().Finanziato()
               : finestra == "frmOPE"   ? conteggio_.Operazioni().Importo(5)
                                        : conteggio_.Trimestri(2).Accordato();
    };
    conteggio_.MutuoCorrente().setRata(prima);
    conteggio_.BreveCorrente().setFinanziato(prima);
    conteggio_.Operazioni().setImporto(5, prima);
    conteggio_.Trimestri(2).setAccordato(prima);
    const std::unique_ptr<FinestraFiglia> w = aperta(finestra, conteggio_);
    CampoFinanziamento* c = campo(w.get(), nome);
    const QString testoPrima = c->text();
    const int y = c->height() / 2;
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, y));
    QCOMPARE(c->selectedText(), testoPrima);
    if (clic == "accanto") {
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, y), 600);
    } else if (clic == "sulla cifra") {
        c->setCursorPosition(0);
        const QRect cursore = c->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(cursore.center().x() + 2, y), 600);
        QVERIFY(!c->hasSelectedText());
        QCOMPARE(c->cursorPosition(), 0);
    }
    QTest::keyClicks(QApplication::focusWidget(), digitato);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    const QStringList messaggi = MessaggiMostrati();
    if (atteso.isEmpty()) {
        QCOMPARE(messaggi.size(), 1);
        QCOMPARE(c->text(), testoPrima);
        QCOMPARE(memorizzato(), prima);
    } else {
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('|')));
        QCOMPARE(c->text(), atteso);
        QCOMPARE(memorizzato(), LeggiImporto(atteso));
    }
}

// Before 2002 the amounts' windows say that the thresholds' classes are in
// lire; the note follows the year chosen in the list and the disbursement date.
void TestFinanziamenti::avvisoLirePrimaDel2002()
{
    conteggio_.setAnnoRiferimento(2001);
    conteggio_.BreveCorrente().setData0(DataCalcolo(QDate(2001, 6, 30)));
    const auto avviso = [](QWidget* w) { return w->findChild<QLabel*>(QStringLiteral("AvvisoLire")); };
    {
        const auto w = aperta(QStringLiteral("frmBox"), conteggio_);
        QVERIFY(avviso(w.get()) && avviso(w.get())->isVisible());
        QVERIFY(avviso(w.get())->text().contains(QStringLiteral("lire")));
        scegli(w.get(), QStringLiteral("Combo1"), QStringLiteral("2002"));
        QVERIFY(!avviso(w.get())->isVisible());
    }
    const auto b = aperta(QStringLiteral("frmBreve"), conteggio_);
    QVERIFY(avviso(b.get())->isVisible());
    conteggio_.BreveCorrente().setData0(DataCalcolo(QDate(2002, 1, 1)));
    b->Pagina();
    QVERIFY(!avviso(b.get())->isVisible());
}

QTEST_MAIN(TestFinanziamenti)
#include "test_finanziamenti.moc"
