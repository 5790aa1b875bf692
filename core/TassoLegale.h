#pragma once
// The legal interest rate (art. 1284 c.c.) by period, read from its
// semicolon-separated text: the rate a recalculation of the account applies
// where the contract fixed none in writing.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One period of the series, both ends included.
struct PeriodoTassoLegale {
    std::chrono::sys_days dal{}, al{};
    double tasso = 0;  // a year, as a fraction (0.025 = 2,50 %)
    int riga = 0;      // line of the text it was read from
};

// A fault found while reading the text: the line (1 = the header; 0 for the
// text as a whole) and what is wrong there, in Italian.
struct ErroreTassoLegale {
    int riga = 0;
    std::string testo;
};

class SerieTassoLegale {
public:
    // The header every text must open with.
    static constexpr std::string_view Intestazione = "DAL;AL;TASSO";

    // An empty series: covers no date.
    SerieTassoLegale() = default;

    // Reads and validates the whole text (UTF-8, optional BOM, CRLF or LF,
    // dd/mm/yyyy dates, rate in percent with a decimal comma, from 0 to
    // below 100; blank lines are ignored). Checks the number of fields, the
    // dates and rates of each line, AL not before DAL, and that the periods
    // follow each other day after day, with neither a gap nor an overlap
    // (when no decree is published the rate stays, so a gap is a fault of
    // the text). Returns the series, or std::nullopt with every fault found
    // appended to `errori` in line order. Never throws for any text (only
    // std::bad_alloc).
    static std::optional<SerieTassoLegale> Leggi(std::string_view testo, std::vector<ErroreTassoLegale>& errori);

    // Periods in date order, contiguous.
    const std::vector<PeriodoTassoLegale>& Periodi() const { return periodi_; }
    bool Vuota() const { return periodi_.empty(); }

    // The period covering a day; nullptr before the first or after the
    // last. Binary search.
    const PeriodoTassoLegale* PeriodoDi(std::chrono::sys_days giorno) const;
    // The rate (a fraction) in force on a day; std::nullopt when the series
    // does not cover it.
    std::optional<double> TassoDel(std::chrono::sys_days giorno) const;

private:
    std::vector<PeriodoTassoLegale> periodi_;
};
