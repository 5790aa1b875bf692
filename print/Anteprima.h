#pragma once
// "Anteprima di stampa": the report of the window in front, shown in Qt's
// print preview as the page frame prints it, with the usual zoom, page and
// print buttons.
#include <functional>

struct Rapporto;
class QPrintPreviewDialog;
class QWidget;

// Shows the preview of the report over `genitore`. Printing from the preview
// prints the same page.
void AnteprimaTabellaCorrente(const Rapporto& rapporto, QWidget* genitore);

// Replaces the way the preview dialog is run, exec() by default (for tests,
// which look at the dialog without a modal loop); empty restores it.
void ImpostaMostraAnteprima(std::function<void(QPrintPreviewDialog&)> mostra);
