#pragma once
// The commands of the main window beyond running them: its menus and toolbar
// (Mainform::CreaMenu and Mainform::CreaToolbar are defined in Comandi.cpp),
// the keyboard (shortcuts and the Alt+letter of every menu) and the question
// asked before unsaved changes would be lost.
#include <QString>
#include <functional>

class QMainWindow;
class QWidget;

// Gives the menus of `finestra` their Alt+letters and the commands their
// shortcuts, by the objectName of menus and items: Ctrl+N, Ctrl+O, Ctrl+S,
// Ctrl+P, Ctrl+C (a focused text field keeps its own Ctrl+C) and F1. Items
// it does not know are left as they are.
void ImpostaTastiera(QMainWindow& finestra);

// Before a command that would drop the document: when it has unsaved
// changes asks whether to save them (Sì / No / Annulla). Sì runs `salva`
// (whose failure is thrown on, and stops the command), No drops them.
// True when the command may go on; false for Annulla.
bool ProseguiSenzaPerdereModifiche(bool modificato, const QString& nome, const std::function<void()>& salva,
                                   QWidget* genitore);
