#pragma once
// The average default-interest surcharges the program uses: the series
// built into the program beside the threshold series.
#include "MaggiorazioniMora.h"

#include <QString>

// Path of the built-in series among the program's resources.
inline const QString RisorsaMaggiorazioni = QStringLiteral(":/soglie/maggiorazioni-mora.csv");

// The built-in series, read on first use and kept for the whole run. Never
// fails: a missing or faulty resource (a build fault) gives an empty series,
// which covers no date, and AvvisoMaggiorazioni says why.
const SerieMaggiorazioniMora& MaggiorazioniInUso();

// Why the built-in series could not be read; empty when it was.
QString AvvisoMaggiorazioni();

// Reads a surcharge series from a file or resource: the series, or an empty
// one with the reason in `avviso` ("La serie delle maggiorazioni di mora
// incorporata nel programma non è valida: riga 3: …"). Never fails.
SerieMaggiorazioniMora LeggiMaggiorazioni(const QString& percorso, QString& avviso);
