// The expert's report as a PDF: its pages, their numbers, its properties and
// figures that agree with the windows' page data.
#include "Dichiarazioni.h"
#include "PaginaSoglia.h"
#include "PagineFinanziamenti.h"
#include "PassaggiVerifica.h"
#include "RapportoSoglia.h"
#include "Archivio.h"
#include "Relazione.h"
#include "SoglieInUso.h"
#include "TabellaEsportazione.h"
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

// Works out a formula as a reader would from its printed figures: Italian
// numbers ("9.000.000,00", "3,0303%": a percent is a hundredth), × / + −,
// brackets, "^" and "min(a; b)". Empty when the text is not such a formula.
class Calcolatrice {
public:
    explicit Calcolatrice(const QString& testo) : t_(testo) {}

    std::optional<double> Valuta()
    {
        const std::optional<double> v = somma();
        spazi();
        if (!v || i_ != t_.size())
            return std::nullopt;
        return v;
    }

private:
    void spazi()
    {
        while (i_ < t_.size() && t_[i_].isSpace())
            ++i_;
    }
    bool prendi(QChar c)
    {
        spazi();
        if (i_ < t_.size() && t_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    std::optional<double> somma()
    {
        std::optional<double> v = prodotto();
        while (v) {
            if (prendi('+'))
                v = [&]() -> std::optional<double> { const auto b = prodotto(); return b ? std::optional(*v + *b) : std::nullopt; }();
            else if (prendi(QChar(0x2212)))
                v = [&]() -> std::optional<double> { const auto b = prodotto(); return b ? std::optional(*v - *b) : std::nullopt; }();
            else
                break;
        }
        return v;
    }
    std::optional<double> prodotto()
    {
        std::optional<double> v = potenza();
        while (v) {
            if (prendi(QChar(0x00D7)))
                v = [&]() -> std::optional<double> { const auto b = potenza(); return b ? std::optional(*v * *b) : std::nullopt; }();
            else if (prendi('/'))
                v = [&]() -> std::optional<double> { const auto b = potenza(); return b ? std::optional(*v / *b) : std::nullopt; }();
            else
                break;
        }
        return v;
    }
    std::optional<double> potenza()
    {
        const std::optional<double> b = fattore();
        if (b && prendi('^')) {
            const std::optional<double> e = fattore();
            return e ? std::optional(std::pow(*b, *e)) : std::nullopt;
        }
        return b;
    }
    std::optional<double> fattore()
    {
        spazi();
        if (t_.mid(i_).startsWith(QLatin1String("min("))) {
            i_ += 4;
            const auto a = somma();
            if (!a || !prendi(';'))
                return std::nullopt;
            const auto b = somma();
            if (!b || !prendi(')'))
                return std::nullopt;
            return std::min(*a, *b);
        }
        if (prendi('(')) {
            const auto v = somma();
            return v && prendi(')') ? v : std::nullopt;
        }
        static const QRegularExpression numero(QStringLiteral("^\\d+(?:\\.\\d{3})*(?:,\\d+)?%?"));
        const QRegularExpressionMatch m = numero.match(t_.mid(i_));
        if (!m.hasMatch())
            return std::nullopt;
        i_ += m.capturedLength();
        QString n = m.captured();
        const bool percento = n.endsWith('%');
        n.remove('%').remove('.').replace(',', '.');
        return n.toDouble() / (percento ? 100 : 1);
    }

    QString t_;
    qsizetype i_ = 0;
};

// A printed result as a number, and half its last unit: a percent read as
// a hundredth (frazione) or as points.
bool Risultato(const QString& testo, bool frazione, double& valore, double& mezzo)
{
    static const QRegularExpression forma(QStringLiteral("^\u2212?(\\d{1,3}(?:\\.\\d{3})*|\\d+)(?:,(\\d+))?(%?)$"));
    const QRegularExpressionMatch m = forma.match(testo.trimmed());
    if (!m.hasMatch())
        return false;
    const int decimali = int(m.captured(2).size());
    const bool percento = !m.captured(3).isEmpty();
    QString n = testo.trimmed();
    n.remove('%').remove('.').replace(',', '.').replace(QChar(0x2212), '-');
    const double scala = percento && frazione ? 100 : 1;
    valore = n.toDouble() / scala;
    mezzo = 0.5 * std::pow(10.0, -decimali) / scala;
    return true;
}

// Every line "... = formula = result" of the steps worked out again from its
// printed figures; the lines that did not give their result back, and how
// many were checked.
QStringList FormuleSbagliate(const std::vector<SezionePassaggi>& sezioni, int& controllate)
{
    QStringList sbagliate;
    controllate = 0;
    for (const SezionePassaggi& s : sezioni)
        for (const BloccoPassaggi& b : s.blocchi)
            for (const RigaPassaggio& r : b) {
                const QStringList parti = r.testo.split(QStringLiteral(" = "));
                if (parti.size() < 2)
                    continue;
                const QString formula = parti[parti.size() - 2].section(QLatin1Char(';'), -1).trimmed();
                const QString conMin = parti[parti.size() - 2].trimmed();
                const QString espressione = conMin.startsWith(QLatin1String("min(")) ? conMin : formula;
                const std::optional<double> v = Calcolatrice(espressione).Valuta();
                double frazione = 0, mezzoFrazione = 0, punti = 0, mezzoPunti = 0;
                if (!v || !Risultato(parti.last(), true, frazione, mezzoFrazione) ||
                    !Risultato(parti.last(), false, punti, mezzoPunti))
                    continue;
                ++controllate;
                // "x / y = z%" is read as a share, "x × 100 / y = z%" as points.
                const auto vicino = [&](double atteso, double mezzo) {
                    return std::fabs(*v - atteso) <= mezzo * (1 + 1e-9) + 1e-12;
                };
                if (!vicino(frazione, mezzoFrazione) && !vicino(punti, mezzoPunti))
                    sbagliate << r.testo + QStringLiteral("  [%1]").arg(*v, 0, 'g', 12);
            }
    return sbagliate;
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
    void formuleRiproducibili();
    void relazioneParlaDaSola();
    void marcatoreMaiScritto();
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
// 455 000 and Interessi 149,59 each time; amounts grouped as the tables
// group them.
void TestRelazione::formule_data()
{
    QTest::addColumn<double>("accordato");
    QTest::addColumn<double>("scoperto");
    QTest::addColumn<double>("commissioni");
    QTest::addColumn<double>("spese");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("formula");
    QTest::newRow("entro il fido") << 10000.0 << 0.0 << 50.0 << 0.0
                                   << "B = Fido accordato = 10.000,00: il saldo non ha superato il fido"
                                   << "149,59 × 36.500 / 455.000,00 + 50,00 × 4 × 100 / 10.000,00 = 14,000%";
    QTest::newRow("oltre il fido") << 10000.0 << 13000.0 << 50.0 << 120.0
                                   << "B = Massimo scoperto = 13.000,00: il saldo ha superato il fido accordato "
                                      "di 10.000,00"
                                   << "149,59 × 36.500 / 455.000,00 + 170,00 × 4 × 100 / 13.000,00 = 17,231%";
    QTest::newRow("senza fido") << 0.0 << 6000.0 << 0.0 << 120.0
                                << "B = Massimo scoperto = 6.000,00: nessun fido accordato"
                                << "149,59 × 36.500 / 455.000,00 + 120,00 × 4 × 100 / 6.000,00 = 20,000%";
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
    const std::vector<EsitoTrimestreConto> conto = VerificaConto(conteggio_, SoglieInUso());
    const RigaFormula& f = conto.at(0).tratti.at(0).Decisiva();
    QCOMPARE(f.formula, FormulaConto::Istruzioni2016);
    const QStringList righe = PassaggiIstruzioni(f.formula, std::get<TerminiIstruzioni>(f.termini), t);
    QCOMPARE(righe.value(1), base);
    QCOMPARE(righe.last(), QStringLiteral("T.E.G. = ") + formula);
}

void TestRelazione::soglie()
{
    // The formula of the period's start: before and after 14/05/2011.
    QCOMPARE(FormulaSoglia(9.59, sys_days{2023y / January / 1}),
             QStringLiteral("min(9,59 × 1,25 + 4; 9,59 + 8) = 15,9875%"));
    QCOMPARE(FormulaSoglia(10.35, sys_days{2011y / April / 1}), QStringLiteral("10,35 × 1,5 = 15,525%"));
    QCOMPARE(NumeroNelTesto(-1234567.5, 2, 4), QStringLiteral("\u22121.234.567,50"));
    QCOMPARE(ImportoNelTesto(9000000), QStringLiteral("9.000.000,00"));

    // A quarter across the change of formula: one threshold per period, each
    // with the verdicts of the quarter's four formulas.
    conteggio_.InizializzaConteggio();
    conteggio_.setAnnoRiferimento(2011);
    BOX& t = conteggio_.Trimestri(2);
    t.setNumeri(455000);
    t.setInteressi(149.59);
    t.setAccordato(10000);
    t.setCommissioni(50);
    const std::vector<SezionePassaggi> s = PassaggiVerifica(conteggio_, VerificaConto(conteggio_, SoglieInUso()),
                                                            VerificaConteggio(conteggio_, SoglieInUso()));
    QCOMPARE(s.size(), std::size_t(1));
    // The quarter, its four formulas, then the two periods.
    QCOMPARE(s[0].blocchi.size(), std::size_t(7));
    QVERIFY(s[0].blocchi[1].front().testo.startsWith(QStringLiteral("Istruzioni Banca d'Italia 2009 \u2013 decide")));
    const QString periodi[] = {"01/04/2011 \u2013 13/05/2011", "14/05/2011 \u2013 30/06/2011"};
    const QString formule[] = {" \u00d7 1,5 = ", "min("};
    for (int i = 0; i < 2; ++i) {
        const BloccoPassaggi& b = s[0].blocchi[std::size_t(i) + 5];
        QVERIFY2(b.front().testo.endsWith(periodi[i]), qPrintable(b.front().testo));
        QCOMPARE(std::count_if(b.begin(), b.end(), [&](const RigaPassaggio& r) {
                     return r.testo.startsWith(QStringLiteral("Soglia = ")) && r.testo.contains(formule[i]);
                 }), 1);
        QCOMPARE(std::count_if(b.begin(), b.end(),
                               [](const RigaPassaggio& r) { return r.testo.contains(QStringLiteral(", margine ")); }),
                 4);
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
    QVERIFY(testo.contains(QStringLiteral("serie storica ufficiale dei TEGM")));
    // The cover's values and the steps are broken into lines that fit: none
    // ends cut short.
    for (const QString& l : testo.split(QLatin1Char('\n')))
        QVERIFY2(!l.trimmed().endsWith(QChar(0x2026)), qPrintable(l));

    const DatiPaginaSoglia pagina = PaginaSoglia(conteggio_);
    QStringList attese;
    for (const EsitoTrimestreConto& q : pagina.conto) {
        BOX t = conteggio_.Trimestri(q.trimestre);
        t.Aggiorna();
        for (const RigaFormula& f : q.tratti.at(0).righe)
            attese << (std::holds_alternative<TerminiIstruzioni>(f.termini)
                           ? PassaggiIstruzioni(f.formula, std::get<TerminiIstruzioni>(f.termini), t).last()
                           : PassaggiAnalitico(std::get<TerminiAnalitico>(f.termini), t).last());
        const EsitoVerifica& e = q.tratti.at(0).Decisiva().esito;
        attese << QStringLiteral("Soglia = ") + FormulaSoglia(*e.tegm * 100, *e.inizio);
    }
    for (const RigaPaginaSoglia& riga : pagina.righe) {
        if (!riga.tasso.isEmpty())
            attese << FormulaERuolo(riga) + QStringLiteral(": ") + riga.tasso;
        if (!riga.margine.isEmpty())
            attese << QStringLiteral("margine %1 punti").arg(riga.margine);
    }
    QVERIFY(attese.size() > 40);
    // pdftotext puts each line of the page on its own: the words of one
    // printed line are joined by single spaces.
    const QString unito = QString(testo).replace('\n', ' ').simplified();
    for (const QString& riga : attese)
        QVERIFY2(unito.contains(riga.simplified()), qPrintable(riga));
}

// Every formula the steps print with its figures gives its printed result
// when worked out again from those figures: the example (a 2010 account, a
// mortgage, cash flows, a three-month advance of 3,0303% a quarter), a 2008
// account with a CMS check and a 2015 mortgage whose threshold has four
// decimals (TEGM 4,31: 9,3875%), shown with all of them everywhere.
void TestRelazione::formuleRiproducibili()
{
    QTemporaryDir cartella;
    const QString archivio = qEnvironmentVariable("ZELVI_APP_DIR") + QStringLiteral("/Archivio");
    QVERIFY(QFile::copy(archivio + QStringLiteral("/Esempio.ccc"), cartella.filePath(QStringLiteral("Esempio.ccc"))));
    LeggiConteggio(cartella.path(), QStringLiteral("Esempio"), conteggio_);
    int controllate = 0;
    const DatiPaginaSoglia esempio = PaginaSoglia(conteggio_);
    const std::vector<SezionePassaggi> passi = PassaggiVerifica(conteggio_, esempio.conto, esempio.esiti);
    QStringList sbagliate = FormuleSbagliate(passi, controllate);
    QVERIFY2(sbagliate.isEmpty(), qPrintable(sbagliate.join('\n')));
    QVERIFY2(controllate >= 40, qPrintable(QString::number(controllate)));
    bool breve = false;
    for (const BloccoPassaggi& b : passi.back().blocchi)
        for (const RigaPassaggio& r : b)
            breve |= r.testo == QStringLiteral("T.E.G. su base annuale = 3,0303% \u00d7 365 / 90 = 12,290%");
    QVERIFY(breve);

    Documento d;
    d.InizializzaConteggio();
    d.setAnnoRiferimento(2008);
    for (int q = 1; q <= 4; ++q) {
        BOX& t = d.Trimestri(q);
        t.setNumeri(9100000 + 12345.67 * q);
        t.setInteressi(2500 + 333.33 * q);
        t.setCommissioni(700);
        t.setCMS(600);
        t.setSpese(50);
        t.setGiorniValuta(q);
        t.setAccordato(100000);
        t.setMassimoScoperto(120000);
        d.Usura().setCMSMedia(q, 0.003);
    }
    d.MutuoCorrente().setImporto(100000);
    d.MutuoCorrente().setRata(1000);
    d.MutuoCorrente().setNRate(120);
    d.Usura().setDataStipula(sys_days{2015y / May / 15});
    const DatiPaginaSoglia p = PaginaSoglia(d);
    sbagliate = FormuleSbagliate(PassaggiVerifica(d, p.conto, p.esiti), controllate);
    QVERIFY2(sbagliate.isEmpty(), qPrintable(sbagliate.join('\n')));
    QVERIFY2(controllate >= 40, qPrintable(QString::number(controllate)));

    // The mortgage's threshold, with all its decimals in the table, on
    // paper and in the steps.
    const RigaPaginaSoglia& mutuo = p.righe.back();
    QCOMPARE(mutuo.soglia, QStringLiteral("9,3875%"));
    const Rapporto r = RapportoSoglia(p);
    bool suCarta = false;
    for (int i = 1; i <= TabellaStampa::MaxRighe; ++i)
        suCarta |= r.tabella.Testo(i, 2) == QStringLiteral("9,3875%");
    QVERIFY(suCarta);
}

// The report names the thresholds' series as data (never a folder of this
// computer), its cover line whole; amounts grouped as in the tables, no
// chapter of the manual, no date in brackets; a lire class with its
// conversion.
void TestRelazione::relazioneParlaDaSola()
{
    // An updated series in the archive, as the update command leaves it.
    QTemporaryDir archivio;
    SoglieIncorporate();
    QVERIFY(QFile::copy(QStringLiteral(":/soglie/tegm-serie-storica.csv"),
                        archivio.filePath(QStringLiteral("tegm-serie-storica.csv"))));
    QFile origine(archivio.filePath(QStringLiteral("tegm-serie-storica.origine")));
    QVERIFY(origine.open(QIODevice::WriteOnly));
    origine.write(TestoOrigineSoglie({QStringLiteral("storico-tegm.zip"), QDate(2026, 3, 1)}));
    origine.close();
    ImpostaCartellaSoglie(archivio.path());
    QVERIFY(AvvisoSoglie().isEmpty());
    conteggio_.InizializzaConteggio();
    conteggio_.setNomeConteggio("Rossi 1999");
    conteggio_.setAnnoRiferimento(1999);
    BOX& t = conteggio_.Trimestri(3);
    t.setNumeri(9000000);
    t.setInteressi(2000);
    t.setCommissioni(500);
    t.setSpese(100);
    t.setGiorniValuta(3);
    t.setAccordato(150000);
    BREVE& b = conteggio_.BreveCorrente();
    b.setFinanziato(10000);
    b.setOneri(100);
    b.setRestituito(10200);
    b.setData0(sys_days{1999y / July / 1});
    b.setData1(sys_days{1999y / September / 29});
    conteggio_.Usura().setCategoriaBreve("ANTICIPI E SCONTI COMMERCIALI");
    const Relazione r = RelazioneConteggio(conteggio_, QDate(2026, 3, 2));
    const QString file = archivio.filePath(QStringLiteral("relazione.pdf"));
    ScriviRelazionePdf(r, file);
    const QString testo = esegui(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    const QString unito = QString(testo).replace('\n', ' ').simplified();

    QVERIFY2(unito.contains(TestoFonteSoglie()), qPrintable(unito.left(2000)));
    QVERIFY2(TestoFonteSoglie().contains(QStringLiteral("aggiornata dal file \u00abstorico-tegm.zip\u00bb importato il "
                                                       "01/03/2026, ultimo periodo dal 01/10/2026 al 31/12/2026")),
             qPrintable(TestoFonteSoglie()));
    QVERIFY(!testo.contains(archivio.path()) && !testo.contains(QStringLiteral("/tmp")));
    const QString copertina = testo.section('\f', 0, 0);
    QVERIFY2(!copertina.contains(QChar(0x2026)), qPrintable(copertina));
    QVERIFY(unito.contains(QStringLiteral("Numeri per data = Numeri \u00d7 (G \u2212 giorni valuta) / G = "
                                          "9.000.000,00 \u00d7 (92 \u2212 3) / 92 = 8.706.521,7")));
    QVERIFY(!unito.contains(QStringLiteral("manuale")));
    const QRegularExpression dataTraParentesi(QStringLiteral("\\(\\w*\\s*\\d{2}/\\d{2}/\\d{4}|\\d{2}/\\d{2}/\\d{4}\\)"));
    const QRegularExpressionMatch trovata = dataTraParentesi.match(unito);
    QVERIFY2(!trovata.hasMatch(), qPrintable(unito.mid(std::max<qsizetype>(0, trovata.capturedStart() - 200), 400)));
    QVERIFY(unito.contains(QStringLiteral("(fido accordato 150.000,00 \u20ac = 290.440.500 lire)")));
    ImpostaCartellaSoglie({});
}

// A 2015 mortgage of 100.000 in 120 instalments of 500 never repays: the
// grid's rate is the marker of no rate, and neither the verdict row, its
// copy, its print, the sheet and CSV made from it nor the expert report
// writes it as a rate.
void TestRelazione::marcatoreMaiScritto()
{
    ImpostaCartellaSoglie({});
    conteggio_.InizializzaConteggio();
    conteggio_.setNomeConteggio("Mutuo 2015");
    conteggio_.setAnnoRiferimento(2015);
    Mutuo& m = conteggio_.MutuoCorrente();
    m.setImporto(100000);
    m.setNRate(120);
    m.setRata(500);
    m.setRateAnnuali(12);
    conteggio_.Usura().setDataStipula(sys_days{2015y / June / 15});
    const auto senzaMarcatore = [](const QString& luogo, const QString& testo) {
        const bool pulito = !testo.contains(QStringLiteral("1.234.567")) && !testo.contains(QStringLiteral("1234567")) &&
                            !testo.contains(QStringLiteral("12345,67")) && !testo.contains(QStringLiteral("12.345,67"));
        if (!pulito)
            qWarning("%s: %s", qPrintable(luogo), qPrintable(testo.left(3000)));
        return pulito;
    };

    const DatiPaginaSoglia d = PaginaSoglia(conteggio_);
    QCOMPARE(d.righe.size(), std::size_t(1));
    const RigaPaginaSoglia& riga = d.righe[0];
    QVERIFY(riga.tassoGriglia.isEmpty());
    QCOMPARE(riga.esito, QStringLiteral("tasso non determinabile"));
    QVERIFY(senzaMarcatore("finestra", FormulaERuolo(riga) + riga.tasso + riga.margine + riga.nota));
    const Griglia g = GrigliaSoglia(d);
    QString finestra;
    for (int c = 0; c < g.Colonne(); ++c)
        finestra += g.Testo(1, c) + QLatin1Char(' ');
    QVERIFY(senzaMarcatore("griglia", finestra));
    QVERIFY(senzaMarcatore("copia", CopiaSoglia(d)));
    const Rapporto r = RapportoSoglia(d);
    QString stampa;
    for (int i = 1; i <= r.RighePerPagina; ++i)
        for (const ColonnaStampa& c : r.colonne)
            stampa += r.tabella.Testo(i, c.colonna) + QLatin1Char(' ');
    QVERIFY(senzaMarcatore("stampa", stampa));
    const TabellaEsportazione foglio = TabellaDaRapporto(r);
    QVERIFY(senzaMarcatore("CSV", QString::fromUtf8(TestoCSV(foglio))));
    for (const auto& righe : foglio.righe)
        for (const CellaEsportazione& c : righe)
            QVERIFY(c.tipo != TipoCella::Tasso || c.valore > -1);

    QTemporaryDir cartella;
    const QString file = cartella.filePath(QStringLiteral("relazione.pdf"));
    ScriviRelazionePdf(RelazioneConteggio(conteggio_, QDate(2026, 3, 2)), file);
    const QString testo = esegui(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    QVERIFY(testo.contains(QStringLiteral("Mutuo")));
    QVERIFY(senzaMarcatore("relazione", testo));
    QVERIFY(testo.contains(QStringLiteral("non determinabile")) || testo.contains(QStringLiteral("dati incoerenti")));
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
