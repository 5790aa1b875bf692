#pragma once
// The loan's contract as plain data: the choices and texts of the contract
// fields of the mortgage window, and the lines it shows below the grid rates
// (contract data, costs, default interest, early repayment; the plan's
// instalment, the rates, the comparisons and the faults). The report and the
// copy of the mortgage print the same lines below the existing ones.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Documento;
struct DatiPaginaMutuo;
struct EsameContratto;

// ---- The choices of the contract fields (item i stands for enum value i) ----

const QStringList& ElencoBasiTan();      // BaseTan
const QStringList& ElencoMetodi();       // MetodoAmmortamento
const QStringList& ElencoTipiCosto();    // TipoCosto
const QStringList& ElencoPagamenti();    // PagamentoCosto
const QStringList& ElencoTipiMora();     // TipoMora
const QStringList& ElencoTipiPenale();   // TipoPenale

// A rate as its field shows it, in percent without the sign: 0.04125 ->
// "4,125", at least three decimals, at most six. Empty for a value that is
// not finite.
QString TestoPercento(double frazione);
// A rate typed in percent ("4", "4,125", " 0,5 "): the fraction, or empty
// with the reason in Italian (to follow "Il tasso «…»") for anything else:
// only digits and at most one ",", up to six decimals and four integer
// digits. An empty text is not a rate either: the caller decides what it
// means.
std::optional<double> LeggiPercento(const QString& testo, QString* motivo = nullptr);

// ---- The page ----------------------------------------------------------------

struct RigaContratto {
    // Names the window's label of a result ("Contratto(TassoConCosti)");
    // empty for the lines of data.
    QString chiave;
    QString didascalia, valore;
    bool titolo = false;    // a heading, bold, without a value
    bool evidenza = false;  // what the reader must see: the rate checked, a difference, a fault
};

struct DatiPaginaContratto {
    // False until the user gives contract data (DatiContratto::Indicati): the
    // window, its report and its copy then show only what they showed before.
    bool indicato = false;
    // Contract data, costs (each with its reason on a line of its own),
    // default interest, early repayment.
    std::vector<RigaContratto> dati;
    // The plan's instalment and the one typed, the three rates, the rate with
    // and without each optional cost, the bank's TAEG/ISC, the default rate,
    // the early-repayment case; then what the user should know and the
    // faults of the data. No rate line when there is no plan: the faults say
    // why.
    std::vector<RigaContratto> risultati;
    // The faults alone, in field order; empty when the data are sound.
    QStringList errori;
};

// The contract of the document examined (EsaminaContratto) and written out.
// Never throws (only std::bad_alloc).
DatiPaginaContratto PaginaContratto(const Documento& documento);
DatiPaginaContratto PaginaContratto(const Documento& documento, const EsameContratto& esame);

// What the mortgage window shows: its page (PaginaMutuo, which recomputes the
// mortgage) with the contract's lines.
DatiPaginaMutuo PaginaMutuoConContratto(Documento& documento);
