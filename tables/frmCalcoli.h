#pragma once
// The analytic current-account table, and what the three current-account
// windows share: the title band, the three-button toolbar, the frame and the
// table view that renders a Griglia.
#include "FinestraFiglia.h"
#include "Griglia.h"
#include "Pagine.h"

#include <QAbstractTableModel>
#include <QTableView>
#include <vector>

class QFrame;
class QToolBar;

// A Griglia offered to a table view: text, bold, grey background and
// alignment of every cell.
class ModelloGriglia : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Imposta(const Griglia& g);
    const Griglia& Tabella() const { return griglia_; }

    int rowCount(const QModelIndex& genitore = {}) const override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& i, int ruolo) const override;
    Qt::ItemFlags flags(const QModelIndex& i) const override;

private:
    Griglia griglia_;
};

// The table view "Grid": shows a Griglia with its widths and heights from
// twips and the equal neighbours of merging rows drawn as one cell.
class VistaGriglia : public QTableView {
    Q_OBJECT
public:
    explicit VistaGriglia(QWidget* genitore);

    void Mostra(const Griglia& g);
    const Griglia& Tabella() const { return modello_->Tabella(); }

    // Fits every column to its longest line (a heading may wrap between its
    // words); the room left goes to the first of the `flessibili` columns,
    // and when there is not room for all, those columns share what is left
    // and wrap. Then fits the rows again. For a list that fills a window of
    // any width, rather than a table of fixed design.
    void AdattaColonne(const std::vector<int>& flessibili);

    // The spans [first column, count] a merging row is drawn with.
    static std::vector<std::pair<int, int>> Unioni(const Griglia& g, int riga);

    // The font the grid is drawn with: a compact face at base's size or
    // smaller, so that the labels of ordinary rows fit their columns.
    static QFont CarattereAdatto(const Griglia& g, const QFont& base);

private:
    int altezzaContenuto(int riga) const;
    ModelloGriglia* modello_;
};

// A current-account window: title band XPButton1, toolbar Toolbar1 with the
// keys "input", "matematico", "italia", and the frame XPFrame4 (with its
// layout tag). A toolbar key other than the window's own is passed on as
// Comando(key).
class FinestraConto : public FinestraFiglia {
    Q_OBJECT
public:
    FinestraConto(const QString& nome, const QString& titolo, const QString& chiavePropria, Documento& documento,
                  QWidget* genitore = nullptr);

    QFrame* Cornice() const { return cornice_; }
    QToolBar* Barra() const { return barra_; }

    // The three toolbar captions, padded with blanks as the buttons show them.
    static QString DidascaliaPulsante(const QString& chiave);

private:
    void pulsante(const QString& chiave);
    QString chiavePropria_;
    QFrame* cornice_;
    QToolBar* barra_;
};

// A result window: a grid Grid inside the frame, filled by a page procedure.
class FinestraRisultati : public FinestraConto {
    Q_OBJECT
public:
    using FinestraConto::FinestraConto;

    // The table the window shows.
    const Griglia& Tabella() const { return vista_->Tabella(); }
    VistaGriglia* Vista() const { return vista_; }
    // The page: the table shown, titled with the account's description as
    // the document has it now. The reports, copies and exports take it.
    virtual DatiPaginaConto Dati() const;

protected:
    void CreaVista();
    // Shows the grid, then tells the user what could not be computed.
    void MostraTabella(const Griglia& g, const QString& errore);

private:
    VistaGriglia* vista_ = nullptr;
};

// "T.E.G. su conto corrente con calcolo analitico".
class frmCalcoli : public FinestraRisultati {
    Q_OBJECT
public:
    explicit frmCalcoli(Documento& documento, QWidget* genitore = nullptr);

    // Fills the grid with PaginaMatematico.
    void Pagina() override;
};
