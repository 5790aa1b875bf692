#pragma once
// "Condizioni del conto": the account's particulars and its contract
// conditions as periods, each in force from its date to the day before the
// next one's. On the left the list of periods with the buttons that add and
// remove them; beside it the conditions of the period chosen. Each value is
// written into the document when its field is left, after the whole list is
// checked (ControllaCondizioni): a value that would make the conditions
// unsound (two periods from one day, a rate above 100 %) is refused with the
// message naming the period, and the field shows the value it had.
#include "FinestraFiglia.h"
#include "PaginaCondizioni.h"

#include <array>
#include <functional>

class CampoFinanziamento;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class frmCondizioni : public FinestraFiglia {
    Q_OBJECT
public:
    explicit frmCondizioni(Documento& documento, QWidget* genitore = nullptr);

    // Fills the particulars, the list and the period chosen from the document.
    void Pagina() override;
    void ConfermaModifiche() override;

    // What the window shows; the report, the copy and the exports take it.
    DatiPaginaCondizioni Dati() const;

    QTableWidget* Periodi() const { return periodi_; }
    // The period chosen (index in the document's list), -1 when none.
    int PeriodoScelto() const { return scelto_; }
    void ScegliPeriodo(int periodo);
    // Adds a period after the last, with its conditions and a date the
    // others do not have, and chooses it; removes the period chosen.
    void AggiungiPeriodo();
    void EliminaPeriodo();

private:
    // One field of the period: reads it into a copy of the period, or says
    // why it cannot (empty: read).
    using Lettura = std::function<QString(CondizioniPeriodo&)>;
    void esci(const Lettura& leggi);
    bool applica(CondizioniConto nuove, int periodo);
    void mostraPeriodo();
    void mostraElenco();
    void mostraErrori();
    void esciDatoConto(QLineEdit* campo, std::string DatiConto::*membro);
    void cambioAutorizzazione();

    std::array<QLineEdit*, 6> datiConto_{};
    QCheckBox* autorizzazione_ = nullptr;
    QDateEdit* dataAutorizzazione_ = nullptr;
    QTableWidget* periodi_ = nullptr;
    QPushButton* aggiungi_ = nullptr;
    QPushButton* elimina_ = nullptr;
    QWidget* editor_ = nullptr;
    QDateEdit* dal_ = nullptr;
    CampoFinanziamento* accordato_ = nullptr;
    CampoFinanziamento* speseFisse_ = nullptr;
    std::array<CampoFinanziamento*, 4> tassi_{};  // debitore, oltre fido, creditore, CMS
    QComboBox* baseCMS_ = nullptr;
    QComboBox* liquidazione_ = nullptr;
    QComboBox* divisore_ = nullptr;
    std::array<QCheckBox*, 4> patti_{};           // tassi, capitalizzazione, CMS, commissioni
    std::array<QDateEdit*, 4> datePatti_{};
    QCheckBox* usiPiazza_ = nullptr;
    QLabel* errori_ = nullptr;
    int scelto_ = -1;
    bool caricamento_ = false;
};
