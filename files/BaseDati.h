#pragma once
// A small database layer over SQLite 3, with the few operations the
// calculation files need: create or open a database, define a table of typed
// fields, open a recordset on the first row of a table, add a row or change
// the first one, read and assign field values by name, transactions.
// Every SQLite failure becomes an ErroreBaseDati; every object releases what
// it holds when it goes out of scope.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace basedati {

class ErroreBaseDati : public std::runtime_error {
public:
    ErroreBaseDati(int codice, const std::string& messaggio)
        : std::runtime_error(messaggio), codice_(codice) {}
    // The SQLite result code (extended codes are on), 0 for a fault of the
    // layer itself.
    int Codice() const { return codice_; }
    // The primary result code (the low byte of the extended one).
    int CodicePrimario() const { return codice_ & 0xff; }

private:
    int codice_;
};

// The five field types. The declared type of each column keeps them apart:
// "INTEGER16", "LONG", "DOUBLE", "DATETIME REAL", "TEXT" (the last word of a
// date gives its column the engine's floating-point storage).
enum class Tipo { Intero, Lungo, Doppio, DataOra, Testo };
const char* TipoDichiarato(Tipo t);
std::optional<Tipo> TipoDaDichiarato(const std::string& dichiarato);

// A field value: Null, an integer, a double, a text (UTF-8 bytes) or a blob.
struct Nullo {
    bool operator==(const Nullo&) const = default;
};
struct Binario {
    std::string byte;
    bool operator==(const Binario&) const = default;
};
using Valore = std::variant<Nullo, std::int64_t, double, std::string, Binario>;

struct Campo {
    std::string nome;
    Tipo tipo;
};

// A table not yet in the database: a name and fields in the order appended.
class DefinizioneTabella {
public:
    explicit DefinizioneTabella(std::string nome) : nome_(std::move(nome)) {}
    static Campo CreaCampo(std::string nome, Tipo tipo) { return {std::move(nome), tipo}; }
    void AggiungiCampo(Campo c) { campi_.push_back(std::move(c)); }
    const std::string& Nome() const { return nome_; }
    const std::vector<Campo>& Campi() const { return campi_; }

private:
    std::string nome_;
    std::vector<Campo> campi_;
};

class Recordset;

class BaseDati {
public:
    // Creates a new empty database; fails if anything exists at the path.
    static BaseDati Crea(const std::string& percorso);
    // Opens an existing database for reading and writing (reading only when
    // `soloLettura`). A missing file is an error, never created.
    static BaseDati Apri(const std::string& percorso, bool soloLettura = false);

    BaseDati(BaseDati&& altro) noexcept;
    BaseDati& operator=(BaseDati&& altro) noexcept;
    BaseDati(const BaseDati&) = delete;
    BaseDati& operator=(const BaseDati&) = delete;
    ~BaseDati();

    const std::string& Percorso() const { return percorso_; }
    // True when the engine could open the file for reading only.
    bool SoloLettura() const;

    // Runs statements that take no parameters and return no rows.
    void Esegui(const std::string& sql);

    static DefinizioneTabella CreaDefinizioneTabella(std::string nome) { return DefinizioneTabella(std::move(nome)); }
    // Makes the table in the file, empty.
    void AggiungiTabella(const DefinizioneTabella& t);
    // True if a table of that name exists (names compare without regard to
    // ASCII case, as the engine does).
    bool EsisteTabella(const std::string& nome);
    // The fields of an existing table in their order, with their declared
    // types as written.
    std::vector<std::pair<std::string, std::string>> CampiTabella(const std::string& nome);

    // A recordset on the first row of the table (rowid order), if any.
    Recordset ApriRecordset(const std::string& tabella);

    sqlite3* Connessione() { return db_; }
    // Throws an ErroreBaseDati for the result code `rc` when it is not OK.
    void Controlla(int rc, const char* operazione);

private:
    BaseDati(sqlite3* db, std::string percorso) : db_(db), percorso_(std::move(percorso)) {}
    static BaseDati ApriConnessione(const std::string& percorso, int flag);
    void chiudi() noexcept;

    sqlite3* db_ = nullptr;
    std::string percorso_;
};

// A prepared statement, finalised when it goes out of scope.
class Istruzione {
public:
    Istruzione(BaseDati& db, const std::string& sql);
    Istruzione(const Istruzione&) = delete;
    Istruzione& operator=(const Istruzione&) = delete;
    ~Istruzione();

    void Lega(int indice, const Valore& v);
    // Steps once: true while a row is there.
    bool Passo();
    // Makes the statement ready to run again, its parameters unbound.
    void Azzera();
    int Colonne() const;
    std::string NomeColonna(int i) const;
    Valore Colonna(int i) const;

private:
    BaseDati& db_;
    sqlite3_stmt* st_ = nullptr;
};

// One row of a table: the first one when opened (or none: FineFile), or a
// new one after AggiungiNuovo. Values are read and assigned by field name
// (without regard to ASCII case); Aggiorna stores the assignments.
class Recordset {
public:
    bool FineFile() const { return !rowid_.has_value(); }
    const std::string& Tabella() const { return tabella_; }
    const std::vector<std::string>& NomiCampi() const { return nomi_; }
    bool HaCampo(const std::string& nome) const { return indice(nome) >= 0; }
    // The value of the field in the current row; throws if there is no such
    // field or no current row.
    const Valore& Leggi(const std::string& nome) const;
    // Assigns a field of the row being added or edited.
    void Assegna(const std::string& nome, Valore v);

    // Starts a new row: every field Null until assigned.
    void AggiungiNuovo();
    // Starts changing the current row.
    void Modifica();
    // Stores the new row or the changes of the current one.
    void Aggiorna();

private:
    friend class BaseDati;
    Recordset(BaseDati& db, std::string tabella);
    int indice(const std::string& nome) const;

    enum class Modo { Nessuno, Nuovo, Modifica };
    BaseDati* db_;
    std::string tabella_;
    std::vector<std::string> nomi_;
    std::vector<Valore> valori_;
    std::vector<bool> assegnati_;
    std::optional<std::int64_t> rowid_;
    Modo modo_ = Modo::Nessuno;
};

// BEGIN IMMEDIATE at construction; rolled back at destruction unless
// Conferma (COMMIT) succeeded.
class Transazione {
public:
    explicit Transazione(BaseDati& db);
    Transazione(const Transazione&) = delete;
    Transazione& operator=(const Transazione&) = delete;
    ~Transazione();
    void Conferma();

private:
    BaseDati& db_;
    bool aperta_ = true;
};

// Quotes a name for use as an SQL identifier.
std::string Identificatore(const std::string& nome);

}  // namespace basedati
