#pragma once
// The CBI flat file "Rendicontazione movimenti di conto corrente": records
// of 120 characters, a header RH (or EC), then for each statement 61 (opening
// balance), 62 (movements), 63 (more text of the movement before), 64
// (closing balance), 65 (future balances, skipped), and the trailer EF,
// whose counts are checked. Positions below are 1-based, as the standard
// gives them.
#include "LettoreEstratto.h"

class LettoreCBI : public LettoreEstratto {
public:
    FormatoEstratto Formato() const override { return FormatoEstratto::CBI; }
    std::string TipoRiga() const override { return "record"; }
    // Records are numbered from 1 as they stand in the file; Movimento::riga
    // is the record of the 62. Records end with a line end or, in files
    // without any, every 120 characters.
    EsitoLettura Leggi(const QString& percorso, const QString& nome, const Avanzamento& avanzamento) const override;
};

// True when testo starts like a CBI statement flow: a blank, then RH or EC.
bool PareCBI(QByteArrayView inizio);
