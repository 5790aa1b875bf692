#include "RapportoContratto.h"

#include "PagineFinanziamenti.h"
#include "modCopia.h"

#include <algorithm>

namespace {

// Pages for `righe` rows.
void Impagina(Rapporto& r, int righe)
{
    righe = std::clamp(righe, 1, TabellaStampa::MaxRighe);
    r.RighePerPagina = std::min(righe, RighePaginaContratto);
    r.NumeroPagine = (righe + RighePaginaContratto - 1) / RighePaginaContratto;
}

enum ColonnaPiano { Numero = 1, Data, Rata, Interessi, Capitale, Residuo, Costi };

} // namespace

int AggiungiContratto(Rapporto& r, const DatiPaginaContratto& c, int ultima)
{
    if (!c.indicato)
        return ultima;
    int n = ultima;
    TabellaStampa& t = r.tabella;
    for (const std::vector<RigaContratto>* parte : {&c.dati, &c.risultati})
        for (const RigaContratto& riga : *parte) {
            if (riga.titolo)
                ++n;  // an empty row before each heading
            if (++n > TabellaStampa::MaxRighe)
                return TabellaStampa::MaxRighe;
            t.setTesto(n, 1, riga.didascalia);
            t.setTesto(n, 2, riga.valore);
            t.setRigaGrassetto(n, riga.titolo || riga.evidenza);
        }
    n = std::min(n, TabellaStampa::MaxRighe);
    Impagina(r, n);
    return n;
}

int RigheRapportoMutuo(const DatiPaginaMutuo& d)
{
    Rapporto r;
    return AggiungiContratto(r, d.contratto, 9);
}

Rapporto RapportoPiano(const DatiPaginaPiano& d)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaPiano");
    r.titolo = d.titolo;
    // The notes and the lines above the table are written in column 1, from
    // the left margin across the page.
    r.colonne = {{Numero, 500, 0},     {Data, 1300, 0},    {Rata, 3900, 2},  {Interessi, 5600, 2},
                 {Capitale, 7300, 2}, {Residuo, 9200, 2}, {Costi, 10900, 2}};
    TabellaStampa& t = r.tabella;
    int n = 0;
    auto testo = [&t, &n](const QString& s, bool grassetto = false) {
        if (++n > TabellaStampa::MaxRighe)
            return;
        t.setTesto(n, Numero, s);
        t.setRigaGrassetto(n, grassetto);
    };
    auto riga = [&t, &n](const std::array<QString, 7>& celle, bool grassetto) {
        if (++n > TabellaStampa::MaxRighe)
            return;
        for (int c = 0; c < 7; ++c)
            t.setTesto(n, c + 1, celle[static_cast<std::size_t>(c)]);
        t.setRigaGrassetto(n, grassetto);
    };
    for (const QString& s : d.intestazione)
        testo(s);
    if (!d.errore.isEmpty())
        testo(d.errore, true);
    if (!d.righe.empty()) {
        ++n;
        riga(IntestazioniPiano(), true);
        auto conIntestazione = [&](const RigaPaginaPiano& x) {
            // A page never ends with the headings, and each one opens with them.
            if (n % RighePaginaContratto == 0)
                riga(IntestazioniPiano(), true);
            riga(x.celle, x.grassetto);
        };
        for (const RigaPaginaPiano& x : d.righe)
            conIntestazione(x);
        conIntestazione(d.totali);
    }
    if (!d.note.isEmpty()) {
        ++n;
        for (const QString& s : d.note)
            testo(s);
    }
    Impagina(r, std::min(n, TabellaStampa::MaxRighe));
    return r;
}

QString CopiaPiano(const DatiPaginaPiano& d)
{
    TabellaStampa t;
    int n = 0;
    auto riga = [&t, &n](const QStringList& celle) {
        if (++n > TabellaStampa::MaxRighe)
            return;
        for (int c = 0; c < celle.size() && c < 7; ++c)
            t.setTesto(n, c + 1, celle[c]);
    };
    auto celle = [](const std::array<QString, 7>& a) { return QStringList(a.begin(), a.end()); };
    for (const QString& s : d.intestazione)
        riga({s});
    if (!d.errore.isEmpty())
        riga({d.errore});
    if (!d.righe.empty()) {
        ++n;
        riga(celle(IntestazioniPiano()));
        for (const RigaPaginaPiano& x : d.righe)
            riga(celle(x.celle));
        riga(celle(d.totali.celle));
    }
    if (!d.note.isEmpty()) {
        ++n;
        for (const QString& s : d.note)
            riga({s});
    }
    return TestoCopia(t, std::min(n, TabellaStampa::MaxRighe), 7, true);
}
