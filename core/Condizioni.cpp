#include "Condizioni.h"

#include "Testo.h"

#include <algorithm>

const CondizioniPeriodo* CondizioniDel(const CondizioniConto& condizioni, std::chrono::sys_days giorno)
{
    const auto& p = condizioni.periodi;
    auto dopo = std::upper_bound(p.begin(), p.end(), giorno,
                                 [](std::chrono::sys_days g, const CondizioniPeriodo& c) { return g < c.dal; });
    return dopo == p.begin() ? nullptr : &*std::prev(dopo);
}

std::vector<ErroreCondizioni> ControllaCondizioni(const CondizioniConto& condizioni)
{
    std::vector<ErroreCondizioni> errori;
    const auto& p = condizioni.periodi;
    if (p.empty())
        errori.push_back({0, "Non è indicato alcun periodo di condizioni."});
    for (std::size_t i = 0; i < p.size(); ++i) {
        const CondizioniPeriodo& c = p[i];
        const std::string nome = "Condizioni dal " + TestoData(c.dal) + ": ";
        if (i > 0 && c.dal <= p[i - 1].dal)
            errori.push_back({i, nome + (c.dal == p[i - 1].dal ? "un altro periodo inizia lo stesso giorno."
                                                                : "il periodo precede quello dal " +
                                                                      TestoData(p[i - 1].dal) + ".")});
        const std::pair<double, const char*> tassi[] = {{c.tassoDebitore, "il tasso debitore"},
                                                        {c.tassoDebitoreOltreFido, "il tasso debitore oltre il fido"},
                                                        {c.tassoCreditore, "il tasso creditore"},
                                                        {c.percentualeCMS, "la percentuale della CMS"}};
        for (const auto& [t, testo] : tassi)
            if (!(t >= 0 && t <= 1))
                errori.push_back({i, nome + testo + " deve essere compreso tra 0 e 100%."});
        if (c.accordato < 0)
            errori.push_back({i, nome + "il fido accordato non può essere negativo."});
        if (c.speseFisse < 0)
            errori.push_back({i, nome + "le spese fisse non possono essere negative."});
        const std::pair<const std::optional<std::chrono::sys_days>*, const char*> patti[] = {
            {&c.tassiPattuiti, "dei tassi"},
            {&c.capitalizzazionePattuita, "della capitalizzazione"},
            {&c.cmsPattuita, "della CMS"},
            {&c.commissioniPattuite, "delle commissioni"}};
        for (const auto& [data, testo] : patti)
            if (*data && **data < c.dal)
                errori.push_back({i, nome + "la pattuizione scritta " + testo + " (" + TestoData(**data) +
                                         ") precede l'inizio del periodo."});
    }
    return errori;
}
