#include "Comandi.h"

#include "Mainform.h"
#include "Messaggi.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QKeySequence>
#include <QMainWindow>

namespace {

// Menu or item, where its underlined letter stands (the first occurrence in
// its text of what is given, case as written) and its shortcut. The letters are unique within each menu and
// within the menu bar.
struct Tasti {
    const char* nome;
    const char* lettera;
    QKeyCombination scorciatoia;
};

constexpr QKeyCombination Nessuna{};

const Tasti tabella[] = {
    // Menu bar
    {"mnuFIle", "F", Nessuna},
    {"mnuTabella", "T", Nessuna},
    {"mnuCopiaEsporta", "C", Nessuna},
    {"mnumnuStampa", "S", Nessuna},
    {"mnuGUida", "G", Qt::Key_F1},
    {"mnuInformazioni", "I", Nessuna},
    // File
    {"mnuNuovo", "N", Qt::CTRL | Qt::Key_N},
    {"mnuapri", "A", Qt::CTRL | Qt::Key_O},
    {"mnuArchivio", "rchivio", Nessuna},
    {"mnuAggiornaSoglie", "t", Nessuna},
    {"mnuSalva", "S", Qt::CTRL | Qt::Key_S},
    {"mnuSalvaConNome", "m", Nessuna},
    {"mnuSalvaEsci", "d", Nessuna},
    {"mnuEsci", "E", Nessuna},
    // Tabelle
    {"mnucc", "c", Nessuna},
    {"mnuMutuo", "m", Nessuna},
    {"mnuVarie", "v", Nessuna},
    {"mnuBreve", "b", Nessuna},
    {"mnuUsura", "u", Nessuna},
    {"mnuRiepilogo", "l", Nessuna},
    {"mnuInput", "D", Nessuna},
    {"mnuMatematico", "m", Nessuna},
    {"mnuItalia", "B", Nessuna},
    // Copia
    {"mnuCopia", "C", Qt::CTRL | Qt::Key_C},
    {"mnuEsportaExcel", "E", Nessuna},
    {"mnuEsportaCSV", "V", Nessuna},
    // Stampa
    {"mnuStampa", "S", Qt::CTRL | Qt::Key_P},
    {"mnuAnteprima", "A", Nessuna},
    {"mnuRelazione", "P", Nessuna},
    {"mnuStampante", "d", Nessuna},
};

} // namespace

void ImpostaTastiera(QMainWindow& finestra)
{
    for (const Tasti& t : tabella) {
        // A menu's title is its menuAction, which carries the menu's name.
        auto* a = finestra.findChild<QAction*>(QLatin1String(t.nome));
        if (!a)
            continue;
        QString testo = a->text();
        const qsizetype i = testo.indexOf(QLatin1String(t.lettera));
        if (!testo.contains(QLatin1Char('&')) && i >= 0)
            a->setText(testo.insert(i, QLatin1Char('&')));
        if (t.scorciatoia != Nessuna)
            a->setShortcut(QKeySequence(t.scorciatoia));
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

// ---------------------------------------------------------------------------
// The main window's menus and toolbar: every item hands its work to
// Mainform::Esegui or Mainform::EseguiComando.

void Mainform::CreaMenu()
{
    auto voce = [this](QMenu* menu, const char* nome, const QString& testo,
                       std::function<void()> azione) {
        QAction* a = menu->addAction(testo);
        a->setObjectName(QLatin1String(nome));
        connect(a, &QAction::triggered, this, [this, testo, azione] { Esegui(testo, azione); });
        return a;
    };
    auto separatore = [](QMenu* menu, const char* nome) {
        menu->addSeparator()->setObjectName(QLatin1String(nome));
    };
    auto menu = [this](QMenu* dove, const char* nome, const QString& testo) {
        QMenu* m = dove ? dove->addMenu(testo) : menuBar()->addMenu(testo);
        m->setObjectName(QLatin1String(nome));
        m->menuAction()->setObjectName(QLatin1String(nome));
        return m;
    };
    auto comando = [this](const char* chiave) { return [this, chiave] { EseguiComando(QLatin1String(chiave)); }; };

    QMenu* file = menu(nullptr, "mnuFIle", QStringLiteral("File"));
    voce(file, "mnuNuovo", QStringLiteral("Nuovo conteggio"), comando("nuovo"));
    separatore(file, "mnusep3");
    voce(file, "mnuapri", QStringLiteral("Apri conteggio"), [this] { ComandoApri(); });
    voce(file, "mnuArchivio", QStringLiteral("Apri archivio"), [this] { ApriArchivio(); });
    voce(file, "mnuAggiornaSoglie", QStringLiteral("Aggiorna tassi soglia…"), comando("soglie"));
    separatore(file, "mnusep55");
    voce(file, "mnuSalva", QStringLiteral("Salva conteggio"), [this] { SalvaConteggio(); });
    voce(file, "mnuSalvaConNome", QStringLiteral("Salva con nome\u2026"), comando("salvaconnome"));
    separatore(file, "mnusep1");
    voce(file, "mnuSalvaEsci", QStringLiteral("Salva ed esci"), [this] {
        SalvaConteggio();
        close();
    });
    voce(file, "mnuEsci", QStringLiteral("Esci senza salvare"), [this] {
        esciSenzaSalvare_ = true;
        close();
    });

    QMenu* tabelle = menu(nullptr, "mnuTabella", QStringLiteral("Tabelle"));
    QMenu* cc = menu(tabelle, "mnucc", QStringLiteral("T.E.G. su conto corrente"));
    voce(cc, "mnuInput", QStringLiteral("Dati di input"), [this] { ApriConAttesa("frmBox"); });
    voce(cc, "mnuMatematico", QStringLiteral("T.E.G. matematico"),
         [this] { ApriFinestra(QStringLiteral("frmCalcoli")); });
    voce(cc, "mnuItalia", QStringLiteral("T.E.G. Banca d'Italia"),
         [this] { ApriFinestra(QStringLiteral("frmItalia")); });
    voce(tabelle, "mnuMutuo", QStringLiteral("T.E.G. su mutuo"), [this] { ApriConAttesa("frmMutuo"); });
    voce(tabelle, "mnuVarie", QStringLiteral("T.E.G. su operazioni finanziarie varie"),
         [this] { ApriConAttesa("frmOPE"); });
    voce(tabelle, "mnuBreve", QStringLiteral("T.E.G. su operazioni finanziarie di breve termine"),
         [this] { ApriFinestra(QStringLiteral("frmBreve")); });
    voce(tabelle, "mnuUsura", QStringLiteral("Verifica usura"), [this] { ApriConAttesa("frmUsura"); });
    voce(tabelle, "mnuRiepilogo", QStringLiteral("Riepilogo pluriennale"),
         [this] { ApriFinestra(QStringLiteral("frmRiepilogo")); });

    QMenu* copia = menu(nullptr, "mnuCopiaEsporta", QStringLiteral("Copia"));
    voce(copia, "mnuCopia", QStringLiteral("Copia tabella corrente"), [this] { ComandoCopia(); });
    voce(copia, "mnuEsportaExcel", QStringLiteral("Esporta in Excel\u2026"), comando("excel"));
    voce(copia, "mnuEsportaCSV", QStringLiteral("Esporta CSV\u2026"), comando("csv"));

    QMenu* stampa = menu(nullptr, "mnumnuStampa", QStringLiteral("Stampa"));
    voce(stampa, "mnuStampa", QStringLiteral("Stampa tabella corrente"), [this] { ComandoStampa(); });
    voce(stampa, "mnuAnteprima", QStringLiteral("Anteprima di stampa"), comando("anteprima"));
    voce(stampa, "mnuRelazione", QStringLiteral("Crea relazione PDF\u2026"), comando("relazione"));
    voce(stampa, "mnuStampante", QStringLiteral("Seleziona dispositivo di stampa"),
         [this] { ImpostaStampante(); });

    QAction* guida = menuBar()->addAction(QStringLiteral("Guida"));
    guida->setObjectName(QStringLiteral("mnuGUida"));
    connect(guida, &QAction::triggered, this, comando("guida"));
    QAction* info = menuBar()->addAction(QStringLiteral("Informazioni"));
    info->setObjectName(QStringLiteral("mnuInformazioni"));
    connect(info, &QAction::triggered, this, comando("informazioni"));
}

void Mainform::CreaToolbar()
{
    toolbar_ = addToolBar(QStringLiteral("Comandi"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    struct Pulsante {
        const char* testo;
        const char* chiave;
        const char* suggerimento;
        const char* tema;
        QStyle::StandardPixmap icona;
    };
    static const Pulsante pulsanti[] = {
        {"Nuovo", "nuovo", "Nuovo conteggio", "document-new", QStyle::SP_FileIcon},
        {"Apri", "apri", "Apri conteggio", "document-open", QStyle::SP_DialogOpenButton},
        {"Salva", "salva", "Salva conteggio", "document-save", QStyle::SP_DialogSaveButton},
        {"Stampa", "stampa", "Stampa vista attuale", "document-print", QStyle::SP_FileDialogContentsView},
        {"Copia", "copia", "Copia tabella attuale", "edit-copy", QStyle::SP_FileLinkIcon},
        {"C/C", "cc", "T.E.G. su conto corrente", "x-office-spreadsheet", QStyle::SP_FileDialogDetailedView},
        {"Mutuo", "mutuo", "T.E.G. su mutuo", "go-home", QStyle::SP_DirHomeIcon},
        {"Brevi", "breve", "Operazioni finanziarie semplici a breve termine", "media-seek-forward",
         QStyle::SP_MediaSeekForward},
        {"Altro", "altro", "T.E.G. su operazioni finanziarie varie", "view-list-details",
         QStyle::SP_FileDialogListView},
        {"Usura", "usura", "Verifica usura", "dialog-warning", QStyle::SP_MessageBoxWarning},
        {"Riepilogo", "riepilogo", "Riepilogo pluriennale", "x-office-presentation", QStyle::SP_FileDialogInfoView},
        {"Guida", "guida", "", "help-contents", QStyle::SP_DialogHelpButton},
        {"Informazioni", "informazioni", "", "help-about", QStyle::SP_MessageBoxInformation},
    };
    for (const Pulsante& p : pulsanti) {
        const QString chiave = QLatin1String(p.chiave);
        QAction* a = toolbar_->addAction(
            QIcon::fromTheme(QLatin1String(p.tema), style()->standardIcon(p.icona)),
            QLatin1String(p.testo));
        a->setObjectName(chiave);
        a->setData(chiave);
        a->setToolTip(*p.suggerimento ? QString::fromUtf8(p.suggerimento) : QString());
        connect(a, &QAction::triggered, this, [this, chiave] { EseguiComando(chiave); });
    }

    // "Apri" carries a drop-down with the two ways of opening.
    auto* tendina = new QMenu(this);
    tendina->setObjectName(QStringLiteral("ButtonMenus_apri"));
    const std::pair<const char*, const char*> voci[] = {{"Apri conteggio", "apri"},
                                                        {"Apri archivio", "archivio"}};
    int n = 1;
    for (const auto& [testo, chiave] : voci) {
        QAction* a = tendina->addAction(QLatin1String(testo));
        a->setObjectName(QStringLiteral("ButtonMenu%1").arg(n++));
        a->setData(QLatin1String(chiave));
        const QString k = QLatin1String(chiave);
        connect(a, &QAction::triggered, this, [this, k] { EseguiComando(k); });
    }
    if (auto* b = qobject_cast<QToolButton*>(toolbar_->widgetForAction(Azione("apri")))) {
        b->setMenu(tendina);
        b->setPopupMode(QToolButton::MenuButtonPopup);
    }
}
