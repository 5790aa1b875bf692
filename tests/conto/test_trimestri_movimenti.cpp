// "Calcola trimestri dai movimenti" as the user runs it: the year chosen in
// its dialog with the mouse, the question on a quarter covered in part, a
// calculation per year written into the archive, the marks of the input
// window and a figure typed over them; the sources kept through a save; the
// report's section read back from the PDF.
#include "AiutiConto.h"
#include "Archivio.h"
#include "CalcolaTrimestri.h"
#include "CampiFinanziamento.h"
#include "Messaggi.h"
#include "PaginaScalare.h"
#include "Pagine.h"
#include "Relazione.h"
#include "frmBox.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// When the dialog opens: a click on the row of `anno`, on "altri anni" when
// asked, then on "Calcola" (or "Annulla").
void Scegli(int anno, bool altri = false, bool conferma = true)
{
    QTimer::singleShot(0, [=] {
        auto* d = qobject_cast<dlgCalcolaTrimestri*>(QApplication::activeModalWidget());
        if (!d) {
            Scegli(anno, altri, conferma);  // not up yet
            return;
        }
        QTableWidget* anni = d->Anni();
        for (int r = 0; r < anni->rowCount(); ++r)
            if (anni->item(r, 0)->text() == QString::number(anno))
                QTest::mouseClick(anni->viewport(), Qt::LeftButton, {}, anni->visualItemRect(anni->item(r, 2)).center());
        if (altri)
            QTest::mouseClick(d->AltriAnni(), Qt::LeftButton, {}, QPoint(6, d->AltriAnni()->height() / 2));
        QTest::mouseClick(d->findChild<QPushButton*>(conferma ? QStringLiteral("Calcola") : QStringLiteral("Annulla")),
                          Qt::LeftButton);
    });
}

QString Testo(const QString& programma, const QStringList& argomenti)
{
    QProcess p;
    p.start(programma, argomenti);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestTrimestriMovimenti : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString c_;
    ConteggioAperto conteggio_;
    QMessageBox::StandardButton risposta_ = QMessageBox::No;
    QStringList domande_;

    Documento& d() { return conteggio_.Doc(); }
    Scalare scalare()
    {
        const auto& c = d().ContoCorrente();
        return CalcolaScalare(c.movimenti, c.saldi, c.condizioni);
    }

private slots:
    void init()
    {
        c_ = tmp_.path() + QStringLiteral("/") + QString::fromLatin1(QTest::currentTestFunction());
        QVERIFY(QDir().mkpath(c_));
        CreaConteggio(c_, QStringLiteral("Rossi"));
        conteggio_.Carica(c_, QStringLiteral("Rossi"));
        // Three years and the month after: 2017 is covered only in January.
        prova::MettiConto(d(), 77, 3, 3000);
        d().setAnnoRiferimento(2015);
        domande_.clear();
        ImpostaRisponditore([this](const QString& testo, QMessageBox::StandardButtons pulsanti) {
            if (pulsanti & QMessageBox::Cancel) {
                domande_ << testo;
                return risposta_;
            }
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        conteggio_.Chiudi();
        MessaggiMostrati();
        ImpostaRisponditore({});
    }

    // The year chosen in the dialog fills the quarters with the scale's
    // figures; the input window marks them, and a figure typed over is the
    // user's; the sources survive a save.
    void annoScelto()
    {
        {
            // Nothing marked yet: no key to the marks either.
            frmBox prima(d());
            prima.show();
            prima.Pagina();
            QVERIFY(!prima.findChild<QLabel*>(QStringLiteral("LegendaFonti"))->isVisible());
        }
        Scegli(2016);
        QVERIFY(CalcolaTrimestriDaMovimenti(conteggio_, c_, nullptr));
        QVERIFY(domande_.isEmpty());  // 2016 is covered whole
        QCOMPARE(int(d().AnnoRiferimento()), 2016);
        QVERIFY(conteggio_.Modificato());
        const auto figure = FigureAnno(scalare(), 2016);
        for (int q = 1; q <= 4; ++q) {
            QCOMPARE(d().Trimestri(q).Numeri(), figure[static_cast<std::size_t>(q - 1)].numeri.valore);
            QCOMPARE(d().Trimestri(q).MassimoScoperto(), figure[static_cast<std::size_t>(q - 1)].massimoScoperto.valore);
            QCOMPARE(d().Trimestri(q).Accordato(), figure[static_cast<std::size_t>(q - 1)].accordato.valore);
        }
        QVERIFY(MessaggiMostrati().join(QLatin1Char('\n'))
                    .contains(QStringLiteral("Trimestri del 2016 calcolati dai movimenti: I, II, III, IV.")));

        frmBox box(d());
        box.show();
        box.Pagina();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        CampoFinanziamento* numeri = box.Campo(0, 1);
        QCOMPARE(numeri->toolTip(), QStringLiteral("Dai movimenti: scalare del Trimestre II - 2016."));
        QVERIFY(box.findChild<QAction*>(QStringLiteral("Fonte1(1)"))->isVisible());
        QVERIFY(box.Campo(6, 1)->toolTip().startsWith(QStringLiteral("Dalle condizioni del conto")));
        QVERIFY(box.findChild<QLabel*>(QStringLiteral("LegendaFonti"))->isVisible());
        QTest::mouseClick(numeri, Qt::LeftButton, {}, QPoint(4, numeri->height() / 2));
        QTest::keyClicks(numeri, QStringLiteral("1000"));
        QTest::keyClick(numeri, Qt::Key_Tab);
        QCOMPARE(d().Trimestri(2).Numeri(), 1000.0);
        QVERIFY(numeri->toolTip().isEmpty());
        QVERIFY(!box.findChild<QAction*>(QStringLiteral("Fonte1(1)"))->isVisible());
        QCOMPARE(d().ContoCorrente().origini.trimestri[1].Fonte(CampoTrimestre::Numeri), FonteFigura::Nessuna);

        const OriginiTrimestri origini = d().ContoCorrente().origini;
        conteggio_.Salva();
        conteggio_.Carica(c_, QStringLiteral("Rossi"));
        QVERIFY(d().ContoCorrente().origini == origini);
    }

    // A quarter covered in part is named in a question: No leaves it as it
    // was and marked, Annulla changes nothing, Sì fills it.
    void trimestreParziale()
    {
        d().Trimestri(1).setNumeri(777);
        risposta_ = QMessageBox::Cancel;
        Scegli(2017);
        QVERIFY(!CalcolaTrimestriDaMovimenti(conteggio_, c_, nullptr));
        QCOMPARE(domande_.size(), 1);
        QVERIFY2(domande_[0].contains(QStringLiteral("I 2017 (parziale)")), qPrintable(domande_[0]));
        QCOMPARE(int(d().AnnoRiferimento()), 2015);
        QCOMPARE(d().ContoCorrente().origini.anno, 0);

        risposta_ = QMessageBox::No;
        Scegli(2017);
        QVERIFY(CalcolaTrimestriDaMovimenti(conteggio_, c_, nullptr));
        const OrigineTrimestre& primo = d().ContoCorrente().origini.trimestri[0];
        QVERIFY(!primo.riempito);
        QCOMPARE(primo.copertura, Copertura::Parziale);
        QCOMPARE(d().Trimestri(1).Numeri(), 777.0);
        frmBox box(d());
        box.Pagina();
        auto* intestazione = box.findChild<QLabel*>(QStringLiteral("Label2(0)"));
        QVERIFY(intestazione->text().endsWith(QStringLiteral("\u25d0")));
        QVERIFY(intestazione->toolTip().contains(QStringLiteral("non riempito")));
        QVERIFY(box.Campo(0, 0)->toolTip().isEmpty());

        risposta_ = QMessageBox::Yes;
        Scegli(2017);
        QVERIFY(CalcolaTrimestriDaMovimenti(conteggio_, c_, nullptr));
        QVERIFY(d().ContoCorrente().origini.trimestri[0].riempito);
        QCOMPARE(d().Trimestri(1).Numeri(), FigureAnno(scalare(), 2017)[0].numeri.valore);
        box.Pagina();
        QVERIFY(box.Campo(0, 0)->toolTip().contains(QStringLiteral("solo in parte")));
    }

    // One calculation per other year, named after the open one, each with
    // its year and the same movements; one already in the archive is left
    // as it is; cancelling the dialog changes nothing.
    void unConteggioPerAnno()
    {
        Scegli(2016, true, false);
        QVERIFY(!CalcolaTrimestriDaMovimenti(conteggio_, c_, nullptr));
        QVERIFY(!EsisteConteggio(c_, QStringLiteral("Rossi 2014")));

        CreaConteggio(c_, QStringLiteral("Rossi 2015"));
        risposta_ = QMessageBox::No;
        Scegli(2016, true);
        QVERIFY(CalcolaTrimestriDaMovimenti(conteggio_, c_, nullptr));
        QCOMPARE(domande_.size(), 1);  // January 2017
        const QString riepilogo = MessaggiMostrati().join(QLatin1Char('\n'));
        QVERIFY2(riepilogo.contains(QStringLiteral("Conteggi creati nell'archivio: Rossi 2014, Rossi 2017.")),
                 qPrintable(riepilogo));
        QVERIFY(riepilogo.contains(QStringLiteral("lasciati come sono: Rossi 2015.")));

        const Scalare s = scalare();
        Documento letto;
        LeggiConteggio(c_, QStringLiteral("Rossi 2014"), letto);
        QCOMPARE(int(letto.AnnoRiferimento()), 2014);
        QCOMPARE(letto.ContoCorrente().movimenti.size(), d().ContoCorrente().movimenti.size());
        for (int q = 1; q <= 4; ++q)
            QCOMPARE(letto.Trimestri(q).Numeri(), FigureAnno(s, 2014)[static_cast<std::size_t>(q - 1)].numeri.valore);
        LeggiConteggio(c_, QStringLiteral("Rossi 2015"), letto);
        QVERIFY(letto.ContoCorrente().movimenti.empty());
    }

    // The report: for each quarter the figures with their formulas and
    // numbers, and the statements' balances checked, as the PDF reads.
    void relazione()
    {
        Scegli(2016);
        QVERIFY(CalcolaTrimestriDaMovimenti(conteggio_, c_, nullptr));
        const QString file = c_ + QStringLiteral("/relazione.pdf");
        ScriviRelazionePdf(RelazioneConteggio(d(), QDate(2026, 3, 2)), file);
        const QString testo = Testo(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        QVERIFY(testo.contains(QStringLiteral("Dai movimenti ai trimestri")));
        QVERIFY(testo.contains(QStringLiteral("Movimenti del conto")));  // listed on the cover
        const Scalare s = scalare();
        for (const TrimestreScalare& q : s.trimestri) {
            if (q.anno != 2016)
                continue;
            QVERIFY(testo.contains(QStringLiteral("Trimestre %1 - 2016: dal").arg(NumeroRomano(q.trimestre))));
            const QRegularExpression numeri(
                QStringLiteral("Numeri debitori +entro \\+ oltre il fido = %1 \\+ %2 +%3")
                    .arg(QRegularExpression::escape(TestoNumeri(q.numeriDebitoriEntroFido)),
                         QRegularExpression::escape(TestoNumeri(q.numeriDebitoriOltreFido)),
                         QRegularExpression::escape(TestoNumeri(q.numeriDebitori()))));
            QVERIFY2(testo.contains(numeri), qPrintable(numeri.pattern()));
            QVERIFY(testo.contains(QRegularExpression(
                QStringLiteral("Giorni valuta medi +\u03a3 g / n = %1 / %2").arg(q.giorniValuta).arg(q.operazioni))));
        }
        QVERIFY(testo.contains(QStringLiteral("Saldi dichiarati dagli estratti conto")));
        QCOMPARE(testo.count(QStringLiteral("concorda")), 5 + 1);  // the four statements of 2016 and the one from 31/12/2016, then the note
        QVERIFY(!testo.contains(QStringLiteral("diff.")));
    }
};

QTEST_MAIN(TestTrimestriMovimenti)
#include "test_trimestri_movimenti.moc"
