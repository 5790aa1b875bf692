#pragma once
// Where the figures of the reference year's quarters came from: typed by the
// user, or drawn from the movements' scale or the account's conditions, and
// how far the statements covered each quarter.
#include <array>
#include <cstddef>
#include <cstdint>

// How much of a quarter the statements cover, by booking date.
enum class Copertura : std::uint8_t {
    Nessuna,        // no day of it
    Parziale,       // some days of it, not all
    SenzaChiusura,  // every day, but not the GiorniRegistrazioneChiusura days after it, when the bank books the postings of its closing
    Completa        // every day and the days after it
};

// Where a quarter's figure comes from, for the window to say so.
enum class FonteFigura : std::uint8_t {
    Nessuna,     // nothing to draw it from (0), or typed by the user
    Movimenti,   // the scale of the movements and statements
    Condizioni   // the account's conditions
};

// The eight input figures of a quarter, in the order of the input window.
enum class CampoTrimestre : std::uint8_t {
    Numeri, Interessi, Commissioni, Spese, GiorniValuta, CMS, Accordato, MassimoScoperto
};
inline constexpr std::size_t CampiTrimestre = 8;

// Where the figures of the reference year's quarters came from, as "Calcola
// trimestri dai movimenti" left them: the year the scale was read for and,
// for each quarter, how far the statements covered it, whether its figures
// were filled and each figure's source (FonteFigura::Nessuna: typed by the
// user, or never filled). Typing over a figure makes it the user's again.
struct OrigineTrimestre {
    Copertura copertura = Copertura::Nessuna;
    bool riempito = false;  // false: the quarter was left as it was (partly covered, or not at all)
    std::array<FonteFigura, CampiTrimestre> fonti{};

    FonteFigura Fonte(CampoTrimestre c) const { return fonti[static_cast<std::size_t>(c)]; }
    bool operator==(const OrigineTrimestre&) const = default;
};

struct OriginiTrimestri {
    int anno = 0;  // 0: the quarters were never filled from the movements
    std::array<OrigineTrimestre, 4> trimestri{};

    bool operator==(const OriginiTrimestri&) const = default;
};

