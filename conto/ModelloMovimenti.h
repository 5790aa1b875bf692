#pragma once
// The movements of the open calculation offered to a table view: one row per
// movement shown, in the order chosen (any column, either way) and through a
// filter (booking dates, class, words), with the running balance by value
// date and the statements' declared balances beside them. Edits, additions
// and deletions go into the document through an undo stack, so that each can
// be taken back (Ctrl+Z) and done again. The model keeps only the list of the
// movements it shows, never copies of them: 50 000 movements stay light.
#include "PaginaMovimenti.h"

#include <QAbstractTableModel>
#include <QString>
#include <QUndoStack>
#include <chrono>
#include <optional>
#include <vector>

class Documento;

// Which movements the window shows.
struct FiltroMovimenti {
    std::optional<std::chrono::sys_days> dal, al;  // booking dates, both included
    std::optional<ClasseMovimento> classe;
    bool soloAMano = false;                        // only the classes set by hand
    QString testo;  // words of the description or causale (as the rules compare them), or an amount's digits

    bool Vuoto() const { return !dal && !al && !classe && !soloAMano && testo.trimmed().isEmpty(); }
    // The filter in words, for the page: "Tutti i movimenti" when empty.
    QString Descrizione() const;
};

// An amount typed the Italian way ("-1.234,56", "1234,5"), in cents; empty,
// with the reason to follow "L'importo «…»", when it is none or beyond the
// ±10 000 000 000 euro a movement may hold.
std::optional<Centesimi> LeggiCentesimi(const QString& testo, QString* motivo = nullptr);

class ModelloMovimenti : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModelloMovimenti(Documento& documento, QObject* genitore = nullptr);

    // Reads the movements again from the document (they may have been changed
    // elsewhere), keeping the order and the filter; the undo stack is emptied.
    void Ricarica();

    void ImpostaFiltro(const FiltroMovimenti& filtro);
    const FiltroMovimenti& Filtro() const { return filtro_; }
    int ColonnaOrdine() const { return colonnaOrdine_; }
    Qt::SortOrder VersoOrdine() const { return verso_; }

    // The movement (index in the document's list) shown at a row, and the
    // row showing a movement (-1 when the filter hides it).
    std::size_t IndiceDi(int riga) const { return righe_.at(static_cast<std::size_t>(riga)); }
    int RigaDi(std::size_t movimento) const;
    // The movements shown, in their order.
    const std::vector<std::size_t>& Ordine() const { return righe_; }
    const SaldiAccanto& Saldi() const { return saldi_; }

    // Adds a new movement after the one at `riga` (at the top with -1): dated
    // as that one, amount 0, no description. Returns its row.
    int Aggiungi(int riga);
    // Deletes the movements at these rows, as one step to undo.
    void Elimina(const std::vector<int>& righe);
    // Gives the movements at these rows the class the rules give them again
    // (undoing "a mano"), as one step to undo. False when none changed.
    bool ClasseDalleRegole(const std::vector<int>& righe);

    QUndoStack* Annullamenti() { return &annulla_; }

    // A digest of the movements, to tell whether another window changed them.
    static std::size_t Impronta(const std::vector<Movimento>& movimenti);

    int rowCount(const QModelIndex& genitore = {}) const override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento, int ruolo) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;
    // Reads what was typed into a cell; a text that is not a date, an
    // amount, a causale or a class is refused (Rifiutato) and nothing changes.
    bool setData(const QModelIndex& indice, const QVariant& valore, int ruolo = Qt::EditRole) override;
    void sort(int colonna, Qt::SortOrder verso = Qt::AscendingOrder) override;

signals:
    // The document's movements changed (an edit, an undo or a redo).
    void Modificato();
    // A typed value was refused: why, in Italian.
    void Rifiutato(const QString& motivo);

private:
    friend class ComandoMovimenti;

    // What the undo commands do to the document and to the rows shown.
    void sostituisci(const std::vector<std::pair<std::size_t, Movimento>>& nuovi);
    // Inserts movements at their places in the document's list (ascending
    // places of the list after insertion), each shown at its row when the
    // filter lets it through.
    void inserisci(const std::vector<std::pair<std::size_t, Movimento>>& nuovi, const std::vector<int>& righe);
    // Removes the movements at these places (ascending); gives back their
    // rows in the view (-1 when hidden).
    std::vector<int> rimuovi(const std::vector<std::size_t>& posizioni);

    bool passa(std::size_t movimento) const;
    void riordina();
    void aggiornaSaldi();
    void aggiornaInverso();
    std::vector<Movimento>& movimenti();
    const std::vector<Movimento>& movimenti() const;

    Documento& documento_;
    std::vector<std::size_t> righe_;   // the movements shown, in order
    std::vector<int> inverso_;         // row of each movement, -1 when hidden
    SaldiAccanto saldi_;
    FiltroMovimenti filtro_;
    std::string testoCercato_;               // the filter's text as the rules compare texts
    std::optional<Centesimi> importoCercato_; // the filter's text read as an amount
    int colonnaOrdine_ = -1;           // -1: the list's own order
    Qt::SortOrder verso_ = Qt::AscendingOrder;
    QUndoStack annulla_;
};
