// The usury check page and its window, on the example's figures and the
// series built into the program; thresholds worked out by hand from its rows.
#include "CasiConto.h"
#include "Messaggi.h"
#include "PaginaSoglia.h"
#include "SoglieInUso.h"
#include "frmCalcoli.h"
#include "frmUsura.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace std::chrono;

namespace {

// The example calculation: a 2010 account, a mortgage, ten flows and a
// three-month advance, each with a date and a category.
void CompilaEsempio(Documento& d)
{
    d.InizializzaConteggio();
    d.setNomeConteggio("Esempio");
    CaricaFigure(d, 2010);
    const double massimi[4] = {140000, 162000, 118000, 125000};
    for (int q = 1; q <= 4; ++q)
        d.Trimestri(q).setMassimoScoperto(massimi[q - 1]);
    Mutuo& m = d.MutuoCorrente();
    m.setImporto(100000);
    m.setOneri(1500);
    m.setRata(1000);
    m.setNRate(120);
    m.setRateAnnuali(12);
    OPE& o = d.Operazioni();
    for (int r = 1; r <= OPE::Righe; ++r) {
        o.setAnno(r, 2010);
        o.setMese(r, r);
        o.setImporto(r, r == 1 ? 10000 : 1200);
        o.setSegno(r, r == 1 ? 1 : -1);
    }
    BREVE& b = d.BreveCorrente();
    b.setFinanziato(10000);
    b.setOneri(100);
    b.setRestituito(10200);
    b.setData0(sys_days{year{2010} / January / 1});
    b.setData1(sys_days{year{2010} / April / 1});
    ParametriUsura& u = d.Usura();
    u.setDataStipula(sys_days{year{2010} / March / 15});
    u.setCategoriaOperazioni("CREDITO PERSONALE");
    u.setCategoriaBreve("ANTICIPI, SCONTI COMMERCIALI E ALTRI FINANZIAMENTI ALLE IMPRESE");
}

const RigaPaginaSoglia& Ultima(const DatiPaginaSoglia& d) { return d.righe.back(); }

} // namespace

class TestPaginaSoglia : public QObject {
    Q_OBJECT

    Documento conteggio_;

private slots:
    void initTestCase()
    {
        ImpostaCartellaSoglie({});
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    }

    void init() { CompilaEsempio(conteggio_); }

    // Four quarters of 2010 by four formulas each (the 2009 instructions
    // decide), the mortgage, the flows and the advance: each gets a verdict. The advance: class "oltre 5.000 euro" of the first
    // quarter of 2010, TEGM 5,43, threshold 5,43 x 1,5 = 8,145; rate
    // 300 / 9.900 x 365 / 90 = 12,290%.
    void verdettoPerOgniTasso()
    {
        const DatiPaginaSoglia d = PaginaSoglia(conteggio_);
        QVERIFY2(d.errore.isEmpty(), qPrintable(d.errore));
        QCOMPARE(d.righe.size(), std::size_t{19});
        for (const RigaPaginaSoglia& r : d.righe)
            QVERIFY2(r.stato == StatoVerifica::EntroSoglia || r.stato == StatoVerifica::OltreSoglia,
                     qPrintable(r.operazione + " " + r.formula + ": " + r.esito + " " + r.nota));
        const RigaPaginaSoglia& breve = Ultima(d);
        QCOMPARE(breve.periodo, QStringLiteral("01/01/2010 \u2013 31/03/2010"));
        QCOMPARE(breve.classe, QStringLiteral("oltre 5.000 euro"));
        QCOMPARE(breve.tegm, QStringLiteral("5,430%"));
        QCOMPARE(breve.soglia, QStringLiteral("8,145%"));
        QCOMPARE(breve.tasso, QStringLiteral("12,290%"));
        QCOMPARE(breve.margine, QStringLiteral("-4,145"));
        QCOMPARE(breve.esito, QStringLiteral("\u26A0 OLTRE SOGLIA"));
        // The first quarter: "oltre 5.000 euro" (a line of 150.000), TEGM 9,59, threshold 14,385.
        QCOMPARE(d.righe[0].formula, QStringLiteral("Istruzioni Banca d'Italia 2009"));
        QCOMPARE(d.righe[0].ruolo, QStringLiteral("decide"));
        QCOMPARE(d.righe[0].soglia, QStringLiteral("14,385%"));
        QCOMPARE(d.righe[0].esito, QStringLiteral("entro soglia"));
        QVERIFY(!d.righe[0].riferimento && d.righe[1].riferimento);
        QCOMPARE(d.fonte, QStringLiteral("Soglie d'usura: serie storica ufficiale dei TEGM della Banca d'Italia "
                                         "incorporata nel programma, ultimo periodo dal 01/10/2026 al 31/12/2026"));

        const Griglia g = GrigliaSoglia(d);
        QCOMPARE(g.Righe(), 20);
        QCOMPARE(g.Testo(0, 9), QStringLiteral("Esito"));
        QVERIFY(g.Cella(19, 9).grassetto && !g.Cella(1, 9).grassetto);
        // The rows that do not decide are greyed; the quarter is named once.
        QVERIFY(!g.Cella(1, 1).attenuata && g.Cella(2, 1).attenuata && g.Cella(2, 7).attenuata);
        QCOMPARE(g.Testo(2, 0), QString());
    }

    // A date the series does not reach gives no threshold, never a guess.
    void oltreLaSerie()
    {
        conteggio_.BreveCorrente().setData0(sys_days{year{2027} / January / 4});
        conteggio_.BreveCorrente().setData1(sys_days{year{2027} / April / 4});
        const RigaPaginaSoglia r = Ultima(PaginaSoglia(conteggio_));
        QCOMPARE(r.stato, StatoVerifica::SogliaNonDisponibile);
        QCOMPARE(r.esito, QStringLiteral("soglia non disponibile"));
        QVERIFY(r.soglia.isEmpty() && r.margine.isEmpty() && !r.tasso.isEmpty());
    }

    // An exact rate shows the grid rate beside it; a state without a
    // verdict keeps its explanation.
    void testiDiUnaRiga()
    {
        EsitoVerifica e;
        e.operazione = "Mutuo";
        e.formula = "T.E.G. esatto";
        e.tasso = 0.081234;
        e.tassoGriglia = 0.0812;
        e.margine = -0.000004;
        e.stato = StatoVerifica::CategoriaNonPrevista;
        e.nota = "la categoria non esiste nel periodo";
        DatiPaginaSoglia d;
        d.righe = RigheSoglia({e});
        const RigaPaginaSoglia& r = d.righe[0];
        QCOMPARE(r.tasso, QStringLiteral("8,123%"));
        QCOMPARE(r.tassoGriglia, QStringLiteral("8,120%"));
        QCOMPARE(r.margine, QStringLiteral("0,000"));  // no "-0,000"
        QVERIFY(r.periodo.isEmpty() && r.tegm.isEmpty());
        const Griglia g = GrigliaSoglia(d);
        QCOMPARE(g.Testo(1, 7), QStringLiteral("8,123%\ngriglia 8,120%"));
        QCOMPARE(g.Testo(1, 9), QStringLiteral("categoria non prevista\nla categoria non esiste nel periodo"));
    }

    // The window offers the categories of the period, writes a choice into
    // the document and rebuilds the table; a date given or taken back too.
    void finestra()
    {
        conteggio_.Usura().setCategoriaBreve("");
        frmUsura w(conteggio_);
        w.Pagina();
        w.show();
        QComboBox* categoria = w.Categoria(3);
        QCOMPARE(categoria->itemData(categoria->currentIndex()).toString(), QString());
        const Griglia* g = &w.Vista()->Tabella();
        QCOMPARE(g->Testo(19, 9), QStringLiteral("categoria non scelta"));

        const int factoring = categoria->findData(QStringLiteral("FACTORING"));
        QVERIFY(factoring > 0);
        categoria->setCurrentIndex(factoring);
        emit categoria->activated(factoring);
        QCOMPARE(conteggio_.Usura().CategoriaBreve(), std::string("FACTORING"));
        // Factoring, "fino a 50.000 euro", TEGM 6,14: threshold 9,21.
        QTRY_COMPARE(w.Vista()->Tabella().Testo(19, 6), QStringLiteral("9,210%"));
        QCOMPARE(w.Classe(3)->currentText(), TestoClasseAutomatica);
        QCOMPARE(w.Classe(3)->count(), 3);

        QCheckBox* stipula = w.DataIndicata(1);
        QVERIFY(stipula->isChecked() && w.Data(1)->date() == QDate(2010, 3, 15));
        stipula->setChecked(false);
        QVERIFY(!conteggio_.Usura().DataStipula());
        QTRY_VERIFY(w.Vista()->Tabella().Testo(17, 9).startsWith(QStringLiteral("data non indicata")));
        w.Data(1)->setDate(QDate(2011, 6, 1));
        QVERIFY(!conteggio_.Usura().DataStipula());  // not given while unticked
        stipula->setChecked(true);
        QCOMPARE(*conteggio_.Usura().DataStipula(), sys_days{year{2011} / June / 1});
        // A year no contract has is refused, and the stored date stays.
        MessaggiMostrati();
        w.Data(1)->setDate(QDate(520, 3, 20));
        QCOMPARE(*conteggio_.Usura().DataStipula(), sys_days{year{2011} / June / 1});
        QCOMPARE(w.Data(1)->date(), QDate(2011, 6, 1));
        QCOMPARE(MessaggiMostrati().size(), 1);
        // A date typed and not yet confirmed counts before a command reads the window.
        w.activateWindow();
        w.Data(1)->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w.Data(1)->hasFocus());
        QTest::keyClicks(w.Data(1), QStringLiteral("02.01.2012"));
        w.ConfermaModifiche();
        QCOMPARE(*conteggio_.Usura().DataStipula(), sys_days{year{2012} / January / 2});

        // Edits made elsewhere show when the window comes back.
        w.hide();
        conteggio_.BreveCorrente().setRestituito(10050);
        w.show();
        QTRY_COMPARE(w.Dati().righe.back().esito, QStringLiteral("entro soglia"));
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("LabelFonte"))->text().contains("Soglie d'usura: serie storica"));
    }

    // Among the main window's windows, it checks again when brought to the front.
    void inPrimoPiano()
    {
        QMdiArea area;
        auto* w = new frmUsura(conteggio_);
        QMdiSubWindow* usura = area.addSubWindow(w);
        QMdiSubWindow* altra = area.addSubWindow(new QWidget);
        area.show();
        w->Pagina();
        area.setActiveSubWindow(altra);
        conteggio_.BreveCorrente().setRestituito(10050);
        QCOMPARE(w->Dati().righe.back().stato, StatoVerifica::OltreSoglia);
        area.setActiveSubWindow(usura);
        QTRY_COMPARE(w->Dati().righe.back().stato, StatoVerifica::EntroSoglia);
    }
};

QTEST_MAIN(TestPaginaSoglia)
#include "test_pagina_soglia.moc"
