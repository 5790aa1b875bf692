#pragma once
// The legal interest rate series the program uses: the one built into the
// program, read once at start.
#include "TassoLegale.h"

#include <QString>

// The series, read from the program's resources on first use and kept for
// the whole run. Never fails: a missing or damaged resource (a build fault)
// gives an empty series and AvvisoTassoLegale says why.
const SerieTassoLegale& TassoLegaleInUso();

// Why the series in use is empty, in Italian; empty when it was read whole.
QString AvvisoTassoLegale();

// "Tasso legale noto dal 16/12/1990 al 31/12/2026", or the warning when the
// series could not be read.
QString TestoTassoLegale();
