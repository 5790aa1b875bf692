#pragma once
// The multi-year overview as plain data: the usury check of several
// calculations of the archive, one line per period checked in date order,
// the totals, and the points of the chart. The overview window, its report
// and its copy read these; nothing here opens a file or shows anything.
#include "Griglia.h"
#include "Soglie.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One calculation as the overview takes it: its name and its verdicts
// (VerificaConteggio), or why it could not be read.
struct ConteggioRiepilogo {
    QString nome;
    std::vector<EsitoVerifica> esiti;
    QString errore;  // not empty: the file was left out, this says why
};

// One line: a quarter of a current account in one threshold period, with
// the program's T.E.G. and the 2016 T.E.G. side by side, or one loan rate
// (mortgage, cash flows, short-term financing) with the second rate empty.
struct RigaRiepilogo {
    QString conteggio, operazione, periodo, categoria;
    QString teg, teg2016, tegm, soglia;  // "16,180%"; empty when not known
    QString margine;  // threshold less the higher rate, in points: "2,345"
    QString esito;    // "entro soglia", "⚠ OLTRE SOGLIA", "soglia non disponibile", ...
    QString nota;
    bool trimestre = false;
    bool oltre = false;  // at least one of the rates above the threshold
    std::optional<std::chrono::sys_days> inizio, fine;
    // Fractions for the chart (0.1618 = 16,18 %).
    std::optional<double> valoreTeg, valoreTeg2016, valoreSoglia;
};

// A point of the chart: the middle of the period checked and a rate in percent.
struct PuntoGrafico {
    QDate data;
    double percento = 0;
    QString etichetta;  // the label of a point above the threshold
};

struct DatiGrafico {
    std::vector<PuntoGrafico> teg, teg2016, soglia;  // the quarters in date order
    std::vector<PuntoGrafico> oltre;                 // a line above the threshold: its higher rate
};

struct DatiPaginaRiepilogo {
    QString titolo = QStringLiteral("Riepilogo pluriennale");
    QString sottotitolo;  // "3 conteggi: Anno2015, Anno2016, Anno2017"
    std::vector<RigaRiepilogo> righe;
    int trimestriVerificati = 0;  // quarters with a verdict
    int trimestriOltre = 0;       // quarters with a rate above the threshold
    QStringList esclusi;          // one line per calculation left out
    QString fonte;                // the threshold series, as the check window names it
    DatiGrafico grafico;
    // "Trimestri verificati: 12 – oltre la soglia: 1".
    QString TestoTotali() const;
};

// The overview of the calculations given, in the order given for lines of
// the same date. Never throws (only std::bad_alloc).
DatiPaginaRiepilogo PaginaRiepilogo(const std::vector<ConteggioRiepilogo>& conteggi, const QString& fonte = {});

// The grid of the overview window: a grey header row, then one row per
// line; a line above the threshold has its verdict in bold.
Griglia GrigliaRiepilogo(const DatiPaginaRiepilogo& dati);

