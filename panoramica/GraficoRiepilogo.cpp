#include "GraficoRiepilogo.h"

#include "Esportazione.h"
#include "SalvaFigura.h"

#include <QApplication>
#include <QChart>
#include <QCoreApplication>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace {

// The chart is laid out at this size in scene units and scaled to the page,
// so that its texts keep their proportions on any device.
constexpr double LarghezzaScena = 1000;

// The names of the calculations under the title stop with "…" beyond this.
constexpr int LunghezzaSottotitolo = 120;

qreal Istante(const QDate& d) { return static_cast<qreal>(d.startOfDay().toMSecsSinceEpoch()); }

QLineSeries* Linea(const std::vector<PuntoGrafico>& punti, const QString& nome, const QColor& colore,
                   Qt::PenStyle tratto)
{
    auto* s = new QLineSeries;
    s->setName(nome);
    for (const PuntoGrafico& p : punti)
        s->append(Istante(p.data), p.percento);
    QPen penna(colore);
    penna.setWidthF(2.0);
    penna.setStyle(tratto);
    s->setPen(penna);
    // Over many years the markers would hide the lines.
    s->setPointsVisible(punti.size() <= 48);
    return s;
}

// Beyond this many quarters the marks above the threshold are drawn smaller.
constexpr int TrimestriFitti = 48;

// The label of each run of quarters above the threshold, on its highest
// point. A run is a set of marks on consecutive quarters of the chart.
struct EtichettaOltre {
    QPointF punto;  // date (ms) and percent
    QString testo;
};

std::vector<EtichettaOltre> EtichetteDelleSequenze(const DatiGrafico& d)
{
    std::vector<QDate> trimestri;
    for (const auto* serie : {&d.teg, &d.analitico, &d.soglia})
        for (const PuntoGrafico& p : *serie)
            trimestri.push_back(p.data);
    std::sort(trimestri.begin(), trimestri.end());
    trimestri.erase(std::unique(trimestri.begin(), trimestri.end()), trimestri.end());
    const auto posto = [&](const QDate& data) {
        return std::lower_bound(trimestri.begin(), trimestri.end(), data) - trimestri.begin();
    };
    std::vector<PuntoGrafico> oltre = d.oltre;
    std::stable_sort(oltre.begin(), oltre.end(),
                     [](const PuntoGrafico& a, const PuntoGrafico& b) { return a.data < b.data; });
    std::vector<EtichettaOltre> r;
    const PuntoGrafico* cima = nullptr;
    for (std::size_t i = 0; i < oltre.size(); ++i) {
        if (!cima || oltre[i].percento > cima->percento)
            cima = &oltre[i];
        if (i + 1 == oltre.size() || posto(oltre[i + 1].data) > posto(oltre[i].data) + 1) {
            const QString testo = cima->etichetta.isEmpty()
                                      ? QLocale(QLocale::Italian).toString(cima->percento, 'f', 2) + QLatin1Char('%')
                                      : cima->etichetta;
            r.push_back({QPointF(Istante(cima->data), std::round(cima->percento * 100) / 100), testo});
            cima = nullptr;
        }
    }
    return r;
}

// Places the labels of the runs once the chart knows where its points are,
// and again whenever its plot area changes: the highest first, above its
// mark, else beside it or below it; one that would cover another label or a
// mark above the threshold, or leave the plot area, is not drawn (on screen
// the mark's tooltip still tells its rate).
void PosizionaEtichette(QChart* grafico, QScatterSeries* oltre, const std::vector<EtichettaOltre>& etichette)
{
    for (QGraphicsItem* figlio : grafico->childItems())
        if (figlio->data(0).toString() == QLatin1String("EtichettaOltre"))
            delete figlio;
    const QRectF area = grafico->plotArea();
    if (area.isEmpty())
        return;
    const qreal lato = oltre->markerSize();
    std::vector<QRectF> occupati;
    for (const QPointF& p : oltre->points()) {
        const QPointF c = grafico->mapToPosition(p, oltre);
        occupati.push_back(QRectF(c.x() - lato / 2, c.y() - lato / 2, lato, lato));
    }
    std::vector<const EtichettaOltre*> ordine;
    for (const EtichettaOltre& e : etichette)
        ordine.push_back(&e);
    std::stable_sort(ordine.begin(), ordine.end(),
                     [](const EtichettaOltre* a, const EtichettaOltre* b) { return a->punto.y() > b->punto.y(); });
    QFont carattere = grafico->font();
    carattere.setBold(true);
    for (const EtichettaOltre* e : ordine) {
        auto* testo = new QGraphicsSimpleTextItem(e->testo, grafico);
        testo->setData(0, QStringLiteral("EtichettaOltre"));
        testo->setFont(carattere);
        testo->setBrush(QColor(160, 0, 0));
        testo->setZValue(100);
        const QSizeF m = testo->boundingRect().size();
        const QPointF c = grafico->mapToPosition(e->punto, oltre);
        const qreal d = lato / 2 + 2;
        const QPointF posti[4] = {{c.x() - m.width() / 2, c.y() - d - m.height()},
                                  {c.x() + d, c.y() - m.height() / 2},
                                  {c.x() - d - m.width(), c.y() - m.height() / 2},
                                  {c.x() - m.width() / 2, c.y() + d}};
        bool messo = false;
        for (QPointF p : posti) {
            // Kept inside the plot area sideways, as long as it stays by its mark.
            p.setX(std::clamp(p.x(), area.left(), std::max(area.left(), area.right() - m.width())));
            const QRectF r(p, m);
            if (!area.contains(r) || r.right() < c.x() - d - m.width() || r.left() > c.x() + d + m.width())
                continue;
            if (std::any_of(occupati.begin(), occupati.end(), [&](const QRectF& o) { return o.intersects(r); }))
                continue;
            testo->setPos(p);
            occupati.push_back(r);
            messo = true;
            break;
        }
        if (!messo)
            delete testo;
    }
}

} // namespace

QChart* CreaGrafico(const DatiPaginaRiepilogo& r)
{
    const DatiGrafico& d = r.grafico;
    auto* grafico = new QChart;
    QString titolo = QStringLiteral("T.E.G. trimestrali e tasso soglia");
    if (!r.righe.empty()) {
        QString sotto = r.sottotitolo;
        if (sotto.size() > LunghezzaSottotitolo)
            sotto = sotto.left(LunghezzaSottotitolo - 1) + QChar(0x2026);
        titolo += QStringLiteral("<br><span style=\"font-weight:normal\">%1</span>").arg(sotto.toHtmlEscaped());
    }
    grafico->setTitle(titolo);
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
    asseX->setTitleText(QStringLiteral("Periodo (metà del trimestre)"));
    auto* asseY = new QValueAxis;
    asseY->setLabelFormat(QStringLiteral("%.1f%"));
    asseY->setTitleText(QStringLiteral("Tasso annuo"));
    grafico->addAxis(asseX, Qt::AlignBottom);
    grafico->addAxis(asseY, Qt::AlignLeft);

    auto* oltre = new QScatterSeries;
    oltre->setName(NomeSerieOltre);
    oltre->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    oltre->setMarkerSize(d.teg.size() > TrimestriFitti ? 9 : 13);
    oltre->setColor(QColor(200, 0, 0));
    oltre->setBorderColor(Qt::black);
    for (const PuntoGrafico& p : d.oltre)
        oltre->append(Istante(p.data), std::round(p.percento * 100) / 100);
    // Each mark tells its date and rate under the mouse; the labels are
    // placed by PosizionaEtichette.
    QObject::connect(oltre, &QScatterSeries::hovered, oltre, [](const QPointF& p, bool sopra) {
        if (!sopra) {
            QToolTip::hideText();
            return;
        }
        const QLocale italiano(QLocale::Italian);
        QToolTip::showText(QCursor::pos(),
                           QStringLiteral("%1: %2%").arg(QDateTime::fromMSecsSinceEpoch(qint64(p.x())).date()
                                                             .toString(QStringLiteral("MM/yyyy")),
                                                         italiano.toString(p.y(), 'f', 2)),
                           QApplication::widgetAt(QCursor::pos()));
    });

    for (QXYSeries* s : {static_cast<QXYSeries*>(Linea(d.soglia, NomeSerieSoglia, QColor(200, 0, 0), Qt::DashLine)),
                         static_cast<QXYSeries*>(Linea(d.teg, NomeSerieTeg, QColor(0, 70, 170), Qt::SolidLine)),
                         static_cast<QXYSeries*>(
                             Linea(d.analitico, NomeSerieAnalitico, QColor(130, 130, 130), Qt::DotLine)),
                         static_cast<QXYSeries*>(oltre)}) {
        grafico->addSeries(s);
        s->attachAxis(asseX);
        s->attachAxis(asseY);
    }

    // Dates from the start of the first year to the end of the last, a tick
    // on each quarter for up to three years, else on every year or every few
    // years; rates from 0 to a round figure above the highest.
    int primo = 0, ultimo = 0;
    double massimo = 0;
    for (const auto* serie : {&d.teg, &d.analitico, &d.soglia})
        for (const PuntoGrafico& p : *serie) {
            primo = primo == 0 ? p.data.year() : std::min(primo, p.data.year());
            ultimo = std::max(ultimo, p.data.year());
            massimo = std::max(massimo, p.percento);
        }
    if (primo == 0)
        primo = ultimo = QDate::currentDate().year();
    int anni = ultimo - primo + 1;
    int tacche = anni * 4 + 1;
    if (anni > 3) {
        const int passo = (anni + 11) / 12;
        anni = (anni + passo - 1) / passo * passo;
        tacche = anni / passo + 1;
    }
    asseX->setRange(QDate(primo, 1, 1).startOfDay(), QDate(primo + anni, 1, 1).startOfDay());
    asseX->setTickCount(tacche);
    asseY->setRange(0, massimo <= 0 ? 10 : massimo * 1.1);
    asseY->applyNiceNumbers();

    // Nothing to show: no axes made up for it, no legend of empty series.
    if (d.teg.empty() && d.analitico.empty() && d.soglia.empty()) {
        asseX->setVisible(false);
        asseY->setVisible(false);
        grafico->legend()->setVisible(false);
    }
    // The threshold a dashed line, the marks above it squares, in the
    // legend as in the chart.
    for (QLegendMarker* m : grafico->legend()->markers())
        m->setShape(m->series() == oltre ? QLegend::MarkerShapeRectangle : QLegend::MarkerShapeFromSeries);

    const std::vector<EtichettaOltre> etichette = EtichetteDelleSequenze(d);
    QObject::connect(grafico, &QChart::plotAreaChanged, grafico,
                     [grafico, oltre, etichette] { PosizionaEtichette(grafico, oltre, etichette); });
    return grafico;
}

void ImpaginaGrafico(QChart* grafico, const QSizeF& dimensione)
{
    grafico->setGeometry(QRectF(QPointF(0, 0), dimensione));
    // Laying out a chart waits for the event loop; make it happen now.
    grafico->layout()->activate();
    QCoreApplication::processEvents();
}

void DisegnaGrafico(const DatiPaginaRiepilogo& r, QPainter& p, const QRectF& destinazione)
{
    QGraphicsScene scena;
    QChart* grafico = CreaGrafico(r);
    scena.addItem(grafico);  // the scene owns it
    const QSizeF dimensione(LarghezzaScena, LarghezzaScena * destinazione.height() / destinazione.width());
    grafico->setBackgroundVisible(false);
    scena.setSceneRect(QRectF(QPointF(0, 0), dimensione));
    ImpaginaGrafico(grafico, dimensione);
    p.fillRect(destinazione, Qt::white);
    scena.render(&p, destinazione, scena.sceneRect(), Qt::KeepAspectRatio);
}

void SalvaGrafico(const DatiPaginaRiepilogo& r, const QString& percorso)
{
    SalvaFigura([&r](QPainter& p, const QRectF& dove) { DisegnaGrafico(r, p, dove); },
                QStringLiteral("Riepilogo pluriennale: T.E.G. trimestrali e tasso soglia"), percorso);
}

bool StampaGrafico(const DatiPaginaRiepilogo& r, QPrinter& stampante)
{
    return StampaFigura([&r](QPainter& p, const QRectF& dove) { DisegnaGrafico(r, p, dove); }, stampante);
}

QString ScegliFileGrafico(QWidget* genitore, const QString& cartella)
{
    QString filtro;
    QString percorso = QFileDialog::getSaveFileName(
        genitore, QStringLiteral("Salva grafico"), cartella + QStringLiteral("/Riepilogo.pdf"),
        QStringLiteral("Documento PDF (*.pdf);;Immagine PNG (*.png)"), &filtro);
    if (percorso.isEmpty())
        return {};
    if (!percorso.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) &&
        !percorso.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        percorso += filtro.contains(QStringLiteral("png")) ? QStringLiteral(".png") : QStringLiteral(".pdf");
    return percorso;
}
