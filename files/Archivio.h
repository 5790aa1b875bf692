#pragma once
// Calculation files: each calculation is one SQLite database "<name>.ccc" in
// the archive folder, with the tables TracciatoConteggio declares, of one row
// each: parametri, mutuo, ope and breve, and verifica (the usury check's
// choices and the quarters' maximum debit balances), which older files lack
// and get at their next save. The open calculation (ConteggioAperto) and the
// archive dialogs use these functions; nothing else touches the files.
#include "BaseDati.h"

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
// no Null, every value fits its member) and only then assigns it to
// `documento`, NomeConteggio included; members the file does not hold keep
// their values. Returns the file, open for reading and writing. On failure
// throws ErroreConteggio and `documento` stays as it was.
basedati::BaseDati CaricaConteggio(const QString& cartella, const QString& nome, Documento& documento);

// As CaricaConteggio, read only, keeping nothing open.
void LeggiConteggio(const QString& cartella, const QString& nome, Documento& documento);

// Writes the document into the first row of the tables of its file (named by
// its NomeConteggio, in `cartella`), in one transaction: all or nothing.
// Throws ErroreConteggio on failure. `aperto`, when given, is the file
// already open on that path, written through instead of a new connection;
// `controllo`, when given, runs first inside the transaction (other writers
// kept out) and stops the save by throwing ErroreConteggio.
void SalvaConteggio(const QString& cartella, const Documento& documento, basedati::BaseDati* aperto = nullptr,
                    const std::function<void(basedati::BaseDati&)>& controllo = {});

// Writes the document into a new file of calculation `nome` (never over an
// existing one), with the guarantees of CreaFileConteggio. Throws
// ErroreConteggio: then no new file.
void SalvaConteggioConNome(const QString& cartella, const QString& nome, const Documento& documento);

// Deletes the file of calculation `nome` and the engine's journal beside it,
// if they are there. Never fails.
void RimuoviFileConteggio(const QString& cartella, const QString& nome) noexcept;

// True when a save of either document writes the same values.
bool StessiValori(const Documento& a, const Documento& b);

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
