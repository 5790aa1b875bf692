#include "SalvaFigura.h"

#include "Esportazione.h"

#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <cmath>
#include <stdexcept>

namespace {

constexpr double LarghezzaScena = 1000;

std::string Testo(const QString& s) { return s.toStdString(); }

} // namespace

void SalvaFigura(const DisegnoFigura& disegno, const QString& titolo, const QString& percorso)
{
    const std::string errore = "Impossibile salvare il grafico in " + Testo(QDir::toNativeSeparators(percorso));
    // Drawn in memory, then written whole over the old file.
    QBuffer memoria;
    memoria.open(QIODevice::WriteOnly);
    if (percorso.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        QPdfWriter pdf(&memoria);
        pdf.setResolution(RisoluzioneFigura);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
        pdf.setTitle(titolo);
        pdf.setCreator(QStringLiteral("Zelvi T.E.G."));
        QPainter p;
        if (!p.begin(&pdf))
            throw std::runtime_error(errore + ".");
        disegno(p, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())));
        p.end();
    } else {
        const double pixelPerMm = RisoluzioneFigura / 25.4;
        QImage immagine(static_cast<int>(std::lround(LarghezzaFiguraMm * pixelPerMm)),
                        static_cast<int>(std::lround(AltezzaFiguraMm * pixelPerMm)), QImage::Format_RGB32);
        immagine.setDotsPerMeterX(static_cast<int>(std::lround(pixelPerMm * 1000)));
        immagine.setDotsPerMeterY(static_cast<int>(std::lround(pixelPerMm * 1000)));
        immagine.fill(Qt::white);
        {
            QPainter p(&immagine);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            disegno(p, QRectF(immagine.rect()));
        }
        if (!immagine.save(&memoria, "PNG"))
            throw std::runtime_error(errore + ": immagine non scritta.");
    }
    ScriviFileIntero(percorso, memoria.data());
}

bool StampaFigura(const DisegnoFigura& disegno, QPrinter& stampante)
{
    stampante.setPageOrientation(QPageLayout::Landscape);
    QPainter p;
    if (!p.begin(&stampante))
        return false;
    const QRectF pagina = stampante.pageLayout().paintRectPixels(stampante.resolution());
    disegno(p, QRectF(QPointF(0, 0), pagina.size()));
    return p.end();
}

QString ScegliFileFigura(QWidget* genitore, const QString& proposto)
{
    QString filtro;
    QString percorso =
        QFileDialog::getSaveFileName(genitore, QStringLiteral("Salva grafico"), proposto,
                                     QStringLiteral("Documento PDF (*.pdf);;Immagine PNG (*.png)"), &filtro);
    if (percorso.isEmpty())
        return {};
    if (!percorso.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) &&
        !percorso.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        percorso += filtro.contains(QStringLiteral("png")) ? QStringLiteral(".png") : QStringLiteral(".pdf");
    return percorso;
}

void ImpaginaChart(QChart* grafico, const QSizeF& dimensione)
{
    grafico->setGeometry(QRectF(QPointF(0, 0), dimensione));
    // Laying out a chart waits for the event loop; make it happen now.
    grafico->layout()->activate();
    QCoreApplication::processEvents();
}

void DisegnaChart(const std::function<QChart*()>& crea, QPainter& p, const QRectF& destinazione)
{
    QGraphicsScene scena;
    QChart* grafico = crea();
    scena.addItem(grafico);  // the scene owns it
    const QSizeF dimensione(LarghezzaScena, LarghezzaScena * destinazione.height() / destinazione.width());
    grafico->setBackgroundVisible(false);
    scena.setSceneRect(QRectF(QPointF(0, 0), dimensione));
    ImpaginaChart(grafico, dimensione);
    p.fillRect(destinazione, Qt::white);
    scena.render(&p, destinazione, scena.sceneRect(), Qt::KeepAspectRatio);
}
