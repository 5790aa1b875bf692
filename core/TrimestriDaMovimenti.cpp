#include "TrimestriDaMovimenti.h"

#include <cctype>

namespace {

void Imposta(BOX& b, CampoTrimestre c, double v)
{
    switch (c) {
    case CampoTrimestre::Numeri: b.setNumeri(v); break;
    case CampoTrimestre::Interessi: b.setInteressi(v); break;
    case CampoTrimestre::Commissioni: b.setCommissioni(v); break;
    case CampoTrimestre::Spese: b.setSpese(v); break;
    case CampoTrimestre::GiorniValuta: b.setGiorniValuta(v); break;
    case CampoTrimestre::CMS: b.setCMS(v); break;
    case CampoTrimestre::Accordato: b.setAccordato(v); break;
    case CampoTrimestre::MassimoScoperto: b.setMassimoScoperto(v); break;
    }
}

// The scale's figures in the order of CampoTrimestre.
std::array<FiguraTrimestre, CampiTrimestre> InOrdine(const FigureTrimestre& f)
{
    return {f.numeri, f.interessi, f.commissioni, f.spese, f.giorniValuta, f.cms, f.accordato, f.massimoScoperto};
}

} // namespace

bool DaRiempire(Copertura copertura, bool ancheParziali)
{
    return copertura == Copertura::Completa || (ancheParziali && copertura != Copertura::Nessuna);
}

void RiempiTrimestri(Documento& documento, const Scalare& scalare, int anno, bool ancheParziali)
{
    documento.setAnnoRiferimento(anno);  // the only step that may fail: nothing changed before it
    const std::array<FigureTrimestre, 4> figure = FigureAnno(scalare, anno);
    OriginiTrimestri& origini = documento.ContoCorrente().origini;
    const OriginiTrimestri prima = origini;
    origini.anno = anno;
    for (std::size_t t = 0; t < 4; ++t) {
        BOX& b = documento.Trimestri(static_cast<int>(t) + 1);
        OrigineTrimestre& o = origini.trimestri[t];
        o.copertura = figure[t].copertura;
        o.riempito = DaRiempire(o.copertura, ancheParziali);
        const auto valori = InOrdine(figure[t]);
        for (std::size_t k = 0; k < CampiTrimestre; ++k) {
            const auto campo = static_cast<CampoTrimestre>(k);
            const bool calcolato = prima.anno != 0 && prima.trimestri[t].fonti[k] != FonteFigura::Nessuna;
            if (o.riempito && valori[k].fonte != FonteFigura::Nessuna) {
                Imposta(b, campo, valori[k].valore);
                o.fonti[k] = valori[k].fonte;
                continue;
            }
            if (calcolato)
                Imposta(b, campo, 0);
            o.fonti[k] = FonteFigura::Nessuna;
        }
    }
}

std::string NomePerAnno(const std::string& nome, int anno)
{
    std::string base = nome;
    const auto cifra = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    const std::size_t n = base.size();
    if (n >= 5 && base[n - 5] == ' ' && cifra(base[n - 4]) && cifra(base[n - 3]) && cifra(base[n - 2]) &&
        cifra(base[n - 1]))
        base.resize(n - 5);
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    return base.empty() ? std::to_string(anno) : base + " " + std::to_string(anno);
}

void FiguraDigitata(Documento& documento, int trimestre, CampoTrimestre campo)
{
    if (trimestre < 1 || trimestre > 4)
        return;
    documento.ContoCorrente().origini.trimestri[static_cast<std::size_t>(trimestre - 1)]
        .fonti[static_cast<std::size_t>(campo)] = FonteFigura::Nessuna;
}
