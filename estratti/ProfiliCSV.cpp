#include "ProfiliCSV.h"

#include "TestoEstratti.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <algorithm>
#include <map>

using namespace std::chrono;

namespace {

const char* const NomiFormatoData[] = {"gg/mm/aaaa", "gg/mm/aa", "aaaa-mm-gg"};

QString Normale(QStringView riga)
{
    QString r = Compatta(riga).toLower();
    if (r.startsWith(QChar(0xFEFF)))
        r.remove(0, 1);
    return r;
}

// A date of the profile's format; separators '/', '.' or '-', a time after
// it ignored ("31/01/2023 00:00").
std::optional<sys_days> LeggiData(QStringView testo, FormatoData formato, QString* errore)
{
    QStringView t = testo.trimmed();
    const qsizetype spazio = t.indexOf(u' ');
    if (spazio > 0)
        t = t.first(spazio);
    if (formato == FormatoData::AAAAMMGG && t.size() > 10 && t[10] == u'T')
        t = t.first(10);
    QList<QStringView> parti;
    qsizetype da = 0;
    for (qsizetype i = 0; i <= t.size(); ++i)
        if (i == t.size() || t[i] == u'/' || t[i] == u'.' || t[i] == u'-') {
            parti.push_back(t.sliced(da, i - da));
            da = i + 1;
        }
    const bool annoPrima = formato == FormatoData::AAAAMMGG;
    const int cifreAnno = formato == FormatoData::GGMMAA ? 2 : 4;
    bool ok = parti.size() == 3;
    int n[3] = {};
    for (int i = 0; ok && i < 3; ++i) {
        const int attese = (annoPrima ? i == 0 : i == 2) ? cifreAnno : 2;
        ok = parti[i].size() == attese || (parti[i].size() == 1 && attese == 2);
        for (QChar c : parti[i])
            ok = ok && c >= u'0' && c <= u'9';
        if (ok)
            n[i] = parti[i].toInt();
    }
    if (!ok) {
        *errore = QStringLiteral("%1 non è una data nel formato %2").arg(Citato(testo.trimmed()),
                                                                          QLatin1StringView(NomiFormatoData[int(formato)]));
        return std::nullopt;
    }
    int anno = annoPrima ? n[0] : n[2];
    if (cifreAnno == 2)
        anno += anno < 70 ? 2000 : 1900;
    const auto giorno = annoPrima ? Giorno(anno, n[1], n[2]) : Giorno(anno, n[1], n[0]);
    if (!giorno)
        *errore = QStringLiteral("la data %1 non esiste").arg(Citato(testo.trimmed()));
    return giorno;
}

// An amount as home banking writes it: "€", "EUR" and spaces around are
// dropped.
std::optional<Centesimi> LeggiImporto(QString testo, const ProfiloCSV& p, QString* errore)
{
    testo.remove(QChar(0x20AC));
    testo.remove(QChar(0xA0));
    testo = testo.trimmed();
    if (testo.startsWith(u"EUR", Qt::CaseInsensitive))
        testo = testo.sliced(3);
    if (testo.endsWith(u"EUR", Qt::CaseInsensitive))
        testo.chop(3);
    testo.remove(u' ');
    return LeggiCentesimi(testo, p.decimale, p.Migliaia(), errore);
}

int Colonna(const QJsonObject& o, const char* nome)
{
    return o.contains(QLatin1StringView(nome)) ? o.value(QLatin1StringView(nome)).toInt(-1) : -1;
}

} // namespace

QString ProfiloCSV::Difetto() const
{
    if (nome.trimmed().isEmpty())
        return QStringLiteral("Il profilo non ha un nome.");
    if (separatore.isNull() || separatore == u'"' || separatore == decimale)
        return QStringLiteral("Il separatore dei campi del profilo «%1» non è valido.").arg(nome);
    if (decimale != u',' && decimale != u'.')
        return QStringLiteral("Il separatore decimale del profilo «%1» non è né la virgola né il punto.").arg(nome);
    if (righeIniziali < 0 || righeFinali < 0)
        return QStringLiteral("Il numero di righe da saltare del profilo «%1» è negativo.").arg(nome);
    if (colonnaContabile < 0)
        return QStringLiteral("Il profilo «%1» non indica la colonna della data contabile.").arg(nome);
    const bool unico = colonnaImporto >= 0, separati = colonnaDare >= 0 && colonnaAvere >= 0;
    if (unico == separati || (!unico && (colonnaDare >= 0) != (colonnaAvere >= 0)))
        return QStringLiteral("Il profilo «%1» deve indicare o la colonna dell'importo o le colonne Dare e Avere.").arg(nome);
    if (colonneDescrizione.isEmpty())
        return QStringLiteral("Il profilo «%1» non indica la colonna della descrizione.").arg(nome);
    return {};
}

QJsonObject ProfiloInJson(const ProfiloCSV& p)
{
    QJsonObject colonne{{"dataContabile", p.colonnaContabile}};
    auto metti = [&](const char* nome, int c) {
        if (c >= 0)
            colonne.insert(QLatin1StringView(nome), c);
    };
    metti("dataValuta", p.colonnaValuta);
    metti("importo", p.colonnaImporto);
    metti("dare", p.colonnaDare);
    metti("avere", p.colonnaAvere);
    metti("saldo", p.colonnaSaldo);
    metti("causale", p.colonnaCausale);
    QJsonArray descrizione;
    for (int c : p.colonneDescrizione)
        descrizione.append(c);
    colonne.insert(QStringLiteral("descrizione"), descrizione);
    return QJsonObject{{"nome", p.nome},
                       {"separatore", QString(p.separatore)},
                       {"decimale", QString(p.decimale)},
                       {"righeIniziali", p.righeIniziali},
                       {"righeFinali", p.righeFinali},
                       {"formatoData", QLatin1StringView(NomiFormatoData[int(p.formatoData)])},
                       {"colonne", colonne},
                       {"intestazione", p.intestazione}};
}

std::optional<ProfiloCSV> ProfiloDaJson(const QJsonObject& o, QString* errore)
{
    ProfiloCSV p;
    p.nome = o.value(u"nome").toString();
    const QString separatore = o.value(u"separatore").toString(), decimale = o.value(u"decimale").toString(QStringLiteral(","));
    p.separatore = separatore.size() == 1 ? separatore[0] : QChar();
    p.decimale = decimale.size() == 1 ? decimale[0] : QChar();
    p.righeIniziali = o.value(u"righeIniziali").toInt(1);
    p.righeFinali = o.value(u"righeFinali").toInt(0);
    const QString formato = o.value(u"formatoData").toString();
    const auto trovato = std::find(std::begin(NomiFormatoData), std::end(NomiFormatoData), formato);
    if (trovato == std::end(NomiFormatoData)) {
        *errore = QStringLiteral("Il formato delle date %1 del profilo «%2» non è riconosciuto.").arg(Citato(formato), p.nome);
        return std::nullopt;
    }
    p.formatoData = FormatoData(trovato - std::begin(NomiFormatoData));
    const QJsonObject c = o.value(u"colonne").toObject();
    p.colonnaContabile = Colonna(c, "dataContabile");
    p.colonnaValuta = Colonna(c, "dataValuta");
    p.colonnaImporto = Colonna(c, "importo");
    p.colonnaDare = Colonna(c, "dare");
    p.colonnaAvere = Colonna(c, "avere");
    p.colonnaSaldo = Colonna(c, "saldo");
    p.colonnaCausale = Colonna(c, "causale");
    for (const QJsonValue v : c.value(u"descrizione").toArray())
        if (v.toInt(-1) >= 0)
            p.colonneDescrizione.push_back(v.toInt());
    p.intestazione = o.value(u"intestazione").toString();
    *errore = p.Difetto();
    if (!errore->isEmpty())
        return std::nullopt;
    return p;
}

QStringList DividiCSV(QStringView riga, QChar separatore, bool* aperte)
{
    QStringList campi;
    QString campo;
    bool virgolette = false;
    for (qsizetype i = 0; i < riga.size(); ++i) {
        const QChar c = riga[i];
        if (virgolette) {
            if (c == u'"') {
                if (i + 1 < riga.size() && riga[i + 1] == u'"') {
                    campo += u'"';
                    ++i;
                } else {
                    virgolette = false;
                }
            } else {
                campo += c;
            }
        } else if (c == u'"') {
            virgolette = true;
        } else if (c == separatore) {
            campi.push_back(campo);
            campo.clear();
        } else {
            campo += c;
        }
    }
    campi.push_back(campo);
    if (aperte)
        *aperte = virgolette;
    return campi;
}

RigaCSV LeggiRigaCSV(const QStringList& campi, const ProfiloCSV& p)
{
    RigaCSV r;
    const int servono = std::max({p.colonnaContabile, p.colonnaValuta, p.colonnaImporto, p.colonnaDare, p.colonnaAvere,
                                  p.colonnaSaldo, p.colonnaCausale,
                                  p.colonneDescrizione.isEmpty() ? -1 : *std::max_element(p.colonneDescrizione.begin(),
                                                                                           p.colonneDescrizione.end())}) +
                        1;
    if (campi.size() < servono) {
        r.difetto = QStringLiteral("la riga ha %1 colonne, il profilo ne legge %2.").arg(campi.size()).arg(servono);
        return r;
    }
    // A profile being made in the mapping dialog may lack a column yet.
    if (p.colonnaContabile < 0) {
        r.difetto = QStringLiteral("manca la colonna della data contabile.");
        return r;
    }
    QString errore;
    const auto contabile = LeggiData(campi[p.colonnaContabile], p.formatoData, &errore);
    if (!contabile) {
        r.difetto = QStringLiteral("data contabile: %1.").arg(errore);
        return r;
    }
    auto valuta = contabile;
    if (p.colonnaValuta >= 0 && !(valuta = LeggiData(campi[p.colonnaValuta], p.formatoData, &errore))) {
        r.difetto = QStringLiteral("data valuta: %1.").arg(errore);
        return r;
    }
    std::optional<Centesimi> importo;
    if (p.colonnaImporto >= 0) {
        importo = LeggiImporto(campi[p.colonnaImporto], p, &errore);
    } else {
        // Debits are written positive, or with their minus: either way a
        // debit. A zero on the other side counts as empty.
        std::optional<Centesimi> lati[2];
        for (int i = 0; i < 2; ++i) {
            const int colonna = i == 0 ? p.colonnaDare : p.colonnaAvere;
            const QString testo = colonna >= 0 ? campi[colonna].trimmed() : QString();
            if (testo.isEmpty())
                continue;
            lati[i] = LeggiImporto(testo, p, &errore);
            if (!lati[i]) {
                r.difetto = (i == 0 ? QStringLiteral("Dare: ") : QStringLiteral("Avere: ")) + errore + u'.';
                return r;
            }
        }
        const bool dare = lati[0] && *lati[0] != 0, avere = lati[1] && *lati[1] != 0;
        if (dare && avere) {
            r.difetto = QStringLiteral("ci sono importi sia in Dare sia in Avere.");
            return r;
        }
        if (!lati[0] && !lati[1]) {
            r.difetto = QStringLiteral("non c'è l'importo né in Dare né in Avere.");
            return r;
        }
        importo = dare ? -std::abs(*lati[0]) : lati[1].value_or(0);
    }
    if (!importo) {
        r.difetto = errore + u'.';
        return r;
    }
    if (p.colonnaSaldo >= 0 && !campi[p.colonnaSaldo].trimmed().isEmpty()) {
        r.saldo = LeggiImporto(campi[p.colonnaSaldo], p, &errore);
        if (!r.saldo) {
            r.difetto = QStringLiteral("saldo: %1.").arg(errore);
            return r;
        }
    }
    Movimento m;
    m.dataContabile = *contabile;
    m.dataValuta = *valuta;
    m.importo = *importo;
    if (p.colonnaCausale >= 0)
        m.causaleCBI = campi[p.colonnaCausale].trimmed().toStdString();
    QStringList testi;
    for (int c : p.colonneDescrizione)
        testi.push_back(campi[c]);
    m.descrizione = Compatta(testi.join(u' ')).toStdString();
    r.movimento = std::move(m);
    return r;
}

QStringList PrimeRighe(const QString& percorso, int righe)
{
    QFile file(percorso);
    QStringList r;
    if (!file.open(QIODevice::ReadOnly))
        return r;
    DecodificaTesto decodifica;
    RigheFile lette(file, 64 * 1024);
    QByteArray riga;
    while (r.size() < righe && lette.Prossima(riga))
        r.push_back(decodifica.Riga(riga));
    return r;
}

bool RiconosceIntestazione(const ProfiloCSV& profilo, const QStringList& primeRighe)
{
    const int i = profilo.righeIniziali - 1;
    return i >= 0 && !profilo.intestazione.trimmed().isEmpty() && i < primeRighe.size() &&
           Normale(primeRighe[i]) == Normale(profilo.intestazione);
}

ArchivioProfiliCSV::ArchivioProfiliCSV(const QString& cartella)
    : percorso_(QDir(cartella).filePath(QStringLiteral("profili-csv.json")))
{
}

bool ArchivioProfiliCSV::Carica(QString* errore)
{
    QFile file(percorso_);
    if (!file.exists()) {
        profili_.clear();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *errore = QStringLiteral("Il file dei profili CSV %1 non si apre: %2.").arg(percorso_, file.errorString());
        return false;
    }
    QJsonParseError analisi;
    const QJsonDocument documento = QJsonDocument::fromJson(file.readAll(), &analisi);
    if (analisi.error != QJsonParseError::NoError || !documento.isObject()) {
        *errore = QStringLiteral("Il file dei profili CSV %1 è danneggiato.").arg(percorso_);
        return false;
    }
    std::vector<ProfiloCSV> letti;
    for (const QJsonValue v : documento.object().value(u"profili").toArray()) {
        QString perche;
        auto p = ProfiloDaJson(v.toObject(), &perche);
        if (!p) {
            *errore = QStringLiteral("Il file dei profili CSV %1 è danneggiato: %2").arg(percorso_, perche);
            return false;
        }
        letti.push_back(std::move(*p));
    }
    profili_ = std::move(letti);
    return true;
}

bool ArchivioProfiliCSV::Salva(QString* errore) const
{
    QJsonArray profili;
    for (const ProfiloCSV& p : profili_)
        profili.append(ProfiloInJson(p));
    QSaveFile file(percorso_);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(QJsonObject{{"versione", 1}, {"profili", profili}}).toJson()) < 0 || !file.commit()) {
        *errore = QStringLiteral("Il file dei profili CSV %1 non si può scrivere: %2.").arg(percorso_, file.errorString());
        return false;
    }
    return true;
}

void ArchivioProfiliCSV::Metti(const ProfiloCSV& profilo)
{
    for (ProfiloCSV& p : profili_)
        if (p.nome == profilo.nome) {
            p = profilo;
            return;
        }
    profili_.push_back(profilo);
}

bool ArchivioProfiliCSV::Togli(const QString& nome)
{
    const auto n = std::erase_if(profili_, [&](const ProfiloCSV& p) { return p.nome == nome; });
    return n > 0;
}

const ProfiloCSV* ArchivioProfiliCSV::Trova(const QString& nome) const
{
    for (const ProfiloCSV& p : profili_)
        if (p.nome == nome)
            return &p;
    return nullptr;
}

const ProfiloCSV* ArchivioProfiliCSV::PerFile(const QString& percorsoFile) const
{
    int righe = 0;
    for (const ProfiloCSV& p : profili_)
        righe = std::max(righe, p.righeIniziali);
    const QStringList prime = PrimeRighe(percorsoFile, righe);
    for (const ProfiloCSV& p : profili_)
        if (RiconosceIntestazione(p, prime))
            return &p;
    return nullptr;
}

AnteprimaCSV AnteprimaFileCSV(const QString& percorso, const ProfiloCSV& profilo, int righeMassime)
{
    AnteprimaCSV a;
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        a.errore = QStringLiteral("Il file %1 non si apre: %2.").arg(percorso, file.errorString());
        return a;
    }
    DecodificaTesto decodifica;
    RigheFile righe(file, 64 * 1024);
    QByteArray byte;
    // A few rows more than shown: when the file ends among them, its last
    // rows are those the profile skips at the end and are marked so.
    const int finali = std::max(profilo.righeFinali, 0);
    const int daLeggere = righeMassime + finali;
    bool fine = true;
    while (righe.Prossima(byte)) {
        if (static_cast<int>(a.righe.size()) >= daLeggere) {
            if (byte.trimmed().isEmpty())
                continue;
            fine = false;
            break;
        }
        const QString testo = decodifica.Riga(byte);
        if (righe.Numero() <= profilo.righeIniziali) {
            if (righe.Numero() == profilo.righeIniziali)
                a.intestazione = DividiCSV(testo, profilo.separatore);
            continue;
        }
        if (testo.trimmed().isEmpty())
            continue;
        RigaAnteprima r;
        r.riga = righe.Numero();
        r.campi = DividiCSV(testo, profilo.separatore);
        r.letta = LeggiRigaCSV(r.campi, profilo);
        a.colonne = std::max(a.colonne, static_cast<int>(r.campi.size()));
        a.righe.push_back(std::move(r));
    }
    if (fine && finali > 0) {
        const std::size_t ultime = std::min(a.righe.size(), static_cast<std::size_t>(finali));
        for (std::size_t i = a.righe.size() - ultime; i < a.righe.size(); ++i)
            a.righe[i].finale = true;
    }
    if (static_cast<int>(a.righe.size()) > righeMassime) {
        // Shown: the first rows, and the skipped last ones when the file ends there.
        std::vector<RigaAnteprima> mostrate(a.righe.begin(), a.righe.begin() + righeMassime);
        if (fine)
            for (std::size_t i = static_cast<std::size_t>(righeMassime); i < a.righe.size(); ++i)
                if (a.righe[i].finale)
                    mostrate.push_back(std::move(a.righe[i]));
        a.righe = std::move(mostrate);
    }
    a.colonne = std::max(a.colonne, static_cast<int>(a.intestazione.size()));
    a.utf8 = decodifica.Utf8();
    return a;
}

ProfiloCSV ProfiloProposto(const QString& percorso)
{
    ProfiloCSV p;
    p.nome = QFileInfo(percorso).completeBaseName();
    const QStringList prime = PrimeRighe(percorso, 12);
    // The separator that gives the same number (more than one) of fields on
    // the most lines.
    int migliori = 0;
    for (QChar s : {u';', u',', u'\t', u'|'}) {
        std::map<qsizetype, int> conteggi;
        for (const QString& r : prime)
            if (!r.trimmed().isEmpty())
                ++conteggi[DividiCSV(r, s).size()];
        for (const auto& [campi, righe] : conteggi)
            if (campi > 1 && righe > migliori) {
                migliori = righe;
                p.separatore = s;
            }
    }
    // The header: the first line that names a date column, else the first.
    int intestazione = 0;
    for (int i = 0; i < prime.size(); ++i) {
        const QString n = Normale(prime[i]);
        if (DividiCSV(prime[i], p.separatore).size() > 1 && (n.contains(u"data") || n.contains(u"date"))) {
            intestazione = i;
            break;
        }
    }
    if (prime.isEmpty())
        return p;
    p.righeIniziali = intestazione + 1;
    p.intestazione = prime[intestazione];
    const QStringList nomi = DividiCSV(prime[intestazione], p.separatore);
    p.colonnaContabile = -1;
    for (int i = 0; i < nomi.size(); ++i) {
        const QString n = Normale(nomi[i]);
        auto contiene = [&](const char* parola) { return n.contains(QLatin1StringView(parola)); };
        if ((contiene("valuta") || contiene("value")) && p.colonnaValuta < 0)
            p.colonnaValuta = i;
        else if ((contiene("data") || contiene("date")) && p.colonnaContabile < 0)
            p.colonnaContabile = i;
        else if (contiene("dare") || contiene("uscit") || contiene("addebit"))
            p.colonnaDare = i;
        else if (contiene("avere") || contiene("entrat") || contiene("accredit"))
            p.colonnaAvere = i;
        else if (contiene("saldo"))
            p.colonnaSaldo = i;
        else if (contiene("importo") || contiene("amount"))
            p.colonnaImporto = i;
        else if (contiene("causale abi") || contiene("causale cbi"))
            p.colonnaCausale = i;
        else if (contiene("descri") || contiene("causale") || contiene("dettagl"))
            p.colonneDescrizione.push_back(i);
    }
    if (p.colonnaImporto >= 0)
        p.colonnaDare = p.colonnaAvere = -1;
    if (p.colonnaContabile < 0)
        p.colonnaContabile = 0;
    // The date format and the decimal separator of the first row.
    if (prime.size() > intestazione + 1) {
        const QStringList campi = DividiCSV(prime[intestazione + 1], p.separatore);
        if (p.colonnaContabile < campi.size()) {
            const QString data = campi[p.colonnaContabile].trimmed();
            p.formatoData = data.size() >= 10 && data[4] == u'-'   ? FormatoData::AAAAMMGG
                            : data.size() == 8 || data.indexOf(u' ') == 8 ? FormatoData::GGMMAA
                                                                          : FormatoData::GGMMAAAA;
        }
        const int importo = p.colonnaImporto >= 0 ? p.colonnaImporto : p.colonnaDare;
        if (importo >= 0 && importo < campi.size()) {
            const QString t = campi[importo];
            const qsizetype virgola = t.lastIndexOf(u','), punto = t.lastIndexOf(u'.');
            p.decimale = punto > virgola ? u'.' : u',';
        }
    }
    return p;
}
