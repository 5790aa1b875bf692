// Print and copy from the program's own windows, filled from the document.
#include "ConteggioAperto.h"
#include "EsempiStampa.h"
#include "FinestreDiProva.h"
#include "Messaggi.h"
#include "Anteprima.h"
#include "Stampanti.h"
#include "modCopia.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace std::chrono;

class TestFinestreStampa : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void finestre_data();
    void finestre();
    void copiaMutuo();
    void copiaBreve();

private:
    QTemporaryDir cartella_;
    QString file_;
    ConteggioAperto conteggio_;
};

void TestFinestreStampa::initTestCase()
{
    ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    ImpostaFonteStampanti([] { return QStringList(); }, [] { return QString(); });
    ImpostaSceltaFilePdf([this](QWidget*, const QString&) { return file_; });
    esempi::ConteggioDelleFinestre(conteggio_.Doc());
}

void TestFinestreStampa::finestre_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("titolo");
    QTest::addColumn<int>("righe");
    QTest::newRow("frmBreve") << "frmBreve" << "T.E.G. su Anticipo" << 9;
    QTest::newRow("frmOPE") << "frmOPE" << "T.E.G. su Flussi vari" << 5;
    QTest::newRow("frmMutuo") << "frmMutuo" << "T.E.G. su Mutuo casa" << 9;
    QTest::newRow("frmCalcoli") << "frmCalcoli" << "T.E.G. su Conto aziendale" << 41;
    QTest::newRow("frmItalia") << "frmItalia" << "T.E.G. su Conto aziendale" << 13;
    QTest::newRow("frmBox") << "frmBox" << "T.E.G. su Conto aziendale" << 10;
}

void TestFinestreStampa::finestre()
{
    QFETCH(QString, nome);
    QFETCH(QString, titolo);
    QFETCH(int, righe);
    const std::unique_ptr<FinestraFiglia> f = esempi::FinestraConTabella(nome, conteggio_);
    f->resize(1000, 700);
    f->Pagina();

    // Copy: one line per table row, each ending in a blank, CR and LF.
    QString copia;
    QVERIFY(TestoCopiaFinestra(nome, f.get(), copia));
    QVERIFY(CopiaTabellaCorrente(copia));
    const QString testo = QGuiApplication::clipboard()->text();
    QVERIFY(testo.endsWith(QStringLiteral(" \r\n")));
    QCOMPARE(testo.count(QStringLiteral("\r\n")), righe);

    // Print on the PDF device.
    Rapporto r;
    QVERIFY(RapportoFinestra(nome, f.get(), r));
    QCOMPARE(r.RighePerPagina, righe);
    QCOMPARE(r.titolo, titolo);
    ImpostaStampanteCorrente(DispositivoPdf);
    file_ = cartella_.filePath(nome + QStringLiteral(".pdf"));
    QVERIFY(StampaRapporto(r, nullptr));
    QVERIFY(MessaggiMostrati().isEmpty());
    if (qEnvironmentVariableIsSet("ZELVI_PDF_STAMPA"))
        QFile::copy(file_, qEnvironmentVariable("ZELVI_PDF_STAMPA") + QLatin1Char('/') + nome + QStringLiteral(".pdf"));
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file_, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString pdf = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(pdf.contains(titolo), qPrintable(pdf));
    QVERIFY(pdf.contains(QStringLiteral("Pagina 1 di 1")));
    // The preview shows that page: one page, the same text (the time stamp
    // aside) when the preview's own printer prints it.
    int pagine = 0;
    const QString fileAnteprima = cartella_.filePath(nome + QStringLiteral("-anteprima.pdf"));
    ImpostaMostraAnteprima([&](QPrintPreviewDialog& d) {
        auto* w = d.findChild<QPrintPreviewWidget*>();
        w->updatePreview();
        pagine = w->pageCount();
        d.printer()->setOutputFileName(fileAnteprima);
        emit d.paintRequested(d.printer());
    });
    AnteprimaTabellaCorrente(r, nullptr);
    ImpostaMostraAnteprima({});
    QCOMPARE(pagine, 1);
    QProcess pa;
    pa.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), fileAnteprima, QStringLiteral("-")});
    QVERIFY(pa.waitForFinished(30000));
    const QRegularExpression ora(QStringLiteral("\\[[^\\]]*\\]"));
    QCOMPARE(QString::fromUtf8(pa.readAllStandardOutput()).remove(ora), QString(pdf).remove(ora));

    if (nome == QLatin1String("frmCalcoli")) {
        QCOMPARE(pdf.count(QStringLiteral("Trimestre")), 4);
        QCOMPARE(pdf.count(QStringLiteral("Incidenza %")), 4);
        QVERIFY(pdf.contains(QStringLiteral("Costo annuale")));
    }
    if (nome == QLatin1String("frmItalia")) {
        // The window's formula picture is printed as a picture beside the logo.
        QProcess immagini;
        immagini.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file_});
        QVERIFY(immagini.waitForFinished(30000));
        const QString elenco = QString::fromUtf8(immagini.readAllStandardOutput());
        QVERIFY2(elenco.count(QStringLiteral(" image ")) >= 2, qPrintable(elenco));
    }
}

void TestFinestreStampa::copiaMutuo()
{
    frmMutuo f(conteggio_.Doc());
    f.Pagina();
    QString testo;
    QVERIFY(TestoCopiaFinestra(QStringLiteral("frmMutuo"), &f, testo));
    QCOMPARE(testo, QStringLiteral("Descrizione mutuo \tMutuo casa \r\n"
                                   "Importo finanziato \t100.000,00 \r\n"
                                   "Oneri trattenuti sul finanziato \t0,00 \r\n"
                                   "Importo rata comprensiva di spese \t1.000,00 \r\n"
                                   "Periodicità rata \tMensile \r\n"
                                   "Numero complessivo di rate \t120 \r\n"
                                   " \t \r\n"
                                   "T.E.G. mensile (approx.) \t0,310% \r\n"
                                   "T.E.G. annuale (approx.) \t3,784% \r\n"));
}

void TestFinestreStampa::copiaBreve()
{
    frmBreve f(conteggio_.Doc());
    f.Pagina();
    QString testo;
    QVERIFY(TestoCopiaFinestra(QStringLiteral("frmBreve"), &f, testo));
    QCOMPARE(testo, QStringLiteral("Descrizione operazione \tAnticipo \r\n"
                                   "Importo finanziato \t10.000,00 \r\n"
                                   "Oneri trattenuti sul finanziato \t100,00 \r\n"
                                   "Data di erogazione \t01/01/2010 \r\n"
                                   "Data di restituzione \t01/04/2010 \r\n"
                                   "Importo restituito a scadenza \t10.200,00 \r\n"
                                   " \t \r\n"
                                   "T.E.G. di periodo \t3,030% \r\n"
                                   "T.E.G. su base annuale \t12,290% \r\n"));
}

QTEST_MAIN(TestFinestreStampa)
#include "test_finestre_stampa.moc"
