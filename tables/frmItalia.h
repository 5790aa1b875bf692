#pragma once
// "T.E.G. su conto corrente con procedura della Banca d'Italia": the grid of
// the supervisory formula's terms, and the formula itself in Picture1.
#include "frmCalcoli.h"

#include <functional>

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
    // The picture as the window paints it at that size: Disegna and its border.
    static void DisegnaRiquadro(QPainter& p, const QSize& misura, const QFont& base, const QColor& bordo);
    // The picture as it is shown now, for a report: drawn into a rectangle
    // of the report's device at that device's resolution.
    std::function<void(QPainter&, const QRectF&)> Figura() const;

protected:
    void paintEvent(QPaintEvent* e) override;
};

class frmItalia : public FinestraRisultati {
    Q_OBJECT
public:
    explicit frmItalia(Documento& documento, QWidget* genitore = nullptr);

    // Fills the grid with PaginaItalia.
    void Pagina() override;
    // The page with the formula as the window shows it.
    DatiPaginaConto Dati() const override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Puts the formula beside the table, in the grid's free space.
    void collocaFigura();
    FiguraFormula* figura_;
};
