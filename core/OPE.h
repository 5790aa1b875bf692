#pragma once
// Up to ten dated cash flows (rows 1..10; row 0 exists and is unused).
#include <array>
#include <cstdint>
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
    // the earliest row with an amount other than 0; DatiIncoerenti when
    // more is received than paid or the rate exceeds 0.999. Throws
    // std::overflow_error when a date key leaves 32 bits and std::range_error
    // when the result would not be finite.
    void Aggiorna();

    double TEG() const { return teg_; }

    const std::string& Descrizione() const { return descrizione_; }
    void setDescrizione(std::string v) { descrizione_ = std::move(v); }

private:
    static void controllaRiga(int r);
    std::array<std::int32_t, Righe + 1> mese_{}, anno_{};
    std::array<std::int16_t, Righe + 1> segno_{};
    std::array<double, Righe + 1> importo_{};
    double teg_ = 0;
    std::string descrizione_;
};
