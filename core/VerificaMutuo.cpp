#include "VerificaMutuo.h"

#include "Funzioni.h"

#include <charconv>
#include <cmath>

using namespace std::chrono;

namespace {

// 19.785 -> "19,785", 2.1 -> "2,10": two to four decimals.
std::string Punti(double valore)
{
    char testo[64];
    const auto [fine, esito] = std::to_chars(testo, testo + sizeof testo, valore, std::chars_format::fixed, 4);
    if (esito != std::errc{})
        return "?";
    std::string r(testo, fine);
    while (r.size() > 3 && r.back() == '0' && r[r.size() - 3] != '.')
        r.pop_back();
    for (char& c : r)
        if (c == '.')
            c = ',';
    return r;
}

// The legal formula written out for a base in points (TEGM, or TEGM + surcharge).
// Which formula the period takes is read from SogliaLegale itself: at 100
// points the old one gives 150, the new one 108.
std::string Calcolo(const std::string& base, double valoreBase, sys_days inizio)
{
    const std::string soglia = Punti(SerieSoglie::SogliaLegale(valoreBase, inizio));
    if (SerieSoglie::SogliaLegale(100, inizio) == 150)
        return base + " × 1,5 = " + soglia;
    return "min(" + base + " × 1,25 + 4; " + base + " + 8) = " + soglia;
}

struct Mora {
    const SerieMaggiorazioniMora* serie = nullptr;
    bool oltreCinqueAnni = false;
};

// The rate against the threshold of the contract date's period; with
// `mora`, of TEGM plus the surcharge.
VerificaMutuo Verifica(std::string operazione, std::string formula, const Risultato<double>& tasso,
                       const ContrattoMutuo& c, const SerieSoglie& serie, const SceltaSoglia& scelta, Mora mora = {})
{
    VerificaMutuo v;
    EsitoVerifica& e = v.esito;
    e.operazione = std::move(operazione);
    e.formula = std::move(formula);
    e.tasso = tasso.Opzionale();
    e.categoria = scelta.categoria;
    e.classe = scelta.classe;
    if (!c.dataStipula) {
        e.stato = StatoVerifica::DataMancante;
        e.nota = "indicare la data del contratto";
        return v;
    }
    const PeriodoSoglie* periodo = serie.PeriodoDi(*c.dataStipula);
    if (!periodo) {
        e.stato = StatoVerifica::SogliaNonDisponibile;
        e.nota = "nessuna soglia per il " + TestoGiorno(*c.dataStipula);
        return v;
    }
    e.inizio = periodo->inizio;
    e.fine = periodo->fine;
    // Before the first surveyed surcharge no default threshold exists, whatever
    // the category: say that, not a fault of the category chosen.
    if (mora.serie) {
        const std::optional<sys_days> prima = mora.serie->PrimaData();
        if (!prima || *c.dataStipula < *prima) {
            e.stato = StatoVerifica::SogliaNonDisponibile;
            e.nota = prima ? "nessuna maggiorazione media di mora rilevata prima del " + TestoGiorno(*prima) +
                                 ": soglia di mora non determinabile"
                           : "maggiorazioni medie di mora non disponibili: soglia di mora non determinabile";
            return v;
        }
    }
    if (scelta.categoria.empty()) {
        e.stato = StatoVerifica::CategoriaNonScelta;
        return v;
    }
    const std::string categoria = SerieSoglie::CategoriaDelPeriodo(*periodo, scelta.categoria);
    if (categoria.empty()) {
        e.stato = StatoVerifica::CategoriaNonPrevista;
        e.nota = "il periodo non prevede la categoria «" + scelta.categoria + "»";
        return v;
    }
    e.categoria = categoria;
    const RigaSoglia* riga = scelta.classe.empty() ? SerieSoglie::RigaPerImporto(*periodo, categoria, c.importo)
                                                   : SerieSoglie::Riga(*periodo, categoria, scelta.classe);
    if (!riga) {
        e.stato = StatoVerifica::ClasseNonDeterminabile;
        e.nota = scelta.classe.empty() ? "nessuna classe per l'importo finanziato: scegliere la classe"
                                       : "il periodo non prevede la classe «" + scelta.classe + "»";
        return v;
    }
    e.classe = riga->classe;
    if (scelta.classe.empty())
        e.importoClasse = c.importo;
    e.tegm = riga->tegm / 100;

    double base = riga->tegm;
    std::string testoBase = Punti(riga->tegm);
    if (mora.serie) {
        const RigaMaggiorazione* m =
            mora.serie->Maggiorazione(*c.dataStipula, CategoriaMoraPer(categoria, mora.oltreCinqueAnni));
        if (!m) {
            e.stato = StatoVerifica::SogliaNonDisponibile;
            e.nota = "maggiorazione media di mora non nota per il " + TestoGiorno(*c.dataStipula);
            return v;
        }
        v.maggiorazione = m->punti / 100;
        v.fonteMaggiorazione = m->fonte;
        base += m->punti;
        testoBase = "(" + testoBase + " + " + Punti(m->punti) + ")";
    }
    const double soglia = SerieSoglie::SogliaLegale(base, periodo->inizio);
    e.soglia = soglia / 100;
    v.calcolo = Calcolo(testoBase, base, periodo->inizio);
    if (!tasso) {
        e.stato = StatoVerifica::TassoNonDeterminabile;
        e.nota = tasso.Errore();
        return v;
    }
    e.margine = *e.soglia - *tasso;
    // Compared in points, as the threshold check of the other operations.
    e.stato = *tasso * 100 > soglia + 1e-9 ? StatoVerifica::OltreSoglia : StatoVerifica::EntroSoglia;
    return v;
}

} // namespace

bool OltreCinqueAnni(const ContrattoMutuo& c)
{
    if (!c.dataStipula || !c.dataPrimaRata || c.numeroRate < 1 || c.rateAnnuali < 1 || 12 % c.rateAnnuali != 0 ||
        c.numeroRate > ContrattoMutuo::MassimoRate)
        return false;
    const sys_days ultima = SpostaMesi(*c.dataPrimaRata, (c.numeroRate - 1) * (12 / c.rateAnnuali), true);
    return ultima > SpostaMesi(*c.dataStipula, 60, true);
}

VerificaMutuo VerificaTassoMutuo(const ContrattoMutuo& c, const TassiMutuo& tassi, const SerieSoglie& serie,
                                 const SceltaSoglia& scelta)
{
    return Verifica("Mutuo", "T.A.E.G. con i costi", tassi.conCosti, c, serie, scelta);
}

std::optional<VerificaMutuo> VerificaMoraMutuo(const ContrattoMutuo& c, const SerieSoglie& serie,
                                               const SerieMaggiorazioniMora& maggiorazioni, const SceltaSoglia& scelta)
{
    const std::optional<double> mora = TassoMora(c);
    if (!mora)
        return std::nullopt;
    Risultato<double> tasso = *mora;
    for (const ErroreContratto& e : ControllaContratto(c))
        if (e.campo == CampoContratto::Mora || e.campo == CampoContratto::Tan)
            tasso = Risultato<double>::Fallito(e.testo);
    return Verifica("Mutuo, interessi di mora", "tasso di mora pattuito", tasso, c, serie, scelta,
                    {&maggiorazioni, OltreCinqueAnni(c)});
}

std::optional<VerificaMutuo> VerificaEstinzioneMutuo(const ContrattoMutuo& c, const Risultato<CasoEstinzione>& caso,
                                                     const SerieSoglie& serie, const SceltaSoglia& scelta)
{
    if (!c.estinzione.considerata)
        return std::nullopt;
    const Risultato<double> tasso = caso ? caso->tassoConPenale : Risultato<double>::Fallito(caso.Errore());
    return Verifica("Mutuo, estinzione anticipata", "T.A.E.G. all'estinzione con penale", tasso, c, serie, scelta);
}
