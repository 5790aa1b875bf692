// The account check by the formula in force: quarters worked by hand, the
// CMS check before 2010, the days where the formula changes.
#include "Dichiarazioni.h"
#include "VerificaConto.h"

#include <QtTest>

using namespace std::chrono;

namespace {

// The rows of the official series the quarters below fall in ("aperture di
// credito in conto corrente", class "oltre 5.000 euro").
const SerieSoglie& Serie()
{
    static const SerieSoglie serie = [] {
        std::string testo = "INIZIO;FINE;CATEGORIA;CLASSE;TEGM;SOGLIA\n";
        for (const char* periodo : {"01/04/2005;30/06/2005;9,50;14,25", "01/04/2008;30/06/2008;9,88;14,82",
                                    "01/10/2009;31/12/2009;8,51;12,765", "01/01/2010;31/03/2010;9,59;14,385",
                                    "01/04/2011;13/05/2011;9,09;13,635", "14/05/2011;30/06/2011;9,09;15,3625",
                                    "01/07/2012;30/09/2012;9,93;16,4125", "01/01/2017;31/03/2017;8,97;15,21",
                                    "01/04/2017;30/06/2017;9,09;15,36", "01/04/2019;30/06/2019;8,40;14,50"}) {
            const std::string p(periodo);
            testo += p.substr(0, 22) + "APERTURE DI CREDITO IN CONTO CORRENTE;oltre 5.000 euro;" + p.substr(22) + "\n";
        }
        std::vector<ErroreSoglie> errori;
        return *SerieSoglie::Leggi(testo, errori);
    }();
    return serie;
}

struct Figure {
    double numeri, interessi, commissioni, spese, giorniValuta, accordato, cms, massimoScoperto;
};

// Checks quarter q of `anno` of a document holding only these figures.
std::vector<EsitoTrimestreConto> Verifica(int anno, int q, const Figure& f, double cmsMedia = 0)
{
    Documento d;
    d.setAnnoRiferimento(anno);
    BOX& t = d.Trimestri(q);
    t.setNumeri(f.numeri);
    t.setInteressi(f.interessi);
    t.setCommissioni(f.commissioni);
    t.setSpese(f.spese);
    t.setGiorniValuta(f.giorniValuta);
    t.setAccordato(f.accordato);
    t.setCMS(f.cms);
    t.setMassimoScoperto(f.massimoScoperto);
    d.Usura().setCMSMedia(q, cmsMedia);
    return VerificaConto(d, Serie());
}

QString Breve(FormulaConto f)
{
    const char* const nomi[] = {"fino 2009", "2009", "2016", "analitico"};
    return QString::fromLatin1(nomi[int(f)]);
}

// "2009 decide 16,618 OLTRE SOGLIA | analitico (riferimento) 17,456 OLTRE SOGLIA | ..."
QString Riassunto(const TrattoConto& t)
{
    QStringList righe;
    for (const RigaFormula& r : t.righe)
        righe << QStringLiteral("%1 %2 %3 %4")
                     .arg(Breve(r.formula), QString::fromStdString(TestoRuolo(r.ruolo)),
                          r.esito.tasso ? QString::number(*r.esito.tasso * 100, 'f', 3).replace('.', ',') : "-",
                          QString::fromStdString(TestoStato(r.esito.stato)));
    return righe.join(QStringLiteral(" | "));
}

} // namespace

class TestVerificaConto : public QObject {
    Q_OBJECT
private slots:
    void trimestriSvolti_data();
    void trimestriSvolti();
    void terminiDelleFormule();
    void commissione_data();
    void commissione();
    void cambiDiFormula_data();
    void cambiDiFormula();
    void periodoDiviso();
    void documento();
};

void TestVerificaConto::trimestriSvolti_data()
{
    QTest::addColumn<int>("anno");
    QTest::addColumn<int>("trimestre");
    QTest::addColumn<Figure>("figure");
    QTest::addColumn<QString>("atteso");

    // II 2005, class "oltre 5.000 euro", TEGM 9,50: soglia 9,50 x 1,5 = 14,25 %.
    // Numeri 9.100.000 (debt 100.000 a day over 91 days), interest 3.000,
    // commissions 500 of which CMS 300, charges 100, line 100.000, max 120.000.
    //  fino 2009: 3.000 x 365 / 9.100.000 = 12,0330 %; (500 + 100 - 300) / 100.000
    //             = 0,3000 %; 12,333 % within 14,25.
    //  analitico: 3.600 / 100.000 x 365 / 91 = 14,4396 %; compounding
    //             (1 + 91 x 0,144396 / 275)^(275/91) - 1 - 0,144396 = 0,7089 %;
    //             15,148 %: over, but only for reference.
    //  2009, 2016: 12,0330 % + 600 x 4 / 120.000 (the balance went beyond the
    //             line) = 2,0000 %; 14,033 %, not in force in 2005.
    QTest::newRow("2005") << 2005 << 2 << Figure{9100000, 3000, 500, 100, 0, 100000, 300, 120000}
                          << "fino 2009 decide 12,333 entro soglia | analitico (riferimento) 15,148 OLTRE SOGLIA | "
                             "2009 non in vigore nel periodo 14,033 entro soglia | "
                             "2016 non in vigore nel periodo 14,033 entro soglia";
    // III 2012 (366 days, quarter of 92), "oltre 5.000 euro", TEGM 9,93: soglia
    // min(9,93 x 1,25 + 4; 9,93 + 8) = 16,4125 %. Numeri 9.200.000, interest
    // 3.000, fees 1.000 (no CMS), charges 120, 2 value days, line 80.000, max 95.000.
    //  2009: 3.000 x 365 / 9.200.000 = 11,9022 %; 1.120 x 4 / 95.000 = 4,7158 %;
    //        16,618 %: over the threshold, and it decides.
    //  analitico: numeri by date 9.200.000 x 90 / 92 = 9.000.000, debt 97.826,09;
    //        4.120 / 97.826,09 x 366 / 92 = 16,75467 %; compounding over two
    //        quarters P^2 / 4 = 0,70180 %; 17,456 %.
    //  fino 2009: 366 x 3.000 / 9.000.000 = 12,2000 % + 1.120 / 80.000 = 1,4000 %;
    //        13,600 % within, but no longer in force: the fees count now.
    QTest::newRow("2012") << 2012 << 3 << Figure{9200000, 3000, 1000, 120, 2, 80000, 0, 95000}
                          << "2009 decide 16,618 OLTRE SOGLIA | analitico (riferimento) 17,456 OLTRE SOGLIA | "
                             "fino 2009 non in vigore nel periodo 13,600 entro soglia | "
                             "2016 non in vigore nel periodo 16,618 OLTRE SOGLIA";
    // II 2019, no credit line: class from the maximum balance 55.000, "oltre
    // 5.000 euro", TEGM 8,40: soglia min(8,40 x 1,25 + 4; 16,40) = 14,50 %.
    // Numeri 4.550.000, interest 1.200, commissions 250, charges 30.
    //  2016: 1.200 x 365 / 4.550.000 = 9,6264 %; 280 x 4 / 55.000 = 2,0364 %; 11,663 %.
    //  analitico: 1.480 / 50.000 x 365 / 91 = 11,8725 % + 0,4779 % = 12,350 %.
    //  fino 2009: no line, the charges term is left out: 9,626 %.
    QTest::newRow("2019") << 2019 << 2 << Figure{4550000, 1200, 250, 30, 0, 0, 0, 55000}
                          << "2016 decide 11,663 entro soglia | analitico (riferimento) 12,350 entro soglia | "
                             "fino 2009 non in vigore nel periodo 9,626 entro soglia | "
                             "2009 non in vigore nel periodo 11,663 entro soglia";
}

void TestVerificaConto::trimestriSvolti()
{
    QFETCH(int, anno);
    QFETCH(int, trimestre);
    QFETCH(Figure, figure);
    QFETCH(QString, atteso);
    const std::vector<EsitoTrimestreConto> esiti = Verifica(anno, trimestre, figure, 0.005);
    QCOMPARE(int(esiti.size()), 1);
    QCOMPARE(int(esiti[0].tratti.size()), 1);
    const TrattoConto& t = esiti[0].tratti[0];
    QCOMPARE(Riassunto(t), atteso);
    QCOMPARE(t.Decisiva().formula, esiti[0].inVigore);
    for (const RigaFormula& r : t.righe) {
        QCOMPARE(r.esito.formula, NomeFormula(r.formula));
        QCOMPARE(r.esito.classe, std::string("oltre 5.000 euro"));
        QVERIFY(std::fabs(*r.esito.margine - (*r.esito.soglia - *r.esito.tasso)) < 1e-15);
    }
    // 2005: the CMS, 300 / 120.000 = 0,250 %, is within 0,50 % x 1,5 = 0,750 %.
    QCOMPARE(t.cms.has_value(), anno == 2005);
    if (t.cms) {
        QCOMPARE(t.cms->decisivo, ConfrontoCMS::CMSEntroSoglia);
        QCOMPARE(t.Stato(), StatoVerifica::EntroSoglia);
    }
}

void TestVerificaConto::terminiDelleFormule()
{
    // The 2012 quarter above: each row carries the figures its formula is
    // written with (numeri, days, charges x annualisation / base, kind of base).
    const TrattoConto t = Verifica(2012, 3, {9200000, 3000, 1000, 120, 2, 80000, 0, 95000})[0].tratti[0];
    const auto termini = [](const RigaFormula& r) {
        const auto& f = std::get<TerminiIstruzioni>(r.termini);
        return QStringLiteral("%1 %2 %3 x%4 / %5 %6")
            .arg(f.numeri, 0, 'f', 0).arg(f.giorni).arg(f.oneri).arg(f.annualizzazione).arg(f.base)
            .arg(int(f.tipoBase));
    };
    QCOMPARE(termini(t.righe[0]), QStringLiteral("9200000 365 1120 x4 / 95000 1"));
    QCOMPARE(termini(t.righe[2]), QStringLiteral("9000000 366 1120 x1 / 80000 0"));
    const auto& an = std::get<TerminiAnalitico>(t.righe[1].termini);
    QVERIFY(std::fabs(an.debitoMedio - 9000000.0 / 92) < 1e-9);
    QVERIFY(std::fabs(*an.tasso - (an.oneriEffettiviP + an.anatocismoP)) < 1e-15);
}

void TestVerificaConto::commissione_data()
{
    QTest::addColumn<double>("interessi");
    QTest::addColumn<double>("cms");
    QTest::addColumn<double>("massimoScoperto");
    QTest::addColumn<double>("cmsMedia");
    QTest::addColumn<StatoVerifica>("stato");
    QTest::addColumn<ConfrontoCMS>("decisivo");
    QTest::addColumn<double>("margine");
    QTest::addColumn<QString>("spiegazione");

    // II 2008 (366 days, quarter of 91), "oltre 5.000 euro", TEGM 9,88: soglia
    // 14,82 %. Numeri 9.100.000, charges net of the CMS 150, line 100.000.
    // Interest the threshold allows: 14,82 % x 9.100.000 / 366 = 3.684,75.
    // CMS media 0,30 %: CMS soglia 0,45 %, on a maximum of 120.000 = 540,00.
    // CMS 600 = 0,500 % of 120.000: excess 600 - 540 = 60,00.
    //  interest 2.500: T.E.G. 366 x 2.500 / 9.100.000 + 150 / 100.000 = 10,205 %;
    //   at that rate 2.500,00 + 37,30 = 2.537,30; margin 3.684,75 - 2.537,30
    //   = 1.147,45 absorbs the 60,00.
    //  interest 3.600: T.E.G. 14,629 %, within; 3.600,00 + 37,30 = 3.637,30;
    //   margin 47,45 < 60,00: over.
    QTest::newRow("assorbita") << 2500.0 << 600.0 << 120000.0 << 0.003 << StatoVerifica::EntroSoglia
                               << ConfrontoCMS::MargineCapiente << 1147.45
                               << "CMS 0,500% del massimo scoperto oltre la CMS soglia 0,450% (CMS media 0,300% × "
                                  "1,5): eccedenza € 60,00 assorbita dal margine degli interessi € 1.147,45";
    QTest::newRow("non assorbita") << 3600.0 << 600.0 << 120000.0 << 0.003 << StatoVerifica::OltreSoglia
                                   << ConfrontoCMS::MargineInsufficiente << 47.45
                                   << "eccedenza € 60,00 superiore al margine degli interessi € 47,45";
    // 500 / 120.000 = 0,417 %, within 0,450 %.
    QTest::newRow("CMS entro") << 2500.0 << 500.0 << 120000.0 << 0.003 << StatoVerifica::EntroSoglia
                               << ConfrontoCMS::CMSEntroSoglia << 1147.45
                               << "CMS 0,417% del massimo scoperto entro la CMS soglia 0,450%";
    QTest::newRow("senza CMS") << 2500.0 << 0.0 << 120000.0 << 0.0 << StatoVerifica::EntroSoglia
                               << ConfrontoCMS::TEG << 1147.45
                               << "nessuna CMS addebitata; T.E.G. senza CMS 10,205% entro la soglia 14,820%";
    // 366 x 3.800 / 9.100.000 + 0,15 % = 15,4335 %: over, whatever the CMS;
    // margin 3.684,75 - (3.800,00 + 37,30) = -152,55.
    QTest::newRow("T.E.G. oltre") << 3800.0 << 600.0 << 120000.0 << 0.003 << StatoVerifica::OltreSoglia
                                  << ConfrontoCMS::TEG << -152.55
                                  << "T.E.G. senza CMS 15,434% oltre la soglia 14,820%: la CMS non cambia l'esito";
    QTest::newRow("media mancante") << 2500.0 << 600.0 << 120000.0 << 0.0 << StatoVerifica::CMSNonVerificabile
                                    << ConfrontoCMS::Nessuno << 1147.45
                                    << "CMS media del periodo non indicata (CMS 0,500% del massimo scoperto)";
    QTest::newRow("massimo mancante") << 2500.0 << 600.0 << 0.0 << 0.003 << StatoVerifica::CMSNonVerificabile
                                      << ConfrontoCMS::Nessuno << 1147.45
                                      << "massimo scoperto non indicato: la CMS di € 600,00 non si può rapportare";
}

void TestVerificaConto::commissione()
{
    QFETCH(double, interessi);
    QFETCH(double, cms);
    QFETCH(double, massimoScoperto);
    QFETCH(double, cmsMedia);
    QFETCH(StatoVerifica, stato);
    QFETCH(ConfrontoCMS, decisivo);
    QFETCH(double, margine);
    QFETCH(QString, spiegazione);
    const std::vector<EsitoTrimestreConto> esiti =
        Verifica(2008, 2, {9100000, interessi, cms + 100, 50, 0, 100000, cms, massimoScoperto}, cmsMedia);
    const TrattoConto& t = esiti.at(0).tratti.at(0);
    QVERIFY(t.cms);
    const VerificaCMS& v = *t.cms;
    QCOMPARE(v.stato, stato);
    QCOMPARE(t.Stato(), stato);
    QCOMPARE(v.decisivo, decisivo);
    QCOMPARE(*v.interessiSoglia, 3684.75);
    QCOMPARE(*v.margine, margine);
    QCOMPARE(v.eccedenza.has_value(), decisivo == ConfrontoCMS::MargineCapiente ||
                                          decisivo == ConfrontoCMS::MargineInsufficiente);
    if (v.eccedenza)
        QCOMPARE(*v.eccedenza, 60.0);
    QVERIFY2(QString::fromStdString(v.spiegazione).contains(spiegazione), v.spiegazione.c_str());
    // The T.E.G. row decides on the rate alone, CMS out.
    QCOMPARE(t.Decisiva().formula, FormulaConto::Fino2009);
    QCOMPARE(t.Decisiva().esito.stato, interessi < 3700 ? StatoVerifica::EntroSoglia : StatoVerifica::OltreSoglia);
}

void TestVerificaConto::cambiDiFormula_data()
{
    QTest::addColumn<int>("anno");
    QTest::addColumn<int>("trimestre");
    QTest::addColumn<QString>("ordine");
    QTest::addColumn<bool>("cms");
    QTest::newRow("IV 2009") << 2009 << 4 << "fino 2009, analitico, 2009, 2016" << true;
    QTest::newRow("I 2010") << 2010 << 1 << "2009, analitico, fino 2009, 2016" << false;
    QTest::newRow("I 2017") << 2017 << 1 << "2009, analitico, fino 2009, 2016" << false;
    QTest::newRow("II 2017") << 2017 << 2 << "2016, analitico, fino 2009, 2009" << false;
}

void TestVerificaConto::cambiDiFormula()
{
    QFETCH(int, anno);
    QFETCH(int, trimestre);
    QFETCH(QString, ordine);
    QFETCH(bool, cms);
    const TrattoConto t = Verifica(anno, trimestre, {9100000, 2000, 400, 50, 0, 100000, 300, 90000}, 0.005)
                              .at(0).tratti.at(0);
    QStringList formule;
    for (const RigaFormula& r : t.righe)
        formule << Breve(r.formula);
    QCOMPARE(formule.join(", "), ordine);
    QCOMPARE(t.cms.has_value(), cms);

    const auto giorno = [](int a, unsigned m, unsigned g) { return sys_days{year{a} / m / g}; };
    QCOMPARE(FormulaInVigore(giorno(2009, 12, 31)), FormulaConto::Fino2009);
    QCOMPARE(FormulaInVigore(giorno(2010, 1, 1)), FormulaConto::Istruzioni2009);
    QCOMPARE(FormulaInVigore(giorno(2017, 3, 31)), FormulaConto::Istruzioni2009);
    QCOMPARE(FormulaInVigore(giorno(2017, 4, 1)), FormulaConto::Istruzioni2016);
}

void TestVerificaConto::periodoDiviso()
{
    // II 2011: 01/04-13/05 at TEGM 9,09 x 1,5 = 13,635 %, 14/05-30/06 at
    // 9,09 x 1,25 + 4 = 15,3625 %. Interest 3.616 on 9.100.000, no charges:
    // 3.616 x 365 / 9.100.000 = 14,504 %, over the first, within the second.
    const EsitoTrimestreConto e = Verifica(2011, 2, {9100000, 3616, 0, 0, 0, 100000, 0, 0}).at(0);
    QCOMPARE(int(e.tratti.size()), 2);
    QCOMPARE(e.tratti[0].fine, sys_days{year{2011} / May / 13});
    QCOMPARE(e.tratti[1].inizio, sys_days{year{2011} / May / 14});
    QCOMPARE(e.tratti[0].Stato(), StatoVerifica::OltreSoglia);
    QCOMPARE(e.tratti[1].Stato(), StatoVerifica::EntroSoglia);
    QCOMPARE(QString::number(*e.tratti[1].Decisiva().esito.tasso * 100, 'f', 3), QStringLiteral("14.504"));
    for (const TrattoConto& t : e.tratti)
        QCOMPARE(int(t.righe.size()), 4);
}

void TestVerificaConto::documento()
{
    Documento d;
    d.setAnnoRiferimento(2008);
    // Quarter I empty: left out. Quarter II cannot be recomputed: every
    // formula says why, and the CMS check has no verdict.
    d.Trimestri(2).setNumeri(1);
    d.Trimestri(2).setInteressi(1e308);
    d.Trimestri(2).setAccordato(100000);
    d.Trimestri(3).setNumeri(9100000);
    d.Usura().setCMSMedia(2, 0.003);
    const std::vector<EsitoTrimestreConto> esiti = VerificaConto(d, Serie());
    QCOMPARE(int(esiti.size()), 2);
    QCOMPARE(esiti[1].operazione, std::string("Conto corrente, trimestre III"));
    for (const RigaFormula& r : esiti[0].tratti.at(0).righe) {
        QCOMPARE(r.esito.stato, StatoVerifica::TassoNonDeterminabile);
        QVERIFY2(r.esito.nota.find("non è un numero finito") != std::string::npos, r.esito.nota.c_str());
    }
    QCOMPARE(esiti[0].tratti[0].Stato(), StatoVerifica::TassoNonDeterminabile);
    QCOMPARE(d.Trimestri(2).TEG(), 0.0);  // the document was not recomputed

    // The average CMS: 0 means not given; only quarters 1 to 4 exist.
    QCOMPARE(*d.Usura().CMSMedia(2), 0.003);
    d.Usura().setCMSMedia(2, 0);
    QVERIFY(!d.Usura().CMSMedia(2));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, d.Usura().setCMSMedia(5, 0.003));
}

QTEST_APPLESS_MAIN(TestVerificaConto)
#include "test_verifica_conto.moc"
