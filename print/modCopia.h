#pragma once
// The copy command: the table of the window in front as tab-separated text on
// the clipboard. Every cell is followed by a blank and then a tab, or a
// carriage return and a line feed after the row's last cell.
#include "modStampa.h"

class Griglia;

// Rows 1..righe and columns 1..colonne of t as text. With regolaSegno a cell
// starting with "-" or "=" gets an apostrophe in front, so that a spreadsheet
// takes it as text.
QString TestoCopia(const TabellaStampa& t, int righe, int colonne, bool regolaSegno);

// The tables of the reports of the same pages.
QString CopiaBreve(const DatiPaginaBreve& d);
QString CopiaMutuo(const DatiPaginaMutuo& d);
QString CopiaOPE(const DatiPaginaOPE& d);
QString CopiaInput(const DatiPaginaInput& d);
// Every cell of the grid, unaltered.
QString CopiaMatematico(const Griglia& g);
QString CopiaItalia(const Griglia& g);

// The copy command: replaces the clipboard's contents with the text. False
// when there is no clipboard.
bool CopiaTabellaCorrente(const QString& testo);
