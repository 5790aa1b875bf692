#pragma once
// An import of statements applied to the open calculation's account, and the
// one command that takes the last import back until the calculation is saved
// or another one is opened.
#include "ContoMovimenti.h"
#include "ImportaEstratti.h"

#include <QObject>

#include <optional>

class ConteggioAperto;

// What an import adds to the account: its new movements after those already
// there, each given its class by the account's rules; the statements'
// declared balances after those there (a statement's balances already there
// are not added twice); and the particulars the account lacks (holder, bank,
// IBAN, ABI, CAB, number), taken from the statements. The movements already
// there keep their classes, by hand or not. Returns how many movements were
// added. Never throws but for lack of memory, and then the account is as it
// was.
std::size_t ApplicaImportazione(ContoMovimenti& conto, const EsitoImportazione& esito);

// True when ApplicaImportazione would add a movement or a statement's
// balances to the account.
bool AggiungeQualcosa(const ContoMovimenti& conto, const EsitoImportazione& esito);

// True when the two accounts hold the same particulars, movements (classes
// and origins included), declared balances, conditions and rules.
bool StessoConto(const ContoMovimenti& a, const ContoMovimenti& b);

// The last import into the open calculation, kept beside it: the account as
// it was before, until the calculation is saved, loaded or made anew.
class StoriaImportazioni : public QObject {
    Q_OBJECT
public:
    // The one beside `conteggio`, made at the first call; it lives as long
    // as the open calculation does.
    static StoriaImportazioni& Di(ConteggioAperto& conteggio);

    // Applies the import to the open calculation's account (see
    // ApplicaImportazione) and marks the calculation modified; the account as
    // it was is kept for Annulla. Returns how many movements were added.
    std::size_t Importa(const EsitoImportazione& esito);

    // True while the last import can be taken back.
    bool Annullabile() const { return prima_.has_value(); }
    // True when the account was changed after the last import (in a window):
    // taking the import back takes those changes back too.
    bool CambiatoDopo() const;
    // Puts the account back as it was before the last import and marks the
    // calculation modified. False, with nothing changed, when there is no
    // import to take back.
    bool Annulla();

signals:
    // Annullabile() may have changed.
    void Cambiato();

private:
    explicit StoriaImportazioni(ConteggioAperto& conteggio);
    void dimentica();

    ConteggioAperto& conteggio_;
    std::optional<ContoMovimenti> prima_, dopo_;
};
