#pragma once
// Creates the input and result windows by name.
#include <QString>

class FinestraFiglia;

// A new window named nome ("frmBox", "frmCalcoli", ...), without parent, or
// nullptr when no such window is built into the program.
FinestraFiglia* CreaFinestra(const QString& nome);
