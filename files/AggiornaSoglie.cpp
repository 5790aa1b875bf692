#include "AggiornaSoglie.h"

#include "Italiano.h"
#include "Messaggi.h"
#include "SoglieInUso.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStandardPaths>

#include <archive.h>
#include <archive_entry.h>

#include <map>
#include <memory>
#include <tuple>

namespace {

// Far above any series (the full one is about 300 KB): a larger file or ZIP
// entry is not a series, and is not read into memory.
constexpr qint64 DimensioneMassima = 64 * 1024 * 1024;

QString Nome(const QString& percorso)
{
    return QFileInfo(percorso).fileName();
}

QString TestoData(std::chrono::sys_days giorno)
{
    const std::chrono::year_month_day g{giorno};
    return QDate(int(g.year()), unsigned(g.month()), unsigned(g.day())).toString(QStringLiteral("dd/MM/yyyy"));
}

QString Numero(qint64 n)
{
    return QLocale(QLocale::Italian).toString(n);
}

bool EUnoZip(const QByteArray& byte)
{
    return byte.startsWith("PK\x03\x04") || byte.startsWith("PK\x05\x06");
}

// The one CSV inside a ZIP. Entries of macOS metadata ("__MACOSX/", "._x")
// are not the series and are passed over.
QByteArray CsvNelloZip(const QByteArray& zip, const QString& nomeZip)
{
    std::unique_ptr<archive, decltype(&archive_read_free)> a(archive_read_new(), archive_read_free);
    if (!a)
        throw std::bad_alloc();
    archive_read_support_format_zip(a.get());
    const auto errore = [&](const QString& cosa) {
        const char* dettaglio = archive_error_string(a.get());
        return ErroreFileSoglie(QStringLiteral("Impossibile leggere lo ZIP «%1»: %2%3")
                                    .arg(nomeZip, cosa,
                                         dettaglio ? QStringLiteral(" (%1)").arg(QString::fromUtf8(dettaglio))
                                                   : QString())
                                    .toStdString());
    };
    if (archive_read_open_memory(a.get(), zip.constData(), static_cast<size_t>(zip.size())) != ARCHIVE_OK)
        throw errore(QStringLiteral("formato non riconosciuto"));

    QStringList nomi;
    QByteArray trovato;
    archive_entry* voce = nullptr;
    for (;;) {
        const int esito = archive_read_next_header(a.get(), &voce);
        if (esito == ARCHIVE_EOF)
            break;
        if (esito < ARCHIVE_WARN)
            throw errore(QStringLiteral("archivio danneggiato"));
        const char* percorso = archive_entry_pathname(voce);
        const QString nome = percorso ? QString::fromUtf8(percorso) : QString();
        const QString base = QFileInfo(nome).fileName();
        if (archive_entry_filetype(voce) != AE_IFREG || !base.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ||
            nome.contains(QStringLiteral("__MACOSX/")) || base.startsWith(QStringLiteral("._"))) {
            archive_read_data_skip(a.get());
            continue;
        }
        nomi << nome;
        if (nomi.size() > 1)
            continue;
        char blocco[65536];
        for (;;) {
            const la_ssize_t letti = archive_read_data(a.get(), blocco, sizeof blocco);
            if (letti == 0)
                break;
            if (letti < 0)
                throw errore(QStringLiteral("impossibile estrarre «%1»").arg(nome));
            trovato.append(blocco, static_cast<qsizetype>(letti));
            if (trovato.size() > DimensioneMassima)
                throw errore(QStringLiteral("«%1» è troppo grande per essere la serie dei tassi").arg(nome));
        }
    }
    if (nomi.isEmpty())
        throw ErroreFileSoglie(QStringLiteral("Lo ZIP «%1» non contiene un file CSV.").arg(nomeZip).toStdString());
    if (nomi.size() > 1)
        throw ErroreFileSoglie(QStringLiteral("Lo ZIP «%1» contiene più file CSV (%2): estrarre quello della "
                                              "serie storica e sceglierlo.")
                                   .arg(nomeZip, nomi.join(QStringLiteral(", ")))
                                   .toStdString());
    return trovato;
}

} // namespace

LetturaSoglie LeggiFileSoglie(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        throw ErroreFileSoglie(
            QStringLiteral("Impossibile aprire «%1»: %2").arg(Nome(percorso), ErroreFileInItaliano(file.errorString())).toStdString());
    if (file.size() > DimensioneMassima)
        throw ErroreFileSoglie(
            QStringLiteral("«%1» è troppo grande per essere la serie dei tassi.").arg(Nome(percorso)).toStdString());
    QByteArray byte = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ErroreFileSoglie(
            QStringLiteral("Impossibile leggere «%1»: %2").arg(Nome(percorso), ErroreFileInItaliano(file.errorString())).toStdString());
    if (EUnoZip(byte))
        byte = CsvNelloZip(byte, Nome(percorso));

    LetturaSoglie l;
    const std::string testo = TestoSerieUtf8(byte);
    l.testo = QByteArray::fromStdString(testo);
    l.serie = SerieSoglie::Leggi(testo, l.errori);
    return l;
}

QString TestoErroriSoglie(const std::vector<ErroreSoglie>& errori, int massimo)
{
    QStringList righe;
    for (const ErroreSoglie& e : errori) {
        if (righe.size() == massimo)
            break;
        righe << (e.riga > 0 ? QStringLiteral("riga %1: ").arg(e.riga) : QString()) + QString::fromStdString(e.testo);
    }
    const qsizetype altri = static_cast<qsizetype>(errori.size()) - righe.size();
    if (altri == 1)
        righe << QStringLiteral("… e un altro errore");
    else if (altri > 1)
        righe << QStringLiteral("… e altri %1 errori").arg(Numero(altri));
    return righe.join(QLatin1Char('\n'));
}

QString RiassuntoSoglie(const SerieSoglie& nuova, const SerieSoglie& inUso)
{
    using Chiave = std::tuple<std::chrono::sys_days, std::chrono::sys_days, std::string, std::string>;
    const auto righe = [](const SerieSoglie& s) {
        std::map<Chiave, double> m;
        for (const PeriodoSoglie& p : s.Periodi())
            for (const RigaSoglia& r : p.righe)
                m.emplace(Chiave{p.inizio, p.fine, r.categoria, r.classe}, r.tegm);
        return m;
    };
    const std::map<Chiave, double> vecchie = righe(inUso), nuove = righe(nuova);
    qint64 aggiunte = 0, tolte = 0, cambiate = 0;
    for (const auto& [chiave, tegm] : nuove) {
        const auto it = vecchie.find(chiave);
        if (it == vecchie.end())
            ++aggiunte;
        else if (it->second != tegm)
            ++cambiate;
    }
    for (const auto& [chiave, tegm] : vecchie)
        if (!nuove.count(chiave))
            ++tolte;

    QStringList t;
    if (nuova.Vuota())
        return QStringLiteral("La serie non contiene periodi.");
    t << QStringLiteral("%1 periodi, dal %2 al %3, %4 righe.")
             .arg(Numero(qint64(nuova.Periodi().size())), TestoData(*nuova.PrimaData()),
                  TestoData(*nuova.UltimaData()), Numero(qint64(nuova.NumeroRighe())));
    QStringList differenze;
    differenze << QStringLiteral("%1 righe aggiunte").arg(Numero(aggiunte));
    if (tolte)
        differenze << QStringLiteral("%1 righe tolte").arg(Numero(tolte));
    if (cambiate)
        differenze << QStringLiteral("%1 righe con TEGM diverso").arg(Numero(cambiate));
    t << QStringLiteral("Rispetto alla serie in uso%1: %2.")
             .arg(inUso.UltimaData() ? QStringLiteral(" (fino al %1)").arg(TestoData(*inUso.UltimaData())) : QString(),
                  differenze.join(QStringLiteral(", ")));
    if (inUso.UltimaData() && *nuova.UltimaData() < *inUso.UltimaData())
        t << QStringLiteral("Attenzione: la nuova serie termina prima di quella in uso.");
    const std::vector<const PeriodoSoglie*> lacune = nuova.PeriodiDopoUnaLacuna();
    for (const PeriodoSoglie* p : lacune) {
        const PeriodoSoglie* prima = p - 1;  // periods are one vector, sorted
        t << QStringLiteral("Attenzione: nessuna soglia dal %1 al %2.")
                 .arg(TestoData(prima->fine + std::chrono::days{1}), TestoData(p->inizio - std::chrono::days{1}));
    }
    return t.join(QLatin1Char('\n'));
}

bool AggiornaSoglieDaFile(const QString& percorso, const QString& cartellaArchivio, QWidget* genitore)
{
    const QString invariato = QStringLiteral("Le soglie in uso non sono cambiate.");
    LetturaSoglie l;
    try {
        l = LeggiFileSoglie(percorso);
    } catch (const ErroreFileSoglie& e) {
        Messaggio(QString::fromStdString(e.what()) + QLatin1Char('\n') + invariato, QMessageBox::Warning, genitore);
        return false;
    }
    if (!l.serie) {
        Messaggio(QStringLiteral("Il file «%1» non è una serie dei tassi soglia valida:\n%2\n%3")
                      .arg(Nome(percorso), TestoErroriSoglie(l.errori), invariato),
                  QMessageBox::Warning, genitore);
        return false;
    }
    if (!Domanda(QStringLiteral("Serie dei tassi soglia letta da «%1»:\n%2\n\nUsare questa serie d'ora in poi?")
                     .arg(Nome(percorso), RiassuntoSoglie(*l.serie, SoglieInUso())),
                 genitore))
        return false;

    const QString destinazione = QDir(cartellaArchivio).filePath(NomeFileSoglie);
    // Written under a temporary name and renamed over the old copy only when
    // complete: an interrupted save leaves the previous series in place.
    QSaveFile file(destinazione);
    const bool salvato = QDir().mkpath(cartellaArchivio) && file.open(QIODevice::WriteOnly) &&
                         file.write(l.testo) == l.testo.size() && file.commit();
    if (!salvato) {
        const QString causa = file.errorString().isEmpty() ? QStringLiteral("cartella non accessibile")
                                                           : ErroreFileInItaliano(file.errorString());
        Messaggio(QStringLiteral("Impossibile salvare «%1»: %2\n%3")
                      .arg(QDir::toNativeSeparators(destinazione), causa, invariato),
                  QMessageBox::Warning, genitore);
        return false;
    }
    // Where the series came from, for the reports: the file's name and the
    // day. A record that cannot be written leaves none (a stale one would
    // name another file); the series is then dated by its own file.
    const OrigineSoglie origine{QFileInfo(percorso).fileName(), QDate::currentDate()};
    const QString percorsoOrigine = QDir(cartellaArchivio).filePath(NomeFileOrigineSoglie);
    QFile::remove(percorsoOrigine);
    QSaveFile record(percorsoOrigine);
    const QByteArray testoOrigine = TestoOrigineSoglie(origine);
    if (record.open(QIODevice::WriteOnly) && record.write(testoOrigine) == testoOrigine.size())
        record.commit();
    SostituisciSoglie(std::move(*l.serie), origine);
    Messaggio(QStringLiteral("Serie dei tassi soglia aggiornata. %1.").arg(TestoUltimaDataSoglie()),
              QMessageBox::Information, genitore);
    return true;
}

QString CartellaPropostaSoglie()
{
    for (const auto luogo : {QStandardPaths::DownloadLocation, QStandardPaths::DocumentsLocation}) {
        const QString cartella = QStandardPaths::writableLocation(luogo);
        if (!cartella.isEmpty() && QFileInfo(cartella).isDir())
            return cartella;
    }
    return QDir::homePath();
}

void AggiornaSoglie(const QString& cartellaArchivio, QWidget* genitore)
{
    const QString percorso = QFileDialog::getOpenFileName(
        genitore, QStringLiteral("Aggiorna tassi soglia"), CartellaPropostaSoglie(),
        QStringLiteral("Serie storica dei TEGM (*.zip *.csv);;Tutti i file (*)"));
    if (percorso.isEmpty())
        return;
    AggiornaSoglieDaFile(percorso, cartellaArchivio, genitore);
}
