#include "Fabbrica.h"

#include "FinestraFiglia.h"
#include "frmBox.h"
#include "frmBreve.h"
#include "frmCalcoli.h"
#include "frmItalia.h"
#include "frmMutuo.h"
#include "frmOPE.h"

FinestraFiglia* CreaFinestra(const QString& nome)
{
    // One line per window, e.g.
    //   if (nome == QLatin1String("frmBox")) return new frmBox;
    if (nome == QLatin1String("frmBox")) return new frmBox;
    if (nome == QLatin1String("frmCalcoli")) return new frmCalcoli;
    if (nome == QLatin1String("frmItalia")) return new frmItalia;
    if (nome == QLatin1String("frmMutuo")) return new frmMutuo;
    if (nome == QLatin1String("frmOPE")) return new frmOPE;
    if (nome == QLatin1String("frmBreve")) return new frmBreve;
    return nullptr;
}
