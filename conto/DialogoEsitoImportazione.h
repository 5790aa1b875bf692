#pragma once
// "Importazione degli estratti conto": the summary of an import before it is
// applied. The totals (statements, movements to add, duplicates skipped, the
// period), one row per statement (file, format, account, dates, declared
// balances and whether they add up, movements read, new and already there)
// and one per refused file, then the warnings and each refused file's faults
// with their line or record. "Importa" applies it, "Annulla" leaves the
// calculation as it is; with nothing to add there is only "Chiudi".
#include "ImportaEstratti.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class DialogoEsitoImportazione : public QDialog {
    Q_OBJECT
public:
    // applicabile: the import adds something to the calculation.
    DialogoEsitoImportazione(const EsitoImportazione& esito, bool applicabile, QWidget* genitore = nullptr);

    QLabel* Riepilogo() const { return riepilogo_; }
    QTableWidget* Estratti() const { return estratti_; }
    QPlainTextEdit* Avvisi() const { return avvisi_; }
    // "Importa"; nullptr when there is nothing to add.
    QPushButton* Importa() const { return importa_; }

private:
    QLabel* riepilogo_ = nullptr;
    QTableWidget* estratti_ = nullptr;
    QPlainTextEdit* avvisi_ = nullptr;
    QPushButton* importa_ = nullptr;
};
