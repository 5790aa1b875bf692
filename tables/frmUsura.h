#pragma once
// "Verifica usura": every rate of the calculation against the usury
// threshold of its period, category and class. Above the table the user
// chooses, for each operation, the category, the amount class and the date
// that places it in a period; each choice is written into the document and
// the table is rebuilt. The window also rebuilds itself whenever it is shown
// or brought to the front, so it follows edits made in the other windows.
#include "FinestraFiglia.h"
#include "PaginaSoglia.h"

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class VistaGriglia;

class frmUsura : public FinestraFiglia {
    Q_OBJECT
public:
    explicit frmUsura(Documento& documento, QWidget* genitore = nullptr);

    // Checks the document again and fills the choices and the table.
    void Pagina() override;

    // What the window shows; the report, the copy and the exports take it.
    const DatiPaginaSoglia& Dati() const { return dati_; }
    VistaGriglia* Vista() const { return vista_; }

    // Row k: 0 current account, 1 mortgage, 2 cash flows, 3 short-term.
    QComboBox* Categoria(int k) const { return categorie_[k]; }
    QComboBox* Classe(int k) const { return classi_[k]; }
    // The date field and its check box, for the mortgage (1) and the cash
    // flows (2); nullptr for the other rows.
    QDateEdit* Data(int k) const { return date_[k]; }
    QCheckBox* DataIndicata(int k) const { return indicate_[k]; }

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    bool event(QEvent* e) override;

private:
    void aggiorna(bool ancheDate);
    void allargaCategoria();
    void rinfresca();
    void sceltaCategoria(int k, int indice);
    void sceltaClasse(int k, int indice);
    void cambioData(int k);

    DatiPaginaSoglia dati_;
    std::array<QComboBox*, 4> categorie_{};
    std::array<QComboBox*, 4> classi_{};
    std::array<QDateEdit*, 4> date_{};
    std::array<QCheckBox*, 4> indicate_{};
    std::array<QLabel*, 4> noteDate_{};
    VistaGriglia* vista_ = nullptr;
    QLabel* fonte_ = nullptr;
    bool caricamento_ = false;
    bool rinfrescoInAttesa_ = false;
};
