#include "ClassiMovimenti.h"

#include "Testo.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

using C = ClasseMovimento;
using S = SegnoRegola;

// ASCII letters without accents for U+00C0..U+00FF; "" where the code point
// is a sign (× ÷), not a letter.
constexpr std::array<const char*, 64> Latino1 = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "",  "o", "u", "u", "u", "u", "y", "th", "y"};

bool AlfaNumerico(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::vector<std::string_view> Parti(std::string_view s, std::string_view separatori)
{
    std::vector<std::string_view> parti;
    std::size_t inizio = 0;
    for (;;) {
        const std::size_t fine = s.find_first_of(separatori, inizio);
        const std::string_view parte = Rifila(s.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
        if (!parte.empty())
            parti.push_back(parte);
        if (fine == std::string_view::npos)
            return parti;
        inizio = fine + 1;
    }
}

// The key to look for in " " + TestoConfrontabile(description) + " ": the
// phrase between spaces, or without the closing space when it ends in '*'.
std::string Chiave(std::string_view parola)
{
    parola = Rifila(parola);
    const bool prefisso = !parola.empty() && parola.back() == '*';
    if (prefisso)
        parola.remove_suffix(1);
    const std::string testo = TestoConfrontabile(parola);
    if (testo.empty())
        return {};
    return " " + testo + (prefisso ? "" : " ");
}

struct NomeDiClasse {
    C classe;
    const char* nome;
};
constexpr NomeDiClasse NomiClassi[] = {{C::Ordinario, "ordinario"},
                                       {C::InteressiDebitori, "interessi debitori"},
                                       {C::InteressiCreditori, "interessi creditori"},
                                       {C::CMS, "CMS"},
                                       {C::Commissioni, "commissioni"},
                                       {C::Imposte, "imposte"}};

bool UgualiSenzaMaiuscole(std::string_view a, std::string_view b)
{
    return Maiuscolo(a) == Maiuscolo(b);
}

// The faults of one rule, named "<prefix><riga>: ...".
void ControllaRegola(const RegolaClasse& r, std::size_t riga, const char* prefisso, std::vector<ErroreRegola>& errori)
{
    const std::string nome = prefisso + std::to_string(riga) + ": ";
    if (r.causali.empty() && r.parole.empty())
        errori.push_back({riga, nome + "indicare almeno una causale o una parola."});
    for (const std::string& causale : r.causali) {
        const std::string_view t = Rifila(causale);
        if (t.size() != 2 || !AlfaNumerico(static_cast<unsigned char>(t[0])) ||
            !AlfaNumerico(static_cast<unsigned char>(t[1])))
            errori.push_back({riga, nome + "la causale «" + causale + "» deve avere due lettere o cifre."});
    }
    for (const std::string& parola : r.parole) {
        const std::string_view t = Rifila(parola);
        if (parola.find_first_of("|;\r\n") != std::string::npos)
            errori.push_back({riga, nome + "la parola «" + parola + "» contiene un carattere non ammesso (| ; o a capo)."});
        else if (t.find('*') != std::string_view::npos && t.find('*') + 1 != t.size())
            errori.push_back({riga, nome + "nella parola «" + parola + "» l'asterisco può stare solo alla fine."});
        else if (Chiave(t).empty())
            errori.push_back({riga, nome + "la parola «" + parola + "» non contiene lettere né cifre."});
    }
}

std::vector<std::string_view> Righe(std::string_view testo)
{
    std::vector<std::string_view> righe;
    for (std::size_t inizio = 0;;) {
        const std::size_t fine = testo.find('\n', inizio);
        righe.push_back(testo.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
        if (fine == std::string_view::npos)
            return righe;
        inizio = fine + 1;
    }
}

} // namespace

std::string TestoConfrontabile(std::string_view testo)
{
    std::string r;
    r.reserve(testo.size());
    bool spazio = false;  // a separator is pending
    const auto scrivi = [&](std::string_view lettere) {
        if (spazio && !r.empty())
            r += ' ';
        spazio = false;
        r += lettere;
    };
    for (std::size_t i = 0; i < testo.size();) {
        const auto c = static_cast<unsigned char>(testo[i]);
        if (c < 0x80) {
            if (AlfaNumerico(c)) {
                const char minuscola = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
                scrivi(std::string_view(&minuscola, 1));
            } else {
                spazio = true;
            }
            ++i;
            continue;
        }
        // A UTF-8 sequence: its length from the lead byte, then the
        // continuation bytes; anything malformed is one separator byte.
        const int lunghezza = (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3 : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
        bool valida = lunghezza > 0 && i + lunghezza <= testo.size();
        char32_t punto = lunghezza == 2 ? (c & 0x1F) : lunghezza == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; valida && k < lunghezza; ++k) {
            const auto b = static_cast<unsigned char>(testo[i + k]);
            valida = (b & 0xC0) == 0x80;
            punto = (punto << 6) | (b & 0x3F);
        }
        if (valida && ((lunghezza == 3 && punto < 0x800) || (lunghezza == 4 && (punto < 0x10000 || punto > 0x10FFFF)) ||
                       (punto >= 0xD800 && punto <= 0xDFFF)))
            valida = false;  // overlong forms and surrogates
        if (!valida) {
            spazio = true;
            ++i;
            continue;
        }
        if (punto >= 0xC0 && punto <= 0xFF) {
            const std::string_view lettere = Latino1[punto - 0xC0];
            if (lettere.empty())
                spazio = true;
            else
                scrivi(lettere);
        } else if (punto == 0x152 || punto == 0x153) {
            scrivi("oe");
        } else if (punto < 0xC0 || (punto >= 0x2000 && punto <= 0x2BFF) || (punto >= 0x3000 && punto <= 0x303F) ||
                   punto == 0xFEFF) {
            spazio = true;  // Latin-1 signs, general punctuation, currency, arrows, symbols
        } else {
            scrivi(testo.substr(i, lunghezza));
        }
        i += lunghezza;
    }
    return r;
}

std::vector<RegolaClasse> RegolePredefinite()
{
    // First match wins, so the narrow rules stand before the broad ones:
    // taxes and the CMS before the commissions, loans and securities (whose
    // descriptions speak of interest too) before the account's interest, the
    // rules by sign after the explicit ones. Causale 18 ("interessi e
    // competenze") classifies the closing postings that carry no words.
    return {
        {{}, {"imposta di bollo", "imposte di bollo", "imp di bollo", "imp bollo", "bollo e c", "bollo estratto conto",
              "bollo su e c", "bolli", "ritenuta fiscale", "ritenuta su interessi", "ritenute su interessi",
              "ritenuta interessi", "imposta sostitutiva"},
         S::Qualsiasi, C::Imposte},
        {{}, {"commissione di massimo scoperto", "massimo scoperto", "max scoperto", "max scop", "cms", "c m s"},
         S::Qualsiasi, C::CMS},
        {{}, {"commissione disponibilita fondi", "disponibilita fondi", "disp fondi", "cdf", "messa a disposizione",
              "mdf", "civ", "c i v", "istruttoria veloce", "istr veloce", "commissione onnicomprensiva",
              "commissione di affidamento", "commissione affidamento", "corrispettivo affidamento"},
         S::Qualsiasi, C::Commissioni},
        {{}, {"mutuo", "rata", "finanziamento", "prestito", "leasing", "cedol*", "dividend*", "titoli"},
         S::Qualsiasi, C::Ordinario},
        {{}, {"interessi debitori", "int debitori", "interessi passivi", "int passivi", "interessi a debito",
              "interessi di mora", "interessi di sconfinamento", "interessi su sconfinamento", "interessi extrafido",
              "interessi extra fido"},
         S::Qualsiasi, C::InteressiDebitori},
        {{}, {"interessi creditori", "int creditori", "interessi attivi", "int attivi", "interessi a credito"},
         S::Qualsiasi, C::InteressiCreditori},
        {{}, {"interess*", "competenz*"}, S::Addebito, C::InteressiDebitori},
        {{}, {"interess*", "competenz*"}, S::Accredito, C::InteressiCreditori},
        {{}, {"commission*", "comm", "comm ne", "comm ni", "spese tenuta conto", "spese di tenuta", "tenuta conto",
              "spese liquidazione", "spese di liquidazione", "spese chiusura", "spese di chiusura",
              "spese estratto conto", "spese e c", "spese per operazion*", "spese operazion*", "spese di gestione",
              "spese gestione", "spese fisse", "spese invio", "spese di invio", "spese bonifico", "recupero spese",
              "canone conto", "canone mensile", "canone trimestrale", "canone annuo", "canone annuale",
              "costo operazion*"},
         S::Qualsiasi, C::Commissioni},
        {{"18"}, {}, S::Addebito, C::InteressiDebitori},
        {{"18"}, {}, S::Accredito, C::InteressiCreditori},
    };
}

ClassificatoreMovimenti::ClassificatoreMovimenti(const std::vector<RegolaClasse>& regole)
{
    regole_.reserve(regole.size());
    for (std::size_t i = 0; i < regole.size(); ++i) {
        const RegolaClasse& r = regole[i];
        Regola c{{}, {}, r.segno, r.classe, static_cast<int>(i + 1)};
        for (const std::string& causale : r.causali)
            if (const std::string_view t = Rifila(causale); !t.empty())
                c.causali.push_back(Maiuscolo(t));
        for (const std::string& parola : r.parole)
            if (std::string chiave = Chiave(parola); !chiave.empty())
                c.chiavi.push_back(std::move(chiave));
        // A rule reduced to no condition would meet everything: it meets nothing.
        if (c.causali.empty() && c.chiavi.empty())
            continue;
        regole_.push_back(std::move(c));
    }
}

std::pair<ClasseMovimento, int> ClassificatoreMovimenti::Classe(const Movimento& movimento) const
{
    const std::string causale = Maiuscolo(Rifila(movimento.causaleCBI));
    std::string testo;  // made only when a rule looks at words
    bool testoPronto = false;
    for (const Regola& r : regole_) {
        if (r.segno == SegnoRegola::Addebito && !(movimento.importo < 0))
            continue;
        if (r.segno == SegnoRegola::Accredito && !(movimento.importo > 0))
            continue;
        if (!r.causali.empty() && std::find(r.causali.begin(), r.causali.end(), causale) == r.causali.end())
            continue;
        if (!r.chiavi.empty()) {
            if (!testoPronto) {
                testo = " " + TestoConfrontabile(movimento.descrizione) + " ";
                testoPronto = true;
            }
            const bool trovata = std::any_of(r.chiavi.begin(), r.chiavi.end(), [&](const std::string& chiave) {
                // Look for the key without its leading space, whose first
                // letter is rarer, then check the space before it.
                const std::string_view frase = std::string_view(chiave).substr(1);
                for (std::size_t da = 1; (da = testo.find(frase, da)) != std::string::npos; ++da)
                    if (testo[da - 1] == ' ')
                        return true;
                return false;
            });
            if (!trovata)
                continue;
        }
        return {r.classe, r.numero};
    }
    return {ClasseMovimento::Ordinario, ClasseNessunaRegola};
}

std::size_t ApplicaRegole(std::vector<Movimento>& movimenti, const std::vector<RegolaClasse>& regole)
{
    const ClassificatoreMovimenti classificatore(regole);
    std::size_t cambiati = 0;
    for (Movimento& m : movimenti) {
        if (m.regolaClasse == ClasseAMano)
            continue;
        const auto [classe, regola] = classificatore.Classe(m);
        if (classe != m.classe || regola != m.regolaClasse) {
            m.classe = classe;
            m.regolaClasse = regola;
            ++cambiati;
        }
    }
    return cambiati;
}

std::vector<ErroreRegola> ControllaRegole(const std::vector<RegolaClasse>& regole)
{
    std::vector<ErroreRegola> errori;
    for (std::size_t i = 0; i < regole.size(); ++i)
        ControllaRegola(regole[i], i + 1, "Regola ", errori);
    return errori;
}

std::string NomeClasse(ClasseMovimento classe)
{
    for (const NomeDiClasse& n : NomiClassi)
        if (n.classe == classe)
            return n.nome;
    return "ordinario";
}

std::optional<ClasseMovimento> ClasseDaNome(std::string_view nome)
{
    nome = Rifila(nome);
    for (const NomeDiClasse& n : NomiClassi)
        if (UgualiSenzaMaiuscole(nome, n.nome))
            return n.classe;
    return std::nullopt;
}

std::string TestoRegole(const std::vector<RegolaClasse>& regole)
{
    std::string testo = "# Regole delle classi dei movimenti: vale la prima che corrisponde.\n"
                        "# causali | parole | segno (dare, avere o vuoto) | classe\n";
    const auto elenco = [](const std::vector<std::string>& voci) {
        std::string s;
        for (const std::string& v : voci) {
            if (!s.empty())
                s += "; ";
            s += Rifila(v);
        }
        return s;
    };
    for (const RegolaClasse& r : regole) {
        const char* segno = r.segno == SegnoRegola::Addebito ? "dare" : r.segno == SegnoRegola::Accredito ? "avere" : "";
        testo += elenco(r.causali) + " | " + elenco(r.parole) + " | " + segno + " | " + NomeClasse(r.classe) + "\n";
    }
    return testo;
}

LetturaRegole LeggiRegole(std::string_view testo)
{
    LetturaRegole lettura;
    std::size_t numero = 0;
    for (const std::string_view riga : Righe(testo)) {
        ++numero;
        const std::string_view t = Rifila(riga);
        if (t.empty() || t.front() == '#')
            continue;
        const std::string prima = "Riga " + std::to_string(numero) + ": ";
        std::vector<std::string_view> campi;
        for (std::size_t inizio = 0;;) {
            const std::size_t fine = t.find('|', inizio);
            campi.push_back(Rifila(t.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio)));
            if (fine == std::string_view::npos)
                break;
            inizio = fine + 1;
        }
        if (campi.size() != 4) {
            lettura.errori.push_back({numero, prima + "servono quattro campi separati da | (causali, parole, segno, classe)."});
            continue;
        }
        RegolaClasse r;
        for (const std::string_view c : Parti(campi[0], ";, \t"))
            r.causali.emplace_back(c);
        for (const std::string_view p : Parti(campi[1], ";"))
            r.parole.emplace_back(p);
        bool buona = true;
        if (campi[2].empty())
            r.segno = SegnoRegola::Qualsiasi;
        else if (UgualiSenzaMaiuscole(campi[2], "dare"))
            r.segno = SegnoRegola::Addebito;
        else if (UgualiSenzaMaiuscole(campi[2], "avere"))
            r.segno = SegnoRegola::Accredito;
        else {
            lettura.errori.push_back({numero, prima + "il segno «" + std::string(campi[2]) + "» deve essere dare, avere o vuoto."});
            buona = false;
        }
        if (const auto classe = ClasseDaNome(campi[3]))
            r.classe = *classe;
        else {
            lettura.errori.push_back({numero, prima + "la classe «" + std::string(campi[3]) + "» non esiste."});
            buona = false;
        }
        const std::size_t erroriPrima = lettura.errori.size();
        ControllaRegola(r, numero, "Riga ", lettura.errori);
        buona = buona && lettura.errori.size() == erroriPrima;
        if (buona)
            lettura.regole.push_back(std::move(r));
    }
    return lettura;
}
