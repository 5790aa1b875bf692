// "Apri conteggio" over real archive folders: what it lists, what a click, a
// double-click, the keyboard, "Apri", "Annulla" and the window frame do.
#include "Archivio.h"
#include "ConteggioAperto.h"
#include "Dichiarazioni.h"
#include "Messaggi.h"
#include "frmCaricaFile.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Makes calculation `nome` in `cartella` with the four descriptions given.
void creaConDescrizioni(const QString& cartella, const QString& nome, const char* conto,
                        const char* mutuo, const char* breve, const char* varie)
{
    CreaConteggio(cartella, nome);
    ConteggioAperto c;
    c.Carica(cartella, nome);
    c.Doc().Trimestri(1).setDescrizione(conto);
    c.Doc().MutuoCorrente().setDescrizione(mutuo);
    c.Doc().BreveCorrente().setDescrizione(breve);
    c.Doc().Operazioni().setDescrizione(varie);
    c.Salva();
}

QPoint centroRiga(QTreeWidget* l, int riga)
{
    return l->visualItemRect(l->topLevelItem(riga)).center();
}

QPoint sottoLeRighe(QTreeWidget* l) { return QPoint(5, l->viewport()->height() - 5); }

// A double-click as the system delivers it: press, release, double-click, release.
void clicDoppio(QWidget* w, QPoint p)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, p);
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
}

// The deferred deletion of a closed dialog.
void eliminaChiusi() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class ProvaApriConteggio : public QObject {
    Q_OBJECT

    QTemporaryDir archivio_;
    QWidget principale_;
    QStringList caricati_;

    frmCaricaFile* apri(const QString& cartella)
    {
        auto* d = new frmCaricaFile(&principale_, cartella,
                                    [this](const QString& n) { caricati_ << n; });
        d->show();
        return d;
    }

    // The dialog has loaded `nome`, given the main window back and gone.
    void caricatoEChiuso(QPointer<frmCaricaFile>& d, const QString& nome)
    {
        QCOMPARE(caricati_, QStringList{nome});
        QVERIFY(principale_.isEnabled());
        eliminaChiusi();
        QVERIFY(!d);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(archivio_.isValid());
        const QString c = archivio_.path();
        creaConDescrizioni(c, QStringLiteral("Gamma"), "Conto Gamma", "Mutuo Gamma", "Breve Gamma",
                           "Varie Gamma");
        creaConDescrizioni(c, QStringLiteral("Alfa"), "Conto \u00e0 Alfa", "Mutuo Alfa",
                           "Breve Alfa", "Varie Alfa");
        creaConDescrizioni(c, QStringLiteral("Beta"), "Conto Beta", "", "Breve Beta", "");
        QFile nota(c + QStringLiteral("/nota.txt")), rotto(c + QStringLiteral("/rotto.ccc"));
        QVERIFY(nota.open(QIODevice::WriteOnly) && rotto.open(QIODevice::WriteOnly));
        nota.write("non un conteggio");
        rotto.write(QByteArray(700, 'Z'));
        QVERIFY(QFile::copy(c + QStringLiteral("/Alfa.ccc"), c + QStringLiteral("/Maiuscolo.CCC")));
        QVERIFY(QFile::copy(c + QStringLiteral("/Alfa.ccc"), c + QStringLiteral("/.nascosto.ccc")));
        principale_.resize(400, 300);
        principale_.show();
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) {
            return QMessageBox::Ok;
        });
    }

    void init()
    {
        caricati_.clear();
        MessaggiMostrati();
    }

    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmCaricaFile*>(w))
                w->close();
        }
        eliminaChiusi();
        QVERIFY(principale_.isEnabled());
    }

    void archivioVuoto()
    {
        QTemporaryDir vuoto;
        QPointer<frmCaricaFile> d = apri(vuoto.path());
        QTreeWidget* l = d->ListView1();
        QCOMPARE(l->topLevelItemCount(), 0);
        QVERIFY(!d->XPButton1()->isEnabled());
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(!d->XPButton1()->isEnabled());
        clicDoppio(l->viewport(), QPoint(20, 20));
        QVERIFY(d);
        QVERIFY(caricati_.isEmpty());
    }

    void elencoDelleDescrizioni()
    {
        QPointer<frmCaricaFile> d = apri(archivio_.path());
        QTreeWidget* l = d->ListView1();
        QCOMPARE(l->headerItem()->text(0), QStringLiteral("Conteggi disponibili"));
        // Sorted by file name; other extensions, capitals and hidden files
        // left out; an unreadable file listed without descriptions. The
        // columns: current account, mortgage, short term, various.
        const QStringList atteso[] = {
            {"Alfa", "Conto \u00e0 Alfa", "Mutuo Alfa", "Breve Alfa", "Varie Alfa"},
            {"Beta", "Conto Beta", "", "Breve Beta", ""},
            {"Gamma", "Conto Gamma", "Mutuo Gamma", "Breve Gamma", "Varie Gamma"},
            {"rotto", "(file danneggiato)", "", "", ""},
        };
        QCOMPARE(l->topLevelItemCount(), int(std::size(atteso)));
        for (int r = 0; r < l->topLevelItemCount(); ++r) {
            QStringList riga;
            for (int c = 0; c < 5; ++c)
                riga << l->topLevelItem(r)->text(c);
            QCOMPARE(riga, atteso[r]);
            QVERIFY(!l->topLevelItem(r)->icon(0).isNull());
        }
        // The damaged file is greyed and says why.
        QTreeWidgetItem* rotto = l->topLevelItem(3);
        QCOMPARE(rotto->foreground(1).color(), l->palette().color(QPalette::Disabled, QPalette::Text));
        QVERIFY2(rotto->toolTip(1).contains(QStringLiteral("non è un file di conteggio")), qPrintable(rotto->toolTip(1)));
    }

    // Twenty calculations with their descriptions fit the dialog whole on
    // a 1366 x 768 screen, in the order people read names.
    void ventiConteggi()
    {
        QTemporaryDir venti;
        const QStringList nomi = {"Rossi 2008 - copia", "Rossi 2008", "Rossi 10", "Rossi 9", "bianchi"};
        for (int i = 0; i < 20; ++i) {
            const QString nome = i < nomi.size() ? nomi[i] : QStringLiteral("Verdi %1").arg(i);
            const QByteArray d = QStringLiteral("c/c 000012345678 Banca %1").arg(i).toUtf8();
            creaConDescrizioni(venti.path(), nome, d, "Mutuo casa via Roma 12", "Anticipo fatture 2019",
                               "Finanziamento soci");
        }
        QPointer<frmCaricaFile> d = apri(venti.path());
        QVERIFY(QTest::qWaitForWindowExposed(d));
        QTreeWidget* l = d->ListView1();
        QStringList ordine;
        for (int r = 0; r < 5; ++r)
            ordine << l->topLevelItem(r)->text(0);
        QCOMPARE(ordine, (QStringList{"bianchi", "Rossi 9", "Rossi 10", "Rossi 2008", "Rossi 2008 - copia"}));
        QVERIFY(d->frameGeometry().width() <= 1366 && d->frameGeometry().height() <= 768);
        for (int r = 0; r < l->topLevelItemCount(); ++r) {
            QVERIFY2(l->viewport()->rect().contains(l->visualItemRect(l->topLevelItem(r))), qPrintable(QString::number(r)));
            for (int c = 0; c < 5; ++c) {
                const QString testo = l->topLevelItem(r)->text(c);
                QVERIFY2(l->columnWidth(c) > l->fontMetrics().horizontalAdvance(testo) + (c == 0 ? 16 : 0),
                         qPrintable(testo));
            }
        }
    }

    void clicEApri()
    {
        QPointer<frmCaricaFile> d = apri(archivio_.path());
        QVERIFY(!principale_.isEnabled());
        QVERIFY(d->isEnabled() && d->ListView1()->isEnabled());
        QTreeWidget* l = d->ListView1();
        // A click below the rows enables "Apri", which opens nothing yet.
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, sottoLeRighe(l));
        QVERIFY(d->XPButton1()->isEnabled());
        QTest::mouseClick(d->XPButton1(), Qt::LeftButton);
        QVERIFY(caricati_.isEmpty());
        QVERIFY(d);

        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, centroRiga(l, 1));
        QVERIFY(caricati_.isEmpty());
        QTest::mouseClick(d->XPButton1(), Qt::LeftButton);
        caricatoEChiuso(d, QStringLiteral("Beta"));
    }

    void doppioClic()
    {
        QPointer<frmCaricaFile> d = apri(archivio_.path());
        QTreeWidget* l = d->ListView1();
        clicDoppio(l->viewport(), sottoLeRighe(l));
        QVERIFY(caricati_.isEmpty());
        clicDoppio(l->viewport(), centroRiga(l, 2));
        caricatoEChiuso(d, QStringLiteral("Gamma"));
    }

    void tastiera()
    {
        QPointer<frmCaricaFile> d = apri(archivio_.path());
        QTreeWidget* l = d->ListView1();
        if (!QTest::qWaitForWindowActive(d))
            QSKIP("the window cannot be activated here");
        QVERIFY(l->hasFocus());
        QTest::keyClick(l, Qt::Key_Down);
        QCOMPARE(l->selectedItems().size(), 1);
        const QString scelto = l->selectedItems().first()->text(0);
        QVERIFY(d->XPButton1()->isEnabled());
        // Tab order: list, "Elimina", "Duplica", "Annulla", "Apri", as they stand.
        QTest::keyClick(l, Qt::Key_Tab);
        QVERIFY(d->XPButton4()->hasFocus());
        QTest::keyClick(d->XPButton4(), Qt::Key_Tab);
        QVERIFY(d->XPButton3()->hasFocus());
        QTest::keyClick(d->XPButton3(), Qt::Key_Tab);
        QVERIFY(d->XPButton2()->hasFocus());
        QTest::keyClick(d->XPButton2(), Qt::Key_Tab);
        QVERIFY(d->XPButton1()->hasFocus());
        QTest::keyClick(d->XPButton1(), Qt::Key_Tab);
        QVERIFY(l->hasFocus());
        QTest::keyClick(l, Qt::Key_Return);
        caricatoEChiuso(d, scelto);
    }

    void chiusuraSenzaCaricare_data()
    {
        QTest::addColumn<int>("modo");
        QTest::newRow("Annulla") << 0;
        QTest::newRow("cornice") << 1;
        QTest::newRow("Esc") << 2;
    }

    void chiusuraSenzaCaricare()
    {
        QFETCH(int, modo);
        QPointer<frmCaricaFile> d = apri(archivio_.path());
        QTreeWidget* l = d->ListView1();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, centroRiga(l, 0));
        if (modo == 0)
            QTest::mouseClick(d->XPButton2(), Qt::LeftButton);
        else if (modo == 1)
            QVERIFY(d->close());
        else
            QTest::keyClick(l, Qt::Key_Escape);
        QVERIFY(caricati_.isEmpty());
        QVERIFY(principale_.isEnabled());
        eliminaChiusi();
        QVERIFY(!d);
    }

    void caricamentoCheFallisce()
    {
        // A loader that throws: the user is told, the dialog still closes and
        // gives the main window back.
        QPointer<frmCaricaFile> d = new frmCaricaFile(&principale_, archivio_.path(), [](const QString&) {
            throw ErroreConteggio("Il file del conteggio \u00abrotto\u00bb non è un conteggio.");
        });
        d->show();
        clicDoppio(d->ListView1()->viewport(), centroRiga(d->ListView1(), 3));
        const QStringList m = MessaggiMostrati();
        QCOMPARE(m.size(), 1);
        QVERIFY(m.first().contains(QStringLiteral("non è un conteggio")));
        QVERIFY(principale_.isEnabled());
        eliminaChiusi();
        QVERIFY(!d);
    }

    void principaleChiusa()
    {
        // The dialog goes with the main window it belongs to.
        auto* p = new QWidget;
        p->show();
        QPointer<frmCaricaFile> d =
            new frmCaricaFile(p, archivio_.path(), [this](const QString& n) { caricati_ << n; });
        d->show();
        QVERIFY(!p->isEnabled());
        delete p;
        eliminaChiusi();
        QVERIFY(!d);
    }
};

QTEST_MAIN(ProvaApriConteggio)
#include "test_dialoghi_apri.moc"
