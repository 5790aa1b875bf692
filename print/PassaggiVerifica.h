#pragma once
// The steps of the usury check written out for the expert's report: for each
// rate checked the formula with the calculation's figures put in (for each
// quarter of the current account every formula, the one in force first),
// the threshold with its source (period, category, class, TEGM, the formula
// by date), the verdicts and, up to 2009, the CMS check. Every formula with
// its figures gives its printed result when worked again from the printed
// figures: a figure is printed with as many decimals as that takes. Plain
// lines first, then pages of the report.
#include "Soglie.h"
#include "TabellaStampa.h"
#include "VerificaConto.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <utility>
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

// The steps of one operation: the current account (its quarters), the
// mortgage, the cash flows, the short-term financing.
struct SezionePassaggi {
    QString operazione;
    std::vector<BloccoPassaggi> blocchi;
};

// A figure put into a text: Italian decimal comma, thousands grouped by "."
// as the tables group them, rounded to at most `massimo` decimals and
// trailing zeros dropped down to `minimo`; "?" when not finite.
QString NumeroNelTesto(double valore, int minimo, int massimo);
// An amount as the tables write it: "9.000.000,00".
QString ImportoNelTesto(double valore);

// The fewest decimals to add to each figure's least (from 0 to 10) so that
// `formula`, worked on the figures rounded so, gives a result that `testo`
// writes as `stampato`. Each figure is its value and its least decimals.
// 10 when none does.
int DecimaliNecessari(const std::vector<std::pair<double, int>>& cifre,
                      const std::function<double(const std::vector<double>&)>& formula,
                      const std::function<QString(double)>& testo, const QString& stampato);

// The legal threshold with its figures: "9,59 × 1,5 = 14,385%" for periods
// starting up to 13/05/2011, "min(9,59 × 1,25 + 4; 9,59 + 8) = 15,9875%"
// after; TEGM in points.
QString FormulaSoglia(double tegmPunti, std::chrono::sys_days inizioPeriodo);

// The lines of one Bank of Italy formula of a quarter with its figures:
// what the charges are, the base they are divided by, the formula, and its
// figures ending "= " and the rate as the windows show it (or why there is
// none). `trimestre` is the quarter, recomputed (Aggiorna).
QStringList PassaggiIstruzioni(FormulaConto formula, const TerminiIstruzioni& t, const BOX& trimestre);
// The lines of the analytic cost of quarter `trimestre` (recomputed) with
// its figures: charges, average debt, their incidence, the compounding.
QStringList PassaggiAnalitico(const TerminiAnalitico& t, const BOX& trimestre);
// The lines of a quarter's CMS check with its figures, the last one the
// verdict and which comparison settled it.
QStringList PassaggiCMS(const VerificaCMS& v);

// The steps for checks already computed on the document: the current
// account's quarters (VerificaConto) first, then the other rates
// (VerificaConteggio), one section per operation in the verdicts' order.
// Recomputes copies of the parts; the document is not changed. Never throws
// but std::bad_alloc.
std::vector<SezionePassaggi> PassaggiVerifica(const Documento& documento,
                                              const std::vector<EsitoTrimestreConto>& conto,
                                              const std::vector<EsitoVerifica>& esiti);

// The width of a text in twips as the page frame prints a row, and the text
// broken between words into lines no wider than `stanza` twips.
double LarghezzaStampa(const QString& testo, bool grassetto);
QStringList SpezzaStampa(const QString& testo, bool grassetto, double stanza);

// The report pages of a section: its lines wrapped to the paper's width, a
// block that fits a page never split across two, as many pages as needed.
std::vector<Rapporto> RapportiPassaggi(const SezionePassaggi& sezione);
