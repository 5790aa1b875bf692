#pragma once
// A short-term financing: one disbursement, one repayment.
#include <chrono>
#include <string>

class BREVE {
public:
    using Data = std::chrono::sys_days;

    Data Data0() const { return data0_; }
    void setData0(Data v) { data0_ = v; }
    Data Data1() const { return data1_; }
    void setData1(Data v) { data1_ = v; }
    double Finanziato() const { return finanziato_; }
    void setFinanziato(double v) { finanziato_ = v; }
    double Oneri() const { return oneri_; }
    void setOneri(double v) { oneri_ = v; }
    double Restituito() const { return restituito_; }
    void setRestituito(double v) { restituito_ = v; }
    const std::string& Descrizione() const { return descrizione_; }
    void setDescrizione(std::string v) { descrizione_ = std::move(v); }

    // Period rate and its simple annualisation on 365 days; DatiIncoerenti for
    // a net amount not above 0, dates not in order or a negative rate.
    // Throws std::range_error when a result would not be finite.
    void Aggiorna();

    double TEG() const { return teg_; }
    double TEGbreve() const { return tegBreve_; }

private:
    Data data0_{}, data1_{};
    double finanziato_ = 0, oneri_ = 0, restituito_ = 0;
    std::string descrizione_;
    double teg_ = 0, tegBreve_ = 0;
};
