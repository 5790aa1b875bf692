#pragma once
// The recalculation of the account as plain data: the options chosen with
// their laws, the quarters found above the usury threshold, the results per
// quarter and per year, the remittances, the totals and the two balances for
// the chart. The window "Ricalcolo", its print, copy and exports and the
// expert's report read these; nothing here shows anything.
#include "Griglia.h"
#include "Ricalcolo.h"
#include "TrimestriOltreSoglia.h"

#include <QString>
#include <QStringList>
#include <vector>

class Documento;

// A quarter of the usury check as the window lists it.
struct RigaSogliaRicalcolo {
    QString trimestre;  // "I trimestre 2010"
    QString formula, tasso, soglia, esito, nota;
    bool oltre = false;  // counted above the threshold
};

// A total: its name, formula, the numbers put in and the result.
struct TotaleRicalcolo {
    QString voce, formula, calcolo, risultato;
};

struct DatiPaginaRicalcolo {
    QString titolo = QStringLiteral("Ricalcolo del conto");
    QString sottotitolo;  // the account: holder, bank, IBAN, as far as given
    // Every option with the choice made and every fixed rule, each with its law.
    std::vector<VoceOpzione> opzioni;
    // The usury check of the quarters the movements cover; `soglie` names the
    // threshold series, erroreSoglia why no quarter could be checked.
    std::vector<RigaSogliaRicalcolo> soglia;
    QString fonteSoglie, erroreSoglia;
    QString tassoLegale;  // which legal rates the program knows, or why none
    // Faults of the input, each naming its period or date: when there is
    // any, there is no result below (the grids are empty).
    QStringList errori;
    QStringList avvertenze;
    // The result itself, for the report's working, the remittances and the chart.
    EsitoRicalcolo esito;
    // The descriptions of the movements of esito.rimesse, in their order.
    std::vector<QString> descrizioniRimesse;
    // Three rows per quarter (banca, ricalcolo, differenza = banca -
    // ricalcolo) after two header rows; the same per year.
    Griglia trimestri, anni;
    std::vector<TotaleRicalcolo> totali;

    bool Valido() const { return errori.isEmpty(); }
    // "Addebiti indebiti 1.234,56 – effetto sul saldo 1.234,56 – ..." on one
    // line; the first fault when there is no result.
    QString TestoTotali() const;
};

// The page of the recalculation of the document's account, with the quarters
// above the threshold given (the check of the movements), and the legal rate
// series with, when it is empty, why (tassoLegale). Never throws (only
// std::bad_alloc).
DatiPaginaRicalcolo PaginaRicalcolo(const Documento& d, const VerificaMovimenti& soglia,
                                    const SerieTassoLegale& legale, const QString& testoLegale = {},
                                    const QString& fonteSoglie = {});

// The same with the threshold series and the legal rate series in use.
DatiPaginaRicalcolo PaginaRicalcolo(const Documento& d);

// The check of the movements against the threshold series in use.
VerificaMovimenti VerificaSoglieRicalcolo(const Documento& d);

// The quarters checked against the threshold as the window lists them: a
// grey header row, then one row per quarter, those counted above it in bold.
Griglia GrigliaSogliaRicalcolo(const DatiPaginaRicalcolo& d);

// A remittance as the window and the report list it: date, amount, balance
// before, credit line, solutoria, ripristinatoria, the undue charges it paid
// ("II trimestre 2010: 12,34; ..."), "sì"/"no" for prescribed, the
// description. Index i of d.esito.rimesse.
std::vector<QString> TestiRimessa(const DatiPaginaRicalcolo& d, std::size_t i);
// The headings of TestiRimessa's columns.
const std::vector<QString>& IntestazioniRimesse();

// An amount in cents as the page writes it: "-1.234,56".
QString TestoEuro(Centesimi c);
