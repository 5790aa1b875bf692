// The printer choice and printing on the current device with its failures.
#include "EsempiStampa.h"
#include "Messaggi.h"
#include "Stampanti.h"
#include "frmImpostaStampante.h"
#include "modCopia.h"

#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

void eliminaRinviati() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class TestStampanti : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void predefinitaOFilePdf();
    void elencoEChiaviDelDialogo();
    void fattoCambiaStampante();
    void annullaLasciaStampante();
    void fattoSenzaSceltaNonChiude();
    void consiglioPdf();
    void stampanteGuastaMostraMessaggio();
    void stampaSuFilePdf();
    void fileNonScrivibile();

private:
    frmImpostaStampante* apri(QWidget& principale);
    QStringList scelteFile_;
    QString rispostaFile_;
    QTemporaryDir cartella_;
};

void TestStampanti::init()
{
    ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    ImpostaFonteStampanti([] { return QStringList{QStringLiteral("Ufficio"), QStringLiteral("Laser 2"),
                                                  QStringLiteral("Ricevute")}; },
                          [] { return QStringLiteral("Laser 2"); });
    scelteFile_.clear();
    rispostaFile_.clear();
    ImpostaSceltaFilePdf([this](QWidget*, const QString& proposto) {
        scelteFile_ << proposto;
        return rispostaFile_;
    });
}

void TestStampanti::cleanup()
{
    ImpostaRisponditore({});
    ImpostaSceltaFilePdf({});
    ImpostaFonteStampanti({}, {});
}

frmImpostaStampante* TestStampanti::apri(QWidget& principale)
{
    SelezionaStampante(&principale);
    return principale.findChild<frmImpostaStampante*>(QStringLiteral("frmImpostaStampante"));
}

void TestStampanti::predefinitaOFilePdf()
{
    QCOMPARE(StampanteCorrente(), QStringLiteral("Laser 2"));
    QCOMPARE(DispositiviStampa(), (QStringList{QStringLiteral("Ufficio"), QStringLiteral("Laser 2"),
                                               QStringLiteral("Ricevute"), DispositivoPdf}));
    ImpostaFonteStampanti([] { return QStringList(); }, [] { return QString(); });
    QCOMPARE(StampanteCorrente(), DispositivoPdf);
    QCOMPARE(DispositiviStampa(), QStringList{DispositivoPdf});
    // A default the system no longer lists is not taken.
    ImpostaFonteStampanti([] { return QStringList{QStringLiteral("A")}; }, [] { return QStringLiteral("B"); });
    QCOMPARE(StampanteCorrente(), DispositivoPdf);
}

void TestStampanti::elencoEChiaviDelDialogo()
{
    QWidget principale;
    principale.resize(1000, 700);
    principale.move(100, 50);
    principale.show();
    QPointer<frmImpostaStampante> d = apri(principale);
    QVERIFY(d);
    QVERIFY(d->isVisible());
    QVERIFY(!principale.isEnabled());
    QVERIFY(d->isEnabled());
    QCOMPARE(d->findChild<QLabel*>(QStringLiteral("XPButton2"))->text(),
             QStringLiteral("Seleziona dispositivo di stampa"));
    QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("Command6"))->text(), QStringLiteral("Fatto"));
    QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("Command5"))->text(), QStringLiteral("Annulla"));

    // Centred on the main window.
    const QPoint centro = principale.mapToGlobal(QPoint(500, 350));
    QVERIFY(std::abs(d->pos().x() + d->width() / 2 - centro.x()) <= 2);
    QVERIFY(std::abs(d->pos().y() + d->height() / 2 - centro.y()) <= 2);

    auto* l = d->findChild<QListWidget*>(QStringLiteral("ListView1"));
    QCOMPARE(l->count(), 4);
    const QStringList nomi = {QStringLiteral("Ufficio"), QStringLiteral("Laser 2"), QStringLiteral("Ricevute"),
                              DispositivoPdf};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(l->item(i)->text(), nomi[i]);
        QCOMPARE(l->item(i)->data(Qt::UserRole).toString(), QStringLiteral("k%1").arg(i + 1));
        QCOMPARE(l->item(i)->data(Qt::UserRole + 1).toInt(), i == 1 ? 1 : 2);
        QCOMPARE(l->item(i)->isSelected(), i == 1);
    }
    QVERIFY(l->item(1)->icon().cacheKey() == frmImpostaStampante::Icona(1).cacheKey());
    QVERIFY(l->item(0)->icon().cacheKey() == frmImpostaStampante::Icona(2).cacheKey());

    // "Fatto" without touching the list keeps the second printer.
    QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("Command6")), Qt::LeftButton);
    eliminaRinviati();
    QVERIFY(!d);
    QVERIFY(principale.isEnabled());
    QCOMPARE(StampanteCorrente(), QStringLiteral("Laser 2"));
}

void TestStampanti::fattoCambiaStampante()
{
    QWidget principale;
    QPointer<frmImpostaStampante> d = apri(principale);
    auto* l = d->findChild<QListWidget*>(QStringLiteral("ListView1"));
    l->setCurrentRow(2);
    d->Fatto();
    eliminaRinviati();
    QVERIFY(!d);
    QCOMPARE(StampanteCorrente(), QStringLiteral("Ricevute"));

    // The next opening marks the new current printer.
    d = apri(principale);
    l = d->findChild<QListWidget*>(QStringLiteral("ListView1"));
    QCOMPARE(l->selectedItems().first()->text(), QStringLiteral("Ricevute"));
    QCOMPARE(l->item(2)->data(Qt::UserRole + 1).toInt(), 1);
    QCOMPARE(l->item(1)->data(Qt::UserRole + 1).toInt(), 2);
    l->setCurrentRow(3);
    d->Fatto();
    QCOMPARE(StampanteCorrente(), DispositivoPdf);
}

void TestStampanti::annullaLasciaStampante()
{
    QWidget principale;
    QPointer<frmImpostaStampante> d = apri(principale);
    d->findChild<QListWidget*>(QStringLiteral("ListView1"))->setCurrentRow(0);
    QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("Command5")), Qt::LeftButton);
    eliminaRinviati();
    QVERIFY(!d);
    QVERIFY(principale.isEnabled());
    QCOMPARE(StampanteCorrente(), QStringLiteral("Laser 2"));

    // Closing the window is "Annulla" too.
    d = apri(principale);
    d->close();
    eliminaRinviati();
    QVERIFY(!d);
    QVERIFY(principale.isEnabled());
}

void TestStampanti::fattoSenzaSceltaNonChiude()
{
    QWidget principale;
    QPointer<frmImpostaStampante> d = apri(principale);
    d->findChild<QListWidget*>(QStringLiteral("ListView1"))->clearSelection();
    d->Fatto();
    eliminaRinviati();
    QVERIFY(d && d->isVisible());
    QCOMPARE(StampanteCorrente(), QStringLiteral("Laser 2"));
    d->Annulla();
}

void TestStampanti::consiglioPdf()
{
    QWidget principale;
    QPointer<frmImpostaStampante> d = apri(principale);
    QTest::mouseClick(d->findChild<QToolButton*>(QStringLiteral("XPButton4")), Qt::LeftButton);
    QCOMPARE(MessaggiMostrati(), QStringList{QStringLiteral(
        "Per ottenere delle anteprime di stampa in formato PDF è consigliabile installare un dispositivo "
        "virtuale di stampa (es. PDFCreator) facilmente e gratuitamente reperibile in rete, e selezionarlo "
        "come dispositivo predefinito.")});
    QVERIFY(d && d->isVisible());
    QVERIFY(!principale.isEnabled());
    d->Annulla();
}

void TestStampanti::stampanteGuastaMostraMessaggio()
{
    // "Ricevute" is listed but no such printer can be opened.
    ImpostaStampanteCorrente(QStringLiteral("Ricevute"));
    const Rapporto r = RapportoBreve(esempi::breve(), QStringLiteral("x"));
    QVERIFY(!StampaRapporto(r, nullptr));
    const QStringList m = MessaggiMostrati();
    QCOMPARE(m.size(), 1);
    QVERIFY(m[0].startsWith(QStringLiteral("Stampa non riuscita")));
    QVERIFY(m[0].contains(QStringLiteral("\"Ricevute\"")));
    QVERIFY(scelteFile_.isEmpty());
    // The program goes on: the next report on the PDF device works.
    ImpostaStampanteCorrente(DispositivoPdf);
    rispostaFile_ = cartella_.filePath(QStringLiteral("dopo.pdf"));
    QVERIFY(StampaRapporto(r, nullptr));
    QVERIFY(QFileInfo::exists(rispostaFile_));
}

void TestStampanti::stampaSuFilePdf()
{
    ImpostaStampanteCorrente(DispositivoPdf);
    const Rapporto r = RapportoMutuo(esempi::mutuo(), QStringLiteral("Casa / box"));
    // Cancelled: nothing written, nothing said.
    QVERIFY(!StampaRapporto(r, nullptr));
    QCOMPARE(scelteFile_.size(), 1);
    QVERIFY(scelteFile_[0].endsWith(QStringLiteral("T.E.G. su Casa box.pdf")));
    QVERIFY(MessaggiMostrati().isEmpty());
    // A name without extension gets ".pdf".
    rispostaFile_ = cartella_.filePath(QStringLiteral("mutuo"));
    QVERIFY(StampaRapporto(r, nullptr));
    QFile f(rispostaFile_ + QStringLiteral(".pdf"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QVERIFY(MessaggiMostrati().isEmpty());
}

void TestStampanti::fileNonScrivibile()
{
    ImpostaStampanteCorrente(DispositivoPdf);
    rispostaFile_ = cartella_.filePath(QStringLiteral("manca/cartella/x.pdf"));
    QVERIFY(!StampaRapporto(RapportoBreve(esempi::breve(), {}), nullptr));
    const QStringList m = MessaggiMostrati();
    QCOMPARE(m.size(), 1);
    QVERIFY2(m[0].contains(QStringLiteral("Impossibile scrivere il file")) && m[0].contains(QStringLiteral("la cartella non esiste")),
             qPrintable(m[0]));
}

QTEST_MAIN(TestStampanti)
#include "test_stampanti.moc"
