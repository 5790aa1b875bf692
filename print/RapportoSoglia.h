#pragma once
// The usury check on paper and on the clipboard, both from the page the
// check window shows (DatiPaginaSoglia).
#include "PaginaSoglia.h"
#include "TabellaStampa.h"

// The report: a header line, then for each operation and period a bold line
// naming them, an indented line with category, class and TEGM, and one line
// per rate with what it is (and, for a quarter, its role), threshold, rate,
// grid rate (beside an exact rate), margin and verdict, its note indented
// under it; a rate that decides and is over the threshold is printed in
// bold. What each formula is, the source of the thresholds and any warning
// close it. As many pages as the rows need; every text fits its place.
Rapporto RapportoSoglia(const DatiPaginaSoglia& d);

// The copy: one row per rate with every column of the page, a header row
// first, then what each formula is and the source of the thresholds,
// tab-separated as the other tables are copied.
QString CopiaSoglia(const DatiPaginaSoglia& d);
