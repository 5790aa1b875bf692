#pragma once
// "Regole delle classi": the ordered rules that give each movement of the
// account its class, as a table the user edits (causali, words, sign,
// class; add, delete, move up and down, the defaults back). The rules are
// checked as they are typed; "Applica" writes them into the calculation and
// classes the movements again, leaving the classes set by hand as they are.
// Closing the window or running a command applies sound rules as "Applica"
// does; rules with faults are not applied, and the window says so.
#include "FinestraFiglia.h"
#include "PaginaRegole.h"

class QLabel;
class QPushButton;
class QTableWidget;

class frmRegole : public FinestraFiglia {
    Q_OBJECT
public:
    explicit frmRegole(Documento& documento, QWidget* genitore = nullptr);
    ~frmRegole() override;

    // Shows the calculation's rules, dropping edits not applied.
    void Pagina() override;
    // Applies edited rules that are sound.
    void ConfermaModifiche() override;

    // What the window shows; the report, the copy and the exports take it.
    const DatiPaginaRegole& Dati() const { return dati_; }
    // The rules as edited.
    const std::vector<RegolaClasse>& Regole() const { return regole_; }
    QTableWidget* Tabella() const { return tabella_; }

    // Column of each cell of the table.
    enum Colonna { Numero, Causali, Parole, Segno, Classe, Movimenti, Colonne };

    // "Applica": checks the rules and, when sound, writes them into the
    // calculation and classes the movements again. False (the faults shown)
    // when they have faults.
    bool Applica();

protected:
    void hideEvent(QHideEvent* e) override;

private:
    void riempi();
    void riga(int r);
    void aggiornaPagina();
    void cambiata(int riga, int colonna);
    void sposta(int di);
    void modificata();

    DatiPaginaRegole dati_;
    std::vector<RegolaClasse> regole_;
    bool daApplicare_ = false;
    bool riempimento_ = false;
    QTableWidget* tabella_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* errori_ = nullptr;
    QLabel* esito_ = nullptr;
    QPushButton* applica_ = nullptr;
};
