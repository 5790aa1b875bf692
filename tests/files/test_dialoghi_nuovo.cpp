// "Nuovo conteggio": what the name box accepts, which names "Crea" refuses
// and what it makes of a good one.
#include "Archivio.h"
#include "ConteggioAperto.h"
#include "Messaggi.h"
#include "frmNuovoPiano.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

namespace {

void eliminaChiusi() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QStringList fileDi(const QString& cartella)
{
    return QDir(cartella).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

const QColor arancio(255, 192, 128);

} // namespace

class ProvaNuovoConteggio : public QObject {
    Q_OBJECT

    ConteggioAperto conteggio_;

    QWidget principale_;
    QStringList caricati_;
    QScopedPointer<QTemporaryDir> archivio_;

    QString cartella() const { return archivio_->path(); }

    frmNuovoPiano* apri(const QString& cartella)
    {
        auto* d = new frmNuovoPiano(&principale_, cartella,
                                    [this](const QString& n) { caricati_ << n; });
        d->show();
        d->activateWindow();
        [[maybe_unused]] bool attiva = QTest::qWaitForWindowActive(d);
        return d;
    }
    frmNuovoPiano* apri() { return apri(cartella()); }

    // Replaces the text of the name box by typing, as the user does.
    static void scrivi(frmNuovoPiano* d, const QString& testo)
    {
        QLineEdit* e = d->XPText1();
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, testo);
    }

    // "Crea" refuses the name in the box: `messaggio` shown, nothing made,
    // the dialog open with the box focused and its text unchanged, selected.
    void rifiutato(frmNuovoPiano* d, const QString& messaggio)
    {
        const QStringList prima = fileDi(cartella());
        const QString testo = d->XPText1()->text();
        QTest::mouseClick(d->XPButton1(), Qt::LeftButton);
        const QStringList m = MessaggiMostrati();
        QCOMPARE(m.size(), 1);
        QVERIFY2(m.first().contains(messaggio), qPrintable(m.first()));
        QCOMPARE(fileDi(cartella()), prima);
        QVERIFY(caricati_.isEmpty());
        QVERIFY(d->isVisible());
        QVERIFY(!principale_.isEnabled());
        QCOMPARE(d->XPText1()->text(), testo);
        QCOMPARE(d->XPText1()->selectedText(), testo);
        if (d->isActiveWindow())
            QVERIFY(d->XPText1()->hasFocus());
    }

private slots:
    void initTestCase()
    {
        principale_.resize(400, 300);
        principale_.show();
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) {
            return QMessageBox::Ok;
        });
    }

    void init()
    {
        archivio_.reset(new QTemporaryDir);
        QVERIFY(archivio_->isValid());
        caricati_.clear();
        MessaggiMostrati();
    }

    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmNuovoPiano*>(w))
                w->close();
        }
        eliminaChiusi();
        QVERIFY(principale_.isEnabled());
    }

    void aperturaEFuoco()
    {
        QPointer<frmNuovoPiano> d = apri();
        QVERIFY(!principale_.isEnabled());
        QVERIFY(d->isEnabled());
        QCOMPARE(d->Label1()->text(), QStringLiteral("Nome conteggio"));
        QLineEdit* e = d->XPText1();
        QCOMPARE(e->text(), QStringLiteral("Nuovo conteggio"));
        QCOMPARE(e->nextInFocusChain(), d->XPButton2());
        QCOMPARE(d->XPButton2()->nextInFocusChain(), d->XPButton1());
        if (!d->isActiveWindow())
            QSKIP("the window cannot be activated here");
        QVERIFY(e->hasFocus());
        QCOMPARE(e->selectedText(), e->text());
        QCOMPARE(e->palette().color(QPalette::Base), arancio);
        QTest::keyClick(e, Qt::Key_Tab);
        QVERIFY(d->XPButton2()->hasFocus());
        QCOMPARE(e->palette().color(QPalette::Base), QColor(Qt::white));
        // Coming back with a click selects the whole text again.
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(10, e->height() / 2));
        QCoreApplication::processEvents();
        QCOMPARE(e->selectedText(), e->text());
        QCOMPARE(e->palette().color(QPalette::Base), arancio);
    }

    void filtroDelNome()
    {
        QPointer<frmNuovoPiano> d = apri();
        QLineEdit* e = d->XPText1();
        e->setFocus();
        e->selectAll();
        // Typed: a refused character leaves the text and its selection as
        // they were; the dot and the blank are accepted.
        for (QChar c : QStringLiteral("\"*/:<>?\\|"))
            QTest::keyClicks(e, QString(c));
        QCOMPARE(e->text(), QStringLiteral("Nuovo conteggio"));
        QCOMPARE(e->selectedText(), e->text());
        QTest::keyClicks(e, QStringLiteral("a/b.c d|"));
        QCOMPARE(e->text(), QStringLiteral("ab.c d"));
        // Pasted or set: refused and control characters dropped.
        e->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("../Ros:si\t<2024>\n"));
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("..Rossi2024"));
        e->setText(QStringLiteral("C:\\archivio\\x|y?"));
        QCOMPARE(e->text(), QStringLiteral("Carchivioxy"));
        // What the box filters is still refused by "Crea".
        for (const char* n : {"a/b", "..\\x", "x:y", "a\x01" "b"})
            QVERIFY2(!frmNuovoPiano::NomeNonValido(QString::fromUtf8(n)).isEmpty(), n);
        for (const char* n : {"a.b", "x..y", "L'\u00e0ncora"})
            QVERIFY2(frmNuovoPiano::NomeNonValido(QString::fromUtf8(n)).isEmpty(), n);
    }

    void nomiRifiutati()
    {
        CreaConteggio(cartella(), QStringLiteral("Prova"));
        QFile nota(cartella() + QStringLiteral("/Appunti.txt"));
        QVERIFY(nota.open(QIODevice::WriteOnly));
        nota.close();
        const QString doppio = QStringLiteral(
            "In archivio esiste già un conteggio con il nome scelto. Scegliere un nuovo nome.");

        QPointer<frmNuovoPiano> d = apri();
        const struct {
            const char* testo;
            QString messaggio;
        } casi[] = {
            {"", QStringLiteral("Inserire un nome valido")},
            {"   ", QStringLiteral("Inserire un nome valido")},
            {"  pROVA ", doppio},
            {"PROVA", doppio},
            {"appunti", doppio},
            {".", QStringLiteral("non è ammesso")},
            {" .. ", QStringLiteral("non è ammesso")},
            {".nascosto", QStringLiteral("punto")},
        };
        for (const auto& c : casi) {
            scrivi(d, QString::fromUtf8(c.testo));
            QCOMPARE(d->XPText1()->text(), QString::fromUtf8(c.testo));
            rifiutato(d, c.messaggio);
        }
    }

    void creaENomePulito()
    {
        QPointer<frmNuovoPiano> d = apri();
        scrivi(d, QStringLiteral("  Conto Rossi d'Italia  "));
        QTest::mouseClick(d->XPButton1(), Qt::LeftButton);
        QVERIFY(MessaggiMostrati().isEmpty());
        QCOMPARE(caricati_, QStringList{"Conto Rossi d'Italia"});
        QCOMPARE(fileDi(cartella()), QStringList{"Conto Rossi d'Italia.ccc"});
        QVERIFY(principale_.isEnabled());
        eliminaChiusi();
        QVERIFY(!d);
        conteggio_.Carica(cartella(), QStringLiteral("Conto Rossi d'Italia"));
        conteggio_.Chiudi();

        // Enter on the initial text.
        caricati_.clear();
        d = apri();
        QTest::keyClick(d->XPText1(), Qt::Key_Return);
        QCOMPARE(caricati_, QStringList{"Nuovo conteggio"});
        QCOMPARE(fileDi(cartella()), QStringList({"Conto Rossi d'Italia.ccc", "Nuovo conteggio.ccc"}));
        eliminaChiusi();
        QVERIFY(!d);
    }

    void creazioneCheFallisce()
    {
        // A name the file system cannot hold, a folder that is gone, a
        // read-only folder:
        // the user reads why, the dialog stays open on the name.
        // The box takes 100 characters; a name too long in bytes is refused
        // before any file is tried, and the archive itself says so in Italian.
        QPointer<frmNuovoPiano> d = apri();
        scrivi(d, QString(300, QLatin1Char('x')));
        QCOMPARE(d->XPText1()->text(), QString(100, QLatin1Char('x')));
        d->XPText1()->setText(QString(90, QChar(0x20AC)));  // 270 bytes
        d->XPText1()->selectAll();
        rifiutato(d, QStringLiteral("troppo lungo"));
        d->close();
        try {
            CreaConteggio(cartella(), QString(300, QLatin1Char('x')));
            QFAIL("a 300-character name was taken");
        } catch (const ErroreConteggio& e) {
            const QString m = QString::fromUtf8(e.what());
            QVERIFY2(m.contains(QStringLiteral("troppo lungo")) && m.size() < 160, qPrintable(m));
        }

        d = apri(cartella() + QStringLiteral("/manca"));
        QTest::mouseClick(d->XPButton1(), Qt::LeftButton);
        QCOMPARE(MessaggiMostrati().size(), 1);
        QVERIFY(caricati_.isEmpty());
        QVERIFY(d->isVisible());
        QVERIFY(!QFileInfo::exists(cartella() + QStringLiteral("/manca")));
        d->close();

        if (geteuid() == 0)
            QSKIP("the superuser writes into read-only folders");
        QFile::setPermissions(cartella(), QFile::ReadOwner | QFile::ExeOwner);
        d = apri();
        QTest::mouseClick(d->XPButton1(), Qt::LeftButton);
        QFile::setPermissions(cartella(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(MessaggiMostrati().size(), 1);
        QVERIFY(caricati_.isEmpty());
        QVERIFY(d->isVisible());
        QVERIFY(fileDi(cartella()).isEmpty());
    }

    void chiusuraSenzaCreare_data()
    {
        QTest::addColumn<int>("modo");
        QTest::newRow("Annulla") << 0;
        QTest::newRow("cornice") << 1;
        QTest::newRow("Esc") << 2;
    }

    void chiusuraSenzaCreare()
    {
        QFETCH(int, modo);
        QPointer<frmNuovoPiano> d = apri();
        scrivi(d, QStringLiteral("Mai creato"));
        if (modo == 0)
            QTest::mouseClick(d->XPButton2(), Qt::LeftButton);
        else if (modo == 1)
            QVERIFY(d->close());
        else
            QTest::keyClick(d->XPText1(), Qt::Key_Escape);
        QVERIFY(principale_.isEnabled());
        QVERIFY(caricati_.isEmpty());
        QVERIFY(fileDi(cartella()).isEmpty());
        eliminaChiusi();
        QVERIFY(!d);
    }
};

QTEST_MAIN(ProvaNuovoConteggio)
#include "test_dialoghi_nuovo.moc"
