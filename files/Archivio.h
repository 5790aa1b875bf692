#pragma once
// Calculation files: each calculation is one SQLite database "<name>.ccc" in
// the archive folder, with the tables parametri, mutuo, ope and breve of one
// row each, and verifica (the usury check's choices and the quarters' maximum
// debit balances), which older files lack and get at their next save. These functions are all the rest of the program uses of them.
#include <QList>
#include <QString>
#include <stdexcept>

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

// Reads and checks the whole file of calculation `nome` (tables, first rows,
// no Null, every value fits its member) and only then assigns the document
// `Conteggio`, its NomeConteggio, and keeps the file open as the current one.
// On failure throws ErroreConteggio; the document, its name and the open
// file stay as they were.
void CaricaConteggio(const QString& cartella, const QString& nome);

// Writes the document into the first row of the five tables of the file of
// the open calculation (Conteggio.NomeConteggio() in `cartella`), in one
// transaction: all or nothing. Throws ErroreConteggio on failure; nothing in
// memory changes.
void SalvaConteggio(const QString& cartella);

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
};

// The calculations of the folder, sorted by file name; hidden files left out.
QList<VoceArchivio> ElencoArchivio(const QString& cartella);
