#pragma once
// The balances beside the movements: each movement's running balance by
// value date, and each statement's declared balances checked against the
// movements booked in its period (opening + movements = closing).
#include "Movimenti.h"

#include <cstddef>
#include <optional>
#include <vector>

// The balance by value date after each movement, in the order of
// `movimenti`: `partenza` plus every movement valued before it, or on its
// value date and booked before it (or on the same day and earlier in the
// list), plus its own amount. Throws std::overflow_error (Italian text) when a
// balance goes beyond 64-bit cents.
std::vector<Centesimi> SaldiPerValuta(const std::vector<Movimento>& movimenti, Centesimi partenza);

// One statement checked against the movements of the calculation.
struct ControlloSaldi {
    std::size_t estratto = 0;   // index in the statements
    std::size_t movimenti = 0;  // how many movements were booked in its period
    Centesimi somma = 0;        // their sum
    Centesimi calcolato = 0;    // saldoIniziale + somma
    Centesimi differenza = 0;   // saldoFinale - calcolato; 0 when it agrees
    // True when its opening balance is read as of the start of its first day
    // (the movements booked on dataIniziale belong to it), false when as of
    // the end of that day (the day the statement before closed).
    bool conPrimoGiorno = false;
    // The movement (index in the list) after which its closing balance
    // falls: its last by booking date, then by list order; none when it has
    // no movement.
    std::optional<std::size_t> ultimo;

    bool Concorda() const { return differenza == 0; }
};

// Each statement in the order of `saldi`. Its movements are those booked
// after its opening date and up to its closing date, the way statements that
// open on the day the one before closed are made; when those do not agree and
// some movement is booked on the opening date itself, the movements from that
// day are tried too, the way statements that open on their first day are
// made, and the reading that agrees is kept (the first when neither does).
// Throws std::overflow_error as SaldiPerValuta does.
std::vector<ControlloSaldi> ControllaSaldiDichiarati(const std::vector<Movimento>& movimenti,
                                                     const std::vector<SaldiEstratto>& saldi);
