// The loan's contract in the calculation file: its data and costs kept
// exactly, a file made before them loading as it did, a damaged value refused.
#include "AiutiArchivio.h"
#include "Archivio.h"
#include "ConteggioAperto.h"

#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono;

namespace {

void Compila(Documento& d)
{
    d.MutuoCorrente().setImporto(100000);
    d.Usura().setDataStipula(sys_days{2019y / May / 10});
    DatiContratto& c = d.Contratto();
    c.dataPrimaRata = sys_days{2019y / June / 30};
    c.tan = 0.02 + 1e-17;  // kept to the last bit
    c.base = BaseTan::Effettivi360;
    c.metodo = MetodoAmmortamento::Italiano;
    c.giorniPreammortamento = 20;
    c.taegDichiarato = 0.0231;
    c.costi = {CostoPredefinito(TipoCosto::Perizia, 300, PagamentoCosto::Stipula),
               CostoPredefinito(TipoCosto::Assicurazione, 120.5, PagamentoCosto::Annuale),
               CostoPredefinito(TipoCosto::Altro, 50, PagamentoCosto::AllaData)};
    c.costi[1].nelTasso = false;
    c.costi[1].descrizione = "Polizza «casa»; DROP TABLE costi; --";
    c.costi[1].motivo = "scelta dell'utente: non collegata";
    c.costi[2].data = sys_days{2020y / January / 31};
    c.mora = {TipoMora::Spread, 0.08};
    c.estinzione = {true, TipoPenale::Fissa, 750, sys_days{2024y / May / 10}};
}

QString Messaggio(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TestArchivioContratto : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString c_;
    QString P(const QString& nome) const { return PercorsoConteggio(c_, nome); }

private slots:
    void init()
    {
        c_ = tmp_.path() + QLatin1Char('/') + QString::fromLatin1(QTest::currentTestFunction());
        QVERIFY(QDir().mkpath(c_));
    }

    void andataERitorno()
    {
        ConteggioAperto scritto, letto;
        CreaConteggio(c_, QStringLiteral("Mutuo"));
        scritto.Carica(c_, QStringLiteral("Mutuo"));
        QVERIFY(!scritto.Doc().Contratto().Indicati());
        Compila(scritto.Doc());
        scritto.Salva();
        letto.Carica(c_, QStringLiteral("Mutuo"), true);  // a second copy, on purpose
        QVERIFY(StessiValori(letto.Doc(), scritto.Doc()));
        const DatiContratto& c = letto.Doc().Contratto();
        QCOMPARE(BitDi(c.tan), BitDi(0.02 + 1e-17));
        QCOMPARE(c.costi[1].descrizione, std::string("Polizza «casa»; DROP TABLE costi; --"));
        QCOMPARE(*c.costi[2].data, sys_days{2020y / January / 31});
        QVERIFY(!c.costi[0].data && !c.costi[1].nelTasso);
        QCOMPARE(c.estinzione.valore, 750.0);
        QCOMPARE(*c.taegDichiarato, 0.0231);

        // Saved again without the stated TAEG and the costs: gone from the file.
        letto.Doc().Contratto().taegDichiarato.reset();
        letto.Doc().Contratto().costi.clear();
        letto.Salva();
        scritto.Carica(c_, QStringLiteral("Mutuo"), true);
        QVERIFY(!scritto.Doc().Contratto().taegDichiarato && scritto.Doc().Contratto().costi.empty());
        QCOMPARE(FileGrezzo(P("Mutuo")).Righe("SELECT count(*) FROM costi"), QStringList{"i:0"});
    }

    // A file of before: the mortgage as it was, no contract; the tables come
    // with the next save.
    void fileSenzaContratto()
    {
        CreaConteggio(c_, QStringLiteral("Vecchio"));
        FileGrezzo(P("Vecchio")).Esegui("DROP TABLE contratto; DROP TABLE costi; UPDATE mutuo SET importo = 5000");
        ConteggioAperto a;
        Compila(a.Doc());
        a.Carica(c_, QStringLiteral("Vecchio"));
        QCOMPARE(a.Doc().MutuoCorrente().Importo(), 5000.0);
        QVERIFY(!a.Doc().Contratto().Indicati());
        QVERIFY(a.Doc().Contratto().costi.empty());
        Compila(a.Doc());
        a.Salva();
        ConteggioAperto b;
        b.Carica(c_, QStringLiteral("Vecchio"), true);
        QVERIFY(StessiValori(a.Doc(), b.Doc()));
        QCOMPARE(FileGrezzo(P("Vecchio")).Righe("SELECT count(*) FROM costi"), QStringList{"i:3"});
    }

    // A value no contract has is refused with its table and field; nothing loads.
    void valoriDanneggiati_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("metodo") << "UPDATE contratto SET metodo = 3" << "«metodo» della tabella «contratto»";
        QTest::newRow("tan testo") << "UPDATE contratto SET tan = 'quattro'" << "«tan»";
        QTest::newRow("tipo del costo") << "UPDATE costi SET tipo = 7 WHERE rowid = 1" << "tabella «costi», riga 1: tipo";
        QTest::newRow("nel tasso") << "UPDATE costi SET neltasso = 2" << "neltasso";
        QTest::newRow("data del costo") << "UPDATE costi SET data = 'ieri' WHERE rowid = 3" << "«data»";
    }
    void valoriDanneggiati()
    {
        QFETCH(QString, sql);
        QFETCH(QString, atteso);
        QFile::remove(P("Danneggiato"));  // left by a row that failed
        ConteggioAperto a;
        CreaConteggio(c_, QStringLiteral("Danneggiato"));
        a.Carica(c_, QStringLiteral("Danneggiato"));
        Compila(a.Doc());
        a.Salva();
        a.Chiudi();
        FileGrezzo(P("Danneggiato")).Esegui(sql.toStdString());
        ConteggioAperto b;
        const QString m = Messaggio([&] { b.Carica(c_, QStringLiteral("Danneggiato")); });
        QVERIFY2(m.contains(atteso), qPrintable(m));
        QVERIFY(b.File().isEmpty());
        QVERIFY(!b.Doc().Contratto().Indicati());
        QDir(c_).removeRecursively();
        QDir().mkpath(c_);
    }
};

QTEST_MAIN(TestArchivioContratto)
#include "test_archivio_contratto.moc"
