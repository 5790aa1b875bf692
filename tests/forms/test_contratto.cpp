// The contract part of the mortgage window, driven as a user drives it:
// clicks on check boxes and buttons, dates and rates typed, lists opened.
#include "CampiFinanziamento.h"
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"
#include "frmMutuo.h"
#include "modCopia.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>

using namespace std::chrono;

namespace {

// Brings a control into view as the user scrolls to it.
template <class W>
W* visibile(QWidget* finestra, const QString& nome)
{
    auto* w = finestra->findChild<W*>(nome);
    if (!w)
        qFatal("no control %s", qPrintable(nome));
    // As the user's eye: only once it is on screen and laid out.
    if (!QTest::qWaitFor([w] { return w->isVisible(); }))
        qFatal("control %s not shown", qPrintable(nome));
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(p)) {
            area->ensureWidgetVisible(w, 4, 4);
            break;
        }
    return w;
}

QString etichetta(QWidget* w, const QString& nome)
{
    auto* l = w->findChild<QLabel*>(nome);
    return l ? l->text() : QString();
}

// Clicks into a text field, types over its text and leaves it with Tab.
void scrivi(QWidget* w, const QString& nome, const QString& testo)
{
    auto* c = visibile<CampoFinanziamento>(w, nome);
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, c->height() / 2));
    QVERIFY2(c->hasFocus(), qPrintable(nome));
    QTest::keyClick(c, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(c, testo);
    QTest::keyClick(c, Qt::Key_Tab);
}

void clic(QWidget* w, const QString& nome)
{
    auto* b = visibile<QAbstractButton>(w, nome);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->height() / 2, b->height() / 2));
}

// A date typed whole into its field, after a click on it.
void data(QWidget* w, const QString& nome, const QString& testo)
{
    auto* d = visibile<QDateEdit>(w, nome);
    QTest::mouseClick(d, Qt::LeftButton, {}, QPoint(4, d->height() / 2));
    QTRY_VERIFY2(d->hasFocus(), qPrintable(nome));
    QTest::keyClicks(d, testo);
    QTest::keyClick(d, Qt::Key_Tab);
}

// Opens a list with a click and picks an item with the keyboard.
void scegli(QWidget* w, const QString& nome, const QString& voce)
{
    auto* c = visibile<ElencoFinanziamento>(w, nome);
    const int i = c->findText(voce);
    QVERIFY2(i >= 0, qPrintable(voce));
    QTest::mouseClick(c->lineEdit(), Qt::LeftButton);
    QTRY_VERIFY(c->view()->isVisible());
    c->view()->setCurrentIndex(c->model()->index(i, 0));
    QTest::keyClick(c->view(), Qt::Key_Return);
    QTRY_VERIFY(!c->view()->isVisible());
}

} // namespace

class TestContratto : public QObject {
    Q_OBJECT

    Documento d_;

    // The loan of the manual's example typed in the window: 100 000 at 4 %
    // over 240 monthly French instalments, signed 01/03/2021, first
    // instalment 01/04/2021; appraisal 300 and arrangement 1 000 at signing,
    // 2 with each instalment, a single insurance premium of 2 500.
    void compila(frmMutuo& w)
    {
        scrivi(&w, "XPText1(0)", "100000");
        scrivi(&w, "XPText1(2)", "607,98");
        scegli(&w, "Combo2", "240");
        clic(&w, "DataStipulaIndicata");
        data(&w, "DataStipula", "01032021");
        clic(&w, "DataPrimaRataIndicata");
        data(&w, "DataPrimaRata", "01042021");
        scrivi(&w, "Tan", "4");
        const struct {
            const char* tipo;
            const char* importo;
            const char* quando;
        } costi[] = {{"Perizia", "300", "Alla stipula"},
                     {"Istruttoria", "1000", "Alla stipula"},
                     {"Incasso rata", "2", "A ogni rata"},
                     {"Assicurazione", "2500", "Alla stipula"}};
        for (int i = 0; i < 4; ++i) {
            clic(&w, "AggiungiCosto");
            scegli(&w, QStringLiteral("CostoTipo(%1)").arg(i), QString::fromUtf8(costi[i].tipo));
            scrivi(&w, QStringLiteral("CostoImporto(%1)").arg(i), QString::fromUtf8(costi[i].importo));
            scegli(&w, QStringLiteral("CostoPagamento(%1)").arg(i), QString::fromUtf8(costi[i].quando));
        }
    }

private slots:
    void init()
    {
        d_.InizializzaConteggio();
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    }
    void cleanup() { ImpostaRisponditore({}); }

    // The rates follow the costs as they are switched; the page, the report
    // and the copy carry the same lines below the existing ones.
    void costiSceltiConIlMouse()
    {
        frmMutuo w(d_);
        w.show();
        w.Pagina();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!etichetta(&w, "ContrattoNonIndicato").isEmpty());
        compila(w);
        QVERIFY2(MessaggiMostrati().isEmpty(), "nessun messaggio");

        const DatiContratto& c = d_.Contratto();
        QCOMPARE(*d_.Usura().DataStipula(), sys_days{2021y / March / 1});
        QCOMPARE(c.costi.size(), std::size_t{4});
        QVERIFY(c.costi[3].nelTasso);  // an insurance taken with the loan: in, by default
        QCOMPARE(etichetta(&w, "Contratto(RataPiano)"), QStringLiteral("605,98 + 2,00 di spese = 607,98"));
        QCOMPARE(etichetta(&w, "Contratto(RataIndicata)"), QStringLiteral("607,98"));
        QCOMPARE(etichetta(&w, "DidascaliaContratto(RataIndicata)"), QStringLiteral("Rata indicata: concorda con il piano"));
        QCOMPARE(etichetta(&w, "Contratto(TassoNudo)"), QStringLiteral("4,074%"));
        QCOMPARE(etichetta(&w, "Contratto(TassoConCosti)"), QStringLiteral("4,581%"));
        QCOMPARE(etichetta(&w, "Contratto(TassoFacoltativi)"), QStringLiteral("4,581%"));
        QCOMPARE(etichetta(&w, "Contratto(TassoSenza(3))"), QStringLiteral("4,270%"));
        // The lines follow one another, whatever shorter list the window
        // showed before, also with room to spare (the window laid out large).
        w.resize(1400, 1000);
        w.findChild<QWidget*>(QStringLiteral("XPFrame4"))->resize(1380, 950);
        const auto* prima = w.findChild<QLabel*>(QStringLiteral("DidascaliaContratto(RataPiano)"));
        const auto* terza = w.findChild<QLabel*>(QStringLiteral("DidascaliaContratto(TassoNudo)"));
        QTRY_VERIFY(terza->isVisible());
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        w.findChild<QWidget*>(QStringLiteral("RisultatiContratto"))->layout()->activate();
        QVERIFY(terza->y() - prima->y() < 4 * prima->sizeHint().height());

        // The insurance was not taken with the loan: one click takes it out.
        clic(&w, "CostoNelTasso(3)");
        QVERIFY(!c.costi[3].nelTasso);
        QCOMPARE(c.costi[3].motivo, MotivoPredefinito(TipoCosto::Assicurazione, false));
        QCOMPARE(etichetta(&w, "Contratto(TassoConCosti)"), QStringLiteral("4,270%"));
        QCOMPARE(etichetta(&w, "Contratto(TassoFacoltativi)"), QStringLiteral("4,581%"));

        // The lines below the existing nine, the same in the report and the copy.
        const DatiPaginaMutuo p = w.Dati();
        QVERIFY(p.contratto.indicato);
        const QStringList copia = CopiaMutuo(p).split(QStringLiteral("\r\n"));
        QCOMPARE(copia.mid(0, 9).join(QLatin1Char('\n')),
                 CopiaMutuo(PaginaMutuo(d_.MutuoCorrente())).split(QStringLiteral("\r\n")).mid(0, 9).join(QLatin1Char('\n')));
        QVERIFY(copia.contains(QStringLiteral("T.A.E.G. con i costi nel tasso \t4,270% ")));
        QVERIFY(copia.contains(QStringLiteral("Assicurazione \t2.500,00 alla stipula, fuori dal tasso ")));
        QVERIFY(copia.contains(QStringLiteral("Data della prima rata \t01/04/2021 ")));

        // A cost removed is gone from the rates too.
        clic(&w, "CostoElimina(3)");
        QTRY_COMPARE(c.costi.size(), std::size_t{3});
        QCOMPARE(etichetta(&w, "Contratto(TassoFacoltativi)"), QStringLiteral("4,270%"));
    }

    // Bad input gives the reason and no rate: an instalment that never
    // repays the loan, a first instalment before the contract date, a rate
    // beyond 100 %, more than 600 instalments, a cost dated outside the plan.
    void datiNonAccettati()
    {
        frmMutuo w(d_);
        w.show();
        w.Pagina();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        compila(w);
        const auto senzaTassi = [&w](const QString& atteso) {
            const QStringList errori = w.Dati().contratto.errori;
            QVERIFY2(errori.join(QLatin1Char('|')).contains(atteso), qPrintable(errori.join(QLatin1Char('|'))));
            QVERIFY(etichetta(&w, "DidascaliaContratto(Errore(0))").contains(atteso) ||
                    etichetta(&w, "DidascaliaContratto(Errore(1))").contains(atteso));
            for (const char* tasso : {"TassoNudo", "TassoConCosti", "TassoFacoltativi", "RataPiano"})
                QVERIFY2(!w.findChild<QLabel*>(QStringLiteral("Contratto(%1)").arg(QLatin1String(tasso))), tasso);
            QVERIFY(!CopiaMutuo(w.Dati()).contains(QStringLiteral("T.A.E.G. con i costi")));
        };

        scrivi(&w, "XPText1(2)", "100");
        senzaTassi(QStringLiteral("non supera gli interessi del primo periodo"));
        scrivi(&w, "XPText1(2)", "607,98");
        QCOMPARE(etichetta(&w, "Contratto(TassoConCosti)"), QStringLiteral("4,581%"));

        data(&w, "DataPrimaRata", "01022021");
        senzaTassi(QStringLiteral("precede la data di stipula"));
        data(&w, "DataPrimaRata", "01042021");

        scrivi(&w, "Tan", "150");
        senzaTassi(QStringLiteral("supera il 100%"));
        scrivi(&w, "Tan", "4");

        d_.MutuoCorrente().setNRate(601);  // more than the list offers: from a file
        w.aggiornaMUTUOsoft();
        senzaTassi(QStringLiteral("supera il massimo di 600"));
        QCOMPARE(MessaggiMostrati().size(), 1);  // and the grid rate says it has no room for them
        d_.MutuoCorrente().setNRate(240);

        scegli(&w, "CostoPagamento(0)", "Alla data");
        data(&w, "CostoData(0)", "01012050");
        senzaTassi(QStringLiteral("fuori dal piano"));

        // A text that is no rate is refused at once, the TAN stays.
        scrivi(&w, "Tan", "4,1234567");
        QCOMPARE(d_.Contratto().tan, 0.04);
        QCOMPARE(MessaggiMostrati().size(), 1);
    }
};

QTEST_MAIN(TestContratto)
#include "test_contratto.moc"
