// Updating the threshold series: faulty files change nothing and say what
// and where; a good one (CSV or ZIP, Latin-1 or UTF-8) is taken and is still
// in use after a restart; the built-in series is there without any file.
#include "AggiornaSoglie.h"
#include "Italiano.h"
#include "Messaggi.h"
#include "SoglieInUso.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <archive.h>
#include <archive_entry.h>

using namespace std::chrono;

namespace {

QByteArray SerieIncorporata()
{
    QFile f(QStringLiteral(":/soglie/tegm-serie-storica.csv"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("serie incorporata assente");
    return f.readAll();
}

// The built-in series with one more quarter, 01/01/2027 - 31/03/2027, a copy
// of the last one.
QByteArray SerieConUnTrimestreInPiu()
{
    QByteArray testo = SerieIncorporata();
    QByteArray aggiunta;
    for (const QByteArray& riga : testo.split('\n'))
        if (riga.startsWith("01/10/2026;31/12/2026;"))
            aggiunta += "01/01/2027;31/03/2027;" + riga.mid(22) + '\n';
    return testo + aggiunta;
}

void Scrivi(const QString& percorso, const QByteArray& byte)
{
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(byte);
}

// A ZIP with the given entries, written with libarchive.
void ScriviZip(const QString& percorso, const QList<QPair<QByteArray, QByteArray>>& voci)
{
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    QCOMPARE(archive_write_open_filename(a, QFile::encodeName(percorso).constData()), ARCHIVE_OK);
    for (const auto& [nome, contenuto] : voci) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, nome.constData());
        archive_entry_set_size(e, contenuto.size());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_write_header(a, e);
        archive_write_data(a, contenuto.constData(), static_cast<size_t>(contenuto.size()));
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
}

// The text with line `n` (1 = header) replaced.
QByteArray ConRiga(QByteArray testo, int n, const QByteArray& riga)
{
    QList<QByteArray> righe = testo.split('\n');
    righe[n - 1] = riga;
    return righe.join('\n');
}

} // namespace

class TestAggiornaSoglie : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void serieIncorporata();
    void fileErrati_data();
    void fileErrati();
    void fileBuono();
    void salvataggioImpossibileInItaliano();

private:
    QTemporaryDir dir_;
    QString archivio_;
    QMessageBox::StandardButton risposta_ = QMessageBox::Yes;
};

void TestAggiornaSoglie::init()
{
    archivio_ = dir_.path() + QStringLiteral("/Archivio");
    QDir(archivio_).removeRecursively();
    ImpostaCartellaSoglie(archivio_);
    risposta_ = QMessageBox::Yes;
    ImpostaRisponditore([this](const QString&, QMessageBox::StandardButtons) { return risposta_; });
}

void TestAggiornaSoglie::cleanup()
{
    ImpostaRisponditore(nullptr);
}

void TestAggiornaSoglie::serieIncorporata()
{
    // No copy in the archive: the series compiled into the program.
    QCOMPARE(int(SoglieInUso().NumeroRighe()), 2667);
    QCOMPARE(TestoUltimaDataSoglie(), QStringLiteral("Soglie note fino al 31/12/2026"));
    QVERIFY(AvvisoSoglie().isEmpty());

    // A faulty copy in the archive is not used, and says why.
    QDir().mkpath(archivio_);
    Scrivi(archivio_ + "/tegm-serie-storica.csv", ConRiga(SerieIncorporata(), 3, "x"));
    ImpostaCartellaSoglie(archivio_);
    QCOMPARE(int(SoglieInUso().NumeroRighe()), 2667);
    QVERIFY2(AvvisoSoglie().contains("riga 3: 1 campi invece di 6"), qPrintable(AvvisoSoglie()));
}

void TestAggiornaSoglie::fileErrati_data()
{
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<bool>("zip");
    QTest::addColumn<QString>("atteso");
    const QByteArray s = SerieIncorporata();
    QTest::newRow("data") << ConRiga(s, 5, "32/04/1997;30/06/1997;FACTORING;x;1,00;1,50") << false
                          << "riga 5: data di inizio non valida «32/04/1997»";
    QTest::newRow("numero") << ConRiga(s, 6, "02/04/1997;30/06/1997;FACTORING;x;abc;1,50") << false
                            << "riga 6: TEGM non valido «abc»";
    QTest::newRow("colonne") << ConRiga(s, 7, "02/04/1997;30/06/1997;FACTORING;1,00;1,50") << false
                             << "riga 7: 5 campi invece di 6";
    QTest::newRow("soglia lontana") << ConRiga(s, 2668, "01/10/2026;31/12/2026;X;y;10,00;20,00") << false
                                    << "riga 2668: soglia 20,00 lontana dal valore di legge 16,50";
    QTest::newRow("coppia ripetuta") << QByteArray(s + s.split('\n').at(1) + '\n') << false
                                     << "riga 2669: categoria e classe già presenti nel periodo alla riga 2";
    QTest::newRow("sovrapposto") << QByteArray(s + "15/12/2026;31/03/2027;X;y;10,00;16,50\n") << false
                                 << "riga 2669: il periodo 15/12/2026 - 31/03/2027 si sovrappone";
    QTest::newRow("nello zip") << ConRiga(s, 9, "02/04/1997;30/06/1997;FACTORING;x;1,00;1,50;") << true
                               << "riga 9: 7 campi invece di 6";
    QTest::newRow("zip senza csv") << QByteArray() << true << "non contiene un file CSV";
    QTest::newRow("zip rovinato") << QByteArray("PK\x03\x04rovinato") << false << "Impossibile leggere lo ZIP";
    QTest::newRow("altro file") << QByteArray("\x89PNG\r\n") << false << "riga 1: intestazione diversa";
}

void TestAggiornaSoglie::fileErrati()
{
    QFETCH(QByteArray, contenuto);
    QFETCH(bool, zip);
    QFETCH(QString, atteso);
    // A copy already taken stays as it is.
    QDir().mkpath(archivio_);
    const QString copia = archivio_ + "/tegm-serie-storica.csv";
    Scrivi(copia, SerieIncorporata());
    const SerieSoglie* prima = &SoglieInUso();

    const QString scelto = dir_.path() + (zip ? "/serie.zip" : "/serie.csv");
    if (zip)
        ScriviZip(scelto, contenuto.isEmpty() ? QList<QPair<QByteArray, QByteArray>>{{"leggimi.txt", "x"}}
                                              : QList<QPair<QByteArray, QByteArray>>{{"TEGM/serie.csv", contenuto}});
    else
        Scrivi(scelto, contenuto);
    QVERIFY(!AggiornaSoglieDaFile(scelto, archivio_));
    const QStringList messaggi = MessaggiMostrati();
    QCOMPARE(messaggi.size(), 1);
    QVERIFY2(messaggi[0].contains(atteso), qPrintable(messaggi[0]));
    QVERIFY(messaggi[0].contains("non sono cambiate"));
    QCOMPARE(&SoglieInUso(), prima);
    QFile f(copia);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), SerieIncorporata());
}

void TestAggiornaSoglie::fileBuono()
{
    // Latin-1, as Banca d'Italia may publish it, inside a ZIP with macOS
    // metadata beside it.
    const QByteArray utf8 = SerieConUnTrimestreInPiu();
    const QByteArray latin1 = QString::fromUtf8(utf8).toLatin1();
    QVERIFY(latin1 != utf8);
    const QString zip = dir_.path() + "/TEGM_serie_storica.zip";
    ScriviZip(zip, {{"__MACOSX/._TEGM.csv", "xx"}, {"TEGM.csv", latin1}});

    // Answering "No" to the summary changes nothing.
    risposta_ = QMessageBox::No;
    QVERIFY(!AggiornaSoglieDaFile(zip, archivio_));
    QStringList messaggi = MessaggiMostrati();
    QCOMPARE(messaggi.size(), 1);
    const int righeAggiunte = int(SoglieIncorporate().Periodi().back().righe.size());
    QVERIFY2(messaggi[0].contains(QStringLiteral("121 periodi, dal 02/04/1997 al 31/03/2027, %1 righe.")
                                      .arg(QLocale(QLocale::Italian).toString(2667 + righeAggiunte))) &&
                 messaggi[0].contains(QStringLiteral("(fino al 31/12/2026): %1 righe aggiunte.").arg(righeAggiunte)),
             qPrintable(messaggi[0]));
    QVERIFY(!QFile::exists(archivio_ + "/tegm-serie-storica.csv"));
    QCOMPARE(TestoUltimaDataSoglie(), QStringLiteral("Soglie note fino al 31/12/2026"));

    risposta_ = QMessageBox::Yes;
    QVERIFY(AggiornaSoglieDaFile(zip, archivio_));
    QCOMPARE(TestoUltimaDataSoglie(), QStringLiteral("Soglie note fino al 31/03/2027"));
    QFile salvato(archivio_ + "/tegm-serie-storica.csv");
    QVERIFY(salvato.open(QIODevice::ReadOnly));
    QCOMPARE(salvato.readAll(), utf8);  // kept as UTF-8

    // A restart reads it back from the archive.
    ImpostaCartellaSoglie(QString());
    QCOMPARE(TestoUltimaDataSoglie(), QStringLiteral("Soglie note fino al 31/12/2026"));
    ImpostaCartellaSoglie(archivio_);
    QCOMPARE(TestoUltimaDataSoglie(), QStringLiteral("Soglie note fino al 31/03/2027"));
    QVERIFY(AvvisoSoglie().isEmpty());
    const PeriodoSoglie* nuovo = SoglieInUso().PeriodoDi(sys_days{2027y / February / 1});
    QVERIFY(nuovo);
    QVERIFY(SerieSoglie::CategoriaDelPeriodo(*nuovo, "MUTUI IPOTECARI A TASSO FISSO") ==
            "MUTUI IPOTECARI A TASSO FISSO (dal 1° luglio 2004)");
}

// A series that cannot be saved is said so in Italian, whatever the system's
// language; the folder first offered is one the user has.
void TestAggiornaSoglie::salvataggioImpossibileInItaliano()
{
    QCOMPARE(ErroreFileInItaliano("Read-only file system"), QStringLiteral("file system in sola lettura"));
    QCOMPARE(ErroreFileInItaliano("Cannot open: No space left on device"),
             QStringLiteral("Cannot open: spazio esaurito sul disco"));

    const QString csv = dir_.path() + "/serie.csv";
    Scrivi(csv, SerieIncorporata());
    const SerieSoglie* prima = &SoglieInUso();
    // No one may create files among the kernel's: "Permission denied" in English.
    QVERIFY(!AggiornaSoglieDaFile(csv, QStringLiteral("/sys")));
    const QStringList messaggi = MessaggiMostrati();
    QCOMPARE(messaggi.size(), 2);  // the summary, then the failure
    QVERIFY2(messaggi[1].startsWith("Impossibile salvare") &&
                 !messaggi[1].contains(QRegularExpression("denied|permitted|read-only|directory|device",
                                                          QRegularExpression::CaseInsensitiveOption)),
             qPrintable(messaggi[1]));
    QCOMPARE(&SoglieInUso(), prima);

    const QByteArray casa = qgetenv("HOME");
    qputenv("HOME", dir_.path().toUtf8());
    QStandardPaths::setTestModeEnabled(false);
    const QString proposta = CartellaPropostaSoglie();
    qputenv("HOME", casa);
    QVERIFY2(QFileInfo(proposta).isDir(), qPrintable(proposta));
}

QTEST_GUILESS_MAIN(TestAggiornaSoglie)
#include "test_aggiorna_soglie.moc"
