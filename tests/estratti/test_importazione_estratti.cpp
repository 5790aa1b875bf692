// The import of statement files: each format read to the movements and
// balances its fixture holds, every bad file refused whole with its fault and
// nothing added, duplicates skipped, large files read as they come.
#include "AiutiEstratti.h"
#include "ImportaEstratti.h"
#include "ProfiliDiProva.h"

#include <QtTest>

#include <fstream>

namespace {

const std::chrono::sys_days Oggi = GG(1, 1, 2024);

// The fixture with its lines (records) changed.
QByteArray Cambiato(const QString& fissaggio, const std::function<void(QList<QByteArray>&)>& cambia)
{
    const QByteArray testo = LeggiFissaggio(fissaggio);
    const QByteArray fine = testo.contains("\r\n") ? "\r\n" : "\n";
    QList<QByteArray> righe = testo.split('\n');
    for (QByteArray& r : righe)
        if (r.endsWith('\r'))
            r.chop(1);
    cambia(righe);
    return righe.join(fine);
}

// Positions da.. (1-based) of line n (from 1) replaced by testo.
std::function<void(QList<QByteArray>&)> Metti(int n, int da, const QByteArray& testo)
{
    return [=](QList<QByteArray>& righe) { righe[n - 1].replace(da - 1, testo.size(), testo); };
}

QByteArray Sostituito(const QString& fissaggio, const QByteArray& prima, const QByteArray& dopo)
{
    QByteArray testo = LeggiFissaggio(fissaggio);
    const qsizetype i = testo.indexOf(prima);
    if (i < 0)
        qFatal("%s not in %s", prima.constData(), qPrintable(fissaggio));
    return testo.replace(i, prima.size(), dopo);
}

qint64 MemoriaResidente()
{
    std::ifstream statm("/proc/self/statm");
    long pagine = 0, residenti = 0;
    statm >> pagine >> residenti;
    return qint64(residenti) * 4096;
}

} // namespace

class TestImportazioneEstratti : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void leggeOgniFormato_data();
    void leggeOgniFormato();
    void rifiutaIFileDifettosi_data();
    void rifiutaIFileDifettosi();
    void unFileRifiutatoNonFermaGliAltri();
    void avvisaPerUnAltroContoESenzaSaldi();
    void duplicatiTraFileEConteggio();
    void stornoNelVersoCheQuadra();
    void fileGrandeLettoAPezziEAnnullabile();

private:
    EsitoImportazione Importa(const QStringList& percorsi, const std::vector<Movimento>& presenti = {});

    QTemporaryDir cartella_;
    std::unique_ptr<ArchivioProfiliCSV> profili_;
};

void TestImportazioneEstratti::initTestCase()
{
    QVERIFY(cartella_.isValid());
    profili_ = std::make_unique<ArchivioProfiliCSV>(cartella_.path());
    profili_->Metti(ProfiloBancaDiProva());
    profili_->Metti(ProfiloContoOnline());
}

EsitoImportazione TestImportazioneEstratti::Importa(const QStringList& percorsi, const std::vector<Movimento>& presenti)
{
    OpzioniImportazione opzioni;
    opzioni.oggi = Oggi;
    opzioni.profili = profili_.get();
    return ImportaEstratti(percorsi, presenti, opzioni);
}

void TestImportazioneEstratti::leggeOgniFormato_data()
{
    QTest::addColumn<QString>("fissaggio");
    QTest::addColumn<QString>("formato");
    QTest::addColumn<QStringList>("movimenti");
    QTest::addColumn<QStringList>("saldi");
    QTest::addColumn<QString>("conto");

    QTest::newRow("CBI, due estratti, 63 accodati, Latin-1")
        << "estratto.cbi" << "CBI"
        << QStringList{"02/01/2023 02/01/2023 -150,00 26/BO BONIFICO A FAVORE DI ROSSI SALDO FATTURA 12/2022 @3",
                       "02/01/2023 30/12/2022 2.500,50 48/BE ACCREDITO BONIFICO @5",
                       "03/01/2023 31/12/2022 -12,34 66/CC COMPETENZE DI CHIUSURA @9",
                       "03/01/2023 03/01/2023 -0,05 34/IB IMPOSTA DI BOLLO CONTO CORRENTE E DEPOSITO PERIODO 4° "
                       "TRIMESTRE - CAFFÈ @10"}
        << QStringList{"02/01/2023 1.000,00 > 02/01/2023 3.350,50", "03/01/2023 3.350,50 > 03/01/2023 3.338,11"}
        << "IT60X0542811101000000123456";
    QTest::newRow("camt.053.001.02, in attesa escluso, storno")
        << "camt053_v02.xml" << "camt.053"
        << QStringList{"02/03/2023 01/03/2023 -200,00 26/PMNT/ICDT/ESCT Fattura 12 del 2023 saldo BONIFICO A FAVORE "
                       "DI BIANCHI @36",
                       "15/03/2023 16/03/2023 50,25 48/ ACCREDITO RIMBORSO @54",
                       "20/03/2023 20/03/2023 20,00 / STORNO ADDEBITO SDD @63"}
        << QStringList{"28/02/2023 1.000,00 > 31/03/2023 870,25"} << "IT60X0542811101000000123456";
    QTest::newRow("camt.053.001.08, Sts/Cd, PRCD, saldo a debito")
        << "camt053_v08.xml" << "camt.053"
        << QStringList{"30/06/2023 30/06/2023 -31,46 /ACMT/MDOP/INTR INTERESSI DEBITORI II TRIMESTRE @24",
                       "30/06/2023 30/06/2023 -2,00 18/ IMPOSTA DI BOLLO @34"}
        << QStringList{"31/05/2023 -150,00 > 30/06/2023 -183,46"} << "000000123456";
    QTest::newRow("CSV Windows-1252 con €, Dare/Avere, saldo, recenti prima")
        << "movimenti_cp1252.csv" << "CSV"
        << QStringList{"31/03/2023 31/03/2023 -5,00 / Canone mensile € 5 - caffè @3",
                       "15/03/2023 14/03/2023 1.000,00 / Bonifico; rif. \"ABC\" @4",
                       "02/03/2023 01/03/2023 -254,50 / Pagamento POS @6"}
        << QStringList{"02/03/2023 500,00 > 31/03/2023 1.240,50"} << "";
    QTest::newRow("CSV UTF-8 con BOM, importo con segno, date ISO")
        << "movimenti_utf8.csv" << "CSV"
        << QStringList{"03/04/2023 03/04/2023 -12,50 / Spese, tenuta conto @2",
                       "05/04/2023 04/04/2023 1.500,00 / Stipendio aprile — ok @3"}
        << QStringList{} << "";
    QTest::newRow("OFX 1.02 Windows-1252, DTAVAIL/DTUSER, LEDGERBAL")
        << "estratto.ofx" << "OFX"
        << QStringList{"05/04/2023 03/04/2023 -123,45 /POS Pagamento POS Caffè centrale @1",
                       "28/04/2023 27/04/2023 1.000,00 /CREDIT Stipendio @2",
                       "30/04/2023 30/04/2023 -2,00 /SRVCHG Spese tenuta conto @3"}
        << QStringList{} << "000000123456";
}

void TestImportazioneEstratti::leggeOgniFormato()
{
    QFETCH(QString, fissaggio);
    QFETCH(QString, formato);
    QFETCH(QStringList, movimenti);
    QFETCH(QStringList, saldi);
    QFETCH(QString, conto);

    const EsitoImportazione esito = Importa({Fissaggio(fissaggio)});
    QCOMPARE(esito.file.size(), std::size_t(1));
    const EsitoFileEstratto& file = esito.file.front();
    QVERIFY2(file.accettato, qPrintable(TestoEsito(esito).join(u'\n')));
    QCOMPARE(NomeFormato(file.formato), formato);
    QCOMPARE(Righe(esito.movimenti), movimenti);
    QStringList letti;
    for (const SaldiEstratto& s : esito.saldi)
        letti << Riga(s);
    QCOMPARE(letti, saldi);
    for (const Movimento& m : esito.movimenti)
        QCOMPARE(QString::fromStdString(m.file), fissaggio);
    const DatiConto& c = esito.conto;
    QCOMPARE(QString::fromStdString(c.iban.empty() ? c.numero : c.iban), conto);
    QCOMPARE(esito.riepilogo.movimentiAggiunti, std::size_t(movimenti.size()));
    QCOMPARE(esito.riepilogo.duplicati, std::size_t(0));
}

void TestImportazioneEstratti::rifiutaIFileDifettosi_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<QString>("atteso");
    QTest::addColumn<int>("riga");

    const QString cbi = QStringLiteral("estratto.cbi"), v02 = QStringLiteral("camt053_v02.xml"),
                  csv = QStringLiteral("movimenti_cp1252.csv"), ofx = QStringLiteral("estratto.ofx");
    auto riga = [](const char* nome, const QString& file, const QByteArray& contenuto, const char* atteso, int n) {
        QTest::newRow(nome) << file << contenuto << QString::fromUtf8(atteso) << n;
    };
    riga("CBI record troncato", cbi, Cambiato(cbi, [](auto& r) { r[2].truncate(60); }),
         "estratto.cbi, record 3: il record è lungo 60 caratteri invece di 120.", 3);
    riga("CBI record di 119 caratteri", cbi, Cambiato(cbi, [](auto& r) { r[4].chop(1); }), "lungo 119 caratteri", 5);
    riga("CBI lettere nell'importo", cbi, Cambiato(cbi, Metti(3, 27, "0000000001S0,00")),
         "l'importo «0000000001S0,00» non è un numero (movimento).", 3);
    riga("CBI importo senza virgola", cbi, Cambiato(cbi, Metti(6, 21, "000000000335050")),
         "l'importo «000000000335050» non ha la virgola dei decimali al suo posto (000000000000,00) (saldo finale).", 6);
    riga("CBI 31 febbraio", cbi, Cambiato(cbi, Metti(3, 14, "310223")),
         "la data valuta «310223» non è una data valida (GGMMAA).", 3);
    riga("CBI saldi che non quadrano", cbi, Cambiato(cbi, Metti(6, 21, "000000003350,51")),
         "estratto.cbi, record 6: il saldo iniziale 1.000,00 del 02/01/2023 più i movimenti (2.350,50) dà 3.350,50, "
         "non il saldo finale dichiarato 3.350,51 del 02/01/2023.",
         6);
    riga("CBI conteggio del record EF", cbi, Cambiato(cbi, Metti(14, 83, "0000015")),
         "il record di coda EF dichiara 15 record, il file ne contiene 14.", 14);
    riga("CBI file troncato", cbi, Cambiato(cbi, [](auto& r) { r = r.mid(0, 8); }),
         "il file finisce senza il record di coda EF: è troncato.", 8);
    riga("CBI conto in dollari", cbi, Cambiato(cbi, Metti(2, 75, "USD")), "il conto è in «USD»", 2);
    riga("CBI data contabile dopo il saldo", cbi, Cambiato(cbi, Metti(3, 20, "050123")),
         "la data contabile 05/01/2023 è successiva a quella del saldo finale 02/01/2023", 3);
    riga("CBI data non plausibile", cbi, Cambiato(cbi, Metti(3, 14, "311289311289")),
         "estratto.cbi, record 3: la data contabile 31/12/1989 non è plausibile", 3);
    riga("CBI 62 prima del 61", cbi, Cambiato(cbi, [](auto& r) { r.removeAt(1); }),
         "record 62 fuori posto: manca il saldo iniziale (record 61) dell'estratto.", 2);

    riga("camt XML non ben formato", v02, Sostituito(v02, "</Acct>", "</Account>"), "il file XML non è ben formato", 17);
    riga("camt XML troncato", v02, LeggiFissaggio(v02).left(1500), "il file XML finisce a metà", 43);
    riga("camt movimento in dollari", v02, Sostituito(v02, "<Amt Ccy=\"EUR\">200.00", "<Amt Ccy=\"USD\">200.00"),
         "camt053_v02.xml, riga 36: il movimento è in «USD»", 36);
    riga("camt saldo disponibile in dollari", v02, Sostituito(v02, "<Amt Ccy=\"EUR\">800.00", "<Amt Ccy=\"USD\">800.00"),
         "il saldo CLAV è in «USD»", 24);
    riga("camt saldi che non quadrano", v02, Sostituito(v02, "870.25", "870.26"),
         "non il saldo finale dichiarato 870,26 del 31/03/2023", 30);
    riga("camt.052 non è un estratto", v02, LeggiFissaggio(v02).replace("BkToCstmrStmt", "BkToCstmrAcctRpt"),
         "non è un estratto conto camt.053 (BkToCstmrStmt)", 3);
    riga("camt annidato senza fine", QStringLiteral("profondo.xml"),
         "<Document><BkToCstmrStmt>" + QByteArray(100000, 'x').replace("x", "<a>") + "\n",
         "più di 200 livelli di elementi annidati", 1);
    riga("camt bomba XML", QStringLiteral("bomba.xml"),
         "<?xml version=\"1.0\"?>\n<!DOCTYPE Document [\n <!ENTITY a \"aaaaaaaaaa\">\n"
         " <!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n <!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
         " <!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n <!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n"
         " <!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">\n <!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">\n"
         " <!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">\n]>\n"
         "<Document><BkToCstmrStmt><Stmt><Ntry><AddtlNtryInf>&h;</AddtlNtryInf></Ntry></Stmt></BkToCstmrStmt></Document>\n",
         "dichiarazione di tipo documento (DOCTYPE, entità): per sicurezza non viene letto", 11);

    riga("CSV 31 febbraio", csv, Sostituito(csv, "15/03/2023;14/03/2023", "31/02/2023;14/03/2023"),
         "movimenti_cp1252.csv, riga 4: data contabile: la data «31/02/2023» non esiste.", 4);
    riga("CSV lettere nell'importo", csv, Sostituito(csv, ";1.000,00;", ";1.O00,00;"),
         "Avere: l'importo «1.O00,00» non è un numero.", 4);
    riga("CSV saldo incoerente", csv, Sostituito(csv, "1.245,50", "1.245,60"),
         "il saldo 1.245,60 non è quello della riga precedente più l'importo (1.245,50).", 4);
    riga("CSV colonne mancanti", csv, Sostituito(csv, ";\"Bonifico; rif. \"\"ABC\"\"\";;1.000,00;1.245,50", ""),
         "la riga ha 2 colonne, il profilo ne legge 6.", 4);
    riga("testo che nessun profilo riconosce", QStringLiteral("ignoto.txt"), "Data;Importo\n01/01/2023;5,00\n",
         "nessun profilo CSV ne riconosce l'intestazione", 0);

    riga("OFX troncato", ofx, LeggiFissaggio(ofx).left(900), "estratto.ofx, riga 20: libofx non riesce a leggerlo", 20);
    riga("OFX in dollari", ofx, Sostituito(ofx, "<CURDEF>EUR", "<CURDEF>USD"), "è in «USD»", 0);

    static const char png[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10";
    riga("file binario", QStringLiteral("binario.cbi"), QByteArray(png, sizeof png - 1),
         "binario.cbi: il file non è un testo (è un file binario)", 0);
    riga("file vuoto", QStringLiteral("vuoto.cbi"), QByteArray(), "vuoto.cbi: il file è vuoto.", 0);
    riga("solo righe vuote", QStringLiteral("vuoto.csv"), "\r\n  \r\n", "il file è vuoto.", 0);
}

void TestImportazioneEstratti::rifiutaIFileDifettosi()
{
    QFETCH(QString, nome);
    QFETCH(QByteArray, contenuto);
    QFETCH(QString, atteso);
    QFETCH(int, riga);
    QTemporaryDir cartella;
    const EsitoImportazione esito = Importa({ScriviFile(cartella.path(), nome, contenuto)});
    QCOMPARE(esito.file.size(), std::size_t(1));
    const EsitoFileEstratto& file = esito.file.front();
    QVERIFY(!file.accettato);
    QVERIFY(esito.movimenti.empty());
    QVERIFY(esito.saldi.empty());
    QCOMPARE(esito.riepilogo.fileRifiutati, 1);
    QVERIFY(!file.difetti.empty());
    const QString messaggio = QString::fromStdString(file.difetti.front().Messaggio());
    QVERIFY2(messaggio.contains(atteso), qPrintable(messaggio));
    QVERIFY2(messaggio.startsWith(nome), qPrintable(messaggio));
    QCOMPARE(file.difetti.front().riga, riga);
    QCOMPARE(file.serveProfilo, nome == u"ignoto.txt");
    QVERIFY(TestoEsito(esito).join(u'\n').contains(nome + QStringLiteral(" rifiutato, non è stato aggiunto nulla")));
}

void TestImportazioneEstratti::unFileRifiutatoNonFermaGliAltri()
{
    QTemporaryDir cartella;
    const QString guasto =
        ScriviFile(cartella.path(), QStringLiteral("guasto.cbi"), Cambiato(QStringLiteral("estratto.cbi"), Metti(6, 21, "000000003350,51")));
    const EsitoImportazione esito = Importa({guasto, Fissaggio(QStringLiteral("camt053_v08.xml"))});
    QCOMPARE(esito.file.size(), std::size_t(2));
    QVERIFY(!esito.file[0].accettato);
    QVERIFY(esito.file[1].accettato);
    QCOMPARE(esito.movimenti.size(), std::size_t(2));
    QCOMPARE(esito.saldi.size(), std::size_t(1));
    QCOMPARE(esito.riepilogo.fileAccettati, 1);
}

// Accepted, with a word for the summary: a file of another account, a file
// that declares no balances.
void TestImportazioneEstratti::avvisaPerUnAltroContoESenzaSaldi()
{
    OpzioniImportazione opzioni;
    opzioni.oggi = Oggi;
    opzioni.profili = profili_.get();
    opzioni.conto.iban = "IT02L1234512345123456789012";
    const EsitoImportazione esito = ImportaEstratti(
        {Fissaggio(QStringLiteral("estratto.cbi")), Fissaggio(QStringLiteral("movimenti_utf8.csv"))}, {}, opzioni);
    QCOMPARE(esito.riepilogo.fileAccettati, 2);
    QCOMPARE(esito.avvisi,
             (QStringList{"estratto.cbi è del conto IT60X0542811101000000123456, non del conto IT02L1234512345123456789012.",
                          "movimenti_utf8.csv non dichiara sia il saldo iniziale sia quello finale: i suoi movimenti non "
                          "sono stati controllati con i saldi."}));
    QVERIFY(!esito.file[1].estratti.front().saldiControllati);
    QVERIFY(esito.file[0].estratti.back().saldiControllati);
}

// Overlapping statements and a calculation that already holds some of them:
// each movement once, the others counted.
void TestImportazioneEstratti::duplicatiTraFileEConteggio()
{
    QTemporaryDir cartella;
    const QString cbi = Fissaggio(QStringLiteral("estratto.cbi"));
    // The same statements under another name, recognised by content, with
    // its records one after the other without line ends.
    const QString copia = ScriviFile(cartella.path(), QStringLiteral("copia.xml"),
                                     LeggiFissaggio(QStringLiteral("estratto.cbi")).replace("\r\n", ""));
    EsitoImportazione esito = Importa({cbi, copia});
    QVERIFY(esito.file[1].accettato);
    QCOMPARE(esito.file[1].formato, FormatoEstratto::CBI);
    QCOMPARE(esito.riepilogo.movimentiLetti, std::size_t(8));
    QCOMPARE(esito.riepilogo.movimentiAggiunti, std::size_t(4));
    QCOMPARE(esito.riepilogo.duplicati, std::size_t(4));
    QCOMPARE(esito.file[1].duplicati, std::size_t(4));
    QCOMPARE(esito.riepilogo.estratti, 4);
    QCOMPARE(TestoData(*esito.riepilogo.dal), std::string("02/01/2023"));
    QCOMPARE(TestoData(*esito.riepilogo.al), std::string("03/01/2023"));
    QCOMPARE(TestoEsito(esito).front(),
             QStringLiteral("4 estratti da 2 file: 4 movimenti aggiunti, 4 già presenti, dal 02/01/2023 al 03/01/2023."));

    const std::vector<Movimento> presenti(esito.movimenti.begin(), esito.movimenti.begin() + 3);
    esito = Importa({cbi}, presenti);
    QCOMPARE(Righe(esito.movimenti), QStringList{Riga(Importa({cbi}).movimenti.back())});
    QCOMPARE(esito.riepilogo.duplicati, std::size_t(3));
}

// A reversal in the direction of the entry it reverses: read so only when the
// balances say so.
void TestImportazioneEstratti::stornoNelVersoCheQuadra()
{
    QTemporaryDir cartella;
    const QString file = ScriviFile(cartella.path(), QStringLiteral("storno.xml"),
                                    Sostituito(QStringLiteral("camt053_v02.xml"), "870.25", "830.25"));
    const EsitoImportazione esito = Importa({file});
    QVERIFY2(esito.file.front().accettato, qPrintable(TestoEsito(esito).join(u'\n')));
    QCOMPARE(Riga(esito.movimenti.back()), QStringLiteral("20/03/2023 20/03/2023 -20,00 / STORNO ADDEBITO SDD @63"));
}

// 200 MB of CBI records: read a piece at a time, with progress, and
// cancelled with nothing to add.
void TestImportazioneEstratti::fileGrandeLettoAPezziEAnnullabile()
{
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("grande.cbi"));
    {
        const QList<QByteArray> r = LeggiFissaggio(QStringLiteral("estratto.cbi")).split('\n');
        QFile f(percorso);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // The first statement again and again: 61, then 62s of one cent, then 64.
        QByteArray movimento = r[2];
        movimento.replace(26, 15, "000000000000,01");
        QByteArray finale = r[5];
        finale.replace(20, 15, "000000000990,00");
        QByteArray estratto = r[1] + '\n';
        for (int i = 0; i < 1000; ++i)
            estratto += movimento + '\n';
        estratto += finale + '\n';
        f.write(r[0] + '\n');
        while (f.size() < 200LL * 1024 * 1024)
            QVERIFY(f.write(estratto) == estratto.size());
    }
    const qint64 dimensione = QFileInfo(percorso).size();
    std::atomic<bool> annulla = false;
    qint64 ultimo = 0, memoriaMassima = 0;
    [[maybe_unused]] const qint64 memoriaPrima = MemoriaResidente();
    OpzioniImportazione opzioni;
    opzioni.oggi = Oggi;
    opzioni.annulla = &annulla;
    opzioni.avanzamento = [&](qint64 letti, qint64 totale) {
        QCOMPARE(totale, dimensione);
        QVERIFY(letti >= ultimo);
        ultimo = letti;
        memoriaMassima = std::max(memoriaMassima, MemoriaResidente());
        if (letti > totale / 10)
            annulla = true;
    };
    const EsitoImportazione esito = ImportaEstratti({percorso}, {}, opzioni);
    QVERIFY(esito.annullato);
    QVERIFY(esito.file.empty());
    QVERIFY(esito.movimenti.empty());
    QVERIFY(esito.saldi.empty());
    QVERIFY(ultimo < dimensione / 5);
    QCOMPARE(TestoEsito(esito), QStringList{QStringLiteral("Importazione annullata: non è stato aggiunto nulla.")});
#if !defined(__SANITIZE_ADDRESS__)
    // A tenth of the file read: far less memory than the file.
    QVERIFY2(memoriaMassima - memoriaPrima < dimensione / 2,
             qPrintable(QStringLiteral("%1 MB").arg((memoriaMassima - memoriaPrima) >> 20)));
#endif
}

QTEST_GUILESS_MAIN(TestImportazioneEstratti)
#include "test_importazione_estratti.moc"
