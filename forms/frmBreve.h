#pragma once
// "T.E.G. su operazioni finanziarie a breve termine": one disbursement and one
// repayment, with the rate of the period and the annual rate refreshed after
// every completed edit.
#include "FinestraFiglia.h"
#include "PagineFinanziamenti.h"

#include <array>

class CampoFinanziamento;
class QDateEdit;
class QLabel;

class frmBreve : public FinestraFiglia {
    Q_OBJECT
public:
    explicit frmBreve(Documento& documento, QWidget* genitore = nullptr);

    // Fills the window from the document's short-term financing (PaginaBreve).
    void Pagina() override;
    // What the window shows, from the document (PaginaBreve).
    DatiPaginaBreve Dati() const;
    void ConfermaModifiche() override;

    // Recomputes the financing and rewrites the two rates.
    void aggiornaBREVEsoft();

private:
    void esciImporto(int i);
    void esciDescrizione();
    void cambioData(int quale);

    std::array<QDateEdit*, 2> date_{};
    std::array<CampoFinanziamento*, 3> importi_{};
    CampoFinanziamento* descrizione_ = nullptr;
    QLabel* tassoPeriodo_ = nullptr;
    QLabel* tassoAnnuale_ = nullptr;
    QLabel* avvisoLire_ = nullptr;
    bool inAggiornamento_ = false;
};
