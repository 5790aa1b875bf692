#pragma once
// Reads what an input or result window shows through the objectNames of its
// controls (XPText1(0), Label1(6), Combo1, DTPicker1, Grid, ...), so that the
// reports print exactly the texts on screen.
#include "modStampa.h"

#include <QDate>
#include <functional>

class Griglia;
class QObject;
class QWidget;

// The text a control shows: a field's text, a list's current text, a label's
// caption, a date picker's date as dd/MM/yyyy. Empty when there is no such
// control.
QString TestoControllo(const QWidget* finestra, const QString& nome);

// The date shown as text in the short date form used by every report.
QString TestoData(const QDate& data);

DatiBreve LeggiBreve(const QWidget* finestra);
DatiMutuo LeggiMutuo(const QWidget* finestra);
// Amounts from the document decide the printed rows; the texts come from the window.
DatiOPE LeggiOPE(const QWidget* finestra, const std::array<double, 10>& importi);
DatiInput LeggiInput(const QWidget* finestra);

// The result grid a window shows. By default it is read from the table view
// named "Grid" (text, bold and grey of each cell); a window that keeps its
// grid as a Griglia can be served by a reader installed here.
using LettoreGriglia = std::function<const Griglia*(const QWidget* finestra)>;
void ImpostaLettoreGriglia(LettoreGriglia lettore);
bool LeggiGriglia(const QWidget* finestra, Griglia& griglia);

// The window named nome: finestra itself or, when it only wraps it, its child.
QWidget* FinestraDiNome(QWidget* finestra, const QString& nome);
