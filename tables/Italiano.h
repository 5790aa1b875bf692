#pragma once
// Qt's own dialogs and the system's file errors, in Italian like the rest of
// the program.
#include <QString>

// From now on, in the whole program: Qt's file dialogs write sizes and dates
// the Italian way ("1,50 kB", "08/12/2026 21:38"), name folders "Cartella",
// and open wide enough for their column headings; the print preview writes
// its zoom with a decimal comma ("44,9%") and reads it so. Call once the
// application exists; calling it again changes nothing.
void InstallaItaliano();

// The Italian words for a file error as QFile::errorString() or the system
// give it in English ("Read-only file system" -> "file system in sola
// lettura"), wherever they stand in the text; other words are left as they are.
QString ErroreFileInItaliano(const QString& errore);
