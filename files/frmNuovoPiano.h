#pragma once
// "Nuovo conteggio": asks for the name of a new calculation, creates its file
// in the archive folder and opens it.
//
// Like "Apri conteggio" it is a window of its own that disables the main
// window while it is up and enables it again whenever it closes (Crea,
// Annulla, Esc or the window frame). Show it with show(); it deletes itself
// when closed.
#include <QDialog>
#include <QPointer>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class frmNuovoPiano : public QDialog {
    Q_OBJECT
public:
    // `principale`: the main window to disable while the dialog is up (may be
    // null). `cartella`: the archive folder. `carica`: loads the calculation
    // just created, by name; it reports its own failures.
    frmNuovoPiano(QWidget* principale, const QString& cartella,
                  std::function<void(const QString&)> carica);
    ~frmNuovoPiano() override;

    QLabel* Label1() const { return etichetta_; }
    QLineEdit* XPText1() const { return nome_; }
    QPushButton* XPButton1() const { return crea_; }
    QPushButton* XPButton2() const { return annulla_; }

    // Characters a calculation name cannot hold: they are dropped from
    // whatever reaches the name box.
    static bool CarattereRifiutato(QChar c);

    // Why `nome` (already trimmed, not empty) cannot name a calculation file
    // of the archive; empty if it can.
    static QString NomeNonValido(const QString& nome);

public slots:
    void Crea();    // XPButton1
    void Annulla(); // XPButton2
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void rifiuta(const QString& messaggio);
    void riabilita();

    QPointer<QWidget> principale_;
    QString cartella_;
    std::function<void(const QString&)> carica_;
    QLabel* etichetta_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QPushButton* crea_ = nullptr;
    QPushButton* annulla_ = nullptr;
    bool inCorso_ = false;
};
