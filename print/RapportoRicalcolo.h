#pragma once
// The recalculation of the account on paper and on the clipboard, all from
// the page the window shows (DatiPaginaRicalcolo): the window's print table,
// its copy, and the pages of the expert's report.
#include "PaginaRicalcolo.h"
#include "PassaggiVerifica.h"
#include "TabellaStampa.h"

#include <QString>
#include <vector>

// The window's print table: the options chosen, the totals, the rows per year
// and per quarter (bank, recomputed, difference), each part under its
// heading. Beyond the rows a print table holds, a last line says that the
// rest is in the report. Without a result: the options and the faults.
Rapporto RapportoRicalcolo(const DatiPaginaRicalcolo& d);

// The copy: every part of the page, the remittances and the two balances
// day by day included, tab-separated, with no limit of rows.
QString CopiaRicalcolo(const DatiPaginaRicalcolo& d);

// The report's lines: the options with their laws and the quarters checked
// against the threshold; each quarter's working (formula and numbers); the
// remittances that paid undue charges with their parts and whether they are
// prescribed, then the totals with their working.
SezionePassaggi PassaggiOpzioniRicalcolo(const DatiPaginaRicalcolo& d);
SezionePassaggi PassaggiTrimestriRicalcolo(const DatiPaginaRicalcolo& d);
SezionePassaggi PassaggiRimesseRicalcolo(const DatiPaginaRicalcolo& d);

// The report pages of a results grid (per year or per quarter), its headings
// repeated on every page, as many pages as it needs.
std::vector<Rapporto> RapportiRisultatiRicalcolo(const Griglia& g, const QString& titolo,
                                                 const QString& sottotitolo);
