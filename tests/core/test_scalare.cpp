// The daily scale by value date and the quarter's figures: hand-worked
// quarters, and a generated ten-year account against a day-by-day count.
#include "ClassiMovimenti.h"
#include "Scalare.h"
#include "core/ContoGenerato.h"

#include <QtTest>

#include <map>
#include <set>

using namespace std::chrono;

namespace {

sys_days G(int a, unsigned m, unsigned g) { return sys_days{year{a} / month{m} / g}; }

Movimento Mov(sys_days contabile, sys_days valuta, Centesimi importo,
              ClasseMovimento classe = ClasseMovimento::Ordinario)
{
    Movimento m;
    m.dataContabile = contabile;
    m.dataValuta = valuta;
    m.importo = importo;
    m.classe = classe;
    return m;
}

CondizioniConto Fidi(std::initializer_list<std::pair<sys_days, Centesimi>> fidi)
{
    CondizioniConto c;
    for (const auto& [dal, fido] : fidi) {
        c.periodi.emplace_back();
        c.periodi.back().dal = dal;
        c.periodi.back().accordato = fido;
    }
    return c;
}

// A quarter worked out by hand, day by day, in the comments.
struct Caso {
    const char* nome;
    std::vector<Movimento> movimenti;
    std::vector<SaldiEstratto> saldi;
    CondizioniConto condizioni;
    int anno, trimestre;
    NumeriCentesimi entro, oltre, creditori;
    Centesimi massimo;
    std::optional<sys_days> dataMassimo;
    int giorniADebito;
    double giorniValuta;
    Centesimi interessi, fido, saldoIniziale, saldoFinale;
    Copertura copertura;
};

const std::vector<Caso>& Casi()
{
    using C = Copertura;
    static const std::vector<Caso> casi = {
        // 1 000 of credit line; -1 500 counts 10/01..19/02 (41 days), then
        // +500 from 20/02 to 30/03 (39 days); 31/12..09/01 at 0 (10 days).
        {"fido superato",
         {Mov(G(2023, 1, 10), G(2023, 1, 10), -150'000), Mov(G(2023, 2, 20), G(2023, 2, 20), 200'000)},
         {{G(2022, 12, 31), G(2023, 3, 31), 0, 50'000, "a", 1}, {G(2023, 3, 31), G(2023, 6, 30), 50'000, 50'000, "b", 1}},
         Fidi({{G(2022, 1, 1), 100'000}}), 2023, 1,
         100'000 * 41, 50'000 * 41, 50'000 * 39, 150'000, G(2023, 1, 10), 41, 0, 0, 100'000, 0, 50'000, C::Completa},
        // 2024 is a leap year: 91 days at -1 000, no credit line. The interest
        // valued 31/03 and booked 02/04 belongs to the quarter but counts
        // only from 31/03, the first day of the next quarter's count.
        {"bisestile, interessi a fine trimestre",
         {Mov(G(2024, 4, 2), G(2024, 3, 31), -2'000, ClasseMovimento::InteressiDebitori)},
         {{G(2023, 12, 31), G(2024, 3, 31), -100'000, -100'000, "a", 1},
          {G(2024, 3, 31), G(2024, 6, 30), -100'000, -102'000, "b", 1}},
         {}, 2024, 1, 0, 100'000 * 91, 0, 100'000, G(2023, 12, 31), 91, 0, 2'000, 0, -100'000, -102'000, C::Completa},
        {"bisestile, il trimestre dopo",
         {Mov(G(2024, 4, 2), G(2024, 3, 31), -2'000, ClasseMovimento::InteressiDebitori)},
         {{G(2023, 12, 31), G(2024, 3, 31), -100'000, -100'000, "a", 1},
          {G(2024, 3, 31), G(2024, 6, 30), -100'000, -102'000, "b", 1}},
         {}, 2024, 2, 0, 102'000 * 91, 0, 102'000, G(2024, 3, 31), 91, 0, 0, 0, -102'000, -102'000, C::SenzaChiusura},
        // A debit valued 5 days before its booking, a credit 3 days after:
        // -100 counts 10/05..22/05 (13 days), +200 23/05..29/06 (38 days).
        {"valute anteriori alla registrazione",
         {Mov(G(2023, 5, 15), G(2023, 5, 10), -10'000), Mov(G(2023, 5, 20), G(2023, 5, 23), 30'000)},
         {{G(2023, 3, 31), G(2023, 6, 30), 0, 20'000, "a", 1}, {G(2023, 6, 30), G(2023, 7, 31), 20'000, 20'000, "b", 1}},
         {}, 2023, 2, 0, 10'000 * 13, 20'000 * 38, 10'000, G(2023, 5, 10), 13, 4.0, 0, 0, 0, 20'000, C::Completa},
        // The statement starts in the middle of the quarter.
        {"coperto in parte",
         {},
         {{G(2023, 8, 15), G(2023, 12, 31), 100'000, 100'000, "a", 1}},
         {}, 2023, 3, 0, 0, 100'000 * 92, 0, std::nullopt, 0, 0, 0, 0, 100'000, 100'000, C::Parziale},
        // The line goes from 1 000 to 3 000 on 15/11: -2 000 counts 46 days
        // (30/09..14/11) half beyond the line, 46 days (15/11..30/12) within.
        {"fido cambiato nel trimestre",
         {},
         {{G(2023, 9, 30), G(2024, 1, 31), -200'000, -200'000, "a", 1}},
         Fidi({{G(2023, 1, 1), 100'000}, {G(2023, 11, 15), 300'000}}), 2023, 4,
         100'000 * 46 + 200'000 * 46, 100'000 * 46, 0, 200'000, G(2023, 9, 30), 92, 0, 0, 300'000, -200'000, -200'000,
         C::Completa},
        // No statement: the balance starts at 0 and the records run from
        // the first to the last booking; +100 counts 10/01..19/03 (69
        // days), -200 20/03..30/03 (11 days).
        {"movimenti senza estratti",
         {Mov(G(2023, 1, 10), G(2023, 1, 10), 10'000), Mov(G(2023, 3, 20), G(2023, 3, 20), -30'000)},
         {},
         {}, 2023, 1, 0, 20'000 * 11, 10'000 * 69, 20'000, G(2023, 3, 20), 11, 0, 0, 0, 0, -20'000, C::Parziale},
    };
    return casi;
}

const TrimestreScalare* Trimestre(const Scalare& s, int anno, int trimestre)
{
    for (const TrimestreScalare& q : s.trimestri)
        if (q.anno == anno && q.trimestre == trimestre)
            return &q;
    return nullptr;
}

// What a quarter should hold, counted the plain way: a day at a time, each
// day's balance summed from a map of value dates, the credit line looked up
// by walking the periods, the covered days kept in a set.
struct Atteso {
    Centesimi saldoIniziale = 0, saldoFinale = 0, massimo = 0, fido = 0;
    std::optional<sys_days> dataMassimo;
    NumeriCentesimi entro = 0, oltre = 0, creditori = 0, ponderati = 0;
    int giorniADebito = 0, operazioni = 0;
    std::int64_t giorniValuta = 0;
    std::array<Centesimi, 6> perClasse{};
    Copertura copertura = Copertura::Nessuna;
};

Atteso Conta(const prova::ContoGenerato& c, const std::vector<Movimento>& movimenti, int anno, int trimestre)
{
    const sys_days inizio{year{anno} / month{static_cast<unsigned>(trimestre * 3 - 2)} / 1};
    const sys_days fine{year{anno} / month{static_cast<unsigned>(trimestre * 3)} / last};
    Atteso a;

    const SaldiEstratto* primo = &c.saldi.front();
    for (const SaldiEstratto& s : c.saldi)
        if (s.dataIniziale < primo->dataIniziale)
            primo = &s;
    Centesimi saldo = primo->saldoIniziale;
    std::map<sys_days, Centesimi> perValuta;
    for (const Movimento& m : movimenti) {
        if (m.dataContabile < primo->dataIniziale)
            saldo -= m.importo;
        perValuta[m.dataValuta] += m.importo;
        if (m.dataValuta < inizio || m.dataValuta > fine)
            continue;
        a.perClasse[static_cast<std::size_t>(m.classe)] += m.importo;
        if (m.classe == ClasseMovimento::Ordinario) {
            const std::int64_t lag = (m.importo > 0 ? m.dataValuta - m.dataContabile : m.dataContabile - m.dataValuta).count();
            ++a.operazioni;
            a.giorniValuta += lag;
            a.ponderati += (m.importo > 0 ? m.importo : -m.importo) * lag;
        }
    }
    for (const auto& [giorno, importo] : perValuta)
        if (giorno < inizio)
            saldo += importo;
    a.saldoIniziale = saldo;
    for (sys_days d = inizio - days{1}; d < fine; d += days{1}) {
        if (d >= inizio)
            saldo += perValuta.count(d) ? perValuta.at(d) : 0;
        Centesimi fido = 0;
        for (const CondizioniPeriodo& p : c.condizioni.periodi)
            if (p.dal <= d)
                fido = p.accordato;
        if (saldo < 0) {
            ++a.giorniADebito;
            a.entro += std::min(-saldo, fido);
            a.oltre += std::max<Centesimi>(-saldo - fido, 0);
            if (-saldo > a.massimo) {
                a.massimo = -saldo;
                a.dataMassimo = d;
            }
        } else {
            a.creditori += saldo;
        }
    }
    a.saldoFinale = saldo + (perValuta.count(fine) ? perValuta.at(fine) : 0);
    for (const CondizioniPeriodo& p : c.condizioni.periodi)
        if (p.dal <= fine)
            a.fido = p.accordato;

    std::set<sys_days> coperti;
    std::vector<SaldiEstratto> ordinati = c.saldi;
    std::sort(ordinati.begin(), ordinati.end(),
              [](const SaldiEstratto& x, const SaldiEstratto& y) { return x.dataIniziale < y.dataIniziale; });
    for (std::size_t i = 0; i < ordinati.size(); ++i) {
        sys_days dal = ordinati[i].dataIniziale;
        if (i > 0 && ordinati[i].saldoIniziale == ordinati[i - 1].saldoFinale)
            dal = ordinati[i - 1].dataFinale;
        for (sys_days d = dal; d <= ordinati[i].dataFinale; d += days{1})
            coperti.insert(d);
    }
    int nelTrimestre = 0;
    for (sys_days d = inizio; d <= fine; d += days{1})
        nelTrimestre += static_cast<int>(coperti.count(d));
    bool chiusura = true;
    for (sys_days d = fine; d <= fine + days{GiorniRegistrazioneChiusura}; d += days{1})
        chiusura = chiusura && coperti.count(d);
    const int giorni = static_cast<int>((fine - inizio).count()) + 1;
    a.copertura = nelTrimestre == 0 ? Copertura::Nessuna
        : nelTrimestre < giorni     ? Copertura::Parziale
        : chiusura                  ? Copertura::Completa
                                    : Copertura::SenzaChiusura;
    return a;
}

} // namespace

class TestScalare : public QObject {
    Q_OBJECT
private slots:
    void trimestriCalcolatiAMano_data();
    void trimestriCalcolatiAMano();
    void contoDiDieciAnniComeIlContoGiornaliero();
    void importiEstremi();
};

void TestScalare::trimestriCalcolatiAMano_data()
{
    QTest::addColumn<int>("caso");
    for (std::size_t i = 0; i < Casi().size(); ++i)
        QTest::newRow(Casi()[i].nome) << static_cast<int>(i);
}

void TestScalare::trimestriCalcolatiAMano()
{
    QFETCH(int, caso);
    const Caso& c = Casi()[static_cast<std::size_t>(caso)];
    const Scalare s = CalcolaScalare(c.movimenti, c.saldi, c.condizioni);
    const TrimestreScalare* q = Trimestre(s, c.anno, c.trimestre);
    QVERIFY(q);
    QCOMPARE(q->numeriDebitoriEntroFido, c.entro);
    QCOMPARE(q->numeriDebitoriOltreFido, c.oltre);
    QCOMPARE(q->numeriCreditori, c.creditori);
    QCOMPARE(q->massimoScoperto, c.massimo);
    QCOMPARE(q->dataMassimoScoperto, c.dataMassimo);
    QCOMPARE(q->giorniADebito, c.giorniADebito);
    QCOMPARE(q->saldoIniziale, c.saldoIniziale);
    QCOMPARE(q->saldoFinale, c.saldoFinale);
    QCOMPARE(q->copertura, c.copertura);
    QCOMPARE(q->giorni, c.anno == 2024 && c.trimestre == 1 ? 91 : c.trimestre == 1 ? 90 : c.trimestre == 2 ? 91 : 92);

    const FigureTrimestre f = FigureDelTrimestre(*q);
    QCOMPARE(f.numeri.valore, static_cast<double>(c.entro + c.oltre) / 100);
    QCOMPARE(f.interessi.valore, static_cast<double>(c.interessi) / 100);
    QCOMPARE(f.giorniValuta.valore, c.giorniValuta);
    QCOMPARE(f.massimoScoperto.valore, static_cast<double>(c.massimo) / 100);
    QCOMPARE(f.accordato.valore, static_cast<double>(c.fido) / 100);
    QCOMPARE(f.accordato.fonte, c.condizioni.periodi.empty() ? FonteFigura::Nessuna : FonteFigura::Condizioni);
    QCOMPARE(f.numeri.fonte, FonteFigura::Movimenti);
    QCOMPARE(f.parziale(), c.copertura != Copertura::Completa);
    QCOMPARE(s.saldoPartenzaDichiarato, !c.saldi.empty());
}

// The required check: 50 000 movements over ten years, classified by the
// default rules, then every quarter against the day-by-day count, to the
// cent and to the numero.
void TestScalare::contoDiDieciAnniComeIlContoGiornaliero()
{
    const prova::ContoGenerato conto = prova::GeneraConto(20240518);
    QCOMPARE(conto.movimenti.size(), std::size_t{50000});
    std::vector<Movimento> movimenti = conto.movimenti;
    ApplicaRegole(movimenti, RegolePredefinite());
    for (std::size_t i = 0; i < movimenti.size(); ++i)
        QVERIFY2(movimenti[i].classe == conto.classi[i], movimenti[i].descrizione.c_str());

    const Scalare s = CalcolaScalare(movimenti, conto.saldi, conto.condizioni);
    QCOMPARE(s.trimestri.front().anno, 2013);  // value dates before the first statement
    QCOMPARE(s.trimestri.back().anno, 2024);   // the month after the last quarter
    int aDebito = 0, oltreFido = 0, aCredito = 0;
    for (const TrimestreScalare& q : s.trimestri) {
        const QByteArray nome = QByteArray::number(q.anno) + "/" + QByteArray::number(q.trimestre);
        const Atteso a = Conta(conto, movimenti, q.anno, q.trimestre);
        QVERIFY2(q.numeriDebitoriEntroFido == a.entro, nome);
        QVERIFY2(q.numeriDebitoriOltreFido == a.oltre, nome);
        QVERIFY2(q.numeriCreditori == a.creditori, nome);
        QVERIFY2(q.massimoScoperto == a.massimo && q.dataMassimoScoperto == a.dataMassimo, nome);
        QVERIFY2(q.giorniADebito == a.giorniADebito, nome);
        QVERIFY2(q.saldoIniziale == a.saldoIniziale && q.saldoFinale == a.saldoFinale, nome);
        QVERIFY2(q.perClasse == a.perClasse, nome);
        QVERIFY2(q.operazioni == a.operazioni && q.giorniValuta == a.giorniValuta &&
                     q.giorniValutaPonderati == a.ponderati, nome);
        QVERIFY2(q.fidoFine == a.fido, nome);
        QVERIFY2(q.copertura == a.copertura, nome);

        // The lines add up to the quarter, day for day.
        NumeriCentesimi entro = 0, oltre = 0, creditori = 0;
        int giorni = 0;
        for (std::size_t r = q.primaRiga; r < q.primaRiga + q.righe; ++r) {
            entro += s.righe[r].numeriDebitoriEntroFido;
            oltre += s.righe[r].numeriDebitoriOltreFido;
            creditori += s.righe[r].numeriCreditori;
            giorni += s.righe[r].giorni;
        }
        QVERIFY2(entro == a.entro && oltre == a.oltre && creditori == a.creditori && giorni == q.giorni, nome);

        const FigureTrimestre f = FigureDelTrimestre(q);
        const auto addebito = [&](ClasseMovimento c) { return static_cast<double>(-a.perClasse[static_cast<std::size_t>(c)]) / 100; };
        QVERIFY2(f.numeri.valore == static_cast<double>(a.entro + a.oltre) / 100, nome);
        QVERIFY2(f.interessi.valore == addebito(ClasseMovimento::InteressiDebitori), nome);
        QVERIFY2(f.spese.valore == addebito(ClasseMovimento::Commissioni), nome);
        QVERIFY2(f.cms.valore == addebito(ClasseMovimento::CMS), nome);
        aDebito += a.giorniADebito > 0;
        oltreFido += a.oltre > 0;
        aCredito += a.creditori > 0;
    }
    // The account does what it is meant to test.
    QVERIFY(aDebito > 30 && oltreFido > 20 && aCredito > 10);

    // The missing statement of the 18th quarter (2018 II): it and the one
    // before are not complete, the other 38 quarters of the ten years are.
    const auto completi = std::count_if(s.trimestri.begin(), s.trimestri.end(),
                                        [](const TrimestreScalare& q) { return q.copertura == Copertura::Completa; });
    QCOMPARE(completi, 38);
    QCOMPARE(Trimestre(s, 2018, 1)->copertura, Copertura::SenzaChiusura);
    QCOMPARE(Trimestre(s, 2018, 2)->copertura, Copertura::Parziale);
    const std::vector<AnnoCoperto> anni = AnniCoperti(movimenti, conto.saldi);
    QCOMPARE(anni.size(), std::size_t{12});
    QCOMPARE(anni.front().anno, 2013);
    QCOMPARE(anni[5].trimestri[1], Copertura::Parziale);  // 2018 II
    QVERIFY(FigureAnno(s, 2018)[1].parziale());
}

// Ten years at 10 billion euro of debit stay exact; beyond 64 bits the
// scale refuses rather than wraps.
void TestScalare::importiEstremi()
{
    const Centesimi dieciMiliardi = 1'000'000'000'000;
    const std::vector<SaldiEstratto> saldi = {{G(2013, 12, 31), G(2023, 12, 31), -dieciMiliardi, -dieciMiliardi, "a", 1}};
    const Scalare s = CalcolaScalare({}, saldi, Fidi({{G(2014, 1, 1), dieciMiliardi / 2}}));
    QCOMPARE(s.trimestri.size(), std::size_t{41});
    for (const TrimestreScalare& q : s.trimestri)
        if (q.anno >= 2014) {
            QCOMPARE(q.numeriDebitori(), dieciMiliardi * q.giorni);
            QCOMPARE(FigureDelTrimestre(q).numeri.valore, 1e10 * q.giorni);
        }

    const std::vector<SaldiEstratto> enormi = {{G(2022, 12, 31), G(2023, 3, 31), -200'000'000'000'000'000, 0, "a", 1}};
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, CalcolaScalare({}, enormi, {}));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, CalcolaScalare({}, saldi, {}, G(2020, 1, 1), G(2019, 1, 1)));
}

QTEST_APPLESS_MAIN(TestScalare)
#include "test_scalare.moc"
