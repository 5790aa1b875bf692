#pragma once
// The printer choice: lists the system's printers and the program's PDF
// device, marks the current one, and on "Fatto" makes the selected one
// current. While it is open the main window is disabled.
#include <QDialog>
#include <QIcon>
#include <QPointer>
#include <QStringList>

class QListWidget;

class frmImpostaStampante : public QDialog {
    Q_OBJECT
public:
    explicit frmImpostaStampante(QWidget* principale);
    ~frmImpostaStampante() override;

    // Centres on the main window, disables it and fills the list; with no
    // device at all it says so and returns false: the caller discards it.
    bool Apri();

    // ImageList1: 1 marks the current printer, 2 any other.
    static QIcon Icona(int indice);

public slots:
    void Fatto();     // Command6
    void Annulla();   // Command5
    void Consiglio(); // XPButton4

protected:
    void done(int esito) override;

private:
    void riabilita();
    QPointer<QWidget> principale_;
    QListWidget* lista_ = nullptr;
    QStringList dispositivi_;
};

// The menu command "Seleziona dispositivo di stampa": opens the dialog over
// the main window without waiting for it to close.
void SelezionaStampante(QWidget* principale);
