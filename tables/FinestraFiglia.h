#pragma once
// Base of the input and result windows shown inside the main window.
// The shell creates one on the open calculation's document, records its name
// as the current window, lays it out from its tags (dynamic property "Tag" on
// the window and on its frame XPFrame4) and then calls Pagina() to fill it
// from the document. What a window shows is also given as plain data by its
// Dati(), which the reports, copies and exports take.
#include <QWidget>

class Documento;
class QLineEdit;
class QPushButton;

// The title band XPButton1 across the top of a child window: the title in
// bold, a little larger, at 120, 120 twips, 14895 twips wide and 405 high
// (the layout stretches it with the window).
QPushButton* CreaBandaTitolo(QWidget* finestra, const QString& titolo);

class FinestraFiglia : public QWidget {
    Q_OBJECT
public:
    // nome is the window's objectName ("frmBox", ...); tag the window's
    // 10-digit design size. The subclass writes its frame's 20-digit tag.
    // The document must outlive the window.
    FinestraFiglia(const QString& nome, const QString& tag, Documento& documento, QWidget* genitore = nullptr);

    // Fills the window from the document (its page procedure).
    virtual void Pagina() = 0;

    // Commits the field being edited, as if it had lost the focus; here, a
    // date being typed (ConfermaDataInCorso).
    virtual void ConfermaModifiche();

    // The document the window shows and edits.
    Documento& Conteggio() const { return documento_; }

    // True only while the window is being filled from the document: its
    // change handlers then neither write into the document nor recompute.
    bool CaricamentoInCorso() const { return caricamento_ > 0; }

protected:
    // Sets CaricamentoInCorso for its lifetime, also when filling fails.
    class CaricamentoGuardia {
    public:
        explicit CaricamentoGuardia(FinestraFiglia& f) : f_(f) { ++f_.caricamento_; }
        ~CaricamentoGuardia() { --f_.caricamento_; }
        CaricamentoGuardia(const CaricamentoGuardia&) = delete;
        CaricamentoGuardia& operator=(const CaricamentoGuardia&) = delete;

    private:
        FinestraFiglia& f_;
    };

    // Typing into the field is an edit of the document: Modificato at once,
    // before the value reaches the document when the field is left.
    void SegnalaDigitazione(QLineEdit* campo);

    // Pagina() calls this once the window shows the document: from then on
    // what is being typed when the window hides is kept.
    void SegnaRiempita() { riempita_ = true; }
    bool Riempita() const { return riempita_; }

    // Closed or replaced by another window, it keeps what is being typed,
    // as if the field had been left.
    void hideEvent(QHideEvent* e) override;

signals:
    // Asks the shell to run a command by its toolbar key ("cc", "calcoli",
    // "italia", ...), for the windows' own toolbars.
    void Comando(const QString& chiave);

    // The user has changed the document, or is typing a change into a field.
    void Modificato();

private:
    Documento& documento_;
    int caricamento_ = 0;
    bool riempita_ = false;
};
