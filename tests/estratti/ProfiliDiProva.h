#pragma once
// The CSV profiles of the fixtures movimenti_cp1252.csv and movimenti_utf8.csv.
#include "ProfiliCSV.h"

// ';', Dare/Avere, running balance, a line before the header and one after the rows.
inline ProfiloCSV ProfiloBancaDiProva()
{
    ProfiloCSV p;
    p.nome = QStringLiteral("Banca di prova");
    p.righeIniziali = 2;
    p.righeFinali = 1;
    p.colonnaContabile = 0;
    p.colonnaValuta = 1;
    p.colonneDescrizione = {2};
    p.colonnaDare = 3;
    p.colonnaAvere = 4;
    p.colonnaSaldo = 5;
    p.intestazione = QStringLiteral("Data contabile;Data valuta;Descrizione;Dare;Avere;Saldo");
    return p;
}

// ',', decimal point, one signed amount, ISO dates.
inline ProfiloCSV ProfiloContoOnline()
{
    ProfiloCSV p;
    p.nome = QStringLiteral("Conto online");
    p.separatore = u',';
    p.decimale = u'.';
    p.formatoData = FormatoData::AAAAMMGG;
    p.colonnaContabile = 0;
    p.colonnaValuta = 1;
    p.colonnaImporto = 2;
    p.colonneDescrizione = {3};
    p.intestazione = QStringLiteral("Booking date,Value date,Amount,Description");
    return p;
}
