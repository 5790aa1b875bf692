// The quarters the recalculation treats as above the usury threshold: each
// quarter of a hand-made account checked from its scale by the formula in
// force, against the official series.
#include "TrimestriOltreSoglia.h"
#include "VerificaConto.h"

#include <QtTest>

#include <fstream>
#include <sstream>

using namespace std::chrono;

namespace {

sys_days G(int a, unsigned m, unsigned g) { return year{a} / month{m} / day{g}; }

const SerieSoglie& Serie()
{
    static const SerieSoglie serie = [] {
        std::ifstream file(SERIE_SOGLIE, std::ios::binary);
        std::stringstream testo;
        testo << file.rdbuf();
        std::vector<ErroreSoglie> errori;
        return SerieSoglie::Leggi(testo.str(), errori).value();
    }();
    return serie;
}

Movimento M(sys_days contabile, sys_days valuta, Centesimi importo, ClasseMovimento classe)
{
    Movimento m;
    m.dataContabile = contabile;
    m.dataValuta = valuta;
    m.importo = importo;
    m.classe = classe;
    return m;
}

// A credit line of 10.000,00 from 01/10/2009 (class "oltre 5.000 euro"); one
// statement from 01/10/2009 to 31/07/2010, opening at zero. Each quarter's
// days d run from the last day of the quarter before to the day before its
// own last day, the postings valued on a quarter's last day counting in the
// next one:
// - IV 2009: 10.000,00 drawn on 01/10: 91 days, numeri 910.000; interest
//   200,00 and CMS 500,00 valued 31/12. Up to 2009 the CMS is checked apart:
//   5% of the maximum overdraft, beyond 1,5 x an average CMS of 0,1%, an
//   excess of 485,00 no interest margin absorbs (T.E.G. about 8% against a
//   threshold of 12,765% on 910.000 numeri: about 118). Without the average
//   CMS, which is typed for the reference year only, it cannot be checked.
// - I 2010: 10.700,00 for 90 days, numeri 963.000, interest 300,00:
//   300 x 365 / 963.000 = 11,371%, threshold 14,385%: within.
// - II 2010: 11.000,00 for 91 days, numeri 1.001.000, interest 450,00:
//   450 x 365 / 1.001.000 = 16,409%, threshold 14,730%: above.
// - III 2010: a fee of 500,00 on 15/07, maximum overdraft 11.950,00 beyond
//   the line: 500 x 4 / 11.950 = 16,736% against 13,710%, above, but the
//   statements end on 31/07: not counted.
ContoMovimenti Conto()
{
    ContoMovimenti c;
    CondizioniPeriodo p;
    p.dal = G(2009, 10, 1);
    p.accordato = 1'000'000;
    c.condizioni.periodi.push_back(p);
    using C = ClasseMovimento;
    c.movimenti = {M(G(2009, 10, 1), G(2009, 10, 1), -1'000'000, C::Ordinario),
                   M(G(2010, 1, 4), G(2009, 12, 31), -20'000, C::InteressiDebitori),
                   M(G(2010, 1, 4), G(2009, 12, 31), -50'000, C::CMS),
                   M(G(2010, 4, 2), G(2010, 3, 31), -30'000, C::InteressiDebitori),
                   M(G(2010, 7, 2), G(2010, 6, 30), -45'000, C::InteressiDebitori),
                   M(G(2010, 7, 15), G(2010, 7, 15), -50'000, C::Commissioni)};
    Centesimi fine = 0;
    for (const Movimento& m : c.movimenti)
        fine += m.importo;
    c.saldi.push_back({G(2009, 10, 1), G(2010, 7, 31), 0, fine, "estratto", 1});
    return c;
}

QString Riga(const TrimestreSoglia& t)
{
    const auto tasso = [](std::optional<double> v) { return v ? QString::number(*v * 100, 'f', 3) : QString("-"); };
    return QStringLiteral("%1/%2 %3 %4 %5 %6")
        .arg(t.trimestre.numero)
        .arg(t.trimestre.anno)
        .arg(tasso(t.tasso), tasso(t.soglia), QString::fromStdString(TestoStato(t.stato)))
        .arg(t.oltre ? "conta" : "-");
}

} // namespace

class TestTrimestriOltreSoglia : public QObject {
    Q_OBJECT
private slots:
    void contoAMano_data()
    {
        QTest::addColumn<int>("riferimento");
        QTest::addColumn<QStringList>("attese");
        QTest::newRow("CMS media del 2009") << 2009
                                           << QStringList{"4/2009 - - OLTRE SOGLIA conta",
                                                          "1/2010 11.371 14.385 entro soglia -",
                                                          "2/2010 16.409 14.730 OLTRE SOGLIA conta",
                                                          "3/2010 16.736 13.710 OLTRE SOGLIA -"};
        QTest::newRow("senza CMS media del 2009") << 2010
                                                 << QStringList{"4/2009 - - CMS non verificabile -",
                                                                "1/2010 11.371 14.385 entro soglia -",
                                                                "2/2010 16.409 14.730 OLTRE SOGLIA conta",
                                                                "3/2010 16.736 13.710 OLTRE SOGLIA -"};
    }

    void contoAMano()
    {
        QFETCH(int, riferimento);
        QFETCH(QStringList, attese);
        ParametriUsura usura;
        usura.setCMSMedia(4, 0.001);
        const VerificaMovimenti v = VerificaTrimestriMovimenti(Conto(), riferimento, usura, Serie());
        QVERIFY(v.errore.empty());
        QStringList righe;
        for (TrimestreSoglia t : v.trimestri) {
            // Up to 2009 the T.E.G. without CMS is compared apart: its verdict is the CMS check's.
            if (t.trimestre.anno == 2009)
                t.tasso = t.soglia = std::nullopt;
            righe << Riga(t);
        }
        QCOMPARE(righe, attese);
        QCOMPARE(v.trimestri[0].formula, NomeFormula(FormulaConto::Fino2009));
        QCOMPARE(v.trimestri[1].formula, NomeFormula(FormulaConto::Istruzioni2009));
        QVERIFY(v.trimestri[3].nota.find("coperto solo in parte") != std::string::npos);

        std::vector<TrimestreAnno> oltre{{2010, 2}};
        if (riferimento == 2009)
            oltre.insert(oltre.begin(), {2009, 4});
        QCOMPARE(v.Oltre(), oltre);
    }

    // No records: nothing checked; a span the scale refuses: its reason.
    void senzaTrimestri()
    {
        QVERIFY(VerificaTrimestriMovimenti({}, 2010, {}, Serie()).trimestri.empty());
        ContoMovimenti c = Conto();
        c.movimenti.back().dataValuta = G(2150, 1, 1);
        const VerificaMovimenti v = VerificaTrimestriMovimenti(c, 2010, {}, Serie());
        QVERIFY(v.trimestri.empty());
        QVERIFY(v.errore.find("cento anni") != std::string::npos);
    }
};

QTEST_MAIN(TestTrimestriOltreSoglia)
#include "test_trimestri_oltre_soglia.moc"
