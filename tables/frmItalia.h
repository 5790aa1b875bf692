#pragma once
// "T.E.G. su conto corrente con procedura della Banca d'Italia": the grid of
// the supervisory formula's terms, and the formula itself in Picture1.
#include "frmCalcoli.h"

// Picture1: "Formula della Banca d'Italia:" over
// T.E.G.% = (Interessi x 365(6)) / Numeri capitale + (Oneri x 100) / Accordato,
// each term drawn as a fraction.
class FiguraFormula : public QWidget {
    Q_OBJECT
public:
    explicit FiguraFormula(QWidget* genitore);

    // The size the picture is designed at, in pixels.
    static QSize MisuraProgetto() { return {317, 97}; }

    // Draws the heading and the formula into r, on a white ground, the text
    // sized to fit.
    static void Disegna(QPainter& p, const QRectF& r, const QFont& base);

protected:
    void paintEvent(QPaintEvent* e) override;
};

class frmItalia : public FinestraRisultati {
    Q_OBJECT
public:
    explicit frmItalia(QWidget* genitore = nullptr);

    // Fills the grid with PaginaItalia.
    void Pagina() override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Puts the formula beside the table, in the grid's free space.
    void collocaFigura();
    FiguraFormula* figura_;
};
