#include "GraficoRicalcolo.h"

#include "SalvaFigura.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>
#include <algorithm>

namespace {

constexpr qint64 MsAlGiorno = 86'400'000;

// The start of a day in the chart's units, ms since 1970, shifted by the
// local offset from UTC of `riferimento` (the axis writes local dates): one
// offset for every day, so that no daylight saving hour bends a step.
qreal Istante(std::chrono::sys_days g, qint64 scarto)
{
    return static_cast<qreal>(g.time_since_epoch().count() * MsAlGiorno - scarto);
}

qint64 ScartoLocale(std::chrono::sys_days g)
{
    return qint64(QDateTime::fromMSecsSinceEpoch(g.time_since_epoch().count() * MsAlGiorno).offsetFromUtc()) * 1000;
}

QString Titolo(const DatiPaginaRicalcolo& d)
{
    QString titolo = QStringLiteral("Saldo della banca e saldo ricalcolato");
    if (!d.sottotitolo.isEmpty())
        titolo += QStringLiteral("<br><span style=\"font-weight:normal\">%1</span>").arg(d.sottotitolo.toHtmlEscaped());
    return titolo;
}

QLineSeries* Serie(QChart* grafico, const QString& nome)
{
    for (QAbstractSeries* s : grafico->series())
        if (s->name() == nome)
            return qobject_cast<QLineSeries*>(s);
    return nullptr;
}

} // namespace

QChart* CreaGraficoRicalcolo(const DatiPaginaRicalcolo& d)
{
    auto* grafico = new QChart;
    QFont f = grafico->titleFont();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    grafico->setTitleFont(f);
    grafico->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    grafico->setLocalizeNumbers(true);
    grafico->setAnimationOptions(QChart::NoAnimation);
    grafico->legend()->setAlignment(Qt::AlignBottom);
    grafico->setBackgroundRoundness(0);

    auto* asseX = new QDateTimeAxis;
    asseX->setFormat(QStringLiteral("MM/yyyy"));
    asseX->setTitleText(QStringLiteral("Giorno (per valuta o per data contabile, secondo l'opzione)"));
    auto* asseY = new QValueAxis;
    asseY->setLabelFormat(QStringLiteral("%.0f"));
    asseY->setTitleText(QStringLiteral("Saldo a fine giornata (euro)"));
    grafico->addAxis(asseX, Qt::AlignBottom);
    grafico->addAxis(asseY, Qt::AlignLeft);
    const std::pair<const QString*, QColor> serie[] = {{&NomeSerieBanca, QColor(200, 0, 0)},
                                                       {&NomeSerieRicalcolato, QColor(0, 70, 170)}};
    for (const auto& [nome, colore] : serie) {
        auto* s = new QLineSeries;
        s->setName(*nome);
        QPen penna(colore);
        penna.setWidthF(1.6);
        s->setPen(penna);
        grafico->addSeries(s);
        s->attachAxis(asseX);
        s->attachAxis(asseY);
    }
    AggiornaGraficoRicalcolo(grafico, d);
    return grafico;
}

void AggiornaGraficoRicalcolo(QChart* grafico, const DatiPaginaRicalcolo& d)
{
    grafico->setTitle(Titolo(d));
    QLineSeries* banca = Serie(grafico, NomeSerieBanca);
    QLineSeries* ricalcolato = Serie(grafico, NomeSerieRicalcolato);
    if (!banca || !ricalcolato)
        return;
    // Each balance holds from its day to the next point's: steps.
    const std::vector<PuntoSaldi>& punti = d.esito.saldi;
    QList<QPointF> b, r;
    b.reserve(static_cast<qsizetype>(punti.size() * 2));
    r.reserve(static_cast<qsizetype>(punti.size() * 2));
    double minimo = 0, massimo = 0;
    const qint64 scarto = punti.empty() ? 0 : ScartoLocale(punti.front().giorno);
    for (std::size_t i = 0; i < punti.size(); ++i) {
        const qreal x = Istante(punti[i].giorno, scarto);
        const double eb = static_cast<double>(punti[i].banca) / 100, er = static_cast<double>(punti[i].ricalcolato) / 100;
        if (i > 0) {
            b.append(QPointF(x, b.back().y()));
            r.append(QPointF(x, r.back().y()));
        }
        b.append(QPointF(x, eb));
        r.append(QPointF(x, er));
        minimo = std::min({minimo, eb, er});
        massimo = std::max({massimo, eb, er});
    }
    // The last day holds to its end.
    if (!punti.empty()) {
        const qreal x = Istante(punti.back().giorno, scarto) + MsAlGiorno;
        b.append(QPointF(x, b.back().y()));
        r.append(QPointF(x, r.back().y()));
    }
    banca->replace(b);
    ricalcolato->replace(r);

    auto* asseX = qobject_cast<QDateTimeAxis*>(grafico->axes(Qt::Horizontal).value(0));
    auto* asseY = qobject_cast<QValueAxis*>(grafico->axes(Qt::Vertical).value(0));
    const bool vuoto = punti.empty();
    if (asseX && asseY) {
        asseX->setVisible(!vuoto);
        asseY->setVisible(!vuoto);
        if (!vuoto) {
            const QDateTime da = QDateTime::fromMSecsSinceEpoch(qint64(b.front().x()));
            const QDateTime a = QDateTime::fromMSecsSinceEpoch(qint64(b.back().x()));
            asseX->setRange(da, a);
            const int anni = a.date().year() - da.date().year() + 1;
            asseX->setTickCount(std::clamp(anni + 1, 3, 13));
            asseX->setFormat(anni > 3 ? QStringLiteral("yyyy") : QStringLiteral("MM/yyyy"));
            const double margine = std::max(1.0, (massimo - minimo) * 0.05);
            asseY->setRange(minimo - margine, massimo + margine);
            asseY->applyNiceNumbers();
        }
    }
    grafico->legend()->setVisible(!vuoto);
}

void DisegnaGraficoRicalcolo(const DatiPaginaRicalcolo& d, QPainter& p, const QRectF& destinazione)
{
    DisegnaChart([&d] { return CreaGraficoRicalcolo(d); }, p, destinazione);
}

void SalvaGraficoRicalcolo(const DatiPaginaRicalcolo& d, const QString& percorso)
{
    SalvaFigura([&d](QPainter& p, const QRectF& r) { DisegnaGraficoRicalcolo(d, p, r); },
                QStringLiteral("Ricalcolo del conto: saldo della banca e saldo ricalcolato"), percorso);
}

bool StampaGraficoRicalcolo(const DatiPaginaRicalcolo& d, QPrinter& stampante)
{
    return StampaFigura([&d](QPainter& p, const QRectF& r) { DisegnaGraficoRicalcolo(d, p, r); }, stampante);
}
