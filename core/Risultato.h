#pragma once
// A value or the Italian text of why there is none: what the loan
// computations return instead of a marker value a caller could print.
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

template <class T>
class Risultato {
public:
    Risultato(T valore) : valore_(std::move(valore)) {}
    // No value, with the reason in Italian ("La prima rata precede la stipula").
    static Risultato Fallito(std::string errore)
    {
        Risultato r;
        r.errore_ = std::move(errore);
        return r;
    }

    bool Valido() const { return valore_.has_value(); }
    explicit operator bool() const { return Valido(); }
    // The value; throws std::logic_error when there is none, with the reason.
    const T& Valore() const
    {
        if (!valore_)
            throw std::logic_error(errore_);
        return *valore_;
    }
    const T& operator*() const { return Valore(); }
    const T* operator->() const { return &Valore(); }
    // The value as an optional, for code that only asks whether there is one.
    const std::optional<T>& Opzionale() const { return valore_; }
    // Empty when there is a value.
    const std::string& Errore() const { return errore_; }

private:
    Risultato() = default;
    std::optional<T> valore_;
    std::string errore_;
};
