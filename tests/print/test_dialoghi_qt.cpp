// Qt's own dialogs in Italian: the file dialog's sizes, types, dates and
// headings, and the print preview's zoom.
#include "Italiano.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

class TestDialoghiQt : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallaItaliano(); }

    void dialogoFile()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("Pratiche");
        QFile f(dir.path() + "/Rossi.pdf");
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(1536, 'x')) == 1536);
        f.close();
        QVERIFY(f.open(QIODevice::ReadWrite) &&
                f.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(21, 38)), QFileDevice::FileModificationTime));
        f.close();

        QFileDialog d(nullptr, QStringLiteral("Salva"), dir.path());
        d.setOption(QFileDialog::DontUseNativeDialog);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QAbstractProxyModel* modello = d.proxyModel();
        QVERIFY(modello);
        auto* vista = d.findChild<QTreeView*>("treeView");
        QVERIFY(vista);
        const auto riga = [&](const QString& nome) {
            for (int r = 0; r < modello->rowCount(vista->rootIndex()); ++r) {
                const QModelIndex i = modello->index(r, 0, vista->rootIndex());
                if (i.data().toString() == nome)
                    return r;
            }
            return -1;
        };
        QTRY_VERIFY(riga("Rossi.pdf") >= 0 && riga("Pratiche") >= 0);
        const auto cella = [&](const QString& nome, int colonna) {
            return modello->index(riga(nome), colonna, vista->rootIndex()).data().toString();
        };
        QCOMPARE(cella("Rossi.pdf", 1), QStringLiteral("1,50 kB"));
        QCOMPARE(cella("Rossi.pdf", 3), QStringLiteral("08/12/2026 21:38"));
        QCOMPARE(cella("Pratiche", 2), QStringLiteral("Cartella"));
        // Every heading whole.
        QHeaderView* intestazione = vista->header();
        for (int c = 1; c < intestazione->count(); ++c)
            QVERIFY2(intestazione->sectionSize(c) >= intestazione->sectionSizeHint(c),
                     qPrintable(modello->headerData(c, Qt::Horizontal).toString()));
    }

    void zoomDellAnteprima()
    {
        QPrinter stampante(QPrinter::HighResolution);
        stampante.setOutputFormat(QPrinter::PdfFormat);
        QPrintPreviewDialog d(&stampante);
        connect(&d, &QPrintPreviewDialog::paintRequested, this, [](QPrinter*) {});
        d.resize(700, 500);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        auto* zoom = d.findChild<QComboBox*>();
        auto* anteprima = d.findChild<QPrintPreviewWidget*>();
        QVERIFY(zoom && anteprima);
        QTRY_VERIFY2(zoom->lineEdit()->text().contains(',') && !zoom->lineEdit()->text().contains('.'),
                     qPrintable(zoom->lineEdit()->text()));
        QVERIFY(zoom->findText("12,5%") >= 0);

        // Typed with a comma, and chosen from the list.
        zoom->lineEdit()->setFocus();
        zoom->lineEdit()->selectAll();
        QTest::keyClicks(zoom->lineEdit(), "44,9");
        QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
        QCOMPARE(qRound(anteprima->zoomFactor() * 1000), 449);
        QCOMPARE(zoom->lineEdit()->text(), QStringLiteral("44,9%"));
        zoom->setCurrentIndex(zoom->findText("12,5%"));
        emit zoom->textActivated(zoom->currentText());
        QCOMPARE(anteprima->zoomFactor(), 0.125);
        QCOMPARE(zoom->lineEdit()->text(), QStringLiteral("12,5%"));
    }
};

QTEST_MAIN(TestDialoghiQt)
#include "test_dialoghi_qt.moc"
