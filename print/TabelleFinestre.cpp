#include "TabelleFinestre.h"

#include "Dichiarazioni.h"
#include "Griglia.h"
#include "LetturaFinestre.h"
#include "RapportoRiepilogo.h"
#include "RapportoSoglia.h"
#include "frmUsura.h"
#include "modCopia.h"

#include <array>
#include <iterator>

namespace {

QString descrizione(const std::string& s) { return QString::fromStdString(s); }

std::array<double, 10> importiOperazioni()
{
    std::array<double, 10> importi{};
    for (int k = 0; k < 10; ++k)
        importi[k] = Conteggio.Operazioni().Importo(k + 1);
    return importi;
}

QString descrizioneConto() { return descrizione(Conteggio.Trimestri(1).Descrizione()); }

const TabellaFinestra tabelle[] = {
    {"frmBreve",
     [](QWidget* f, Rapporto& r) {
         r = RapportoBreve(LeggiBreve(f), descrizione(Conteggio.BreveCorrente().Descrizione()));
         return true;
     },
     [](QWidget* f, QString& t) {
         t = CopiaBreve(LeggiBreve(f));
         return true;
     }},
    {"frmOPE",
     [](QWidget* f, Rapporto& r) {
         r = RapportoOPE(LeggiOPE(f, importiOperazioni()), descrizione(Conteggio.Operazioni().Descrizione()));
         return true;
     },
     [](QWidget* f, QString& t) {
         t = CopiaOPE(LeggiOPE(f, importiOperazioni()));
         return true;
     }},
    {"frmMutuo",
     [](QWidget* f, Rapporto& r) {
         r = RapportoMutuo(LeggiMutuo(f), descrizione(Conteggio.MutuoCorrente().Descrizione()));
         return true;
     },
     [](QWidget* f, QString& t) {
         t = CopiaMutuo(LeggiMutuo(f));
         return true;
     }},
    {"frmCalcoli",
     [](QWidget* f, Rapporto& r) {
         Griglia g;
         if (!LeggiGriglia(f, g))
             return false;
         r = RapportoMatematico(g, descrizioneConto());
         return true;
     },
     [](QWidget* f, QString& t) {
         Griglia g;
         if (!LeggiGriglia(f, g))
             return false;
         t = CopiaMatematico(g);
         return true;
     }},
    {"frmItalia",
     [](QWidget* f, Rapporto& r) {
         Griglia g;
         if (!LeggiGriglia(f, g))
             return false;
         r = RapportoItalia(g, descrizioneConto());
         r.figura = FiguraFinestra(f);
         return true;
     },
     [](QWidget* f, QString& t) {
         Griglia g;
         if (!LeggiGriglia(f, g))
             return false;
         t = CopiaItalia(g);
         return true;
     }},
    {"frmBox",
     [](QWidget* f, Rapporto& r) {
         r = RapportoInput(LeggiInput(f), descrizioneConto());
         return true;
     },
     [](QWidget* f, QString& t) {
         t = CopiaInput(LeggiInput(f));
         return true;
     }},
    {"frmUsura",
     [](QWidget* f, Rapporto& r) {
         auto* w = qobject_cast<frmUsura*>(f);
         if (w)
             r = RapportoSoglia(w->Dati());
         return w != nullptr;
     },
     [](QWidget* f, QString& t) {
         auto* w = qobject_cast<frmUsura*>(f);
         if (w)
             t = CopiaSoglia(w->Dati());
         return w != nullptr;
     }},
    {"frmRiepilogo",
     [](QWidget* f, Rapporto& r) {
         auto* w = dynamic_cast<const FonteRiepilogo*>(f);
         if (w)
             r = RapportoRiepilogo(w->DatiRiepilogo());
         return w != nullptr;
     },
     [](QWidget* f, QString& t) {
         auto* w = dynamic_cast<const FonteRiepilogo*>(f);
         if (w)
             t = CopiaRiepilogo(w->DatiRiepilogo());
         return w != nullptr;
     }},
};

} // namespace

const TabellaFinestra* TabellaDiFinestra(const QString& nome)
{
    for (const TabellaFinestra& t : tabelle)
        if (nome == QLatin1String(t.nome))
            return &t;
    return nullptr;
}
