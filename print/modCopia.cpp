#include "modCopia.h"

#include "Griglia.h"
#include "RapportoContratto.h"

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>

QString TestoCopia(const TabellaStampa& t, int righe, int colonne, bool regolaSegno)
{
    righe = std::clamp(righe, 0, t.Righe());
    colonne = std::clamp(colonne, 0, TabellaStampa::MaxColonne);
    QString testo;
    for (int r = 1; r <= righe; ++r) {
        for (int c = 1; c <= colonne; ++c) {
            const QString& cella = t.Testo(r, c);
            if (regolaSegno && (cella.startsWith(QLatin1Char('-')) || cella.startsWith(QLatin1Char('='))))
                testo += QLatin1Char('\'');
            testo += cella;
            testo += QLatin1Char(' ');
            testo += c < colonne ? QLatin1Char('\t') : QLatin1Char('\r');
        }
        if (colonne > 0)
            testo += QLatin1Char('\n');
    }
    return testo;
}

QString CopiaBreve(const DatiPaginaBreve& d) { return TestoCopia(RapportoBreve(d, {}).tabella, 9, 2, true); }

QString CopiaMutuo(const DatiPaginaMutuo& d)
{
    return TestoCopia(RapportoMutuo(d, {}).tabella, RigheRapportoMutuo(d), 2, true);
}

QString CopiaOPE(const DatiPaginaOPE& d)
{
    const Rapporto r = RapportoOPE(d, {});
    return TestoCopia(r.tabella, r.RighePerPagina, 4, true);
}

QString CopiaInput(const DatiPaginaInput& d) { return TestoCopia(RapportoInput(d, {}).tabella, 10, 5, false); }

namespace {
QString copiaGriglia(const Griglia& g)
{
    TabellaStampa t;
    const int righe = std::min(g.Righe(), TabellaStampa::MaxRighe);
    const int colonne = std::min(g.Colonne(), TabellaStampa::MaxColonne);
    for (int r = 0; r < righe; ++r)
        for (int c = 0; c < colonne; ++c)
            t.setTesto(r + 1, c + 1, g.Testo(r, c));
    return TestoCopia(t, righe, colonne, true);
}
} // namespace

QString CopiaMatematico(const Griglia& g) { return copiaGriglia(g); }

QString CopiaItalia(const Griglia& g) { return copiaGriglia(g); }

bool CopiaTabellaCorrente(const QString& testo)
{
    QClipboard* appunti = QGuiApplication::clipboard();
    if (!appunti)
        return false;
    appunti->clear();
    appunti->setText(testo);
    return true;
}
