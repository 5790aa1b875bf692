// The conditions window as a user drives it: periods added and removed with
// the buttons, values typed into the period's fields, a date that would make
// two periods start on one day refused with the message naming the period.
#include "AiutiConto.h"
#include "CampiFinanziamento.h"
#include "Messaggi.h"
#include "RapportiConto.h"
#include "frmCondizioni.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace std::chrono;

namespace {

sys_days G(int a, unsigned m, unsigned g) { return sys_days{year{a} / month{m} / g}; }

// Clicks into a field, types over it and leaves it with Tab.
// Clicks a check box on its box.
void Spunta(QWidget* casella) { QTest::mouseClick(casella, Qt::LeftButton, {}, QPoint(6, casella->height() / 2)); }

void Digita(QWidget* campo, const QString& testo)
{
    QTest::mouseClick(campo, Qt::LeftButton, {}, QPoint(4, campo->height() / 2));
    QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(campo, testo);
    QTest::keyClick(campo, Qt::Key_Tab);
}

} // namespace

class TestCondizioni : public QObject {
    Q_OBJECT

    Documento d_;
    std::unique_ptr<frmCondizioni> w_;
    int modifiche_ = 0;

    const CondizioniConto& condizioni() { return d_.ContoCorrente().condizioni; }
    template <typename T>
    T* trova(const char* nome)
    {
        T* c = w_->findChild<T*>(QLatin1String(nome));
        if (!c)
            qFatal("no %s", nome);
        return c;
    }

private slots:
    void init()
    {
        d_ = Documento();
        d_.InizializzaConteggio();
        d_.setAnnoRiferimento(2016);
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
        w_ = std::make_unique<frmCondizioni>(d_);
        connect(w_.get(), &FinestraFiglia::Modificato, this, [this] { ++modifiche_; });
        modifiche_ = 0;
        w_->resize(1300, 700);
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

    // Periods added with the button take the next quarter; values typed go
    // into the period chosen; a date equal to another period's is refused
    // with the message naming it, the period keeping its date; a date before
    // the others moves the period to the top of the list.
    void periodi()
    {
        QVERIFY(trova<QLabel>("Errori")->text().contains(QStringLiteral("Nessun periodo")));
        auto* aggiungi = trova<QPushButton>("AggiungiPeriodo");
        QTest::mouseClick(aggiungi, Qt::LeftButton);
        QCOMPARE(condizioni().periodi.size(), std::size_t{1});
        QCOMPARE(condizioni().periodi[0].dal, G(2016, 1, 1));  // the reference year, without movements
        Digita(trova<CampoFinanziamento>("Accordato"), QStringLiteral("50000"));
        Digita(trova<CampoFinanziamento>("TassoDebitore"), QStringLiteral("9,875"));
        Digita(trova<CampoFinanziamento>("TassoOltreFido"), QStringLiteral("13,5"));
        QCOMPARE(condizioni().periodi[0].accordato, Centesimi{5'000'000});
        QCOMPARE(condizioni().periodi[0].tassoDebitore, 0.09875);
        QCOMPARE(condizioni().periodi[0].tassoDebitoreOltreFido, 0.135);
        QCOMPARE(trova<CampoFinanziamento>("Accordato")->text(), QStringLiteral("50.000,00"));
        QVERIFY(modifiche_ >= 4);

        QTest::mouseClick(aggiungi, Qt::LeftButton);
        QCOMPARE(condizioni().periodi.size(), std::size_t{2});
        QCOMPARE(condizioni().periodi[1].dal, G(2016, 4, 1));
        QCOMPARE(condizioni().periodi[1].accordato, Centesimi{5'000'000});  // the conditions of the one before
        QCOMPARE(w_->PeriodoScelto(), 1);

        // 01/01/2016 is the first period's: refused, by name.
        auto* dal = trova<QDateEdit>("Dal");
        Digita(dal, QStringLiteral("01/01/2016"));
        const QString m = MessaggiMostrati().join(QLatin1Char('\n'));
        QVERIFY2(m.contains(QStringLiteral("Condizioni dal 01/01/2016: un altro periodo inizia lo stesso giorno.")),
                 qPrintable(m));
        QCOMPARE(condizioni().periodi[1].dal, G(2016, 4, 1));
        QCOMPARE(dal->date(), QDate(2016, 4, 1));

        // A rate above 100 % is refused too.
        Digita(trova<CampoFinanziamento>("TassoCreditore"), QStringLiteral("150"));
        QVERIFY(MessaggiMostrati().join(QLatin1Char('\n')).contains(QStringLiteral("tra 0 e 100%")));
        QCOMPARE(condizioni().periodi[1].tassoCreditore, 0.0);

        // An earlier date moves the period first, and it stays the one chosen.
        Digita(dal, QStringLiteral("01/07/2015"));
        QCOMPARE(condizioni().periodi[0].dal, G(2015, 7, 1));
        QCOMPARE(w_->PeriodoScelto(), 0);
        QCOMPARE(w_->Periodi()->item(0, 0)->text(), QStringLiteral("01/07/2015"));

        // Agreed in writing from the period's start, when ticked.
        Spunta(trova<QCheckBox>("TassiPattuiti"));
        QCOMPARE(condizioni().periodi[0].tassiPattuiti, std::optional(G(2015, 7, 1)));
        QCOMPARE(condizioni().periodi[1].tassiPattuiti, std::nullopt);

        // Removed with the button.
        QTest::mouseClick(trova<QPushButton>("EliminaPeriodo"), Qt::LeftButton);
        QCOMPARE(condizioni().periodi.size(), std::size_t{1});
        QCOMPARE(condizioni().periodi[0].dal, G(2016, 1, 1));
        QVERIFY(ControllaCondizioni(condizioni()).empty());
        QVERIFY(trova<QLabel>("Errori")->text().isEmpty());
    }

    // The particulars and the debit authorisation; the page holds them with
    // every period, and its print and copy.
    void datiEPagina()
    {
        Digita(trova<QLineEdit>("Intestatario"), QStringLiteral("Rossi S.r.l."));
        Digita(trova<QLineEdit>("IBAN"), QStringLiteral("IT60X0542811101000000123456"));
        Spunta(trova<QCheckBox>("Autorizzazione"));
        QCOMPARE(d_.ContoCorrente().conto.intestatario, std::string("Rossi S.r.l."));
        QVERIFY(condizioni().autorizzazioneAddebito.has_value());
        QTest::mouseClick(trova<QPushButton>("AggiungiPeriodo"), Qt::LeftButton);
        const DatiPaginaCondizioni p = w_->Dati();
        QVERIFY(p.sottotitolo.contains(QStringLiteral("Rossi S.r.l.")));
        QCOMPARE(p.periodi.size(), std::size_t{1});
        QCOMPARE(p.periodi[0].value(0), QStringLiteral("01/01/2016"));
        const Rapporto r = RapportoCondizioni(p);
        bool blocco = false;
        for (int i = 1; i <= r.tabella.Righe(); ++i)
            blocco = blocco || r.tabella.Testo(i, 1) == QLatin1String("Condizioni dal 01/01/2016");
        QVERIFY(blocco);
        QVERIFY(CopiaCondizioni(p).contains(QStringLiteral("IT60X0542811101000000123456")));
    }
};

QTEST_MAIN(TestCondizioni)
#include "test_condizioni.moc"
