#pragma once
// The current-account pages built as plain data from the document: the
// analytic table, the Bank of Italy table and the texts of the input window.
// The windows only put them on screen; reports, copies and exports take the
// same data.
#include "Griglia.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class Documento;
class QPainter;
class QRectF;

// "I", "II", "III", "IV" for quarters 1 to 4; empty otherwise.
QString NumeroRomano(int trimestre);

// "Trimestre III - 2012".
QString TitoloTrimestre(int trimestre, int anno);

// Days of a quarter of the reference year: quarter I has 91 when the year is
// a multiple of 4, else 90; quarter II 91; quarters III and IV 92.
int GiorniTrimestre(int trimestre, int anno);

// "€ 1.234,56"
QString TestoEuro(double importo);

// The grey of header rows and the annual line.
inline QColor ColoreGrigio() { return QColor(224, 224, 224); }

// The annual line of the analytic table: the four quarterly values weighted
// by the days of their quarters, divided by the days of the year.
double MediaAnnua(const std::array<double, 4>& valori, int anno);

// Recomputes the four quarters and builds the analytic table (41 x 6).
// A quarter whose recomputation fails keeps its title and labels with empty
// values, the annual figures stay empty too, and errore says what failed
// (empty when everything was computed).
Griglia PaginaMatematico(Documento& documento, QString& errore);

// Recomputes the four quarters and builds the Bank of Italy table (13 x 5),
// with the same treatment of a quarter that cannot be computed.
Griglia PaginaItalia(Documento& documento, QString& errore);

// A current-account result table as its window shows it.
struct DatiPaginaConto {
    Griglia griglia;
    QString descrizione;  // the account's, which titles the report
    // The picture beside the table (the Bank of Italy formula), drawn into a
    // rectangle in device pixels; empty: the report's own drawing.
    std::function<void(QPainter&, const QRectF&)> figura;
};

// What the current-account input window shows.
struct DatiPaginaInput {
    QStringList anni;  // Combo1's items, "1980" to "2030"
    QString anno;      // Combo1's text: the reference year
    // campi[k][i] is the text of XPText(k+1)(i): Numeri, Interessi,
    // Commissioni, Spese, GiorniValuta, CMS, Accordato, MassimoScoperto of
    // quarter i+1, then the average CMS of its period in percent ("0,30").
    std::array<std::array<QString, 4>, 9> campi;
    QString descrizione;  // XPText20: the first quarter's description
    // Where each figure came from when "Calcola trimestri dai movimenti"
    // filled it ("Dai movimenti: …", "Dalle condizioni del conto: …");
    // empty for a figure the user typed. Not printed nor copied.
    std::array<std::array<QString, 4>, 8> fonti;
    // For each quarter the movements covered only in part when the quarters
    // were filled, what that means for it; empty otherwise.
    std::array<QString, 4> coperture;
};
DatiPaginaInput PaginaInput(const Documento& documento);

// The years the input window offers.
inline constexpr int PrimoAnnoElenco = 1980;
inline constexpr int UltimoAnnoElenco = 2030;
