#pragma once
// The six windows with a table, made by name for the tests that print, copy
// and export from them; kept when closed, so the test owns them.
#include "FinestraFiglia.h"
#include "frmBox.h"
#include "frmBreve.h"
#include "frmCalcoli.h"
#include "frmItalia.h"
#include "frmMutuo.h"
#include "frmOPE.h"

#include <memory>

namespace esempi {

inline std::unique_ptr<FinestraFiglia> FinestraConTabella(const QString& nome)
{
    std::unique_ptr<FinestraFiglia> f;
    if (nome == QLatin1String("frmBreve")) f = std::make_unique<frmBreve>();
    else if (nome == QLatin1String("frmOPE")) f = std::make_unique<frmOPE>();
    else if (nome == QLatin1String("frmMutuo")) f = std::make_unique<frmMutuo>();
    else if (nome == QLatin1String("frmCalcoli")) f = std::make_unique<frmCalcoli>();
    else if (nome == QLatin1String("frmItalia")) f = std::make_unique<frmItalia>();
    else f = std::make_unique<frmBox>();
    f->setAttribute(Qt::WA_DeleteOnClose, false);
    return f;
}

} // namespace esempi
