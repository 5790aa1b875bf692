#include "TassoLegale.h"

#include "Calendario.h"
#include "Testo.h"

#include <algorithm>
#include <charconv>

using std::chrono::sys_days;

namespace {

// Splits at every separator, each part trimmed.
std::vector<std::string_view> Campi(std::string_view s, char separatore)
{
    std::vector<std::string_view> parti = Dividi(s, separatore);
    for (std::string_view& p : parti)
        p = Rifila(p);
    return parti;
}

// Percent with at most one decimal comma (or point), 0 to below 100; the
// result is a fraction.
std::optional<double> Tasso(std::string_view s)
{
    std::string testo(s);
    std::replace(testo.begin(), testo.end(), ',', '.');
    if (testo.empty() || testo.front() == '.' || testo.back() == '.' ||
        std::count(testo.begin(), testo.end(), '.') > 1 || testo.size() > 12 ||
        !std::all_of(testo.begin(), testo.end(), [](char c) { return c == '.' || (c >= '0' && c <= '9'); }))
        return std::nullopt;
    double valore = 0;
    const auto [fine, esito] = std::from_chars(testo.data(), testo.data() + testo.size(), valore);
    if (esito != std::errc{} || fine != testo.data() + testo.size() || !(valore < 100))
        return std::nullopt;
    return valore / 100;
}

} // namespace

std::optional<SerieTassoLegale> SerieTassoLegale::Leggi(std::string_view testo, std::vector<ErroreTassoLegale>& errori)
{
    std::vector<ErroreTassoLegale> trovati;
    const auto errore = [&](int riga, std::string t) { trovati.push_back({riga, std::move(t)}); };

    if (testo.substr(0, 3) == "\xEF\xBB\xBF")
        testo.remove_prefix(3);
    const std::vector<std::string_view> righe = Campi(testo, '\n');
    std::string intestazione(righe[0]);
    std::transform(intestazione.begin(), intestazione.end(), intestazione.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    if (intestazione != Intestazione) {
        errori.push_back({1, "intestazione diversa da «" + std::string(Intestazione) + "»"});
        return std::nullopt;
    }

    SerieTassoLegale serie;
    for (std::size_t i = 1; i < righe.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        if (righe[i].empty())
            continue;
        const std::vector<std::string_view> campi = Campi(righe[i], ';');
        if (campi.size() != 3) {
            errore(n, std::to_string(campi.size()) + " campi invece di 3");
            continue;
        }
        const std::optional<sys_days> dal = LeggiData(campi[0]), al = LeggiData(campi[1]);
        const std::optional<double> tasso = Tasso(campi[2]);
        if (!dal)
            errore(n, "data di inizio non valida «" + std::string(campi[0]) + "»");
        if (!al)
            errore(n, "data di fine non valida «" + std::string(campi[1]) + "»");
        if (!tasso)
            errore(n, "tasso non valido «" + std::string(campi[2]) + "»");
        if (!dal || !al || !tasso)
            continue;
        if (*al < *dal) {
            errore(n, "la data di fine " + calendario::Testo(*al) + " precede quella di inizio " +
                          calendario::Testo(*dal));
            continue;
        }
        if (!serie.periodi_.empty()) {
            const PeriodoTassoLegale& prima = serie.periodi_.back();
            const sys_days atteso = prima.al + std::chrono::days{1};
            if (*dal <= prima.dal)
                errore(n, "il periodo dal " + calendario::Testo(*dal) + " non segue quello della riga " +
                              std::to_string(prima.riga) + " (dal " + calendario::Testo(prima.dal) + ")");
            else if (*dal < atteso)
                errore(n, "il periodo dal " + calendario::Testo(*dal) + " si sovrappone a quello della riga " +
                              std::to_string(prima.riga) + " (fino al " + calendario::Testo(prima.al) + ")");
            else if (*dal > atteso)
                errore(n, "manca il tasso dal " + calendario::Testo(atteso) + " al " +
                              calendario::Testo(*dal - std::chrono::days{1}));
        }
        serie.periodi_.push_back({*dal, *al, *tasso, n});
    }
    if (serie.periodi_.empty() && trovati.empty())
        errore(0, "nessuna riga di dati");
    if (!trovati.empty()) {
        errori.insert(errori.end(), trovati.begin(), trovati.end());
        return std::nullopt;
    }
    return serie;
}

const PeriodoTassoLegale* SerieTassoLegale::PeriodoDi(sys_days giorno) const
{
    auto it = std::upper_bound(periodi_.begin(), periodi_.end(), giorno,
                               [](sys_days g, const PeriodoTassoLegale& p) { return g < p.dal; });
    if (it == periodi_.begin())
        return nullptr;
    --it;
    return giorno <= it->al ? &*it : nullptr;
}

std::optional<double> SerieTassoLegale::TassoDel(sys_days giorno) const
{
    const PeriodoTassoLegale* p = PeriodoDi(giorno);
    if (!p)
        return std::nullopt;
    return p->tasso;
}
