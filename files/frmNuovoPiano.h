#pragma once
// "Nuovo conteggio": asks for the name of a new calculation, creates its file
// in the archive folder and opens it.
// It closes by Crea, Annulla, Esc or the window frame.
#include "DialogoArchivio.h"

class ConteggioAperto;
class QLabel;
class QLineEdit;
class QPushButton;

class frmNuovoPiano : public DialogoArchivio {
    Q_OBJECT
public:
    // `principale`: the main window to disable while the dialog is up (may be
    // null). `cartella`: the archive folder. `carica`: loads the calculation
    // just created, by name; it reports its own failures.
    frmNuovoPiano(QWidget* principale, const QString& cartella,
                  std::function<void(const QString&)> carica);

    QLabel* Label1() const { return etichetta_; }
    QLineEdit* XPText1() const { return nome_; }
    QPushButton* XPButton1() const { return crea_; }
    QPushButton* XPButton2() const { return annulla_; }

    // Characters a calculation name cannot hold: they are dropped from
    // whatever reaches the name box.
    static bool CarattereRifiutato(QChar c);

    // The longest name the box takes, in characters; a name must also fit a
    // file name of 255 bytes in UTF-8 with its extension.
    static constexpr int LunghezzaMassimaNome = 100;

    // Why `nome` (already trimmed, not empty) cannot name a calculation file
    // of the archive; empty if it can.
    static QString NomeNonValido(const QString& nome);

    // The same dialog for another use of a new name ("Salva con nome…",
    // "Duplica"): its caption, the button's text, the name proposed, and
    // `opera`, which acts on a name that passed the checks above and is not
    // in the archive yet, in place of creating a calculation. `opera`
    // throws ErroreConteggio on failure (the dialog then stays up); on
    // success `carica` is called with the name and the dialog closes.
    void ImpostaOperazione(const QString& titolo, const QString& pulsante, const QString& proposto,
                           std::function<void(const QString&)> opera);

public slots:
    void Crea();    // XPButton1

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void rifiuta(const QString& messaggio);

    QString cartella_;
    std::function<void(const QString&)> opera_;
    QLabel* etichetta_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QPushButton* crea_ = nullptr;
    QPushButton* annulla_ = nullptr;
};

// "Salva con nome…": the dialog asking the new name of the open calculation,
// which ConteggioAperto::SalvaConNome then writes and opens; `dopo` follows a
// successful save. Shown over (and disabling) `principale`; `conteggio` must
// outlive the dialog.
frmNuovoPiano* ApriSalvaConNome(QWidget* principale, ConteggioAperto& conteggio, const QString& cartella,
                                std::function<void(const QString&)> dopo);

// "Salva conteggio": saves the open calculation. When another program has
// saved its file since it was loaded, says so and offers "Salva con nome…"
// (in `cartella`), then throws ComandoInterrotto: the command stops, the file
// untouched. Any other failure is thrown as ConteggioAperto::Salva throws it.
void SalvaOppureConNome(ConteggioAperto& conteggio, const QString& cartella, QWidget* principale);
