#pragma once
// The account's daily balance by value date, calendar quarter by calendar
// quarter (the scale, "scalare"), and each quarter's figures drawn from it:
// numeri, interest and charges posted, value-date days, credit line, largest
// overdraft, and how far the statements cover the quarter.
//
// The day count is the bank's: a balance counts from its value date to the
// next value date, and a quarter counts the balances from the last day of
// the quarter before to the day before its own last day. So, for the days d
// from (first day - 1) to (last day - 1), S(d) being the balance by value
// date at the end of day d, each figure is a sum or a maximum over S(d); a
// posting valued on the quarter's last day (its closing interest) starts
// counting in the next quarter, as it does in the bank's scale.
#include "Condizioni.h"
#include "Movimenti.h"
#include "OriginiTrimestri.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// Balance × days in cents × days: exact. Divided by 100 it is the numeri of
// a statement, in euro × days.
using NumeriCentesimi = std::int64_t;


// Days after a quarter's end within which banks book the interest and
// charges of its closing, valued on its last day.
inline constexpr int GiorniRegistrazioneChiusura = 10;

// Booking days, both ends included.
struct PeriodoCoperto {
    std::chrono::sys_days dal{}, al{};
    bool operator==(const PeriodoCoperto&) const = default;
};

// The days the account's records cover, merged and in order. With
// statements: each statement from its opening to its closing date; two
// statements in a row also cover the days between them when the second opens
// with the balance the first closed with (nothing was booked in between), or
// when they touch or overlap. Without statements: from the first to the last
// booking date of the movements. Empty when there is neither. Never throws
// (only std::bad_alloc).
std::vector<PeriodoCoperto> PeriodiCoperti(const std::vector<Movimento>& movimenti,
                                           const std::vector<SaldiEstratto>& saldi);

// How far the periods cover the quarter from inizio to fine (see Copertura).
Copertura CoperturaDi(const std::vector<PeriodoCoperto>& coperti, std::chrono::sys_days inizio,
                      std::chrono::sys_days fine);

// The balance before every movement: the opening balance declared by the
// earliest statement, less the movements booked before its opening date
// (which that balance already holds), and true; {0, false} without
// statements. Throws std::overflow_error as CalcolaScalare does.
std::pair<Centesimi, bool> SaldoDiPartenza(const std::vector<Movimento>& movimenti,
                                           const std::vector<SaldiEstratto>& saldi);

// One line of the scale: a balance by value date and the days it counts in
// its quarter, split where the balance, the credit line or the quarter
// changes.
struct RigaScalare {
    std::chrono::sys_days valuta{};     // the first day d it holds
    int giorni = 0;                     // how many days d it holds in the quarter
    Centesimi saldo = 0;                // S(d), credit > 0
    Centesimi fido = 0;                 // credit line in force on those days (0 = none)
    NumeriCentesimi numeriDebitoriEntroFido = 0;  // min(debit balance, fido) × giorni
    NumeriCentesimi numeriDebitoriOltreFido = 0;  // (debit balance - fido) × giorni, when beyond
    NumeriCentesimi numeriCreditori = 0;          // credit balance × giorni
};

// Index of a class in TrimestreScalare::perClasse.
constexpr std::size_t IndiceClasse(ClasseMovimento c) { return static_cast<std::size_t>(c); }
inline constexpr std::size_t NumeroClassi = 6;

// One calendar quarter of the scale.
struct TrimestreScalare {
    int anno = 0, trimestre = 0;                  // trimestre 1..4
    std::chrono::sys_days inizio{}, fine{};       // its first and last calendar day
    int giorni = 0;                               // fine - inizio + 1: 90/91, 91, 92, 92
    Centesimi saldoIniziale = 0;                  // S(inizio - 1)
    Centesimi saldoFinale = 0;                    // S(fine), closing postings valued on fine included
    NumeriCentesimi numeriDebitoriEntroFido = 0;  // sums of its lines' numeri
    NumeriCentesimi numeriDebitoriOltreFido = 0;
    NumeriCentesimi numeriCreditori = 0;
    Centesimi massimoScoperto = 0;                // largest debit balance counted, as a positive amount; 0 = never in debit
    std::optional<std::chrono::sys_days> dataMassimoScoperto;  // the first day d it held
    Centesimi massimoOltreFido = 0;               // largest part of a debit balance beyond the credit line
    int giorniADebito = 0;                        // days d with S(d) < 0
    Centesimi fidoFine = 0;                       // credit line in force on fine
    bool fidoVariato = false;                     // the credit line changed between inizio - 1 and fine
    bool condizioniInVigore = false;              // a period of the conditions is in force on fine
    // Value-date lag of the ordinary movements valued in the quarter, each
    // counted in days against the holder: value date - booking date for a
    // credit, booking date - value date for a debit (negative when the value
    // date favours the holder).
    int operazioni = 0;                           // how many
    std::int64_t giorniValuta = 0;                // sum of their lags
    NumeriCentesimi giorniValutaPonderati = 0;    // sum of |amount| × lag
    Centesimi importiOperazioni = 0;              // sum of |amount|
    // Sum of the amounts of the movements valued in the quarter, by class
    // (IndiceClasse); a debit is negative.
    std::array<Centesimi, NumeroClassi> perClasse{};
    Copertura copertura = Copertura::Nessuna;
    std::size_t primaRiga = 0, righe = 0;         // its lines in Scalare::righe

    NumeriCentesimi numeriDebitori() const { return numeriDebitoriEntroFido + numeriDebitoriOltreFido; }
    // Posted by the bank, as positive amounts when charged.
    Centesimi addebitato(ClasseMovimento c) const { return -perClasse[IndiceClasse(c)]; }
};

struct Scalare {
    // The balance before every movement: the opening balance declared by
    // the earliest statement, less the movements booked before its opening
    // date (which that balance already holds); zero without statements.
    Centesimi saldoPartenza = 0;
    bool saldoPartenzaDichiarato = false;
    std::vector<TrimestreScalare> trimestri;  // consecutive calendar quarters, in order
    std::vector<RigaScalare> righe;           // every quarter's lines, in order
};

// The scale of the calendar quarters from the one holding `dal` to the one
// holding `al`. Movements valued before the first quarter are in its opening
// balance; those valued after the last are left out. The credit line of each
// day is that of CondizioniDel (0 before the first period). Throws
// std::invalid_argument when dal is after al or the span exceeds 100 years,
// std::overflow_error (Italian text) when a balance or a quarter's numeri go
// beyond 64-bit cents: ten years of balances of ±10 billion euro are far
// within.
Scalare CalcolaScalare(const std::vector<Movimento>& movimenti, const std::vector<SaldiEstratto>& saldi,
                       const CondizioniConto& condizioni, std::chrono::sys_days dal, std::chrono::sys_days al);

// The same over every quarter that the movements (booking and value dates)
// and the statements touch; an empty scale when there are none.
Scalare CalcolaScalare(const std::vector<Movimento>& movimenti, const std::vector<SaldiEstratto>& saldi,
                       const CondizioniConto& condizioni);


struct FiguraTrimestre {
    double valore = 0;
    FonteFigura fonte = FonteFigura::Nessuna;
};

// The figures of a quarter's input fields, in their units (euro, euro × days,
// days), drawn from the scale.
struct FigureTrimestre {
    int anno = 0, trimestre = 0;
    FiguraTrimestre numeri;           // debit numeri (within and beyond the line), euro × days
    FiguraTrimestre interessi;        // debit interest posted
    FiguraTrimestre commissioni;      // commission on the maximum overdraft posted (the only one proportional to overdrafts)
    FiguraTrimestre spese;            // other commissions and fees posted (CIV, CDF, per operation, periodic)
    FiguraTrimestre giorniValuta;     // plain average lag of the ordinary movements
    FiguraTrimestre cms;              // the part of commissioni that is the CMS: all of it
    FiguraTrimestre accordato;        // credit line in force on the quarter's last day
    FiguraTrimestre massimoScoperto;  // largest debit balance
    Copertura copertura = Copertura::Nessuna;
    bool parziale() const { return copertura != Copertura::Completa; }
};

// The figures of one quarter of the scale. Each amount is its cents / 100,
// numeri its cents × days / 100, as the nearest double (exact below 2^53),
// with no other rounding; giorniValuta is giorniValuta / operazioni (0 when
// there are none). Movement figures come from the movements unless the
// quarter is not covered at all; accordato from the conditions when a period
// is in force. Taxes and credit interest are not quarter fields: read them in
// the scale. Never throws.
FigureTrimestre FigureDelTrimestre(const TrimestreScalare& trimestre);

// The four quarters of a year; a quarter outside the scale has zeros, no
// source and no coverage.
std::array<FigureTrimestre, 4> FigureAnno(const Scalare& scalare, int anno);

// The years the records cover (PeriodiCoperti), in order, with the coverage
// of each of their quarters; years with no covered day are left out.
struct AnnoCoperto {
    int anno = 0;
    std::array<Copertura, 4> trimestri{};
};
std::vector<AnnoCoperto> AnniCoperti(const std::vector<Movimento>& movimenti, const std::vector<SaldiEstratto>& saldi);
