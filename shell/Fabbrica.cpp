#include "Fabbrica.h"

#include "FinestraFiglia.h"
#include "frmBreve.h"
#include "frmMutuo.h"
#include "frmOPE.h"

FinestraFiglia* CreaFinestra(const QString& nome)
{
    // One line per window, e.g.
    //   if (nome == QLatin1String("frmBox")) return new frmBox;
    if (nome == QLatin1String("frmMutuo")) return new frmMutuo;
    if (nome == QLatin1String("frmOPE")) return new frmOPE;
    if (nome == QLatin1String("frmBreve")) return new frmBreve;
    return nullptr;
}
