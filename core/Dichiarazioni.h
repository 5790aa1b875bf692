#pragma once
// The calculation document: the one set of data every window works on.
#include "BOX.h"
#include "BREVE.h"
#include "ContoMovimenti.h"
#include "ContrattoConteggio.h"
#include "Mutuo.h"
#include "OPE.h"
#include "ParametriUsura.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// A value: copying a document copies the whole calculation.
class Documento {
public:
    Documento();

    const std::string& NomeConteggio() const { return nomeConteggio_; }
    void setNomeConteggio(std::string v) { nomeConteggio_ = std::move(v); }
    std::int16_t AnnoRiferimento() const { return annoRiferimento_; }
    // 16-bit storage, see Intero16; the four quarters take the year too.
    void setAnnoRiferimento(double v);

    // Quarters 1..4; any other index throws std::out_of_range.
    BOX& Trimestri(int q);
    const BOX& Trimestri(int q) const;
    Mutuo& MutuoCorrente() { return mutuo_; }
    const Mutuo& MutuoCorrente() const { return mutuo_; }
    OPE& Operazioni() { return operazioni_; }
    const OPE& Operazioni() const { return operazioni_; }
    BREVE& BreveCorrente() { return breve_; }
    const BREVE& BreveCorrente() const { return breve_; }
    // The choices of the usury check: categories, classes, contract dates.
    ParametriUsura& Usura() { return usura_; }
    const ParametriUsura& Usura() const { return usura_; }
    // The account from its statements: movements, balances, conditions, rules.
    ContoMovimenti& ContoCorrente() { return conto_; }
    const ContoMovimenti& ContoCorrente() const { return conto_; }
    // The mortgage's contract data beside its amount, instalment and count.
    DatiContratto& Contratto() { return contratto_; }
    const DatiContratto& Contratto() const { return contratto_; }

    // Gives every member its default; the reference year comes from Oggi().
    void InizializzaConteggio();
    // The calculation's today: OrologioConteggio when set (tests fix it),
    // else the local date.
    std::chrono::sys_days Oggi() const;

private:
    std::string nomeConteggio_;
    std::int16_t annoRiferimento_ = 0;
    std::array<BOX, 4> trimestri_;
    Mutuo mutuo_;
    OPE operazioni_;
    BREVE breve_;
    ParametriUsura usura_;
    ContoMovimenti conto_;
    DatiContratto contratto_;
};

// Today's local date; tests may replace it.
extern std::function<std::chrono::sys_days()> OrologioConteggio;
