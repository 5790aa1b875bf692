#pragma once
// Figures of a realistic current-account year and the quarter formulas worked
// out here on their own, to check the tables against.
#include "Dichiarazioni.h"
#include "Funzioni.h"

#include <QString>
#include <array>
#include <cmath>

struct FigureTrimestre {
    double numeri, interessi, commissioni, spese, giorniValuta, accordato, cms;
};

inline const std::array<FigureTrimestre, 4> FigureEsempio = {{
    {9000000.00, 2000.00, 500.00, 100.00, 3.00, 150000.00, 300.00},
    {12500000.00, 2650.40, 610.25, 85.50, 2.50, 150000.00, 400.00},
    {7300000.55, 1820.10, 380.00, 92.30, 4.00, 120000.00, 250.00},
    {10100000.00, 2300.75, 520.40, 110.00, 3.50, 0.00, 350.00},
}};

inline void CaricaFigure(Documento& d, int anno, const std::array<FigureTrimestre, 4>& f = FigureEsempio)
{
    d.setAnnoRiferimento(anno);
    for (int q = 1; q <= 4; ++q) {
        BOX& b = d.Trimestri(q);
        const FigureTrimestre& t = f[q - 1];
        b.setNumeri(t.numeri);
        b.setInteressi(t.interessi);
        b.setCommissioni(t.commissioni);
        b.setSpese(t.spese);
        b.setGiorniValuta(t.giorniValuta);
        b.setAccordato(t.accordato);
        b.setCMS(t.cms);
    }
}

// One quarter worked out from its figures.
struct Atteso {
    double interessi, interessiP, commissioni, commissioniP, spese, speseP;
    double valutaInteressi, valutaInteressiP, valutaCommissioni, valutaCommissioniP;
    double oneri, oneriP, anatocismo, anatocismoP, costo, costoP;
    double debitoValuta, debitoData;
    double tegNumeri, tegOneri, tegInteressi, teg;
};

inline Atteso Calcola(const FigureTrimestre& f, int q, int anno)
{
    const double D = anno % 4 == 0 ? 366 : 365;
    const double G = q == 1 ? (D == 366 ? 91 : 90) : q == 2 ? 91 : 92;
    const double R = q == 1 ? D : q == 2 ? 275 : q == 3 ? 184 : 92;
    const double E = G - f.giorniValuta;
    const double numD = E * f.numeri / G;
    const double A = numD / G;
    auto inc = [&](double x) { return A == 0 ? 0.0 : x / A * D / G; };
    Atteso a{};
    a.interessi = E * f.interessi / G;
    a.interessiP = inc(a.interessi);
    a.commissioni = E * f.commissioni / G;
    a.commissioniP = inc(a.commissioni);
    a.spese = f.spese;
    a.speseP = inc(a.spese);
    a.valutaInteressi = f.interessi - a.interessi;
    a.valutaInteressiP = inc(a.valutaInteressi);
    a.valutaCommissioni = f.commissioni - a.commissioni;
    a.valutaCommissioniP = inc(a.valutaCommissioni);
    a.oneri = a.interessi + a.commissioni + a.spese + a.valutaInteressi + a.valutaCommissioni;
    a.oneriP = a.interessiP + a.commissioniP + a.speseP + a.valutaInteressiP + a.valutaCommissioniP;
    a.anatocismoP = std::pow(1 + G * a.oneriP / R, R / G) - 1 - a.oneriP;
    a.anatocismo = A * a.anatocismoP;
    a.costo = a.oneri + a.anatocismo;
    a.costoP = a.oneriP + a.anatocismoP;
    a.debitoData = A;
    a.debitoValuta = f.numeri / G;
    a.tegInteressi = f.interessi;
    a.tegNumeri = numD;
    a.tegOneri = f.commissioni + f.spese - f.cms;
    a.teg = numD == 0 ? 0 : D * a.tegInteressi / numD;
    if (f.accordato != 0)
        a.teg = a.tegOneri / f.accordato + a.teg;
    return a;
}

inline QString N(double x) { return QString::fromStdString(FormatoImporto(x)); }
inline QString E(double x) { return QStringLiteral("\u20AC ") + N(x); }
inline QString R(double x) { return QString::fromStdString(FormatoTasso(x)); }
