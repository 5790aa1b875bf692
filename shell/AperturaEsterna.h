#pragma once
// Opening a file or a folder with the desktop's own program (the PDF manual,
// the archive folder), after checking that some program can open it: the
// desktop call reports success even when nothing opens.
#include <QString>
#include <functional>

// Whether the desktop has a program for files of this MIME type
// ("application/pdf", "inode/directory"). Where the desktop cannot be asked,
// true.
bool ApribileDalDesktop(const QString& tipoMime);

// Replaces the check above (for tests); an empty function restores it.
using ControlloApertura = std::function<bool(const QString& tipoMime)>;
void ImpostaControlloApertura(ControlloApertura controllo);

// Opens the file or folder `percorso` of type `tipoMime` with the desktop's
// program. When no program can open it, throws std::runtime_error whose
// what() says so in Italian, naming `cosa` ("il manuale") and the path, so
// that the user can open it by hand.
void ApriConDesktop(const QString& percorso, const QString& tipoMime, const QString& cosa);
