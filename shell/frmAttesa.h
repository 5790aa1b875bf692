#pragma once
// The wait window: "Attendere..." while a slow window opens or a report is
// printed. The main window disables itself while it is up.
#include <QWidget>

class frmAttesa : public QWidget {
    Q_OBJECT
public:
    explicit frmAttesa(QWidget* genitore = nullptr);

    // Centres the window on the screen it is on.
    void Centra();
};
