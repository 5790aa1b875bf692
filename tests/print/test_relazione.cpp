// The expert's report as a PDF: its pages, their numbers, its properties and
// figures that agree with the windows' page data.
#include "Dichiarazioni.h"
#include "PaginaSoglia.h"
#include "PagineFinanziamenti.h"
#include "PassaggiVerifica.h"
#include "Archivio.h"
#include "Relazione.h"
#include "SoglieInUso.h"
#include "PaginaRicalcolo.h"
#include "conto/ContoRicalcolo.h"

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

    Documento conteggio_;
private slots:
    void relazione();
    void formule_data();
    void formule();
    void soglie();
    void pagine();
    void esempio();
    void ricalcolo();
};

void TestRelazione::relazione()
{
    conteggio_.InizializzaConteggio();
    conteggio_.setNomeConteggio("Rossi 2012");
    conteggio_.setAnnoRiferimento(2012);
    for (int q = 1; q <= 4; ++q) {
        conteggio_.Trimestri(q).setNumeri(9000000);
        conteggio_.Trimestri(q).setInteressi(1500);
        conteggio_.Trimestri(q).setAccordato(100000);
    }
    conteggio_.Trimestri(1).setDescrizione("Conto aziendale");
    Mutuo& m = conteggio_.MutuoCorrente();
    m.setImporto(100000);
    m.setRata(1000);
    m.setNRate(120);
    m.setRateAnnuali(12);
    m.setDescrizione("Mutuo casa");
    // No operations and no short-term financing: no pages for them.

    const Relazione r = RelazioneConteggio(conteggio_, QDate(2026, 3, 2));
    // Cover, four tables, then the usury check's verdicts and steps.
    QVERIFY(r.pagine.size() > 5);
    QCOMPARE(r.pagine[5].nome, QStringLiteral("StampaSoglia"));
    int totale = 0;
    for (const Rapporto& pagina : r.pagine)
        totale += static_cast<int>(pagina.NumeroPagine);
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
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +%1\n").arg(totale))), qPrintable(info));

    const QStringList pagine =
        esegui(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")})
            .split(QLatin1Char('\f'));
    QVERIFY(pagine.size() >= 5);
    const char* const attesi[5] = {"Conto aziendale - Dati di input", "Dati di input",
                                   "Calcolo con procedura analitica",
                                   "Calcolo con procedura della Banca d'Italia", "T.E.G. su Mutuo casa"};
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(pagine[i].contains(QStringLiteral("pag. %1 di %2").arg(i + 1).arg(totale)), qPrintable(pagine[i]));
        QVERIFY2(pagine[i].contains(QString::fromUtf8(attesi[i])), qPrintable(pagine[i]));
    }
    QVERIFY(pagine[0].contains(QStringLiteral("02/03/2026")));
    QVERIFY(pagine[0].contains(QRegularExpression(QStringLiteral("T.E.G. su Mutuo casa +pag. 5"))));
    QVERIFY(!pagine[0].contains(QStringLiteral("Operazioni finanziarie varie")));
    // The mortgage's rates as its window shows them.
    const DatiPaginaMutuo mutuo = PaginaMutuo(conteggio_.MutuoCorrente());
    QVERIFY(pagine[4].contains(mutuo.tassoAnnuale));
    QVERIFY(pagine[4].contains(mutuo.tassoPeriodo));
}

// The three examples of the Bank of Italy's July 2016 instructions: Numeri
// 455 000 and Interessi 149,59 each time.
void TestRelazione::formule_data()
{
    QTest::addColumn<double>("accordato");
    QTest::addColumn<double>("scoperto");
    QTest::addColumn<double>("commissioni");
    QTest::addColumn<double>("spese");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("formula");
    QTest::newRow("entro il fido") << 10000.0 << 0.0 << 50.0 << 0.0
                                   << "B = Fido accordato = 10\u00a0000: il saldo non ha superato il fido"
                                   << "149,59 × 36\u00a0500 / 455\u00a0000 + 50 × 4 × 100 / 10\u00a0000 = 14,000%";
    QTest::newRow("oltre il fido") << 10000.0 << 13000.0 << 50.0 << 120.0
                                   << "B = Massimo scoperto = 13\u00a0000: il saldo ha superato il fido accordato "
                                      "di 10\u00a0000"
                                   << "149,59 × 36\u00a0500 / 455\u00a0000 + 170 × 4 × 100 / 13\u00a0000 = 17,231%";
    QTest::newRow("senza fido") << 0.0 << 6000.0 << 0.0 << 120.0
                                << "B = Massimo scoperto = 6\u00a0000: nessun fido accordato"
                                << "149,59 × 36\u00a0500 / 455\u00a0000 + 120 × 4 × 100 / 6\u00a0000 = 20,000%";
}

void TestRelazione::formule()
{
    QFETCH(double, accordato);
    QFETCH(double, scoperto);
    QFETCH(double, commissioni);
    QFETCH(double, spese);
    QFETCH(QString, base);
    QFETCH(QString, formula);
    conteggio_.InizializzaConteggio();
    conteggio_.setAnnoRiferimento(2018);
    BOX& t = conteggio_.Trimestri(2);
    t.setNumeri(455000);
    t.setInteressi(149.59);
    t.setAccordato(accordato);
    t.setMassimoScoperto(scoperto);
    t.setCommissioni(commissioni);
    t.setSpese(spese);
    t.Aggiorna();
    // Figures are grouped with no-break spaces, so a line never splits a number.
    QCOMPARE(BaseIstruzioni2016(t), base);
    QCOMPARE(FormulaIstruzioni2016(t), formula);
}

void TestRelazione::soglie()
{
    // The formula of the period's start: before and after 14/05/2011.
    QCOMPARE(FormulaSoglia(9.59, sys_days{2023y / January / 1}),
             QStringLiteral("min(9,59 × 1,25 + 4; 9,59 + 8) = 15,9875%"));
    QCOMPARE(FormulaSoglia(10.35, sys_days{2011y / April / 1}), QStringLiteral("10,35 × 1,5 = 15,525%"));
    QCOMPARE(NumeroNelTesto(-1234567.5, 2, 4), QStringLiteral("\u22121\u00a0234\u00a0567,50"));

    // A quarter across the change of formula: one threshold per period, each
    // with the quarter's two verdicts.
    conteggio_.InizializzaConteggio();
    conteggio_.setAnnoRiferimento(2011);
    BOX& t = conteggio_.Trimestri(2);
    t.setNumeri(455000);
    t.setInteressi(149.59);
    t.setAccordato(10000);
    t.setCommissioni(50);
    const std::vector<SezionePassaggi> s = PassaggiVerifica(conteggio_, VerificaConteggio(conteggio_, SoglieInUso()));
    QCOMPARE(s.size(), std::size_t(1));
    QCOMPARE(s[0].blocchi.size(), std::size_t(3));
    const QString periodi[] = {"01/04/2011 \u2013 13/05/2011", "14/05/2011 \u2013 30/06/2011"};
    const QString formule[] = {" \u00d7 1,5 = ", "min("};
    for (int i = 0; i < 2; ++i) {
        const BloccoPassaggi& b = s[0].blocchi[std::size_t(i) + 1];
        QVERIFY2(b.front().testo.endsWith(periodi[i]), qPrintable(b.front().testo));
        QCOMPARE(std::count_if(b.begin(), b.end(), [&](const RigaPassaggio& r) {
                     return r.testo.startsWith(QStringLiteral("Soglia = ")) && r.testo.contains(formule[i]);
                 }), 1);
        QCOMPARE(std::count_if(b.begin(), b.end(),
                               [](const RigaPassaggio& r) { return r.testo.startsWith(QStringLiteral("T.E.G. ")); }),
                 2);
    }
}

// Blocks of lines are not split across pages when they fit on one; a long
// line is broken between words, never a figure.
void TestRelazione::pagine()
{
    SezionePassaggi s{QStringLiteral("Prova"), {}};
    for (int b = 0; b < 3; ++b)
        s.blocchi.push_back(BloccoPassaggi(20, RigaPassaggio{QStringLiteral("riga"), 1}));
    s.blocchi[0][0].testo = QString(40, QLatin1Char('x')) + QStringLiteral(" 1\u00a0234,56").repeated(30);
    const std::vector<Rapporto> r = RapportiPassaggi(s);
    QCOMPARE(r.size(), std::size_t(1));
    QCOMPARE(r[0].NumeroPagine, 2.0);
    // The first block's long line is broken (each piece ends with a whole
    // figure), a blank row follows each block, the third block starts page 2.
    int fine = 1;
    while (!r[0].tabella.Testo(fine + 1, 2).isEmpty())
        ++fine;
    QVERIFY(fine > 20 && fine < 24);
    for (int riga = 1; riga <= fine - 19; ++riga)
        QVERIFY(r[0].tabella.Testo(riga, 2).endsWith(QStringLiteral("234,56")));
    QVERIFY(!r[0].tabella.Testo(fine + 2, 2).isEmpty() && r[0].tabella.Testo(fine + 22, 2).isEmpty());
    QVERIFY(r[0].tabella.Testo(44, 2).isEmpty() && !r[0].tabella.Testo(45, 2).isEmpty());
}

// The report of the example calculation: every formula line is in the PDF's
// text with its figures, and every verdict as the check window shows it.
void TestRelazione::esempio()
{
    QTemporaryDir cartella;
    const QString archivio = qEnvironmentVariable("ZELVI_APP_DIR") + QStringLiteral("/Archivio");
    QVERIFY(QFile::copy(archivio + QStringLiteral("/Esempio.ccc"), cartella.filePath(QStringLiteral("Esempio.ccc"))));
    LeggiConteggio(cartella.path(), QStringLiteral("Esempio"), conteggio_);
    const Relazione r = RelazioneConteggio(conteggio_, QDate(2026, 3, 2));
    const QString file = cartella.filePath(QStringLiteral("relazione.pdf"));
    ScriviRelazionePdf(r, file);
    const QString testo = esegui(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    if (!qEnvironmentVariableIsEmpty("ZELVI_RELAZIONE"))
        QFile::copy(file, qEnvironmentVariable("ZELVI_RELAZIONE"));
    QVERIFY(testo.contains(QStringLiteral("Soglie note fino al ")));

    QStringList attese;
    for (int q = 1; q <= 4; ++q) {
        BOX t = conteggio_.Trimestri(q);
        t.Aggiorna();
        attese << QStringLiteral("T.E.G. = ") + FormulaProgramma(t, conteggio_.AnnoRiferimento() % 4 ? 365 : 366)
               << QStringLiteral("T.E.G. = ") + FormulaIstruzioni2016(t);
    }
    const std::vector<EsitoVerifica> esiti = VerificaConteggio(conteggio_, SoglieInUso());
    const std::vector<RigaPaginaSoglia> righe = PaginaSoglia(conteggio_).righe;
    QCOMPARE(righe.size(), esiti.size());
    for (std::size_t i = 0; i < esiti.size(); ++i) {
        if (esiti[i].tegm)
            attese << QStringLiteral("Soglia = ") + FormulaSoglia(*esiti[i].tegm * 100, *esiti[i].inizio);
        if (!righe[i].tasso.isEmpty())
            attese << righe[i].formula + QStringLiteral(": ") + righe[i].tasso;
        if (!righe[i].margine.isEmpty())
            attese << QStringLiteral("margine %1 punti").arg(righe[i].margine);
    }
    QVERIFY(attese.size() > 20);
    // The PDF's text gives the no-break spaces back as plain ones.
    for (QString riga : attese)
        QVERIFY2(testo.contains(riga.replace(QChar(0x00A0), QLatin1Char(' '))), qPrintable(riga));
}

// The recalculation's section, read back from the PDF: its pages after the
// usury check, the options with their laws, a quarter's working as done by
// hand, the remittances and the totals as the window's page gives them.
void TestRelazione::ricalcolo()
{
    Documento d;
    prova::ContoRicalcolo(d);
    d.ContoCorrente().ricalcolo.attoInterruttivo = sys_days{year{2024} / 2 / 1};
    const DatiPaginaRicalcolo dati = PaginaRicalcolo(d);
    QVERIFY(dati.Valido());
    const Relazione r = RelazioneConteggio(d, QDate(2026, 3, 2));
    QStringList titoli;
    for (const Rapporto& p : r.pagine)
        titoli << p.titolo;
    const QStringList sezione = {"Ricalcolo del conto: opzioni e norme", "Ricalcolo del conto: risultati per anno",
                                 "Ricalcolo del conto: risultati per trimestre",
                                 "Ricalcolo del conto: i passaggi di ogni trimestre",
                                 "Ricalcolo del conto: rimesse, prescrizione e totali",
                                 "Ricalcolo del conto: saldo della banca e saldo ricalcolato"};
    const qsizetype prima = titoli.indexOf(sezione.front());
    QVERIFY(prima > 0);
    QCOMPARE(titoli.mid(prima), sezione);

    QTemporaryDir cartella;
    const QString file = cartella.filePath(QStringLiteral("relazione.pdf"));
    ScriviRelazionePdf(r, file);
    if (!qEnvironmentVariableIsEmpty("ZELVI_RELAZIONE_RICALCOLO"))
        QFile::copy(file, qEnvironmentVariable("ZELVI_RELAZIONE_RICALCOLO"));
    // Lines wrapped on paper read as one.
    const QString testo = esegui(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}).simplified();
    // I quarter 2015: 5.000,00 in debit from 01/01 for 45 days, 4.000,00 from
    // the payment valued 15/02 for 45 days: 405.000 numeri at 10% on 365 days
    // (no credit line: the whole debit is beyond it) = 110,96 against the
    // bank's 150,00, 39,04 undue.
    const QStringList attese = {
        "Saldo di partenza: saldo iniziale del primo estratto Art. 2697 c.c.",
        "Atto interruttivo della prescrizione: 01/02/2024",
        "I trimestre 2015 (dal 01/01/2015 al 31/03/2015)",
        "Interessi debitori = Σ numeri debitori × tasso ÷ divisore 405.000,00 × 10,000% ÷ 365 "
        "(tassi pattuiti, oltre il fido) = 110,96",
        "Addebito indebito = costo della banca − costo ricalcolato, se positivo (150,00 + 0,00 + 0,00 − "
        "0,00) − (110,96 + 0,00 + 0,00 − 0,00) = 39,04",
        // Valued 12/08, solutoria whole (no credit line): it pays the undue charges before it.
        "12/08/2015 \u2013 importo 500,00 \u2013 Bonifico a favore"};
    for (const QString& a : attese)
        QVERIFY2(testo.contains(a), qPrintable(a));
    for (const TotaleRicalcolo& t : dati.totali)
        QVERIFY2(testo.contains(t.voce + QStringLiteral(" = ") + t.formula + QLatin1Char(' ') + t.calcolo +
                                QStringLiteral(" = ") + t.risultato),
                 qPrintable(t.voce));
}

QTEST_MAIN(TestRelazione)
#include "test_relazione.moc"
