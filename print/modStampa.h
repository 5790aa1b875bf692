#pragma once
// The printed reports: what each window shows, as plain data, turned into a
// print table (Rapporto) and drawn by one page frame on an A4 portrait page.
#include "TabellaStampa.h"

#include <QImage>
#include <QString>
#include <array>
#include <vector>

class Griglia;
class QPainter;
class QPrinter;
class QWidget;

// What the short-term window shows.
struct DatiBreve {
    QString descrizione;                      // XPText2
    QString finanziato, oneri, restituito;    // XPText1(0), (1), (2)
    QString dataErogazione, dataRestituzione; // DTPicker1, DTPicker2 as dd/MM/yyyy
    QString tegPeriodo, tegAnnuo;             // Label1(6), Label1(8)
};

// What the mortgage window shows.
struct DatiMutuo {
    QString descrizione;                      // XPText2
    QString importo, oneri, rata;             // XPText1(0), (1), (2)
    QString periodicita, numeroRate;          // Combo1, Combo2
    QString etichettaPeriodo, tegPeriodo;     // Label1(1), Label1(6)
    QString etichettaAnnuo, tegAnnuo;         // Label1(7), Label1(8)
};

// What the operations window shows; importi are the document's amounts,
// which decide the rows printed.
struct DatiOPE {
    std::array<double, 10> importi{};
    std::array<QString, 10> date, testiImporto, segni;  // Combo1(k), XPText1(k), Combo2(k)
    QString etichettaTEG = QStringLiteral("T.E.G. su base annua (approx.)");  // Label1(7)
    QString teg;                                         // Label1(8)
};

// What the current-account input window shows. campi[k][q] is the field of
// quantity k for quarter q + 1, quantities in the order of the report:
// XPText1, XPText2, XPText3, XPText6, XPText4, XPText5, XPText7.
struct DatiInput {
    QString anno;  // Combo1
    std::array<std::array<QString, 4>, 7> campi;
};

// The print tables (descrizione is the description after "T.E.G. su ").
Rapporto RapportoBreve(const DatiBreve& d, const QString& descrizione);
Rapporto RapportoMutuo(const DatiMutuo& d, const QString& descrizione);
Rapporto RapportoOPE(const DatiOPE& d, const QString& descrizione);
Rapporto RapportoInput(const DatiInput& d, const QString& descrizione);
Rapporto RapportoMatematico(const Griglia& g, const QString& descrizione);
Rapporto RapportoItalia(const Griglia& g, const QString& descrizione);

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

// The product logo printed at the top left of every page when neither the
// report nor ImpostaLogo gives one: a picture of about 188 x 84 pixels times
// scala, with the product's name. An empty image restores the drawn one.
QImage LogoStampa(int scala = 1);
void ImpostaLogo(const QImage& logo);

// The supervisory formula, drawn to fill rettangolo (device pixels).
void DisegnaFormula(QPainter& p, const QRectF& rettangolo);

// The picture a window shows as Picture1, drawn into the report's
// rectangle; the drawn formula when the window has none.
std::function<void(QPainter&, const QRectF&)> FiguraFinestra(QWidget* finestra);

// The report of the window in front, read from its controls; false (and r
// untouched) when the window has no report or is not the one named.
bool RapportoFinestra(const QString& finestraCorrente, QWidget* finestra, Rapporto& r);

// The print command: prints the report of the window in front on the current
// printer. Does nothing and returns false for the title window, an unknown
// window, a cancelled file choice or a failure; a failure shows a message.
bool StampaTabellaCorrente(const QString& finestraCorrente, QWidget* finestra);
