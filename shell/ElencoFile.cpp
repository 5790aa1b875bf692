#include "ElencoFile.h"

#include <QDir>

ElencoFile::ElencoFile(QWidget* genitore) : QListWidget(genitore)
{
    setObjectName(QStringLiteral("File1"));
    hide();
}

void ElencoFile::setPath(const QString& cartella)
{
    path_ = cartella;
    Refresh();
}

void ElencoFile::Refresh()
{
    clear();
    if (path_.isEmpty())
        return;
    const QDir d(path_);
    addItems(d.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

QStringList ElencoFile::Nomi() const
{
    QStringList l;
    for (int i = 0; i < count(); ++i)
        l << item(i)->text();
    return l;
}
