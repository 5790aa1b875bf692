#include "RapportoRiepilogo.h"

#include "modCopia.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

enum ColonnaRapporto { Conteggio = 1, Operazione, Periodo, Formula, Teg, Analitico, Tegm, Soglia, Margine, Esito, Dettaglio };

// Rows a page holds between the title and the page number.
constexpr int RigheMassime = 44;

// "Conto corrente, trimestre I" is shortened on paper to leave room for the figures.
QString OperazioneBreve(const QString& s)
{
    QString t = s;
    return t.replace(QStringLiteral("Conto corrente, trimestre"), QStringLiteral("C/c, trim."));
}

// The formulas of the Bank of Italy are shortened on paper too; a line at
// the end says what each short name stands for.
const std::pair<FormulaConto, const char*> Sigle[] = {{FormulaConto::Fino2009, "BdI fino al 2009"},
                                                      {FormulaConto::Istruzioni2009, "Istr. BdI 2009"},
                                                      {FormulaConto::Istruzioni2016, "Istr. BdI 2016"}};

QString FormulaBreve(const QString& formula)
{
    for (const auto& [f, sigla] : Sigle)
        if (formula == QString::fromStdString(NomeFormula(f)))
            return QString::fromUtf8(sigla);
    return formula;
}

// "Istr. BdI 2009 = Istruzioni Banca d'Italia 2009; ..." for the short names used.
QString LegendaSigle(const DatiPaginaRiepilogo& d)
{
    QStringList voci;
    for (const auto& [f, sigla] : Sigle) {
        const QString nome = QString::fromStdString(NomeFormula(f));
        if (std::any_of(d.righe.begin(), d.righe.end(), [&](const RigaRiepilogo& r) { return r.formula == nome; }))
            voci << QString::fromUtf8(sigla) + QStringLiteral(" = ") + nome;
    }
    return voci.isEmpty() ? QString() : QStringLiteral("Formula che decide: ") + voci.join(QStringLiteral("; "));
}

} // namespace

Rapporto RapportoRiepilogo(const DatiPaginaRiepilogo& d)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaRiepilogo");
    r.titolo = d.titolo;
    r.sottotitolo = d.sottotitolo;
    r.colonne = {{Conteggio, 500, 0}, {Operazione, 1750, 0}, {Periodo, 2700, 0}, {Formula, 4750, 0},
                 {Teg, 6600, 2},      {Analitico, 7400, 2},  {Tegm, 8100, 2},    {Soglia, 8950, 2},
                 {Margine, 9600, 2},  {Esito, 9750, 0},      {Dettaglio, 700, 0}};
    TabellaStampa& t = r.tabella;
    // Room kept at the end for the totals, the lines left out and the source.
    const int finali = 6 + static_cast<int>(d.esclusi.size());
    const int ultimaRiga = std::max(3, TabellaStampa::MaxRighe - finali);
    int n = 1;
    const QString intestazioni[] = {"Conteggio", "Operazione", "Periodo", "Formula", "T.E.G.", "Analitico",
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
        const QString testi[] = {riga.conteggio,    OperazioneBreve(riga.operazione), riga.periodo,
                                 FormulaBreve(riga.formula), riga.teg, riga.tegAnalitico, riga.tegm,
                                 riga.soglia,       riga.margine,  riga.esito};
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
    if (const QString legenda = LegendaSigle(d); !legenda.isEmpty() && n <= TabellaStampa::MaxRighe)
        t.setTesto(n++, Conteggio, legenda);
    if (n <= TabellaStampa::MaxRighe)
        t.setTesto(n++, Conteggio,
                   QStringLiteral("Analitico: T.E.G. analitico (con anatocismo), di riferimento: non decide."));
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
    const QString intestazioni[] = {"Conteggio", "Operazione", "Periodo", "Categoria", "Formula che decide",
                                    "T.E.G.", "T.E.G. analitico (riferimento)", "TEGM", "Soglia",
                                    "Margine (punti)", "Esito", "Nota"};
    constexpr int colonne = static_cast<int>(std::size(intestazioni));
    std::vector<std::vector<QString>> righe;
    righe.emplace_back(std::begin(intestazioni), std::end(intestazioni));
    for (const RigaRiepilogo& r : d.righe)
        righe.push_back({r.conteggio, r.operazione, r.periodo, r.categoria, r.formula, r.teg, r.tegAnalitico,
                         r.tegm, r.soglia, r.margine, r.esito, r.nota});
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
