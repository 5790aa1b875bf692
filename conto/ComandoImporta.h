#pragma once
// The commands "Importa estratto conto…" and "Annulla importazione" on the
// open calculation.
#include <QStringList>

#include <functional>
#include <optional>

class ConteggioAperto;
class QDialog;
class QWidget;

// Imports statement files into the open calculation's account. The user
// chooses the files (several at once). A CSV export that no saved profile
// recognises opens the mapping dialog; its profile is saved in the folder
// `cartellaProfili` and read the next file with the same header, in this
// import and the next ones. The files are read and checked in another thread
// with a progress dialog whose "Annulla" stops the reading and changes
// nothing. The summary shows what would be added and what was refused (a
// refused file adds nothing); "Importa" applies it, as an import that
// AnnullaImportazione takes back. Returns the movements added, empty when
// nothing was applied. Faults of the files and of the profiles' store are
// shown, not thrown; only a lack of memory is thrown, with the calculation
// as it was.
std::optional<std::size_t> ImportaEstrattoConto(ConteggioAperto& conteggio, const QString& cartellaProfili, QWidget* genitore);

// Takes back the last import, after asking when the account was changed in
// a window since. False when there is no import to take back (and says so)
// or the user keeps it.
bool AnnullaImportazione(ConteggioAperto& conteggio, QWidget* genitore);

// True while the last import into `conteggio` can be taken back.
bool ImportazioneAnnullabile(ConteggioAperto& conteggio);

// Tests answer in place of the user: `file` gives the files chosen (an empty
// list cancels); `dialogo` gets each dialog of the import once it is shown
// (the progress "frmAvanzamentoImportazione", the mapping "frmProfiloCSV",
// the summary "frmEsitoImportazione") and drives it with mouse and keys. A
// mapping or summary dialog still open when it returns is cancelled; the
// progress dialog stays until the reading ends. Empty members: the dialogs
// are shown to the user.
struct RisposteImportazione {
    std::function<QStringList()> file;
    std::function<void(QDialog&)> dialogo;
};
void ImpostaRisposteImportazione(RisposteImportazione risposte);
