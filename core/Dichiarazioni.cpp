#include "Dichiarazioni.h"

#include "Funzioni.h"

#include <ctime>
#include <stdexcept>
#include <string>

namespace {

std::chrono::sys_days DataLocaleOdierna()
{
    const std::time_t adesso = std::time(nullptr);
    std::tm locale{};
    if (localtime_r(&adesso, &locale) == nullptr)
        return std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    using namespace std::chrono;
    return sys_days{year{locale.tm_year + 1900} / month{static_cast<unsigned>(locale.tm_mon + 1)} /
                    day{static_cast<unsigned>(locale.tm_mday)}};
}

} // namespace

std::function<std::chrono::sys_days()> OrologioConteggio = DataLocaleOdierna;

Documento::Documento()
{
    for (int q = 1; q <= 4; ++q)
        trimestri_[q - 1].setTrimestre(q);
}

void Documento::setAnnoRiferimento(double v)
{
    annoRiferimento_ = Intero16(v);
    for (BOX& t : trimestri_)
        t.setAnnoRiferimento(annoRiferimento_);
}

BOX& Documento::Trimestri(int q)
{
    if (q < 1 || q > 4)
        throw std::out_of_range("Trimestre fuori dall'intervallo 1..4: " + std::to_string(q));
    return trimestri_[q - 1];
}

const BOX& Documento::Trimestri(int q) const
{
    if (q < 1 || q > 4)
        throw std::out_of_range("Trimestre fuori dall'intervallo 1..4: " + std::to_string(q));
    return trimestri_[q - 1];
}

std::chrono::sys_days Documento::Oggi() const
{
    return OrologioConteggio ? OrologioConteggio() : DataLocaleOdierna();
}

void Documento::InizializzaConteggio()
{
    nomeConteggio_.clear();

    const std::chrono::sys_days oggi = Oggi();
    const int anno = static_cast<int>(std::chrono::year_month_day{oggi}.year()) - 1;
    setAnnoRiferimento((anno >= 1980 && anno <= 2030) ? anno : 1980);

    for (int q = 1; q <= 4; ++q) {
        BOX& t = trimestri_[q - 1];
        if (q == 1)
            t.setDescrizione("Inserire descrizione");
        t.setTrimestre(q);
        t.setInteressi(0);
        t.setNumeri(0);
        t.setSpese(0);
        t.setCommissioni(0);
        t.setGiorniValuta(0);
        t.setMassimoScoperto(0);
    }

    mutuo_.setImporto(0);
    mutuo_.setOneri(0);
    mutuo_.setRata(0);
    mutuo_.setNRate(1);
    mutuo_.setRateAnnuali(12);
    mutuo_.setDescrizione("Inserire descrizione");

    using namespace std::chrono;
    for (int r = 1; r <= OPE::Righe; ++r) {
        operazioni_.setAnno(r, 2010);
        operazioni_.setMese(r, 1);
        operazioni_.setSegno(r, -1);
        operazioni_.setImporto(r, 0);
    }
    operazioni_.setDescrizione("Inserire descrizione");

    const sys_days primoGennaio2010{year{2010} / January / 1};
    breve_.setDescrizione("Inserire descrizione");
    breve_.setData0(primoGennaio2010);
    breve_.setData1(primoGennaio2010);
    breve_.setFinanziato(0);
    breve_.setOneri(0);
    breve_.setRestituito(0);

    usura_ = ParametriUsura{};
    conto_ = ContoMovimenti{};
    contratto_ = DatiContratto{};
}
