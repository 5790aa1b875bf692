// CSV profiles: kept as JSON, found again by a file's header, previewed row
// by row for the mapping dialog, guessed for a new file.
#include "AiutiEstratti.h"
#include "ProfiliDiProva.h"

#include <QtTest>

#include <QJsonDocument>

namespace {

QByteArray Json(const ProfiloCSV& p)
{
    return QJsonDocument(ProfiloInJson(p)).toJson(QJsonDocument::Compact);
}

} // namespace

class TestProfiliCSV : public QObject {
    Q_OBJECT
private slots:
    void profiloInJsonERitorno();
    void profiloDifettoso_data();
    void profiloDifettoso();
    void archivioSalvaERitrovaPerIntestazione();
    void archivioDanneggiatoNonCambiaNulla();
    void anteprimaConIDifettiDiOgniRiga();
    void profiloPropostoPerUnFileNuovo_data();
    void profiloPropostoPerUnFileNuovo();
};

void TestProfiliCSV::profiloInJsonERitorno()
{
    ProfiloCSV p = ProfiloBancaDiProva();
    p.separatore = u'\t';
    p.decimale = u'.';
    p.formatoData = FormatoData::GGMMAA;
    p.colonnaCausale = 6;
    p.colonneDescrizione = {2, 7};
    QString errore;
    const auto letto = ProfiloDaJson(ProfiloInJson(p), &errore);
    QVERIFY2(letto, qPrintable(errore));
    QCOMPARE(Json(*letto), Json(p));
}

void TestProfiliCSV::profiloDifettoso_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("atteso");
    const QByteArray sano = Json(ProfiloBancaDiProva());
    QTest::newRow("formato di data ignoto") << QByteArray(sano).replace("gg/mm/aaaa", "mm/gg/aaaa")
                                            << "Il formato delle date «mm/gg/aaaa» del profilo «Banca di prova» non è riconosciuto.";
    QTest::newRow("importo e Dare/Avere insieme") << QByteArray(sano).replace("\"avere\":4", "\"avere\":4,\"importo\":7")
                                                  << "deve indicare o la colonna dell'importo o le colonne Dare e Avere";
    QTest::newRow("Dare senza Avere") << QByteArray(sano).replace("\"avere\":4,", "")
                                      << "deve indicare o la colonna dell'importo o le colonne Dare e Avere";
    QTest::newRow("senza data contabile") << QByteArray(sano).replace("\"dataContabile\":0,", "")
                                          << "non indica la colonna della data contabile";
    QTest::newRow("senza descrizione") << QByteArray(sano).replace("\"descrizione\":[2]", "\"descrizione\":[]")
                                       << "non indica la colonna della descrizione";
    QTest::newRow("separatore uguale al decimale") << QByteArray(sano).replace("\"separatore\":\";\"", "\"separatore\":\",\"")
                                                   << "Il separatore dei campi del profilo «Banca di prova» non è valido.";
    QTest::newRow("senza nome") << QByteArray(sano).replace("Banca di prova", "") << "Il profilo non ha un nome.";
}

void TestProfiliCSV::profiloDifettoso()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, atteso);
    QString errore;
    QVERIFY(!ProfiloDaJson(QJsonDocument::fromJson(json).object(), &errore));
    QVERIFY2(errore.contains(atteso), qPrintable(errore));
}

void TestProfiliCSV::archivioSalvaERitrovaPerIntestazione()
{
    QTemporaryDir cartella;
    ArchivioProfiliCSV archivio(cartella.path());
    QString errore;
    QVERIFY(archivio.Carica(&errore));  // no file yet: empty
    QVERIFY(archivio.Profili().empty());
    archivio.Metti(ProfiloContoOnline());
    archivio.Metti(ProfiloBancaDiProva());
    ProfiloCSV rinominato = ProfiloBancaDiProva();
    rinominato.righeFinali = 0;
    archivio.Metti(rinominato);  // same name: replaces
    QCOMPARE(archivio.Profili().size(), std::size_t(2));
    QVERIFY2(archivio.Salva(&errore), qPrintable(errore));

    ArchivioProfiliCSV riletto(cartella.path());
    QVERIFY2(riletto.Carica(&errore), qPrintable(errore));
    QCOMPARE(riletto.Profili().size(), std::size_t(2));
    QCOMPARE(riletto.Trova(QStringLiteral("Banca di prova"))->righeFinali, 0);
    // The header line, whatever its case and spaces, finds the profile.
    const ProfiloCSV* trovato = riletto.PerFile(Fissaggio(QStringLiteral("movimenti_cp1252.csv")));
    QVERIFY(trovato);
    QCOMPARE(trovato->nome, QStringLiteral("Banca di prova"));
    QTemporaryDir altra;
    const QString simile = ScriviFile(altra.path(), QStringLiteral("simile.csv"),
                                      "Estratto;;\r\nDATA CONTABILE ; Data valuta;Descrizione;Dare;Avere;Saldo\r\n");
    QVERIFY(!riletto.PerFile(simile));  // spaces around the separator are not the same header
    const QString stesso = ScriviFile(altra.path(), QStringLiteral("stesso.csv"),
                                      "Estratto;;\r\nDATA CONTABILE;Data  valuta;Descrizione;Dare;Avere;Saldo  \r\n");
    QCOMPARE(riletto.PerFile(stesso), riletto.Trova(QStringLiteral("Banca di prova")));
    QCOMPARE(riletto.PerFile(Fissaggio(QStringLiteral("movimenti_utf8.csv")))->nome, QStringLiteral("Conto online"));
    QVERIFY(!riletto.PerFile(Fissaggio(QStringLiteral("estratto.cbi"))));
    QVERIFY(riletto.Togli(QStringLiteral("Conto online")));
    QVERIFY(!riletto.Togli(QStringLiteral("Conto online")));

    // A folder that is not there: the store is not written, and says why.
    ArchivioProfiliCSV senzaCartella(cartella.filePath(QStringLiteral("manca/ancora")));
    senzaCartella.Metti(ProfiloBancaDiProva());
    QVERIFY(!senzaCartella.Salva(&errore));
    QVERIFY2(errore.startsWith(QStringLiteral("Il file dei profili CSV")), qPrintable(errore));
}

void TestProfiliCSV::archivioDanneggiatoNonCambiaNulla()
{
    QTemporaryDir cartella;
    ArchivioProfiliCSV archivio(cartella.path());
    archivio.Metti(ProfiloBancaDiProva());
    QString errore;
    for (const QByteArray& guasto : {QByteArray("{\"profili\": [ {\"nome\": "),
                                     QByteArray("{\"profili\": [ {\"nome\": \"x\", \"formatoData\": \"gg/mm/aaaa\"} ]}")}) {
        ScriviFile(cartella.path(), QStringLiteral("profili-csv.json"), guasto);
        QVERIFY(!archivio.Carica(&errore));
        QVERIFY2(errore.contains(QStringLiteral("è danneggiato")), qPrintable(errore));
        QCOMPARE(archivio.Profili().size(), std::size_t(1));
    }
}

void TestProfiliCSV::anteprimaConIDifettiDiOgniRiga()
{
    const AnteprimaCSV a = AnteprimaFileCSV(Fissaggio(QStringLiteral("movimenti_cp1252.csv")), ProfiloBancaDiProva(), 10);
    QVERIFY(a.errore.isEmpty());
    QVERIFY(!a.utf8);
    QCOMPARE(a.intestazione.size(), 6);
    QCOMPARE(a.intestazione[3], QStringLiteral("Dare"));
    QCOMPARE(a.colonne, 6);
    QStringList righe;
    for (const RigaAnteprima& r : a.righe)
        righe << QStringLiteral("%1: %2").arg(r.riga).arg(r.letta.movimento ? Riga(*r.letta.movimento) : r.letta.difetto);
    QCOMPARE(righe, (QStringList{
                        "3: 31/03/2023 31/03/2023 -5,00 / Canone mensile € 5 - caffè @0",
                        "4: 15/03/2023 14/03/2023 1.000,00 / Bonifico; rif. \"ABC\" @0",
                        "6: 02/03/2023 01/03/2023 -254,50 / Pagamento POS @0",
                        // The preview shows the closing line too: the user sees it needs skipping.
                        "7: data contabile: «Saldo finale» non è una data nel formato gg/mm/aaaa.",
                    }));
    QCOMPARE(*a.righe[1].letta.saldo, Centesimi(124550));
    QCOMPARE(AnteprimaFileCSV(Fissaggio(QStringLiteral("movimenti_cp1252.csv")), ProfiloBancaDiProva(), 2).righe.size(), std::size_t(2));
    QVERIFY(!AnteprimaFileCSV(QStringLiteral("/non/esiste.csv"), ProfiloBancaDiProva()).errore.isEmpty());
    // The closing line skipped by the profile is marked where the file ends
    // within the rows shown, after the first rows where it does not.
    ProfiloCSV finale = ProfiloBancaDiProva();
    finale.righeFinali = 1;
    const auto finali = [&finale](int massime) {
        QStringList righe;
        for (const RigaAnteprima& r : AnteprimaFileCSV(Fissaggio(QStringLiteral("movimenti_cp1252.csv")), finale, massime).righe)
            righe << QStringLiteral("%1%2").arg(r.riga).arg(r.finale ? "f" : "");
        return righe.join(u' ');
    };
    QCOMPARE(finali(10), QStringLiteral("3 4 6 7f"));
    QCOMPARE(finali(2), QStringLiteral("3 4"));
    QCOMPARE(finali(3), QStringLiteral("3 4 6 7f"));
    // A profile still without its amount or date column, as the mapping
    // dialog previews it while the user fills it in: each row says so.
    ProfiloCSV incompleto = ProfiloBancaDiProva();
    incompleto.colonnaDare = incompleto.colonnaAvere = -1;
    QCOMPARE(AnteprimaFileCSV(Fissaggio(QStringLiteral("movimenti_cp1252.csv")), incompleto).righe[0].letta.difetto,
             QStringLiteral("non c'è l'importo né in Dare né in Avere."));
    incompleto.colonnaContabile = -1;
    QCOMPARE(AnteprimaFileCSV(Fissaggio(QStringLiteral("movimenti_cp1252.csv")), incompleto).righe[0].letta.difetto,
             QStringLiteral("manca la colonna della data contabile."));
}

void TestProfiliCSV::profiloPropostoPerUnFileNuovo_data()
{
    QTest::addColumn<QString>("fissaggio");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("punto e virgola, Dare/Avere, riga prima dell'intestazione")
        << "movimenti_cp1252.csv"
        << R"({"colonne":{"avere":4,"dare":3,"dataContabile":0,"dataValuta":1,"descrizione":[2],"saldo":5},"decimale":",",)"
           R"("formatoData":"gg/mm/aaaa","intestazione":"Data contabile;Data valuta;Descrizione;Dare;Avere;Saldo",)"
           R"("nome":"movimenti_cp1252","righeFinali":0,"righeIniziali":2,"separatore":";"})";
    QTest::newRow("virgola, importo unico, date ISO")
        << "movimenti_utf8.csv"
        << R"({"colonne":{"dataContabile":0,"dataValuta":1,"descrizione":[3],"importo":2},"decimale":".",)"
           R"("formatoData":"aaaa-mm-gg","intestazione":"Booking date,Value date,Amount,Description",)"
           R"("nome":"movimenti_utf8","righeFinali":0,"righeIniziali":1,"separatore":","})";
}

void TestProfiliCSV::profiloPropostoPerUnFileNuovo()
{
    QFETCH(QString, fissaggio);
    QFETCH(QString, atteso);
    const ProfiloCSV p = ProfiloProposto(Fissaggio(fissaggio));
    QCOMPARE(QString::fromUtf8(Json(p)), atteso);
    QVERIFY(p.Difetto().isEmpty());
}

QTEST_GUILESS_MAIN(TestProfiliCSV)
#include "test_profili_csv.moc"
