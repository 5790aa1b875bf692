#pragma once
// Window contents used by the printing tests: the texts the input windows
// show and result grids laid out as the two current-account tables lay them.
#include "Dichiarazioni.h"
#include "Griglia.h"
#include "Pagine.h"
#include "PagineFinanziamenti.h"
#include "modStampa.h"

#include <chrono>

namespace esempi {

// The document the tests that print and export from the real windows start
// from: four quarters of 2012, a mortgage, a short-term financing, and the
// operations' description (no flows).
inline void ConteggioDelleFinestre(Documento& Conteggio)
{
    using namespace std::chrono;
    Conteggio.InizializzaConteggio();
    Conteggio.setAnnoRiferimento(2012);
    for (int q = 1; q <= 4; ++q) {
        BOX& t = Conteggio.Trimestri(q);
        t.setNumeri(9000000 + 100000 * q);
        t.setInteressi(1500 + 10 * q);
        t.setCommissioni(200);
        t.setSpese(45);
        t.setGiorniValuta(3);
        t.setAccordato(100000);
        t.setCMS(50);
    }
    Conteggio.Trimestri(1).setDescrizione("Conto aziendale");
    Mutuo& m = Conteggio.MutuoCorrente();
    m.setImporto(100000);
    m.setRata(1000);
    m.setNRate(120);
    m.setRateAnnuali(12);
    m.setDescrizione("Mutuo casa");
    BREVE& b = Conteggio.BreveCorrente();
    b.setFinanziato(10000);
    b.setOneri(100);
    b.setRestituito(10200);
    b.setData0(sys_days(year{2010} / January / 1));
    b.setData1(sys_days(year{2010} / April / 1));
    b.setDescrizione("Anticipo");
    Conteggio.Operazioni().setDescrizione("Flussi vari");
}

inline QString titoloTrimestre(int q, int anno)
{
    static const char* const romani[4] = {"I", "II", "III", "IV"};
    return QStringLiteral("Trimestre %1 - %2").arg(QLatin1String(romani[q - 1])).arg(anno);
}

// The analytic table: 41 x 6, four blocks of ten rows and the annual line.
inline Griglia grigliaMatematico(int anno = 2012)
{
    static const char* const sinistra[9] = {
        nullptr, "Numeri debitori", "Interessi addebitati", "Commissioni % su scoperti", "Spese fisse",
        "Giorni valuta medi per operazione", nullptr, "Debito medio giornaliero per valuta",
        "Debito medio giornaliero per data"};
    static const char* const destra[9] = {
        nullptr, "Interessi calcolati per data", " + commissioni calcolate per data", " + spese",
        " + effetto valuta su interessi", " + effetto valuta su commissioni",
        "= Oneri effettivamente addebitati", " + anatocismo (figurativo)", "= Totale costo trimestrale"};
    Griglia g(41, 6);
    for (int q = 1; q <= 4; ++q) {
        const int r = 10 * (q - 1);
        for (int c = 0; c < 4; ++c)
            g.setTesto(r, c, titoloTrimestre(q, anno));
        g.setTesto(r, 4, QStringLiteral("Importi"));
        g.setTesto(r, 5, QStringLiteral("Incidenza su debito medio calcolato per data"));
        for (int i = 1; i <= 8; ++i) {
            if (sinistra[i]) {
                g.setTesto(r + i, 0, QString::fromLatin1(sinistra[i]));
                g.setTesto(r + i, 1, i == 1 || i == 5 ? QStringLiteral("%1.000,00").arg(q * 10 + i)
                                                      : QStringLiteral("€ %1,50").arg(q * 100 + i));
            }
            g.setTesto(r + i, 3, QString::fromLatin1(destra[i]));
            g.setTesto(r + i, 4, QStringLiteral("€ %1,25").arg(q * 10 + i));
            g.setTesto(r + i, 5, QStringLiteral("%1,125%").arg(i));
        }
    }
    g.setTesto(40, 0, QStringLiteral("Debito medio giornaliero per data"));
    g.setTesto(40, 1, QStringLiteral("€ 12.345,67"));
    g.setTesto(40, 3, QStringLiteral("Costo annuale"));
    g.setTesto(40, 5, QStringLiteral("9,876%"));
    return g;
}

// The Bank of Italy table: 13 x 5, quarters two by two.
inline Griglia grigliaItalia(int anno = 2012)
{
    Griglia g(13, 5);
    const int blocchi[4][3] = {{0, 0, 1}, {0, 3, 2}, {7, 0, 3}, {7, 3, 4}};
    for (const auto& b : blocchi) {
        const int r = b[0], l = b[1], q = b[2];
        g.setTesto(r, l, titoloTrimestre(q, anno));
        g.setTesto(r, l + 1, titoloTrimestre(q, anno));
        g.setTesto(r + 1, l, QStringLiteral("Numeri capitale (stima)"));
        g.setTesto(r + 1, l + 1, QStringLiteral("%1.500.000,00").arg(q));
        g.setTesto(r + 2, l, QStringLiteral("Interessi addebitati"));
        g.setTesto(r + 2, l + 1, QStringLiteral("€ %1.200,00").arg(q));
        g.setTesto(r + 3, l, QStringLiteral("Oneri complessivi (al netto della CMS)"));
        g.setTesto(r + 3, l + 1, QStringLiteral("€ %1,00").arg(q * 75));
        g.setTesto(r + 4, l, QStringLiteral("Fido accordato"));
        g.setTesto(r + 4, l + 1, QStringLiteral("€ 50.000,00"));
        g.setTesto(r + 5, l, QStringLiteral("T.E.G."));
        g.setTesto(r + 5, l + 1, QStringLiteral("%1,250%").arg(q + 6));
    }
    return g;
}

inline DatiPaginaBreve breve()
{
    DatiPaginaBreve d;
    d.descrizione = QStringLiteral("Anticipo fatture");
    d.importi = {QStringLiteral("10.000,00"), QStringLiteral("100,00"), QStringLiteral("10.200,00")};
    d.data0 = QDate(2010, 1, 1);
    d.data1 = QDate(2010, 4, 1);
    d.tassoPeriodo = QStringLiteral("3,030%");
    d.tassoAnnuale = QStringLiteral("12,290%");
    return d;
}

inline DatiPaginaMutuo mutuo()
{
    DatiPaginaMutuo d;
    d.descrizione = QStringLiteral("Mutuo prima casa");
    d.importi = {QStringLiteral("100.000,00"), QStringLiteral("0,00"), QStringLiteral("1.000,00")};
    d.periodicita = QStringLiteral("Mensile");
    d.numeroRate = QStringLiteral("120");
    d.intestazione = QStringLiteral("T.E.G. mensile (approx.)");
    d.tassoPeriodo = QStringLiteral("0,310%");
    d.didascaliaAnnuale = QStringLiteral("T.E.G. annuale (approx.)");
    d.tassoAnnuale = QStringLiteral("3,784%");
    return d;
}

// Operations of 2020: row 1 received, rows 2..10 paid.
inline DatiPaginaOPE operazioni()
{
    static const char* const mesi[10] = {"Gen", "Feb", "Mar", "Apr", "Mag", "Giu", "Lug", "Ago", "Set", "Ott"};
    DatiPaginaOPE d;
    for (int k = 0; k < 10; ++k) {
        DatiRigaOPE& r = d.righe[k];
        r.numero = QStringLiteral("%1.").arg(k + 1);
        r.valore = k == 0 ? 10000 : 1200;
        r.meseAnno = QStringLiteral("%1 - 2020").arg(QLatin1String(mesi[k]));
        r.importo = k == 0 ? QStringLiteral("10.000,00") : QStringLiteral("1.200,00");
        r.segno = k == 0 ? QStringLiteral("Entrata") : QStringLiteral("Uscita");
    }
    d.didascalia = DidascaliaTassoOPE;
    d.tasso = QStringLiteral("20,555%");
    return d;
}

// The quarters' figures, each field a text of its own.
inline DatiPaginaInput input()
{
    DatiPaginaInput d;
    d.anno = QStringLiteral("2012");
    for (int k = 0; k < 8; ++k)
        for (int q = 0; q < 4; ++q)
            d.campi[k][q] = QStringLiteral("%1.%200,00").arg(k + 1).arg(q + 1);
    return d;
}

} // namespace esempi
