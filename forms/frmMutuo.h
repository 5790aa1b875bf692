#pragma once
// "T.E.G. su mutui periodici a rata costante": the mortgage repaid in equal
// instalments, recomputed after every completed edit.
#include "FinestraFiglia.h"
#include "PagineFinanziamenti.h"

#include <array>

class CampoFinanziamento;
class ElencoFinanziamento;
class PannelloContratto;
class QFrame;
class QLabel;

class frmMutuo : public FinestraFiglia {
    Q_OBJECT
public:
    explicit frmMutuo(Documento& documento, QWidget* genitore = nullptr);

    // Fills the window from the document's mortgage (PaginaMutuo) and its
    // contract.
    void Pagina() override;
    // What the window shows, from the document (PaginaMutuoConContratto).
    DatiPaginaMutuo Dati() const;
    void ConfermaModifiche() override;

    // Recomputes the mortgage and rewrites the heading and the two rates,
    // then the contract's results.
    void aggiornaMUTUOsoft();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    bool event(QEvent* e) override;

private:
    void esciImporto(int i);
    void esciDescrizione();
    void sceltaPeriodicita(int indice);
    void sceltaNumeroRate(int indice);

    std::array<CampoFinanziamento*, 3> importi_{};
    CampoFinanziamento* descrizione_ = nullptr;
    ElencoFinanziamento* periodicita_ = nullptr;
    ElencoFinanziamento* numeroRate_ = nullptr;
    QLabel* intestazione_ = nullptr;
    QLabel* tassoPeriodo_ = nullptr;
    QLabel* didascaliaAnnuale_ = nullptr;
    QLabel* tassoAnnuale_ = nullptr;
    QLabel* tassoEsatto_ = nullptr;
    QFrame* cornice_ = nullptr;
    PannelloContratto* contratto_ = nullptr;
    bool inAggiornamento_ = false;
};
