#pragma once
// A table as exported to a spreadsheet: rows of typed cells (text, amount,
// rate, date, number), a title and the row that names the columns. Built from
// a report's print table, or directly from plain page data; written as a sheet
// of an Excel workbook or as an Italian CSV file.
#include "TabellaStampa.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <vector>

enum class TipoCella {
    Vuota,
    Testo,
    Importo,  // euro, two decimals
    Tasso,    // a fraction, shown as a percentage (0.08125 = 8,125%)
    Numero,   // any other number, with its own count of decimals
    Data,
};

struct CellaEsportazione {
    TipoCella tipo = TipoCella::Vuota;
    QString testo;        // the text as the window shows it
    double valore = 0;    // Importo, Tasso, Numero
    int decimali = 0;     // decimals shown: 2 for amounts, 3 for rates
    bool euro = false;    // Importo shown with "€ " in front
    bool migliaia = true; // Numero shown with "." between thousands ("2012" has none)
    QDate data;           // Data
    bool grassetto = false;
};

struct TabellaEsportazione {
    QString titolo;       // first line of the sheet
    QString sottotitolo;  // second line; empty: none
    QString foglio;       // sheet name wanted (cleaned by NomeFoglio)
    std::vector<std::vector<CellaEsportazione>> righe;
    // Index in righe of the row naming the columns: bold, and the sheet is
    // frozen below it. -1: the table has none (only the title is frozen).
    int rigaIntestazione = -1;

    int Colonne() const;
};

// Reads a cell text as the windows write it: "1.234,56" and "€ -1.234,56"
// (amounts), "8,125%" (rates), "31/12/2012" (dates), "120" or "1.500" (whole
// numbers); anything else, "dati incoerenti" included, stays text, and blanks
// only make an empty cell. Never fails.
CellaEsportazione LeggiCella(const QString& testo);

// The printed columns of a report (the spacer columns it does not print are
// left out), the rows of every printed page, each cell bold as the report prints it.
// The column headings are the first bold row holding only text in two or more
// cells. The sheet is named after the subtitle when there is one (the three
// current-account tables share their title), else after the title less its
// leading "T.E.G. su ".
TabellaEsportazione TabellaDaRapporto(const Rapporto& r);

// A sheet name Excel accepts: at most 31 characters (cut at a blank where one
// is near), without []:*?/\ or leading and trailing apostrophes, never empty,
// different (case-insensitively) from every name in usati.
QString NomeFoglio(const QString& voluto, const QStringList& usati);

// The table as CSV for an Italian spreadsheet: UTF-8 with a byte order mark
// (without it Excel reads the file in the system's 8-bit code page and spoils
// "€" and accented letters), ";" between fields, lines ending in CR LF,
// numbers without thousands separators and with a decimal comma ("1234,56",
// rates "8,125%"), dates dd/mm/yyyy. The title, the subtitle and an empty line
// come first, as on the sheet. Fields holding ";", quotes or line breaks are
// quoted; a text starting with "=", "+", "-" or "@" gets an apostrophe in
// front so that no spreadsheet takes it as a formula, unless it is a label
// of a sign, a blank and words ("= Oneri effettivamente addebitati"), which
// is quoted and written as it is.
QByteArray TestoCSV(const TabellaEsportazione& t);
