#pragma once
// Exporting tables to files for a spreadsheet: an Excel workbook with one
// sheet per table, or an Italian CSV file. Files are written whole or not at
// all: a failure leaves what was on disk as it was.
#include "TabellaEsportazione.h"

#include <QString>
#include <functional>
#include <vector>

class QWidget;

enum class FormatoEsportazione { Excel, CSV };

// Writes the tables as an .xlsx workbook, one sheet each in their order:
// the title and subtitle on top, then the rows; amounts, rates, numbers and
// dates as values with Italian-looking display formats, text as text; the
// column headings bold, the sheet frozen below them; A4 portrait, one page
// wide. The workbook's title is that of the first table. Throws
// std::runtime_error with the user's text when the file cannot be written.
void ScriviExcel(const std::vector<TabellaEsportazione>& tabelle, const QString& percorso);

// Writes TestoCSV(t). Throws std::runtime_error like ScriviExcel.
void ScriviCSV(const TabellaEsportazione& t, const QString& percorso);

// Replaces the file at percorso with dati in one step (through a hidden
// file in the same folder, then renamed): on failure throws
// std::runtime_error naming the file and the cause, the old file untouched
// and nothing left beside it. On success its folder is the one CartellaUscite
// proposes next.
void ScriviFileIntero(const QString& percorso, const QByteArray& dati);

// The folder proposed for an output file (export, report, PDF, chart): the
// folder of the last one written in this run while it exists, else the
// user's documents folder, else the home folder.
QString CartellaUscite();

// The file name asked for by the export commands: the proposed path in, the
// chosen path out, empty when cancelled. The default is the system's save
// dialog; tests install their own.
using SceltaFileEsportazione =
    std::function<QString(QWidget* genitore, const QString& proposto, FormatoEsportazione formato)>;
void ImpostaSceltaFileEsportazione(SceltaFileEsportazione scelta);

// The export commands "Esporta in Excel…" and "Esporta CSV…": asks for the
// file, over `genitore`, and writes the report's table (that of the window in
// front). False when there is no report (a message says so) or the choice is
// cancelled; a write failure is thrown, for the command runner to report.
bool EsportaTabellaCorrente(const Rapporto* rapporto, FormatoEsportazione formato, QWidget* genitore);
