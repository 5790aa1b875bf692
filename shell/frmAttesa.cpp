#include "frmAttesa.h"

#include "Immagini.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

frmAttesa::frmAttesa(QWidget* genitore)
    : QWidget(genitore, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmAttesa"));
    setWindowTitle(QStringLiteral("Zelvi T.E.G."));
    auto* esterno = new QHBoxLayout(this);
    esterno->setContentsMargins(0, 0, 0, 0);
    auto* bordo = new QFrame(this);
    bordo->setFrameShape(QFrame::Box);
    bordo->setLineWidth(1);
    esterno->addWidget(bordo);

    auto* riga = new QHBoxLayout(bordo);
    riga->setContentsMargins(24, 18, 32, 18);
    riga->setSpacing(18);
    auto* immagine = new QLabel(bordo);
    immagine->setObjectName(QStringLiteral("Image1"));
    immagine->setPixmap(ImmagineAttesa());
    auto* testo = new QLabel(QStringLiteral("Attendere..."), bordo);
    testo->setObjectName(QStringLiteral("Label1"));
    QFont f = testo->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    testo->setFont(f);
    riga->addWidget(immagine);
    riga->addWidget(testo);
    adjustSize();
}

void frmAttesa::Centra()
{
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect schermo = s->geometry();
    move(schermo.x() + schermo.width() / 2 - width() / 2,
         schermo.y() + schermo.height() / 2 - height() / 2);
}
