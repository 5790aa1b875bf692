#include "TassoLegaleInUso.h"

#include "SoglieInUso.h"
#include "Testo.h"

#include <QFile>

#include <optional>

static void InizializzaRisorsaTassoLegale()
{
    // The threshold series' resource file holds this series too; outside any
    // namespace, as the resource's initialiser requires.
    Q_INIT_RESOURCE(soglie);
}

namespace {

struct Lettura {
    SerieTassoLegale serie;
    QString avviso;
};

Lettura Leggi()
{
    InizializzaRisorsaTassoLegale();
    QFile file(QStringLiteral(":/soglie/tasso-legale.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("La serie del tasso legale incorporata nel programma manca: il ricalcolo "
                                   "del conto non può applicare il tasso legale.")};
    std::vector<ErroreTassoLegale> errori;
    std::optional<SerieTassoLegale> serie = SerieTassoLegale::Leggi(TestoSerieUtf8(file.readAll()), errori);
    if (serie)
        return {std::move(*serie), {}};
    QString dove;
    if (!errori.empty())
        dove = (errori.front().riga > 0 ? QStringLiteral(" (riga %1: ").arg(errori.front().riga) : QStringLiteral(" ("))
               + QString::fromStdString(errori.front().testo) + QLatin1Char(')');
    return {{}, QStringLiteral("La serie del tasso legale incorporata nel programma non è valida%1: il ricalcolo "
                               "del conto non può applicare il tasso legale.")
                    .arg(dove)};
}

const Lettura& Letta()
{
    static const Lettura lettura = Leggi();
    return lettura;
}

QString Testo(std::chrono::sys_days d) { return QString::fromStdString(TestoData(d)); }

} // namespace

const SerieTassoLegale& TassoLegaleInUso() { return Letta().serie; }

QString AvvisoTassoLegale() { return Letta().avviso; }

QString TestoTassoLegale()
{
    const SerieTassoLegale& s = TassoLegaleInUso();
    if (s.Vuota())
        return AvvisoTassoLegale();
    return QStringLiteral("Tasso legale noto dal %1 al %2")
        .arg(Testo(s.Periodi().front().dal), Testo(s.Periodi().back().al));
}
