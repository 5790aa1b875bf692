#include "MaggiorazioniMora.h"

#include "PianoMutuo.h"
#include "Testo.h"

#include <algorithm>
#include <charconv>
#include <cmath>

using namespace std::chrono;

namespace {

constexpr CategoriaMora Categorie[] = {CategoriaMora::Tutte, CategoriaMora::MutuiIpotecariUltraquinquennali,
                                       CategoriaMora::Leasing, CategoriaMora::AltriPrestiti};

// Points with a decimal comma, above 0 and below 100: "2,1" -> 2.1.
std::optional<double> Punti(std::string_view s)
{
    std::string testo(s);
    std::replace(testo.begin(), testo.end(), ',', '.');
    if (testo.empty() || testo.find_first_not_of("0123456789.") != std::string::npos)
        return std::nullopt;
    double v = 0;
    const auto [fine, esito] = std::from_chars(testo.data(), testo.data() + testo.size(), v);
    if (esito != std::errc{} || fine != testo.data() + testo.size() || !(v > 0) || !(v < 100))
        return std::nullopt;
    return v;
}

std::optional<CategoriaMora> Categoria(std::string_view nome)
{
    for (CategoriaMora c : Categorie)
        if (NomeCategoriaMora(c) == nome)
            return c;
    return std::nullopt;
}

} // namespace

std::string NomeCategoriaMora(CategoriaMora categoria)
{
    switch (categoria) {
    case CategoriaMora::Tutte: return "TUTTE LE CATEGORIE";
    case CategoriaMora::MutuiIpotecariUltraquinquennali: return "MUTUI IPOTECARI ULTRAQUINQUENNALI";
    case CategoriaMora::Leasing: return "LEASING";
    case CategoriaMora::AltriPrestiti: return "ALTRI PRESTITI";
    }
    return {};
}

CategoriaMora CategoriaMoraPer(std::string_view categoriaSoglie, bool oltreCinqueAnni)
{
    std::string nome(categoriaSoglie);
    for (char& c : nome)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    if (nome.find("LEASING") != std::string::npos)
        return CategoriaMora::Leasing;
    if (nome.find("MUTUI IPOTECARI") != std::string::npos && oltreCinqueAnni)
        return CategoriaMora::MutuiIpotecariUltraquinquennali;
    return CategoriaMora::AltriPrestiti;
}

std::optional<SerieMaggiorazioniMora> SerieMaggiorazioniMora::Leggi(std::string_view testo,
                                                                    std::vector<ErroreSoglie>& errori)
{
    std::vector<ErroreSoglie> trovati;
    const auto errore = [&](int riga, std::string t) { trovati.push_back({riga, std::move(t)}); };
    if (testo.substr(0, 3) == "\xEF\xBB\xBF")
        testo.remove_prefix(3);

    SerieMaggiorazioniMora serie;
    int n = 0;
    for (std::size_t inizioRiga = 0; inizioRiga <= testo.size();) {
        std::size_t fineRiga = testo.find('\n', inizioRiga);
        if (fineRiga == testo.npos)
            fineRiga = testo.size();
        const std::string_view riga = Rifila(testo.substr(inizioRiga, fineRiga - inizioRiga));
        inizioRiga = fineRiga + 1;
        ++n;
        if (n == 1) {
            if (riga != Intestazione) {
                errore(1, "intestazione diversa da «" + std::string(Intestazione) + "»");
                break;
            }
            continue;
        }
        if (riga.empty())
            continue;
        std::vector<std::string_view> campi;
        for (std::size_t da = 0;;) {
            const std::size_t a = riga.find(';', da);
            campi.push_back(Rifila(riga.substr(da, a == riga.npos ? riga.npos : a - da)));
            if (a == riga.npos)
                break;
            da = a + 1;
        }
        if (campi.size() != 5) {
            errore(n, std::to_string(campi.size()) + " campi invece di 5");
            continue;
        }
        const std::size_t prima = trovati.size();
        const std::optional<sys_days> inizio = LeggiData(campi[0]), fine = LeggiData(campi[1]);
        const std::optional<CategoriaMora> categoria = Categoria(campi[2]);
        const std::optional<double> punti = Punti(campi[3]);
        if (!inizio)
            errore(n, "data di inizio non valida «" + std::string(campi[0]) + "»");
        if (!fine)
            errore(n, "data di fine non valida «" + std::string(campi[1]) + "»");
        if (inizio && fine && *fine < *inizio)
            errore(n, "la data di fine " + TestoGiorno(*fine) + " precede quella di inizio " + TestoGiorno(*inizio));
        if (!categoria)
            errore(n, "categoria sconosciuta «" + std::string(campi[2]) + "»");
        if (!punti)
            errore(n, "maggiorazione non valida «" + std::string(campi[3]) + "»");
        if (campi[4].empty())
            errore(n, "fonte non indicata");
        if (trovati.size() != prima)
            continue;
        RigaMaggiorazione r{*inizio, *fine, *categoria, *punti, std::string(campi[4]), n};
        for (const RigaMaggiorazione& altra : serie.righe_)
            if (r.inizio <= altra.fine && altra.inizio <= r.fine &&
                (r.categoria == altra.categoria || r.categoria == CategoriaMora::Tutte ||
                 altra.categoria == CategoriaMora::Tutte)) {
                errore(n, "il periodo " + TestoGiorno(r.inizio) + " - " + TestoGiorno(r.fine) +
                              " si sovrappone alla riga " + std::to_string(altra.riga) + " per la stessa categoria");
                break;
            }
        serie.righe_.push_back(std::move(r));
    }
    if (trovati.empty() && serie.righe_.empty())
        errore(0, "nessuna riga di dati");
    if (!trovati.empty()) {
        errori.insert(errori.end(), trovati.begin(), trovati.end());
        return std::nullopt;
    }
    return serie;
}

const RigaMaggiorazione* SerieMaggiorazioniMora::Maggiorazione(sys_days giorno, CategoriaMora categoria) const
{
    for (const RigaMaggiorazione& r : righe_)
        if (r.inizio <= giorno && giorno <= r.fine &&
            (r.categoria == categoria || r.categoria == CategoriaMora::Tutte))
            return &r;
    return nullptr;
}

std::optional<sys_days> SerieMaggiorazioniMora::PrimaData() const
{
    if (righe_.empty())
        return std::nullopt;
    sys_days d = righe_.front().inizio;
    for (const RigaMaggiorazione& r : righe_)
        d = std::min(d, r.inizio);
    return d;
}

std::optional<sys_days> SerieMaggiorazioniMora::UltimaData() const
{
    if (righe_.empty())
        return std::nullopt;
    sys_days d = righe_.front().fine;
    for (const RigaMaggiorazione& r : righe_)
        d = std::max(d, r.fine);
    return d;
}
