// The command table against what the user meets: the menus with their Alt
// letters and shortcuts, the toolbar, and what can be used before and after a
// calculation is open.
#include "Comandi.h"
#include "Mainform.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

// Every menu and item as "objectName|text|shortcut|usable", an item usable
// when it and every menu above it are enabled.
QStringList Menu(const QList<QAction*>& azioni, bool sopra = true)
{
    QStringList righe;
    for (QAction* a : azioni) {
        const bool usabile = sopra && a->isEnabled();
        righe << QStringLiteral("%1|%2|%3|%4")
                     .arg(a->objectName(), a->text(), a->shortcut().toString(), usabile ? "1" : "0");
        if (a->menu())
            righe << Menu(a->menu()->actions(), usabile);
    }
    return righe;
}

QStringList Barra(Mainform& m)
{
    QStringList righe;
    for (QAction* a : m.findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions())
        righe << a->objectName() + (a->isEnabled() ? "|1" : "|0");
    return righe;
}

// Without a calculation: opening, creating, the archive, the thresholds,
// exiting, the manual and the information.
const QStringList menuSenzaConteggio = {
    "mnuFIle|&File||1", "mnuNuovo|&Nuovo conteggio|Ctrl+N|1", "mnusep3|||1", "mnuapri|&Apri conteggio|Ctrl+O|1",
    "mnuArchivio|Apri a&rchivio||1", "mnuAggiornaSoglie|Aggiorna &tassi soglia\u2026||1", "mnusep55|||1",
    "mnuSalva|&Salva conteggio|Ctrl+S|0", "mnuSalvaConNome|Salva con no&me\u2026||0", "mnusepImporta|||1",
    "mnuImporta|&Importa estratto conto\u2026||0", "mnuAnnullaImportazione|Ann&ulla importazione||0", "mnusep1|||1",
    "mnuSalvaEsci|Salva e&d esci||0", "mnuEsci|&Esci senza salvare||1", "mnuTabella|&Tabelle||0",
    "mnucc|T.E.G. su &conto corrente||0", "mnuInput|&Dati di input||0", "mnuMatematico|T.E.G. &matematico||0",
    "mnuItalia|T.E.G. &Banca d'Italia||0", "mnuMovimenti|M&ovimenti||0", "mnuCondizioni|Con&dizioni del conto||0",
    "mnuScalare|&Scalare||0", "mnuCalcolaTrimestri|Calcola &trimestri dai movimenti\u2026||0", "mnusepConto|||0",
    "mnuMutuo|T.E.G. su &mutuo||0",
    "mnuPiano|&Piano di ammortamento||0",
    "mnuVarie|T.E.G. su operazioni finanziarie &varie||0",
    "mnuBreve|T.E.G. su operazioni finanziarie di &breve termine||0", "mnuUsura|Verifica &usura||0",
    "mnuRiepilogo|Riepi&logo pluriennale||0", "mnuRegole|Re&gole delle classi||0", "mnuRicalcolo|&Ricalcolo||0", "mnuCopiaEsporta|&Copia||0",
    "mnuCopia|&Copia tabella corrente|Ctrl+C|0", "mnuEsportaExcel|&Esporta in Excel\u2026||0",
    "mnuEsportaCSV|Esporta CS&V\u2026||0", "mnumnuStampa|&Stampa||0", "mnuStampa|&Stampa tabella corrente|Ctrl+P|0",
    "mnuAnteprima|&Anteprima di stampa||0", "mnuRelazione|Crea relazione &PDF\u2026||0",
    "mnuStampante|Seleziona &dispositivo di stampa||0", "mnuGUida|&Guida|F1|1", "mnuInformazioni|&Informazioni||1"};
const QStringList barraSenzaConteggio = {"nuovo|1", "apri|1",  "salva|0", "stampa|0",    "copia|0",
                                         "cc|0",    "movimenti|0", "mutuo|0", "breve|0", "altro|0",     "usura|0",
                                         "riepilogo|0", "ricalcolo|0", "guida|1", "informazioni|1"};

QString Usabile(QString riga) { return riga.replace(riga.size() - 1, 1, QLatin1Char('1')); }

} // namespace

class TestComandi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    // The menus, their letters and shortcuts, and what can be used, as before
    // and after a calculation is open.
    void comeLoVedeLUtente()
    {
        Mainform m;
        QCOMPARE(Menu(m.menuBar()->actions()), menuSenzaConteggio);
        QCOMPARE(Barra(m), barraSenzaConteggio);
        m.AbilitaComandi(true);
        QStringList tutti = menuSenzaConteggio, barra = barraSenzaConteggio;
        std::transform(tutti.begin(), tutti.end(), tutti.begin(), Usabile);
        std::transform(barra.begin(), barra.end(), barra.begin(), Usabile);
        // Taking an import back waits for an import.
        const QString annulla = QStringLiteral("mnuAnnullaImportazione|Ann&ulla importazione||0");
        tutti[tutti.indexOf(Usabile(annulla))] = annulla;
        QCOMPARE(Menu(m.menuBar()->actions()), tutti);
        QCOMPARE(Barra(m), barra);
    }

    // Each row is where it says: in its menu in the table's order, with its
    // text, letter and shortcut; on the toolbar at its place, with its key,
    // caption and tooltip; in the "apri" drop-down. Keys are unique.
    void laTabellaELeVoci()
    {
        Mainform m;
        QMap<QString, QStringList> voci;  // menu -> items in the table's order
        QStringList barra, tendina, chiavi;
        std::vector<const Comando*> sullaBarra;
        for (const Comando& c : TabellaComandi()) {
            if (*c.voce) {
                voci[QLatin1String(c.menu)] << QLatin1String(c.voce);
                auto* a = m.findChild<QAction*>(QLatin1String(c.voce));
                QVERIFY2(a, c.voce);
                if (c.tipo != Comando::Tipo::Separatore) {
                    QCOMPARE(a->text().remove(QLatin1Char('&')), QString::fromUtf8(c.testo));
                    QCOMPARE(a->text().indexOf(QLatin1Char('&')), QString::fromUtf8(c.testo).indexOf(QString::fromUtf8(c.lettera)));
                    QCOMPARE(a->shortcut(), c.scorciatoia == QKeyCombination() ? QKeySequence()
                                                                               : QKeySequence(c.scorciatoia));
                }
            }
            if (*c.chiave) {
                QVERIFY2(!chiavi.contains(QLatin1String(c.chiave)), c.chiave);
                chiavi << QLatin1String(c.chiave);
                QCOMPARE(ComandoDi(QLatin1String(c.chiave)), &c);
            }
            if (c.barra > 0)
                sullaBarra.push_back(&c);
            if (c.tendina > 0)
                tendina << QLatin1String(c.testo) + "|" + QLatin1String(c.chiave);
        }
        for (auto i = voci.cbegin(); i != voci.cend(); ++i) {
            QStringList presenti;
            const QList<QAction*> azioni = i.key().isEmpty() ? m.menuBar()->actions()
                                                             : m.findChild<QMenu*>(i.key())->actions();
            for (QAction* a : azioni)
                presenti << a->objectName();
            QCOMPARE(presenti, i.value());
        }
        std::stable_sort(sullaBarra.begin(), sullaBarra.end(),
                         [](const Comando* a, const Comando* b) { return a->barra < b->barra; });
        auto* toolbar = m.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QCOMPARE(toolbar->actions().size(), qsizetype(sullaBarra.size()));
        for (std::size_t i = 0; i < sullaBarra.size(); ++i) {
            const Comando& c = *sullaBarra[i];
            QAction* a = toolbar->actions().at(qsizetype(i));
            QCOMPARE(a->objectName(), QLatin1String(c.chiave));
            QCOMPARE(a->data().toString(), QLatin1String(c.chiave));
            QCOMPARE(a->text(), QString::fromUtf8(c.didascalia));
            QCOMPARE(a->toolTip(), *c.suggerimento ? QString::fromUtf8(c.suggerimento) : a->text());
        }
        auto* apri = qobject_cast<QToolButton*>(toolbar->widgetForAction(m.findChild<QAction*>("apri")));
        QStringList nellaTendina;
        for (QAction* a : apri->menu()->actions())
            nellaTendina << a->text() + "|" + a->data().toString();
        QCOMPARE(nellaTendina, tendina);
        QVERIFY(!ComandoDi(QStringLiteral("nessuno")) && !ComandoDi(QString()));
    }
};

QTEST_MAIN(TestComandi)
#include "test_comandi.moc"
