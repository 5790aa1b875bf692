#pragma once
// "Piano di ammortamento" as plain data: the loan's plan built from the
// contract of the document, one row per date with instalment, interest,
// principal, residual debt and costs, and the totals. The window, the report,
// the copy and the exports read these texts.
#include "Griglia.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class Documento;
struct EsameContratto;

struct RigaPaginaPiano {
    // N., Data, Rata, Interessi, Quota capitale, Debito residuo, Costi.
    std::array<QString, 7> celle;
    bool grassetto = false;
};

struct DatiPaginaPiano {
    QString titolo;  // "Piano di ammortamento – " + the mortgage's description
    // What the plan is of: amount and dates, TAN and method, instalments.
    QStringList intestazione;
    // The contract date (the amount lent, the costs paid that day), the
    // pre-amortisation row when there is one, then each instalment.
    std::vector<RigaPaginaPiano> righe;
    RigaPaginaPiano totali;  // in bold; empty without a plan
    // The first period when irregular, the plan's instalment beside the one
    // typed, what the costs column holds.
    QStringList note;
    // Why there is no plan; empty when there is one.
    QString errore;
};

// The column headings of the plan.
const std::array<QString, 7>& IntestazioniPiano();

// The plan of the document's contract (EsaminaContratto). Never throws (only
// std::bad_alloc): without a plan the rows are empty and errore says why.
DatiPaginaPiano PaginaPiano(const Documento& documento);
DatiPaginaPiano PaginaPiano(const Documento& documento, const EsameContratto& esame);

// The window's table: a grey header row, one row per date, the totals in bold.
Griglia GrigliaPiano(const DatiPaginaPiano& dati);
