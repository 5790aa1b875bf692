#pragma once
// The print table shared by the reports and the copies: rows 0..1000 (or as
// many as a long listing asks for) and columns 0..20 of text, one bold flag
// per row. The reports use rows and columns from 1; row 0 and column 0 stay
// empty.
#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <vector>

class QPainter;
class QRectF;

class TabellaStampa {
public:
    static constexpr int MaxRighe = 1000;  // the rows of a table made without a size
    static constexpr int MaxColonne = 20;

    // Rows 0..righe (at least MaxRighe): a long listing asks for as many as
    // it prints. Only the cells written take room.
    explicit TabellaStampa(int righe = MaxRighe);

    // The last row the table has.
    int Righe() const { return righe_; }
    // Out of range rows or columns throw std::out_of_range.
    const QString& Testo(int r, int c) const;
    void setTesto(int r, int c, const QString& t);
    bool RigaGrassetto(int r) const;
    void setRigaGrassetto(int r, bool g);

private:
    void controlla(int r, int c) const;
    int righe_;
    std::vector<std::vector<QString>> celle_;  // by row, as far as its last cell written
    std::vector<bool> grassetto_;
};

// Which flag makes a printed cell bold.
enum class RegolaGrassetto {
    Riga,         // the row's RigaGrassetto
    LineaUguale,  // the row's column 4 starts with "=", or it is the page's last row
};

// Alignment codes of StampaTesto: 0 left edge at x, 1 centred on x, 2 right
// edge at x.
struct ColonnaStampa {
    int colonna = 1;  // table column
    int x = 0;        // twips
    int allineamento = 0;
    RegolaGrassetto regola = RegolaGrassetto::Riga;
};

// One report: the table and everything the page frame needs to print it.
struct Rapporto {
    QString nome;          // "StampaBreve", "StampaOPE", ...
    TabellaStampa tabella;
    int RighePerPagina = 0;
    double NumeroPagine = 1;
    QString titolo;        // "T.E.G. su " + description
    QString sottotitolo;   // empty: the report has none
    std::vector<ColonnaStampa> colonne;
    // Separating lines along the top of page rows 10, 20, 30 and 40.
    bool lineeTrimestri = false;
    // The logo of the page; empty: the program's own.
    QImage logo;
    // Page extra: draws a picture into the given rectangle (device pixels),
    // placed on each page at areaFigura (twips: left, top, width, height).
    std::function<void(QPainter&, const QRectF&)> figura;
    std::array<int, 4> areaFigura{2600, 8000, 4815, 1455};
    // Footer of page n (from 1) when the report is part of a longer document;
    // empty: "Pagina n di " + NumeroPagine.
    std::function<QString(long long pagina)> piede;
};
