#pragma once
// The account's pages on paper and on the clipboard: the movements, the
// conditions and the scale, each from the page its window shows; and the
// section of the expert's report that shows how the quarters' figures come
// from the movements.
#include "PaginaCondizioni.h"
#include "PaginaMovimenti.h"
#include "PaginaScalare.h"
#include "TabellaStampa.h"

#include <QString>
#include <vector>

class Documento;

// Rows a listing prints on a page, its heading included.
inline constexpr int RighePaginaElenco = 44;

// The movements: date, value date, amount, causale, description (cut to its
// column), class and running balance, the column headings again at the top of
// every page, a line under each movement after which a statement closes with
// its declared balance and whether it agrees; then the totals and each
// statement's check. As many pages as the movements need.
Rapporto RapportoMovimenti(const DatiPaginaMovimenti& d);
// Every column of every row shown, with a heading row, then the totals and the
// statements' checks.
QString CopiaMovimenti(const DatiPaginaMovimenti& d);

// The particulars, then each period as a block of its conditions, then the
// faults of the conditions.
Rapporto RapportoCondizioni(const DatiPaginaCondizioni& d);
// The particulars, then one row per period with every column.
QString CopiaCondizioni(const DatiPaginaCondizioni& d);

// The quarters' figures, then the lines of the scale (headings on every page).
Rapporto RapportoScalare(const DatiPaginaScalare& d);
QString CopiaScalare(const DatiPaginaScalare& d);

// The expert's report section "Dai movimenti ai trimestri" for the reference
// year of `d`: for each quarter the movements cover, each figure of the input
// window with its formula and its numbers, where the input figures came from,
// then each statement of the year checked (opening balance + movements =
// declared closing balance). Empty when the calculation has no movements or
// they do not reach the reference year.
std::vector<Rapporto> PagineMovimentiRelazione(const Documento& d);
