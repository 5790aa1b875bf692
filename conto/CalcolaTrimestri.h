#pragma once
// "Calcola trimestri dai movimenti": the quarters of the current account
// filled from the scale of the movements, for the reference year the user
// chooses among the years the movements cover; for the other years, when
// asked, one calculation each in the archive (the archive keeps one
// calculation a year, and the multi-year overview reads them together).
#include "Scalare.h"

#include <QDialog>
#include <QString>
#include <vector>

class ConteggioAperto;
class QCheckBox;
class QLabel;
class QTableWidget;

// The choice: which year the open calculation takes, and whether the other
// years get a calculation of their own.
class dlgCalcolaTrimestri : public QDialog {
    Q_OBJECT
public:
    // `anni`: the years covered, with the coverage of their quarters;
    // `proposto`: the year chosen at first; `nome`: the open calculation's
    // name, from which the others' are made.
    dlgCalcolaTrimestri(const std::vector<AnnoCoperto>& anni, int proposto, const QString& nome,
                        QWidget* genitore = nullptr);

    int AnnoScelto() const;
    bool PerOgniAnno() const;

    QTableWidget* Anni() const { return anni_; }
    QCheckBox* AltriAnni() const { return altri_; }

private:
    void aggiornaNota();

    std::vector<AnnoCoperto> coperti_;
    QString nome_;
    QTableWidget* anni_ = nullptr;
    QCheckBox* altri_ = nullptr;
    QLabel* nota_ = nullptr;
};

// The command. Asks the year (dlgCalcolaTrimestri) and, when a quarter to
// fill is covered only in part, whether to fill it anyway; then writes the
// other years' calculations into `archivio` (never over one that exists: those
// are left as they are and named in the summary) and fills the open
// calculation's quarters, marking it modified. False when there is nothing to
// compute (a message says why) or the user cancels. A failure is thrown with
// its text, after removing the files this command wrote; the open
// calculation is then as it was.
bool CalcolaTrimestriDaMovimenti(ConteggioAperto& conteggio, const QString& archivio, QWidget* genitore);
