#pragma once
// The steps of the usury check written out for the expert's report: for each
// rate checked the formula with the calculation's figures put in, the
// threshold with its source (period, category, class, TEGM, the formula by
// date) and the verdict. Plain lines first, then pages of the report.
#include "Soglie.h"
#include "TabellaStampa.h"

#include <QString>
#include <chrono>
#include <vector>

class BOX;
class Documento;

struct RigaPassaggio {
    QString testo;
    int rientro = 0;  // 0 heading, 1 line, 2 line under a line
    bool grassetto = false;
};

// Lines that belong together (a quarter, a threshold): kept on one page
// when they fit on one.
using BloccoPassaggi = std::vector<RigaPassaggio>;

// The steps of one operation: the current account (its four quarters), the
// mortgage, the cash flows, the short-term financing.
struct SezionePassaggi {
    QString operazione;
    std::vector<BloccoPassaggi> blocchi;
};

// A figure put into a text: Italian decimal comma, thousands grouped by a
// no-break space, rounded to at most `massimo` decimals and trailing zeros
// dropped down to `minimo`.
QString NumeroNelTesto(double valore, int minimo, int massimo);
// An amount: no decimals when it is whole, else two.
QString ImportoNelTesto(double valore);

// The quarter's rates with their figures, for a quarter already recomputed
// (Aggiorna). The program's, as its Bank of Italy table computes it (D, the
// year's days, 365 or 366): Interessi x D x 100 / Numeri capitale + Oneri x
// 100 / Accordato; the July 2016 instructions': Interessi x 36 500 / Numeri +
// Oneri x 4 x 100 / B. Each ends "= " and the rate as the windows show it.
QString FormulaProgramma(const BOX& trimestre, int giorniAnno);
QString FormulaIstruzioni2016(const BOX& trimestre);
// Which base B the 2016 formula takes, and why.
QString BaseIstruzioni2016(const BOX& trimestre);

// The legal threshold with its figures: "9,59 × 1,5 = 14,385%" for periods
// starting up to 13/05/2011, "min(9,59 × 1,25 + 4; 9,59 + 8) = 15,9875%"
// after; TEGM in points.
QString FormulaSoglia(double tegmPunti, std::chrono::sys_days inizioPeriodo);

// The steps for verdicts already computed on the document (VerificaConteggio),
// one section per operation in the verdicts' order. Recomputes copies of the
// parts; the document is not changed. Never throws but std::bad_alloc.
std::vector<SezionePassaggi> PassaggiVerifica(const Documento& documento,
                                              const std::vector<EsitoVerifica>& esiti);

// The report pages of a section: its lines wrapped to the paper's width, a
// block that fits a page never split across two, as many pages as needed.
std::vector<Rapporto> RapportiPassaggi(const SezionePassaggi& sezione);
