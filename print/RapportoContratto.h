#pragma once
// The loan's contract on paper and on the clipboard: its lines below the
// mortgage report's rows, and the amortisation plan as a report of its own.
#include "PaginaContratto.h"
#include "PaginaPiano.h"
#include "TabellaStampa.h"

struct DatiPaginaMutuo;

// Rows a report page holds between the title and the page number.
inline constexpr int RighePaginaContratto = 44;

// Appends the contract's lines to the mortgage report after its row `ultima`
// (an empty row first): data, costs, results, faults, headings in bold,
// label in column 1 and value in column 2; then sets its pages. Nothing when
// the contract is not given. Returns the last row used.
int AggiungiContratto(Rapporto& r, const DatiPaginaContratto& contratto, int ultima);

// The rows of the mortgage's report and copy: 9, and the contract's lines.
int RigheRapportoMutuo(const DatiPaginaMutuo& d);

// "Piano di ammortamento": what the plan is of, then the column headings
// (repeated at the top of each page) and one row per date, the totals in
// bold, the notes; or why there is no plan. As many pages as it needs.
Rapporto RapportoPiano(const DatiPaginaPiano& d);

// The copy: the same rows with the headings once, tab-separated as every
// table is copied.
QString CopiaPiano(const DatiPaginaPiano& d);
