#pragma once
// OFX (Open Financial Exchange, SGML 1.x or XML 2.x) read through Debian's
// libofx: each statement's account (BANKACCTFROM), its movements (STMTTRN:
// TRNAMT signed, DTPOSTED the booking date, DTAVAIL or else DTUSER the
// value date, NAME and MEMO the description, TRNTYPE the bank's code) and
// its balances: LEDGERBAL the booked closing balance, AVAILBAL for
// information. OFX declares no opening balance, so a statement's movements
// cannot be checked against its own balances; its closing balance stays for
// the checks across statements.
//
// libofx reports through stderr and callbacks: both are gathered while it
// reads, and what it calls an error becomes a fault of the file. It reads the
// whole file at once (no progress within it, no cancel while it reads), and
// one file at a time: calls from several threads wait for each other.
#include "LettoreEstratto.h"

class LettoreOFX : public LettoreEstratto {
public:
    FormatoEstratto Formato() const override { return FormatoEstratto::OFX; }
    std::string TipoRiga() const override { return "movimento"; }
    // Movimento::riga is the movement's place in the file (from 1); faults
    // give the line of the file where libofx found them.
    EsitoLettura Leggi(const QString& percorso, const QString& nome, const Avanzamento& avanzamento) const override;
};

// True when testo starts like an OFX file (the SGML header or <OFX>).
bool PareOFX(QByteArrayView inizio);
