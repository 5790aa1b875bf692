#include "RapportoRiepilogo.h"

#include "modCopia.h"

#include <algorithm>
#include <iterator>

namespace {

enum ColonnaRapporto { Conteggio = 1, Operazione, Periodo, Teg, Teg2016, Tegm, Soglia, Margine, Esito, Dettaglio };

// Rows a page holds between the title and the page number.
constexpr int RigheMassime = 44;

// "Conto corrente, trimestre I" is shortened on paper to leave room for the figures.
QString OperazioneBreve(const QString& s)
{
    QString t = s;
    return t.replace(QStringLiteral("Conto corrente, trimestre"), QStringLiteral("C/c, trim."));
}

} // namespace

Rapporto RapportoRiepilogo(const DatiPaginaRiepilogo& d)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaRiepilogo");
    r.titolo = d.titolo;
    r.sottotitolo = d.sottotitolo;
    r.colonne = {{Conteggio, 500, 0}, {Operazione, 2000, 0}, {Periodo, 3650, 0}, {Teg, 6350, 2},
                 {Teg2016, 7200, 2},  {Tegm, 7950, 2},       {Soglia, 8750, 2},  {Margine, 9500, 2},
                 {Esito, 9650, 0},    {Dettaglio, 700, 0}};
    TabellaStampa& t = r.tabella;
    // Room kept at the end for the totals, the lines left out and the source.
    const int finali = 4 + static_cast<int>(d.esclusi.size());
    const int ultimaRiga = std::max(3, TabellaStampa::MaxRighe - finali);
    int n = 1;
    const QString intestazioni[] = {"Conteggio", "Operazione", "Periodo", "T.E.G.", "T.E.G. 2016",
                                    "TEGM",      "Soglia",     "Margine", "Esito"};
    for (int c = Conteggio; c <= Esito; ++c)
        t.setTesto(n, c, intestazioni[c - 1]);
    t.setRigaGrassetto(n, true);
    n += 2;
    QString categoria;
    int nonStampate = 0;
    for (const RigaRiepilogo& riga : d.righe) {
        const bool nuovaCategoria = riga.categoria != categoria;
        if (n + (nuovaCategoria ? 1 : 0) > ultimaRiga) {
            ++nonStampate;
            continue;
        }
        if (nuovaCategoria) {
            categoria = riga.categoria;
            t.setTesto(n++, Dettaglio,
                       QStringLiteral("Categoria: ") +
                           (categoria.isEmpty() ? QStringLiteral("non indicata") : categoria));
        }
        const QString testi[] = {riga.conteggio, OperazioneBreve(riga.operazione), riga.periodo, riga.teg,
                                 riga.teg2016,   riga.tegm,  riga.soglia, riga.margine, riga.esito};
        for (int c = Conteggio; c <= Esito; ++c)
            t.setTesto(n, c, testi[c - 1]);
        t.setRigaGrassetto(n, riga.oltre);
        ++n;
    }
    ++n;
    t.setTesto(n++, Conteggio, d.TestoTotali());
    if (nonStampate > 0)
        t.setTesto(n++, Conteggio,
                   QStringLiteral("%1 righe non stampate per mancanza di spazio: la copia le contiene tutte.")
                       .arg(nonStampate));
    for (const QString& e : d.esclusi)
        if (n <= TabellaStampa::MaxRighe)
            t.setTesto(n++, Conteggio, e);
    for (const QString& f : d.fonte.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (n <= TabellaStampa::MaxRighe)
            t.setTesto(n++, Conteggio, f);
    const int righe = std::min(n - 1, TabellaStampa::MaxRighe);
    r.RighePerPagina = std::min(righe, RigheMassime);
    r.NumeroPagine = (righe + RigheMassime - 1) / RigheMassime;
    return r;
}

QString CopiaRiepilogo(const DatiPaginaRiepilogo& d)
{
    const QString intestazioni[] = {"Conteggio", "Operazione", "Periodo", "Categoria",
                                    "T.E.G. (programma)", "T.E.G. (Istruzioni 2016)", "TEGM", "Soglia",
                                    "Margine (punti)", "Esito", "Nota"};
    constexpr int colonne = static_cast<int>(std::size(intestazioni));
    std::vector<std::vector<QString>> righe;
    righe.emplace_back(std::begin(intestazioni), std::end(intestazioni));
    for (const RigaRiepilogo& r : d.righe)
        righe.push_back({r.conteggio, r.operazione, r.periodo, r.categoria, r.teg, r.teg2016, r.tegm, r.soglia,
                         r.margine, r.esito, r.nota});
    righe.emplace_back();
    righe.push_back({d.TestoTotali()});
    for (const QString& e : d.esclusi)
        righe.push_back({e});
    for (const QString& f : d.fonte.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        righe.push_back({f});
    // A print table holds a limited number of rows: the copy is made of as
    // many as it takes.
    QString testo;
    for (std::size_t inizio = 0; inizio < righe.size(); inizio += TabellaStampa::MaxRighe) {
        TabellaStampa t;
        const std::size_t fine = std::min(righe.size(), inizio + TabellaStampa::MaxRighe);
        for (std::size_t i = inizio; i < fine; ++i)
            for (std::size_t c = 0; c < righe[i].size(); ++c)
                t.setTesto(static_cast<int>(i - inizio) + 1, static_cast<int>(c) + 1, righe[i][c]);
        testo += TestoCopia(t, static_cast<int>(fine - inizio), colonne, true);
    }
    return testo;
}
