// The exact-rate line of the mortgage and operations windows: built in the
// page data, then shown and kept current by the windows.
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"
#include "frmMutuo.h"
#include "frmOPE.h"

#include <QLabel>
#include <QtTest>

namespace {

QString etichetta(QWidget* w, const char* nome)
{
    auto* l = w->findChild<QLabel*>(QString::fromLatin1(nome));
    return l ? l->text() : QStringLiteral("<missing>");
}

} // namespace

class TestTassoEsatto : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        InizializzaConteggio();
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    }
    void cleanup() { ImpostaRisponditore({}); }

    void mutuo();
    void operazioni();
};

void TestTassoEsatto::mutuo()
{
    Mutuo& m = Conteggio.MutuoCorrente();
    // The defaults lend nothing: no exact rate.
    QCOMPARE(PaginaMutuo(m).tassoEsatto, QStringLiteral("non determinabile"));

    m.setImporto(100000);
    m.setOneri(1500);
    m.setRata(700);
    m.setNRate(240);
    DatiPaginaMutuo p = PaginaMutuo(m);
    QCOMPARE(p.didascaliaEsatto, QStringLiteral("T.E.G. esatto"));
    QCOMPARE(p.tassoEsatto, QStringLiteral("0,492% mensile, 6,062% annuo"));
    QCOMPARE(p.tassoAnnuale, QStringLiteral("6,041%"));
    m.setRateAnnuali(5);  // a periodicity outside the list
    QCOMPARE(PaginaMutuo(m).tassoEsatto, QStringLiteral("0,492% per periodo, 2,483% annuo"));
    m.setRateAnnuali(12);

    frmMutuo w;
    w.Pagina();
    QCOMPARE(etichetta(&w, "Label1(10)"), QStringLiteral("T.E.G. esatto"));
    QCOMPARE(etichetta(&w, "Label1(11)"), p.tassoEsatto);
    // An edit that leaves no rate, and a failing one, both say so.
    m.setRata(300);
    w.aggiornaMUTUOsoft();
    QCOMPARE(etichetta(&w, "Label1(11)"), QStringLiteral("non determinabile"));
    m.setRata(700);
    w.aggiornaMUTUOsoft();
    QCOMPARE(etichetta(&w, "Label1(11)"), p.tassoEsatto);
    m.setNRate(500);
    w.aggiornaMUTUOsoft();
    QCOMPARE(etichetta(&w, "Label1(11)"), QStringLiteral("non determinabile"));
    QCOMPARE(MessaggiMostrati().size(), 1);
}

void TestTassoEsatto::operazioni()
{
    OPE& o = Conteggio.Operazioni();
    for (int r = 1; r <= OPE::Righe; ++r) {
        o.setAnno(r, 2010);
        o.setMese(r, r);
        o.setSegno(r, r == 1 ? 1 : -1);
        o.setImporto(r, r == 1 ? 10000 : 1200);
    }
    const DatiPaginaOPE p = PaginaOPE(o);
    QCOMPARE(p.tasso, QStringLiteral("20,555%"));
    QCOMPARE(p.tassoEsatto, QStringLiteral("1,568% mensile, 20,520% annuo"));

    frmOPE w;
    w.Pagina();
    QCOMPARE(etichetta(&w, "Label1(10)"), QStringLiteral("T.E.G. esatto"));
    QCOMPARE(etichetta(&w, "Label1(11)"), p.tassoEsatto);
    // Less paid than received.
    o.setImporto(10, 0);
    w.aggiornaOPEsoft();
    QCOMPARE(etichetta(&w, "Label1(8)"), QStringLiteral("dati incoerenti"));
    QCOMPARE(etichetta(&w, "Label1(11)"), QStringLiteral("non determinabile"));
    QVERIFY(MessaggiMostrati().isEmpty());
}

QTEST_MAIN(TestTassoEsatto)
#include "test_tasso_esatto.moc"
