#include "RapportoSoglia.h"

#include "modCopia.h"

#include <algorithm>

namespace {

// Print table columns of the report and where they go, in twips.
enum ColonnaRapporto { Operazione = 1, Calcolo, Periodo, Tegm, Soglia, Tasso, Margine, Esito, Dettaglio };

// Rows a page holds between the title and the page number.
constexpr int RigheMassime = 44;

// A detail line longer than this many characters goes on to the next line,
// broken between words, so that it stays on the paper.
constexpr int CaratteriPerRiga = 110;

QStringList Spezza(const QString& testo)
{
    QStringList righe;
    QString riga;
    for (const QString& parola : testo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!riga.isEmpty() && riga.size() + 1 + parola.size() > CaratteriPerRiga) {
            righe << riga;
            riga.clear();
        }
        riga += (riga.isEmpty() ? QString() : QStringLiteral(" ")) + parola;
    }
    if (!riga.isEmpty() || righe.isEmpty())
        righe << riga;
    return righe;
}

QString CategoriaEClasse(const RigaPaginaSoglia& r)
{
    QString t = r.categoria.isEmpty() ? QStringLiteral("categoria non scelta") : r.categoria;
    if (!r.classe.isEmpty())
        t += QStringLiteral(" \u2013 classe: ") + r.classe;
    return t;
}

} // namespace

Rapporto RapportoSoglia(const DatiPaginaSoglia& d)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaSoglia");
    r.titolo = d.titolo;
    r.sottotitolo = d.sottotitolo;
    r.colonne = {{Operazione, 500, 0}, {Calcolo, 2650, 0}, {Periodo, 4350, 0}, {Tegm, 6850, 2},
                 {Soglia, 7700, 2},    {Tasso, 8600, 2},   {Margine, 9450, 2}, {Esito, 9650, 0},
                 {Dettaglio, 700, 0}};
    TabellaStampa& t = r.tabella;
    int n = 1;
    auto scrivi = [&t, &n](int colonna, const QString& testo) {
        if (n <= TabellaStampa::MaxRighe)
            t.setTesto(n, colonna, testo);
    };
    const QString intestazioni[] = {"Operazione", "Calcolo", "Periodo", "TEGM", "Soglia", "T.E.G.", "Margine",
                                    "Esito"};
    for (int c = Operazione; c <= Esito; ++c)
        scrivi(c, intestazioni[c - 1]);
    t.setRigaGrassetto(n, true);
    n += 2;
    for (const RigaPaginaSoglia& riga : d.righe) {
        scrivi(Operazione, riga.operazione);
        scrivi(Calcolo, riga.formula);
        scrivi(Periodo, riga.periodo);
        scrivi(Tegm, riga.tegm);
        scrivi(Soglia, riga.soglia);
        scrivi(Tasso, riga.tasso);
        scrivi(Margine, riga.margine);
        scrivi(Esito, riga.esito);
        if (riga.Oltre() && n <= TabellaStampa::MaxRighe)
            t.setRigaGrassetto(n, true);
        ++n;
        const QStringList dettagli = Spezza(CategoriaEClasse(riga));
        for (int i = 0; i < dettagli.size(); ++i) {
            scrivi(Dettaglio, dettagli[i]);
            if (i == 0 && !riga.tassoGriglia.isEmpty())
                scrivi(Tasso, QStringLiteral("griglia ") + riga.tassoGriglia);
            ++n;
        }
        if (!riga.nota.isEmpty())
            for (const QString& nota : Spezza(riga.nota)) {
                scrivi(Dettaglio, nota);
                ++n;
            }
    }
    ++n;
    for (const QString& testo : {d.errore, d.fonte, d.avviso})
        for (const QString& s : testo.isEmpty() ? QStringList() : Spezza(testo)) {
            scrivi(Operazione, s);
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
    const QString intestazioni[] = {"Operazione", "Calcolo",      "Periodo", "Categoria",
                                    "Classe",     "TEGM",         "Soglia",  "T.E.G.",
                                    "T.E.G. griglia", "Margine (punti)", "Esito", "Nota"};
    constexpr int colonne = static_cast<int>(std::size(intestazioni));
    for (int c = 0; c < colonne; ++c)
        t.setTesto(1, c + 1, intestazioni[c]);
    int n = 1;
    for (const RigaPaginaSoglia& r : d.righe) {
        if (++n > TabellaStampa::MaxRighe - 2)
            break;
        const QString testi[colonne] = {r.operazione, r.formula, r.periodo,      r.categoria,
                                        r.classe,     r.tegm,    r.soglia,       r.tasso,
                                        r.tassoGriglia, r.margine, r.esito,      r.nota};
        for (int c = 0; c < colonne; ++c)
            t.setTesto(n, c + 1, testi[c]);
    }
    ++n;
    for (const QString& testo : {d.errore, d.fonte, d.avviso})
        if (!testo.isEmpty() && n < TabellaStampa::MaxRighe)
            t.setTesto(++n, 1, testo);
    return TestoCopia(t, n, colonne, true);
}
