#pragma once
// "Apri conteggio": lists the calculations of the archive folder with the four
// descriptions each file holds and opens the one the user picks.
// A calculation can also be duplicated under a new name or deleted. It opens
// large enough for twenty rows and their descriptions, and can be resized.
// It closes by Apri, a double-click, Annulla, Esc or the window frame.
#include "DialogoArchivio.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmCaricaFile : public DialogoArchivio {
    Q_OBJECT
public:
    // `principale`: the main window to disable while the dialog is up (may be
    // null). `cartella`: the archive folder. `carica`: loads the calculation
    // of the given name (the name becomes the current calculation's name);
    // it reports its own failures. `fileAperto`: the open calculation's
    // file, which cannot be deleted.
    frmCaricaFile(QWidget* principale, const QString& cartella,
                  std::function<void(const QString&)> carica, const QString& fileAperto = {});

    QTreeWidget* ListView1() const { return lista_; }
    QPushButton* XPButton1() const { return apri_; }
    QPushButton* XPButton2() const { return annulla_; }
    QPushButton* XPButton3() const { return duplica_; }
    QPushButton* XPButton4() const { return elimina_; }

    // The icon of every row of the list.
    static QIcon ImageList1();

public slots:
    void Apri();    // XPButton1, or a double-click on a row
    void Duplica(); // XPButton3: asks a new name for a copy of the selected calculation
    void Elimina(); // XPButton4: deletes the selected calculation, once confirmed

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void riempi(const QString& cartella);
    void dimensiona();
    void riempiEScegli(const QString& nome);
    QString scelto() const;
    void apriConteggio(const QString& nome);

    QTreeWidget* lista_ = nullptr;
    QPushButton* apri_ = nullptr;
    QPushButton* annulla_ = nullptr;
    QPushButton* duplica_ = nullptr;
    QPushButton* elimina_ = nullptr;
    QString cartella_;
    QString fileAperto_;
};
