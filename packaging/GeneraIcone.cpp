// Draws the program's icon from its SVG into a square PNG of the given size:
//   GeneraIcone zelvi-teg.svg zelvi-teg.png 48
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "uso: %s ICONA.svg ICONA.png LATO\n", argv[0]);
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    const int lato = QString::fromLatin1(argv[3]).toInt();
    if (!svg.isValid() || lato < 16 || lato > 1024) {
        std::fprintf(stderr, "%s: icona non valida o lato fuori misura\n", argv[1]);
        return 1;
    }
    QImage immagine(lato, lato, QImage::Format_ARGB32_Premultiplied);
    immagine.fill(Qt::transparent);
    {
        QPainter g(&immagine);
        g.setRenderHint(QPainter::Antialiasing);
        svg.render(&g);
    }
    if (!immagine.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: impossibile scrivere il file\n", argv[2]);
        return 1;
    }
    return 0;
}
