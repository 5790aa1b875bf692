// The loan's contract in "Verifica usura": the rate with costs, the default
// rate and the early repayment against the thresholds of the contract date,
// as the core checks them, after the rows of the other operations.
#include "ContrattoConteggio.h"
#include "Dichiarazioni.h"
#include "MaggiorazioniInUso.h"
#include "PaginaSoglia.h"
#include "SoglieInUso.h"
#include "VerificaContratto.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace std::chrono;

namespace {

SerieMaggiorazioniMora MaggiorazioniDelFile()
{
    QFile f(QStringLiteral(MAGGIORAZIONI_MORA));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("surcharges missing");
    std::vector<ErroreSoglie> errori;
    return *SerieMaggiorazioniMora::Leggi(f.readAll().toStdString(), errori);
}

// A fixed-rate mortgage of 100 000 over n monthly instalments, first one a
// month after signing, with its default interest.
void Prepara(Documento& d, sys_days stipula, int n, double tan, InteressiMora mora)
{
    d.InizializzaConteggio();
    d.MutuoCorrente().setImporto(100000);
    d.MutuoCorrente().setNRate(n);
    d.MutuoCorrente().setRateAnnuali(12);
    d.Usura().setDataStipula(stipula);
    d.Contratto().dataPrimaRata = SpostaMesi(stipula, 1, true);
    d.Contratto().tan = tan;
    d.Contratto().mora = mora;
    d.Contratto().costi = {CostoPredefinito(TipoCosto::Istruttoria, 1000, PagamentoCosto::Stipula)};
    d.Contratto().estinzione = {true, TipoPenale::Percentuale, 0.02, SpostaMesi(stipula, 36, true)};
}

} // namespace

class TestVerificaContratto : public QObject {
    Q_OBJECT

    Documento d_;

private slots:
    // Worked by hand from the series: the TEGM of the contract date's
    // quarter (fixed-rate mortgages), plus the decree's surcharge, through
    // the legal formula of the period.
    void mora_data()
    {
        QTest::addColumn<QDate>("stipula");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<double>("valore");
        QTest::addColumn<QString>("tasso");
        QTest::addColumn<QString>("soglia");
        QTest::addColumn<QString>("margine");
        QTest::addColumn<QString>("esito");
        // TEGM 5,36 (2nd quarter... of 01/01-31/03/2010); (5,36 + 2,1) x 1,5 = 11,19.
        QTest::newRow("2010, mora fissa 12%") << QDate(2010, 3, 15) << 240 << int(TipoMora::Fisso) << 0.12
                                              << "12,000%" << "11,190%" << "-0,810" << "\u26A0 OLTRE SOGLIA";
        // TEGM 2,61; more than five years: + 1,9; min(4,51 x 1,25 + 4; 4,51 + 8) = 9,6375,
        // shown to three decimals as every threshold of the window (the binary
        // 9,63749… gives 9,637); the verdict compares the whole value.
        QTest::newRow("2019, TAN 2% + 8 punti") << QDate(2019, 5, 10) << 240 << int(TipoMora::Spread) << 0.08
                                                << "10,000%" << "9,6375%" << "-0,363" << "\u26A0 OLTRE SOGLIA";
        // Five years exactly, not more: + 3,1; 5,71 x 1,25 + 4 = 11,1375.
        QTest::newRow("2019 in 60 rate") << QDate(2019, 5, 10) << 60 << int(TipoMora::Spread) << 0.08 << "10,000%"
                                         << "11,1375%" << "1,137" << "entro soglia";
        // No surcharge was surveyed before 01/04/2003.
        QTest::newRow("2002") << QDate(2002, 6, 10) << 240 << int(TipoMora::Fisso) << 0.12 << "12,000%" << ""
                              << "" << "soglia non disponibile";
    }
    void mora()
    {
        QFETCH(QDate, stipula);
        QFETCH(int, rate);
        QFETCH(int, tipo);
        QFETCH(double, valore);
        QFETCH(QString, tasso);
        QFETCH(QString, soglia);
        QFETCH(QString, margine);
        QFETCH(QString, esito);
        Prepara(d_, sys_days{year{stipula.year()} / stipula.month() / stipula.day()}, rate, 0.02,
                {static_cast<TipoMora>(tipo), valore});

        const DatiPaginaSoglia p = PaginaSoglia(d_);
        QVERIFY(p.errore.isEmpty());
        // The grid mortgage's row, then the contract's three.
        QCOMPARE(p.righe.size(), std::size_t{4});
        QCOMPARE(p.righe[0].operazione, QStringLiteral("Mutuo"));
        QCOMPARE(p.righe[1].formula, QStringLiteral("T.A.E.G. con i costi"));
        QCOMPARE(p.righe[3].operazione, QStringLiteral("Mutuo, estinzione anticipata"));
        const RigaPaginaSoglia& m = p.righe[2];
        QCOMPARE(m.operazione, QStringLiteral("Mutuo, interessi di mora"));
        QCOMPARE(m.tasso, tasso);
        QCOMPARE(m.soglia, soglia);
        QCOMPARE(m.margine, margine);
        QCOMPARE(m.esito, esito);
        if (soglia.isEmpty())
            QVERIFY(m.nota.contains(QStringLiteral("01/04/2003")));

        // Each row as the core gives it for the contract, the surcharges read
        // from the data file itself.
        const ContrattoMutuo c = ContrattoDi(d_);
        const SceltaSoglia scelta{d_.Usura().CategoriaMutuo(), d_.Usura().ClasseMutuo()};
        const Risultato<PianoAmmortamento> piano = CalcolaPiano(c);
        QVERIFY(piano);
        const EsitoVerifica attesi[] = {
            VerificaTassoMutuo(c, CalcolaTassi(c, *piano), SoglieInUso(), scelta).esito,
            VerificaMoraMutuo(c, SoglieInUso(), MaggiorazioniDelFile(), scelta)->esito,
            VerificaEstinzioneMutuo(c, CalcolaEstinzione(c, *piano), SoglieInUso(), scelta)->esito};
        QVERIFY(!EsitoDelContratto(p.esiti[0]));
        for (int i = 0; i < 3; ++i) {
            const RigaPaginaSoglia atteso = RigheSoglia({attesi[i]}).front();
            const RigaPaginaSoglia& r = p.righe[static_cast<std::size_t>(i) + 1];
            QCOMPARE(r.tasso, atteso.tasso);
            QCOMPARE(r.soglia, atteso.soglia);
            QCOMPARE(r.margine, atteso.margine);
            QCOMPARE(r.esito, atteso.esito);
            QCOMPARE(r.periodo, atteso.periodo);
            QCOMPARE(r.classe, atteso.classe);
            QVERIFY(EsitoDelContratto(p.esiti[static_cast<std::size_t>(i) + 1]));
        }
    }

    // Without contract data the check is as it was; the grid mortgage's row
    // stays first when there is one.
    void senzaContratto()
    {
        Prepara(d_, sys_days{2019y / May / 10}, 240, 0.02, {});
        d_.MutuoCorrente().setRata(1000);
        QCOMPARE(PaginaSoglia(d_).righe.size(), std::size_t{3});  // grid, rate with costs, early repayment
        QCOMPARE(PaginaSoglia(d_).righe.front().formula, QStringLiteral("T.E.G. esatto"));
        d_.Contratto() = DatiContratto{};
        QCOMPARE(PaginaSoglia(d_).righe.size(), std::size_t{1});
    }

    // The built-in surcharges are the data file's; a damaged file says so
    // and covers no date.
    void maggiorazioni()
    {
        QCOMPARE(AvvisoMaggiorazioni(), QString());
        QCOMPARE(MaggiorazioniInUso().Righe().size(), MaggiorazioniDelFile().Righe().size());
        QTemporaryDir cartella;
        const QString file = cartella.filePath(QStringLiteral("maggiorazioni-mora.csv"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("INIZIO;FINE;CATEGORIA;MAGGIORAZIONE;FONTE\n01/04/2003;31/12/2017;TUTTE LE CATEGORIE;2,1x;D.M.\n");
        f.close();
        QString avviso;
        const SerieMaggiorazioniMora s = LeggiMaggiorazioni(file, avviso);
        QVERIFY(s.Righe().empty());
        QVERIFY2(avviso.contains(QStringLiteral("riga 2")) && avviso.contains(QStringLiteral("non è valida")),
                 qPrintable(avviso));
        LeggiMaggiorazioni(cartella.filePath(QStringLiteral("manca.csv")), avviso);
        QVERIFY(avviso.contains(QStringLiteral("manca")));
    }
};

QTEST_MAIN(TestVerificaContratto)
#include "test_verifica_contratto.moc"
