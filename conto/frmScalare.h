#pragma once
// "Scalare": the account's daily balance by value date for one year, quarter
// by quarter. Above, the year among those the movements cover; then each
// quarter's figures (numeri within and beyond the credit line, credit numeri,
// largest overdraft and its day, days in debit, value-date lag, what the bank
// posted by class, coverage); under them the lines of the scale. The window
// follows the changes made in the other windows.
#include "ConteggioAperto.h"
#include "FinestraFiglia.h"
#include "PaginaScalare.h"

class QComboBox;
class QLabel;
class VistaGriglia;

class frmScalare : public FinestraFiglia {
    Q_OBJECT
public:
    explicit frmScalare(ConteggioAperto& conteggio, QWidget* genitore = nullptr);

    // Computes the scale again and shows the year chosen (at first the
    // reference year when the movements cover it).
    void Pagina() override;

    // What the window shows; the report, the copy and the exports take it.
    const DatiPaginaScalare& Dati() const { return dati_; }
    // Shows another year; false when the movements do not cover it.
    bool MostraAnno(int anno);

    QComboBox* Anno() const { return anno_; }
    VistaGriglia* Riepilogo() const { return riepilogo_; }
    VistaGriglia* Righe() const { return righe_; }

protected:
    bool event(QEvent* e) override;

private:
    void mostra();
    void rinfresca();

    DatiPaginaScalare dati_;
    int annoScelto_ = 0;
    QComboBox* anno_ = nullptr;
    VistaGriglia* riepilogo_ = nullptr;
    VistaGriglia* righe_ = nullptr;
    QLabel* nota_ = nullptr;
    bool rinfrescoInAttesa_ = false;
};
