#pragma once
// Reading a bank's statement file: one small interface, one implementation
// per format (CBI, camt.053, CSV through a profile, OFX). A reader gives the
// statements the file holds, or the faults that make it unreadable, each
// with its line or record; it changes nothing. The checks every import runs
// on what was read are in the core (ControlloEstratti.h).
#include "ControlloEstratti.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

enum class FormatoEstratto { Sconosciuto, CBI, Camt053, CSV, OFX };

// "CBI", "camt.053", "CSV", "OFX", "sconosciuto".
QString NomeFormato(FormatoEstratto formato);

// Progress of one file and the user's cancel.
struct Avanzamento {
    // Called now and then with the bytes of the file read so far.
    std::function<void(qint64 letti)> passo;
    // Set by another thread (or by passo) to stop the reading.
    const std::atomic<bool>* annulla = nullptr;

    bool Annullato() const { return annulla && annulla->load(std::memory_order_relaxed); }
    void Segnala(qint64 letti) const
    {
        if (passo)
            passo(letti);
    }
    // Reports the bytes read so far; false when the user asked to stop.
    bool Continua(qint64 letti) const
    {
        Segnala(letti);
        return !Annullato();
    }
};

struct EsitoLettura {
    std::vector<EstrattoConto> estratti;
    // Empty when the file was read whole and its format is sound.
    std::vector<DifettoEstratto> difetti;
    // Stopped by the user: estratti and difetti say nothing.
    bool annullato = false;

    static EsitoLettura Annullata()
    {
        EsitoLettura e;
        e.annullato = true;
        return e;
    }
};

class LettoreEstratto {
public:
    virtual ~LettoreEstratto() = default;
    virtual FormatoEstratto Formato() const = 0;
    // "riga" or "record": how the faults of this format count.
    virtual std::string TipoRiga() const { return "riga"; }
    // Reads the file at percorso; nome is the file as the messages name it.
    // A file that cannot be opened, or is not of this format, comes back as
    // faults. Reads as it goes: the file is never held whole in memory
    // (OFX aside, which libofx reads by itself). Never throws but for lack
    // of memory.
    virtual EsitoLettura Leggi(const QString& percorso, const QString& nome, const Avanzamento& avanzamento) const = 0;
};

// The format of a file from its first bytes (a few kilobytes are enough),
// never from its name. Sconosciuto with *difetto set when the content is
// empty or binary; CSV for any other text that is not one of the others.
FormatoEstratto RiconosciFormato(const QByteArray& inizio, QString* difetto);

// The reader of the fixed formats; nullptr for CSV, which needs a profile
// (LettoreCSV), and for Sconosciuto.
std::unique_ptr<LettoreEstratto> LettorePerFormato(FormatoEstratto formato);
