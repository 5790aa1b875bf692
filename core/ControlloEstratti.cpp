#include "ControlloEstratti.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>

namespace {

using namespace std::chrono;

// Past this many faults a file is plainly not a statement: the list stops.
constexpr std::size_t DifettiMassimi = 50;

bool FuoriLimite(Centesimi importo)
{
    return importo > ImportoMassimo || importo < -ImportoMassimo;
}

// The same day one year later (or earlier); 29 February goes to the 28th.
sys_days AnnoDopo(sys_days giorno, int anni)
{
    year_month_day d{giorno};
    year_month_day spostato{d.year() + years{anni}, d.month(), d.day()};
    if (!spostato.ok())
        spostato = year_month_day_last{spostato.year(), month_day_last{spostato.month()}};
    return sys_days{spostato};
}

// Description as the duplicate check compares it: runs of spaces made one,
// ends trimmed, ASCII letters upper case.
std::string Normalizzata(const std::string& testo)
{
    std::string r;
    r.reserve(testo.size());
    bool spazio = false;
    for (unsigned char c : testo) {
        if (std::isspace(c)) {
            spazio = !r.empty();
            continue;
        }
        if (spazio)
            r.push_back(' ');
        spazio = false;
        r.push_back(static_cast<char>(c < 0x80 ? std::toupper(c) : c));
    }
    return r;
}

} // namespace

std::optional<SaldiEstratto> EstrattoConto::Saldi() const
{
    if (!iniziale || !finale)
        return std::nullopt;
    SaldiEstratto s;
    s.dataIniziale = iniziale->data;
    s.dataFinale = finale->data;
    s.saldoIniziale = iniziale->saldo;
    s.saldoFinale = finale->saldo;
    s.file = file;
    s.riga = iniziale->riga;
    return s;
}

std::string DifettoEstratto::Messaggio() const
{
    std::string m = file;
    if (riga > 0)
        m += ", " + tipoRiga + " " + std::to_string(riga);
    return m + ": " + testo;
}

std::string TestoCentesimi(Centesimi importo)
{
    // Unsigned so that the most negative value has a magnitude too.
    const bool negativo = importo < 0;
    const unsigned long long assoluto =
        negativo ? 0ULL - static_cast<unsigned long long>(importo) : static_cast<unsigned long long>(importo);
    std::string interi = std::to_string(assoluto / 100);
    for (int i = static_cast<int>(interi.size()) - 3; i > 0; i -= 3)
        interi.insert(static_cast<std::size_t>(i), ".");
    char decimali[4];
    std::snprintf(decimali, sizeof decimali, "%02llu", assoluto % 100);
    return (negativo ? "-" : "") + interi + "," + decimali;
}

std::vector<DifettoEstratto> ControllaEstratto(const EstrattoConto& estratto, sys_days oggi, const std::string& tipoRiga)
{
    std::vector<DifettoEstratto> difetti;
    auto difetto = [&](int riga, std::string testo) {
        if (difetti.size() < DifettiMassimi)
            difetti.push_back({estratto.file, riga, std::move(testo), tipoRiga});
    };
    auto dataPlausibile = [&](sys_days giorno, int riga, const char* quale) {
        if (giorno < PrimoGiornoPlausibile || giorno > oggi)
            difetto(riga, std::string("la ") + quale + " " + TestoData(giorno) + " non è plausibile (ammesse dal " +
                              TestoData(PrimoGiornoPlausibile) + " al " + TestoData(oggi) + ").");
    };
    auto saldoPlausibile = [&](const std::optional<SaldoDichiarato>& s, const char* quale) {
        if (!s)
            return;
        dataPlausibile(s->data, s->riga, (std::string("data del ") + quale).c_str());
        if (FuoriLimite(s->saldo))
            difetto(s->riga, std::string("il ") + quale + " " + TestoCentesimi(s->saldo) +
                                 " supera il limite di 10.000.000.000,00 euro.");
    };
    saldoPlausibile(estratto.iniziale, "saldo iniziale");
    saldoPlausibile(estratto.finale, "saldo finale");

    Centesimi somma = 0;
    bool sommaEsatta = true;
    for (const Movimento& m : estratto.movimenti) {
        dataPlausibile(m.dataContabile, m.riga, "data contabile");
        dataPlausibile(m.dataValuta, m.riga, "data valuta");
        if (m.dataValuta < AnnoDopo(m.dataContabile, -1) || m.dataValuta > AnnoDopo(m.dataContabile, 1))
            difetto(m.riga, "la data valuta " + TestoData(m.dataValuta) + " dista più di un anno dalla data contabile " +
                                TestoData(m.dataContabile) + ".");
        if (FuoriLimite(m.importo))
            difetto(m.riga, "l'importo " + TestoCentesimi(m.importo) + " supera il limite di 10.000.000.000,00 euro.");
        if (__builtin_add_overflow(somma, m.importo, &somma))
            sommaEsatta = false;
    }
    if (difetti.size() >= DifettiMassimi) {
        difetti.push_back({estratto.file, 0, "altri difetti non elencati.", tipoRiga});
        return difetti;
    }

    if (estratto.iniziale && estratto.finale) {
        Centesimi atteso = 0;
        if (!sommaEsatta || __builtin_add_overflow(estratto.iniziale->saldo, somma, &atteso) ||
            atteso != estratto.finale->saldo) {
            std::string testo = "il saldo iniziale " + TestoCentesimi(estratto.iniziale->saldo) + " del " +
                                TestoData(estratto.iniziale->data) + " più i movimenti";
            if (sommaEsatta && atteso - estratto.finale->saldo != 0 && !FuoriLimite(atteso))
                testo += " (" + TestoCentesimi(somma) + ") dà " + TestoCentesimi(atteso);
            testo += ", non il saldo finale dichiarato " + TestoCentesimi(estratto.finale->saldo) + " del " +
                     TestoData(estratto.finale->data) + ".";
            difetti.push_back({estratto.file, estratto.finale->riga, std::move(testo), tipoRiga});
        }
    }
    return difetti;
}

ControlloDuplicati::ControlloDuplicati(const std::vector<Movimento>& presenti)
{
    conteggio_.reserve(presenti.size());
    for (const Movimento& m : presenti)
        ++conteggio_[ChiaveDi(m)];
}

ControlloDuplicati::Chiave ControlloDuplicati::ChiaveDi(const Movimento& m)
{
    return {m.dataContabile, m.dataValuta, m.importo, Normalizzata(m.descrizione)};
}

std::size_t ControlloDuplicati::Hash::operator()(const Chiave& c) const noexcept
{
    std::size_t h = std::hash<std::string>{}(c.descrizione);
    auto mescola = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mescola(static_cast<std::size_t>(c.contabile.time_since_epoch().count()));
    mescola(static_cast<std::size_t>(c.valuta.time_since_epoch().count()));
    mescola(static_cast<std::size_t>(c.importo));
    return h;
}

std::vector<Movimento> ControlloDuplicati::Nuovi(std::vector<Movimento> estratto, std::size_t& duplicati)
{
    // How many of each the statement holds, and how many of those are present.
    std::vector<Chiave> chiavi;
    chiavi.reserve(estratto.size());
    std::unordered_map<Chiave, std::size_t, Hash> nellEstratto;
    for (const Movimento& m : estratto) {
        chiavi.push_back(ChiaveDi(m));
        ++nellEstratto[chiavi.back()];
    }
    std::vector<Movimento> nuovi;
    nuovi.reserve(estratto.size());
    std::unordered_map<Chiave, std::size_t, Hash> visti;
    for (std::size_t i = 0; i < estratto.size(); ++i) {
        const auto presente = conteggio_.find(chiavi[i]);
        const std::size_t giaPresenti = presente == conteggio_.end() ? 0 : presente->second;
        // The first giaPresenti of a kind are the ones already there.
        if (++visti[chiavi[i]] <= giaPresenti)
            ++duplicati;
        else
            nuovi.push_back(std::move(estratto[i]));
    }
    for (auto& [chiave, quanti] : nellEstratto) {
        std::size_t& c = conteggio_[chiave];
        c = std::max(c, quanti);
    }
    return nuovi;
}
