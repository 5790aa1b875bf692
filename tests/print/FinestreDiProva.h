#pragma once
// The windows with a table, made by name by the program's own factory on a
// calculation, for the tests that print, copy and export from them; kept
// when closed, so the test owns them. Their reports and copies come from the
// program's window table (Finestre.h), as the main window's commands get them.
#include "ConteggioAperto.h"
#include "Fabbrica.h"
#include "FinestraFiglia.h"
#include "Finestre.h"
#include "TabellaStampa.h"
#include "frmBox.h"
#include "frmBreve.h"
#include "frmCalcoli.h"
#include "frmItalia.h"
#include "frmMutuo.h"
#include "frmOPE.h"

#include <memory>

namespace esempi {

inline std::unique_ptr<FinestraFiglia> FinestraConTabella(const QString& nome, ConteggioAperto& conteggio)
{
    std::unique_ptr<FinestraFiglia> f(CreaFinestra(nome, conteggio));
    f->setAttribute(Qt::WA_DeleteOnClose, false);
    return f;
}

} // namespace esempi
