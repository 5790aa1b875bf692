#include "Archivio.h"

#include "BaseDati.h"
#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Messaggi.h"
#include "ParametriUsura.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <type_traits>
#include <limits>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace basedati;

namespace {

// ---------------------------------------------------------------------------
// The layout of a calculation file.

const char* const Tabelle[] = {"parametri", "mutuo", "ope", "breve"};
const char* const CampiTrimestre[] = {"interessi", "numeri", "spese", "giornivaluta", "commissioni", "accordato", "cms"};

std::string N(const char* base, int i)
{
    return base + std::to_string(i);
}

// The usury check's choices and the quarters' maximum debit balances: a table
// of its own, so that parametri, mutuo, ope and breve keep the layout other
// readers of these files know. A file without it is an older file, not a damaged one.
const char* const TabellaVerifica = "verifica";
const char* const CampiCategoria[] = {"categoriaconto",      "classeconto",      "categoriamutuo",
                                      "classemutuo",         "categoriaoperazioni", "classeoperazioni",
                                      "categoriabreve",      "classebreve"};

DefinizioneTabella SchemaVerifica()
{
    DefinizioneTabella v = BaseDati::CreaDefinizioneTabella(TabellaVerifica);
    for (const char* c : CampiCategoria)
        v.AggiungiCampo(DefinizioneTabella::CreaCampo(c, Tipo::Testo));
    v.AggiungiCampo(DefinizioneTabella::CreaCampo("datastipula", Tipo::DataOra));
    v.AggiungiCampo(DefinizioneTabella::CreaCampo("dataoperazioni", Tipo::DataOra));
    for (int q = 1; q <= 4; ++q)
        v.AggiungiCampo(DefinizioneTabella::CreaCampo(N("massimoscoperto", q), Tipo::Doppio));
    return v;
}

std::vector<DefinizioneTabella> Schema()
{
    std::vector<DefinizioneTabella> s;

    DefinizioneTabella p = BaseDati::CreaDefinizioneTabella("parametri");
    p.AggiungiCampo(DefinizioneTabella::CreaCampo("anno", Tipo::Intero));
    p.AggiungiCampo(DefinizioneTabella::CreaCampo("descrizione", Tipo::Testo));
    for (int q = 1; q <= 4; ++q)
        for (const char* c : CampiTrimestre)
            p.AggiungiCampo(DefinizioneTabella::CreaCampo(N(c, q), Tipo::Doppio));
    s.push_back(std::move(p));

    DefinizioneTabella m = BaseDati::CreaDefinizioneTabella("mutuo");
    m.AggiungiCampo(DefinizioneTabella::CreaCampo("descrizione", Tipo::Testo));
    for (const char* c : {"importo", "oneri", "rata", "nrate", "rateannuali"})
        m.AggiungiCampo(DefinizioneTabella::CreaCampo(c, Tipo::Doppio));
    s.push_back(std::move(m));

    DefinizioneTabella o = BaseDati::CreaDefinizioneTabella("ope");
    o.AggiungiCampo(DefinizioneTabella::CreaCampo("descrizione", Tipo::Testo));
    for (int r = 1; r <= OPE::Righe; ++r) {
        o.AggiungiCampo(DefinizioneTabella::CreaCampo(N("anno", r), Tipo::Lungo));
        o.AggiungiCampo(DefinizioneTabella::CreaCampo(N("mese", r), Tipo::Lungo));
        o.AggiungiCampo(DefinizioneTabella::CreaCampo(N("importo", r), Tipo::Doppio));
        o.AggiungiCampo(DefinizioneTabella::CreaCampo(N("segno", r), Tipo::Intero));
    }
    s.push_back(std::move(o));

    DefinizioneTabella b = BaseDati::CreaDefinizioneTabella("breve");
    b.AggiungiCampo(DefinizioneTabella::CreaCampo("descrizione", Tipo::Testo));
    b.AggiungiCampo(DefinizioneTabella::CreaCampo("finanziato", Tipo::Doppio));
    b.AggiungiCampo(DefinizioneTabella::CreaCampo("restituito", Tipo::Doppio));
    b.AggiungiCampo(DefinizioneTabella::CreaCampo("data0", Tipo::DataOra));
    b.AggiungiCampo(DefinizioneTabella::CreaCampo("data1", Tipo::DataOra));
    b.AggiungiCampo(DefinizioneTabella::CreaCampo("oneri", Tipo::Doppio));
    s.push_back(std::move(b));

    s.push_back(SchemaVerifica());
    return s;
}

// Dates travel as OLE Automation dates: days since 30 December 1899. The
// accepted range is that of such dates, 1 January 100 to 31 December 9999.
constexpr std::chrono::sys_days OrigineOle{std::chrono::year{1899} / std::chrono::December / 30};
constexpr double PrimoGiornoOle = -657434;   // 1 January 100
constexpr double UltimoGiornoOle = 2958465;  // 31 December 9999

double DataOle(std::chrono::sys_days d)
{
    return static_cast<double>((d - OrigineOle).count());
}

// The values of the rows, by table and field, in the order of assignment.
// The same list serves creation and saving.
struct Riga {
    const char* tabella;
    std::vector<std::pair<std::string, Valore>> valori;
};

// The categories and classes in the order of CampiCategoria.
std::array<std::string, 8> TestiUsura(const ParametriUsura& u)
{
    return {u.CategoriaConto(),      u.ClasseConto(),      u.CategoriaMutuo(), u.ClasseMutuo(),
            u.CategoriaOperazioni(), u.ClasseOperazioni(), u.CategoriaBreve(), u.ClasseBreve()};
}

// An optional date: Null when not given.
Valore DataFacoltativa(const std::optional<std::chrono::sys_days>& d)
{
    return d ? Valore{DataOle(*d)} : Valore{Nullo{}};
}

Riga ValoriVerifica(const ParametriUsura& u, const std::array<double, 4>& massimi)
{
    Riga r;
    r.tabella = TabellaVerifica;
    const std::array<std::string, 8> testi = TestiUsura(u);
    for (std::size_t i = 0; i < testi.size(); ++i)
        r.valori.emplace_back(CampiCategoria[i], testi[i]);
    r.valori.emplace_back("datastipula", DataFacoltativa(u.DataStipula()));
    r.valori.emplace_back("dataoperazioni", DataFacoltativa(u.DataOperazioni()));
    for (int q = 1; q <= 4; ++q)
        r.valori.emplace_back(N("massimoscoperto", q), massimi[static_cast<std::size_t>(q - 1)]);
    return r;
}

std::vector<Riga> ValoriCreazione()
{
    const std::string d = "Inserire descrizione";
    const double primoGennaio2010 = DataOle(std::chrono::sys_days{std::chrono::year{2010} / 1 / 1});
    std::vector<Riga> r(4);
    r[0].tabella = "parametri";
    r[0].valori = {{"anno", std::int64_t{2010}}, {"descrizione", d}};
    for (int q = 1; q <= 4; ++q)
        for (const char* c : {"interessi", "numeri", "spese", "commissioni", "giornivaluta", "accordato", "cms"})
            r[0].valori.emplace_back(N(c, q), 0.0);
    r[1].tabella = "mutuo";
    r[1].valori = {{"descrizione", d}, {"importo", 0.0}, {"oneri", 0.0},
                   {"rata", 0.0},      {"nrate", 1.0},   {"rateannuali", 12.0}};
    r[2].tabella = "ope";
    r[2].valori = {{"descrizione", d}};
    for (int k = 1; k <= OPE::Righe; ++k) {
        r[2].valori.emplace_back(N("anno", k), std::int64_t{2010});
        r[2].valori.emplace_back(N("mese", k), std::int64_t{1});
        r[2].valori.emplace_back(N("importo", k), 0.0);
        r[2].valori.emplace_back(N("segno", k), std::int64_t{-1});
    }
    r[3].tabella = "breve";
    r[3].valori = {{"descrizione", d}, {"data0", primoGennaio2010}, {"data1", primoGennaio2010},
                   {"finanziato", 0.0}, {"restituito", 0.0},        {"oneri", 0.0}};
    r.push_back(ValoriVerifica(ParametriUsura{}, {}));
    return r;
}

std::vector<Riga> ValoriDocumento(const Documento& doc)
{
    std::vector<Riga> r(4);
    r[0].tabella = "parametri";
    r[0].valori = {{"anno", std::int64_t{doc.AnnoRiferimento()}}, {"descrizione", doc.Trimestri(1).Descrizione()}};
    for (int q = 1; q <= 4; ++q) {
        const BOX& t = doc.Trimestri(q);
        r[0].valori.emplace_back(N("interessi", q), t.Interessi());
        r[0].valori.emplace_back(N("numeri", q), t.Numeri());
        r[0].valori.emplace_back(N("spese", q), t.Spese());
        r[0].valori.emplace_back(N("commissioni", q), t.Commissioni());
        r[0].valori.emplace_back(N("giornivaluta", q), t.GiorniValuta());
        r[0].valori.emplace_back(N("accordato", q), t.Accordato());
        r[0].valori.emplace_back(N("cms", q), t.CMS());
    }
    const Mutuo& m = doc.MutuoCorrente();
    r[1].tabella = "mutuo";
    r[1].valori = {{"descrizione", m.Descrizione()}, {"importo", m.Importo()}, {"oneri", m.Oneri()},
                   {"rata", m.Rata()},               {"nrate", m.NRate()},     {"rateannuali", m.RateAnnuali()}};
    const OPE& o = doc.Operazioni();
    r[2].tabella = "ope";
    r[2].valori = {{"descrizione", o.Descrizione()}};
    for (int k = 1; k <= OPE::Righe; ++k) {
        r[2].valori.emplace_back(N("anno", k), std::int64_t{o.Anno(k)});
        r[2].valori.emplace_back(N("mese", k), std::int64_t{o.Mese(k)});
        r[2].valori.emplace_back(N("importo", k), o.Importo(k));
        r[2].valori.emplace_back(N("segno", k), std::int64_t{o.Segno(k)});
    }
    const BREVE& b = doc.BreveCorrente();
    r[3].tabella = "breve";
    r[3].valori = {{"descrizione", b.Descrizione()}, {"data0", DataOle(b.Data0())},
                   {"data1", DataOle(b.Data1())},    {"finanziato", b.Finanziato()},
                   {"restituito", b.Restituito()},   {"oneri", b.Oneri()}};
    std::array<double, 4> massimi{};
    for (int q = 1; q <= 4; ++q)
        massimi[static_cast<std::size_t>(q - 1)] = doc.Trimestri(q).MassimoScoperto();
    r.push_back(ValoriVerifica(doc.Usura(), massimi));
    return r;
}

// ---------------------------------------------------------------------------
// Messages.

std::string Nome(const QString& nome)
{
    // A message quotes at most the start of a long name.
    return "\u00ab" + Citazione(nome, 60).toStdString() + "\u00bb";
}

std::string Percorso(const QString& p)
{
    return QDir::toNativeSeparators(p).toStdString();
}

// The Italian words for what the engine reports.
std::string CausaBaseDati(const ErroreBaseDati& e)
{
    switch (e.CodicePrimario()) {
    case SQLITE_NOTADB: return "non è un file di conteggio";
    case SQLITE_CORRUPT: return "il file è danneggiato";
    case SQLITE_FULL: return "il disco è pieno";
    case SQLITE_READONLY: return "il file o la cartella sono di sola lettura";
    case SQLITE_PERM:
    case SQLITE_AUTH: return "manca il permesso di accedere al file";
    case SQLITE_CANTOPEN: return "il file non si può aprire";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "il file è in uso da un altro programma";
    case SQLITE_IOERR: return "errore di lettura o scrittura sul disco";
    case SQLITE_NOMEM: return "memoria insufficiente";
    case SQLITE_TOOBIG: return "un valore è troppo grande";
    case SQLITE_ERROR: return "la struttura del file non è quella di un conteggio";
    default: return "errore del motore dei dati (codice " + std::to_string(e.CodicePrimario()) + ")";
    }
}

// The Italian words for what the operating system reports (an errno value).
std::string CausaSistema(int e)
{
    switch (e) {
    case ENAMETOOLONG: return "il nome è troppo lungo per un file";
    case EACCES:
    case EPERM: return "manca il permesso di scrivere nella cartella";
    case ENOSPC:
    case EDQUOT: return "il disco è pieno";
    case EROFS: return "il disco è di sola lettura";
    case ENOENT:
    case ENOTDIR: return "la cartella non esiste più";
    case EEXIST: return "esiste già un file con questo nome";
    case EIO: return "errore di lettura o scrittura sul disco";
    case EMFILE:
    case ENFILE: return "troppi file aperti";
    default: return "errore del sistema (codice " + std::to_string(e) + ")";
    }
}

std::string PercorsoNativo(const QString& p)
{
    return QFile::encodeName(p).toStdString();
}

// Refuses names that would reach outside the folder or that no file can
// carry.
void ControllaNome(const QString& nome, const char* azione)
{
    if (nome.isEmpty() || nome.contains(QLatin1Char('/')) || nome.contains(QChar(0)) ||
        nome == QLatin1String(".") || nome == QLatin1String(".."))
        throw ErroreConteggio(std::string("Impossibile ") + azione + " il conteggio " + Nome(nome) +
                              ": il nome non è valido per un file.");
    if (QFile::encodeName(nome).size() + 4 > 255)  // the file name, ".ccc" included
        throw ErroreConteggio(std::string("Impossibile ") + azione + " il conteggio " + Nome(nome) +
                              ": il nome è troppo lungo per un file.");
}

// ---------------------------------------------------------------------------
// Reading and checking a whole file.

struct DatiFile {
    double anno = 0;
    std::string descrizioneConto;
    std::array<std::array<double, 7>, 4> trimestri{};  // in the order of CampiTrimestre
    std::string descrizioneMutuo;
    double importo = 0, oneri = 0, rata = 0, nrate = 0, rateannuali = 0;
    std::string descrizioneOpe;
    std::array<std::int32_t, OPE::Righe> anni{}, mesi{};
    std::array<double, OPE::Righe> importi{}, segni{};
    std::string descrizioneBreve;
    double finanziato = 0, restituito = 0, oneriBreve = 0;
    std::chrono::sys_days data0{}, data1{};
    ParametriUsura usura;  // the defaults when the file has no table verifica
    std::array<double, 4> massimiScoperti{};
};

bool Utf8Valido(const std::string& s)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString testo = utf8(QByteArrayView(s.data(), static_cast<qsizetype>(s.size())));
    return !utf8.hasError();
}

// Reads the first row of each table of an open file, checking every value
// the document takes from it.
class Lettore {
public:
    Lettore(BaseDati& db, const QString& nome) : db_(db), nome_(nome) {}

    DatiFile Leggi()
    {
        // A file with none of the tables (an empty file is an empty
        // database) is not a calculation file at all.
        int presenti = 0;
        for (const char* t : Tabelle)
            presenti += db_.EsisteTabella(t) ? 1 : 0;
        if (presenti == 0)
            throw ErroreConteggio("Il file del conteggio " + Nome(nome_) + " non è un file di conteggio.");

        DatiFile d;
        {
            const Recordset rs = Apri("parametri");
            d.anno = Intero16(rs, "anno");
            d.descrizioneConto = Testo(rs, "descrizione");
            for (int q = 1; q <= 4; ++q)
                for (std::size_t c = 0; c < 7; ++c)
                    d.trimestri[static_cast<std::size_t>(q - 1)][c] = Doppio(rs, N(CampiTrimestre[c], q));
        }
        {
            const Recordset rs = Apri("mutuo");
            d.importo = Doppio(rs, "importo");
            d.oneri = Doppio(rs, "oneri");
            d.nrate = Intero16(rs, "nrate");
            d.rateannuali = Intero16(rs, "rateannuali");
            d.rata = Doppio(rs, "rata");
            d.descrizioneMutuo = Testo(rs, "descrizione");
        }
        {
            const Recordset rs = Apri("ope");
            d.descrizioneOpe = Testo(rs, "descrizione");
            for (int r = 1; r <= OPE::Righe; ++r) {
                const auto k = static_cast<std::size_t>(r - 1);
                d.anni[k] = Intero32(rs, N("anno", r));
                d.mesi[k] = Intero32(rs, N("mese", r));
                d.importi[k] = Doppio(rs, N("importo", r));
                d.segni[k] = Intero16(rs, N("segno", r));
            }
        }
        {
            const Recordset rs = Apri("breve");
            d.descrizioneBreve = Testo(rs, "descrizione");
            d.data0 = Data(rs, "data0");
            d.data1 = Data(rs, "data1");
            d.finanziato = Doppio(rs, "finanziato");
            d.restituito = Doppio(rs, "restituito");
            d.oneriBreve = Doppio(rs, "oneri");
        }
        if (db_.EsisteTabella(TabellaVerifica)) {
            const Recordset rs = Apri(TabellaVerifica);
            std::array<std::string, 8> t;
            for (std::size_t i = 0; i < t.size(); ++i)
                t[i] = Testo(rs, CampiCategoria[i]);
            ParametriUsura& u = d.usura;
            u.setCategoriaConto(t[0]);
            u.setClasseConto(t[1]);
            u.setCategoriaMutuo(t[2]);
            u.setClasseMutuo(t[3]);
            u.setCategoriaOperazioni(t[4]);
            u.setClasseOperazioni(t[5]);
            u.setCategoriaBreve(t[6]);
            u.setClasseBreve(t[7]);
            u.setDataStipula(DataFacoltativa(rs, "datastipula"));
            u.setDataOperazioni(DataFacoltativa(rs, "dataoperazioni"));
            for (int q = 1; q <= 4; ++q)
                d.massimiScoperti[static_cast<std::size_t>(q - 1)] = Saldo(rs, N("massimoscoperto", q));
        }
        return d;
    }

    // Checks that every table and field exists and every table has a row,
    // without looking at the values (saving overwrites them all).
    void ControllaStruttura()
    {
        for (const DefinizioneTabella& t : Schema()) {
            const Recordset rs = Apri(t.Nome());
            for (const Campo& c : t.Campi())
                Presente(rs, c.nome);
        }
    }

private:
    Recordset Apri(const std::string& tabella)
    {
        if (!db_.EsisteTabella(tabella))
            throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " manca la tabella \u00ab" + tabella +
                                  "\u00bb.");
        Recordset rs = db_.ApriRecordset(tabella);
        if (rs.FineFile())
            throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " la tabella \u00ab" + tabella +
                                  "\u00bb è vuota.");
        return rs;
    }

    std::string Dove(const Recordset& rs, const std::string& campo) const
    {
        return "il campo \u00ab" + campo + "\u00bb della tabella \u00ab" + rs.Tabella() + "\u00bb";
    }

    [[noreturn]] void NonValido(const Recordset& rs, const std::string& campo, const std::string& perche) const
    {
        throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " " + Dove(rs, campo) +
                              " contiene un valore non valido: " + perche + ".");
    }

    const Valore& Presente(const Recordset& rs, const std::string& campo) const
    {
        if (!rs.HaCampo(campo))
            throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " manca " + Dove(rs, campo) + ".");
        const Valore& v = rs.Leggi(campo);
        return v;
    }

    const Valore& NonNullo(const Recordset& rs, const std::string& campo) const
    {
        const Valore& v = Presente(rs, campo);
        if (std::holds_alternative<Nullo>(v))
            throw ErroreConteggio("Nel file del conteggio " + Nome(nome_) + " " + Dove(rs, campo) +
                                  " è vuoto (Null).");
        return v;
    }

    double Numero(const Recordset& rs, const std::string& campo) const
    {
        const Valore& v = NonNullo(rs, campo);
        if (const auto* i = std::get_if<std::int64_t>(&v))
            return static_cast<double>(*i);
        if (const auto* x = std::get_if<double>(&v))
            return *x;
        if (std::holds_alternative<std::string>(v))
            NonValido(rs, campo, "un testo al posto di un numero");
        NonValido(rs, campo, "dati binari al posto di un numero");
    }

    double Doppio(const Recordset& rs, const std::string& campo) const
    {
        const Valore& v = NonNullo(rs, campo);
        if (const auto* i = std::get_if<std::int64_t>(&v)) {
            // Beyond 2^53 an integer has no exact double.
            constexpr std::int64_t limite = std::int64_t{1} << 53;
            if (*i > limite || *i < -limite)
                NonValido(rs, campo, "intero troppo grande per un numero con la virgola");
        }
        return Numero(rs, campo);
    }

    // Integer and numbers of instalments: the 16-bit conversion of the
    // document, nearest integer with halves to even.
    double Intero16(const Recordset& rs, const std::string& campo) const
    {
        const double x = Numero(rs, campo);
        try {
            return ::Intero16(x);
        } catch (const std::exception&) {
            NonValido(rs, campo, "fuori dall'intervallo da -32768 a 32767");
        }
    }

    std::int32_t Intero32(const Recordset& rs, const std::string& campo) const
    {
        const Valore& v = NonNullo(rs, campo);
        if (const auto* i = std::get_if<std::int64_t>(&v)) {
            if (*i < std::numeric_limits<std::int32_t>::min() || *i > std::numeric_limits<std::int32_t>::max())
                NonValido(rs, campo, "fuori dall'intervallo di un intero a 32 bit");
            return static_cast<std::int32_t>(*i);
        }
        const double x = Numero(rs, campo);
        if (!std::isfinite(x))
            NonValido(rs, campo, "non è un numero finito");
        const double arrotondato = std::nearbyint(x);  // default rounding: halves to even
        if (arrotondato < -2147483648.0 || arrotondato > 2147483647.0)
            NonValido(rs, campo, "fuori dall'intervallo di un intero a 32 bit");
        return static_cast<std::int32_t>(arrotondato);
    }

    std::chrono::sys_days Data(const Recordset& rs, const std::string& campo) const
    {
        const Valore& v = NonNullo(rs, campo);
        if (std::holds_alternative<std::string>(v))
            NonValido(rs, campo, "un testo al posto di una data");
        const double x = Numero(rs, campo);
        if (!std::isfinite(x) || x < PrimoGiornoOle || x >= UltimoGiornoOle + 1)
            NonValido(rs, campo, "data fuori dall'intervallo dal 1/1/100 al 31/12/9999");
        // The whole part counts the days (towards zero, as an OLE date
        // keeps the time of day apart from the sign); the time is dropped.
        return OrigineOle + std::chrono::days{static_cast<int>(std::trunc(x))};
    }

    // A date that may be missing (Null); otherwise as Data.
    std::optional<std::chrono::sys_days> DataFacoltativa(const Recordset& rs, const std::string& campo) const
    {
        if (std::holds_alternative<Nullo>(Presente(rs, campo)))
            return std::nullopt;
        return Data(rs, campo);
    }

    // A balance: a finite amount, not negative.
    double Saldo(const Recordset& rs, const std::string& campo) const
    {
        const double x = Doppio(rs, campo);
        if (!std::isfinite(x))
            NonValido(rs, campo, "non è un numero finito");
        if (x < 0)
            NonValido(rs, campo, "un importo negativo");
        return x;
    }

    std::string Testo(const Recordset& rs, const std::string& campo) const
    {
        const Valore& v = NonNullo(rs, campo);
        const auto* s = std::get_if<std::string>(&v);
        if (!s)
            NonValido(rs, campo, "un numero o dati binari al posto di un testo");
        if (!Utf8Valido(*s))
            NonValido(rs, campo, "testo con una codifica non valida");
        return *s;
    }

    BaseDati& db_;
    QString nome_;
};

void Applica(Documento& doc, const DatiFile& d)
{
    doc.setAnnoRiferimento(d.anno);
    doc.Trimestri(1).setDescrizione(d.descrizioneConto);
    for (int q = 1; q <= 4; ++q) {
        BOX& t = doc.Trimestri(q);
        const auto& f = d.trimestri[static_cast<std::size_t>(q - 1)];
        t.setInteressi(f[0]);
        t.setNumeri(f[1]);
        t.setSpese(f[2]);
        t.setGiorniValuta(f[3]);
        t.setCommissioni(f[4]);
        t.setAccordato(f[5]);
        t.setCMS(f[6]);
    }
    Mutuo& m = doc.MutuoCorrente();
    m.setImporto(d.importo);
    m.setOneri(d.oneri);
    m.setNRate(d.nrate);
    m.setRateAnnuali(d.rateannuali);
    m.setRata(d.rata);
    m.setDescrizione(d.descrizioneMutuo);
    OPE& o = doc.Operazioni();
    o.setDescrizione(d.descrizioneOpe);
    for (int r = 1; r <= OPE::Righe; ++r) {
        const auto k = static_cast<std::size_t>(r - 1);
        o.setAnno(r, d.anni[k]);
        o.setMese(r, d.mesi[k]);
        o.setImporto(r, d.importi[k]);
        o.setSegno(r, d.segni[k]);
    }
    BREVE& b = doc.BreveCorrente();
    b.setDescrizione(d.descrizioneBreve);
    b.setData0(d.data0);
    b.setData1(d.data1);
    b.setFinanziato(d.finanziato);
    b.setRestituito(d.restituito);
    b.setOneri(d.oneriBreve);
    doc.Usura() = d.usura;
    for (int q = 1; q <= 4; ++q)
        doc.Trimestri(q).setMassimoScoperto(d.massimiScoperti[static_cast<std::size_t>(q - 1)]);
}

// Every conversion of the document is tried on a scratch copy, so that the
// program's document changes only when all of them succeed.
void ProvaConversioni(const DatiFile& dati, const QString& nome)
{
    try {
        Documento prova;
        Applica(prova, dati);
    } catch (const std::exception& e) {
        throw ErroreConteggio("Il file del conteggio " + Nome(nome) + " contiene un valore non valido (" + e.what() +
                              ").");
    }
}

// Opens and reads a whole calculation file; every failure is an
// ErroreConteggio naming the calculation.
struct FileLetto {
    BaseDati db;
    DatiFile dati;
};

FileLetto LeggiFile(const QString& percorso, const QString& nome, bool soloLettura)
{
    const QFileInfo info(percorso);
    if (!info.exists())
        throw ErroreConteggio("Il conteggio " + Nome(nome) + " non esiste: manca il file\n" + Percorso(percorso));
    if (!info.isFile())
        throw ErroreConteggio("Il conteggio " + Nome(nome) + " non si può aprire: " + Percorso(percorso) +
                              " non è un file.");
    try {
        BaseDati db = BaseDati::Apri(PercorsoNativo(percorso), soloLettura);
        DatiFile dati = Lettore(db, nome).Leggi();
        ProvaConversioni(dati, nome);
        return {std::move(db), std::move(dati)};
    } catch (const ErroreBaseDati& e) {
        if (e.CodicePrimario() == SQLITE_NOTADB)
            throw ErroreConteggio("Il file del conteggio " + Nome(nome) + " non è un file di conteggio.");
        throw ErroreConteggio("Il file del conteggio " + Nome(nome) + " non si può leggere: " + CausaBaseDati(e) +
                              ".");
    }
}

std::unique_ptr<BaseDati> databaseCorrente;
QString percorsoCorrente;

void Rimuovi(const QString& p) noexcept
{
    ::unlink(PercorsoNativo(p).c_str());
}

// Writes a whole calculation file, which must not exist yet, with `valori`.
void ScriviFile(const QString& percorso, const std::vector<Riga>& valori)
{
    BaseDati db = BaseDati::Crea(PercorsoNativo(percorso));
    Transazione tr(db);
    const std::vector<DefinizioneTabella> schema = Schema();
    for (std::size_t i = 0; i < schema.size(); ++i) {
        db.AggiungiTabella(schema[i]);
        Recordset rs = db.ApriRecordset(schema[i].Nome());
        rs.AggiungiNuovo();
        for (const auto& [campo, v] : valori[i].valori)
            rs.Assegna(campo, v);
        rs.Aggiorna();
    }
    tr.Conferma();
}

// What the document would write, as one string compared byte for byte: a
// field edited and edited back again counts as unchanged.
std::string Impronta(const std::vector<Riga>& valori)
{
    std::string s;
    s.reserve(2048);
    for (const Riga& r : valori) {
        s += r.tabella;
        for (const auto& [campo, v] : r.valori) {
            s += '\0';
            s += campo;
            s += static_cast<char>('0' + v.index());
            std::visit(
                [&s](const auto& x) {
                    using T = std::decay_t<decltype(x)>;
                    if constexpr (std::is_same_v<T, std::int64_t> || std::is_same_v<T, double>)
                        s.append(reinterpret_cast<const char*>(&x), sizeof x);
                    else if constexpr (std::is_same_v<T, std::string>)
                        s += x + '\0';
                    else if constexpr (!std::is_same_v<T, Nullo>)
                        s += x.byte + '\0';
                },
                v);
        }
    }
    return s;
}

// The store keeps no NaN (it would come back as Null and the file would no
// longer load): refuse it rather than write a broken file.
void ControllaNumeri(const std::vector<Riga>& valori, const std::string& intestazione)
{
    for (const Riga& r : valori)
        for (const auto& [campo, v] : r.valori)
            if (const auto* x = std::get_if<double>(&v); x && std::isnan(*x))
                throw ErroreConteggio(intestazione + "il campo \u00ab" + campo + "\u00bb della tabella \u00ab" +
                                      r.tabella + "\u00bb non contiene un numero.");
    // A maximum debit balance is what loading accepts: finite, not negative.
    for (int q = 1; q <= 4; ++q)
        if (const double x = Conteggio.Trimestri(q).MassimoScoperto(); !std::isfinite(x) || x < 0)
            throw ErroreConteggio(intestazione + "il campo \u00ab" + N("massimoscoperto", q) +
                                  "\u00bb della tabella \u00ab" + TabellaVerifica +
                                  "\u00bb non contiene un importo valido.");
}

// The document as last loaded or saved (ConteggioModificato compares only
// while a calculation is open).
std::string improntaSalvata;

}  // namespace

// ---------------------------------------------------------------------------

QString PercorsoConteggio(const QString& cartella, const QString& nome)
{
    return cartella + QLatin1Char('/') + nome + QStringLiteral(".ccc");
}

void CreaConteggio(const QString& cartella, const QString& nome)
{
    CreaFileConteggio(cartella, nome, "creare",
                      [](const QString& temporaneo) { ScriviFile(temporaneo, ValoriCreazione()); });
}

void CreaFileConteggio(const QString& cartella, const QString& nome, const char* azione,
                       const std::function<void(const QString& temporaneo)>& scrivi)
{
    ControllaNome(nome, azione);
    const std::string intestazione = std::string("Impossibile ") + azione + " il conteggio " + Nome(nome) + ": ";
    const QFileInfo infoCartella(cartella);
    if (!infoCartella.isDir())
        throw ErroreConteggio(intestazione + "la cartella dell'archivio non esiste\n" + Percorso(cartella));
    const QString destinazione = PercorsoConteggio(cartella, nome);
    struct stat st {};
    if (::lstat(PercorsoNativo(destinazione).c_str(), &st) == 0)
        throw ErroreConteggio(intestazione + "nell'archivio esiste già un file con questo nome.");

    // A hidden name in the same folder: the file is built there and only a
    // finished file ever carries the calculation's name.
    QString temporaneo;
    {
        QTemporaryFile t(cartella + QStringLiteral("/.nuovo-conteggio-XXXXXX"));
        t.setAutoRemove(false);
        if (!t.open()) {
            const int e = errno;
            throw ErroreConteggio(intestazione + "non si può scrivere nella cartella dell'archivio\n" +
                                  Percorso(cartella) + "\n(" + CausaSistema(e) + ")");
        }
        temporaneo = t.fileName();
    }
    Rimuovi(temporaneo);  // the writer makes the file itself, exclusively
    struct Pulizia {
        QString percorso;
        ~Pulizia()
        {
            if (!percorso.isEmpty()) {
                Rimuovi(percorso);
                Rimuovi(percorso + QStringLiteral("-journal"));
            }
        }
    } pulizia{temporaneo};

    try {
        scrivi(temporaneo);
    } catch (const ErroreBaseDati& e) {
        throw ErroreConteggio(intestazione + CausaBaseDati(e) + ".");
    } catch (const ErroreConteggio& e) {
        throw ErroreConteggio(intestazione + e.what());
    }

    // link() refuses an existing name: the file appears complete or not at all.
    const std::string da = PercorsoNativo(temporaneo), a = PercorsoNativo(destinazione);
    if (::link(da.c_str(), a.c_str()) != 0) {
        const int e = errno;
        if (e == EEXIST)
            throw ErroreConteggio(intestazione + "nell'archivio esiste già un file con questo nome.");
        // File systems without hard links: a rename that never replaces.
        if (!QFile::rename(temporaneo, destinazione)) {
            if (QFileInfo::exists(destinazione) || QFileInfo(destinazione).isSymLink())
                throw ErroreConteggio(intestazione + "nell'archivio esiste già un file con questo nome.");
            throw ErroreConteggio(intestazione + "il file non si può mettere nell'archivio (" + CausaSistema(e) +
                                  ").");
        }
        pulizia.percorso.clear();
    }
}

void CaricaConteggio(const QString& cartella, const QString& nome)
{
    ControllaNome(nome, "aprire");
    const QString percorso = PercorsoConteggio(cartella, nome);
    FileLetto letto = LeggiFile(percorso, nome, false);
    Applica(Conteggio, letto.dati);
    Conteggio.setNomeConteggio(nome.toStdString());
    databaseCorrente = std::make_unique<BaseDati>(std::move(letto.db));
    percorsoCorrente = percorso;
    improntaSalvata = Impronta(ValoriDocumento(Conteggio));
}

void LeggiConteggio(const QString& cartella, const QString& nome, Documento& documento)
{
    ControllaNome(nome, "aprire");
    const FileLetto letto = LeggiFile(PercorsoConteggio(cartella, nome), nome, true);
    Applica(documento, letto.dati);
    documento.setNomeConteggio(nome.toStdString());
}

void SalvaConteggio(const QString& cartella)
{
    const QString nome = QString::fromStdString(Conteggio.NomeConteggio());
    const std::string intestazione = "Il conteggio " + Nome(nome) + " non è stato salvato: ";
    if (nome.isEmpty())
        throw ErroreConteggio("Nessun conteggio è aperto: non c'è un file in cui salvare.");
    ControllaNome(nome, "salvare");
    const QString percorso = PercorsoConteggio(cartella, nome);

    struct stat st {};
    if (::stat(PercorsoNativo(percorso).c_str(), &st) != 0)
        throw ErroreConteggio(intestazione + "il suo file non esiste più\n" + Percorso(percorso));
    if (!S_ISREG(st.st_mode))
        throw ErroreConteggio(intestazione + Percorso(percorso) + " non è un file.");
    // A file marked read-only is left alone, whoever runs the program.
    if ((st.st_mode & S_IWUSR) == 0 || ::access(PercorsoNativo(percorso).c_str(), W_OK) != 0)
        throw ErroreConteggio(intestazione + "il file è di sola lettura\n" + Percorso(percorso));

    const std::vector<Riga> valori = ValoriDocumento(Conteggio);
    ControllaNumeri(valori, intestazione);

    try {
        BaseDati db = BaseDati::Apri(PercorsoNativo(percorso));
        if (db.SoloLettura())
            throw ErroreConteggio(intestazione + "il file è di sola lettura\n" + Percorso(percorso));
        Transazione tr(db);
        // A file made before the usury check gets its table, with one row to
        // be overwritten below.
        if (!db.EsisteTabella(TabellaVerifica)) {
            db.AggiungiTabella(SchemaVerifica());
            Recordset rs = db.ApriRecordset(TabellaVerifica);
            rs.AggiungiNuovo();
            rs.Aggiorna();
        }
        Lettore(db, nome).ControllaStruttura();
        for (const Riga& r : valori) {
            Recordset rs = db.ApriRecordset(r.tabella);
            rs.Modifica();
            for (const auto& [campo, v] : r.valori)
                rs.Assegna(campo, v);
            rs.Aggiorna();
        }
        tr.Conferma();
        improntaSalvata = Impronta(valori);
    } catch (const ErroreBaseDati& e) {
        if (e.CodicePrimario() == SQLITE_NOTADB)
            throw ErroreConteggio(intestazione + "il file non è più un file di conteggio.");
        throw ErroreConteggio(intestazione + CausaBaseDati(e) + ".");
    } catch (const ErroreConteggio& e) {
        const std::string m = e.what();
        if (m.rfind(intestazione, 0) == 0)
            throw;
        throw ErroreConteggio("Il conteggio " + Nome(nome) + " non è stato salvato.\n" + m);
    }
}

void SalvaConteggioConNome(const QString& cartella, const QString& nome)
{
    const std::vector<Riga> valori = ValoriDocumento(Conteggio);
    ControllaNumeri(valori, "Impossibile salvare il conteggio " + Nome(nome) + ": ");
    CreaFileConteggio(cartella, nome, "salvare", [&valori](const QString& t) { ScriviFile(t, valori); });
    // The copy becomes the open calculation only once it loads as any other.
    try {
        CaricaConteggio(cartella, nome);
    } catch (const std::exception& e) {
        const QString p = PercorsoConteggio(cartella, nome);
        Rimuovi(p);
        Rimuovi(p + QStringLiteral("-journal"));
        throw ErroreConteggio("Il conteggio " + Nome(nome) + " non è stato salvato:\n" + e.what());
    }
}

bool ConteggioModificato()
{
    if (Conteggio.NomeConteggio().empty())
        return false;
    return Impronta(ValoriDocumento(Conteggio)) != improntaSalvata;
}

void RilasciaDatabaseCorrente()
{
    databaseCorrente.reset();
    percorsoCorrente.clear();
}

QString DatabaseCorrente()
{
    return databaseCorrente ? percorsoCorrente : QString();
}

bool EsisteConteggio(const QString& cartella, const QString& nome)
{
    const QStringList voci =
        QDir(cartella).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& v : voci)
        if (v.size() >= 4 && QString::compare(v.left(v.size() - 4), nome, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QList<VoceArchivio> ElencoArchivio(const QString& cartella)
{
    QList<VoceArchivio> elenco;
    QStringList file = QDir(cartella).entryList(QDir::Files | QDir::NoDotAndDotDot);
    // By name as people read names: capitals aside, numbers by their value
    // ("Rossi 9" before "Rossi 10"), a name before its longer forms ("Rossi
    // 2008" before "Rossi 2008 - copia").
    QCollator ordine(QLocale(QLocale::Italian, QLocale::Italy));
    ordine.setNumericMode(true);
    ordine.setCaseSensitivity(Qt::CaseInsensitive);
    const auto nome = [](const QString& f) { return f.endsWith(QLatin1String(".ccc")) ? f.chopped(4) : f; };
    std::sort(file.begin(), file.end(), [&](const QString& a, const QString& b) {
        const int c = ordine.compare(nome(a), nome(b));
        return c != 0 ? c < 0 : a < b;
    });
    for (const QString& f : file) {
        if (!f.endsWith(QStringLiteral(".ccc"), Qt::CaseSensitive) || f.startsWith(QLatin1Char('.')) ||
            f.size() <= 4)
            continue;
        VoceArchivio v;
        v.nome = f.left(f.size() - 4);
        try {
            const FileLetto letto = LeggiFile(cartella + QLatin1Char('/') + f, v.nome, true);
            v.contoCorrente = QString::fromStdString(letto.dati.descrizioneConto);
            v.mutuo = QString::fromStdString(letto.dati.descrizioneMutuo);
            v.breve = QString::fromStdString(letto.dati.descrizioneBreve);
            v.varie = QString::fromStdString(letto.dati.descrizioneOpe);
        } catch (const std::exception& e) {
            v = VoceArchivio{v.nome, {}, {}, {}, {}, false, QString::fromUtf8(e.what())};
        }
        elenco.push_back(v);
    }
    return elenco;
}
