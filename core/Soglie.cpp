#include "Soglie.h"

#include "Dichiarazioni.h"

#include <algorithm>

std::optional<SerieSoglie> SerieSoglie::Leggi(std::string_view, std::vector<ErroreSoglie>& errori)
{
    errori.push_back({0, "Lettura della serie non ancora disponibile"});
    return std::nullopt;
}

std::size_t SerieSoglie::NumeroRighe() const { return 0; }
std::optional<std::chrono::sys_days> SerieSoglie::PrimaData() const { return std::nullopt; }
std::optional<std::chrono::sys_days> SerieSoglie::UltimaData() const { return std::nullopt; }
std::vector<const PeriodoSoglie*> SerieSoglie::PeriodiDopoUnaLacuna() const { return {}; }
const PeriodoSoglie* SerieSoglie::PeriodoDi(std::chrono::sys_days) const { return nullptr; }
std::vector<const PeriodoSoglie*> SerieSoglie::PeriodiTra(std::chrono::sys_days, std::chrono::sys_days) const
{
    return {};
}
std::vector<std::string> SerieSoglie::Categorie(const PeriodoSoglie&) { return {}; }
std::string SerieSoglie::CategoriaDelPeriodo(const PeriodoSoglie&, std::string_view) { return {}; }
std::vector<std::string> SerieSoglie::Classi(const PeriodoSoglie&, std::string_view) { return {}; }
const RigaSoglia* SerieSoglie::Riga(const PeriodoSoglie&, std::string_view, std::string_view) { return nullptr; }
const RigaSoglia* SerieSoglie::RigaPerImporto(const PeriodoSoglie&, std::string_view, double) { return nullptr; }

double SerieSoglie::SogliaLegale(double tegm, std::chrono::sys_days inizioPeriodo)
{
    using namespace std::chrono;
    if (inizioPeriodo <= sys_days{year{2011} / May / 13})
        return tegm * 1.5;
    return std::min(tegm * 1.25 + 4, tegm + 8);
}

std::string TestoStato(StatoVerifica stato)
{
    switch (stato) {
    case StatoVerifica::EntroSoglia: return "entro soglia";
    case StatoVerifica::OltreSoglia: return "OLTRE SOGLIA";
    case StatoVerifica::SogliaNonDisponibile: return "soglia non disponibile";
    case StatoVerifica::CategoriaNonPrevista: return "categoria non prevista";
    case StatoVerifica::CategoriaNonScelta: return "categoria non scelta";
    case StatoVerifica::ClasseNonDeterminabile: return "classe non determinabile";
    case StatoVerifica::TassoNonDeterminabile: return "tasso non determinabile";
    case StatoVerifica::DataMancante: return "data non indicata";
    }
    return {};
}

std::vector<EsitoVerifica> VerificaConteggio(const Documento&, const SerieSoglie&)
{
    return {};
}
