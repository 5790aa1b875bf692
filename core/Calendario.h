#pragma once
// Whole days as the account's rules count them: the Italian date text,
// calendar quarters and the length of a year. No state, never fails.
#include "Testo.h"

#include <chrono>
#include <string>

namespace calendario {

using std::chrono::sys_days;

// 05/03/2016.
inline std::string Testo(sys_days giorno) { return TestoData(giorno); }

inline sys_days Giorno(int anno, unsigned mese, unsigned giorno)
{
    return sys_days{std::chrono::year{anno} / std::chrono::month{mese} / std::chrono::day{giorno}};
}

inline int Anno(sys_days giorno) { return static_cast<int>(std::chrono::year_month_day{giorno}.year()); }

// 1 to 4.
inline int Trimestre(sys_days giorno)
{
    return static_cast<int>((static_cast<unsigned>(std::chrono::year_month_day{giorno}.month()) - 1) / 3 + 1);
}

inline sys_days InizioTrimestre(int anno, int trimestre)
{
    return Giorno(anno, static_cast<unsigned>(trimestre * 3 - 2), 1);
}

inline sys_days FineTrimestre(int anno, int trimestre)
{
    const std::chrono::year_month_day_last d{std::chrono::year{anno},
                                             std::chrono::month_day_last{std::chrono::month{
                                                 static_cast<unsigned>(trimestre * 3)}}};
    return sys_days{d};
}

// 365 or 366 (the Gregorian rule).
inline int GiorniAnno(int anno) { return std::chrono::year{anno}.is_leap() ? 366 : 365; }

// The same day n years later; 29 February goes to 28 February when that
// year has none.
inline sys_days DopoAnni(sys_days giorno, int anni)
{
    std::chrono::year_month_day d{giorno};
    d = d + std::chrono::years{anni};
    if (!d.ok())
        d = d.year() / d.month() / std::chrono::last;
    return sys_days{d};
}

} // namespace calendario
