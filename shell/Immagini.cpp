#include "Immagini.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor Blu(24, 58, 112);
const QColor Azzurro(64, 120, 190);
const QColor Oro(196, 152, 48);

QFont Carattere(int pixel, int peso, bool corsivo = false)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setPixelSize(pixel);
    f.setWeight(static_cast<QFont::Weight>(peso));
    f.setItalic(corsivo);
    return f;
}
} // namespace

QPixmap LogoProgramma()
{
    QPixmap p(188, 71);
    p.fill(Qt::white);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sfondo(0, 0, 0, 71);
    sfondo.setColorAt(0, QColor(236, 242, 252));
    sfondo.setColorAt(1, QColor(204, 220, 244));
    g.setPen(QPen(Blu, 2));
    g.setBrush(sfondo);
    g.drawRoundedRect(QRectF(1, 1, 186, 69), 8, 8);
    g.setPen(Blu);
    g.setFont(Carattere(26, QFont::Bold));
    g.drawText(QRect(0, 4, 188, 38), Qt::AlignCenter, QStringLiteral("Zelvi T.E.G."));
    g.setPen(Oro);
    g.drawLine(QPointF(24, 43), QPointF(164, 43));
    g.setPen(Blu);
    g.setFont(Carattere(11, QFont::Normal));
    g.drawText(QRect(0, 46, 188, 20), Qt::AlignCenter, QStringLiteral("Tasso effettivo globale"));
    return p;
}

QPixmap ImmagineTitolo(int variante)
{
    const QSize misura(560, 120);
    QPixmap p(misura);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QPainterPath testo;
    const QFont f = Carattere(84, QFont::Bold);
    testo.addText(0, 0, f, QStringLiteral("Zelvi T.E.G."));
    const QRectF b = testo.boundingRect();
    testo.translate((misura.width() - b.width()) / 2 - b.x(),
                    (misura.height() - b.height()) / 2 - b.y());
    // Shadow, then the letters: dark blue with a gold edge, or the reverse.
    g.translate(4, 4);
    g.fillPath(testo, QColor(0, 0, 0, 60));
    g.translate(-4, -4);
    QLinearGradient riempimento(0, 0, 0, misura.height());
    if (variante == 0) {
        riempimento.setColorAt(0, Azzurro);
        riempimento.setColorAt(1, Blu);
        g.setPen(QPen(Oro, 2));
    } else {
        riempimento.setColorAt(0, QColor(236, 200, 96));
        riempimento.setColorAt(1, Oro);
        g.setPen(QPen(Blu, 2));
    }
    g.setBrush(riempimento);
    g.drawPath(testo);
    return p;
}

QPixmap ImmagineSottotitolo()
{
    const QSize misura(560, 64);
    QPixmap p(misura);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setRenderHint(QPainter::TextAntialiasing);
    g.setPen(Oro);
    g.drawLine(QPointF(60, 4), QPointF(500, 4));
    g.setPen(Blu);
    g.setFont(Carattere(19, QFont::Normal, true));
    g.drawText(QRect(0, 10, 560, 26), Qt::AlignCenter,
               QStringLiteral("Calcolo del tasso effettivo globale"));
    g.setFont(Carattere(14, QFont::Normal));
    g.drawText(QRect(0, 36, 560, 24), Qt::AlignCenter,
               QStringLiteral("conto corrente \u00b7 mutuo \u00b7 operazioni finanziarie"));
    return p;
}

QPixmap ImmagineAttesa()
{
    QPixmap p(40, 48);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Blu, 3, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(6, 3), QPointF(34, 3));
    g.drawLine(QPointF(6, 45), QPointF(34, 45));
    QPainterPath vetro;
    vetro.moveTo(9, 5);
    vetro.lineTo(31, 5);
    vetro.cubicTo(31, 17, 22, 21, 22, 24);
    vetro.cubicTo(22, 27, 31, 31, 31, 43);
    vetro.lineTo(9, 43);
    vetro.cubicTo(9, 31, 18, 27, 18, 24);
    vetro.cubicTo(18, 21, 9, 17, 9, 5);
    g.setPen(QPen(Blu, 1.5));
    g.setBrush(QColor(232, 240, 252));
    g.drawPath(vetro);
    // Sand: a little left above, a heap below.
    g.setPen(Qt::NoPen);
    g.setBrush(Oro);
    QPainterPath sopra;
    sopra.moveTo(14, 14);
    sopra.lineTo(26, 14);
    sopra.lineTo(20, 22);
    sopra.closeSubpath();
    g.drawPath(sopra);
    QPainterPath sotto;
    sotto.moveTo(11, 42);
    sotto.lineTo(29, 42);
    sotto.cubicTo(27, 36, 23, 33, 20, 33);
    sotto.cubicTo(17, 33, 13, 36, 11, 42);
    g.drawPath(sotto);
    g.drawRect(QRectF(19.4, 24, 1.2, 9));
    return p;
}
