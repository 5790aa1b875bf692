#include "RelazioneRiepilogo.h"

#include "GraficoRiepilogo.h"
#include "Relazione.h"
#include "frmRiepilogo.h"

bool CreaRelazioneFinestra(QWidget* finestra, Documento& aperto, QWidget* genitore)
{
    auto* riepilogo = qobject_cast<frmRiepilogo*>(finestra);
    if (!riepilogo || riepilogo->Documenti().empty())
        return CreaRelazionePdf(aperto, genitore);
    // Drawing the chart lets events through: the report keeps its own hold
    // on the documents and the overview, whatever the window does meanwhile.
    const std::vector<std::shared_ptr<Documento>> tenuti = riepilogo->Documenti();
    const DatiPaginaRiepilogo dati = riepilogo->Dati();
    std::vector<Documento*> documenti;
    for (const auto& d : tenuti)
        documenti.push_back(d.get());
    return CreaRelazioneInsieme(genitore, documenti, dati,
                                [&dati](QPainter& p, const QRectF& r) { DisegnaGrafico(dati, p, r); });
}
