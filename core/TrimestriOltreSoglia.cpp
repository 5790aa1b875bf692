#include "TrimestriOltreSoglia.h"

#include "BOX.h"
#include "VerificaConto.h"

#include <stdexcept>

namespace {

// The quarter's input fields as the usury check takes them.
BOX Trimestre(const FigureTrimestre& f)
{
    BOX b;
    b.setTrimestre(f.trimestre);
    b.setAnnoRiferimento(static_cast<std::int16_t>(f.anno));
    b.setNumeri(f.numeri.valore);
    b.setInteressi(f.interessi.valore);
    b.setCommissioni(f.commissioni.valore);
    b.setSpese(f.spese.valore);
    b.setGiorniValuta(f.giorniValuta.valore);
    b.setCMS(f.cms.valore);
    b.setAccordato(f.accordato.valore);
    b.setMassimoScoperto(f.massimoScoperto.valore);
    return b;
}

// The verdict of a quarter from its periods (see TrimestreSoglia::stato).
void Verdetto(const EsitoTrimestreConto& e, TrimestreSoglia& t)
{
    const TrattoConto* scelto = nullptr;
    for (const TrattoConto& tratto : e.tratti)
        if (tratto.Stato() == StatoVerifica::OltreSoglia) {
            scelto = &tratto;
            break;
        }
    if (!scelto)
        for (const TrattoConto& tratto : e.tratti)
            if (tratto.Stato() != StatoVerifica::EntroSoglia) {
                scelto = &tratto;
                break;
            }
    if (!scelto && !e.tratti.empty())
        scelto = &e.tratti.back();
    t.formula = NomeFormula(e.inVigore);
    if (!scelto)
        return;
    const EsitoVerifica& esito = scelto->Decisiva().esito;
    t.stato = scelto->Stato();
    t.tasso = esito.tasso;
    t.soglia = esito.soglia;
    t.nota = scelto->cms && !scelto->cms->spiegazione.empty() ? scelto->cms->spiegazione : esito.nota;
}

} // namespace

std::vector<TrimestreAnno> VerificaMovimenti::Oltre() const
{
    std::vector<TrimestreAnno> r;
    for (const TrimestreSoglia& t : trimestri)
        if (t.oltre)
            r.push_back(t.trimestre);
    return r;
}

VerificaMovimenti VerificaTrimestriMovimenti(const ContoMovimenti& conto, int annoRiferimento,
                                             const ParametriUsura& usura, const SerieSoglie& serie)
{
    VerificaMovimenti r;
    Scalare scalare;
    try {
        scalare = CalcolaScalare(conto.movimenti, conto.saldi, conto.condizioni);
    } catch (const std::logic_error& e) {
        r.errore = e.what();
        return r;
    } catch (const std::runtime_error& e) {
        r.errore = e.what();
        return r;
    }
    // The average CMS is typed for the quarters of the reference year only.
    ParametriUsura senzaCMS = usura;
    for (int q = 1; q <= 4; ++q)
        senzaCMS.setCMSMedia(q, 0);

    int anno = 0;
    std::array<FigureTrimestre, 4> figure{};
    for (const TrimestreScalare& q : scalare.trimestri) {
        if (q.copertura == Copertura::Nessuna)
            continue;
        if (q.anno != anno) {
            anno = q.anno;
            figure = FigureAnno(scalare, anno);
        }
        TrimestreSoglia t;
        t.trimestre = {q.anno, q.trimestre};
        t.copertura = q.copertura;
        BOX b = Trimestre(figure[static_cast<std::size_t>(q.trimestre - 1)]);
        try {
            b.Aggiorna();
            Verdetto(VerificaTrimestreConto(b, q.anno, q.anno == annoRiferimento ? usura : senzaCMS, serie), t);
        } catch (const std::logic_error& e) {
            t.nota = e.what();
        } catch (const std::runtime_error& e) {
            t.nota = e.what();
        }
        t.oltre = t.stato == StatoVerifica::OltreSoglia && q.copertura != Copertura::Parziale;
        if (t.stato == StatoVerifica::OltreSoglia && !t.oltre)
            t.nota = "trimestre coperto solo in parte dagli estratti: non considerato oltre la soglia";
        r.trimestri.push_back(std::move(t));
    }
    return r;
}
