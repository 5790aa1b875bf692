#pragma once
// Layout of the child windows inside the main window, and closing them.
//
// Every child window remembers the size it was designed at in its "Tag"
// property (10 digits: width, height) and the design rectangle of its frames
// in theirs (20 digits: left, top, width, height), each group five digits of
// twips. The geometry is computed in twips by the plain functions below and
// turned into pixels only when applied to the widgets.
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

class QWidget;

// The number written in the leading digits of a tag group; no digits give 0.
double NumeroTag(const QString& gruppo);

// A window tag read as design width (first five characters) and design
// height (last five characters).
QSizeF MisuraProgetto(const QString& tagFinestra);

// A frame tag read as left, top, width, height (characters 1-5, 6-10, 11-15,
// 16-20); missing groups count as 0.
QRectF RettangoloProgetto(const QString& tagCornice);

// Where a child window goes for a main window of the given outer size:
// top left corner, 240 twips narrower and 1920 twips lower.
QRectF GeometriaFiglia(const QSizeF& principale);

// Where the title window goes: the whole outer size of the main window.
QRectF GeometriaTitolo(const QSizeF& principale);

// A frame rescaled from its design rectangle to a window now of size figlia;
// nothing when the design size has a zero side (the frame is left as is).
std::optional<QRectF> GeometriaCornice(const QSizeF& progetto, const QRectF& cornice,
                                       const QSizeF& figlia);

// The title band runs across the window less 240 twips.
double LarghezzaBanda(double larghezzaFinestra);

// The result grid fills its frame less 240 twips across and 360 down.
QSizeF MisuraGriglia(const QSizeF& cornice);

// Applying the layout. principale is the outer size of the main window in
// twips. The child window's own geometry is applied to the MDI sub-window
// holding it when there is one.
void DisponiTitolo(QWidget* titolo, const QSizeF& principale);
void DisponiCalcoli(QWidget* w, const QSizeF& principale);
void DisponiItalia(QWidget* w, const QSizeF& principale);
void DisponiBox(QWidget* w, const QSizeF& principale);
void DisponiMutuo(QWidget* w, const QSizeF& principale);
void DisponiOPE(QWidget* w, const QSizeF& principale);
void DisponiBreve(QWidget* w, const QSizeF& principale);
// The usury check and the multi-year overview lay out their own contents:
// only the window is placed.
void DisponiUsura(QWidget* w, const QSizeF& principale);
void DisponiRiepilogo(QWidget* w, const QSizeF& principale);
// The class rules of the account's movements, laid out by themselves too.
void DisponiRegole(QWidget* w, const QSizeF& principale);
void DisponiPiano(QWidget* w, const QSizeF& principale);
// The account's windows (movements, conditions, scale) lay out their own
// contents too.
void DisponiConto(QWidget* w, const QSizeF& principale);
// The recalculation of the account lays out its own contents too.
void DisponiRicalcolo(QWidget* w, const QSizeF& principale);

// Chooses the routine by window name ("frmTitolo", "frmCalcoli", ...);
// false when the name has no layout.
bool DisponiPerNome(const QString& nome, QWidget* w, const QSizeF& principale);

// The child windows in the order ScaricaFinestre closes them.
const QStringList& FinestreFiglie();
