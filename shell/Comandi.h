#pragma once
// The commands of the main window, one row each in a table: the key that runs
// it, its menu item, its toolbar button, its keys, whether it needs an open
// calculation and what it runs. The menus, the toolbar, the shortcuts, the
// Alt letters, the enabled states and the runner of keys are all made from
// the table; a new command is a new row.
#include <QKeyCombination>
#include <QString>
#include <QStyle>
#include <functional>
#include <vector>

class Mainform;
class QWidget;

struct Comando {
    enum class Tipo {
        Voce,        // a command: a menu item, a toolbar button or a key, or several of them
        Menu,        // a menu or submenu (voce, menu, testo, lettera)
        Separatore,  // a line in a menu (voce, menu)
    };
    Tipo tipo = Tipo::Voce;
    // Its key: EseguiComando runs it, and the toolbar button carries it as
    // objectName and data(). Empty: none.
    const char* chiave = "";
    // The objectName of its menu item, menu or separator; empty: none.
    const char* voce = "";
    // The objectName of the menu holding it; empty: the menu bar.
    const char* menu = "";
    // The menu item's text, also the command's name when it fails.
    const char* testo = "";
    // The Alt letter: its first occurrence in testo, case as written.
    const char* lettera = "";
    QKeyCombination scorciatoia{};
    // Place on the toolbar from 1, with its caption, tooltip and icon (a
    // theme name and a fallback); 0: not on the toolbar.
    int barra = 0;
    const char* didascalia = "";
    const char* suggerimento = "";
    const char* tema = "";
    QStyle::StandardPixmap icona = QStyle::SP_CustomBase;
    // Place in the drop-down list of the toolbar's "apri" button from 1; 0: not there.
    int tendina = 0;
    // Enabled only once a calculation is open.
    bool serveConteggio = false;
    // Enabled only while this holds too; asked again whenever the open
    // calculation is edited, saved or loaded, and when its menu opens.
    std::function<bool(Mainform&)> attivo;
    // What it runs from the menu.
    std::function<void(Mainform&)> esegui;
    // What the toolbar button and the key run, when not the same.
    std::function<void(Mainform&)> eseguiBarra;

    // What the toolbar button and the key run.
    const std::function<void(Mainform&)>& DaBarra() const { return eseguiBarra ? eseguiBarra : esegui; }
};

// Every row, in the order of the menus.
const std::vector<Comando>& TabellaComandi();

// The row of the command with that key; nullptr when none.
const Comando* ComandoDi(const QString& chiave);

// Builds the main window's menus and toolbar ("Toolbar1") from the table.
void CreaComandi(Mainform& m);

// Enables or disables what needs an open calculation.
void AbilitaComandi(Mainform& m, bool abilita);

// Before a command that would drop the document: when it has unsaved
// changes asks whether to save them (Sì / No / Annulla). Sì runs `salva`
// (whose failure is thrown on, and stops the command), No drops them.
// True when the command may go on; false for Annulla.
bool ProseguiSenzaPerdereModifiche(bool modificato, const QString& nome, const std::function<void()>& salva,
                                   QWidget* genitore);
