#include "BaseDati.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace basedati {

namespace {

char Minuscola(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool UgualiSenzaMaiuscole(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Minuscola(a[i]) != Minuscola(b[i]))
            return false;
    return true;
}

std::string Maiuscolo(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

const char* TipoDichiarato(Tipo t)
{
    switch (t) {
    case Tipo::Intero: return "INTEGER16";
    case Tipo::Lungo: return "LONG";
    case Tipo::Doppio: return "DOUBLE";
    case Tipo::DataOra: return "DATETIME REAL";
    case Tipo::Testo: return "TEXT";
    }
    return "";
}

std::optional<Tipo> TipoDaDichiarato(const std::string& dichiarato)
{
    const std::string d = Maiuscolo(dichiarato);
    for (Tipo t : {Tipo::Intero, Tipo::Lungo, Tipo::Doppio, Tipo::DataOra, Tipo::Testo})
        if (d == TipoDichiarato(t))
            return t;
    return std::nullopt;
}

std::string Identificatore(const std::string& nome)
{
    std::string r = "\"";
    for (char c : nome) {
        if (c == '"')
            r += '"';
        r += c;
    }
    return r + "\"";
}

// ---------------------------------------------------------------------------

BaseDati BaseDati::ApriConnessione(const std::string& percorso, int flag)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(percorso.c_str(), &db, flag | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string messaggio = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        const int codice = db ? sqlite3_extended_errcode(db) : rc;
        sqlite3_close(db);
        throw ErroreBaseDati(codice, messaggio);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    return BaseDati(db, percorso);
}

BaseDati BaseDati::Crea(const std::string& percorso)
{
    // O_EXCL: the file is made here or the call fails, with no window in
    // which another file of that name could be overwritten.
    const int fd = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int e = errno;
        throw ErroreBaseDati(SQLITE_CANTOPEN,
                             std::string("cannot create file: ") + std::strerror(e));
    }
    ::close(fd);
    try {
        // An empty file is an empty database.
        BaseDati db = ApriConnessione(percorso, SQLITE_OPEN_READWRITE);
        db.Esegui("PRAGMA encoding = 'UTF-8'");
        return db;
    } catch (...) {
        ::unlink(percorso.c_str());
        throw;
    }
}

BaseDati BaseDati::Apri(const std::string& percorso, bool soloLettura)
{
    return ApriConnessione(percorso, soloLettura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
}

BaseDati::BaseDati(BaseDati&& altro) noexcept : db_(altro.db_), percorso_(std::move(altro.percorso_))
{
    altro.db_ = nullptr;
}

BaseDati& BaseDati::operator=(BaseDati&& altro) noexcept
{
    if (this != &altro) {
        chiudi();
        db_ = altro.db_;
        percorso_ = std::move(altro.percorso_);
        altro.db_ = nullptr;
    }
    return *this;
}

BaseDati::~BaseDati()
{
    chiudi();
}

void BaseDati::chiudi() noexcept
{
    if (db_) {
        // Every statement is finalised by its owner before this point; v2
        // defers the close otherwise instead of leaking.
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

bool BaseDati::SoloLettura() const
{
    return sqlite3_db_readonly(db_, "main") == 1;
}

void BaseDati::Controlla(int rc, const char* operazione)
{
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE)
        return;
    std::string m = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    if (operazione && *operazione)
        m = std::string(operazione) + ": " + m;
    throw ErroreBaseDati(db_ ? sqlite3_extended_errcode(db_) : rc, m);
}

void BaseDati::Esegui(const std::string& sql)
{
    char* errore = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &errore);
    sqlite3_free(errore);
    Controlla(rc, sql.c_str());
}

void BaseDati::AggiungiTabella(const DefinizioneTabella& t)
{
    if (t.Campi().empty())
        throw ErroreBaseDati(0, "table " + t.Nome() + " has no fields");
    std::string sql = "CREATE TABLE " + Identificatore(t.Nome()) + " (";
    for (std::size_t i = 0; i < t.Campi().size(); ++i) {
        if (i)
            sql += ", ";
        sql += Identificatore(t.Campi()[i].nome) + " " + TipoDichiarato(t.Campi()[i].tipo);
    }
    Esegui(sql + ")");
}

bool BaseDati::EsisteTabella(const std::string& nome)
{
    Istruzione st(*this, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    st.Lega(1, nome);
    return st.Passo();
}

std::vector<std::pair<std::string, std::string>> BaseDati::CampiTabella(const std::string& nome)
{
    std::vector<std::pair<std::string, std::string>> r;
    Istruzione st(*this, "SELECT name, type FROM pragma_table_info(?1)");
    st.Lega(1, nome);
    while (st.Passo()) {
        const Valore n = st.Colonna(0), t = st.Colonna(1);
        r.emplace_back(std::holds_alternative<std::string>(n) ? std::get<std::string>(n) : std::string(),
                       std::holds_alternative<std::string>(t) ? std::get<std::string>(t) : std::string());
    }
    return r;
}

Recordset BaseDati::ApriRecordset(const std::string& tabella)
{
    return Recordset(*this, tabella);
}

// ---------------------------------------------------------------------------

Istruzione::Istruzione(BaseDati& db, const std::string& sql) : db_(db)
{
    db_.Controlla(sqlite3_prepare_v2(db_.Connessione(), sql.c_str(), static_cast<int>(sql.size() + 1), &st_, nullptr),
                  nullptr);
    if (!st_)
        throw ErroreBaseDati(0, "empty statement");
}

Istruzione::~Istruzione()
{
    sqlite3_finalize(st_);
}

void Istruzione::Lega(int indice, const Valore& v)
{
    int rc = SQLITE_OK;
    if (std::holds_alternative<Nullo>(v))
        rc = sqlite3_bind_null(st_, indice);
    else if (const auto* i = std::get_if<std::int64_t>(&v))
        rc = sqlite3_bind_int64(st_, indice, *i);
    else if (const auto* d = std::get_if<double>(&v))
        rc = sqlite3_bind_double(st_, indice, *d);
    else if (const auto* s = std::get_if<std::string>(&v))
        rc = sqlite3_bind_text64(st_, indice, s->data(), s->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    else if (const auto* b = std::get_if<Binario>(&v))
        rc = sqlite3_bind_blob64(st_, indice, b->byte.data(), b->byte.size(), SQLITE_TRANSIENT);
    db_.Controlla(rc, nullptr);
}

bool Istruzione::Passo()
{
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    db_.Controlla(rc, nullptr);
    return false;
}

void Istruzione::Azzera()
{
    sqlite3_reset(st_);
    db_.Controlla(sqlite3_clear_bindings(st_), nullptr);
}

int Istruzione::Colonne() const
{
    return sqlite3_column_count(st_);
}

std::string Istruzione::NomeColonna(int i) const
{
    const char* n = sqlite3_column_name(st_, i);
    if (!n)
        throw ErroreBaseDati(SQLITE_NOMEM, "out of memory");
    return n;
}

Valore Istruzione::Colonna(int i) const
{
    switch (sqlite3_column_type(st_, i)) {
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(st_, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(st_, i);
    case SQLITE_TEXT: {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st_, i));
        const int n = sqlite3_column_bytes(st_, i);
        if (!t)
            throw ErroreBaseDati(SQLITE_NOMEM, "out of memory");
        return std::string(t, static_cast<std::size_t>(n));
    }
    case SQLITE_BLOB: {
        const auto* b = static_cast<const char*>(sqlite3_column_blob(st_, i));
        const int n = sqlite3_column_bytes(st_, i);
        return Binario{b ? std::string(b, static_cast<std::size_t>(n)) : std::string()};
    }
    default:
        return Nullo{};
    }
}

// ---------------------------------------------------------------------------

Recordset::Recordset(BaseDati& db, std::string tabella) : db_(&db), tabella_(std::move(tabella))
{
    Istruzione st(db, "SELECT _rowid_, * FROM " + Identificatore(tabella_) + " ORDER BY _rowid_ LIMIT 1");
    const int n = st.Colonne();
    for (int i = 1; i < n; ++i)
        nomi_.push_back(st.NomeColonna(i));
    valori_.assign(nomi_.size(), Nullo{});
    assegnati_.assign(nomi_.size(), false);
    if (st.Passo()) {
        const Valore id = st.Colonna(0);
        if (!std::holds_alternative<std::int64_t>(id))
            throw ErroreBaseDati(SQLITE_MISMATCH, "table " + tabella_ + " has no row identifiers");
        rowid_ = std::get<std::int64_t>(id);
        for (int i = 1; i < n; ++i)
            valori_[static_cast<std::size_t>(i - 1)] = st.Colonna(i);
    }
}

int Recordset::indice(const std::string& nome) const
{
    for (std::size_t i = 0; i < nomi_.size(); ++i)
        if (UgualiSenzaMaiuscole(nomi_[i], nome))
            return static_cast<int>(i);
    return -1;
}

const Valore& Recordset::Leggi(const std::string& nome) const
{
    const int i = indice(nome);
    if (i < 0)
        throw ErroreBaseDati(0, "no field " + nome + " in table " + tabella_);
    if (FineFile() && modo_ != Modo::Nuovo)
        throw ErroreBaseDati(0, "no current row in table " + tabella_);
    return valori_[static_cast<std::size_t>(i)];
}

void Recordset::Assegna(const std::string& nome, Valore v)
{
    if (modo_ == Modo::Nessuno)
        throw ErroreBaseDati(0, "assignment outside AddNew or Edit in table " + tabella_);
    const int i = indice(nome);
    if (i < 0)
        throw ErroreBaseDati(0, "no field " + nome + " in table " + tabella_);
    valori_[static_cast<std::size_t>(i)] = std::move(v);
    assegnati_[static_cast<std::size_t>(i)] = true;
}

void Recordset::AggiungiNuovo()
{
    modo_ = Modo::Nuovo;
    valori_.assign(nomi_.size(), Nullo{});
    assegnati_.assign(nomi_.size(), false);
}

void Recordset::Modifica()
{
    if (FineFile())
        throw ErroreBaseDati(0, "no current row to edit in table " + tabella_);
    modo_ = Modo::Modifica;
    assegnati_.assign(nomi_.size(), false);
}

void Recordset::Aggiorna()
{
    std::vector<std::size_t> scelti;
    for (std::size_t i = 0; i < nomi_.size(); ++i)
        if (assegnati_[i])
            scelti.push_back(i);

    if (modo_ == Modo::Nuovo) {
        std::string sql = "INSERT INTO " + Identificatore(tabella_);
        if (scelti.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string campi, segnaposto;
            for (std::size_t k = 0; k < scelti.size(); ++k) {
                campi += (k ? ", " : "") + Identificatore(nomi_[scelti[k]]);
                segnaposto += (k ? ", ?" : "?");
            }
            sql += " (" + campi + ") VALUES (" + segnaposto + ")";
        }
        Istruzione st(*db_, sql);
        for (std::size_t k = 0; k < scelti.size(); ++k)
            st.Lega(static_cast<int>(k + 1), valori_[scelti[k]]);
        st.Passo();
        const std::int64_t nuovo = sqlite3_last_insert_rowid(db_->Connessione());
        if (!rowid_ || nuovo < *rowid_)
            rowid_ = nuovo;
    } else if (modo_ == Modo::Modifica) {
        if (!scelti.empty()) {
            std::string sql = "UPDATE " + Identificatore(tabella_) + " SET ";
            for (std::size_t k = 0; k < scelti.size(); ++k)
                sql += (k ? ", " : "") + Identificatore(nomi_[scelti[k]]) + " = ?";
            sql += " WHERE _rowid_ = ?";
            Istruzione st(*db_, sql);
            for (std::size_t k = 0; k < scelti.size(); ++k)
                st.Lega(static_cast<int>(k + 1), valori_[scelti[k]]);
            st.Lega(static_cast<int>(scelti.size() + 1), *rowid_);
            st.Passo();
            if (sqlite3_changes(db_->Connessione()) != 1)
                throw ErroreBaseDati(SQLITE_NOTFOUND, "the row to update in table " + tabella_ + " is gone");
        }
    } else {
        throw ErroreBaseDati(0, "Update without AddNew or Edit in table " + tabella_);
    }
    modo_ = Modo::Nessuno;
    assegnati_.assign(nomi_.size(), false);
}

// ---------------------------------------------------------------------------

Transazione::Transazione(BaseDati& db) : db_(db)
{
    db_.Esegui("BEGIN IMMEDIATE");
}

Transazione::~Transazione()
{
    if (aperta_ && sqlite3_get_autocommit(db_.Connessione()) == 0) {
        try {
            db_.Esegui("ROLLBACK");
        } catch (...) {
            // Closing the connection rolls back whatever is left.
        }
    }
}

void Transazione::Conferma()
{
    db_.Esegui("COMMIT");
    aperta_ = false;
}

}  // namespace basedati
