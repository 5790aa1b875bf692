#pragma once
// The account's particulars and its contract conditions as plain data: the
// texts the "Condizioni del conto" window shows for each period, and the page
// its report, copy and exports take.
#include "ContoMovimenti.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The columns of the periods' table, in order.
enum class ColonnaCondizioni : int {
    Dal, Accordato, TassoDebitore, TassoOltreFido, TassoCreditore, PercentualeCMS, BaseCMS, SpeseFisse,
    Liquidazione, Divisore, TassiPattuiti, UsiPiazza, CapitalizzazionePattuita, CMSPattuita, CommissioniPattuite
};
inline constexpr int ColonneCondizioni = 15;
const QStringList& IntestazioniCondizioni();

// The choices of the lists, in the order of their enumerations.
const QStringList& TestiBaseCMS();       // "massimo scoperto", "scoperto oltre il fido", "fido accordato"
const QStringList& TestiLiquidazione();  // "trimestrale", "annuale"
const QStringList& TestiDivisore();      // "365/366 (anno civile)", "360 (anno commerciale)"

// The texts of a period's cells: amounts "50.000,00", rates "9,500%", dates
// dd/mm/yyyy or empty when not agreed in writing, "sì" or "no".
QStringList TestiPeriodo(const CondizioniPeriodo& p);

// The account's particulars as label and value, in the window's order.
std::vector<std::pair<QString, QString>> DatiDelConto(const ContoMovimenti& conto);

struct DatiPaginaCondizioni {
    QString titolo;       // "Condizioni del conto"
    QString sottotitolo;  // the account, or the calculation's name
    std::vector<std::pair<QString, QString>> conto;  // particulars, the debit authorisation last
    std::vector<QStringList> periodi;                // TestiPeriodo of each period, in order
    QStringList errori;                              // ControllaCondizioni's faults
};
DatiPaginaCondizioni PaginaCondizioni(const ContoMovimenti& conto, const QString& nomeConteggio);
