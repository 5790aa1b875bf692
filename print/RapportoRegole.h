#pragma once
// The rules that class the account's movements on paper and on the
// clipboard, both from the page the rules window shows (DatiPaginaRegole).
#include "PaginaRegole.h"
#include "TabellaStampa.h"

// The report: a header line, then each rule with its number, causali,
// words (broken over as many lines as they need), sign, class and the
// movements it classes; the totals, the rules' faults and whether they are
// still to be applied close it. As many pages as the rows need.
Rapporto RapportoRegole(const DatiPaginaRegole& d);

// The copy: a header row, one row per rule with every column of the page
// (the words whole), then the totals and the faults, tab-separated as the
// other tables are copied.
QString CopiaRegole(const DatiPaginaRegole& d);
