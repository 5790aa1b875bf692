#pragma once
// Statements as the bank's files give them, and the checks every import runs
// on them before anything is added: the declared balances against the
// movements, plausible dates and amounts, and the movements already present.
#include "Movimenti.h"
#include "Testo.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// A balance a statement declares, booked (credit > 0), with its date and the
// line or record of the file it stands on.
struct SaldoDichiarato {
    std::chrono::sys_days data{};
    Centesimi saldo = 0;
    int riga = 0;
};

// One statement read from a file: the account it is of, the balances it
// declares (either may be missing: a CSV export declares none, an OFX file
// only its closing one) and its movements in the file's order.
struct EstrattoConto {
    std::string file;                           // name of the file it was read from
    DatiConto conto;
    std::optional<SaldoDichiarato> iniziale;    // before its first movement
    std::optional<SaldoDichiarato> finale;      // after its last movement
    std::optional<SaldoDichiarato> disponibile; // available (not booked) balance, for information only
    std::vector<Movimento> movimenti;

    // The declared balances as the calculation keeps them; empty unless both
    // the opening and the closing balance are declared.
    std::optional<SaldiEstratto> Saldi() const;
};

// A fault of a statement file, in Italian.
struct DifettoEstratto {
    std::string file;
    int riga = 0;         // line or record (0 = the file as a whole)
    std::string testo;    // what is wrong, without the file's name
    std::string tipoRiga = "riga";  // "riga" or "record", as the format counts

    // "estratto.cbi, record 12: l'importo contiene lettere."
    std::string Messaggio() const;
};

// Amounts of movements and balances may not exceed ±10 000 000 000 euro.
inline constexpr Centesimi ImportoMassimo = 1'000'000'000'000;

// The first day a statement may speak of.
inline constexpr std::chrono::sys_days PrimoGiornoPlausibile{std::chrono::year{1990} / 1 / 1};

// "1.234,56", "-0,05": the amount as the program's users read it.
std::string TestoCentesimi(Centesimi importo);

// The faults of one statement, each naming its line: dates outside
// 01/01/1990..oggi, amounts beyond ImportoMassimo, a value date more than a
// year from its booking date, and, when both balances are declared, an
// opening balance plus the movements that is not the closing balance to the
// cent. Empty for a sound statement. Never throws but for lack of memory.
std::vector<DifettoEstratto> ControllaEstratto(const EstrattoConto& estratto, std::chrono::sys_days oggi,
                                               const std::string& tipoRiga = "riga");

// Finds the movements already present: the same booking and value dates,
// amount and description (spaces and case aside). Identical movements are
// counted, not merged: a statement with two equal fees on one day, checked
// against a calculation that holds one of them, adds the second. Statements
// are taken one after the other, each against what is present plus what the
// ones before it added, so overlapping statements of one import add each
// movement once.
class ControlloDuplicati {
public:
    explicit ControlloDuplicati(const std::vector<Movimento>& presenti);

    // The movements of one statement that are not present yet, in their
    // order; the others are counted in duplicati.
    std::vector<Movimento> Nuovi(std::vector<Movimento> estratto, std::size_t& duplicati);

private:
    struct Chiave {
        std::chrono::sys_days contabile, valuta;
        Centesimi importo;
        std::string descrizione;
        bool operator==(const Chiave&) const = default;
    };
    struct Hash {
        std::size_t operator()(const Chiave& c) const noexcept;
    };
    static Chiave ChiaveDi(const Movimento& m);
    std::unordered_map<Chiave, std::size_t, Hash> conteggio_;
};
