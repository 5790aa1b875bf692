#pragma once
// Dated cash flows and their exact annual rate by the TAEG convention of the
// consumer-credit rules: time in years, whole months as twelfths of a year,
// the days left over as a fraction of the year they fall in.
#include <chrono>
#include <optional>
#include <vector>

// One payment on one day, seen from the borrower: positive when received
// (the amount lent), negative when paid (instalments, costs).
struct FlussoDatato {
    std::chrono::sys_days data;
    double importo = 0;
};

// The distance between two days as the rule writes it: whole months counted
// back from the later day, then the days left over up to the earlier one.
// The days are a fraction of the year that ends on the last of them: 365, or
// 366 when that year holds a 29 February.
struct IntervalloTaeg {
    int mesi = 0;
    int giorni = 0;
    int giorniAnno = 365;
    double Anni() const { return mesi / 12.0 + static_cast<double>(giorni) / giorniAnno; }
};

// The day `mesi` months after (before, when negative) `giorno`, on the same
// day of the month or the month's last day when it has fewer days; with
// `fineMese`, a day that is the last of its month goes to the last day of the
// target month (31/01 + 1 = 28/02 + 1 = 31/03). Never fails within the
// years -32767..32767.
std::chrono::sys_days SpostaMesi(std::chrono::sys_days giorno, int mesi, bool fineMese);

// The interval from `inizio` to `data`. Months are counted back from `data`
// with SpostaMesi, month ends meeting month ends when `inizio` is the last
// day of its month. Throws std::invalid_argument when `data` precedes `inizio`.
IntervalloTaeg IntervalloTaegTra(std::chrono::sys_days inizio, std::chrono::sys_days data);

// The annual rate X of sum_i importo_i (1 + X)^-t_i = 0, t_i the interval
// (IntervalloTaegTra) from the earliest day of the flows to day i, in any
// order. Flows of the same day are added first, sums of 0 left out; the
// rate is given only when the sums, in order of day, change sign exactly
// once (money lent first, then paid back: one root in (-1, infinity) by the
// rule of signs); std::nullopt otherwise, and for flows that are not finite.
//
// Solved in y = ln(1 + X): the bracket starts at y = 0 and doubles its far
// end until the sign changes (none beyond |y| = 700: no result), then
// Newton steps kept inside the bracket, halving it when a step would leave
// it, until a step or the bracket is within 1e-15 of y (1e-40 near 0), at
// most 200 steps. Never throws except std::bad_alloc; allocates one vector.
std::optional<double> TassoAnnuoFlussi(const std::vector<FlussoDatato>& flussi);
