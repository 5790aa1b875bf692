#pragma once
// Screen lengths are kept in twips (1440 to the logical inch) and turned into
// pixels only when applied to a widget.
#include <QRect>
#include <QRectF>

class QWidget;

// Pixels per twip on the screen of the running program.
double PixelPerTwip();
int TwipsAPixel(double twips);
double PixelATwips(int pixel);

// Places w at a rectangle given in twips (relative to its parent).
void PosizionaTwips(QWidget* w, double sinistra, double alto, double larghezza, double altezza);
inline void PosizionaTwips(QWidget* w, const QRectF& r)
{
    PosizionaTwips(w, r.x(), r.y(), r.width(), r.height());
}
