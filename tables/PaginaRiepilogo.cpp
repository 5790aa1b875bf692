#include "PaginaRiepilogo.h"

#include "PaginaSoglia.h"
#include "PagineFinanziamenti.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

using namespace std::chrono;

namespace {

const std::string FormulaProgramma = "T.E.G. del programma";
const std::string Formula2016 = "T.E.G. Istruzioni 2016";

bool Verdetto(StatoVerifica s) { return s == StatoVerifica::EntroSoglia || s == StatoVerifica::OltreSoglia; }

bool Trimestre(const EsitoVerifica& e) { return e.operazione.rfind("Conto corrente", 0) == 0; }

// The line of one rate alone (a loan, or a quarter whose 2016 row is missing).
RigaRiepilogo Riga(const QString& conteggio, const EsitoVerifica& e, const RigaPaginaSoglia& t)
{
    RigaRiepilogo r;
    r.conteggio = conteggio;
    r.operazione = t.operazione;
    if (e.formula != FormulaProgramma && !Trimestre(e))
        r.operazione += QStringLiteral(" (%1)").arg(t.formula);
    r.periodo = t.periodo;
    r.categoria = t.categoria;
    r.teg = t.tasso;
    r.tegm = t.tegm;
    r.soglia = t.soglia;
    r.margine = t.margine;
    r.esito = t.esito;
    r.nota = t.nota;
    r.trimestre = Trimestre(e);
    r.oltre = t.Oltre();
    r.inizio = e.inizio;
    r.fine = e.fine;
    r.valoreTeg = e.tasso;
    r.valoreSoglia = e.soglia;
    return r;
}

// Adds the 2016 T.E.G. of the same quarter and period to its line.
void Affianca(RigaRiepilogo& r, const EsitoVerifica& primo, const EsitoVerifica& e, const RigaPaginaSoglia& t)
{
    r.teg2016 = t.tasso;
    r.valoreTeg2016 = e.tasso;
    if (r.tegm.isEmpty())
        r.tegm = t.tegm;
    if (r.soglia.isEmpty()) {
        r.soglia = t.soglia;
        r.valoreSoglia = e.soglia;
    }
    // The margin of the higher rate: the smaller of the two.
    if (e.margine && (!primo.margine || *e.margine < *primo.margine))
        r.margine = t.margine;
    QStringList note;
    if (primo.stato == StatoVerifica::OltreSoglia && e.stato != StatoVerifica::OltreSoglia)
        note << QStringLiteral("oltre la soglia il T.E.G. del programma");
    else if (e.stato == StatoVerifica::OltreSoglia && primo.stato != StatoVerifica::OltreSoglia)
        note << QStringLiteral("oltre la soglia il T.E.G. Istruzioni 2016");
    if (primo.stato == StatoVerifica::OltreSoglia || e.stato == StatoVerifica::OltreSoglia) {
        r.oltre = true;
        r.esito = TestoOltreSoglia;
    } else if (!Verdetto(primo.stato) && e.stato == StatoVerifica::EntroSoglia) {
        r.esito = t.esito;
    }
    if (!r.nota.isEmpty())
        note << r.nota;
    if (!t.nota.isEmpty() && t.nota != r.nota)
        note << t.nota;
    r.nota = note.join(QStringLiteral("; "));
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
    aggiungi(g.teg2016, r.valoreTeg2016);
    aggiungi(g.soglia, r.valoreSoglia);
    // One mark per line above the threshold, on the higher rate.
    if (!r.oltre)
        return;
    const bool secondo = r.valoreTeg2016 && (!r.valoreTeg || *r.valoreTeg2016 > *r.valoreTeg);
    const std::optional<double>& v = secondo ? r.valoreTeg2016 : r.valoreTeg;
    if (v)
        g.oltre.push_back({data, *v * 100, secondo ? r.teg2016 : r.teg});
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
        const std::vector<RigaPaginaSoglia> testi = RigheSoglia(c.esiti);
        for (std::size_t i = 0; i < c.esiti.size(); ++i) {
            const EsitoVerifica& e = c.esiti[i];
            RigaRiepilogo r = Riga(c.nome, e, testi[i]);
            if (Trimestre(e) && e.formula == FormulaProgramma && i + 1 < c.esiti.size()) {
                const EsitoVerifica& s = c.esiti[i + 1];
                if (s.formula == Formula2016 && s.operazione == e.operazione && s.inizio == e.inizio &&
                    s.fine == e.fine) {
                    Affianca(r, e, s, testi[i + 1]);
                    if (Verdetto(s.stato))
                        verificati.insert({c.nome, e.operazione});
                    ++i;
                }
            } else if (Trimestre(e) && e.formula == Formula2016) {
                std::swap(r.teg, r.teg2016);
                std::swap(r.valoreTeg, r.valoreTeg2016);
            }
            if (r.trimestre && Verdetto(e.stato))
                verificati.insert({c.nome, e.operazione});
            if (r.trimestre && r.oltre)
                oltre.insert({c.nome, e.operazione});
            d.righe.push_back(std::move(r));
        }
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
            {"Periodo", 1250, Qt::AlignLeft},     {"Categoria", 2500, Qt::AlignLeft},
            {"T.E.G. (programma)", 1200, Qt::AlignRight}, {"T.E.G. (Istruzioni 2016)", 1200, Qt::AlignRight},
            {"TEGM", 850, Qt::AlignRight},        {"Soglia", 850, Qt::AlignRight},
            {"Margine (punti)", 900, Qt::AlignRight}, {"Esito", 1900, Qt::AlignLeft},
        },
        static_cast<int>(dati.righe.size()));
    for (int i = 0; i < static_cast<int>(dati.righe.size()); ++i) {
        const RigaRiepilogo& r = dati.righe[static_cast<std::size_t>(i)];
        const QString esito = r.nota.isEmpty() ? r.esito : r.esito + QLatin1Char('\n') + r.nota;
        RigaElenco(g, i + 1, {r.conteggio, r.operazione, r.periodo, r.categoria, r.teg, r.teg2016, r.tegm,
                              r.soglia, r.margine, esito});
        g.Cella(i + 1, g.Colonne() - 1).grassetto = r.oltre;
    }
    return g;
}
