#pragma once
// The current account as its statements show it: the account's particulars,
// the movements the bank booked and the balances each statement declared.
// Amounts are integer cents (credit > 0, debit < 0), so that sums over any
// number of movements are exact; dates are whole days.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

using Centesimi = std::int64_t;

// What a movement is, for the scale and the recalculation.
enum class ClasseMovimento : std::uint8_t {
    Ordinario,           // payments, transfers, cheques, cash: everything below is not
    InteressiDebitori,   // interest charged on a debit balance
    InteressiCreditori,  // interest credited on a credit balance
    CMS,                 // commissione di massimo scoperto
    Commissioni,         // other commissions and fees: CIV, CDF, charges per operation, periodic fees
    Imposte              // taxes: stamp duty, withholding on credit interest
};

// Where a movement's class came from.
inline constexpr int ClasseAMano = -1;    // set by the user
inline constexpr int ClasseNessunaRegola = 0;  // no rule matched: Ordinario

struct Movimento {
    std::chrono::sys_days dataContabile{};  // booking date
    std::chrono::sys_days dataValuta{};     // value date
    Centesimi importo = 0;                  // credit (avere) > 0, debit (dare) < 0
    std::string causaleCBI;                 // two characters ("26", "A1"); empty when the file gives none
    std::string causaleBanca;               // the bank's own code; empty when none
    std::string descrizione;                // UTF-8, extra information lines appended
    ClasseMovimento classe = ClasseMovimento::Ordinario;
    // The number (from 1) of the rule that gave the class, ClasseNessunaRegola
    // or ClasseAMano.
    int regolaClasse = ClasseNessunaRegola;
    std::string file;                       // name of the statement file it was read from; empty when typed
    int riga = 0;                           // line (text formats) or record (CBI) or entry (XML, OFX) in that file
};

// The booked balances a statement declared (credit > 0), with the dates the
// file gives them: saldoIniziale before its first movement, saldoFinale after
// its last. In a sound statement saldoIniziale plus the sum of its movements
// equals saldoFinale to the cent.
struct SaldiEstratto {
    std::chrono::sys_days dataIniziale{}, dataFinale{};
    Centesimi saldoIniziale = 0, saldoFinale = 0;
    std::string file;  // the statement file
    int riga = 0;      // where its opening balance stands in the file
};

// The account's particulars; any may be empty.
struct DatiConto {
    std::string intestatario, banca;
    std::string iban;                 // or, for older statements, ABI, CAB and account number
    std::string abi, cab, numero;
    std::string divisa = "EUR";       // the program keeps accounts in euro only
};
