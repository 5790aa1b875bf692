#include "ModelloMovimenti.h"

#include "ClassiMovimenti.h"
#include "Scalare.h"
#include "ControlloEstratti.h"
#include "Dichiarazioni.h"
#include "PagineFinanziamenti.h"
#include "SceltaData.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QRegularExpression>
#include <QUndoCommand>
#include <algorithm>
#include <numeric>

namespace {

using Col = ColonnaMovimenti;

Col Colonna(const QModelIndex& i) { return static_cast<Col>(i.column()); }

bool Modificabile(Col c)
{
    switch (c) {
    case Col::DataContabile:
    case Col::DataValuta:
    case Col::Importo:
    case Col::Causale:
    case Col::Descrizione:
    case Col::Classe: return true;
    default: return false;
    }
}

// A causale as the CBI standard writes it: two letters or digits, upper case.
std::optional<std::string> LeggiCausale(const QString& testo, QString& motivo)
{
    const QString t = testo.trimmed().toUpper();
    if (t.isEmpty())
        return std::string();
    if (t.size() != 2 || !std::all_of(t.begin(), t.end(), [](QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); })) {
        motivo = QStringLiteral("La causale \u00ab%1\u00bb non è una causale CBI: due lettere o cifre (per esempio 26 o "
                                "Z1), oppure nulla.")
                     .arg(testo);
        return std::nullopt;
    }
    return t.toStdString();
}

// The day a typed text stands for, within the dates the program admits.
std::optional<std::chrono::sys_days> LeggiGiorno(const QString& testo, QString& motivo)
{
    QString perche;
    const std::optional<QDate> d = LeggiDataDigitata(testo.trimmed(), &perche);
    if (!d) {
        motivo = QStringLiteral("La data \u00ab%1\u00bb %2.").arg(testo.trimmed(), perche);
        return std::nullopt;
    }
    if (!DataAmmessa(*d)) {
        motivo = QStringLiteral("La data %1 è fuori dagli anni ammessi (dal %2 al %3).")
                     .arg(d->toString(QStringLiteral("dd/MM/yyyy")))
                     .arg(AnnoDataMinimo)
                     .arg(AnnoDataMassimo);
        return std::nullopt;
    }
    return DataCalcolo(*d);
}

} // namespace

// ---------------------------------------------------------------- undo steps

// A step on the movements: done on the model when pushed (redo), taken back
// by undo. The places it keeps are those of the document's list at the time,
// which every later step restores before this one is undone.
class ComandoMovimenti : public QUndoCommand {
public:
    ComandoMovimenti(ModelloMovimenti& m, const QString& testo) : QUndoCommand(testo), m_(m) {}

protected:
    void sostituisci(const std::vector<std::pair<std::size_t, Movimento>>& v) { m_.sostituisci(v); }
    void inserisci(const std::vector<std::pair<std::size_t, Movimento>>& v, const std::vector<int>& r)
    {
        m_.inserisci(v, r);
    }
    std::vector<int> rimuovi(const std::vector<std::size_t>& p) { return m_.rimuovi(p); }

    ModelloMovimenti& m_;
};

namespace {

class ComandoSostituisci : public ComandoMovimenti {
public:
    ComandoSostituisci(ModelloMovimenti& m, const QString& testo, std::vector<std::pair<std::size_t, Movimento>> prima,
                       std::vector<std::pair<std::size_t, Movimento>> dopo)
        : ComandoMovimenti(m, testo), prima_(std::move(prima)), dopo_(std::move(dopo))
    {
    }
    void redo() override { sostituisci(dopo_); }
    void undo() override { sostituisci(prima_); }

private:
    std::vector<std::pair<std::size_t, Movimento>> prima_, dopo_;
};

class ComandoAggiungi : public ComandoMovimenti {
public:
    ComandoAggiungi(ModelloMovimenti& m, std::size_t posto, Movimento nuovo, int riga)
        : ComandoMovimenti(m, QStringLiteral("Aggiungi movimento")), posto_(posto), nuovo_(std::move(nuovo)), riga_(riga)
    {
    }
    void redo() override { inserisci({{posto_, nuovo_}}, {riga_}); }
    void undo() override { rimuovi({posto_}); }

private:
    std::size_t posto_;
    Movimento nuovo_;
    int riga_;
};

class ComandoElimina : public ComandoMovimenti {
public:
    ComandoElimina(ModelloMovimenti& m, std::vector<std::pair<std::size_t, Movimento>> tolti)
        : ComandoMovimenti(m, QStringLiteral("Elimina %1 movimenti").arg(tolti.size())), tolti_(std::move(tolti))
    {
        for (const auto& t : tolti_)
            posti_.push_back(t.first);
    }
    void redo() override { righe_ = rimuovi(posti_); }
    void undo() override { inserisci(tolti_, righe_); }

private:
    std::vector<std::pair<std::size_t, Movimento>> tolti_;  // ascending places
    std::vector<std::size_t> posti_;
    std::vector<int> righe_;
};

} // namespace

// ---------------------------------------------------------------- filter

QString FiltroMovimenti::Descrizione() const
{
    if (Vuoto())
        return QStringLiteral("Tutti i movimenti");
    QStringList parti;
    if (dal && al)
        parti << QStringLiteral("data contabile dal %1 al %2").arg(TestoGiornoQt(*dal), TestoGiornoQt(*al));
    else if (dal)
        parti << QStringLiteral("data contabile dal %1").arg(TestoGiornoQt(*dal));
    else if (al)
        parti << QStringLiteral("data contabile fino al %1").arg(TestoGiornoQt(*al));
    if (classe)
        parti << QStringLiteral("classe \u00ab%1\u00bb").arg(QString::fromStdString(NomeClasse(*classe)));
    if (soloAMano)
        parti << QStringLiteral("classe scelta a mano");
    if (!testo.trimmed().isEmpty())
        parti << QStringLiteral("testo \u00ab%1\u00bb").arg(testo.trimmed());
    return QStringLiteral("Movimenti con ") + parti.join(QStringLiteral(", "));
}

std::optional<Centesimi> LeggiCentesimi(const QString& testo, QString* motivo)
{
    const auto rifiuta = [&](const QString& perche) -> std::optional<Centesimi> {
        if (motivo)
            *motivo = perche;
        return std::nullopt;
    };
    QString t = testo.trimmed();
    t.remove(QChar(0x20AC));
    t = t.trimmed();
    const bool negativo = t.startsWith(QLatin1Char('-'));
    if (negativo || t.startsWith(QLatin1Char('+')))
        t = t.mid(1).trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char('-')))
        return rifiuta(QStringLiteral("non contiene cifre"));
    // The Italian way only: "." between thousands, "," before at most two decimals.
    const qsizetype virgola = t.indexOf(QLatin1Char(','));
    QString interi = virgola < 0 ? t : t.left(virgola);
    const QString decimali = virgola < 0 ? QString() : t.mid(virgola + 1);
    if (decimali.contains(QLatin1Char(',')))
        return rifiuta(QStringLiteral("ha più di una virgola"));
    if (interi.contains(QLatin1Char('.'))) {
        const QStringList gruppi = interi.split(QLatin1Char('.'));
        for (qsizetype g = 0; g < gruppi.size(); ++g)
            if (gruppi[g].isEmpty() || gruppi[g].size() > 3 || (g > 0 && gruppi[g].size() != 3))
                return rifiuta(QStringLiteral("ha punti fuori posto (il punto separa le migliaia: 1.234.567,89)"));
        interi.remove(QLatin1Char('.'));
    }
    const auto cifre = [](const QString& s) {
        return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    };
    if (!cifre(interi) || !cifre(decimali))
        return rifiuta(QStringLiteral("contiene caratteri che non sono cifre"));
    if (decimali.size() > 2)
        return rifiuta(QStringLiteral("ha più di due decimali"));
    if (interi.isEmpty() && decimali.isEmpty())
        return rifiuta(QStringLiteral("non contiene cifre"));
    interi.remove(QRegularExpression(QStringLiteral("^0+")));
    if (interi.size() > 11)
        return rifiuta(QStringLiteral("supera il limite di 10.000.000.000,00 euro"));
    const Centesimi c = (interi.isEmpty() ? 0 : interi.toLongLong()) * 100 +
                        (decimali + QStringLiteral("00")).left(2).toLongLong();
    if (c > ImportoMassimo)
        return rifiuta(QStringLiteral("supera il limite di 10.000.000.000,00 euro"));
    return negativo ? -c : c;
}

// ---------------------------------------------------------------- the model

ModelloMovimenti::ModelloMovimenti(Documento& documento, QObject* genitore)
    : QAbstractTableModel(genitore), documento_(documento)
{
    Ricarica();
}

std::vector<Movimento>& ModelloMovimenti::movimenti() { return documento_.ContoCorrente().movimenti; }
const std::vector<Movimento>& ModelloMovimenti::movimenti() const { return documento_.ContoCorrente().movimenti; }

void ModelloMovimenti::Ricarica()
{
    beginResetModel();
    annulla_.clear();
    aggiornaSaldi();
    riordina();
    endResetModel();
}

void ModelloMovimenti::ImpostaFiltro(const FiltroMovimenti& filtro)
{
    beginResetModel();
    filtro_ = filtro;
    const QString testo = filtro.testo.trimmed();
    testoCercato_ = TestoConfrontabile(testo.toStdString());
    importoCercato_ = testo.contains(QRegularExpression(QStringLiteral("[0-9]"))) ? LeggiCentesimi(testo) : std::nullopt;
    riordina();
    endResetModel();
}

int ModelloMovimenti::RigaDi(std::size_t movimento) const
{
    return movimento < inverso_.size() ? inverso_[movimento] : -1;
}

bool ModelloMovimenti::passa(std::size_t i) const
{
    const Movimento& m = movimenti()[i];
    if ((filtro_.dal && m.dataContabile < *filtro_.dal) || (filtro_.al && m.dataContabile > *filtro_.al))
        return false;
    if ((filtro_.classe && m.classe != *filtro_.classe) || (filtro_.soloAMano && m.regolaClasse != ClasseAMano))
        return false;
    if (filtro_.testo.trimmed().isEmpty())
        return true;
    if (importoCercato_ && (m.importo == *importoCercato_ || m.importo == -*importoCercato_))
        return true;
    if (testoCercato_.empty())
        return false;
    return TestoConfrontabile(m.descrizione + " " + m.causaleCBI + " " + m.causaleBanca).find(testoCercato_) !=
           std::string::npos;
}

void ModelloMovimenti::riordina()
{
    const std::vector<Movimento>& v = movimenti();
    righe_.clear();
    for (std::size_t i = 0; i < v.size(); ++i)
        if (passa(i))
            righe_.push_back(i);
    if (colonnaOrdine_ >= 0) {
        const bool su = verso_ == Qt::AscendingOrder;
        const auto ordina = [&](auto chiave) {
            std::stable_sort(righe_.begin(), righe_.end(), [&](std::size_t a, std::size_t b) {
                return su ? chiave(a) < chiave(b) : chiave(b) < chiave(a);
            });
        };
        switch (static_cast<Col>(colonnaOrdine_)) {
        case Col::Numero:
            if (!su)
                std::reverse(righe_.begin(), righe_.end());
            break;
        case Col::DataContabile: ordina([&](std::size_t i) { return v[i].dataContabile; }); break;
        case Col::DataValuta: ordina([&](std::size_t i) { return v[i].dataValuta; }); break;
        case Col::Importo: ordina([&](std::size_t i) { return v[i].importo; }); break;
        case Col::Causale: ordina([&](std::size_t i) -> const std::string& { return v[i].causaleCBI; }); break;
        case Col::Descrizione: {
            std::vector<std::string> chiavi(v.size());
            for (const std::size_t i : righe_)
                chiavi[i] = TestoConfrontabile(v[i].descrizione);
            ordina([&](std::size_t i) -> const std::string& { return chiavi[i]; });
            break;
        }
        case Col::Classe: {
            std::array<std::string, NumeroClassi> nomi;
            for (std::size_t c = 0; c < NumeroClassi; ++c)
                nomi[c] = NomeClasse(static_cast<ClasseMovimento>(c));
            ordina([&](std::size_t i) -> const std::string& { return nomi[IndiceClasse(v[i].classe)]; });
            break;
        }
        case Col::Regola: ordina([&](std::size_t i) { return v[i].regolaClasse; }); break;
        case Col::Saldo:
            if (saldi_.perValuta.size() == v.size())
                ordina([&](std::size_t i) { return saldi_.perValuta[i]; });
            break;
        case Col::Estratto: {
            std::vector<char> chiude(v.size(), 0);
            for (const auto& c : saldi_.chiusure)
                chiude[c.first] = 1;
            ordina([&](std::size_t i) { return chiude[i]; });
            break;
        }
        }
    }
    aggiornaInverso();
}

std::size_t ModelloMovimenti::Impronta(const std::vector<Movimento>& movimenti)
{
    std::size_t h = movimenti.size();
    const auto unisci = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    const std::hash<std::string> testo;
    for (const Movimento& m : movimenti) {
        unisci(static_cast<std::size_t>(m.dataContabile.time_since_epoch().count()));
        unisci(static_cast<std::size_t>(m.dataValuta.time_since_epoch().count()));
        unisci(static_cast<std::size_t>(m.importo));
        unisci(testo(m.descrizione));
        unisci(testo(m.causaleCBI));
        unisci(static_cast<std::size_t>(m.classe) * 131 + static_cast<std::size_t>(m.regolaClasse + 1));
    }
    return h;
}

void ModelloMovimenti::aggiornaInverso()
{
    inverso_.assign(movimenti().size(), -1);
    for (std::size_t r = 0; r < righe_.size(); ++r)
        inverso_[righe_[r]] = static_cast<int>(r);
}

void ModelloMovimenti::aggiornaSaldi() { saldi_ = CalcolaSaldiAccanto(documento_.ContoCorrente()); }

void ModelloMovimenti::sort(int colonna, Qt::SortOrder verso)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList vecchi = persistentIndexList();
    std::vector<std::size_t> quali;
    quali.reserve(static_cast<std::size_t>(vecchi.size()));
    for (const QModelIndex& i : vecchi)
        quali.push_back(righe_[static_cast<std::size_t>(i.row())]);
    colonnaOrdine_ = colonna;
    verso_ = verso;
    riordina();
    QModelIndexList nuovi;
    nuovi.reserve(vecchi.size());
    for (qsizetype k = 0; k < vecchi.size(); ++k)
        nuovi << index(RigaDi(quali[static_cast<std::size_t>(k)]), vecchi[k].column());
    changePersistentIndexList(vecchi, nuovi);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ModelloMovimenti::rowCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : static_cast<int>(righe_.size());
}

int ModelloMovimenti::columnCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : ColonneMovimenti;
}

QVariant ModelloMovimenti::data(const QModelIndex& indice, int ruolo) const
{
    if (!indice.isValid() || indice.row() >= rowCount())
        return {};
    const std::size_t i = righe_[static_cast<std::size_t>(indice.row())];
    const ContoMovimenti& conto = documento_.ContoCorrente();
    if (i >= conto.movimenti.size())  // the document changed under the window: Ricarica follows
        return {};
    const Movimento& m = conto.movimenti[i];
    const Col c = Colonna(indice);
    switch (ruolo) {
    case Qt::DisplayRole:
    case Qt::EditRole: return TestoMovimento(conto, saldi_, i, c);
    case Qt::TextAlignmentRole:
        switch (c) {
        case Col::Numero:
        case Col::Importo:
        case Col::Saldo: return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        case Col::DataContabile:
        case Col::DataValuta:
        case Col::Causale:
        case Col::Regola: return QVariant::fromValue(Qt::AlignCenter);
        default: return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        }
    case Qt::ForegroundRole:
        if (c == Col::Importo && m.importo < 0)
            return QBrush(QColor(170, 0, 0));
        if (c == Col::Estratto)
            for (const std::size_t e : ChiusureDopo(saldi_, i))
                if (!saldi_.estratti[e].Concorda())
                    return QBrush(QColor(190, 0, 0));
        return {};
    case Qt::BackgroundRole:
        if (!ChiusureDopo(saldi_, i).empty())
            return QBrush(QColor(232, 240, 252));  // a statement closes after this movement
        return {};
    case Qt::FontRole:
        if ((c == Col::Classe || c == Col::Regola) && m.regolaClasse == ClasseAMano) {
            QFont f;
            f.setItalic(true);
            return f;
        }
        return {};
    case Qt::ToolTipRole:
        switch (c) {
        case Col::Numero:
            if (m.file.empty())
                return QStringLiteral("Movimento inserito a mano");
            return QStringLiteral("Importato da %1 (posizione %2 nel file)").arg(QString::fromStdString(m.file)).arg(m.riga);
        case Col::Causale:
            return m.causaleBanca.empty() ? QVariant()
                                          : QStringLiteral("Causale della banca: ") + QString::fromStdString(m.causaleBanca);
        case Col::Descrizione: return QString::fromStdString(m.descrizione);
        case Col::Classe:
        case Col::Regola:
            if (m.regolaClasse == ClasseAMano)
                return QStringLiteral("Classe scelta a mano: le regole non la cambiano");
            if (m.regolaClasse > 0 && static_cast<std::size_t>(m.regolaClasse) <= conto.regole.size())
                return QStringLiteral("Classe data dalla regola %1: %2")
                    .arg(m.regolaClasse)
                    .arg(QString::fromStdString(TestoRegole({conto.regole[static_cast<std::size_t>(m.regolaClasse) - 1]}))
                             .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                             .last());
            return QStringLiteral("Nessuna regola riconosce il movimento: ordinario");
        case Col::Saldo: return QStringLiteral("Saldo per data valuta dopo questo movimento");
        case Col::Estratto: {
            QStringList testi;
            for (const std::size_t e : ChiusureDopo(saldi_, i))
                testi << DettaglioControlloSaldi(conto, saldi_.estratti[e]);
            return testi.isEmpty() ? QVariant() : testi.join(QLatin1Char('\n'));
        }
        default: return {};
        }
    default: return {};
    }
}

QVariant ModelloMovimenti::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const
{
    if (orientamento != Qt::Horizontal || sezione < 0 || sezione >= ColonneMovimenti)
        return QAbstractTableModel::headerData(sezione, orientamento, ruolo);
    if (ruolo == Qt::DisplayRole)
        return IntestazioniMovimenti()[sezione];
    if (ruolo == Qt::ToolTipRole && static_cast<Col>(sezione) == Col::Estratto)
        return QStringLiteral("Il saldo finale dichiarato dall'estratto conto che si chiude dopo il movimento, e se "
                              "concorda con il saldo iniziale più i movimenti");
    return {};
}

Qt::ItemFlags ModelloMovimenti::flags(const QModelIndex& indice) const
{
    if (!indice.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Modificabile(Colonna(indice)))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ModelloMovimenti::setData(const QModelIndex& indice, const QVariant& valore, int ruolo)
{
    if (ruolo != Qt::EditRole || !indice.isValid() || indice.row() >= rowCount() || !Modificabile(Colonna(indice)))
        return false;
    const std::size_t i = righe_[static_cast<std::size_t>(indice.row())];
    if (i >= movimenti().size())
        return false;
    const Movimento prima = movimenti()[i];
    Movimento dopo = prima;
    const QString testo = valore.toString();
    QString motivo;
    bool perRegole = false;
    switch (Colonna(indice)) {
    case Col::DataContabile:
    case Col::DataValuta: {
        const auto g = LeggiGiorno(testo, motivo);
        if (!g)
            break;
        (Colonna(indice) == Col::DataContabile ? dopo.dataContabile : dopo.dataValuta) = *g;
        const auto scarto = (dopo.dataValuta - dopo.dataContabile).count();
        if (scarto > 366 || scarto < -366)
            motivo = QStringLiteral("La valuta %1 dista più di un anno dalla data contabile %2.")
                         .arg(TestoGiornoQt(dopo.dataValuta), TestoGiornoQt(dopo.dataContabile));
        break;
    }
    case Col::Importo: {
        QString perche;
        if (const auto c = LeggiCentesimi(testo, &perche))
            dopo.importo = *c;
        else
            motivo = QStringLiteral("L'importo \u00ab%1\u00bb %2.").arg(testo.trimmed(), perche);
        perRegole = true;
        break;
    }
    case Col::Causale:
        if (const auto c = LeggiCausale(testo, motivo))
            dopo.causaleCBI = *c;
        perRegole = true;
        break;
    case Col::Descrizione:
        dopo.descrizione = testo.trimmed().toStdString();
        perRegole = true;
        break;
    case Col::Classe:
        if (const auto c = ClasseDaNome(testo.trimmed().toStdString())) {
            if (*c != prima.classe) {
                dopo.classe = *c;
                dopo.regolaClasse = ClasseAMano;
            }
        } else {
            motivo = QStringLiteral("La classe \u00ab%1\u00bb non esiste.").arg(testo.trimmed());
        }
        break;
    default: return false;
    }
    if (!motivo.isEmpty()) {
        emit Rifiutato(motivo);
        return false;
    }
    if (perRegole && dopo.regolaClasse != ClasseAMano)
        std::tie(dopo.classe, dopo.regolaClasse) = ClassificatoreMovimenti(documento_.ContoCorrente().regole).Classe(dopo);
    if (dopo.dataContabile == prima.dataContabile && dopo.dataValuta == prima.dataValuta &&
        dopo.importo == prima.importo && dopo.causaleCBI == prima.causaleCBI && dopo.descrizione == prima.descrizione &&
        dopo.classe == prima.classe && dopo.regolaClasse == prima.regolaClasse)
        return true;
    annulla_.push(new ComandoSostituisci(*this, QStringLiteral("Modifica %1").arg(IntestazioniMovimenti()[indice.column()]),
                                         {{i, prima}}, {{i, dopo}}));
    return true;
}

int ModelloMovimenti::Aggiungi(int riga)
{
    const bool dopoRiga = riga >= 0 && riga < rowCount();
    const std::size_t posto = dopoRiga ? righe_[static_cast<std::size_t>(riga)] + 1 : 0;
    Movimento nuovo;
    if (dopoRiga) {
        const Movimento& vicino = movimenti()[righe_[static_cast<std::size_t>(riga)]];
        nuovo.dataContabile = vicino.dataContabile;
        nuovo.dataValuta = vicino.dataContabile;
    } else {
        nuovo.dataContabile = nuovo.dataValuta = documento_.Oggi();
    }
    std::tie(nuovo.classe, nuovo.regolaClasse) = ClassificatoreMovimenti(documento_.ContoCorrente().regole).Classe(nuovo);
    annulla_.push(new ComandoAggiungi(*this, posto, nuovo, dopoRiga ? riga + 1 : 0));
    return RigaDi(posto);
}

void ModelloMovimenti::Elimina(const std::vector<int>& righe)
{
    std::vector<std::pair<std::size_t, Movimento>> tolti;
    for (const int r : righe)
        if (r >= 0 && r < rowCount())
            tolti.emplace_back(righe_[static_cast<std::size_t>(r)], Movimento{});
    std::sort(tolti.begin(), tolti.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    tolti.erase(std::unique(tolti.begin(), tolti.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
                tolti.end());
    if (tolti.empty())
        return;
    for (auto& t : tolti)
        t.second = movimenti()[t.first];
    annulla_.push(new ComandoElimina(*this, std::move(tolti)));
}

bool ModelloMovimenti::ClasseDalleRegole(const std::vector<int>& righe)
{
    const ClassificatoreMovimenti regole(documento_.ContoCorrente().regole);
    std::vector<std::pair<std::size_t, Movimento>> prima, dopo;
    for (const int r : righe) {
        if (r < 0 || r >= rowCount())
            continue;
        const std::size_t i = righe_[static_cast<std::size_t>(r)];
        Movimento m = movimenti()[i];
        const auto [classe, regola] = regole.Classe(m);
        if (classe == m.classe && regola == m.regolaClasse)
            continue;
        prima.emplace_back(i, m);
        m.classe = classe;
        m.regolaClasse = regola;
        dopo.emplace_back(i, m);
    }
    if (dopo.empty())
        return false;
    annulla_.push(new ComandoSostituisci(*this, QStringLiteral("Classe dalle regole"), std::move(prima), std::move(dopo)));
    return true;
}

// ---------------------------------------------------------------- what the steps do

void ModelloMovimenti::sostituisci(const std::vector<std::pair<std::size_t, Movimento>>& nuovi)
{
    for (const auto& [i, m] : nuovi)
        if (i < movimenti().size())
            movimenti()[i] = m;
    aggiornaSaldi();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColonneMovimenti - 1));
    emit Modificato();
}

void ModelloMovimenti::inserisci(const std::vector<std::pair<std::size_t, Movimento>>& nuovi, const std::vector<int>& righe)
{
    std::vector<Movimento>& v = movimenti();
    const std::size_t totale = v.size() + nuovi.size();
    // The document's list with the new ones at their places, and where each
    // old movement goes.
    std::vector<Movimento> unita;
    unita.reserve(totale);
    std::vector<std::size_t> mappa(v.size()), posti(nuovi.size());
    std::size_t vecchio = 0, k = 0;
    for (std::size_t posto = 0; posto < totale; ++posto) {
        if (k < nuovi.size() && (nuovi[k].first <= posto || vecchio == v.size())) {
            posti[k] = posto;
            unita.push_back(nuovi[k++].second);
        } else {
            mappa[vecchio] = posto;
            unita.push_back(std::move(v[vecchio++]));
        }
    }
    v = std::move(unita);
    for (std::size_t& r : righe_)
        r = mappa[r];

    // The rows: each new movement the filter lets through at its row.
    std::vector<std::pair<int, std::size_t>> mostrati;
    for (std::size_t j = 0; j < nuovi.size(); ++j)
        if (passa(posti[j]))
            mostrati.emplace_back(j < righe.size() && righe[j] >= 0 ? righe[j] : static_cast<int>(righe_.size()),
                                  posti[j]);
    std::stable_sort(mostrati.begin(), mostrati.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::size_t> nuoveRighe;
    nuoveRighe.reserve(righe_.size() + mostrati.size());
    int primo = -1, ultimo = -1;
    std::size_t a = 0, b = 0;
    for (int r = 0; a < righe_.size() || b < mostrati.size(); ++r) {
        if (b < mostrati.size() && (mostrati[b].first <= r || a == righe_.size())) {
            nuoveRighe.push_back(mostrati[b++].second);
            primo = primo < 0 ? r : primo;
            ultimo = r;
        } else {
            nuoveRighe.push_back(righe_[a++]);
        }
    }
    if (mostrati.empty()) {
        righe_ = std::move(nuoveRighe);
    } else if (ultimo - primo + 1 == static_cast<int>(mostrati.size())) {
        beginInsertRows({}, primo, ultimo);
        righe_ = std::move(nuoveRighe);
        aggiornaInverso();
        endInsertRows();
    } else {
        beginResetModel();
        righe_ = std::move(nuoveRighe);
        aggiornaInverso();
        endResetModel();
    }
    aggiornaInverso();
    aggiornaSaldi();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColonneMovimenti - 1));
    emit Modificato();
}

std::vector<int> ModelloMovimenti::rimuovi(const std::vector<std::size_t>& posizioni)
{
    std::vector<int> righe;
    righe.reserve(posizioni.size());
    for (const std::size_t p : posizioni)
        righe.push_back(RigaDi(p));
    std::vector<int> visibili;
    for (const int r : righe)
        if (r >= 0)
            visibili.push_back(r);
    std::sort(visibili.begin(), visibili.end(), std::greater<>());
    // Contiguous runs of rows, from the bottom.
    std::vector<std::pair<int, int>> tratti;
    for (const int r : visibili) {
        if (!tratti.empty() && tratti.back().first == r + 1)
            tratti.back().first = r;
        else
            tratti.emplace_back(r, r);
    }
    const auto togli = [&](int da, int a) { righe_.erase(righe_.begin() + da, righe_.begin() + a + 1); };
    if (tratti.size() <= 16) {
        for (const auto& [da, a] : tratti) {
            beginRemoveRows({}, da, a);
            togli(da, a);
            endRemoveRows();
        }
    } else {
        beginResetModel();
        for (const auto& [da, a] : tratti)
            togli(da, a);
        endResetModel();
    }

    // The document's list without them, and the places of those left.
    std::vector<Movimento>& v = movimenti();
    std::vector<char> tolto(v.size(), 0);
    for (const std::size_t p : posizioni)
        if (p < v.size())
            tolto[p] = 1;
    std::vector<std::size_t> mappa(v.size());
    std::size_t scritto = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        mappa[i] = scritto;
        if (!tolto[i]) {
            if (scritto != i)
                v[scritto] = std::move(v[i]);
            ++scritto;
        }
    }
    v.resize(scritto);
    for (std::size_t& r : righe_)
        r = mappa[r];
    aggiornaInverso();
    aggiornaSaldi();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColonneMovimenti - 1));
    emit Modificato();
    return righe;
}
