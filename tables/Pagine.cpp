#include "Pagine.h"

#include "Dichiarazioni.h"
#include "Funzioni.h"

#include <cmath>
#include <functional>
#include <stdexcept>

namespace {

constexpr Qt::Alignment allineamentoGenerale = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment allineamentoValori = Qt::AlignRight | Qt::AlignTop;
constexpr Qt::Alignment allineamentoCentrato = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment allineamentoEtichetta = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int altezzaIntestazione = 480;

QString Importo(double x) { return QString::fromStdString(FormatoImporto(x)); }
QString Tasso(double x) { return QString::fromStdString(FormatoTasso(x)); }

// A column's width and default alignment; its cells take the alignment too.
void ImpostaColonna(Griglia& g, int c, int larghezza, Qt::Alignment a)
{
    g.Colonna(c).larghezza = larghezza;
    g.Colonna(c).allineamento = a;
    for (int r = 0; r < g.Righe(); ++r)
        g.Cella(r, c).allineamento = a;
}

void Scrivi(Griglia& g, int r, int c, const QString& testo, bool grassetto = false)
{
    CellaGriglia& cella = g.Cella(r, c);
    cella.testo = testo;
    cella.grassetto = grassetto;
}

void RigaGrigia(Griglia& g, int r)
{
    for (int c = 0; c < g.Colonne(); ++c)
        g.Cella(r, c).grigia = true;
}

QString Motivo(const std::exception& e)
{
    if (dynamic_cast<const std::overflow_error*>(&e))
        return QStringLiteral("un valore è fuori dall'intervallo ammesso");
    if (dynamic_cast<const std::range_error*>(&e))
        return QStringLiteral("gli importi inseriti danno un risultato che non è un numero");
    if (dynamic_cast<const std::out_of_range*>(&e))
        return QStringLiteral("il numero del trimestre non è valido");
    return QString::fromStdString(e.what());
}

// Recomputes the four quarters; calcolato[q-1] tells which succeeded. The
// failures are collected into errore, one line each.
std::array<bool, 4> AggiornaTrimestri(Documento& d, QString& errore)
{
    std::array<bool, 4> calcolato{};
    QStringList righe;
    for (int q = 1; q <= 4; ++q) {
        try {
            d.Trimestri(q).Aggiorna();
            calcolato[q - 1] = true;
        } catch (const std::exception& e) {
            righe << QStringLiteral("%1: %2.").arg(TitoloTrimestre(q, d.AnnoRiferimento()), Motivo(e));
        }
    }
    errore.clear();
    if (!righe.isEmpty())
        errore = QStringLiteral("Impossibile calcolare il T.E.G. del conto corrente.\n") +
                 righe.join(QLatin1Char('\n'));
    return calcolato;
}

// One row of a block: a label and the value read from the quarter, or an
// empty value when the quarter could not be computed.
struct Voce {
    const char* etichetta;
    std::function<QString(const BOX&)> valore;
};

QString Euro(double x) { return TestoEuro(x); }

} // namespace

QString NumeroRomano(int trimestre)
{
    static const char* const numeri[] = {"I", "II", "III", "IV"};
    if (trimestre < 1 || trimestre > 4)
        return {};
    return QString::fromLatin1(numeri[trimestre - 1]);
}

QString TitoloTrimestre(int trimestre, int anno)
{
    return QStringLiteral("Trimestre ") + NumeroRomano(trimestre) + QStringLiteral(" - ") +
           QString::number(anno);
}

int GiorniTrimestre(int trimestre, int anno)
{
    switch (trimestre) {
    case 1:
        return anno % 4 == 0 ? 91 : 90;
    case 2:
        return 91;
    default:
        return 92;
    }
}

QString TestoEuro(double importo)
{
    return QStringLiteral("\u20AC ") + Importo(importo);
}

double MediaAnnua(const std::array<double, 4>& v, int anno)
{
    const int d1 = GiorniTrimestre(1, anno);
    return (v[0] * d1 + v[1] * 91 + v[2] * 92 + v[3] * 92) / (d1 + 275);
}

Griglia PaginaMatematico(Documento& d, QString& errore)
{
    const std::array<bool, 4> calcolato = AggiornaTrimestri(d, errore);
    const int anno = d.AnnoRiferimento();

    Griglia g(41, 6);
    static const int larghezze[6] = {3000, 2000, 500, 3000, 2000, 2000};
    for (int c = 0; c < 6; ++c)
        ImpostaColonna(g, c, larghezze[c],
                       c == 1 || c == 4 || c == 5 ? allineamentoValori : allineamentoGenerale);

    // Rows r+1 to r+8: the quarter's own figures on the left ...
    static const Voce sinistra[8] = {
        {"Numeri debitori", [](const BOX& b) { return Importo(b.Numeri()); }},
        {"Interessi addebitati", [](const BOX& b) { return Euro(b.Interessi()); }},
        {"Commissioni % su scoperti", [](const BOX& b) { return Euro(b.Commissioni()); }},
        {"Spese fisse", [](const BOX& b) { return Euro(b.Spese()); }},
        {"Giorni valuta medi per operazione", [](const BOX& b) { return Importo(b.GiorniValuta()); }},
        {nullptr, nullptr},
        {"Debito medio giornaliero per valuta",
         [](const BOX& b) { return Euro(b.DebitoMedioPerValuta()); }},
        {"Debito medio giornaliero per data",
         [](const BOX& b) { return Euro(b.DebitoMedioPerData()); }},
    };
    // ... and the analytic cost as amount and incidence on the right.
    struct VoceCosto {
        const char* etichetta;
        double (BOX::*importo)() const;
        double (BOX::*incidenza)() const;
    };
    static const VoceCosto destra[8] = {
        {"Interessi calcolati per data", &BOX::TabInteressi, &BOX::TabInteressiP},
        {" + commissioni calcolate per data", &BOX::TabCommissioni, &BOX::TabCommissioniP},
        {" + spese", &BOX::TabSpese, &BOX::TabSpeseP},
        {" + effetto valuta su interessi", &BOX::TabEffettoValutaInteressi,
         &BOX::TabEffettoValutaInteressiP},
        {" + effetto valuta su commissioni", &BOX::TabEffettoValutaCommissioni,
         &BOX::TabEffettoValutaCommissioniP},
        {"= Oneri effettivamente addebitati", &BOX::TabOneriEffettivi, &BOX::TabOneriEffettiviP},
        {" + anatocismo (figurativo)", &BOX::TabAnatocismo, &BOX::TabAnatocismoP},
        {"= Totale costo trimestrale", &BOX::TabCostoTotale, &BOX::TabCostoTotaleP},
    };

    for (int q = 1; q <= 4; ++q) {
        const int r = 10 * (q - 1);
        const BOX& b = d.Trimestri(q);
        const bool ok = calcolato[q - 1];

        g.Riga(r).altezza = altezzaIntestazione;
        RigaGrigia(g, r);
        const QString titolo = TitoloTrimestre(q, anno);
        for (int c = 0; c <= 3; ++c)
            Scrivi(g, r, c, titolo, true);
        g.Riga(r).unisci = true;

        for (int k = 0; k < 8; ++k) {
            if (!sinistra[k].etichetta)
                continue;
            Scrivi(g, r + 1 + k, 0, QString::fromUtf8(sinistra[k].etichetta));
            Scrivi(g, r + 1 + k, 1, ok ? sinistra[k].valore(b) : QString());
        }

        Scrivi(g, r, 4, QStringLiteral("Importi"));
        Scrivi(g, r, 5, QStringLiteral("Incidenza su debito medio calcolato per data"));
        g.Cella(r, 4).allineamento = allineamentoCentrato;
        g.Cella(r, 5).allineamento = allineamentoCentrato;

        for (int k = 0; k < 8; ++k) {
            const VoceCosto& voce = destra[k];
            const int riga = r + 1 + k;
            const bool grassetto = k == 5 || k == 7;
            Scrivi(g, riga, 3, QString::fromUtf8(voce.etichetta), grassetto);
            if (k >= 1)
                g.Cella(riga, 3).allineamento = allineamentoEtichetta;
            Scrivi(g, riga, 4, ok ? Euro((b.*voce.importo)()) : QString(), grassetto);
            Scrivi(g, riga, 5, ok ? Tasso((b.*voce.incidenza)()) : QString(), grassetto);
        }
    }

    // The annual line: day-weighted means of the four quarters.
    const int ultima = g.Righe() - 1;
    RigaGrigia(g, ultima);
    QString debitoAnnuo, costoAnnuo;
    if (calcolato == std::array<bool, 4>{true, true, true, true}) {
        std::array<double, 4> costi{}, debiti{};
        for (int q = 1; q <= 4; ++q) {
            costi[q - 1] = d.Trimestri(q).TabCostoTotaleP();
            debiti[q - 1] = d.Trimestri(q).DebitoMedioPerData();
        }
        const double costoAnnuale = MediaAnnua(costi, anno);
        const double debitoMedioAnnuo = MediaAnnua(debiti, anno);
        if (std::isfinite(costoAnnuale) && std::isfinite(debitoMedioAnnuo)) {
            debitoAnnuo = Euro(debitoMedioAnnuo);
            costoAnnuo = Tasso(costoAnnuale);
        } else {
            errore = QStringLiteral("Impossibile calcolare il costo annuale del conto corrente: "
                                    "gli importi inseriti sono troppo grandi.");
        }
    }
    Scrivi(g, ultima, 0, QStringLiteral("Debito medio giornaliero per data"), true);
    Scrivi(g, ultima, 1, debitoAnnuo, true);
    Scrivi(g, ultima, 3, QStringLiteral("Costo annuale"), true);
    Scrivi(g, ultima, 5, costoAnnuo, true);
    return g;
}

Griglia PaginaItalia(Documento& d, QString& errore)
{
    const std::array<bool, 4> calcolato = AggiornaTrimestri(d, errore);
    const int anno = d.AnnoRiferimento();

    Griglia g(13, 5);
    static const int larghezze[5] = {3000, 2000, 500, 3000, 2000};
    for (int c = 0; c < 5; ++c)
        ImpostaColonna(g, c, larghezze[c], c == 1 || c == 4 ? allineamentoValori : allineamentoGenerale);

    static const Voce righe[5] = {
        {"Numeri capitale (stima)", [](const BOX& b) { return Importo(b.TEGnumeri()); }},
        {"Interessi addebitati", [](const BOX& b) { return Euro(b.TEGinteressi()); }},
        {"Oneri complessivi (al netto della CMS)", [](const BOX& b) { return Euro(b.TEGoneri()); }},
        {"Fido accordato", [](const BOX& b) { return Euro(b.Accordato()); }},
        {"T.E.G.", [](const BOX& b) { return Tasso(b.TEG()); }},
    };

    auto blocco = [&](int q, int b, int colonna) {
        const BOX& t = d.Trimestri(q);
        const bool ok = calcolato[q - 1];
        const QString titolo = TitoloTrimestre(q, anno);
        Scrivi(g, b, colonna, titolo, true);
        Scrivi(g, b, colonna + 1, titolo, true);
        for (int k = 0; k < 5; ++k) {
            const bool grassetto = k == 4;
            Scrivi(g, b + 1 + k, colonna, QString::fromUtf8(righe[k].etichetta), grassetto);
            Scrivi(g, b + 1 + k, colonna + 1, ok ? righe[k].valore(t) : QString(), grassetto);
        }
    };

    for (int k = 1; k <= 2; ++k) {
        const int b = 7 * (k - 1);
        g.Riga(b).altezza = altezzaIntestazione;
        RigaGrigia(g, b);
        blocco(2 * k - 1, b, 0);
        blocco(2 * k, b, 3);
    }
    g.Riga(0).unisci = true;
    g.Riga(7).unisci = true;
    return g;
}

namespace {

// The sources of the input figures, from the origins the quarters were
// filled with.
void FontiInput(const Documento& d, DatiPaginaInput& p)
{
    const OriginiTrimestri& o = d.ContoCorrente().origini;
    if (o.anno == 0)
        return;
    const QString altroAnno =
        o.anno == d.AnnoRiferimento()
            ? QString()
            : QStringLiteral(" Attenzione: calcolato per il %1, non per l'anno di riferimento %2.")
                  .arg(o.anno)
                  .arg(d.AnnoRiferimento());
    for (int q = 0; q < 4; ++q) {
        const OrigineTrimestre& t = o.trimestri[static_cast<std::size_t>(q)];
        const QString trimestre = TitoloTrimestre(q + 1, o.anno);
        const QString parziale = t.copertura == Copertura::Completa
                                     ? QString()
                                     : QStringLiteral(" Il trimestre è coperto dai movimenti solo in parte.");
        if (t.copertura != Copertura::Completa)
            p.coperture[static_cast<std::size_t>(q)] =
                t.riempito ? QStringLiteral("%1: coperto dai movimenti solo in parte, riempito comunque.%2")
                                 .arg(trimestre, altroAnno)
                           : QStringLiteral("%1: coperto dai movimenti solo in parte, non riempito dai movimenti.%2")
                                 .arg(trimestre, altroAnno);
        for (std::size_t k = 0; k < CampiTrimestre; ++k) {
            QString& f = p.fonti[k][static_cast<std::size_t>(q)];
            switch (t.fonti[k]) {
            case FonteFigura::Movimenti:
                f = QStringLiteral("Dai movimenti: scalare del %1.").arg(trimestre) + parziale + altroAnno;
                break;
            case FonteFigura::Condizioni:
                f = QStringLiteral("Dalle condizioni del conto in vigore alla fine del %1.").arg(trimestre) + altroAnno;
                break;
            case FonteFigura::Nessuna: break;
            }
        }
    }
}

} // namespace

DatiPaginaInput PaginaInput(const Documento& d)
{
    DatiPaginaInput p;
    for (int a = PrimoAnnoElenco; a <= UltimoAnnoElenco; ++a)
        p.anni << QString::number(a);
    p.anno = QString::number(d.AnnoRiferimento());
    for (int q = 1; q <= 4; ++q) {
        const BOX& b = d.Trimestri(q);
        const double valori[8] = {b.Numeri(),       b.Interessi(), b.Commissioni(), b.Spese(),
                                  b.GiorniValuta(), b.CMS(),       b.Accordato(),   b.MassimoScoperto()};
        for (int k = 0; k < 8; ++k)
            p.campi[k][q - 1] = Importo(valori[k]);
        p.campi[8][q - 1] = Importo(d.Usura().CMSMedia(q).value_or(0) * 100);
    }
    p.descrizione = QString::fromStdString(d.Trimestri(1).Descrizione());
    FontiInput(d, p);
    return p;
}
