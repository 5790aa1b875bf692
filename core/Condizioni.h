#pragma once
// The current account's contract conditions as periods, each in force from
// its date until the day before the next one's: what the bank applied
// (credit line, rates, CMS, charges, settlement) and what was agreed in
// writing, which the recalculation of the account goes by.
#include "Movimenti.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

enum class Liquidazione : std::uint8_t { Trimestrale, Annuale };

// Days of the year the interest is counted over: the calendar year's 365 or
// 366 (anno civile), or 360 (anno commerciale).
enum class Divisore : std::uint8_t { Civile, Commerciale };

// What the CMS percentage is applied to.
enum class BaseCMS : std::uint8_t {
    MassimoScoperto,  // the largest debit balance of the period
    OltreFido,        // the largest debit balance beyond the credit line
    Accordato         // the credit line (a fee on the line made available)
};

struct CondizioniPeriodo {
    std::chrono::sys_days dal{};            // first day in force
    Centesimi accordato = 0;                // credit line (fido accordato); 0 = none
    // Annual rates as fractions (0.105 = 10,5 %).
    double tassoDebitore = 0;               // on the debit balance within the credit line
    double tassoDebitoreOltreFido = 0;      // on the part beyond it (or on all of it without a line)
    double tassoCreditore = 0;              // on a credit balance
    double percentualeCMS = 0;              // per settlement period, fraction of its base
    BaseCMS baseCMS = BaseCMS::MassimoScoperto;
    Centesimi speseFisse = 0;               // fixed charges per settlement period
    Liquidazione liquidazione = Liquidazione::Trimestrale;
    Divisore divisore = Divisore::Civile;

    // What was agreed in writing, each with the date of the writing; empty =
    // not agreed in writing.
    std::optional<std::chrono::sys_days> tassiPattuiti;            // the rates above
    bool usiPiazza = false;                 // the contract refers the rates to "usi di piazza"
    std::optional<std::chrono::sys_days> capitalizzazionePattuita;  // periodic capitalisation
    std::optional<std::chrono::sys_days> cmsPattuita;               // the CMS
    std::optional<std::chrono::sys_days> commissioniPattuite;       // other commissions and fees (CIV, CDF, ...)
};

struct CondizioniConto {
    // In date order, no two on the same day.
    std::vector<CondizioniPeriodo> periodi;
    // The client's authorisation to debit the yearly interest to the account
    // (from 01/10/2016 interest becomes capital only from then); empty = never given.
    std::optional<std::chrono::sys_days> autorizzazioneAddebito;
};

// The period in force on a day: the last one starting on or before it;
// nullptr before the first. Binary search; the periods must be in order.
const CondizioniPeriodo* CondizioniDel(const CondizioniConto& condizioni, std::chrono::sys_days giorno);

// A fault of the conditions, in Italian, naming the period by its start date.
struct ErroreCondizioni {
    std::size_t periodo = 0;  // index in periodi
    std::string testo;
};

// Checks the conditions as the user typed them: at least one period, periods
// in strictly increasing date order (two on one day would overlap), rates
// from 0 to 100 %, amounts not negative, no date of a written agreement
// before the start of its period. Returns every fault, empty when sound.
// Never throws (only std::bad_alloc).
std::vector<ErroreCondizioni> ControllaCondizioni(const CondizioniConto& condizioni);
