#pragma once
// The multi-year overview as plain data: the usury check of several
// calculations of the archive, one line per period checked in date order,
// the totals, and the points of the chart. The overview window, its report
// and its copy read these; nothing here opens a file or shows anything.
#include "Griglia.h"
#include "Soglie.h"
#include "VerificaConto.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One calculation as the overview takes it: its name and its checks (the
// current account's quarters by VerificaConto, the other rates by
// VerificaConteggio), or why it could not be read.
struct ConteggioRiepilogo {
    QString nome;
    std::vector<EsitoTrimestreConto> conto;
    std::vector<EsitoVerifica> esiti;
    QString errore;  // not empty: the file was left out, this says why
};

// One line: a quarter of a current account in one threshold period, with
// the rate of the formula in force (the one that decides) and the analytic
// T.E.G. beside it for reference, or one loan rate (mortgage, cash flows,
// short-term financing) with no reference rate.
struct RigaRiepilogo {
    QString conteggio, operazione, periodo, categoria;
    QString formula;        // the formula that decides a quarter, or what a loan's rate is
    QString teg;            // its rate, "16,180%"; empty when not known
    QString tegAnalitico;   // a quarter's analytic T.E.G., for reference
    QString tegm, soglia;   // "16,180%", "9,3875%"
    QString margine;        // threshold less the deciding rate, in points: "2,345"
    QString esito;          // the verdict (up to 2009 with the CMS check): "entro soglia", "⚠ OLTRE SOGLIA", ...
    QString nota;
    bool trimestre = false;
    bool oltre = false;     // the verdict is over the threshold
    StatoVerifica stato = StatoVerifica::TassoNonDeterminabile;  // the verdict esito says
    std::optional<std::chrono::sys_days> inizio, fine;
    // Fractions for the chart (0.1618 = 16,18 %).
    std::optional<double> valoreTeg, valoreAnalitico, valoreSoglia;
};

// A point of the chart: the middle of the period checked and a rate in percent.
struct PuntoGrafico {
    QDate data;
    double percento = 0;
    QString etichetta;  // the label of a point above the threshold
};

struct DatiGrafico {
    // The quarters in date order: the rate that decides, the analytic T.E.G.
    // for reference, the threshold.
    std::vector<PuntoGrafico> teg, analitico, soglia;
    std::vector<PuntoGrafico> oltre;  // a quarter over the threshold: its deciding rate
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
// line; a line above the threshold has its verdict in bold, the reference
// rate is greyed.
Griglia GrigliaRiepilogo(const DatiPaginaRiepilogo& dati);

