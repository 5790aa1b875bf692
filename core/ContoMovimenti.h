#pragma once
// The current account from its statements, as a calculation keeps it: the
// account's particulars, the movements, the balances the statements
// declared, the contract's conditions and the rules that class the
// movements, and the choices its recalculation is made with. A part of the
// document; the quarters of the reference year are another, which the scale
// can fill from this one.
#include "ClassiMovimenti.h"
#include "Condizioni.h"
#include "Movimenti.h"
#include "OriginiTrimestri.h"
#include "Ricalcolo.h"

#include <vector>

struct ContoMovimenti {
    DatiConto conto;
    std::vector<Movimento> movimenti;  // in the order imported or typed
    std::vector<SaldiEstratto> saldi;  // one per statement, in the order imported
    CondizioniConto condizioni;
    std::vector<RegolaClasse> regole = RegolePredefinite();
    // Where the reference year's quarter figures came from.
    OriginiTrimestri origini;
    // The recalculation's options, dates and BOT rates as the user chose
    // them; its quarters above the threshold are worked out from the
    // movements each time (VerificaTrimestriMovimenti), never kept.
    OpzioniRicalcolo ricalcolo;

    // True when there is nothing from statements: no movement, no balance.
    bool Vuoto() const { return movimenti.empty() && saldi.empty(); }
};
