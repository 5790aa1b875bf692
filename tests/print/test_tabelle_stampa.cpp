// The print tables of the six reports and the clipboard texts of the six
// copies, built from the pages the windows show.
#include "EsempiStampa.h"
#include "modCopia.h"

#include <QtTest>

class TestTabelleStampa : public QObject {
    Q_OBJECT
private slots:
    void tabellaLimitata();
    void riepiloghi();
    void operazioniSaltaImportiNulli();
    void operazioniTutteNulle();
    void input();
    void matematico();
    void italia();
    void copiaBreveEMutuo();
    void copiaOperazioni();
    void copiaDieciFlussiNulli();
    void copiaInputSenzaApostrofo();
    void copiaMatematico();
    void copiaItalia();
};

void TestTabelleStampa::tabellaLimitata()
{
    TabellaStampa t;
    QVERIFY(t.Testo(200, 20).isEmpty());
    QVERIFY(!t.RigaGrassetto(200));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, t.setTesto(201, 1, QStringLiteral("x")));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, t.Testo(1, 21));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, t.setRigaGrassetto(-1, true));
}

void TestTabelleStampa::riepiloghi()
{
    const Rapporto b = RapportoBreve(esempi::breve(), QStringLiteral(" Anticipo "));
    QCOMPARE(b.titolo, QStringLiteral("T.E.G. su  Anticipo "));  // blanks kept
    QVERIFY(b.sottotitolo.isEmpty());
    QCOMPARE(b.RighePerPagina, 9);
    QCOMPARE(b.tabella.Testo(4, 2), QStringLiteral("01/01/2010"));
    QCOMPARE(b.tabella.Testo(8, 1), QStringLiteral("T.E.G. di periodo"));
    QVERIFY(b.tabella.Testo(7, 1).isEmpty() && b.tabella.Testo(7, 2).isEmpty());
    for (int r = 1; r <= 9; ++r)
        QCOMPARE(b.tabella.RigaGrassetto(r), r >= 8);
    QCOMPARE(b.colonne.size(), size_t(2));
    QCOMPARE(b.colonne[1].x, 5150);
    QCOMPARE(b.colonne[1].allineamento, 2);

    const Rapporto m = RapportoMutuo(esempi::mutuo(), QString());
    QCOMPARE(m.titolo, QStringLiteral("T.E.G. su "));
    QCOMPARE(m.tabella.Testo(5, 1), QStringLiteral("Periodicità rata"));
    QCOMPARE(m.tabella.Testo(8, 1), QStringLiteral("T.E.G. mensile (approx.)"));
    QCOMPARE(m.tabella.Testo(9, 1), QStringLiteral("T.E.G. annuale (approx.)"));
    QCOMPARE(m.tabella.Testo(9, 2), QStringLiteral("3,784%"));
}

void TestTabelleStampa::operazioniSaltaImportiNulli()
{
    DatiPaginaOPE d = esempi::operazioni();
    for (int k = 0; k < 10; ++k)
        if (k != 1 && k != 6)
            d.righe[k].valore = 0;
    const Rapporto r = RapportoOPE(d, QStringLiteral("Flussi"));
    QCOMPARE(r.RighePerPagina, 7);
    QCOMPARE(r.tabella.Testo(4, 1), QStringLiteral("1"));
    QCOMPARE(r.tabella.Testo(4, 2), QStringLiteral("Feb - 2020"));
    QCOMPARE(r.tabella.Testo(5, 1), QStringLiteral("2"));
    QCOMPARE(r.tabella.Testo(5, 2), QStringLiteral("Lug - 2020"));
    QCOMPARE(r.tabella.Testo(5, 4), QStringLiteral("Uscita"));
    QCOMPARE(r.tabella.Testo(7, 2), QStringLiteral("T.E.G. su base annua (approx.)"));
    QCOMPARE(r.tabella.Testo(7, 4), QStringLiteral("20,555%"));
    QVERIFY(r.tabella.RigaGrassetto(1) && r.tabella.RigaGrassetto(3) && r.tabella.RigaGrassetto(7));
    QVERIFY(!r.tabella.RigaGrassetto(4) && !r.tabella.RigaGrassetto(6));

    // A negative amount is not zero: it is printed.
    d.righe[3].valore = -1;
    QCOMPARE(RapportoOPE(d, {}).RighePerPagina, 8);
    QCOMPARE(RapportoOPE(esempi::operazioni(), {}).RighePerPagina, 15);
}

void TestTabelleStampa::operazioniTutteNulle()
{
    DatiPaginaOPE d = esempi::operazioni();
    for (DatiRigaOPE& r : d.righe)
        r.valore = 0;
    d.tasso = QStringLiteral("dati incoerenti");
    const Rapporto r = RapportoOPE(d, {});
    QCOMPARE(r.RighePerPagina, 5);
    QCOMPARE(r.tabella.Testo(5, 4), QStringLiteral("dati incoerenti"));
    QVERIFY(r.tabella.Testo(4, 1).isEmpty());
}

void TestTabelleStampa::input()
{
    DatiPaginaInput d = esempi::input();
    d.campi[6][3] = QStringLiteral("-5");
    const Rapporto r = RapportoInput(d, QStringLiteral("Conto"));
    QCOMPARE(r.sottotitolo, QStringLiteral("Dati di input"));
    QCOMPARE(r.RighePerPagina, 10);
    QCOMPARE(r.tabella.Testo(1, 2), QStringLiteral("2012"));
    QCOMPARE(r.tabella.Testo(3, 5), QStringLiteral("IV Trimestre"));
    QCOMPARE(r.tabella.Testo(7, 1), QStringLiteral("   di cui comm. su max scoperto"));
    // Row 7 is the CMS field (XPText6), row 8 the fixed charges (XPText4).
    QCOMPARE(r.tabella.Testo(7, 3), d.campi[5][1]);
    QCOMPARE(r.tabella.Testo(8, 3), d.campi[3][1]);
    QCOMPARE(r.tabella.Testo(10, 5), QStringLiteral("-5"));
    QVERIFY(r.tabella.RigaGrassetto(1) && r.tabella.RigaGrassetto(3) && !r.tabella.RigaGrassetto(4));
}

void TestTabelleStampa::matematico()
{
    const Rapporto r = RapportoMatematico(esempi::grigliaMatematico(), QStringLiteral("Conto"));
    QCOMPARE(r.sottotitolo, QStringLiteral("Calcolo con procedura analitica"));
    QCOMPARE(r.RighePerPagina, 41);
    QVERIFY(r.lineeTrimestri);
    for (int q = 0; q < 4; ++q) {
        const int riga = 10 * q + 1;
        // The title once, at the left; the repeated cells emptied; the row bold.
        QCOMPARE(r.tabella.Testo(riga, 1), esempi::titoloTrimestre(q + 1, 2012));
        for (int c = 2; c <= 4; ++c)
            QVERIFY(r.tabella.Testo(riga, c).isEmpty());
        QCOMPARE(r.tabella.Testo(riga, 5), QStringLiteral("Importi"));
        QCOMPARE(r.tabella.Testo(riga, 6), QStringLiteral("Incidenza %"));
        QVERIFY(r.tabella.RigaGrassetto(riga));
        QVERIFY(!r.tabella.RigaGrassetto(riga + 6));
    }
    QCOMPARE(r.tabella.Testo(7, 4), QStringLiteral("= Oneri effettivamente addebitati"));
    QCOMPARE(r.tabella.Testo(4, 4), QStringLiteral(" + spese"));
    QVERIFY(r.tabella.RigaGrassetto(41));
    QCOMPARE(r.tabella.Testo(41, 4), QStringLiteral("Costo annuale"));
    QCOMPARE(r.colonne.size(), size_t(5));
    QVERIFY(r.colonne[2].regola == RegolaGrassetto::LineaUguale);
    QVERIFY(r.colonne[1].regola == RegolaGrassetto::Riga);

    // A grid larger than the print table is cut at its limits.
    Griglia enorme(250, 25);
    enorme.setTesto(249, 24, QStringLiteral("fuori"));
    QCOMPARE(RapportoMatematico(enorme, {}).RighePerPagina, 200);
}

void TestTabelleStampa::italia()
{
    const Rapporto r = RapportoItalia(esempi::grigliaItalia(), QStringLiteral("Conto"));
    QCOMPARE(r.sottotitolo, QStringLiteral("Calcolo con procedura della Banca d'Italia"));
    QCOMPARE(r.RighePerPagina, 13);
    QVERIFY(r.figura);
    QCOMPARE(r.tabella.Testo(1, 1), esempi::titoloTrimestre(1, 2012));
    QCOMPARE(r.tabella.Testo(1, 4), esempi::titoloTrimestre(2, 2012));
    QVERIFY(r.tabella.Testo(1, 2).isEmpty() && r.tabella.Testo(1, 5).isEmpty());
    QCOMPARE(r.tabella.Testo(13, 4), QStringLiteral("T.E.G."));
    for (int riga = 1; riga <= 13; ++riga)
        QCOMPARE(r.tabella.RigaGrassetto(riga), riga == 1 || riga == 6 || riga == 8 || riga == 13);
}

void TestTabelleStampa::copiaBreveEMutuo()
{
    DatiPaginaBreve b = esempi::breve();
    b.descrizione = QStringLiteral("-sconto = anticipo");
    QCOMPARE(CopiaBreve(b),
             QStringLiteral("Descrizione operazione \t'-sconto = anticipo \r\n"
                            "Importo finanziato \t10.000,00 \r\n"
                            "Oneri trattenuti sul finanziato \t100,00 \r\n"
                            "Data di erogazione \t01/01/2010 \r\n"
                            "Data di restituzione \t01/04/2010 \r\n"
                            "Importo restituito a scadenza \t10.200,00 \r\n"
                            " \t \r\n"
                            "T.E.G. di periodo \t3,030% \r\n"
                            "T.E.G. su base annuale \t12,290% \r\n"));

    DatiPaginaMutuo m = esempi::mutuo();
    m.tassoPeriodo = m.tassoAnnuale = QStringLiteral("dati incoerenti");
    QCOMPARE(CopiaMutuo(m),
             QStringLiteral("Descrizione mutuo \tMutuo prima casa \r\n"
                            "Importo finanziato \t100.000,00 \r\n"
                            "Oneri trattenuti sul finanziato \t0,00 \r\n"
                            "Importo rata comprensiva di spese \t1.000,00 \r\n"
                            "Periodicità rata \tMensile \r\n"
                            "Numero complessivo di rate \t120 \r\n"
                            " \t \r\n"
                            "T.E.G. mensile (approx.) \tdati incoerenti \r\n"
                            "T.E.G. annuale (approx.) \tdati incoerenti \r\n"));
}

void TestTabelleStampa::copiaOperazioni()
{
    DatiPaginaOPE d = esempi::operazioni();
    for (int k = 3; k < 10; ++k)
        d.righe[k].valore = 0;
    d.righe[2].importo = QStringLiteral("-1.200,00");
    const QString atteso = QStringLiteral("Flussi \t \t \t \r\n"
                                          " \t \t \t \r\n"
                                          "N. \tData \tImporto \tSegno \r\n"
                                          "1 \tGen - 2020 \t10.000,00 \tEntrata \r\n"
                                          "2 \tFeb - 2020 \t1.200,00 \tUscita \r\n"
                                          "3 \tMar - 2020 \t'-1.200,00 \tUscita \r\n"
                                          " \t \t \t \r\n"
                                          " \tT.E.G. su base annua (approx.) \t \t20,555% \r\n");
    QCOMPARE(CopiaOPE(d), atteso);
    QCOMPARE(CopiaOPE(d), atteso);  // copying again gives the same text
}

void TestTabelleStampa::copiaDieciFlussiNulli()
{
    DatiPaginaOPE d = esempi::operazioni();
    for (DatiRigaOPE& r : d.righe)
        r.valore = 0;
    d.tasso = QStringLiteral("dati incoerenti");
    QCOMPARE(CopiaOPE(d), QStringLiteral("Flussi \t \t \t \r\n"
                                         " \t \t \t \r\n"
                                         "N. \tData \tImporto \tSegno \r\n"
                                         " \t \t \t \r\n"
                                         " \tT.E.G. su base annua (approx.) \t \tdati incoerenti \r\n"));
}

void TestTabelleStampa::copiaInputSenzaApostrofo()
{
    DatiPaginaInput d;
    d.anno = QStringLiteral("2012");
    for (auto& campo : d.campi)
        campo.fill(QStringLiteral("0,00"));
    d.campi[0][0] = QStringLiteral("-5");
    d.campi[1][3] = QStringLiteral("=1");
    QCOMPARE(CopiaInput(d),
             QStringLiteral("Anno di riferimento \t2012 \t \t \t \r\n"
                            " \t \t \t \t \r\n"
                            " \tI Trimestre \tII Trimestre \tIII Trimestre \tIV Trimestre \r\n"
                            "Numeri debitori \t-5 \t0,00 \t0,00 \t0,00 \r\n"
                            "Interessi addebitati \t0,00 \t0,00 \t0,00 \t=1 \r\n"
                            "Commissione % su scoperti \t0,00 \t0,00 \t0,00 \t0,00 \r\n"
                            "   di cui comm. su max scoperto \t0,00 \t0,00 \t0,00 \t0,00 \r\n"
                            "Oneri e spese fisse \t0,00 \t0,00 \t0,00 \t0,00 \r\n"
                            "Giorni valuta medi per operazione \t0,00 \t0,00 \t0,00 \t0,00 \r\n"
                            "Fido accordato \t0,00 \t0,00 \t0,00 \t0,00 \r\n"));
}

void TestTabelleStampa::copiaMatematico()
{
    const QStringList righe = CopiaMatematico(esempi::grigliaMatematico(2010)).split(QStringLiteral("\r\n"));
    QCOMPARE(righe.size(), 42);  // 41 lines and the empty rest after the last line end
    QVERIFY(righe.last().isEmpty());
    const QStringList attese = {
        QStringLiteral("Trimestre I - 2010 \tTrimestre I - 2010 \tTrimestre I - 2010 \tTrimestre I - 2010 "
                       "\tImporti \tIncidenza su debito medio calcolato per data "),
        QStringLiteral("Numeri debitori \t11.000,00 \t \tInteressi calcolati per data \t€ 11,25 \t1,125% "),
        QStringLiteral("Interessi addebitati \t€ 102,50 \t \t + commissioni calcolate per data \t€ 12,25 \t2,125% "),
        QStringLiteral("Commissioni % su scoperti \t€ 103,50 \t \t + spese \t€ 13,25 \t3,125% "),
        QStringLiteral("Spese fisse \t€ 104,50 \t \t + effetto valuta su interessi \t€ 14,25 \t4,125% "),
        QStringLiteral("Giorni valuta medi per operazione \t15.000,00 \t \t + effetto valuta su commissioni "
                       "\t€ 15,25 \t5,125% "),
        QStringLiteral(" \t \t \t'= Oneri effettivamente addebitati \t€ 16,25 \t6,125% "),
        QStringLiteral("Debito medio giornaliero per valuta \t€ 107,50 \t \t + anatocismo (figurativo) "
                       "\t€ 17,25 \t7,125% "),
        QStringLiteral("Debito medio giornaliero per data \t€ 108,50 \t \t'= Totale costo trimestrale "
                       "\t€ 18,25 \t8,125% "),
        QStringLiteral(" \t \t \t \t \t "),
    };
    QCOMPARE(righe.mid(0, 10), attese);
    QCOMPARE(righe[30].left(80), QStringLiteral("Trimestre IV - 2010 \tTrimestre IV - 2010 \tTrimestre IV - 2010 "
                                                "\tTrimestre IV - 2010 \tImporti \t").left(80));
    QCOMPARE(righe[40], QStringLiteral("Debito medio giornaliero per data \t€ 12.345,67 \t \tCosto annuale \t \t9,876% "));
}

void TestTabelleStampa::copiaItalia()
{
    const QString testo = CopiaItalia(esempi::grigliaItalia());
    const QStringList righe = testo.split(QStringLiteral("\r\n"));
    QCOMPARE(righe.size(), 14);
    QCOMPARE(righe[0], QStringLiteral("Trimestre I - 2012 \tTrimestre I - 2012 \t \tTrimestre II - 2012 "
                                      "\tTrimestre II - 2012 "));
    QCOMPARE(righe[5], QStringLiteral("T.E.G. \t7,250% \t \tT.E.G. \t8,250% "));
    QCOMPARE(righe[6], QStringLiteral(" \t \t \t \t "));
    QCOMPARE(righe[12], QStringLiteral("T.E.G. \t9,250% \t \tT.E.G. \t10,250% "));
    QVERIFY(!testo.contains(QLatin1Char('\'')));
    QVERIFY(testo.endsWith(QStringLiteral(" \r\n")));
}

QTEST_MAIN(TestTabelleStampa)
#include "test_tabelle_stampa.moc"
