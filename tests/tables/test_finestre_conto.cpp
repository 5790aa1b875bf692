// The three current-account windows: the result grids as the table view shows
// them, the toolbars, and typing into the input window.
#include "CampiFinanziamento.h"
#include "CasiConto.h"
#include "Messaggi.h"
#include "Pagine.h"
#include "Twips.h"
#include "frmBox.h"
#include "frmCalcoli.h"
#include "frmItalia.h"

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>
#include <QtTest>

namespace {

QStringList Comandi(FinestraFiglia& w, const QStringList& chiavi)
{
    QSignalSpy spia(&w, &FinestraFiglia::Comando);
    for (const QString& k : chiavi) {
        auto* a = w.findChild<QAction*>(k);
        if (!a)
            return {QStringLiteral("missing ") + k};
        a->trigger();
    }
    QStringList emessi;
    for (const auto& argomenti : spia)
        emessi << argomenti.at(0).toString();
    return emessi;
}

// Types characters that have no key of their own on the test keyboard.
void DigitaSimbolo(QWidget* w, const QString& simbolo)
{
    QKeyEvent premuto(QEvent::KeyPress, 0, Qt::NoModifier, simbolo);
    QKeyEvent rilasciato(QEvent::KeyRelease, 0, Qt::NoModifier, simbolo);
    QApplication::sendEvent(w, &premuto);
    QApplication::sendEvent(w, &rilasciato);
}

QColor Sfondo(const QLineEdit* e) { return e->palette().color(QPalette::Base); }

} // namespace

class TestFinestreConto : public QObject {
    Q_OBJECT

    Documento conteggio_;

private slots:
    void init()
    {
        conteggio_.InizializzaConteggio();
        CaricaFigure(conteggio_, 2013);
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
        MessaggiMostrati();
    }

    void cleanup() { ImpostaRisponditore({}); }

    void grigliaAnaliticaNellaVista()
    {
        frmCalcoli w(conteggio_);
        w.Pagina();
        QString errore;
        const Griglia atteso = PaginaMatematico(conteggio_, errore);
        const Griglia& g = w.Tabella();
        QCOMPARE(g.Righe(), 41);
        QCOMPARE(g.Colonne(), 6);

        auto* vista = w.findChild<QTableView*>(QStringLiteral("Grid"));
        QVERIFY(vista);
        QCOMPARE(vista->parentWidget()->objectName(), QStringLiteral("XPFrame4"));
        QCOMPARE(w.findChild<QWidget*>(QStringLiteral("XPFrame4"))->property("Tag").toString(),
                 QStringLiteral("00120010801485005445"));
        QCOMPARE(w.property("Tag").toString(), QStringLiteral("1513506645"));
        const QAbstractItemModel* m = vista->model();
        QCOMPARE(m->rowCount(), 41);
        QCOMPARE(m->columnCount(), 6);
        for (int r = 0; r < 41; ++r)
            for (int c = 0; c < 6; ++c) {
                const QModelIndex i = m->index(r, c);
                QCOMPARE(m->data(i).toString(), atteso.Testo(r, c));
                QCOMPARE(m->data(i, Qt::FontRole).value<QFont>().bold(), atteso.Cella(r, c).grassetto);
                QCOMPARE(m->data(i, Qt::BackgroundRole).value<QBrush>().color() == QColor(224, 224, 224),
                         atteso.Cella(r, c).grigia);
                QCOMPARE(m->data(i, Qt::TextAlignmentRole).toInt(), int(atteso.Cella(r, c).allineamento));
            }

        // The title is one cell over columns 0 to 3; the headings beside it stay apart.
        for (int r : {0, 10, 20, 30}) {
            QCOMPARE(vista->columnSpan(r, 0), 4);
            QCOMPARE(vista->columnSpan(r, 4), 1);
            QCOMPARE(vista->columnSpan(r, 5), 1);
            QVERIFY(vista->rowHeight(r) >= TwipsAPixel(480));
        }
        QCOMPARE(vista->columnSpan(40, 0), 1);
        QCOMPARE(vista->columnSpan(9, 0), 1);   // empty neighbours stay separate
        const int larghezze[6] = {3000, 2000, 500, 3000, 2000, 2000};
        for (int c = 0; c < 6; ++c)
            QCOMPARE(vista->columnWidth(c), TwipsAPixel(larghezze[c]));
        for (int r = 1; r < 40; ++r)
            if (r % 10)
                QVERIFY(vista->rowHeight(r) >= TwipsAPixel(285));
        QVERIFY(MessaggiMostrati().isEmpty());
    }

    void grigliaBancaItaliaNellaVista()
    {
        frmItalia w(conteggio_);
        w.Pagina();
        auto* vista = w.findChild<QTableView*>(QStringLiteral("Grid"));
        QVERIFY(vista);
        QString errore;
        const Griglia atteso = PaginaItalia(conteggio_, errore);
        for (int r = 0; r < 13; ++r)
            for (int c = 0; c < 5; ++c)
                QCOMPARE(vista->model()->data(vista->model()->index(r, c)).toString(), atteso.Testo(r, c));
        for (int r : {0, 7}) {
            QCOMPARE(vista->columnSpan(r, 0), 2);
            QCOMPARE(vista->columnSpan(r, 2), 1);
            QCOMPARE(vista->columnSpan(r, 3), 2);
        }
        QCOMPARE(vista->columnSpan(1, 0), 1);

        // The formula sits beside the table, inside the frame, clear of the columns.
        auto* figura = w.findChild<QWidget*>(QStringLiteral("Picture1"));
        QVERIFY(figura);
        QCOMPARE(figura->parentWidget()->objectName(), QStringLiteral("XPFrame4"));
        w.show();
        w.Cornice()->resize(TwipsAPixel(28500), TwipsAPixel(11500));
        vista->resize(TwipsAPixel(28000), TwipsAPixel(11000));
        QCOMPARE(figura->size(), FiguraFormula::MisuraProgetto());
        int colonne = 0;
        for (int c = 0; c < 5; ++c)
            colonne += vista->columnWidth(c);
        QVERIFY(figura->x() > vista->x() + colonne);
        QVERIFY(figura->geometry().right() < vista->geometry().right());
    }

    void trimestreNonCalcolabileSiSegnala()
    {
        conteggio_.Trimestri(3).setNumeri(1);
        conteggio_.Trimestri(3).setInteressi(1e300);
        for (int k = 0; k < 2; ++k) {
            std::unique_ptr<FinestraRisultati> w;
            if (k == 0)
                w = std::make_unique<frmCalcoli>(conteggio_);
            else
                w = std::make_unique<frmItalia>(conteggio_);
            w->show();
            w->Pagina();
            const QStringList m = MessaggiMostrati();
            QCOMPARE(m.size(), 1);
            QVERIFY(m[0].contains(QStringLiteral("Trimestre III - 2013")));
            QVERIFY(w->isVisible());
            QVERIFY(w->Tabella().Righe() > 0);
            QVERIFY(!w->Tabella().Testo(1, 1).isEmpty());
        }
    }

    void pulsantiDelleFinestre()
    {
        const QStringList tutti = {"input", "matematico", "italia"};
        frmCalcoli calcoli(conteggio_);
        frmItalia italia(conteggio_);
        frmBox box(conteggio_);
        // Each window's own button does nothing; the others are passed on.
        QCOMPARE(Comandi(calcoli, tutti), QStringList({"input", "italia"}));
        QCOMPARE(Comandi(italia, tutti), QStringList({"input", "matematico"}));
        QCOMPARE(Comandi(box, tutti), QStringList({"matematico", "italia"}));

        auto* barra = calcoli.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QVERIFY(barra);
        const QList<QAction*> azioni = barra->actions();
        QCOMPARE(azioni.size(), 3);
        const int lunghezze[3] = {28, 21, 23};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(azioni[i]->objectName(), tutti[i]);
            QCOMPARE(azioni[i]->data().toString(), tutti[i]);
            QCOMPARE(azioni[i]->text().size(), lunghezze[i]);
        }
        QCOMPARE(azioni[2]->text().trimmed(), QStringLiteral("TEG Banca d'Italia"));
        QCOMPARE(calcoli.findChild<QPushButton*>(QStringLiteral("XPButton1"))->text(),
                 QStringLiteral("T.E.G. su conto corrente con calcolo analitico"));
        QCOMPARE(italia.findChild<QPushButton*>(QStringLiteral("XPButton1"))->text(),
                 QStringLiteral("T.E.G. su conto corrente con procedura della Banca d'Italia"));
        QCOMPARE(box.findChild<QPushButton*>(QStringLiteral("XPButton1"))->text(),
                 QStringLiteral("T.E.G. su conto corrente - dati di input"));
    }

    void paginaDiInput()
    {
        conteggio_.Trimestri(1).setDescrizione("Conto n. 42");
        frmBox w(conteggio_);
        w.Pagina();
        QCOMPARE(w.Campo(0, 3)->objectName(), QStringLiteral("XPText1(3)"));
        QCOMPARE(w.Campo(0, 3)->text(), QStringLiteral("10.100.000,00"));
        QCOMPARE(w.Campo(5, 0)->objectName(), QStringLiteral("XPText6(0)"));
        QCOMPARE(w.Campo(5, 0)->text(), QStringLiteral("300,00"));
        QCOMPARE(w.Campo(6, 1)->text(), QStringLiteral("150.000,00"));
        QCOMPARE(w.Anno()->count(), 51);
        QCOMPARE(w.Anno()->currentText(), QStringLiteral("2013"));
        QCOMPARE(w.Descrizione()->text(), QStringLiteral("Conto n. 42"));
        // Filling the window wrote nothing back.
        QCOMPARE(conteggio_.Trimestri(3).Numeri(), 7300000.55);
    }

    void digitazioneNeiCampi()
    {
        frmBox w(conteggio_);
        w.Pagina();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        struct Caso {
            int k, i;
            QString tasti;
            QString mostrato;
            double memorizzato;
        };
        const Caso casi[] = {
            {1, 0, QStringLiteral("1234,5"), QStringLiteral("1.234,50"), 1234.5},
            {2, 1, QStringLiteral("12,35"), QStringLiteral("12,35"), 12.35},  // more decimals: refused
            {4, 2, QStringLiteral("a-1.2,3x%"), QStringLiteral("12,30"), 12.3},
            {0, 3, QStringLiteral("9876543,21"), QStringLiteral("9.876.543,21"), 9876543.21},
            {6, 3, QStringLiteral(""), QStringLiteral("0,00"), 0},
            {7, 1, QStringLiteral("13000"), QStringLiteral("13.000,00"), 13000},
        };
        for (const Caso& c : casi) {
            CampoFinanziamento* campo = w.Campo(c.k, c.i);
            campo->setFocus(Qt::TabFocusReason);
            QVERIFY(campo->hasFocus());
            // The whole text is selected, on light orange, so typing replaces it.
            QCOMPARE(campo->selectedText(), campo->text());
            QCOMPARE(Sfondo(campo), QColor(255, 192, 128));
            QTest::keyClick(campo, Qt::Key_Backspace);
            QTest::keyClicks(campo, c.tasti);
            w.Descrizione()->setFocus(Qt::TabFocusReason);
            QCOMPARE(campo->text(), c.mostrato);
            QCOMPARE(Sfondo(campo), QColor(Qt::white));
        }
        QCOMPARE(conteggio_.Trimestri(1).Interessi(), 1234.5);
        QCOMPARE(conteggio_.Trimestri(2).Commissioni(), 12.35);
        QCOMPARE(conteggio_.Trimestri(3).GiorniValuta(), 12.3);
        QCOMPARE(conteggio_.Trimestri(4).Numeri(), 9876543.21);
        QCOMPARE(conteggio_.Trimestri(4).Accordato(), 0.0);
        QCOMPARE(conteggio_.Trimestri(2).MassimoScoperto(), 13000.0);
        // Neighbouring fields and quarters are untouched.
        QCOMPARE(conteggio_.Trimestri(1).Numeri(), FigureEsempio[0].numeri);
        QCOMPARE(conteggio_.Trimestri(4).CMS(), FigureEsempio[3].cms);

        // Only digits, the comma and Backspace reach an amount field.
        CampoFinanziamento* campo = w.Campo(3, 0);
        campo->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(campo, QStringLiteral("1a2 b.-+e3,4"));
        DigitaSimbolo(campo, QStringLiteral("\u20AC"));
        QCOMPARE(campo->text(), QStringLiteral("123,4"));
        QTest::keyClick(campo, Qt::Key_Backspace);
        QCOMPARE(campo->text(), QStringLiteral("123,"));

        // More digits than an amount holds: said, and the quarter keeps its value.
        MessaggiMostrati();
        campo = w.Campo(7, 1);
        campo->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(campo, QString(310, QLatin1Char('9')));
        w.Descrizione()->setFocus(Qt::TabFocusReason);
        QCOMPARE(MessaggiMostrati().size(), 1);
        QCOMPARE(conteggio_.Trimestri(2).MassimoScoperto(), 13000.0);

        // The description takes everything but " * / : < > ? \ | and is kept untrimmed.
        w.Descrizione()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w.Descrizione(), Qt::Key_Backspace);
        QTest::keyClicks(w.Descrizione(), QStringLiteral(" Conto: \"A\"/B*<>?\\| n"));
        DigitaSimbolo(w.Descrizione(), QStringLiteral("\u00B0"));
        QTest::keyClicks(w.Descrizione(), QStringLiteral(" 7 "));
        w.Campo(0, 0)->setFocus(Qt::TabFocusReason);
        QCOMPARE(conteggio_.Trimestri(1).Descrizione(), std::string(" Conto AB n\u00B0 7 "));
        QCOMPARE(conteggio_.Trimestri(3).GiorniValuta(), 12.3);
    }

    void sceltaAnno()
    {
        frmBox w(conteggio_);
        w.Pagina();
        const int i = w.Anno()->findText(QStringLiteral("2012"));
        QVERIFY(i >= 0);
        w.Anno()->setCurrentIndex(i);
        emit w.Anno()->activated(i);
        QCOMPARE(int(conteggio_.AnnoRiferimento()), 2012);
        QCOMPARE(conteggio_.Trimestri(2).Interessi(), FigureEsempio[1].interessi);
    }

    void confermaDelCampoInCorso()
    {
        {
            // A window closed before it was filled writes nothing back.
            frmBox vuota(conteggio_);
            vuota.show();
            vuota.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&vuota));
            vuota.Campo(0, 0)->setFocus(Qt::TabFocusReason);
            vuota.Descrizione()->setFocus(Qt::TabFocusReason);
            vuota.ConfermaModifiche();
            vuota.hide();
            QCOMPARE(conteggio_.Trimestri(1).Numeri(), FigureEsempio[0].numeri);
            QCOMPARE(conteggio_.Trimestri(1).Descrizione(), std::string("Inserire descrizione"));
        }
        // A command or closing the window keeps what is being typed.
        frmBox w(conteggio_);
        w.Pagina();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.Campo(2, 2)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(w.Campo(2, 2), QStringLiteral("77,7"));
        QCOMPARE(conteggio_.Trimestri(3).Commissioni(), FigureEsempio[2].commissioni);
        w.ConfermaModifiche();
        QCOMPARE(conteggio_.Trimestri(3).Commissioni(), 77.7);
        QCOMPARE(w.Campo(2, 2)->text(), QStringLiteral("77,70"));

        w.Campo(2, 2)->selectAll();
        QTest::keyClicks(w.Campo(2, 2), QStringLiteral("5"));
        QCOMPARE(w.Campo(2, 2)->text(), QStringLiteral("5"));
        w.hide();
        QCOMPARE(conteggio_.Trimestri(3).Commissioni(), 5.0);
        QCOMPARE(w.Campo(2, 2)->text(), QStringLiteral("5,00"));
    }

    void tabelleDaiDatiDigitati()
    {
        // Figures typed in the input window are those of the tables opened next.
        frmBox box(conteggio_);
        box.Pagina();
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        // Numeri, Interessi, Commissioni, Spese, GiorniValuta, CMS, Accordato.
        const QString tasti[7] = {"18250000", "3100,25", "700", "150,5", "2", "450", "200000"};
        for (int k = 0; k < 7; ++k) {
            box.Campo(k, 0)->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(box.Campo(k, 0), tasti[k]);
        }
        QCOMPARE(Comandi(box, {"matematico"}), QStringList({"matematico"}));
        box.ConfermaModifiche();

        std::array<FigureTrimestre, 4> f = FigureEsempio;
        f[0] = {18250000, 3100.25, 700, 150.5, 2, 200000, 450};
        const Atteso a = Calcola(f[0], 1, 2013);

        frmCalcoli calcoli(conteggio_);
        calcoli.Pagina();
        const Griglia& g = calcoli.Tabella();
        QCOMPARE(g.Testo(1, 1), QStringLiteral("18.250.000,00"));
        QCOMPARE(g.Testo(2, 1), E(3100.25));
        QCOMPARE(g.Testo(1, 4), E(a.interessi));
        QCOMPARE(g.Testo(8, 5), R(a.costoP));
        QCOMPARE(g.Testo(8, 1), E(a.debitoData));

        frmItalia italia(conteggio_);
        italia.Pagina();
        QCOMPARE(italia.Tabella().Testo(3, 1), E(a.tegOneri));
        QCOMPARE(italia.Tabella().Testo(5, 1), R(a.teg));
    }
};

QTEST_MAIN(TestFinestreConto)
#include "test_finestre_conto.moc"
