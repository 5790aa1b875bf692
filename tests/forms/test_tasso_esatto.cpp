// The exact-rate line of the mortgage and operations windows: built in the
// page data, shown and kept current by the windows.
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "PagineFinanziamenti.h"
#include "frmMutuo.h"
#include "frmOPE.h"

#include <QLabel>
#include <QtTest>

class TestTassoEsatto : public QObject {
    Q_OBJECT

    Documento conteggio_;
private slots:
    void mutuoEOperazioni();
};

void TestTassoEsatto::mutuoEOperazioni()
{
    conteggio_.InizializzaConteggio();
    ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    Mutuo& m = conteggio_.MutuoCorrente();
    m.setImporto(100000);
    m.setOneri(1500);
    m.setRata(700);
    m.setNRate(240);
    const DatiPaginaMutuo p = PaginaMutuo(m);
    QCOMPARE(p.didascaliaEsatto, QStringLiteral("T.E.G. esatto"));
    QCOMPARE(p.tassoEsatto, QStringLiteral("0,492% mensile, 6,062% annuo"));

    frmMutuo w(conteggio_);
    w.Pagina();
    const auto esatto = [](QWidget* f) { return f->findChild<QLabel*>(QStringLiteral("Label1(11)"))->text(); };
    QCOMPARE(esatto(&w), p.tassoEsatto);
    m.setNRate(500);  // a failing recomputation leaves no stale rate
    w.aggiornaMUTUOsoft();
    QCOMPARE(esatto(&w), QStringLiteral("non determinabile"));
    QCOMPARE(MessaggiMostrati().size(), 1);

    OPE& o = conteggio_.Operazioni();
    for (int r = 1; r <= OPE::Righe; ++r) {
        o.setMese(r, r);
        o.setSegno(r, r == 1 ? 1 : -1);
        o.setImporto(r, r == 1 ? 10000 : 1200);
    }
    frmOPE v(conteggio_);
    v.Pagina();
    QCOMPARE(esatto(&v), QStringLiteral("1,568% mensile, 20,520% annuo"));
    o.setImporto(10, 0);  // more received than paid
    v.aggiornaOPEsoft();
    QCOMPARE(esatto(&v), QStringLiteral("non determinabile"));
    ImpostaRisponditore({});
}

QTEST_MAIN(TestTassoEsatto)
#include "test_tasso_esatto.moc"
