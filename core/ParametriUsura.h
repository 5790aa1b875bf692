#pragma once
// The user's choices for the usury check of a calculation: the category and
// amount class each operation is compared with, the dates that place the
// mortgage and the cash flows in a period, and the average commission on the
// maximum overdraft of each quarter.
#include <array>
#include <chrono>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>

class ParametriUsura {
public:
    using Data = std::optional<std::chrono::sys_days>;

    // Category names as the threshold series writes them; the validity note in
    // brackets may be left out ("MUTUI IPOTECARI A TASSO FISSO" finds
    // "MUTUI IPOTECARI A TASSO FISSO (dal 1° luglio 2004)"). An empty category
    // means "not chosen yet"; an empty class means "chosen from the amount".
    const std::string& CategoriaConto() const { return categoriaConto_; }
    void setCategoriaConto(std::string v) { categoriaConto_ = std::move(v); }
    const std::string& ClasseConto() const { return classeConto_; }
    void setClasseConto(std::string v) { classeConto_ = std::move(v); }
    const std::string& CategoriaMutuo() const { return categoriaMutuo_; }
    void setCategoriaMutuo(std::string v) { categoriaMutuo_ = std::move(v); }
    const std::string& ClasseMutuo() const { return classeMutuo_; }
    void setClasseMutuo(std::string v) { classeMutuo_ = std::move(v); }
    const std::string& CategoriaOperazioni() const { return categoriaOperazioni_; }
    void setCategoriaOperazioni(std::string v) { categoriaOperazioni_ = std::move(v); }
    const std::string& ClasseOperazioni() const { return classeOperazioni_; }
    void setClasseOperazioni(std::string v) { classeOperazioni_ = std::move(v); }
    const std::string& CategoriaBreve() const { return categoriaBreve_; }
    void setCategoriaBreve(std::string v) { categoriaBreve_ = std::move(v); }
    const std::string& ClasseBreve() const { return classeBreve_; }
    void setClasseBreve(std::string v) { classeBreve_ = std::move(v); }

    // Contract date of the mortgage; empty = not given.
    Data DataStipula() const { return dataStipula_; }
    void setDataStipula(Data v) { dataStipula_ = v; }
    // Contract date of the cash flows; empty = the first month with an amount.
    Data DataOperazioni() const { return dataOperazioni_; }
    void setDataOperazioni(Data v) { dataOperazioni_ = v; }

    // Average commission on the maximum overdraft (CMS media) of the account's
    // category for quarter q (1..4) of the reference year, as the quarterly
    // decree publishes it, as a fraction (0.0071 = 0,71 %); empty = not given.
    // The program ships no series of it: the user types it. A value not above
    // 0 (or not finite) means "not given". Any other q throws std::out_of_range.
    std::optional<double> CMSMedia(int q) const { return cmsMedia_.at(Indice(q)); }
    void setCMSMedia(int q, double v)
    {
        cmsMedia_.at(Indice(q)) = (std::isfinite(v) && v > 0) ? std::optional<double>(v) : std::nullopt;
    }

private:
    static std::size_t Indice(int q)
    {
        if (q < 1 || q > 4)
            throw std::out_of_range("Numero del trimestre fuori dall'intervallo 1..4: " + std::to_string(q));
        return static_cast<std::size_t>(q - 1);
    }

    std::string categoriaConto_ = "APERTURE DI CREDITO IN CONTO CORRENTE";
    std::string classeConto_;
    std::string categoriaMutuo_ = "MUTUI IPOTECARI A TASSO FISSO";
    std::string classeMutuo_;
    std::string categoriaOperazioni_, classeOperazioni_;
    std::string categoriaBreve_, classeBreve_;
    Data dataStipula_, dataOperazioni_;
    std::array<std::optional<double>, 4> cmsMedia_{};
};
