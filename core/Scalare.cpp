#include "Scalare.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

using namespace std::chrono;

namespace {

constexpr days UnGiorno{1};

[[noreturn]] void Traboccato()
{
    throw std::overflow_error("Gli importi dei movimenti sono troppo grandi: il saldo o i numeri di un trimestre "
                              "superano il limite di calcolo.");
}

// a += b, a × b on 64-bit integers, refusing to overflow.
void Somma(std::int64_t& a, std::int64_t b)
{
    if (__builtin_add_overflow(a, b, &a))
        Traboccato();
}

std::int64_t Prodotto(std::int64_t a, std::int64_t b)
{
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r))
        Traboccato();
    return r;
}

std::int64_t Opposto(std::int64_t a)
{
    std::int64_t r = 0;
    if (__builtin_sub_overflow(std::int64_t{0}, a, &r))
        Traboccato();
    return r;
}

// The calendar quarter holding a day: its number from year 0 (year × 4 +
// quarter - 1) and its first and last day.
int NumeroTrimestre(sys_days giorno)
{
    const year_month_day d{giorno};
    return static_cast<int>(d.year()) * 4 + static_cast<int>((static_cast<unsigned>(d.month()) - 1) / 3);
}

sys_days InizioTrimestre(int numero)
{
    const int anno = numero >= 0 ? numero / 4 : (numero - 3) / 4;
    const int q = numero - anno * 4;
    return sys_days{year{anno} / month{static_cast<unsigned>(q * 3 + 1)} / 1};
}

sys_days FineTrimestre(int numero)
{
    return InizioTrimestre(numero + 1) - UnGiorno;
}

Centesimi FidoDel(const CondizioniConto& condizioni, sys_days giorno)
{
    const CondizioniPeriodo* p = CondizioniDel(condizioni, giorno);
    return p ? p->accordato : 0;
}


} // namespace

std::pair<Centesimi, bool> SaldoDiPartenza(const std::vector<Movimento>& movimenti, const std::vector<SaldiEstratto>& saldi)
{
    if (saldi.empty())
        return {0, false};
    const auto primo = std::min_element(saldi.begin(), saldi.end(), [](const SaldiEstratto& a, const SaldiEstratto& b) {
        return a.dataIniziale < b.dataIniziale;
    });
    Centesimi saldo = primo->saldoIniziale;
    for (const Movimento& m : movimenti)
        if (m.dataContabile < primo->dataIniziale)
            Somma(saldo, Opposto(m.importo));
    return {saldo, true};
}

std::vector<PeriodoCoperto> PeriodiCoperti(const std::vector<Movimento>& movimenti,
                                           const std::vector<SaldiEstratto>& saldi)
{
    std::vector<PeriodoCoperto> coperti;
    if (saldi.empty()) {
        if (movimenti.empty())
            return coperti;
        const auto [primo, ultimo] = std::minmax_element(
            movimenti.begin(), movimenti.end(),
            [](const Movimento& a, const Movimento& b) { return a.dataContabile < b.dataContabile; });
        coperti.push_back({primo->dataContabile, ultimo->dataContabile});
        return coperti;
    }
    std::vector<const SaldiEstratto*> ordine;
    ordine.reserve(saldi.size());
    for (const SaldiEstratto& s : saldi)
        ordine.push_back(&s);
    std::stable_sort(ordine.begin(), ordine.end(),
                     [](const SaldiEstratto* a, const SaldiEstratto* b) { return a->dataIniziale < b->dataIniziale; });
    const SaldiEstratto* precedente = nullptr;
    for (const SaldiEstratto* s : ordine) {
        const PeriodoCoperto p{std::min(s->dataIniziale, s->dataFinale), std::max(s->dataIniziale, s->dataFinale)};
        const bool continua = precedente && (p.dal <= coperti.back().al + UnGiorno ||
                                             s->saldoIniziale == precedente->saldoFinale);
        if (continua)
            coperti.back().al = std::max(coperti.back().al, p.al);
        else
            coperti.push_back(p);
        precedente = s;
    }
    return coperti;
}

Copertura CoperturaDi(const std::vector<PeriodoCoperto>& coperti, sys_days inizio, sys_days fine)
{
    bool tocca = false;
    for (const PeriodoCoperto& p : coperti) {
        if (p.dal <= inizio && fine <= p.al)
            return fine + days{GiorniRegistrazioneChiusura} <= p.al ? Copertura::Completa : Copertura::SenzaChiusura;
        tocca = tocca || (p.dal <= fine && inizio <= p.al);
    }
    return tocca ? Copertura::Parziale : Copertura::Nessuna;
}

Scalare CalcolaScalare(const std::vector<Movimento>& movimenti, const std::vector<SaldiEstratto>& saldi,
                       const CondizioniConto& condizioni, sys_days dal, sys_days al)
{
    if (al < dal)
        throw std::invalid_argument("Il periodo dello scalare termina prima di iniziare.");
    const int primo = NumeroTrimestre(dal), ultimo = NumeroTrimestre(al);
    if (ultimo - primo >= 400)
        throw std::invalid_argument("Il periodo dello scalare supera i cento anni: controllare le date dei movimenti.");

    Scalare scalare;
    std::tie(scalare.saldoPartenza, scalare.saldoPartenzaDichiarato) = SaldoDiPartenza(movimenti, saldi);

    // The net amount valued on each day d from base (the day before the
    // first quarter, whose end-of-day balance opens it) to the last day.
    const sys_days base = InizioTrimestre(primo) - UnGiorno;
    const sys_days ultimoGiorno = FineTrimestre(ultimo);
    const auto n = static_cast<std::size_t>((ultimoGiorno - base).count());
    std::vector<Centesimi> variazione(n + 1, 0);
    Centesimi saldo = scalare.saldoPartenza;

    scalare.trimestri.resize(static_cast<std::size_t>(ultimo - primo + 1));
    for (std::size_t t = 0; t < scalare.trimestri.size(); ++t) {
        TrimestreScalare& q = scalare.trimestri[t];
        const int numero = primo + static_cast<int>(t);
        q.inizio = InizioTrimestre(numero);
        q.fine = FineTrimestre(numero);
        const year_month_day d{q.inizio};
        q.anno = static_cast<int>(d.year());
        q.trimestre = static_cast<int>((static_cast<unsigned>(d.month()) - 1) / 3 + 1);
        q.giorni = static_cast<int>((q.fine - q.inizio).count()) + 1;
    }

    for (const Movimento& m : movimenti) {
        const auto indice = (m.dataValuta - base).count();
        if (indice <= 0) {
            Somma(saldo, m.importo);
            continue;
        }
        if (indice > static_cast<std::int64_t>(n))
            continue;
        Somma(variazione[static_cast<std::size_t>(indice)], m.importo);
        TrimestreScalare& q = scalare.trimestri[static_cast<std::size_t>(NumeroTrimestre(m.dataValuta) - primo)];
        Somma(q.perClasse[IndiceClasse(m.classe)], m.importo);
        if (m.classe == ClasseMovimento::Ordinario && m.importo != 0) {
            const auto giorni = static_cast<std::int64_t>((m.dataValuta - m.dataContabile).count());
            const std::int64_t ritardo = m.importo > 0 ? giorni : -giorni;
            const Centesimi importo = m.importo > 0 ? m.importo : Opposto(m.importo);
            ++q.operazioni;
            Somma(q.giorniValuta, ritardo);
            Somma(q.giorniValutaPonderati, Prodotto(importo, ritardo));
            Somma(q.importiOperazioni, importo);
        }
    }

    const std::vector<PeriodoCoperto> coperti = PeriodiCoperti(movimenti, saldi);
    scalare.righe.reserve(n / 2 + scalare.trimestri.size());
    std::size_t giorno = 0;  // index of d in variazione; saldo is S(d)
    for (TrimestreScalare& q : scalare.trimestri) {
        q.saldoIniziale = saldo;
        q.primaRiga = scalare.righe.size();
        q.copertura = CoperturaDi(coperti, q.inizio, q.fine);
        q.fidoFine = FidoDel(condizioni, q.fine);
        q.condizioniInVigore = CondizioniDel(condizioni, q.fine) != nullptr;
        q.fidoVariato = FidoDel(condizioni, q.inizio - UnGiorno) != q.fidoFine;
        RigaScalare* riga = nullptr;
        for (sys_days d = q.inizio - UnGiorno; d < q.fine; d += UnGiorno) {
            const Centesimi fido = FidoDel(condizioni, d);
            q.fidoVariato = q.fidoVariato || fido != q.fidoFine;
            if (!riga || riga->saldo != saldo || riga->fido != fido) {
                scalare.righe.push_back({d, 0, saldo, fido, 0, 0, 0});
                riga = &scalare.righe.back();
            }
            ++riga->giorni;
            if (saldo < 0) {
                const Centesimi debito = Opposto(saldo);
                const Centesimi entro = std::min(debito, std::max<Centesimi>(fido, 0));
                const Centesimi oltre = debito - entro;
                Somma(q.numeriDebitoriEntroFido, entro);
                Somma(q.numeriDebitoriOltreFido, oltre);
                riga->numeriDebitoriEntroFido += entro;  // within the quarter's sums, which did not overflow
                riga->numeriDebitoriOltreFido += oltre;
                ++q.giorniADebito;
                if (debito > q.massimoScoperto) {
                    q.massimoScoperto = debito;
                    q.dataMassimoScoperto = d;
                }
                q.massimoOltreFido = std::max(q.massimoOltreFido, oltre);
            } else {
                Somma(q.numeriCreditori, saldo);
                riga->numeriCreditori += saldo;
            }
            Somma(saldo, variazione[++giorno]);
        }
        q.saldoFinale = saldo;
        q.righe = scalare.righe.size() - q.primaRiga;
    }
    return scalare;
}

Scalare CalcolaScalare(const std::vector<Movimento>& movimenti, const std::vector<SaldiEstratto>& saldi,
                       const CondizioniConto& condizioni)
{
    if (movimenti.empty() && saldi.empty())
        return {};
    sys_days dal = sys_days::max(), al = sys_days::min();
    const auto estendi = [&](sys_days a, sys_days b) {
        dal = std::min({dal, a, b});
        al = std::max({al, a, b});
    };
    for (const Movimento& m : movimenti)
        estendi(m.dataContabile, m.dataValuta);
    for (const SaldiEstratto& s : saldi)
        estendi(s.dataIniziale, s.dataFinale);
    return CalcolaScalare(movimenti, saldi, condizioni, dal, al);
}

FigureTrimestre FigureDelTrimestre(const TrimestreScalare& q)
{
    FigureTrimestre f;
    f.anno = q.anno;
    f.trimestre = q.trimestre;
    f.copertura = q.copertura;
    const FonteFigura movimenti = q.copertura == Copertura::Nessuna ? FonteFigura::Nessuna : FonteFigura::Movimenti;
    const auto euro = [&](std::int64_t centesimi) { return FiguraTrimestre{static_cast<double>(centesimi) / 100, movimenti}; };
    f.numeri = euro(q.numeriDebitori());
    f.interessi = euro(q.addebitato(ClasseMovimento::InteressiDebitori));
    f.commissioni = euro(q.addebitato(ClasseMovimento::CMS));
    f.cms = f.commissioni;
    f.spese = euro(q.addebitato(ClasseMovimento::Commissioni));
    f.massimoScoperto = euro(q.massimoScoperto);
    f.giorniValuta = {q.operazioni == 0 ? 0.0 : static_cast<double>(q.giorniValuta) / q.operazioni, movimenti};
    f.accordato = {static_cast<double>(q.fidoFine) / 100,
                   q.condizioniInVigore ? FonteFigura::Condizioni : FonteFigura::Nessuna};
    return f;
}

std::array<FigureTrimestre, 4> FigureAnno(const Scalare& scalare, int anno)
{
    std::array<FigureTrimestre, 4> figure;
    for (int t = 0; t < 4; ++t) {
        figure[static_cast<std::size_t>(t)].anno = anno;
        figure[static_cast<std::size_t>(t)].trimestre = t + 1;
    }
    for (const TrimestreScalare& q : scalare.trimestri)
        if (q.anno == anno)
            figure[static_cast<std::size_t>(q.trimestre - 1)] = FigureDelTrimestre(q);
    return figure;
}

std::vector<AnnoCoperto> AnniCoperti(const std::vector<Movimento>& movimenti, const std::vector<SaldiEstratto>& saldi)
{
    std::vector<AnnoCoperto> anni;
    const std::vector<PeriodoCoperto> coperti = PeriodiCoperti(movimenti, saldi);
    if (coperti.empty())
        return anni;
    const int primo = NumeroTrimestre(coperti.front().dal) / 4 * 4;
    const int ultimo = NumeroTrimestre(coperti.back().al);
    for (int numero = primo; numero <= ultimo; numero += 4) {
        AnnoCoperto a{static_cast<int>(year_month_day{InizioTrimestre(numero)}.year()), {}};
        bool qualcosa = false;
        for (int t = 0; t < 4; ++t) {
            a.trimestri[static_cast<std::size_t>(t)] = CoperturaDi(coperti, InizioTrimestre(numero + t), FineTrimestre(numero + t));
            qualcosa = qualcosa || a.trimestri[static_cast<std::size_t>(t)] != Copertura::Nessuna;
        }
        if (qualcosa)
            anni.push_back(a);
    }
    return anni;
}
