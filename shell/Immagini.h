#pragma once
// The program's pictures, drawn at run time.
#include <QPixmap>

// The product logo of the printed pages: 188 x 71 pixels with the name.
QPixmap LogoProgramma();

// The two alternating title pictures of the title window (variante 0 or 1).
QPixmap ImmagineTitolo(int variante);

// The line under the title: what the program is for.
QPixmap ImmagineSottotitolo();

// The hourglass of the wait window.
QPixmap ImmagineAttesa();
