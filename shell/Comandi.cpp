#include "Comandi.h"

#include "Messaggi.h"

#include <QAction>
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
