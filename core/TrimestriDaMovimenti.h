#pragma once
// The quarters of a calculation filled from its movements ("Calcola
// trimestri dai movimenti"): each figure of the input window taken from the
// scale, with its source kept beside it; and the calculation of each other
// year the movements cover, for an archive that holds one calculation a year.
#include "Dichiarazioni.h"
#include "Scalare.h"

#include <string>

// Whether a quarter so covered is filled: a complete one always, one covered
// in part or without its closing days only when the user agreed
// (`ancheParziali`), one not covered never.
bool DaRiempire(Copertura copertura, bool ancheParziali);

// Makes `anno` the reference year of `documento` and fills its quarters from
// `scalare`, the scale of its own movements (FigureAnno). In a quarter filled
// (DaRiempire) every figure that has a source takes the scale's value and
// that source; a figure without one (the credit line when no conditions are
// in force) is left as the user typed it. In a quarter not filled, the figures
// typed by the user stay and those an earlier fill gave are cleared to 0, as
// they belong to a scale no longer applied. The origins record the year and,
// for each quarter, its coverage, whether it was filled and each figure's
// source. Throws std::out_of_range for a year the document cannot hold (see
// Documento::setAnnoRiferimento), leaving the document as it was.
void RiempiTrimestri(Documento& documento, const Scalare& scalare, int anno, bool ancheParziali);

// The name of the calculation of year `anno` made from the calculation named
// `nome`: "Rossi" gives "Rossi 2014"; a name that already ends with a year
// ("Rossi 2023") has that year replaced ("Rossi 2014").
std::string NomePerAnno(const std::string& nome, int anno);

// Typing a figure over makes it the user's: its source becomes
// FonteFigura::Nessuna. `trimestre` 1..4; any other value does nothing.
void FiguraDigitata(Documento& documento, int trimestre, CampoTrimestre campo);
