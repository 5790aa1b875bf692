#include "SoglieInUso.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
// The update in use, when the series in use is one; empty file and date
// for the built-in series.
bool aggiornata = false;
OrigineSoglie origineInUso;

// The record beside the archive's copy; a copy without one is dated by its
// last change.
OrigineSoglie OrigineDellArchivio(const QString& percorso)
{
    OrigineSoglie o;
    QFile record(QDir(cartellaSoglie).filePath(NomeFileOrigineSoglie));
    if (record.open(QIODevice::ReadOnly))
        o = LeggiOrigineSoglie(record.read(4096));
    if (!o.data.isValid())
        o.data = QFileInfo(percorso).lastModified().date();
    return o;
}

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
    aggiornata = false;
    origineInUso = {};
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
                if (serie) {
                    aggiornata = true;
                    origineInUso = OrigineDellArchivio(percorso);
                    return Serie().emplace_back(std::move(*serie));
                }
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

void SostituisciSoglie(SerieSoglie serie, OrigineSoglie origine)
{
    inUso = &Serie().emplace_back(std::move(serie));
    aggiornata = true;
    origineInUso = std::move(origine);
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

QByteArray TestoOrigineSoglie(const OrigineSoglie& o)
{
    QString nome = o.file;
    nome.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return (QStringLiteral("file=") + nome + QStringLiteral("\ndata=") +
            (o.data.isValid() ? o.data.toString(Qt::ISODate) : QString()) + QLatin1Char('\n'))
        .toUtf8();
}

OrigineSoglie LeggiOrigineSoglie(const QByteArray& testo)
{
    OrigineSoglie o;
    for (const QString& riga : QString::fromUtf8(testo).split(QLatin1Char('\n'))) {
        const QString r = riga.trimmed();
        if (r.startsWith(QLatin1String("file=")))
            o.file = r.mid(5).trimmed();
        else if (r.startsWith(QLatin1String("data=")))
            o.data = QDate::fromString(r.mid(5).trimmed(), Qt::ISODate);
    }
    return o;
}

QString TestoFonteSoglie()
{
    const SerieSoglie& serie = SoglieInUso();
    if (serie.Vuota())
        return QStringLiteral("nessuna serie disponibile");
    const PeriodoSoglie& ultimo = serie.Periodi().back();
    const auto data = [](std::chrono::sys_days d) {
        const std::chrono::year_month_day g{d};
        return QDate(int(g.year()), unsigned(g.month()), unsigned(g.day())).toString(QStringLiteral("dd/MM/yyyy"));
    };
    QString t = QStringLiteral("serie storica ufficiale dei TEGM della Banca d'Italia ");
    if (!aggiornata) {
        t += QStringLiteral("incorporata nel programma");
    } else {
        t += origineInUso.file.isEmpty() ? QStringLiteral("aggiornata da un file")
                                         : QStringLiteral("aggiornata dal file \u00ab%1\u00bb").arg(origineInUso.file);
        if (origineInUso.data.isValid())
            t += QStringLiteral(" importato il ") + origineInUso.data.toString(QStringLiteral("dd/MM/yyyy"));
    }
    return t + QStringLiteral(", ultimo periodo dal %1 al %2").arg(data(ultimo.inizio), data(ultimo.fine));
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
