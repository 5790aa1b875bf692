#include "Fabbrica.h"

#include "FinestraFiglia.h"

FinestraFiglia* CreaFinestra(const QString& nome)
{
    // One line per window, e.g.
    //   if (nome == QLatin1String("frmBox")) return new frmBox;
    (void)nome;
    return nullptr;
}
