#include "MaggiorazioniInUso.h"

#include "SoglieInUso.h"

#include <QFile>

namespace {

QString avvisoLettura;

} // namespace

static void InizializzaRisorsaMaggiorazioni()
{
    // The surcharges share the threshold series' resource file. Registering
    // it again is harmless; outside any namespace, as the initialiser requires.
    Q_INIT_RESOURCE(soglie);
}

SerieMaggiorazioniMora LeggiMaggiorazioni(const QString& percorso, QString& avviso)
{
    avviso.clear();
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        avviso = QStringLiteral("La serie delle maggiorazioni di mora incorporata nel programma manca: "
                                "le soglie degli interessi di mora non sono determinabili.");
        return {};
    }
    std::vector<ErroreSoglie> errori;
    std::optional<SerieMaggiorazioniMora> serie =
        SerieMaggiorazioniMora::Leggi(TestoSerieUtf8(file.readAll()), errori);
    if (serie)
        return std::move(*serie);
    QString dove;
    if (!errori.empty()) {
        const ErroreSoglie& e = errori.front();
        dove = (e.riga > 0 ? QStringLiteral("riga %1: ").arg(e.riga) : QString()) + QString::fromStdString(e.testo);
    }
    avviso = QStringLiteral("La serie delle maggiorazioni di mora incorporata nel programma non è valida (%1): "
                            "le soglie degli interessi di mora non sono determinabili.")
                 .arg(dove);
    return {};
}

const SerieMaggiorazioniMora& MaggiorazioniInUso()
{
    static const SerieMaggiorazioniMora serie = [] {
        InizializzaRisorsaMaggiorazioni();
        return LeggiMaggiorazioni(RisorsaMaggiorazioni, avvisoLettura);
    }();
    return serie;
}

QString AvvisoMaggiorazioni()
{
    MaggiorazioniInUso();
    return avvisoLettura;
}
