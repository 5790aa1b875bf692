#pragma once
// The windows that have a table to print and copy: one row per window name,
// with how its report and its clipboard text are read from what it shows.
// The print and copy commands and the main window's menus all go by it.
#include "modStampa.h"

#include <QString>

class QWidget;

struct TabellaFinestra {
    const char* nome;  // the window's objectName
    // The report of the window, its description in the title; false when the
    // window shows no table to read.
    bool (*rapporto)(QWidget* finestra, Rapporto& r);
    // The clipboard text of the window; false as above.
    bool (*copia)(QWidget* finestra, QString& testo);
};

// The row of the window named nome, nullptr when it has no table.
const TabellaFinestra* TabellaDiFinestra(const QString& nome);
