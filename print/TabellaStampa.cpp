#include "TabellaStampa.h"

#include <algorithm>
#include <stdexcept>

TabellaStampa::TabellaStampa(int righe)
    : righe_(std::max(righe, MaxRighe)), celle_(static_cast<std::size_t>(righe_) + 1),
      grassetto_(static_cast<std::size_t>(righe_) + 1, false)
{
}

void TabellaStampa::controlla(int r, int c) const
{
    if (r < 0 || r > righe_ || c < 0 || c > MaxColonne)
        throw std::out_of_range("cella fuori dalla tabella di stampa");
}

const QString& TabellaStampa::Testo(int r, int c) const
{
    static const QString vuoto;
    controlla(r, c);
    const std::vector<QString>& riga = celle_[static_cast<std::size_t>(r)];
    return static_cast<std::size_t>(c) < riga.size() ? riga[static_cast<std::size_t>(c)] : vuoto;
}

void TabellaStampa::setTesto(int r, int c, const QString& t)
{
    controlla(r, c);
    std::vector<QString>& riga = celle_[static_cast<std::size_t>(r)];
    if (static_cast<std::size_t>(c) >= riga.size()) {
        if (t.isEmpty())
            return;
        riga.resize(static_cast<std::size_t>(c) + 1);
    }
    riga[static_cast<std::size_t>(c)] = t;
}

bool TabellaStampa::RigaGrassetto(int r) const
{
    controlla(r, 0);
    return grassetto_[static_cast<std::size_t>(r)];
}

void TabellaStampa::setRigaGrassetto(int r, bool g)
{
    controlla(r, 0);
    grassetto_[static_cast<std::size_t>(r)] = g;
}
