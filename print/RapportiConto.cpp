#include "RapportiConto.h"

#include "Calendario.h"
#include "Dichiarazioni.h"
#include "Pagine.h"
#include "Scalare.h"
#include "modCopia.h"

#include <algorithm>
#include <exception>

namespace {

// A listing on paper: lines of cells (columns from 1), each under the
// heading set when it was added, which is printed again at the top of every
// page; as many pages as the lines need.
class Elenco {
public:
    Elenco(QString nome, QString titolo, QString sottotitolo, std::vector<ColonnaStampa> colonne)
    {
        r_.nome = std::move(nome);
        r_.titolo = std::move(titolo);
        r_.sottotitolo = std::move(sottotitolo);
        r_.colonne = std::move(colonne);
    }
    // The heading of the lines added from now on; empty: none.
    void Intestazione(QStringList testi)
    {
        intestazioni_.push_back(std::move(testi));
        corrente_ = intestazioni_.back().isEmpty() ? -1 : static_cast<int>(intestazioni_.size()) - 1;
    }
    void Riga(QStringList testi, bool grassetto = false)
    {
        righe_.push_back({std::move(testi), grassetto, false, corrente_});
    }
    // One text in one column.
    void Testo(int colonna, const QString& testo, bool grassetto = false)
    {
        QStringList t;
        for (int c = 1; c < colonna; ++c)
            t << QString();
        Riga(t << testo, grassetto);
    }
    void Vuota() { Riga({}); }
    // What follows starts on a new page.
    void NuovaPagina() { righe_.push_back({{}, false, true, -1}); }

    Rapporto Fine()
    {
        struct Posto {
            int riga;
            const QStringList* testi;
            bool grassetto;
        };
        std::vector<Posto> posti;
        int riga = 0, pagine = 1, suPagina = 0, sopra = -1;  // sopra: the heading in force on the page
        const auto nuovaPagina = [&] {
            riga = pagine * RighePaginaElenco;
            ++pagine;
            suPagina = 0;
            sopra = -1;
        };
        for (const Linea& l : righe_) {
            if (l.salto) {
                if (suPagina > 0)
                    nuovaPagina();
                continue;
            }
            bool intestazione = l.intestazione >= 0 && l.intestazione != sopra;
            if (suPagina + (intestazione ? 2 : 1) > RighePaginaElenco) {
                nuovaPagina();
                intestazione = l.intestazione >= 0;
            }
            if (intestazione) {
                posti.push_back({++riga, &intestazioni_[static_cast<std::size_t>(l.intestazione)], true});
                ++suPagina;
                sopra = l.intestazione;
            }
            posti.push_back({++riga, &l.testi, l.grassetto});
            ++suPagina;
        }
        r_.tabella = TabellaStampa(riga);
        for (const Posto& p : posti) {
            for (int c = 0; c < p.testi->size(); ++c)
                r_.tabella.setTesto(p.riga, c + 1, (*p.testi)[c]);
            r_.tabella.setRigaGrassetto(p.riga, p.grassetto);
        }
        r_.RighePerPagina = pagine > 1 ? RighePaginaElenco : riga;
        r_.NumeroPagine = pagine;
        return std::move(r_);
    }

private:
    struct Linea {
        QStringList testi;
        bool grassetto = false;
        bool salto = false;
        int intestazione = -1;
    };
    Rapporto r_;
    std::vector<QStringList> intestazioni_;
    int corrente_ = -1;
    std::vector<Linea> righe_;
};

// A text cut to `massimo` characters, "…" last, so that it keeps to its column.
QString Corto(const QString& s, int massimo)
{
    const QString t = s.simplified();
    return t.size() <= massimo ? t : t.left(massimo - 1).trimmed() + QStringLiteral("\u2026");
}

// The copy of rows of any length and width: tab-separated, as every table.
QString Copia(const std::vector<QStringList>& righe)
{
    int colonne = 1;
    for (const QStringList& r : righe)
        colonne = std::max(colonne, static_cast<int>(r.size()));
    colonne = std::min(colonne, TabellaStampa::MaxColonne);
    TabellaStampa t(static_cast<int>(righe.size()));
    for (std::size_t i = 0; i < righe.size(); ++i)
        for (int c = 0; c < righe[i].size() && c < colonne; ++c)
            t.setTesto(static_cast<int>(i) + 1, c + 1, righe[i][c]);
    return TestoCopia(t, static_cast<int>(righe.size()), colonne, true);
}

QStringList TestiRiga(const Griglia& g, int r)
{
    QStringList t;
    for (int c = 0; c < g.Colonne(); ++c)
        t << g.Testo(r, c);
    return t;
}

} // namespace

// ---------------------------------------------------------------- movements

Rapporto RapportoMovimenti(const DatiPaginaMovimenti& d)
{
    using C = ColonnaMovimenti;
    const auto i = [](C c) { return static_cast<std::size_t>(c); };
    Elenco e(QStringLiteral("StampaMovimenti"), d.titolo, d.sottotitolo,
             {{1, 500, 0}, {2, 1550, 0}, {3, 3900, 2}, {4, 4050, 0}, {5, 4550, 0}, {6, 8350, 0}, {7, 11100, 2}});
    e.Testo(1, d.filtro, true);
    e.Intestazione({"Data cont.", "Valuta", "Importo", "Caus.", "Descrizione", "Classe", "Saldo per valuta"});
    for (const auto& r : d.righe) {
        e.Riga({r[i(C::DataContabile)], r[i(C::DataValuta)], r[i(C::Importo)], r[i(C::Causale)],
                Corto(r[i(C::Descrizione)], 52), r[i(C::Classe)] + (r[i(C::Regola)] == QLatin1String("a mano")
                                                                       ? QStringLiteral(" (a mano)")
                                                                       : QString()),
                r[i(C::Saldo)]});
        if (!r[i(C::Estratto)].isEmpty())
            e.Testo(5, QStringLiteral("Saldo finale dichiarato ") + r[i(C::Estratto)], true);
    }
    e.Intestazione({});
    e.Vuota();
    e.Testo(1, d.totali, true);
    for (const QString& s : d.estratti)
        e.Testo(1, s);
    if (!d.errore.isEmpty())
        e.Testo(1, QStringLiteral("Attenzione: ") + d.errore);
    return e.Fine();
}

QString CopiaMovimenti(const DatiPaginaMovimenti& d)
{
    std::vector<QStringList> righe;
    righe.push_back({d.titolo});
    if (!d.sottotitolo.isEmpty())
        righe.push_back({d.sottotitolo});
    righe.push_back({d.filtro});
    righe.push_back(IntestazioniMovimenti());
    for (const auto& r : d.righe)
        righe.push_back(QStringList(r.begin(), r.end()));
    righe.emplace_back();
    righe.push_back({d.totali});
    for (const QString& s : d.estratti)
        righe.push_back({s});
    return Copia(righe);
}

// ---------------------------------------------------------------- conditions

Rapporto RapportoCondizioni(const DatiPaginaCondizioni& d)
{
    Elenco e(QStringLiteral("StampaCondizioni"), d.titolo, d.sottotitolo,
             {{1, 700, 0}, {2, 5500, 2}, {3, 6200, 0}, {4, 11000, 2}});
    for (const auto& [etichetta, valore] : d.conto)
        if (!valore.isEmpty())
            e.Riga({etichetta, QString(), valore});
    const QStringList& nomi = IntestazioniCondizioni();
    for (const QStringList& p : d.periodi) {
        e.Vuota();
        e.Testo(1, QStringLiteral("Condizioni dal %1").arg(p.value(0)), true);
        // Two conditions a line, label and value.
        for (int c = 1; c < p.size(); c += 2) {
            QStringList riga = {nomi.value(c), p.value(c)};
            if (c + 1 < p.size())
                riga << nomi.value(c + 1) << (p.value(c + 1).isEmpty() ? QStringLiteral("no") : p.value(c + 1));
            if (riga[1].isEmpty())
                riga[1] = QStringLiteral("no");
            e.Riga(riga);
        }
    }
    if (d.periodi.empty()) {
        e.Vuota();
        e.Testo(1, QStringLiteral("Nessun periodo di condizioni indicato."));
    }
    if (!d.errori.isEmpty()) {
        e.Vuota();
        e.Testo(1, QStringLiteral("Condizioni da correggere:"), true);
        for (const QString& t : d.errori)
            e.Testo(1, t);
    }
    return e.Fine();
}

QString CopiaCondizioni(const DatiPaginaCondizioni& d)
{
    std::vector<QStringList> righe;
    righe.push_back({d.titolo});
    if (!d.sottotitolo.isEmpty())
        righe.push_back({d.sottotitolo});
    for (const auto& [etichetta, valore] : d.conto)
        righe.push_back({etichetta, valore});
    righe.emplace_back();
    righe.push_back(IntestazioniCondizioni());
    for (const QStringList& p : d.periodi)
        righe.push_back(p);
    for (const QString& t : d.errori)
        righe.push_back({t});
    return Copia(righe);
}

// ---------------------------------------------------------------- scale

Rapporto RapportoScalare(const DatiPaginaScalare& d)
{
    // The figures take the first column for their names and the last four
    // for the quarters; the lines of the scale take all eight.
    Elenco e(QStringLiteral("StampaScalare"), d.titolo, d.sottotitolo,
             {{1, 500, 0}, {2, 1700, 0}, {3, 3200, 2}, {4, 4900, 2}, {5, 6350, 2}, {6, 7950, 2}, {7, 9550, 2},
              {8, 11150, 2}});
    if (!d.errore.isEmpty())
        e.Testo(1, QStringLiteral("Attenzione: ") + d.errore);
    if (d.anno == 0)
        return e.Fine();
    for (int r = 0; r < d.riepilogo.Righe(); ++r) {
        const QStringList t = TestiRiga(d.riepilogo, r);
        e.Riga({t.value(0), QString(), QString(), QString(), t.value(1), t.value(2), t.value(3), t.value(4)},
               r == 0 || d.riepilogo.Cella(r, 0).grassetto);
    }
    if (!d.nota.isEmpty()) {
        e.Vuota();
        e.Testo(1, d.nota);
    }
    if (d.righe.Righe() > 1) {
        e.NuovaPagina();
        e.Intestazione({"Trim.", "Valuta dal", "Giorni", "Saldo", "Fido", "Num. entro fido", "Num. oltre fido",
                        "Num. creditori"});
        for (int k = 1; k < d.righe.Righe(); ++k)
            e.Riga(TestiRiga(d.righe, k));
    }
    return e.Fine();
}

QString CopiaScalare(const DatiPaginaScalare& d)
{
    std::vector<QStringList> righe;
    righe.push_back({d.titolo});
    if (!d.sottotitolo.isEmpty())
        righe.push_back({d.sottotitolo});
    if (!d.errore.isEmpty())
        righe.push_back({d.errore});
    for (int r = 0; r < d.riepilogo.Righe(); ++r)
        righe.push_back(TestiRiga(d.riepilogo, r));
    if (!d.nota.isEmpty())
        righe.push_back({d.nota});
    righe.emplace_back();
    for (int r = 0; r < d.righe.Righe(); ++r)
        righe.push_back(TestiRiga(d.righe, r));
    return Copia(righe);
}

// ---------------------------------------------------------------- the expert's report

std::vector<Rapporto> PagineMovimentiRelazione(const Documento& d)
{
    const ContoMovimenti& conto = d.ContoCorrente();
    if (conto.Vuoto())
        return {};
    const int anno = d.AnnoRiferimento();
    Scalare s;
    QString errore;
    try {
        s = CalcolaScalare(conto.movimenti, conto.saldi, conto.condizioni);
    } catch (const std::exception& e) {
        errore = QString::fromUtf8(e.what());
    }
    std::vector<const TrimestreScalare*> trimestri;
    for (const TrimestreScalare& q : s.trimestri)
        if (q.anno == anno && q.copertura != Copertura::Nessuna)
            trimestri.push_back(&q);
    if (trimestri.empty() && errore.isEmpty())
        return {};

    QString sottotitolo = QStringLiteral("Scalare per valuta, anno %1").arg(anno);
    if (const QString c = TestoConto(conto.conto); !c.isEmpty())
        sottotitolo += QStringLiteral(" \u2013 ") + c;
    Elenco e(QStringLiteral("RelazioneMovimenti"), QStringLiteral("Dai movimenti ai trimestri"), sottotitolo,
             {{1, 500, 0}, {2, 3500, 0}, {3, 11100, 2}});
    if (!errore.isEmpty()) {
        e.Testo(1, QStringLiteral("Lo scalare non si può calcolare: ") + errore);
        return {e.Fine()};
    }
    e.Testo(1, QStringLiteral("S(d): saldo per valuta a fine giorno d; D(d) = \u2212S(d) se negativo, altrimenti 0 "
                              "(saldo debitore); F(d): fido in vigore il giorno d."));
    e.Testo(1, s.saldoPartenzaDichiarato
                   ? QStringLiteral("Saldo di partenza %1: saldo iniziale del primo estratto conto, meno i movimenti "
                                    "registrati prima della sua data.")
                         .arg(TestoCentesimiQt(s.saldoPartenza))
                   : QStringLiteral("Nessun estratto conto dichiara un saldo iniziale: lo scalare parte da zero."));
    const OriginiTrimestri& origini = conto.origini;
    for (const TrimestreScalare* q : trimestri) {
        const auto euro = [](Centesimi c) { return TestoCentesimiQt(c); };
        e.Vuota();
        e.Testo(1,
                QStringLiteral("%1: dal %2 al %3, copertura %4")
                    .arg(TitoloTrimestre(q->trimestre, q->anno), TestoGiornoQt(q->inizio), TestoGiornoQt(q->fine),
                         TestoCopertura(q->copertura)),
                true);
        e.Riga({QStringLiteral("Giorni contati"),
                QStringLiteral("d dal %1 al %2 (%3 righe dello scalare)")
                    .arg(TestoGiornoQt(q->inizio - std::chrono::days{1}), TestoGiornoQt(q->fine - std::chrono::days{1}))
                    .arg(q->righe),
                QString::number(q->giorni)});
        e.Riga({QStringLiteral("Saldo iniziale e finale"),
                QStringLiteral("S(%1), S(%2)").arg(TestoGiornoQt(q->inizio - std::chrono::days{1}), TestoGiornoQt(q->fine)),
                euro(q->saldoIniziale) + QStringLiteral("; ") + euro(q->saldoFinale)});
        e.Riga({QStringLiteral("Numeri debitori entro il fido"), QStringLiteral("\u03a3 min(D(d), F(d))"),
                TestoNumeri(q->numeriDebitoriEntroFido)});
        e.Riga({QStringLiteral("Numeri debitori oltre il fido"), QStringLiteral("\u03a3 max(D(d) \u2212 F(d), 0)"),
                TestoNumeri(q->numeriDebitoriOltreFido)});
        e.Riga({QStringLiteral("Numeri debitori"),
                QStringLiteral("entro + oltre il fido = %1 + %2")
                    .arg(TestoNumeri(q->numeriDebitoriEntroFido), TestoNumeri(q->numeriDebitoriOltreFido)),
                TestoNumeri(q->numeriDebitori())},
               true);
        e.Riga({QStringLiteral("Numeri creditori"), QStringLiteral("\u03a3 max(S(d), 0)"), TestoNumeri(q->numeriCreditori)});
        e.Riga({QStringLiteral("Massimo scoperto"),
                q->dataMassimoScoperto ? QStringLiteral("max D(d), raggiunto il %1").arg(TestoGiornoQt(*q->dataMassimoScoperto))
                                       : QStringLiteral("max D(d): il saldo non è mai stato a debito"),
                euro(q->massimoScoperto)},
               true);
        e.Riga({QStringLiteral("Giorni a debito"), QStringLiteral("giorni d con S(d) < 0"),
                QString::number(q->giorniADebito)});
        e.Riga({QStringLiteral("Giorni valuta medi"),
                q->operazioni == 0 ? QStringLiteral("nessuna operazione ordinaria con valuta nel trimestre")
                                   : QStringLiteral("\u03a3 g / n = %1 / %2").arg(q->giorniValuta).arg(q->operazioni),
                q->operazioni == 0 ? QStringLiteral("0")
                                   : QString::number(static_cast<double>(q->giorniValuta) / q->operazioni, 'f', 2)
                                         .replace(QLatin1Char('.'), QLatin1Char(','))},
               true);
        e.Riga({QStringLiteral("Interessi addebitati"), QStringLiteral("\u03a3 movimenti \u00abinteressi debitori\u00bb"),
                euro(q->addebitato(ClasseMovimento::InteressiDebitori))},
               true);
        e.Riga({QStringLiteral("Commissioni % su scoperti"), QStringLiteral("\u03a3 movimenti \u00abCMS\u00bb"),
                euro(q->addebitato(ClasseMovimento::CMS))},
               true);
        e.Riga({QStringLiteral("Oneri e spese fisse"), QStringLiteral("\u03a3 movimenti \u00abcommissioni\u00bb"),
                euro(q->addebitato(ClasseMovimento::Commissioni))},
               true);
        e.Riga({QStringLiteral("Fido accordato"),
                q->condizioniInVigore ? QStringLiteral("F(%1), dalle condizioni del conto%2")
                                            .arg(TestoGiornoQt(q->fine),
                                                 q->fidoVariato ? QStringLiteral(" (variato nel trimestre)") : QString())
                                      : QStringLiteral("nessuna condizione in vigore il %1").arg(TestoGiornoQt(q->fine)),
                euro(q->fidoFine)},
               true);
        // Whether the input window holds these figures.
        QString dati;
        if (origini.anno == anno) {
            const OrigineTrimestre& o = origini.trimestri[static_cast<std::size_t>(q->trimestre - 1)];
            const auto dalScalare = std::count_if(o.fonti.begin(), o.fonti.end(),
                                                  [](FonteFigura f) { return f != FonteFigura::Nessuna; });
            dati = !o.riempito        ? QStringLiteral("non riempiti dai movimenti (trimestre coperto solo in parte)")
                   : dalScalare == 8 ? QStringLiteral("tutte le cifre sono quelle dello scalare")
                                      : QStringLiteral("%1 cifre su 8 dallo scalare, le altre inserite a mano").arg(dalScalare);
        } else {
            dati = QStringLiteral("non calcolati dai movimenti");
        }
        e.Riga({QStringLiteral("Dati di input"), dati});
    }

    // The statements of the year: opening balance + movements = closing balance.
    std::vector<ControlloSaldi> controlli;
    try {
        controlli = ControllaSaldiDichiarati(conto.movimenti, conto.saldi);
    } catch (const std::exception&) {
    }
    std::vector<const ControlloSaldi*> dellAnno;
    for (const ControlloSaldi& c : controlli) {
        const SaldiEstratto& x = conto.saldi[c.estratto];
        if (calendario::Anno(x.dataFinale) >= anno && calendario::Anno(x.dataIniziale) <= anno)
            dellAnno.push_back(&c);
    }
    if (!dellAnno.empty()) {
        Elenco t(QStringLiteral("RelazioneSaldi"), QStringLiteral("Saldi dichiarati dagli estratti conto"), sottotitolo,
                 {{1, 500, 0}, {2, 4000, 2}, {3, 4900, 2}, {4, 6500, 2}, {5, 8100, 2}, {6, 9700, 2}, {7, 9850, 0}});
        t.Intestazione({"Estratto", "Saldo iniziale", "Mov.", "Somma movimenti", "Saldo calcolato",
                        "Saldo dichiarato", "Esito"});
        for (const ControlloSaldi* c : dellAnno) {
            const SaldiEstratto& x = conto.saldi[c->estratto];
            t.Riga({QStringLiteral("dal %1 al %2").arg(TestoGiornoQt(x.dataIniziale), TestoGiornoQt(x.dataFinale)),
                    TestoCentesimiQt(x.saldoIniziale), QString::number(c->movimenti), TestoCentesimiQt(c->somma),
                    TestoCentesimiQt(c->calcolato), TestoCentesimiQt(x.saldoFinale),
                    c->Concorda() ? QStringLiteral("concorda")
                                  : QStringLiteral("diff. %1").arg(TestoCentesimiQt(c->differenza))},
                   !c->Concorda());
        }
        t.Intestazione({});
        t.Vuota();
        t.Testo(1, QStringLiteral("Saldo calcolato = saldo iniziale + somma dei movimenti registrati nel periodo "
                                  "dell'estratto; concorda quando è uguale al saldo finale dichiarato."));
        return {e.Fine(), t.Fine()};
    }
    return {e.Fine()};
}
