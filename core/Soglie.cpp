#include "Soglie.h"

#include "Testo.h"

#include "Dichiarazioni.h"
#include "Funzioni.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <map>
#include <stdexcept>
#include <utility>

using std::chrono::sys_days;

namespace {

// ---------------------------------------------------------------- text helpers

// 19.785 -> "19,785", 24.0 -> "24,00": at least two decimals, at most four.
std::string TestoPunti(double valore)
{
    char testo[64];
    const auto [fine, esito] = std::to_chars(testo, testo + sizeof testo, valore, std::chars_format::fixed, 4);
    if (esito != std::errc{})
        return "?";
    std::string r(testo, fine);
    while (r.size() > 3 && r.back() == '0' && r[r.size() - 3] != '.')
        r.pop_back();
    std::replace(r.begin(), r.end(), '.', ',');
    return r;
}

// Reads a decimal number written with a point, whatever the C locale.
double LeggiDecimale(const std::string& testo)
{
    double valore = 0;
    std::from_chars(testo.data(), testo.data() + testo.size(), valore);
    return valore;
}

// A rate in points: digits with at most one decimal comma (or point),
// above 0 and below 100.
std::optional<double> LeggiTasso(std::string_view s)
{
    double valore = 0, scala = 0;
    int cifre = 0;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            if (scala == 0) {
                valore = valore * 10 + (c - '0');
            } else {
                valore += (c - '0') * scala;
                scala /= 10;
            }
            ++cifre;
        } else if ((c == ',' || c == '.') && scala == 0) {
            scala = 0.1;
        } else {
            return std::nullopt;
        }
        if (cifre > 12)
            return std::nullopt;
    }
    if (cifre == 0 || !(valore > 0) || !(valore < 100))
        return std::nullopt;
    // Summing digit by digit can leave the last bit off; the decimal text
    // read by the library is the value nearest to it.
    std::string normale(s);
    std::replace(normale.begin(), normale.end(), ',', '.');
    return LeggiDecimale(normale);
}

// The category name without its bracketed validity note at the end, in upper
// case with single blanks: "Mutui ipotecari  (dal 1° luglio 2004)" ->
// "MUTUI IPOTECARI".
std::string NomeBase(std::string_view nome)
{
    nome = Rifila(nome);
    if (!nome.empty() && nome.back() == ')') {
        const std::size_t aperta = nome.rfind('(');
        if (aperta != std::string_view::npos)
            nome = Rifila(nome.substr(0, aperta));
    }
    std::string r;
    bool spazio = false;
    for (char c : nome) {
        if (c == ' ' || c == '\t') {
            spazio = true;
            continue;
        }
        if (spazio && !r.empty())
            r += ' ';
        spazio = false;
        r += c;
    }
    return Maiuscolo(r);
}

// A name with single blanks and in upper case: the spellings a lookup takes
// for the same class.
std::string NomeNormale(std::string_view nome)
{
    std::string r;
    bool spazio = false;
    for (char c : Rifila(nome)) {
        if (c == ' ' || c == '\t') {
            spazio = true;
            continue;
        }
        if (spazio)
            r += ' ';
        spazio = false;
        r += c;
    }
    return Maiuscolo(r);
}

// True when the text holds a control character: a byte below 32, DEL, or
// one of U+0080..U+009F written in UTF-8.
bool ContieneControlli(std::string_view s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F)
            return true;
        if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(s[i + 1]) <= 0x9F)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- amount classes

// The amounts a class admits, in its own unit (euro or lire).
struct Intervallo {
    double minimo = -std::numeric_limits<double>::infinity();
    bool minimoIncluso = false;
    double massimo = std::numeric_limits<double>::infinity();
    bool massimoIncluso = false;
    bool lire = false;

    bool Ammette(double x) const
    {
        return (minimo < x || (minimoIncluso && minimo == x)) && (x < massimo || (massimoIncluso && massimo == x));
    }
};

// "5.000" -> 5000, "2,5" -> 2.5; std::nullopt when not a number.
std::optional<double> NumeroClasse(std::string_view s)
{
    std::string normale;
    for (char c : s) {
        if (c >= '0' && c <= '9')
            normale += c;
        else if (c == ',')
            normale += '.';
        else if (c != '.')
            return std::nullopt;
    }
    if (normale.empty() || normale == "." || std::count(normale.begin(), normale.end(), '.') > 1)
        return std::nullopt;
    return LeggiDecimale(normale);
}

// Reads the class texts of the series: "intera distribuzione", "fino a X",
// "oltre X", "oltre X fino a Y", "da X a Y", "da X", followed by "euro" or
// "[milioni di] lire". std::nullopt for any other wording.
std::optional<Intervallo> LeggiClasse(std::string_view testo)
{
    const std::string minuscolo = Minuscolo(Rifila(testo));
    if (minuscolo == "intera distribuzione")
        return Intervallo{};
    std::vector<std::string_view> parole;
    for (std::string_view p : Dividi(minuscolo, ' '))
        if (!p.empty())
            parole.push_back(p);

    Intervallo c;
    bool limite = false, euro = false, milioni = false;
    const auto numero = [&](std::size_t i) {
        return i < parole.size() ? NumeroClasse(parole[i]) : std::nullopt;
    };
    for (std::size_t i = 0; i < parole.size();) {
        const std::string_view p = parole[i];
        if (p == "fino" && i + 1 < parole.size() && parole[i + 1] == "a" && numero(i + 2)) {
            c.massimo = *numero(i + 2);
            c.massimoIncluso = true;
            limite = true;
            i += 3;
        } else if (p == "oltre" && numero(i + 1)) {
            c.minimo = *numero(i + 1);
            c.minimoIncluso = false;
            limite = true;
            i += 2;
        } else if (p == "da" && numero(i + 1)) {
            c.minimo = *numero(i + 1);
            c.minimoIncluso = true;
            limite = true;
            i += 2;
            if (i + 1 < parole.size() && parole[i] == "a" && numero(i + 1)) {
                c.massimo = *numero(i + 1);
                c.massimoIncluso = true;
                i += 2;
            }
        } else if (p == "euro") {
            euro = true;
            ++i;
        } else if (p == "lire") {
            c.lire = true;
            ++i;
        } else if (p == "milioni") {
            milioni = true;
            ++i;
        } else if (p == "di") {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    if (!limite || euro == c.lire || (milioni && !c.lire))
        return std::nullopt;
    if (milioni) {
        c.minimo *= 1e6;
        c.massimo *= 1e6;
    }
    return c;
}

const sys_days UltimoGiornoVecchiaFormula{std::chrono::year{2011} / std::chrono::May / 13};

} // namespace

// ---------------------------------------------------------------- reading

std::optional<SerieSoglie> SerieSoglie::Leggi(std::string_view testo, std::vector<ErroreSoglie>& errori)
{
    std::vector<ErroreSoglie> trovati;
    const auto errore = [&](int riga, std::string t) { trovati.push_back({riga, std::move(t)}); };

    if (testo.substr(0, 3) == "\xEF\xBB\xBF")
        testo.remove_prefix(3);
    const std::vector<std::string_view> righe = Dividi(testo, '\n');

    if (Maiuscolo(Rifila(righe[0])) != Intestazione) {
        errore(1, "intestazione diversa da «" + std::string(Intestazione) + "»");
        errori.insert(errori.end(), trovati.begin(), trovati.end());
        return std::nullopt;
    }

    // Periods by their (start, end) pair; each keeps the line of its first
    // row, and the line where its block ended, to find a period written twice.
    struct Lettura {
        PeriodoSoglie periodo;
        int primaRiga = 0;
        bool bloccoChiuso = false;
        bool segnalato = false;
        std::map<std::pair<std::string, std::string>, int> coppie;
        // Each category's name as a lookup finds it, with its first
        // spelling and line.
        std::map<std::string, std::pair<std::string, int>> categorie;
    };
    std::map<std::pair<sys_days, sys_days>, Lettura> letti;
    Lettura* precedente = nullptr;

    for (std::size_t i = 1; i < righe.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const std::string_view riga = Rifila(righe[i]);
        if (riga.empty())
            continue;
        std::vector<std::string_view> campi = Dividi(riga, ';');
        if (campi.size() != 6) {
            errore(n, std::to_string(campi.size()) + " campi invece di 6");
            continue;
        }
        for (std::string_view& c : campi)
            c = Rifila(c);
        static const char* const nomiCampi[6] = {"INIZIO", "FINE", "CATEGORIA", "CLASSE", "TEGM", "SOGLIA"};
        bool controlli = false;
        for (std::size_t k = 0; k < campi.size(); ++k)
            if (ContieneControlli(campi[k])) {
                errore(n, std::string("carattere di controllo nel campo ") + nomiCampi[k]);
                controlli = true;
            }
        if (controlli)
            continue;

        const std::size_t primoErrore = trovati.size();
        const std::optional<sys_days> inizio = LeggiData(campi[0]);
        const std::optional<sys_days> fine = LeggiData(campi[1]);
        const std::optional<double> tegm = LeggiTasso(campi[4]);
        const std::optional<double> soglia = LeggiTasso(campi[5]);
        if (!inizio)
            errore(n, "data di inizio non valida «" + std::string(campi[0]) + "»");
        if (!fine)
            errore(n, "data di fine non valida «" + std::string(campi[1]) + "»");
        if (campi[2].empty())
            errore(n, "categoria vuota");
        if (campi[3].empty())
            errore(n, "classe vuota");
        if (!tegm)
            errore(n, "TEGM non valido «" + std::string(campi[4]) + "»");
        if (!soglia)
            errore(n, "soglia non valida «" + std::string(campi[5]) + "»");
        if (inizio && fine && *fine < *inizio)
            errore(n, "la data di fine " + TestoData(*fine) + " precede quella di inizio " + TestoData(*inizio));
        if (inizio && tegm && soglia) {
            const double legale = SogliaLegale(*tegm, *inizio);
            if (std::fabs(*soglia - legale) > TolleranzaSoglia)
                errore(n, "soglia " + TestoPunti(*soglia) + " lontana dal valore di legge " + TestoPunti(legale) +
                              " (TEGM " + TestoPunti(*tegm) + ")");
        }
        if (trovati.size() != primoErrore || !inizio || !fine)
            continue;

        auto [it, nuovo] = letti.try_emplace({*inizio, *fine});
        Lettura& l = it->second;
        if (nuovo) {
            l.periodo.inizio = *inizio;
            l.periodo.fine = *fine;
            l.primaRiga = n;
        } else if (l.bloccoChiuso && !l.segnalato) {
            errore(n, "il periodo " + TestoData(*inizio) + " - " + TestoData(*fine) +
                          " è già elencato dalla riga " + std::to_string(l.primaRiga));
            l.segnalato = true;
        }
        if (precedente && precedente != &l)
            precedente->bloccoChiuso = true;
        precedente = &l;

        // The lookup takes a category's name whatever its case, blanks or
        // bracketed note: a period writes each category one way only.
        const auto [categoria, nuova] =
            l.categorie.try_emplace(NomeBase(campi[2]), std::string(campi[2]), n);
        if (!nuova && categoria->second.first != campi[2]) {
            errore(n, "la categoria «" + std::string(campi[2]) + "» è già scritta «" + categoria->second.first +
                          "» alla riga " + std::to_string(categoria->second.second));
            continue;
        }
        const auto [coppia, unica] = l.coppie.try_emplace({std::string(campi[2]), NomeNormale(campi[3])}, n);
        if (!unica) {
            errore(n, "categoria e classe già presenti nel periodo alla riga " + std::to_string(coppia->second));
            continue;
        }
        l.periodo.righe.push_back({std::string(campi[2]), std::string(campi[3]), *tegm, *soglia, n});
    }

    SerieSoglie serie;
    std::vector<int> primeRighe;
    for (auto& [chiave, l] : letti) {  // sorted by start, then end
        serie.periodi_.push_back(std::move(l.periodo));
        primeRighe.push_back(l.primaRiga);
    }
    // Each period against the one reaching furthest among those before it,
    // so a long period overlapping several later ones is caught with each.
    std::size_t lungo = 0;
    for (std::size_t i = 1; i < serie.periodi_.size(); ++i) {
        const PeriodoSoglie& a = serie.periodi_[lungo];
        const PeriodoSoglie& b = serie.periodi_[i];
        if (b.inizio <= a.fine)
            errore(std::max(primeRighe[lungo], primeRighe[i]),
                   "il periodo " + TestoData(b.inizio) + " - " + TestoData(b.fine) + " si sovrappone al periodo " +
                       TestoData(a.inizio) + " - " + TestoData(a.fine) + " (riga " +
                       std::to_string(std::min(primeRighe[lungo], primeRighe[i])) + ")");
        if (b.fine > a.fine)
            lungo = i;
    }
    if (serie.periodi_.empty() && trovati.empty())
        errore(0, "nessuna riga di dati");

    if (!trovati.empty()) {
        std::stable_sort(trovati.begin(), trovati.end(),
                         [](const ErroreSoglie& a, const ErroreSoglie& b) { return a.riga < b.riga; });
        errori.insert(errori.end(), trovati.begin(), trovati.end());
        return std::nullopt;
    }
    return serie;
}

// ---------------------------------------------------------------- lookup

std::size_t SerieSoglie::NumeroRighe() const
{
    std::size_t n = 0;
    for (const PeriodoSoglie& p : periodi_)
        n += p.righe.size();
    return n;
}

std::optional<sys_days> SerieSoglie::PrimaData() const
{
    if (periodi_.empty())
        return std::nullopt;
    return periodi_.front().inizio;
}

std::optional<sys_days> SerieSoglie::UltimaData() const
{
    if (periodi_.empty())
        return std::nullopt;
    return periodi_.back().fine;
}

std::vector<const PeriodoSoglie*> SerieSoglie::PeriodiDopoUnaLacuna() const
{
    std::vector<const PeriodoSoglie*> r;
    for (std::size_t i = 1; i < periodi_.size(); ++i)
        if (periodi_[i].inizio - periodi_[i - 1].fine > std::chrono::days{1})
            r.push_back(&periodi_[i]);
    return r;
}

const PeriodoSoglie* SerieSoglie::PeriodoDi(sys_days giorno) const
{
    // The last period starting on or before the day; it covers the day
    // unless the day falls after its end (a gap or past the series).
    auto it = std::upper_bound(periodi_.begin(), periodi_.end(), giorno,
                               [](sys_days g, const PeriodoSoglie& p) { return g < p.inizio; });
    if (it == periodi_.begin())
        return nullptr;
    --it;
    return giorno <= it->fine ? &*it : nullptr;
}

std::vector<const PeriodoSoglie*> SerieSoglie::PeriodiTra(sys_days da, sys_days a) const
{
    std::vector<const PeriodoSoglie*> r;
    auto it = std::upper_bound(periodi_.begin(), periodi_.end(), da,
                               [](sys_days g, const PeriodoSoglie& p) { return g < p.inizio; });
    if (it != periodi_.begin() && std::prev(it)->fine >= da)
        --it;
    for (; it != periodi_.end() && it->inizio <= a; ++it)
        if (it->fine >= da)
            r.push_back(&*it);
    return r;
}

std::vector<std::string> SerieSoglie::Categorie(const PeriodoSoglie& periodo)
{
    std::vector<std::string> r;
    for (const RigaSoglia& riga : periodo.righe)
        if (std::find(r.begin(), r.end(), riga.categoria) == r.end())
            r.push_back(riga.categoria);
    return r;
}

std::string SerieSoglie::CategoriaDelPeriodo(const PeriodoSoglie& periodo, std::string_view scelta)
{
    if (Rifila(scelta).empty())
        return {};
    for (const RigaSoglia& riga : periodo.righe)
        if (riga.categoria == scelta)
            return riga.categoria;
    const std::string base = NomeBase(scelta);
    for (const RigaSoglia& riga : periodo.righe)
        if (NomeBase(riga.categoria) == base)
            return riga.categoria;
    return {};
}

std::vector<std::string> SerieSoglie::Classi(const PeriodoSoglie& periodo, std::string_view categoria)
{
    std::vector<std::string> r;
    for (const RigaSoglia& riga : periodo.righe)
        if (riga.categoria == categoria)
            r.push_back(riga.classe);
    return r;
}

const RigaSoglia* SerieSoglie::Riga(const PeriodoSoglie& periodo, std::string_view categoria,
                                    std::string_view classe)
{
    const std::string nome = CategoriaDelPeriodo(periodo, categoria);
    for (const RigaSoglia& riga : periodo.righe)
        if (riga.categoria == nome && riga.classe == classe)
            return &riga;
    return nullptr;
}

const RigaSoglia* SerieSoglie::RigaPerImporto(const PeriodoSoglie& periodo, std::string_view categoria,
                                              double importoEuro)
{
    const std::string nome = CategoriaDelPeriodo(periodo, categoria);
    std::vector<const RigaSoglia*> righe;
    for (const RigaSoglia& riga : periodo.righe)
        if (riga.categoria == nome)
            righe.push_back(&riga);
    if (righe.empty())
        return nullptr;
    if (righe.size() == 1 && !(importoEuro > 0))
        return righe.front();
    if (!(importoEuro > 0) || !std::isfinite(importoEuro))
        return nullptr;

    const RigaSoglia* scelta = nullptr;
    double massimoScelta = 0;
    for (const RigaSoglia* riga : righe) {
        const std::optional<Intervallo> classe = LeggiClasse(riga->classe);
        if (!classe)
            return nullptr;
        const double importo = classe->lire ? importoEuro * LirePerEuro : importoEuro;
        // Lire and euro bounds never meet in one period; comparing upper
        // bounds in euro keeps the rule right even if they did.
        const double massimo = classe->lire ? classe->massimo / LirePerEuro : classe->massimo;
        if (classe->Ammette(importo) && (!scelta || massimo < massimoScelta)) {
            scelta = riga;
            massimoScelta = massimo;
        }
    }
    return scelta;
}

double SerieSoglie::SogliaLegale(double tegm, sys_days inizioPeriodo)
{
    if (inizioPeriodo <= UltimoGiornoVecchiaFormula)
        return tegm * 1.5;
    return std::min(tegm * 1.25 + 4, tegm + 8);
}

std::string TestoStato(StatoVerifica stato)
{
    switch (stato) {
    case StatoVerifica::EntroSoglia: return "entro soglia";
    case StatoVerifica::OltreSoglia: return "OLTRE SOGLIA";
    case StatoVerifica::SogliaNonDisponibile: return "soglia non disponibile";
    case StatoVerifica::CategoriaNonPrevista: return "categoria non prevista";
    case StatoVerifica::CategoriaNonScelta: return "categoria non scelta";
    case StatoVerifica::ClasseNonDeterminabile: return "classe non determinabile";
    case StatoVerifica::TassoNonDeterminabile: return "tasso non determinabile";
    case StatoVerifica::DataMancante: return "data non indicata";
    case StatoVerifica::CMSNonVerificabile: return "CMS non verificabile";
    }
    return {};
}

// ---------------------------------------------------------------- the check

namespace {

// A rate to check: the value used (std::nullopt when there is none), the grid
// rate beside it when the value is an exact rate, and why there is none.
struct Tasso {
    std::string formula;
    std::optional<double> valore, griglia;
    std::string nota;
};

Tasso TassoDaGriglia(double valore)
{
    if (valore == DatiIncoerenti || !std::isfinite(valore))
        return {"T.E.G. del programma", std::nullopt, std::nullopt, "dati incoerenti"};
    return {"T.E.G. del programma", valore, std::nullopt, {}};
}

// The exact annual rate where the calculation offers one (the member is
// looked for at compile time), else the grid rate.
template <typename T>
Tasso TassoMutuo(const T& m)
{
    if constexpr (requires(const T& x) { x.TEGannualeEsatto(); }) {
        Tasso t{"T.E.G. esatto", m.TEGannualeEsatto(), m.TEGannuale(), {}};
        if (!t.valore)
            t.nota = "tasso esatto non determinabile";
        return t;
    } else {
        return TassoDaGriglia(m.TEGannuale());
    }
}

template <typename T>
Tasso TassoOperazioni(const T& o)
{
    if constexpr (requires(const T& x) { x.TEGesatto(); }) {
        Tasso t{"T.E.G. esatto", o.TEGesatto(), o.TEG(), {}};
        if (t.griglia && *t.griglia == DatiIncoerenti)
            t.griglia.reset();
        if (!t.valore)
            t.nota = "tasso esatto non determinabile";
        return t;
    } else {
        return TassoDaGriglia(o.TEG());
    }
}

// How the class of an operation is found: the class the user fixed, else
// the amount.
struct Classe {
    std::string fissata;
    std::optional<double> importo;
};

// One row: the rate against one period (nullptr: none covers the dates).
EsitoVerifica Confronta(std::string operazione, const Tasso& tasso, const PeriodoSoglie* periodo,
                        const std::string& categoria, const Classe& classe)
{
    EsitoVerifica e;
    e.operazione = std::move(operazione);
    e.formula = tasso.formula;
    e.tasso = tasso.valore;
    e.tassoGriglia = tasso.griglia;
    e.categoria = categoria;
    e.classe = classe.fissata;
    if (!periodo) {
        e.stato = StatoVerifica::SogliaNonDisponibile;
        return e;
    }
    e.inizio = periodo->inizio;
    e.fine = periodo->fine;
    if (categoria.empty()) {
        e.stato = StatoVerifica::CategoriaNonScelta;
        return e;
    }
    const std::string nome = SerieSoglie::CategoriaDelPeriodo(*periodo, categoria);
    if (nome.empty()) {
        e.stato = StatoVerifica::CategoriaNonPrevista;
        e.nota = "il periodo non prevede la categoria «" + categoria + "»";
        return e;
    }
    e.categoria = nome;
    const RigaSoglia* riga = nullptr;
    if (!classe.fissata.empty()) {
        riga = SerieSoglie::Riga(*periodo, nome, classe.fissata);
        if (!riga)
            e.nota = "il periodo non prevede la classe «" + classe.fissata + "»";
    } else {
        riga = SerieSoglie::RigaPerImporto(*periodo, nome, classe.importo.value_or(0));
        if (!riga)
            e.nota = !classe.importo || !(*classe.importo > 0)
                         ? "importo non indicato: scegliere la classe"
                     : std::isfinite(*classe.importo)
                         ? "nessuna classe per l'importo di " + FormatoImporto(*classe.importo) + " euro"
                         : "importo non valido: scegliere la classe";
    }
    if (!riga) {
        e.stato = StatoVerifica::ClasseNonDeterminabile;
        return e;
    }
    e.classe = riga->classe;
    if (classe.fissata.empty())
        e.importoClasse = classe.importo;
    e.tegm = riga->tegm / 100;
    const double soglia = SerieSoglie::SogliaLegale(riga->tegm, periodo->inizio);
    e.soglia = soglia / 100;
    if (!tasso.valore) {
        e.stato = StatoVerifica::TassoNonDeterminabile;
        e.nota = tasso.nota;
        return e;
    }
    e.margine = *e.soglia - *tasso.valore;
    // Compared in points; a rate equal to the threshold (to far below the
    // precision of any published figure) is within it.
    e.stato = (*tasso.valore * 100 > soglia + 1e-9) ? StatoVerifica::OltreSoglia : StatoVerifica::EntroSoglia;
    return e;
}

// Why no threshold is given for a day: past the series, before it, or in a gap.
std::string NotaSenzaPeriodo(const SerieSoglie& serie, sys_days giorno)
{
    if (serie.Vuota())
        return "nessuna serie delle soglie disponibile";
    if (giorno > *serie.UltimaData())
        return "soglie note fino al " + TestoData(*serie.UltimaData());
    if (giorno < *serie.PrimaData())
        return "soglie note dal " + TestoData(*serie.PrimaData());
    return "nessun periodo della serie comprende il " + TestoData(giorno);
}

// Rows for an operation placed on one day (a contract or disbursement date).
void VerificaAllaData(std::vector<EsitoVerifica>& esiti, const std::string& operazione, const Tasso& tasso,
                      std::optional<sys_days> data, const SerieSoglie& serie, const std::string& categoria,
                      const Classe& classe)
{
    if (!data) {
        EsitoVerifica e = Confronta(operazione, tasso, nullptr, categoria, classe);
        e.stato = StatoVerifica::DataMancante;
        e.nota = "indicare la data del contratto";
        esiti.push_back(std::move(e));
        return;
    }
    const PeriodoSoglie* periodo = serie.PeriodoDi(*data);
    EsitoVerifica e = Confronta(operazione, tasso, periodo, categoria, classe);
    if (!periodo)
        e.nota = NotaSenzaPeriodo(serie, *data);
    esiti.push_back(std::move(e));
}

// Runs a recomputation; the errors it throws for its figures become a rate
// that cannot be determined, with their text as the reason.
template <typename F>
bool Ricalcola(F ricalcolo, Tasso& tasso)
{
    try {
        ricalcolo();
        return true;
    } catch (const std::logic_error& errore) {
        tasso = {"T.E.G. del programma", std::nullopt, std::nullopt, errore.what()};
    } catch (const std::runtime_error& errore) {
        tasso = {"T.E.G. del programma", std::nullopt, std::nullopt, errore.what()};
    }
    return false;
}

void VerificaTrimestre(std::vector<EsitoVerifica>& esiti, const Documento& documento, int q,
                       const SerieSoglie& serie)
{
    static const char* const romani[] = {"I", "II", "III", "IV"};
    BOX t = documento.Trimestri(q);
    if (t.Numeri() == 0 && t.Interessi() == 0 && t.Commissioni() == 0 && t.Spese() == 0)
        return;
    const std::string operazione = std::string("Conto corrente, trimestre ") + romani[q - 1];

    Tasso programma, istruzioni;
    if (Ricalcola([&] { t.Aggiorna(); }, programma)) {
        programma = TassoDaGriglia(t.TEG());
        istruzioni = TassoDaGriglia(t.TEGIstruzioni2016());
        if (t.Numeri() == 0 && t.Interessi() != 0) {
            // Interest with no debit balance: neither rate means anything.
            programma = istruzioni = TassoDaGriglia(DatiIncoerenti);
            programma.nota = istruzioni.nota = "interessi senza numeri debitori";
        } else if (t.TEGIstruzioni2016() == DatiIncoerenti) {
            istruzioni.nota = "oneri senza accordato né massimo scoperto";
        }
    } else {
        istruzioni = programma;
    }
    istruzioni.formula = "T.E.G. Istruzioni 2016";

    const ParametriUsura& u = documento.Usura();
    Classe classe{u.ClasseConto(), std::nullopt};
    if (t.Accordato() > 0)
        classe.importo = t.Accordato();
    else if (t.MassimoScoperto() > 0)
        classe.importo = t.MassimoScoperto();

    using namespace std::chrono;
    const year anno{documento.AnnoRiferimento()};
    const month primoMese{static_cast<unsigned>(3 * q - 2)};
    const sys_days da{anno / primoMese / 1};
    const sys_days a{anno / month{static_cast<unsigned>(3 * q)} / last};

    // The periods the quarter touches, and a row for the days none covers.
    for (const TrattoSoglie& tratto : TrattiSoglie(serie, da, a))
        for (const Tasso* tasso : {&programma, &istruzioni})
            esiti.push_back(ConfrontaConSoglia(serie, tratto, operazione, tasso->formula, tasso->valore, tasso->nota,
                                               u.CategoriaConto(), classe.fissata, classe.importo));
}

} // namespace

std::vector<TrattoSoglie> TrattiSoglie(const SerieSoglie& serie, sys_days da, sys_days a)
{
    using std::chrono::days;
    std::vector<TrattoSoglie> tratti;
    if (a < da)
        return tratti;
    sys_days scoperto = da;
    for (const PeriodoSoglie* p : serie.PeriodiTra(da, a)) {
        if (p->inizio > scoperto)
            tratti.push_back({nullptr, scoperto, p->inizio - days{1}});
        tratti.push_back({p, p->inizio, p->fine});
        scoperto = p->fine + days{1};
    }
    if (scoperto <= a)
        tratti.push_back({nullptr, scoperto, a});
    return tratti;
}

EsitoVerifica ConfrontaConSoglia(const SerieSoglie& serie, const TrattoSoglie& tratto, std::string operazione,
                                 std::string formula, std::optional<double> tasso, const std::string& notaTasso,
                                 const std::string& categoria, const std::string& classeFissata,
                                 std::optional<double> importoClasse)
{
    const Tasso t{std::move(formula), tasso, std::nullopt, tasso ? std::string() : notaTasso};
    EsitoVerifica e = Confronta(std::move(operazione), t, tratto.periodo, categoria, {classeFissata, importoClasse});
    if (!tratto.periodo) {
        e.inizio = tratto.inizio;
        e.fine = tratto.fine;
        e.nota = NotaSenzaPeriodo(serie, tratto.inizio);
    }
    return e;
}

std::vector<EsitoVerifica> VerificaConteggio(const Documento& documento, const SerieSoglie& serie)
{
    std::vector<EsitoVerifica> esiti;
    for (int q = 1; q <= 4; ++q)
        VerificaTrimestre(esiti, documento, q, serie);
    const ParametriUsura& u = documento.Usura();

    Mutuo m = documento.MutuoCorrente();
    if (m.Importo() != 0 || m.Rata() != 0 || m.Oneri() != 0) {
        Tasso tasso;
        if (Ricalcola([&] { m.Aggiorna(); }, tasso))
            tasso = TassoMutuo(m);
        VerificaAllaData(esiti, "Mutuo", tasso, u.DataStipula(), serie, u.CategoriaMutuo(),
                         {u.ClasseMutuo(), m.Importo()});
    }

    OPE o = documento.Operazioni();
    // The first month with an amount dates the operation; the amount of the
    // class is what the customer received (the credit granted).
    std::optional<std::pair<int, int>> primoMese;
    double ricevuto = 0;
    bool meseValido = true;
    for (int r = 1; r <= OPE::Righe; ++r) {
        if (o.Importo(r) == 0)
            continue;
        const std::pair<int, int> mese{o.Anno(r), o.Mese(r)};
        if (!primoMese || mese < *primoMese)
            primoMese = mese;
        if (o.Segno(r) > 0)
            ricevuto += o.Importo(r);
    }
    if (primoMese) {
        Tasso tasso;
        if (Ricalcola([&] { o.Aggiorna(); }, tasso))
            tasso = TassoOperazioni(o);
        std::optional<sys_days> data = u.DataOperazioni();
        if (!data) {
            using namespace std::chrono;
            const year_month_day g{year{primoMese->first}, month{static_cast<unsigned>(primoMese->second)}, day{1}};
            meseValido = primoMese->first >= 1 && primoMese->first <= 9999 && g.ok();
            if (meseValido)
                data = sys_days{g};
        }
        VerificaAllaData(esiti, "Operazioni", tasso, data, serie, u.CategoriaOperazioni(),
                         {u.ClasseOperazioni(), ricevuto});
        if (!meseValido)
            esiti.back().nota = "il primo mese delle operazioni non è una data valida";
    }

    BREVE b = documento.BreveCorrente();
    if (b.Finanziato() != 0 || b.Oneri() != 0 || b.Restituito() != 0) {
        Tasso tasso;
        if (Ricalcola([&] { b.Aggiorna(); }, tasso))
            tasso = TassoDaGriglia(b.TEG());
        VerificaAllaData(esiti, "Finanziamento a breve", tasso, b.Data0(), serie, u.CategoriaBreve(),
                         {u.ClasseBreve(), b.Finanziato()});
    }
    return esiti;
}
