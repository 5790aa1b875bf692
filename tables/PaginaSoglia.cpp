#include "PaginaSoglia.h"

#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Pagine.h"
#include "PagineFinanziamenti.h"
#include "SoglieInUso.h"
#include "VerificaContratto.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <exception>
#include <optional>

using namespace std::chrono;

namespace {

QString Testo(const std::string& s) { return QString::fromStdString(s); }

QString Tasso(const std::optional<double>& t)
{
    if (!t || !std::isfinite(*t * 100))
        return {};
    return Testo(FormatoTasso(*t));
}

// Points with three decimals and a decimal comma: 0.02345 -> "2,345".
QString Punti(const std::optional<double>& m)
{
    if (!m || !std::isfinite(*m * 100))
        return {};
    double punti = std::round(*m * 100000) / 1000;
    if (punti == 0)
        punti = 0;  // no "-0,000"
    return QString::number(punti, 'f', 3).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString Data(sys_days d) { return DataQt(d).toString(QStringLiteral("dd/MM/yyyy")); }

// Where the series in use comes from.
QString FonteSerie()
{
    const QString cartella = CartellaSoglie();
    if (!cartella.isEmpty()) {
        const QString file = cartella + QLatin1Char('/') + NomeFileSoglie;
        if (QFileInfo::exists(file) && AvvisoSoglie().isEmpty())
            return QStringLiteral("serie aggiornata dal file %1").arg(QDir::toNativeSeparators(file));
    }
    return QStringLiteral("serie ufficiale incorporata nel programma");
}

// The date of the first cash flow with an amount (as the operations'
// calculation counts its months), when it is a real date.
std::optional<sys_days> PrimoFlusso(const OPE& o)
{
    // Rows whose year no calendar date has are left to the calculation,
    // which says what it makes of them.
    std::optional<int> primo;
    for (int r = 1; r <= OPE::Righe; ++r) {
        if (o.Importo(r) == 0 || o.Mese(r) < 1 || o.Mese(r) > 12 || o.Anno(r) < 1 || o.Anno(r) > 9999)
            continue;
        const int chiave = o.Anno(r) * 12 + o.Mese(r) - 1;
        if (!primo || chiave < *primo)
            primo = chiave;
    }
    if (!primo)
        return std::nullopt;
    const year_month_day g{year{*primo / 12}, month{static_cast<unsigned>(*primo % 12 + 1)}, day{1}};
    if (!g.ok())
        return std::nullopt;
    return sys_days{g};
}

// The periods an operation is checked in.
std::vector<const PeriodoSoglie*> Periodi(OperazioneUsura op, const Documento& d, const SerieSoglie& s,
                                          std::optional<sys_days>& data, bool& indicata)
{
    indicata = false;
    data.reset();
    switch (op) {
    case OperazioneUsura::Conto: {
        const year anno{d.AnnoRiferimento()};
        return s.PeriodiTra(sys_days{anno / January / 1}, sys_days{anno / December / 31});
    }
    case OperazioneUsura::Mutuo:
        data = d.Usura().DataStipula();
        indicata = data.has_value();
        break;
    case OperazioneUsura::Operazioni:
        data = d.Usura().DataOperazioni();
        indicata = data.has_value();
        if (!data)
            data = PrimoFlusso(d.Operazioni());
        break;
    case OperazioneUsura::Breve:
        data = d.BreveCorrente().Data0();
        break;
    }
    if (data)
        if (const PeriodoSoglie* p = s.PeriodoDi(*data))
            return {p};
    return {};
}

void Aggiungi(std::vector<VoceScelta>& voci, const std::string& nome)
{
    const QString t = Testo(nome);
    for (const VoceScelta& v : voci)
        if (v.valore == t)
            return;
    voci.push_back({t, t});
}

int Indice(const std::vector<VoceScelta>& voci, const QString& valore)
{
    for (std::size_t i = 0; i < voci.size(); ++i)
        if (voci[i].valore == valore)
            return static_cast<int>(i);
    return -1;
}

} // namespace

QString TestoPeriodo(sys_days inizio, sys_days fine)
{
    return Data(inizio) + QStringLiteral(" \u2013 ") + Data(fine);
}

std::vector<RigaPaginaSoglia> RigheSoglia(const std::vector<EsitoVerifica>& esiti)
{
    std::vector<RigaPaginaSoglia> righe;
    righe.reserve(esiti.size());
    for (const EsitoVerifica& e : esiti) {
        RigaPaginaSoglia r;
        r.operazione = Testo(e.operazione);
        r.formula = Testo(e.formula);
        if (e.inizio && e.fine)
            r.periodo = TestoPeriodo(*e.inizio, *e.fine);
        r.categoria = Testo(e.categoria);
        r.classe = Testo(e.classe);
        r.tegm = Tasso(e.tegm);
        r.soglia = Tasso(e.soglia);
        r.tasso = Tasso(e.tasso);
        r.tassoGriglia = Tasso(e.tassoGriglia);
        r.margine = Punti(e.margine);
        r.stato = e.stato;
        r.esito = e.stato == StatoVerifica::OltreSoglia ? TestoOltreSoglia : Testo(TestoStato(e.stato));
        r.nota = Testo(e.nota);
        righe.push_back(std::move(r));
    }
    return righe;
}

DatiPaginaSoglia PaginaSoglia(const Documento& documento)
{
    DatiPaginaSoglia d;
    const QString nome = Testo(documento.NomeConteggio());
    d.sottotitolo = (nome.isEmpty() ? QString() : QStringLiteral("Conteggio \u00ab%1\u00bb \u2013 ").arg(nome)) +
                    QStringLiteral("tassi confrontati con le soglie d'usura (L. 108/1996)");
    try {
        const SerieSoglie& serie = SoglieInUso();
        d.esiti = VerificaConteggio(documento, serie);
        d.righe = RigheSoglia(d.esiti);
        d.fonte = TestoUltimaDataSoglie() + QStringLiteral(" (") + FonteSerie() + QLatin1Char(')');
        d.avviso = AvvisoSoglie();
        AggiungiVerificheContratto(d, documento, serie);
    } catch (const std::exception& e) {
        d.righe.clear();
        d.esiti.clear();
        d.errore = QStringLiteral("Impossibile verificare i tassi: %1").arg(QString::fromUtf8(e.what()));
    }
    return d;
}

Griglia GrigliaSoglia(const DatiPaginaSoglia& dati)
{
    // Long category names take two lines.
    Griglia g = GrigliaElenco(
        {
            {"Operazione", 1750, Qt::AlignLeft},  {"Calcolo", 1500, Qt::AlignLeft},
            {"Periodo", 1250, Qt::AlignLeft},     {"Categoria", 2700, Qt::AlignLeft},
            {"Classe", 1450, Qt::AlignLeft},      {"TEGM", 850, Qt::AlignRight},
            {"Soglia", 850, Qt::AlignRight},      {"T.E.G.", 1500, Qt::AlignRight},
            {"Margine (punti)", 900, Qt::AlignRight}, {"Esito", 1700, Qt::AlignLeft},
        },
        static_cast<int>(dati.righe.size()));
    for (int i = 0; i < static_cast<int>(dati.righe.size()); ++i) {
        const RigaPaginaSoglia& r = dati.righe[static_cast<std::size_t>(i)];
        const QString tasso = r.tassoGriglia.isEmpty()
                                  ? r.tasso
                                  : r.tasso + QStringLiteral("\ngriglia %1").arg(r.tassoGriglia);
        const QString esito = r.nota.isEmpty() ? r.esito : r.esito + QLatin1Char('\n') + r.nota;
        RigaElenco(g, i + 1, {r.operazione, r.formula, r.periodo, r.categoria, r.classe, r.tegm, r.soglia, tasso,
                              r.margine, esito});
        g.Cella(i + 1, g.Colonne() - 1).grassetto = r.Oltre();
    }
    return g;
}

ScelteUsura ScelteDi(OperazioneUsura op, const Documento& d, const SerieSoglie& serie)
{
    ScelteUsura s;
    std::optional<sys_days> data;
    std::vector<const PeriodoSoglie*> periodi = Periodi(op, d, serie, data, s.dataIndicata);
    if (data)
        s.data = DataQt(*data);
    if (periodi.empty() && !serie.Periodi().empty())
        periodi = {&serie.Periodi().back()};

    const std::string categoria = CategoriaUsura(d, op);
    if (categoria.empty())
        s.categorie.push_back({QStringLiteral("(scegliere una categoria)"), QString()});
    std::vector<std::string> delPeriodo;  // the choice as each period writes it
    for (const PeriodoSoglie* p : periodi) {
        for (const std::string& c : SerieSoglie::Categorie(*p))
            Aggiungi(s.categorie, c);
        if (!categoria.empty())
            delPeriodo.push_back(SerieSoglie::CategoriaDelPeriodo(*p, categoria));
    }
    s.categoria = Indice(s.categorie, Testo(categoria));
    for (std::size_t i = 0; s.categoria < 0 && i < delPeriodo.size(); ++i)
        if (!delPeriodo[i].empty())
            s.categoria = Indice(s.categorie, Testo(delPeriodo[i]));
    if (s.categoria < 0) {
        // A choice the periods do not list stays visible as it is.
        s.categorie.push_back({Testo(categoria) + QStringLiteral(" (non prevista)"), Testo(categoria)});
        s.categoria = static_cast<int>(s.categorie.size()) - 1;
    }

    s.classi.push_back({TestoClasseAutomatica, QString()});
    for (std::size_t i = 0; i < periodi.size() && i < delPeriodo.size(); ++i)
        if (!delPeriodo[i].empty())
            for (const std::string& c : SerieSoglie::Classi(*periodi[i], delPeriodo[i]))
                Aggiungi(s.classi, c);
    const QString classe = Testo(ClasseUsura(d, op));
    s.classe = Indice(s.classi, classe);
    if (s.classe < 0) {
        s.classi.push_back({classe + QStringLiteral(" (non prevista)"), classe});
        s.classe = static_cast<int>(s.classi.size()) - 1;
    }
    return s;
}

std::string CategoriaUsura(const Documento& d, OperazioneUsura op)
{
    const ParametriUsura& u = d.Usura();
    switch (op) {
    case OperazioneUsura::Conto: return u.CategoriaConto();
    case OperazioneUsura::Mutuo: return u.CategoriaMutuo();
    case OperazioneUsura::Operazioni: return u.CategoriaOperazioni();
    case OperazioneUsura::Breve: return u.CategoriaBreve();
    }
    return {};
}

std::string ClasseUsura(const Documento& d, OperazioneUsura op)
{
    const ParametriUsura& u = d.Usura();
    switch (op) {
    case OperazioneUsura::Conto: return u.ClasseConto();
    case OperazioneUsura::Mutuo: return u.ClasseMutuo();
    case OperazioneUsura::Operazioni: return u.ClasseOperazioni();
    case OperazioneUsura::Breve: return u.ClasseBreve();
    }
    return {};
}

void ScegliCategoria(Documento& d, OperazioneUsura op, const std::string& categoria)
{
    if (categoria == CategoriaUsura(d, op))
        return;
    ParametriUsura& u = d.Usura();
    switch (op) {
    case OperazioneUsura::Conto: u.setCategoriaConto(categoria); break;
    case OperazioneUsura::Mutuo: u.setCategoriaMutuo(categoria); break;
    case OperazioneUsura::Operazioni: u.setCategoriaOperazioni(categoria); break;
    case OperazioneUsura::Breve: u.setCategoriaBreve(categoria); break;
    }
    ScegliClasse(d, op, {});
}

void ScegliClasse(Documento& d, OperazioneUsura op, const std::string& classe)
{
    ParametriUsura& u = d.Usura();
    switch (op) {
    case OperazioneUsura::Conto: u.setClasseConto(classe); break;
    case OperazioneUsura::Mutuo: u.setClasseMutuo(classe); break;
    case OperazioneUsura::Operazioni: u.setClasseOperazioni(classe); break;
    case OperazioneUsura::Breve: u.setClasseBreve(classe); break;
    }
}
