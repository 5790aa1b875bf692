#include "RapportoSoglia.h"

#include "PassaggiVerifica.h"
#include "modCopia.h"

#include <algorithm>
#include <iterator>

namespace {

// Print table columns of the report, in the order they stand on the paper
// (an export takes them in this order), and where they go, in twips.
enum ColonnaRapporto { Calcolo = 1, Soglia, Tasso, Griglia_, Margine, Esito, Dettaglio };

// Rows a page holds between the title and the page number.
constexpr int RigheMassime = 44;

// The room of a rate's caption, up to the threshold's column, and of an
// indented line, up to the right margin.
constexpr double StanzaCalcolo = 5900;
constexpr double StanzaDettaglio = 10700;

QString CategoriaEClasse(const RigaPaginaSoglia& r)
{
    QString t = r.categoria.isEmpty() ? QStringLiteral("categoria non scelta") : r.categoria;
    if (!r.classe.isEmpty())
        t += QStringLiteral(" \u2013 classe: ") + r.classe;
    if (!r.tegm.isEmpty())
        t += QStringLiteral(" \u2013 TEGM ") + r.tegm;
    return t;
}

// Rows of one operation in one period follow one another.
bool StessoGruppo(const RigaPaginaSoglia& a, const RigaPaginaSoglia& b)
{
    return a.operazione == b.operazione && a.periodo == b.periodo;
}

} // namespace

Rapporto RapportoSoglia(const DatiPaginaSoglia& d)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaSoglia");
    r.titolo = d.titolo;
    r.sottotitolo = d.sottotitolo;
    r.colonne = {{Calcolo, 500, 0},  {Soglia, 7350, 2}, {Tasso, 8150, 2},    {Griglia_, 8900, 2},
                 {Margine, 9600, 2}, {Esito, 9750, 0},  {Dettaglio, 700, 0}};
    TabellaStampa& t = r.tabella;
    int n = 1;
    auto scrivi = [&t, &n](int colonna, const QString& testo) {
        if (n <= TabellaStampa::MaxRighe)
            t.setTesto(n, colonna, testo);
    };
    auto dettagli = [&](const QString& testo) {
        for (const QString& riga : SpezzaStampa(testo, false, StanzaDettaglio)) {
            scrivi(Dettaglio, riga);
            ++n;
        }
    };
    const QString intestazioni[] = {"Calcolo", "Soglia", "T.E.G.", "Griglia", "Margine", "Esito"};
    for (int c = Calcolo; c <= Esito; ++c)
        scrivi(c, intestazioni[c - 1]);
    t.setRigaGrassetto(n, true);
    n += 2;
    const RigaPaginaSoglia* gruppo = nullptr;
    for (const RigaPaginaSoglia& riga : d.righe) {
        if (!gruppo || !StessoGruppo(*gruppo, riga)) {
            if (gruppo)
                ++n;
            gruppo = &riga;
            QString titolo = riga.operazione;
            if (!riga.periodo.isEmpty())
                titolo += QStringLiteral(", periodo ") + riga.periodo;
            scrivi(Calcolo, titolo);
            if (n <= TabellaStampa::MaxRighe)
                t.setRigaGrassetto(n, true);
            ++n;
            dettagli(CategoriaEClasse(riga));
        }
        // The role beside the caption when there is room, else under it.
        const QString insieme = FormulaERuolo(riga);
        const bool accanto = riga.ruolo.isEmpty() || LarghezzaStampa(insieme, false) <= StanzaCalcolo;
        scrivi(Calcolo, riga.ruolo.isEmpty() ? riga.formula : accanto ? insieme : riga.formula);
        scrivi(Soglia, riga.soglia);
        scrivi(Tasso, riga.tasso);
        scrivi(Griglia_, riga.tassoGriglia);
        scrivi(Margine, riga.margine);
        scrivi(Esito, riga.esito);
        if (riga.Oltre() && !riga.riferimento && n <= TabellaStampa::MaxRighe)
            t.setRigaGrassetto(n, true);
        ++n;
        if (!accanto)
            dettagli(riga.ruolo);
        if (!riga.nota.isEmpty())
            dettagli(riga.nota);
    }
    ++n;
    QStringList finali = d.formule;
    for (const QString& testo : {d.errore, d.fonte, d.avviso})
        if (!testo.isEmpty())
            finali << testo;
    for (const QString& testo : finali)
        for (const QString& s : SpezzaStampa(testo, false, StanzaDettaglio + 200)) {
            scrivi(Calcolo, s);
            ++n;
        }
    const int righe = std::min(n - 1, TabellaStampa::MaxRighe);
    r.RighePerPagina = std::min(righe, RigheMassime);
    r.NumeroPagine = (righe + RigheMassime - 1) / RigheMassime;
    return r;
}

QString CopiaSoglia(const DatiPaginaSoglia& d)
{
    TabellaStampa t;
    const QString intestazioni[] = {"Operazione", "Calcolo",  "Ruolo",          "Periodo",
                                    "Categoria",  "Classe",   "TEGM",           "Soglia",
                                    "T.E.G.",     "T.E.G. griglia", "Margine (punti)", "Esito",
                                    "Nota"};
    constexpr int colonne = static_cast<int>(std::size(intestazioni));
    for (int c = 0; c < colonne; ++c)
        t.setTesto(1, c + 1, intestazioni[c]);
    int n = 1;
    for (const RigaPaginaSoglia& r : d.righe) {
        if (++n > TabellaStampa::MaxRighe - 2)
            break;
        const QString testi[colonne] = {r.operazione, r.formula, r.ruolo,        r.periodo, r.categoria,
                                        r.classe,     r.tegm,    r.soglia,       r.tasso,   r.tassoGriglia,
                                        r.margine,    r.esito,   r.nota};
        for (int c = 0; c < colonne; ++c)
            t.setTesto(n, c + 1, testi[c]);
    }
    ++n;
    QStringList finali = d.formule;
    for (const QString& testo : {d.errore, d.fonte, d.avviso})
        if (!testo.isEmpty())
            finali << testo;
    for (const QString& testo : finali)
        if (n < TabellaStampa::MaxRighe)
            t.setTesto(++n, 1, testo);
    return TestoCopia(t, n, colonne, true);
}
