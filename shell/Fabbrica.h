#pragma once
// Creates the input and result windows by name.
#include <QString>

class ConteggioAperto;
class FinestraFiglia;

// A new window named nome ("frmBox", "frmCalcoli", ...) on the document of
// `conteggio`, which must outlive it, without parent; nullptr when no such
// window is built into the program.
FinestraFiglia* CreaFinestra(const QString& nome, ConteggioAperto& conteggio);
