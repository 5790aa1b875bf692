#include "FinestraFiglia.h"

#include "SceltaData.h"
#include "Twips.h"

#include <QHideEvent>
#include <QLineEdit>
#include <QPushButton>

QPushButton* CreaBandaTitolo(QWidget* finestra, const QString& titolo)
{
    auto* banda = new QPushButton(titolo, finestra);
    banda->setObjectName(QStringLiteral("XPButton1"));
    banda->setFocusPolicy(Qt::NoFocus);
    QFont f = banda->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    banda->setFont(f);
    PosizionaTwips(banda, 120, 120, 14895, 405);
    return banda;
}

FinestraFiglia::FinestraFiglia(const QString& nome, const QString& tag, Documento& documento, QWidget* genitore)
    : QWidget(genitore), documento_(documento)
{
    setObjectName(nome);
    setProperty("Tag", tag);
    setAttribute(Qt::WA_DeleteOnClose);
}

void FinestraFiglia::ConfermaModifiche()
{
    ConfermaDataInCorso(this);
}

void FinestraFiglia::hideEvent(QHideEvent* e)
{
    if (!e->spontaneous() && riempita_)
        ConfermaModifiche();
    QWidget::hideEvent(e);
}

void FinestraFiglia::SegnalaDigitazione(QLineEdit* campo)
{
    connect(campo, &QLineEdit::textEdited, this, [this] {
        if (!CaricamentoInCorso())
            emit Modificato();
    });
}
