#pragma once
// "Nuovo conteggio": asks for the name of a new calculation, creates its file
// in the archive folder and opens it.
// It closes by Crea, Annulla, Esc or the window frame.
#include "DialogoArchivio.h"

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

public slots:
    void Crea();    // XPButton1

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void rifiuta(const QString& messaggio);

    QString cartella_;
    QLabel* etichetta_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QPushButton* crea_ = nullptr;
    QPushButton* annulla_ = nullptr;
};
