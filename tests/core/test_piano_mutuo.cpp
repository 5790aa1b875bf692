// The loan as litigated: amortisation plans against their closed formulas,
// the TAEG time convention, the rates with and without costs worked by
// hand, the early repayment, the default-interest threshold from the
// project's series, and bad input.
#include "FlussiDatati.h"
#include "MaggiorazioniMora.h"
#include "PianoMutuo.h"
#include "VerificaMutuo.h"

#include <QtTest>

#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>

using namespace std::chrono;

namespace {

sys_days G(int d, int m, int y)
{
    return sys_days{year{y} / month{unsigned(m)} / day{unsigned(d)}};
}

std::string Testo(const char* percorso)
{
    std::ifstream file(percorso, std::ios::binary);
    std::stringstream testo;
    testo << file.rdbuf();
    return testo.str();
}

const SerieSoglie& Soglie()
{
    static const SerieSoglie serie = [] {
        std::vector<ErroreSoglie> errori;
        std::optional<SerieSoglie> s = SerieSoglie::Leggi(Testo(SERIE_SOGLIE), errori);
        if (!s)
            qFatal("la serie delle soglie non si legge");
        return *s;
    }();
    return serie;
}

const SerieMaggiorazioniMora& Maggiorazioni()
{
    static const SerieMaggiorazioniMora serie = [] {
        std::vector<ErroreSoglie> errori;
        std::optional<SerieMaggiorazioniMora> s = SerieMaggiorazioniMora::Leggi(Testo(MAGGIORAZIONI_MORA), errori);
        if (!s)
            qFatal("le maggiorazioni di mora non si leggono: riga %d %s", errori.at(0).riga, errori.at(0).testo.c_str());
        return *s;
    }();
    return serie;
}

// 100 000 at 4 % a year, 240 monthly instalments from 01/04/2021, signed 01/03/2021.
ContrattoMutuo Ventennale(MetodoAmmortamento metodo = MetodoAmmortamento::Francese)
{
    ContrattoMutuo c;
    c.importo = 100000;
    c.tan = 0.04;
    c.metodo = metodo;
    c.numeroRate = 240;
    c.dataStipula = G(1, 3, 2021);
    c.dataPrimaRata = G(1, 4, 2021);
    return c;
}

PianoAmmortamento Piano(const ContrattoMutuo& c)
{
    const Risultato<PianoAmmortamento> p = CalcolaPiano(c);
    if (!p)
        qFatal("piano non calcolato: %s", p.Errore().c_str());
    return *p;
}

} // namespace

class TestPianoMutuo : public QObject {
    Q_OBJECT
private slots:
    void pianoFrancese();
    void pianoItaliano();
    void pianoBullet();
    void preammortamentoGiorniEffettivi();
    void intervalliTaeg_data();
    void intervalliTaeg();
    void tassiConICosti();
    void costiAnnuali();
    void estinzioneAnticipata();
    void sogliaDiMora_data();
    void sogliaDiMora();
    void tassoConCostiControSoglia();
    void serieMaggiorazioni();
    void serieMaggiorazioniErrate_data();
    void serieMaggiorazioniErrate();
    void datiErrati_data();
    void datiErrati();
};

void TestPianoMutuo::pianoFrancese()
{
    // R = C i / (1 - (1 + i)^-n), i = 0,04 / 12: 605,98033 -> 605,98; the
    // residual after k instalments D_k = C (1 + i)^k - R ((1 + i)^k - 1) / i,
    // each interest rounded to the cent (their drift stays within 20 cents).
    const ContrattoMutuo c = Ventennale();
    const PianoAmmortamento p = Piano(c);
    const double i = 0.04 / 12;
    QCOMPARE(p.righe.size(), std::size_t(240));
    QCOMPARE(p.rataPiano, 605.98);
    double debito = 100000;
    for (const RigaPiano& r : p.righe) {
        const double chiuso = 100000 * std::pow(1 + i, r.numero) - 605.98 * (std::pow(1 + i, r.numero) - 1) / i;
        QCOMPARE(r.interessi, std::round(debito * i * 100) / 100);
        QVERIFY2(std::fabs(r.debitoResiduo - (r.numero == 240 ? 0 : chiuso)) < 0.2, qPrintable(QString::number(r.numero)));
        QCOMPARE(r.data, SpostaMesi(G(1, 4, 2021), r.numero - 1, true));
        if (r.numero < 240)
            QCOMPARE(r.rata, 605.98);
        debito = r.debitoResiduo;
    }
    QCOMPARE(p.righe.back().data, G(1, 3, 2041));
    QCOMPARE(p.righe.back().rata, 605.99);  // settles the residual of 603,98
    QCOMPARE(p.totaleCapitale, 100000.0);
    QCOMPARE(p.totaleRate, 239 * 605.98 + 605.99);
    QCOMPARE(p.totaleInteressi, p.totaleRate - 100000);
    QVERIFY(p.avvisi.empty());

    ContrattoMutuo digitata = c;
    digitata.rataDichiarata = 606.00;
    std::optional<ConfrontoRata> confronto = ConfrontaRata(digitata, p);
    QVERIFY(confronto && !confronto->concorda);
    QCOMPARE(confronto->differenza, 0.02);
    digitata.rataDichiarata = 605.99;
    QVERIFY(ConfrontaRata(digitata, p)->concorda);
}

void TestPianoMutuo::pianoItaliano()
{
    // Principal C / n = 416,67 each, the last 100 000 - 239 x 416,67 = 415,87;
    // interest (C - (k - 1) x 416,67) x i; in total about C i (n + 1) / 2 = 40 166,67.
    const PianoAmmortamento p = Piano(Ventennale(MetodoAmmortamento::Italiano));
    const double i = 0.04 / 12;
    for (const RigaPiano& r : p.righe) {
        const double quota = r.numero == 240 ? 415.87 : 416.67;
        QCOMPARE(r.quotaCapitale, quota);
        QCOMPARE(r.interessi, std::round((100000 - (r.numero - 1) * 416.67) * i * 100) / 100);
        QCOMPARE(r.rata, std::round((r.interessi + quota) * 100) / 100);
    }
    QCOMPARE(p.rataPiano, 750.0);  // 416,67 + 333,33
    QCOMPARE(p.righe.back().debitoResiduo, 0.0);
    QVERIFY(std::fabs(p.totaleInteressi - 100000 * i * 241 / 2) < 1);
}

void TestPianoMutuo::pianoBullet()
{
    // 10 000 at 6 %, 8 quarterly instalments of interest 10 000 x 0,06 / 4 =
    // 150, the principal with the last; quarters are whole months, so the bare
    // rate is (1 + 0,015)^4 - 1 = 6,13636 %.
    ContrattoMutuo c;
    c.importo = 10000;
    c.tan = 0.06;
    c.metodo = MetodoAmmortamento::Bullet;
    c.rateAnnuali = 4;
    c.numeroRate = 8;
    c.dataStipula = G(31, 1, 2022);
    c.dataPrimaRata = G(30, 4, 2022);
    const PianoAmmortamento p = Piano(c);
    for (const RigaPiano& r : p.righe) {
        QCOMPARE(r.interessi, 150.0);
        QCOMPARE(r.rata, r.numero == 8 ? 10150.0 : 150.0);
        QCOMPARE(r.debitoResiduo, r.numero == 8 ? 0.0 : 10000.0);
    }
    QCOMPARE(p.righe[1].data, G(31, 7, 2022));  // month ends kept
    const TassiMutuo t = CalcolaTassi(c, p);
    QVERIFY(std::fabs(*t.nudo - 0.0613635506) < 1e-9);
}

void TestPianoMutuo::preammortamentoGiorniEffettivi()
{
    // 12 000 at 6 % on actual days / 360, constant principal 1 000; signed
    // 15/03/2021, 17 days of pre-amortisation to 01/04/2021:
    //   row 0 (01/04): 12 000 x 0,06 x 17/360 = 34,00
    //   row 1 (01/05, 30 days): 12 000 x 0,06 x 30/360 = 60,00
    //   row 2 (01/06, 31 days): 11 000 x 0,06 x 31/360 = 56,83
    ContrattoMutuo c;
    c.importo = 12000;
    c.tan = 0.06;
    c.base = BaseTan::Effettivi360;
    c.metodo = MetodoAmmortamento::Italiano;
    c.numeroRate = 12;
    c.giorniPreammortamento = 17;
    c.dataStipula = G(15, 3, 2021);
    c.dataPrimaRata = G(1, 5, 2021);
    PianoAmmortamento p = Piano(c);
    QCOMPARE(p.righe.size(), std::size_t(13));
    QCOMPARE(p.righe[0].numero, 0);
    QCOMPARE(p.righe[0].data, G(1, 4, 2021));
    QCOMPARE(p.righe[0].rata, 34.0);
    QCOMPARE(p.righe[1].interessi, 60.0);
    QCOMPARE(p.righe[2].interessi, 56.83);
    QCOMPARE(p.rataPiano, 1060.0);
    QVERIFY(p.avvisi.empty());
    const std::vector<FlussoDatato> f = FlussiMutuo(c, p, CostiNelTasso::Nessuno);
    QCOMPARE(f[1].data, G(1, 4, 2021));
    QCOMPARE(f[1].importo, -34.0);

    c.dataPrimaRata = G(15, 5, 2021);
    p = Piano(c);
    QCOMPARE(p.avvisi.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(p.avvisi[0]).contains("44 giorni dopo"));
}

void TestPianoMutuo::intervalliTaeg_data()
{
    QTest::addColumn<sys_days>("inizio");
    QTest::addColumn<sys_days>("data");
    QTest::addColumn<int>("mesi");
    QTest::addColumn<int>("giorni");
    QTest::addColumn<int>("giorniAnno");
    QTest::newRow("mesi interi") << G(15, 1, 2023) << G(15, 3, 2023) << 2 << 0 << 365;
    QTest::newRow("mese e giorni") << G(15, 1, 2023) << G(28, 2, 2023) << 1 << 13 << 365;
    QTest::newRow("solo giorni") << G(30, 1, 2023) << G(28, 2, 2023) << 0 << 29 << 365;
    QTest::newRow("fine mese su fine mese") << G(31, 1, 2023) << G(28, 2, 2023) << 1 << 0 << 365;
    // The days' year is the one ending on their last day: here 05/03/2023 - 05/03/2024.
    QTest::newRow("anno bisestile") << G(20, 2, 2024) << G(5, 4, 2024) << 1 << 14 << 366;
    QTest::newRow("anno non bisestile") << G(10, 1, 2024) << G(25, 3, 2024) << 2 << 15 << 365;
    QTest::newRow("29 febbraio, un anno") << G(29, 2, 2024) << G(28, 2, 2025) << 12 << 0 << 366;
    QTest::newRow("stesso giorno") << G(5, 5, 2020) << G(5, 5, 2020) << 0 << 0 << 366;
}

void TestPianoMutuo::intervalliTaeg()
{
    QFETCH(sys_days, inizio);
    QFETCH(sys_days, data);
    QFETCH(int, mesi);
    QFETCH(int, giorni);
    QFETCH(int, giorniAnno);
    const IntervalloTaeg t = IntervalloTaegTra(inizio, data);
    QCOMPARE(t.mesi, mesi);
    QCOMPARE(t.giorni, giorni);
    QCOMPARE(t.giorniAnno, giorniAnno);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, IntervalloTaegTra(data + days{1}, data));
}

void TestPianoMutuo::tassiConICosti()
{
    // The loan of Ventennale, signed 01/03/2021, instalments on the 1st from
    // 01/04/2021: every flow falls k whole months after the signing, t = k/12,
    // so X = (1 + j)^12 - 1 with j the monthly rate of C_0 = R' a_240(j)
    // (the last instalment's extra cent moves X by less than 1e-8).
    //   bare:  C_0 = 100 000,                R' = 605,98:  a = 165,02195, j = 0,00333333, X = 4,074148 %
    //   costs: 100 000 - 300 - 1 000 = 98 700, R' = 607,98: a = 162,34087, j = 0,00349087, X = 4,270415 %
    //   + insurance 2 500: 96 200,            R' = 607,98: a = 158,22889, j = 0,00373991, X = 4,581364 %
    ContrattoMutuo c = Ventennale();
    c.costi = {CostoPredefinito(TipoCosto::Perizia, 300, PagamentoCosto::Stipula),
               CostoPredefinito(TipoCosto::Istruttoria, 1000, PagamentoCosto::Stipula),
               CostoPredefinito(TipoCosto::Incasso, 2, PagamentoCosto::OgniRata),
               CostoPredefinito(TipoCosto::Assicurazione, 2500, PagamentoCosto::Stipula),
               CostoPredefinito(TipoCosto::Notaio, 3000, PagamentoCosto::Stipula),
               CostoPredefinito(TipoCosto::Imposte, 250, PagamentoCosto::Stipula)};
    c.costi[3].nelTasso = false;  // a policy the borrower bought apart: out, yet optional
    c.taegDichiarato = 0.0425;
    const PianoAmmortamento p = Piano(c);
    QCOMPARE(p.costiStipula, 300.0 + 1000 + 2500 + 3000 + 250);
    QCOMPARE(p.righe[0].costi, 2.0);
    QCOMPARE(p.totaleCosti, 7050.0 + 480);

    TassiMutuo t = CalcolaTassi(c, p);
    QVERIFY(std::fabs(*t.nudo - 0.04074148) < 1e-7);
    QVERIFY(std::fabs(*t.conCosti - 0.04270415) < 1e-7);
    QVERIFY(std::fabs(*t.scartoDaTaegDichiarato - 0.00020415) < 1e-7);
    // The notary is optional too: every optional cost adds 3 000 more.
    c.costi[4].importo = 0;
    t = CalcolaTassi(c, p);
    QVERIFY(std::fabs(*t.conFacoltativi - 0.04581364) < 1e-7);

    const std::vector<TassoPerCosto> perCosto = TassiPerCosto(c, p);
    QCOMPARE(perCosto.size(), std::size_t(2));  // the insurance and the notary
    QCOMPARE(perCosto[0].costo, 3);
    QVERIFY(std::fabs(*perCosto[0].con - 0.04581364) < 1e-7);
    QCOMPARE(*perCosto[0].senza, *t.conCosti);

    // By default the insurance taken with the loan is in, with its reason.
    QVERIFY(CostoPredefinito(TipoCosto::Assicurazione, 1, PagamentoCosto::Stipula).nelTasso);
    QVERIFY(QString::fromStdString(MotivoPredefinito(TipoCosto::Imposte, false)).contains("644"));
    c.costi[3].nelTasso = true;
    t = CalcolaTassi(c, p);
    QCOMPARE(*t.conCosti, *t.conFacoltativi);

    // Costs taking the whole amount leave no rate, and say so.
    c.costi[0].importo = 100000;
    t = CalcolaTassi(c, p);
    QVERIFY(!t.conCosti && !t.scartoDaTaegDichiarato);
    QVERIFY(QString::fromStdString(t.conCosti.Errore()).startsWith("tasso non determinabile"));
}

void TestPianoMutuo::costiAnnuali()
{
    // A yearly premium from the signing, 01/03/2021, while before the last
    // instalment (01/03/2041): 20 payments, the first on the contract date.
    // Flows of the Directive's third example: 1 000 lent, 600 after one and
    // two years: 1 000 = 600 v + 600 v^2, i = 13,06624 % (the Annex: 0,1306623).
    ContrattoMutuo c = Ventennale();
    c.costi = {CostoPredefinito(TipoCosto::Assicurazione, 100, PagamentoCosto::Annuale)};
    const PianoAmmortamento p = Piano(c);
    const std::vector<FlussoDatato> f = FlussiMutuo(c, p, CostiNelTasso::Scelti);
    QCOMPARE(std::count_if(f.begin(), f.end(), [](const FlussoDatato& x) { return x.importo == -100; }), 20);
    QCOMPARE(p.costiStipula, 100.0);
    QCOMPARE(p.righe[11].costi, 100.0);  // 01/03/2022, with the 12th instalment

    const std::optional<double> esempio =
        TassoAnnuoFlussi({{G(1, 1, 1994), 1000}, {G(1, 1, 1995), -600}, {G(1, 1, 1996), -600}});
    QVERIFY(std::fabs(*esempio - 0.1306623863) < 1e-9);
    // 1 050 after 6 months and 14 days: t = 0,5 + 14/365, X = 1,05^(1/t) - 1.
    QVERIFY(std::fabs(*TassoAnnuoFlussi({{G(1, 1, 2023), 1000}, {G(15, 7, 2023), -1050}}) - 0.0948616851) < 1e-9);
    // No change of sign, or two: no rate.
    QVERIFY(!TassoAnnuoFlussi({{G(1, 1, 2023), 1000}, {G(1, 2, 2023), 10}}));
    QVERIFY(!TassoAnnuoFlussi({{G(1, 1, 2023), 1000}, {G(1, 2, 2023), -2300}, {G(1, 3, 2023), 1320}}));
}

void TestPianoMutuo::estinzioneAnticipata()
{
    // 10 000 at 6 % interest only, one instalment a year, repaid with the
    // second instalment and a 2 % fee: 10 000 = 600 v + 10 800 v^2,
    // v = (-600 + sqrt(600^2 + 4 x 10 800 x 10 000)) / 21 600 = 0,934874,
    // X = 6,96634 %; without the fee the 6 % of the contract.
    ContrattoMutuo c;
    c.importo = 10000;
    c.tan = 0.06;
    c.metodo = MetodoAmmortamento::Bullet;
    c.rateAnnuali = 1;
    c.numeroRate = 5;
    c.dataStipula = G(1, 6, 2015);
    c.dataPrimaRata = G(1, 6, 2016);
    c.estinzione = {true, TipoPenale::Percentuale, 0.02, G(1, 6, 2017)};
    const PianoAmmortamento p = Piano(c);
    Risultato<CasoEstinzione> e = CalcolaEstinzione(c, p);
    QVERIFY(e);
    QCOMPARE(e->debitoResiduo, 10000.0);
    QCOMPARE(e->interessiMaturati, 0.0);
    QCOMPARE(e->penale, 200.0);
    QVERIFY(std::fabs(*e->tassoConPenale - 0.0696634071) < 1e-9);
    QVERIFY(std::fabs(*e->tassoSenzaPenale - 0.06) < 1e-12);

    // Half a year later: 10 000 x 6 % x 180/360 = 300 accrued (30/360).
    c.estinzione.data = G(1, 12, 2017);
    e = CalcolaEstinzione(c, p);
    QCOMPARE(e->interessiMaturati, 300.0);
    // Checked against the threshold of the signing, a fixed-rate mortgage:
    // TEGM 4,31 (II quarter 2015) -> min(4,31 x 1,25 + 4; 12,31) = 9,3875.
    const std::optional<VerificaMutuo> v = VerificaEstinzioneMutuo(c, e, Soglie(), {"MUTUI IPOTECARI A TASSO FISSO", {}});
    QVERIFY(v);
    QCOMPARE(v->esito.stato, StatoVerifica::EntroSoglia);
    QCOMPARE(v->calcolo, std::string("min(4,31 × 1,25 + 4; 4,31 + 8) = 9,3875"));

    c.estinzione.data = G(1, 6, 2020);  // the last instalment's day
    QVERIFY(QString::fromStdString(CalcolaEstinzione(c, p).Errore()).contains("prima dell'ultima rata"));
    c.estinzione.considerata = false;
    QVERIFY(!VerificaEstinzioneMutuo(c, CalcolaEstinzione(c, p), Soglie(), {}));
}

void TestPianoMutuo::sogliaDiMora_data()
{
    QTest::addColumn<sys_days>("stipula");
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("tan");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<double>("mora");
    QTest::addColumn<int>("stato");
    QTest::addColumn<double>("soglia");
    QTest::addColumn<QString>("calcolo");
    const int spread = int(TipoMora::Spread), fisso = int(TipoMora::Fisso);
    // 15/03/2010: fixed-rate mortgages TEGM 5,36 (I quarter 2010), surcharge 2,1
    // for every category, old formula: (5,36 + 2,1) x 1,5 = 11,19; 12 % is over.
    QTest::newRow("2010 oltre") << G(15, 3, 2010) << 240 << 0.05 << fisso << 0.12 << int(StatoVerifica::OltreSoglia)
                                << 0.1119 << "(5,36 + 2,10) × 1,5 = 11,19";
    QTest::newRow("2010 entro") << G(15, 3, 2010) << 240 << 0.05 << spread << 0.03 << int(StatoVerifica::EntroSoglia)
                                << 0.1119 << "(5,36 + 2,10) × 1,5 = 11,19";
    // 10/05/2019: TEGM 2,61 (II quarter 2019), a 20-year mortgage takes 1,9:
    // min(4,51 x 1,25 + 4; 4,51 + 8) = 9,6375; 2 % + 8 = 10 % is over.
    QTest::newRow("2019 ventennale") << G(10, 5, 2019) << 240 << 0.02 << spread << 0.08
                                     << int(StatoVerifica::OltreSoglia) << 0.096375
                                     << "min((2,61 + 1,90) × 1,25 + 4; (2,61 + 1,90) + 8) = 9,6375";
    // Five years exactly (last instalment 10/05/2024) is not over five: 3,1,
    // 5,71 x 1,25 + 4 = 11,1375, and the same 10 % is within.
    QTest::newRow("2019 quinquennale") << G(10, 5, 2019) << 60 << 0.02 << spread << 0.08
                                       << int(StatoVerifica::EntroSoglia) << 0.111375
                                       << "min((2,61 + 3,10) × 1,25 + 4; (2,61 + 3,10) + 8) = 11,1375";
    QTest::newRow("prima del 2003") << G(10, 1, 2003) << 240 << 0.05 << fisso << 0.09
                                    << int(StatoVerifica::SogliaNonDisponibile) << -1.0 << "";
    QTest::newRow("mora oltre il 100%") << G(15, 3, 2010) << 240 << 0.05 << spread << 0.99
                                        << int(StatoVerifica::TassoNonDeterminabile) << 0.1119
                                        << "(5,36 + 2,10) × 1,5 = 11,19";
}

void TestPianoMutuo::sogliaDiMora()
{
    QFETCH(sys_days, stipula);
    QFETCH(int, rate);
    QFETCH(double, tan);
    QFETCH(int, tipo);
    QFETCH(double, mora);
    QFETCH(int, stato);
    QFETCH(double, soglia);
    QFETCH(QString, calcolo);
    ContrattoMutuo c;
    c.importo = 150000;
    c.tan = tan;
    c.numeroRate = rate;
    c.dataStipula = stipula;
    c.dataPrimaRata = SpostaMesi(stipula, 1, true);
    c.mora = {TipoMora(tipo), mora};
    // Up to 30/06/2004 the series has one category for all mortgages.
    const std::string categoria = stipula < G(1, 7, 2004) ? "MUTUI IPOTECARI A TASSO FISSO E VARIABILE"
                                                          : "MUTUI IPOTECARI A TASSO FISSO";
    const std::optional<VerificaMutuo> v = VerificaMoraMutuo(c, Soglie(), Maggiorazioni(), {categoria, {}});
    QVERIFY(v);
    QCOMPARE(int(v->esito.stato), stato);
    QCOMPARE(QString::fromStdString(v->calcolo), calcolo);
    if (soglia < 0) {
        QVERIFY(!v->esito.soglia && !v->maggiorazione);
        QVERIFY(QString::fromStdString(v->esito.nota).contains("prima del 01/04/2003"));
        return;
    }
    QVERIFY(std::fabs(*v->esito.soglia - soglia) < 1e-12);
    if (stato == int(StatoVerifica::TassoNonDeterminabile)) {
        QVERIFY(!v->esito.tasso && !v->esito.margine);
        QVERIFY(QString::fromStdString(v->esito.nota).contains("supera il 100%"));
        return;
    }
    const double tasso = tipo == int(TipoMora::Spread) ? tan + mora : mora;
    QCOMPARE(*v->esito.tasso, tasso);
    QVERIFY(std::fabs(*v->esito.margine - (soglia - tasso)) < 1e-12);
    QVERIFY(!v->fonteMaggiorazione.empty());
}

void TestPianoMutuo::tassoConCostiControSoglia()
{
    // Signed 15/03/2010, 5 %: the bare rate (1 + 0,05/12)^12 - 1 = 5,1162 %
    // against 5,36 x 1,5 = 8,04: within, margin 2,9238 points.
    ContrattoMutuo c = Ventennale();
    c.tan = 0.05;
    c.dataStipula = G(15, 3, 2010);
    c.dataPrimaRata = G(15, 4, 2010);
    const PianoAmmortamento p = Piano(c);
    const VerificaMutuo v = VerificaTassoMutuo(c, CalcolaTassi(c, p), Soglie(), {"MUTUI IPOTECARI A TASSO FISSO", {}});
    QCOMPARE(v.esito.stato, StatoVerifica::EntroSoglia);
    QCOMPARE(v.calcolo, std::string("5,36 × 1,5 = 8,04"));
    QVERIFY(std::fabs(*v.esito.margine - (0.0804 - 0.0511619)) < 1e-6);
    QCOMPARE(CategoriaMoraPer("LEASING IMMOBILIARE A TASSO FISSO (dal 1° aprile 2011)", true), CategoriaMora::Leasing);
    QCOMPARE(CategoriaMoraPer("CREDITO PERSONALE", true), CategoriaMora::AltriPrestiti);
}

void TestPianoMutuo::serieMaggiorazioni()
{
    const SerieMaggiorazioniMora& s = Maggiorazioni();
    const auto punti = [&](sys_days g, CategoriaMora c) {
        const RigaMaggiorazione* r = s.Maggiorazione(g, c);
        return r ? r->punti : 0.0;
    };
    QCOMPARE(punti(G(31, 3, 2003), CategoriaMora::AltriPrestiti), 0.0);
    QCOMPARE(punti(G(1, 4, 2003), CategoriaMora::MutuiIpotecariUltraquinquennali), 2.1);
    QCOMPARE(punti(G(31, 12, 2017), CategoriaMora::Leasing), 2.1);
    QCOMPARE(punti(G(1, 1, 2018), CategoriaMora::MutuiIpotecariUltraquinquennali), 1.9);
    QCOMPARE(punti(G(1, 1, 2018), CategoriaMora::Leasing), 4.1);
    QCOMPARE(punti(G(30, 9, 2025), CategoriaMora::AltriPrestiti), 3.1);
    QCOMPARE(*s.PrimaData(), G(1, 4, 2003));
}

void TestPianoMutuo::serieMaggiorazioniErrate_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<int>("riga");
    QTest::addColumn<QString>("errore");
    const QString t = QString::fromLatin1(SerieMaggiorazioniMora::Intestazione.data()) + "\n";
    const QString buona = "01/01/2018;31/12/2018;LEASING;4,1;D.M.\n";
    QTest::newRow("intestazione") << "INIZIO;FINE\n" + buona << 1 << "intestazione";
    QTest::newRow("vuota") << t << 0 << "nessuna riga";
    QTest::newRow("campi") << t + buona + "01/01/2019;31/12/2019;LEASING;4,1\n" << 3 << "4 campi invece di 5";
    QTest::newRow("data") << t + "31/02/2018;31/12/2018;LEASING;4,1;D.M.\n" << 2 << "data di inizio non valida";
    QTest::newRow("fine prima") << t + "01/01/2018;31/12/2017;LEASING;4,1;D.M.\n" << 2 << "precede";
    QTest::newRow("categoria") << t + "01/01/2018;31/12/2018;MUTUI;1,9;D.M.\n" << 2 << "categoria sconosciuta";
    QTest::newRow("zero") << t + "01/01/2018;31/12/2018;LEASING;0;D.M.\n" << 2 << "maggiorazione non valida";
    QTest::newRow("fonte") << t + "01/01/2018;31/12/2018;LEASING;4,1;\n" << 2 << "fonte";
    QTest::newRow("sovrapposta") << t + buona + "\r\n01/06/2018;31/12/2019;TUTTE LE CATEGORIE;2,1;D.M.\r\n" << 4
                                 << "si sovrappone alla riga 2";
}

void TestPianoMutuo::serieMaggiorazioniErrate()
{
    QFETCH(QString, testo);
    QFETCH(int, riga);
    QFETCH(QString, errore);
    std::vector<ErroreSoglie> errori;
    QVERIFY(!SerieMaggiorazioniMora::Leggi(testo.toStdString(), errori));
    QCOMPARE(errori.size(), std::size_t(1));
    QCOMPARE(errori[0].riga, riga);
    QVERIFY2(QString::fromStdString(errori[0].testo).contains(errore), errori[0].testo.c_str());
}

void TestPianoMutuo::datiErrati_data()
{
    using Modifica = std::function<void(ContrattoMutuo&)>;
    QTest::addColumn<Modifica>("modifica");
    QTest::addColumn<int>("campo");
    QTest::addColumn<QString>("messaggio");
    QTest::addColumn<bool>("bloccaIlPiano");
    QTest::newRow("rata che non estingue") << Modifica([](ContrattoMutuo& c) { c.rataDichiarata = 333.33; })
                                            << int(CampoContratto::RataDichiarata)
                                            << "non supera gli interessi del primo periodo (€ 333,33)" << true;
    QTest::newRow("rate sotto l'importo") << Modifica([](ContrattoMutuo& c) { c.rataDichiarata = 400; })
                                           << int(CampoContratto::RataDichiarata)
                                           << "non restituiscono nemmeno l'importo finanziato" << true;
    QTest::newRow("prima rata prima della stipula")
        << Modifica([](ContrattoMutuo& c) { c.dataPrimaRata = G(28, 2, 2021); }) << int(CampoContratto::DataPrimaRata)
        << "La prima rata (28/02/2021) precede la data di stipula (01/03/2021)." << true;
    QTest::newRow("prima rata nel preammortamento")
        << Modifica([](ContrattoMutuo& c) { c.giorniPreammortamento = 31; }) << int(CampoContratto::DataPrimaRata)
        << "non segue la fine del preammortamento (01/04/2021)" << true;
    QTest::newRow("costo fuori dal piano")
        << Modifica([](ContrattoMutuo& c) {
               c.costi.push_back(CostoPredefinito(TipoCosto::Altro, 50, PagamentoCosto::AllaData));
               c.costi.back().descrizione = "Rinnovo ipoteca";
               c.costi.back().data = G(2, 3, 2041);
           })
        << int(CampoContratto::Costo)
        << "Il costo «Rinnovo ipoteca» ha la data 02/03/2041, fuori dal piano (01/03/2021 - 01/03/2041)." << true;
    QTest::newRow("TAN oltre il 100%") << Modifica([](ContrattoMutuo& c) { c.tan = 1.5; }) << int(CampoContratto::Tan)
                                        << "Il TAN del 150,000% supera il 100%" << true;
    QTest::newRow("601 rate") << Modifica([](ContrattoMutuo& c) { c.numeroRate = 601; })
                              << int(CampoContratto::NumeroRate) << "(601) supera il massimo di 600" << true;
    QTest::newRow("periodicità") << Modifica([](ContrattoMutuo& c) { c.rateAnnuali = 5; })
                                 << int(CampoContratto::RateAnnuali) << "La periodicità" << true;
    QTest::newRow("mora oltre il 100%") << Modifica([](ContrattoMutuo& c) { c.mora = {TipoMora::Fisso, 1.2}; })
                                         << int(CampoContratto::Mora) << "Il tasso di mora del 120,000%" << false;
    QTest::newRow("penale oltre il 100%")
        << Modifica([](ContrattoMutuo& c) { c.estinzione = {true, TipoPenale::Percentuale, 1.5, G(1, 3, 2030)}; })
        << int(CampoContratto::Estinzione) << "supera il 100% del debito residuo" << false;
    QTest::newRow("TAEG oltre il 100%") << Modifica([](ContrattoMutuo& c) { c.taegDichiarato = 2; })
                                         << int(CampoContratto::TaegDichiarato) << "deve essere tra 0 e 100%" << false;
}

void TestPianoMutuo::datiErrati()
{
    using Modifica = std::function<void(ContrattoMutuo&)>;
    QFETCH(Modifica, modifica);
    QFETCH(int, campo);
    QFETCH(QString, messaggio);
    QFETCH(bool, bloccaIlPiano);
    ContrattoMutuo c = Ventennale();
    QVERIFY(ControllaContratto(c).empty());
    modifica(c);
    const std::vector<ErroreContratto> errori = ControllaContratto(c);
    QCOMPARE(errori.size(), std::size_t(1));
    QCOMPARE(int(errori[0].campo), campo);
    QVERIFY2(QString::fromStdString(errori[0].testo).contains(messaggio), errori[0].testo.c_str());
    const Risultato<PianoAmmortamento> p = CalcolaPiano(c);
    QCOMPARE(!p, bloccaIlPiano);
    if (bloccaIlPiano) {
        QCOMPARE(p.Errore(), errori[0].testo);
        QVERIFY_THROWS_EXCEPTION(std::logic_error, p.Valore());
    }
}

QTEST_GUILESS_MAIN(TestPianoMutuo)
#include "test_piano_mutuo.moc"
