#pragma once
// The child windows of the program, one row each: its name, how it is
// created on the open calculation, how it is laid out in the main window, and
// for the windows with a table the report and the clipboard text made from
// its page (its Dati()). Opening, laying out, printing, copying and
// exporting all go by this table; a new window is a new row.
#include <QSizeF>
#include <QString>
#include <functional>
#include <vector>

class ConteggioAperto;
class FinestraFiglia;
class QWidget;
struct Rapporto;

struct VoceFinestra {
    const char* nome;                                   // the window's objectName
    FinestraFiglia* (*crea)(ConteggioAperto& conteggio); // nullptr: the title window, the shell's own
    void (*disponi)(QWidget* w, const QSizeF& principale);
    // The report and the copy of the window's page; empty: it has no table.
    // False when the window given is not of the row's kind.
    std::function<bool(QWidget* finestra, Rapporto& r)> rapporto;
    std::function<bool(QWidget* finestra, QString& testo)> copia;
};

// Every child window, in the order ScaricaFinestre closes them.
const std::vector<VoceFinestra>& ElencoFinestre();

// The row of the window named nome, nullptr when there is no such window.
const VoceFinestra* VoceDiFinestra(const QString& nome);

// The report and the clipboard text of `finestra`, the open window named
// `nome`, from its page; false (and r or testo untouched) when the window has
// no table or is not the one named.
bool RapportoFinestra(const QString& nome, QWidget* finestra, Rapporto& r);
bool TestoCopiaFinestra(const QString& nome, QWidget* finestra, QString& testo);
