#include "TabellaStampa.h"

#include <stdexcept>

TabellaStampa::TabellaStampa()
    : celle_(static_cast<std::size_t>(MaxRighe + 1) * (MaxColonne + 1))
{
}

std::size_t TabellaStampa::indice(int r, int c)
{
    if (r < 0 || r > MaxRighe || c < 0 || c > MaxColonne)
        throw std::out_of_range("cella fuori dalla tabella di stampa");
    return static_cast<std::size_t>(r) * (MaxColonne + 1) + c;
}

const QString& TabellaStampa::Testo(int r, int c) const { return celle_[indice(r, c)]; }

void TabellaStampa::setTesto(int r, int c, const QString& t) { celle_[indice(r, c)] = t; }

bool TabellaStampa::RigaGrassetto(int r) const
{
    indice(r, 0);
    return grassetto_[r];
}

void TabellaStampa::setRigaGrassetto(int r, bool g)
{
    indice(r, 0);
    grassetto_[r] = g;
}
