#pragma once
// The import of statement files: several at once, each recognised from its
// content, read as it comes, checked whole (format, balances, dates,
// amounts) and either accepted or refused with its faults. The movements of
// the accepted files that are not present yet come back with a summary; the
// calculation is not touched here: the caller applies the result, as one
// command that can be undone.
#include "LettoreEstratto.h"
#include "ProfiliCSV.h"

#include <QStringList>

#include <map>

struct OpzioniImportazione {
    // The last plausible day of a statement; default (epoch) = today.
    std::chrono::sys_days oggi{};
    // Where a CSV file finds its profile by its header; nullptr = nowhere.
    const ArchivioProfiliCSV* profili = nullptr;
    // The profile the user chose for a file (by its path), ahead of the store.
    std::map<QString, ProfiloCSV> profiliScelti;
    // The calculation's account: a file of another account is accepted with
    // a warning. Empty = no account yet.
    DatiConto conto;
    // Bytes read so far of all the files, and their total.
    std::function<void(qint64 letti, qint64 totale)> avanzamento;
    // Set (from another thread, or from avanzamento) to stop: the result is
    // then empty and marked annullato.
    const std::atomic<bool>* annulla = nullptr;
};

// One statement as the summary shows it.
struct RiepilogoEstratto {
    DatiConto conto;
    std::optional<SaldoDichiarato> iniziale, finale, disponibile;
    bool saldiControllati = false;  // both declared, and they add up
    std::size_t movimenti = 0, aggiunti = 0, duplicati = 0;
    std::optional<std::chrono::sys_days> dal, al;  // booking dates and balance dates it covers
};

struct EsitoFileEstratto {
    QString percorso, nome;
    FormatoEstratto formato = FormatoEstratto::Sconosciuto;
    QString profilo;              // the CSV profile used
    bool accettato = false;
    // A text file no CSV profile recognises: the mapping dialog is needed.
    bool serveProfilo = false;
    std::vector<DifettoEstratto> difetti;  // why it was refused
    std::vector<RiepilogoEstratto> estratti;
    std::size_t movimenti = 0, aggiunti = 0, duplicati = 0;
};

struct RiepilogoImportazione {
    int fileAccettati = 0, fileRifiutati = 0, estratti = 0;
    std::size_t movimentiLetti = 0, movimentiAggiunti = 0, duplicati = 0;
    std::optional<std::chrono::sys_days> dal, al;
};

struct EsitoImportazione {
    bool annullato = false;
    std::vector<EsitoFileEstratto> file;  // in the order given
    // What the caller adds: the new movements of the accepted files in the
    // order read, and their statements' declared balances.
    std::vector<Movimento> movimenti;
    std::vector<SaldiEstratto> saldi;
    DatiConto conto;      // the account of the first accepted statement that names one
    QStringList avvisi;   // accepted, but worth a look (another account, no balances)
    RiepilogoImportazione riepilogo;
};

// Reads and checks the files at percorsi against the movements already in
// the calculation. Never throws but for lack of memory; a file that cannot
// be read is a refused file, not an error.
EsitoImportazione ImportaEstratti(const QStringList& percorsi, const std::vector<Movimento>& presenti,
                                  const OpzioniImportazione& opzioni = {});

// The result in Italian, a line each: the totals, then each refused file
// with its faults. For the summary and the message boxes.
QStringList TestoEsito(const EsitoImportazione& esito);
