#pragma once
// The contract part of the mortgage window, below its grid rates: on the left
// the contract data (dates, TAN and its basis, method, pre-amortisation, the
// bank's TAEG/ISC), the list of costs, default interest and early repayment;
// on the right the results (PaginaContratto), rewritten after every
// completed edit. Each edit goes into the document at once.
#include "PaginaContratto.h"

#include <QWidget>
#include <functional>
#include <vector>

class CampoFinanziamento;
class Documento;
class ElencoFinanziamento;
class QCheckBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

class PannelloContratto : public QWidget {
    Q_OBJECT
public:
    // The document must outlive the panel.
    PannelloContratto(Documento& documento, QWidget* genitore);

    // Shows the document's contract in the fields and its results.
    void Riempi();
    // Rewrites the results from the document (after an edit anywhere in the
    // window), and the contract date, which the usury check also sets.
    void AggiornaRisultati();
    // Commits the field being typed into, as if it had been left.
    void ConfermaModifiche();

    // What the results show.
    const DatiPaginaContratto& Dati() const { return dati_; }

signals:
    // The user changed the document, or is typing a change.
    void Modificato();
    // A command of the window's own buttons, by toolbar key ("piano").
    void Comando(const QString& chiave);

private:
    struct RigaCosto {
        ElencoFinanziamento* tipo = nullptr;
        CampoFinanziamento* descrizione = nullptr;
        CampoFinanziamento* importo = nullptr;
        ElencoFinanziamento* pagamento = nullptr;
        QDateEdit* data = nullptr;
        QCheckBox* nelTasso = nullptr;
        QPushButton* elimina = nullptr;
        CampoFinanziamento* motivo = nullptr;
    };

    QWidget* creaDati();
    CampoFinanziamento* campo(const QString& nome, int filtro, QWidget* genitore, std::function<void()> uscita);
    void creaCosti();
    void mostraCosto(int i);
    void mostraDate();
    void abilita();
    void modificato(bool cambiato);

    void cambioData(bool primaRata);
    void esciTan();
    void esciTaeg();
    void esciPreammortamento();
    void esciMora();
    void esciPenale();
    void cambioEstinzione();
    void aggiungiCosto();
    void eliminaCosto(int i);
    void cambioTipoCosto(int i, int indice);
    void cambioPagamento(int i, int indice);
    void cambioDataCosto(int i);
    void cambioNelTasso(int i);
    void esciImportoCosto(int i);
    void esciTestoCosto(int i, bool motivo);

    Documento& documento_;
    DatiPaginaContratto dati_;
    bool riempimento_ = false;

    QCheckBox* stipulaIndicata_ = nullptr;
    QDateEdit* stipula_ = nullptr;
    QCheckBox* primaRataIndicata_ = nullptr;
    QDateEdit* primaRata_ = nullptr;
    CampoFinanziamento* tan_ = nullptr;
    ElencoFinanziamento* base_ = nullptr;
    ElencoFinanziamento* metodo_ = nullptr;
    CampoFinanziamento* preammortamento_ = nullptr;
    CampoFinanziamento* taeg_ = nullptr;
    QWidget* cornicecosti_ = nullptr;
    QGridLayout* grigliaCosti_ = nullptr;
    std::vector<RigaCosto> costi_;
    ElencoFinanziamento* tipoMora_ = nullptr;
    CampoFinanziamento* mora_ = nullptr;
    QCheckBox* estinzione_ = nullptr;
    QDateEdit* dataEstinzione_ = nullptr;
    ElencoFinanziamento* tipoPenale_ = nullptr;
    CampoFinanziamento* penale_ = nullptr;
    QWidget* risultati_ = nullptr;
    QGridLayout* grigliaRisultati_ = nullptr;
    // The text fields and what leaving each one does.
    std::vector<std::pair<QLineEdit*, std::function<void()>>> uscite_;
};
