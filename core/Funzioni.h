#pragma once
// Number conventions of the program: Italian typed numbers in, amounts and
// rates out. No state, no side effects.
#include <cstdint>
#include <optional>
#include <string>

// The rate value the calculations store when no rate can be determined; the
// windows compare with it exactly and show "dati incoerenti" instead.
inline constexpr double DatiIncoerenti = -12345.67;

// Reads a typed number: "." groups thousands, "," separates decimals, every
// other character is dropped; a leading "-" of the untrimmed text negates.
// Never fails: more digits than a double can hold read as infinity.
double PulisciNumero(const std::string& testo);

// The most integer digits an amount typed by the user may have: beyond 15 a
// double no longer holds every unit exactly.
inline constexpr int CifreInteriMassime = 15;

// Reads a typed Italian amount strictly: spaces around it, digits, "." only
// between digits (grouping thousands), at most one "," before the decimals,
// an optional leading "-"; an empty text is 0. For such a text the result is
// PulisciNumero's. Throws std::invalid_argument for any other text (letters,
// exponents, several commas) and std::out_of_range for more than
// CifreInteriMassime integer digits; what() says why, in Italian.
double LeggiNumeroItaliano(const std::string& testo);

// 1234567.891 -> "1.234.567,89". Fixed Italian separators, whatever the
// locale; exact halves go away from zero. Throws std::overflow_error for an
// infinite or NaN value.
std::string FormatoImporto(double valore);

// 0.0123456 -> "1,235%". Throws std::overflow_error when the rate or the
// rate times 100 is not finite.
std::string FormatoTasso(double tasso);

// A threshold with all its decimals, three or four: 0.093875 -> "9,3875%",
// 0.14385 -> "14,385%". Throws as FormatoTasso.
std::string FormatoSoglia(double soglia);

// An amount in euro as whole cents, rounded to the nearest cent, for sums
// that must be exact ("is more received than paid?"). Empty for an amount
// that is not finite or above MassimoCentesimi cents in absolute value: up to
// 400 of those still add up within 64 bits.
inline constexpr std::int64_t MassimoCentesimi = 10'000'000'000'000'000;  // 1e14 euro
std::optional<std::int64_t> CentesimiInteri(double euro);

// An amount rounded to the cent, halves away from zero, as a bank writes it.
double ArrotondaAlCentesimo(double euro);

// Stores a double in a signed 16-bit member: nearest integer, exact halves to
// the even neighbour; outside -32768..32767 (or NaN) throws std::overflow_error.
std::int16_t Intero16(double valore);
