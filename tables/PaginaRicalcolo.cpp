#include "PaginaRicalcolo.h"

#include "Dichiarazioni.h"
#include "Calendario.h"
#include "ControlloEstratti.h"
#include "Funzioni.h"
#include "SoglieInUso.h"
#include "TassoLegaleInUso.h"

#include <stdexcept>

namespace {

QString Testo(const std::string& s) { return QString::fromStdString(s); }

QString TestoRate(std::optional<double> tasso)
{
    if (!tasso)
        return {};
    try {
        return Testo(FormatoTasso(*tasso));
    } catch (const std::overflow_error&) {
        return {};
    }
}

const char* const Romani[] = {"", "I", "II", "III", "IV"};

QString NomeTrimestre(TrimestreAnno t)
{
    return QStringLiteral("%1 trimestre %2").arg(QLatin1String(Romani[t.numero])).arg(t.anno);
}

// The period of a row as the grids write it: "I trim. 2010", or the year.
QString NomePeriodo(TrimestreAnno t)
{
    if (t.numero == 0)
        return QString::number(t.anno);
    return QStringLiteral("%1 trim. %2").arg(QLatin1String(Romani[t.numero])).arg(t.anno);
}

QString SottotitoloConto(const DatiConto& c)
{
    QStringList parti;
    for (const std::string* s : {&c.intestatario, &c.banca})
        if (!s->empty())
            parti << Testo(*s);
    if (!c.iban.empty())
        parti << QStringLiteral("IBAN ") + Testo(c.iban);
    else if (!c.numero.empty())
        parti << QStringLiteral("conto n. ") + Testo(c.numero);
    return parti.join(QStringLiteral(" \u2013 "));
}

enum Colonna { Periodo, Voce, Debitori, Creditori, Cms, Commissioni, Valuta, Costo, Saldo, AParte, Note, Colonne };

const std::vector<ColonnaElenco>& ColonneRisultati()
{
    constexpr Qt::Alignment destra = Qt::AlignRight;
    static const std::vector<ColonnaElenco> colonne = {
        {"Periodo", 1250, Qt::AlignLeft},
        {"", 950, Qt::AlignLeft},
        {"Interessi debitori", 1250, destra},
        {"Interessi creditori", 1250, destra},
        {"CMS", 1150, destra},
        {"Commissioni e spese", 1250, destra},
        {"Effetto valuta", 1150, destra},
        {"Costo netto", 1250, destra},
        {"Saldo a fine periodo", 1400, destra},
        {"di cui interessi a parte", 1300, destra},
        {"Note", 2600, Qt::AlignLeft},
    };
    return colonne;
}

void ScriviOneri(Griglia& g, int r, const OneriPeriodo& o)
{
    g.setTesto(r, Debitori, TestoEuro(o.interessiDebitori));
    g.setTesto(r, Creditori, TestoEuro(o.interessiCreditori));
    g.setTesto(r, Cms, TestoEuro(o.cms));
    g.setTesto(r, Commissioni, TestoEuro(o.commissioni));
    g.setTesto(r, Valuta, TestoEuro(o.effettoValuta));
    g.setTesto(r, Costo, TestoEuro(o.Costo()));
}

// Three rows for each period: what the bank charged, what is recomputed,
// and their difference, bank less recomputed.
Griglia GrigliaRisultati(const std::vector<RigaRicalcolo>& righe)
{
    Griglia g = GrigliaElenco(ColonneRisultati(), static_cast<int>(righe.size()) * 3);
    for (int r = 1; r < g.Righe(); ++r) {
        g.Riga(r).altezza = 285;
        for (int c = 0; c < Colonne; ++c)
            g.Cella(r, c).allineamento = g.Colonna(c).allineamento;
    }
    int r = 1;
    for (const RigaRicalcolo& riga : righe) {
        g.setTesto(r, Periodo, NomePeriodo(riga.periodo));
        g.Cella(r, Periodo).grassetto = true;
        g.setTesto(r, Voce, QStringLiteral("banca"));
        ScriviOneri(g, r, riga.banca);
        g.setTesto(r, Saldo, TestoEuro(riga.saldoBanca));
        ++r;
        g.setTesto(r, Voce, QStringLiteral("ricalcolo"));
        ScriviOneri(g, r, riga.ricalcolato);
        g.setTesto(r, Saldo, TestoEuro(riga.saldoRicalcolato));
        g.setTesto(r, AParte, TestoEuro(riga.interessiAParte));
        g.setTesto(r, Note, Testo(riga.tassi));
        ++r;
        g.setTesto(r, Voce, QStringLiteral("differenza"));
        ScriviOneri(g, r, riga.Differenza());
        g.setTesto(r, Saldo, TestoEuro(riga.saldoBanca - riga.saldoRicalcolato));
        if (riga.gratuito)
            g.setTesto(r, Note, QStringLiteral("oltre la soglia d'usura: interessi non dovuti"));
        else if (riga.oltreSoglia)
            g.setTesto(r, Note, QStringLiteral("oltre la soglia d'usura"));
        for (int c = 0; c < Colonne; ++c)
            g.Cella(r, c).grassetto = true;
        ++r;
    }
    return g;
}

QString Stato(const TrimestreSoglia& t)
{
    if (t.stato == StatoVerifica::OltreSoglia && !t.oltre)
        return QStringLiteral("oltre soglia, non considerato");
    return Testo(TestoStato(t.stato));
}

} // namespace

QString TestoEuro(Centesimi c) { return Testo(TestoCentesimi(c)); }

QString DatiPaginaRicalcolo::TestoTotali() const
{
    if (!errori.isEmpty())
        return errori.front();
    const TotaliRicalcolo& t = esito.totali;
    return QStringLiteral("Addebiti indebiti %1 \u2013 effetto sul saldo %2 \u2013 prescritti %3 \u2013 "
                          "ripetibili %4 \u2013 saldo finale ricalcolato %5 (banca %6)")
        .arg(TestoEuro(t.addebitiIndebiti), TestoEuro(t.effettoSaldo), TestoEuro(t.prescritti),
             TestoEuro(t.ripetibili), TestoEuro(t.saldoFinaleRicalcolato),
             TestoEuro(t.saldoFinaleBanca));
}

DatiPaginaRicalcolo PaginaRicalcolo(const Documento& d, const VerificaMovimenti& soglia,
                                    const SerieTassoLegale& legale, const QString& testoLegale,
                                    const QString& fonteSoglie)
{
    DatiPaginaRicalcolo p;
    const ContoMovimenti& conto = d.ContoCorrente();
    p.sottotitolo = SottotitoloConto(conto.conto);
    p.fonteSoglie = fonteSoglie;
    p.erroreSoglia = Testo(soglia.errore);
    p.tassoLegale = testoLegale;

    OpzioniRicalcolo opzioni = conto.ricalcolo;
    opzioni.trimestriOltreSoglia = soglia.Oltre();
    p.opzioni = OpzioniScelte(opzioni);
    for (const TrimestreSoglia& t : soglia.trimestri)
        p.soglia.push_back({NomeTrimestre(t.trimestre), Testo(t.formula), TestoRate(t.tasso), TestoRate(t.soglia),
                            Stato(t), Testo(t.nota), t.oltre});

    p.esito = Ricalcola(conto.movimenti, conto.saldi, conto.condizioni, legale, opzioni);
    for (const std::string& e : p.esito.errori)
        p.errori << Testo(e);
    // Without knowing which quarters are above the threshold the interest
    // of none can be said due.
    if (!soglia.errore.empty())
        p.errori << QStringLiteral("La verifica della soglia d'usura dei trimestri non è possibile: ") +
                        p.erroreSoglia;
    if (legale.Vuota() && !testoLegale.isEmpty() && !p.errori.isEmpty())
        p.errori << testoLegale;
    if (!p.errori.isEmpty()) {
        p.esito = EsitoRicalcolo{};
        for (const QString& e : std::as_const(p.errori))
            p.esito.errori.push_back(e.toStdString());
        // The headings stay, so the window shows where the results would be.
        p.trimestri = GrigliaRisultati({});
        p.anni = GrigliaRisultati({});
        return p;
    }
    for (const std::string& a : p.esito.avvertenze)
        p.avvertenze << Testo(a);
    if (!p.sottotitolo.isEmpty())
        p.sottotitolo += QStringLiteral(" \u2013 ");
    p.sottotitolo += QStringLiteral("dal %1 al %2")
                         .arg(Testo(calendario::Testo(p.esito.inizio)), Testo(calendario::Testo(p.esito.fine)));

    p.descrizioniRimesse.reserve(p.esito.rimesse.size());
    for (const Rimessa& r : p.esito.rimesse)
        p.descrizioniRimesse.push_back(Testo(conto.movimenti[r.movimento].descrizione));
    p.trimestri = GrigliaRisultati(p.esito.trimestri);
    p.anni = GrigliaRisultati(p.esito.anni);
    for (const Passaggio& t : p.esito.passaggiTotali)
        p.totali.push_back({Testo(t.voce), Testo(t.formula), Testo(t.calcolo), Testo(t.risultato)});
    return p;
}

VerificaMovimenti VerificaSoglieRicalcolo(const Documento& d)
{
    return VerificaTrimestriMovimenti(d.ContoCorrente(), d.AnnoRiferimento(), d.Usura(), SoglieInUso());
}

DatiPaginaRicalcolo PaginaRicalcolo(const Documento& d)
{
    QString fonte = TestoUltimaDataSoglie();
    if (!AvvisoSoglie().isEmpty())
        fonte += QLatin1Char('\n') + AvvisoSoglie();
    return PaginaRicalcolo(d, VerificaSoglieRicalcolo(d), TassoLegaleInUso(), TestoTassoLegale(), fonte);
}

const std::vector<QString>& IntestazioniRimesse()
{
    static const std::vector<QString> titoli = {
        QStringLiteral("Data"),        QStringLiteral("Importo"),         QStringLiteral("Saldo prima"),
        QStringLiteral("Fido"),        QStringLiteral("Solutoria"),       QStringLiteral("Ripristinatoria"),
        QStringLiteral("Addebiti indebiti pagati"), QStringLiteral("Prescritta"), QStringLiteral("Descrizione")};
    return titoli;
}

std::vector<QString> TestiRimessa(const DatiPaginaRicalcolo& d, std::size_t i)
{
    const Rimessa& r = d.esito.rimesse.at(i);
    QStringList pagati;
    for (const auto& [k, importo] : r.coperture)
        pagati << QStringLiteral("%1: %2").arg(NomePeriodo(d.esito.addebiti.at(k).trimestre), TestoEuro(importo));
    return {Testo(calendario::Testo(r.data)),
            TestoEuro(r.importo),
            TestoEuro(r.saldoPrima),
            TestoEuro(r.fido),
            TestoEuro(r.solutoria),
            TestoEuro(r.ripristinatoria),
            pagati.join(QStringLiteral("; ")),
            r.prescritta ? QStringLiteral("sì") : QStringLiteral("no"),
            i < d.descrizioniRimesse.size() ? d.descrizioniRimesse[i] : QString()};
}

Griglia GrigliaSogliaRicalcolo(const DatiPaginaRicalcolo& d)
{
    Griglia g = GrigliaElenco({{"Trimestre", 1500, Qt::AlignLeft},
                               {"Formula in vigore", 2200, Qt::AlignLeft},
                               {"T.E.G.", 950, Qt::AlignRight},
                               {"Soglia", 950, Qt::AlignRight},
                               {"Esito", 1900, Qt::AlignLeft},
                               {"Nota", 4000, Qt::AlignLeft}},
                              static_cast<int>(d.soglia.size()));
    for (std::size_t i = 0; i < d.soglia.size(); ++i) {
        const RigaSogliaRicalcolo& s = d.soglia[i];
        const int r = static_cast<int>(i) + 1;
        RigaElenco(g, r, {s.trimestre, s.formula, s.tasso, s.soglia, s.esito, s.nota});
        g.Riga(r).altezza = 285;
        if (s.oltre)
            for (int c = 0; c < g.Colonne(); ++c)
                g.Cella(r, c).grassetto = true;
    }
    return g;
}
