// Export to spreadsheets: typed cells read from the windows' texts, the CSV
// bytes, and workbooks read back by an independent reader (openpyxl).
#include "Dichiarazioni.h"
#include "EsempiStampa.h"
#include "FinestreDiProva.h"
#include "Esportazione.h"
#include "Messaggi.h"
#include "Relazione.h"
#include "ScritturaLimitata.h"
#include "Stampanti.h"

#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace std::chrono;

class TestEsportazione : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void leggiCella_data();
    void leggiCella();
    void nomeFoglio();
    void csv();
    void excelRiletto_data();
    void excelRiletto();
    void cartellaProposta();
    void scritturaCheFallisce_data();
    void scritturaCheFallisce();

private:
    QTemporaryDir cartella_;
    ConteggioAperto conteggio_;
};

void TestEsportazione::initTestCase()
{
    ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    esempi::ConteggioDelleFinestre(conteggio_.Doc());
    OPE& o = conteggio_.Doc().Operazioni();
    o.setImporto(1, 10000);
    o.setImporto(2, 5500);
    o.setImporto(3, 5500);
}

void TestEsportazione::leggiCella_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<double>("valore");
    QTest::addColumn<int>("decimali");
    const int T = int(TipoCella::Testo), I = int(TipoCella::Importo), P = int(TipoCella::Tasso),
              N = int(TipoCella::Numero), D = int(TipoCella::Data), V = int(TipoCella::Vuota);
    QTest::newRow("importo") << "1.234,56" << I << 1234.56 << 2;
    QTest::newRow("euro negativo") << "\u20AC -1.234,50" << I << -1234.5 << 2;
    QTest::newRow("tasso") << "8,125%" << P << 0.08125 << 3;
    QTest::newRow("tasso negativo") << "-0,500%" << P << -0.005 << 3;
    QTest::newRow("tasso grande") << "1.234,567%" << P << 12.34567 << 3;
    QTest::newRow("intero") << "120" << N << 120.0 << 0;
    QTest::newRow("migliaia") << "1.500" << N << 1500.0 << 0;
    QTest::newRow("un decimale") << "12,5" << N << 12.5 << 1;
    QTest::newRow("data") << "31/12/2012" << D << 0.0 << 0;
    QTest::newRow("data impossibile") << "31/02/2012" << T << 0.0 << 0;
    QTest::newRow("incoerenti") << "dati incoerenti" << T << 0.0 << 0;
    QTest::newRow("gruppi errati") << "1.23,45" << T << 0.0 << 0;
    QTest::newRow("punto decimale") << "12.5" << T << 0.0 << 0;
    QTest::newRow("mese") << "Gen - 2020" << T << 0.0 << 0;
    QTest::newRow("segno da solo") << "-" << T << 0.0 << 0;
    QTest::newRow("etichetta") << " + spese" << T << 0.0 << 0;
    QTest::newRow("spazi") << "   " << V << 0.0 << 0;
}

void TestEsportazione::leggiCella()
{
    QFETCH(QString, testo);
    QFETCH(int, tipo);
    QFETCH(double, valore);
    QFETCH(int, decimali);
    const CellaEsportazione c = LeggiCella(testo);
    QCOMPARE(int(c.tipo), tipo);
    QCOMPARE(c.testo, testo);
    if (tipo == int(TipoCella::Importo) || tipo == int(TipoCella::Tasso) || tipo == int(TipoCella::Numero)) {
        QCOMPARE(c.valore, valore);
        QCOMPARE(c.decimali, decimali);
    }
    if (tipo == int(TipoCella::Data))
        QCOMPARE(c.data, QDate(2012, 12, 31));
}

void TestEsportazione::nomeFoglio()
{
    const QStringList usati = {QStringLiteral("Mutuo"), QStringLiteral("Calcolo con procedura della")};
    QCOMPARE(NomeFoglio(QStringLiteral("Calcolo con procedura della Banca d'Italia"), {}),
             QStringLiteral("Calcolo con procedura della"));
    QCOMPARE(NomeFoglio(QStringLiteral("Calcolo con procedura della Banca d'Italia"), usati),
             QStringLiteral("Calcolo con procedura della (2)"));
    QCOMPARE(NomeFoglio(QStringLiteral("'T.E.G. [2012]: a/b?'"), {}), QStringLiteral("T.E.G. 2012 a b"));
    QCOMPARE(NomeFoglio(QStringLiteral("mutuo"), usati), QStringLiteral("mutuo (2)"));
    QCOMPARE(NomeFoglio(QStringLiteral(" *? "), {}), QStringLiteral("Tabella"));
    QCOMPARE(NomeFoglio(QStringLiteral("x").repeated(40), {}), QStringLiteral("x").repeated(31));
}

void TestEsportazione::csv()
{
    DatiPaginaBreve d = esempi::breve();
    d.descrizione = QStringLiteral("=Anticipo \"A;B\"");
    const QByteArray atteso = "\xEF\xBB\xBF"
                              "\"T.E.G. su Anticipo \"\"A;B\"\"\";\r\n"
                              ";\r\n"
                              "Descrizione operazione;\"'=Anticipo \"\"A;B\"\"\"\r\n"
                              "Importo finanziato;10000,00\r\n"
                              "Oneri trattenuti sul finanziato;100,00\r\n"
                              "Data di erogazione;01/01/2010\r\n"
                              "Data di restituzione;01/04/2010\r\n"
                              "Importo restituito a scadenza;10200,00\r\n"
                              ";\r\n"
                              "T.E.G. di periodo;3,030%\r\n"
                              "T.E.G. su base annuale;12,290%\r\n";
    QCOMPARE(TestoCSV(TabellaDaRapporto(RapportoBreve(d, QStringLiteral("Anticipo \"A;B\"")))), atteso);

    // A label of a sign and words keeps its text, quoted; what could compute gets the apostrophe.
    TabellaEsportazione t;
    t.righe = {{LeggiCella(QStringLiteral("= Oneri effettivamente addebitati")), LeggiCella(QStringLiteral("+ spese")),
                LeggiCella(QStringLiteral("=HYPERLINK(\"x\")")), LeggiCella(QStringLiteral("-1 giorno")),
                LeggiCella(QStringLiteral("@A1"))}};
    QVERIFY(TestoCSV(t).endsWith("\"= Oneri effettivamente addebitati\";\"+ spese\";\"'=HYPERLINK(\"\"x\"\")\";"
                                 "'-1 giorno;'@A1\r\n"));
}

void TestEsportazione::excelRiletto_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("foglio");
    QTest::addColumn<QString>("bloccata");  // first cell below the frozen rows
    QTest::addColumn<int>("numeri");        // at least this many numeric cells
    QTest::newRow("frmCalcoli") << "frmCalcoli" << "Calcolo con procedura analitica" << "A5" << 90;
    QTest::newRow("frmItalia") << "frmItalia" << "Calcolo con procedura della" << "A5" << 20;
    QTest::newRow("frmBox") << "frmBox" << "Dati di input" << "A7" << 28;
    QTest::newRow("frmOPE") << "frmOPE" << "Flussi vari" << "A6" << 7;
    QTest::newRow("frmMutuo") << "frmMutuo" << "Mutuo casa" << "A3" << 6;
    QTest::newRow("frmBreve") << "frmBreve" << "Anticipo" << "A3" << 4;
}

void TestEsportazione::excelRiletto()
{
    QFETCH(QString, nome);
    QFETCH(QString, foglio);
    QFETCH(QString, bloccata);
    QFETCH(int, numeri);
    const std::unique_ptr<FinestraFiglia> f = esempi::FinestraConTabella(nome, conteggio_);
    f->Pagina();

    // An older file of the same name is replaced.
    const QString file = cartella_.filePath(nome + QStringLiteral(".xlsx"));
    {
        QFile vecchio(file);
        QVERIFY(vecchio.open(QIODevice::WriteOnly));
        vecchio.write("vecchio");
    }
    ImpostaSceltaFileEsportazione([&](QWidget*, const QString& proposto, FormatoEsportazione) {
        return proposto.endsWith(QStringLiteral(".xlsx")) ? file : QString();
    });
    Rapporto r;
    QVERIFY(RapportoFinestra(nome, f.get(), r));
    QVERIFY(EsportaTabellaCorrente(&r, FormatoEsportazione::Excel, nullptr));
    QVERIFY(MessaggiMostrati().isEmpty());

    QProcess lettore;
    lettore.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(LETTORE_XLSX), file});
    QVERIFY(lettore.waitForFinished(60000));
    QVERIFY2(lettore.exitCode() == 0, lettore.readAllStandardError().constData());
    const QStringList righe = QString::fromUtf8(lettore.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!righe.isEmpty());
    const QStringList intestazione = righe.front().split(QLatin1Char('\t'));
    QCOMPARE(intestazione.value(1), foglio);
    QCOMPARE(intestazione.value(2), bloccata);

    // Every printed text of the window, at its place: numbers as numbers that
    // the Italian forms of their display formats turn back into that text.
    QCOMPARE(intestazione.value(3), r.titolo);
    std::vector<int> colonne;
    for (const ColonnaStampa& c : r.colonne)
        colonne.push_back(c.colonna);
    std::sort(colonne.begin(), colonne.end());
    const int primaRiga = r.sottotitolo.isEmpty() ? 3 : 4;
    QMap<QPair<int, int>, QStringList> celle;
    for (const QString& riga : righe.mid(1)) {
        const QStringList c = riga.split(QLatin1Char('\t'));
        celle[{c[1].toInt(), c[2].toInt()}] = c.mid(3);
    }
    const QLocale italiano(QLocale::Italian);
    int trovati = 0;
    for (int i = 1; i <= r.RighePerPagina; ++i)
        for (int k = 0; k < int(colonne.size()); ++k) {
            const QString atteso = r.tabella.Testo(i, colonne[k]);
            const QStringList c = celle.value({primaRiga + i - 1, k + 1});
            const QString dove = QStringLiteral("riga %1 colonna %2: %3 / %4").arg(i).arg(k + 1).arg(atteso, c.join(QLatin1Char('|')));
            if (atteso.trimmed().isEmpty()) {
                QVERIFY2(c.isEmpty(), qPrintable(dove));
                continue;
            }
            QVERIFY2(c.size() == 4, qPrintable(dove));
            QString letto = c[1];
            if (c[0] == QLatin1String("n")) {
                ++trovati;
                const QString formato = c[2];
                const int decimali = formato.contains(QLatin1Char('.'))
                                         ? int(formato.section(QLatin1Char('.'), 1).count(QLatin1Char('0')))
                                         : 0;
                const bool tasso = formato.endsWith(QLatin1Char('%'));
                const double v = c[1].toDouble() * (tasso ? 100 : 1);
                letto = formato.startsWith(QLatin1String("0")) && !tasso ? QString::number(v, 'f', decimali)
                                                                          : italiano.toString(v, 'f', decimali);
                if (tasso)
                    letto += QLatin1Char('%');
                if (formato.contains(QChar(0x20AC)))
                    letto.prepend(QStringLiteral("\u20AC "));
            }
            QVERIFY2(letto == atteso, qPrintable(dove));
        }
    QVERIFY2(trovati >= numeri, qPrintable(QString::number(trovati)));
}

// Every output proposes the folder of the last file written, while it
// exists, else the documents folder.
void TestEsportazione::cartellaProposta()
{
    QTemporaryDir casa, altrove;
    QVERIFY(QDir().mkpath(casa.filePath(QStringLiteral("Documents"))));
    qputenv("HOME", QFile::encodeName(casa.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(casa.filePath(QStringLiteral("config"))));
    QStringList proposte;
    const auto annota = [&](const QString& p) {
        proposte << QFileInfo(p).absolutePath();
        return QString();
    };
    ImpostaSceltaFileEsportazione([&](QWidget*, const QString& p, FormatoEsportazione) { return annota(p); });
    ImpostaSceltaFilePdf([&](QWidget*, const QString& p) { return annota(p); });
    ImpostaSceltaFileRelazione([&](QWidget*, const QString& p) { return annota(p); });
    ImpostaStampanteCorrente(DispositivoPdf);
    const Rapporto r = RapportoMutuo(esempi::mutuo(), QStringLiteral("Mutuo"));
    const auto proponi = [&]() -> QStringList {
        proposte.clear();
        EsportaTabellaCorrente(&r, FormatoEsportazione::Excel, nullptr);
        EsportaTabellaCorrente(&r, FormatoEsportazione::CSV, nullptr);
        StampaRapporto(r, nullptr);
        CreaRelazionePdf(conteggio_.Doc(), nullptr);
        if (proposte.size() != 4)
            return {QStringLiteral("proposte: %1").arg(proposte.size())};
        proposte.removeDuplicates();
        return proposte;
    };
    ScriviFileIntero(altrove.filePath(QStringLiteral("grafico.png")), "x");
    QCOMPARE(proponi(), QStringList{QDir(altrove.path()).absolutePath()});
    QCOMPARE(CartellaUscite(), QDir(altrove.path()).absolutePath());
    QVERIFY(altrove.remove());
    QCOMPARE(proponi(), QStringList{casa.filePath(QStringLiteral("Documents"))});
    ImpostaSceltaFilePdf({});
    ImpostaSceltaFileRelazione({});
}

// Every file the program writes, when the write fails partway (as on a full
// disk): a message naming the file and the cause, the file that had the name
// untouched, nothing left beside it. A missing folder is named too.
void TestEsportazione::scritturaCheFallisce_data()
{
    QTest::addColumn<QString>("estensione");
    QTest::addColumn<std::function<void(const QString&)>>("scrivi");
    const TabellaEsportazione t = TabellaDaRapporto(RapportoMutuo(esempi::mutuo(), QStringLiteral("Mutuo")));
    Documento* d = &conteggio_.Doc();
    QTest::newRow("excel") << ".xlsx" << std::function<void(const QString&)>([t](const QString& f) { ScriviExcel({t}, f); });
    QTest::newRow("csv") << ".csv" << std::function<void(const QString&)>([t](const QString& f) { ScriviCSV(t, f); });
    QTest::newRow("relazione") << ".pdf" << std::function<void(const QString&)>([d](const QString& f) {
        ScriviRelazionePdf(RelazioneConteggio(*d, QDate(2024, 5, 20)), f);
    });
    // Printing on the PDF device reports its failure in a message.
    QTest::newRow("stampa pdf") << ".pdf" << std::function<void(const QString&)>([](const QString& f) {
        ImpostaStampanteCorrente(DispositivoPdf);
        ImpostaSceltaFilePdf([f](QWidget*, const QString&) { return f; });
        MessaggiMostrati();
        if (!StampaRapporto(RapportoMutuo(esempi::mutuo(), QStringLiteral("Mutuo")), nullptr))
            throw std::runtime_error(MessaggiMostrati().join(QLatin1Char('\n')).toStdString());
    });
}

void TestEsportazione::scritturaCheFallisce()
{
    QFETCH(QString, estensione);
    QFETCH(std::function<void(const QString&)>, scrivi);
    const auto errore = [&](const QString& file) -> QString {
        try {
            scrivi(file);
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    };

    QTemporaryDir cartella;
    const QString file = cartella.filePath(QStringLiteral("tabella") + estensione);
    const QByteArray vecchio = "il file di prima, che deve restare";
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(vecchio);
    }
    QString testo;
    {
        ScritturaLimitata limite(8);
        QVERIFY(limite.Attivo());
        testo = errore(file);
    }
    QVERIFY2(testo.contains(QDir::toNativeSeparators(file)) && testo.contains("supera la dimensione"),
             qPrintable(testo));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), vecchio);
    QCOMPARE(QDir(cartella.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("tabella") + estensione});

    // Unlimited, the same write replaces the file.
    QCOMPARE(errore(file), QString());
    QVERIFY(QFileInfo(file).size() > 100);

    const QString altrove = cartella.filePath(QStringLiteral("manca/tabella") + estensione);
    testo = errore(altrove);
    QVERIFY2(testo.contains(QDir::toNativeSeparators(altrove)) && testo.contains("la cartella non esiste"),
             qPrintable(testo));
}

QTEST_MAIN(TestEsportazione)
#include "test_esportazione.moc"
