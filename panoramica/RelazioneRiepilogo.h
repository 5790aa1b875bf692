#pragma once
// "Crea relazione PDF…" from the window in front: the report of the
// overview's calculations, with its chart, or of the open calculation.

class Documento;
class QWidget;

// When `finestra` is the overview showing at least one calculation, asks for
// the file and writes the report of those calculations (RelazioneInsieme);
// otherwise the open calculation's, `aperto` (CreaRelazionePdf). False when
// the choice is cancelled; a failure is thrown, for the command runner to
// report.
bool CreaRelazioneFinestra(QWidget* finestra, Documento& aperto, QWidget* genitore);
