#pragma once
// "T.E.G. su operazioni finanziarie varie": up to ten dated cash flows and
// their annual rate, recomputed after every completed edit.
#include "FinestraFiglia.h"
#include "PagineFinanziamenti.h"

#include <array>

class CampoFinanziamento;
class ElencoFinanziamento;
class QLabel;

class frmOPE : public FinestraFiglia {
    Q_OBJECT
public:
    static constexpr int Righe = 10;

    explicit frmOPE(Documento& documento, QWidget* genitore = nullptr);

    // Fills the window from the document's operations (PaginaOPE).
    void Pagina() override;
    // What the window shows, from the document (PaginaOPE).
    DatiPaginaOPE Dati() const;
    void ConfermaModifiche() override;

    // Recomputes the operations and rewrites the annual rate.
    void aggiornaOPEsoft();

private:
    void esciImporto(int k);
    void esciDescrizione();
    void sceltaMese(int k, int indice);
    void sceltaSegno(int k, int indice);

    std::array<QLabel*, Righe> numeri_{};
    std::array<ElencoFinanziamento*, Righe> mesi_{};
    std::array<ElencoFinanziamento*, Righe> segni_{};
    std::array<CampoFinanziamento*, Righe> importi_{};
    CampoFinanziamento* descrizione_ = nullptr;
    QLabel* tasso_ = nullptr;
    QLabel* tassoEsatto_ = nullptr;
    bool inAggiornamento_ = false;
};
