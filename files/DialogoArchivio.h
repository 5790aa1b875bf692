#pragma once
// What the archive dialogs share: each is a window of its own, not a child of
// the main window, so that it stays usable while it disables the main window;
// whichever way it closes it enables the main window again. Shown with
// show(); it deletes itself when closed, or with the main window.
#include <QDialog>
#include <QPointer>
#include <functional>

class DialogoArchivio : public QDialog {
    Q_OBJECT
public:
    ~DialogoArchivio() override;

public slots:
    void Annulla();  // XPButton2
    void reject() override;

protected:
    // `principale`: the main window to disable while the dialog is up (may be
    // null). `carica`: loads a calculation by name and reports its own
    // failures.
    DialogoArchivio(QWidget* principale, std::function<void(const QString&)> carica);

    // Centres the dialog on the screen and disables the main window; called
    // once the dialog has its size.
    void Blocca();
    // Loads the calculation (a failure that escapes the loader is told over
    // the dialog), then enables the main window and closes.
    void CaricaEChiudi(const QString& nome);

    // While a calculation is being made or loaded the dialog stays up.
    bool InCorso() const { return inCorso_; }
    void setInCorso(bool v) { inCorso_ = v; }

    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void riabilita();

    QPointer<QWidget> principale_;
    std::function<void(const QString&)> carica_;
    bool inCorso_ = false;
};
