#include "frmTitolo.h"

#include "Immagini.h"
#include "Twips.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

namespace {
// A picture that keeps its colours while the main window is disabled behind
// the wait or information window.
class Figura : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter g(this);
        g.drawPixmap(0, 0, pixmap());
    }
};

QLabel* Immagine(QWidget* genitore, const char* nome, const QPixmap& p)
{
    auto* l = new Figura(genitore);
    l->setObjectName(QLatin1String(nome));
    l->setPixmap(p);
    l->resize(p.size());
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}
} // namespace

frmTitolo::frmTitolo(QWidget* genitore) : QWidget(genitore)
{
    setObjectName(QStringLiteral("frmTitolo"));
    setAttribute(Qt::WA_DeleteOnClose);
    image1_ = Immagine(this, "Image1", ImmagineSottotitolo());
    image3_ = Immagine(this, "Image3", ImmagineTitolo(1));
    image2_ = Immagine(this, "Image2", ImmagineTitolo(0));
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(700);
    connect(timer1_, &QTimer::timeout, this, &frmTitolo::Timer1_Timer);
    timer1_->start();
    Centra();
    SovrapponiImmagini();
}

void frmTitolo::SovrapponiImmagini()
{
    image3_->move(image2_->pos());
}

void frmTitolo::Timer1_Timer()
{
    image2_->setVisible(!image2_->isVisible());
}

void frmTitolo::Centra()
{
    // The window is as large as the whole main window; its visible part is
    // what the menus, toolbar and status bar leave, about 1920 twips less.
    const int visibile = std::max(height() - TwipsAPixel(1920), image2_->height() + image1_->height());
    const int x = (width() - image2_->width()) / 2;
    const int y = std::max(0, visibile * 2 / 5 - image2_->height() / 2);
    image2_->move(x, y);
    image1_->move((width() - image1_->width()) / 2, y + image2_->height() + 8);
}

void frmTitolo::resizeEvent(QResizeEvent*)
{
    Centra();
    SovrapponiImmagini();
}

void frmTitolo::paintEvent(QPaintEvent*)
{
    QPainter g(this);
    QLinearGradient sfondo(0, 0, 0, height());
    sfondo.setColorAt(0, QColor(250, 251, 254));
    sfondo.setColorAt(1, QColor(214, 226, 244));
    g.fillRect(rect(), sfondo);
}
