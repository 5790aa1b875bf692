#include "Stampanti.h"

#include "Esportazione.h"
#include "Messaggi.h"
#include "modStampa.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <optional>

namespace {
std::function<QStringList()> fonteElenco;
std::function<QString()> fontePredefinita;
std::optional<QString> corrente;
SceltaFilePdf sceltaFile;

QString predefinitaDiSistema()
{
    if (fontePredefinita)
        return fontePredefinita();
    return QPrinterInfo::defaultPrinterName();
}

QString sceltaDiSistema(QWidget* genitore, const QString& proposto)
{
    return QFileDialog::getSaveFileName(genitore, DispositivoPdf, proposto,
                                        QStringLiteral("Documenti PDF (*.pdf)"));
}

QString nomePropostoPdf(const Rapporto& r)
{
    QString nome = r.titolo.simplified();
    for (const QChar c : QStringLiteral("\\/:*?\"<>|"))
        nome.replace(c, QLatin1Char(' '));
    nome = nome.simplified();
    if (nome.isEmpty())
        nome = QStringLiteral("Zelvi T.E.G.");
    return QDir(CartellaUscite()).filePath(nome + QStringLiteral(".pdf"));
}
} // namespace

QStringList StampantiDiSistema()
{
    if (fonteElenco)
        return fonteElenco();
    return QPrinterInfo::availablePrinterNames();
}

QStringList DispositiviStampa()
{
    QStringList l = StampantiDiSistema();
    l.removeAll(DispositivoPdf);
    l << DispositivoPdf;
    return l;
}

QString StampanteCorrente()
{
    if (!corrente) {
        const QString predefinita = predefinitaDiSistema();
        corrente = !predefinita.isEmpty() && StampantiDiSistema().contains(predefinita)
                       ? predefinita
                       : DispositivoPdf;
    }
    return *corrente;
}

void ImpostaStampanteCorrente(const QString& nome) { corrente = nome; }

void ImpostaSceltaFilePdf(SceltaFilePdf scelta) { sceltaFile = std::move(scelta); }

void ImpostaFonteStampanti(std::function<QStringList()> elenco, std::function<QString()> predefinita)
{
    fonteElenco = std::move(elenco);
    fontePredefinita = std::move(predefinita);
    corrente.reset();
}

bool StampaRapporto(const Rapporto& r, QWidget* genitore)
{
    const QString nome = StampanteCorrente();
    if (nome == DispositivoPdf) {
        QString file = (sceltaFile ? sceltaFile : sceltaDiSistema)(genitore, nomePropostoPdf(r));
        if (file.isEmpty())
            return false;
        if (QFileInfo(file).suffix().isEmpty())
            file += QStringLiteral(".pdf");
        // Drawn in memory, then written whole: a failed write leaves the
        // file that had the name as it was.
        try {
            ScriviFileIntero(file, RapportoPdf(r));
        } catch (const std::exception& e) {
            Messaggio(QStringLiteral("Stampa non riuscita. ") + QString::fromUtf8(e.what()), QMessageBox::Warning,
                      genitore);
            return false;
        }
        return true;
    }

    const QPrinterInfo info = QPrinterInfo::printerInfo(nome);
    if (info.isNull() || !StampantiDiSistema().contains(nome)) {
        Messaggio(QStringLiteral("Stampa non riuscita: il dispositivo di stampa \"%1\" non è "
                                 "disponibile. Sceglierne un altro con \"Seleziona dispositivo di stampa\".")
                      .arg(nome),
                  QMessageBox::Warning, genitore);
        return false;
    }
    QPrinter stampante(info, QPrinter::HighResolution);
    if (!StampaSuStampante(r, stampante)) {
        Messaggio(QStringLiteral("Stampa non riuscita: il dispositivo di stampa \"%1\" ha "
                                 "segnalato un errore.")
                      .arg(nome),
                  QMessageBox::Warning, genitore);
        return false;
    }
    return true;
}
