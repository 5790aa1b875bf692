#pragma once
// The scale of one year as plain data: each quarter's figures drawn from the
// daily balance by value date (numeri, largest overdraft, days in debit,
// value-date lag, what the bank posted by class, coverage), and the lines of
// the scale, as the "Scalare" window shows them and its report, copy and
// exports take them.
#include "ContoMovimenti.h"
#include "Griglia.h"
#include "Scalare.h"

#include <QString>
#include <QStringList>
#include <vector>

// "completa", "senza chiusura", "parziale", "non coperto".
QString TestoCopertura(Copertura c);
// Numeri in cents × days, as euro × days with two decimals: "1.234.567,89".
QString TestoNumeri(NumeriCentesimi n);

// The years the records cover with something to compute: AnniCoperti less a
// year whose only day covered is its last (the day the first statement opens
// with the balance it carries over).
std::vector<AnnoCoperto> AnniDaCalcolare(const ContoMovimenti& conto);

// The years the window offers: those the records cover (AnniDaCalcolare), or,
// without any covered day, those of the scale's quarters.
std::vector<int> AnniScalare(const ContoMovimenti& conto, const Scalare& scalare);

struct DatiPaginaScalare {
    QString titolo;       // "Scalare del conto"
    QString sottotitolo;  // "Anno 2014 – " and the account
    std::vector<int> anni;
    int anno = 0;         // the year shown; 0 when there is none
    // Rows: the figures; columns: their names, then quarters I to IV.
    Griglia riepilogo;
    // One row per line of the scale of the year: quarter, value date from,
    // days, balance, credit line, the three numeri; a header row first.
    Griglia righe;
    QString nota;         // what the figures rest on: the starting balance, the coverage
    QString errore;       // why the scale could not be computed; empty when it was
};

// The scale of `anno` (0: the reference year when the records cover it, else
// the last year they cover).
DatiPaginaScalare PaginaScalare(const ContoMovimenti& conto, int anno, int annoRiferimento,
                                const QString& nomeConteggio);
