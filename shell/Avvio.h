#pragma once
// Start-up: the command line, where the archive of calculations lives and
// where the program's own example and manual are found.
#include <QString>
#include <QStringList>

// What the command line asks for.
struct RigaComando {
    bool aiuto = false;     // -h, --help
    bool versione = false;  // -v, --version
    QString archivio;       // --archivio DIR, as typed (empty: the usual folder)
    QString file;           // the calculation file to open, as typed (empty: Esempio)
    QString errore;         // what is wrong with the line, in Italian; empty when sound
};

// Reads the arguments (the first is the program itself). Never fails: a
// wrong line gives `errore`, and help or version are still recognised.
RigaComando LeggiRigaComando(const QStringList& argomenti);

// The texts printed by --help and --version.
QString TestoAiuto(const QString& programma);
QString TestoVersione();

// The folder of the installed program's data (example and manual) when the
// executable sits in an installed layout (bin/ beside share/zelvi-teg/),
// empty otherwise.
QString CartellaDatiInstallati(const QString& cartellaProgramma);

// The archive folder, absolute: the --archivio option when given (relative to
// the current folder); else "Archivio" beside the program when its folder is
// writable and not an installed one; else "Archivio" in the user's data
// folder. Never fails.
QString ScegliArchivio(const QString& cartellaProgramma, bool scrivibile, bool installato,
                       const QString& datiUtente, const QString& opzione);

// Creates the archive folder if missing and, when it had to be created,
// copies the example files `esempi` into it (those that exist and are
// elsewhere); the copies are left writable by their owner. Returns what
// failed, in Italian, or an empty string; a half-made copy is removed.
QString PreparaArchivio(const QString& cartella, const QStringList& esempi);

// The examples the program ships ("Esempio", "Esempio movimenti"): their
// files in the Archivio folder of the program's data folder `cartellaDati`.
QStringList EsempiDelProgramma(const QString& cartellaDati);

// What start-up tells the user once the archive folder is chosen: what
// PreparaArchivio could not do, and an updated threshold series kept in the
// archive that cannot be read (the built-in one is then in use). Empty when
// all is well.
QStringList AvvisiAvvio(const QString& cartella, const QStringList& esempi);

// A calculation file given by path: its folder (absolute) and its
// calculation name (the file name less ".ccc"). Throws ErroreConteggio when
// the path does not name a ".ccc" file.
struct FileConteggio {
    QString cartella;
    QString nome;
};
FileConteggio DividiPercorso(const QString& percorso);
