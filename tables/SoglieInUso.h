#pragma once
// The threshold series the program uses: the updated copy kept in the
// archive folder when there is a valid one, else the series built into the
// program.
#include "Soglie.h"

#include <QString>
#include <QStringList>

// Name of the updated series in the archive folder.
inline const QString NomeFileSoglie = QStringLiteral("tegm-serie-storica.csv");

// The series in use. Read on first use (from the archive folder set by
// ImpostaCartellaSoglie, else from the built-in copy) and kept until the
// folder is changed or the series is replaced. Never fails: a missing or
// faulty file in the archive falls back to the built-in series, and the
// reason is kept for AvvisoSoglie.
const SerieSoglie& SoglieInUso();

// Points the series in use at an archive folder; the next SoglieInUso reads
// `cartella/tegm-serie-storica.csv` again. An empty folder means built-in only.
void ImpostaCartellaSoglie(const QString& cartella);
QString CartellaSoglie();

// Replaces the series in use with one just validated and saved (after an
// update), without reading the file again.
void SostituisciSoglie(SerieSoglie serie);

// The built-in series, from the program's resources. Throws
// std::runtime_error when the resource is missing or faulty (a build fault).
const SerieSoglie& SoglieIncorporate();

// Why the archive copy is not in use (it exists but is faulty or unreadable);
// empty when it is in use or there is none.
QString AvvisoSoglie();

// "Soglie note fino al 31/12/2026", or "Soglie non disponibili" for an empty series.
QString TestoUltimaDataSoglie();
