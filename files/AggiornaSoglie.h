#pragma once
// The command "Aggiorna tassi soglia…": takes a newer threshold series
// published by Banca d'Italia (the ZIP of the historical series or the CSV in
// it), checks all of it and keeps it in the archive folder.
#include "Soglie.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <stdexcept>
#include <vector>

class QWidget;

// A series file that cannot be read at all (missing, unreadable, a ZIP
// without one CSV, too large). what() is the Italian text for the user.
class ErroreFileSoglie : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A picked file once read and checked.
struct LetturaSoglie {
    QByteArray testo;                  // the series as UTF-8 text, as it will be saved
    std::optional<SerieSoglie> serie;  // empty when the text has faults
    std::vector<ErroreSoglie> errori;  // every fault, with its line
};

// Reads a picked file: a ZIP (recognised by its content, read with
// libarchive) holding exactly one .csv, or the CSV itself; Latin-1 or UTF-8.
// Then validates the whole text. Throws ErroreFileSoglie when there is no
// text to validate; faults of the text are in the result, not thrown.
LetturaSoglie LeggiFileSoglie(const QString& percorso);

// The faults for the user, one line each ("riga 12: TEGM non valido «x»"),
// at most `massimo` lines, then "… e altri N errori".
QString TestoErroriSoglie(const std::vector<ErroreSoglie>& errori, int massimo = 20);

// What taking `nuova` in place of `inUso` means: periods, first and last
// date, rows added (and removed or changed, when there are any), and any gap
// between periods.
QString RiassuntoSoglie(const SerieSoglie& nuova, const SerieSoglie& inUso);

// The whole update from a picked file, without dialogs of its own: reads and
// checks the file; on any fault shows them (Messaggio) and changes nothing;
// otherwise shows the summary, asks for confirmation (Domanda), writes the
// text atomically to `cartellaArchivio/tegm-serie-storica.csv` and makes it
// the series in use. True when the series was taken. A file that cannot be
// read or saved is reported by a message too; nothing is thrown but
// std::bad_alloc.
bool AggiornaSoglieDaFile(const QString& percorso, const QString& cartellaArchivio, QWidget* genitore = nullptr);

// Where the file is looked for first: the downloads folder, else the
// documents folder, when it exists (a name like "Downloads" is not offered
// for a folder the user does not have), else the home folder.
QString CartellaPropostaSoglie();

// The menu command: asks for the file, then AggiornaSoglieDaFile.
void AggiornaSoglie(const QString& cartellaArchivio, QWidget* genitore);
