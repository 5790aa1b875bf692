// The program's questions answered from the keyboard, as a user answers the
// question about unsaved changes: S, N, Esc, with the box really shown.
#include "Messaggi.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class TestMessaggi : public QObject {
    Q_OBJECT
private slots:
    void tastiDelleDomande_data()
    {
        QTest::addColumn<bool>("annulla");  // DomandaConAnnulla, else Domanda
        QTest::addColumn<int>("tasto");
        QTest::addColumn<int>("risposta");
        for (bool annulla : {true, false}) {
            const char* quale = annulla ? "con Annulla" : "sì o no";
            QTest::addRow("S, %s", quale) << annulla << int(Qt::Key_S) << int(QMessageBox::Yes);
            QTest::addRow("N, %s", quale) << annulla << int(Qt::Key_N) << int(QMessageBox::No);
            QTest::addRow("Esc, %s", quale) << annulla << int(Qt::Key_Escape)
                                            << int(annulla ? QMessageBox::Cancel : QMessageBox::No);
        }
        QTest::newRow("A") << true << int(Qt::Key_A) << int(QMessageBox::Cancel);
        QTest::newRow("Invio") << true << int(Qt::Key_Return) << int(QMessageBox::Yes);
    }
    void tastiDelleDomande()
    {
        QFETCH(bool, annulla);
        QFETCH(int, tasto);
        QFETCH(int, risposta);
        QWidget finestra;
        finestra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finestra));
        QString visto;
        QTimer::singleShot(0, this, [&] {
            QWidget* domanda = QApplication::activeModalWidget();
            if (!domanda)
                return;
            visto = domanda->windowTitle();
            QTest::keyClick(domanda, Qt::Key(tasto));
            // A key the box ignores: closed by hand, the answer then wrong.
            QTimer::singleShot(500, domanda, [domanda] { domanda->close(); });
        });
        const QString testo = QStringLiteral("Il conteggio «Rossi» contiene modifiche non salvate.");
        const int data = annulla ? DomandaConAnnulla(testo, &finestra)
                                 : (Domanda(testo, &finestra) ? QMessageBox::Yes : QMessageBox::No);
        QCOMPARE(visto, TitoloProgramma);
        QCOMPARE(data, risposta);
    }
};

QTEST_MAIN(TestMessaggi)
#include "test_messaggi.moc"
