#pragma once
// Small text helpers of the program's data readers (the threshold series,
// the legal rate, the default surcharges, the class rules): trimming, case,
// splitting and the Italian date dd/mm/yyyy. No state, never fail.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text without blanks, tabs and line ends at either end.
std::string_view Rifila(std::string_view s);

// ASCII letters only change case; every other byte stays as it is.
std::string Maiuscolo(std::string_view s);
std::string Minuscolo(std::string_view s);

// Every part between separators, untrimmed: n parts for n - 1 separators.
std::vector<std::string_view> Dividi(std::string_view s, char separatore);

// dd/mm/yyyy: day and month of one or two digits, a year of four; empty for
// any other text or a day the calendar does not have.
std::optional<std::chrono::sys_days> LeggiData(std::string_view s);

// 05/03/2016.
std::string TestoData(std::chrono::sys_days giorno);
