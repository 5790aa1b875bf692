// "Regole delle classi" as the user edits it with mouse and keys: a rule
// added, typed and moved reclasses the movements on "Applica" and leaves
// the class set by hand; a faulty rule is shown and not applied; the page
// prints and copies what the window shows.
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "RapportoRegole.h"
#include "frmRegole.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

namespace {

Movimento M(const char* descrizione, Centesimi importo, const char* causale = "")
{
    Movimento m;
    m.dataContabile = m.dataValuta = std::chrono::sys_days{std::chrono::year{2023} / 3 / 31};
    m.importo = importo;
    m.descrizione = descrizione;
    m.causaleCBI = causale;
    return m;
}

// The centre of a cell, in the table's viewport.
QPoint Cella(QTableWidget* t, int r, int c)
{
    return t->visualRect(t->model()->index(r, c)).center();
}

void Digita(QTableWidget* t, int r, int c, const QString& testo)
{
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, Cella(t, r, c));
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, Cella(t, r, c));
    // The cell's editor, open in the table (the keys go to it, active window or not).
    QWidget* editor = nullptr;
    for (QLineEdit* e : t->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible())
            editor = e;
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, testo);
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits what was typed once the event loop runs.
    const QPointer<QWidget> aperto(editor);
    QTRY_VERIFY(!aperto || !aperto->isVisible());
}

void Clicca(QWidget& w, const char* nome)
{
    auto* p = w.findChild<QPushButton*>(QLatin1String(nome));
    QVERIFY2(p, nome);
    QTest::mouseClick(p, Qt::LeftButton);
}

} // namespace

class TestRegoleClassi : public QObject {
    Q_OBJECT

    Documento documento_;

    std::vector<Movimento>& Movimenti() { return documento_.ContoCorrente().movimenti; }

private slots:
    void init()
    {
        documento_.InizializzaConteggio();
        auto& m = Movimenti();
        m = {M("INTERESSI DEBITORI", -1234, "18"), M("SPESE TENUTA CONTO", -3000), M("SPESE TENUTA CONTO", -3000),
             M("BONIFICO A FAVORE DI ROSSI", -50000, "26"), M("IMPOSTA DI BOLLO", -2500)};
        ApplicaRegole(m, documento_.ContoCorrente().regole);
        m[2].classe = ClasseMovimento::Ordinario;  // set by hand
        m[2].regolaClasse = ClasseAMano;
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Yes; });
    }

    void cleanup() { ImpostaRisponditore({}); }

    // A rule added after the first, typed, given a class from its list and
    // moved to the top wins on "Applica"; the class set by hand stays, the
    // other movements keep their classes under their rules' new numbers.
    void nuovaRegolaInTesta()
    {
        frmRegole w(documento_);
        w.Pagina();
        w.resize(1200, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QSignalSpy modificato(&w, &FinestraFiglia::Modificato);
        QTableWidget* t = w.Tabella();
        const int regole = t->rowCount();
        QCOMPARE(std::size_t(regole), RegolePredefinite().size());

        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, Cella(t, 0, frmRegole::Parole));
        Clicca(w, "Aggiungi");
        QCOMPARE(t->rowCount(), regole + 1);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor && editor != t);  // the new rule's words, ready to type
        QTest::keyClicks(editor, "tenuta conto; canone*");
        QTest::keyClick(editor, Qt::Key_Return);
        // Its class from the list: imposte, the last one.
        auto* classe = qobject_cast<QComboBox*>(t->cellWidget(1, frmRegole::Classe));
        QVERIFY(classe);
        const QPoint dove = classe->mapTo(&w, QPoint(5, classe->height() / 2));
        QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, dove);
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, dove, 60);
        QTRY_VERIFY(classe->view()->isVisible());
        QTest::keyClick(classe->view(), Qt::Key_End);
        QTest::keyClick(classe->view(), Qt::Key_Return);
        QTRY_VERIFY(!classe->view()->isVisible());
        Clicca(w, "Su");
        QCOMPARE(t->currentRow(), 0);
        QCOMPARE(t->item(0, frmRegole::Parole)->text(), QStringLiteral("tenuta conto; canone*"));
        QCOMPARE(w.Dati().righe[0].classe, QStringLiteral("imposte"));
        QCOMPARE(w.Dati().righe[0].movimenti, QStringLiteral("1"));  // not the one set by hand
        QCOMPARE(modificato.count(), 0);  // nothing applied yet

        Clicca(w, "Applica");
        QCOMPARE(modificato.count(), 1);
        const auto& m = Movimenti();
        QCOMPARE(m[1].classe, ClasseMovimento::Imposte);
        QCOMPARE(m[1].regolaClasse, 1);
        QCOMPARE(m[2].classe, ClasseMovimento::Ordinario);
        QCOMPARE(m[2].regolaClasse, ClasseAMano);
        QCOMPARE(m[0].classe, ClasseMovimento::InteressiDebitori);
        QCOMPARE(m[4].regolaClasse, 2);  // stamp duty: the first rule of the defaults, now second
        QCOMPARE(documento_.ContoCorrente().regole.size(), std::size_t(regole + 1));
        QVERIFY(w.findChild<QLabel*>("EsitoApplica")->text().startsWith("Regole applicate: 3 movimenti"));
        QVERIFY(!w.findChild<QPushButton*>("Applica")->isEnabled());
    }

    // A causale of one character is shown as a fault and never reaches the
    // calculation: "Applica" refuses it, closing the window says so.
    void regolaSbagliata()
    {
        const std::vector<RegolaClasse> prima = documento_.ContoCorrente().regole;
        auto w = std::make_unique<frmRegole>(documento_);
        w->Pagina();
        w->resize(1200, 700);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        Digita(w->Tabella(), 0, frmRegole::Causali, "1");
        const QString errore = QStringLiteral("Regola 1: la causale \u00ab1\u00bb deve avere due lettere o cifre.");
        QCOMPARE(w->findChild<QLabel*>("Errori")->text(), errore);
        QCOMPARE(w->Dati().errori, QStringList{errore});
        MessaggiMostrati();
        Clicca(*w, "Applica");
        QVERIFY(MessaggiMostrati().value(0).contains(errore));
        w->ConfermaModifiche();  // as before any command: faulty rules stay out
        QVERIFY(documento_.ContoCorrente().regole == prima);
        w->hide();
        QVERIFY(MessaggiMostrati().value(0).startsWith("Le regole delle classi modificate non sono state applicate"));
        QVERIFY(documento_.ContoCorrente().regole == prima);

        // Sound edits are applied when a command runs, as typed fields are.
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        Digita(w->Tabella(), 0, frmRegole::Causali, "34, 18");
        w->ConfermaModifiche();
        QCOMPARE(documento_.ContoCorrente().regole[0].causali, (std::vector<std::string>{"34", "18"}));
    }

    // The defaults come back on request; the page prints and copies each rule
    // whole, the totals after them.
    void predefiniteEPagina()
    {
        documento_.ContoCorrente().regole.resize(2);
        frmRegole w(documento_);
        w.Pagina();
        w.show();
        Clicca(w, "Predefinite");
        QCOMPARE(w.Regole(), RegolePredefinite());
        Clicca(w, "Applica");
        QCOMPARE(documento_.ContoCorrente().regole, RegolePredefinite());

        const DatiPaginaRegole& d = w.Dati();
        const Rapporto r = RapportoRegole(d);
        QCOMPARE(r.titolo, QStringLiteral("Regole delle classi dei movimenti"));
        QCOMPARE(r.tabella.Testo(3, 1), QStringLiteral("1"));
        QCOMPARE(r.tabella.Testo(3, 5), QStringLiteral("imposte"));
        // The long lists of words are broken over lines of the report.
        QVERIFY(r.tabella.Testo(4, 3).size() > 0 && r.tabella.Testo(4, 1).isEmpty());
        const QString copia = CopiaRegole(d);
        QVERIFY(copia.contains(QStringLiteral("2 \t \t") + d.righe[1].parole + QStringLiteral(" \tqualsiasi \tCMS \t")));
        QVERIFY(copia.contains(QStringLiteral("Movimenti con la classe data a mano, che le regole non cambiano: 1")));
    }
};

QTEST_MAIN(TestRegoleClassi)
#include "test_regole_classi.moc"
