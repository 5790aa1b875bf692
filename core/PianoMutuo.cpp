#include "PianoMutuo.h"

#include "Funzioni.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace std::chrono;

namespace {

std::string Euro(double euro)
{
    return "€ " + FormatoImporto(euro);
}

int MesiPeriodo(const ContrattoMutuo& c)
{
    return 12 / c.rateAnnuali;
}

bool PeriodicitaValida(int rateAnnuali)
{
    return rateAnnuali == 12 || rateAnnuali == 6 || rateAnnuali == 4 || rateAnnuali == 3 || rateAnnuali == 2 ||
           rateAnnuali == 1;
}

sys_days DataRata(const ContrattoMutuo& c, int k)
{
    return SpostaMesi(*c.dataPrimaRata, (k - 1) * MesiPeriodo(c), true);
}

sys_days InizioAmmortamento(const ContrattoMutuo& c)
{
    return *c.dataStipula + days{c.giorniPreammortamento};
}

// The periodic rate of a regular period.
double TassoPeriodo(const ContrattoMutuo& c)
{
    if (c.base == BaseTan::Equivalente)
        return std::expm1(std::log1p(c.tan) / c.rateAnnuali);
    return c.tan / c.rateAnnuali;
}

// Days between two dates on the 30/360 (European) count.
int Giorni30360(sys_days da, sys_days a)
{
    const year_month_day x{da}, y{a};
    const int d1 = std::min(static_cast<int>(static_cast<unsigned>(x.day())), 30);
    const int d2 = std::min(static_cast<int>(static_cast<unsigned>(y.day())), 30);
    return 360 * (static_cast<int>(y.year()) - static_cast<int>(x.year())) +
           30 * (static_cast<int>(static_cast<unsigned>(y.month())) - static_cast<int>(static_cast<unsigned>(x.month()))) +
           d2 - d1;
}

// Interest on `debito` for odd days (pre-amortisation, interest accrued at
// an early repayment): `effettivi` calendar days, `commerciali` on the
// 30/360 count for the commercial basis.
double InteressiGiorni(const ContrattoMutuo& c, double debito, int effettivi, int commerciali)
{
    switch (c.base) {
    case BaseTan::Commerciale: return debito * c.tan * commerciali / 360;
    case BaseTan::Equivalente: return debito * std::expm1(std::log1p(c.tan) * effettivi / 365);
    case BaseTan::Effettivi365: return debito * c.tan * effettivi / 365;
    case BaseTan::Effettivi360: return debito * c.tan * effettivi / 360;
    }
    return 0;
}

double InteressiTra(const ContrattoMutuo& c, double debito, sys_days da, sys_days a)
{
    return InteressiGiorni(c, debito, static_cast<int>((a - da).count()), Giorni30360(da, a));
}

// Interest of instalment period from `da` to `a`.
double InteressiPeriodo(const ContrattoMutuo& c, double debito, sys_days da, sys_days a)
{
    switch (c.base) {
    case BaseTan::Commerciale:
    case BaseTan::Equivalente: return debito * TassoPeriodo(c);
    case BaseTan::Effettivi365:
    case BaseTan::Effettivi360: return InteressiTra(c, debito, da, a);
    }
    return 0;
}

std::string Descrizione(const CostoMutuo& costo, int indice)
{
    if (!costo.descrizione.empty())
        return "«" + costo.descrizione + "»";
    return "n. " + std::to_string(indice + 1) + " (" + NomeTipoCosto(costo.tipo) + ")";
}

// The days a cost is paid on under the plan.
std::vector<sys_days> DatePagamento(const CostoMutuo& costo, const ContrattoMutuo& c, const PianoAmmortamento& piano)
{
    std::vector<sys_days> date;
    switch (costo.pagamento) {
    case PagamentoCosto::Stipula: date.push_back(*c.dataStipula); break;
    case PagamentoCosto::OgniRata:
        for (const RigaPiano& r : piano.righe)
            if (r.numero > 0)
                date.push_back(r.data);
        break;
    case PagamentoCosto::Annuale: {
        const sys_days ultima = piano.righe.back().data;
        for (int anno = 0;; ++anno) {
            const sys_days d = SpostaMesi(*c.dataStipula, 12 * anno, false);
            if (anno > 0 && d >= ultima)
                break;
            date.push_back(d);
        }
        break;
    }
    case PagamentoCosto::AllaData: date.push_back(*costo.data); break;
    }
    return date;
}

// The flows of the plan, the costs chosen by `incluso(index)`, up to and
// including the day `fine` (all when empty).
template <class Incluso>
std::vector<FlussoDatato> Flussi(const ContrattoMutuo& c, const PianoAmmortamento& piano, Incluso incluso,
                                 std::optional<sys_days> fine = std::nullopt)
{
    std::vector<FlussoDatato> f;
    f.reserve(piano.righe.size() + 2);
    f.push_back({*c.dataStipula, c.importo});
    for (const RigaPiano& r : piano.righe)
        if (!fine || r.data <= *fine)
            f.push_back({r.data, -r.rata});
    for (std::size_t i = 0; i < c.costi.size(); ++i) {
        if (!incluso(static_cast<int>(i)) || c.costi[i].importo == 0)
            continue;
        for (sys_days d : DatePagamento(c.costi[i], c, piano)) {
            // At an early repayment a yearly premium due that very day is no longer paid.
            if (fine && (d > *fine || (d == *fine && d != *c.dataStipula &&
                                       c.costi[i].pagamento == PagamentoCosto::Annuale)))
                continue;
            f.push_back({d, -c.costi[i].importo});
        }
    }
    return f;
}

Risultato<double> Tasso(const std::vector<FlussoDatato>& flussi)
{
    if (std::optional<double> r = TassoAnnuoFlussi(flussi))
        return *r;
    return Risultato<double>::Fallito(
        "tasso non determinabile: nessun tasso rende i pagamenti equivalenti alla somma ricevuta");
}

bool BloccaIlPiano(const ErroreContratto& e)
{
    return e.campo != CampoContratto::Mora && e.campo != CampoContratto::Estinzione &&
           e.campo != CampoContratto::TaegDichiarato;
}

} // namespace

std::string TestoGiorno(sys_days giorno)
{
    const year_month_day g{giorno};
    char testo[16];
    std::snprintf(testo, sizeof testo, "%02u/%02u/%04d", static_cast<unsigned>(g.day()),
                  static_cast<unsigned>(g.month()), static_cast<int>(g.year()));
    return testo;
}

std::string NomeTipoCosto(TipoCosto tipo)
{
    switch (tipo) {
    case TipoCosto::Istruttoria: return "istruttoria";
    case TipoCosto::Perizia: return "perizia";
    case TipoCosto::Incasso: return "incasso rata";
    case TipoCosto::Assicurazione: return "assicurazione";
    case TipoCosto::Notaio: return "notaio";
    case TipoCosto::Imposte: return "imposte e tasse";
    case TipoCosto::Altro: return "altro";
    }
    return {};
}

bool CostoFacoltativo(TipoCosto tipo)
{
    return tipo == TipoCosto::Assicurazione || tipo == TipoCosto::Notaio || tipo == TipoCosto::Altro;
}

std::string MotivoPredefinito(TipoCosto tipo, bool nelTasso)
{
    if (!nelTasso) {
        switch (tipo) {
        case TipoCosto::Imposte: return "imposte e tasse: escluse per legge (art. 644, comma 4, c.p.)";
        case TipoCosto::Notaio: return "compenso del notaio, pagato a un terzo per l'atto: fuori dal tasso salvo diversa scelta";
        case TipoCosto::Assicurazione: return "polizza non collegata al finanziamento: esclusa per scelta";
        default: return "escluso per scelta";
        }
    }
    switch (tipo) {
    case TipoCosto::Istruttoria:
    case TipoCosto::Perizia:
        return "spesa collegata all'erogazione del credito (art. 644, comma 4, c.p.): nel tasso";
    case TipoCosto::Incasso: return "spesa di incasso di ogni rata, collegata al rimborso: nel tasso";
    case TipoCosto::Assicurazione:
        return "polizza stipulata insieme al finanziamento: si presume collegata al credito, quindi nel tasso";
    case TipoCosto::Imposte: return "imposte e tasse incluse per scelta, benché la legge le escluda";
    default: return "incluso per scelta";
    }
}

CostoMutuo CostoPredefinito(TipoCosto tipo, double importo, PagamentoCosto pagamento)
{
    CostoMutuo c;
    c.tipo = tipo;
    c.importo = importo;
    c.pagamento = pagamento;
    c.nelTasso = tipo != TipoCosto::Notaio && tipo != TipoCosto::Imposte;
    c.motivo = MotivoPredefinito(tipo, c.nelTasso);
    return c;
}

std::vector<ErroreContratto> ControllaContratto(const ContrattoMutuo& c)
{
    std::vector<ErroreContratto> e;
    auto errore = [&](CampoContratto campo, std::string testo, int costo = -1) {
        e.push_back({campo, costo, std::move(testo)});
    };
    auto tasso = [](double t) { return std::isfinite(t) ? FormatoTasso(t) : std::string("non valido"); };

    if (!std::isfinite(c.importo) || !(c.importo > 0))
        errore(CampoContratto::Importo, "Indicare l'importo finanziato, maggiore di zero.");
    if (!c.dataStipula)
        errore(CampoContratto::DataStipula, "Indicare la data di stipula.");
    const bool giorniValidi = c.giorniPreammortamento >= 0 && c.giorniPreammortamento <= 3660;
    if (!giorniValidi)
        errore(CampoContratto::Preammortamento, "I giorni di preammortamento devono essere tra 0 e 3.660.");
    bool dateValide = c.dataStipula && c.dataPrimaRata && giorniValidi;
    if (!c.dataPrimaRata) {
        errore(CampoContratto::DataPrimaRata, "Indicare la data della prima rata.");
    } else if (c.dataStipula && *c.dataPrimaRata < *c.dataStipula) {
        errore(CampoContratto::DataPrimaRata, "La prima rata (" + TestoGiorno(*c.dataPrimaRata) +
                                                  ") precede la data di stipula (" + TestoGiorno(*c.dataStipula) + ").");
        dateValide = false;
    } else if (dateValide && *c.dataPrimaRata <= InizioAmmortamento(c)) {
        errore(CampoContratto::DataPrimaRata,
               c.giorniPreammortamento == 0
                   ? "La prima rata cade il giorno della stipula (" + TestoGiorno(*c.dataStipula) + "): deve seguirla."
                   : "La prima rata (" + TestoGiorno(*c.dataPrimaRata) + ") non segue la fine del preammortamento (" +
                         TestoGiorno(InizioAmmortamento(c)) + ").");
        dateValide = false;
    }
    const bool tanValido = std::isfinite(c.tan) && c.tan >= 0 && c.tan <= 1;
    if (!std::isfinite(c.tan) || c.tan < 0)
        errore(CampoContratto::Tan, "Il TAN deve essere un tasso non negativo.");
    else if (c.tan > 1)
        errore(CampoContratto::Tan, "Il TAN del " + tasso(c.tan) + " supera il 100%: controllare il valore.");
    const bool periodicita = PeriodicitaValida(c.rateAnnuali);
    if (!periodicita)
        errore(CampoContratto::RateAnnuali,
               "La periodicità deve essere mensile, bimestrale, trimestrale, quadrimestrale, semestrale o annuale.");
    const bool rateValide = c.numeroRate >= 1 && c.numeroRate <= ContrattoMutuo::MassimoRate;
    if (c.numeroRate < 1)
        errore(CampoContratto::NumeroRate, "Indicare il numero delle rate (almeno una).");
    else if (c.numeroRate > ContrattoMutuo::MassimoRate)
        errore(CampoContratto::NumeroRate, "Il numero delle rate (" + std::to_string(c.numeroRate) +
                                               ") supera il massimo di " +
                                               std::to_string(ContrattoMutuo::MassimoRate) + ".");

    if (c.rataDichiarata) {
        const double r = *c.rataDichiarata;
        if (!std::isfinite(r) || !(r > 0)) {
            errore(CampoContratto::RataDichiarata, "La rata indicata deve essere un importo maggiore di zero.");
        } else if (c.metodo != MetodoAmmortamento::Bullet && tanValido && periodicita && rateValide &&
                   std::isfinite(c.importo) && c.importo > 0) {
            const double interessi = ArrotondaAlCentesimo(c.importo * TassoPeriodo(c));
            if (r <= interessi)
                errore(CampoContratto::RataDichiarata,
                       "La rata indicata (" + Euro(r) + ") non supera gli interessi del primo periodo (" +
                           Euro(interessi) + "): il mutuo non si estinguerebbe mai.");
            else if (r * c.numeroRate < c.importo)
                errore(CampoContratto::RataDichiarata,
                       "Le " + std::to_string(c.numeroRate) + " rate da " + Euro(r) +
                           " non restituiscono nemmeno l'importo finanziato (" + Euro(c.importo) + ").");
        }
    }
    if (c.taegDichiarato && (!std::isfinite(*c.taegDichiarato) || *c.taegDichiarato < 0 || *c.taegDichiarato > 1))
        errore(CampoContratto::TaegDichiarato,
               "Il TAEG/ISC indicato (" + tasso(*c.taegDichiarato) + ") deve essere tra 0 e 100%.");

    const bool pianoDatato = dateValide && periodicita && rateValide;
    // The last instalment's day, when the plan can be dated (else the epoch, unused).
    const sys_days ultima =
        pianoDatato ? SpostaMesi(*c.dataPrimaRata, (c.numeroRate - 1) * MesiPeriodo(c), true) : sys_days{};
    for (std::size_t i = 0; i < c.costi.size(); ++i) {
        const CostoMutuo& costo = c.costi[i];
        const int indice = static_cast<int>(i);
        if (!std::isfinite(costo.importo) || costo.importo < 0)
            errore(CampoContratto::Costo, "Il costo " + Descrizione(costo, indice) + " ha un importo non valido.", indice);
        if (costo.pagamento != PagamentoCosto::AllaData)
            continue;
        if (!costo.data)
            errore(CampoContratto::Costo, "Indicare la data del costo " + Descrizione(costo, indice) + ".", indice);
        else if (pianoDatato && (*costo.data < *c.dataStipula || *costo.data > ultima))
            errore(CampoContratto::Costo,
                   "Il costo " + Descrizione(costo, indice) + " ha la data " + TestoGiorno(*costo.data) +
                       ", fuori dal piano (" + TestoGiorno(*c.dataStipula) + " - " + TestoGiorno(ultima) + ").",
                   indice);
    }

    if (c.mora.tipo != TipoMora::Nessuna) {
        const double mora = c.mora.tipo == TipoMora::Spread ? c.tan + c.mora.valore : c.mora.valore;
        if (!std::isfinite(c.mora.valore) || c.mora.valore < 0)
            errore(CampoContratto::Mora, c.mora.tipo == TipoMora::Spread
                                             ? "La maggiorazione di mora deve essere un tasso non negativo."
                                             : "Il tasso di mora deve essere un tasso non negativo.");
        else if (tanValido && mora > 1)
            errore(CampoContratto::Mora, "Il tasso di mora del " + tasso(mora) + " supera il 100%: controllare il valore.");
    }
    const EstinzioneAnticipata& est = c.estinzione;
    if (est.considerata) {
        if (!std::isfinite(est.valore) || est.valore < 0)
            errore(CampoContratto::Estinzione, "La penale di estinzione deve essere un valore non negativo.");
        else if (est.tipo == TipoPenale::Percentuale && est.valore > 1)
            errore(CampoContratto::Estinzione,
                   "La penale di estinzione del " + tasso(est.valore) + " supera il 100% del debito residuo.");
        if (!est.data)
            errore(CampoContratto::Estinzione, "Indicare la data dell'estinzione anticipata.");
        else if (pianoDatato && (*est.data <= *c.dataStipula || *est.data >= ultima))
            errore(CampoContratto::Estinzione, "La data di estinzione (" + TestoGiorno(*est.data) +
                                                   ") deve cadere dopo la stipula (" + TestoGiorno(*c.dataStipula) +
                                                   ") e prima dell'ultima rata (" + TestoGiorno(ultima) + ").");
    }
    return e;
}

Risultato<PianoAmmortamento> CalcolaPiano(const ContrattoMutuo& c)
{
    for (const ErroreContratto& e : ControllaContratto(c))
        if (BloccaIlPiano(e))
            return Risultato<PianoAmmortamento>::Fallito(e.testo);

    PianoAmmortamento p;
    const int n = c.numeroRate;
    const sys_days inizio = InizioAmmortamento(c);
    p.righe.reserve(static_cast<std::size_t>(n) + 1);
    if (c.giorniPreammortamento > 0) {
        RigaPiano r;
        r.data = inizio;
        r.interessi = ArrotondaAlCentesimo(InteressiGiorni(c, c.importo, c.giorniPreammortamento, c.giorniPreammortamento));
        r.rata = r.interessi;
        r.debitoResiduo = c.importo;
        p.righe.push_back(r);
    }
    const sys_days regolare = SpostaMesi(inizio, MesiPeriodo(c), true);
    if (*c.dataPrimaRata != regolare)
        p.avvisi.push_back("Primo periodo irregolare: la prima rata (" + TestoGiorno(*c.dataPrimaRata) +
                           ") non cade un periodo dopo l'inizio dell'ammortamento (" + TestoGiorno(inizio) +
                           "), ma " + std::to_string((*c.dataPrimaRata - inizio).count()) + " giorni dopo.");

    const double i = TassoPeriodo(c);
    double rataFrancese = 0;
    if (c.metodo == MetodoAmmortamento::Francese)
        rataFrancese = ArrotondaAlCentesimo(i == 0 ? c.importo / n : c.importo * i / -std::expm1(-n * std::log1p(i)));
    const double quotaItaliana = ArrotondaAlCentesimo(c.importo / n);

    double debito = c.importo;
    sys_days precedente = inizio;
    for (int k = 1; k <= n; ++k) {
        RigaPiano r;
        r.numero = k;
        r.data = DataRata(c, k);
        r.interessi = ArrotondaAlCentesimo(InteressiPeriodo(c, debito, precedente, r.data));
        if (k == n)
            r.quotaCapitale = debito;
        else if (c.metodo == MetodoAmmortamento::Francese)
            r.quotaCapitale = ArrotondaAlCentesimo(rataFrancese - r.interessi);
        else if (c.metodo == MetodoAmmortamento::Italiano)
            r.quotaCapitale = quotaItaliana;
        r.rata = ArrotondaAlCentesimo(r.interessi + r.quotaCapitale);
        debito = ArrotondaAlCentesimo(debito - r.quotaCapitale);
        r.debitoResiduo = k == n ? 0 : debito;
        precedente = r.data;
        p.righe.push_back(r);
    }
    p.rataPiano = p.righe[c.giorniPreammortamento > 0 ? 1 : 0].rata;

    // Costs: those of the contract date apart, the others in the row of the
    // period they fall in (after the previous row, up to this one).
    for (const CostoMutuo& costo : c.costi)
        for (sys_days d : DatePagamento(costo, c, p)) {
            if (d == *c.dataStipula) {
                p.costiStipula += costo.importo;
                continue;
            }
            auto riga = std::lower_bound(p.righe.begin(), p.righe.end(), d,
                                         [](const RigaPiano& r, sys_days g) { return r.data < g; });
            if (riga != p.righe.end())
                riga->costi += costo.importo;
        }
    p.totaleCosti = p.costiStipula;
    for (const RigaPiano& r : p.righe) {
        p.totaleRate += r.rata;
        p.totaleInteressi += r.interessi;
        p.totaleCapitale += r.quotaCapitale;
        p.totaleCosti += r.costi;
    }
    p.totaleRate = ArrotondaAlCentesimo(p.totaleRate);
    p.totaleInteressi = ArrotondaAlCentesimo(p.totaleInteressi);
    p.totaleCapitale = ArrotondaAlCentesimo(p.totaleCapitale);
    p.totaleCosti = ArrotondaAlCentesimo(p.totaleCosti);
    return p;
}

std::optional<ConfrontoRata> ConfrontaRata(const ContrattoMutuo& c, const PianoAmmortamento& piano)
{
    if (!c.rataDichiarata)
        return std::nullopt;
    ConfrontoRata r;
    r.rataPiano = piano.rataPiano;
    r.rataDichiarata = *c.rataDichiarata;
    r.differenza = ArrotondaAlCentesimo(r.rataDichiarata - r.rataPiano);
    r.concorda = std::fabs(r.differenza) <= 0.01;
    return r;
}

std::vector<FlussoDatato> FlussiMutuo(const ContrattoMutuo& c, const PianoAmmortamento& piano, CostiNelTasso costi)
{
    return Flussi(c, piano, [&](int i) {
        const CostoMutuo& costo = c.costi[static_cast<std::size_t>(i)];
        switch (costi) {
        case CostiNelTasso::Nessuno: return false;
        case CostiNelTasso::Scelti: return costo.nelTasso;
        case CostiNelTasso::Facoltativi: return costo.nelTasso || CostoFacoltativo(costo.tipo);
        }
        return false;
    });
}

TassiMutuo CalcolaTassi(const ContrattoMutuo& c, const PianoAmmortamento& piano)
{
    TassiMutuo t;
    t.nudo = Tasso(FlussiMutuo(c, piano, CostiNelTasso::Nessuno));
    t.conCosti = Tasso(FlussiMutuo(c, piano, CostiNelTasso::Scelti));
    t.conFacoltativi = Tasso(FlussiMutuo(c, piano, CostiNelTasso::Facoltativi));
    if (t.conCosti && c.taegDichiarato)
        t.scartoDaTaegDichiarato = *t.conCosti - *c.taegDichiarato;
    return t;
}

std::vector<TassoPerCosto> TassiPerCosto(const ContrattoMutuo& c, const PianoAmmortamento& piano)
{
    std::vector<TassoPerCosto> r;
    for (std::size_t i = 0; i < c.costi.size(); ++i) {
        if (!CostoFacoltativo(c.costi[i].tipo))
            continue;
        const int scelto = static_cast<int>(i);
        TassoPerCosto t;
        t.costo = scelto;
        t.con = Tasso(Flussi(c, piano, [&](int j) { return j == scelto || c.costi[static_cast<std::size_t>(j)].nelTasso; }));
        t.senza = Tasso(Flussi(c, piano, [&](int j) { return j != scelto && c.costi[static_cast<std::size_t>(j)].nelTasso; }));
        r.push_back(std::move(t));
    }
    return r;
}

Risultato<CasoEstinzione> CalcolaEstinzione(const ContrattoMutuo& c, const PianoAmmortamento& piano)
{
    if (!c.estinzione.considerata)
        return Risultato<CasoEstinzione>::Fallito("estinzione anticipata non considerata");
    for (const ErroreContratto& e : ControllaContratto(c))
        if (e.campo == CampoContratto::Estinzione)
            return Risultato<CasoEstinzione>::Fallito(e.testo);

    CasoEstinzione caso;
    caso.data = *c.estinzione.data;
    // The last row paid by that day, and what was owed after it.
    const RigaPiano* ultima = nullptr;
    for (const RigaPiano& r : piano.righe)
        if (r.data <= caso.data)
            ultima = &r;
    const sys_days dal = ultima ? ultima->data : *c.dataStipula;
    caso.debitoResiduo = ultima ? ultima->debitoResiduo : c.importo;
    caso.interessiMaturati = ArrotondaAlCentesimo(InteressiTra(c, caso.debitoResiduo, dal, caso.data));
    caso.penale = ArrotondaAlCentesimo(c.estinzione.tipo == TipoPenale::Percentuale ? caso.debitoResiduo * c.estinzione.valore
                                                                         : c.estinzione.valore);

    std::vector<FlussoDatato> f =
        Flussi(c, piano, [&](int j) { return c.costi[static_cast<std::size_t>(j)].nelTasso; }, caso.data);
    f.push_back({caso.data, -(caso.debitoResiduo + caso.interessiMaturati)});
    caso.tassoSenzaPenale = Tasso(f);
    f.push_back({caso.data, -caso.penale});
    caso.tassoConPenale = Tasso(f);
    return caso;
}

std::optional<double> TassoMora(const ContrattoMutuo& c)
{
    switch (c.mora.tipo) {
    case TipoMora::Nessuna: return std::nullopt;
    case TipoMora::Spread: return c.tan + c.mora.valore;
    case TipoMora::Fisso: return c.mora.valore;
    }
    return std::nullopt;
}
