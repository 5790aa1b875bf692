#include "TracciatoConteggio.h"

#include "Dichiarazioni.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <type_traits>

using namespace basedati;

namespace {

constexpr std::chrono::sys_days OrigineOle{std::chrono::year{1899} / std::chrono::December / 30};

std::string N(const char* base, int i) { return base + std::to_string(i); }

double X(const Valore& v) { return std::get<double>(v); }
std::string T(const Valore& v) { return std::get<std::string>(v); }

using Leggi = std::function<Valore(const Documento&)>;
using Assegna = std::function<void(Documento&, const Valore&)>;

CampoConteggio Campo(std::string nome, Tipo tipo, Lettura lettura, Valore creazione, Leggi leggi, Assegna assegna)
{
    return {std::move(nome), tipo, lettura, std::move(creazione), std::move(leggi), std::move(assegna)};
}

// A field holding a number of the document, written and read as a double.
// `parte` gives the object that holds it, for a document or a const one.
template <typename Classe, typename Parte>
CampoConteggio Numero(std::string nome, Lettura lettura, double creazione, Parte parte, double (Classe::*leggi)() const,
                      void (Classe::*scrivi)(double))
{
    return Campo(
        std::move(nome), Tipo::Doppio, lettura, creazione,
        [parte, leggi](const Documento& d) { return Valore{(parte(d).*leggi)()}; },
        [parte, scrivi](Documento& d, const Valore& v) { (parte(d).*scrivi)(X(v)); });
}

// A description, written and read as text.
template <typename Parte>
CampoConteggio Descrizione(Parte parte)
{
    return Campo(
        "descrizione", Tipo::Testo, Lettura::Testo, std::string("Inserire descrizione"),
        [parte](const Documento& d) { return Valore{parte(d).Descrizione()}; },
        [parte](Documento& d, const Valore& v) { parte(d).setDescrizione(T(v)); });
}

Valore DataFacoltativa(const std::optional<std::chrono::sys_days>& d)
{
    return d ? Valore{DataOle(*d)} : Valore{Nullo{}};
}

std::optional<std::chrono::sys_days> DataFacoltativa(const Valore& v)
{
    if (std::holds_alternative<Nullo>(v))
        return std::nullopt;
    return DataDaOle(X(v));
}

// The current account, over four quarters: its one description lives in
// quarter 1.
TabellaConteggio Parametri()
{
    TabellaConteggio t{"parametri", false, {}};
    t.campi.push_back(Campo(
        "anno", Tipo::Intero, Lettura::Intero16, std::int64_t{2010},
        [](const Documento& d) { return Valore{std::int64_t{d.AnnoRiferimento()}}; },
        [](Documento& d, const Valore& v) { d.setAnnoRiferimento(X(v)); }));
    t.campi.push_back(Descrizione([](auto& d) -> auto& { return d.Trimestri(1); }));
    for (int q = 1; q <= 4; ++q) {
        const auto trimestre = [q](auto& d) -> auto& { return d.Trimestri(q); };
        t.campi.push_back(Numero(N("interessi", q), Lettura::Doppio, 0, trimestre, &BOX::Interessi, &BOX::setInteressi));
        t.campi.push_back(Numero(N("numeri", q), Lettura::Doppio, 0, trimestre, &BOX::Numeri, &BOX::setNumeri));
        t.campi.push_back(Numero(N("spese", q), Lettura::Doppio, 0, trimestre, &BOX::Spese, &BOX::setSpese));
        t.campi.push_back(
            Numero(N("giornivaluta", q), Lettura::Doppio, 0, trimestre, &BOX::GiorniValuta, &BOX::setGiorniValuta));
        t.campi.push_back(
            Numero(N("commissioni", q), Lettura::Doppio, 0, trimestre, &BOX::Commissioni, &BOX::setCommissioni));
        t.campi.push_back(Numero(N("accordato", q), Lettura::Doppio, 0, trimestre, &BOX::Accordato, &BOX::setAccordato));
        t.campi.push_back(Numero(N("cms", q), Lettura::Doppio, 0, trimestre, &BOX::CMS, &BOX::setCMS));
    }
    return t;
}

TabellaConteggio Mutuo_()
{
    const auto mutuo = [](auto& d) -> auto& { return d.MutuoCorrente(); };
    TabellaConteggio t{"mutuo", false, {}};
    t.campi.push_back(Descrizione(mutuo));
    t.campi.push_back(Numero("importo", Lettura::Doppio, 0, mutuo, &Mutuo::Importo, &Mutuo::setImporto));
    t.campi.push_back(Numero("oneri", Lettura::Doppio, 0, mutuo, &Mutuo::Oneri, &Mutuo::setOneri));
    t.campi.push_back(Numero("rata", Lettura::Doppio, 0, mutuo, &Mutuo::Rata, &Mutuo::setRata));
    t.campi.push_back(Numero("nrate", Lettura::Intero16, 1, mutuo, &Mutuo::NRate, &Mutuo::setNRate));
    t.campi.push_back(Numero("rateannuali", Lettura::Intero16, 12, mutuo, &Mutuo::RateAnnuali, &Mutuo::setRateAnnuali));
    return t;
}

// The ten dated cash flows, row r in the fields anno r, mese r, importo r, segno r.
TabellaConteggio Operazioni()
{
    TabellaConteggio t{"ope", false, {}};
    t.campi.push_back(Descrizione([](auto& d) -> auto& { return d.Operazioni(); }));
    for (int r = 1; r <= OPE::Righe; ++r) {
        t.campi.push_back(Campo(
            N("anno", r), Tipo::Lungo, Lettura::Intero32, std::int64_t{2010},
            [r](const Documento& d) { return Valore{std::int64_t{d.Operazioni().Anno(r)}}; },
            [r](Documento& d, const Valore& v) {
                d.Operazioni().setAnno(r, static_cast<std::int32_t>(std::get<std::int64_t>(v)));
            }));
        t.campi.push_back(Campo(
            N("mese", r), Tipo::Lungo, Lettura::Intero32, std::int64_t{1},
            [r](const Documento& d) { return Valore{std::int64_t{d.Operazioni().Mese(r)}}; },
            [r](Documento& d, const Valore& v) {
                d.Operazioni().setMese(r, static_cast<std::int32_t>(std::get<std::int64_t>(v)));
            }));
        t.campi.push_back(Campo(
            N("importo", r), Tipo::Doppio, Lettura::Doppio, 0.0,
            [r](const Documento& d) { return Valore{d.Operazioni().Importo(r)}; },
            [r](Documento& d, const Valore& v) { d.Operazioni().setImporto(r, X(v)); }));
        t.campi.push_back(Campo(
            N("segno", r), Tipo::Intero, Lettura::Intero16, std::int64_t{-1},
            [r](const Documento& d) { return Valore{std::int64_t{d.Operazioni().Segno(r)}}; },
            [r](Documento& d, const Valore& v) { d.Operazioni().setSegno(r, X(v)); }));
    }
    return t;
}

TabellaConteggio Breve()
{
    const auto breve = [](auto& d) -> auto& { return d.BreveCorrente(); };
    const Valore primoGennaio2010 = DataOle(std::chrono::sys_days{std::chrono::year{2010} / 1 / 1});
    const auto data = [&](const char* nome, BREVE::Data (BREVE::*leggi)() const, void (BREVE::*scrivi)(BREVE::Data)) {
        return Campo(
            nome, Tipo::DataOra, Lettura::Data, primoGennaio2010,
            [leggi](const Documento& d) { return Valore{DataOle((d.BreveCorrente().*leggi)())}; },
            [scrivi](Documento& d, const Valore& v) { (d.BreveCorrente().*scrivi)(DataDaOle(X(v))); });
    };
    TabellaConteggio t{"breve", false, {}};
    t.campi.push_back(Descrizione(breve));
    t.campi.push_back(Numero("finanziato", Lettura::Doppio, 0, breve, &BREVE::Finanziato, &BREVE::setFinanziato));
    t.campi.push_back(Numero("restituito", Lettura::Doppio, 0, breve, &BREVE::Restituito, &BREVE::setRestituito));
    t.campi.push_back(data("data0", &BREVE::Data0, &BREVE::setData0));
    t.campi.push_back(data("data1", &BREVE::Data1, &BREVE::setData1));
    t.campi.push_back(Numero("oneri", Lettura::Doppio, 0, breve, &BREVE::Oneri, &BREVE::setOneri));
    return t;
}

// The usury check's choices, the quarters' maximum debit balances and the
// average CMS of their periods: a table of its own, so that the first four keep the layout other readers of these
// files know.
TabellaConteggio Verifica()
{
    using Testo = const std::string& (ParametriUsura::*)() const;
    using ScriviTesto = void (ParametriUsura::*)(std::string);
    const struct {
        const char* nome;
        Testo leggi;
        ScriviTesto scrivi;
    } testi[] = {
        {"categoriaconto", &ParametriUsura::CategoriaConto, &ParametriUsura::setCategoriaConto},
        {"classeconto", &ParametriUsura::ClasseConto, &ParametriUsura::setClasseConto},
        {"categoriamutuo", &ParametriUsura::CategoriaMutuo, &ParametriUsura::setCategoriaMutuo},
        {"classemutuo", &ParametriUsura::ClasseMutuo, &ParametriUsura::setClasseMutuo},
        {"categoriaoperazioni", &ParametriUsura::CategoriaOperazioni, &ParametriUsura::setCategoriaOperazioni},
        {"classeoperazioni", &ParametriUsura::ClasseOperazioni, &ParametriUsura::setClasseOperazioni},
        {"categoriabreve", &ParametriUsura::CategoriaBreve, &ParametriUsura::setCategoriaBreve},
        {"classebreve", &ParametriUsura::ClasseBreve, &ParametriUsura::setClasseBreve},
    };
    const ParametriUsura predefiniti;
    TabellaConteggio t{"verifica", true, {}};
    for (const auto& c : testi)
        t.campi.push_back(Campo(
            c.nome, Tipo::Testo, Lettura::Testo, (predefiniti.*c.leggi)(),
            [leggi = c.leggi](const Documento& d) { return Valore{(d.Usura().*leggi)()}; },
            [scrivi = c.scrivi](Documento& d, const Valore& v) { (d.Usura().*scrivi)(T(v)); }));
    t.campi.push_back(Campo(
        "datastipula", Tipo::DataOra, Lettura::DataFacoltativa, Nullo{},
        [](const Documento& d) { return DataFacoltativa(d.Usura().DataStipula()); },
        [](Documento& d, const Valore& v) { d.Usura().setDataStipula(DataFacoltativa(v)); }));
    t.campi.push_back(Campo(
        "dataoperazioni", Tipo::DataOra, Lettura::DataFacoltativa, Nullo{},
        [](const Documento& d) { return DataFacoltativa(d.Usura().DataOperazioni()); },
        [](Documento& d, const Valore& v) { d.Usura().setDataOperazioni(DataFacoltativa(v)); }));
    for (int q = 1; q <= 4; ++q)
        t.campi.push_back(Numero(N("massimoscoperto", q), Lettura::Saldo, 0,
                                 [q](auto& d) -> auto& { return d.Trimestri(q); }, &BOX::MassimoScoperto,
                                 &BOX::setMassimoScoperto));
    // The average CMS of each quarter's period, as a fraction (0 = not
    // given); added after the table: older files have none.
    for (int q = 1; q <= 4; ++q) {
        CampoConteggio c = Campo(
            N("cmsmedia", q), Tipo::Doppio, Lettura::Saldo, 0.0,
            [q](const Documento& d) { return Valore{d.Usura().CMSMedia(q).value_or(0)}; },
            [q](Documento& d, const Valore& v) { d.Usura().setCMSMedia(q, X(v)); });
        c.facoltativo = true;
        t.campi.push_back(std::move(c));
    }
    return t;
}

// ---------------------------------------------------------------- the account

std::int64_t I(const Valore& v) { return std::get<std::int64_t>(v); }

// A small whole number read back (Intero16, as a double) standing for one of
// the values 0..massimo of an enumeration; any other is refused.
template <typename E>
E Enumerato(const Valore& v, int massimo, const char* cosa)
{
    const double x = X(v);
    if (!(x >= 0 && x <= massimo))
        throw std::out_of_range(std::string(cosa) + " fuori dall'intervallo da 0 a " + std::to_string(massimo));
    return static_cast<E>(static_cast<int>(x));
}

template <typename E>
Valore NumeroDi(E e) { return Valore{std::int64_t{static_cast<int>(e)}}; }

// The account's particulars and the client's authorisation to debit the
// yearly interest: one row.
TabellaConteggio Conto()
{
    using Testo = std::string DatiConto::*;
    const std::pair<const char*, Testo> testi[] = {
        {"intestatario", &DatiConto::intestatario}, {"banca", &DatiConto::banca}, {"iban", &DatiConto::iban},
        {"abi", &DatiConto::abi}, {"cab", &DatiConto::cab}, {"numero", &DatiConto::numero},
        {"divisa", &DatiConto::divisa}};
    const DatiConto nuovo;
    TabellaConteggio t{"conto", true, {}};
    for (const auto& [nome, membro] : testi)
        t.campi.push_back(Campo(
            nome, Tipo::Testo, Lettura::Testo, nuovo.*membro,
            [membro](const Documento& d) { return Valore{d.ContoCorrente().conto.*membro}; },
            [membro](Documento& d, const Valore& v) { d.ContoCorrente().conto.*membro = T(v); }));
    t.campi.push_back(Campo(
        "autorizzazioneaddebito", Tipo::DataOra, Lettura::DataFacoltativa, Nullo{},
        [](const Documento& d) { return DataFacoltativa(d.ContoCorrente().condizioni.autorizzazioneAddebito); },
        [](Documento& d, const Valore& v) {
            d.ContoCorrente().condizioni.autorizzazioneAddebito = DataFacoltativa(v);
        }));
    return t;
}

// Where the reference year's quarter figures came from ("Calcola trimestri
// dai movimenti"): the year of the scale, then for each quarter its coverage,
// whether it was filled and the source of each of its eight figures.
TabellaConteggio Origini()
{
    const auto origini = [](auto& d) -> auto& { return d.ContoCorrente().origini; };
    TabellaConteggio t{"origini", true, {}};
    t.campi.push_back(Campo(
        "anno", Tipo::Lungo, Lettura::Intero32, std::int64_t{0},
        [origini](const Documento& d) { return Valore{std::int64_t{origini(d).anno}}; },
        [origini](Documento& d, const Valore& v) { origini(d).anno = static_cast<int>(I(v)); }));
    const char* const campi[CampiTrimestre] = {"numeri", "interessi", "commissioni",  "spese",
                                               "giornivaluta", "cms", "accordato", "massimoscoperto"};
    for (int q = 1; q <= 4; ++q) {
        const auto trimestre = [origini, q](auto& d) -> auto& {
            return origini(d).trimestri[static_cast<std::size_t>(q - 1)];
        };
        t.campi.push_back(Campo(
            N("copertura", q), Tipo::Intero, Lettura::Intero16, std::int64_t{0},
            [trimestre](const Documento& d) { return NumeroDi(trimestre(d).copertura); },
            [trimestre](Documento& d, const Valore& v) {
                trimestre(d).copertura = Enumerato<Copertura>(v, static_cast<int>(Copertura::Completa), "copertura");
            }));
        t.campi.push_back(Campo(
            N("riempito", q), Tipo::Intero, Lettura::Intero16, std::int64_t{0},
            [trimestre](const Documento& d) { return Valore{std::int64_t{trimestre(d).riempito ? 1 : 0}}; },
            [trimestre](Documento& d, const Valore& v) { trimestre(d).riempito = Enumerato<int>(v, 1, "riempito") == 1; }));
        for (std::size_t k = 0; k < CampiTrimestre; ++k)
            t.campi.push_back(Campo(
                N((std::string("fonte") + campi[k]).c_str(), q), Tipo::Intero, Lettura::Intero16, std::int64_t{0},
                [trimestre, k](const Documento& d) { return NumeroDi(trimestre(d).fonti[k]); },
                [trimestre, k](Documento& d, const Valore& v) {
                    trimestre(d).fonti[k] =
                        Enumerato<FonteFigura>(v, static_cast<int>(FonteFigura::Condizioni), "fonte");
                }));
    }
    return t;
}

// A field of element i of a list of the document: `lista` gives the list of
// a document (const or not), `leggi` the value of an element, `scrivi`
// assigns one.
template <typename Lista, typename Leggi, typename Scrivi>
CampoElenco CampoDi(Lista lista, std::string nome, Tipo tipo, Lettura lettura, Leggi leggi, Scrivi scrivi)
{
    return {std::move(nome), tipo, lettura,
            [lista, leggi](const Documento& d, std::size_t i) { return Valore{leggi(lista(d)[i])}; },
            [lista, scrivi](Documento& d, std::size_t i, const Valore& v) { scrivi(lista(d)[i], v); }};
}

template <typename Lista>
ElencoConteggio Elenco(std::string nome, Lista lista, std::vector<CampoElenco> campi)
{
    return {std::move(nome), std::move(campi), [lista](const Documento& d) { return lista(d).size(); },
            [lista](Documento& d, std::size_t n) {
                lista(d).clear();
                lista(d).resize(n);
            },
            [lista](Documento& d, const Documento& nuovo) { lista(d) = lista(nuovo); }};
}

template <typename Lista, typename Elemento>
CampoElenco Giorno(Lista lista, std::string nome, std::chrono::sys_days Elemento::*membro)
{
    return CampoDi(
        lista, std::move(nome), Tipo::DataOra, Lettura::Data, [membro](const Elemento& e) { return DataOle(e.*membro); },
        [membro](Elemento& e, const Valore& v) { e.*membro = DataDaOle(X(v)); });
}

template <typename Lista, typename Elemento>
CampoElenco GiornoFacoltativo(Lista lista, std::string nome, std::optional<std::chrono::sys_days> Elemento::*membro)
{
    return CampoDi(
        lista, std::move(nome), Tipo::DataOra, Lettura::DataFacoltativa,
        [membro](const Elemento& e) { return DataFacoltativa(e.*membro); },
        [membro](Elemento& e, const Valore& v) { e.*membro = DataFacoltativa(v); });
}

template <typename Lista, typename Elemento>
CampoElenco Importo(Lista lista, std::string nome, Centesimi Elemento::*membro)
{
    return CampoDi(
        lista, std::move(nome), Tipo::Lungo, Lettura::Intero64, [membro](const Elemento& e) { return e.*membro; },
        [membro](Elemento& e, const Valore& v) { e.*membro = I(v); });
}

template <typename Lista, typename Elemento>
CampoElenco TestoDi(Lista lista, std::string nome, std::string Elemento::*membro)
{
    return CampoDi(
        lista, std::move(nome), Tipo::Testo, Lettura::Testo, [membro](const Elemento& e) { return e.*membro; },
        [membro](Elemento& e, const Valore& v) { e.*membro = T(v); });
}

template <typename Lista, typename Elemento>
CampoElenco RigaDi(Lista lista, std::string nome, int Elemento::*membro)
{
    return CampoDi(
        lista, std::move(nome), Tipo::Lungo, Lettura::Intero32,
        [membro](const Elemento& e) { return std::int64_t{e.*membro}; },
        [membro](Elemento& e, const Valore& v) { e.*membro = static_cast<int>(I(v)); });
}

template <typename Lista, typename Elemento, typename E>
CampoElenco EnumeratoDi(Lista lista, std::string nome, E Elemento::*membro, int massimo)
{
    return CampoDi(
        lista, nome, Tipo::Intero, Lettura::Intero16, [membro](const Elemento& e) { return NumeroDi(e.*membro); },
        [membro, massimo, nome](Elemento& e, const Valore& v) { e.*membro = Enumerato<E>(v, massimo, nome.c_str()); });
}

template <typename Lista, typename Elemento>
CampoElenco TassoDi(Lista lista, std::string nome, double Elemento::*membro)
{
    return CampoDi(
        lista, std::move(nome), Tipo::Doppio, Lettura::Doppio, [membro](const Elemento& e) { return e.*membro; },
        [membro](Elemento& e, const Valore& v) { e.*membro = X(v); });
}

constexpr int UltimaClasse = static_cast<int>(ClasseMovimento::Imposte);

ElencoConteggio Movimenti()
{
    const auto lista = [](auto& d) -> auto& { return d.ContoCorrente().movimenti; };
    return Elenco("movimenti", lista,
                  {Giorno(lista, "datacontabile", &Movimento::dataContabile),
                   Giorno(lista, "datavaluta", &Movimento::dataValuta), Importo(lista, "importo", &Movimento::importo),
                   TestoDi(lista, "causalecbi", &Movimento::causaleCBI),
                   TestoDi(lista, "causalebanca", &Movimento::causaleBanca),
                   TestoDi(lista, "descrizione", &Movimento::descrizione),
                   EnumeratoDi(lista, "classe", &Movimento::classe, UltimaClasse),
                   CampoDi(
                       lista, "regola", Tipo::Lungo, Lettura::Intero32,
                       [](const Movimento& m) { return std::int64_t{m.regolaClasse}; },
                       [](Movimento& m, const Valore& v) {
                           if (I(v) < ClasseAMano)
                               throw std::out_of_range("regola della classe fuori dall'intervallo");
                           m.regolaClasse = static_cast<int>(I(v));
                       }),
                   TestoDi(lista, "file", &Movimento::file), RigaDi(lista, "riga", &Movimento::riga)});
}

ElencoConteggio Saldi()
{
    const auto lista = [](auto& d) -> auto& { return d.ContoCorrente().saldi; };
    return Elenco("saldi", lista,
                  {Giorno(lista, "datainiziale", &SaldiEstratto::dataIniziale),
                   Importo(lista, "saldoiniziale", &SaldiEstratto::saldoIniziale),
                   Giorno(lista, "datafinale", &SaldiEstratto::dataFinale),
                   Importo(lista, "saldofinale", &SaldiEstratto::saldoFinale),
                   TestoDi(lista, "file", &SaldiEstratto::file), RigaDi(lista, "riga", &SaldiEstratto::riga)});
}

ElencoConteggio Condizioni()
{
    using C = CondizioniPeriodo;
    const auto lista = [](auto& d) -> auto& { return d.ContoCorrente().condizioni.periodi; };
    return Elenco(
        "condizioni", lista,
        {Giorno(lista, "dal", &C::dal), Importo(lista, "accordato", &C::accordato),
         TassoDi(lista, "tassodebitore", &C::tassoDebitore),
         TassoDi(lista, "tassooltrefido", &C::tassoDebitoreOltreFido),
         TassoDi(lista, "tassocreditore", &C::tassoCreditore), TassoDi(lista, "percentualecms", &C::percentualeCMS),
         EnumeratoDi(lista, "basecms", &C::baseCMS, static_cast<int>(BaseCMS::Accordato)),
         Importo(lista, "spesefisse", &C::speseFisse),
         EnumeratoDi(lista, "liquidazione", &C::liquidazione, static_cast<int>(Liquidazione::Annuale)),
         EnumeratoDi(lista, "divisore", &C::divisore, static_cast<int>(Divisore::Commerciale)),
         GiornoFacoltativo(lista, "tassipattuiti", &C::tassiPattuiti),
         CampoDi(
             lista, "usipiazza", Tipo::Intero, Lettura::Intero16,
             [](const C& c) { return std::int64_t{c.usiPiazza ? 1 : 0}; },
             [](C& c, const Valore& v) { c.usiPiazza = Enumerato<int>(v, 1, "usipiazza") == 1; }),
         GiornoFacoltativo(lista, "capitalizzazione", &C::capitalizzazionePattuita),
         GiornoFacoltativo(lista, "cmspattuita", &C::cmsPattuita),
         GiornoFacoltativo(lista, "commissionipattuite", &C::commissioniPattuite)});
}

std::string Unisci(const std::vector<std::string>& parti)
{
    std::string s;
    for (const std::string& p : parti)
        s += (s.empty() ? "" : ";") + p;
    return s;
}

std::vector<std::string> Separa(const std::string& s)
{
    std::vector<std::string> parti;
    std::size_t inizio = 0;
    while (!s.empty()) {
        const std::size_t fine = s.find(';', inizio);
        parti.push_back(s.substr(inizio, fine == std::string::npos ? std::string::npos : fine - inizio));
        if (fine == std::string::npos)
            break;
        inizio = fine + 1;
    }
    return parti;
}

// The rules that class the movements, in their order; causali and words
// joined by ';', which no rule may hold.
ElencoConteggio Regole()
{
    const auto lista = [](auto& d) -> auto& { return d.ContoCorrente().regole; };
    const auto elenco = [lista](const char* nome, std::vector<std::string> RegolaClasse::*membro) {
        return CampoDi(
            lista, nome, Tipo::Testo, Lettura::Testo, [membro](const RegolaClasse& r) { return Unisci(r.*membro); },
            [membro](RegolaClasse& r, const Valore& v) { r.*membro = Separa(T(v)); });
    };
    return Elenco("regole", lista,
                  {elenco("causali", &RegolaClasse::causali), elenco("parole", &RegolaClasse::parole),
                   EnumeratoDi(lista, "segno", &RegolaClasse::segno, static_cast<int>(SegnoRegola::Accredito)),
                   EnumeratoDi(lista, "classe", &RegolaClasse::classe, UltimaClasse)});
}

// ---------------------------------------------------------------- the loan's contract

// A yes/no kept as 0 or 1.
bool SiNo(const Valore& v, const char* cosa) { return Enumerato<int>(v, 1, cosa) == 1; }
Valore SiNo(bool b) { return Valore{std::int64_t{b ? 1 : 0}}; }

// The mortgage's contract data beside its amount, instalment and count: one
// row, in a table of its own so that the mortgage's table keeps its layout.
TabellaConteggio Contratto()
{
    const auto intero = [](const char* nome, auto leggi, auto assegna) {
        return Campo(nome, Tipo::Intero, Lettura::Intero16, std::int64_t{0}, leggi, assegna);
    };
    const auto doppio = [](const char* nome, auto leggi, auto assegna) {
        return Campo(nome, Tipo::Doppio, Lettura::Doppio, 0.0, leggi, assegna);
    };
    const auto data = [](const char* nome, auto leggi, auto assegna) {
        return Campo(nome, Tipo::DataOra, Lettura::DataFacoltativa, Nullo{}, leggi, assegna);
    };
    using D = const Documento&;
    TabellaConteggio t{"contratto", true, {}};
    t.campi = {
        data("dataprimarata", [](D d) { return DataFacoltativa(d.Contratto().dataPrimaRata); },
             [](Documento& d, const Valore& v) { d.Contratto().dataPrimaRata = DataFacoltativa(v); }),
        doppio("tan", [](D d) { return Valore{d.Contratto().tan}; },
               [](Documento& d, const Valore& v) { d.Contratto().tan = X(v); }),
        intero("basetan", [](D d) { return NumeroDi(d.Contratto().base); },
               [](Documento& d, const Valore& v) {
                   d.Contratto().base = Enumerato<BaseTan>(v, static_cast<int>(BaseTan::Effettivi360), "basetan");
               }),
        intero("metodo", [](D d) { return NumeroDi(d.Contratto().metodo); },
               [](Documento& d, const Valore& v) {
                   d.Contratto().metodo =
                       Enumerato<MetodoAmmortamento>(v, static_cast<int>(MetodoAmmortamento::Bullet), "metodo");
               }),
        Campo("preammortamento", Tipo::Lungo, Lettura::Intero32, std::int64_t{0},
              [](D d) { return Valore{std::int64_t{d.Contratto().giorniPreammortamento}}; },
              [](Documento& d, const Valore& v) { d.Contratto().giorniPreammortamento = static_cast<int>(I(v)); }),
        intero("taegindicato", [](D d) { return SiNo(d.Contratto().taegDichiarato.has_value()); },
               [](Documento& d, const Valore& v) {
                   if (SiNo(v, "taegindicato"))
                       d.Contratto().taegDichiarato = d.Contratto().taegDichiarato.value_or(0);
                   else
                       d.Contratto().taegDichiarato.reset();
               }),
        // Read after taegindicato: given only when that says so.
        doppio("taeg", [](D d) { return Valore{d.Contratto().taegDichiarato.value_or(0)}; },
               [](Documento& d, const Valore& v) {
                   if (d.Contratto().taegDichiarato)
                       d.Contratto().taegDichiarato = X(v);
               }),
        intero("moratipo", [](D d) { return NumeroDi(d.Contratto().mora.tipo); },
               [](Documento& d, const Valore& v) {
                   d.Contratto().mora.tipo = Enumerato<TipoMora>(v, static_cast<int>(TipoMora::Fisso), "moratipo");
               }),
        doppio("moravalore", [](D d) { return Valore{d.Contratto().mora.valore}; },
               [](Documento& d, const Valore& v) { d.Contratto().mora.valore = X(v); }),
        intero("estinzione", [](D d) { return SiNo(d.Contratto().estinzione.considerata); },
               [](Documento& d, const Valore& v) { d.Contratto().estinzione.considerata = SiNo(v, "estinzione"); }),
        intero("penaletipo", [](D d) { return NumeroDi(d.Contratto().estinzione.tipo); },
               [](Documento& d, const Valore& v) {
                   d.Contratto().estinzione.tipo =
                       Enumerato<TipoPenale>(v, static_cast<int>(TipoPenale::Fissa), "penaletipo");
               }),
        doppio("penalevalore", [](D d) { return Valore{d.Contratto().estinzione.valore}; },
               [](Documento& d, const Valore& v) { d.Contratto().estinzione.valore = X(v); }),
        data("dataestinzione", [](D d) { return DataFacoltativa(d.Contratto().estinzione.data); },
             [](Documento& d, const Valore& v) { d.Contratto().estinzione.data = DataFacoltativa(v); }),
    };
    return t;
}

// The contract's costs, in their order.
ElencoConteggio Costi()
{
    const auto lista = [](auto& d) -> auto& { return d.Contratto().costi; };
    return Elenco("costi", lista,
                  {TestoDi(lista, "descrizione", &CostoMutuo::descrizione),
                   EnumeratoDi(lista, "tipo", &CostoMutuo::tipo, static_cast<int>(TipoCosto::Altro)),
                   TassoDi(lista, "importo", &CostoMutuo::importo),
                   EnumeratoDi(lista, "pagamento", &CostoMutuo::pagamento, static_cast<int>(PagamentoCosto::AllaData)),
                   GiornoFacoltativo(lista, "data", &CostoMutuo::data),
                   CampoDi(
                       lista, "neltasso", Tipo::Intero, Lettura::Intero16,
                       [](const CostoMutuo& c) { return std::int64_t{c.nelTasso ? 1 : 0}; },
                       [](CostoMutuo& c, const Valore& v) { c.nelTasso = SiNo(v, "neltasso"); }),
                   TestoDi(lista, "motivo", &CostoMutuo::motivo)});
}

// ---------------------------------------------------------------- the recalculation

// The recalculation's choices and dates: one row. Each choice is the number
// of its value in the order OpzioniRicalcoloDisponibili lists them.
TabellaConteggio Ricalcolo_()
{
    const OpzioniRicalcolo nuove;
    TabellaConteggio t{"ricalcolo", true, {}};
    const auto scelta = [&t, &nuove](const char* nome, auto OpzioniRicalcolo::*membro) {
        using E = std::remove_cvref_t<decltype(nuove.*membro)>;
        t.campi.push_back(Campo(
            nome, Tipo::Intero, Lettura::Intero16, NumeroDi(nuove.*membro),
            [membro](const Documento& d) { return NumeroDi(d.ContoCorrente().ricalcolo.*membro); },
            [membro, nome](Documento& d, const Valore& v) {
                d.ContoCorrente().ricalcolo.*membro = static_cast<E>(Enumerato<int>(v, 1, nome));
            }));
    };
    scelta("saldoiniziale", &OpzioniRicalcolo::saldoIniziale);
    scelta("tassosostitutivo", &OpzioniRicalcolo::tassoSostitutivo);
    scelta("gratuita", &OpzioniRicalcolo::gratuita);
    scelta("gratuitacommissioni", &OpzioniRicalcolo::gratuitaAncheCommissioni);
    scelta("ante2000", &OpzioniRicalcolo::ante2000);
    scelta("adeguamento2000", &OpzioniRicalcolo::adeguamento2000);
    scelta("dal2014", &OpzioniRicalcolo::dal2014);
    scelta("date", &OpzioniRicalcolo::date);
    const auto data = [&t](const char* nome, std::optional<std::chrono::sys_days> OpzioniRicalcolo::*membro) {
        t.campi.push_back(Campo(
            nome, Tipo::DataOra, Lettura::DataFacoltativa, Nullo{},
            [membro](const Documento& d) { return DataFacoltativa(d.ContoCorrente().ricalcolo.*membro); },
            [membro](Documento& d, const Valore& v) { d.ContoCorrente().ricalcolo.*membro = DataFacoltativa(v); }));
    };
    data("attointerruttivo", &OpzioniRicalcolo::attoInterruttivo);
    data("chiusuraconto", &OpzioniRicalcolo::chiusuraConto);
    return t;
}

// The substitute rates of art. 117 c. 7 TUB typed by year, in their order.
ElencoConteggio TassiBOT_()
{
    const auto lista = [](auto& d) -> auto& { return d.ContoCorrente().ricalcolo.tassiBOT; };
    return Elenco("tassibot", lista,
                  {RigaDi(lista, "anno", &TassiBOT::anno), TassoDi(lista, "minimo", &TassiBOT::minimo),
                   TassoDi(lista, "massimo", &TassiBOT::massimo)});
}

} // namespace

double DataOle(std::chrono::sys_days d)
{
    return static_cast<double>((d - OrigineOle).count());
}

std::chrono::sys_days DataDaOle(double giorni)
{
    return OrigineOle + std::chrono::days{static_cast<int>(giorni)};
}

const std::vector<TabellaConteggio>& TracciatoConteggio()
{
    static const std::vector<TabellaConteggio> tabelle = {Parametri(), Mutuo_(), Operazioni(), Breve(), Verifica(),
                                                          Conto(), Contratto(), Origini(),
                                                          Ricalcolo_()};
    return tabelle;
}

const std::vector<ElencoConteggio>& ElenchiConteggio()
{
    static const std::vector<ElencoConteggio> elenchi = {Movimenti(), Saldi(), Condizioni(), Regole(),
                                                        Costi(), TassiBOT_()};
    return elenchi;
}
