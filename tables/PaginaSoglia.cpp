#include "PaginaSoglia.h"

#include "Dichiarazioni.h"
#include "Funzioni.h"
#include "Pagine.h"
#include "PagineFinanziamenti.h"
#include "SoglieInUso.h"
#include "VerificaContratto.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

using namespace std::chrono;

namespace {

QString Testo(const std::string& s) { return QString::fromStdString(s); }

bool Valido(const std::optional<double>& t)
{
    return t && *t != DatiIncoerenti && std::isfinite(*t * 100);
}

// Points with three decimals and a decimal comma: 0.02345 -> "2,345".
QString Punti(const std::optional<double>& m)
{
    if (!Valido(m))
        return {};
    double punti = std::round(*m * 100000) / 1000;
    if (punti == 0)
        punti = 0;  // no "-0,000"
    return QString::number(punti, 'f', 3).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString Data(sys_days d) { return DataQt(d).toString(QStringLiteral("dd/MM/yyyy")); }

QString Esito(StatoVerifica stato)
{
    return stato == StatoVerifica::OltreSoglia ? TestoOltreSoglia : Testo(TestoStato(stato));
}

// The row of one verdict, without a quarter's role.
RigaPaginaSoglia Riga(const EsitoVerifica& e)
{
    RigaPaginaSoglia r;
    r.operazione = Testo(e.operazione);
    r.formula = Testo(e.formula);
    if (e.inizio && e.fine)
        r.periodo = TestoPeriodo(*e.inizio, *e.fine);
    r.categoria = Testo(e.categoria);
    r.classe = TestoClasse(e);
    r.tegm = TestoTasso(e.tegm);
    r.soglia = TestoSoglia(e.soglia);
    r.tasso = TestoTasso(e.tasso);
    r.tassoGriglia = TestoTasso(e.tassoGriglia);
    r.margine = Punti(e.margine);
    r.stato = e.stato;
    r.esito = Esito(e.stato);
    r.nota = Testo(e.nota);
    if (!Valido(e.tasso) && (e.stato == StatoVerifica::EntroSoglia || e.stato == StatoVerifica::OltreSoglia)) {
        // A verdict on a rate that cannot be written is no verdict.
        r.stato = StatoVerifica::TassoNonDeterminabile;
        r.esito = Esito(r.stato);
        r.margine.clear();
        r.nota = QStringLiteral("dati incoerenti");
    }
    return r;
}

// The CMS check of a quarter's period as a row, beside the row that decides.
RigaPaginaSoglia RigaCMS(const RigaPaginaSoglia& decisiva, const VerificaCMS& v)
{
    RigaPaginaSoglia r;
    r.operazione = decisiva.operazione;
    r.formula = TitoloVerificaCMS;
    r.ruolo = RuoloVerificaCMS;
    r.periodo = decisiva.periodo;
    r.categoria = decisiva.categoria;
    r.classe = decisiva.classe;
    r.tegm = TestoTasso(v.cmsMedia);
    r.soglia = TestoSoglia(v.cmsSoglia);
    r.tasso = TestoTasso(v.cmsPercentuale);
    if (v.cmsSoglia && v.cmsPercentuale)
        r.margine = Punti(*v.cmsSoglia - *v.cmsPercentuale);
    r.stato = v.stato;
    r.esito = Esito(v.stato);
    r.nota = Testo(v.spiegazione);
    r.cms = true;
    return r;
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

QString FormulaERuolo(const RigaPaginaSoglia& r)
{
    if (r.ruolo.isEmpty())
        return r.formula;
    return r.formula + (r.ruolo.startsWith(QLatin1Char('(')) ? QStringLiteral(" ") : QStringLiteral(" \u2013 ")) +
           r.ruolo;
}

QString TestoTasso(const std::optional<double>& t)
{
    if (!Valido(t))
        return {};
    return Testo(FormatoTasso(*t));
}

QString TestoSoglia(const std::optional<double>& s)
{
    if (!Valido(s))
        return {};
    return Testo(FormatoSoglia(*s));
}

QString TestoClasse(const EsitoVerifica& e)
{
    const QString classe = Testo(e.classe);
    if (!e.importoClasse || !std::isfinite(*e.importoClasse) || !SerieSoglie::ClasseInLire(e.classe))
        return classe;
    // Amounts are typed in euro; the classes before 2002 bound lire.
    const QString lire =
        Testo(FormatoImporto(std::round(*e.importoClasse * SerieSoglie::LirePerEuro))).chopped(3);
    QString voce = Testo(e.voceImporto);
    if (!voce.isEmpty())
        voce += QLatin1Char(' ');
    return classe +
           QStringLiteral(" (%1%2 \u20AC = %3 lire)").arg(voce, Testo(FormatoImporto(*e.importoClasse)), lire);
}

std::vector<RigaPaginaSoglia> RigheSoglia(const std::vector<EsitoVerifica>& esiti)
{
    std::vector<RigaPaginaSoglia> righe;
    righe.reserve(esiti.size());
    for (const EsitoVerifica& e : esiti)
        righe.push_back(Riga(e));
    return righe;
}

std::vector<RigaPaginaSoglia> RigheConto(const std::vector<EsitoTrimestreConto>& conto)
{
    std::vector<RigaPaginaSoglia> righe;
    for (const EsitoTrimestreConto& q : conto)
        for (const TrattoConto& t : q.tratti) {
            const std::size_t prima = righe.size();
            for (const RigaFormula& f : t.righe) {
                RigaPaginaSoglia r = Riga(f.esito);
                r.ruolo = Testo(TestoRuolo(f.ruolo));
                r.riferimento = f.ruolo != RuoloFormula::Decide;
                righe.push_back(std::move(r));
            }
            if (t.cms && righe.size() > prima)
                righe.push_back(RigaCMS(righe[prima], *t.cms));
        }
    return righe;
}

QStringList LegendaFormule(const std::vector<EsitoTrimestreConto>& conto)
{
    QStringList legenda;
    std::vector<FormulaConto> viste;
    bool cms = false;
    for (const EsitoTrimestreConto& q : conto)
        for (const TrattoConto& t : q.tratti) {
            for (const RigaFormula& f : t.righe)
                if (std::find(viste.begin(), viste.end(), f.formula) == viste.end()) {
                    viste.push_back(f.formula);
                    legenda << Testo(NomeFormula(f.formula)) + QStringLiteral(": ") + Testo(FonteFormula(f.formula));
                }
            cms = cms || t.cms.has_value();
        }
    if (cms)
        legenda << TitoloVerificaCMS +
                       QStringLiteral(": fino al 31/12/2009 la CMS addebitata, in rapporto al massimo scoperto, si "
                                      "confronta con la CMS media del periodo \u00d7 1,5; l'eccedenza in euro si "
                                      "compensa con il margine degli interessi sotto la soglia");
    return legenda;
}

DatiPaginaSoglia PaginaSoglia(const Documento& documento)
{
    DatiPaginaSoglia d;
    const QString nome = Testo(documento.NomeConteggio());
    d.sottotitolo = (nome.isEmpty() ? QString() : QStringLiteral("Conteggio \u00ab%1\u00bb \u2013 ").arg(nome)) +
                    QStringLiteral("tassi confrontati con le soglie d'usura (L. 108/1996)");
    try {
        const SerieSoglie& serie = SoglieInUso();
        d.conto = VerificaConto(documento, serie);
        d.esiti = VerificaConteggio(documento, serie);
        d.righe = RigheConto(d.conto);
        for (RigaPaginaSoglia& r : RigheSoglia(d.esiti))
            d.righe.push_back(std::move(r));
        d.formule = LegendaFormule(d.conto);
        d.fonte = QStringLiteral("Soglie d'usura: ") + TestoFonteSoglie();
        d.avviso = AvvisoSoglie();
        AggiungiVerificheContratto(d, documento, serie);
    } catch (const std::exception& e) {
        d.righe.clear();
        d.conto.clear();
        d.esiti.clear();
        d.formule.clear();
        d.errore = QStringLiteral("Impossibile verificare i tassi: %1").arg(QString::fromUtf8(e.what()));
    }
    return d;
}

Griglia GrigliaSoglia(const DatiPaginaSoglia& dati)
{
    // Long category and formula names take two lines or more.
    Griglia g = GrigliaElenco(
        {
            {"Operazione", 1400, Qt::AlignLeft},  {"Calcolo", 2200, Qt::AlignLeft},
            {"Periodo", 1200, Qt::AlignLeft},     {"Categoria", 2000, Qt::AlignLeft},
            {"Classe", 1300, Qt::AlignLeft},      {"TEGM", 800, Qt::AlignRight},
            {"Soglia", 850, Qt::AlignRight},      {"T.E.G.", 1150, Qt::AlignRight},
            {"Margine (punti)", 800, Qt::AlignRight}, {"Esito", 2800, Qt::AlignLeft},
        },
        static_cast<int>(dati.righe.size()));
    for (int i = 0; i < static_cast<int>(dati.righe.size()); ++i) {
        const RigaPaginaSoglia& r = dati.righe[static_cast<std::size_t>(i)];
        const RigaPaginaSoglia* sopra = i > 0 ? &dati.righe[static_cast<std::size_t>(i - 1)] : nullptr;
        // The rows of one quarter's period share what its first row says.
        const bool seguito = sopra && !r.ruolo.isEmpty() && !sopra->ruolo.isEmpty() &&
                             sopra->operazione == r.operazione && sopra->periodo == r.periodo;
        const QString tasso =
            r.tassoGriglia.isEmpty() ? r.tasso : r.tasso + QStringLiteral("\ngriglia %1").arg(r.tassoGriglia);
        const QString calcolo = r.ruolo.isEmpty() ? r.formula : r.formula + QLatin1Char('\n') + r.ruolo;
        const QString esito = r.nota.isEmpty() ? r.esito : r.esito + QLatin1Char('\n') + r.nota;
        RigaElenco(g, i + 1,
                   {seguito ? QString() : r.operazione, calcolo, seguito ? QString() : r.periodo,
                    seguito ? QString() : r.categoria, seguito ? QString() : r.classe, r.tegm, r.soglia, tasso,
                    r.margine, esito});
        for (int c = 0; c < g.Colonne(); ++c)
            g.Cella(i + 1, c).attenuata = r.riferimento;
        g.Cella(i + 1, 1).grassetto = !r.ruolo.isEmpty() && !r.riferimento;
        g.Cella(i + 1, g.Colonne() - 1).grassetto = r.Oltre() && !r.riferimento;
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
