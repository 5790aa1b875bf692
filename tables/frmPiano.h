#pragma once
// "Piano di ammortamento": the plan of the mortgage's contract, one row per
// date, with the totals. The window rebuilds itself whenever it is shown or
// brought to the front, so it follows the edits made in the mortgage window.
#include "FinestraFiglia.h"
#include "PaginaPiano.h"

class QLabel;
class VistaGriglia;

class frmPiano : public FinestraFiglia {
    Q_OBJECT
public:
    explicit frmPiano(Documento& documento, QWidget* genitore = nullptr);

    // Builds the plan from the document and shows it.
    void Pagina() override;

    // What the window shows; the report, the copy and the exports take it.
    const DatiPaginaPiano& Dati() const { return dati_; }
    VistaGriglia* Vista() const { return vista_; }

protected:
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;

private:
    void aggiorna();
    void rinfresca();

    DatiPaginaPiano dati_;
    QLabel* intestazione_ = nullptr;
    VistaGriglia* vista_ = nullptr;
    QLabel* note_ = nullptr;
    bool rinfrescoInAttesa_ = false;
};
