#include "Anteprima.h"

#include "Stampanti.h"
#include "modStampa.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

namespace {
std::function<void(QPrintPreviewDialog&)> mostraAnteprima;
}

void ImpostaMostraAnteprima(std::function<void(QPrintPreviewDialog&)> mostra)
{
    mostraAnteprima = std::move(mostra);
}

void AnteprimaTabellaCorrente(const Rapporto& rapporto, QWidget* genitore)
{
    auto r = std::make_shared<Rapporto>(rapporto);

    // The current device when it is one of the system's printers, so that
    // "Stampa" in the preview goes where the print command would; otherwise
    // a PDF file, as the program's own device does.
    std::unique_ptr<QPrinter> stampante;
    const QString nome = StampanteCorrente();
    const QPrinterInfo info = nome == DispositivoPdf ? QPrinterInfo() : QPrinterInfo::printerInfo(nome);
    if (!info.isNull()) {
        stampante = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        stampante = std::make_unique<QPrinter>(QPrinter::HighResolution);
        stampante->setOutputFormat(QPrinter::PdfFormat);
    }
    PreparaStampante(*r, *stampante);

    QPrintPreviewDialog anteprima(stampante.get(), genitore);
    anteprima.setObjectName(QStringLiteral("Anteprima"));
    anteprima.setWindowTitle(QStringLiteral("Anteprima di stampa - ") + r->titolo);
    QObject::connect(&anteprima, &QPrintPreviewDialog::paintRequested, &anteprima, [r](QPrinter* p) {
        QPainter pittore(p);
        DisegnaRapporto(*r, pittore, p->resolution() / 1440.0);
    });
    if (genitore)
        anteprima.resize(genitore->window()->size() * 0.8);
    if (mostraAnteprima)
        mostraAnteprima(anteprima);
    else
        anteprima.exec();
}
