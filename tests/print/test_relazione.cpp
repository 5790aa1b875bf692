// The expert's report as a PDF: its pages, their numbers, its properties and
// figures that agree with the windows' page data.
#include "Dichiarazioni.h"
#include "PagineFinanziamenti.h"
#include "Relazione.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace std::chrono;

namespace {
QString esegui(const QString& programma, const QStringList& argomenti)
{
    QProcess p;
    p.start(programma, argomenti);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

class TestRelazione : public QObject {
    Q_OBJECT
private slots:
    void relazione();
};

void TestRelazione::relazione()
{
    InizializzaConteggio();
    Conteggio.setNomeConteggio("Rossi 2012");
    Conteggio.setAnnoRiferimento(2012);
    for (int q = 1; q <= 4; ++q) {
        Conteggio.Trimestri(q).setNumeri(9000000);
        Conteggio.Trimestri(q).setInteressi(1500);
        Conteggio.Trimestri(q).setAccordato(100000);
    }
    Conteggio.Trimestri(1).setDescrizione("Conto aziendale");
    Mutuo& m = Conteggio.MutuoCorrente();
    m.setImporto(100000);
    m.setRata(1000);
    m.setNRate(120);
    m.setRateAnnuali(12);
    m.setDescrizione("Mutuo casa");
    // No operations and no short-term financing: no pages for them.

    const Relazione r = RelazioneConteggio(Conteggio, QDate(2026, 3, 2));
    QCOMPARE(r.pagine.size(), std::size_t(5));
    QTemporaryDir cartella;
    const QString file = cartella.filePath(QStringLiteral("relazione.pdf"));
    ScriviRelazionePdf(r, file);

    const QString info = esegui(QStringLiteral("pdfinfo"), {file});
    QVERIFY2(info.contains(QRegularExpression(
                 QStringLiteral("Title: +Relazione di calcolo del T.E.G. - Rossi 2012\n"))),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral(
                 "Subject: +T.E.G. del conteggio \u00abRossi 2012\u00bb, anno di riferimento 2012\n"))),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Author: +Zelvi T.E.G.\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +5\n"))), qPrintable(info));

    const QStringList pagine =
        esegui(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")})
            .split(QLatin1Char('\f'));
    QVERIFY(pagine.size() >= 5);
    const char* const attesi[5] = {"Conto aziendale - Dati di input", "Dati di input",
                                   "Calcolo con procedura analitica",
                                   "Calcolo con procedura della Banca d'Italia", "T.E.G. su Mutuo casa"};
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(pagine[i].contains(QStringLiteral("pag. %1 di 5").arg(i + 1)), qPrintable(pagine[i]));
        QVERIFY2(pagine[i].contains(QString::fromUtf8(attesi[i])), qPrintable(pagine[i]));
    }
    QVERIFY(pagine[0].contains(QStringLiteral("02/03/2026")));
    QVERIFY(pagine[0].contains(QRegularExpression(QStringLiteral("T.E.G. su Mutuo casa +pag. 5"))));
    QVERIFY(!pagine[0].contains(QStringLiteral("Operazioni finanziarie varie")));
    // The mortgage's rates as its window shows them.
    const DatiPaginaMutuo mutuo = PaginaMutuo(Conteggio.MutuoCorrente());
    QVERIFY(pagine[4].contains(mutuo.tassoAnnuale));
    QVERIFY(pagine[4].contains(mutuo.tassoPeriodo));
}

QTEST_MAIN(TestRelazione)
#include "test_relazione.moc"
