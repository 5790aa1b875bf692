#pragma once
// The printed reports: what each window shows, as plain data, turned into a
// print table (Rapporto) and drawn by one page frame on an A4 portrait page.
#include "Pagine.h"
#include "PagineFinanziamenti.h"
#include "TabellaStampa.h"

#include <QImage>
#include <QString>
#include <array>
#include <vector>

class Griglia;
class QPainter;
class QPrinter;
class QWidget;

// The print tables of the window pages (descrizione is the description of
// the object printed, after "T.E.G. su ").
Rapporto RapportoBreve(const DatiPaginaBreve& d, const QString& descrizione);
Rapporto RapportoMutuo(const DatiPaginaMutuo& d, const QString& descrizione);
// One row for each flow whose amount is not 0, numbered without gaps.
Rapporto RapportoOPE(const DatiPaginaOPE& d, const QString& descrizione);
// The quarter's figures in the report's order, which puts the commission on
// the maximum overdraft under the other commission; the maximum debit
// balance is not printed.
Rapporto RapportoInput(const DatiPaginaInput& d, const QString& descrizione);
Rapporto RapportoMatematico(const Griglia& g, const QString& descrizione);
// With the drawn formula as its picture.
Rapporto RapportoItalia(const Griglia& g, const QString& descrizione);

// A date as every report writes it, dd/MM/yyyy; empty for an invalid date.
QString TestoData(const QDate& data);

// One text item as the page frame draws it, for checking what a page holds.
struct ElementoTesto {
    int x = 0, y = 0;
    QString testo;
    bool grassetto = false, corsivo = false;
    int codiceDimensione = 0, allineamento = 0;
    QString colore;
};

// The font that stands in for "ms sans serif".
QString FamigliaCarattere();

// Point size for a size code: 0 gives 7, any other code c gives c - 1.
int PuntiCarattere(int codiceDimensione);

// Draws one text item: x, y in twips from the page's top-left corner, the top
// edge of the text at y; alignment 0 left, 1 centred, 2 right edge at x, each
// measured with the font just set. Colour "rosso" is red, anything else black.
void StampaTesto(QPainter& p, double pixelPerTwip, int x, int y, const QString& testo,
                 bool grassetto, bool corsivo, int codiceDimensione, int allineamento,
                 const QString& colore, std::vector<ElementoTesto>* registro = nullptr);

// Draws every page of a report; pixelPerTwip maps twips to the painter's
// device. registro, when given, receives every text item in drawing order.
void DisegnaRapporto(const Rapporto& r, QPainter& p, double pixelPerTwip,
                     std::vector<ElementoTesto>* registro = nullptr);

// Sets a printer up for a report: A4 portrait, the whole page, the report's
// title as the document's name.
void PreparaStampante(const Rapporto& r, QPrinter& stampante);

// Prints a report on an already configured printer (A4 portrait, full page).
// False when the printer could not be opened or reported an error.
bool StampaSuStampante(const Rapporto& r, QPrinter& stampante);

// The report as a PDF document (A4 portrait, the whole page, the title as
// the document's title), made in memory. Throws std::runtime_error when the
// document cannot be made.
QByteArray RapportoPdf(const Rapporto& r);

// The product logo printed at the top left of every page when neither the
// report nor ImpostaLogo gives one: a picture of about 188 x 84 pixels times
// scala, with the product's name. An empty image restores the drawn one.
QImage LogoStampa(int scala = 1);
void ImpostaLogo(const QImage& logo);

// The supervisory formula, drawn to fill rettangolo (device pixels).
void DisegnaFormula(QPainter& p, const QRectF& rettangolo);
