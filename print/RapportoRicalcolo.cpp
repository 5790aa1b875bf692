#include "RapportoRicalcolo.h"

#include "Calendario.h"

#include <algorithm>

namespace {

// Rows a page holds between the title and the page number.
constexpr int RighePagina = 44;
// A print table holds 200 rows: four whole pages.
constexpr int PaginePerRapporto = 4;

// The grid's columns as printed: where each goes (twips) and how it is
// aligned. The grid's notes are printed on a line of their own.
struct ColonnaRisultati {
    int x, allineamento;
    const char* riga1;
    const char* riga2;
};
constexpr ColonnaRisultati Colonne[] = {
    {500, 0, "", "Periodo"},           {1550, 0, "", ""},
    {3150, 2, "Interessi", "debitori"}, {4150, 2, "Interessi", "creditori"},
    {5000, 2, "", "CMS"},              {6000, 2, "Commissioni", "e spese"},
    {6950, 2, "Effetto", "valuta"},    {7950, 2, "Costo", "netto"},
    {9250, 2, "Saldo a fine", "periodo"}, {10300, 2, "Interessi", "a parte"}};
constexpr int ColonneStampate = static_cast<int>(std::size(Colonne));
constexpr int ColonnaNote = 10;  // of the grid

std::vector<ColonnaStampa> ColonneRisultati()
{
    std::vector<ColonnaStampa> c;
    for (int i = 0; i < ColonneStampate; ++i)
        c.push_back({i + 1, Colonne[i].x, Colonne[i].allineamento});
    return c;
}

// Writes rows into a print table from row `n` on, as long as they fit.
class Righe {
public:
    explicit Righe(TabellaStampa& t, int limite = TabellaStampa::MaxRighe) : t_(t), limite_(limite) {}
    int Usate() const { return n_; }
    bool Piena(int servono = 1) const { return n_ + servono > limite_; }
    void Vuota() { ++n_; }
    void Scrivi(const std::vector<QString>& celle, bool grassetto = false)
    {
        if (Piena())
            return;
        ++n_;
        for (std::size_t c = 0; c < celle.size(); ++c)
            t_.setTesto(n_, static_cast<int>(c) + 1, celle[c]);
        t_.setRigaGrassetto(n_, grassetto);
    }

private:
    TabellaStampa& t_;
    int limite_;
    int n_ = 0;
};

void Intestazioni(Righe& righe)
{
    std::vector<QString> a, b;
    for (const ColonnaRisultati& c : Colonne) {
        a.push_back(QString::fromUtf8(c.riga1));
        b.push_back(QString::fromUtf8(c.riga2));
    }
    righe.Scrivi(a, true);
    righe.Scrivi(b, true);
}

// The rows of a grid's period (its three rows and the note), as printed.
std::vector<std::vector<QString>> RigheDelPeriodo(const Griglia& g, int prima, QString& nota)
{
    std::vector<std::vector<QString>> r;
    nota.clear();
    for (int k = 0; k < 3 && prima + k < g.Righe(); ++k) {
        std::vector<QString> celle;
        for (int c = 0; c < ColonneStampate; ++c)
            celle.push_back(g.Testo(prima + k, c));
        r.push_back(std::move(celle));
        if (k == 2)
            nota = g.Testo(prima + k, ColonnaNote);
    }
    return r;
}

// The periods of a grid, three rows each, a note line under those that have
// one; false when not all fitted.
bool ScriviPeriodi(Righe& righe, const Griglia& g)
{
    for (int r = 1; r + 2 < g.Righe(); r += 3) {
        QString nota;
        const auto periodo = RigheDelPeriodo(g, r, nota);
        if (righe.Piena(3 + (nota.isEmpty() ? 0 : 1)))
            return false;
        for (std::size_t k = 0; k < periodo.size(); ++k)
            righe.Scrivi(periodo[k], k == 2);
        if (!nota.isEmpty())
            righe.Scrivi({QString(), nota});
    }
    return true;
}

QString Scelta(const VoceOpzione& v)
{
    return QString::fromStdString(v.titolo) + QStringLiteral(": ") + QString::fromStdString(v.scelta) +
           (v.predefinita ? QString() : QStringLiteral(" (scelta non predefinita)"));
}

// The options only, not the fixed rules (those the report gives).
std::vector<const VoceOpzione*> SoloOpzioni(const DatiPaginaRicalcolo& d)
{
    std::vector<const VoceOpzione*> r;
    const std::size_t n = OpzioniRicalcoloDisponibili().size() + 3;  // and the quarters, the act, the closing
    for (std::size_t i = 0; i < d.opzioni.size() && i < n; ++i)
        r.push_back(&d.opzioni[i]);
    return r;
}

// ---- The copy ---------------------------------------------------------------

void RigaCopia(QString& testo, const std::vector<QString>& celle)
{
    for (std::size_t c = 0; c < celle.size(); ++c) {
        const QString& cella = celle[c];
        if (cella.startsWith(QLatin1Char('-')) || cella.startsWith(QLatin1Char('=')))
            testo += QLatin1Char('\'');
        testo += cella;
        testo += QLatin1Char(' ');
        testo += c + 1 < celle.size() ? QStringLiteral("\t") : QStringLiteral("\r\n");
    }
}

void CopiaGriglia(QString& testo, const Griglia& g)
{
    for (int r = 0; r < g.Righe(); ++r) {
        std::vector<QString> celle;
        for (int c = 0; c < g.Colonne(); ++c)
            celle.push_back(g.Testo(r, c));
        RigaCopia(testo, celle);
    }
}

QString Testo(const std::string& s) { return QString::fromStdString(s); }

} // namespace

Rapporto RapportoRicalcolo(const DatiPaginaRicalcolo& d)
{
    Rapporto r;
    r.nome = QStringLiteral("StampaRicalcolo");
    r.titolo = d.titolo;
    r.sottotitolo = d.sottotitolo;
    r.colonne = ColonneRisultati();
    Righe righe(r.tabella, TabellaStampa::MaxRighe - 1);
    righe.Scrivi({QStringLiteral("Opzioni")}, true);
    for (const VoceOpzione* v : SoloOpzioni(d))
        righe.Scrivi({Scelta(*v)});
    bool intera = true;
    if (!d.Valido()) {
        righe.Vuota();
        righe.Scrivi({QStringLiteral("Ricalcolo non eseguito")}, true);
        for (const QString& e : d.errori)
            righe.Scrivi({e});
    } else {
        righe.Vuota();
        righe.Scrivi({QStringLiteral("Totali")}, true);
        for (const TotaleRicalcolo& t : d.totali) {
            std::vector<QString> celle(ColonneStampate);
            celle[0] = t.voce;
            celle[8] = t.risultato;
            righe.Scrivi(celle);
        }
        for (const QString& a : d.avvertenze)
            righe.Scrivi({a});
        for (const auto& [titolo, griglia] : {std::pair{QStringLiteral("Per anno"), &d.anni},
                                              std::pair{QStringLiteral("Per trimestre"), &d.trimestri}}) {
            if (!intera || righe.Piena(6)) {
                intera = false;
                break;
            }
            righe.Vuota();
            righe.Scrivi({titolo}, true);
            Intestazioni(righe);
            intera = ScriviPeriodi(righe, *griglia);
        }
    }
    int n = righe.Usate();
    if (!intera)
        r.tabella.setTesto(++n, 1, QStringLiteral("\u2026 i periodi seguenti non entrano nella tabella: sono tutti "
                                                  "nella relazione PDF (Stampa \u203a Crea relazione PDF)."));
    r.RighePerPagina = std::min(n, RighePagina);
    r.NumeroPagine = std::max(1, (n + RighePagina - 1) / RighePagina);
    return r;
}

QString CopiaRicalcolo(const DatiPaginaRicalcolo& d)
{
    QString testo;
    RigaCopia(testo, {d.titolo, d.sottotitolo});
    for (const VoceOpzione& v : d.opzioni)
        RigaCopia(testo, {Testo(v.titolo), Testo(v.scelta), Testo(v.norma)});
    RigaCopia(testo, {QString()});
    RigaCopia(testo, {QStringLiteral("Trimestre"), QStringLiteral("Formula"), QStringLiteral("T.E.G."),
                      QStringLiteral("Soglia"), QStringLiteral("Esito"), QStringLiteral("Nota")});
    for (const RigaSogliaRicalcolo& s : d.soglia)
        RigaCopia(testo, {s.trimestre, s.formula, s.tasso, s.soglia, s.esito, s.nota});
    RigaCopia(testo, {QString()});
    if (!d.Valido()) {
        for (const QString& e : d.errori)
            RigaCopia(testo, {e});
        return testo;
    }
    for (const TotaleRicalcolo& t : d.totali)
        RigaCopia(testo, {t.voce, t.risultato, t.formula, t.calcolo});
    RigaCopia(testo, {QString()});
    CopiaGriglia(testo, d.anni);
    RigaCopia(testo, {QString()});
    CopiaGriglia(testo, d.trimestri);
    RigaCopia(testo, {QString()});
    RigaCopia(testo, IntestazioniRimesse());
    for (std::size_t i = 0; i < d.esito.rimesse.size(); ++i)
        RigaCopia(testo, TestiRimessa(d, i));
    // The two balances day by day, where either changes.
    RigaCopia(testo, {QString()});
    RigaCopia(testo, {QStringLiteral("Giorno"), QStringLiteral("Saldo della banca"),
                      QStringLiteral("Saldo ricalcolato"), QStringLiteral("Differenza")});
    for (const PuntoSaldi& p : d.esito.saldi)
        RigaCopia(testo, {Testo(calendario::Testo(p.giorno)), TestoEuro(p.banca), TestoEuro(p.ricalcolato),
                          TestoEuro(p.ricalcolato - p.banca)});
    return testo;
}

SezionePassaggi PassaggiOpzioniRicalcolo(const DatiPaginaRicalcolo& d)
{
    SezionePassaggi s;
    s.operazione = d.sottotitolo;
    for (const VoceOpzione& v : d.opzioni) {
        BloccoPassaggi b;
        b.push_back({Scelta(v), 0, true});
        if (!v.norma.empty())
            b.push_back({Testo(v.norma), 1, false});
        s.blocchi.push_back(std::move(b));
    }
    BloccoPassaggi soglia;
    soglia.push_back({QStringLiteral("Verifica della soglia d'usura dei trimestri coperti dai movimenti"), 0, true});
    soglia.push_back({QStringLiteral("Ogni trimestre con le cifre dello scalare (capitolo «Dai movimenti al "
                                     "trimestre»), la formula in vigore nel periodo e la soglia della categoria "
                                     "scelta; sono considerati oltre la soglia solo i trimestri coperti dagli estratti."),
                      1, false});
    for (const RigaSogliaRicalcolo& r : d.soglia) {
        QString riga = r.trimestre + QStringLiteral(": ") + r.formula;
        if (!r.tasso.isEmpty())
            riga += QStringLiteral(", T.E.G. ") + r.tasso;
        if (!r.soglia.isEmpty())
            riga += QStringLiteral(", soglia ") + r.soglia;
        riga += QStringLiteral(" \u2013 ") + r.esito;
        soglia.push_back({riga, 1, r.oltre});
        if (!r.nota.isEmpty())
            soglia.push_back({r.nota, 2, false});
    }
    if (d.soglia.empty())
        soglia.push_back({QStringLiteral("Nessun trimestre verificato."), 1, false});
    for (const QString& t : {d.erroreSoglia, d.fonteSoglie, d.tassoLegale})
        if (!t.isEmpty())
            soglia.push_back({t, 1, false});
    s.blocchi.push_back(std::move(soglia));
    if (!d.Valido()) {
        BloccoPassaggi errori;
        errori.push_back({QStringLiteral("Ricalcolo non eseguito: i dati non lo consentono"), 0, true});
        for (const QString& e : d.errori)
            errori.push_back({e, 1, false});
        s.blocchi.push_back(std::move(errori));
    }
    return s;
}

SezionePassaggi PassaggiTrimestriRicalcolo(const DatiPaginaRicalcolo& d)
{
    SezionePassaggi s;
    s.operazione = d.sottotitolo;
    static const char* const romani[] = {"", "I", "II", "III", "IV"};
    for (const RigaRicalcolo& r : d.esito.trimestri) {
        BloccoPassaggi b;
        b.push_back({QStringLiteral("%1 trimestre %2 (dal %3 al %4)")
                         .arg(QLatin1String(romani[r.periodo.numero]))
                         .arg(r.periodo.anno)
                         .arg(Testo(calendario::Testo(r.inizio)), Testo(calendario::Testo(r.fine))),
                     0, true});
        for (const Passaggio& p : r.passaggi) {
            b.push_back({Testo(p.voce) + (p.formula.empty() ? QString() : QStringLiteral(" = ") + Testo(p.formula)), 1,
                         false});
            QString calcolo = Testo(p.calcolo);
            if (!p.risultato.empty())
                calcolo += QStringLiteral(" = ") + Testo(p.risultato);
            b.push_back({calcolo, 2, false});
        }
        b.push_back({QStringLiteral("Saldo a fine trimestre: banca %1, ricalcolato %2 (di cui interessi a parte %3)")
                         .arg(TestoEuro(r.saldoBanca), TestoEuro(r.saldoRicalcolato),
                              TestoEuro(r.interessiAParte)),
                     1, false});
        s.blocchi.push_back(std::move(b));
    }
    return s;
}

SezionePassaggi PassaggiRimesseRicalcolo(const DatiPaginaRicalcolo& d)
{
    SezionePassaggi s;
    s.operazione = d.sottotitolo;
    const EsitoRicalcolo& e = d.esito;
    std::size_t solutorie = 0, paganti = 0;
    for (const Rimessa& r : e.rimesse) {
        solutorie += r.solutoria > 0;
        paganti += !r.coperture.empty();
    }
    BloccoPassaggi intro;
    intro.push_back({QStringLiteral("Rimesse e addebiti indebiti"), 0, true});
    intro.push_back({QStringLiteral("Solutoria = min(importo; max(0; \u2212saldo prima \u2212 fido)), il resto "
                                    "ripristinatoria (Cass. S.U. 24418/2010); ogni parte solutoria paga per primi gli "
                                    "addebiti indebiti anteriori non ancora pagati, dal più vecchio."),
                     1, false});
    intro.push_back({QStringLiteral("Accrediti nel conto ricalcolato: %1; con parte solutoria: %2; che hanno pagato "
                                    "addebiti indebiti, elencati qui sotto: %3.")
                         .arg(e.rimesse.size())
                         .arg(solutorie)
                         .arg(paganti),
                     1, false});
    s.blocchi.push_back(std::move(intro));

    BloccoPassaggi addebiti;
    addebiti.push_back({QStringLiteral("Addebiti indebiti per trimestre"), 0, true});
    static const char* const romani[] = {"", "I", "II", "III", "IV"};
    for (const AddebitoIndebito& a : e.addebiti)
        addebiti.push_back({QStringLiteral("%1 trimestre %2, addebitato il %3: %4; pagato da rimesse %5, di cui "
                                           "prescritto %6")
                                .arg(QLatin1String(romani[a.trimestre.numero]))
                                .arg(a.trimestre.anno)
                                .arg(Testo(calendario::Testo(a.data)), TestoEuro(a.importo),
                                     TestoEuro(a.coperto), TestoEuro(a.prescritto)),
                            1, false});
    if (e.addebiti.empty())
        addebiti.push_back({QStringLiteral("Nessun addebito indebito."), 1, false});
    s.blocchi.push_back(std::move(addebiti));

    const std::vector<QString>& titoli = IntestazioniRimesse();
    for (std::size_t i = 0; i < e.rimesse.size(); ++i) {
        if (e.rimesse[i].coperture.empty())
            continue;
        const std::vector<QString> t = TestiRimessa(d, i);
        BloccoPassaggi b;
        b.push_back({QStringLiteral("%1 \u2013 %2 %3 \u2013 %4").arg(t[0], titoli[1].toLower(), t[1], t[8]), 1, true});
        b.push_back({QStringLiteral("saldo prima %1, fido %2: solutoria %3, ripristinatoria %4")
                         .arg(t[2], t[3], t[4], t[5]),
                     2, false});
        b.push_back({QStringLiteral("addebiti indebiti pagati: %1 \u2013 %2")
                         .arg(t[6], e.rimesse[i].prescritta ? QStringLiteral("PRESCRITTA") : QStringLiteral("non prescritta")),
                     2, false});
        s.blocchi.push_back(std::move(b));
    }

    BloccoPassaggi totali;
    totali.push_back({QStringLiteral("Totali"), 0, true});
    for (const TotaleRicalcolo& t : d.totali) {
        totali.push_back({t.voce + QStringLiteral(" = ") + t.formula, 1, false});
        totali.push_back({t.calcolo + QStringLiteral(" = ") + t.risultato, 2, true});
    }
    for (const QString& a : d.avvertenze)
        totali.push_back({a, 1, false});
    s.blocchi.push_back(std::move(totali));
    return s;
}

std::vector<Rapporto> RapportiRisultatiRicalcolo(const Griglia& g, const QString& titolo, const QString& sottotitolo)
{
    std::vector<Rapporto> rapporti;
    int n = 0;  // rows used in the report being filled, whole pages before the last
    const auto scrivi = [&](const std::vector<QString>& celle, bool grassetto) {
        ++n;
        TabellaStampa& t = rapporti.back().tabella;
        for (std::size_t c = 0; c < celle.size(); ++c)
            t.setTesto(n, static_cast<int>(c) + 1, celle[c]);
        t.setRigaGrassetto(n, grassetto);
    };
    const auto chiudi = [&] {
        Rapporto& r = rapporti.back();
        r.NumeroPagine = std::max(1, (n + RighePagina - 1) / RighePagina);
        r.RighePerPagina = r.NumeroPagine > 1 ? RighePagina : n;
    };
    // A new page: in the same report while it has room, with the headings.
    const auto nuovaPagina = [&] {
        if (!rapporti.empty() && n > 0)
            n = (n + RighePagina - 1) / RighePagina * RighePagina;
        if (rapporti.empty() || n >= RighePagina * PaginePerRapporto) {
            if (!rapporti.empty())
                chiudi();
            Rapporto r;
            r.nome = QStringLiteral("StampaRicalcolo");
            r.titolo = titolo;
            r.sottotitolo = sottotitolo;
            r.colonne = ColonneRisultati();
            rapporti.push_back(std::move(r));
            n = 0;
        }
        std::vector<QString> a, b;
        for (const ColonnaRisultati& c : Colonne) {
            a.push_back(QString::fromUtf8(c.riga1));
            b.push_back(QString::fromUtf8(c.riga2));
        }
        scrivi(a, true);
        scrivi(b, true);
    };
    nuovaPagina();
    for (int r = 1; r + 2 < g.Righe(); r += 3) {
        QString nota;
        const auto periodo = RigheDelPeriodo(g, r, nota);
        const int servono = 3 + (nota.isEmpty() ? 0 : 1);
        if (n % RighePagina + servono > RighePagina || (n % RighePagina == 0 && n > 0))
            nuovaPagina();
        for (std::size_t k = 0; k < periodo.size(); ++k)
            scrivi(periodo[k], k == 2);
        if (!nota.isEmpty())
            scrivi({QString(), nota}, false);
    }
    chiudi();
    return rapporti;
}
