#pragma once
// Deleting and duplicating calculations of the archive, as the archive
// browser offers them; no window involved.
#include <QString>

// True when `nome` is the calculation open now (its file is the one held by
// DatabaseCorrente).
bool ConteggioAperto(const QString& cartella, const QString& nome);

// Deletes the file of calculation `nome` from `cartella`, and the engine's
// journal beside it if one was left. Refuses the calculation open now (its
// file is the one held by DatabaseCorrente). Throws ErroreConteggio saying
// what failed; the file is then where it was.
void EliminaConteggio(const QString& cartella, const QString& nome);

// Copies the file of calculation `da` byte for byte as calculation `a` of
// the same folder, never over an existing file and never leaving half a
// copy. The open calculation and its file are not touched. Throws
// ErroreConteggio saying what failed.
void DuplicaConteggio(const QString& cartella, const QString& da, const QString& a);
