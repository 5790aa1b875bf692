#pragma once
// The copy command: the table of the window in front as tab-separated text on
// the clipboard. Every cell is followed by a blank and then a tab, or a
// carriage return and a line feed after the row's last cell.
#include "modStampa.h"

class Griglia;
class QWidget;

// Rows 1..righe and columns 1..colonne of t as text. With regolaSegno a cell
// starting with "-" or "=" gets an apostrophe in front, so that a spreadsheet
// takes it as text.
QString TestoCopia(const TabellaStampa& t, int righe, int colonne, bool regolaSegno);

QString CopiaBreve(const DatiBreve& d);
QString CopiaMutuo(const DatiMutuo& d);
QString CopiaOPE(const DatiOPE& d);
QString CopiaInput(const DatiInput& d);
// Every cell of the grid, unaltered.
QString CopiaMatematico(const Griglia& g);
QString CopiaItalia(const Griglia& g);

// The text of the window in front; false when it has no table to copy.
bool TestoCopiaFinestra(const QString& finestraCorrente, QWidget* finestra, QString& testo);

// The copy command: replaces the clipboard's contents with the table of the
// window in front. Does nothing and returns false for the title window or any
// window without a table.
bool CopiaTabellaCorrente(const QString& finestraCorrente, QWidget* finestra);
