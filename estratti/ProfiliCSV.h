#pragma once
// How a home-banking CSV or text export is read: a named profile says which
// column holds what, the separator, the decimal comma, the lines to skip and
// the date format. Profiles are kept as JSON in one file of a folder the
// caller gives, and a file's header line finds its profile again.
#include "Movimenti.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

enum class FormatoData { GGMMAAAA, GGMMAA, AAAAMMGG };  // dd/mm/yyyy, dd/mm/yy, yyyy-mm-dd

struct ProfiloCSV {
    QString nome;
    QChar separatore = u';';
    QChar decimale = u',';        // ',' (groups of thousands with '.') or '.' (groups with ',')
    int righeIniziali = 1;        // lines before the first movement; the last of them is the header
    int righeFinali = 0;          // lines after the last movement (totals, final balance)
    FormatoData formatoData = FormatoData::GGMMAAAA;
    // Columns from 0; -1 = not in the file.
    int colonnaContabile = 0;
    int colonnaValuta = -1;       // none: the value date is the booking date
    int colonnaImporto = -1;      // one signed amount (credit > 0)...
    int colonnaDare = -1;         // ...or debit and credit apart, both written positive
    int colonnaAvere = -1;
    int colonnaSaldo = -1;        // running balance after each movement, when the export has it
    int colonnaCausale = -1;      // the CBI causale, when the export has it
    QList<int> colonneDescrizione;  // joined with a space
    // The header line (the last of righeIniziali) the profile was made on,
    // as read; empty = never offered by header.
    QString intestazione;

    // The fault of the profile itself, in Italian; empty when it can be used.
    QString Difetto() const;
    QChar Migliaia() const { return decimale == u',' ? QChar(u'.') : QChar(u','); }
};

QJsonObject ProfiloInJson(const ProfiloCSV& profilo);
// Empty, with *errore set, for an object that is not a sound profile.
std::optional<ProfiloCSV> ProfiloDaJson(const QJsonObject& oggetto, QString* errore);

// The fields of one CSV line: separator outside double quotes, "" inside
// them for a quote. aperte is set when a quoted field goes on to the next line.
QStringList DividiCSV(QStringView riga, QChar separatore, bool* aperte = nullptr);

// One row of the file read with a profile: the movement, the balance when the
// profile has a balance column, or the fault in Italian.
struct RigaCSV {
    std::optional<Movimento> movimento;
    std::optional<Centesimi> saldo;
    QString difetto;
};
RigaCSV LeggiRigaCSV(const QStringList& campi, const ProfiloCSV& profilo);

// The first righe lines of a text file, decoded as the readers decode them;
// empty when it cannot be read.
QStringList PrimeRighe(const QString& percorso, int righe);

// True when the file's header line is the profile's (spaces and case aside).
bool RiconosceIntestazione(const ProfiloCSV& profilo, const QStringList& primeRighe);

// The store of profiles: profili-csv.json in the folder given.
class ArchivioProfiliCSV {
public:
    explicit ArchivioProfiliCSV(const QString& cartella);
    QString Percorso() const { return percorso_; }

    // Reads the store; a missing file is an empty store. False, with
    // *errore in Italian and the profiles as they were, for a file that
    // cannot be read or is damaged.
    bool Carica(QString* errore);
    // Writes the store whole or not at all (QSaveFile). False with *errore.
    bool Salva(QString* errore) const;

    const std::vector<ProfiloCSV>& Profili() const { return profili_; }
    // Adds the profile, or replaces the one of the same name.
    void Metti(const ProfiloCSV& profilo);
    bool Togli(const QString& nome);
    const ProfiloCSV* Trova(const QString& nome) const;
    // The profile whose header is the file's; nullptr when none.
    const ProfiloCSV* PerFile(const QString& percorsoFile) const;

private:
    QString percorso_;
    std::vector<ProfiloCSV> profili_;
};

// The first rows of a file read with a profile, for the mapping dialog.
struct RigaAnteprima {
    int riga = 0;        // line of the file, from 1
    QStringList campi;
    RigaCSV letta;
    bool finale = false; // one of the last lines the profile skips (totals, closing balance)
};
struct AnteprimaCSV {
    QString errore;           // the file could not be read; the rest is empty
    bool utf8 = false;        // else Windows-1252
    QStringList intestazione; // the header line split into column names
    int colonne = 0;          // the most fields of a row shown
    std::vector<RigaAnteprima> righe;
};
AnteprimaCSV AnteprimaFileCSV(const QString& percorso, const ProfiloCSV& profilo, int righeMassime = 20);

// A first guess for a new file: the separator that splits the first lines
// evenly, the header as the first line, columns named like dates, amounts,
// "Dare"/"Avere", balance and description, the date format of the first row.
ProfiloCSV ProfiloProposto(const QString& percorso);
