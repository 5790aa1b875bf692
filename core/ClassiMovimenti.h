#pragma once
// The rules that give each movement of the account its class (interest,
// CMS, commissions and fees, taxes, ordinary) from its CBI causale, its sign
// and the words of its description: an ordered table the user can read,
// edit and keep as plain text.
#include "Movimenti.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Which movements a rule looks at by their sign.
enum class SegnoRegola : std::uint8_t { Qualsiasi, Addebito, Accredito };

// One rule of the table. A movement meets it when every condition given
// holds: its CBI causale is one of `causali`, its description contains one
// of `parole`, its amount has the sign `segno` (an amount of 0 has neither).
// A rule with neither causali nor words meets no movement.
struct RegolaClasse {
    std::vector<std::string> causali;  // CBI causali of two letters or digits; case does not count
    // Words or phrases as the user typed them. Case, accents and punctuation
    // do not count ("Comm. disponibilità" = "comm disponibilita"); a phrase
    // matches whole words, in order; a '*' at its end lets its last word
    // match any word that starts with it ("interess*").
    std::vector<std::string> parole;
    SegnoRegola segno = SegnoRegola::Qualsiasi;
    ClasseMovimento classe = ClasseMovimento::Ordinario;

    bool operator==(const RegolaClasse&) const = default;
};

// The rules the program proposes, in their order.
std::vector<RegolaClasse> RegolePredefinite();

// The rules compiled once to classify many movements.
class ClassificatoreMovimenti {
public:
    explicit ClassificatoreMovimenti(const std::vector<RegolaClasse>& regole);

    // The class of the first rule the movement meets and that rule's number
    // (from 1); {Ordinario, ClasseNessunaRegola} when it meets none. Looks
    // only at causale, amount and description, never at the class it has.
    std::pair<ClasseMovimento, int> Classe(const Movimento& movimento) const;

private:
    struct Regola {
        std::vector<std::string> causali;  // trimmed, upper case
        std::vector<std::string> chiavi;   // " phrase " or " phrase" (ending in '*'), to find in " text "
        SegnoRegola segno;
        ClasseMovimento classe;
        int numero;
    };
    std::vector<Regola> regole_;
};

// Gives each movement the class and rule number of ClassificatoreMovimenti,
// except the movements whose class was set by hand (regolaClasse ==
// ClasseAMano), which stay as they are. Returns how many movements changed.
std::size_t ApplicaRegole(std::vector<Movimento>& movimenti, const std::vector<RegolaClasse>& regole);

// A fault of a rule (riga = its number in the table, from 1) or of a line of
// the rules' text (riga = the line, from 1), in Italian.
struct ErroreRegola {
    std::size_t riga = 0;
    std::string testo;
};

// Checks the rules as the user edited them: each has a causale or a word;
// causali are two letters or digits; no word is empty once punctuation is
// left out, has a '*' anywhere but at its end, or holds '|', ';' or a line
// break (the text form could not keep it). Returns every fault, empty when
// sound.
std::vector<ErroreRegola> ControllaRegole(const std::vector<RegolaClasse>& regole);

// The rules as text, one a line after two comment lines:
//   causali | parole | segno | classe
// causali and words separated by ';', segno empty, "dare" or "avere", the
// class by NomeClasse. LeggiRegole(TestoRegole(r)) gives r back for rules
// that pass ControllaRegole (words trimmed).
std::string TestoRegole(const std::vector<RegolaClasse>& regole);

struct LetturaRegole {
    std::vector<RegolaClasse> regole;
    std::vector<ErroreRegola> errori;  // empty when the text is sound; then regole holds every rule
};

// Reads the text of TestoRegole. Blank lines and lines starting with '#' are
// skipped; causali may also be separated by ',' or spaces; names of signs
// and classes are read in any case. Every faulty line is reported (with the
// faults of ControllaRegole numbered by line) and left out of regole.
LetturaRegole LeggiRegole(std::string_view testo);

// The class's name in the rules' text and in the windows: "ordinario",
// "interessi debitori", "interessi creditori", "CMS", "commissioni", "imposte".
std::string NomeClasse(ClasseMovimento classe);
// The class a name stands for, in any case; empty for an unknown name.
std::optional<ClasseMovimento> ClasseDaNome(std::string_view nome);

// A text as the rules compare it: letters in lower case without accents,
// digits, and single spaces for everything else (punctuation, symbols,
// spaces), none at either end. Reads UTF-8; bytes that are not UTF-8 count
// as spaces. Letters beyond Latin-1 are kept as they are.
std::string TestoConfrontabile(std::string_view testo);
