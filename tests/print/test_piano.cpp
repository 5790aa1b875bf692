// "Piano di ammortamento": the window's page, its report over many pages,
// its copy and its exports read back; the mortgage report's contract lines
// in the expert's PDF.
#include "ConteggioAperto.h"
#include "Esportazione.h"
#include "FinestreDiProva.h"
#include "Messaggi.h"
#include "PaginaContratto.h"
#include "RapportoContratto.h"
#include "Relazione.h"
#include "TabellaEsportazione.h"
#include "frmPiano.h"

#include <QFile>
#include <algorithm>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace std::chrono;

namespace {

QString esegui(const QString& programma, const QStringList& argomenti)
{
    QProcess p;
    p.start(programma, argomenti);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// 100 000 at 4 % (commercial basis) over n monthly instalments, signed
// 01/03/2021, first instalment 01/04/2021, 2 euro with each instalment.
void Prepara(Documento& d, int n, MetodoAmmortamento metodo)
{
    d.InizializzaConteggio();
    d.setNomeConteggio("Piano");
    Mutuo& m = d.MutuoCorrente();
    m.setDescrizione("Mutuo casa");
    m.setImporto(100000);
    m.setNRate(n);
    m.setRateAnnuali(12);
    d.Usura().setDataStipula(sys_days{2021y / March / 1});
    d.Contratto().dataPrimaRata = sys_days{2021y / April / 1};
    d.Contratto().tan = 0.04;
    d.Contratto().metodo = metodo;
    d.Contratto().costi = {CostoPredefinito(TipoCosto::Incasso, 2, PagamentoCosto::OgniRata),
                           CostoPredefinito(TipoCosto::Perizia, 300, PagamentoCosto::Stipula)};
}

} // namespace

class TestPiano : public QObject {
    Q_OBJECT

    ConteggioAperto conteggio_;
    QTemporaryDir cartella_;

private slots:
    void initTestCase()
    {
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    }

    // The plan's rows as the window shows them: the contract date, then each
    // instalment; the French instalment of the closed formula, the last one
    // settling the residual; totals.
    void pagina()
    {
        Prepara(conteggio_.Doc(), 240, MetodoAmmortamento::Francese);
        const DatiPaginaPiano p = PaginaPiano(conteggio_.Doc());
        QVERIFY(p.errore.isEmpty());
        QCOMPARE(p.titolo, QStringLiteral("Piano di ammortamento \u2013 Mutuo casa"));
        QCOMPARE(p.righe.size(), std::size_t{241});
        QCOMPARE(p.righe[0].celle, (std::array<QString, 7>{"stipula", "01/03/2021", "", "", "", "100.000,00", "300,00"}));
        // 100 000 x (0,04/12) / (1 - (1 + 0,04/12)^-240) = 605,9803: 605,98; interest 333,33.
        QCOMPARE(p.righe[1].celle,
                 (std::array<QString, 7>{"1", "01/04/2021", "605,98", "333,33", "272,65", "99.727,35", "2,00"}));
        QCOMPARE(p.righe[240].celle[1], QStringLiteral("01/03/2041"));
        QCOMPARE(p.righe[240].celle[2], QStringLiteral("605,99"));
        QCOMPARE(p.righe[240].celle[5], QStringLiteral("0,00"));
        QCOMPARE(p.totali.celle[3], QStringLiteral("45.435,21"));
        QCOMPARE(p.totali.celle[4], QStringLiteral("100.000,00"));
        QCOMPARE(p.totali.celle[6], QStringLiteral("780,00"));  // 300 + 240 x 2
        QVERIFY(p.totali.grassetto);

        // An instalment typed 4,02 above the plan's (with 2 of costs) is shown
        // as a difference beside the plan, in the window and in the notes, and
        // kept as typed.
        conteggio_.Doc().MutuoCorrente().setRata(612);
        const DatiPaginaContratto c = PaginaContratto(conteggio_.Doc());
        const auto rata = std::find_if(c.risultati.begin(), c.risultati.end(),
                                       [](const RigaContratto& r) { return r.chiave == QLatin1String("RataIndicata"); });
        QVERIFY(rata != c.risultati.end());
        QCOMPARE(rata->didascalia, QStringLiteral("Rata indicata: differisce di 4,02 dal piano"));
        QCOMPARE(rata->valore, QStringLiteral("612,00"));
        QVERIFY(rata->evidenza);
        QVERIFY(PaginaPiano(conteggio_.Doc()).note.join(QLatin1Char(' ')).contains(QStringLiteral("4,02")));
        QCOMPARE(conteggio_.Doc().MutuoCorrente().Rata(), 612.0);

        // Without the contract there is no plan, and the page says what to give.
        conteggio_.Doc().InizializzaConteggio();
        const DatiPaginaPiano vuoto = PaginaPiano(conteggio_.Doc());
        QVERIFY(vuoto.righe.empty());
        QVERIFY(vuoto.errore.contains(QStringLiteral("data della prima rata")));
        QVERIFY(RapportoPiano(vuoto).tabella.Testo(1, 1).startsWith(QStringLiteral("Nessun piano")));
    }

    // 360 instalments: the report runs over pages, each opening with the
    // headings; the copy and the sheets have them once and every row.
    void rapportoCopiaEsportazioni()
    {
        Prepara(conteggio_.Doc(), 360, MetodoAmmortamento::Italiano);
        auto f = esempi::FinestraConTabella(QStringLiteral("frmPiano"), conteggio_);
        f->Pagina();
        const DatiPaginaPiano& p = static_cast<frmPiano*>(f.get())->Dati();
        QCOMPARE(p.righe.size(), std::size_t{361});

        Rapporto r;
        QVERIFY(RapportoFinestra(QStringLiteral("frmPiano"), f.get(), r));
        QCOMPARE(r.RighePerPagina, RighePaginaContratto);
        QVERIFY(r.NumeroPagine >= 9);
        for (int pagina = 1; pagina < r.NumeroPagine; ++pagina)
            QCOMPARE(r.tabella.Testo(pagina * r.RighePerPagina + 1, 3), QStringLiteral("Rata"));

        const QStringList copia = CopiaPiano(p).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(copia.filter(QStringLiteral("N. \tData \tRata")).size(), 1);
        // The Italian plan: 100 000 / 360 = 277,78 of principal, 333,33 of interest.
        QVERIFY(copia.contains(QStringLiteral("1 \t01/04/2021 \t611,11 \t333,33 \t277,78 \t99.722,22 \t2,00 ")));

        const TabellaEsportazione t = TabellaDaRapporto(r);
        int intestazioni = 0, date = 0;
        for (const auto& riga : t.righe) {
            intestazioni += riga.size() > 2 && riga[2].testo == QLatin1String("Rata");
            date += riga.size() > 1 && riga[1].tipo == TipoCella::Data;
        }
        QCOMPARE(intestazioni, 1);
        QCOMPARE(date, 361);
        QCOMPARE(t.righe[t.rigaIntestazione][0].testo, QStringLiteral("N."));

        const QString csv = cartella_.filePath(QStringLiteral("piano.csv"));
        ScriviCSV(t, csv);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList righe = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        QVERIFY(righe.contains(QStringLiteral("1;01/04/2021;611,11;333,33;277,78;99722,22;2,00")));
        // The last principal closes the plan: 100 000 - 359 x 277,78 = 276,98,
        // its interest 276,98 x 4 % / 12 = 0,92.
        QVERIFY(righe.contains(QStringLiteral("360;01/03/2051;277,90;0,92;276,98;0,00;2,00")));

        const QString xlsx = cartella_.filePath(QStringLiteral("piano.xlsx"));
        ScriviExcel({t}, xlsx);
        const QStringList celle = esegui(QStringLiteral("/usr/bin/python3"), {QStringLiteral(LETTORE_XLSX), xlsx})
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!celle.isEmpty());
        int rate = 0;
        for (const QString& c : celle)
            rate += c.split(QLatin1Char('\t')).value(2) == QLatin1String("3") &&
                    c.split(QLatin1Char('\t')).value(3) == QLatin1String("n");
        QCOMPARE(rate, 361);  // every instalment and the total, as numbers
    }

    // The expert's PDF: the mortgage's contract lines below its table.
    void relazione()
    {
        Prepara(conteggio_.Doc(), 240, MetodoAmmortamento::Francese);
        conteggio_.Doc().MutuoCorrente().setRata(607.98);
        const QString file = cartella_.filePath(QStringLiteral("relazione.pdf"));
        ScriviRelazionePdf(RelazioneConteggio(conteggio_.Doc(), QDate(2026, 3, 2)), file);
        const QString testo = esegui(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")})
                                  .simplified();
        for (const char* atteso : {"Data della prima rata 01/04/2021", "Rata del piano 605,98 + 2,00 di spese = 607,98",
                                   "Rata indicata: concorda con il piano 607,98", "T.A.E.G. senza costi 4,074%",
                                   // 99 700 received, 240 x 607,98 paid monthly: 4,149 % a year
                                   "T.A.E.G. con i costi nel tasso 4,149%"})
            QVERIFY2(testo.contains(QString::fromUtf8(atteso)), atteso);
    }
};

QTEST_MAIN(TestPiano)
#include "test_piano.moc"
