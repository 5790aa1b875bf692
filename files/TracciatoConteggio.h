#pragma once
// The layout of a calculation file, declared once: its tables in order, each
// with its fields (name, type, how a value read back is checked), the value a
// new file holds and the member of the document the field stands for.
// Creating, loading, saving and comparing calculations all go by it, so a new
// part of the document is a new table here and nothing else in the files room:
// a table of one row for single values (TracciatoConteggio), a table of many
// rows for a list (ElenchiConteggio).
#include "BaseDati.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class Documento;

// How a value read from a file is checked, and the form it then has for
// CampoConteggio::assegna.
enum class Lettura {
    Testo,            // text in valid UTF-8: std::string
    Doppio,           // a number, not an integer beyond 2^53: double
    Intero16,         // a number rounded to 16 bits, halves to even: double
    Intero32,         // a whole number of 32 bits: std::int64_t
    Intero64,         // a whole number (cents): std::int64_t; a double only when whole and within 2^53
    Data,             // a date from 1/1/100 to 31/12/9999: whole days since 30/12/1899, double
    DataFacoltativa,  // a Data, or Null when not given
    Saldo,            // a finite amount, not negative: double (a save refuses any other)
};

struct CampoConteggio {
    std::string nome;
    basedati::Tipo tipo;            // as the field is created
    Lettura lettura;
    basedati::Valore creazione;     // what a new file holds
    // The document's value, as a save writes it.
    std::function<basedati::Valore(const Documento&)> valore;
    // Gives the document a value read back, in the form `lettura` says. May
    // throw when the document refuses it.
    std::function<void(Documento&, const basedati::Valore&)> assegna;
    // A field added to a table after files with that table were made: such a
    // file loads the value at creation and gets the field at its next save.
    bool facoltativo = false;
};

struct TabellaConteggio {
    std::string nome;
    // Files made before the table existed lack it: they load with its values
    // at creation and get the table, with one row, at their next save.
    bool facoltativa = false;
    std::vector<CampoConteggio> campi;  // in the order they are created
    // Every table holds one row.
};

// The tables of a calculation file, in the order they are created.
const std::vector<TabellaConteggio>& TracciatoConteggio();

// A field of a table of many rows: its value in element `i` of the list.
struct CampoElenco {
    std::string nome;
    basedati::Tipo tipo;
    Lettura lettura;
    std::function<basedati::Valore(const Documento&, std::size_t i)> valore;
    // Gives element `i` (which exists) a value read back; may throw when the
    // document refuses it.
    std::function<void(Documento&, std::size_t i, const basedati::Valore&)> assegna;
};

// A table of many rows: one row per element of a list of the document, in
// its order. A new file holds the list of a new document. Files made before
// the table existed lack it: they load the list of a new document and get the
// table at their next save.
struct ElencoConteggio {
    std::string nome;
    std::vector<CampoElenco> campi;  // in the order they are created
    // The number of elements of the document's list.
    std::function<std::size_t(const Documento&)> righe;
    // Makes the list `n` elements long, each as a new one, before the rows
    // read are assigned to them.
    std::function<void(Documento&, std::size_t n)> dimensiona;
    // Gives the document the list `nuovo` has (a file without the table).
    std::function<void(Documento&, const Documento& nuovo)> iniziale;
};

// The tables of many rows of a calculation file, created after those of
// TracciatoConteggio, in this order.
const std::vector<ElencoConteggio>& ElenchiConteggio();

// Dates travel as OLE Automation dates: days since 30 December 1899.
double DataOle(std::chrono::sys_days d);
// The day of a whole count of OLE days.
std::chrono::sys_days DataDaOle(double giorni);
