#pragma once
// A loan repaid in equal periodic instalments.
#include <cstdint>
#include <optional>
#include <string>

class Mutuo {
public:
    // Largest number of instalments the schedule can hold.
    static constexpr int MassimoRate = 400;

    double Importo() const { return importo_; }
    void setImporto(double v) { importo_ = v; }
    double Oneri() const { return oneri_; }
    void setOneri(double v) { oneri_ = v; }
    // Stored as 16-bit integers, read and written as doubles.
    double NRate() const { return nRate_; }
    void setNRate(double v);
    double RateAnnuali() const { return rateAnnuali_; }
    void setRateAnnuali(double v);
    double Rata() const { return rata_; }
    void setRata(double v) { rata_ = v; }

    // Finds the periodic rate on the grid 0, 0.0001, ... 1 and the annual
    // rate compounded from it. Throws std::out_of_range when NRate is above
    // MassimoRate (nothing changes then) and std::range_error when a result
    // would not be finite.
    void Aggiorna();

    double TEGannuale() const { return tegAnnuale_; }
    double TEGperiodo() const { return tegPeriodo_; }

    // The exact periodic rate of (Importo - Oneri) = Rata * sum_{k=1..NRate}
    // (1 + r)^-k and the annual rate (1 + r)^RateAnnuali - 1, beside the grid
    // rates. Both are empty when the equation has no root, when the
    // instalments do not repay the net amount (the grid's marker case) or
    // when the annual rate is too large to show (see TassoComposto); they
    // are given or withheld together. Set by Aggiorna, unchanged when it
    // throws.
    std::optional<double> TEGperiodoEsatto() const { return tegPeriodoEsatto_; }
    std::optional<double> TEGannualeEsatto() const { return tegAnnualeEsatto_; }

    const std::string& Descrizione() const { return descrizione_; }
    void setDescrizione(std::string v) { descrizione_ = std::move(v); }

private:
    double importo_ = 0, oneri_ = 0, rata_ = 0;
    std::int16_t nRate_ = 0, rateAnnuali_ = 0;
    double tegAnnuale_ = 0, tegPeriodo_ = 0;
    std::optional<double> tegPeriodoEsatto_, tegAnnualeEsatto_;
    std::string descrizione_;
};
