// The current-account pages as plain data: the analytic table, the Bank of
// Italy table and the input page, against the quarter formulas worked out
// independently.
#include "CasiConto.h"
#include "Pagine.h"

#include <QtTest>

namespace {

const QColor grigio(224, 224, 224);

// Every text of the analytic table as it must read.
std::vector<std::vector<QString>> MatematicoAtteso(int anno, const std::array<FigureTrimestre, 4>& f)
{
    std::vector<std::vector<QString>> t(41, std::vector<QString>(6));
    static const char* const romani[] = {"I", "II", "III", "IV"};
    double costo = 0, debito = 0;
    for (int q = 1; q <= 4; ++q) {
        const int r = 10 * (q - 1);
        const Atteso a = Calcola(f[q - 1], q, anno);
        const QString titolo = QStringLiteral("Trimestre %1 - %2").arg(romani[q - 1]).arg(anno);
        t[r] = {titolo, titolo, titolo, titolo, "Importi", "Incidenza su debito medio calcolato per data"};
        t[r + 1] = {"Numeri debitori", N(f[q - 1].numeri), "", "Interessi calcolati per data", E(a.interessi),
                    R(a.interessiP)};
        t[r + 2] = {"Interessi addebitati", E(f[q - 1].interessi), "", " + commissioni calcolate per data",
                    E(a.commissioni), R(a.commissioniP)};
        t[r + 3] = {"Commissioni % su scoperti", E(f[q - 1].commissioni), "", " + spese", E(a.spese),
                    R(a.speseP)};
        t[r + 4] = {"Spese fisse", E(f[q - 1].spese), "", " + effetto valuta su interessi",
                    E(a.valutaInteressi), R(a.valutaInteressiP)};
        t[r + 5] = {"Giorni valuta medi per operazione", N(f[q - 1].giorniValuta), "",
                    " + effetto valuta su commissioni", E(a.valutaCommissioni), R(a.valutaCommissioniP)};
        t[r + 6] = {"", "", "", "= Oneri effettivamente addebitati", E(a.oneri), R(a.oneriP)};
        t[r + 7] = {"Debito medio giornaliero per valuta", E(a.debitoValuta), "", " + anatocismo (figurativo)",
                    E(a.anatocismo), R(a.anatocismoP)};
        t[r + 8] = {"Debito medio giornaliero per data", E(a.debitoData), "", "= Totale costo trimestrale",
                    E(a.costo), R(a.costoP)};
        const double giorni = q == 1 ? (anno % 4 == 0 ? 91 : 90) : q == 2 ? 91 : 92;
        costo += a.costoP * giorni;
        debito += a.debitoData * giorni;
    }
    const double anno_giorni = anno % 4 == 0 ? 366 : 365;
    t[40] = {"Debito medio giornaliero per data", E(debito / anno_giorni), "", "Costo annuale", "",
             R(costo / anno_giorni)};
    return t;
}

std::vector<std::vector<QString>> ItaliaAtteso(int anno, const std::array<FigureTrimestre, 4>& f)
{
    std::vector<std::vector<QString>> t(13, std::vector<QString>(5));
    static const char* const romani[] = {"I", "II", "III", "IV"};
    for (int q = 1; q <= 4; ++q) {
        const int b = q <= 2 ? 0 : 7;
        const int c = q % 2 == 1 ? 0 : 3;
        const Atteso a = Calcola(f[q - 1], q, anno);
        const QString titolo = QStringLiteral("Trimestre %1 - %2").arg(romani[q - 1]).arg(anno);
        const QString righe[6][2] = {
            {titolo, titolo},
            {"Numeri capitale (stima)", N(a.tegNumeri)},
            {"Interessi addebitati", E(a.tegInteressi)},
            {"Oneri complessivi (al netto della CMS)", E(a.tegOneri)},
            {"Fido accordato", E(f[q - 1].accordato)},
            {"T.E.G.", R(a.teg)},
        };
        for (int k = 0; k < 6; ++k) {
            t[b + k][c] = righe[k][0];
            t[b + k][c + 1] = righe[k][1];
        }
    }
    return t;
}

void ConfrontaTesti(const Griglia& g, const std::vector<std::vector<QString>>& atteso)
{
    QCOMPARE(g.Righe(), int(atteso.size()));
    QCOMPARE(g.Colonne(), int(atteso[0].size()));
    for (int r = 0; r < g.Righe(); ++r)
        for (int c = 0; c < g.Colonne(); ++c)
            if (g.Testo(r, c) != atteso[r][c])
                QFAIL(qPrintable(QStringLiteral("cell %1,%2: \"%3\" instead of \"%4\"")
                                     .arg(r)
                                     .arg(c)
                                     .arg(g.Testo(r, c), atteso[r][c])));
}

} // namespace

class TestPagineConto : public QObject {
    Q_OBJECT

    Documento conteggio_;

private slots:
    void init()
    {
        conteggio_.InizializzaConteggio();
    }

    void tabellaAnaliticaCellaPerCella_data()
    {
        QTest::addColumn<int>("anno");
        QTest::newRow("2013, common year") << 2013;
        QTest::newRow("2012, leap year") << 2012;
        QTest::newRow("2100 counts as leap") << 2100;
    }

    void tabellaAnaliticaCellaPerCella()
    {
        QFETCH(int, anno);
        CaricaFigure(conteggio_, anno);
        QString errore = QStringLiteral("not cleared");
        const Griglia g = PaginaMatematico(conteggio_, errore);
        QVERIFY(errore.isEmpty());
        ConfrontaTesti(g, MatematicoAtteso(anno, FigureEsempio));
    }

    void rigaAnnualePesataSuiGiorni()
    {
        // Four equal quarterly costs give that cost for the year; a leap year
        // weighs quarter I 91 days out of 366.
        QCOMPARE(MediaAnnua({0.05, 0.05, 0.05, 0.05}, 2013), 0.05);
        QCOMPARE(MediaAnnua({366, 0, 0, 0}, 2012), 91.0);
        QCOMPARE(MediaAnnua({365, 0, 0, 0}, 2013), 90.0);
        QCOMPARE(MediaAnnua({0, 0, 0, 366}, 2012), 92.0);
        QCOMPARE(GiorniTrimestre(1, 2012), 91);
        QCOMPARE(GiorniTrimestre(1, 2013), 90);
        QCOMPARE(GiorniTrimestre(2, 2013) + GiorniTrimestre(3, 2013) + GiorniTrimestre(4, 2013), 275);

        // The same figures in 2012 and 2013 give a different annual line.
        QString errore;
        CaricaFigure(conteggio_, 2012);
        const Griglia bisestile = PaginaMatematico(conteggio_, errore);
        CaricaFigure(conteggio_, 2013);
        const Griglia comune = PaginaMatematico(conteggio_, errore);
        QVERIFY(bisestile.Testo(40, 5) != comune.Testo(40, 5));
        QCOMPARE(bisestile.Testo(0, 0), QStringLiteral("Trimestre I - 2012"));
    }

    void aspettoTabellaAnalitica()
    {
        CaricaFigure(conteggio_, 2010);
        QString errore;
        const Griglia g = PaginaMatematico(conteggio_, errore);
        const int larghezze[6] = {3000, 2000, 500, 3000, 2000, 2000};
        for (int c = 0; c < 6; ++c)
            QCOMPARE(g.Colonna(c).larghezza, larghezze[c]);
        QCOMPARE(g.Colonna(1).allineamento, Qt::AlignRight | Qt::AlignTop);
        QCOMPARE(g.Colonna(4).allineamento, Qt::AlignRight | Qt::AlignTop);
        QCOMPARE(g.Colonna(5).allineamento, Qt::AlignRight | Qt::AlignTop);
        QCOMPARE(g.Colonna(0).allineamento & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

        for (int q = 1; q <= 4; ++q) {
            const int r = 10 * (q - 1);
            QCOMPARE(g.Riga(r).altezza, 480);
            QVERIFY(g.Riga(r).unisci);
            for (int c = 0; c < 6; ++c) {
                QVERIFY(g.Cella(r, c).grigia);
                QCOMPARE(g.Cella(r, c).grassetto, c <= 3);
            }
            QCOMPARE(g.Cella(r, 4).allineamento, Qt::AlignHCenter | Qt::AlignVCenter);
            QCOMPARE(g.Cella(r, 5).allineamento, Qt::AlignHCenter | Qt::AlignVCenter);
            for (int k = 1; k <= 9; ++k) {
                QVERIFY(!g.Riga(r + k).unisci);
                QCOMPARE(g.Riga(r + k).altezza, g.Riga(40).altezza);
                for (int c = 0; c < 6; ++c) {
                    QVERIFY(!g.Cella(r + k, c).grigia);
                    const bool grassetto = (k == 6 || k == 8) && c >= 3;
                    QCOMPARE(g.Cella(r + k, c).grassetto, grassetto);
                }
                if (k >= 2 && k <= 8)
                    QCOMPARE(g.Cella(r + k, 3).allineamento, Qt::AlignLeft | Qt::AlignVCenter);
                QCOMPARE(g.Cella(r + k, 4).allineamento, Qt::AlignRight | Qt::AlignTop);
            }
            // Row r+9 closes the block empty; row r+6 has no figure on the left.
            for (int c = 0; c < 6; ++c)
                QVERIFY(g.Testo(r + 9, c).isEmpty());
            QVERIFY(g.Testo(r + 6, 0).isEmpty() && g.Testo(r + 6, 1).isEmpty());
        }
        QCOMPARE(g.Testo(30, 3), QStringLiteral("Trimestre IV - 2010"));
        for (int c = 0; c < 6; ++c) {
            QVERIFY(g.Cella(40, c).grigia);
            QCOMPARE(g.Cella(40, c).grassetto, c != 2 && c != 4);
        }
        QVERIFY(g.Testo(40, 2).isEmpty());
        QVERIFY(g.Testo(40, 4).isEmpty());
    }

    void trimestreTuttoZero()
    {
        CaricaFigure(conteggio_, 2013);
        conteggio_.Trimestri(3).setNumeri(0);
        conteggio_.Trimestri(3).setInteressi(0);
        conteggio_.Trimestri(3).setCommissioni(0);
        conteggio_.Trimestri(3).setSpese(0);
        conteggio_.Trimestri(3).setGiorniValuta(0);
        conteggio_.Trimestri(3).setAccordato(0);
        conteggio_.Trimestri(3).setCMS(0);
        QString errore;
        const Griglia g = PaginaMatematico(conteggio_, errore);
        QVERIFY(errore.isEmpty());
        QCOMPARE(g.Testo(20, 0), QStringLiteral("Trimestre III - 2013"));
        for (int k = 1; k <= 8; ++k) {
            QCOMPARE(g.Testo(20 + k, 4), QStringLiteral("\u20AC 0,00"));
            QCOMPARE(g.Testo(20 + k, 5), QStringLiteral("0,000%"));
        }
        QCOMPARE(g.Testo(21, 1), QStringLiteral("0,00"));
        QCOMPARE(g.Testo(22, 1), QStringLiteral("\u20AC 0,00"));
    }

    void trimestreNonCalcolabile()
    {
        // Interest this large on almost no debt makes the compounding
        // overflow: that quarter's figures stay empty, the others are shown
        // and the user is told which quarter failed.
        CaricaFigure(conteggio_, 2013);
        conteggio_.Trimestri(2).setNumeri(1);
        conteggio_.Trimestri(2).setInteressi(1e300);
        QString errore;
        const Griglia g = PaginaMatematico(conteggio_, errore);
        QVERIFY(errore.contains(QStringLiteral("Trimestre II - 2013")));
        QVERIFY(!errore.contains(QStringLiteral("Trimestre I - 2013")));
        QCOMPARE(g.Testo(10, 0), QStringLiteral("Trimestre II - 2013"));
        QCOMPARE(g.Testo(11, 3), QStringLiteral("Interessi calcolati per data"));
        for (int k = 1; k <= 8; ++k) {
            QVERIFY(g.Testo(10 + k, 1).isEmpty());
            QVERIFY(g.Testo(10 + k, 4).isEmpty());
            QVERIFY(g.Testo(10 + k, 5).isEmpty());
        }
        QVERIFY(!g.Testo(1, 4).isEmpty());
        QVERIFY(!g.Testo(21, 4).isEmpty());
        QCOMPARE(g.Testo(40, 0), QStringLiteral("Debito medio giornaliero per data"));
        QVERIFY(g.Testo(40, 1).isEmpty());
        QVERIFY(g.Testo(40, 5).isEmpty());

        const Griglia italia = PaginaItalia(conteggio_, errore);
        QVERIFY(errore.contains(QStringLiteral("Trimestre II - 2013")));
        QCOMPARE(italia.Testo(1, 3), QStringLiteral("Numeri capitale (stima)"));
        QVERIFY(italia.Testo(5, 4).isEmpty());
        QVERIFY(!italia.Testo(5, 1).isEmpty());
    }

    void tabellaBancaItaliaCellaPerCella_data()
    {
        QTest::addColumn<int>("anno");
        QTest::newRow("2013") << 2013;
        QTest::newRow("2012") << 2012;
    }

    void tabellaBancaItaliaCellaPerCella()
    {
        QFETCH(int, anno);
        CaricaFigure(conteggio_, anno);
        QString errore = QStringLiteral("not cleared");
        const Griglia g = PaginaItalia(conteggio_, errore);
        QVERIFY(errore.isEmpty());
        ConfrontaTesti(g, ItaliaAtteso(anno, FigureEsempio));
    }

    void aspettoTabellaBancaItalia()
    {
        CaricaFigure(conteggio_, 2013);
        QString errore;
        const Griglia g = PaginaItalia(conteggio_, errore);
        const int larghezze[5] = {3000, 2000, 500, 3000, 2000};
        for (int c = 0; c < 5; ++c)
            QCOMPARE(g.Colonna(c).larghezza, larghezze[c]);
        QCOMPARE(g.Colonna(1).allineamento, Qt::AlignRight | Qt::AlignTop);
        QCOMPARE(g.Colonna(4).allineamento, Qt::AlignRight | Qt::AlignTop);
        for (int r = 0; r < 13; ++r) {
            const bool intestazione = r == 0 || r == 7;
            QCOMPARE(g.Riga(r).unisci, intestazione);
            QCOMPARE(g.Riga(r).altezza == 480, intestazione);
            for (int c = 0; c < 5; ++c) {
                QCOMPARE(g.Cella(r, c).grigia, intestazione);
                const bool grassetto = (intestazione || r == 5 || r == 12) && c != 2;
                QCOMPARE(g.Cella(r, c).grassetto, grassetto);
            }
            QVERIFY(g.Testo(r, 2).isEmpty());
        }
        for (int c = 0; c < 5; ++c)
            QVERIFY(g.Testo(6, c).isEmpty());
        QCOMPARE(g.Testo(12, 3), QStringLiteral("T.E.G."));
        QCOMPARE(g.Testo(7, 4), QStringLiteral("Trimestre IV - 2013"));
    }

    void paginaInput()
    {
        CaricaFigure(conteggio_, 1995);
        conteggio_.Trimestri(1).setDescrizione("  Conto n. 123 ");
        conteggio_.Trimestri(4).setAccordato(0);
        const DatiPaginaInput p = PaginaInput(conteggio_);
        QCOMPARE(p.anni.size(), 51);
        QCOMPARE(p.anni.first(), QStringLiteral("1980"));
        QCOMPARE(p.anni.last(), QStringLiteral("2030"));
        QCOMPARE(p.anno, QStringLiteral("1995"));
        QCOMPARE(p.descrizione, QStringLiteral("  Conto n. 123 "));
        for (int i = 0; i < 4; ++i) {
            const FigureTrimestre& f = FigureEsempio[i];
            const double attesi[7] = {f.numeri,       f.interessi, f.commissioni,
                                      f.spese,        f.giorniValuta, f.cms, i == 3 ? 0.0 : f.accordato};
            for (int k = 0; k < 7; ++k)
                QCOMPARE(p.campi[k][i], N(attesi[k]));
        }
        QCOMPARE(p.campi[0][0], QStringLiteral("9.000.000,00"));
        QCOMPARE(p.campi[4][1], QStringLiteral("2,50"));
        QCOMPARE(p.campi[6][3], QStringLiteral("0,00"));

        // A year outside the list is shown as it is.
        conteggio_.setAnnoRiferimento(1975);
        QCOMPARE(PaginaInput(conteggio_).anno, QStringLiteral("1975"));
    }
};

QTEST_GUILESS_MAIN(TestPagineConto)
#include "test_pagine_conto.moc"
