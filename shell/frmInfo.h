#pragma once
// "Informazioni": what the program is and which version is running.
#include <QWidget>

class QLabel;
class QPushButton;

class frmInfo : public QWidget {
    Q_OBJECT
public:
    explicit frmInfo(QWidget* genitore = nullptr);

    // Names the archive folder in use.
    void MostraArchivio(const QString& cartella);

    // Centres the window on the given rectangle (the main window's frame).
    void Centra(const QRect& cornice);

    QPushButton* Command6() const { return command6_; }

signals:
    // The window is closing, by its button or by the window's own controls.
    void Chiuso();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPushButton* command6_;
    QLabel* cartella_;
    bool chiuso_ = false;
};
