#pragma once
// The chart of the overview: the quarterly T.E.G. by the formula in force
// in each period, the analytic T.E.G. for reference and the threshold as
// lines over time, the rates above the threshold marked and
// labelled; dates and percentages written the Italian way. Shown in the
// window, printed, and saved as PDF or PNG at print quality.
#include "PaginaRiepilogo.h"

#include <QRectF>
#include <QString>

class QChart;
class QPainter;
class QSizeF;
class QPrinter;
class QWidget;

// Resolution of the saved and printed chart.
constexpr int PuntiPerPollice = 300;
// Size of the saved picture, in millimetres (at PuntiPerPollice: 2953 x 1772 pixels).
constexpr double LarghezzaGraficoMm = 250, AltezzaGraficoMm = 150;

// Series names, also the legend's texts.
inline const QString NomeSerieTeg = QStringLiteral("T.E.G. della formula in vigore");
inline const QString NomeSerieAnalitico = QStringLiteral("T.E.G. analitico (riferimento)");
inline const QString NomeSerieSoglia = QStringLiteral("Tasso soglia");
inline const QString NomeSerieOltre = QStringLiteral("Oltre la soglia");

// A new chart of the overview's points, titled with the calculations it
// shows, owned by the caller. Each run of quarters above the threshold gets
// one label, on its highest rate, placed whenever the plot area changes so
// that no label covers another or a mark; a label with no room is left out
// (on screen each mark's tooltip gives its rate). An overview with no points
// shows no axes and no legend. Never throws.
QChart* CreaGrafico(const DatiPaginaRiepilogo& r);

// Lays a chart out at a size (in its scene's units) at once, labels
// included, as drawing it needs.
void ImpaginaGrafico(QChart* grafico, const QSizeF& dimensione);

// Draws the chart into `destinazione` (device pixels), keeping its proportions.
void DisegnaGrafico(const DatiPaginaRiepilogo& r, QPainter& p, const QRectF& destinazione);

// Saves the chart: a PDF (A4 landscape, vector) when the name ends in ".pdf",
// a PNG of LarghezzaGraficoMm x AltezzaGraficoMm at PuntiPerPollice
// otherwise. The file is replaced only once fully written. Throws
// std::runtime_error with the Italian text when it cannot be written.
void SalvaGrafico(const DatiPaginaRiepilogo& r, const QString& percorso);

// Prints the chart on one A4 landscape page of a configured printer; false
// when the printer could not be opened.
bool StampaGrafico(const DatiPaginaRiepilogo& r, QPrinter& stampante);

// Asks where to save the chart (PDF or PNG); empty when the user gives up.
QString ScegliFileGrafico(QWidget* genitore, const QString& cartella);
