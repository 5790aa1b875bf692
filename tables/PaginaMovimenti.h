#pragma once
// The movements of the account as plain data: the texts of each column as
// the "Movimenti" window shows them, the balances beside the movements (the
// running balance by value date, the statements' declared balances where
// they fall and whether they agree) and the page the report, the copy and
// the exports take.
#include "ContoMovimenti.h"
#include "SaldiMovimenti.h"

#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <cstddef>
#include <vector>

class Documento;

// "1.234,56", "-0,05".
QString TestoCentesimiQt(Centesimi importo);
// "31/03/2014".
QString TestoGiornoQt(std::chrono::sys_days giorno);
// "Rossi Mario – Banca X – IT60X0542811101000000123456": the account's
// particulars that are given; empty when none is.
QString TestoConto(const DatiConto& conto);

// The columns of the movements table, in order.
enum class ColonnaMovimenti : int {
    Numero,         // place in the list, from 1
    DataContabile,
    DataValuta,
    Importo,        // signed: a debit is negative
    Causale,        // CBI causale
    Descrizione,
    Classe,
    Regola,         // the number of the rule that gave the class, "a mano", or empty
    Saldo,          // running balance by value date
    Estratto,       // the declared closing balance falling after the movement
};
inline constexpr int ColonneMovimenti = 10;
const QStringList& IntestazioniMovimenti();

// What is computed over all the movements for the texts beside each one.
struct SaldiAccanto {
    std::vector<Centesimi> perValuta;        // as SaldiPerValuta, in list order
    std::vector<ControlloSaldi> estratti;    // as ControllaSaldiDichiarati
    // (movement, statement) for every statement whose closing balance
    // falls after that movement, by movement.
    std::vector<std::pair<std::size_t, std::size_t>> chiusure;
    QString errore;                          // why the balances could not be computed; empty when they were
};
SaldiAccanto CalcolaSaldiAccanto(const ContoMovimenti& conto);

// The statements whose closing balance falls after movement i (indices in
// SaldiAccanto::estratti).
std::vector<std::size_t> ChiusureDopo(const SaldiAccanto& s, std::size_t i);

// The text of one cell of movement i.
QString TestoMovimento(const ContoMovimenti& conto, const SaldiAccanto& s, std::size_t i, ColonnaMovimenti c);
// The statement's check in a few words: "saldo finale 31/03/2014 1.234,56:
// concorda" or "...: differenza 12,34".
QString TestoControlloSaldi(const ContoMovimenti& conto, const ControlloSaldi& c);
// The same at length, for the report and the tooltip: opening balance and
// date, movements and their sum, computed and declared closing balance.
QString DettaglioControlloSaldi(const ContoMovimenti& conto, const ControlloSaldi& c);

// What the "Movimenti" window shows, in its order and with its filter.
struct DatiPaginaMovimenti {
    QString titolo;       // "Movimenti del conto"
    QString sottotitolo;  // the account (TestoConto), or the calculation's name
    QString filtro;       // which movements: "Tutti i movimenti" or the filter in words
    std::vector<std::array<QString, ColonneMovimenti>> righe;
    QString totali;       // count, debits, credits
    QStringList estratti; // each statement's check at length
    QString errore;
};

// The movements of `conto` at the places `ordine` gives (indices in its
// list, as the window shows them), described by `filtro`.
DatiPaginaMovimenti PaginaMovimenti(const ContoMovimenti& conto, const std::vector<std::size_t>& ordine,
                                    const QString& filtro, const QString& nomeConteggio);
