#pragma once
// The threshold series the program uses: the updated copy kept in the
// archive folder when there is a valid one, else the series built into the
// program.
#include "Soglie.h"

#include <QByteArray>
#include <QDate>
#include <QObject>
#include <QString>

#include <string>

// Name of the updated series in the archive folder.
inline const QString NomeFileSoglie = QStringLiteral("tegm-serie-storica.csv");

// The series in use. Read on first use (the archive folder's copy when there
// is one and it is valid, else the built-in series) and kept until the folder
// is changed or the series replaced. Never fails: a faulty copy in the
// archive falls back to the built-in series and AvvisoSoglie says why; a
// missing built-in series (a build fault) gives an empty series. References
// stay valid for the whole run, also after the series is replaced.
const SerieSoglie& SoglieInUso();

// Points the series in use at an archive folder; the next SoglieInUso reads
// `cartella/tegm-serie-storica.csv` again. An empty folder means built-in only.
void ImpostaCartellaSoglie(const QString& cartella);
QString CartellaSoglie();

// Where an updated series came from: the name of the file the user picked
// (no folder) and the day it was taken. Kept beside the series in the
// archive folder, in NomeFileOrigineSoglie: one line "file=" and one "data="
// (yyyy-mm-dd).
struct OrigineSoglie {
    QString file;
    QDate data;
};
inline const QString NomeFileOrigineSoglie = QStringLiteral("tegm-serie-storica.origine");

// Replaces the series in use with one just validated and saved (after an
// update) and taken from `origine`, without reading the file again; notifies
// SegnaleSoglie.
void SostituisciSoglie(SerieSoglie serie, OrigineSoglie origine = {});

// The record's text for an origin, and the origin read back from one (empty
// fields for what it lacks). Never fail.
QByteArray TestoOrigineSoglie(const OrigineSoglie& origine);
OrigineSoglie LeggiOrigineSoglie(const QByteArray& testo);

// The series in use named as data, never by a folder of this computer:
// "serie storica ufficiale dei TEGM della Banca d'Italia incorporata nel
// programma, ultimo periodo dal 01/10/2026 al 31/12/2026", or for an update
// "... aggiornata dal file «tegm.zip» importato il 12/03/2027, ultimo periodo
// dal ...". An update whose record is missing is dated by its file.
QString TestoFonteSoglie();

// The built-in series, from the program's resources. Throws
// std::runtime_error when the resource is missing or faulty (a build fault).
const SerieSoglie& SoglieIncorporate();

// Why the archive copy is not in use (it exists but is faulty or unreadable);
// empty when it is in use or there is none.
QString AvvisoSoglie();

// "Soglie note fino al 31/12/2026", or "Soglie non disponibili" for an empty series.
QString TestoUltimaDataSoglie();

// The bytes of a series file as the UTF-8 text the parser reads: valid UTF-8
// is kept (without its BOM), anything else is read as Latin-1. Never fails.
std::string TestoSerieUtf8(const QByteArray& byte);

// Emits `cambiate` whenever the series in use changes (update, new folder),
// for the windows that show verdicts.
class NotificaSoglie : public QObject {
    Q_OBJECT
signals:
    void cambiate();
};
NotificaSoglie& SegnaleSoglie();
