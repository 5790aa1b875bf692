#pragma once
// Pieces the statement readers share: lines of bytes to text whatever their
// encoding, amounts to cents without a detour through double, calendar days.
#include "Movimenti.h"

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringView>

#include <chrono>
#include <optional>

// How a text file's bytes are taken: UTF-8 (with or without BOM), else
// Windows-1252, the code page of Italian home banking exports.
class DecodificaTesto {
public:
    // A UTF-8 BOM at the start of the file decides for UTF-8; otherwise the
    // first line that is not plain ASCII decides: valid UTF-8 or not.
    QString Riga(QByteArrayView riga);
    bool Utf8() const { return deciso_ && utf8_; }

private:
    bool deciso_ = false, utf8_ = false, primaRiga_ = true;
};

// Windows-1252 bytes as text (the 0x80-0x9F range has "€", "‘", "’"...).
QString DaWindows1252(QByteArrayView byte);
// True for well-formed UTF-8.
bool Utf8Valido(QByteArrayView byte);

// The number in testo as cents: digits, at most two decimals after the
// separator decimale, groups of three digits separated by migliaia (optional;
// QChar() = none), a sign "-" or "+" before or "-" after, spaces around.
// Empty when it is anything else, with *errore saying what, in Italian.
std::optional<Centesimi> LeggiCentesimi(QStringView testo, QChar decimale, QChar migliaia, QString* errore);

// The day, or empty for a date that does not exist (31/02).
std::optional<std::chrono::sys_days> Giorno(int anno, int mese, int giorno);
// GGMMAA as CBI writes it: years below 70 are 20xx, the others 19xx.
std::optional<std::chrono::sys_days> GiornoGGMMAA(QStringView testo);
// yyyy-mm-dd, optionally followed by a time ("2023-01-31T10:00:00+01:00"):
// the date as written.
std::optional<std::chrono::sys_days> GiornoISO(QStringView testo);

std::chrono::sys_days DaQDate(QDate data);
QDate AQDate(std::chrono::sys_days giorno);

// «testo», as the messages quote what the file says.
QString Citato(QStringView testo);

// Removes ASCII spaces at both ends and collapses the runs inside.
QString Compatta(QStringView testo);

class QIODevice;

// The lines of a file, read as they come: never more than one line in
// memory, and a line longer than the limit is reported, not gathered.
class RigheFile {
public:
    explicit RigheFile(QIODevice& dispositivo, qsizetype lunghezzaMassima = 1 << 20);
    // The next line without its end ("\n", "\r\n"); false at the end of
    // the file. numero counts from 1, troppoLunga tells a line cut at the limit
    // (the rest of it is skipped).
    bool Prossima(QByteArray& riga);
    int Numero() const { return numero_; }
    bool TroppoLunga() const { return troppoLunga_; }
    qint64 Letti() const;

private:
    QIODevice& d_;
    qsizetype massimo_;
    int numero_ = 0;
    bool troppoLunga_ = false;
};
