#include "Funzioni.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

double PulisciNumero(const std::string& testo)
{
    if (testo.empty())
        return 0;

    const auto inizio = testo.find_first_not_of(' ');
    const auto fine = testo.find_last_not_of(' ');
    std::string cifre;
    if (inizio != std::string::npos) {
        cifre.reserve(fine - inizio + 1);
        for (auto i = inizio; i <= fine; ++i) {
            const char c = testo[i];
            if (c >= '0' && c <= '9')
                cifre.push_back(c);
            else if (c == ',')
                cifre.push_back('.');
        }
    }

    // A plain decimal reader: digits with at most one point; reading stops at
    // the first character that does not fit, so "1.2.3" reads as 1.2.
    double numero = 0;
    std::size_t lunghezza = 0;
    bool punto = false;
    bool cifra = false;
    while (lunghezza < cifre.size()) {
        const char c = cifre[lunghezza];
        if (c == '.') {
            if (punto)
                break;
            punto = true;
        } else {
            cifra = true;
        }
        ++lunghezza;
    }
    if (cifra) {
        const char* primo = cifre.data();
        const auto esito = std::from_chars(primo, primo + lunghezza, numero,
                                           std::chars_format::fixed);
        if (esito.ec == std::errc::result_out_of_range) {
            // Too many digits for a double: a non-zero integer part means the
            // number is too large, otherwise it is too small to tell from 0.
            bool grande = false;
            for (std::size_t i = 0; i < lunghezza && cifre[i] != '.'; ++i)
                if (cifre[i] != '0')
                    grande = true;
            numero = grande ? HUGE_VAL : 0.0;
        } else if (esito.ec != std::errc()) {
            numero = 0;
        }
    }

    if (testo.front() == '-' && numero != 0)
        return -numero;
    return numero;
}

double LeggiNumeroItaliano(const std::string& testo)
{
    const auto inizio = testo.find_first_not_of(' ');
    if (inizio == std::string::npos)
        return 0;
    const auto fine = testo.find_last_not_of(' ');
    std::size_t i = inizio;
    if (i == 0 && testo[i] == '-')  // as PulisciNumero: only the untrimmed text's first character
        ++i;
    int cifreIntere = 0;
    bool significativa = false, virgola = false, cifra = false;
    char precedente = 0;
    for (; i <= fine; ++i) {
        const char c = testo[i];
        if (c >= '0' && c <= '9') {
            cifra = true;
            if (!virgola && (significativa || c != '0')) {
                significativa = true;
                ++cifreIntere;
            }
        } else if (c == '.') {
            if (virgola || !(precedente >= '0' && precedente <= '9') || i == fine)
                throw std::invalid_argument("il punto separa solo le migliaia");
        } else if (c == ',') {
            if (virgola)
                throw std::invalid_argument("c'è più di una virgola");
            virgola = true;
        } else {
            throw std::invalid_argument("contiene caratteri che non sono cifre");
        }
        precedente = c;
    }
    if (!cifra)
        throw std::invalid_argument("non contiene cifre");
    if (cifreIntere > CifreInteriMassime)
        throw std::out_of_range("è troppo grande");
    return PulisciNumero(testo);
}

namespace {

// Text of |valore| with the given number of decimals, "." as decimal point,
// no grouping. Exact halves at the last decimal go away from zero, the way
// amounts are rounded by hand.
std::string CifreArrotondate(double valore, int decimali)
{
    const double assoluto = std::fabs(valore);
    double scala = 1;
    for (int i = 0; i < decimali; ++i)
        scala *= 10;
    const double scalato = assoluto * scala;
    // The product is exact when fma finds no residual; only then can the
    // scaled value be an exact half.
    if (scalato < 9007199254740992.0 && std::fma(assoluto, scala, -scalato) == 0 &&
        scalato - std::floor(scalato) == 0.5) {
        const auto intero = static_cast<std::uint64_t>(std::floor(scalato)) + 1;
        std::string s = std::to_string(intero);
        if (s.size() < static_cast<std::size_t>(decimali) + 1)
            s.insert(0, static_cast<std::size_t>(decimali) + 1 - s.size(), '0');
        if (decimali > 0)
            s.insert(s.size() - static_cast<std::size_t>(decimali), 1, '.');
        return s;
    }
    char buffer[400];
    const auto esito = std::to_chars(buffer, buffer + sizeof buffer, assoluto,
                                     std::chars_format::fixed, decimali);
    if (esito.ec != std::errc())
        throw std::overflow_error("numero troppo grande da scrivere");
    return std::string(buffer, esito.ptr);
}

// Italian form of a number: "." between thousands, "," before the decimals,
// a leading "-" for negative values that do not round to zero.
std::string FormatoItaliano(double valore, int decimali)
{
    if (!std::isfinite(valore))
        throw std::overflow_error("il numero non è finito");
    const std::string cifre = CifreArrotondate(valore, decimali);
    const auto punto = cifre.find('.');
    const std::string intera = cifre.substr(0, punto);
    const std::string frazione = punto == std::string::npos ? std::string() : cifre.substr(punto + 1);

    bool zero = true;
    for (char c : cifre)
        if (c >= '1' && c <= '9')
            zero = false;

    std::string testo;
    if (valore < 0 && !zero)
        testo.push_back('-');
    for (std::size_t i = 0; i < intera.size(); ++i) {
        if (i > 0 && (intera.size() - i) % 3 == 0)
            testo.push_back('.');
        testo.push_back(intera[i]);
    }
    if (!frazione.empty()) {
        testo.push_back(',');
        testo += frazione;
    }
    return testo;
}

} // namespace

std::string FormatoImporto(double valore)
{
    return FormatoItaliano(valore, 2);
}

std::string FormatoTasso(double tasso)
{
    if (!std::isfinite(tasso))
        throw std::overflow_error("il tasso non è finito");
    const double percentuale = tasso * 100;
    if (!std::isfinite(percentuale))
        throw std::overflow_error("il tasso è troppo grande");
    return FormatoItaliano(percentuale, 3) + "%";
}

std::string FormatoSoglia(double soglia)
{
    FormatoTasso(soglia);  // the same refusals
    std::string t = FormatoItaliano(soglia * 100, 4);
    if (t.back() == '0')
        t.pop_back();
    return t + "%";
}

std::int16_t Intero16(double valore)
{
    if (std::isnan(valore))
        throw std::overflow_error("valore non numerico per un intero a 16 bit");
    // Nearest integer, exact halves to the even neighbour; independent of the
    // current rounding mode.
    double intero = std::floor(valore);
    const double resto = valore - intero;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(intero, 2.0) != 0))
        intero += 1;
    if (!(intero >= -32768.0 && intero <= 32767.0))
        throw std::overflow_error("valore fuori dall'intervallo di un intero a 16 bit");
    return static_cast<std::int16_t>(intero);
}

std::optional<std::int64_t> CentesimiInteri(double euro)
{
    const double centesimi = std::round(euro * 100);
    if (!(std::fabs(centesimi) <= static_cast<double>(MassimoCentesimi)))
        return std::nullopt;
    return static_cast<std::int64_t>(centesimi);
}

double ArrotondaAlCentesimo(double euro)
{
    return std::round(euro * 100) / 100;
}
