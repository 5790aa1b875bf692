// The printer choice, printing on the current device with its failures, and
// the print and copy commands reading the windows' controls.
#include "Dichiarazioni.h"
#include "FinestraFiglia.h"
#include "EsempiStampa.h"
#include "LetturaFinestre.h"
#include "Messaggi.h"
#include "Stampanti.h"
#include "frmImpostaStampante.h"
#include "modCopia.h"

#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QLineEdit* campo(QWidget* f, const QString& nome, const QString& testo)
{
    auto* e = new QLineEdit(testo, f);
    e->setObjectName(nome);
    return e;
}

QLabel* etichetta(QWidget* f, const QString& nome, const QString& testo)
{
    auto* l = new QLabel(testo, f);
    l->setObjectName(nome);
    return l;
}

QComboBox* lista(QWidget* f, const QString& nome, const QStringList& voci, const QString& testo)
{
    auto* c = new QComboBox(f);
    c->setObjectName(nome);
    c->addItems(voci);
    c->setCurrentText(testo);
    return c;
}

// A window with a field being edited: committing reformats it.
class FinestraInModifica : public FinestraFiglia {
public:
    FinestraInModifica() : FinestraFiglia(QStringLiteral("frmMutuo"), QStringLiteral("1513506645"))
    {
        importo = campo(this, QStringLiteral("XPText1(0)"), QStringLiteral("1234,5"));
    }
    void Pagina() override {}
    void ConfermaModifiche() override
    {
        ++conferme;
        importo->setText(QStringLiteral("1.234,50"));
    }
    QLineEdit* importo;
    int conferme = 0;
};

void eliminaRinviati() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class TestStampanti : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void predefinitaOFilePdf();
    void elencoEChiaviDelDialogo();
    void fattoCambiaStampante();
    void annullaLasciaStampante();
    void fattoSenzaSceltaNonChiude();
    void consiglioPdf();
    void stampanteGuastaMostraMessaggio();
    void stampaSuFilePdf();
    void fileNonScrivibile();
    void titoloNonStampaNeCopia();
    void finestraBreveLetta();
    void finestraOperazioniLetta();
    void grigliaDallaVista();
    void campoInModificaConfermato();
    void logoDellaFinestraPrincipale();

private:
    frmImpostaStampante* apri(QWidget& principale);
    QStringList scelteFile_;
    QString rispostaFile_;
    QTemporaryDir cartella_;
};

void TestStampanti::init()
{
    ImpostaRisponditore([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    ImpostaFonteStampanti([] { return QStringList{QStringLiteral("Ufficio"), QStringLiteral("Laser 2"),
                                                  QStringLiteral("Ricevute")}; },
                          [] { return QStringLiteral("Laser 2"); });
    scelteFile_.clear();
    rispostaFile_.clear();
    ImpostaSceltaFilePdf([this](QWidget*, const QString& proposto) {
        scelteFile_ << proposto;
        return rispostaFile_;
    });
}

void TestStampanti::cleanup()
{
    ImpostaRisponditore({});
    ImpostaSceltaFilePdf({});
    ImpostaFonteStampanti({}, {});
}

frmImpostaStampante* TestStampanti::apri(QWidget& principale)
{
    SelezionaStampante(&principale);
    return principale.findChild<frmImpostaStampante*>(QStringLiteral("frmImpostaStampante"));
}

void TestStampanti::predefinitaOFilePdf()
{
    QCOMPARE(StampanteCorrente(), QStringLiteral("Laser 2"));
    QCOMPARE(DispositiviStampa(), (QStringList{QStringLiteral("Ufficio"), QStringLiteral("Laser 2"),
                                               QStringLiteral("Ricevute"), DispositivoPdf}));
    ImpostaFonteStampanti([] { return QStringList(); }, [] { return QString(); });
    QCOMPARE(StampanteCorrente(), DispositivoPdf);
    QCOMPARE(DispositiviStampa(), QStringList{DispositivoPdf});
    // A default the system no longer lists is not taken.
    ImpostaFonteStampanti([] { return QStringList{QStringLiteral("A")}; }, [] { return QStringLiteral("B"); });
    QCOMPARE(StampanteCorrente(), DispositivoPdf);
}

void TestStampanti::elencoEChiaviDelDialogo()
{
    QWidget principale;
    principale.resize(1000, 700);
    principale.move(100, 50);
    principale.show();
    QPointer<frmImpostaStampante> d = apri(principale);
    QVERIFY(d);
    QVERIFY(d->isVisible());
    QVERIFY(!principale.isEnabled());
    QVERIFY(d->isEnabled());
    QCOMPARE(d->findChild<QLabel*>(QStringLiteral("XPButton2"))->text(),
             QStringLiteral("Seleziona dispositivo di stampa"));
    QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("Command6"))->text(), QStringLiteral("Fatto"));
    QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("Command5"))->text(), QStringLiteral("Annulla"));

    // Centred on the main window.
    const QPoint centro = principale.mapToGlobal(QPoint(500, 350));
    QVERIFY(std::abs(d->pos().x() + d->width() / 2 - centro.x()) <= 2);
    QVERIFY(std::abs(d->pos().y() + d->height() / 2 - centro.y()) <= 2);

    auto* l = d->findChild<QListWidget*>(QStringLiteral("ListView1"));
    QCOMPARE(l->count(), 4);
    const QStringList nomi = {QStringLiteral("Ufficio"), QStringLiteral("Laser 2"), QStringLiteral("Ricevute"),
                              DispositivoPdf};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(l->item(i)->text(), nomi[i]);
        QCOMPARE(l->item(i)->data(Qt::UserRole).toString(), QStringLiteral("k%1").arg(i + 1));
        QCOMPARE(l->item(i)->data(Qt::UserRole + 1).toInt(), i == 1 ? 1 : 2);
        QCOMPARE(l->item(i)->isSelected(), i == 1);
    }
    QVERIFY(l->item(1)->icon().cacheKey() == frmImpostaStampante::Icona(1).cacheKey());
    QVERIFY(l->item(0)->icon().cacheKey() == frmImpostaStampante::Icona(2).cacheKey());

    // "Fatto" without touching the list keeps the second printer.
    QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("Command6")), Qt::LeftButton);
    eliminaRinviati();
    QVERIFY(!d);
    QVERIFY(principale.isEnabled());
    QCOMPARE(StampanteCorrente(), QStringLiteral("Laser 2"));
}

void TestStampanti::fattoCambiaStampante()
{
    QWidget principale;
    QPointer<frmImpostaStampante> d = apri(principale);
    auto* l = d->findChild<QListWidget*>(QStringLiteral("ListView1"));
    l->setCurrentRow(2);
    d->Fatto();
    eliminaRinviati();
    QVERIFY(!d);
    QCOMPARE(StampanteCorrente(), QStringLiteral("Ricevute"));

    // The next opening marks the new current printer.
    d = apri(principale);
    l = d->findChild<QListWidget*>(QStringLiteral("ListView1"));
    QCOMPARE(l->selectedItems().first()->text(), QStringLiteral("Ricevute"));
    QCOMPARE(l->item(2)->data(Qt::UserRole + 1).toInt(), 1);
    QCOMPARE(l->item(1)->data(Qt::UserRole + 1).toInt(), 2);
    l->setCurrentRow(3);
    d->Fatto();
    QCOMPARE(StampanteCorrente(), DispositivoPdf);
}

void TestStampanti::annullaLasciaStampante()
{
    QWidget principale;
    QPointer<frmImpostaStampante> d = apri(principale);
    d->findChild<QListWidget*>(QStringLiteral("ListView1"))->setCurrentRow(0);
    QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("Command5")), Qt::LeftButton);
    eliminaRinviati();
    QVERIFY(!d);
    QVERIFY(principale.isEnabled());
    QCOMPARE(StampanteCorrente(), QStringLiteral("Laser 2"));

    // Closing the window is "Annulla" too.
    d = apri(principale);
    d->close();
    eliminaRinviati();
    QVERIFY(!d);
    QVERIFY(principale.isEnabled());
}

void TestStampanti::fattoSenzaSceltaNonChiude()
{
    QWidget principale;
    QPointer<frmImpostaStampante> d = apri(principale);
    d->findChild<QListWidget*>(QStringLiteral("ListView1"))->clearSelection();
    d->Fatto();
    eliminaRinviati();
    QVERIFY(d && d->isVisible());
    QCOMPARE(StampanteCorrente(), QStringLiteral("Laser 2"));
    d->Annulla();
}

void TestStampanti::consiglioPdf()
{
    QWidget principale;
    QPointer<frmImpostaStampante> d = apri(principale);
    QTest::mouseClick(d->findChild<QToolButton*>(QStringLiteral("XPButton4")), Qt::LeftButton);
    QCOMPARE(MessaggiMostrati(), QStringList{QStringLiteral(
        "Per ottenere delle anteprime di stampa in formato PDF è consigliabile installare un dispositivo "
        "virtuale di stampa (es. PDFCreator) facilmente e gratuitamente reperibile in rete, e selezionarlo "
        "come dispositivo predefinito.")});
    QVERIFY(d && d->isVisible());
    QVERIFY(!principale.isEnabled());
    d->Annulla();
}

void TestStampanti::stampanteGuastaMostraMessaggio()
{
    // "Ricevute" is listed but no such printer can be opened.
    ImpostaStampanteCorrente(QStringLiteral("Ricevute"));
    const Rapporto r = RapportoBreve(esempi::breve(), QStringLiteral("x"));
    QVERIFY(!StampaRapporto(r, nullptr));
    const QStringList m = MessaggiMostrati();
    QCOMPARE(m.size(), 1);
    QVERIFY(m[0].startsWith(QStringLiteral("Stampa non riuscita")));
    QVERIFY(m[0].contains(QStringLiteral("\"Ricevute\"")));
    QVERIFY(scelteFile_.isEmpty());
    // The program goes on: the next report on the PDF device works.
    ImpostaStampanteCorrente(DispositivoPdf);
    rispostaFile_ = cartella_.filePath(QStringLiteral("dopo.pdf"));
    QVERIFY(StampaRapporto(r, nullptr));
    QVERIFY(QFileInfo::exists(rispostaFile_));
}

void TestStampanti::stampaSuFilePdf()
{
    ImpostaStampanteCorrente(DispositivoPdf);
    const Rapporto r = RapportoMutuo(esempi::mutuo(), QStringLiteral("Casa / box"));
    // Cancelled: nothing written, nothing said.
    QVERIFY(!StampaRapporto(r, nullptr));
    QCOMPARE(scelteFile_.size(), 1);
    QVERIFY(scelteFile_[0].endsWith(QStringLiteral("T.E.G. su Casa box.pdf")));
    QVERIFY(MessaggiMostrati().isEmpty());
    // A name without extension gets ".pdf".
    rispostaFile_ = cartella_.filePath(QStringLiteral("mutuo"));
    QVERIFY(StampaRapporto(r, nullptr));
    QFile f(rispostaFile_ + QStringLiteral(".pdf"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QVERIFY(MessaggiMostrati().isEmpty());
}

void TestStampanti::fileNonScrivibile()
{
    ImpostaStampanteCorrente(DispositivoPdf);
    rispostaFile_ = cartella_.filePath(QStringLiteral("manca/cartella/x.pdf"));
    QVERIFY(!StampaRapporto(RapportoBreve(esempi::breve(), {}), nullptr));
    const QStringList m = MessaggiMostrati();
    QCOMPARE(m.size(), 1);
    QVERIFY(m[0].contains(QStringLiteral("impossibile scrivere il file")));
}

void TestStampanti::titoloNonStampaNeCopia()
{
    ImpostaStampanteCorrente(DispositivoPdf);
    rispostaFile_ = cartella_.filePath(QStringLiteral("titolo.pdf"));
    QWidget titolo;
    titolo.setObjectName(QStringLiteral("frmTitolo"));
    QGuiApplication::clipboard()->setText(QStringLiteral("prima"));
    for (const QString& nome : {QStringLiteral("frmTitolo"), QString(), QStringLiteral("frmInfo")}) {
        QVERIFY(!StampaTabellaCorrente(nome, &titolo));
        QVERIFY(!CopiaTabellaCorrente(nome, &titolo));
    }
    QVERIFY(!StampaTabellaCorrente(QStringLiteral("frmBreve"), nullptr));
    QVERIFY(scelteFile_.isEmpty());
    QVERIFY(MessaggiMostrati().isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("prima"));
    QVERIFY(!QFileInfo::exists(rispostaFile_));
}

void TestStampanti::finestraBreveLetta()
{
    QWidget f;
    f.setObjectName(QStringLiteral("frmBreve"));
    campo(&f, QStringLiteral("XPText2"), QStringLiteral("Anticipo fatture"));
    campo(&f, QStringLiteral("XPText1(0)"), QStringLiteral("10.000,00"));
    campo(&f, QStringLiteral("XPText1(1)"), QStringLiteral("100,00"));
    campo(&f, QStringLiteral("XPText1(2)"), QStringLiteral("10.200,00"));
    auto* d1 = new QDateEdit(QDate(2010, 1, 1), &f);
    d1->setObjectName(QStringLiteral("DTPicker1"));
    auto* d2 = new QDateEdit(QDate(2010, 4, 1), &f);
    d2->setObjectName(QStringLiteral("DTPicker2"));
    etichetta(&f, QStringLiteral("Label1(6)"), QStringLiteral("3,030%"));
    etichetta(&f, QStringLiteral("Label1(8)"), QStringLiteral("12,290%"));
    etichetta(&f, QStringLiteral("Label1(7)"), QStringLiteral("T.E.G. su base annuale"));

    const DatiBreve d = LeggiBreve(&f);
    const DatiBreve atteso = esempi::breve();
    QCOMPARE(d.descrizione, atteso.descrizione);
    QCOMPARE(d.dataErogazione, QStringLiteral("01/01/2010"));
    QCOMPARE(d.dataRestituzione, QStringLiteral("01/04/2010"));
    QCOMPARE(d.tegPeriodo, atteso.tegPeriodo);
    QCOMPARE(d.tegAnnuo, atteso.tegAnnuo);

    // The copy command puts the same text on the clipboard, also through a
    // frame that wraps the window.
    QWidget cornice;
    f.setParent(&cornice);
    QVERIFY(CopiaTabellaCorrente(QStringLiteral("frmBreve"), &cornice));
    QCOMPARE(QGuiApplication::clipboard()->text(), CopiaBreve(atteso));
    f.setParent(nullptr);

    // The print command prints on the current device with the document's description.
    Conteggio.BreveCorrente().setDescrizione("Anticipo fatture");
    ImpostaStampanteCorrente(DispositivoPdf);
    rispostaFile_ = cartella_.filePath(QStringLiteral("breve.pdf"));
    QVERIFY(StampaTabellaCorrente(QStringLiteral("frmBreve"), &f));
    QVERIFY(QFileInfo(rispostaFile_).size() > 0);
    QVERIFY(scelteFile_.first().endsWith(QStringLiteral("T.E.G. su Anticipo fatture.pdf")));

    Rapporto r;
    QVERIFY(RapportoFinestra(QStringLiteral("frmBreve"), &f, r));
    QCOMPARE(r.titolo, QStringLiteral("T.E.G. su Anticipo fatture"));
    QCOMPARE(r.tabella.Testo(5, 2), QStringLiteral("01/04/2010"));
}

void TestStampanti::finestraOperazioniLetta()
{
    QWidget f;
    f.setObjectName(QStringLiteral("frmOPE"));
    const DatiOPE atteso = esempi::operazioni();
    for (int k = 0; k < 10; ++k) {
        lista(&f, QStringLiteral("Combo1(%1)").arg(k), {atteso.date[k]}, atteso.date[k]);
        lista(&f, QStringLiteral("Combo2(%1)").arg(k), {QStringLiteral("Entrata"), QStringLiteral("Uscita")},
              atteso.segni[k]);
        campo(&f, QStringLiteral("XPText1(%1)").arg(k), atteso.testiImporto[k]);
        Conteggio.Operazioni().setImporto(k + 1, k < 3 ? atteso.importi[k] : 0);
    }
    etichetta(&f, QStringLiteral("Label1(8)"), atteso.teg);

    // The document's amounts choose the rows; the fixed caption is printed
    // even though the window does not name its label.
    DatiOPE ridotto = atteso;
    for (int k = 3; k < 10; ++k)
        ridotto.importi[k] = 0;
    QString testo;
    QVERIFY(TestoCopiaFinestra(QStringLiteral("frmOPE"), &f, testo));
    QCOMPARE(testo, CopiaOPE(ridotto));
    QVERIFY(testo.contains(QStringLiteral("T.E.G. su base annua (approx.)")));
}

void TestStampanti::grigliaDallaVista()
{
    QWidget f;
    f.setObjectName(QStringLiteral("frmItalia"));
    const Griglia g = esempi::grigliaItalia();
    auto* vista = new QTableWidget(g.Righe(), g.Colonne(), &f);
    vista->setObjectName(QStringLiteral("Grid"));
    for (int r = 0; r < g.Righe(); ++r)
        for (int c = 0; c < g.Colonne(); ++c)
            vista->setItem(r, c, new QTableWidgetItem(g.Testo(r, c)));
    Griglia letta;
    QVERIFY(LeggiGriglia(&f, letta));
    QCOMPARE(letta.Righe(), 13);
    QCOMPARE(letta.Testo(12, 4), QStringLiteral("10,250%"));
    QString testo;
    QVERIFY(TestoCopiaFinestra(QStringLiteral("frmItalia"), &f, testo));
    QCOMPARE(testo, CopiaItalia(g));

    // A window whose grid is kept as a Griglia is read through its reader.
    Griglia propria = esempi::grigliaMatematico();
    ImpostaLettoreGriglia([&propria](const QWidget* w) -> const Griglia* {
        return w->objectName() == QLatin1String("frmCalcoli") ? &propria : nullptr;
    });
    QWidget calcoli;
    calcoli.setObjectName(QStringLiteral("frmCalcoli"));
    QVERIFY(TestoCopiaFinestra(QStringLiteral("frmCalcoli"), &calcoli, testo));
    QCOMPARE(testo, CopiaMatematico(propria));
    ImpostaLettoreGriglia({});
    QVERIFY(!TestoCopiaFinestra(QStringLiteral("frmCalcoli"), &calcoli, testo));
}

void TestStampanti::campoInModificaConfermato()
{
    FinestraInModifica f;
    f.setAttribute(Qt::WA_DeleteOnClose, false);
    QString testo;
    QVERIFY(TestoCopiaFinestra(QStringLiteral("frmMutuo"), &f, testo));
    QCOMPARE(f.conferme, 1);
    QVERIFY(testo.contains(QStringLiteral("Importo finanziato \t1.234,50 \r\n")));
    Rapporto r;
    QVERIFY(RapportoFinestra(QStringLiteral("frmMutuo"), &f, r));
    QCOMPARE(f.conferme, 2);
    QCOMPARE(r.tabella.Testo(2, 2), QStringLiteral("1.234,50"));
}

void TestStampanti::logoDellaFinestraPrincipale()
{
    QWidget principale;
    auto* picture2 = new QLabel(&principale);
    picture2->setObjectName(QStringLiteral("Picture2"));
    QPixmap px(188, 71);
    px.fill(Qt::darkBlue);
    picture2->setPixmap(px);
    auto* f = new QWidget(&principale);
    f->setObjectName(QStringLiteral("frmMutuo"));
    Rapporto r;
    QVERIFY(RapportoFinestra(QStringLiteral("frmMutuo"), f, r));
    QCOMPARE(r.logo.size(), QSize(188, 71));
    QCOMPARE(r.logo.pixelColor(5, 5), QColor(Qt::darkBlue));
}

QTEST_MAIN(TestStampanti)
#include "test_stampanti.moc"
