#pragma once
// One quarter of a current account in the reference year.
#include <cstdint>
#include <string>

class BOX {
public:
    double Numeri() const { return numeri_; }
    void setNumeri(double v) { numeri_ = v; }
    double Interessi() const { return interessi_; }
    void setInteressi(double v) { interessi_ = v; }
    double Commissioni() const { return commissioni_; }
    void setCommissioni(double v) { commissioni_ = v; }
    double Spese() const { return spese_; }
    void setSpese(double v) { spese_ = v; }
    double GiorniValuta() const { return giorniValuta_; }
    void setGiorniValuta(double v) { giorniValuta_ = v; }
    std::int16_t Trimestre() const { return trimestre_; }
    void setTrimestre(double v);
    // The reference year whose days the quarter counts; the document gives
    // its quarters its own.
    std::int16_t AnnoRiferimento() const { return annoRiferimento_; }
    void setAnnoRiferimento(std::int16_t v) { annoRiferimento_ = v; }

    // Recomputes every result; throws std::out_of_range for a quarter number
    // outside 1..4 and std::range_error when a result would not be finite.
    void Aggiorna();

    double TabInteressi() const { return tabInteressi_; }
    double TabInteressiP() const { return tabInteressiP_; }
    double TabCommissioni() const { return tabCommissioni_; }
    double TabCommissioniP() const { return tabCommissioniP_; }
    double TabSpese() const { return tabSpese_; }
    double TabSpeseP() const { return tabSpeseP_; }
    double TabAnatocismo() const { return tabAnatocismo_; }
    double TabAnatocismoP() const { return tabAnatocismoP_; }
    double TabEffettoValutaInteressi() const { return tabEffettoValutaInteressi_; }
    double TabEffettoValutaInteressiP() const { return tabEffettoValutaInteressiP_; }
    double TabEffettoValutaCommissioni() const { return tabEffettoValutaCommissioni_; }
    double TabEffettoValutaCommissioniP() const { return tabEffettoValutaCommissioniP_; }
    double TabOneriEffettivi() const { return tabOneriEffettivi_; }
    double TabOneriEffettiviP() const { return tabOneriEffettiviP_; }
    double TabCostoTotale() const { return tabCostoTotale_; }
    double TabCostoTotaleP() const { return tabCostoTotaleP_; }
    double DebitoMedioPerValuta() const { return debitoMedioPerValuta_; }
    double DebitoMedioPerData() const { return debitoMedioPerData_; }

    double Accordato() const { return accordato_; }
    void setAccordato(double v) { accordato_ = v; }
    double CMS() const { return cms_; }
    void setCMS(double v) { cms_ = v; }
    // Maximum debit balance reached in the quarter, euro (0 = not given).
    double MassimoScoperto() const { return massimoScoperto_; }
    void setMassimoScoperto(double v) { massimoScoperto_ = v; }

    double TEGnumeri() const { return tegNumeri_; }
    double TEGoneri() const { return tegOneri_; }
    double TEGinteressi() const { return tegInteressi_; }
    double TEG() const { return teg_; }
    // The days of the quarter and of the reference year the last Aggiorna
    // counted (every fourth year has 366 days).
    int GiorniTrimestre() const { return giorniTrimestre_; }
    int GiorniAnno() const { return giorniAnno_; }

    const std::string& Descrizione() const { return descrizione_; }
    void setDescrizione(std::string v) { descrizione_ = std::move(v); }

private:
    double numeri_ = 0, interessi_ = 0, commissioni_ = 0, spese_ = 0, giorniValuta_ = 0;
    std::int16_t trimestre_ = 0;
    std::int16_t annoRiferimento_ = 0;
    double tabInteressi_ = 0, tabInteressiP_ = 0, tabCommissioni_ = 0, tabCommissioniP_ = 0;
    double tabSpese_ = 0, tabSpeseP_ = 0, tabAnatocismo_ = 0, tabAnatocismoP_ = 0;
    double tabEffettoValutaInteressi_ = 0, tabEffettoValutaInteressiP_ = 0;
    double tabEffettoValutaCommissioni_ = 0, tabEffettoValutaCommissioniP_ = 0;
    double tabOneriEffettivi_ = 0, tabOneriEffettiviP_ = 0;
    double tabCostoTotale_ = 0, tabCostoTotaleP_ = 0;
    double debitoMedioPerValuta_ = 0, debitoMedioPerData_ = 0;
    double accordato_ = 0, cms_ = 0, massimoScoperto_ = 0;
    double tegNumeri_ = 0, tegOneri_ = 0, tegInteressi_ = 0, teg_ = 0;
    int giorniTrimestre_ = 0, giorniAnno_ = 0;
    std::string descrizione_;
};
