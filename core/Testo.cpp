#include "Testo.h"

#include <cstdio>

std::string_view Rifila(std::string_view s)
{
    const auto spazio = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && spazio(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && spazio(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string Maiuscolo(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string Minuscolo(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::vector<std::string_view> Dividi(std::string_view s, char separatore)
{
    std::vector<std::string_view> parti;
    for (std::size_t inizio = 0;;) {
        const std::size_t fine = s.find(separatore, inizio);
        if (fine == std::string_view::npos) {
            parti.push_back(s.substr(inizio));
            return parti;
        }
        parti.push_back(s.substr(inizio, fine - inizio));
        inizio = fine + 1;
    }
}

std::optional<std::chrono::sys_days> LeggiData(std::string_view s)
{
    const std::vector<std::string_view> parti = Dividi(s, '/');
    if (parti.size() != 3)
        return std::nullopt;
    int valori[3] = {0, 0, 0};
    const std::size_t cifre[3][2] = {{1, 2}, {1, 2}, {4, 4}};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string_view p = parti[i];
        if (p.size() < cifre[i][0] || p.size() > cifre[i][1])
            return std::nullopt;
        for (char c : p) {
            if (c < '0' || c > '9')
                return std::nullopt;
            valori[i] = valori[i] * 10 + (c - '0');
        }
    }
    const std::chrono::year_month_day g{std::chrono::year{valori[2]},
                                        std::chrono::month{static_cast<unsigned>(valori[1])},
                                        std::chrono::day{static_cast<unsigned>(valori[0])}};
    if (!g.ok())
        return std::nullopt;
    return std::chrono::sys_days{g};
}

std::string TestoData(std::chrono::sys_days giorno)
{
    const std::chrono::year_month_day d{giorno};
    char s[16];
    std::snprintf(s, sizeof s, "%02u/%02u/%04d", static_cast<unsigned>(d.day()), static_cast<unsigned>(d.month()),
                  static_cast<int>(d.year()));
    return s;
}
