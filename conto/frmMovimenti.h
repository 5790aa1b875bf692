#pragma once
// "Movimenti": the account's movements in a table that stays quick with tens
// of thousands of rows. Above it the filter (booking dates, class, words or an
// amount) and the commands (add, delete, class from the rules, undo, redo);
// a click on a heading sorts by that column, again the other way. A cell is
// edited by typing into it or with a double click; Ins adds a movement after
// the current one, Canc deletes the rows selected, Ctrl+Z takes the last
// change back. Beside each movement its running balance by value date and,
// where a statement closes, its declared balance and whether it agrees.
#include "ConteggioAperto.h"
#include "FinestraFiglia.h"
#include "ModelloMovimenti.h"
#include "PaginaMovimenti.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

class frmMovimenti : public FinestraFiglia {
    Q_OBJECT
public:
    // The window works on the open calculation's document; it follows the
    // changes other windows make to the movements when it comes to the front.
    explicit frmMovimenti(ConteggioAperto& conteggio, QWidget* genitore = nullptr);

    // Reads the movements from the document again.
    void Pagina() override;
    void ConfermaModifiche() override;

    // What the window shows, in its order and through its filter; the
    // report, the copy and the exports take it.
    DatiPaginaMovimenti Dati() const;

    QTableView* Tabella() const { return tabella_; }
    ModelloMovimenti* Modello() const { return modello_; }
    QLineEdit* FiltroDal() const { return dal_; }
    QLineEdit* FiltroAl() const { return al_; }
    QComboBox* FiltroClasse() const { return classe_; }
    QLineEdit* FiltroTesto() const { return testo_; }
    QLabel* Stato() const { return stato_; }

    // The commands of the window's buttons and keys.
    void AggiungiMovimento();
    void EliminaSelezionati();
    void ClasseDalleRegole();

protected:
    bool event(QEvent* e) override;

private:
    void applicaFiltro();
    void aggiornaStato();
    std::vector<int> righeSelezionate() const;
    void vaiA(int riga, int colonna);

    ConteggioAperto& conteggio_;
    ModelloMovimenti* modello_ = nullptr;
    QTableView* tabella_ = nullptr;
    QLineEdit* dal_ = nullptr;
    QLineEdit* al_ = nullptr;
    QComboBox* classe_ = nullptr;
    QLineEdit* testo_ = nullptr;
    QTimer* attesaTesto_ = nullptr;
    QLabel* stato_ = nullptr;
    std::size_t impronta_ = 0;  // of the movements as last read or edited here
    bool proprio_ = false;      // an edit of this window is being reported
};
