#include "FinestraFiglia.h"

#include <QHideEvent>

FinestraFiglia::FinestraFiglia(const QString& nome, const QString& tag, QWidget* genitore)
    : QWidget(genitore)
{
    setObjectName(nome);
    setProperty("Tag", tag);
    setAttribute(Qt::WA_DeleteOnClose);
}

void FinestraFiglia::hideEvent(QHideEvent* e)
{
    if (!e->spontaneous() && riempita_)
        ConfermaModifiche();
    QWidget::hideEvent(e);
}
