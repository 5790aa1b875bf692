#pragma once
// The open calculation: its document, the file it came from (held open while
// it is the current one, where "Salva" writes) and whether it has changes not
// saved yet. The main window owns the one the program works on and hands its
// document to the windows; the edits they report mark it modified, a load or
// a save clears it.
//
// Two copies of the program on one file: while a file is the open one, this
// object holds a lock on it (flock, which the system drops when the file is
// closed or the process ends, a crash included), so that a second copy
// opening it can say so; and a save checks, inside its own transaction, that
// no other program has saved the file since it was loaded here.
#include "Archivio.h"
#include "BaseDati.h"
#include "Dichiarazioni.h"

#include <QObject>
#include <QString>

#include <memory>

class QWidget;

// Another running copy of the program holds the file open (see Carica).
class ConteggioInUso : public ErroreConteggio {
public:
    using ErroreConteggio::ErroreConteggio;
};

// The file was saved by another program, or replaced, since it was loaded
// here: saving would throw that change away (see Salva).
class ConteggioCambiato : public ErroreConteggio {
public:
    using ErroreConteggio::ErroreConteggio;
};

class ConteggioAperto : public QObject {
    Q_OBJECT
public:
    explicit ConteggioAperto(QObject* genitore = nullptr);
    ~ConteggioAperto() override;

    // The document: the same object for the lifetime of this one (loading
    // assigns it), so windows may keep a reference to it.
    Documento& Doc() { return documento_; }
    const Documento& Doc() const { return documento_; }
    // NomeConteggio; empty when no calculation is open.
    QString Nome() const;
    // The folder of the open file, where it is saved; empty when none.
    const QString& Cartella() const { return cartella_; }
    // The full path of the file held open (DatabaseCorrente); empty when none.
    const QString& File() const { return percorso_; }
    // True when an edit was reported since the calculation was loaded or saved.
    bool Modificato() const { return modificato_; }

    // InizializzaConteggio: the defaults, no file, nothing to save. Never fails.
    void Nuovo();
    // CaricaConteggio: reads and checks the whole file of `nome` in
    // `cartella`, then makes it the open calculation: the document takes its
    // values and name, the file is held open (the one open before is closed),
    // nothing is left to save. Throws ErroreConteggio with the user's text;
    // on failure the document, its file and its state stay as they were.
    // When another copy of the program holds the file, throws ConteggioInUso
    // unless `ancheSeInUso`: then it opens without the lock.
    void Carica(const QString& cartella, const QString& nome, bool ancheSeInUso = false);
    // Carica for the user: when another copy of the program holds the file,
    // asks over `genitore` whether to open it all the same. False when the
    // user says no: then nothing changes. Throws as Carica.
    bool Apri(const QString& cartella, const QString& nome, QWidget* genitore);
    // Writes the document into its file, all or nothing; then nothing is left
    // to save. Throws ErroreConteggio; on failure the changes stay unsaved.
    // Throws ConteggioCambiato, the file untouched, when another program has
    // saved the file since it was loaded here, or put another in its place.
    void Salva();
    // "Salva con nome": writes the document into a new file `nome` of
    // `cartella` (never over an existing one), then opens that file as the
    // open calculation. Throws ErroreConteggio: then no new file is left and
    // the calculation open before stays open, unsaved changes included.
    void SalvaConNome(const QString& cartella, const QString& nome);
    // Closes the file (at exit); the document stays. Never fails.
    void Chiudi();

public slots:
    // An edit was made (or is being typed): there are changes to save.
    void SegnaModifica();

signals:
    // The document was edited.
    void DocumentoCambiato();
    // Unsaved changes appeared, or were saved or dropped.
    void ModificatoCambiato(bool modificato);
    // Another calculation is the open one (loaded, created, saved under a new
    // name, or the defaults with no file).
    void ConteggioCaricato();

private:
    void impostaModificato(bool v);
    void controllaCambiamenti(basedati::BaseDati& db) const;

    Documento documento_;
    std::unique_ptr<basedati::BaseDati> file_;
    QString cartella_;
    QString percorso_;
    bool modificato_ = false;
    // The lock on the open file (-1: none), the file's identity when loaded,
    // and the engine's count of changes by others as last seen.
    int blocco_ = -1;
    unsigned long long dispositivo_ = 0, nodo_ = 0;
    long long versione_ = 0;
};
