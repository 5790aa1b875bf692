#pragma once
// A picture drawn by a function (a chart), saved as a PDF or PNG file whole
// or not at all, printed on a page, drawn from a Qt chart at any size.
#include <QRectF>
#include <QString>
#include <functional>

class QChart;
class QPainter;
class QPrinter;
class QSizeF;
class QWidget;

// Draws the picture into a rectangle of the device (pixels), keeping its
// proportions.
using DisegnoFigura = std::function<void(QPainter&, const QRectF&)>;

// Resolution of the saved and printed pictures, and the size of a saved PNG
// in millimetres (at 300 dpi: 2953 x 1772 pixels).
inline constexpr int RisoluzioneFigura = 300;
inline constexpr double LarghezzaFiguraMm = 250, AltezzaFiguraMm = 150;

// Saves the picture: a PDF (A4 landscape, vector, titled `titolo`) when the
// name ends in ".pdf", else a PNG of LarghezzaFiguraMm x AltezzaFiguraMm.
// The file is replaced only once fully written. Throws std::runtime_error
// with the Italian text when it cannot be written.
void SalvaFigura(const DisegnoFigura& disegno, const QString& titolo, const QString& percorso);

// Prints the picture on one A4 landscape page of a configured printer; false
// when the printer could not be opened.
bool StampaFigura(const DisegnoFigura& disegno, QPrinter& stampante);

// Asks where to save a chart (PDF or PNG), proposing `proposto`; empty when
// the user gives up. The extension of the type chosen is added when missing.
QString ScegliFileFigura(QWidget* genitore, const QString& proposto);

// Lays a chart out at once at a size in its scene's units, as drawing it needs.
void ImpaginaChart(QChart* grafico, const QSizeF& dimensione);

// Draws a new chart made by `crea` (then deleted) into `destinazione`, laid
// out 1000 units wide so that its texts keep their proportions on any device,
// on a white ground.
void DisegnaChart(const std::function<QChart*()>& crea, QPainter& p, const QRectF& destinazione);
