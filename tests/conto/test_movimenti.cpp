// The movements window on a seeded account of 50 000 movements: sorting by a
// click on a heading, the filter typed into its fields, the running balance,
// edits, additions and deletions made with the mouse and the keys and taken
// back with Ctrl+Z; its page printed, copied and exported.
#include "AiutiConto.h"
#include "Messaggi.h"
#include "RapportiConto.h"
#include "TabellaEsportazione.h"
#include "frmMovimenti.h"
#include "modStampa.h"

#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QPainter>
#include <QTableView>
#include <QtTest>

using namespace std::chrono;
using C = ColonnaMovimenti;

namespace {

int col(C c) { return static_cast<int>(c); }

bool StessiMovimenti(const std::vector<Movimento>& a, const std::vector<Movimento>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].dataContabile != b[i].dataContabile || a[i].dataValuta != b[i].dataValuta ||
            a[i].importo != b[i].importo || a[i].descrizione != b[i].descrizione || a[i].classe != b[i].classe ||
            a[i].regolaClasse != b[i].regolaClasse)
            return false;
    return true;
}

} // namespace

class TestMovimenti : public QObject {
    Q_OBJECT

    ConteggioAperto conteggio_;
    std::vector<Movimento> originali_;
    std::unique_ptr<frmMovimenti> w_;
    int modifiche_ = 0;

    ModelloMovimenti& m() { return *w_->Modello(); }
    QTableView* t() { return w_->Tabella(); }
    const std::vector<Movimento>& mov() { return conteggio_.Doc().ContoCorrente().movimenti; }

private slots:
    void initTestCase()
    {
        prova::MettiConto(conteggio_.Doc());
        originali_ = mov();
        QCOMPARE(originali_.size(), std::size_t{50000});
    }

    void init()
    {
        conteggio_.Doc().ContoCorrente().movimenti = originali_;
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
        w_ = std::make_unique<frmMovimenti>(conteggio_);
        connect(w_.get(), &FinestraFiglia::Modificato, this, [this] { ++modifiche_; });
        modifiche_ = 0;
        w_->resize(1400, 800);
        w_->show();
        w_->Pagina();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }

    void cleanup()
    {
        w_.reset();
        MessaggiMostrati();
        ImpostaRisponditore({});
    }

    // A click on a heading sorts by that column, a second the other way; the
    // running balance is the same whatever the order, and equals the plain
    // sum of the movements valued before.
    void ordineESaldo()
    {
        QCOMPARE(m().rowCount(), 50000);
        const std::vector<Centesimi> saldi = m().Saldi().perValuta;
        QHeaderView* testata = t()->horizontalHeader();
        const auto clicTestata = [&](C c) {
            QTest::mouseClick(testata->viewport(), Qt::LeftButton, {},
                              QPoint(testata->sectionViewportPosition(col(c)) + testata->sectionSize(col(c)) / 2,
                                     testata->height() / 2));
        };
        const auto ordinata = [&](auto chiave, bool su) {
            for (int r = 1; r < m().rowCount(); ++r) {
                const auto a = chiave(m().IndiceDi(r - 1)), b = chiave(m().IndiceDi(r));
                if (su ? b < a : a < b)
                    return false;
            }
            return true;
        };
        clicTestata(C::Importo);
        QVERIFY(ordinata([&](std::size_t i) { return mov()[i].importo; }, true));
        clicTestata(C::Importo);
        QVERIFY(ordinata([&](std::size_t i) { return mov()[i].importo; }, false));
        clicTestata(C::Saldo);
        QVERIFY(ordinata([&](std::size_t i) { return saldi[i]; }, true));
        clicTestata(C::DataValuta);
        QVERIFY(ordinata([&](std::size_t i) { return mov()[i].dataValuta; }, true));
        clicTestata(C::Descrizione);
        QVERIFY(ordinata([&](std::size_t i) { return TestoConfrontabile(mov()[i].descrizione); }, true));

        // The cell texts follow the movement, not the row.
        const std::size_t i = m().IndiceDi(123);
        QCOMPARE(m().index(123, col(C::Numero)).data().toString(), QString::number(i + 1));
        QCOMPARE(m().index(123, col(C::Saldo)).data().toString(), TestoCentesimiQt(saldi[i]));
        Centesimi somma = -1'234'567;  // the generator's opening balance
        for (const Movimento& a : mov())
            if (a.dataValuta < mov()[i].dataValuta ||
                (a.dataValuta == mov()[i].dataValuta && (a.dataContabile < mov()[i].dataContabile ||
                                                         (a.dataContabile == mov()[i].dataContabile && &a <= &mov()[i]))))
                somma += a.importo;
        QCOMPARE(saldi[i], somma);
        // Statements close where their last movement is, each agreeing.
        QCOMPARE(m().Saldi().chiusure.size(), conteggio_.Doc().ContoCorrente().saldi.size());
        QVERIFY(w_->Stato()->text().contains(QStringLiteral("tutti concordano")));
    }

    // The filter as typed into its fields: words, booking dates, a class;
    // each count is the plain count of the movements it should let through.
    void filtro()
    {
        QTest::mouseClick(w_->FiltroTesto(), Qt::LeftButton);
        QTest::keyClicks(w_->FiltroTesto(), QStringLiteral("Bonifico"));
        const auto quanti = [&](auto passa) { return static_cast<int>(std::count_if(mov().begin(), mov().end(), passa)); };
        const int bonifici = quanti([](const Movimento& a) { return a.descrizione.find("BONIFICO") != std::string::npos; });
        QVERIFY(bonifici > 1000);
        QTRY_COMPARE(m().rowCount(), bonifici);

        QTest::mouseClick(w_->FiltroDal(), Qt::LeftButton);
        QTest::keyClicks(w_->FiltroDal(), QStringLiteral("1.4.2016"));
        QTest::mouseClick(w_->FiltroAl(), Qt::LeftButton);  // leaving the field applies it
        QCOMPARE(w_->FiltroDal()->text(), QStringLiteral("01/04/2016"));
        QTest::keyClicks(w_->FiltroAl(), QStringLiteral("30/06/2016"));
        QTest::keyClick(w_->FiltroAl(), Qt::Key_Return);
        const sys_days dal = sys_days{year{2016} / 4 / 1}, al = sys_days{year{2016} / 6 / 30};
        const auto nelPeriodo = [&](const Movimento& a) { return a.dataContabile >= dal && a.dataContabile <= al; };
        QCOMPARE(m().rowCount(), quanti([&](const Movimento& a) {
                     return nelPeriodo(a) && a.descrizione.find("BONIFICO") != std::string::npos;
                 }));
        QVERIFY(w_->Dati().filtro.contains(QStringLiteral("dal 01/04/2016 al 30/06/2016")));

        // A class chosen with the keyboard; the words cleared with the button.
        QTest::mouseClick(w_->FiltroTesto(), Qt::LeftButton);
        QTest::keyClick(w_->FiltroTesto(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w_->FiltroTesto(), Qt::Key_Delete);
        QComboBox* classe = w_->FiltroClasse();
        classe->setFocus();
        QTest::keyClicks(classe, QStringLiteral("imposte"));
        QCOMPARE(classe->currentText(), QStringLiteral("imposte"));
        QTRY_COMPARE(m().rowCount(), quanti([&](const Movimento& a) {
                         return nelPeriodo(a) && a.classe == ClasseMovimento::Imposte;
                     }));
        QVERIFY(m().rowCount() >= 1);

        // A date that is no date is refused and the field emptied.
        QTest::mouseClick(w_->FiltroDal(), Qt::LeftButton);
        QTest::keyClick(w_->FiltroDal(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w_->FiltroDal(), QStringLiteral("31/02/2016"));
        QTest::keyClick(w_->FiltroDal(), Qt::Key_Return);
        QVERIFY(MessaggiMostrati().join(QLatin1Char('\n')).contains(QStringLiteral("31/02/2016")));
        QVERIFY(w_->FiltroDal()->text().isEmpty());
        QTest::mouseClick(w_->findChild<QPushButton*>(QStringLiteral("MostraTutti")), Qt::LeftButton);
        QCOMPARE(m().rowCount(), 50000);
    }

    // A cell typed over, then taken back and done again with the keys; a
    // wrong value refused with its reason, the movement as it was.
    void modificaEAnnulla()
    {
        const std::size_t i = m().IndiceDi(10);
        const Movimento prima = mov()[i];
        const Centesimi saldoPrima = m().Saldi().perValuta.back();
        prova::Scrivi(t(), 10, col(C::Importo), QStringLiteral("-1.234,56"));
        QCOMPARE(mov()[i].importo, Centesimi{-123456});
        QCOMPARE(m().Saldi().perValuta.back(), saldoPrima - prima.importo - 123456);
        QCOMPARE(modifiche_, 1);
        QVERIFY(!m().Saldi().estratti.empty() && w_->Stato()->text().contains(QStringLiteral("non concordano")));

        QTest::keyClick(t(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(mov()[i].importo, prima.importo);
        QCOMPARE(m().Saldi().perValuta.back(), saldoPrima);
        QTest::keyClick(t(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(mov()[i].importo, Centesimi{-123456});
        QTest::keyClick(t(), Qt::Key_Z, Qt::ControlModifier);

        prova::Scrivi(t(), 10, col(C::DataValuta), QStringLiteral("31/02/2014"));
        QTRY_VERIFY(MessaggiMostrati(false).join(QLatin1Char('\n')).contains(QStringLiteral("31/02/2014")));
        MessaggiMostrati();
        QCOMPARE(mov()[i].dataValuta, prima.dataValuta);
        prova::Scrivi(t(), 10, col(C::Importo), QStringLiteral("12a"));
        QTRY_VERIFY(MessaggiMostrati(false).join(QLatin1Char('\n')).contains(QStringLiteral("L'importo \u00ab12a\u00bb")));
        QCOMPARE(mov()[i].importo, prima.importo);

        // The description typed over gives the class of the rules; a class
        // chosen from the list is the user's, which the rules then leave.
        prova::Scrivi(t(), 10, col(C::Descrizione), QStringLiteral("Imposta di bollo e/c"));
        QCOMPARE(mov()[i].classe, ClasseMovimento::Imposte);
        QVERIFY(mov()[i].regolaClasse > 0);
        const QPoint p = prova::Centro(t(), 10, col(C::Classe));
        QTest::mouseClick(t()->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(t()->viewport(), Qt::LeftButton, {}, p);
        auto* lista = qobject_cast<QComboBox*>(QApplication::focusWidget());
        QVERIFY(lista);
        QTest::keyClicks(lista, QStringLiteral("CMS"));
        prova::Invio(lista);
        QCOMPARE(mov()[i].classe, ClasseMovimento::CMS);
        QCOMPARE(mov()[i].regolaClasse, ClasseAMano);
        QCOMPARE(m().index(10, col(C::Regola)).data().toString(), QStringLiteral("a mano"));
        prova::Scrivi(t(), 10, col(C::Descrizione), QStringLiteral("Bonifico"));
        QCOMPARE(mov()[i].classe, ClasseMovimento::CMS);
        for (int k = 0; k < 3; ++k)
            QTest::keyClick(t(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(StessiMovimenti(mov(), originali_));
    }

    // Ins adds a movement after the current one and opens its amount; Canc
    // deletes the rows selected with Shift and a click; Ctrl+Z gives
    // everything back as it was.
    void aggiungiEdElimina()
    {
        prova::Clic(t(), 20, col(C::Descrizione));
        const std::size_t dopo = m().IndiceDi(20);
        QTest::keyClick(t(), Qt::Key_Insert);
        QCOMPARE(m().rowCount(), 50001);
        QCOMPARE(t()->currentIndex().row(), 21);
        QCOMPARE(m().IndiceDi(21), dopo + 1);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("250"));
        prova::Invio(editor);
        QCOMPARE(mov()[dopo + 1].importo, Centesimi{25000});
        QCOMPARE(mov()[dopo + 1].dataContabile, mov()[dopo].dataContabile);

        prova::Clic(t(), 100, col(C::Descrizione));
        prova::Clic(t(), 104, col(C::Descrizione), Qt::ShiftModifier);
        const std::size_t primo = m().IndiceDi(100);
        const Movimento seguente = mov()[m().IndiceDi(105)];
        QTest::keyClick(t(), Qt::Key_Delete);
        QCOMPARE(m().rowCount(), 49996);
        QCOMPARE(mov().size(), std::size_t{49996});
        QCOMPARE(mov()[primo].descrizione, seguente.descrizione);
        QCOMPARE(t()->currentIndex().row(), 100);

        // Every row at once, then back.
        t()->selectAll();
        QTest::keyClick(t(), Qt::Key_Delete);
        QCOMPARE(m().rowCount(), 0);
        QVERIFY(mov().empty());
        QTest::keyClick(w_.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m().rowCount(), 49996);
        for (int k = 0; k < 3; ++k)
            QTest::keyClick(t(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m().rowCount(), 50000);
        QVERIFY(StessiMovimenti(mov(), originali_));
        QCOMPARE(m().RigaDi(primo), 100);
    }

    // Another window changing the movements: the window reads them again.
    void seguiAltreFinestre()
    {
        conteggio_.Doc().ContoCorrente().movimenti.resize(10);
        conteggio_.SegnaModifica();
        QTRY_COMPARE(m().rowCount(), 10);
        QVERIFY(!m().Annullamenti()->canUndo());
    }

    // The page: print, copy and sheet hold every movement shown, the print
    // on as many pages as they need with the headings on each; the declared
    // balances under the movement after which they fall.
    void paginaStampaCopia()
    {
        const DatiPaginaMovimenti d = w_->Dati();
        QCOMPARE(d.righe.size(), std::size_t{50000});
        QCOMPARE(d.filtro, QStringLiteral("Tutti i movimenti"));
        const Rapporto r = RapportoMovimenti(d);
        const int estratti = static_cast<int>(conteggio_.Doc().ContoCorrente().saldi.size());
        QCOMPARE(r.RighePerPagina, RighePaginaElenco);
        QVERIFY(r.NumeroPagine > 1100);
        QVERIFY((r.NumeroPagine - 1) * RighePaginaElenco < r.tabella.Righe());
        QVERIFY(r.tabella.Righe() <= r.NumeroPagine * RighePaginaElenco);
        // Every page that lists movements opens with the headings (the first
        // after the line that says which movements these are).
        int movimenti = 0;
        for (int i = 1; i <= r.tabella.Righe(); ++i) {
            if (r.tabella.Testo(i, 3).isEmpty() || r.tabella.RigaGrassetto(i))
                continue;
            ++movimenti;
            const int inizio = (i - 1) / RighePaginaElenco * RighePaginaElenco + 1 + (i <= RighePaginaElenco ? 1 : 0);
            QVERIFY2(r.tabella.Testo(inizio, 1) == QLatin1String("Data cont."), qPrintable(QString::number(i)));
        }
        QCOMPARE(movimenti, 50000);
        const TabellaEsportazione x = TabellaDaRapporto(r);
        const auto intestazioni = std::count_if(x.righe.begin(), x.righe.end(), [](const auto& riga) {
            return !riga.empty() && riga[0].testo == QLatin1String("Data cont.");
        });
        QCOMPARE(intestazioni, 1);
        QCOMPARE(x.rigaIntestazione, 1);
        const QString copia = CopiaMovimenti(d);
        QCOMPARE(copia.count(QStringLiteral("\r\n")), (d.sottotitolo.isEmpty() ? 3 : 4) + 50000 + 2 + estratti);
        QVERIFY(copia.contains(QStringLiteral("Saldo dichiarato")));

        // A page after the first, drawn, starts with the headings; a closing
        // balance is printed under its movement.
        DatiPaginaMovimenti poche = d;
        const auto chiude = std::find_if(d.righe.begin(), d.righe.end(),
                                         [](const auto& riga) { return !riga[col(C::Estratto)].isEmpty(); });
        QVERIFY(chiude - d.righe.begin() > 30);
        poche.righe.assign(chiude - 30, chiude + 30);
        Rapporto corto = RapportoMovimenti(poche);
        corto.NumeroPagine = 2;
        std::vector<ElementoTesto> registro;
        QImage foglio(1190, 1684, QImage::Format_RGB32);
        QPainter pittore(&foglio);
        DisegnaRapporto(corto, pittore, 0.1, &registro);
        pittore.end();
        int titoli = 0;
        for (const ElementoTesto& e : registro)
            titoli += e.testo == QLatin1String("Descrizione");
        QCOMPARE(titoli, 2);
        const auto dichiarato = std::find_if(registro.begin(), registro.end(), [](const ElementoTesto& e) {
            return e.testo.startsWith(QStringLiteral("Saldo finale dichiarato"));
        });
        QVERIFY(dichiarato != registro.end() && dichiarato->testo.endsWith(QStringLiteral("concorda")));
    }
};

QTEST_MAIN(TestMovimenti)
#include "test_movimenti.moc"
