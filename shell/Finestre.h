#pragma once
// The child windows of the program, one row each: its name, how it is
// created and how it is laid out in the main window. Whether it prints and
// copies a table is said by the print room's own table (TabelleFinestre.h).
#include <QSizeF>
#include <QString>
#include <vector>

class FinestraFiglia;
class QWidget;

struct VoceFinestra {
    const char* nome;                                   // the window's objectName
    FinestraFiglia* (*crea)();                          // nullptr: the title window, the shell's own
    void (*disponi)(QWidget* w, const QSizeF& principale);
};

// Every child window, in the order ScaricaFinestre closes them.
const std::vector<VoceFinestra>& ElencoFinestre();

// The row of the window named nome, nullptr when there is no such window.
const VoceFinestra* VoceDiFinestra(const QString& nome);
