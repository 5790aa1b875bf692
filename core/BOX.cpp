#include "BOX.h"

#include "Funzioni.h"

#include <cmath>
#include <stdexcept>
#include <string>

void BOX::setTrimestre(double v)
{
    trimestre_ = Intero16(v);
}

namespace {

void ControllaFinito(double valore, const char* nome)
{
    if (!std::isfinite(valore))
        throw std::range_error(std::string("Il risultato ") + nome + " del trimestre non è un numero finito");
}

} // namespace

void BOX::Aggiorna()
{
    if (trimestre_ < 1 || trimestre_ > 4)
        throw std::out_of_range("Numero del trimestre fuori dall'intervallo 1..4: " +
                                std::to_string(trimestre_));

    const int anno = annoRiferimento_;
    const double D = (anno % 4 == 0) ? 366 : 365;
    double G = 0, R = 0;
    switch (trimestre_) {
    case 1: G = (D == 366) ? 91 : 90; R = D; break;
    case 2: G = 91; R = 275; break;
    case 3: G = 92; R = 184; break;
    default: G = 92; R = 92; break;
    }

    giorniAnno_ = static_cast<int>(D);
    giorniTrimestre_ = static_cast<int>(G);

    const double E = G - giorniValuta_;
    const double intD = E * interessi_ / G;
    const double numD = E * numeri_ / G;
    const double A = numD / G;
    const auto incidenza = [&](double x) { return A == 0 ? 0.0 : x / A * D / G; };

    // Every result is computed first and assigned only when all of them are
    // finite, so a failing recomputation leaves the previous results whole
    // instead of a mixture of old and new values.
    const double tabInteressi = intD;
    const double tabInteressiP = incidenza(tabInteressi);
    const double tabCommissioni = E * commissioni_ / G;
    const double tabCommissioniP = incidenza(tabCommissioni);
    const double tabSpese = spese_;
    const double tabSpeseP = incidenza(tabSpese);
    const double tabEffValInt = interessi_ - tabInteressi;
    const double tabEffValIntP = incidenza(tabEffValInt);
    const double tabEffValComm = commissioni_ - tabCommissioni;
    const double tabEffValCommP = incidenza(tabEffValComm);
    const double tabOneri = tabInteressi + tabCommissioni + tabSpese + tabEffValInt + tabEffValComm;
    const double tabOneriP = tabInteressiP + tabCommissioniP + tabSpeseP + tabEffValIntP + tabEffValCommP;
    const double tabAnatocismoP = std::pow(1 + G * tabOneriP / R, R / G) - 1 - tabOneriP;
    const double tabAnatocismo = A * tabAnatocismoP;
    const double tabCosto = tabOneri + tabAnatocismo;
    const double tabCostoP = tabOneriP + tabAnatocismoP;
    const double debitoPerData = A;
    const double debitoPerValuta = numeri_ / G;
    const double tegInteressi = interessi_;
    const double tegNumeri = numD;
    const double tegOneri = commissioni_ + spese_ - cms_;
    double teg = (numD == 0) ? 0 : D * tegInteressi / numD;
    if (accordato_ != 0)
        teg = tegOneri / accordato_ + teg;

    ControllaFinito(tabInteressi, "TabInteressi");
    ControllaFinito(tabInteressiP, "TabInteressiP");
    ControllaFinito(tabCommissioni, "TabCommissioni");
    ControllaFinito(tabCommissioniP, "TabCommissioniP");
    ControllaFinito(tabSpese, "TabSpese");
    ControllaFinito(tabSpeseP, "TabSpeseP");
    ControllaFinito(tabEffValInt, "TabEffettoValutaInteressi");
    ControllaFinito(tabEffValIntP, "TabEffettoValutaInteressiP");
    ControllaFinito(tabEffValComm, "TabEffettoValutaCommissioni");
    ControllaFinito(tabEffValCommP, "TabEffettoValutaCommissioniP");
    ControllaFinito(tabOneri, "TabOneriEffettivi");
    ControllaFinito(tabOneriP, "TabOneriEffettiviP");
    ControllaFinito(tabAnatocismoP, "TabAnatocismoP");
    ControllaFinito(tabAnatocismo, "TabAnatocismo");
    ControllaFinito(tabCosto, "TabCostoTotale");
    ControllaFinito(tabCostoP, "TabCostoTotaleP");
    ControllaFinito(debitoPerData, "DebitoMedioPerData");
    ControllaFinito(debitoPerValuta, "DebitoMedioPerValuta");
    ControllaFinito(tegInteressi, "TEGinteressi");
    ControllaFinito(tegNumeri, "TEGnumeri");
    ControllaFinito(tegOneri, "TEGoneri");
    ControllaFinito(teg, "TEG");

    tabInteressi_ = tabInteressi;
    tabInteressiP_ = tabInteressiP;
    tabCommissioni_ = tabCommissioni;
    tabCommissioniP_ = tabCommissioniP;
    tabSpese_ = tabSpese;
    tabSpeseP_ = tabSpeseP;
    tabEffettoValutaInteressi_ = tabEffValInt;
    tabEffettoValutaInteressiP_ = tabEffValIntP;
    tabEffettoValutaCommissioni_ = tabEffValComm;
    tabEffettoValutaCommissioniP_ = tabEffValCommP;
    tabOneriEffettivi_ = tabOneri;
    tabOneriEffettiviP_ = tabOneriP;
    tabAnatocismoP_ = tabAnatocismoP;
    tabAnatocismo_ = tabAnatocismo;
    tabCostoTotale_ = tabCosto;
    tabCostoTotaleP_ = tabCostoP;
    debitoMedioPerData_ = debitoPerData;
    debitoMedioPerValuta_ = debitoPerValuta;
    tegInteressi_ = tegInteressi;
    tegNumeri_ = tegNumeri;
    tegOneri_ = tegOneri;
    teg_ = teg;
}
