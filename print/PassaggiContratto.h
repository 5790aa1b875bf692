#pragma once
// The steps of the loan contract's verdicts for the expert's report: the
// contract and its dated flows, then for the rate with costs, the default
// rate and the early repayment the threshold of the contract date with its
// formula and figures, and the verdict.
#include "PassaggiVerifica.h"

// The verdicts without the contract's rows (EsitoDelContratto): the steps of
// the other operations are made from these.
std::vector<EsitoVerifica> SenzaEsitiContratto(const std::vector<EsitoVerifica>& esiti);

// When `esiti` hold the contract's rows, appends their section ("Mutuo: il
// contratto"), computed again from the document with the series and the
// surcharges in use, as the check window computes them. Never throws but
// std::bad_alloc.
void AggiungiPassaggiContratto(std::vector<SezionePassaggi>& sezioni, const Documento& documento,
                               const std::vector<EsitoVerifica>& esiti);
