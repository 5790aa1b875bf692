#pragma once
// Reads calculations of the archive for the overview, each into a document
// of its own: the open calculation is never touched.
#include "PaginaRiepilogo.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class Documento;

// The archive's calculations (the names of its ".ccc" files) whose name
// starts with `inizio`, without regard to case, in the archive's order.
QStringList ConteggiCheInizianoCon(const QStringList& elenco, const QString& inizio);

// Reads each named calculation with the archive's checked reader, checks it
// against `serie` and builds the overview; a file that cannot be read is left
// out with a line saying why. Never throws (only std::bad_alloc). The
// documents read are given in `letti`, when asked for, in the order named.
DatiPaginaRiepilogo CaricaRiepilogo(const QString& cartella, const QStringList& nomi, const SerieSoglie& serie,
                                    const QString& fonte = {},
                                    std::vector<std::shared_ptr<Documento>>* letti = nullptr);
