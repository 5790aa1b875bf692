#include "ContrattoConteggio.h"

#include "Dichiarazioni.h"
#include "Funzioni.h"

#include <cmath>

bool DatiContratto::Indicati() const
{
    return dataPrimaRata || tan != 0 || !costi.empty() || mora.tipo != TipoMora::Nessuna || estinzione.considerata ||
           taegDichiarato || giorniPreammortamento != 0;
}

double CostiPerRata(const std::vector<CostoMutuo>& costi)
{
    double somma = 0;
    for (const CostoMutuo& c : costi)
        if (c.pagamento == PagamentoCosto::OgniRata)
            somma += c.importo;
    return somma;
}

ContrattoMutuo ContrattoDi(const Documento& d)
{
    const Mutuo& m = d.MutuoCorrente();
    const DatiContratto& dati = d.Contratto();
    ContrattoMutuo c;
    c.importo = m.Importo();
    c.dataStipula = d.Usura().DataStipula();
    c.dataPrimaRata = dati.dataPrimaRata;
    c.tan = dati.tan;
    c.base = dati.base;
    c.metodo = dati.metodo;
    c.rateAnnuali = static_cast<int>(m.RateAnnuali());
    c.numeroRate = static_cast<int>(m.NRate());
    c.giorniPreammortamento = dati.giorniPreammortamento;
    c.taegDichiarato = dati.taegDichiarato;
    // The window's instalment includes the costs of each instalment; the
    // plan's does not. A costs sum that is not a number leaves the
    // instalment as typed, for the check to report the cost.
    if (m.Rata() != 0) {
        const double perRata = CostiPerRata(dati.costi);
        c.rataDichiarata = std::isfinite(perRata) ? ArrotondaAlCentesimo(m.Rata() - perRata) : m.Rata();
    }
    c.costi = dati.costi;
    c.mora = dati.mora;
    c.estinzione = dati.estinzione;
    return c;
}

EsameContratto EsaminaContratto(const Documento& d)
{
    return EsaminaContratto(ContrattoDi(d));
}

EsameContratto EsaminaContratto(const ContrattoMutuo& c)
{
    EsameContratto e;
    e.contratto = c;
    e.errori = ControllaContratto(c);
    e.piano = CalcolaPiano(c);
    if (e.piano) {
        const PianoAmmortamento& p = *e.piano;
        e.tassi = CalcolaTassi(c, p);
        e.perCosto = TassiPerCosto(c, p);
        e.confronto = ConfrontaRata(c, p);
        e.estinzione = CalcolaEstinzione(c, p);
    }
    bool moraValida = true;
    for (const ErroreContratto& x : e.errori)
        if (x.campo == CampoContratto::Mora || x.campo == CampoContratto::Tan)
            moraValida = false;
    if (moraValida)
        e.mora = TassoMora(c);
    return e;
}
