#include "SoglieInUso.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <deque>
#include <stdexcept>

namespace {

// Every series read during the run: replacing one never leaves a reference
// dangling in a window that still holds it.
std::deque<SerieSoglie>& Serie()
{
    static std::deque<SerieSoglie> serie;
    return serie;
}

const SerieSoglie* inUso = nullptr;
QString cartellaSoglie;
QString avviso;

QString TestoErrori(const std::vector<ErroreSoglie>& errori)
{
    if (errori.empty())
        return {};
    const ErroreSoglie& e = errori.front();
    QString t = e.riga > 0 ? QStringLiteral("riga %1: ").arg(e.riga) : QString();
    t += QString::fromStdString(e.testo);
    if (errori.size() > 1)
        t += QStringLiteral(" e altri %1 errori").arg(errori.size() - 1);
    return t;
}

const SerieSoglie& Carica()
{
    avviso.clear();
    if (!cartellaSoglie.isEmpty()) {
        const QString percorso = QDir(cartellaSoglie).filePath(NomeFileSoglie);
        QFile file(percorso);
        if (file.exists()) {
            if (!file.open(QIODevice::ReadOnly)) {
                avviso = QStringLiteral("Impossibile leggere %1: %2").arg(QDir::toNativeSeparators(percorso),
                                                                          file.errorString());
            } else {
                std::vector<ErroreSoglie> errori;
                std::optional<SerieSoglie> serie = SerieSoglie::Leggi(TestoSerieUtf8(file.readAll()), errori);
                if (serie)
                    return Serie().emplace_back(std::move(*serie));
                avviso = QStringLiteral("Il file %1 non è valido (%2)").arg(QDir::toNativeSeparators(percorso),
                                                                           TestoErrori(errori));
            }
        }
    }
    try {
        return SoglieIncorporate();
    } catch (const std::exception& errore) {
        avviso = QString::fromStdString(errore.what());
        return Serie().emplace_back();
    }
}

} // namespace

static void InizializzaRisorsaSoglie()
{
    // Outside any namespace, as the resource's initialiser requires.
    Q_INIT_RESOURCE(soglie);
}

const SerieSoglie& SoglieIncorporate()
{
    static const SerieSoglie* incorporata = nullptr;
    if (incorporata)
        return *incorporata;
    InizializzaRisorsaSoglie();
    QFile file(QStringLiteral(":/soglie/tegm-serie-storica.csv"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("La serie delle soglie incorporata nel programma manca");
    std::vector<ErroreSoglie> errori;
    std::optional<SerieSoglie> serie = SerieSoglie::Leggi(TestoSerieUtf8(file.readAll()), errori);
    if (!serie)
        throw std::runtime_error("La serie delle soglie incorporata nel programma non è valida: " +
                                 TestoErrori(errori).toStdString());
    incorporata = &Serie().emplace_back(std::move(*serie));
    return *incorporata;
}

const SerieSoglie& SoglieInUso()
{
    if (!inUso)
        inUso = &Carica();
    return *inUso;
}

void ImpostaCartellaSoglie(const QString& cartella)
{
    cartellaSoglie = cartella;
    inUso = nullptr;
    avviso.clear();
    emit SegnaleSoglie().cambiate();
}

QString CartellaSoglie()
{
    return cartellaSoglie;
}

void SostituisciSoglie(SerieSoglie serie)
{
    inUso = &Serie().emplace_back(std::move(serie));
    avviso.clear();
    emit SegnaleSoglie().cambiate();
}

QString AvvisoSoglie()
{
    SoglieInUso();
    return avviso;
}

QString TestoUltimaDataSoglie()
{
    const std::optional<std::chrono::sys_days> ultima = SoglieInUso().UltimaData();
    if (!ultima)
        return QStringLiteral("Soglie non disponibili");
    const std::chrono::year_month_day g{*ultima};
    const QDate data(int(g.year()), unsigned(g.month()), unsigned(g.day()));
    return QStringLiteral("Soglie note fino al %1").arg(data.toString(QStringLiteral("dd/MM/yyyy")));
}

std::string TestoSerieUtf8(const QByteArray& byte)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString testo = utf8.decode(byte);
    if (!utf8.hasError())
        return testo.toStdString();
    return QString::fromLatin1(byte).toStdString();
}

NotificaSoglie& SegnaleSoglie()
{
    static NotificaSoglie segnale;
    return segnale;
}
