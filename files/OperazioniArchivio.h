#pragma once
// Deleting and duplicating calculations of the archive, as the archive
// browser offers them; no window involved.
#include <QString>

// True when the file of calculation `nome` is `fileAperto`, the file of the
// open calculation (ConteggioAperto::File(); empty when none is open).
bool FileAperto(const QString& cartella, const QString& nome, const QString& fileAperto);

// Deletes the file of calculation `nome` from `cartella`, and the engine's
// journal beside it if one was left. Refuses the open calculation's file,
// `fileAperto`. Throws ErroreConteggio saying what failed; the file is then
// where it was.
void EliminaConteggio(const QString& cartella, const QString& nome, const QString& fileAperto);

// Copies the file of calculation `da` byte for byte as calculation `a` of
// the same folder, never over an existing file and never leaving half a
// copy. The open calculation and its file are not touched. Throws
// ErroreConteggio saying what failed.
void DuplicaConteggio(const QString& cartella, const QString& da, const QString& a);
