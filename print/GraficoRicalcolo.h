#pragma once
// The chart of the recalculation: the bank's balance and the corrected one
// at the end of each day, as steps over time, amounts in euro written the
// Italian way. Shown in the window, printed, saved as PDF or PNG and drawn
// in the expert's report.
#include "PaginaRicalcolo.h"

#include <QRectF>
#include <QString>

class QChart;
class QPainter;
class QPrinter;

// Series names, also the legend's texts.
inline const QString NomeSerieBanca = QStringLiteral("Saldo della banca");
inline const QString NomeSerieRicalcolato = QStringLiteral("Saldo ricalcolato");

// A new chart of the page's balances, owned by the caller. A page without a
// result shows no axes and no legend. Never throws.
QChart* CreaGraficoRicalcolo(const DatiPaginaRicalcolo& d);

// Gives a chart made by CreaGraficoRicalcolo the balances and title of
// another page, keeping the chart itself (the window after each change).
void AggiornaGraficoRicalcolo(QChart* grafico, const DatiPaginaRicalcolo& d);

// Draws the chart into `destinazione` (device pixels), keeping its proportions.
void DisegnaGraficoRicalcolo(const DatiPaginaRicalcolo& d, QPainter& p, const QRectF& destinazione);

// Saves the chart as SalvaFigura does. Throws std::runtime_error with the
// Italian text when it cannot be written.
void SalvaGraficoRicalcolo(const DatiPaginaRicalcolo& d, const QString& percorso);

// Prints the chart on one A4 landscape page; false when the printer could
// not be opened.
bool StampaGraficoRicalcolo(const DatiPaginaRicalcolo& d, QPrinter& stampante);
