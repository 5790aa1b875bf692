// The scale window on the generated account: the year offered first, another
// chosen with the keys, a movement changed in the movements window followed
// when the scale comes back to the front, and a calculation with no
// movements told as such rather than shown as a year of zeros.
#include "AiutiConto.h"
#include "frmCalcoli.h"
#include "frmMovimenti.h"
#include "frmScalare.h"

#include <QComboBox>
#include <QLabel>
#include <QtTest>

using namespace std::chrono;

namespace {

// The text of the summary's row named `figura` in quarter column `t` (1..4).
QString Cifra(const Griglia& g, const QString& figura, int t)
{
    for (int r = 0; r < g.Righe(); ++r)
        if (g.Cella(r, 0).testo == figura)
            return g.Cella(r, t).testo;
    return QStringLiteral("<%1 missing>").arg(figura);
}

// The figures of quarter `t` of `anno` as the scale computes them apart from
// any window.
const TrimestreScalare& Trimestre(const Scalare& s, int anno, int t)
{
    for (const TrimestreScalare& q : s.trimestri)
        if (q.anno == anno && q.trimestre == t)
            return q;
    qFatal("no quarter %d/%d", t, anno);
}

} // namespace

class TestScalare : public QObject {
    Q_OBJECT

    ConteggioAperto conteggio_;

private slots:
    void init()
    {
        conteggio_.Nuovo();
        prova::MettiConto(conteggio_.Doc(), 20240611, 3, 6000);
        conteggio_.Doc().setAnnoRiferimento(2015);
    }

    // The reference year first; another year typed into the list shows its
    // quarters, each with the scale's own figures and all of its lines.
    void annoScelto()
    {
        frmScalare w(conteggio_);
        w.resize(1300, 800);
        w.show();
        w.Pagina();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.Dati().anno, 2015);
        // The first statement opens on 31/12/2013: that day alone is no year
        // to show.
        QCOMPARE(w.Dati().anni, (std::vector<int>{2014, 2015, 2016, 2017}));
        QCOMPARE(w.Anno()->currentText(), QStringLiteral("2015"));
        QVERIFY(w.Dati().errore.isEmpty());

        w.Anno()->setFocus();
        QTest::keyClicks(w.Anno(), QStringLiteral("2016"));
        QCOMPARE(w.Dati().anno, 2016);
        QCOMPARE(w.Anno()->currentText(), QStringLiteral("2016"));

        const ContoMovimenti& c = conteggio_.Doc().ContoCorrente();
        const Scalare s = CalcolaScalare(c.movimenti, c.saldi, c.condizioni);
        const Griglia& g = w.Riepilogo()->Tabella();
        std::size_t linee = 0;
        for (int t = 1; t <= 4; ++t) {
            const TrimestreScalare& q = Trimestre(s, 2016, t);
            QCOMPARE(Cifra(g, QStringLiteral("Numeri debitori"), t), TestoNumeri(q.numeriDebitori()));
            QCOMPARE(Cifra(g, QStringLiteral("Massimo scoperto"), t), TestoCentesimiQt(q.massimoScoperto));
            QCOMPARE(Cifra(g, QStringLiteral("Giorni a debito"), t), QString::number(q.giorniADebito));
            linee += q.righe;
        }
        QCOMPARE(static_cast<std::size_t>(w.Righe()->Tabella().Righe()), linee + 1);
    }

    // A movement made larger in the movements window: the scale, brought back
    // to the front, shows the quarter with it.
    void segueIMovimenti()
    {
        frmScalare scalare(conteggio_);
        frmMovimenti movimenti(conteggio_);
        connect(&movimenti, &FinestraFiglia::Modificato, &conteggio_, &ConteggioAperto::SegnaModifica);
        for (FinestraFiglia* f : {static_cast<FinestraFiglia*>(&scalare), static_cast<FinestraFiglia*>(&movimenti)}) {
            f->resize(1300, 700);
            f->show();
            f->Pagina();
            QVERIFY(QTest::qWaitForWindowExposed(f));
        }
        QVERIFY(scalare.MostraAnno(2014));
        const QString prima = Cifra(scalare.Riepilogo()->Tabella(), QStringLiteral("Saldo finale per valuta"), 4);

        // The first movement valued in 2014 gets 1.000,00 euro more.
        const std::vector<Movimento>& v = conteggio_.Doc().ContoCorrente().movimenti;
        const auto primo = std::find_if(v.begin(), v.end(), [](const Movimento& m) {
            return m.dataValuta >= sys_days{year{2014} / 1 / 1} && m.classe == ClasseMovimento::Ordinario;
        });
        QVERIFY(primo != v.end());
        const int riga = movimenti.Modello()->RigaDi(static_cast<std::size_t>(primo - v.begin()));
        prova::Scrivi(movimenti.Tabella(), riga, static_cast<int>(ColonnaMovimenti::Importo),
                      TestoCentesimiQt(primo->importo + 100000));

        scalare.activateWindow();
        QTRY_COMPARE(Cifra(scalare.Riepilogo()->Tabella(), QStringLiteral("Saldo finale per valuta"), 4),
                     TestoCentesimiQt(LeggiCentesimi(prima).value() + 100000));
        QCOMPARE(scalare.Dati().anno, 2014);
    }

    // No movements: the window says so, offers no year and shows no figures.
    void senzaMovimenti()
    {
        conteggio_.Nuovo();
        frmScalare w(conteggio_);
        w.show();
        w.Pagina();
        QCOMPARE(w.Dati().anno, 0);
        QVERIFY(!w.Anno()->isEnabled());
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("Nota"))->text().contains(QStringLiteral("non contiene movimenti")));
        for (int t = 1; t <= 4; ++t)
            QVERIFY(Cifra(w.Riepilogo()->Tabella(), QStringLiteral("Numeri debitori"), t).isEmpty());
    }
};

QTEST_MAIN(TestScalare)
#include "test_scalare.moc"
