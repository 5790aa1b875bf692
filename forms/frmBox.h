#pragma once
// "T.E.G. su conto corrente - dati di input": the eight figures of each
// quarter and the average CMS of its period (for the CMS check up to 2009,
// typed from the decree: the program ships no series of it), the reference
// year and the account's description. Each value is
// written into the document when its field is left; the result windows
// recompute the quarters when they are opened. A figure that "Calcola
// trimestri dai movimenti" filled carries a mark and a tooltip saying where
// it came from, until the user types another value over it.
#include "frmCalcoli.h"

#include <array>

class CampoFinanziamento;
class QAction;
class QLabel;
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

    // XPText(k+1)(i): k = 0..8 the row (Numeri, Interessi, Commissioni,
    // Spese, GiorniValuta, CMS, Accordato, MassimoScoperto, the average CMS
    // of the period in percent), i = 0..3 the quarter.
    CampoFinanziamento* Campo(int k, int i) const { return campi_[k][i]; }
    CampoFinanziamento* Descrizione() const { return descrizione_; }
    ElencoFinanziamento* Anno() const { return anno_; }

private:
    static constexpr int Righe = 9;
    void esciCampo(int k, int i);
    void esciDescrizione();
    void sceltaAnno(int indice);
    // Shows where the figure came from (a mark in the field and its
    // tooltip); nothing for a figure the user typed.
    void mostraFonte(int k, int i, const QString& fonte);
    // The key to the marks, shown while a figure or a quarter is marked.
    void aggiornaLegenda();

    std::array<std::array<CampoFinanziamento*, 4>, Righe> campi_{};
    std::array<std::array<QAction*, 4>, Righe> segni_{};
    std::array<QLabel*, 4> intestazioni_{};
    QLabel* legenda_ = nullptr;
    CampoFinanziamento* descrizione_ = nullptr;
    ElencoFinanziamento* anno_ = nullptr;
    QLabel* avvisoLire_ = nullptr;
    bool caricamento_ = false;
};
