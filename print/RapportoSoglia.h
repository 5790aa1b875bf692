#pragma once
// The usury check on paper and on the clipboard, both from the page the
// check window shows (DatiPaginaSoglia).
#include "PaginaSoglia.h"
#include "TabellaStampa.h"

// The report: a header line, then for each rate a line with operation,
// calculation, period, TEGM, threshold, rate, margin and verdict, and an
// indented line with category and class (and the grid rate beside an exact
// rate); a rate over the threshold is printed in bold. The source of the
// thresholds closes it. One page unless the rows do not fit, then as many
// as they need.
Rapporto RapportoSoglia(const DatiPaginaSoglia& d);

// The copy: one row per rate with every column of the page, a header row
// first and the source of the thresholds last, tab-separated as the other
// tables are copied.
QString CopiaSoglia(const DatiPaginaSoglia& d);
