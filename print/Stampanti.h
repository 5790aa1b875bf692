#pragma once
// The current printer: one of the printers the system offers, or the
// program's own device that writes the report to a PDF file. The choice lasts
// until the program ends.
#include "TabellaStampa.h"

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The program's own device, always offered after the system's printers.
inline const QString DispositivoPdf = QStringLiteral("Stampa su file PDF");

// The printers the system offers, in its order.
QStringList StampantiDiSistema();

// The devices offered to the user: the system's printers, then DispositivoPdf.
QStringList DispositiviStampa();

// The current device. At first use it is the system's default printer, or
// DispositivoPdf when the system has none.
QString StampanteCorrente();
void ImpostaStampanteCorrente(const QString& nome);

// Prints a report on the current device. The PDF device first asks for the
// file name; a cancelled choice prints nothing and says nothing. A printer
// that is missing or fails is reported in a message box. True when printed.
bool StampaRapporto(const Rapporto& r, QWidget* genitore);

// The file name asked for by the PDF device: the proposed path in, the chosen
// path out, empty when cancelled. The default is the system's save dialog.
using SceltaFilePdf = std::function<QString(QWidget* genitore, const QString& proposto)>;
void ImpostaSceltaFilePdf(SceltaFilePdf scelta);

// Replaces the system's printer list and default printer (for tests); empty
// functions restore the system's. Also forgets the current device.
void ImpostaFonteStampanti(std::function<QStringList()> elenco, std::function<QString()> predefinita);
