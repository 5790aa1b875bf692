#include "Archivio.h"

#include "BaseDati.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Messaggi.h"
#include "TracciatoConteggio.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <type_traits>
#include <limits>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace basedati;

namespace {

// ---------------------------------------------------------------------------
// The layout of a calculation file (TracciatoConteggio) as the engine takes it.

// Dates as OLE Automation dates: the accepted range is that of such dates,
// 1 January 100 to 31 December 9999.
constexpr double PrimoGiornoOle = -657434;   // 1 January 100
constexpr double UltimoGiornoOle = 2958465;  // 31 December 9999

DefinizioneTabella Schema(const TabellaConteggio& t)
{
    DefinizioneTabella d = BaseDati::CreaDefinizioneTabella(t.nome);
    for (const CampoConteggio& c : t.campi)
        d.AggiungiCampo(DefinizioneTabella::CreaCampo(c.nome, c.tipo));
    return d;
}

DefinizioneTabella Schema(const ElencoConteggio& e)
{
    DefinizioneTabella d = BaseDati::CreaDefinizioneTabella(e.nome);
    for (const CampoElenco& c : e.campi)
        d.AggiungiCampo(DefinizioneTabella::CreaCampo(c.nome, c.tipo));
    return d;
}

// Adds to an existing table the fields added to the layout after it was
// made (CampoConteggio::facoltativo) that it lacks.
void AggiungiCampiMancanti(BaseDati& db, const TabellaConteggio& t)
{
    const auto presenti = db.CampiTabella(t.nome);
    for (const CampoConteggio& c : t.campi) {
        if (!c.facoltativo)
            continue;
        const bool c_e = std::any_of(presenti.begin(), presenti.end(), [&c](const auto& p) {
            return QString::fromStdString(p.first).compare(QString::fromStdString(c.nome), Qt::CaseInsensitive) == 0;
        });
        if (!c_e)
            db.Esegui("ALTER TABLE " + Identificatore(t.nome) + " ADD COLUMN " + Identificatore(c.nome) + " " +
                      TipoDichiarato(c.tipo));
    }
}

// The values of one table's row, in the order of its fields.
struct Riga {
    const TabellaConteggio* tabella;
    std::vector<Valore> valori;
};

// What a new file holds.
std::vector<Riga> ValoriCreazione()
{
    std::vector<Riga> righe;
    for (const TabellaConteggio& t : TracciatoConteggio()) {
        Riga r{&t, {}};
        for (const CampoConteggio& c : t.campi)
            r.valori.push_back(c.creazione);
        righe.push_back(std::move(r));
    }
    return righe;
}

// What a save of the document writes.
std::vector<Riga> ValoriDocumento(const Documento& doc)
{
    std::vector<Riga> righe;
    for (const TabellaConteggio& t : TracciatoConteggio()) {
        Riga r{&t, {}};
        for (const CampoConteggio& c : t.campi)
            r.valori.push_back(c.valore(doc));
        righe.push_back(std::move(r));
    }
    return righe;
}

// ---------------------------------------------------------------------------
// Messages.

std::string Nome(const QString& nome)
{
    // A message quotes at most the start of a long name.
    return "\u00ab" + Citazione(nome, 60).toStdString() + "\u00bb";
}

std::string Percorso(const QString& p)
{
    return QDir::toNativeSeparators(p).toStdString();
}

// The Italian words for what the engine reports.
std::string CausaBaseDati(const ErroreBaseDati& e)
{
    switch (e.CodicePrimario()) {
    case SQLITE_NOTADB: return "non è un file di conteggio";
    case SQLITE_CORRUPT: return "il file è danneggiato";
    case SQLITE_FULL: return "il disco è pieno";
    case SQLITE_READONLY: return "il file o la cartella sono di sola lettura";
    case SQLITE_PERM:
    case SQLITE_AUTH: return "manca il permesso di accedere al file";
    case SQLITE_CANTOPEN: return "il file non si può aprire";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "il file è in uso da un altro programma";
    case SQLITE_IOERR: return "errore di lettura o scrittura sul disco";
    case SQLITE_NOMEM: return "memoria insufficiente";
    case SQLITE_TOOBIG: return "un valore è troppo grande";
    case SQLITE_ERROR: return "la struttura del file non è quella di un conteggio";
    default: return "errore del motore dei dati (codice " + std::to_string(e.CodicePrimario()) + ")";
    }
}

// The Italian words for what the operating system reports (an errno value).
std::string CausaSistema(int e)
{
    switch (e) {
    case ENAMETOOLONG: return "il nome è troppo lungo per un file";
    case EACCES:
    case EPERM: return "manca il permesso di scrivere nella cartella";
    case ENOSPC:
    case EDQUOT: return "il disco è pieno";
    case EROFS: return "il disco è di sola lettura";
    case ENOENT:
    case ENOTDIR: return "la cartella non esiste più";
    case EEXIST: return "esiste già un file con questo nome";
    case EIO: return "errore di lettura o scrittura sul disco";
    case EMFILE:
    case ENFILE: return "troppi file aperti";
    default: return "errore del sistema (codice " + std::to_string(e) + ")";
    }
}

std::string PercorsoNativo(const QString& p)
{
    return QFile::encodeName(p).toStdString();
}

// Refuses names that would reach outside the folder or that no file can
// carry.
void ControllaNome(const QString& nome, const char* azione)
{
    if (nome.isEmpty() || nome.contains(QLatin1Char('/')) || nome.contains(QChar(0)) ||
        nome == QLatin1String(".") || nome == QLatin1String(".."))
        throw ErroreConteggio(std::string("Impossibile ") + azione + " il conteggio " + Nome(nome) +
                              ": il nome non è valido per un file.");
    if (QFile::encodeName(nome).size() + 4 > 255)  // the file name, ".ccc" included
        throw ErroreConteggio(std::string("Impossibile ") + azione + " il conteggio " + Nome(nome) +
                              ": il nome è troppo lungo per un file.");
}

// ---------------------------------------------------------------------------
// Reading and checking a whole file.

bool Utf8Valido(const std::string& s)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString testo = utf8(QByteArrayView(s.data(), static_cast<qsizetype>(s.size())));
    return !utf8.hasError();
}

// A field's value as read: where it comes from and what it holds.
struct ValoreLetto {
    const CampoConteggio* campo;
    Valore valore;  // in the form its Lettura gives
};

// The rows of a table of many rows as read, each value in the form its
// field's Lettura gives; `presente` false for a file made before the table.
struct ElencoLetto {
    const ElencoConteggio* elenco;
    bool presente = false;
    std::vector<std::vector<Valore>> righe;
};

struct Letto {
    std::vector<ValoreLetto> valori;
    std::vector<ElencoLetto> elenchi;
};

// Reads the first row of each table of an open file, checking every value
// the document takes from it.
class Lettore {
public:
    Lettore(BaseDati& db, const QString& nome) : db_(db), nome_(nome) {}

    Letto Leggi()
    {
        // A file with none of the tables (an empty file is an empty
        // database) is not a calculation file at all.
        int presenti = 0;
        for (const TabellaConteggio& t : TracciatoConteggio())
            presenti += !t.facoltativa && db_.EsisteTabella(t.nome) ? 1 : 0;
        if (presenti == 0)
            throw ErroreConteggio("Il file del conteggio " + Nome(nome_) + " non è un file di conteggio.");

        std::vector<ValoreLetto> letti;
        for (const TabellaConteggio& t : TracciatoConteggio()) {
            // An older file without the table: the values of a new one.
            if (t.facoltativa && !db_.EsisteTabella(t.nome)) {
                for (const CampoConteggio& c : t.campi)
                    letti.push_back({&c, Converti(t.nome, c, c.creazione)});
                continue;
            }
            const Recordset rs = Apri(t.nome);
            for (const CampoConteggio& c : t.campi) {
                // A field added later: an older file has the value at creation.
                if (c.facoltativo && !rs.HaCampo(c.nome))
                    letti.push_back({&c, Converti(t.nome, c, c.creazione)});
                else
                    letti.push_back({&c, Converti(t.nome, c, Presente(rs, c.nome))});
            }
        }
        Letto letto{std::move(letti), {}};
        for (const ElencoConteggio& e : ElenchiConteggio())
            letto.elenchi.push_back(LeggiElenco(e));
        return letto;
    }

    // Checks that every table and field exists and every table has a row,
    // without looking at the values (saving overwrites them all).
    void ControllaStruttura()
    {
        for (const TabellaConteggio& t : TracciatoConteggio()) {
            const Recordset rs = Apri(t.nome);
            for (const CampoConteggio& c : t.campi)
                Presente(rs, c.nome);
        }
        for (const ElencoConteggio& e : ElenchiConteggio())
            CampiElenco(e);
    }

private:
    // The fields of a table of many rows, in the layout's order, each as the
    // file has it; throws when one is missing.
    std::vector<std::string> CampiElenco(const ElencoConteggio& e)
    {
        if (!db_.EsisteTabella(e.nome))
            throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " manca la tabella \u00ab" + e.nome +
                                  "\u00bb.");
        const auto presenti = db_.CampiTabella(e.nome);
        std::vector<std::string> nomi;
        for (const CampoElenco& c : e.campi) {
            const auto p = std::find_if(presenti.begin(), presenti.end(), [&c](const auto& x) {
                return QString::fromStdString(x.first).compare(QString::fromStdString(c.nome), Qt::CaseInsensitive) ==
                       0;
            });
            if (p == presenti.end())
                throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " manca " + Dove(e.nome, c.nome) +
                                      ".");
            nomi.push_back(p->first);
        }
        return nomi;
    }

    ElencoLetto LeggiElenco(const ElencoConteggio& e)
    {
        ElencoLetto l{&e, db_.EsisteTabella(e.nome), {}};
        if (!l.presente)
            return l;
        std::string sql = "SELECT ";
        const std::vector<std::string> nomi = CampiElenco(e);
        for (std::size_t i = 0; i < nomi.size(); ++i)
            sql += (i ? ", " : "") + Identificatore(nomi[i]);
        sql += " FROM " + Identificatore(e.nome) + " ORDER BY rowid";
        Istruzione st(db_, sql);
        while (st.Passo()) {
            std::vector<Valore> riga;
            riga.reserve(e.campi.size());
            for (std::size_t i = 0; i < e.campi.size(); ++i) {
                const CampoElenco& c = e.campi[i];
                riga.push_back(
                    Converti(e.nome, c.nome, c.lettura, st.Colonna(static_cast<int>(i)), l.righe.size() + 1));
            }
            l.righe.push_back(std::move(riga));
        }
        return l;
    }

    Recordset Apri(const std::string& tabella)
    {
        if (!db_.EsisteTabella(tabella))
            throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " manca la tabella \u00ab" + tabella +
                                  "\u00bb.");
        Recordset rs = db_.ApriRecordset(tabella);
        if (rs.FineFile())
            throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " la tabella \u00ab" + tabella +
                                  "\u00bb è vuota.");
        return rs;
    }

    const Valore& Presente(const Recordset& rs, const std::string& campo) const
    {
        if (!rs.HaCampo(campo))
            throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " manca " + Dove(rs.Tabella(), campo) +
                                  ".");
        return rs.Leggi(campo);
    }

    // The value checked as the field's Lettura says, in the form it gives.
    Valore Converti(const std::string& tabella, const CampoConteggio& c, const Valore& v) const
    {
        return Converti(tabella, c.nome, c.lettura, v);
    }

    // riga: the row of a table of many rows (from 1), 0 in a table of one.
    Valore Converti(const std::string& tabella, const std::string& campo, Lettura lettura, const Valore& v,
                    std::size_t riga = 0) const
    {
        const Posto p{tabella, campo, riga};
        switch (lettura) {
        case Lettura::Testo: return Testo(p, v);
        case Lettura::Doppio: return Doppio(p, v);
        case Lettura::Intero16: return Intero16(p, v);
        case Lettura::Intero32: return std::int64_t{Intero32(p, v)};
        case Lettura::Intero64: return Intero64(p, v);
        case Lettura::Data: return Data(p, v);
        case Lettura::DataFacoltativa:
            if (std::holds_alternative<Nullo>(v))
                return Nullo{};
            return Data(p, v);
        case Lettura::Saldo: return Saldo(p, v);
        }
        return v;
    }

    struct Posto {
        const std::string& tabella;
        const std::string& campo;
        std::size_t riga = 0;
    };

    static std::string Dove(const std::string& tabella, const std::string& campo, std::size_t riga = 0)
    {
        return "il campo \u00ab" + campo + "\u00bb della tabella \u00ab" + tabella + "\u00bb" +
               (riga ? ", riga " + std::to_string(riga) + "," : std::string());
    }

    [[noreturn]] void NonValido(const Posto& p, const std::string& perche) const
    {
        throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " " + Dove(p.tabella, p.campo, p.riga) +
                              " contiene un valore non valido: " + perche + ".");
    }

    const Valore& NonNullo(const Posto& p, const Valore& v) const
    {
        if (std::holds_alternative<Nullo>(v))
            throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " " + Dove(p.tabella, p.campo, p.riga) +
                                  " è vuoto (Null).");
        return v;
    }

    double Numero(const Posto& p, const Valore& valore) const
    {
        const Valore& v = NonNullo(p, valore);
        if (const auto* i = std::get_if<std::int64_t>(&v))
            return static_cast<double>(*i);
        if (const auto* x = std::get_if<double>(&v))
            return *x;
        if (std::holds_alternative<std::string>(v))
            NonValido(p, "un testo al posto di un numero");
        NonValido(p, "dati binari al posto di un numero");
    }

    double Doppio(const Posto& p, const Valore& valore) const
    {
        const Valore& v = NonNullo(p, valore);
        if (const auto* i = std::get_if<std::int64_t>(&v)) {
            // Beyond 2^53 an integer has no exact double.
            constexpr std::int64_t limite = std::int64_t{1} << 53;
            if (*i > limite || *i < -limite)
                NonValido(p, "intero troppo grande per un numero con la virgola");
        }
        return Numero(p, v);
    }

    // Integer and numbers of instalments: the 16-bit conversion of the
    // document, nearest integer with halves to even.
    double Intero16(const Posto& p, const Valore& v) const
    {
        const double x = Numero(p, v);
        try {
            return ::Intero16(x);
        } catch (const std::exception&) {
            NonValido(p, "fuori dall'intervallo da -32768 a 32767");
        }
    }

    std::int32_t Intero32(const Posto& p, const Valore& valore) const
    {
        const Valore& v = NonNullo(p, valore);
        if (const auto* i = std::get_if<std::int64_t>(&v)) {
            if (*i < std::numeric_limits<std::int32_t>::min() || *i > std::numeric_limits<std::int32_t>::max())
                NonValido(p, "fuori dall'intervallo di un intero a 32 bit");
            return static_cast<std::int32_t>(*i);
        }
        const double x = Numero(p, v);
        if (!std::isfinite(x))
            NonValido(p, "non è un numero finito");
        const double arrotondato = std::nearbyint(x);  // default rounding: halves to even
        if (arrotondato < -2147483648.0 || arrotondato > 2147483647.0)
            NonValido(p, "fuori dall'intervallo di un intero a 32 bit");
        return static_cast<std::int32_t>(arrotondato);
    }

    // A whole count, such as cents: stored as an integer, or as a double that
    // is whole and exact.
    std::int64_t Intero64(const Posto& p, const Valore& valore) const
    {
        const Valore& v = NonNullo(p, valore);
        if (const auto* i = std::get_if<std::int64_t>(&v))
            return *i;
        const double x = Numero(p, v);
        constexpr double limite = 9007199254740992.0;  // 2^53
        if (!(std::fabs(x) <= limite) || x != std::trunc(x))
            NonValido(p, "non è un numero intero");
        return static_cast<std::int64_t>(x);
    }

    // Whole days since 30/12/1899.
    double Data(const Posto& p, const Valore& valore) const
    {
        const Valore& v = NonNullo(p, valore);
        if (std::holds_alternative<std::string>(v))
            NonValido(p, "un testo al posto di una data");
        const double x = Numero(p, v);
        if (!std::isfinite(x) || x < PrimoGiornoOle || x >= UltimoGiornoOle + 1)
            NonValido(p, "data fuori dall'intervallo dal 1/1/100 al 31/12/9999");
        // The whole part counts the days (towards zero, as an OLE date
        // keeps the time of day apart from the sign); the time is dropped.
        return std::trunc(x);
    }

    // A balance: a finite amount, not negative.
    double Saldo(const Posto& p, const Valore& v) const
    {
        const double x = Doppio(p, v);
        if (!std::isfinite(x))
            NonValido(p, "non è un numero finito");
        if (x < 0)
            NonValido(p, "un importo negativo");
        return x;
    }

    std::string Testo(const Posto& p, const Valore& valore) const
    {
        const Valore& v = NonNullo(p, valore);
        const auto* s = std::get_if<std::string>(&v);
        if (!s)
            NonValido(p, "un numero o dati binari al posto di un testo");
        if (!Utf8Valido(*s))
            NonValido(p, "testo con una codifica non valida");
        return *s;
    }

    BaseDati& db_;
    QString nome_;
};

// A copy of `base` given every value read and the calculation's name; the
// document refusing a value is a fault of the file.
Documento Applica(const Documento& base, const Letto& letto, const QString& nome)
{
    Documento d = base;
    try {
        for (const ValoreLetto& l : letto.valori)
            l.campo->assegna(d, l.valore);
        const Documento nuovo;
        for (const ElencoLetto& l : letto.elenchi) {
            const ElencoConteggio& e = *l.elenco;
            if (!l.presente) {
                e.iniziale(d, nuovo);  // an older file: the list of a new document
                continue;
            }
            e.dimensiona(d, l.righe.size());
            for (std::size_t i = 0; i < l.righe.size(); ++i)
                for (std::size_t k = 0; k < e.campi.size(); ++k) {
                    try {
                        e.campi[k].assegna(d, i, l.righe[i][k]);
                    } catch (const std::exception& x) {
                        throw std::runtime_error("tabella \u00ab" + e.nome + "\u00bb, riga " + std::to_string(i + 1) +
                                                 ": " + x.what());
                    }
                }
        }
    } catch (const std::exception& e) {
        throw ErroreConteggio("Il file del conteggio " + Nome(nome) + " contiene un valore non valido (" + e.what() +
                              ").");
    }
    d.setNomeConteggio(nome.toStdString());
    return d;
}

// Opens and reads a whole calculation file into a copy of `base`; every
// failure is an ErroreConteggio naming the calculation.
struct FileLetto {
    BaseDati db;
    Documento documento;
};

FileLetto LeggiFile(const QString& percorso, const QString& nome, bool soloLettura, const Documento& base)
{
    const QFileInfo info(percorso);
    if (!info.exists())
        throw ErroreConteggio("Il conteggio " + Nome(nome) + " non esiste: manca il file\n" + Percorso(percorso));
    if (!info.isFile())
        throw ErroreConteggio("Il conteggio " + Nome(nome) + " non si può aprire: " + Percorso(percorso) +
                              " non è un file.");
    try {
        BaseDati db = BaseDati::Apri(PercorsoNativo(percorso), soloLettura);
        Documento documento = Applica(base, Lettore(db, nome).Leggi(), nome);
        return {std::move(db), std::move(documento)};
    } catch (const ErroreBaseDati& e) {
        if (e.CodicePrimario() == SQLITE_NOTADB)
            throw ErroreConteggio("Il file del conteggio " + Nome(nome) + " non è un file di conteggio.");
        throw ErroreConteggio("Il file del conteggio " + Nome(nome) + " non si può leggere: " + CausaBaseDati(e) +
                              ".");
    }
}

void Rimuovi(const QString& p) noexcept
{
    ::unlink(PercorsoNativo(p).c_str());
}

// Writes the rows of a table of many rows, which exists and is empty, from
// the document's list. Refuses, as a save does, a number that is not one (the
// store would keep it as Null and the file would no longer load).
void ScriviElenco(BaseDati& db, const ElencoConteggio& e, const Documento& documento)
{
    std::string sql = "INSERT INTO " + Identificatore(e.nome) + " (";
    std::string segnaposti;
    for (std::size_t i = 0; i < e.campi.size(); ++i) {
        sql += (i ? ", " : "") + Identificatore(e.campi[i].nome);
        segnaposti += i ? ", ?" : "?";
    }
    sql += ") VALUES (" + segnaposti + ")";
    Istruzione st(db, sql);
    const std::size_t n = e.righe(documento);
    for (std::size_t r = 0; r < n; ++r) {
        for (std::size_t i = 0; i < e.campi.size(); ++i) {
            const Valore v = e.campi[i].valore(documento, r);
            if (const auto* x = std::get_if<double>(&v); x && !std::isfinite(*x))
                throw ErroreConteggio("il campo \u00ab" + e.campi[i].nome + "\u00bb della tabella \u00ab" + e.nome +
                                      "\u00bb, riga " + std::to_string(r + 1) + ", non contiene un numero.");
            st.Lega(static_cast<int>(i + 1), v);
        }
        st.Passo();
        st.Azzera();
    }
}

// Writes a whole calculation file, which must not exist yet, with `valori`
// and the lists of `elenchi`.
void ScriviFile(const QString& percorso, const std::vector<Riga>& valori, const Documento& elenchi)
{
    BaseDati db = BaseDati::Crea(PercorsoNativo(percorso));
    Transazione tr(db);
    for (const Riga& r : valori) {
        db.AggiungiTabella(Schema(*r.tabella));
        Recordset rs = db.ApriRecordset(r.tabella->nome);
        rs.AggiungiNuovo();
        for (std::size_t i = 0; i < r.valori.size(); ++i)
            rs.Assegna(r.tabella->campi[i].nome, r.valori[i]);
        rs.Aggiorna();
    }
    for (const ElencoConteggio& e : ElenchiConteggio()) {
        db.AggiungiTabella(Schema(e));
        ScriviElenco(db, e, elenchi);
    }
    tr.Conferma();
}

// Refuses what a later load would refuse rather than write a file that no
// longer loads: a NaN (the store keeps it as Null), a balance that is not a
// finite amount of at least 0.
void ControllaNumeri(const std::vector<Riga>& valori, const std::string& intestazione)
{
    for (const Riga& r : valori)
        for (std::size_t i = 0; i < r.valori.size(); ++i) {
            const CampoConteggio& c = r.tabella->campi[i];
            const auto* x = std::get_if<double>(&r.valori[i]);
            if (x && std::isnan(*x))
                throw ErroreConteggio(intestazione + "il campo \u00ab" + c.nome + "\u00bb della tabella \u00ab" +
                                      r.tabella->nome + "\u00bb non contiene un numero.");
        }
    for (const Riga& r : valori)
        for (std::size_t i = 0; i < r.valori.size(); ++i) {
            const CampoConteggio& c = r.tabella->campi[i];
            const auto* x = std::get_if<double>(&r.valori[i]);
            if (c.lettura == Lettura::Saldo && (!x || !std::isfinite(*x) || *x < 0))
                throw ErroreConteggio(intestazione + "il campo \u00ab" + c.nome + "\u00bb della tabella \u00ab" +
                                      r.tabella->nome + "\u00bb non contiene un importo valido.");
        }
}

}  // namespace

// ---------------------------------------------------------------------------

QString PercorsoConteggio(const QString& cartella, const QString& nome)
{
    return cartella + QLatin1Char('/') + nome + QStringLiteral(".ccc");
}

void CreaConteggio(const QString& cartella, const QString& nome)
{
    CreaFileConteggio(cartella, nome, "creare",
                      [](const QString& temporaneo) { ScriviFile(temporaneo, ValoriCreazione(), Documento{}); });
}

void CreaFileConteggio(const QString& cartella, const QString& nome, const char* azione,
                       const std::function<void(const QString& temporaneo)>& scrivi)
{
    ControllaNome(nome, azione);
    const std::string intestazione = std::string("Impossibile ") + azione + " il conteggio " + Nome(nome) + ": ";
    const QFileInfo infoCartella(cartella);
    if (!infoCartella.isDir())
        throw ErroreConteggio(intestazione + "la cartella dell'archivio non esiste\n" + Percorso(cartella));
    const QString destinazione = PercorsoConteggio(cartella, nome);
    struct stat st {};
    if (::lstat(PercorsoNativo(destinazione).c_str(), &st) == 0)
        throw ErroreConteggio(intestazione + "nell'archivio esiste già un file con questo nome.");

    // A hidden name in the same folder: the file is built there and only a
    // finished file ever carries the calculation's name.
    QString temporaneo;
    {
        QTemporaryFile t(cartella + QStringLiteral("/.nuovo-conteggio-XXXXXX"));
        t.setAutoRemove(false);
        if (!t.open()) {
            const int e = errno;
            throw ErroreConteggio(intestazione + "non si può scrivere nella cartella dell'archivio\n" +
                                  Percorso(cartella) + "\n(" + CausaSistema(e) + ")");
        }
        temporaneo = t.fileName();
    }
    Rimuovi(temporaneo);  // the writer makes the file itself, exclusively
    struct Pulizia {
        QString percorso;
        ~Pulizia()
        {
            if (!percorso.isEmpty()) {
                Rimuovi(percorso);
                Rimuovi(percorso + QStringLiteral("-journal"));
            }
        }
    } pulizia{temporaneo};

    try {
        scrivi(temporaneo);
    } catch (const ErroreBaseDati& e) {
        throw ErroreConteggio(intestazione + CausaBaseDati(e) + ".");
    } catch (const ErroreConteggio& e) {
        throw ErroreConteggio(intestazione + e.what());
    }

    // link() refuses an existing name: the file appears complete or not at all.
    const std::string da = PercorsoNativo(temporaneo), a = PercorsoNativo(destinazione);
    if (::link(da.c_str(), a.c_str()) != 0) {
        const int e = errno;
        if (e == EEXIST)
            throw ErroreConteggio(intestazione + "nell'archivio esiste già un file con questo nome.");
        // File systems without hard links: a rename that never replaces.
        if (!QFile::rename(temporaneo, destinazione)) {
            if (QFileInfo::exists(destinazione) || QFileInfo(destinazione).isSymLink())
                throw ErroreConteggio(intestazione + "nell'archivio esiste già un file con questo nome.");
            throw ErroreConteggio(intestazione + "il file non si può mettere nell'archivio (" + CausaSistema(e) +
                                  ").");
        }
        pulizia.percorso.clear();
    }
}

BaseDati CaricaConteggio(const QString& cartella, const QString& nome, Documento& documento)
{
    ControllaNome(nome, "aprire");
    FileLetto letto = LeggiFile(PercorsoConteggio(cartella, nome), nome, false, documento);
    documento = std::move(letto.documento);
    return std::move(letto.db);
}

void LeggiConteggio(const QString& cartella, const QString& nome, Documento& documento)
{
    ControllaNome(nome, "aprire");
    documento = LeggiFile(PercorsoConteggio(cartella, nome), nome, true, documento).documento;
}

void SalvaConteggio(const QString& cartella, const Documento& documento, BaseDati* aperto,
                    const std::function<void(BaseDati&)>& controllo)
{
    const QString nome = QString::fromStdString(documento.NomeConteggio());
    const std::string intestazione = "Il conteggio " + Nome(nome) + " non è stato salvato: ";
    if (nome.isEmpty())
        throw ErroreConteggio("Nessun conteggio è aperto: non c'è un file in cui salvare.");
    ControllaNome(nome, "salvare");
    const QString percorso = PercorsoConteggio(cartella, nome);

    struct stat st {};
    if (::stat(PercorsoNativo(percorso).c_str(), &st) != 0)
        throw ErroreConteggio(intestazione + "il suo file non esiste più\n" + Percorso(percorso));
    if (!S_ISREG(st.st_mode))
        throw ErroreConteggio(intestazione + Percorso(percorso) + " non è un file.");
    // A file marked read-only is left alone, whoever runs the program.
    if ((st.st_mode & S_IWUSR) == 0 || ::access(PercorsoNativo(percorso).c_str(), W_OK) != 0)
        throw ErroreConteggio(intestazione + "il file è di sola lettura\n" + Percorso(percorso));

    const std::vector<Riga> valori = ValoriDocumento(documento);
    ControllaNumeri(valori, intestazione);

    try {
        std::optional<BaseDati> proprio;
        if (!aperto)
            proprio.emplace(BaseDati::Apri(PercorsoNativo(percorso)));
        BaseDati& db = aperto ? *aperto : *proprio;
        if (db.SoloLettura())
            throw ErroreConteggio(intestazione + "il file è di sola lettura\n" + Percorso(percorso));
        Transazione tr(db);
        if (controllo)
            controllo(db);
        // A file made before a table was added gets it, with one row to be
        // overwritten below.
        for (const TabellaConteggio& t : TracciatoConteggio()) {
            if (t.facoltativa && !db.EsisteTabella(t.nome)) {
                db.AggiungiTabella(Schema(t));
                Recordset rs = db.ApriRecordset(t.nome);
                rs.AggiungiNuovo();
                rs.Aggiorna();
            } else if (db.EsisteTabella(t.nome)) {
                AggiungiCampiMancanti(db, t);
            }
        }
        for (const ElencoConteggio& e : ElenchiConteggio())
            if (!db.EsisteTabella(e.nome))
                db.AggiungiTabella(Schema(e));
        Lettore(db, nome).ControllaStruttura();
        for (const Riga& r : valori) {
            Recordset rs = db.ApriRecordset(r.tabella->nome);
            rs.Modifica();
            for (std::size_t i = 0; i < r.valori.size(); ++i)
                rs.Assegna(r.tabella->campi[i].nome, r.valori[i]);
            rs.Aggiorna();
        }
        // The lists are written anew, row by row.
        for (const ElencoConteggio& e : ElenchiConteggio()) {
            db.Esegui("DELETE FROM " + Identificatore(e.nome));
            try {
                ScriviElenco(db, e, documento);
            } catch (const ErroreConteggio& x) {
                throw ErroreConteggio(intestazione + x.what());
            }
        }
        tr.Conferma();
    } catch (const ErroreBaseDati& e) {
        if (e.CodicePrimario() == SQLITE_NOTADB)
            throw ErroreConteggio(intestazione + "il file non è più un file di conteggio.");
        throw ErroreConteggio(intestazione + CausaBaseDati(e) + ".");
    } catch (const ErroreConteggio& e) {
        const std::string m = e.what();
        if (m.rfind(intestazione, 0) == 0)
            throw;
        throw ErroreConteggio("Il conteggio " + Nome(nome) + " non è stato salvato.\n" + m);
    }
}

void SalvaConteggioConNome(const QString& cartella, const QString& nome, const Documento& documento)
{
    const std::vector<Riga> valori = ValoriDocumento(documento);
    ControllaNumeri(valori, "Impossibile salvare il conteggio " + Nome(nome) + ": ");
    CreaFileConteggio(cartella, nome, "salvare",
                      [&valori, &documento](const QString& t) { ScriviFile(t, valori, documento); });
}

void RimuoviFileConteggio(const QString& cartella, const QString& nome) noexcept
{
    const QString p = PercorsoConteggio(cartella, nome);
    Rimuovi(p);
    Rimuovi(p + QStringLiteral("-journal"));
}

bool StessiValori(const Documento& a, const Documento& b)
{
    const std::vector<Riga> x = ValoriDocumento(a), y = ValoriDocumento(b);
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i].valori != y[i].valori)
            return false;
    for (const ElencoConteggio& e : ElenchiConteggio()) {
        const std::size_t n = e.righe(a);
        if (e.righe(b) != n)
            return false;
        for (std::size_t r = 0; r < n; ++r)
            for (const CampoElenco& c : e.campi)
                if (c.valore(a, r) != c.valore(b, r))
                    return false;
    }
    return true;
}

bool EsisteConteggio(const QString& cartella, const QString& nome)
{
    const QStringList voci =
        QDir(cartella).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& v : voci)
        if (v.size() >= 4 && QString::compare(v.left(v.size() - 4), nome, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QList<VoceArchivio> ElencoArchivio(const QString& cartella)
{
    QList<VoceArchivio> elenco;
    QStringList file = QDir(cartella).entryList(QDir::Files | QDir::NoDotAndDotDot);
    // By name as people read names: capitals aside, numbers by their value
    // ("Rossi 9" before "Rossi 10"), a name before its longer forms ("Rossi
    // 2008" before "Rossi 2008 - copia").
    QCollator ordine(QLocale(QLocale::Italian, QLocale::Italy));
    ordine.setNumericMode(true);
    ordine.setCaseSensitivity(Qt::CaseInsensitive);
    const auto nome = [](const QString& f) { return f.endsWith(QLatin1String(".ccc")) ? f.chopped(4) : f; };
    std::sort(file.begin(), file.end(), [&](const QString& a, const QString& b) {
        const int c = ordine.compare(nome(a), nome(b));
        return c != 0 ? c < 0 : a < b;
    });
    for (const QString& f : file) {
        if (!f.endsWith(QStringLiteral(".ccc"), Qt::CaseSensitive) || f.startsWith(QLatin1Char('.')) ||
            f.size() <= 4)
            continue;
        VoceArchivio v;
        v.nome = f.left(f.size() - 4);
        try {
            const Documento d = LeggiFile(cartella + QLatin1Char('/') + f, v.nome, true, Documento()).documento;
            v.contoCorrente = QString::fromStdString(d.Trimestri(1).Descrizione());
            v.mutuo = QString::fromStdString(d.MutuoCorrente().Descrizione());
            v.breve = QString::fromStdString(d.BreveCorrente().Descrizione());
            v.varie = QString::fromStdString(d.Operazioni().Descrizione());
        } catch (const std::exception& e) {
            v = VoceArchivio{v.nome, {}, {}, {}, {}, false, QString::fromUtf8(e.what())};
        }
        elenco.push_back(v);
    }
    return elenco;
}
