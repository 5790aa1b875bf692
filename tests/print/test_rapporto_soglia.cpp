// The usury check on paper and on the clipboard, and the print and copy
// commands acting on its window.
#include "Dichiarazioni.h"
#include "PassaggiVerifica.h"
#include "RapportoSoglia.h"
#include "SoglieInUso.h"
#include "TabellaEsportazione.h"
#include "Finestre.h"
#include "frmUsura.h"
#include "modCopia.h"

#include <QTest>

namespace {

RigaPaginaSoglia Riga(const QString& operazione, StatoVerifica stato, const QString& categoria)
{
    RigaPaginaSoglia r;
    r.operazione = operazione;
    r.formula = QStringLiteral("T.E.G. del programma");
    r.periodo = QStringLiteral("01/01/2010 \u2013 31/03/2010");
    r.categoria = categoria;
    r.classe = QStringLiteral("oltre 5.000 euro");
    r.tegm = QStringLiteral("5,430%");
    r.soglia = QStringLiteral("8,145%");
    r.tasso = QStringLiteral("12,290%");
    r.margine = QStringLiteral("-4,145");
    r.stato = stato;
    r.esito = stato == StatoVerifica::OltreSoglia ? TestoOltreSoglia : QStringLiteral("entro soglia");
    return r;
}

DatiPaginaSoglia Dati(int righe)
{
    DatiPaginaSoglia d;
    d.sottotitolo = QStringLiteral("Conteggio \u00abProva\u00bb");
    d.fonte = QStringLiteral("Soglie note fino al 31/12/2026 (serie ufficiale incorporata nel programma)");
    for (int i = 0; i < righe; ++i)
        d.righe.push_back(Riga(QStringLiteral("Riga %1").arg(i + 1),
                               i == 0 ? StatoVerifica::OltreSoglia : StatoVerifica::EntroSoglia,
                               QStringLiteral("FACTORING")));
    return d;
}

} // namespace

class TestRapportoSoglia : public QObject {
    Q_OBJECT

    Documento conteggio_;

private slots:
    void copia()
    {
        DatiPaginaSoglia d = Dati(1);
        d.righe[0].tassoGriglia = QStringLiteral("12,300%");
        const QString atteso = QStringLiteral(
            "Operazione \tCalcolo \tRuolo \tPeriodo \tCategoria \tClasse \tTEGM \tSoglia \tT.E.G. \t"
            "T.E.G. griglia \tMargine (punti) \tEsito \tNota \r\n"
            "Riga 1 \tT.E.G. del programma \t \t01/01/2010 \u2013 31/03/2010 \tFACTORING \toltre 5.000 euro \t"
            "5,430% \t8,145% \t12,290% \t12,300% \t'-4,145 \t\u26A0 OLTRE SOGLIA \t \r\n"
            " \t \t \t \t \t \t \t \t \t \t \t \t \r\n"
            "Soglie note fino al 31/12/2026 (serie ufficiale incorporata nel programma) \t \t \t \t \t \t \t \t \t \t \t \t \r\n");
        QCOMPARE(CopiaSoglia(d), atteso);
    }

    // Header, then per operation and period a bold title and a line with
    // category, class and TEGM (long names broken between words), then a line
    // of figures per rate, bold over the threshold unless it only stands for
    // reference.
    void rapporto()
    {
        DatiPaginaSoglia d = Dati(3);
        d.righe[1].categoria = QString(30, QLatin1Char('x')) + QStringLiteral(" PAROLA").repeated(20);
        d.righe[2].operazione = d.righe[1].operazione;
        d.righe[2].categoria = d.righe[1].categoria;
        d.righe[2].formula = QStringLiteral("T.E.G. analitico (con anatocismo)");
        d.righe[2].ruolo = QStringLiteral("(riferimento)");
        d.righe[2].riferimento = true;
        d.righe[2].stato = StatoVerifica::OltreSoglia;
        d.righe[2].esito = TestoOltreSoglia;
        d.righe[0].tassoGriglia = QStringLiteral("12,300%");
        const Rapporto r = RapportoSoglia(d);
        const TabellaStampa& t = r.tabella;
        QCOMPARE(r.titolo, QStringLiteral("Verifica usura"));
        QCOMPARE(t.Testo(3, 1), QStringLiteral("Riga 1, periodo 01/01/2010 \u2013 31/03/2010"));
        QCOMPARE(t.Testo(4, 7), QStringLiteral("FACTORING \u2013 classe: oltre 5.000 euro \u2013 TEGM 5,430%"));
        QCOMPARE(t.Testo(5, 1), QStringLiteral("T.E.G. del programma"));
        QCOMPARE(t.Testo(5, 6), TestoOltreSoglia);
        QVERIFY(t.RigaGrassetto(1) && t.RigaGrassetto(3) && t.RigaGrassetto(5) && !t.RigaGrassetto(4));
        QCOMPARE(t.Testo(7, 1), QStringLiteral("Riga 2, periodo 01/01/2010 \u2013 31/03/2010"));
        int riga = 8;
        while (t.Testo(riga, 1).isEmpty() && !t.Testo(riga, 7).isEmpty()) {
            QVERIFY2(LarghezzaStampa(t.Testo(riga, 7), false) <= 10700, qPrintable(t.Testo(riga, 7)));
            ++riga;
        }
        QVERIFY(riga > 9 && t.Testo(riga - 1, 7).endsWith(QStringLiteral("TEGM 5,430%")));
        QVERIFY(!t.RigaGrassetto(riga));
        QCOMPARE(t.Testo(riga + 1, 1), QStringLiteral("T.E.G. analitico (con anatocismo) (riferimento)"));
        QCOMPARE(t.Testo(riga + 1, 6), TestoOltreSoglia);
        QVERIFY(!t.RigaGrassetto(riga + 1));
        QCOMPARE(t.Testo(riga + 3, 1), d.fonte);
        QCOMPARE(r.RighePerPagina, riga + 3);
        QCOMPARE(r.NumeroPagine, 1.0);
        // The sheet: the exact rate and the grid rate each a number in its own column.
        const TabellaEsportazione foglio = TabellaDaRapporto(r);
        QCOMPARE(foglio.righe.at(0).at(3).testo, QStringLiteral("Griglia"));
        for (const auto& [colonna, valore] : {std::pair{2, 0.1229}, std::pair{3, 0.123}}) {
            const CellaEsportazione& c = foglio.righe.at(4).at(colonna);
            QCOMPARE(c.tipo, TipoCella::Tasso);
            QCOMPARE(c.valore, valore);
        }

        // Rows beyond one page go on to the next, none is lost.
        const Rapporto lungo = RapportoSoglia(Dati(30));
        QCOMPARE(lungo.RighePerPagina, 44);
        QCOMPARE(lungo.NumeroPagine, 3.0);
        QCOMPARE(lungo.tabella.Testo(3 + 4 * 29, 1), QStringLiteral("Riga 30, periodo 01/01/2010 \u2013 31/03/2010"));
    }

    // "Stampa" and "Copia" act on the check window as on the other tables.
    void comandiSullaFinestra()
    {
        ImpostaCartellaSoglie({});
        conteggio_.InizializzaConteggio();
        conteggio_.setAnnoRiferimento(2010);
        conteggio_.Trimestri(1).setNumeri(9000000);
        conteggio_.Trimestri(1).setInteressi(2000);
        conteggio_.Trimestri(1).setAccordato(150000);
        frmUsura w(conteggio_);
        w.Pagina();
        QVERIFY(!w.Dati().righe.empty());
        QString testo;
        QVERIFY(TestoCopiaFinestra(QStringLiteral("frmUsura"), &w, testo));
        QCOMPARE(testo, CopiaSoglia(w.Dati()));
        Rapporto r;
        QVERIFY(RapportoFinestra(QStringLiteral("frmUsura"), &w, r));
        QCOMPARE(r.tabella.Testo(3, 1), QStringLiteral("Conto corrente, trimestre I, periodo 01/01/2010 \u2013 31/03/2010"));
        QCOMPARE(r.tabella.Testo(5, 1), QStringLiteral("Istruzioni Banca d'Italia 2009 \u2013 decide"));
    }
};

QTEST_MAIN(TestRapportoSoglia)
#include "test_rapporto_soglia.moc"
