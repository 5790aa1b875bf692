// Calculation files: the layout a new file gets, loading, saving and the
// round trip of every member, files that are damaged or of another kind,
// the archive listing.
#include "AiutiArchivio.h"
#include "Archivio.h"
#include "ConteggioAperto.h"
#include "Dichiarazioni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cmath>
#include <functional>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

// Values far from the defaults in every member, with the awkward ones a
// file must keep exactly.
void Compila(Documento& d, int variante)
{
    const bool a = variante == 0;
    d.setAnnoRiferimento(a ? 32767 : -32768);
    d.Trimestri(1).setDescrizione(a ? "Conto \"Rossi\" d'Italia \u2014 \u20ac 1.000; DROP TABLE parametri; --"
                                    : "Êxtra \U0001F600 日本語\n\ttab 'x' \"y\"");
    for (int q = 1; q <= 4; ++q) {
        BOX& t = d.Trimestri(q);
        const double k = a ? q : -q;
        t.setInteressi(0.1 + 0.2 * k);
        t.setNumeri(a ? 1e300 * q : 5e-324 * q);
        t.setSpese(a ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max());
        t.setGiorniValuta(a ? 1.0 / 3.0 : 2.0 / 3.0);
        t.setCommissioni(a ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity());
        t.setAccordato(a ? 123456789.125 : 9007199254740993.0);
        t.setCMS(a ? 1e-310 : 0.30000000000000004);
    }
    Mutuo& m = d.MutuoCorrente();
    m.setDescrizione(a ? "Mutuo l'«ipotecario»" : "");
    m.setImporto(a ? 100000.01 : -0.5);
    m.setOneri(a ? 1500.1 : 3.14159);
    m.setRata(a ? 1e-7 : 1e200);
    m.setNRate(a ? 32767 : -32768);
    m.setRateAnnuali(a ? -32768 : 32767);
    OPE& o = d.Operazioni();
    o.setDescrizione(a ? "Flussi ''doppi'' e \"citati\"" : "x");
    for (int r = 1; r <= OPE::Righe; ++r) {
        o.setAnno(r, a ? std::numeric_limits<std::int32_t>::max() - r : std::numeric_limits<std::int32_t>::min() + r);
        o.setMese(r, a ? -r : 1000000 + r);
        o.setImporto(r, a ? r * 0.1 : -r * 1e-5);
        o.setSegno(r, a ? (r % 2 ? 32767 : -32768) : (r % 3) - 1);
    }
    BREVE& b = d.BreveCorrente();
    b.setDescrizione(a ? "Anticipo \"fatture\" \u00e0 l'incasso" : "Breve");
    b.setData0(a ? sys_days{year{100} / 1 / 1} : sys_days{year{1899} / 12 / 29});
    b.setData1(a ? sys_days{year{9999} / 12 / 31} : sys_days{year{2024} / 2 / 29});
    b.setFinanziato(a ? 10000 : 1e-300);
    b.setRestituito(a ? 10200.000000000002 : 7);
    b.setOneri(a ? 100 : -1);
    ParametriUsura& u = d.Usura();
    for (int q = 1; q <= 4; ++q) {
        d.Trimestri(q).setMassimoScoperto(a ? 1e300 / q : 0.1 * q);
        u.setCMSMedia(q, a ? 0.00125 * q : (q % 2) * 0.0081);
    }
    u.setCategoriaConto(a ? "SCOPERTI SENZA AFFIDAMENTO (dal 1° gennaio 2010)" : "");
    u.setClasseConto(a ? "fino a 1.500 euro" : "");
    u.setCategoriaMutuo(a ? "MUTUI IPOTECARI A TASSO VARIABILE" : "x");
    u.setClasseMutuo(a ? "" : "oltre 10 milioni di lire");
    u.setCategoriaOperazioni(a ? "CREDITO PERSONALE" : "\u00ab'\"");
    u.setClasseOperazioni(a ? "intera distribuzione" : "");
    u.setCategoriaBreve(a ? "" : "FACTORING");
    u.setClasseBreve(a ? "oltre 50.000 euro" : "");
    u.setDataStipula(a ? std::optional{sys_days{year{2009} / 12 / 31}} : std::nullopt);
    u.setDataOperazioni(a ? std::nullopt : std::optional{sys_days{year{9999} / 12 / 31}});
}

QByteArray Contenuto(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<assente>");
}

void Scrivi(const QString& p, const QByteArray& dati)
{
    QFile f(p);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(dati);
}

QByteArray Casuali(int n, quint32 seme)
{
    QRandomGenerator g(seme);
    QByteArray b(n, Qt::Uninitialized);
    for (char& c : b)
        c = static_cast<char>(g.bounded(256));
    return b;
}

QString Messaggio(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ErroreConteggio& e) {
        return QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        return QStringLiteral("ALTRA ECCEZIONE: ") + QString::fromUtf8(e.what());
    }
    return {};
}

}  // namespace

class TestArchivio : public QObject {
    Q_OBJECT

    ConteggioAperto conteggio_;

    QTemporaryDir tmp_;
    QString c_;  // the archive folder of each test

    QString P(const QString& nome) const { return PercorsoConteggio(c_, nome); }

    // A calculation "Aperto" with distinctive values, loaded and current.
    void ApriConteggioDiProva()
    {
        CreaConteggio(c_, QStringLiteral("Aperto"));
        conteggio_.Carica(c_, QStringLiteral("Aperto"));
        Compila(conteggio_.Doc(), 0);
        conteggio_.Salva();
        conteggio_.Carica(c_, QStringLiteral("Aperto"));
    }

    QStringList Voci() const
    {
        return QDir(c_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
    }

private slots:
    void init()
    {
        conteggio_.Chiudi();
        c_ = tmp_.path() + QStringLiteral("/") + QString::fromLatin1(QTest::currentTestFunction()) +
             QString::fromLatin1(QTest::currentDataTag());
        QDir(c_).removeRecursively();
        QVERIFY(QDir().mkpath(c_));
        conteggio_.Doc().InizializzaConteggio();
        for (int q = 2; q <= 4; ++q)
            conteggio_.Doc().Trimestri(q).setDescrizione("Trimestre " + std::to_string(q) + " non salvato");
    }

    void cleanup()
    {
        conteggio_.Chiudi();
        QFile::setPermissions(c_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The new file: four tables, fields in creation order with their types,
    // one row of creation values, read without the program's own code.
    void creazione()
    {
        conteggio_.Doc().setNomeConteggio("Altro");
        const std::string prima = Impronta(conteggio_.Doc());
        CreaConteggio(c_, QStringLiteral("Nuovo"));
        QCOMPARE(Voci(), QStringList{"Nuovo.ccc"});  // nothing temporary left behind
        QCOMPARE(Impronta(conteggio_.Doc()), prima);
        QVERIFY(conteggio_.File().isEmpty());

        FileGrezzo f(P("Nuovo"));
        QCOMPARE(f.Righe("SELECT type, name FROM sqlite_master ORDER BY rowid"),
                 (QStringList{"t:table|t:parametri", "t:table|t:mutuo", "t:table|t:ope", "t:table|t:breve",
                              "t:table|t:verifica", "t:table|t:conto", "t:table|t:contratto", "t:table|t:origini",
                              "t:table|t:ricalcolo", "t:table|t:movimenti", "t:table|t:saldi",
                              "t:table|t:condizioni", "t:table|t:regole", "t:table|t:costi", "t:table|t:tassibot"}));

        QStringList parametri{"t:anno|t:INTEGER16", "t:descrizione|t:TEXT"};
        for (int q = 1; q <= 4; ++q)
            for (const char* c : {"interessi", "numeri", "spese", "giornivaluta", "commissioni", "accordato", "cms"})
                parametri << QStringLiteral("t:%1%2|t:DOUBLE").arg(c).arg(q);
        QStringList ope{"t:descrizione|t:TEXT"};
        for (int r = 1; r <= 10; ++r)
            ope << QStringLiteral("t:anno%1|t:LONG").arg(r) << QStringLiteral("t:mese%1|t:LONG").arg(r)
                << QStringLiteral("t:importo%1|t:DOUBLE").arg(r) << QStringLiteral("t:segno%1|t:INTEGER16").arg(r);
        const QString campi = QStringLiteral("SELECT name, type FROM pragma_table_info('%1') ORDER BY cid");
        QCOMPARE(f.Righe(campi.arg("parametri").toStdString()), parametri);
        QCOMPARE(parametri.size(), 30);
        QCOMPARE(f.Righe(campi.arg("mutuo").toStdString()),
                 (QStringList{"t:descrizione|t:TEXT", "t:importo|t:DOUBLE", "t:oneri|t:DOUBLE", "t:rata|t:DOUBLE",
                              "t:nrate|t:DOUBLE", "t:rateannuali|t:DOUBLE"}));
        QCOMPARE(f.Righe(campi.arg("ope").toStdString()), ope);
        QCOMPARE(ope.size(), 41);
        QCOMPARE(f.Righe(campi.arg("breve").toStdString()),
                 (QStringList{"t:descrizione|t:TEXT", "t:finanziato|t:DOUBLE", "t:restituito|t:DOUBLE",
                              "t:data0|t:DATETIME REAL", "t:data1|t:DATETIME REAL", "t:oneri|t:DOUBLE"}));
        QCOMPARE(f.Righe("SELECT count(*) FROM sqlite_master WHERE type <> 'table'"), QStringList{"i:0"});

        const QString d = QStringLiteral("t:Inserire descrizione");
        QStringList rigaParametri{"i:2010", d};
        for (int k = 0; k < 28; ++k)
            rigaParametri << "r:0";
        QCOMPARE(f.Righe("SELECT * FROM parametri"), QStringList{rigaParametri.join('|')});
        QCOMPARE(f.Righe("SELECT * FROM mutuo"), QStringList{d + "|r:0|r:0|r:0|r:1|r:12"});
        QStringList rigaOpe{d};
        for (int r = 1; r <= 10; ++r)
            rigaOpe << "i:2010" << "i:1" << "r:0" << "i:-1";
        QCOMPARE(f.Righe("SELECT * FROM ope"), QStringList{rigaOpe.join('|')});
        // 1 January 2010 as an OLE Automation date.
        QCOMPARE(f.Righe("SELECT descrizione, data0, data1, finanziato, restituito, oneri FROM breve"),
                 QStringList{d + "|r:40179|r:40179|r:0|r:0|r:0"});
        // The usury check's table: the document's defaults, no dates.
        QCOMPARE(f.Righe("SELECT group_concat(name || ' ' || type, ',') FROM pragma_table_info('verifica')"),
                 QStringList{"t:categoriaconto TEXT,classeconto TEXT,categoriamutuo TEXT,classemutuo TEXT,"
                             "categoriaoperazioni TEXT,classeoperazioni TEXT,categoriabreve TEXT,classebreve TEXT,"
                             "datastipula DATETIME REAL,dataoperazioni DATETIME REAL,massimoscoperto1 DOUBLE,"
                             "massimoscoperto2 DOUBLE,massimoscoperto3 DOUBLE,massimoscoperto4 DOUBLE,"
                             "cmsmedia1 DOUBLE,cmsmedia2 DOUBLE,cmsmedia3 DOUBLE,cmsmedia4 DOUBLE"});
        QCOMPARE(f.Righe("SELECT * FROM verifica"),
                 QStringList{"t:APERTURE DI CREDITO IN CONTO CORRENTE|t:|t:MUTUI IPOTECARI A TASSO FISSO|t:|t:|t:|t:|"
                             "t:|n:|n:|r:0|r:0|r:0|r:0|r:0|r:0|r:0|r:0"});
    }

    // The account from its statements: every list round trips exactly (cents
    // beyond 32 bits, texts, dates given or not); a file made before the
    // account's tables loads with the lists of a new calculation, whatever
    // the open one held, and gets the tables when saved; a bad value in a row
    // is refused naming the row, the open calculation untouched.
    void contoDaiMovimenti()
    {
        const auto giorno = [](int a, unsigned m, unsigned g) { return sys_days{year{a} / month{m} / day{g}}; };
        const auto riempi = [&](Documento& d) {
            ContoMovimenti& c = d.ContoCorrente();
            c.conto = {"Rossi Mario", "Banca \"Prova\"", "IT60X0542811101000000123456", "05428", "11101",
                       "000000123456", "EUR"};
            c.movimenti = {{giorno(2009, 3, 31), giorno(2009, 3, 31), -123456789012345, "18", "A1",
                            "Competenze; interessi", ClasseMovimento::InteressiDebitori, 1, "e.cbi", 7},
                           {giorno(2009, 4, 2), giorno(2009, 3, 30), 5000, "", "", "Versamento àè",
                            ClasseMovimento::Commissioni, ClasseAMano, "", 0}};
            c.saldi = {{giorno(2009, 1, 1), giorno(2009, 3, 31), -100, 4900, "e.cbi", 2}};
            CondizioniPeriodo p;
            p.dal = giorno(2005, 1, 1);
            p.accordato = 15000000;
            p.tassoDebitore = 0.0975;
            p.baseCMS = BaseCMS::OltreFido;
            p.divisore = Divisore::Commerciale;
            p.tassiPattuiti = giorno(2005, 1, 1);
            p.usiPiazza = true;
            c.condizioni.periodi = {p};
            c.condizioni.autorizzazioneAddebito = giorno(2017, 2, 1);
            c.regole = {{{"18", "A1"}, {"interessi debitori", "competenz*"}, SegnoRegola::Addebito,
                         ClasseMovimento::InteressiDebitori}};
        };
        CreaConteggio(c_, QStringLiteral("Conto"));
        conteggio_.Carica(c_, QStringLiteral("Conto"));
        QCOMPARE(conteggio_.Doc().ContoCorrente().regole, RegolePredefinite());
        riempi(conteggio_.Doc());
        const Documento atteso = conteggio_.Doc();
        conteggio_.Salva();
        conteggio_.Chiudi();
        ConteggioAperto letto;
        letto.Carica(c_, QStringLiteral("Conto"));
        QVERIFY(StessiValori(letto.Doc(), atteso));
        QCOMPARE(letto.Doc().ContoCorrente().movimenti[0].importo, -123456789012345);
        QCOMPARE(letto.Doc().ContoCorrente().movimenti[1].descrizione, std::string("Versamento àè"));
        QCOMPARE(letto.Doc().ContoCorrente().regole, atteso.ContoCorrente().regole);
        QCOMPARE(*letto.Doc().ContoCorrente().condizioni.autorizzazioneAddebito, giorno(2017, 2, 1));
        letto.Chiudi();

        // A bad row: refused with its table and row, nothing changes.
        FileGrezzo(P("Conto")).Esegui("UPDATE movimenti SET classe = 9 WHERE rowid = 2");
        QVERIFY2(Messaggio([&] { letto.Carica(c_, QStringLiteral("Conto")); }).contains("movimenti"),
                 "classe fuori dall'intervallo");
        FileGrezzo(P("Conto")).Esegui("UPDATE movimenti SET classe = 0, importo = 'x' WHERE rowid = 2");
        const QString m = Messaggio([&] { letto.Carica(c_, QStringLiteral("Conto")); });
        QVERIFY2(m.contains("\u00abimporto\u00bb della tabella \u00abmovimenti\u00bb, riga 2"), qPrintable(m));
        QVERIFY(letto.File().isEmpty());

        // A file of before: no lists, the rules of a new calculation.
        CreaConteggio(c_, QStringLiteral("Vecchio"));
        for (const char* t : {"conto", "movimenti", "saldi", "condizioni", "regole"})
            FileGrezzo(P("Vecchio")).Esegui(std::string("DROP TABLE ") + t);
        conteggio_.Carica(c_, QStringLiteral("Vecchio"));
        QVERIFY(conteggio_.Doc().ContoCorrente().Vuoto());
        QVERIFY(conteggio_.Doc().ContoCorrente().condizioni.periodi.empty());
        QCOMPARE(conteggio_.Doc().ContoCorrente().regole, RegolePredefinite());
        QCOMPARE(conteggio_.Doc().ContoCorrente().conto.intestatario, std::string());
        riempi(conteggio_.Doc());
        conteggio_.Salva();
        conteggio_.Chiudi();
        letto.Carica(c_, QStringLiteral("Vecchio"));
        QVERIFY(StessiValori(letto.Doc(), conteggio_.Doc()));
        letto.Chiudi();
    }

    // The recalculation's choices, dates and BOT rates round trip; a file made
    // before them loads the defaults, whatever the open calculation held, and
    // gets the tables when saved; a choice out of range is refused by name.
    void ricalcolo()
    {
        const auto scelte = [](Documento& d) {
            OpzioniRicalcolo& o = d.ContoCorrente().ricalcolo;
            for (const DescrizioneOpzione& opzione : OpzioniRicalcoloDisponibili())
                ScegliOpzione(o, opzione.chiave, 1 - opzione.predefinita);
            o.attoInterruttivo = sys_days{year{2019} / 5 / 6};
            o.chiusuraConto = sys_days{year{2018} / 12 / 31};
            o.tassiBOT = {{2010, 0.0125, 0.0347}, {2011, 0.021, 0.061}};
        };
        CreaConteggio(c_, QStringLiteral("Ricalcolo"));
        conteggio_.Carica(c_, QStringLiteral("Ricalcolo"));
        scelte(conteggio_.Doc());
        const Documento atteso = conteggio_.Doc();
        conteggio_.Salva();
        conteggio_.Chiudi();
        ConteggioAperto letto;
        letto.Carica(c_, QStringLiteral("Ricalcolo"));
        QVERIFY(StessiValori(letto.Doc(), atteso));
        const OpzioniRicalcolo& o = letto.Doc().ContoCorrente().ricalcolo;
        QCOMPARE(OpzioniScelte(o).front().predefinita, false);
        QCOMPARE(o.date, DateRicalcolo::Contabile);
        QCOMPARE(*o.attoInterruttivo, sys_days{year{2019} / 5 / 6});
        QCOMPARE(o.tassiBOT.size(), std::size_t{2});
        QCOMPARE(o.tassiBOT[1].massimo, 0.061);
        letto.Chiudi();

        FileGrezzo(P("Ricalcolo")).Esegui("UPDATE ricalcolo SET gratuita = 2");
        QVERIFY(Messaggio([&] { letto.Carica(c_, QStringLiteral("Ricalcolo")); }).contains("gratuita"));

        CreaConteggio(c_, QStringLiteral("Vecchio"));
        for (const char* t : {"ricalcolo", "tassibot"})
            FileGrezzo(P("Vecchio")).Esegui(std::string("DROP TABLE ") + t);
        conteggio_.Carica(c_, QStringLiteral("Vecchio"));
        const OpzioniRicalcolo& nuove = conteggio_.Doc().ContoCorrente().ricalcolo;
        for (const VoceOpzione& v : OpzioniScelte(nuove))
            QVERIFY2(v.predefinita, v.titolo.c_str());
        QVERIFY(!nuove.attoInterruttivo && !nuove.chiusuraConto && nuove.tassiBOT.empty());
        scelte(conteggio_.Doc());
        conteggio_.Salva();
        conteggio_.Chiudi();
        letto.Carica(c_, QStringLiteral("Vecchio"));
        QVERIFY(StessiValori(letto.Doc(), conteggio_.Doc()));
        QCOMPARE(FileGrezzo(P("Vecchio")).Righe("SELECT count(*) FROM tassibot"), QStringList{"i:2"});
        letto.Chiudi();
    }

    // A file made before the usury check loads with its defaults and gets
    // the table, with the document's values, when saved.
    void fileSenzaVerifica()
    {
        CreaConteggio(c_, QStringLiteral("Vecchio"));
        FileGrezzo(P("Vecchio")).Esegui("DROP TABLE verifica");
        Compila(conteggio_.Doc(), 0);
        conteggio_.Carica(c_, QStringLiteral("Vecchio"));
        QCOMPARE(conteggio_.Doc().Usura().CategoriaConto(), std::string("APERTURE DI CREDITO IN CONTO CORRENTE"));
        QVERIFY(conteggio_.Doc().Usura().CategoriaBreve().empty() && !conteggio_.Doc().Usura().DataStipula());
        QCOMPARE(conteggio_.Doc().Trimestri(2).MassimoScoperto(), 0.0);

        Compila(conteggio_.Doc(), 1);
        const std::string salvato = Impronta(conteggio_.Doc());
        conteggio_.Salva();
        Compila(conteggio_.Doc(), 0);
        conteggio_.Carica(c_, QStringLiteral("Vecchio"));
        QCOMPARE(Impronta(conteggio_.Doc()), salvato);
        QCOMPARE(FileGrezzo(P("Vecchio")).Righe("SELECT count(*) FROM verifica"), QStringList{"i:1"});
    }

    // A file written before the average CMS was kept opens with none, and
    // keeps the figures typed afterwards.
    void fileSenzaCMSMedia()
    {
        CreaConteggio(c_, QStringLiteral("Prima"));
        for (int q = 1; q <= 4; ++q)
            FileGrezzo(P("Prima")).Esegui("ALTER TABLE verifica DROP COLUMN cmsmedia" + std::to_string(q));
        Compila(conteggio_.Doc(), 0);
        conteggio_.Carica(c_, QStringLiteral("Prima"));
        for (int q = 1; q <= 4; ++q)
            QVERIFY(!conteggio_.Doc().Usura().CMSMedia(q));
        QCOMPARE(conteggio_.Doc().Usura().CategoriaConto(), std::string("APERTURE DI CREDITO IN CONTO CORRENTE"));
        conteggio_.Doc().Usura().setCMSMedia(3, 0.0042);
        conteggio_.Salva();
        conteggio_.Doc().Usura().setCMSMedia(3, 0);
        conteggio_.Carica(c_, QStringLiteral("Prima"));
        QCOMPARE(*conteggio_.Doc().Usura().CMSMedia(3), 0.0042);
    }

    void creazioneNonSovrascriveMai()
    {
        Scrivi(P("Esiste"), "dati dell'utente");
        QVERIFY(Messaggio([&] { CreaConteggio(c_, "Esiste"); }).contains("esiste già"));
        QCOMPARE(Contenuto(P("Esiste")), QByteArray("dati dell'utente"));

        QVERIFY(QDir(c_).mkdir("Cartella.ccc"));
        QVERIFY(Messaggio([&] { CreaConteggio(c_, "Cartella"); }).contains("esiste già"));
        QVERIFY(QFile::link(c_ + "/nessuno", P("Collegamento")));  // a dangling link is a name in use too
        QVERIFY(Messaggio([&] { CreaConteggio(c_, "Collegamento"); }).contains("esiste già"));
        QVERIFY(!QFileInfo::exists(c_ + "/nessuno"));

        // Names differing in case are different files here; the dialogs ask
        // EsisteConteggio, which ignores case.
        CreaConteggio(c_, "Esempio");
        QVERIFY(EsisteConteggio(c_, "esempio") && EsisteConteggio(c_, "ESEMPIO"));
        QVERIFY(EsisteConteggio(c_, "esiste") && !EsisteConteggio(c_, "Esempi"));
        CreaConteggio(c_, "esempio");
        QCOMPARE(Voci(), (QStringList{"Cartella.ccc", "Collegamento.ccc", "Esempio.ccc", "Esiste.ccc", "esempio.ccc"}));

        const QString m = Messaggio([&] { CreaConteggio(c_ + "/manca", "Nuovo"); });
        QVERIFY2(m.contains("«Nuovo»") && m.contains("cartella"), qPrintable(m));
        QVERIFY(Messaggio([&] { CreaConteggio(P("Esiste"), "Nuovo"); }).contains("cartella"));
        for (const char* nome : {"", ".", "..", "a/b", "../fuori"})
            QVERIFY2(Messaggio([&] { CreaConteggio(c_, nome); }).contains("nome non è valido"), nome);
        QVERIFY(!QFileInfo::exists(tmp_.path() + "/fuori.ccc"));
        QCOMPARE(Voci().size(), 5);
    }

    // Where the folder cannot be written (as a user without rights, or a
    // folder made read-only) creation fails and leaves nothing behind.
    void creazioneInCartellaNonScrivibile()
    {
        QVERIFY(QFile::setPermissions(c_, QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(c_).isWritable() && ::access(QFile::encodeName(c_).constData(), W_OK) == 0)
            QSKIP("this user writes into read-only folders");
        QVERIFY(!Messaggio([&] { CreaConteggio(c_, "Nuovo"); }).isEmpty());
        QCOMPARE(Voci(), QStringList());
    }

    void caricamentoDiUnFileNuovo()
    {
        Compila(conteggio_.Doc(), 1);
        CreaConteggio(c_, QStringLiteral("Nuovo"));
        conteggio_.Carica(c_, QStringLiteral("Nuovo"));
        QCOMPARE(conteggio_.Doc().NomeConteggio(), std::string("Nuovo"));
        QCOMPARE(conteggio_.File(), P("Nuovo"));
        QCOMPARE(conteggio_.Doc().AnnoRiferimento(), 2010);
        for (int q = 1; q <= 4; ++q) {
            const BOX& t = conteggio_.Doc().Trimestri(q);
            QCOMPARE(t.Trimestre(), q);
            for (double v : {t.Interessi(), t.Numeri(), t.Spese(), t.GiorniValuta(), t.Commissioni(), t.Accordato(),
                             t.CMS()})
                QCOMPARE(v, 0.0);
        }
        QCOMPARE(conteggio_.Doc().Trimestri(1).Descrizione(), std::string("Inserire descrizione"));
        QCOMPARE(conteggio_.Doc().Trimestri(3).Descrizione(), std::string("Trimestre 3 non salvato"));
        const Mutuo& m = conteggio_.Doc().MutuoCorrente();
        QCOMPARE(m.Descrizione(), std::string("Inserire descrizione"));
        QVERIFY(m.Importo() == 0 && m.Oneri() == 0 && m.Rata() == 0 && m.NRate() == 1 && m.RateAnnuali() == 12);
        const OPE& o = conteggio_.Doc().Operazioni();
        QCOMPARE(o.Descrizione(), std::string("Inserire descrizione"));
        for (int r = 1; r <= 10; ++r)
            QVERIFY(o.Anno(r) == 2010 && o.Mese(r) == 1 && o.Importo(r) == 0 && o.Segno(r) == -1);
        const BREVE& b = conteggio_.Doc().BreveCorrente();
        QCOMPARE(b.Descrizione(), std::string("Inserire descrizione"));
        QVERIFY(b.Data0() == sys_days{year{2010} / 1 / 1} && b.Data1() == sys_days{year{2010} / 1 / 1});
        QVERIFY(b.Finanziato() == 0 && b.Restituito() == 0 && b.Oneri() == 0);
    }

    // Save then load gives back every member bit for bit, two sets of
    // values over each other.
    void andataERitorno()
    {
        CreaConteggio(c_, QStringLiteral("Giro"));
        conteggio_.Carica(c_, QStringLiteral("Giro"));
        for (int variante : {0, 1}) {
            Compila(conteggio_.Doc(), variante);
            conteggio_.Salva();
            const std::string salvato = Impronta(conteggio_.Doc());
            Compila(conteggio_.Doc(), 1 - variante);
            QVERIFY(Impronta(conteggio_.Doc()) != salvato);
            conteggio_.Carica(c_, QStringLiteral("Giro"));
            QCOMPARE(Impronta(conteggio_.Doc()), salvato);
        }
        // Texts are stored as they are, as text.
        FileGrezzo f(P("Giro"));
        QCOMPARE(f.Righe("SELECT descrizione FROM parametri"), QStringList{"t:" + QString::fromUtf8(
                                                                                 "Êxtra \U0001F600 日本語\n\ttab 'x' \"y\"")});
        QCOMPARE(f.Righe("SELECT count(*) FROM parametri"), QStringList{"i:1"});
    }

    // The store keeps no sign of a zero: -0 comes back as 0, equal in value.
    void zeroNegativo()
    {
        CreaConteggio(c_, QStringLiteral("Zero"));
        conteggio_.Carica(c_, QStringLiteral("Zero"));
        conteggio_.Doc().MutuoCorrente().setImporto(-0.0);
        conteggio_.Salva();
        conteggio_.Doc().MutuoCorrente().setImporto(5);
        conteggio_.Carica(c_, QStringLiteral("Zero"));
        QCOMPARE(conteggio_.Doc().MutuoCorrente().Importo(), 0.0);
    }

    // Only the first row counts; fields are found by name in any order and
    // case; fields the program does not know are left alone.
    void primaRigaECampiPerNome()
    {
        CreaConteggio(c_, QStringLiteral("Righe"));
        {
            FileGrezzo f(P("Righe"));
            f.Esegui("INSERT INTO mutuo SELECT 'seconda', 1, 2, 3, 4, 5");
            f.Esegui("UPDATE mutuo SET importo = 777 WHERE rowid = 1");
            f.Esegui("ALTER TABLE breve ADD COLUMN nota TEXT");
            f.Esegui("UPDATE breve SET nota = 'resta'");
            f.Esegui("ALTER TABLE parametri RENAME COLUMN cms2 TO CMS2");
            f.Esegui("UPDATE parametri SET CMS2 = 2.5, anno = 2011.5");  // halves go to the even year
        }
        conteggio_.Carica(c_, QStringLiteral("Righe"));
        QCOMPARE(conteggio_.Doc().MutuoCorrente().Importo(), 777.0);
        QCOMPARE(conteggio_.Doc().MutuoCorrente().Descrizione(), std::string("Inserire descrizione"));
        QCOMPARE(conteggio_.Doc().Trimestri(2).CMS(), 2.5);
        QCOMPARE(conteggio_.Doc().AnnoRiferimento(), 2012);
        conteggio_.Doc().MutuoCorrente().setImporto(888);
        conteggio_.Salva();
        FileGrezzo f(P("Righe"));
        QCOMPARE(f.Righe("SELECT importo, descrizione FROM mutuo ORDER BY rowid"),
                 (QStringList{"r:888|t:Inserire descrizione", "r:1|t:seconda"}));
        QCOMPARE(f.Righe("SELECT nota FROM breve"), QStringList{"t:resta"});
    }

    // Files that cannot be loaded: each gives its own message naming the
    // calculation, and the calculation open before stays as it was.
    void caricamentoFallito_data()
    {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("atteso");
        const QString nonConteggio = QStringLiteral("non è un file di conteggio");
        QTest::newRow("inesistente") << "" << "non esiste";
        QTest::newRow("vuoto") << "bytes:" << nonConteggio;
        QTest::newRow("casuale") << "casuale" << nonConteggio;
        QTest::newRow("troncato") << "troncato" << "";
        QTest::newRow("intestazione guasta") << "intestazione" << "";
        QTest::newRow("altra struttura") << "sql:DROP TABLE parametri; DROP TABLE mutuo; DROP TABLE ope; "
                                            "DROP TABLE breve; CREATE TABLE clienti (nome TEXT)"
                                         << nonConteggio;
        QTest::newRow("testo") << "bytes:Conteggio del signor Rossi\n" << nonConteggio;
        QTest::newRow("manca tabella") << "sql:DROP TABLE ope" << "manca la tabella «ope»";
        QTest::newRow("manca campo") << "sql:ALTER TABLE mutuo DROP COLUMN rata"
                                     << "manca il campo «rata» della tabella «mutuo»";
        QTest::newRow("manca campo riga 10") << "sql:ALTER TABLE ope DROP COLUMN segno10"
                                             << "manca il campo «segno10» della tabella «ope»";
        QTest::newRow("tabella vuota") << "sql:DELETE FROM breve" << "la tabella «breve» è vuota";
        QTest::newRow("null") << "sql:UPDATE parametri SET numeri3 = NULL"
                              << "il campo «numeri3» della tabella «parametri» è vuoto";
        QTest::newRow("null testo") << "sql:UPDATE ope SET descrizione = NULL" << "«descrizione» della tabella «ope»";
        QTest::newRow("testo in numero") << "sql:UPDATE mutuo SET importo = 'mille'"
                                         << "il campo «importo» della tabella «mutuo» contiene un valore non valido";
        QTest::newRow("binario in numero") << "sql:UPDATE breve SET oneri = x'00ff'" << "«oneri» della tabella «breve»";
        QTest::newRow("binario in testo") << "sql:UPDATE mutuo SET descrizione = x'4142'"
                                          << "«descrizione» della tabella «mutuo»";
        QTest::newRow("testo non utf8") << "sql:UPDATE breve SET descrizione = CAST(x'41ff42' AS TEXT)"
                                        << "«descrizione» della tabella «breve»";
        QTest::newRow("anno 70000") << "sql:UPDATE parametri SET anno = 70000" << "«anno» della tabella «parametri»";
        QTest::newRow("nrate 1e6") << "sql:UPDATE mutuo SET nrate = 1e6" << "«nrate» della tabella «mutuo»";
        QTest::newRow("rateannuali -32769") << "sql:UPDATE mutuo SET rateannuali = -32769" << "«rateannuali»";
        QTest::newRow("segno 40000") << "sql:UPDATE ope SET segno4 = 40000" << "«segno4» della tabella «ope»";
        QTest::newRow("anno oltre 32 bit") << "sql:UPDATE ope SET anno3 = 5000000000" << "«anno3» della tabella «ope»";
        QTest::newRow("mese non finito") << "sql:UPDATE ope SET mese7 = 9e999" << "«mese7» della tabella «ope»";
        QTest::newRow("data lontana") << "sql:UPDATE breve SET data0 = 1e9" << "«data0» della tabella «breve»";
        QTest::newRow("data prima dell'anno 100") << "sql:UPDATE breve SET data1 = -657435" << "«data1»";
        QTest::newRow("data testo") << "sql:UPDATE breve SET data1 = 'ieri'" << "«data1» della tabella «breve»";
        QTest::newRow("senza identificatori di riga")
            << "sql:DROP TABLE mutuo; CREATE TABLE mutuo (descrizione TEXT PRIMARY KEY, importo DOUBLE, oneri DOUBLE, "
               "rata DOUBLE, nrate DOUBLE, rateannuali DOUBLE) WITHOUT ROWID; INSERT INTO mutuo VALUES ('a',1,2,3,4,5)"
            << "struttura";
        QTest::newRow("cartella") << "cartella" << "non è un file";
        QTest::newRow("verifica vuota") << "sql:DELETE FROM verifica" << "la tabella «verifica» è vuota";
        QTest::newRow("verifica senza campo") << "sql:ALTER TABLE verifica DROP COLUMN classebreve"
                                              << "manca il campo «classebreve» della tabella «verifica»";
        QTest::newRow("categoria null") << "sql:UPDATE verifica SET categoriamutuo = NULL"
                                        << "il campo «categoriamutuo» della tabella «verifica» è vuoto";
        QTest::newRow("classe binaria") << "sql:UPDATE verifica SET classeconto = x'00ff'" << "«classeconto»";
        QTest::newRow("data stipula testo") << "sql:UPDATE verifica SET datastipula = '1/1/2010'" << "«datastipula»";
        QTest::newRow("data operazioni lontana") << "sql:UPDATE verifica SET dataoperazioni = 3e6"
                                                 << "«dataoperazioni»";
        QTest::newRow("scoperto negativo") << "sql:UPDATE verifica SET massimoscoperto3 = -1"
                                           << "«massimoscoperto3» della tabella «verifica»";
        QTest::newRow("scoperto infinito") << "sql:UPDATE verifica SET massimoscoperto1 = 9e999" << "«massimoscoperto1»";
        QTest::newRow("scoperto null") << "sql:UPDATE verifica SET massimoscoperto4 = NULL" << "«massimoscoperto4»";
    }

    void caricamentoFallito()
    {
        QFETCH(QString, guasto);
        QFETCH(QString, atteso);
        ApriConteggioDiProva();
        conteggio_.Doc().Trimestri(2).setNumeri(42);  // an edit not yet saved stays too
        conteggio_.SegnaModifica();
        const std::string prima = Impronta(conteggio_.Doc());

        const QString p = P("Guasto");
        if (guasto.startsWith("bytes:")) {
            Scrivi(p, guasto.mid(6).toUtf8());
        } else if (guasto == "casuale") {
            Scrivi(p, Casuali(65536, 7));
        } else if (guasto == "cartella") {
            QVERIFY(QDir().mkpath(p));
        } else if (!guasto.isEmpty()) {
            CreaConteggio(c_, "Guasto");
            if (guasto.startsWith("sql:")) {
                FileGrezzo(p).Esegui(guasto.mid(4).toStdString());
            } else {
                QByteArray b = Contenuto(p);
                if (guasto == "troncato")
                    b.truncate(b.size() / 2);
                else
                    b.replace(0, 16, "Zelvi conteggio!");
                Scrivi(p, b);
            }
        }
        const QString m = Messaggio([this] { conteggio_.Carica(QString(), QString()); });
        QVERIFY(!m.isEmpty());
        const QString messaggio = Messaggio([&] { conteggio_.Carica(c_, "Guasto"); });
        qInfo().noquote() << messaggio;
        QVERIFY2(messaggio.contains("«Guasto»") && messaggio.contains(atteso), qPrintable(messaggio.toUtf8()));
        QVERIFY2(!messaggio.startsWith("ALTRA"), qPrintable(messaggio));
        QCOMPARE(Impronta(conteggio_.Doc()), prima);
        QCOMPARE(conteggio_.Doc().NomeConteggio(), std::string("Aperto"));
        QCOMPARE(conteggio_.File(), P("Aperto"));
        QVERIFY(conteggio_.Modificato());
        // Opening never makes a file that was not there.
        if (guasto.isEmpty())
            QVERIFY(!QFileInfo::exists(p));
        // The calculation still open saves into its own file.
        conteggio_.Salva();
        conteggio_.Carica(c_, "Aperto");
        QCOMPARE(Impronta(conteggio_.Doc()), prima);
    }

    // Saves that cannot be done: the document stays as it is and the file
    // keeps what it had.
    void salvataggioFallito_data()
    {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("sola lettura") << "solalettura" << "sola lettura";
        QTest::newRow("file rimosso") << "rimosso" << "non esiste più";
        QTest::newRow("sostituito") << "sostituito" << "sostituito da un altro programma";
        QTest::newRow("cartella") << "cartella" << "non è un file";
        QTest::newRow("manca tabella") << "sql:DROP TABLE breve" << "manca la tabella «breve»";
        QTest::newRow("manca campo") << "sql:ALTER TABLE ope DROP COLUMN importo10" << "«importo10»";
        QTest::newRow("tabella vuota") << "sql:DELETE FROM mutuo" << "«mutuo» è vuota";
        QTest::newRow("valore non numerico") << "nan" << "«importo3» della tabella «ope» non contiene un numero";
        QTest::newRow("scoperto negativo") << "scoperto" << "«massimoscoperto2» della tabella «verifica»";
        QTest::newRow("nessun conteggio") << "senzanome" << "Nessun conteggio";
    }

    void salvataggioFallito()
    {
        QFETCH(QString, guasto);
        QFETCH(QString, atteso);
        ApriConteggioDiProva();
        Compila(conteggio_.Doc(), 1);
        const QString p = P("Aperto");
        if (guasto == "solalettura") {
            QVERIFY(QFile::setPermissions(p, QFile::ReadOwner | QFile::ReadGroup));
        } else if (guasto == "rimosso") {
            QVERIFY(QFile::remove(p));
        } else if (guasto == "sostituito") {
            QVERIFY(QFile::remove(p));
            Scrivi(p, Casuali(20000, 3));
        } else if (guasto == "cartella") {
            QVERIFY(QFile::remove(p));
            QVERIFY(QDir().mkpath(p));
        } else if (guasto.startsWith("sql:")) {
            FileGrezzo(p).Esegui(guasto.mid(4).toStdString());
        } else if (guasto == "nan") {
            conteggio_.Doc().Operazioni().setImporto(3, std::nan(""));
        } else if (guasto == "scoperto") {
            conteggio_.Doc().Trimestri(2).setMassimoScoperto(-5);
        } else if (guasto == "senzanome") {
            conteggio_.Doc().setNomeConteggio({});
        }
        const QByteArray file = Contenuto(p);
        const std::string prima = Impronta(conteggio_.Doc());
        // A file changed by another program is refused by the open
        // calculation before its tables are looked at: the writer below it
        // checks them.
        const QString m = Messaggio([&] {
            if (guasto.startsWith("sql:"))
                SalvaConteggio(c_, conteggio_.Doc());
            else
                conteggio_.Salva();
        });
        qInfo().noquote() << m;
        QVERIFY2(m.contains(atteso) && !m.startsWith("ALTRA"), qPrintable(m));
        if (guasto != "senzanome")
            QVERIFY2(m.contains("«Aperto»"), qPrintable(m));
        QCOMPARE(Impronta(conteggio_.Doc()), prima);
        QCOMPARE(Contenuto(p), file);
        QCOMPARE(conteggio_.File(), P("Aperto"));
        QVERIFY(!QFileInfo::exists(p + "-journal"));
        QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner);
    }

    // A disk that fills up while saving (a file-size limit stands in for
    // it): the file keeps its last saved state, the document is untouched.
    void discoPieno()
    {
        ApriConteggioDiProva();
        const QString p = P("Aperto");
        const QByteArray file = Contenuto(p);
        conteggio_.Doc().Operazioni().setDescrizione(std::string(200000, 'x'));
        const std::string prima = Impronta(conteggio_.Doc());

        rlimit vecchio{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &vecchio), 0);
        const auto gestore = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = vecchio;
        limite.rlim_cur = static_cast<rlim_t>(file.size());
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
        const QString m = Messaggio([&] { conteggio_.Salva(); });
        setrlimit(RLIMIT_FSIZE, &vecchio);
        std::signal(SIGXFSZ, gestore);

        qInfo().noquote() << m;
        QVERIFY2(m.contains("«Aperto» non è stato salvato"), qPrintable(m.toUtf8()));
        QCOMPARE(Impronta(conteggio_.Doc()), prima);
        QCOMPARE(Contenuto(p), file);
        QVERIFY(!QFileInfo::exists(p + "-journal"));
        // With room again the same document saves and loads back.
        conteggio_.Salva();
        conteggio_.Doc().Operazioni().setDescrizione("");
        conteggio_.Carica(c_, "Aperto");
        QCOMPARE(Impronta(conteggio_.Doc()), prima);
    }

    // A file another program keeps locked: saving waits a little, then
    // says so; loading does the same and keeps the open calculation.
    void fileInUso()
    {
        ApriConteggioDiProva();
        CreaConteggio(c_, "Bloccato");
        const std::string prima = Impronta(conteggio_.Doc());
        FileGrezzo altro(P("Bloccato"));
        altro.Esegui("BEGIN EXCLUSIVE; UPDATE mutuo SET rata = 1");
        const QString m = Messaggio([&] { conteggio_.Carica(c_, "Bloccato"); });
        QVERIFY2(m.contains("«Bloccato»") && m.contains("in uso"), qPrintable(m.toUtf8()));
        QCOMPARE(Impronta(conteggio_.Doc()), prima);
        QCOMPARE(conteggio_.File(), P("Aperto"));
        altro.Esegui("ROLLBACK");
        conteggio_.Carica(c_, "Bloccato");
        altro.Esegui("BEGIN EXCLUSIVE");
        conteggio_.Doc().MutuoCorrente().setRata(5);
        const QString s = Messaggio([&] { conteggio_.Salva(); });
        QVERIFY2(s.contains("non è stato salvato") && s.contains("in uso"), qPrintable(s.toUtf8()));
        altro.Esegui("COMMIT");
        conteggio_.Salva();
    }

    void elencoArchivio()
    {
        ApriConteggioDiProva();
        const std::string prima = Impronta(conteggio_.Doc());
        CreaConteggio(c_, "beta");
        CreaConteggio(c_, "Alfa");
        CreaConteggio(c_, "Maiuscole");
        QVERIFY(QFile::rename(P("Maiuscole"), c_ + "/Maiuscole.CCC"));
        CreaConteggio(c_, ".nascosto");
        Scrivi(P("rotto"), Casuali(5000, 9));
        Scrivi(c_ + "/nota.txt", "x");
        Scrivi(c_ + "/doppio.ccc.bak", "x");
        QVERIFY(QDir(c_).mkdir("cartella.ccc"));
        CreaConteggio(c_, "Senza mutuo");
        FileGrezzo(P("Senza mutuo")).Esegui("DROP TABLE mutuo");
        {
            FileGrezzo f(P("Alfa"));
            f.Esegui("UPDATE parametri SET descrizione = 'Conto A'; UPDATE mutuo SET descrizione = 'Mutuo A';"
                     "UPDATE ope SET descrizione = 'Varie A'; UPDATE breve SET descrizione = 'Breve A'");
        }
        const QList<VoceArchivio> e = ElencoArchivio(c_);
        QStringList nomi;
        for (const VoceArchivio& v : e)
            nomi << v.nome + (v.leggibile ? "" : " (illeggibile)");
        QCOMPARE(nomi, (QStringList{"Alfa", "Aperto", "beta", "rotto (illeggibile)", "Senza mutuo (illeggibile)"}));
        QCOMPARE(e[0].contoCorrente, QStringLiteral("Conto A"));
        QCOMPARE(e[0].mutuo, QStringLiteral("Mutuo A"));
        QCOMPARE(e[0].varie, QStringLiteral("Varie A"));
        QCOMPARE(e[0].breve, QStringLiteral("Breve A"));
        QCOMPARE(e[1].mutuo, QString::fromUtf8("Mutuo l'«ipotecario»"));
        QVERIFY(e[3].contoCorrente.isEmpty() && e[4].contoCorrente.isEmpty() && e[4].breve.isEmpty());
        // Listing leaves the open calculation alone.
        QCOMPARE(Impronta(conteggio_.Doc()), prima);
        QCOMPARE(conteggio_.File(), P("Aperto"));
        QVERIFY(ElencoArchivio(c_ + "/manca").isEmpty());
        // Every listed calculation that reads also loads.
        for (const VoceArchivio& v : e)
            QCOMPARE(Messaggio([&] { conteggio_.Carica(c_, v.nome); }).isEmpty(), v.leggibile);
    }

    void esisteConteggio()
    {
        CreaConteggio(c_, "Rossi");
        Scrivi(c_ + "/Bianchi.txt", "x");
        Scrivi(c_ + "/.Verdi.ccc", "x");
        QVERIFY(EsisteConteggio(c_, "rossi") && EsisteConteggio(c_, "ROSSI") && EsisteConteggio(c_, "Rossi"));
        QVERIFY(EsisteConteggio(c_, "bianchi"));
        QVERIFY(EsisteConteggio(c_, ".verdi"));
        QVERIFY(!EsisteConteggio(c_, "Ross") && !EsisteConteggio(c_, "Rossi.ccc"));
        QVERIFY(!EsisteConteggio(c_ + "/manca", "Rossi"));
    }

    // Two copies of the program on one file: the second opening says so
    // (and may go on); a save after the other copy's save is refused, the
    // other's change kept, and "Salva con nome" still saves this one; a file
    // put in place of the open one is refused too.
    void dueCopie()
    {
        ApriConteggioDiProva();
        ConteggioAperto altra;
        const auto tipo = [&](const std::function<void()>& f) -> QString {
            try {
                f();
            } catch (const ConteggioInUso& e) {
                return QStringLiteral("in uso: ") + QString::fromUtf8(e.what());
            } catch (const ConteggioCambiato& e) {
                return QStringLiteral("cambiato: ") + QString::fromUtf8(e.what());
            }
            return {};
        };
        QString m = tipo([&] { altra.Carica(c_, "Aperto"); });
        QVERIFY2(m.startsWith("in uso: ") && m.contains("«Aperto» è già aperto in un'altra copia"), qPrintable(m));
        QVERIFY(altra.Nome().isEmpty() && altra.File().isEmpty());
        altra.Carica(c_, "Aperto", true);
        altra.Doc().MutuoCorrente().setRata(111);
        altra.Salva();

        conteggio_.Doc().MutuoCorrente().setRata(222);
        conteggio_.SegnaModifica();
        const QByteArray file = Contenuto(P("Aperto"));
        m = tipo([&] { conteggio_.Salva(); });
        QVERIFY2(m.startsWith("cambiato: ") && m.contains("«Aperto» non è stato salvato"), qPrintable(m));
        QCOMPARE(Contenuto(P("Aperto")), file);
        QVERIFY(conteggio_.Modificato());
        conteggio_.SalvaConNome(c_, "Aperto 2");
        Documento letto;
        LeggiConteggio(c_, "Aperto", letto);
        QCOMPARE(letto.MutuoCorrente().Rata(), 111.0);
        LeggiConteggio(c_, "Aperto 2", letto);
        QCOMPARE(letto.MutuoCorrente().Rata(), 222.0);

        // The first file is free once this object left it; saving twice in a
        // row is no conflict.
        ConteggioAperto terza;
        terza.Carica(c_, "Aperto");
        terza.Salva();
        terza.Salva();

        // Another file moved in under the open file's name.
        QVERIFY(QFile::copy(P("Aperto"), c_ + "/copia"));
        QVERIFY(::rename(QFile::encodeName(c_ + "/copia").constData(),
                         QFile::encodeName(P("Aperto 2")).constData()) == 0);
        m = tipo([&] { conteggio_.Salva(); });
        QVERIFY2(m.startsWith("cambiato: ") && m.contains("sostituito"), qPrintable(m));
    }

    // The lock goes with the process that held it, however it ends.
    void bloccoDiUnProcessoFinito()
    {
        CreaConteggio(c_, "Condiviso");
        int tubo[2];
        QCOMPARE(::pipe(tubo), 0);
        const pid_t figlio = ::fork();
        QVERIFY(figlio >= 0);
        if (figlio == 0) {
            ConteggioAperto c;
            c.Carica(c_, "Condiviso");
            (void)!::write(tubo[1], "x", 1);
            ::pause();
            ::_exit(0);
        }
        char c = 0;
        QCOMPARE(::read(tubo[0], &c, 1), ssize_t(1));
        QVERIFY_THROWS_EXCEPTION(ConteggioInUso, conteggio_.Carica(c_, "Condiviso"));
        ::kill(figlio, SIGKILL);
        ::waitpid(figlio, nullptr, 0);
        ::close(tubo[0]);
        ::close(tubo[1]);
        conteggio_.Carica(c_, "Condiviso");
        QCOMPARE(conteggio_.Nome(), QStringLiteral("Condiviso"));
    }

    void rilascio()
    {
        QVERIFY(conteggio_.File().isEmpty());
        CreaConteggio(c_, "Uno");
        CreaConteggio(c_, "Due");
        conteggio_.Carica(c_, "Uno");
        QCOMPARE(conteggio_.File(), P("Uno"));
        conteggio_.Carica(c_, "Due");
        QCOMPARE(conteggio_.File(), P("Due"));
        conteggio_.Chiudi();
        QVERIFY(conteggio_.File().isEmpty());
        conteggio_.Chiudi();
        QCOMPARE(PercorsoConteggio("/a/b", "c d"), QStringLiteral("/a/b/c d.ccc"));
    }
};

QTEST_GUILESS_MAIN(TestArchivio)
#include "test_archivio.moc"
