#include "Comandi.h"

#include "AggiornaSoglie.h"
#include "Anteprima.h"
#include "AperturaEsterna.h"
#include "ComandoImporta.h"
#include "CalcolaTrimestri.h"
#include "ConteggioAperto.h"
#include "Esportazione.h"
#include "FinestraFiglia.h"
#include "Finestre.h"
#include "Mainform.h"
#include "Messaggi.h"
#include "RelazioneRiepilogo.h"
#include "Routines.h"
#include "frmNuovoPiano.h"

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QKeySequence>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

using Esegui = std::function<void(Mainform&)>;

// Opens a window from the menu: the windows open stay open.
Esegui Apri(const char* finestra, bool attesa)
{
    const QString nome = QLatin1String(finestra);
    return [nome, attesa](Mainform& m) {
        if (attesa)
            m.ApriConAttesa(nome);
        else
            m.ApriFinestra(nome);
    };
}

// Opens a window from the toolbar or a window's own button: the other
// windows close first.
Esegui Sostituisci(const char* finestra, bool attesa)
{
    const Esegui apri = Apri(finestra, attesa);
    return [apri](Mainform& m) {
        m.ScaricaFinestre();
        apri(m);
    };
}

// The print and copy commands act on the window in front when it has a table.
bool TabellaDavanti(Mainform& m)
{
    const QString f = m.FinestraCorrente();
    return Mainform::HaTabella(f) && m.FinestraAperta(f);
}

void Esporta(Mainform& m, FormatoEsportazione formato)
{
    Rapporto r;
    const bool c = RapportoFinestra(m.FinestraCorrente(), m.FinestraAperta(m.FinestraCorrente()), r);
    EsportaTabellaCorrente(c ? &r : nullptr, formato, &m);
}

void ApriArchivio(Mainform& m)
{
    const QString cartella = m.PercorsoArchivio();
    if (!QDir(cartella).exists()) {
        Messaggio(QStringLiteral("La cartella dell'archivio non esiste:\n") + QDir::toNativeSeparators(cartella),
                  QMessageBox::Warning, &m);
        return;
    }
    ApriConDesktop(cartella, QStringLiteral("inode/directory"), QStringLiteral("la cartella dell'archivio"));
}

// After a command changed the document: the open windows show it again.
void RinfrescaFinestre(Mainform& m)
{
    for (const QString& nome : FinestreFiglie())
        if (auto* f = qobject_cast<FinestraFiglia*>(m.FinestraAperta(nome)))
            f->Pagina();
}

void ComandoImporta(Mainform& m)
{
    if (const auto aggiunti = ImportaEstrattoConto(m.Conteggio(), m.PercorsoArchivio(), &m)) {
        RinfrescaFinestre(m);
        m.statusBar()->showMessage(QStringLiteral("Importati %1 movimenti: \u00abAnnulla importazione\u00bb li "
                                                  "toglie fino al prossimo salvataggio.")
                                       .arg(*aggiunti),
                                   8000);
    }
}

void ComandoAnnullaImportazione(Mainform& m)
{
    if (AnnullaImportazione(m.Conteggio(), &m)) {
        RinfrescaFinestre(m);
        m.statusBar()->showMessage(QStringLiteral("Importazione annullata"), 4000);
    }
}

// A command of a menu: key, item, its menu, text and Alt letter, and what it runs.
Comando Voce(const char* chiave, const char* voce, const char* menu, const char* testo, const char* lettera,
             bool serveConteggio, Esegui esegui)
{
    Comando c;
    c.chiave = chiave;
    c.voce = voce;
    c.menu = menu;
    c.testo = testo;
    c.lettera = lettera;
    c.serveConteggio = serveConteggio;
    c.esegui = std::move(esegui);
    return c;
}

Comando Menu(const char* voce, const char* menu, const char* testo, const char* lettera, bool serveConteggio)
{
    Comando c = Voce("", voce, menu, testo, lettera, serveConteggio, {});
    c.tipo = Comando::Tipo::Menu;
    return c;
}

Comando Separatore(const char* voce, const char* menu)
{
    Comando c = Voce("", voce, menu, "", "", false, {});
    c.tipo = Comando::Tipo::Separatore;
    return c;
}

// The same command with a shortcut.
Comando Tasto(Comando c, QKeyCombination scorciatoia)
{
    c.scorciatoia = scorciatoia;
    return c;
}

// The same command with a button on the toolbar: its place, caption, tooltip and icon.
Comando Barra(Comando c, int posto, const char* didascalia, const char* suggerimento, const char* tema,
              QStyle::StandardPixmap icona)
{
    c.barra = posto;
    c.didascalia = didascalia;
    c.suggerimento = suggerimento;
    c.tema = tema;
    c.icona = icona;
    return c;
}

// A command that opens a window: from the menu the windows open stay open,
// from the toolbar and from a window's own button they close first.
Comando Finestra(const char* chiave, const char* voce, const char* menu, const char* testo, const char* lettera,
                 const char* finestra, bool attesaMenu, bool attesaBarra)
{
    Comando c = Voce(chiave, voce, menu, testo, lettera, true, Apri(finestra, attesaMenu));
    c.eseguiBarra = Sostituisci(finestra, attesaBarra);
    return c;
}

// The same command, enabled only while `attivo` holds.
Comando Attivo(Comando c, std::function<bool(Mainform&)> attivo)
{
    c.attivo = std::move(attivo);
    return c;
}

Comando Tendina(Comando c, int posto)
{
    c.tendina = posto;
    return c;
}

std::vector<Comando> Righe()
{
    using S = QStyle;
    const auto ctrl = [](Qt::Key k) { return QKeyCombination(Qt::CTRL | k); };
    return {
        Menu("mnuFIle", "", "File", "F", false),
        Barra(Tasto(Voce("nuovo", "mnuNuovo", "mnuFIle", "Nuovo conteggio", "N", false,
                         [](Mainform& m) { if (m.ChiediSalvataggio()) m.NuovoConteggio(); }),
                    ctrl(Qt::Key_N)),
              1, "Nuovo", "Nuovo conteggio", "document-new", S::SP_FileIcon),
        Separatore("mnusep3", "mnuFIle"),
        Tendina(Barra(Tasto(Voce("apri", "mnuapri", "mnuFIle", "Apri conteggio", "A", false,
                                 [](Mainform& m) { if (m.ChiediSalvataggio()) m.ApriConteggio(); }),
                            ctrl(Qt::Key_O)),
                      2, "Apri", "Apri conteggio", "document-open", S::SP_DialogOpenButton),
                1),
        Tendina(Voce("archivio", "mnuArchivio", "mnuFIle", "Apri archivio", "rchivio", false, ApriArchivio), 2),
        Voce("soglie", "mnuAggiornaSoglie", "mnuFIle", "Aggiorna tassi soglia\u2026", "t", false,
             [](Mainform& m) { AggiornaSoglie(m.PercorsoArchivio(), &m); }),
        Separatore("mnusep55", "mnuFIle"),
        Barra(Tasto(Voce("salva", "mnuSalva", "mnuFIle", "Salva conteggio", "S", true,
                         [](Mainform& m) { m.SalvaConteggio(); }),
                    ctrl(Qt::Key_S)),
              3, "Salva", "Salva conteggio", "document-save", S::SP_DialogSaveButton),
        // The copy is made in the archive, wherever the first file was.
        Voce("salvaconnome", "mnuSalvaConNome", "mnuFIle", "Salva con nome\u2026", "m", true,
             [](Mainform& m) { ApriSalvaConNome(&m, m.Conteggio(), m.PercorsoArchivio(), {}); }),
        // The bank's statements into the open calculation's account; the
        // import can be taken back until the next save.
        Separatore("mnusepImporta", "mnuFIle"),
        Voce("importa", "mnuImporta", "mnuFIle", "Importa estratto conto\u2026", "I", true, ComandoImporta),
        Attivo(Voce("annullaimportazione", "mnuAnnullaImportazione", "mnuFIle", "Annulla importazione", "u", true,
                    ComandoAnnullaImportazione),
               [](Mainform& m) { return ImportazioneAnnullabile(m.Conteggio()); }),
        Separatore("mnusep1", "mnuFIle"),
        // A failed save leaves the program open.
        Voce("", "mnuSalvaEsci", "mnuFIle", "Salva ed esci", "d", true, [](Mainform& m) {
            m.SalvaConteggio();
            m.close();
        }),
        Voce("", "mnuEsci", "mnuFIle", "Esci senza salvare", "E", false, [](Mainform& m) { m.EsciSenzaSalvare(); }),

        // The windows (see Finestra: the toolbar's button and a window's own
        // button close the others first, the menu item does not).
        Menu("mnuTabella", "", "Tabelle", "T", true),
        Menu("mnucc", "mnuTabella", "T.E.G. su conto corrente", "c", true),
        Finestra("input", "mnuInput", "mnucc", "Dati di input", "D", "frmBox", true, true),
        Finestra("matematico", "mnuMatematico", "mnucc", "T.E.G. matematico", "m", "frmCalcoli", false, false),
        Finestra("italia", "mnuItalia", "mnucc", "T.E.G. Banca d'Italia", "B", "frmItalia", false, false),
        // The current-account windows' own button is "input"; the main
        // toolbar's, for the same window, "cc".
        Barra(Finestra("cc", "", "", "T.E.G. su conto corrente", "", "frmBox", true, true), 6, "C/C",
              "T.E.G. su conto corrente", "x-office-spreadsheet", S::SP_FileDialogDetailedView),
        // The account from its statements: its windows, and its quarters
        // filled from the movements (then the input window shows them).
        Barra(Finestra("movimenti", "mnuMovimenti", "mnuTabella", "Movimenti", "o", "frmMovimenti", true, true), 6,
              "Movimenti", "Movimenti del conto", "view-list-text", S::SP_FileDialogListView),
        Finestra("condizioni", "mnuCondizioni", "mnuTabella", "Condizioni del conto", "d", "frmCondizioni", false,
                 true),
        Finestra("scalare", "mnuScalare", "mnuTabella", "Scalare", "S", "frmScalare", true, true),
        Voce("calcolatrimestri", "mnuCalcolaTrimestri", "mnuTabella", "Calcola trimestri dai movimenti\u2026", "t",
             true,
             [](Mainform& m) {
                 if (CalcolaTrimestriDaMovimenti(m.Conteggio(), m.PercorsoArchivio(), &m))
                     Apri("frmBox", false)(m);
             }),
        Separatore("mnusepConto", "mnuTabella"),
        Barra(Finestra("mutuo", "mnuMutuo", "mnuTabella", "T.E.G. su mutuo", "m", "frmMutuo", true, true), 7,
              "Mutuo", "T.E.G. su mutuo", "go-home", S::SP_DirHomeIcon),
        // The plan of the mortgage's contract; the mortgage window has a button for it too.
        Finestra("piano", "mnuPiano", "mnuTabella", "Piano di ammortamento", "P", "frmPiano", false, false),
        Barra(Finestra("altro", "mnuVarie", "mnuTabella", "T.E.G. su operazioni finanziarie varie", "v", "frmOPE",
                       true, true),
              9, "Altro", "T.E.G. su operazioni finanziarie varie", "view-list-details", S::SP_FileDialogListView),
        // From the menu the short-term window opens without the wait window.
        Barra(Finestra("breve", "mnuBreve", "mnuTabella", "T.E.G. su operazioni finanziarie di breve termine", "b",
                       "frmBreve", false, true),
              8, "Brevi", "Operazioni finanziarie semplici a breve termine", "media-seek-forward",
              S::SP_MediaSeekForward),
        Barra(Finestra("usura", "mnuUsura", "mnuTabella", "Verifica usura", "u", "frmUsura", true, true), 10,
              "Usura", "Verifica usura", "dialog-warning", S::SP_MessageBoxWarning),
        Barra(Finestra("riepilogo", "mnuRiepilogo", "mnuTabella", "Riepilogo pluriennale", "l", "frmRiepilogo",
                       false, false),
              11, "Riepilogo", "Riepilogo pluriennale", "x-office-presentation", S::SP_FileDialogInfoView),
        Finestra("regole", "mnuRegole", "mnuTabella", "Regole delle classi", "g", "frmRegole", false, false),
        // After the overview on the toolbar (the same place, later in the table).
        Barra(Finestra("ricalcolo", "mnuRicalcolo", "mnuTabella", "Ricalcolo", "R", "frmRicalcolo", true, true), 11,
              "Ricalcolo", "Ricalcolo del conto", "accessories-calculator", S::SP_BrowserReload),

        // Print, copy and export the window in front; nothing for the title window.
        Menu("mnuCopiaEsporta", "", "Copia", "C", true),
        Barra(Tasto(Voce("copia", "mnuCopia", "mnuCopiaEsporta", "Copia tabella corrente", "C", true,
                         [](Mainform& m) {
                             if (TabellaDavanti(m))
                                 m.CopiaTabella(m.FinestraCorrente());
                         }),
                    ctrl(Qt::Key_C)),
              5, "Copia", "Copia tabella attuale", "edit-copy", S::SP_FileLinkIcon),
        Voce("excel", "mnuEsportaExcel", "mnuCopiaEsporta", "Esporta in Excel\u2026", "E", true,
             [](Mainform& m) { Esporta(m, FormatoEsportazione::Excel); }),
        Voce("csv", "mnuEsportaCSV", "mnuCopiaEsporta", "Esporta CSV\u2026", "V", true,
             [](Mainform& m) { Esporta(m, FormatoEsportazione::CSV); }),
        Menu("mnumnuStampa", "", "Stampa", "S", true),
        Barra(Tasto(Voce("stampa", "mnuStampa", "mnumnuStampa", "Stampa tabella corrente", "S", true,
                         [](Mainform& m) {
                             if (TabellaDavanti(m))
                                 m.ConAttesa([&m] { m.StampaTabella(m.FinestraCorrente()); });
                         }),
                    ctrl(Qt::Key_P)),
              4, "Stampa", "Stampa vista attuale", "document-print", S::SP_FileDialogContentsView),
        Voce("anteprima", "mnuAnteprima", "mnumnuStampa", "Anteprima di stampa", "A", true,
             [](Mainform& m) {
                 Rapporto r;
                 if (RapportoFinestra(m.FinestraCorrente(), m.FinestraAperta(m.FinestraCorrente()), r))
                     AnteprimaTabellaCorrente(r, &m);
             }),
        Voce("relazione", "mnuRelazione", "mnumnuStampa", "Crea relazione PDF\u2026", "P", true,
             [](Mainform& m) {
                 CreaRelazioneFinestra(m.FinestraAperta(m.FinestraCorrente()), m.Conteggio().Doc(), &m);
             }),
        Voce("", "mnuStampante", "mnumnuStampa", "Seleziona dispositivo di stampa", "d", true,
             [](Mainform& m) { m.ImpostaStampante(); }),

        Barra(Tasto(Voce("guida", "mnuGUida", "", "Guida", "G", false, [](Mainform& m) { m.ApriManuale(); }),
                    QKeyCombination(Qt::Key_F1)),
              12, "Guida", "", "help-contents", S::SP_DialogHelpButton),
        Barra(Voce("informazioni", "mnuInformazioni", "", "Informazioni", "I", false,
                   [](Mainform& m) { m.MostraInfo(); }),
              13, "Informazioni", "", "help-about", S::SP_MessageBoxInformation),
    };
}

// The text with "&" before its Alt letter.
QString ConLettera(const Comando& c)
{
    QString testo = QString::fromUtf8(c.testo);
    const qsizetype i = *c.lettera ? testo.indexOf(QString::fromUtf8(c.lettera)) : -1;
    if (i >= 0)
        testo.insert(i, QLatin1Char('&'));
    return testo;
}

// Runs the row's menu item or, from the toolbar, its button.
QAction* Collega(Mainform& m, QAction* a, const Comando& c, bool barra)
{
    const QString nome = QString::fromUtf8(c.testo);
    const Comando* riga = &c;
    QObject::connect(a, &QAction::triggered, &m, [&m, riga, nome, barra] {
        m.Esegui(nome, [&m, riga, barra] { (barra ? riga->DaBarra() : riga->esegui)(m); });
    });
    return a;
}

} // namespace

const std::vector<Comando>& TabellaComandi()
{
    static const std::vector<Comando> righe = Righe();
    return righe;
}

const Comando* ComandoDi(const QString& chiave)
{
    if (chiave.isEmpty())
        return nullptr;
    for (const Comando& c : TabellaComandi())
        if (c.tipo == Comando::Tipo::Voce && chiave == QLatin1String(c.chiave))
            return &c;
    return nullptr;
}

void CreaComandi(Mainform& m)
{
    // The menus, in the order of the table.
    QMap<QString, QMenu*> menu;
    for (const Comando& c : TabellaComandi()) {
        if (!*c.voce)
            continue;
        QMenu* dove = menu.value(QLatin1String(c.menu));
        switch (c.tipo) {
        case Comando::Tipo::Menu: {
            QMenu* nuovo = dove ? dove->addMenu(ConLettera(c)) : m.menuBar()->addMenu(ConLettera(c));
            nuovo->setObjectName(QLatin1String(c.voce));
            nuovo->menuAction()->setObjectName(QLatin1String(c.voce));
            menu.insert(QLatin1String(c.voce), nuovo);
            break;
        }
        case Comando::Tipo::Separatore:
            dove->addSeparator()->setObjectName(QLatin1String(c.voce));
            break;
        case Comando::Tipo::Voce: {
            QAction* a = dove ? dove->addAction(ConLettera(c)) : m.menuBar()->addAction(ConLettera(c));
            a->setObjectName(QLatin1String(c.voce));
            if (c.scorciatoia != QKeyCombination())
                a->setShortcut(QKeySequence(c.scorciatoia));
            Collega(m, a, c, false);
            break;
        }
        }
    }

    // The items enabled only while a condition holds follow the open
    // calculation. The condition is asked once before following it, so that
    // what it reads (made at the first call) hears the signals first.
    for (const Comando& c : TabellaComandi()) {
        QAction* a = *c.voce ? m.findChild<QAction*>(QLatin1String(c.voce)) : nullptr;
        if (!c.attivo || !a)
            continue;
        const auto segui = [&m, &c, a] { a->setEnabled(!m.Conteggio().Nome().isEmpty() && c.attivo(m)); };
        c.attivo(m);
        ConteggioAperto* conteggio = &m.Conteggio();
        QObject::connect(conteggio, &ConteggioAperto::DocumentoCambiato, a, segui);
        QObject::connect(conteggio, &ConteggioAperto::ModificatoCambiato, a, segui);
        QObject::connect(conteggio, &ConteggioAperto::ConteggioCaricato, a, segui);
        if (QMenu* dove = menu.value(QLatin1String(c.menu)))
            QObject::connect(dove, &QMenu::aboutToShow, a, segui);
    }

    QToolBar* barra = m.addToolBar(QStringLiteral("Comandi"));
    barra->setObjectName(QStringLiteral("Toolbar1"));
    barra->setMovable(false);
    barra->setFloatable(false);
    barra->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    barra->setIconSize(QSize(24, 24));
    barra->toggleViewAction()->setVisible(false);
    m.setContextMenuPolicy(Qt::NoContextMenu);
    std::vector<const Comando*> pulsanti, tendina;
    for (const Comando& c : TabellaComandi()) {
        if (c.barra > 0)
            pulsanti.push_back(&c);
        if (c.tendina > 0)
            tendina.push_back(&c);
    }
    std::stable_sort(pulsanti.begin(), pulsanti.end(), [](const Comando* a, const Comando* b) { return a->barra < b->barra; });
    std::stable_sort(tendina.begin(), tendina.end(), [](const Comando* a, const Comando* b) { return a->tendina < b->tendina; });
    for (const Comando* c : pulsanti) {
        const QString chiave = QLatin1String(c->chiave);
        QAction* a = barra->addAction(QIcon::fromTheme(QLatin1String(c->tema), m.style()->standardIcon(c->icona)),
                                      QString::fromUtf8(c->didascalia));
        a->setObjectName(chiave);
        a->setData(chiave);
        a->setToolTip(QString::fromUtf8(c->suggerimento));
        Collega(m, a, *c, true);
    }

    // "Apri" carries a drop-down with the two ways of opening.
    auto* elenco = new QMenu(&m);
    elenco->setObjectName(QStringLiteral("ButtonMenus_apri"));
    for (const Comando* c : tendina) {
        QAction* a = elenco->addAction(QString::fromUtf8(c->testo));
        a->setObjectName(QStringLiteral("ButtonMenu%1").arg(c->tendina));
        a->setData(QLatin1String(c->chiave));
        Collega(m, a, *c, true);
    }
    if (auto* b = qobject_cast<QToolButton*>(barra->widgetForAction(m.findChild<QAction*>(QStringLiteral("apri"))))) {
        b->setMenu(elenco);
        b->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

void AbilitaComandi(Mainform& m, bool abilita)
{
    const auto serveConteggio = [](const char* menu) {
        for (const Comando& c : TabellaComandi())
            if (c.tipo == Comando::Tipo::Menu && QLatin1String(c.voce) == QLatin1String(menu))
                return c.serveConteggio;
        return false;
    };
    for (const Comando& c : TabellaComandi()) {
        if (!c.serveConteggio)
            continue;
        // A menu's own state decides its title's: it survives the frame being
        // disabled and enabled again by the wait and information windows.
        if (c.tipo == Comando::Tipo::Menu) {
            if (QMenu* menu = m.findChild<QMenu*>(QLatin1String(c.voce)))
                menu->setEnabled(abilita);
            continue;
        }
        if (c.barra > 0)
            if (QAction* a = m.findChild<QAction*>(QLatin1String(c.chiave)))
                a->setEnabled(abilita);
        // An item of a menu that needs a calculation too is reached only
        // through its menu, unless a shortcut reaches it directly.
        if (*c.voce && (!serveConteggio(c.menu) || c.scorciatoia != QKeyCombination()))
            if (QAction* a = m.findChild<QAction*>(QLatin1String(c.voce)))
                a->setEnabled(abilita && (!c.attivo || c.attivo(m)));
    }
}

bool ProseguiSenzaPerdereModifiche(bool modificato, const QString& nome, const std::function<void()>& salva,
                                   QWidget* genitore)
{
    if (!modificato)
        return true;
    const QMessageBox::StandardButton r = DomandaConAnnulla(
        QStringLiteral("Il conteggio \u00ab%1\u00bb contiene modifiche non salvate.\n"
                       "Salvarle prima di continuare?")
            .arg(nome),
        genitore);
    if (r == QMessageBox::Cancel)
        return false;
    if (r == QMessageBox::Yes)
        salva();
    return true;
}
