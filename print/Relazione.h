#pragma once
// The expert's report: one A4 PDF that follows a calculation step by step, a
// cover with its contents and then one report page per table, each drawn by
// the page frame of the printed reports and numbered through the whole
// document ("pag. n di m").
#include "modStampa.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Documento;
class QPainter;
class QRectF;
class QWidget;
struct DatiPaginaRiepilogo;

// Draws a picture into a rectangle of the page (device pixels).
using FiguraPagina = std::function<void(QPainter&, const QRectF&)>;

struct Relazione {
    QString titolo;     // the PDF's title
    QString soggetto;   // the PDF's subject
    QString autore = QStringLiteral("Zelvi T.E.G.");  // the PDF's author
    // The pages in their order, the cover first. A report of several pages
    // (NumeroPagine) takes that many.
    std::vector<Rapporto> pagine;
    // For each of `pagine`, the calculation it belongs to, named before the
    // page number in its footer; missing or empty: the number alone.
    std::vector<QString> sezioni;
};

// The report of a calculation: the cover (name, reference year, the
// descriptions of what it examines, the date given, the contents with page
// numbers), then the current account's input, analytic and Bank of Italy
// tables, the mortgage, the various operations and the short-term financing,
// each only when the calculation has figures for it, then the usury check
// (see PagineConteggio). Recomputes what it shows, as the windows do; a
// quarter or a rate that cannot be computed prints as the window shows it,
// with the reason under its table.
Relazione RelazioneConteggio(Documento& d, const QDate& data);

// The pages of one calculation after its cover, as RelazioneConteggio puts
// them: the tables, then the usury check (the verdicts, and for each rate the
// formula with its figures, the threshold with its source and the verdict).
// Appends to `esaminati` the pairs (what, its description) the cover lists,
// and gives the source of the thresholds ("Soglie note fino al …"). A report
// on several calculations takes each one's pages from here.
std::vector<Rapporto> PagineConteggio(Documento& d, QStringList& esaminati, QString& fonteSoglie);

// Draws every page of the report on a paged device (a new page before each
// but the first); pixelPerTwip and registro as for DisegnaRapporto.
void DisegnaRelazione(const Relazione& r, QPainter& p, double pixelPerTwip,
                      std::vector<ElementoTesto>* registro = nullptr);

// Writes the report as a PDF with real text and its title, author and subject
// set. Throws std::runtime_error with the user's text; an older file of that
// name then stays as it was.
void ScriviRelazionePdf(const Relazione& r, const QString& percorso);

// The file name asked for by "Crea relazione PDF…": the proposed path in, the
// chosen path out, empty when cancelled. The default is the system's save
// dialog; tests install their own.
using SceltaFileRelazione = std::function<QString(QWidget* genitore, const QString& proposto)>;
void ImpostaSceltaFileRelazione(SceltaFileRelazione scelta);

// The command "Crea relazione PDF…" for the calculation `d`, dated today:
// asks for the file and writes it. False when the choice is cancelled; a
// failure is thrown, for the command runner to report.
bool CreaRelazionePdf(Documento& d, QWidget* genitore);

// The report of the multi-year overview's calculations: a cover (their
// names, the date, the threshold data, the contents), the overview's table,
// its chart on a page of its own (drawn by `grafico` into the rectangle it is
// given), then each calculation in order of reference year, its section
// opened by its own cover and followed by its pages as PagineConteggio gives
// them. Recomputes the documents as RelazioneConteggio does.
Relazione RelazioneInsieme(const std::vector<Documento*>& documenti, const DatiPaginaRiepilogo& riepilogo,
                           FiguraPagina grafico, const QDate& data);

// "Crea relazione PDF…" on the overview: as CreaRelazionePdf, for the
// calculations it shows, dated today.
bool CreaRelazioneInsieme(QWidget* genitore, const std::vector<Documento*>& documenti,
                          const DatiPaginaRiepilogo& riepilogo, FiguraPagina grafico);
