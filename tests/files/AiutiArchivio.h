#pragma once
// Helpers of the calculation-file tests: raw SQLite access to a file (to
// check and to damage it behind the program's back) and a fingerprint of
// the whole document.
#include "Dichiarazioni.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QFile>

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>

// A raw connection to a file, for the tests only.
class FileGrezzo {
public:
    explicit FileGrezzo(const QString& percorso)
    {
        if (sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK) {
            const std::string m = db_ ? sqlite3_errmsg(db_) : "open failed";
            sqlite3_close(db_);
            throw std::runtime_error(m);
        }
    }
    ~FileGrezzo() { sqlite3_close(db_); }
    FileGrezzo(const FileGrezzo&) = delete;
    FileGrezzo& operator=(const FileGrezzo&) = delete;

    void Esegui(const std::string& sql)
    {
        char* e = nullptr;
        const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &e);
        const std::string m = e ? e : "";
        sqlite3_free(e);
        if (rc != SQLITE_OK)
            throw std::runtime_error(sql + ": " + m);
    }

    // Every row of a query, each column as "type:value" (type i, r, t, b, n;
    // reals with 17 digits), columns separated by '|'.
    QStringList Righe(const std::string& sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        QStringList righe;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList celle;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER: celle << "i:" + QString::number(sqlite3_column_int64(st, i)); break;
                case SQLITE_FLOAT: celle << "r:" + QString::number(sqlite3_column_double(st, i), 'g', 17); break;
                case SQLITE_TEXT:
                    celle << "t:" + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
                    break;
                case SQLITE_BLOB: celle << "b:"; break;
                default: celle << "n:"; break;
                }
            }
            righe << celle.join('|');
        }
        sqlite3_finalize(st);
        return righe;
    }

private:
    sqlite3* db_ = nullptr;
};

inline std::string BitDi(double x)
{
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    std::ostringstream o;
    o << std::hex << b;
    return o.str();
}

// Every member of the document that a file holds or that loading must keep,
// written out exactly (doubles by their bits).
inline std::string Impronta(const Documento& d)
{
    std::ostringstream o;
    o << "nome=" << d.NomeConteggio() << "\nanno=" << d.AnnoRiferimento() << "\n";
    for (int q = 1; q <= 4; ++q) {
        const BOX& t = d.Trimestri(q);
        o << "T" << q << " n=" << t.Trimestre() << " d=" << t.Descrizione() << " " << BitDi(t.Interessi()) << " "
          << BitDi(t.Numeri()) << " " << BitDi(t.Spese()) << " " << BitDi(t.GiorniValuta()) << " "
          << BitDi(t.Commissioni()) << " " << BitDi(t.Accordato()) << " " << BitDi(t.CMS()) << "\n";
    }
    const Mutuo& m = d.MutuoCorrente();
    o << "M d=" << m.Descrizione() << " " << BitDi(m.Importo()) << " " << BitDi(m.Oneri()) << " "
      << BitDi(m.Rata()) << " " << m.NRate() << " " << m.RateAnnuali() << "\n";
    const OPE& p = d.Operazioni();
    o << "O d=" << p.Descrizione() << "\n";
    for (int r = 1; r <= OPE::Righe; ++r)
        o << " " << p.Anno(r) << "/" << p.Mese(r) << " " << BitDi(p.Importo(r)) << " " << p.Segno(r) << "\n";
    const BREVE& b = d.BreveCorrente();
    o << "B d=" << b.Descrizione() << " " << b.Data0().time_since_epoch().count() << " "
      << b.Data1().time_since_epoch().count() << " " << BitDi(b.Finanziato()) << " " << BitDi(b.Restituito())
      << " " << BitDi(b.Oneri()) << "\n";
    const ParametriUsura& u = d.Usura();
    o << "U " << u.CategoriaConto() << "|" << u.ClasseConto() << "|" << u.CategoriaMutuo() << "|" << u.ClasseMutuo()
      << "|" << u.CategoriaOperazioni() << "|" << u.ClasseOperazioni() << "|" << u.CategoriaBreve() << "|"
      << u.ClasseBreve() << "|" << (u.DataStipula() ? u.DataStipula()->time_since_epoch().count() : -1) << "|"
      << (u.DataOperazioni() ? u.DataOperazioni()->time_since_epoch().count() : -1);
    for (int q = 1; q <= 4; ++q)
        o << " " << BitDi(d.Trimestri(q).MassimoScoperto()) << "/" << BitDi(u.CMSMedia(q).value_or(-1));
    o << "\n";
    return o.str();
}
