#include "SoglieInUso.h"

#include <stdexcept>

namespace {
SerieSoglie serieInUso;
QString cartella;
} // namespace

const SerieSoglie& SoglieInUso() { return serieInUso; }
void ImpostaCartellaSoglie(const QString& c) { cartella = c; }
QString CartellaSoglie() { return cartella; }
void SostituisciSoglie(SerieSoglie serie) { serieInUso = std::move(serie); }
const SerieSoglie& SoglieIncorporate() { return serieInUso; }
QString AvvisoSoglie() { return {}; }
QString TestoUltimaDataSoglie() { return QStringLiteral("Soglie non disponibili"); }
