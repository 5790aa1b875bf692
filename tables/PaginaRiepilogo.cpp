#include "PaginaRiepilogo.h"

#include "Funzioni.h"
#include "PaginaSoglia.h"
#include "PagineFinanziamenti.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <utility>

using namespace std::chrono;

namespace {

bool Verdetto(StatoVerifica s) { return s == StatoVerifica::EntroSoglia || s == StatoVerifica::OltreSoglia; }

std::optional<double> Valore(const std::optional<double>& t)
{
    if (!t || *t == DatiIncoerenti || !std::isfinite(*t * 100))
        return std::nullopt;
    return t;
}

// The line of a loan's rate.
RigaRiepilogo Riga(const QString& conteggio, const EsitoVerifica& e, const RigaPaginaSoglia& t)
{
    RigaRiepilogo r;
    r.conteggio = conteggio;
    r.operazione = t.operazione;
    r.formula = t.formula;
    r.periodo = t.periodo;
    r.categoria = t.categoria;
    r.teg = t.tasso;
    r.tegm = t.tegm;
    r.soglia = t.soglia;
    r.margine = t.margine;
    r.esito = t.esito;
    r.nota = t.nota;
    r.oltre = t.Oltre();
    r.stato = t.stato;
    r.inizio = e.inizio;
    r.fine = e.fine;
    r.valoreTeg = Valore(e.tasso);
    r.valoreSoglia = Valore(e.soglia);
    return r;
}

// The line of a quarter in one period: the formula in force with its
// verdict (with the CMS check's, up to 2009), the analytic rate beside.
// `testi` are the period's rows as the check window writes them, the
// deciding one first.
RigaRiepilogo RigaTrimestre(const QString& conteggio, const TrattoConto& t, const RigaPaginaSoglia* testi)
{
    const RigaFormula& decisiva = t.Decisiva();
    const RigaPaginaSoglia& d = testi[0];
    RigaRiepilogo r;
    r.conteggio = conteggio;
    r.operazione = d.operazione;
    r.formula = d.formula;
    r.periodo = d.periodo;
    r.categoria = d.categoria;
    r.teg = d.tasso;
    r.tegm = d.tegm;
    r.soglia = d.soglia;
    r.margine = d.margine;
    r.nota = d.nota;
    r.trimestre = true;
    r.inizio = decisiva.esito.inizio;
    r.fine = decisiva.esito.fine;
    r.valoreTeg = Valore(decisiva.esito.tasso);
    r.valoreSoglia = Valore(decisiva.esito.soglia);
    for (std::size_t i = 0; i < t.righe.size(); ++i)
        if (t.righe[i].formula == FormulaConto::Analitico) {
            r.tegAnalitico = testi[i].tasso;
            r.valoreAnalitico = Valore(t.righe[i].esito.tasso);
        }
    StatoVerifica stato = t.Stato();
    if (!t.cms && d.stato != decisiva.esito.stato)
        stato = d.stato;  // a verdict on a rate that cannot be written is none
    r.stato = stato;
    r.oltre = stato == StatoVerifica::OltreSoglia;
    r.esito = r.oltre ? TestoOltreSoglia : QString::fromStdString(TestoStato(stato));
    // The CMS check says which comparison decided; the line keeps it where
    // the CMS weighed on the verdict or left none (the check window has the
    // rest). Without a verdict on the rate, the rate's own reason stands.
    if (t.cms && Verdetto(decisiva.esito.stato))
        r.nota = t.cms->decisivo == ConfrontoCMS::MargineCapiente ||
                         t.cms->decisivo == ConfrontoCMS::MargineInsufficiente || !Verdetto(stato)
                     ? testi[t.righe.size()].nota
                     : QString();
    else if (!Verdetto(decisiva.esito.stato) || d.stato != decisiva.esito.stato)
        r.nota = d.nota;
    return r;
}

QDate Mezzo(sys_days inizio, sys_days fine) { return DataQt(inizio + (fine - inizio) / 2); }

void Punti(const RigaRiepilogo& r, DatiGrafico& g)
{
    if (!r.trimestre || !r.inizio || !r.fine)
        return;
    const QDate data = Mezzo(*r.inizio, *r.fine);
    const auto aggiungi = [&](std::vector<PuntoGrafico>& serie, const std::optional<double>& v) {
        if (v)
            serie.push_back({data, *v * 100, {}});
    };
    aggiungi(g.teg, r.valoreTeg);
    aggiungi(g.analitico, r.valoreAnalitico);
    aggiungi(g.soglia, r.valoreSoglia);
    // One mark per quarter above the threshold, on its deciding rate.
    if (r.oltre && r.valoreTeg)
        g.oltre.push_back({data, *r.valoreTeg * 100, r.teg});
}

} // namespace

QString DatiPaginaRiepilogo::TestoTotali() const
{
    return QStringLiteral("Trimestri verificati: %1 \u2013 oltre la soglia: %2")
        .arg(trimestriVerificati)
        .arg(trimestriOltre);
}

DatiPaginaRiepilogo PaginaRiepilogo(const std::vector<ConteggioRiepilogo>& conteggi, const QString& fonte)
{
    DatiPaginaRiepilogo d;
    d.fonte = fonte;
    QStringList inclusi;
    std::set<std::pair<QString, std::string>> verificati, oltre;
    for (const ConteggioRiepilogo& c : conteggi) {
        if (!c.errore.isEmpty()) {
            d.esclusi << QStringLiteral("Escluso dal riepilogo: %1").arg(c.errore);
            continue;
        }
        inclusi << c.nome;
        const std::vector<RigaPaginaSoglia> conto = RigheConto(c.conto);
        std::size_t k = 0;
        for (const EsitoTrimestreConto& q : c.conto)
            for (const TrattoConto& t : q.tratti) {
                const std::size_t quante = t.righe.size() + (t.cms ? 1 : 0);
                if (t.righe.empty() || k + quante > conto.size())
                    continue;
                d.righe.push_back(RigaTrimestre(c.nome, t, &conto[k]));
                k += quante;
                if (Verdetto(d.righe.back().stato))
                    verificati.insert({c.nome, q.operazione});
                if (d.righe.back().oltre)
                    oltre.insert({c.nome, q.operazione});
            }
        const std::vector<RigaPaginaSoglia> testi = RigheSoglia(c.esiti);
        for (std::size_t i = 0; i < c.esiti.size(); ++i)
            d.righe.push_back(Riga(c.nome, c.esiti[i], testi[i]));
    }
    // Date order; lines with no period last, in the order of their calculation.
    std::stable_sort(d.righe.begin(), d.righe.end(), [](const RigaRiepilogo& a, const RigaRiepilogo& b) {
        if (!a.inizio || !b.inizio)
            return a.inizio.has_value() && !b.inizio.has_value();
        return *a.inizio < *b.inizio;
    });
    for (const RigaRiepilogo& r : d.righe)
        Punti(r, d.grafico);
    d.trimestriVerificati = static_cast<int>(verificati.size());
    d.trimestriOltre = static_cast<int>(oltre.size());
    d.sottotitolo = inclusi.isEmpty() ? QStringLiteral("Nessun conteggio scelto")
                                      : QStringLiteral("%1 %2: %3")
                                            .arg(inclusi.size())
                                            .arg(inclusi.size() == 1 ? QStringLiteral("conteggio")
                                                                     : QStringLiteral("conteggi"))
                                            .arg(inclusi.join(QStringLiteral(", ")));
    return d;
}

Griglia GrigliaRiepilogo(const DatiPaginaRiepilogo& dati)
{
    Griglia g = GrigliaElenco(
        {
            {"Conteggio", 1300, Qt::AlignLeft},   {"Operazione", 1900, Qt::AlignLeft},
            {"Periodo", 1250, Qt::AlignLeft},     {"Categoria", 2300, Qt::AlignLeft},
            {"Formula che decide", 1900, Qt::AlignLeft}, {"T.E.G.", 1000, Qt::AlignRight},
            {"T.E.G. analitico (riferimento)", 1200, Qt::AlignRight}, {"TEGM", 850, Qt::AlignRight},
            {"Soglia", 850, Qt::AlignRight},      {"Margine (punti)", 900, Qt::AlignRight},
            {"Esito", 1900, Qt::AlignLeft},
        },
        static_cast<int>(dati.righe.size()));
    for (int i = 0; i < static_cast<int>(dati.righe.size()); ++i) {
        const RigaRiepilogo& r = dati.righe[static_cast<std::size_t>(i)];
        const QString esito = r.nota.isEmpty() ? r.esito : r.esito + QLatin1Char('\n') + r.nota;
        // The operation and the period break where they read well, leaving
        // the room to the category, the formula and the verdict.
        QString operazione = r.operazione, periodo = r.periodo;
        operazione.replace(QStringLiteral(", "), QStringLiteral(",\n"));
        periodo.replace(QStringLiteral(" \u2013 "), QStringLiteral(" \u2013\n"));
        RigaElenco(g, i + 1, {r.conteggio, operazione, periodo, r.categoria, r.formula, r.teg, r.tegAnalitico,
                              r.tegm, r.soglia, r.margine, esito});
        g.Cella(i + 1, 6).attenuata = true;
        g.Cella(i + 1, g.Colonne() - 1).grassetto = r.oltre;
    }
    return g;
}
