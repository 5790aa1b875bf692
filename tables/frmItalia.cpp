#include "frmItalia.h"

#include "Dichiarazioni.h"
#include "Pagine.h"
#include "Twips.h"

#include <QEvent>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <cmath>
#include <exception>

namespace {
// Space between the table's last column and the formula, in pixels.
constexpr int distacco = 16;
} // namespace

// ---------------------------------------------------------------------------
// FiguraFormula

FiguraFormula::FiguraFormula(QWidget* genitore) : QWidget(genitore)
{
    setObjectName(QStringLiteral("Picture1"));
    resize(MisuraProgetto());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FiguraFormula::Disegna(QPainter& p, const QRectF& r, const QFont& base)
{
    p.save();
    p.fillRect(r, Qt::white);
    p.setPen(Qt::black);

    const QString intestazione = QStringLiteral("Formula della Banca d'Italia:");
    const QString tasso = QStringLiteral("T.E.G.% =");
    const QString piu = QStringLiteral("+");
    const QString numeratore1 = QStringLiteral("Interessi x 365(6)");
    const QString denominatore1 = QStringLiteral("Numeri capitale");
    const QString numeratore2 = QStringLiteral("Oneri x 100");
    const QString denominatore2 = QStringLiteral("Accordato");

    // The text is sized to the picture: 13 pixels at the designed size, less
    // when the formula would not fit across.
    const QSizeF progetto = MisuraProgetto();
    const double scala = std::min(r.width() / progetto.width(), r.height() / progetto.height());
    const double margine = 6 * scala;
    QFont f = base;
    double pixel = std::max(4.0, 13 * scala);
    double larghezza = 0, spazio = 0;
    for (;;) {
        f.setPixelSize(std::max(1, static_cast<int>(pixel)));
        const QFontMetricsF fm(f);
        spazio = fm.horizontalAdvance(QLatin1Char(' ')) * 1.5;
        larghezza = fm.horizontalAdvance(tasso) + spazio +
                    std::max(fm.horizontalAdvance(numeratore1), fm.horizontalAdvance(denominatore1)) +
                    spazio + fm.horizontalAdvance(piu) + spazio +
                    std::max(fm.horizontalAdvance(numeratore2), fm.horizontalAdvance(denominatore2));
        if (larghezza <= r.width() - 2 * margine || pixel <= 4)
            break;
        pixel -= 0.5;
    }
    const QFontMetricsF fm(f);
    const double riga = fm.height();

    QFont grassetto = f;
    grassetto.setBold(true);
    p.setFont(grassetto);
    const double x0 = r.left() + margine;
    double y = r.top() + margine;
    p.drawText(QRectF(x0, y, r.width() - 2 * margine, riga), Qt::AlignLeft | Qt::AlignVCenter,
               intestazione);

    // The formula is centred in the room under the heading.
    p.setFont(f);
    const double sopra = y + riga;
    const double centro = sopra + (r.bottom() - margine - sopra) / 2;
    double x = x0;
    auto testo = [&](const QString& t) {
        const double w = fm.horizontalAdvance(t);
        p.drawText(QRectF(x, centro - riga / 2, w + 1, riga), Qt::AlignLeft | Qt::AlignVCenter, t);
        x += w + spazio;
    };
    auto frazione = [&](const QString& su, const QString& giu) {
        const double w = std::max(fm.horizontalAdvance(su), fm.horizontalAdvance(giu));
        const double tratto = std::max(1.0, scala);
        p.drawText(QRectF(x, centro - riga - tratto, w, riga), Qt::AlignHCenter | Qt::AlignBottom, su);
        p.fillRect(QRectF(x, centro - tratto / 2, w, tratto), Qt::black);
        p.drawText(QRectF(x, centro + tratto, w, riga), Qt::AlignHCenter | Qt::AlignTop, giu);
        x += w + spazio;
    };
    testo(tasso);
    frazione(numeratore1, denominatore1);
    testo(piu);
    frazione(numeratore2, denominatore2);
    p.restore();
}

void FiguraFormula::DisegnaRiquadro(QPainter& p, const QSize& misura, const QFont& base, const QColor& bordo)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Disegna(p, QRectF(QPointF(0, 0), QSizeF(misura)), base);
    p.setPen(bordo);
    p.drawRect(QRect(QPoint(0, 0), misura).adjusted(0, 0, -1, -1));
}

std::function<void(QPainter&, const QRectF&)> FiguraFormula::Figura() const
{
    // Drawn at the device's resolution, the picture as it is on screen.
    return [misura = size(), base = font(), bordo = palette().color(QPalette::Mid)](QPainter& p, const QRectF& r) {
        if (misura.isEmpty() || r.isEmpty())
            return;
        QImage immagine(QSize(static_cast<int>(std::ceil(r.width())), static_cast<int>(std::ceil(r.height()))),
                        QImage::Format_ARGB32_Premultiplied);
        immagine.fill(Qt::white);
        QPainter q(&immagine);
        q.scale(r.width() / misura.width(), r.height() / misura.height());
        DisegnaRiquadro(q, misura, base, bordo);
        q.end();
        p.drawImage(r.topLeft(), immagine);
    };
}

void FiguraFormula::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    DisegnaRiquadro(p, size(), font(), palette().color(QPalette::Mid));
}

// ---------------------------------------------------------------------------
// frmItalia

frmItalia::frmItalia(Documento& documento, QWidget* genitore)
    : FinestraRisultati(QStringLiteral("frmItalia"),
                        QStringLiteral("T.E.G. su conto corrente con procedura della Banca d'Italia"),
                        QStringLiteral("italia"), documento, genitore)
{
    CreaVista();
    figura_ = new FiguraFormula(Cornice());
    figura_->raise();
    Vista()->installEventFilter(this);
    collocaFigura();
}

void frmItalia::Pagina()
{
    QString errore;
    Griglia g;
    try {
        g = PaginaItalia(Conteggio(), errore);
    } catch (const std::exception& e) {
        errore = QStringLiteral("Impossibile costruire la tabella: %1").arg(QString::fromStdString(e.what()));
    }
    MostraTabella(g, errore);
    collocaFigura();
}

DatiPaginaConto frmItalia::Dati() const
{
    DatiPaginaConto d = FinestraRisultati::Dati();
    d.figura = figura_->Figura();
    return d;
}

bool frmItalia::eventFilter(QObject* o, QEvent* e)
{
    if (o == Vista() && (e->type() == QEvent::Resize || e->type() == QEvent::Move))
        collocaFigura();
    return FinestraRisultati::eventFilter(o, e);
}

void frmItalia::collocaFigura()
{
    // Right of the table's columns, level with its first row; when the frame
    // is too narrow for the whole picture, it keeps to the grid's right edge
    // and narrows.
    const VistaGriglia* v = Vista();
    int colonne = 0;
    for (int c = 0; c < v->model()->columnCount(); ++c)
        colonne += v->columnWidth(c);
    if (colonne == 0)
        colonne = TwipsAPixel(10500);
    const QRect area = v->geometry();
    const QSize progetto = FiguraFormula::MisuraProgetto();
    const int destra = area.right() - v->frameWidth() - (v->verticalScrollBar()->isVisible()
                                                             ? v->verticalScrollBar()->width()
                                                             : 0) - 8;
    const int sinistra = area.left() + v->frameWidth() + colonne + distacco;
    const int larghezza = std::clamp(destra - sinistra, progetto.width() * 3 / 4, progetto.width());
    const int x = std::min(sinistra, destra - larghezza);
    const int altezza = progetto.height() * larghezza / progetto.width();
    figura_->setGeometry(x, area.top() + v->frameWidth() + v->rowHeight(0) + 8, larghezza, altezza);
}
