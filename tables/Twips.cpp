#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

double PixelPerTwip()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return (dpi > 0 ? dpi : 96.0) / 1440.0;
}

int TwipsAPixel(double twips)
{
    return static_cast<int>(std::lround(twips * PixelPerTwip()));
}

double PixelATwips(int pixel)
{
    return pixel / PixelPerTwip();
}

void PosizionaTwips(QWidget* w, double sinistra, double alto, double larghezza, double altezza)
{
    const int x = TwipsAPixel(sinistra), y = TwipsAPixel(alto);
    w->setGeometry(x, y, std::max(0, TwipsAPixel(sinistra + larghezza) - x),
                   std::max(0, TwipsAPixel(alto + altezza) - y));
}
