#pragma once
// "Come leggere il file": the mapping dialog of a CSV or text export that no
// saved profile recognises. The user says which column holds each date,
// the amount (one signed column, or "Dare" and "Avere" apart), the
// description and the optional balance and CBI causale; the separator, the
// decimal separator, the lines to skip and the date format. The first rows
// of the file are shown as read with those choices, each with its fault,
// after every change. The profile is named and handed back to be saved.
#include "ProfiliCSV.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

class DialogoProfiloCSV : public QDialog {
    Q_OBJECT
public:
    // The dialog for the file at `percorso`, starting from `proposta`
    // (ProfiloProposto) and offering the saved profiles `salvati` as other
    // starting points. `correzione`: the file was refused when read with
    // `proposta`, a saved profile, and the user corrects it.
    DialogoProfiloCSV(const QString& percorso, const ProfiloCSV& proposta, std::vector<ProfiloCSV> salvati,
                      QWidget* genitore = nullptr, bool correzione = false);

    // The profile as the fields say now, its header taken from the file.
    ProfiloCSV Profilo() const;
    // The preview as last shown.
    const AnteprimaCSV& Anteprima() const { return anteprima_; }

    // Controls by name, for the tests that drive the dialog.
    QLineEdit* Nome() const { return nome_; }
    QTableWidget* TabellaAnteprima() const { return tabella_; }

public slots:
    // "Salva profilo": accepted only for a profile that can be used
    // (ProfiloCSV::Difetto) and reads the file's first row; else says why.
    void accept() override;

private:
    void mostra(const ProfiloCSV& p);
    void colonne(int quante);
    void aggiorna();

    QString percorso_;
    ProfiloCSV proposta_;
    std::vector<ProfiloCSV> salvati_;
    AnteprimaCSV anteprima_;
    bool caricamento_ = false;

    QComboBox* parteDa_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QComboBox* separatore_ = nullptr;
    QComboBox* decimale_ = nullptr;
    QSpinBox* righeIniziali_ = nullptr;
    QSpinBox* righeFinali_ = nullptr;
    QComboBox* formatoData_ = nullptr;
    QComboBox* contabile_ = nullptr;
    QComboBox* valuta_ = nullptr;
    QRadioButton* unico_ = nullptr;
    QRadioButton* separati_ = nullptr;
    QComboBox* importo_ = nullptr;
    QComboBox* dare_ = nullptr;
    QComboBox* avere_ = nullptr;
    QComboBox* descrizione_ = nullptr;
    QComboBox* descrizione2_ = nullptr;
    QComboBox* saldo_ = nullptr;
    QComboBox* causale_ = nullptr;
    QLabel* codifica_ = nullptr;
    QTableWidget* tabella_ = nullptr;
    QLabel* esito_ = nullptr;
    QPushButton* salva_ = nullptr;
};
