#include "TracciatoConteggio.h"

#include "Dichiarazioni.h"

#include <array>
#include <cstdint>
#include <optional>

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

// The usury check's choices and the quarters' maximum debit balances: a table
// of its own, so that the first four keep the layout other readers of these
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
    return t;
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
    static const std::vector<TabellaConteggio> tabelle = {Parametri(), Mutuo_(), Operazioni(), Breve(), Verifica()};
    return tabelle;
}
