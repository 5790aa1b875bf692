#include "VerificaContratto.h"

#include "ContrattoConteggio.h"
#include "Dichiarazioni.h"
#include "MaggiorazioniInUso.h"
#include "PaginaSoglia.h"

namespace {

// The calculations the contract's rows name (VerificaMutuo.h).
constexpr const char* formule[] = {"T.A.E.G. con i costi", "tasso di mora pattuito",
                                   "T.A.E.G. all'estinzione con penale"};

} // namespace

std::vector<VerificaMutuo> VerificheContratto(const Documento& d, const SerieSoglie& serie,
                                              const SerieMaggiorazioniMora& maggiorazioni)
{
    std::vector<VerificaMutuo> v;
    if (!d.Contratto().Indicati())
        return v;
    const EsameContratto e = EsaminaContratto(d);
    const SceltaSoglia scelta{d.Usura().CategoriaMutuo(), d.Usura().ClasseMutuo()};
    TassiMutuo tassi = e.tassi;
    if (!e.piano)
        tassi.conCosti = Risultato<double>::Fallito(e.piano.Errore());
    v.push_back(VerificaTassoMutuo(e.contratto, tassi, serie, scelta));
    if (auto mora = VerificaMoraMutuo(e.contratto, serie, maggiorazioni, scelta))
        v.push_back(std::move(*mora));
    const Risultato<CasoEstinzione> caso =
        e.piano ? e.estinzione : Risultato<CasoEstinzione>::Fallito(e.piano.Errore());
    if (auto estinzione = VerificaEstinzioneMutuo(e.contratto, caso, serie, scelta))
        v.push_back(std::move(*estinzione));
    return v;
}

bool EsitoDelContratto(const EsitoVerifica& esito)
{
    if (esito.operazione.rfind("Mutuo", 0) != 0)
        return false;
    for (const char* f : formule)
        if (esito.formula == f)
            return true;
    return false;
}

void AggiungiVerificheContratto(DatiPaginaSoglia& p, const Documento& d, const SerieSoglie& serie)
{
    std::vector<EsitoVerifica> esiti;
    for (VerificaMutuo& v : VerificheContratto(d, serie, MaggiorazioniInUso()))
        esiti.push_back(std::move(v.esito));
    if (esiti.empty())
        return;
    for (RigaPaginaSoglia& r : RigheSoglia(esiti))
        p.righe.push_back(std::move(r));
    p.esiti.insert(p.esiti.end(), esiti.begin(), esiti.end());
    const QString avviso = AvvisoMaggiorazioni();
    if (!avviso.isEmpty())
        p.avviso += (p.avviso.isEmpty() ? QString() : QStringLiteral("\n")) + avviso;
}
