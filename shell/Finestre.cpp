#include "Finestre.h"

#include "ConteggioAperto.h"
#include "FinestraFiglia.h"
#include "RapportoRegole.h"
#include "RapportoContratto.h"
#include "RapportiConto.h"
#include "RapportoRicalcolo.h"
#include "RapportoRiepilogo.h"
#include "RapportoSoglia.h"
#include "Routines.h"
#include "frmBox.h"
#include "frmBreve.h"
#include "frmCalcoli.h"
#include "frmCondizioni.h"
#include "frmItalia.h"
#include "frmMovimenti.h"
#include "frmMutuo.h"
#include "frmOPE.h"
#include "frmRegole.h"
#include "frmPiano.h"
#include "frmRicalcolo.h"
#include "frmRiepilogo.h"
#include "frmScalare.h"
#include "frmUsura.h"
#include "modCopia.h"

#include <type_traits>

namespace {

// A window on the open calculation's document (the overview takes the open
// calculation itself, of which it only reads the name and the unsaved state).
template <typename W>
FinestraFiglia* crea(ConteggioAperto& conteggio)
{
    if constexpr (std::is_constructible_v<W, ConteggioAperto&>)
        return new W(conteggio);
    else
        return new W(conteggio.Doc());
}

// A window whose page, W::Dati(), is printed by `rapporto` and copied by `copia`.
template <typename W, typename R, typename C>
VoceFinestra conTabella(const char* nome, void (*disponi)(QWidget*, const QSizeF&), R rapporto, C copia)
{
    return {nome, crea<W>, disponi,
            [rapporto](QWidget* w, Rapporto& r) {
                const auto* f = dynamic_cast<const W*>(w);
                if (f)
                    r = rapporto(f->Dati());
                return f != nullptr;
            },
            [copia](QWidget* w, QString& t) {
                const auto* f = dynamic_cast<const W*>(w);
                if (f)
                    t = copia(f->Dati());
                return f != nullptr;
            }};
}

} // namespace

const std::vector<VoceFinestra>& ElencoFinestre()
{
    static const std::vector<VoceFinestra> voci = {
        conTabella<frmBox>(
            "frmBox", DisponiBox, [](const DatiPaginaInput& d) { return RapportoInput(d, d.descrizione); },
            CopiaInput),
        {"frmTitolo", nullptr, DisponiTitolo, {}, {}},
        conTabella<frmCalcoli>(
            "frmCalcoli", DisponiCalcoli,
            [](const DatiPaginaConto& d) { return RapportoMatematico(d.griglia, d.descrizione); },
            [](const DatiPaginaConto& d) { return CopiaMatematico(d.griglia); }),
        conTabella<frmItalia>(
            "frmItalia", DisponiItalia,
            [](const DatiPaginaConto& d) {
                Rapporto r = RapportoItalia(d.griglia, d.descrizione);
                if (d.figura)
                    r.figura = d.figura;  // the formula as the window shows it
                return r;
            },
            [](const DatiPaginaConto& d) { return CopiaItalia(d.griglia); }),
        conTabella<frmMutuo>(
            "frmMutuo", DisponiMutuo, [](const DatiPaginaMutuo& d) { return RapportoMutuo(d, d.descrizione); },
            CopiaMutuo),
        conTabella<frmOPE>(
            "frmOPE", DisponiOPE, [](const DatiPaginaOPE& d) { return RapportoOPE(d, d.descrizione); }, CopiaOPE),
        conTabella<frmBreve>(
            "frmBreve", DisponiBreve, [](const DatiPaginaBreve& d) { return RapportoBreve(d, d.descrizione); },
            CopiaBreve),
        conTabella<frmUsura>("frmUsura", DisponiUsura, RapportoSoglia, CopiaSoglia),
        conTabella<frmRiepilogo>("frmRiepilogo", DisponiRiepilogo, RapportoRiepilogo, CopiaRiepilogo),
        conTabella<frmRegole>("frmRegole", DisponiRegole, RapportoRegole, CopiaRegole),
        conTabella<frmPiano>("frmPiano", DisponiPiano, RapportoPiano, CopiaPiano),
        // The account from its statements.
        conTabella<frmMovimenti>("frmMovimenti", DisponiConto, RapportoMovimenti, CopiaMovimenti),
        conTabella<frmCondizioni>("frmCondizioni", DisponiConto, RapportoCondizioni, CopiaCondizioni),
        conTabella<frmScalare>("frmScalare", DisponiConto, RapportoScalare, CopiaScalare),
        conTabella<frmRicalcolo>("frmRicalcolo", DisponiRicalcolo, RapportoRicalcolo, CopiaRicalcolo),
    };
    return voci;
}

const VoceFinestra* VoceDiFinestra(const QString& nome)
{
    for (const VoceFinestra& v : ElencoFinestre())
        if (nome == QLatin1String(v.nome))
            return &v;
    return nullptr;
}

bool RapportoFinestra(const QString& nome, QWidget* finestra, Rapporto& r)
{
    const VoceFinestra* v = VoceDiFinestra(nome);
    if (!v || !v->rapporto || !finestra || finestra->objectName() != nome)
        return false;
    Rapporto letto;
    if (!v->rapporto(finestra, letto))
        return false;
    r = std::move(letto);
    return true;
}

bool TestoCopiaFinestra(const QString& nome, QWidget* finestra, QString& testo)
{
    const VoceFinestra* v = VoceDiFinestra(nome);
    if (!v || !v->copia || !finestra || finestra->objectName() != nome)
        return false;
    return v->copia(finestra, testo);
}
