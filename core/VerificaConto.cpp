#include "VerificaConto.h"

#include "BOX.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "ParametriUsura.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

using std::chrono::sys_days;

FormulaConto FormulaInVigore(sys_days giorno)
{
    if (giorno <= UltimoGiornoFino2009)
        return FormulaConto::Fino2009;
    if (giorno <= UltimoGiornoIstruzioni2009)
        return FormulaConto::Istruzioni2009;
    return FormulaConto::Istruzioni2016;
}

std::string NomeFormula(FormulaConto formula)
{
    switch (formula) {
    case FormulaConto::Fino2009: return "Banca d'Italia fino al 2009 (CMS esclusa)";
    case FormulaConto::Istruzioni2009: return "Istruzioni Banca d'Italia 2009";
    case FormulaConto::Istruzioni2016: return "Istruzioni Banca d'Italia 2016";
    case FormulaConto::Analitico: return "T.E.G. analitico (con anatocismo)";
    }
    return {};
}

std::string FonteFormula(FormulaConto formula)
{
    switch (formula) {
    case FormulaConto::Fino2009:
        return "Istruzioni Banca d'Italia anteriori all'agosto 2009 (CMS rilevata a parte); "
               "decide fino al 31/12/2009";
    case FormulaConto::Istruzioni2009:
        return "Istruzioni Banca d'Italia dell'agosto 2009, G.U. n. 200 del 29/08/2009; "
               "decide dal 01/01/2010 al 31/03/2017";
    case FormulaConto::Istruzioni2016:
        return "Istruzioni Banca d'Italia del luglio 2016; decide dal 01/04/2017";
    case FormulaConto::Analitico:
        return "calcolo analitico del programma: oneri per data e anatocismo sul debito medio; "
               "non decide, è di riferimento";
    }
    return {};
}

std::string TestoRuolo(RuoloFormula ruolo)
{
    switch (ruolo) {
    case RuoloFormula::Decide: return "decide";
    case RuoloFormula::Riferimento: return "(riferimento)";
    case RuoloFormula::NonInVigore: return "non in vigore nel periodo";
    }
    return {};
}

namespace {

const char* const Romani[] = {"I", "II", "III", "IV"};

// The texts of a figure inside an explanation; never throw (a value that
// cannot be written shows as "?").
std::string Tasso(double t)
{
    try {
        return FormatoTasso(t);
    } catch (const std::overflow_error&) {
        return "?";
    }
}

std::string Soglia(double s)
{
    try {
        return FormatoSoglia(s);
    } catch (const std::overflow_error&) {
        return "?";
    }
}

std::string Euro(double x)
{
    try {
        return "€ " + FormatoImporto(x);
    } catch (const std::overflow_error&) {
        return "?";
    }
}

// Why a quarter has no rate by any formula; empty when it has figures to
// compute one from.
std::string NotaSenzaTasso(const BOX& t)
{
    if (t.Numeri() == 0 && t.Interessi() != 0)
        return "interessi senza numeri debitori";
    return {};
}

// The supervisory formula as the program has always computed it: numbers
// and interest by transaction date over the reference year's days, the
// quarter's charges net of the CMS over the credit line (left out when there
// is none).
TerminiIstruzioni TerminiFino2009(const BOX& t, std::string& nota)
{
    TerminiIstruzioni f;
    f.interessi = t.TEGinteressi();
    f.numeri = t.TEGnumeri();
    f.numeriEstratto = t.Numeri();
    f.giorni = t.GiorniAnno();
    f.commissioni = t.Commissioni();
    f.spese = t.Spese();
    f.cmsEsclusa = t.CMS();
    f.oneri = t.TEGoneri();
    f.annualizzazione = 1;
    if (t.Accordato() != 0) {
        f.base = t.Accordato();
        f.tipoBase = BaseOneri::Accordato;
        f.quotaOneri = f.oneri / f.base;
    }
    f.quotaInteressi = (f.numeri == 0) ? 0 : f.giorni * f.interessi / f.numeri;
    nota = NotaSenzaTasso(t);
    if (nota.empty())
        f.tasso = t.TEG();
    return f;
}

// The formula of the August 2009 and July 2016 instructions: interest x 365
// over the statement's numbers, plus all the quarter's charges (the CMS and
// whatever fees replaced it included) x 4 over the credit line, or over the
// maximum debit balance when there is no line or the balance went beyond it.
TerminiIstruzioni TerminiIstruzioni2009(const BOX& t, std::string& nota)
{
    TerminiIstruzioni f;
    f.interessi = t.Interessi();
    f.numeri = f.numeriEstratto = t.Numeri();
    f.giorni = 365;
    f.commissioni = t.Commissioni();
    f.spese = t.Spese();
    f.oneri = f.commissioni + f.spese;
    f.annualizzazione = 4;
    const bool oltre = t.Accordato() == 0 || t.MassimoScoperto() > t.Accordato();
    f.base = oltre ? t.MassimoScoperto() : t.Accordato();
    f.tipoBase = !(f.base > 0) ? BaseOneri::Nessuna : oltre ? BaseOneri::MassimoScoperto : BaseOneri::Accordato;
    f.quotaInteressi = (f.numeri == 0) ? 0 : f.interessi * f.giorni / f.numeri;
    nota = NotaSenzaTasso(t);
    if (f.oneri != 0) {
        if (f.tipoBase == BaseOneri::Nessuna && nota.empty())
            nota = "oneri senza accordato né massimo scoperto";
        else if (f.tipoBase != BaseOneri::Nessuna)
            f.quotaOneri = f.oneri * f.annualizzazione / f.base;
    }
    if (nota.empty() && !std::isfinite(f.quotaInteressi + f.quotaOneri))
        nota = "dati incoerenti";
    if (nota.empty())
        f.tasso = f.quotaInteressi + f.quotaOneri;
    return f;
}

TerminiAnalitico TerminiAnalitici(const BOX& t, std::string& nota)
{
    TerminiAnalitico f;
    f.debitoMedio = t.DebitoMedioPerData();
    f.oneriEffettivi = t.TabOneriEffettivi();
    f.oneriEffettiviP = t.TabOneriEffettiviP();
    f.anatocismo = t.TabAnatocismo();
    f.anatocismoP = t.TabAnatocismoP();
    f.giorniTrimestre = t.GiorniTrimestre();
    f.giorniAnno = t.GiorniAnno();
    nota = NotaSenzaTasso(t);
    // Charges on no average debt have no incidence to speak of: 0 % would
    // read as a cheap quarter.
    if (nota.empty() && !(f.debitoMedio > 0) && f.oneriEffettivi != 0)
        nota = "debito medio per data nullo o negativo";
    if (nota.empty())
        f.tasso = t.TabCostoTotaleP();
    return f;
}

// A formula's figures, its rate (or why there is none).
struct Calcolo {
    std::variant<TerminiIstruzioni, TerminiAnalitico> termini;
    std::optional<double> tasso;
    std::string nota;
};

Calcolo Calcola(const BOX& t, FormulaConto formula)
{
    Calcolo c;
    switch (formula) {
    case FormulaConto::Fino2009: {
        TerminiIstruzioni f = TerminiFino2009(t, c.nota);
        c.tasso = f.tasso;
        c.termini = f;
        break;
    }
    case FormulaConto::Istruzioni2009:
    case FormulaConto::Istruzioni2016: {
        // The two instructions share the formula on the figures the
        // program asks for.
        TerminiIstruzioni f = TerminiIstruzioni2009(t, c.nota);
        c.tasso = f.tasso;
        c.termini = f;
        break;
    }
    case FormulaConto::Analitico: {
        TerminiAnalitico f = TerminiAnalitici(t, c.nota);
        c.tasso = f.tasso;
        c.termini = f;
        break;
    }
    }
    return c;
}

// The CMS check of one period, from the row of the formula in force
// (Fino2009) and the quarter's figures.
VerificaCMS VerificaCommissione(const BOX& t, std::optional<double> cmsMedia, const RigaFormula& riga)
{
    const EsitoVerifica& e = riga.esito;
    VerificaCMS v;
    v.inizio = e.inizio;
    v.fine = e.fine;
    v.cms = t.CMS();
    v.massimoScoperto = t.MassimoScoperto();
    v.numeri = t.TEGnumeri();
    v.giorni = t.GiorniAnno();
    v.cmsMedia = cmsMedia;
    const bool massimoValido = v.massimoScoperto > 0 && std::isfinite(v.massimoScoperto);
    if (massimoValido)
        v.cmsPercentuale = v.cms / v.massimoScoperto;
    if (cmsMedia) {
        v.cmsSoglia = *cmsMedia * 1.5;
        if (massimoValido)
            v.cmsEntroSoglia = ArrotondaAlCentesimo(*v.cmsSoglia * v.massimoScoperto);
    }
    v.teg = e.tasso;
    v.soglia = e.soglia;
    if (v.teg && v.soglia && v.giorni > 0) {
        v.interessiSoglia = ArrotondaAlCentesimo(*v.soglia * v.numeri / v.giorni);
        v.interessiApplicati = ArrotondaAlCentesimo(*v.teg * v.numeri / v.giorni);
        v.margine = ArrotondaAlCentesimo(*v.interessiSoglia - *v.interessiApplicati);
    }

    if (e.stato != StatoVerifica::EntroSoglia && e.stato != StatoVerifica::OltreSoglia) {
        v.stato = e.stato;
        v.spiegazione = "verifica non possibile: " + TestoStato(e.stato);
        if (!e.nota.empty())
            v.spiegazione += " (" + e.nota + ")";
        return v;
    }
    const std::string tegTesto =
        "T.E.G. senza CMS " + Tasso(*e.tasso) + (e.stato == StatoVerifica::OltreSoglia ? " oltre" : " entro") +
        " la soglia " + Soglia(*e.soglia);
    if (e.stato == StatoVerifica::OltreSoglia) {
        v.stato = StatoVerifica::OltreSoglia;
        v.decisivo = ConfrontoCMS::TEG;
        v.spiegazione = tegTesto + ": la CMS non cambia l'esito";
        return v;
    }
    if (!(v.cms > 0)) {
        v.stato = StatoVerifica::EntroSoglia;
        v.decisivo = ConfrontoCMS::TEG;
        v.spiegazione = "nessuna CMS addebitata; " + tegTesto;
        return v;
    }
    if (!massimoValido) {
        v.spiegazione = "massimo scoperto non indicato: la CMS di " + Euro(v.cms) + " non si può rapportare";
        return v;
    }
    const std::string cmsTesto = "CMS " + Tasso(*v.cmsPercentuale) + " del massimo scoperto";
    if (!cmsMedia) {
        v.spiegazione = "CMS media del periodo non indicata (" + cmsTesto + ")";
        return v;
    }
    const std::string sogliaCMS =
        " la CMS soglia " + Soglia(*v.cmsSoglia) + " (CMS media " + Tasso(*cmsMedia) + " × 1,5)";
    const double eccedenza = ArrotondaAlCentesimo(v.cms - *v.cmsEntroSoglia);
    if (!(eccedenza > 0)) {
        v.stato = StatoVerifica::EntroSoglia;
        v.decisivo = ConfrontoCMS::CMSEntroSoglia;
        v.spiegazione = cmsTesto + " entro" + sogliaCMS + "; " + tegTesto;
        return v;
    }
    v.eccedenza = eccedenza;
    const std::string oltre = cmsTesto + " oltre" + sogliaCMS + ": eccedenza " + Euro(eccedenza);
    if (eccedenza <= *v.margine) {
        v.stato = StatoVerifica::EntroSoglia;
        v.decisivo = ConfrontoCMS::MargineCapiente;
        v.spiegazione = oltre + " assorbita dal margine degli interessi " + Euro(*v.margine);
    } else {
        v.stato = StatoVerifica::OltreSoglia;
        v.decisivo = ConfrontoCMS::MargineInsufficiente;
        v.spiegazione = oltre + " superiore al margine degli interessi " + Euro(*v.margine);
    }
    return v;
}

// Quarter q (1..4) of the year; `errore` is the reason its recomputation
// failed (nullptr when it ran), in which case no formula gives a rate.
EsitoTrimestreConto Verifica(const BOX& t, int q, int anno, const ParametriUsura& usura, const SerieSoglie& serie,
                             const std::string* errore)
{
    using namespace std::chrono;
    EsitoTrimestreConto r;
    r.trimestre = q;
    r.operazione = std::string("Conto corrente, trimestre ") + Romani[q - 1];
    const sys_days da{year{anno} / month{static_cast<unsigned>(3 * q - 2)} / 1};
    const sys_days a{year{anno} / month{static_cast<unsigned>(3 * q)} / last};
    r.inVigore = FormulaInVigore(da);

    const FormulaConto tutte[] = {FormulaConto::Fino2009, FormulaConto::Istruzioni2009,
                                  FormulaConto::Istruzioni2016, FormulaConto::Analitico};
    Calcolo calcoli[4];
    for (FormulaConto f : tutte) {
        Calcolo& c = calcoli[static_cast<int>(f)];
        if (errore) {
            c.nota = *errore;
            if (f == FormulaConto::Analitico)
                c.termini = TerminiAnalitico{};
        } else {
            c = Calcola(t, f);
        }
    }

    std::optional<double> importo;
    std::string voce;
    if (t.Accordato() > 0) {
        importo = t.Accordato();
        voce = "fido accordato";
    } else if (t.MassimoScoperto() > 0) {
        importo = t.MassimoScoperto();
        voce = "massimo scoperto";
    }

    for (const TrattoSoglie& tratto : TrattiSoglie(serie, da, a)) {
        TrattoConto c;
        c.inizio = tratto.inizio;
        c.fine = tratto.fine;
        const FormulaConto vigente = FormulaInVigore(std::max(tratto.inizio, da));
        std::vector<std::pair<FormulaConto, RuoloFormula>> ordine{{vigente, RuoloFormula::Decide},
                                                                   {FormulaConto::Analitico, RuoloFormula::Riferimento}};
        for (FormulaConto f : {FormulaConto::Fino2009, FormulaConto::Istruzioni2009, FormulaConto::Istruzioni2016})
            if (f != vigente)
                ordine.push_back({f, RuoloFormula::NonInVigore});
        for (const auto& [f, ruolo] : ordine) {
            const Calcolo& calcolo = calcoli[static_cast<int>(f)];
            RigaFormula riga;
            riga.formula = f;
            riga.ruolo = ruolo;
            riga.termini = calcolo.termini;
            riga.esito = ConfrontaConSoglia(serie, tratto, r.operazione, NomeFormula(f), calcolo.tasso, calcolo.nota,
                                            usura.CategoriaConto(), usura.ClasseConto(), importo, voce);
            c.righe.push_back(std::move(riga));
        }
        if (vigente == FormulaConto::Fino2009)
            c.cms = VerificaCommissione(t, usura.CMSMedia(q), c.righe.front());
        r.tratti.push_back(std::move(c));
    }
    return r;
}

} // namespace

EsitoTrimestreConto VerificaTrimestreConto(const BOX& trimestre, int anno, const ParametriUsura& usura,
                                           const SerieSoglie& serie)
{
    const int q = trimestre.Trimestre();
    if (q < 1 || q > 4) {
        // Aggiorna refuses such a quarter; say so on the first quarter's dates.
        const std::string errore = "Numero del trimestre fuori dall'intervallo 1..4: " + std::to_string(q);
        return Verifica(trimestre, 1, anno, usura, serie, &errore);
    }
    return Verifica(trimestre, q, anno, usura, serie, nullptr);
}

std::vector<EsitoTrimestreConto> VerificaConto(const Documento& documento, const SerieSoglie& serie)
{
    std::vector<EsitoTrimestreConto> esiti;
    for (int q = 1; q <= 4; ++q) {
        BOX t = documento.Trimestri(q);
        if (t.Numeri() == 0 && t.Interessi() == 0 && t.Commissioni() == 0 && t.Spese() == 0)
            continue;
        std::string errore;
        try {
            t.Aggiorna();
        } catch (const std::logic_error& e) {
            errore = e.what();
        } catch (const std::runtime_error& e) {
            errore = e.what();
        }
        esiti.push_back(Verifica(t, q, documento.AnnoRiferimento(), documento.Usura(), serie,
                                 errore.empty() ? nullptr : &errore));
    }
    return esiti;
}
