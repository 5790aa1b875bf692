// Writes every output of every window for the calculations of a folder, as
// the user gets them through the main window's commands: the printed report
// (on the PDF device), the clipboard copy, the xlsx and CSV exports, and the
// expert's report of each calculation and of the overview of them all. Run by
// hand, outside CTest, to compare what the program writes before and after a
// change:
//
//   scrivi_uscite <folder of .ccc files> <output folder>
//
// Then compare the two output folders with tests/shell/confronta_uscite.sh.
#include "Mainform.h"
#include "Messaggi.h"
#include "Esportazione.h"
#include "Relazione.h"
#include "Stampanti.h"
#include "frmRiepilogo.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <functional>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <cstdio>

namespace {

QString uscita;  // the file the next command writes

void ScriviTesto(const QString& percorso, const QString& testo)
{
    QFile f(percorso);
    if (f.open(QIODevice::WriteOnly))
        f.write(testo.toUtf8());
}

// Runs the output commands with `nome` in front, each into its own file.
void Uscite(Mainform& m, const QString& cartella, const QString& nome, bool relazione)
{
    QGuiApplication::clipboard()->clear();
    m.EseguiComando(QStringLiteral("copia"));
    ScriviTesto(cartella + QLatin1Char('/') + nome + QStringLiteral(".copia.txt"),
                QGuiApplication::clipboard()->text());
    const std::pair<const char*, const char*> comandi[] = {
        {"stampa", ".stampa.pdf"}, {"excel", ".xlsx"}, {"csv", ".csv"}, {"relazione", ".relazione.pdf"}};
    for (const auto& [comando, estensione] : comandi) {
        if (!relazione && QLatin1String(comando) == QLatin1String("relazione"))
            continue;
        uscita = cartella + QLatin1Char('/') + nome + QLatin1String(estensione);
        m.EseguiComando(QLatin1String(comando));
    }
}

// The menus and the toolbar as the user meets them: every item with its
// text (the "&" before its Alt letter), shortcut and whether it can be used.
QString Comandi(Mainform& m)
{
    QString t;
    // An item can be used when it and every menu above it are enabled.
    std::function<void(QList<QAction*>, int, bool)> elenca = [&](QList<QAction*> azioni, int livello, bool sopra) {
        for (QAction* a : azioni) {
            const bool usabile = sopra && a->isEnabled();
            t += QString(livello * 2, QLatin1Char(' ')) + a->objectName() + QLatin1Char('|') + a->text() +
                 QLatin1Char('|') + a->shortcut().toString() + QLatin1Char('|') +
                 (a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0')) + (usabile ? QLatin1Char('1') : QLatin1Char('0')) +
                 QLatin1Char('\n');
            if (a->menu())
                elenca(a->menu()->actions(), livello + 1, usabile);
        }
    };
    elenca(m.menuBar()->actions(), 0, true);
    auto* barra = m.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    for (QAction* a : barra->actions()) {
        t += QStringLiteral("barra ") + a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|') +
             a->iconText() + QLatin1Char('|') + a->toolTip() + QLatin1Char('|') + a->data().toString() +
             QLatin1Char('|') + (a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0')) + QLatin1Char('\n');
        if (auto* b = qobject_cast<QToolButton*>(barra->widgetForAction(a)); b && b->menu())
            for (QAction* v : b->menu()->actions())
                t += QStringLiteral("  ") + v->objectName() + QLatin1Char('|') + v->text() + QLatin1Char('|') +
                     v->data().toString() + QLatin1Char('|') + (v->isEnabled() ? QLatin1Char('1') : QLatin1Char('0')) +
                     QLatin1Char('\n');
    }
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: scrivi_uscite <cartella dei .ccc> <cartella delle uscite>\n");
        return 2;
    }
    const QString archivio = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString uscite = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(uscite);

    ImpostaRisponditore([](const QString& testo, QMessageBox::StandardButtons) {
        std::fprintf(stderr, "messaggio: %s\n", qPrintable(testo));
        return QMessageBox::Ok;
    });
    ImpostaFonteStampanti([] { return QStringList(); }, [] { return QString(); });
    ImpostaStampanteCorrente(DispositivoPdf);
    ImpostaSceltaFilePdf([](QWidget*, const QString&) { return uscita; });
    ImpostaSceltaFileEsportazione([](QWidget*, const QString&, FormatoEsportazione) { return uscita; });
    ImpostaSceltaFileRelazione([](QWidget*, const QString&) { return uscita; });

    QStringList nomi;
    for (const QString& f : QDir(archivio).entryList({QStringLiteral("*.ccc")}, QDir::Files, QDir::Name))
        nomi << f.chopped(4);

    Mainform m;
    ScriviTesto(uscite + QStringLiteral("/comandi-prima.txt"), Comandi(m));
    RigaComando riga;
    riga.archivio = archivio;
    m.Avvia(riga);
    ScriviTesto(uscite + QStringLiteral("/comandi-dopo.txt"), Comandi(m));
    const std::pair<const char*, const char*> finestre[] = {
        {"input", "frmBox"},   {"matematico", "frmCalcoli"}, {"italia", "frmItalia"}, {"mutuo", "frmMutuo"},
        {"altro", "frmOPE"},   {"breve", "frmBreve"},        {"usura", "frmUsura"},
    };
    for (const QString& nome : nomi) {
        if (!m.CaricaConteggio(nome))
            continue;
        const QString cartella = uscite + QLatin1Char('/') + nome;
        QDir().mkpath(cartella);
        bool relazione = true;
        for (const auto& [chiave, finestra] : finestre) {
            m.EseguiComando(QLatin1String(chiave));
            Uscite(m, cartella, QLatin1String(finestra), relazione);
            relazione = false;
        }
    }
    m.EseguiComando(QStringLiteral("riepilogo"));
    if (auto* r = qobject_cast<frmRiepilogo*>(m.FinestraAperta(QStringLiteral("frmRiepilogo")))) {
        r->Mostra(nomi);
        const QString cartella = uscite + QStringLiteral("/Riepilogo");
        QDir().mkpath(cartella);
        Uscite(m, cartella, QStringLiteral("frmRiepilogo"), true);
    }
    m.ScaricaFinestre();
    return 0;
}
