// "Importa estratto conto…" as the user runs it from the menu, the dialogs
// answered with the mouse and keys: each format into the open calculation
// with its classes, refused files and cancelling leaving it as it was, the
// import taken back until the next save, and the mapping dialog making a
// profile that the next file with the same header finds.
#include "Archivio.h"
#include "ComandoImporta.h"
#include "ConteggioAperto.h"
#include "Dichiarazioni.h"
#include "ImportazioneConto.h"
#include "Mainform.h"
#include "Messaggi.h"
#include "estratti/AiutiEstratti.h"
#include "estratti/ProfiliDiProva.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Risposta = std::function<void(QDialog&)>;

void Clicca(QWidget& d, const char* pulsante)
{
    auto* p = d.findChild<QPushButton*>(QLatin1String(pulsante));
    QVERIFY2(p && p->isVisible(), pulsante);
    QTest::mouseClick(p, Qt::LeftButton);
}

// Opens the list with the mouse, moves down `passi` items with the keys and
// takes the item with Enter.
void Scegli(QComboBox* c, int passi)
{
    QVERIFY(c);
    QWindow* finestra = c->window()->windowHandle();
    const QPoint dove = c->mapTo(c->window(), QPoint(5, c->height() / 2));
    QTest::mousePress(finestra, Qt::LeftButton, {}, dove);
    QTest::mouseRelease(finestra, Qt::LeftButton, {}, dove, 60);
    QTRY_VERIFY(c->view()->isVisible());
    for (int i = 0; i < passi; ++i)
        QTest::keyClick(c->view(), Qt::Key_Down);
    QTest::keyClick(c->view(), Qt::Key_Return);
    QTRY_VERIFY(!c->view()->isVisible());
}

QStringList Classi(const std::vector<Movimento>& movimenti)
{
    QStringList c;
    for (const Movimento& m : movimenti)
        c << QString::fromStdString(NomeClasse(m.classe));
    return c;
}

// A CBI flow of one statement with n movements of one euro, sound.
QByteArray CBIGrande(int n)
{
    auto record = [](std::initializer_list<std::pair<int, QByteArray>> campi) {
        QByteArray r(120, ' ');
        for (const auto& [posizione, testo] : campi)
            r.replace(posizione - 1, testo.size(), testo);
        return r + "\r\n";
    };
    QByteArray cbi = record({{2, "RH"}, {4, "05428"}, {9, "AB123"}, {14, "010124"}});
    cbi += record({{2, "61"}, {4, "0000001"}, {53, "05428"}, {58, "11101"}, {63, "000000123456"}, {75, "EUR"},
                   {78, "311223"}, {84, "C"}, {85, "000000000000,00"}});
    for (int i = 0; i < n; ++i)
        cbi += record({{2, "62"}, {4, "0000001"}, {14, "311223"}, {20, "311223"}, {26, "C"}, {27, "000000000001,00"},
                       {42, "48"}, {87, "ACCREDITO " + QByteArray::number(i)}});
    cbi += record({{2, "64"}, {4, "0000001"}, {11, "EUR"}, {14, "311223"}, {20, "C"},
                   {21, QByteArray::number(n).rightJustified(12, '0') + ",00"}});
    cbi += record({{2, "EF"}, {4, "05428"}, {46, "0000001"}, {83, QByteArray::number(n + 4).rightJustified(7, '0')}});
    return cbi;
}

} // namespace

class TestImportazioneConto : public QObject {
    Q_OBJECT

    QTemporaryDir cartella_;
    std::unique_ptr<Mainform> m_;
    QStringList dialoghi_;

    QString Archivio() const { return cartella_.path() + QStringLiteral("/Archivio"); }
    QAction* A(const char* nome) { return m_->findChild<QAction*>(QLatin1String(nome)); }
    ContoMovimenti& Conto() { return m_->Conteggio().Doc().ContoCorrente(); }

    // Runs the command from the File menu on `file`, each dialog answered by
    // its risposta (none: left as shown, so cancelled).
    void Importa(const QStringList& file, const std::map<QString, Risposta>& risposte)
    {
        dialoghi_.clear();
        ImpostaRisposteImportazione({[file] { return file; },
                                     [this, risposte](QDialog& d) {
                                         dialoghi_ << d.objectName();
                                         if (const auto r = risposte.find(d.objectName()); r != risposte.end())
                                             r->second(d);
                                     }});
        A("mnuImporta")->trigger();
        ImpostaRisposteImportazione({});
    }

    static std::map<QString, Risposta> Conferma()
    {
        return {{"frmEsitoImportazione", [](QDialog& d) { Clicca(d, "Importa"); }}};
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(cartella_.isValid());
    }

    void init()
    {
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Yes; });
        QDir(Archivio()).removeRecursively();
        QDir().mkpath(Archivio());
        CreaConteggio(Archivio(), QStringLiteral("Prova"));
        m_ = std::make_unique<Mainform>();
        m_->ImpostaCartellaProgramma(cartella_.path());
        QVERIFY(m_->CaricaConteggio(QStringLiteral("Prova")));
        MessaggiMostrati();
    }

    void cleanup()
    {
        m_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ImpostaRisponditore({});
    }

    // Each format goes in whole, each movement classed by the calculation's
    // rules, the account's particulars filled; taking it back leaves the
    // account empty again.
    void ogniFormato_data()
    {
        QTest::addColumn<QString>("fissaggio");
        QTest::addColumn<QStringList>("classi");
        QTest::addColumn<int>("saldi");
        QTest::addColumn<QString>("conto");
        QTest::newRow("CBI") << "estratto.cbi"
                             << QStringList{"ordinario", "ordinario", "interessi debitori", "imposte"} << 2
                             << "IT60X0542811101000000123456";
        QTest::newRow("camt.053.001.02") << "camt053_v02.xml"
                                         << QStringList{"ordinario", "ordinario", "ordinario"} << 1
                                         << "IT60X0542811101000000123456";
        QTest::newRow("camt.053.001.08") << "camt053_v08.xml" << QStringList{"interessi debitori", "imposte"} << 1
                                         << "000000123456";
        QTest::newRow("CSV con profilo") << "movimenti_cp1252.csv"
                                         << QStringList{"commissioni", "ordinario", "ordinario"} << 1 << "";
        QTest::newRow("OFX") << "estratto.ofx" << QStringList{"ordinario", "ordinario", "commissioni"} << 0
                             << "000000123456";
    }

    void ogniFormato()
    {
        QFETCH(QString, fissaggio);
        QFETCH(QStringList, classi);
        QFETCH(int, saldi);
        QFETCH(QString, conto);
        ArchivioProfiliCSV profili(Archivio());
        profili.Metti(ProfiloBancaDiProva());
        QString errore;
        QVERIFY(profili.Salva(&errore));
        QVERIFY(!A("mnuAnnullaImportazione")->isEnabled());

        Importa({Fissaggio(fissaggio)}, Conferma());
        QCOMPARE(dialoghi_, (QStringList{"frmAvanzamentoImportazione", "frmEsitoImportazione"}));
        QCOMPARE(Classi(Conto().movimenti), classi);
        QCOMPARE(Conto().saldi.size(), std::size_t(saldi));
        const DatiConto& c = Conto().conto;
        QCOMPARE(QString::fromStdString(c.iban.empty() ? c.numero : c.iban), conto);
        for (const Movimento& m : Conto().movimenti)
            QVERIFY(m.regolaClasse != ClasseAMano && QString::fromStdString(m.file) == fissaggio);
        QVERIFY(m_->Conteggio().Modificato());
        QVERIFY(A("mnuAnnullaImportazione")->isEnabled());

        A("mnuAnnullaImportazione")->trigger();
        QVERIFY(StessoConto(Conto(), ContoMovimenti{}));
        QVERIFY(!A("mnuAnnullaImportazione")->isEnabled());
        QCOMPARE(MessaggiMostrati(), QStringList());
    }

    // A refused file adds nothing: alone, the summary only closes and the
    // calculation stays unmodified; beside a sound file, only that one goes
    // in, and the summary names the record at fault.
    void fileRifiutato()
    {
        QTemporaryDir dir;
        QList<QByteArray> record = LeggiFissaggio("estratto.cbi").split('\n');
        record[4].remove(record[4].size() - 2, 1);  // 119 characters and the line's end
        const QString guasto = ScriviFile(QDir(dir.path()), "guasto.cbi", record.join('\n'));

        Importa({guasto}, {{"frmEsitoImportazione", [](QDialog& d) {
                                QVERIFY(!d.findChild<QPushButton*>("Importa"));
                                Clicca(d, "Chiudi");
                            }}});
        QCOMPARE(dialoghi_.size(), 2);
        QVERIFY(StessoConto(Conto(), ContoMovimenti{}));
        QVERIFY(!m_->Conteggio().Modificato());

        QString avvisi;
        Importa({guasto, Fissaggio("camt053_v02.xml")},
                {{"frmEsitoImportazione", [&avvisi](QDialog& d) {
                      avvisi = d.findChild<QPlainTextEdit*>("Avvisi")->toPlainText();
                      const QTableWidget* t = d.findChild<QTableWidget*>("Estratti");
                      QCOMPARE(t->rowCount(), 2);
                      QCOMPARE(t->item(0, 2)->text(), QStringLiteral("rifiutato"));
                      QCOMPARE(t->item(1, 2)->text(), QStringLiteral("saldi quadrati"));
                      Clicca(d, "Importa");
                  }}});
        QVERIFY2(avvisi.contains("guasto.cbi, record 5: il record è lungo 119 caratteri invece di 120."),
                 qPrintable(avvisi));
        QCOMPARE(Conto().movimenti.size(), std::size_t(3));
        for (const Movimento& m : Conto().movimenti)
            QCOMPARE(QString::fromStdString(m.file), QStringLiteral("camt053_v02.xml"));
    }

    // "Annulla" while the files are read, or on the summary, leaves the
    // calculation as it was.
    void annullare()
    {
        QTemporaryDir dir;
        const QString grande = ScriviFile(QDir(dir.path()), "grande.cbi", CBIGrande(60000));
        bool fermato = false;
        Importa({grande}, {{"frmAvanzamentoImportazione", [&fermato](QDialog& d) {
                                Clicca(d, "");
                                fermato = static_cast<QProgressDialog&>(d).wasCanceled();
                            }}});
        QVERIFY(fermato);
        QCOMPARE(dialoghi_, QStringList{"frmAvanzamentoImportazione"});
        QVERIFY(StessoConto(Conto(), ContoMovimenti{}));
        QVERIFY(!m_->Conteggio().Modificato());

        Importa({Fissaggio("estratto.cbi")}, {{"frmEsitoImportazione", [](QDialog& d) { Clicca(d, "Annulla"); }}});
        QCOMPARE(dialoghi_.size(), 2);
        QVERIFY(StessoConto(Conto(), ContoMovimenti{}));
        QVERIFY(!m_->Conteggio().Modificato() && !A("mnuAnnullaImportazione")->isEnabled());
    }

    // The last import is taken back until the next save; a change made after
    // it is lost only if the user says so; loading another calculation
    // forgets it too. The same file twice adds nothing the second time.
    void annullaImportazione()
    {
        Importa({Fissaggio("estratto.cbi")}, Conferma());
        A("mnuSalva")->trigger();
        QVERIFY(!m_->Conteggio().Modificato() && !A("mnuAnnullaImportazione")->isEnabled());
        const ContoMovimenti salvato = Conto();
        m_->EseguiComando(QStringLiteral("annullaimportazione"));
        QVERIFY(MessaggiMostrati().value(0).startsWith("Non c'è un'importazione da annullare"));
        QVERIFY(StessoConto(Conto(), salvato));

        Importa({Fissaggio("estratto.cbi")}, {{"frmEsitoImportazione", [](QDialog& d) {
                                                  QVERIFY(!d.findChild<QPushButton*>("Importa"));
                                                  QVERIFY(d.findChild<QLabel*>("Riepilogo")->text().contains(
                                                      "0 movimenti da aggiungere, 4 già presenti"));
                                              }}});
        QVERIFY(StessoConto(Conto(), salvato));

        Importa({Fissaggio("camt053_v02.xml")}, Conferma());
        QCOMPARE(Conto().movimenti.size(), std::size_t(7));
        // A class set by hand in a window after the import.
        Conto().movimenti.back().classe = ClasseMovimento::Commissioni;
        Conto().movimenti.back().regolaClasse = ClasseAMano;
        m_->Conteggio().SegnaModifica();
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::No; });
        A("mnuAnnullaImportazione")->trigger();
        QVERIFY(MessaggiMostrati().value(0).contains("si perdono anche queste modifiche"));
        QCOMPARE(Conto().movimenti.size(), std::size_t(7));
        ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Yes; });
        A("mnuAnnullaImportazione")->trigger();
        QVERIFY(StessoConto(Conto(), salvato));

        Importa({Fissaggio("camt053_v02.xml")}, Conferma());
        QVERIFY(A("mnuAnnullaImportazione")->isEnabled());
        QVERIFY(m_->CaricaConteggio(QStringLiteral("Prova")));
        QVERIFY(!A("mnuAnnullaImportazione")->isEnabled());
        QVERIFY(StessoConto(Conto(), salvato));
    }

    // A text export no profile knows opens the mapping dialog: the columns
    // chosen with mouse and keys, the preview reads every row, the profile is
    // saved in the archive and the next file with the same header is read
    // with it, no dialog asked.
    void profiloPerUnFileNuovo()
    {
        QTemporaryDir dir;
        const QByteArray intestazione = "Giorno;Val.;Movimento;Note\r\n";
        const QString aprile = ScriviFile(QDir(dir.path()), "aprile.csv",
                                          intestazione + "03/04/23;02/04/23;-12.50;Canone\r\n"
                                                         "05/04/23;06/04/23;1,500.00;Fattura 7\r\n"
                                                         "07/04/23;07/04/23;-3.00;Spese bonifico\r\n");
        QString esito, formato;
        Importa({aprile},
                {{"frmProfiloCSV",
                  [&esito](QDialog& d) {
                      auto* nome = d.findChild<QLineEdit*>("Nome");
                      QTest::mouseClick(nome, Qt::LeftButton);
                      QTest::keyClick(nome, Qt::Key_A, Qt::ControlModifier);
                      QTest::keyClicks(nome, "Banca del paese");
                      Scegli(d.findChild<QComboBox*>("Decimale"), 1);             // punto
                      Scegli(d.findChild<QComboBox*>("ColonnaValuta"), 2);        // 2 – Val.
                      Scegli(d.findChild<QComboBox*>("ColonnaImporto"), 3);       // 3 – Movimento
                      Scegli(d.findChild<QComboBox*>("ColonnaDescrizione"), 4);   // 4 – Note
                      esito = d.findChild<QLabel*>("Esito")->text();
                      const QTableWidget* t = d.findChild<QTableWidget*>("Anteprima");
                      QCOMPARE(t->item(1, 5)->text(), QStringLiteral("05/04/2023 (valuta 06/04/2023)  1.500,00  Fattura 7"));
                      Clicca(d, "Salva");
                  }},
                 {"frmEsitoImportazione", [](QDialog& d) { Clicca(d, "Importa"); }}});
        QCOMPARE(esito, QStringLiteral("Righe mostrate: 3 lette, 0 con difetti."));
        QCOMPARE(Righe(Conto().movimenti),
                 (QStringList{"03/04/2023 02/04/2023 -12,50 / Canone @2", "05/04/2023 06/04/2023 1.500,00 / Fattura 7 @3",
                              "07/04/2023 07/04/2023 -3,00 / Spese bonifico @4"}));
        ArchivioProfiliCSV salvati(Archivio());
        QString errore;
        QVERIFY(salvati.Carica(&errore));
        QVERIFY(salvati.Trova("Banca del paese"));

        const QString maggio =
            ScriviFile(QDir(dir.path()), "maggio.csv", intestazione + "02/05/23;02/05/23;-40.00;Telefono\r\n");
        Importa({maggio}, {{"frmEsitoImportazione", [&formato](QDialog& d) {
                                formato = d.findChild<QTableWidget*>("Estratti")->item(0, 1)->text();
                                Clicca(d, "Importa");
                            }}});
        QCOMPARE(dialoghi_, (QStringList{"frmAvanzamentoImportazione", "frmEsitoImportazione"}));
        QCOMPARE(formato, QStringLiteral("CSV, profilo \u00abBanca del paese\u00bb"));
        QCOMPARE(Conto().movimenti.size(), std::size_t(4));

        // The bank changes its dates: the file read with the saved profile is
        // refused; asked, the user corrects the profile and the files are read
        // again with it, now saved in its place.
        const QString giugno =
            ScriviFile(QDir(dir.path()), "giugno.csv", intestazione + "2023-06-01;2023-06-01;-40.00;Telefono\r\n");
        Importa({giugno}, {{"frmProfiloCSV",
                            [](QDialog& d) {
                                Scegli(d.findChild<QComboBox*>("FormatoData"), 1);  // gg/mm/aa to aaaa-mm-gg
                                Clicca(d, "Salva");
                            }},
                           {"frmEsitoImportazione", [](QDialog& d) { Clicca(d, "Importa"); }}});
        QCOMPARE(dialoghi_, (QStringList{"frmAvanzamentoImportazione", "frmProfiloCSV", "frmAvanzamentoImportazione",
                                         "frmEsitoImportazione"}));
        QCOMPARE(Conto().movimenti.size(), std::size_t(5));
        QVERIFY(salvati.Carica(&errore));
        QCOMPARE(salvati.Profili().size(), std::size_t(1));
        QCOMPARE(salvati.Trova("Banca del paese")->formatoData, FormatoData::AAAAMMGG);

        // Skipped, a file no profile knows is refused and says why.
        QString avvisi;
        const QString ignoto = ScriviFile(QDir(dir.path()), "ignoto.csv", "A;B\r\n1;2\r\n");
        Importa({ignoto}, {{"frmEsitoImportazione", [&avvisi](QDialog& d) {
                                avvisi = d.findChild<QPlainTextEdit*>("Avvisi")->toPlainText();
                            }}});
        QCOMPARE(dialoghi_, (QStringList{"frmProfiloCSV", "frmAvanzamentoImportazione", "frmEsitoImportazione"}));
        QVERIFY2(avvisi.contains("nessun profilo CSV ne riconosce"), qPrintable(avvisi));
        QCOMPARE(Conto().movimenti.size(), std::size_t(5));
    }
};

QTEST_MAIN(TestImportazioneConto)
#include "test_importazione_conto.moc"
