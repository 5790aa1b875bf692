#pragma once
// Base of the input and result windows shown inside the main window.
// The shell creates one, records its name as the current window, lays it out
// from its tags (dynamic property "Tag" on the window and on its frame
// XPFrame4) and then calls Pagina() to fill it from the document.
#include <QWidget>

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
    FinestraFiglia(const QString& nome, const QString& tag, QWidget* genitore = nullptr);

    // Fills the window from the document (its page procedure).
    virtual void Pagina() = 0;

    // Commits the field being edited, as if it had lost the focus; here, a
    // date being typed (ConfermaDataInCorso).
    virtual void ConfermaModifiche();

protected:
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

private:
    bool riempita_ = false;
};
