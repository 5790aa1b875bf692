#include "RapportoRegole.h"

#include "modCopia.h"

#include <algorithm>

namespace {

enum Colonna { Numero = 1, Causali, Parole, Segno, Classe, Movimenti };

// Rows a page holds between the title and the page number.
constexpr int RigheMassime = 44;
// The words of a rule go on to the next line past this many characters,
// broken after a "; ", so that they stay in their column.
constexpr int CaratteriParole = 50;

QStringList Spezza(const QString& testo)
{
    QStringList righe;
    QString riga;
    for (const QString& parte : testo.split(QStringLiteral("; "))) {
        if (!riga.isEmpty() && riga.size() + 2 + parte.size() > CaratteriParole) {
            righe << riga + u';';
            riga.clear();
        }
        riga += (riga.isEmpty() ? QString() : QStringLiteral("; ")) + parte;
    }
    righe << riga;
    return righe;
}

} // namespace

Rapporto RapportoRegole(const DatiPaginaRegole& d)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaRegole");
    r.titolo = d.titolo;
    r.colonne = {{Numero, 700, 2}, {Causali, 900, 0}, {Parole, 2300, 0},
                 {Segno, 7400, 0}, {Classe, 8300, 0},  {Movimenti, 10900, 2}};
    TabellaStampa& t = r.tabella;
    int n = 1;
    auto scrivi = [&t, &n](int colonna, const QString& testo) {
        if (n <= TabellaStampa::MaxRighe)
            t.setTesto(n, colonna, testo);
    };
    const QString intestazioni[] = {"N.", "Causali", "Parole della descrizione", "Segno", "Classe", "Movimenti"};
    for (int c = Numero; c <= Movimenti; ++c)
        scrivi(c, intestazioni[c - 1]);
    t.setRigaGrassetto(n, true);
    n += 2;
    for (const RigaPaginaRegole& riga : d.righe) {
        scrivi(Numero, riga.numero);
        scrivi(Causali, riga.causali);
        scrivi(Segno, riga.segno);
        scrivi(Classe, riga.classe);
        scrivi(Movimenti, riga.movimenti);
        for (const QString& parole : Spezza(riga.parole)) {
            scrivi(Parole, parole);
            ++n;
        }
    }
    ++n;
    for (const QStringList& testi : {d.note, d.errori})
        for (const QString& s : testi) {
            scrivi(Causali, s);
            ++n;
        }
    const int righe = std::min(n - 1, TabellaStampa::MaxRighe);
    r.RighePerPagina = std::min(righe, RigheMassime);
    r.NumeroPagine = (righe + RigheMassime - 1) / RigheMassime;
    return r;
}

QString CopiaRegole(const DatiPaginaRegole& d)
{
    TabellaStampa t;
    const QString intestazioni[] = {"N.", "Causali", "Parole della descrizione", "Segno", "Classe", "Movimenti"};
    constexpr int colonne = static_cast<int>(std::size(intestazioni));
    for (int c = 0; c < colonne; ++c)
        t.setTesto(1, c + 1, intestazioni[c]);
    int n = 1;
    for (const RigaPaginaRegole& r : d.righe) {
        if (++n > TabellaStampa::MaxRighe - 2)
            break;
        const QString testi[colonne] = {r.numero, r.causali, r.parole, r.segno, r.classe, r.movimenti};
        for (int c = 0; c < colonne; ++c)
            t.setTesto(n, c + 1, testi[c]);
    }
    ++n;
    for (const QStringList& testi : {d.note, d.errori})
        for (const QString& s : testi)
            if (n < TabellaStampa::MaxRighe)
                t.setTesto(++n, 1, s);
    return TestoCopia(t, n, colonne, true);
}
