#include "Finestre.h"

#include "FinestraFiglia.h"
#include "Routines.h"
#include "frmBox.h"
#include "frmBreve.h"
#include "frmCalcoli.h"
#include "frmItalia.h"
#include "frmMutuo.h"
#include "frmOPE.h"
#include "frmUsura.h"
#include "frmRiepilogo.h"

namespace {
template <typename T>
FinestraFiglia* crea()
{
    return new T;
}
} // namespace

const std::vector<VoceFinestra>& ElencoFinestre()
{
    static const std::vector<VoceFinestra> voci = {
        {"frmBox", crea<frmBox>, DisponiBox},
        {"frmTitolo", nullptr, DisponiTitolo},
        {"frmCalcoli", crea<frmCalcoli>, DisponiCalcoli},
        {"frmItalia", crea<frmItalia>, DisponiItalia},
        {"frmMutuo", crea<frmMutuo>, DisponiMutuo},
        {"frmOPE", crea<frmOPE>, DisponiOPE},
        {"frmBreve", crea<frmBreve>, DisponiBreve},
        {"frmUsura", crea<frmUsura>, DisponiUsura},
        {"frmRiepilogo", crea<frmRiepilogo>, DisponiRiepilogo},
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
