#pragma once
// The multi-year overview on paper and on the clipboard, both from the page
// the overview window shows (DatiPaginaRiepilogo).
#include "PaginaRiepilogo.h"
#include "TabellaStampa.h"

// The report: a header line, then one line per period checked with
// calculation, operation, period, both rates, TEGM, threshold, margin and
// verdict (bold above the threshold); the category as an indented line
// wherever it changes; then the totals, the calculations left out and the
// source of the thresholds. As many pages as the lines need; lines beyond
// what a report holds are counted in a closing line, not dropped unsaid.
Rapporto RapportoRiepilogo(const DatiPaginaRiepilogo& d);

// The copy: a header row, one row per line with every column of the page,
// then the totals, the calculations left out and the source, tab-separated
// as the other tables are copied. Holds every line, however many.
QString CopiaRiepilogo(const DatiPaginaRiepilogo& d);
