// The window "Ricalcolo" as the user drives it: an option chosen with the
// mouse and the keys recomputes at once; a wrong date of the interrupting act
// shows its fault and no result; the BOT rates typed into their table; the
// page the print, the copy and the chart are made from.
#include "GraficoRicalcolo.h"
#include "Messaggi.h"
#include "RapportoRicalcolo.h"
#include "conto/ContoRicalcolo.h"
#include "frmCalcoli.h"
#include "frmRicalcolo.h"

#include <QAbstractItemView>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QXYSeries>
#include <QtTest>

using namespace std::chrono;

namespace {

// Clicks a widget where the user would, in its middle.
void Clic(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

// The first column of every printed row.
QStringList Righe(const Rapporto& r)
{
    QStringList righe;
    for (int n = 1; n <= TabellaStampa::MaxRighe; ++n)
        righe << r.tabella.Testo(n, 1);
    return righe;
}

} // namespace

class TestRicalcoloFinestra : public QObject {
    Q_OBJECT

    Documento documento_;
    QStringList risposte_;

private slots:
    void initTestCase()
    {
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    }

    void init()
    {
        prova::ContoRicalcolo(documento_);
        MessaggiMostrati();
    }

    // The declared opening debit left out ("saldo zero"): chosen from the
    // list with the mouse and the keys, it is in the document at once, the
    // edit is signalled, and the totals and the page follow.
    void opzioneCambiata()
    {
        frmRicalcolo w(documento_);
        w.resize(1300, 700);
        w.Pagina();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY2(w.Dati().Valido(), qPrintable(w.Errori()->text()));
        QVERIFY(!w.Errori()->isVisible());
        const QString prima = w.Totali()->text();
        const Centesimi saldoPrima = w.Dati().esito.totali.saldoFinaleRicalcolato;
        QVERIFY(prima.startsWith(QStringLiteral("Addebiti indebiti ")));
        QSignalSpy modificato(&w, &FinestraFiglia::Modificato);

        QComboBox* scelta = w.Opzione("saldoIniziale");
        QVERIFY(scelta);
        QCOMPARE(scelta->currentText(), QStringLiteral("saldo iniziale del primo estratto (predefinita)"));
        Clic(scelta);
        QAbstractItemView* elenco = scelta->view();
        QTRY_VERIFY(elenco->isVisible());
        QTest::keyClick(elenco, Qt::Key_Down);
        QTest::keyClick(elenco, Qt::Key_Return);
        QTRY_VERIFY(!elenco->isVisible());

        QCOMPARE(documento_.ContoCorrente().ricalcolo.saldoIniziale, SaldoIniziale::Zero);
        QCOMPARE(modificato.count(), 1);
        QVERIFY(w.Totali()->text() != prima);
        // Without the 5.000,00 of debit at the start, the corrected balance
        // ends more than 5.000,00 higher: less interest on a smaller debit.
        QVERIFY(w.Dati().esito.totali.saldoFinaleRicalcolato > saldoPrima + 500000);
        QVERIFY(w.Totali()->text().contains(TestoEuro(w.Dati().esito.totali.saldoFinaleRicalcolato)));
        QVERIFY(Righe(RapportoRicalcolo(w.Dati()))
                    .contains(QStringLiteral("Saldo di partenza: saldo zero (scelta non predefinita)")));

        // The same choice again changes nothing.
        Clic(scelta);
        QTRY_VERIFY(elenco->isVisible());
        QTest::keyClick(elenco, Qt::Key_Return);
        QCOMPARE(modificato.count(), 1);
    }

    // An act before the first movement: typed into the date field, its fault
    // names the date, no result stands (the result pages are disabled, the
    // grids and the chart empty); a right date brings the results back.
    void attoPrimaDelPrimoMovimento()
    {
        frmRicalcolo w(documento_);
        w.resize(1300, 700);
        w.Pagina();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.Atto()->isEnabled());
        Clic(w.AttoIndicato());
        QVERIFY(w.AttoIndicato()->isChecked());
        QVERIFY(w.Atto()->isEnabled());

        Clic(w.Atto());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("01/02/2014"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(*documento_.ContoCorrente().ricalcolo.attoInterruttivo, sys_days{year{2014} / 2 / 1});
        QVERIFY(!w.Dati().Valido());
        QVERIFY(w.Errori()->isVisible());
        QVERIFY2(w.Errori()->text().contains(
                     QStringLiteral("L'atto interruttivo del 01/02/2014 precede il primo movimento, del 15/02/2015.")),
                 qPrintable(w.Errori()->text()));
        QCOMPARE(w.Totali()->text(), QStringLiteral("Nessun risultato: correggere i dati indicati sopra."));
        for (int p = 1; p < w.Schede()->count(); ++p)
            QVERIFY(!w.Schede()->isTabEnabled(p));
        QCOMPARE(w.VistaTrimestri()->Tabella().Righe(), 1);
        QCOMPARE(w.VistaRimesse()->model()->rowCount(), 0);
        for (QAbstractSeries* s : w.VistaGrafico()->chart()->series())
            QCOMPARE(qobject_cast<QXYSeries*>(s)->count(), 0);
        QVERIFY(Righe(RapportoRicalcolo(w.Dati())).contains(QStringLiteral("Ricalcolo non eseguito")));

        Clic(w.Atto());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("01/02/2024"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(w.Dati().Valido());
        QVERIFY(!w.Errori()->isVisible());
        QVERIFY(w.Schede()->isTabEnabled(1));
        QCOMPARE(w.VistaTrimestri()->Tabella().Righe(), 1 + 4 * 3);
        QCOMPARE(w.VistaRimesse()->model()->rowCount(), 2);
        QVERIFY(qobject_cast<QXYSeries*>(w.VistaGrafico()->chart()->series().at(0))->count() > 2);
    }

    // BOT rates: a year added by its button, a rate typed in percent; a text
    // that is no number is refused with a message and the stored rate stays.
    void tassiBOT()
    {
        documento_.ContoCorrente().condizioni.periodi[0].usiPiazza = true;
        ScegliOpzione(documento_.ContoCorrente().ricalcolo, "tassoSostitutivo", 1);
        frmRicalcolo w(documento_);
        w.resize(1300, 700);
        w.Pagina();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.Errori()->text().contains(QStringLiteral("Mancano i tassi BOT dell'anno 2015")));

        Clic(w.findChild<QWidget*>(QStringLiteral("CmdAggiungiBOT")));
        QTableWidget* t = w.TabellaBOT();
        QCOMPARE(t->rowCount(), 1);
        QCOMPARE(t->item(0, 0)->text(), QStringLiteral("2015"));
        // Double-clicks a cell as the system delivers it (press, release,
        // double-click, release): its editor has the keys.
        const auto apri = [t](int colonna) -> QLineEdit* {
            const QPoint p = t->visualRect(t->model()->index(0, colonna)).center();
            QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseRelease(t->viewport(), Qt::LeftButton, {}, p);
            (void)QTest::qWaitFor([] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr; });
            auto* campo = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            if (campo)
                campo->selectAll();
            return campo;
        };
        // The table takes the value once the editor is closed, from the event loop.
        const auto conferma = [](QLineEdit* editore) {
            QPointer<QLineEdit> campo = editore;
            QTest::keyClick(campo, Qt::Key_Return);
            QTRY_VERIFY(!campo || !campo->isVisible());
        };
        const auto scrivi = [&](int colonna, const QString& testo) {
            QLineEdit* campo = apri(colonna);
            QVERIFY(campo);
            QTest::keyClicks(campo, testo);
            conferma(campo);
        };
        scrivi(2, QStringLiteral("2,5"));
        QCOMPARE(documento_.ContoCorrente().ricalcolo.tassiBOT.at(0).massimo, 0.025);
        QVERIFY(w.Dati().Valido());
        const Centesimi creditori = w.Dati().esito.totali.saldoFinaleRicalcolato;
        scrivi(1, QStringLiteral("tre"));
        QCOMPARE(MessaggiMostrati().size(), 1);
        QCOMPARE(documento_.ContoCorrente().ricalcolo.tassiBOT.at(0).minimo, 0.0);
        QTRY_COMPARE(t->item(0, 1)->text(), QStringLiteral("0"));
        // 1,5% instead of nothing on the debit balance: the corrected balance falls.
        scrivi(1, QStringLiteral("1,5"));
        QCOMPARE(documento_.ContoCorrente().ricalcolo.tassiBOT.at(0).minimo, 0.015);
        QVERIFY(w.Dati().esito.totali.saldoFinaleRicalcolato < creditori);

        // Tab goes on to the next cell while the table is rewritten with the
        // value just given: what is typed there is kept too.
        QLineEdit* campo = apri(1);
        QVERIFY(campo);
        QTest::keyClicks(campo, QStringLiteral("2"));
        QTest::keyClick(campo, Qt::Key_Tab);
        QTRY_VERIFY(QApplication::focusWidget() != campo && qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        campo = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QTest::qWait(50);
        campo->selectAll();
        QTest::keyClicks(campo, QStringLiteral("3,25"));
        conferma(campo);
        QCOMPARE(documento_.ContoCorrente().ricalcolo.tassiBOT.at(0).minimo, 0.02);
        QCOMPARE(documento_.ContoCorrente().ricalcolo.tassiBOT.at(0).massimo, 0.0325);
        QTRY_COMPARE(t->item(0, 2)->text(), QStringLiteral("3,25"));

        // A rate still being typed when the window goes: it goes without fault.
        campo = apri(2);
        QVERIFY(campo);
        QTest::keyClicks(campo, QStringLiteral("4"));
    }

    // The copy holds what the window shows, with no limit of rows: the
    // remittances and the balances day by day, a leading minus kept as text;
    // without a result only the faults.
    void copia()
    {
        DatiPaginaRicalcolo d = PaginaRicalcolo(documento_);
        QVERIFY(d.Valido());
        QStringList righe = CopiaRicalcolo(d).split(QStringLiteral("\r\n"));
        const qsizetype giorni = righe.indexOf(QStringLiteral("Giorno \tSaldo della banca \tSaldo ricalcolato \tDifferenza "));
        QVERIFY(giorni > 0);
        // The declared debit on the first day; the payment of 1.000,00 valued 15/02.
        QCOMPARE(righe.mid(giorni + 1, 2),
                 (QStringList{"01/01/2015 \t'-5.000,00 \t'-5.000,00 \t0,00 ",
                              "15/02/2015 \t'-4.000,00 \t'-4.000,00 \t0,00 "}));
        QCOMPARE(righe.size() - giorni - 2, qsizetype(d.esito.saldi.size()));
        QVERIFY(righe.contains(QStringLiteral(
            "12/08/2015 \t500,00 \t'-4.000,00 \t0,00 \t500,00 \t0,00 \tI trim. 2015: 39,04; II trim. 2015: 30,27 \tno \t"
            "Bonifico a favore ")));
        QCOMPARE(righe.filter(QStringLiteral("\tdifferenza \t")).size(), 4 + 1);

        documento_.ContoCorrente().ricalcolo.chiusuraConto = sys_days{year{2015} / 6 / 30};
        d = PaginaRicalcolo(documento_);
        QVERIFY(!d.Valido());
        const QString testo = CopiaRicalcolo(d);
        QVERIFY(testo.contains(d.errori.front()));
        QVERIFY(!testo.contains(QStringLiteral("Giorno \t")));
    }

    // The chart saved as a picture, whole; a folder that cannot be written
    // says so and leaves nothing.
    void grafico()
    {
        frmRicalcolo w(documento_);
        w.Pagina();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.Schede()->setCurrentIndex(4);
        QTemporaryDir cartella;
        const QString png = cartella.filePath(QStringLiteral("saldi.png"));
        w.ImpostaSceltaFile([&png](QWidget*, const QString& proposto) {
            return proposto.endsWith(QStringLiteral("Ricalcolo.pdf")) ? png : QString();
        });
        Clic(w.findChild<QWidget*>(QStringLiteral("CmdSalvaGrafico")));
        QImage immagine(png);
        QVERIFY(!immagine.isNull());
        QCOMPARE(immagine.width(), 2953);
        w.ImpostaSceltaFile([](QWidget*, const QString&) { return QStringLiteral("/proc/non-si-scrive.pdf"); });
        Clic(w.findChild<QWidget*>(QStringLiteral("CmdSalvaGrafico")));
        const QString detto = MessaggiMostrati().value(0);
        QVERIFY2(detto.startsWith(QStringLiteral("Impossibile scrivere il file \u00ab/proc/non-si-scrive.pdf\u00bb")),
                 qPrintable(detto));
    }
};

QTEST_MAIN(TestRicalcoloFinestra)
#include "test_ricalcolo_finestra.moc"
