// The recalculation of the account: a hand-worked account across the
// capitalisation periods, a seeded ten-year account against a plain
// day-by-day computation written here, the faults of the input; and the
// legal interest rate series it reads.
#include "Ricalcolo.h"
#include "TassoLegale.h"

#include <QtTest>

#include <array>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>

using namespace std::chrono;

namespace {

sys_days G(int a, unsigned m, unsigned g) { return year{a} / month{m} / day{g}; }

constexpr Centesimi operator""_c(unsigned long long v) { return static_cast<Centesimi>(v); }

const SerieTassoLegale& Legale()
{
    static const SerieTassoLegale serie = [] {
        std::ifstream file(TASSO_LEGALE, std::ios::binary);
        std::stringstream testo;
        testo << file.rdbuf();
        std::vector<ErroreTassoLegale> errori;
        std::optional<SerieTassoLegale> s = SerieTassoLegale::Leggi(testo.str(), errori);
        if (!s)
            qFatal("la serie del tasso legale non si legge: riga %d %s", errori.at(0).riga, errori.at(0).testo.c_str());
        return *s;
    }();
    return serie;
}

Movimento M(sys_days contabile, sys_days valuta, Centesimi importo,
            ClasseMovimento classe = ClasseMovimento::Ordinario)
{
    Movimento m;
    m.dataContabile = contabile;
    m.dataValuta = valuta;
    m.importo = importo;
    m.classe = classe;
    return m;
}

Movimento M(sys_days giorno, Centesimi importo, ClasseMovimento classe = ClasseMovimento::Ordinario)
{
    return M(giorno, giorno, importo, classe);
}

const RigaRicalcolo& Trimestre(const EsitoRicalcolo& e, int anno, int numero)
{
    for (const RigaRicalcolo& r : e.trimestri)
        if (r.periodo == TrimestreAnno{anno, numero})
            return r;
    qFatal("trimestre %d/%d assente", numero, anno);
}

// ---------------------------------------------------------------- the hand-worked account

// Rates 9 % a year on 360 days, no credit line, nothing on a credit balance:
// a debit of 10.000,00 bears 2,50 a day. Rates agreed from the start; the
// capitalisation agreed from 01/07/2000; from 2010 also the CMS and the fees.
// The client authorised the debit of the yearly interest from 01/03/2017.
CondizioniConto CondizioniAMano()
{
    CondizioniPeriodo p;
    p.dal = G(1999, 1, 1);
    p.tassoDebitore = p.tassoDebitoreOltreFido = 0.09;
    p.percentualeCMS = 0.01;
    p.divisore = Divisore::Commerciale;
    p.tassiPattuiti = p.dal;
    p.capitalizzazionePattuita = G(2000, 7, 1);
    CondizioniPeriodo q = p;
    q.capitalizzazionePattuita = q.cmsPattuita = q.commissioniPattuite = q.tassiPattuiti = q.dal = G(2010, 1, 1);
    return {{p, q}, G(2017, 3, 1)};
}

std::vector<Movimento> MovimentiAMano()
{
    using C = ClasseMovimento;
    return {M(G(1999, 2, 1), -1000000),           M(G(1999, 3, 31), -40000, C::InteressiDebitori),
            M(G(1999, 4, 1), 1000000),            M(G(2000, 6, 1), -1000000),
            M(G(2000, 6, 30), -8000, C::InteressiDebitori), M(G(2000, 9, 30), -24000, C::InteressiDebitori),
            M(G(2000, 12, 31), -25000, C::InteressiDebitori), M(G(2001, 1, 1), 1046529),
            M(G(2005, 7, 1), -2000000),           M(G(2005, 9, 30), -47000, C::InteressiDebitori),
            M(G(2005, 9, 30), -5000, C::CMS),     M(G(2005, 12, 31), -48000, C::InteressiDebitori),
            M(G(2005, 12, 31), -2500, C::Commissioni), M(G(2006, 1, 1), 2046000),
            M(G(2015, 7, 3), G(2015, 7, 1), -1000000), M(G(2015, 9, 30), -24000, C::InteressiDebitori),
            M(G(2015, 9, 30), -1000, C::Commissioni), M(G(2015, 12, 31), -24500, C::InteressiDebitori),
            M(G(2015, 12, 31), -3000, C::CMS),    M(G(2016, 1, 1), 1001000),
            M(G(2016, 10, 1), -1000000),          M(G(2016, 12, 31), -24000, C::InteressiDebitori),
            M(G(2017, 3, 31), -23000, C::InteressiDebitori), M(G(2017, 4, 1), 1023000),
            M(G(2017, 12, 31), -100, C::InteressiDebitori)};
}

const std::vector<SaldiEstratto> SaldiAMano = {{G(1999, 1, 1), G(2017, 12, 31), 0, -182571, "", 0}};

// ---------------------------------------------------------------- the plain computation

// The rules of 2004-2013 written out day by day by value (or booking) date,
// sharing nothing with the program: kept movements, rates by period (the
// legal rate where not agreed), the credit line's two debit rates, numeri
// summed per quarter, the CMS and its 2010 limits, quarterly or yearly
// capitalisation where agreed, interest apart where not.
struct Piano {
    std::map<std::pair<int, int>, std::array<Centesimi, 4>> trimestri;  // debit, credit, CMS, balance
    Centesimi finale = 0, solutorie = 0;
};

Piano CalcoloPiano(const std::vector<Movimento>& mov, const CondizioniConto& cc, std::set<std::pair<int, int>> usura,
                   bool valuta)
{
    const auto legale = [](int anno) {
        return anno <= 2007 ? 0.025 : anno <= 2009 ? 0.03 : anno == 2010 ? 0.01 : anno == 2011 ? 0.015 : 0.025;
    };
    const auto periodo = [&](sys_days g) -> const CondizioniPeriodo& {
        std::size_t k = 0;
        while (k + 1 < cc.periodi.size() && cc.periodi[k + 1].dal <= g)
            ++k;
        return cc.periodi[k];
    };
    const auto fatto = [](const std::optional<sys_days>& d, sys_days g) { return d && *d <= g; };
    std::map<sys_days, std::vector<Centesimi>> perGiorno;
    for (const Movimento& m : mov) {
        const bool tieni = m.classe == ClasseMovimento::Ordinario || m.classe == ClasseMovimento::Imposte ||
                           (m.classe == ClasseMovimento::Commissioni &&
                            fatto(periodo(m.dataValuta).commissioniPattuite, m.dataValuta));
        if (tieni)
            perGiorno[valuta ? m.dataValuta : m.dataContabile].push_back(m.importo);
    }
    Piano r;
    Centesimi capitale = 0, aParte = 0, pendente = 0, massimo = 0, oltreMassimo = 0;
    int corsa = 0, corsaMassima = 0, trimestriCMS = 0;
    double deb = 0, cred = 0;
    for (sys_days g = G(2004, 1, 1); g <= G(2013, 12, 31); g += days{1}) {
        const year_month_day d{g};
        const int anno = int(d.year()), mese = int(unsigned(d.month())), tr = (mese - 1) / 3 + 1;
        for (Centesimi x : perGiorno[g]) {
            if (x > 0)
                r.solutorie += std::min(x, std::max<Centesimi>(0, -capitale - periodo(g).accordato));
            capitale += x;
        }
        const CondizioniPeriodo& p = periodo(g);
        const bool pattuiti = fatto(p.tassiPattuiti, g) && !p.usiPiazza;
        const double div = p.divisore == Divisore::Commerciale ? 360 : (anno % 4 == 0 ? 366 : 365);
        const bool gratis = usura.count({anno, tr}) > 0;
        const double entro = gratis ? 0 : pattuiti ? p.tassoDebitore : legale(anno);
        const double oltre = gratis ? 0 : pattuiti ? p.tassoDebitoreOltreFido : legale(anno);
        if (capitale < 0) {
            const double e = std::min<double>(-capitale, p.accordato);
            deb += e * entro / div + (-capitale - e) * oltre / div;
            massimo = std::max(massimo, -capitale);
            oltreMassimo = std::max(oltreMassimo, -capitale - p.accordato);
            corsaMassima = std::max(corsaMassima, ++corsa);
        } else {
            cred += capitale * (pattuiti ? p.tassoCreditore : legale(anno)) / div;
            corsa = 0;
        }
        if (sys_days(year_month_day{d.year() / month(unsigned(tr * 3)) / last}) != g)
            continue;
        auto& riga = r.trimestri[{anno, tr}];
        riga[0] = std::llround(deb);
        riga[1] = std::llround(cred);
        deb = cred = 0;
        ++trimestriCMS;
        if (p.liquidazione == Liquidazione::Trimestrale || tr == 4) {
            const Centesimi base = p.baseCMS == BaseCMS::MassimoScoperto ? massimo
                                   : p.baseCMS == BaseCMS::OltreFido ? oltreMassimo : p.accordato;
            Centesimi cms = fatto(p.cmsPattuita, g) ? std::llround(p.percentualeCMS * double(base)) : 0;
            if (anno >= 2010 && (p.accordato == 0 || (p.baseCMS != BaseCMS::Accordato && corsaMassima < 30)))
                cms = 0;
            if (anno >= 2010)
                cms = std::min<Centesimi>(cms, std::llround(0.005 * double(p.accordato) * trimestriCMS));
            riga[2] = cms;
            capitale -= cms;
            massimo = oltreMassimo = trimestriCMS = 0;
            corsaMassima = corsa;
        }
        const auto capitalizza = [&](sys_days fine) {
            const CondizioniPeriodo& c = periodo(fine);
            return fatto(c.capitalizzazionePattuita, fine) ? 1 + int(c.liquidazione == Liquidazione::Annuale) : 0;
        };
        const int regola = capitalizza(g);
        const sys_days prossima{year_month_day{g + days{1}}.year() / month(unsigned((tr % 4) * 3 + 3)) / last};
        if (regola == 0)
            aParte += riga[1] - riga[0];
        else
            pendente += riga[1] - riga[0];
        if (regola == 1 || (regola == 2 && (tr == 4 || capitalizza(prossima) != 2))) {
            capitale += pendente;
            pendente = 0;
        }
        riga[3] = capitale + aParte + pendente;
    }
    r.finale = capitale + aParte + pendente;
    return r;
}

} // namespace

class TestRicalcolo : public QObject {
    Q_OBJECT
private slots:
    void serieTassoLegale();
    void testiTassoLegaleErrati_data();
    void testiTassoLegaleErrati();
    void contoAMano();
    void contoCasuale();
    void datiErrati();
};

void TestRicalcolo::serieTassoLegale()
{
    const SerieTassoLegale& s = Legale();
    QCOMPARE(int(s.Periodi().size()), 23);
    QCOMPARE(s.TassoDel(G(1990, 12, 16)).value_or(-1), 0.10);
    QCOMPARE(s.TassoDel(G(2013, 12, 31)).value_or(-1), 0.025);
    QCOMPARE(s.TassoDel(G(2014, 1, 1)).value_or(-1), 0.01);
    QCOMPARE(s.TassoDel(G(2026, 12, 31)).value_or(-1), 0.016);
    QVERIFY(!s.TassoDel(G(1990, 12, 15)) && !s.TassoDel(G(2027, 1, 1)));
    std::vector<ErroreTassoLegale> errori;
    const auto crlf = SerieTassoLegale::Leggi("\xEF\xBB\xBF" "dal;al;tasso\r\n01/01/2020;31/12/2020;0,05\r\n\r\n", errori);
    QVERIFY(crlf && errori.empty());
    QCOMPARE(crlf->TassoDel(G(2020, 6, 1)).value_or(-1), 0.0005);
}

void TestRicalcolo::testiTassoLegaleErrati_data()
{
    QTest::addColumn<QByteArray>("testo");
    QTest::addColumn<int>("riga");
    QTest::addColumn<QString>("errore");
    const QByteArray h = "DAL;AL;TASSO\n", a = "01/01/2020;31/12/2020;0,05\n";
    QTest::newRow("intestazione") << QByteArray("DAL;TASSO\n" + a) << 1 << "intestazione";
    QTest::newRow("vuoto") << h << 0 << "nessuna riga";
    QTest::newRow("campi") << QByteArray(h + "01/01/2020;0,05\n") << 2 << "2 campi invece di 3";
    QTest::newRow("data") << QByteArray(h + "31/02/2020;31/12/2020;1\n") << 2 << "data di inizio non valida «31/02/2020»";
    QTest::newRow("tasso") << QByteArray(h + a + "01/01/2021;31/12/2021;1,2,3\n") << 3 << "tasso non valido «1,2,3»";
    QTest::newRow("cento") << QByteArray(h + "01/01/2020;31/12/2020;100\n") << 2 << "tasso non valido «100»";
    QTest::newRow("negativo") << QByteArray(h + "01/01/2020;31/12/2020;-1\n") << 2 << "tasso non valido";
    QTest::newRow("fine prima") << QByteArray(h + "01/01/2020;31/12/2019;1\n") << 2 << "precede quella di inizio";
    QTest::newRow("lacuna") << QByteArray(h + a + "02/01/2021;31/12/2021;1\n") << 3
                            << "manca il tasso dal 01/01/2021 al 01/01/2021";
    QTest::newRow("sovrapposto") << QByteArray(h + a + "31/12/2020;31/12/2021;1\n") << 3 << "si sovrappone";
    QTest::newRow("fuori ordine") << QByteArray(h + a + "01/01/2019;31/12/2019;1\n") << 3 << "non segue quello";
}

void TestRicalcolo::testiTassoLegaleErrati()
{
    QFETCH(QByteArray, testo);
    QFETCH(int, riga);
    QFETCH(QString, errore);
    std::vector<ErroreTassoLegale> errori;
    QVERIFY(!SerieTassoLegale::Leggi(testo.toStdString(), errori));
    QCOMPARE(int(errori.size()), 1);
    QCOMPARE(errori[0].riga, riga);
    QVERIFY2(QString::fromStdString(errori[0].testo).contains(errore), errori[0].testo.c_str());
}

void TestRicalcolo::contoAMano()
{
    // Interest recomputed (cents; a debit of 10.000,00 is 250 a day):
    //  I 1999   01/02-31/03, 59 days × 250 = 14.750; kept apart (no capitalisation before 01/07/2000).
    //  II 2000  01/06-30/06, 30 × 250 = 7.500, apart (the quarter ends before 01/07/2000).
    //  III 2000 92 × 250 = 23.000, capitalised at 30/09 (agreed from 01/07/2000): capital -1.023.000.
    //  IV 2000  92 × 1.023.000 × 0,09 / 360 = 92 × 255,75 = 23.529, capitalised: -1.046.529,
    //           paid off on 01/01/2001.
    //  III 2005 92 × 500 = 46.000, capitalised: -2.046.000. IV 2005 above the threshold: 0.
    //  III 2015 by value date 01/07: 91 × 250 + 1 × 250,25 (the agreed fee of 30/09) = 23.000,25 -> 23.000;
    //           by booking date 03/07: 89 × 250 + 250,25 = 22.500 -> value-date effect 500; the bank's
    //           balance is in debit both days, so its effect is 2 × 250 = 500 too. Apart (2014-2016).
    //           CMS agreed but no credit line: nothing from 2010 (art. 2-bis).
    //  IV 2015  92 × 250,25 = 23.023, apart. IV 2016 92 × 250 = 23.000, counted at 31/12, due and
    //           debited (authorised) on 01/03/2017.
    //  I 2017   59 × 250 + 31 × 255,75 = 22.678,25 -> 22.678, counted at the closing on 31/12/2017.
    // Capital at the end 0; apart 14.750 + 7.500 + 23.000 + 23.023 + 22.678 = 90.951.
    // Undue (bank's cost less recomputed): I 1999 40.000 - 14.750 = 25.250; II 2000 500; III 2000 1.000;
    //  IV 2000 1.471; III 2005 47.000 + 5.000 CMS - 46.000 = 6.000; IV 2005 48.000 + 2.500 fee = 50.500;
    //  III 2015 24.000 + 1.000 - (23.000 + 1.000) = 1.000; IV 2015 24.500 + 3.000 - 23.023 = 4.477;
    //  IV 2016 1.000; I 2017 322; IV 2017 100. Sum 91.620 = -90.951 - (-182.571), the bank's final balance.
    // Remittances, all solutorie (no credit line): 01/04/1999 pays 25.250 and 01/01/2001 pays 2.971, both
    //  more than ten years before the act of 15/06/2012: prescribed 28.221. 01/01/2006 pays 56.500,
    //  01/01/2016 5.477, 01/04/2017 1.322; IV 2017 stays unpaid.
    OpzioniRicalcolo o;
    o.trimestriOltreSoglia = {{2005, 4}};
    o.attoInterruttivo = G(2012, 6, 15);
    o.chiusuraConto = G(2017, 12, 31);
    const std::vector<Movimento> movimenti = MovimentiAMano();
    EsitoRicalcolo e = Ricalcola(movimenti, SaldiAMano, CondizioniAMano(), Legale(), o);
    QVERIFY2(e.Valido(), e.errori.empty() ? "" : e.errori[0].c_str());
    QCOMPARE(e.trimestri.size(), std::size_t(76));
    QCOMPARE(e.anni.size(), std::size_t(19));

    const RigaRicalcolo& i99 = Trimestre(e, 1999, 1);
    QCOMPARE(i99.banca.interessiDebitori, 40000_c);
    QCOMPARE(i99.ricalcolato.interessiDebitori, 14750_c);
    QCOMPARE(i99.saldoBanca, -1040000_c);
    QCOMPARE(i99.saldoRicalcolato, -1014750_c);
    QCOMPARE(i99.interessiAParte, -14750_c);
    QCOMPARE(Trimestre(e, 2000, 2).interessiAParte, -22250_c);
    QCOMPARE(Trimestre(e, 2000, 4).ricalcolato.interessiDebitori, 23529_c);
    QCOMPARE(Trimestre(e, 2000, 4).saldoRicalcolato, -1046529_c - 22250_c);
    const RigaRicalcolo& iv05 = Trimestre(e, 2005, 4);
    QVERIFY(iv05.oltreSoglia && iv05.gratuito && !Trimestre(e, 2006, 1).gratuito);
    QCOMPARE(iv05.ricalcolato.interessiDebitori, 0_c);
    QCOMPARE(iv05.Differenza().commissioni, 2500_c);
    const RigaRicalcolo& iii15 = Trimestre(e, 2015, 3);
    QCOMPARE(iii15.ricalcolato.interessiDebitori, 23000_c);
    QCOMPARE(iii15.ricalcolato.effettoValuta, 500_c);
    QCOMPARE(iii15.banca.effettoValuta, 500_c);
    QCOMPARE(iii15.ricalcolato.commissioni, 1000_c);
    QCOMPARE(iii15.ricalcolato.cms, 0_c);
    QVERIFY(QString::fromStdString(iii15.passaggi[2].calcolo).contains("senza fido"));
    QCOMPARE(Trimestre(e, 2015, 4).ricalcolato.interessiDebitori, 23023_c);
    QCOMPARE(Trimestre(e, 2017, 1).ricalcolato.interessiDebitori, 22678_c);
    QCOMPARE(Trimestre(e, 2017, 1).interessiAParte, -68273_c - 22678_c);  // counted at 31/12, not capital
    QCOMPARE(e.anni[6].periodo.anno, 2005);
    QCOMPARE(e.anni[6].banca.interessiDebitori, 95000_c);

    const std::vector<std::pair<sys_days, Centesimi>> addebiti = {
        {G(1999, 3, 31), 25250}, {G(2000, 6, 30), 500},  {G(2000, 9, 30), 1000}, {G(2000, 12, 31), 1471},
        {G(2005, 9, 30), 6000},  {G(2005, 12, 31), 50500}, {G(2015, 9, 30), 1000}, {G(2015, 12, 31), 4477},
        {G(2016, 12, 31), 1000}, {G(2017, 3, 31), 322},    {G(2017, 12, 31), 100}};
    QCOMPARE(e.addebiti.size(), addebiti.size());
    for (std::size_t k = 0; k < addebiti.size(); ++k) {
        QCOMPARE(e.addebiti[k].data, addebiti[k].first);
        QCOMPARE(e.addebiti[k].importo, addebiti[k].second);
        QCOMPARE(e.addebiti[k].prescritto, k < 4 ? addebiti[k].second : 0_c);
    }
    QCOMPARE(e.rimesse.size(), std::size_t(5));
    QCOMPARE(e.rimesse[1].solutoria, 1046529_c);
    QVERIFY(e.rimesse[1].prescritta && !e.rimesse[2].prescritta);
    QCOMPARE(e.rimesse[1].coperture.size(), std::size_t(3));
    QCOMPARE(e.rimesse[2].coperture, (std::vector<std::pair<std::size_t, Centesimi>>{{4, 6000}, {5, 50500}}));
    QCOMPARE(e.totali.addebitiIndebiti, 91620_c);
    QCOMPARE(e.totali.saldoFinaleBanca, -182571_c);
    QCOMPARE(e.totali.saldoFinaleRicalcolato, -90951_c);
    QCOMPARE(e.totali.interessiAParte, -90951_c);
    QCOMPARE(e.totali.effettoSaldo, 91620_c);
    QCOMPARE(e.totali.prescritti, 28221_c);
    QCOMPARE(e.totali.ripetibili, 91620_c - 28221_c);
    QCOMPARE(e.saldi.back().ricalcolato, -90951_c);

    // A first statement opening after a movement already holds it.
    const std::vector<SaldiEstratto> dopo = {{G(1999, 2, 15), G(2017, 12, 31), -1000000, -182571, "", 0}};
    QCOMPARE(Ricalcola(movimenti, dopo, CondizioniAMano(), Legale(), o).totali.saldoFinaleRicalcolato, -90951_c);

    // Open account: only what the remittances paid, not prescribed.
    o.chiusuraConto.reset();
    e = Ricalcola(movimenti, SaldiAMano, CondizioniAMano(), Legale(), o);
    QCOMPARE(e.totali.ripetibili, 56500_c + 5477_c + 1322_c);
    QCOMPARE(e.totali.saldoFinaleRicalcolato, -90951_c);

    // No interest from the first quarter above the threshold: the last
    // remittance now finds only 10.000,00 due and restores the rest.
    o.gratuita = GratuitaUsura::DalPrimoTrimestre;
    e = Ricalcola(movimenti, SaldiAMano, CondizioniAMano(), Legale(), o);
    QCOMPARE(Trimestre(e, 2015, 4).ricalcolato.interessiDebitori, 0_c);
    QCOMPARE(e.rimesse.back().solutoria, 1000000_c);
    QCOMPARE(e.rimesse.back().ripristinatoria, 23000_c);
    QCOMPARE(e.totali.saldoFinaleRicalcolato, 23000_c - 22250_c);
    QCOMPARE(e.totali.addebitiIndebiti, 750_c + 182571_c);

    // Booking dates for every movement: III 2015 loses the two days.
    o.date = DateRicalcolo::Contabile;
    o.gratuita = GratuitaUsura::SoloTrimestre;
    e = Ricalcola(movimenti, SaldiAMano, CondizioniAMano(), Legale(), o);
    QCOMPARE(Trimestre(e, 2015, 3).ricalcolato.interessiDebitori, 22500_c);
    QCOMPARE(Trimestre(e, 2015, 3).ricalcolato.effettoValuta, 0_c);
}

void TestRicalcolo::contoCasuale()
{
    // Four condition periods: agreed rates with a credit line and the
    // capitalisation agreed mid-way; rates not agreed (legal rate) with
    // yearly capitalisation; "usi di piazza" on 360 days; no credit line,
    // rates agreed a month late, no capitalisation, CMS under the 2010 rules.
    CondizioniConto cc;
    CondizioniPeriodo p;
    p.tassiPattuiti = p.cmsPattuita = p.dal = G(2004, 1, 1);
    p.accordato = 500000;
    p.tassoDebitore = 0.08, p.tassoDebitoreOltreFido = 0.12, p.tassoCreditore = 0.005, p.percentualeCMS = 0.005;
    p.capitalizzazionePattuita = G(2005, 6, 1);
    cc.periodi.push_back(p);
    p = {};
    p.capitalizzazionePattuita = p.dal = G(2007, 1, 1);
    p.accordato = 1000000, p.percentualeCMS = 0.006, p.baseCMS = BaseCMS::OltreFido;
    p.liquidazione = Liquidazione::Annuale;
    p.commissioniPattuite = G(2007, 3, 1);
    cc.periodi.push_back(p);
    p = {};
    p.tassiPattuiti = p.capitalizzazionePattuita = p.cmsPattuita = p.commissioniPattuite = p.dal = G(2009, 7, 1);
    p.usiPiazza = true;
    p.accordato = 800000, p.tassoDebitore = 0.10, p.tassoDebitoreOltreFido = 0.14, p.tassoCreditore = 0.01;
    p.percentualeCMS = 0.004, p.divisore = Divisore::Commerciale;
    cc.periodi.push_back(p);
    p = {};
    p.cmsPattuita = p.commissioniPattuite = p.dal = G(2011, 1, 1);
    p.tassiPattuiti = G(2011, 2, 1);
    p.accordato = 300000, p.percentualeCMS = 0.0005;
    p.tassoDebitore = p.tassoDebitoreOltreFido = 0.09, p.tassoCreditore = 0.002;
    p.baseCMS = BaseCMS::OltreFido;
    cc.periodi.push_back(p);

    std::mt19937_64 caso(20101202);
    std::vector<Movimento> mov;
    Centesimi saldo = 0;
    for (sys_days g = G(2004, 1, 1); g <= G(2013, 12, 20); g += days{std::uniform_int_distribution<int>(0, 3)(caso)}) {
        const sys_days valuta = g + days{std::uniform_int_distribution<int>(-4, 3)(caso)};
        const int tipo = std::uniform_int_distribution<int>(0, 19)(caso);
        Centesimi x = std::uniform_int_distribution<Centesimi>(100, 900000)(caso);
        if (saldo > 0 || (saldo > -2000000 && tipo % 2))
            x = -x;
        const ClasseMovimento classe = tipo == 0   ? ClasseMovimento::Commissioni
                                       : tipo == 1 ? ClasseMovimento::InteressiDebitori
                                       : tipo == 2 ? ClasseMovimento::CMS
                                       : tipo == 3 ? ClasseMovimento::Imposte
                                                   : ClasseMovimento::Ordinario;
        if (classe != ClasseMovimento::Ordinario)
            x = -std::abs(x) / 400;
        mov.push_back(M(g, std::max(valuta, G(2004, 1, 1)), x, classe));
        saldo += x;
    }
    mov.push_back(M(G(2013, 12, 31), 1));
    OpzioniRicalcolo o;
    o.trimestriOltreSoglia = {{2008, 2}, {2012, 1}};
    const std::vector<SaldiEstratto> saldi = {{G(2004, 1, 1), G(2013, 12, 31), 0, saldo + 1, "", 0}};
    for (bool valuta : {true, false}) {
        o.date = valuta ? DateRicalcolo::Valuta : DateRicalcolo::Contabile;
        const EsitoRicalcolo e = Ricalcola(mov, saldi, cc, Legale(), o);
        QVERIFY2(e.Valido(), e.errori.empty() ? "" : e.errori[0].c_str());
        const Piano atteso = CalcoloPiano(mov, cc, {{2008, 2}, {2012, 1}}, valuta);
        QCOMPARE(e.trimestri.size(), atteso.trimestri.size());
        for (const RigaRicalcolo& r : e.trimestri) {
            const auto& a = atteso.trimestri.at({r.periodo.anno, r.periodo.numero});
            const std::array<Centesimi, 4> letto = {r.ricalcolato.interessiDebitori, r.ricalcolato.interessiCreditori,
                                                    r.ricalcolato.cms, r.saldoRicalcolato};
            QVERIFY2(letto == a, qPrintable(QStringLiteral("trimestre %1/%2: %3 %4 %5 %6 invece di %7 %8 %9 %10")
                                                .arg(r.periodo.numero).arg(r.periodo.anno)
                                                .arg(letto[0]).arg(letto[1]).arg(letto[2]).arg(letto[3])
                                                .arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3])));
        }
        QCOMPARE(e.totali.saldoFinaleRicalcolato, atteso.finale);
        Centesimi solutorie = 0;
        for (const Rimessa& rm : e.rimesse)
            solutorie += rm.solutoria;
        QCOMPARE(solutorie, atteso.solutorie);
        QCOMPARE(e.totali.saldoFinaleBanca, saldo + 1);
    }
}

void TestRicalcolo::datiErrati()
{
    struct Caso {
        const char* nome;
        std::function<void(std::vector<Movimento>&, CondizioniConto&, OpzioniRicalcolo&)> guasta;
        const char* errore;
    };
    using V = std::vector<Movimento>;
    using C = CondizioniConto;
    using O = OpzioniRicalcolo;
    const Caso casi[] = {
        {"nessun movimento", [](V& m, C&, O&) { m.clear(); }, "Non ci sono movimenti da ricalcolare."},
        {"periodi sovrapposti", [](V&, C& c, O&) { c.periodi[1].dal = c.periodi[0].dal; },
         "Condizioni dal 01/01/1999: un altro periodo inizia lo stesso giorno."},
        {"periodi fuori ordine", [](V&, C& c, O&) { c.periodi[1].dal = G(1998, 6, 1); },
         "il periodo precede quello dal 01/01/1999"},
        {"tasso negativo", [](V&, C& c, O&) { c.periodi[1].tassoDebitore = -0.01; },
         "Condizioni dal 01/01/2010: il tasso debitore deve essere compreso tra 0 e 100%."},
        {"tasso oltre 100", [](V&, C& c, O&) { c.periodi[0].tassoCreditore = 1.5; },
         "il tasso creditore deve essere compreso tra 0 e 100%"},
        {"pattuizione prima del periodo", [](V&, C& c, O&) { c.periodi[1].cmsPattuita = G(2009, 12, 31); },
         "la pattuizione scritta della CMS (31/12/2009) precede l'inizio del periodo"},
        {"movimento prima delle condizioni", [](V& m, C&, O&) { m[0].dataValuta = G(1998, 12, 30); },
         "Il movimento del 30/12/1998 «» precede le condizioni del conto, che iniziano il 01/01/1999"},
        {"giorni scoperti", [](V&, C& c, O&) { c.periodi[0].tassiPattuiti = c.periodi[0].dal = G(1999, 2, 2); },
         "precede le condizioni del conto, che iniziano il 02/02/1999"},
        {"atto prima del primo movimento", [](V&, C&, O& o) { o.attoInterruttivo = G(1998, 1, 1); },
         "L'atto interruttivo del 01/01/1998 precede il primo movimento, del 01/02/1999."},
        {"chiusura prima dell'ultimo movimento", [](V&, C&, O& o) { o.chiusuraConto = G(2017, 6, 30); },
         "La chiusura del conto del 30/06/2017 precede il movimento del 31/12/2017."},
        {"trimestre inesistente", [](V&, C&, O& o) { o.trimestriOltreSoglia = {{2005, 5}}; },
         "il numero 5 non è un trimestre"},
        {"BOT mancanti", [](V&, C& c, O& o) { c.periodi[0].tassiPattuiti.reset(), o.tassoSostitutivo = TassoSostitutivo::BOT; },
         "Mancano i tassi BOT dell'anno 1999 (art. 117 c. 7 TUB), necessari dal 01/01/1999."},
        {"BOT invertiti", [](V&, C&, O& o) { o.tassiBOT = {{2001, 0.05, 0.04}}; },
         "Tassi BOT dell'anno 2001: il minimo supera il massimo."},
        {"tasso legale mancante", [](V& m, C& c, O&) { c.periodi[1].usiPiazza = true, m.push_back(M(G(2027, 3, 1), 100)); },
         "Il tasso legale non è disponibile per il 01/01/2027 (la serie va dal 16/12/1990 al 31/12/2026)."},
    };
    for (const Caso& caso : casi) {
        std::vector<Movimento> m = MovimentiAMano();
        CondizioniConto c = CondizioniAMano();
        OpzioniRicalcolo o;
        caso.guasta(m, c, o);
        const EsitoRicalcolo e = Ricalcola(m, SaldiAMano, c, Legale(), o);
        QVERIFY2(!e.Valido() && e.trimestri.empty() && e.saldi.empty() && e.rimesse.empty(), caso.nome);
        QVERIFY2(QString::fromStdString(e.errori.at(0)).contains(QString::fromUtf8(caso.errore)),
                 qPrintable(QString(caso.nome) + ": " + QString::fromStdString(e.errori.at(0))));
    }
}

QTEST_GUILESS_MAIN(TestRicalcolo)
#include "test_ricalcolo.moc"
