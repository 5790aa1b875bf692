#include "Ricalcolo.h"

#include "Calendario.h"
#include "Funzioni.h"
#include "Scalare.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <type_traits>
#include <utility>

using std::chrono::days;
using std::chrono::sys_days;

namespace {

// ---------------------------------------------------------------- dates and texts

const sys_days Luglio2000 = calendario::Giorno(2000, 7, 1);
const sys_days Gennaio2010 = calendario::Giorno(2010, 1, 1);
const sys_days Gennaio2014 = calendario::Giorno(2014, 1, 1);
const sys_days Ottobre2016 = calendario::Giorno(2016, 10, 1);

// The CMS limits of art. 2-bis D.L. 185/2008: at least this many days of
// continuous debit, at most this fraction of the credit line per quarter.
constexpr int GiorniDebitoCMS = 30;
constexpr double LimiteCMSTrimestre = 0.005;

TrimestreAnno TrimestreDi(sys_days g) { return {calendario::Anno(g), calendario::Trimestre(g)}; }

TrimestreAnno Successivo(TrimestreAnno t)
{
    return t.numero == 4 ? TrimestreAnno{t.anno + 1, 1} : TrimestreAnno{t.anno, t.numero + 1};
}

sys_days Fine(TrimestreAnno t) { return calendario::FineTrimestre(t.anno, t.numero); }

std::size_t Indice(TrimestreAnno primo, TrimestreAnno t)
{
    return static_cast<std::size_t>((t.anno - primo.anno) * 4 + t.numero - primo.numero);
}

std::string Euro(Centesimi c) { return FormatoImporto(static_cast<double>(c) / 100); }

std::string NomeTrimestre(TrimestreAnno t)
{
    static const char* const romani[] = {"", "I", "II", "III", "IV"};
    return std::string(romani[t.numero]) + " trimestre " + std::to_string(t.anno);
}

sys_days DataDi(const Movimento& m, DateRicalcolo date)
{
    return date == DateRicalcolo::Valuta ? m.dataValuta : m.dataContabile;
}

bool Pattuito(const std::optional<sys_days>& data, sys_days giorno) { return data && *data <= giorno; }

// ---------------------------------------------------------------- the account's frame

struct Contesto {
    const std::vector<Movimento>& movimenti;
    const CondizioniConto& condizioni;
    const SerieTassoLegale& legale;
    const OpzioniRicalcolo& opzioni;
    sys_days inizio{}, fine{};
    TrimestreAnno primo{};
    std::size_t trimestri = 0;
    Centesimi aperturaBanca = 0, aperturaRicalcolo = 0;
    std::vector<char> gratuito{};  // per quarter: debit interest not due
    std::vector<char> tenuto{};    // per movement: stays in the corrected account
    // The movements in day order (by the day, then as given), in a compact
    // copy the day-by-day passes run through.
    struct Voce {
        sys_days giorno;
        Centesimi importo;
        std::size_t indice;
        bool tenuto;
    };
    std::vector<Voce> perValuta{}, perContabile{};

    const CondizioniPeriodo& Condizioni(sys_days g) const { return *CondizioniDel(condizioni, g); }
    const std::vector<Voce>& Ordine(DateRicalcolo d) const
    {
        return d == DateRicalcolo::Valuta ? perValuta : perContabile;
    }
};

// ---------------------------------------------------------------- rates of a day

enum class Tipo : std::uint8_t { EntroFido, OltreFido, Creditore };

// Numeri (cent-days) summed at one rate and day count.
struct Segmento {
    Tipo tipo;
    double tasso;
    int divisore;
    const char* origine;
    std::int64_t numeri;
};

void Aggiungi(std::vector<Segmento>& segmenti, Tipo tipo, double tasso, int divisore, const char* origine,
              std::int64_t numeri)
{
    for (auto it = segmenti.rbegin(); it != segmenti.rend(); ++it)
        if (it->tipo == tipo) {
            if (it->tasso == tasso && it->divisore == divisore && it->origine == origine) {
                it->numeri += numeri;
                return;
            }
            break;
        }
    segmenti.push_back({tipo, tasso, divisore, origine, numeri});
}

struct TassiGiorno {
    double entro = 0, oltre = 0, creditore = 0;
    int divisore = 365;
    const char* origineDebito = "";
    const char* origineCredito = "";
};

const char* const OrigineGratuito = "oltre soglia: non dovuti";

// The rates of a day: the contract's where agreed in writing and not
// referred to "usi di piazza", otherwise the legal rate or the BOT rates of
// the year; debit rates 0 in a quarter above the threshold. Empty, with the
// fault in `errore`, when a substitute rate is missing.
std::optional<TassiGiorno> Tassi(const Contesto& c, const CondizioniPeriodo& p, sys_days g, bool gratuito,
                                 std::string& errore)
{
    TassiGiorno t;
    t.divisore = p.divisore == Divisore::Civile ? calendario::GiorniAnno(calendario::Anno(g)) : 360;
    if (Pattuito(p.tassiPattuiti, g) && !p.usiPiazza) {
        t = {p.tassoDebitore, p.tassoDebitoreOltreFido, p.tassoCreditore, t.divisore, "tassi pattuiti",
             "tassi pattuiti"};
    } else if (c.opzioni.tassoSostitutivo == TassoSostitutivo::Legale) {
        const std::optional<double> r = c.legale.TassoDel(g);
        if (!r) {
            errore = "Il tasso legale non è disponibile per il " + calendario::Testo(g) +
                     (c.legale.Vuota() ? std::string(": la serie è vuota.")
                                       : " (la serie va dal " + calendario::Testo(c.legale.Periodi().front().dal) +
                                             " al " + calendario::Testo(c.legale.Periodi().back().al) + ").");
            return std::nullopt;
        }
        t = {*r, *r, *r, t.divisore, "tasso legale", "tasso legale"};
    } else {
        const int anno = calendario::Anno(g);
        const auto& bot = c.opzioni.tassiBOT;
        const auto it = std::find_if(bot.begin(), bot.end(), [&](const TassiBOT& b) { return b.anno == anno; });
        if (it == bot.end()) {
            errore = "Mancano i tassi BOT dell'anno " + std::to_string(anno) + " (art. 117 c. 7 TUB), necessari dal " +
                     calendario::Testo(g) + ".";
            return std::nullopt;
        }
        t = {it->minimo, it->minimo, it->massimo, t.divisore, "BOT minimo", "BOT massimo"};
    }
    if (gratuito) {
        t.entro = t.oltre = 0;
        t.origineDebito = OrigineGratuito;
    }
    return t;
}

// ---------------------------------------------------------------- capitalisation

enum class Regime : std::uint8_t { Nessuna, Trimestrale, Annuale, Annuale2016 };

// The rule for the interest of the quarter ending on `g`.
Regime RegimeDi(const Contesto& c, sys_days g)
{
    const OpzioniRicalcolo& o = c.opzioni;
    if (g < Luglio2000)
        return o.ante2000 == CapitalizzazioneAnte2000::Annuale ? Regime::Annuale : Regime::Nessuna;
    if (g >= Ottobre2016)
        return Regime::Annuale2016;
    if (g >= Gennaio2014 && o.dal2014 == Capitalizzazione2014::Nessuna)
        return Regime::Nessuna;
    const CondizioniPeriodo& p = c.Condizioni(g);
    const bool pattuita = Pattuito(p.capitalizzazionePattuita, g) || (o.adeguamento2000 && c.inizio < Luglio2000);
    if (!pattuita)
        return Regime::Nessuna;
    return p.liquidazione == Liquidazione::Trimestrale ? Regime::Trimestrale : Regime::Annuale;
}

const char* TestoRegime(Regime r, sys_days g)
{
    switch (r) {
    case Regime::Nessuna:
        return "nessuna: interessi tenuti a parte, senza interessi";
    case Regime::Trimestrale:
        return "trimestrale reciproca pattuita";
    case Regime::Annuale:
        return g < Luglio2000 ? "annuale" : "annuale reciproca pattuita";
    case Regime::Annuale2016:
        break;
    }
    return "annuale al 31/12, esigibili dal 1° marzo, capitale solo con autorizzazione all'addebito";
}

// ---------------------------------------------------------------- the CMS

struct TracciaCMS {
    Centesimi massimoScoperto = 0, massimoOltre = 0;
    int giorniDebito = 0, massimoGiorni = 0, trimestri = 0;
};

// The CMS of the settlement period ending on `g`, with its working.
Centesimi CMSRicalcolata(const CondizioniPeriodo& p, sys_days g, bool gratuita, const TracciaCMS& t,
                         Passaggio& passo)
{
    passo.voce = "CMS";
    passo.formula = "percentuale pattuita × base";
    if (!Pattuito(p.cmsPattuita, g)) {
        passo.calcolo = "non pattuita per iscritto";
        passo.risultato = Euro(0);
        return 0;
    }
    Centesimi base = p.accordato;
    const char* nome = "fido accordato";
    if (p.baseCMS == BaseCMS::MassimoScoperto) {
        base = t.massimoScoperto;
        nome = "massimo scoperto";
    } else if (p.baseCMS == BaseCMS::OltreFido) {
        base = t.massimoOltre;
        nome = "massimo scoperto oltre il fido";
    }
    Centesimi cms = std::llround(p.percentualeCMS * static_cast<double>(base));
    passo.calcolo = FormatoTasso(p.percentualeCMS) + " × " + Euro(base) + " (" + nome + ") = " + Euro(cms);
    if (g >= Gennaio2010) {
        passo.formula += ", entro i limiti dell'art. 2-bis D.L. 185/2008";
        if (p.accordato == 0) {
            cms = 0;
            passo.calcolo += "; utilizzo senza fido: non dovuta";
        } else if (p.baseCMS != BaseCMS::Accordato && t.massimoGiorni < GiorniDebitoCMS) {
            cms = 0;
            passo.calcolo += "; saldo a debito per " + std::to_string(t.massimoGiorni) +
                             " giorni continuativi, meno di 30: non dovuta";
        } else {
            const Centesimi limite =
                std::llround(LimiteCMSTrimestre * static_cast<double>(p.accordato) * t.trimestri);
            passo.calcolo += "; limite 0,500% × " + Euro(p.accordato) + " × " + std::to_string(t.trimestri) +
                             " trimestri = " + Euro(limite);
            cms = std::min(cms, limite);
        }
    }
    if (gratuita && cms != 0) {
        cms = 0;
        passo.calcolo += "; trimestre oltre soglia: non dovuta";
    }
    passo.risultato = Euro(cms);
    return cms;
}

// ---------------------------------------------------------------- the day-by-day pass

struct TrimestreCalcolato {
    Centesimi debitori = 0, creditori = 0, cms = 0;
    std::vector<Segmento> segmenti;
    Passaggio passoCMS;
    std::string capitalizzazione;
    Centesimi capitale = 0, aParte = 0;  // at its end
};

struct Percorso {
    std::vector<TrimestreCalcolato> trimestri;
    std::vector<PuntoSaldi> saldi;
    std::vector<Rimessa> rimesse;
    std::string errore;
};

// Runs the corrected account from its first to its last day with the days
// taken by `date`. Each day: interest of the 2016 rule that falls due becomes
// capital (when authorised), the day's movements are applied (the bank's
// charges left out), then the day's numeri are counted on the balance at its
// end. At the end of each quarter its interest is rounded to the cent and
// settled under the rule of its period, the CMS charged when its settlement
// period ends. `completo` also keeps the daily series and the remittances.
Percorso Percorri(const Contesto& c, DateRicalcolo date, bool completo)
{
    Percorso r;
    r.trimestri.resize(c.trimestri);
    const std::vector<Contesto::Voce>& ordine = c.Ordine(date);
    const std::optional<sys_days> autorizzazione = c.condizioni.autorizzazioneAddebito;
    const std::optional<sys_days> chiusura = c.opzioni.chiusuraConto;

    Centesimi capitale = c.aperturaRicalcolo, banca = c.aperturaBanca;
    // Interest outside the capital: kept apart for good, waiting for its
    // settlement, and (2016 rule) counted and waiting to become capital.
    Centesimi aParte = 0, pendente = 0, pendente2016 = 0, inAttesa = 0;
    struct Attesa {
        Centesimi importo;
        sys_days esigibile;
    };
    std::vector<Attesa> attese;
    std::size_t primaAttesa = 0, prossimo = 0;
    TracciaCMS cms;
    std::vector<Segmento> segmenti;

    for (sys_days g = c.inizio; g <= c.fine; g += days{1}) {
        const TrimestreAnno trimestre = TrimestreDi(g);
        const std::size_t q = Indice(c.primo, trimestre);
        const bool gratuito = c.gratuito[q] != 0;

        while (primaAttesa < attese.size() && attese[primaAttesa].esigibile <= g && Pattuito(autorizzazione, g)) {
            capitale += attese[primaAttesa].importo;
            inAttesa -= attese[primaAttesa].importo;
            ++primaAttesa;
        }

        const CondizioniPeriodo& p = c.Condizioni(g);
        for (; prossimo < ordine.size() && ordine[prossimo].giorno == g; ++prossimo) {
            const Contesto::Voce& m = ordine[prossimo];
            banca += m.importo;
            if (!m.tenuto)
                continue;
            if (completo && m.importo > 0) {
                Rimessa rm;
                rm.data = g;
                rm.movimento = m.indice;
                rm.importo = m.importo;
                rm.saldoPrima = capitale;
                rm.fido = p.accordato;
                rm.solutoria = std::min(m.importo, std::max<Centesimi>(0, -capitale - p.accordato));
                rm.ripristinatoria = m.importo - rm.solutoria;
                r.rimesse.push_back(std::move(rm));
            }
            capitale += m.importo;
        }

        std::string errore;
        const std::optional<TassiGiorno> tassi = Tassi(c, p, g, gratuito, errore);
        if (!tassi) {
            r.errore = errore;
            return r;
        }
        if (capitale < 0) {
            const Centesimi debito = -capitale;
            const Centesimi entro = std::min(debito, p.accordato), oltre = debito - entro;
            if (entro > 0)
                Aggiungi(segmenti, Tipo::EntroFido, tassi->entro, tassi->divisore, tassi->origineDebito, entro);
            if (oltre > 0)
                Aggiungi(segmenti, Tipo::OltreFido, tassi->oltre, tassi->divisore, tassi->origineDebito, oltre);
            cms.massimoScoperto = std::max(cms.massimoScoperto, debito);
            cms.massimoOltre = std::max(cms.massimoOltre, oltre);
            cms.massimoGiorni = std::max(cms.massimoGiorni, ++cms.giorniDebito);
        } else {
            cms.giorniDebito = 0;
            if (capitale > 0)
                Aggiungi(segmenti, Tipo::Creditore, tassi->creditore, tassi->divisore, tassi->origineCredito,
                         capitale);
        }

        if (g == Fine(trimestre) || g == c.fine) {
            TrimestreCalcolato& t = r.trimestri[q];
            double debitori = 0, creditori = 0;
            for (const Segmento& s : segmenti)
                (s.tipo == Tipo::Creditore ? creditori : debitori) +=
                    static_cast<double>(s.numeri) * s.tasso / s.divisore;
            t.debitori = std::llround(debitori);
            t.creditori = std::llround(creditori);
            t.segmenti = std::move(segmenti);
            segmenti.clear();

            const bool chiuso = chiusura && g == *chiusura;
            ++cms.trimestri;
            t.passoCMS = {"CMS", "", "liquidata con il periodo che termina dopo", Euro(0)};
            if (p.liquidazione == Liquidazione::Trimestrale || trimestre.numero == 4 || g == c.fine) {
                t.cms = CMSRicalcolata(p, g, gratuito && c.opzioni.gratuitaAncheCommissioni, cms, t.passoCMS);
                capitale -= t.cms;
                cms = {0, 0, cms.giorniDebito, cms.giorniDebito, 0};
            }

            const Regime regime = RegimeDi(c, g);
            t.capitalizzazione = TestoRegime(regime, g);
            if (regime == Regime::Nessuna)
                aParte += t.creditori - t.debitori;
            else if (regime == Regime::Annuale2016) {
                pendente += t.creditori;
                pendente2016 -= t.debitori;
            } else
                pendente += t.creditori - t.debitori;
            const bool cambia = g != c.fine && RegimeDi(c, Fine(Successivo(trimestre))) != regime;
            const bool liquida = regime == Regime::Trimestrale || trimestre.numero == 4 || cambia || chiuso;
            if (regime != Regime::Nessuna && liquida) {
                capitale += pendente;
                t.capitalizzazione += "; capitalizzati al " + calendario::Testo(g) + ": " + Euro(pendente);
                pendente = 0;
                if (pendente2016 != 0) {
                    const sys_days esigibile = chiuso ? g : calendario::Giorno(trimestre.anno + 1, 3, 1);
                    t.capitalizzazione += "; interessi debitori " + Euro(-pendente2016) + " esigibili dal " +
                                          calendario::Testo(esigibile);
                    attese.push_back({pendente2016, esigibile});
                    inAttesa += pendente2016;
                    pendente2016 = 0;
                }
            }
            t.capitale = capitale;
            t.aParte = aParte + pendente + pendente2016 + inAttesa;
        }

        if (completo) {
            const Centesimi ricalcolato = capitale + aParte + pendente + pendente2016 + inAttesa;
            if (r.saldi.empty() || g == c.fine || r.saldi.back().banca != banca ||
                r.saldi.back().ricalcolato != ricalcolato)
                r.saldi.push_back({g, banca, ricalcolato});
        }
    }
    return r;
}

// The net interest (debit less credit, in cents, not rounded) the bank's own
// balance bears by quarter at the contract's rates as typed, with the days
// taken by `date`: the value-date effect of the bank is the difference of the
// two.
std::vector<double> InteressiContrattuali(const Contesto& c, DateRicalcolo date)
{
    std::vector<double> r(c.trimestri, 0.0);
    const std::vector<Contesto::Voce>& ordine = c.Ordine(date);
    Centesimi saldo = c.aperturaBanca;
    std::size_t prossimo = 0;
    for (sys_days g = c.inizio; g <= c.fine; g += days{1}) {
        for (; prossimo < ordine.size() && ordine[prossimo].giorno == g; ++prossimo)
            saldo += ordine[prossimo].importo;
        const CondizioniPeriodo& p = c.Condizioni(g);
        const double divisore = p.divisore == Divisore::Civile ? calendario::GiorniAnno(calendario::Anno(g)) : 360;
        double netto = 0;
        if (saldo < 0) {
            const Centesimi entro = std::min(-saldo, p.accordato);
            netto = (static_cast<double>(entro) * p.tassoDebitore +
                     static_cast<double>(-saldo - entro) * p.tassoDebitoreOltreFido) / divisore;
        } else {
            netto = -static_cast<double>(saldo) * p.tassoCreditore / divisore;
        }
        r[Indice(c.primo, TrimestreDi(g))] += netto;
    }
    return r;
}

// ---------------------------------------------------------------- the working

std::string Numeri(std::int64_t numeri) { return FormatoImporto(static_cast<double>(numeri) / 100); }

Passaggio PassoInteressi(const std::vector<Segmento>& segmenti, bool creditori, Centesimi risultato, bool gratuito)
{
    Passaggio p{creditori ? "Interessi creditori" : "Interessi debitori",
                creditori ? "Σ numeri creditori × tasso ÷ divisore" : "Σ numeri debitori × tasso ÷ divisore", "",
                Euro(risultato)};
    for (const Segmento& s : segmenti) {
        if ((s.tipo == Tipo::Creditore) != creditori)
            continue;
        if (!p.calcolo.empty())
            p.calcolo += " + ";
        p.calcolo += Numeri(s.numeri) + " × " + FormatoTasso(s.tasso) + " ÷ " + std::to_string(s.divisore) + " (" +
                     s.origine + (s.tipo == Tipo::OltreFido ? ", oltre il fido)" : ")");
    }
    if (p.calcolo.empty())
        p.calcolo = creditori ? "nessun saldo a credito" : "nessun saldo a debito";
    if (gratuito && !creditori)
        p.calcolo = "trimestre oltre la soglia d'usura, art. 1815 c. 2 c.c.: " + p.calcolo;
    return p;
}

std::string OrigineTassi(const std::vector<Segmento>& segmenti)
{
    std::string r;
    for (const Segmento& s : segmenti) {
        const std::string o = s.origine;
        if (r.find(o) == std::string::npos)
            r += (r.empty() ? "" : ", ") + o;
    }
    return r;
}

std::string Costi(const OneriPeriodo& o)
{
    return "(" + Euro(o.interessiDebitori) + " + " + Euro(o.cms) + " + " + Euro(o.commissioni) + " − " +
           Euro(o.interessiCreditori) + ")";
}

} // namespace

// ---------------------------------------------------------------- options

const std::vector<DescrizioneOpzione>& OpzioniRicalcoloDisponibili()
{
    static const std::vector<DescrizioneOpzione> opzioni = {
        {"saldoIniziale", "Saldo di partenza", {"saldo iniziale del primo estratto", "saldo zero"}, 0,
         "Art. 2697 c.c. (onere della prova): senza i primi estratti conto il ricalcolo parte da zero."},
        {"tassoSostitutivo",
         "Tassi non pattuiti per iscritto o rinviati agli usi di piazza",
         {"tasso legale (art. 1284 c.c.)", "tassi BOT (art. 117 c. 7 TUB)"},
         0,
         "Art. 1284 c. 3 c.c.: gli interessi oltre la misura legale vanno determinati per iscritto; art. 117 c. 4, "
         "6 e 7 TUB: nulli i rinvii agli usi, sostituiti dal tasso nominale minimo (a debito) e massimo (a credito) "
         "dei BOT annuali emessi nei dodici mesi precedenti."},
        {"gratuita",
         "Trimestri oltre la soglia d'usura",
         {"solo il trimestre oltre soglia", "ogni trimestre dal primo oltre soglia"},
         0,
         "Art. 1815 c. 2 c.c. e L. 108/1996: se sono convenuti interessi usurari non sono dovuti interessi."},
        {"gratuitaAncheCommissioni", "Nei trimestri senza interessi anche CMS e commissioni", {"no", "sì"}, 0,
         "Art. 644 c. 4 c.p.: il tasso usurario comprende commissioni, remunerazioni e spese collegate al credito."},
        {"ante2000", "Capitalizzazione fino al 30/06/2000", {"nessuna (interessi a parte)", "annuale"}, 0,
         "Art. 1283 c.c.; Cass. S.U. 21095/2004: nulla la capitalizzazione trimestrale; Cass. S.U. 24418/2010 e "
         "Cass. 15135/2014: nemmeno quella annuale, gli interessi si calcolano senza capitalizzazione."},
        {"adeguamento2000",
         "Adeguamento della banca del 2000 per comunicazione",
         {"non vale come pattuizione", "vale come pattuizione"},
         0,
         "Delibera CICR 9/2/2000, art. 7: contratti in corso adeguati entro il 30/06/2000 con pubblicazione in "
         "Gazzetta Ufficiale; la giurisprudenza è divisa."},
        {"dal2014", "Capitalizzazione dal 01/01/2014 al 30/09/2016", {"nessuna", "come pattuita"}, 0,
         "Art. 120 c. 2 TUB come sostituito dalla L. 147/2013 (divieto di anatocismo), attuato solo dalla delibera "
         "CICR 343/2016; la giurisprudenza è divisa."},
        {"date", "Date dei movimenti", {"valute della banca", "data contabile per ogni movimento"}, 0,
         "Valute applicate dalla banca o data dell'operazione; l'effetto delle valute è indicato a parte."},
    };
    return opzioni;
}

namespace {

// The member each option's key stands for, as the number of its choice.
template <typename Azione>
void PerChiave(const std::string& chiave, Azione&& azione, OpzioniRicalcolo& o)
{
    if (chiave == "saldoIniziale")
        azione(o.saldoIniziale);
    else if (chiave == "tassoSostitutivo")
        azione(o.tassoSostitutivo);
    else if (chiave == "gratuita")
        azione(o.gratuita);
    else if (chiave == "gratuitaAncheCommissioni")
        azione(o.gratuitaAncheCommissioni);
    else if (chiave == "ante2000")
        azione(o.ante2000);
    else if (chiave == "adeguamento2000")
        azione(o.adeguamento2000);
    else if (chiave == "dal2014")
        azione(o.dal2014);
    else if (chiave == "date")
        azione(o.date);
    else
        throw std::out_of_range("Opzione del ricalcolo sconosciuta: " + chiave);
}

} // namespace

std::size_t SceltaOpzione(const OpzioniRicalcolo& opzioni, const std::string& chiave)
{
    std::size_t scelta = 0;
    OpzioniRicalcolo copia = opzioni;
    PerChiave(chiave, [&scelta](auto& membro) { scelta = static_cast<std::size_t>(membro); }, copia);
    return scelta;
}

void ScegliOpzione(OpzioniRicalcolo& opzioni, const std::string& chiave, std::size_t scelta)
{
    if (scelta > 1)
        throw std::out_of_range("Scelta dell'opzione " + chiave + " fuori dall'intervallo");
    PerChiave(chiave, [scelta](auto& membro) { membro = static_cast<std::remove_reference_t<decltype(membro)>>(scelta); },
              opzioni);
}

std::vector<VoceOpzione> OpzioniScelte(const OpzioniRicalcolo& o)
{
    std::vector<VoceOpzione> r;
    for (const DescrizioneOpzione& d : OpzioniRicalcoloDisponibili()) {
        const std::size_t scelta = SceltaOpzione(o, d.chiave);
        r.push_back({d.titolo, d.scelte[scelta], d.norma, scelta == d.predefinita});
    }

    std::string soglia;
    for (const TrimestreAnno& t : o.trimestriOltreSoglia)
        soglia += (soglia.empty() ? "" : ", ") + NomeTrimestre(t);
    r.push_back({"Trimestri con T.E.G. oltre la soglia", soglia.empty() ? "nessuno" : soglia,
                 "Verifica dell'usura trimestre per trimestre (L. 108/1996).", true});
    r.push_back({"Atto interruttivo della prescrizione",
                 o.attoInterruttivo ? calendario::Testo(*o.attoInterruttivo) : "non indicato",
                 "Artt. 2943 e 2946 c.c.: prescrizione decennale; Cass. S.U. 24418/2010: decorre dal pagamento per "
                 "le rimesse solutorie, dalla chiusura del conto per le altre.",
                 true});
    r.push_back({"Chiusura del conto", o.chiusuraConto ? calendario::Testo(*o.chiusuraConto) : "conto aperto", "",
                 true});

    const VoceOpzione regole[] = {
        {"Oneri della banca", "interessi, CMS e commissioni tolti e ricalcolati; imposte e movimenti ordinari restano",
         "Art. 117 c. 1 e 4 TUB: forma scritta dei contratti e delle condizioni.", true},
        {"Tassi pattuiti", "applicati periodo per periodo dalla data della pattuizione scritta",
         "Art. 117 c. 1 e 4 TUB; art. 1284 c. 3 c.c.", true},
        {"Divisore", "secondo le condizioni del periodo (anno civile o 360 giorni)", "", true},
        {"Capitalizzazione dal 01/07/2000 al 31/12/2013",
         "reciproca con la periodicità delle condizioni solo se pattuita per iscritto, altrimenti nessuna",
         "Art. 120 c. 2 TUB (D.Lgs. 342/1999); delibera CICR 9/2/2000: pari periodicità di interessi debitori e "
         "creditori, pattuizione scritta.",
         true},
        {"Capitalizzazione dal 01/10/2016",
         "interessi conteggiati al 31/12 o alla chiusura, tenuti a parte senza interessi, esigibili il 1° marzo "
         "dell'anno dopo; capitale solo dalla data dell'autorizzazione all'addebito",
         "Art. 120 c. 2 TUB (L. 49/2016); delibera CICR 343/2016.", true},
        {"CMS",
         "solo se pattuita per iscritto; dal 2010 solo con fido, dopo almeno 30 giorni continuativi a debito e "
         "non oltre lo 0,5% del fido per trimestre",
         "Art. 2-bis c. 1 D.L. 185/2008 (L. 2/2009), modificato dal D.L. 78/2009 (L. 102/2009).", true},
        {"Commissioni e spese (CIV, CDF e altre)", "solo se pattuite per iscritto",
         "Art. 117 c. 4 e 6 TUB; art. 117-bis TUB.", true},
        {"Rimesse",
         "solutoria = min(importo, max(0, −saldo − fido)); ciascuna paga per primi gli addebiti indebiti anteriori "
         "non ancora pagati",
         "Cass. S.U. 24418/2010.", true},
    };
    r.insert(r.end(), std::begin(regole), std::end(regole));
    return r;
}

// ---------------------------------------------------------------- results

OneriPeriodo RigaRicalcolo::Differenza() const
{
    return {banca.interessiDebitori - ricalcolato.interessiDebitori,
            banca.interessiCreditori - ricalcolato.interessiCreditori, banca.cms - ricalcolato.cms,
            banca.commissioni - ricalcolato.commissioni, banca.effettoValuta - ricalcolato.effettoValuta};
}

std::vector<std::string> ControllaRicalcolo(const std::vector<Movimento>& movimenti,
                                            const std::vector<SaldiEstratto>& saldi,
                                            const CondizioniConto& condizioni, const OpzioniRicalcolo& opzioni)
{
    std::vector<std::string> errori;
    if (movimenti.empty())
        errori.push_back("Non ci sono movimenti da ricalcolare.");
    for (const ErroreCondizioni& e : ControllaCondizioni(condizioni))
        errori.push_back(e.testo);

    // The first and last movement by either date.
    const Movimento* primo = nullptr;
    const Movimento* ultimo = nullptr;
    const auto prima = [](const Movimento& m) { return std::min(m.dataValuta, m.dataContabile); };
    const auto dopo = [](const Movimento& m) { return std::max(m.dataValuta, m.dataContabile); };
    for (const Movimento& m : movimenti) {
        if (!primo || prima(m) < prima(*primo))
            primo = &m;
        if (!ultimo || dopo(m) > dopo(*ultimo))
            ultimo = &m;
    }
    if (!condizioni.periodi.empty()) {
        const sys_days dal = condizioni.periodi.front().dal;
        if (primo && prima(*primo) < dal)
            errori.push_back("Il movimento del " + calendario::Testo(prima(*primo)) + " «" + primo->descrizione +
                             "» precede le condizioni del conto, che iniziano il " + calendario::Testo(dal) +
                             ": i giorni prima non sono coperti.");
        for (const SaldiEstratto& s : saldi)
            if (s.dataIniziale < dal) {
                errori.push_back("Il saldo iniziale dell'estratto del " + calendario::Testo(s.dataIniziale) +
                                 " precede le condizioni del conto, che iniziano il " + calendario::Testo(dal) + ".");
                break;
            }
    }

    std::vector<int> anni;
    for (const TassiBOT& b : opzioni.tassiBOT) {
        const std::string nome = "Tassi BOT dell'anno " + std::to_string(b.anno) + ": ";
        if (!(b.minimo >= 0 && b.minimo <= 1) || !(b.massimo >= 0 && b.massimo <= 1))
            errori.push_back(nome + "i tassi devono essere compresi tra 0 e 100%.");
        else if (b.minimo > b.massimo)
            errori.push_back(nome + "il minimo supera il massimo.");
        if (std::find(anni.begin(), anni.end(), b.anno) != anni.end())
            errori.push_back(nome + "l'anno è indicato due volte.");
        anni.push_back(b.anno);
    }
    for (const TrimestreAnno& t : opzioni.trimestriOltreSoglia)
        if (t.numero < 1 || t.numero > 4)
            errori.push_back("Trimestre oltre soglia del " + std::to_string(t.anno) + ": il numero " +
                             std::to_string(t.numero) + " non è un trimestre (da 1 a 4).");
    if (opzioni.chiusuraConto && ultimo && *opzioni.chiusuraConto < dopo(*ultimo))
        errori.push_back("La chiusura del conto del " + calendario::Testo(*opzioni.chiusuraConto) +
                         " precede il movimento del " + calendario::Testo(dopo(*ultimo)) + ".");
    if (opzioni.attoInterruttivo && primo && *opzioni.attoInterruttivo < prima(*primo))
        errori.push_back("L'atto interruttivo del " + calendario::Testo(*opzioni.attoInterruttivo) +
                         " precede il primo movimento, del " + calendario::Testo(prima(*primo)) + ".");
    return errori;
}

EsitoRicalcolo Ricalcola(const std::vector<Movimento>& movimenti, const std::vector<SaldiEstratto>& saldi,
                         const CondizioniConto& condizioni, const SerieTassoLegale& tassoLegale,
                         const OpzioniRicalcolo& opzioni)
{
    EsitoRicalcolo esito;
    esito.errori = ControllaRicalcolo(movimenti, saldi, condizioni, opzioni);
    if (!esito.errori.empty())
        return esito;

    // The account's days and opening balances.
    Contesto c{movimenti, condizioni, tassoLegale, opzioni};
    c.inizio = c.fine = movimenti.front().dataValuta;
    for (const Movimento& m : movimenti) {
        c.inizio = std::min({c.inizio, m.dataValuta, m.dataContabile});
        c.fine = std::max({c.fine, m.dataValuta, m.dataContabile});
    }
    const SaldiEstratto* primoEstratto = nullptr;
    for (const SaldiEstratto& s : saldi) {
        if (!primoEstratto || s.dataIniziale < primoEstratto->dataIniziale)
            primoEstratto = &s;
        c.fine = std::max(c.fine, s.dataFinale);
    }
    if (primoEstratto) {
        // The declared balance already holds the movements booked before
        // its date: the account starts before them.
        c.inizio = std::min(c.inizio, primoEstratto->dataIniziale);
        c.aperturaBanca = primoEstratto->saldoIniziale;
        for (const Movimento& m : movimenti)
            if (m.dataContabile < primoEstratto->dataIniziale)
                c.aperturaBanca -= m.importo;
    }
    if (opzioni.chiusuraConto)
        c.fine = *opzioni.chiusuraConto;  // not before the last movement (checked)
    if (opzioni.saldoIniziale == SaldoIniziale::Dichiarato) {
        c.aperturaRicalcolo = c.aperturaBanca;
        if (!primoEstratto)
            esito.avvertenze.push_back("Nessun estratto dichiara un saldo iniziale: il ricalcolo parte da zero.");
    }
    c.primo = TrimestreDi(c.inizio);
    const TrimestreAnno ultimo = TrimestreDi(c.fine);
    c.trimestri = Indice(c.primo, ultimo) + 1;

    // Quarters without debit interest.
    c.gratuito.assign(c.trimestri, 0);
    std::optional<TrimestreAnno> primoOltre;
    for (const TrimestreAnno& t : opzioni.trimestriOltreSoglia) {
        if (!primoOltre || t < *primoOltre)
            primoOltre = t;
        if (!(t < c.primo) && !(ultimo < t))
            c.gratuito[Indice(c.primo, t)] = 1;
    }
    if (primoOltre && opzioni.gratuita == GratuitaUsura::DalPrimoTrimestre)
        for (TrimestreAnno t = c.primo; !(ultimo < t); t = Successivo(t))
            if (!(t < *primoOltre))
                c.gratuito[Indice(c.primo, t)] = 1;

    // Which movements stay, and the fees by quarter of value date.
    // The bank's charges by quarter of value date, as its scale sums them.
    std::vector<OneriPeriodo> banca(c.trimestri);
    try {
        const Scalare scalare = CalcolaScalare(movimenti, saldi, condizioni, c.inizio, c.fine);
        for (std::size_t q = 0; q < c.trimestri; ++q) {
            const TrimestreScalare& t = scalare.trimestri[q];
            banca[q].interessiDebitori = t.addebitato(ClasseMovimento::InteressiDebitori);
            banca[q].interessiCreditori = -t.addebitato(ClasseMovimento::InteressiCreditori);
            banca[q].cms = t.addebitato(ClasseMovimento::CMS);
            banca[q].commissioni = t.addebitato(ClasseMovimento::Commissioni);
        }
    } catch (const std::logic_error& e) {
        esito.errori.push_back(e.what());
        return esito;
    } catch (const std::runtime_error& e) {
        esito.errori.push_back(e.what());
        return esito;
    }
    std::vector<OneriPeriodo> ricalcolato(c.trimestri);
    std::vector<Centesimi> escluse(c.trimestri, 0);
    std::vector<std::optional<sys_days>> ultimoAddebito(c.trimestri);
    c.tenuto.assign(movimenti.size(), 0);
    for (std::size_t i = 0; i < movimenti.size(); ++i) {
        const Movimento& m = movimenti[i];
        const std::size_t q = Indice(c.primo, TrimestreDi(m.dataValuta));
        switch (m.classe) {
        case ClasseMovimento::Ordinario:
        case ClasseMovimento::Imposte:
            c.tenuto[i] = 1;
            continue;
        case ClasseMovimento::Commissioni:
            c.tenuto[i] = Pattuito(c.Condizioni(m.dataValuta).commissioniPattuite, m.dataValuta) &&
                          !(c.gratuito[q] && opzioni.gratuitaAncheCommissioni);
            (c.tenuto[i] ? ricalcolato[q].commissioni : escluse[q]) -= m.importo;
            break;
        case ClasseMovimento::InteressiDebitori:
        case ClasseMovimento::InteressiCreditori:
        case ClasseMovimento::CMS:
            break;
        }
        const sys_days d = DataDi(m, opzioni.date);
        if (!ultimoAddebito[q] || d > *ultimoAddebito[q])
            ultimoAddebito[q] = d;
    }
    c.perValuta.resize(movimenti.size());
    c.perContabile.resize(movimenti.size());
    for (std::size_t i = 0; i < movimenti.size(); ++i) {
        c.perValuta[i] = {movimenti[i].dataValuta, movimenti[i].importo, i, c.tenuto[i] != 0};
        c.perContabile[i] = {movimenti[i].dataContabile, movimenti[i].importo, i, c.tenuto[i] != 0};
    }
    for (std::vector<Contesto::Voce>* ordine : {&c.perValuta, &c.perContabile})
        std::sort(ordine->begin(), ordine->end(), [](const Contesto::Voce& a, const Contesto::Voce& b) {
            return a.giorno < b.giorno || (a.giorno == b.giorno && a.indice < b.indice);
        });

    // The corrected account by the chosen dates, and by the other ones for
    // the value-date effect.
    const DateRicalcolo altre =
        opzioni.date == DateRicalcolo::Valuta ? DateRicalcolo::Contabile : DateRicalcolo::Valuta;
    Percorso principale = Percorri(c, opzioni.date, true);
    if (!principale.errore.empty()) {
        esito.errori.push_back(principale.errore);
        return esito;
    }
    const Percorso secondo = Percorri(c, altre, false);
    if (!secondo.errore.empty()) {
        esito.errori.push_back(secondo.errore);
        return esito;
    }
    const Percorso& perValuta = opzioni.date == DateRicalcolo::Valuta ? principale : secondo;
    const Percorso& perContabile = opzioni.date == DateRicalcolo::Valuta ? secondo : principale;
    const std::vector<double> bancaValuta = InteressiContrattuali(c, DateRicalcolo::Valuta);
    const std::vector<double> bancaContabile = InteressiContrattuali(c, DateRicalcolo::Contabile);

    esito.inizio = c.inizio;
    esito.fine = c.fine;
    esito.saldi = std::move(principale.saldi);
    esito.rimesse = std::move(principale.rimesse);

    // Quarter rows.
    std::size_t punto = 0;
    for (TrimestreAnno t = c.primo; !(ultimo < t); t = Successivo(t)) {
        const std::size_t q = Indice(c.primo, t);
        const TrimestreCalcolato& tc = principale.trimestri[q];
        RigaRicalcolo riga;
        riga.periodo = t;
        riga.inizio = std::max(c.inizio, calendario::InizioTrimestre(t.anno, t.numero));
        riga.fine = std::min(c.fine, Fine(t));
        riga.banca = banca[q];
        riga.banca.effettoValuta = std::llround(bancaValuta[q] - bancaContabile[q]);
        riga.ricalcolato = ricalcolato[q];
        riga.ricalcolato.interessiDebitori = tc.debitori;
        riga.ricalcolato.interessiCreditori = tc.creditori;
        riga.ricalcolato.cms = tc.cms;
        const Centesimi effetto = (perValuta.trimestri[q].debitori - perValuta.trimestri[q].creditori) -
                                  (perContabile.trimestri[q].debitori - perContabile.trimestri[q].creditori);
        riga.ricalcolato.effettoValuta = opzioni.date == DateRicalcolo::Valuta ? effetto : 0;
        while (punto + 1 < esito.saldi.size() && esito.saldi[punto + 1].giorno <= riga.fine)
            ++punto;
        riga.saldoBanca = esito.saldi[punto].banca;
        riga.saldoRicalcolato = tc.capitale + tc.aParte;
        riga.interessiAParte = tc.aParte;
        riga.oltreSoglia = std::find(opzioni.trimestriOltreSoglia.begin(), opzioni.trimestriOltreSoglia.end(), t) !=
                           opzioni.trimestriOltreSoglia.end();
        riga.gratuito = c.gratuito[q] != 0;
        riga.tassi = OrigineTassi(tc.segmenti);
        riga.capitalizzazione = tc.capitalizzazione;

        riga.passaggi.push_back(PassoInteressi(tc.segmenti, false, tc.debitori, riga.gratuito));
        riga.passaggi.push_back(PassoInteressi(tc.segmenti, true, tc.creditori, false));
        riga.passaggi.push_back(tc.passoCMS);
        riga.passaggi.push_back({"Commissioni e spese", "addebiti della banca pattuiti per iscritto",
                                 Euro(banca[q].commissioni) + " − " + Euro(escluse[q]) + " non pattuite",
                                 Euro(riga.ricalcolato.commissioni)});
        riga.passaggi.push_back(
            {"Effetto valuta", "interessi netti per valuta − interessi netti per data contabile",
             "ricalcolo: " + Euro(perValuta.trimestri[q].debitori - perValuta.trimestri[q].creditori) + " − " +
                 Euro(perContabile.trimestri[q].debitori - perContabile.trimestri[q].creditori) + " = " +
                 Euro(effetto) + (opzioni.date == DateRicalcolo::Contabile ? " (escluso: date contabili)" : "") +
                 "; banca, ai tassi delle condizioni: " + Euro(riga.banca.effettoValuta),
             Euro(riga.ricalcolato.effettoValuta)});
        riga.passaggi.push_back({"Capitalizzazione", "regola del periodo", tc.capitalizzazione, ""});
        const Centesimi indebito = riga.banca.Costo() - riga.ricalcolato.Costo();
        riga.passaggi.push_back({"Addebito indebito", "costo della banca − costo ricalcolato, se positivo",
                                 Costi(riga.banca) + " − " + Costi(riga.ricalcolato),
                                 Euro(std::max<Centesimi>(0, indebito))});
        if (indebito > 0)
            esito.addebiti.push_back({t, std::min(c.fine, ultimoAddebito[q].value_or(Fine(t))), indebito, 0, 0});
        esito.trimestri.push_back(std::move(riga));
    }

    // Year rows.
    for (const RigaRicalcolo& r : esito.trimestri) {
        if (esito.anni.empty() || esito.anni.back().periodo.anno != r.periodo.anno) {
            RigaRicalcolo anno;
            anno.periodo = {r.periodo.anno, 0};
            anno.inizio = r.inizio;
            esito.anni.push_back(std::move(anno));
        }
        RigaRicalcolo& a = esito.anni.back();
        for (auto [da, verso] : {std::pair{&r.banca, &a.banca}, std::pair{&r.ricalcolato, &a.ricalcolato}}) {
            verso->interessiDebitori += da->interessiDebitori;
            verso->interessiCreditori += da->interessiCreditori;
            verso->cms += da->cms;
            verso->commissioni += da->commissioni;
            verso->effettoValuta += da->effettoValuta;
        }
        a.fine = r.fine;
        a.saldoBanca = r.saldoBanca;
        a.saldoRicalcolato = r.saldoRicalcolato;
        a.interessiAParte = r.interessiAParte;
        a.oltreSoglia = a.oltreSoglia || r.oltreSoglia;
        a.gratuito = a.gratuito || r.gratuito;
    }

    // Remittances against the undue charges, oldest first.
    std::stable_sort(esito.addebiti.begin(), esito.addebiti.end(),
                     [](const AddebitoIndebito& a, const AddebitoIndebito& b) { return a.data < b.data; });
    const std::optional<sys_days> atto = opzioni.attoInterruttivo;
    std::size_t aperto = 0;
    for (Rimessa& rm : esito.rimesse) {
        rm.prescritta = atto && calendario::DopoAnni(rm.data, 10) < *atto;
        Centesimi resto = rm.solutoria;
        for (std::size_t k = aperto; resto > 0 && k < esito.addebiti.size() && esito.addebiti[k].data <= rm.data;
             ++k) {
            AddebitoIndebito& a = esito.addebiti[k];
            const Centesimi paga = std::min(resto, a.importo - a.coperto);
            if (paga <= 0)
                continue;
            a.coperto += paga;
            if (rm.prescritta)
                a.prescritto += paga;
            resto -= paga;
            rm.coperture.emplace_back(k, paga);
        }
        while (aperto < esito.addebiti.size() && esito.addebiti[aperto].coperto == esito.addebiti[aperto].importo)
            ++aperto;
    }
    const bool chiuso = opzioni.chiusuraConto.has_value();
    const bool tuttoPrescritto = chiuso && atto && calendario::DopoAnni(*opzioni.chiusuraConto, 10) < *atto;

    TotaliRicalcolo& tot = esito.totali;
    Centesimi pagati = 0;
    for (AddebitoIndebito& a : esito.addebiti) {
        if (tuttoPrescritto)
            a.prescritto = a.importo;
        tot.addebitiIndebiti += a.importo;
        tot.prescritti += a.prescritto;
        pagati += a.coperto - a.prescritto;
    }
    tot.ripetibili = chiuso ? tot.addebitiIndebiti - tot.prescritti : std::max<Centesimi>(0, pagati);
    tot.saldoFinaleBanca = esito.saldi.back().banca;
    tot.saldoFinaleRicalcolato = esito.trimestri.back().saldoRicalcolato;
    tot.interessiAParte = esito.trimestri.back().interessiAParte;
    tot.effettoSaldo = tot.saldoFinaleRicalcolato - tot.saldoFinaleBanca;

    // The working of the totals.
    const std::string fine = calendario::Testo(c.fine);
    esito.passaggiTotali.push_back({"Addebiti indebiti", "Σ per trimestre (costo della banca − costo ricalcolato), se positivo",
                                    std::to_string(esito.addebiti.size()) + " trimestri", Euro(tot.addebitiIndebiti)});
    esito.passaggiTotali.push_back({"Saldo finale ricalcolato", "capitale + interessi tenuti a parte",
                                    Euro(tot.saldoFinaleRicalcolato - tot.interessiAParte) + " + " +
                                        Euro(tot.interessiAParte) + " al " + fine,
                                    Euro(tot.saldoFinaleRicalcolato)});
    esito.passaggiTotali.push_back({"Effetto sul saldo", "saldo ricalcolato − saldo della banca",
                                    Euro(tot.saldoFinaleRicalcolato) + " − " + Euro(tot.saldoFinaleBanca),
                                    Euro(tot.effettoSaldo)});
    std::string prescrizione = "atto interruttivo non indicato: prescrizione non valutata";
    if (tuttoPrescritto)
        prescrizione = "atto del " + calendario::Testo(*atto) + " oltre dieci anni dopo la chiusura del " +
                       calendario::Testo(*opzioni.chiusuraConto) + ": tutto prescritto";
    else if (atto)
        prescrizione = "addebiti pagati da rimesse solutorie fino al " +
                       calendario::Testo(calendario::DopoAnni(*atto, -10) - days{1}) + " (dieci anni prima dell'atto del " +
                       calendario::Testo(*atto) + ")";
    esito.passaggiTotali.push_back({"Importo prescritto", "addebiti indebiti pagati da rimesse solutorie prescritte",
                                    prescrizione, Euro(tot.prescritti)});
    esito.passaggiTotali.push_back(
        {"Importo ripetibile",
         chiuso ? "addebiti indebiti − prescritti (conto chiuso)"
                : "addebiti indebiti pagati da rimesse solutorie non prescritte (conto aperto)",
         chiuso ? Euro(tot.addebitiIndebiti) + " − " + Euro(tot.prescritti)
                : Euro(pagati + tot.prescritti) + " pagati − " + Euro(tot.prescritti) + " prescritti",
         Euro(tot.ripetibili)});

    if (!atto)
        esito.avvertenze.push_back("Atto interruttivo non indicato: la prescrizione non è valutata.");
    if (!chiuso)
        esito.avvertenze.push_back("Conto aperto: gli addebiti indebiti non pagati da rimesse solutorie correggono "
                                   "il saldo e non sono ripetibili finché il conto resta aperto.");
    return esito;
}
