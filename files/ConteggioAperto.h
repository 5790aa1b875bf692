#pragma once
// The open calculation: its document, the file it came from (held open while
// it is the current one, where "Salva" writes) and whether it has changes not
// saved yet. The main window owns the one the program works on and hands its
// document to the windows; the edits they report mark it modified, a load or
// a save clears it.
#include "BaseDati.h"
#include "Dichiarazioni.h"

#include <QObject>
#include <QString>

#include <memory>

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
    void Carica(const QString& cartella, const QString& nome);
    // Writes the document into its file, all or nothing; then nothing is left
    // to save. Throws ErroreConteggio; on failure the changes stay unsaved.
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

    Documento documento_;
    std::unique_ptr<basedati::BaseDati> file_;
    QString cartella_;
    QString percorso_;
    bool modificato_ = false;
};
