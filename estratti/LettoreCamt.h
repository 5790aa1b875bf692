#pragma once
// ISO 20022 camt.053, Bank to Customer Statement, any version (001.02 to
// 001.13): elements are recognised by their local names, whatever the
// namespace. Each Stmt is a statement: the account (IBAN or other id, owner,
// servicer), the booked balances OPBD (or PRCD when OPBD is missing) and
// CLBD, and the booked entries (Sts BOOK, as text or as Cd): amount and
// currency, CdtDbtInd, RvslInd, BookgDt, ValDt (the booking date when
// missing), BkTxCd, RmtInf/Ustrd and AddtlNtryInf. Entries pending or for
// information are left out. A reversal is taken in the direction its
// CdtDbtInd gives, as the standard says; turned the other way only when that
// alone makes the statement's declared balances add up.
//
// Read with QXmlStreamReader as the file comes. A document type declaration
// (<!DOCTYPE ...>, where entities are declared) is refused before anything
// is expanded; so are XML that is not well formed and any amount in a
// currency other than the euro.
#include "LettoreEstratto.h"

class LettoreCamt : public LettoreEstratto {
public:
    FormatoEstratto Formato() const override { return FormatoEstratto::Camt053; }
    // Movimento::riga and the faults give the line of the file where the
    // entry (Ntry) or the fault stands.
    EsitoLettura Leggi(const QString& percorso, const QString& nome, const Avanzamento& avanzamento) const override;
};

// True when testo starts like an XML document.
bool PareXML(QByteArrayView inizio);
