#include "FinestraFiglia.h"

FinestraFiglia::FinestraFiglia(const QString& nome, const QString& tag, QWidget* genitore)
    : QWidget(genitore)
{
    setObjectName(nome);
    setProperty("Tag", tag);
    setAttribute(Qt::WA_DeleteOnClose);
}
