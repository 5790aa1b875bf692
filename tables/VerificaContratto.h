#pragma once
// The loan's contract in the usury check: the rate with its costs, the
// default rate and the early-repayment case, each against the threshold of
// the contract date, appended to the rows of the check window.
#include "VerificaMutuo.h"

#include <vector>

class Documento;
struct DatiPaginaSoglia;

// The contract's verdicts, in this order: the rate with the costs in it, the
// default rate (when the contract has one), the early repayment (when it is
// considered). None when the contract is not given. Never throws (only
// std::bad_alloc).
std::vector<VerificaMutuo> VerificheContratto(const Documento& documento, const SerieSoglie& serie,
                                              const SerieMaggiorazioniMora& maggiorazioni);

// True for a row of VerificheContratto.
bool EsitoDelContratto(const EsitoVerifica& esito);

// Appends the contract's verdicts (against the series and surcharges in use)
// to the page's verdicts and rows, and why the surcharges could not be read
// to its notice. Never throws (only std::bad_alloc).
void AggiungiVerificheContratto(DatiPaginaSoglia& pagina, const Documento& documento, const SerieSoglie& serie);
