#include "PaginaPiano.h"

#include "ContrattoConteggio.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "PaginaContratto.h"
#include "PagineFinanziamenti.h"

#include <cmath>

namespace {

QString Testo(const std::string& s) { return QString::fromStdString(s); }

QString Importo(double euro)
{
    return std::isfinite(euro) ? Testo(FormatoImporto(euro)) : QStringLiteral("non valido");
}

QString Giorno(std::chrono::sys_days d) { return Testo(TestoGiorno(d)); }

QString Minuscolo(const QString& t) { return t.isEmpty() ? t : t.left(1).toLower() + t.mid(1); }

} // namespace

const std::array<QString, 7>& IntestazioniPiano()
{
    static const std::array<QString, 7> t = {
        QStringLiteral("N."),        QStringLiteral("Data"),           QStringLiteral("Rata"),
        QStringLiteral("Interessi"), QStringLiteral("Quota capitale"), QStringLiteral("Debito residuo"),
        QStringLiteral("Costi")};
    return t;
}

DatiPaginaPiano PaginaPiano(const Documento& d)
{
    return PaginaPiano(d, EsaminaContratto(d));
}

DatiPaginaPiano PaginaPiano(const Documento& d, const EsameContratto& e)
{
    DatiPaginaPiano p;
    const QString descrizione = Testo(d.MutuoCorrente().Descrizione()).simplified();
    p.titolo = QStringLiteral("Piano di ammortamento");
    if (!descrizione.isEmpty())
        p.titolo += QStringLiteral(" \u2013 ") + descrizione;
    if (!d.Contratto().Indicati()) {
        p.errore = QStringLiteral("Nessun piano: indicare nella finestra «T.E.G. su mutuo» i dati del contratto "
                                  "(data di stipula, data della prima rata, TAN e ammortamento).");
        return p;
    }
    if (!e.piano) {
        p.errore = QStringLiteral("Nessun piano: ") + Testo(e.piano.Errore());
        return p;
    }
    const ContrattoMutuo& c = e.contratto;
    const PianoAmmortamento& piano = *e.piano;
    const QString periodicita = PeriodicitaDaRateAnnuali(c.rateAnnuali).toLower();
    p.intestazione << QStringLiteral("Importo finanziato %1, stipula %2, prima rata %3")
                          .arg(Importo(c.importo), Giorno(*c.dataStipula), Giorno(*c.dataPrimaRata));
    p.intestazione << QStringLiteral("TAN %1 (base %2), ammortamento %3, %4 rate %5%6")
                          .arg(Testo(FormatoTasso(c.tan)), Minuscolo(ElencoBasiTan().value(static_cast<int>(c.base))),
                               Minuscolo(ElencoMetodi().value(static_cast<int>(c.metodo))))
                          .arg(c.numeroRate)
                          .arg(periodicita)
                          .arg(c.giorniPreammortamento > 0
                                   ? QStringLiteral(", %1 giorni di preammortamento").arg(c.giorniPreammortamento)
                                   : QString());

    RigaPaginaPiano stipula;
    stipula.celle = {QStringLiteral("stipula"), Giorno(*c.dataStipula), {}, {}, {}, Importo(c.importo),
                     Importo(piano.costiStipula)};
    p.righe.push_back(stipula);
    for (const RigaPiano& r : piano.righe) {
        RigaPaginaPiano riga;
        riga.celle = {QString::number(r.numero), Giorno(r.data),         Importo(r.rata),  Importo(r.interessi),
                      Importo(r.quotaCapitale),  Importo(r.debitoResiduo), Importo(r.costi)};
        p.righe.push_back(riga);
    }
    p.totali.celle = {QStringLiteral("Totale"),       {}, Importo(piano.totaleRate), Importo(piano.totaleInteressi),
                      Importo(piano.totaleCapitale), {}, Importo(piano.totaleCosti)};
    p.totali.grassetto = true;

    for (const std::string& a : piano.avvisi)
        p.note << Testo(a);
    if (e.confronto) {
        const ConfrontoRata& x = *e.confronto;
        p.note << (x.concorda ? QStringLiteral("La rata indicata nel contratto (%1, senza le spese di ogni rata) "
                                               "concorda con quella del piano.")
                                    .arg(Importo(x.rataDichiarata))
                              : QStringLiteral("La rata indicata nel contratto (%1, senza le spese di ogni rata) "
                                               "differisce di %2 da quella del piano (%3).")
                                    .arg(Importo(x.rataDichiarata), Importo(x.differenza), Importo(x.rataPiano)));
    }
    if (!c.costi.empty())
        p.note << QStringLiteral("La colonna Costi riporta ogni costo pagato in quella data, compreso o no nel tasso.");
    return p;
}

Griglia GrigliaPiano(const DatiPaginaPiano& dati)
{
    constexpr Qt::Alignment destra = Qt::AlignRight;
    const bool totali = !dati.righe.empty();
    Griglia g = GrigliaElenco({{"N.", 800, destra},
                               {"Data", 1200, Qt::AlignLeft},
                               {"Rata", 1400, destra},
                               {"Interessi", 1400, destra},
                               {"Quota capitale", 1400, destra},
                               {"Debito residuo", 1600, destra},
                               {"Costi", 1200, destra}},
                              static_cast<int>(dati.righe.size()) + (totali ? 1 : 0));
    for (int r = 1; r < g.Righe(); ++r)
        g.Riga(r).altezza = 285;
    for (std::size_t i = 0; i < dati.righe.size(); ++i)
        RigaElenco(g, static_cast<int>(i) + 1,
                   std::vector<QString>(dati.righe[i].celle.begin(), dati.righe[i].celle.end()));
    if (totali) {
        const int r = g.Righe() - 1;
        RigaElenco(g, r, std::vector<QString>(dati.totali.celle.begin(), dati.totali.celle.end()));
        for (int c = 0; c < g.Colonne(); ++c) {
            g.Cella(r, c).grassetto = true;
            g.Cella(r, c).grigia = true;
        }
    }
    return g;
}
