// The balances beside the movements and the quarters filled from them: the
// running balance against a plain sum, the statements' checks, the quarters
// against the scale's figures, partial quarters, and the names per year.
#include "SaldiMovimenti.h"
#include "TrimestriDaMovimenti.h"
#include "core/ContoGenerato.h"

#include <QtTest>

#include <random>

using namespace std::chrono;

namespace {

sys_days G(int a, unsigned m, unsigned g) { return sys_days{year{a} / month{m} / g}; }

Movimento Mov(sys_days contabile, sys_days valuta, Centesimi importo)
{
    Movimento m;
    m.dataContabile = contabile;
    m.dataValuta = valuta;
    m.importo = importo;
    return m;
}

const prova::ContoGenerato& Generato()
{
    static const prova::ContoGenerato c = [] {
        prova::ContoGenerato g = prova::GeneraConto(20240611);
        for (std::size_t i = 0; i < g.movimenti.size(); ++i)
            g.movimenti[i].classe = g.classi[i];
        return g;
    }();
    return c;
}

} // namespace

class TestSaldiTrimestri : public QObject {
    Q_OBJECT
private slots:
    // Each movement's balance is the starting balance plus every movement
    // that comes before it by value date (then booking date, then list
    // order), itself included: summed plainly for movements picked at random.
    void saldoPerValutaComeSommaSemplice()
    {
        const auto& c = Generato();
        const auto [partenza, dichiarato] = SaldoDiPartenza(c.movimenti, c.saldi);
        QVERIFY(dichiarato);
        QCOMPARE(partenza, Centesimi{-1'234'567});  // the generator's first opening balance, nothing booked before
        const std::vector<Centesimi> saldi = SaldiPerValuta(c.movimenti, partenza);
        std::mt19937_64 caso(7);
        for (int prova = 0; prova < 300; ++prova) {
            const std::size_t i = caso() % c.movimenti.size();
            const Movimento& m = c.movimenti[i];
            Centesimi atteso = partenza;
            for (std::size_t j = 0; j < c.movimenti.size(); ++j) {
                const Movimento& a = c.movimenti[j];
                const bool prima = a.dataValuta < m.dataValuta ||
                                   (a.dataValuta == m.dataValuta &&
                                    (a.dataContabile < m.dataContabile || (a.dataContabile == m.dataContabile && j <= i)));
                if (prima)
                    atteso += a.importo;
            }
            QCOMPARE(saldi[i], atteso);
        }
        // The last movement of a value day leaves the balance the scale holds
        // from that day on.
        const Scalare s = CalcolaScalare(c.movimenti, c.saldi, c.condizioni);
        std::map<sys_days, Centesimi> fineGiorno;
        for (std::size_t i = 0; i < c.movimenti.size(); ++i)
            fineGiorno[c.movimenti[i].dataValuta] = saldi[i];  // overwritten up to the day's last
        for (const RigaScalare& r : s.righe)
            if (const auto it = fineGiorno.find(r.valuta); it != fineGiorno.end() && r.valuta > fineGiorno.begin()->first)
                QCOMPARE(r.saldo, it->second);
    }

    // Every generated statement agrees; a movement taken away makes its own
    // statement (and only it) differ by that amount; a statement whose
    // opening balance is dated on its first day, before that day's movements,
    // agrees through the other reading.
    void saldiDichiarati()
    {
        const auto& c = Generato();
        for (const ControlloSaldi& k : ControllaSaldiDichiarati(c.movimenti, c.saldi))
            QVERIFY2(k.Concorda(), qPrintable(QString::number(k.estratto)));

        std::vector<Movimento> meno = c.movimenti;
        const std::size_t tolto = meno.size() / 2;
        const Movimento via = meno[tolto];
        meno.erase(meno.begin() + static_cast<std::ptrdiff_t>(tolto));
        int discordi = 0;
        for (const ControlloSaldi& k : ControllaSaldiDichiarati(meno, c.saldi)) {
            const SaldiEstratto& s = c.saldi[k.estratto];
            const bool suo = s.dataIniziale < via.dataContabile && via.dataContabile <= s.dataFinale;
            QCOMPARE(k.Concorda(), !suo);
            if (!suo)
                continue;
            ++discordi;
            QCOMPARE(k.differenza, via.importo);
        }
        QCOMPARE(discordi, 1);

        // camt style: opening dated 01/04 before the movements of 01/04.
        const std::vector<Movimento> m = {Mov(G(2024, 3, 31), G(2024, 3, 31), 500), Mov(G(2024, 4, 1), G(2024, 4, 1), -200),
                                          Mov(G(2024, 4, 30), G(2024, 4, 30), 1000)};
        const std::vector<SaldiEstratto> s = {{G(2024, 3, 1), G(2024, 3, 31), 0, 500, "a", 1},
                                              {G(2024, 4, 1), G(2024, 4, 30), 500, 1300, "b", 1}};
        const std::vector<ControlloSaldi> k = ControllaSaldiDichiarati(m, s);
        QVERIFY(k[0].Concorda() && !k[0].conPrimoGiorno && k[0].movimenti == 1);
        QVERIFY(k[1].Concorda() && k[1].conPrimoGiorno && k[1].movimenti == 2);
        QCOMPARE(*k[1].ultimo, std::size_t{2});
    }

    // The quarters take the scale's figures, each with its source; a
    // quarter covered in part is left unless asked; figures an earlier fill
    // gave are cleared where a quarter is not filled again, typed ones stay;
    // typing over a figure makes it the user's.
    void trimestriDalloScalare()
    {
        const auto& c = Generato();
        Documento d;
        d.ContoCorrente().movimenti = c.movimenti;
        d.ContoCorrente().saldi = c.saldi;
        d.ContoCorrente().condizioni = c.condizioni;
        const Scalare s = CalcolaScalare(c.movimenti, c.saldi, c.condizioni);

        RiempiTrimestri(d, s, 2016, false);
        QCOMPARE(int(d.AnnoRiferimento()), 2016);
        const auto figure = FigureAnno(s, 2016);
        for (int q = 1; q <= 4; ++q) {
            const BOX& b = d.Trimestri(q);
            const FigureTrimestre& f = figure[static_cast<std::size_t>(q - 1)];
            QCOMPARE(f.copertura, Copertura::Completa);
            QCOMPARE(b.Numeri(), f.numeri.valore);
            QCOMPARE(b.Interessi(), f.interessi.valore);
            QCOMPARE(b.Commissioni(), f.commissioni.valore);
            QCOMPARE(b.Spese(), f.spese.valore);
            QCOMPARE(b.GiorniValuta(), f.giorniValuta.valore);
            QCOMPARE(b.CMS(), f.cms.valore);
            QCOMPARE(b.Accordato(), f.accordato.valore);
            QCOMPARE(b.MassimoScoperto(), f.massimoScoperto.valore);
            const OrigineTrimestre& o = d.ContoCorrente().origini.trimestri[static_cast<std::size_t>(q - 1)];
            QVERIFY(o.riempito);
            QCOMPARE(o.Fonte(CampoTrimestre::Numeri), FonteFigura::Movimenti);
            QCOMPARE(o.Fonte(CampoTrimestre::Accordato), FonteFigura::Condizioni);
        }
        QVERIFY(d.Trimestri(3).Numeri() > 0 && d.Trimestri(3).MassimoScoperto() > 0);

        // The generator leaves out the statement of quarter 17 (II 2018):
        // that quarter is covered only at its ends.
        const auto coperti = AnniCoperti(c.movimenti, c.saldi);
        const auto a2018 = std::find_if(coperti.begin(), coperti.end(), [](const AnnoCoperto& a) { return a.anno == 2018; });
        QVERIFY(a2018 != coperti.end());
        QCOMPARE(a2018->trimestri[1], Copertura::Parziale);
        d.Trimestri(2).setAccordato(1234);  // typed by the user
        FiguraDigitata(d, 2, CampoTrimestre::Accordato);
        RiempiTrimestri(d, s, 2018, false);
        const auto& o = d.ContoCorrente().origini;
        QCOMPARE(o.anno, 2018);
        for (int q = 0; q < 4; ++q) {
            const bool completo = a2018->trimestri[static_cast<std::size_t>(q)] == Copertura::Completa;
            QCOMPARE(o.trimestri[static_cast<std::size_t>(q)].riempito, completo);
            QCOMPARE(o.trimestri[static_cast<std::size_t>(q)].copertura, a2018->trimestri[static_cast<std::size_t>(q)]);
        }
        QCOMPARE(d.Trimestri(2).Numeri(), 0.0);       // the 2016 figure is gone
        QCOMPARE(d.Trimestri(2).Accordato(), 1234.0);  // the typed one stays
        QCOMPARE(o.trimestri[1].Fonte(CampoTrimestre::Numeri), FonteFigura::Nessuna);

        // Asked, a quarter covered in part is filled and keeps its coverage.
        RiempiTrimestri(d, s, 2018, true);
        const auto f2018 = FigureAnno(s, 2018);
        for (int q = 0; q < 4; ++q) {
            const Copertura cop = a2018->trimestri[static_cast<std::size_t>(q)];
            QCOMPARE(o.trimestri[static_cast<std::size_t>(q)].riempito, cop != Copertura::Nessuna);
            if (cop != Copertura::Nessuna)
                QCOMPARE(d.Trimestri(q + 1).Numeri(), f2018[static_cast<std::size_t>(q)].numeri.valore);
        }

        // A year the document cannot hold changes nothing.
        const OriginiTrimestri prima = o;
        QVERIFY_THROWS_EXCEPTION(std::exception, RiempiTrimestri(d, s, 40000, false));
        QCOMPARE(int(d.AnnoRiferimento()), 2018);
        QVERIFY(o == prima);
    }

    void nomePerAnno_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("semplice") << "Rossi" << "Rossi 2014";
        QTest::newRow("con anno") << "Rossi 2023" << "Rossi 2014";
        QTest::newRow("anno attaccato") << "Rossi2023" << "Rossi2023 2014";
        QTest::newRow("numero breve") << "Conto 12" << "Conto 12 2014";
        QTest::newRow("solo anno") << "2023" << "2023 2014";
        QTest::newRow("spazi") << "Rossi  " << "Rossi 2014";
    }
    void nomePerAnno()
    {
        QFETCH(QString, nome);
        QFETCH(QString, atteso);
        QCOMPARE(QString::fromStdString(NomePerAnno(nome.toStdString(), 2014)), atteso);
    }
};

QTEST_MAIN(TestSaldiTrimestri)
#include "test_saldi_trimestri.moc"
