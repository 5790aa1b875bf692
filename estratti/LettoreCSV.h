#pragma once
// A CSV or text export of home banking, read through a profile (ProfiliCSV.h):
// one statement per file, its movements in the file's order. Without a
// balance column the file declares no balances. With one, each row's balance
// must be the one before plus the row's amount (rows oldest first or newest
// first, as the export has them; rows without a balance are carried over);
// the statement then declares the balance before its first movement and the
// one after its last, which the core checks as for any other format.
#include "LettoreEstratto.h"
#include "ProfiliCSV.h"

class LettoreCSV : public LettoreEstratto {
public:
    explicit LettoreCSV(ProfiloCSV profilo) : profilo_(std::move(profilo)) {}
    FormatoEstratto Formato() const override { return FormatoEstratto::CSV; }
    // Movimento::riga and the faults give the line of the file, from 1.
    EsitoLettura Leggi(const QString& percorso, const QString& nome, const Avanzamento& avanzamento) const override;

private:
    ProfiloCSV profilo_;
};
