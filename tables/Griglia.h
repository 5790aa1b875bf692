#pragma once
// A result grid as plain data: what the table windows show, what the reports
// and the copies read back. Sizes are in twips.
#include <QString>
#include <Qt>
#include <vector>

struct CellaGriglia {
    QString testo;
    bool grigia = false;                       // grey 224,224,224 background
    bool grassetto = false;
    bool attenuata = false;                    // grey text: shown for reference only
    Qt::Alignment allineamento = Qt::AlignLeft | Qt::AlignVCenter;
};

struct RigaGriglia {
    int altezza = 285;                         // twips
    bool unisci = false;                       // merge equal neighbouring texts
};

struct ColonnaGriglia {
    int larghezza = 1200;                      // twips
    Qt::Alignment allineamento = Qt::AlignLeft | Qt::AlignVCenter;
};

class Griglia {
public:
    Griglia() = default;
    Griglia(int righe, int colonne) { Dimensiona(righe, colonne); }

    // Resizes to righe x colonne, every cell empty with the column's alignment.
    void Dimensiona(int righe, int colonne)
    {
        righe_.assign(righe, RigaGriglia{});
        colonne_.assign(colonne, ColonnaGriglia{});
        celle_.assign(static_cast<size_t>(righe) * colonne, CellaGriglia{});
    }

    int Righe() const { return static_cast<int>(righe_.size()); }
    int Colonne() const { return static_cast<int>(colonne_.size()); }

    // Cells, rows and columns counted from 0; out of range is a programming
    // error caught by the bounds-checked access.
    CellaGriglia& Cella(int r, int c) { return celle_.at(indice(r, c)); }
    const CellaGriglia& Cella(int r, int c) const { return celle_.at(indice(r, c)); }
    const QString& Testo(int r, int c) const { return Cella(r, c).testo; }
    void setTesto(int r, int c, const QString& t) { Cella(r, c).testo = t; }

    RigaGriglia& Riga(int r) { return righe_.at(r); }
    const RigaGriglia& Riga(int r) const { return righe_.at(r); }
    ColonnaGriglia& Colonna(int c) { return colonne_.at(c); }
    const ColonnaGriglia& Colonna(int c) const { return colonne_.at(c); }

private:
    size_t indice(int r, int c) const
    {
        if (r < 0 || c < 0 || r >= Righe() || c >= Colonne())
            return celle_.size();  // makes at() throw
        return static_cast<size_t>(r) * colonne_.size() + c;
    }
    std::vector<RigaGriglia> righe_;
    std::vector<ColonnaGriglia> colonne_;
    std::vector<CellaGriglia> celle_;
};

// A column of a listing: its header, width in twips and alignment.
struct ColonnaElenco {
    const char* titolo;
    int larghezza;
    Qt::Alignment allineamento;
};

// A listing: a grey bold header row from the columns, then `righe` empty rows;
// every row is 480 twips high, room for two lines.
inline Griglia GrigliaElenco(const std::vector<ColonnaElenco>& colonne, int righe)
{
    const int n = static_cast<int>(colonne.size());
    Griglia g(1 + righe, n);
    for (int c = 0; c < n; ++c) {
        const ColonnaElenco& colonna = colonne[static_cast<size_t>(c)];
        g.Colonna(c).larghezza = colonna.larghezza;
        g.Colonna(c).allineamento = colonna.allineamento | Qt::AlignVCenter;
        CellaGriglia& cella = g.Cella(0, c);
        cella.testo = QString::fromUtf8(colonna.titolo);
        cella.grigia = true;
        cella.grassetto = true;
        cella.allineamento = Qt::AlignCenter;
    }
    for (int r = 0; r <= righe; ++r)
        g.Riga(r).altezza = 480;
    return g;
}

// Writes the texts of row r of a listing, each with its column's alignment.
inline void RigaElenco(Griglia& g, int r, const std::vector<QString>& testi)
{
    for (int c = 0; c < g.Colonne() && c < static_cast<int>(testi.size()); ++c) {
        CellaGriglia& cella = g.Cella(r, c);
        cella.testo = testi[static_cast<size_t>(c)];
        cella.allineamento = g.Colonna(c).allineamento;
    }
}
