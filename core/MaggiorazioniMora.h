#pragma once
// The average default-interest surcharges the threshold decrees report, by
// period and category, read from their semicolon-separated text: what is
// added to the TEGM before the legal threshold formula to check a default
// rate.
#include "Soglie.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The categories the decrees give a surcharge for.
enum class CategoriaMora {
    Tutte,                            // one surcharge for every operation (up to 2017)
    MutuiIpotecariUltraquinquennali,  // mortgages of more than five years
    Leasing,
    AltriPrestiti                     // every other operation
};

// "TUTTE LE CATEGORIE", "MUTUI IPOTECARI ULTRAQUINQUENNALI", "LEASING",
// "ALTRI PRESTITI": the names the text uses. Never fails.
std::string NomeCategoriaMora(CategoriaMora categoria);

// The surcharge category of an operation from its threshold category (as
// the threshold series names it) and its length: a "MUTUI IPOTECARI"
// category over five years, a "LEASING" category, or the others. Never fails.
CategoriaMora CategoriaMoraPer(std::string_view categoriaSoglie, bool oltreCinqueAnni);

struct RigaMaggiorazione {
    std::chrono::sys_days inizio{}, fine{};  // both included
    CategoriaMora categoria = CategoriaMora::Tutte;
    double punti = 0;   // percentage points, as the text writes them (2,1 -> 2.1)
    std::string fonte;  // the decree that reports it
    int riga = 0;       // line of the text
};

class SerieMaggiorazioniMora {
public:
    static constexpr std::string_view Intestazione = "INIZIO;FINE;CATEGORIA;MAGGIORAZIONE;FONTE";

    SerieMaggiorazioniMora() = default;

    // Reads and validates the whole text (UTF-8, optional BOM, CRLF or LF,
    // dd/mm/yyyy dates, decimal comma, blank lines ignored): five fields a
    // line, dates, FINE not before INIZIO, a known category, a surcharge
    // above 0 and below 100 points, a source; no day covered twice for a
    // category (a TUTTE row covers them all). Returns the series, or
    // std::nullopt with every fault found in `errori` (line 1 = the header)
    // when there is one. Never throws for any text (only std::bad_alloc).
    static std::optional<SerieMaggiorazioniMora> Leggi(std::string_view testo, std::vector<ErroreSoglie>& errori);

    // Rows in text order.
    const std::vector<RigaMaggiorazione>& Righe() const { return righe_; }
    // The row covering a day for a category (a TUTTE row covers every
    // category); nullptr when none does.
    const RigaMaggiorazione* Maggiorazione(std::chrono::sys_days giorno, CategoriaMora categoria) const;
    // First and last day covered; std::nullopt for an empty series.
    std::optional<std::chrono::sys_days> PrimaData() const;
    std::optional<std::chrono::sys_days> UltimaData() const;

private:
    std::vector<RigaMaggiorazione> righe_;
};
