#pragma once
// Up to ten dated cash flows (rows 1..10; row 0 exists and is unused).
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class OPE {
public:
    static constexpr int Righe = 10;

    // Every indexed access throws std::out_of_range for a row outside 0..10.
    std::int32_t Mese(int r) const;
    void setMese(int r, std::int32_t v);
    std::int32_t Anno(int r) const;
    void setAnno(int r, std::int32_t v);
    std::int16_t Segno(int r) const;
    void setSegno(int r, double v);  // 16-bit storage, see Intero16
    double Importo(int r) const;
    void setImporto(int r, double v);

    // Annual rate from the monthly grid 0, 0.00005, ... 1, months counted from
    // the earliest row with an amount other than 0; rows of amount 0 take no
    // part in the search. DatiIncoerenti when more is received than paid or
    // the rate exceeds 0.999. Throws std::overflow_error when a date key
    // leaves 32 bits and std::range_error when the result would not be
    // finite; nothing changes then.
    void Aggiorna();

    double TEG() const { return teg_; }

    // The exact monthly rate of the same present-value equation and the
    // annual rate (1 + r)^12 - 1. Both are empty when more is received than
    // paid, when the equation has no root in (-1, infinity) or may have more
    // than one (see TassoEsattoFlussi), or when the annual rate is too large
    // to show; they are given or withheld together. Set by Aggiorna.
    std::optional<double> TEGmensileEsatto() const { return tegMensileEsatto_; }
    std::optional<double> TEGesatto() const { return tegEsatto_; }

    const std::string& Descrizione() const { return descrizione_; }
    void setDescrizione(std::string v) { descrizione_ = std::move(v); }

private:
    static void controllaRiga(int r);
    std::array<std::int32_t, Righe + 1> mese_{}, anno_{};
    std::array<std::int16_t, Righe + 1> segno_{};
    std::array<double, Righe + 1> importo_{};
    double teg_ = 0;
    std::optional<double> tegMensileEsatto_, tegEsatto_;
    std::string descrizione_;
};
