#pragma once
// What the tests of the account's windows share: the generated account put
// into a calculation, and the gestures of a user on a table (a click on a
// cell, a double click to edit it, typing into the editor).
#include "ConteggioAperto.h"
#include "core/ContoGenerato.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QtTest>

namespace prova {

// The generated account (classes as the rules give them) in `d`.
inline void MettiConto(Documento& d, std::uint64_t seme = 20240611, int anni = 10, int ordinari = 49752)
{
    ContoGenerato g = GeneraConto(seme, 2014, anni, ordinari);
    ContoMovimenti& c = d.ContoCorrente();
    c.movimenti = std::move(g.movimenti);
    c.saldi = std::move(g.saldi);
    c.condizioni = std::move(g.condizioni);
    ApplicaRegole(c.movimenti, c.regole);
}

inline QPoint Centro(QAbstractItemView* v, int riga, int colonna)
{
    const QModelIndex i = v->model()->index(riga, colonna);
    v->scrollTo(i);
    return v->visualRect(i).center();
}

inline void Clic(QAbstractItemView* v, int riga, int colonna, Qt::KeyboardModifiers tasti = {})
{
    QTest::mouseClick(v->viewport(), Qt::LeftButton, tasti, Centro(v, riga, colonna));
}

// Enter in a cell's editor: the view takes the value once back in the event
// loop, and closes the editor.
inline void Invio(QWidget* editor)
{
    QPointer<QWidget> e(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!e || !e->isVisible());
}

// Opens the cell's editor with a double click and types `testo` over what it
// holds, then Enter.
inline void Scrivi(QAbstractItemView* v, int riga, int colonna, const QString& testo)
{
    const QPoint p = Centro(v, riga, colonna);
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, p);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY2(editor, "no editor opened");
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, testo);
    Invio(editor);
}

} // namespace prova
