#include "LettoreOFX.h"

#include "TestoEstratti.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <libofx/libofx.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <mutex>

using namespace std::chrono;

namespace {

constexpr std::size_t DifettiMassimi = 20;

// The day in Italy of a moment libofx gives (dates without a time come as
// late morning UTC, dates with a time and zone as that moment): Central
// European time, summer time from the last Sunday of March to the last
// Sunday of October, 01:00 UTC.
sys_days GiornoInItalia(time_t momento)
{
    const sys_seconds s{seconds{momento}};
    const year anno = year_month_day{floor<days>(s)}.year();
    auto ultimaDomenica = [anno](month m) {
        const sys_days d{anno / m / last};
        return d - (weekday{d} - Sunday);
    };
    const bool estate = s >= ultimaDomenica(March) + hours{1} && s < ultimaDomenica(October) + hours{1};
    return floor<days>(s + hours{estate ? 2 : 1});
}

const char* NomeTipo(TransactionType tipo)
{
    static const char* const nomi[] = {"CREDIT", "DEBIT", "INT",    "DIV",     "FEE",       "SRVCHG",
                                       "DEP",    "ATM",   "POS",    "XFER",    "CHECK",     "PAYMENT",
                                       "CASH",   "DIRECTDEP", "DIRECTDEBIT", "REPEATPMT", "OTHER"};
    const int i = static_cast<int>(tipo);
    return i >= 0 && i < static_cast<int>(std::size(nomi)) ? nomi[i] : "OTHER";
}

// stderr sent to a temporary file while libofx reads.
class CatturaStderr {
public:
    CatturaStderr()
    {
        std::fflush(stderr);
        std::cerr.flush();
        if (file_.open()) {
            salvato_ = dup(STDERR_FILENO);
            if (salvato_ >= 0)
                dup2(file_.handle(), STDERR_FILENO);
        }
    }
    ~CatturaStderr() { Ripristina(); }
    QByteArray Testo()
    {
        Ripristina();
        file_.seek(0);
        return file_.readAll();
    }

private:
    void Ripristina()
    {
        if (salvato_ < 0)
            return;
        std::fflush(stderr);
        std::cerr.flush();
        dup2(salvato_, STDERR_FILENO);
        close(salvato_);
        salvato_ = -1;
    }
    QTemporaryFile file_;
    int salvato_ = -1;
};

// libofx gives statements and movements in an order of its own (the
// statement first, in this version): each is kept with its account and they
// are matched at the end.
struct Lettura {
    std::string file;
    EsitoLettura esito;
    DatiConto conto;
    std::vector<std::pair<std::string, Movimento>> movimenti;
    std::vector<std::pair<std::string, EstrattoConto>> estratti;
    int numero = 0;  // movements so far in the file

    void Difetto(int riga, const QString& testo, const char* tipoRiga = "movimento")
    {
        if (esito.difetti.size() < DifettiMassimi)
            esito.difetti.push_back({file, riga, testo.toStdString(), tipoRiga});
    }
};

std::optional<Centesimi> Centesimi2(double importo)
{
    const double c = importo * 100.0;
    if (!std::isfinite(c) || std::fabs(c) > 1e17 || std::fabs(c - std::round(c)) > 1e-6 * std::max(1.0, std::fabs(c)))
        return std::nullopt;
    return static_cast<Centesimi>(std::llround(c));
}

int Conto(const OfxAccountData dati, void* lettura)
{
    auto* l = static_cast<Lettura*>(lettura);
    DatiConto c;
    if (dati.bank_id_valid)
        c.abi = dati.bank_id;
    if (dati.branch_id_valid)
        c.cab = dati.branch_id;
    if (dati.account_number_valid)
        c.numero = dati.account_number;
    if (dati.currency_valid && std::string(dati.currency) != "EUR")
        l->Difetto(0, QStringLiteral("il conto è in «%1»: si importano solo conti in euro (EUR).").arg(QLatin1StringView(dati.currency)));
    l->conto = c;
    return 0;
}

int Movimento_(const OfxTransactionData dati, void* lettura)
{
    auto* l = static_cast<Lettura*>(lettura);
    const int numero = ++l->numero;
    if (!dati.amount_valid || !dati.date_posted_valid) {
        l->Difetto(numero, QStringLiteral("il movimento non ha l'importo (TRNAMT) o la data (DTPOSTED)."));
        return 0;
    }
    if (dati.amounts_are_foreign_currency_valid && dati.amounts_are_foreign_currency) {
        l->Difetto(numero, QStringLiteral("il movimento è in valuta estera: si importano solo conti in euro (EUR)."));
        return 0;
    }
    const auto importo = Centesimi2(dati.amount);
    if (!importo) {
        l->Difetto(numero, QStringLiteral("l'importo %1 non è in euro e centesimi.").arg(dati.amount, 0, 'f', 6));
        return 0;
    }
    Movimento m;
    m.importo = *importo;
    m.dataContabile = GiornoInItalia(dati.date_posted);
    m.dataValuta = dati.date_funds_available_valid ? GiornoInItalia(dati.date_funds_available)
                   : dati.date_initiated_valid     ? GiornoInItalia(dati.date_initiated)
                                                   : m.dataContabile;
    if (dati.transactiontype_valid)
        m.causaleBanca = NomeTipo(dati.transactiontype);
    QString testo = dati.name_valid ? QString::fromUtf8(dati.name) : QString();
    if (dati.memo_valid)
        testo += u' ' + QString::fromUtf8(dati.memo);
    m.descrizione = Compatta(testo).toStdString();
    m.file = l->file;
    m.riga = numero;
    l->movimenti.emplace_back(dati.account_id_valid ? dati.account_id : "", std::move(m));
    return 0;
}

int Estratto(const OfxStatementData dati, void* lettura)
{
    auto* l = static_cast<Lettura*>(lettura);
    if (dati.currency_valid && std::string(dati.currency) != "EUR")
        l->Difetto(0, QStringLiteral("l'estratto è in «%1»: si importano solo conti in euro (EUR).").arg(QLatin1StringView(dati.currency)));
    EstrattoConto e;
    e.file = l->file;
    e.conto = l->conto;
    auto saldo = [&](double importo, bool valido, time_t data, bool dataValida, const char* nome)
        -> std::optional<SaldoDichiarato> {
        if (!valido)
            return std::nullopt;
        const auto c = Centesimi2(importo);
        if (!c) {
            l->Difetto(0, QStringLiteral("il saldo %1 non è in euro e centesimi.").arg(QLatin1StringView(nome)));
            return std::nullopt;
        }
        const time_t quando = dataValida ? data : dati.date_end_valid ? dati.date_end : dati.date_asof;
        return SaldoDichiarato{GiornoInItalia(quando), *c, 0};
    };
    e.finale = saldo(dati.ledger_balance, dati.ledger_balance_valid, dati.ledger_balance_date,
                     dati.ledger_balance_date_valid, "contabile (LEDGERBAL)");
    e.disponibile = saldo(dati.available_balance, dati.available_balance_valid, dati.available_balance_date,
                          dati.available_balance_date_valid, "disponibile (AVAILBAL)");
    l->estratti.emplace_back(dati.account_id_valid ? dati.account_id : "", std::move(e));
    return 0;
}

int Stato(const OfxStatusData dati, void* lettura)
{
    if (dati.severity_valid && dati.severity == OfxStatusData::ERROR)
        static_cast<Lettura*>(lettura)->Difetto(
            0, QStringLiteral("la banca segnala un errore nel file (codice %1%2).")
                   .arg(dati.code)
                   .arg(dati.server_message_valid ? QStringLiteral(": ") + QString::fromUtf8(dati.server_message) : QString()));
    return 0;
}

// The line of the file where <OFX> starts: libofx counts lines from there.
int RigaOFX(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    RigheFile righe(file, 64 * 1024);
    QByteArray riga;
    while (righe.Prossima(riga) && righe.Numero() < 1000)
        if (riga.toUpper().contains("<OFX>"))
            return righe.Numero();
    return 1;
}

// The errors libofx wrote, each with the line of the file.
void ErroriLibofx(const QByteArray& testo, int primaRiga, Lettura& l)
{
    static const QRegularExpression errore(QStringLiteral(R"(^LibOFX ERROR: (.*)$)"));
    static const QRegularExpression opensp(QStringLiteral(R"(:E: (.*)$)"));
    static const QRegularExpression dove(QStringLiteral(R"(occurred on Line (\d+), Column)"));
    QString messaggio;
    const QStringList righe = QString::fromUtf8(testo).split(u'\n');
    auto chiudi = [&](int riga) {
        if (!messaggio.isEmpty())
            l.Difetto(riga, QStringLiteral("libofx non riesce a leggerlo («%1»).").arg(messaggio.trimmed()), "riga");
        messaggio.clear();
    };
    for (const QString& r : righe) {
        if (const auto m = errore.match(r); m.hasMatch()) {
            chiudi(0);
            messaggio = m.captured(1);
            if (messaggio.startsWith(u"OpenSP parser"))
                messaggio = QStringLiteral(" ");
        } else if (const auto m = opensp.match(r); m.hasMatch() && messaggio.trimmed().isEmpty()) {
            messaggio = m.captured(1);
        } else if (const auto m = dove.match(r); m.hasMatch()) {
            chiudi(m.captured(1).toInt() + primaRiga - 1);
        }
    }
    chiudi(0);
}

} // namespace

bool PareOFX(QByteArrayView inizio)
{
    const QByteArray testo = inizio.toByteArray().toUpper();
    return testo.contains("OFXHEADER") || testo.contains("<OFX>");
}

EsitoLettura LettoreOFX::Leggi(const QString& percorso, const QString& nome, const Avanzamento& avanzamento) const
{
    static std::mutex unaAllaVolta;
    const std::lock_guard blocco(unaAllaVolta);
    Lettura lettura;
    lettura.file = nome.toStdString();
    if (!QFile::exists(percorso)) {
        lettura.Difetto(0, QStringLiteral("il file non esiste."));
        return std::move(lettura.esito);
    }
    // Only errors: the rest libofx would say is chatter.
    ofx_PARSER_msg = ofx_DEBUG_msg = ofx_DEBUG1_msg = ofx_DEBUG2_msg = ofx_DEBUG3_msg = ofx_DEBUG4_msg = ofx_DEBUG5_msg =
        ofx_STATUS_msg = ofx_INFO_msg = ofx_WARNING_msg = 0;
    ofx_ERROR_msg = 1;
    QByteArray messaggi;
    int esito = 0;
    {
        CatturaStderr cattura;
        LibofxContextPtr contesto = libofx_get_new_context();
        ofx_set_account_cb(contesto, Conto, &lettura);
        ofx_set_transaction_cb(contesto, Movimento_, &lettura);
        ofx_set_statement_cb(contesto, Estratto, &lettura);
        ofx_set_status_cb(contesto, Stato, &lettura);
        esito = libofx_proc_file(contesto, QFile::encodeName(percorso).constData(), OFX);
        libofx_free_context(contesto);
        messaggi = cattura.Testo();
    }
    ErroriLibofx(messaggi, RigaOFX(percorso), lettura);
    if (lettura.esito.difetti.empty() && esito != 0)
        lettura.Difetto(0, QStringLiteral("libofx non riesce a leggerlo."));
    if (lettura.esito.difetti.empty() && lettura.estratti.empty())
        lettura.Difetto(0, QStringLiteral("il file OFX non contiene alcun estratto conto."));
    // Each movement to the statement of its account.
    for (auto& [conto, m] : lettura.movimenti) {
        auto e = std::find_if(lettura.estratti.begin(), lettura.estratti.end(),
                              [&](const auto& e) { return e.first == conto; });
        if (e == lettura.estratti.end() && lettura.estratti.size() == 1)
            e = lettura.estratti.begin();
        if (e == lettura.estratti.end()) {
            lettura.Difetto(m.riga, QStringLiteral("il movimento non appartiene a nessun estratto conto del file."));
            break;
        }
        e->second.movimenti.push_back(std::move(m));
    }
    for (auto& e : lettura.estratti)
        lettura.esito.estratti.push_back(std::move(e.second));
    if (!avanzamento.Continua(QFileInfo(percorso).size()))
        return EsitoLettura::Annullata();
    return std::move(lettura.esito);
}
