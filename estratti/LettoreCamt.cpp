#include "LettoreCamt.h"

#include "TestoEstratti.h"

#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

using namespace std::chrono;

namespace {

constexpr std::size_t DifettiMassimi = 20;
// A statement nests a dozen levels deep; thousands are an attack on memory.
constexpr std::size_t LivelliMassimi = 200;

// The elements the reader looks at; any other is Altro.
enum class E : std::uint8_t {
    Altro,
    Acct,
    AddtlNtryInf,
    Amt,
    BIC,
    BICFI,
    Bal,
    BkToCstmrStmt,
    BkTxCd,
    BookgDt,
    Ccy,
    Cd,
    CdOrPrtry,
    CdtDbtInd,
    Document,
    Domn,
    Dt,
    DtTm,
    FinInstnId,
    Fmly,
    IBAN,
    Id,
    Issr,
    Nm,
    Ntry,
    NtryDtls,
    Othr,
    Ownr,
    Prtry,
    RmtInf,
    RvslInd,
    Stmt,
    Sts,
    SubFmlyCd,
    Svcr,
    Tp,
    TxDtls,
    Ustrd,
    ValDt,
};

// Sorted, for the binary search.
constexpr std::pair<QStringView, E> Nomi[] = {
    {u"Acct", E::Acct},
    {u"AddtlNtryInf", E::AddtlNtryInf},
    {u"Amt", E::Amt},
    {u"BIC", E::BIC},
    {u"BICFI", E::BICFI},
    {u"Bal", E::Bal},
    {u"BkToCstmrStmt", E::BkToCstmrStmt},
    {u"BkTxCd", E::BkTxCd},
    {u"BookgDt", E::BookgDt},
    {u"Ccy", E::Ccy},
    {u"Cd", E::Cd},
    {u"CdOrPrtry", E::CdOrPrtry},
    {u"CdtDbtInd", E::CdtDbtInd},
    {u"Document", E::Document},
    {u"Domn", E::Domn},
    {u"Dt", E::Dt},
    {u"DtTm", E::DtTm},
    {u"FinInstnId", E::FinInstnId},
    {u"Fmly", E::Fmly},
    {u"IBAN", E::IBAN},
    {u"Id", E::Id},
    {u"Issr", E::Issr},
    {u"Nm", E::Nm},
    {u"Ntry", E::Ntry},
    {u"NtryDtls", E::NtryDtls},
    {u"Othr", E::Othr},
    {u"Ownr", E::Ownr},
    {u"Prtry", E::Prtry},
    {u"RmtInf", E::RmtInf},
    {u"RvslInd", E::RvslInd},
    {u"Stmt", E::Stmt},
    {u"Sts", E::Sts},
    {u"SubFmlyCd", E::SubFmlyCd},
    {u"Svcr", E::Svcr},
    {u"Tp", E::Tp},
    {u"TxDtls", E::TxDtls},
    {u"Ustrd", E::Ustrd},
    {u"ValDt", E::ValDt},
};

E Elemento(QStringView nome)
{
    const auto i = std::lower_bound(std::begin(Nomi), std::end(Nomi), nome,
                                    [](const auto& n, QStringView cercato) { return n.first.compare(cercato) < 0; });
    return i != std::end(Nomi) && i->first == nome ? i->second : E::Altro;
}

// A balance or an entry as its elements come, turned into data at its end.
struct Importo {
    QString testo, divisa, segno;  // Amt, its Ccy, CdtDbtInd
};

struct Saldo {
    int riga = 0;
    QString tipo, data;
    Importo importo;
};

struct Voce {
    int riga = 0;
    Importo importo;
    QString storno, stato, contabile, valuta;
    QString dominio, famiglia, sottofamiglia, codiceProprietario, emittente;
    QStringList testi;  // RmtInf/Ustrd, then AddtlNtryInf
    QString aggiuntiva;
};

class Lettura {
public:
    Lettura(QXmlStreamReader& xml, const QString& nome) : xml_(xml), nome_(nome) {}

    // False when reading must stop.
    bool Inizio();
    void Fine();
    bool Basta() const { return esito_.difetti.size() >= DifettiMassimi; }
    void Difetto(int riga, const QString& testo)
    {
        if (esito_.difetti.size() < DifettiMassimi)
            esito_.difetti.push_back({nome_.toStdString(), riga, testo.toStdString(), "riga"});
    }
    EsitoLettura Esito() { return std::move(esito_); }

private:
    // The open elements below the one at livello match nomi exactly.
    bool Sotto(std::size_t livello, std::initializer_list<E> nomi) const
    {
        if (pila_.size() != livello + 1 + nomi.size())
            return false;
        std::size_t i = livello + 1;
        for (E n : nomi)
            if (pila_[i++] != n)
                return false;
        return true;
    }
    // Text of the element just opened; it is closed after this.
    QString Testo()
    {
        pila_.pop_back();
        return xml_.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    void LeggiImporto(Importo& importo)
    {
        importo.divisa = xml_.attributes().value(QLatin1StringView("Ccy")).toString();
        importo.testo = Testo();
    }
    std::optional<Centesimi> Valore(const Importo& importo, int riga, const QString& cosa);
    std::optional<sys_days> Data(const QString& testo, int riga, const QString& cosa);
    void ChiudiSaldo();
    void ChiudiVoce();
    void Storni();

    QXmlStreamReader& xml_;
    QString nome_;
    EsitoLettura esito_;
    std::vector<E> pila_;
    bool radice_ = false;
    // Levels of the open Stmt, Bal and Ntry in pila_ (0 = none open).
    std::size_t stmt_ = 0, bal_ = 0, ntry_ = 0;
    EstrattoConto estratto_;
    std::optional<SaldoDichiarato> precedente_;  // PRCD, when OPBD is missing
    std::vector<std::size_t> storni_;            // reversals among the statement's movements
    Saldo saldo_;
    Voce voce_;
};

std::optional<Centesimi> Lettura::Valore(const Importo& importo, int riga, const QString& cosa)
{
    if (importo.divisa != u"EUR") {
        Difetto(riga, QStringLiteral("%1 è in %2: si importano solo conti in euro (EUR).")
                          .arg(cosa, Citato(importo.divisa)));
        return std::nullopt;
    }
    QString errore;
    const auto valore = LeggiCentesimi(importo.testo, u'.', QChar(), &errore);
    if (!valore || importo.testo.contains(u'-') || importo.testo.contains(u'+')) {
        Difetto(riga, QStringLiteral("%1: %2.").arg(cosa, valore ? QStringLiteral("l'importo %1 ha un segno").arg(Citato(importo.testo)) : errore));
        return std::nullopt;
    }
    if (importo.segno == u"DBIT")
        return -*valore;
    if (importo.segno == u"CRDT")
        return *valore;
    Difetto(riga, QStringLiteral("%1: l'indicatore %2 non è CRDT né DBIT.").arg(cosa, Citato(importo.segno)));
    return std::nullopt;
}

std::optional<sys_days> Lettura::Data(const QString& testo, int riga, const QString& cosa)
{
    const auto giorno = GiornoISO(testo);
    if (!giorno)
        Difetto(riga, QStringLiteral("la %1 %2 non è una data valida.").arg(cosa, Citato(testo)));
    return giorno;
}

bool Lettura::Inizio()
{
    const QStringView nome = xml_.name();
    if (!radice_) {
        if (nome != u"Document") {
            Difetto(static_cast<int>(xml_.lineNumber()),
                    QStringLiteral("il file XML non è un estratto conto camt.053 (elemento %1).").arg(Citato(nome)));
            return false;
        }
        radice_ = true;
    } else if (pila_.size() == 1 && nome != u"BkToCstmrStmt") {
        Difetto(static_cast<int>(xml_.lineNumber()),
                QStringLiteral("il file XML non è un estratto conto camt.053 (BkToCstmrStmt), ma %1.").arg(Citato(nome)));
        return false;
    }
    if (pila_.size() >= LivelliMassimi) {
        Difetto(static_cast<int>(xml_.lineNumber()),
                QStringLiteral("il file XML ha più di %1 livelli di elementi annidati: non è un estratto conto.")
                    .arg(LivelliMassimi));
        return false;
    }
    pila_.push_back(Elemento(nome));
    const int riga = static_cast<int>(xml_.lineNumber());

    if (Sotto(1, {E::Stmt})) {
        stmt_ = pila_.size() - 1;
        estratto_ = EstrattoConto{};
        estratto_.file = nome_.toStdString();
        precedente_.reset();
        storni_.clear();
        return true;
    }
    if (!stmt_)
        return true;
    DatiConto& conto = estratto_.conto;
    if (ntry_) {
        Voce& v = voce_;
        if (Sotto(ntry_, {E::Amt}))
            LeggiImporto(v.importo);
        else if (Sotto(ntry_, {E::CdtDbtInd}))
            v.importo.segno = Testo();
        else if (Sotto(ntry_, {E::RvslInd}))
            v.storno = Testo();
        else if (Sotto(ntry_, {E::Sts}))
            v.stato = Testo();  // "BOOK", or <Cd>BOOK</Cd> from version 08
        else if (Sotto(ntry_, {E::BookgDt, E::Dt}) || Sotto(ntry_, {E::BookgDt, E::DtTm}))
            v.contabile = Testo();
        else if (Sotto(ntry_, {E::ValDt, E::Dt}) || Sotto(ntry_, {E::ValDt, E::DtTm}))
            v.valuta = Testo();
        else if (Sotto(ntry_, {E::BkTxCd, E::Domn, E::Cd}))
            v.dominio = Testo();
        else if (Sotto(ntry_, {E::BkTxCd, E::Domn, E::Fmly, E::Cd}))
            v.famiglia = Testo();
        else if (Sotto(ntry_, {E::BkTxCd, E::Domn, E::Fmly, E::SubFmlyCd}))
            v.sottofamiglia = Testo();
        else if (Sotto(ntry_, {E::BkTxCd, E::Prtry, E::Cd}))
            v.codiceProprietario = Testo();
        else if (Sotto(ntry_, {E::BkTxCd, E::Prtry, E::Issr}))
            v.emittente = Testo();
        else if (Sotto(ntry_, {E::NtryDtls, E::TxDtls, E::RmtInf, E::Ustrd}))
            v.testi.push_back(Testo());
        else if (Sotto(ntry_, {E::AddtlNtryInf}))
            v.aggiuntiva = Testo();
    } else if (bal_) {
        if (Sotto(bal_, {E::Tp, E::CdOrPrtry, E::Cd}))
            saldo_.tipo = Testo();
        else if (Sotto(bal_, {E::Amt}))
            LeggiImporto(saldo_.importo);
        else if (Sotto(bal_, {E::CdtDbtInd}))
            saldo_.importo.segno = Testo();
        else if (Sotto(bal_, {E::Dt, E::Dt}) || Sotto(bal_, {E::Dt, E::DtTm}))
            saldo_.data = Testo();
    } else if (Sotto(stmt_, {E::Ntry})) {
        ntry_ = pila_.size() - 1;
        voce_ = Voce{};
        voce_.riga = riga;
    } else if (Sotto(stmt_, {E::Bal})) {
        bal_ = pila_.size() - 1;
        saldo_ = Saldo{};
        saldo_.riga = riga;
    } else if (Sotto(stmt_, {E::Acct, E::Id, E::IBAN})) {
        conto.iban = Testo().toStdString();
    } else if (Sotto(stmt_, {E::Acct, E::Id, E::Othr, E::Id})) {
        conto.numero = Testo().toStdString();
    } else if (Sotto(stmt_, {E::Acct, E::Ccy})) {
        const QString divisa = Testo();
        if (divisa != u"EUR")
            Difetto(riga, QStringLiteral("il conto è in %1: si importano solo conti in euro (EUR).").arg(Citato(divisa)));
    } else if (Sotto(stmt_, {E::Acct, E::Ownr, E::Nm})) {
        conto.intestatario = Testo().toStdString();
    } else if (Sotto(stmt_, {E::Acct, E::Svcr, E::FinInstnId, E::Nm})) {
        conto.banca = Testo().toStdString();
    } else if ((Sotto(stmt_, {E::Acct, E::Svcr, E::FinInstnId, E::BIC}) ||
                Sotto(stmt_, {E::Acct, E::Svcr, E::FinInstnId, E::BICFI})) &&
               conto.banca.empty()) {
        conto.banca = Testo().toStdString();
    }
    return true;
}

void Lettura::ChiudiSaldo()
{
    const QString cosa = QStringLiteral("il saldo %1").arg(saldo_.tipo);
    const bool iniziale = saldo_.tipo == u"OPBD", precedente = saldo_.tipo == u"PRCD", finale = saldo_.tipo == u"CLBD";
    // Other balances (available, interim, forward) must be in euro too.
    const auto valore = Valore(saldo_.importo, saldo_.riga, cosa);
    if (!iniziale && !precedente && !finale)
        return;
    const auto data = Data(saldo_.data, saldo_.riga, QStringLiteral("data del saldo %1").arg(saldo_.tipo));
    if (!valore || !data)
        return;
    const SaldoDichiarato s{*data, *valore, saldo_.riga};
    if (iniziale && !estratto_.iniziale)
        estratto_.iniziale = s;
    else if (precedente && !precedente_)
        precedente_ = s;
    else if (finale && !estratto_.finale)
        estratto_.finale = s;
}

void Lettura::ChiudiVoce()
{
    const Voce& v = voce_;
    if (v.stato.isEmpty()) {
        Difetto(v.riga, QStringLiteral("il movimento non dice se è contabilizzato (Sts)."));
        return;
    }
    if (v.stato != u"BOOK")
        return;  // pending or for information: not in the balance
    auto importo = Valore(v.importo, v.riga, QStringLiteral("il movimento"));
    const auto contabile = Data(v.contabile, v.riga, QStringLiteral("data contabile"));
    const auto valuta = v.valuta.isEmpty() ? contabile : Data(v.valuta, v.riga, QStringLiteral("data valuta"));
    if (!importo || !contabile || !valuta)
        return;
    if (v.storno == u"true" || v.storno == u"1")
        storni_.push_back(estratto_.movimenti.size());
    Movimento m;
    m.dataContabile = *contabile;
    m.dataValuta = *valuta;
    m.importo = *importo;
    // Italian banks give the CBI causale as the proprietary code issued by
    // ABI or CBI.
    const bool codiceCBI =
        v.emittente.compare(u"ABI", Qt::CaseInsensitive) == 0 || v.emittente.compare(u"CBI", Qt::CaseInsensitive) == 0 ||
        (v.emittente.isEmpty() && v.codiceProprietario.size() == 2);
    if (codiceCBI)
        m.causaleCBI = v.codiceProprietario.toStdString();
    if (!v.dominio.isEmpty())
        m.causaleBanca = QStringList{v.dominio, v.famiglia, v.sottofamiglia}.join(u'/').toStdString();
    else if (!codiceCBI)
        m.causaleBanca = v.codiceProprietario.toStdString();
    QStringList testi = v.testi;
    if (!v.aggiuntiva.isEmpty())
        testi.push_back(v.aggiuntiva);
    m.descrizione = Compatta(testi.join(u' ')).toStdString();
    m.file = estratto_.file;
    m.riga = v.riga;
    estratto_.movimenti.push_back(std::move(m));
}

void Lettura::Storni()
{
    // ISO 20022 gives a reversal's own direction in CdtDbtInd. Some banks
    // give the direction of the entry reversed instead: when only that
    // reading makes the declared balances add up, it is theirs.
    if (storni_.empty() || !estratto_.iniziale || !estratto_.finale)
        return;
    Centesimi somma = estratto_.iniziale->saldo, storni = 0, girati = 0;
    for (const Movimento& m : estratto_.movimenti)
        if (__builtin_add_overflow(somma, m.importo, &somma))
            return;  // beyond any real amount: the check in the core says so
    for (std::size_t i : storni_)
        if (__builtin_add_overflow(storni, estratto_.movimenti[i].importo, &storni) ||
            __builtin_mul_overflow(storni, 2, &girati) || __builtin_sub_overflow(somma, girati, &girati))
            return;
    if (somma != estratto_.finale->saldo && girati == estratto_.finale->saldo)
        for (std::size_t i : storni_)
            estratto_.movimenti[i].importo = -estratto_.movimenti[i].importo;
}

void Lettura::Fine()
{
    const std::size_t livello = pila_.size() - 1;
    if (livello == ntry_ && ntry_) {
        ChiudiVoce();
        ntry_ = 0;
    } else if (livello == bal_ && bal_) {
        ChiudiSaldo();
        bal_ = 0;
    } else if (livello == stmt_ && stmt_) {
        if (!estratto_.iniziale)
            estratto_.iniziale = precedente_;
        Storni();
        esito_.estratti.push_back(std::move(estratto_));
        estratto_ = EstrattoConto{};
        stmt_ = 0;
    }
    pila_.pop_back();
}

} // namespace

bool PareXML(QByteArrayView inizio)
{
    if (inizio.startsWith("\xEF\xBB\xBF"))
        inizio = inizio.sliced(3);
    while (!inizio.isEmpty() && (inizio.front() == ' ' || inizio.front() == '\t' || inizio.front() == '\r' || inizio.front() == '\n'))
        inizio = inizio.sliced(1);
    return inizio.startsWith("<?xml") || inizio.startsWith("<Document") || inizio.startsWith("<!--") ||
           inizio.startsWith("<!DOCTYPE");
}

EsitoLettura LettoreCamt::Leggi(const QString& percorso, const QString& nome, const Avanzamento& avanzamento) const
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        EsitoLettura esito;
        esito.difetti.push_back({nome.toStdString(), 0, "il file non si apre (" + file.errorString().toStdString() + ")."});
        return esito;
    }
    QXmlStreamReader xml(&file);
    Lettura lettura(xml, nome);
    for (long passo = 1; !xml.atEnd(); ++passo) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            // Entities are declared there: refused before any is expanded.
            lettura.Difetto(static_cast<int>(xml.lineNumber()),
                            QStringLiteral("il file contiene una dichiarazione di tipo documento (DOCTYPE, entità): "
                                           "per sicurezza non viene letto."));
            return lettura.Esito();
        case QXmlStreamReader::EntityReference:
            lettura.Difetto(static_cast<int>(xml.lineNumber()),
                            QStringLiteral("il file usa un'entità non ammessa (%1).").arg(Citato(xml.name())));
            return lettura.Esito();
        case QXmlStreamReader::StartElement:
            if (!lettura.Inizio())
                return lettura.Esito();
            break;
        case QXmlStreamReader::EndElement:
            lettura.Fine();
            break;
        default:
            break;
        }
        if (passo % 4096 == 0 && !avanzamento.Continua(file.pos()))
            return EsitoLettura::Annullata();
        if (lettura.Basta())
            return lettura.Esito();
    }
    if (xml.hasError())
        lettura.Difetto(static_cast<int>(xml.lineNumber()),
                        xml.error() == QXmlStreamReader::PrematureEndOfDocumentError
                            ? QStringLiteral("il file XML finisce a metà: è troncato.")
                            : QStringLiteral("il file XML non è ben formato (colonna %1).").arg(xml.columnNumber()));
    avanzamento.Segnala(file.pos());
    return lettura.Esito();
}
