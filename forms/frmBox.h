#pragma once
// "T.E.G. su conto corrente - dati di input": the eight figures of each
// quarter, the reference year and the account's description. Each value is
// written into the document when its field is left; the result windows
// recompute the quarters when they are opened.
#include "frmCalcoli.h"

#include <array>

class CampoFinanziamento;
class ElencoFinanziamento;
class QLabel;

class frmBox : public FinestraConto {
    Q_OBJECT
public:
    explicit frmBox(Documento& documento, QWidget* genitore = nullptr);

    // Fills the fields from the document (PaginaInput).
    void Pagina() override;
    // What the window shows, from the document (PaginaInput).
    DatiPaginaInput Dati() const;
    void ConfermaModifiche() override;

    // XPText(k+1)(i): k = 0..7 the row (Numeri, Interessi, Commissioni,
    // Spese, GiorniValuta, CMS, Accordato, MassimoScoperto), i = 0..3 the
    // quarter.
    CampoFinanziamento* Campo(int k, int i) const { return campi_[k][i]; }
    CampoFinanziamento* Descrizione() const { return descrizione_; }
    ElencoFinanziamento* Anno() const { return anno_; }

private:
    static constexpr int Righe = 8;
    void esciCampo(int k, int i);
    void esciDescrizione();
    void sceltaAnno(int indice);

    std::array<std::array<CampoFinanziamento*, 4>, Righe> campi_{};
    CampoFinanziamento* descrizione_ = nullptr;
    ElencoFinanziamento* anno_ = nullptr;
    QLabel* avvisoLire_ = nullptr;
    bool caricamento_ = false;
};
