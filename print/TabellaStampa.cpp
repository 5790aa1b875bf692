#include "TabellaStampa.h"

#include <stdexcept>

TabellaStampa::TabellaStampa() = default;

void TabellaStampa::controlla(int r, int c)
{
    if (r < 0 || r > MaxRighe || c < 0 || c > MaxColonne)
        throw std::out_of_range("cella fuori dalla tabella di stampa");
}

const QString& TabellaStampa::Testo(int r, int c) const
{
    static const QString vuota;
    controlla(r, c);
    return static_cast<std::size_t>(r) < righe_.size() ? righe_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]
                                                        : vuota;
}

void TabellaStampa::setTesto(int r, int c, const QString& t)
{
    controlla(r, c);
    if (static_cast<std::size_t>(r) >= righe_.size()) {
        if (t.isEmpty())
            return;
        righe_.resize(static_cast<std::size_t>(r) + 1);
    }
    righe_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = t;
}

bool TabellaStampa::RigaGrassetto(int r) const
{
    controlla(r, 0);
    return static_cast<std::size_t>(r) < grassetto_.size() && grassetto_[static_cast<std::size_t>(r)];
}

void TabellaStampa::setRigaGrassetto(int r, bool g)
{
    controlla(r, 0);
    if (static_cast<std::size_t>(r) >= grassetto_.size()) {
        if (!g)
            return;
        grassetto_.resize(static_cast<std::size_t>(r) + 1, false);
    }
    grassetto_[static_cast<std::size_t>(r)] = g;
}
