#pragma once
// Calculation files: each calculation is one SQLite database "<name>.ccc" in
// the archive folder, with the tables parametri, mutuo, ope and breve of one
// row each, and verifica (the usury check's choices and the quarters' maximum
// debit balances), which older files lack and get at their next save. These functions are all the rest of the program uses of them.
#include <QList>
#include <QString>
#include <functional>
#include <stdexcept>

class Documento;

// A calculation file operation that failed. what() is the Italian text, in
// UTF-8, shown to the user as it stands: it names the calculation and says
// what is wrong.
class ErroreConteggio : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file of calculation `nome` in `cartella`: cartella + "/" + nome + ".ccc".
QString PercorsoConteggio(const QString& cartella, const QString& nome);

// Makes the file of a new calculation with the values at creation. Never
// overwrites and never leaves a half-made file: the file is built under a
// temporary name in the same folder and moved into place only if no file of
// that name exists. Does not touch the document, its name or the open file.
void CreaConteggio(const QString& cartella, const QString& nome);

// Makes a new file of the archive for calculation `nome`, with the same
// guarantees as CreaConteggio: `scrivi` writes the whole file at the hidden
// path it is given (which does not exist yet), and the file takes the name
// only once written, never in place of an existing one. `azione` is the verb
// of the messages ("creare", "duplicare"). Throws ErroreConteggio; on failure
// nothing is left behind.
void CreaFileConteggio(const QString& cartella, const QString& nome, const char* azione,
                       const std::function<void(const QString& temporaneo)>& scrivi);

// Reads and checks the whole file of calculation `nome` (tables, first rows,
// no Null, every value fits its member) and only then assigns the document
// `Conteggio`, its NomeConteggio, and keeps the file open as the current one.
// On failure throws ErroreConteggio; the document, its name and the open
// file stay as they were.
void CaricaConteggio(const QString& cartella, const QString& nome);

// Reads and checks the whole file of calculation `nome`, read only, as
// CaricaConteggio does, into `documento` (its name included) rather than into
// the program's document: the open calculation and its file are not touched.
// On failure throws ErroreConteggio and `documento` stays as it was.
void LeggiConteggio(const QString& cartella, const QString& nome, Documento& documento);

// Writes the document into the first row of the five tables of the file of
// the open calculation (Conteggio.NomeConteggio() in `cartella`), in one
// transaction: all or nothing. Throws ErroreConteggio on failure; nothing in
// memory changes.
void SalvaConteggio(const QString& cartella);

// "Salva con nome": writes the document into a new file of calculation
// `nome` (never over an existing one), then opens it as the current
// calculation. On failure throws ErroreConteggio: no new file, and the
// calculation open before stays open, unsaved changes included.
void SalvaConteggioConNome(const QString& cartella, const QString& nome);

// True when the document differs from what was last loaded or saved, field
// by field as a save would write it; false when no calculation is open.
bool ConteggioModificato();

// Closes the file of the open calculation, if any.
void RilasciaDatabaseCorrente();

// Full path of the file held open for the current calculation, empty if none.
QString DatabaseCorrente();

// True if the folder holds a file whose name less its last four characters
// equals `nome` without regard to case (whatever the extension).
bool EsisteConteggio(const QString& cartella, const QString& nome);

// One calculation of the archive as the browser lists it.
struct VoceArchivio {
    QString nome;           // the name to load (the file name less ".ccc")
    QString contoCorrente;  // descrizione of parametri
    QString mutuo;          // descrizione of mutuo
    QString breve;          // descrizione of breve
    QString varie;          // descrizione of ope
    bool leggibile = true;  // false: listed with empty descriptions
    QString motivo;         // why it cannot be read, when it cannot
};

// The calculations of the folder, sorted by file name; hidden files left out.
QList<VoceArchivio> ElencoArchivio(const QString& cartella);
