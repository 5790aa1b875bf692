#include "LettoreCBI.h"

#include "TestoEstratti.h"

#include <QFile>

using namespace std::chrono;

namespace {

constexpr int Lunghezza = 120;
// Past this many faults the file is plainly not sound: reading stops.
constexpr std::size_t DifettiMassimi = 20;

// Positions da..a (1-based, both included) of a record of 120 characters.
QStringView Campo(const QString& record, int da, int a)
{
    return QStringView(record).sliced(da - 1, a - da + 1);
}

class Lettura {
public:
    explicit Lettura(const QString& nome) : nome_(nome) {}

    // troncato: the line went on past what was read.
    void Record(const QString& record, int numero, bool troncato);
    void Fine(int ultimo);
    bool Basta() const { return esito_.difetti.size() >= DifettiMassimi; }
    EsitoLettura Esito() { return std::move(esito_); }

private:
    enum class Fase { Inizio, Testa, Estratto, Chiuso, Fine };

    void Difetto(int numero, const QString& testo)
    {
        if (esito_.difetti.size() < DifettiMassimi)
            esito_.difetti.push_back({nome_.toStdString(), numero, testo.toStdString(), "record"});
    }
    std::optional<sys_days> Data(QStringView campo, int numero, const char* quale);
    std::optional<Centesimi> Importo(QStringView segno, QStringView importo, int numero, const char* quale);
    bool StessoEstratto(const QString& record, int numero);
    void SaldoIniziale(const QString& record, int numero);
    void Movimento62(const QString& record, int numero);
    void SaldoFinale(const QString& record, int numero);
    void Coda(const QString& record, int numero);

    QString nome_;
    EsitoLettura esito_;
    Fase fase_ = Fase::Inizio;
    EstrattoConto corrente_;
    QString progressivo_;
    bool movimentoAperto_ = false;
    int records_ = 0, rendicontazioni_ = 0;
};

std::optional<sys_days> Lettura::Data(QStringView campo, int numero, const char* quale)
{
    const auto giorno = GiornoGGMMAA(campo);
    if (!giorno)
        Difetto(numero, QStringLiteral("la %1 %2 non è una data valida (GGMMAA).").arg(QLatin1StringView(quale), Citato(campo)));
    return giorno;
}

std::optional<Centesimi> Lettura::Importo(QStringView segno, QStringView importo, int numero, const char* quale)
{
    QString errore;
    auto valore = LeggiCentesimi(importo, u',', QChar(), &errore);
    if (valore && (importo.contains(u'-') || importo.contains(u'+'))) {
        valore.reset();
        errore = QStringLiteral("l'importo %1 ha un segno al posto delle cifre").arg(Citato(importo));
    }
    // Twelve digits, the comma, two decimals: without the comma in its place
    // the cents could be read as euros.
    if (valore && importo[importo.size() - 3] != u',') {
        valore.reset();
        errore = QStringLiteral("l'importo %1 non ha la virgola dei decimali al suo posto (000000000000,00)")
                     .arg(Citato(importo));
    }
    if (!valore) {
        Difetto(numero, QStringLiteral("%1 (%2).").arg(errore, QLatin1StringView(quale)));
        return std::nullopt;
    }
    if (segno == u"D")
        return -*valore;
    if (segno == u"C")
        return *valore;
    Difetto(numero, QStringLiteral("il segno %1 del %2 non è C (avere) né D (dare).").arg(Citato(segno), QLatin1StringView(quale)));
    return std::nullopt;
}

bool Lettura::StessoEstratto(const QString& record, int numero)
{
    if (Campo(record, 4, 10) == progressivo_)
        return true;
    Difetto(numero, QStringLiteral("il numero progressivo %1 non è quello dell'estratto (%2).")
                        .arg(Citato(Campo(record, 4, 10)), progressivo_));
    return false;
}

void Lettura::SaldoIniziale(const QString& record, int numero)
{
    ++rendicontazioni_;
    corrente_ = EstrattoConto{};
    corrente_.file = nome_.toStdString();
    progressivo_ = Campo(record, 4, 10).toString();
    movimentoAperto_ = false;
    fase_ = Fase::Estratto;

    DatiConto& conto = corrente_.conto;
    conto.abi = Campo(record, 53, 57).trimmed().toString().toStdString();
    conto.cab = Campo(record, 58, 62).trimmed().toString().toStdString();
    conto.numero = Campo(record, 63, 74).trimmed().toString().toStdString();
    const QStringView paese = Campo(record, 100, 103).trimmed(), cin = Campo(record, 52, 52).trimmed();
    if (paese.size() == 4 && cin.size() == 1 && !conto.abi.empty() && !conto.cab.empty() && !conto.numero.empty())
        conto.iban = (paese.toString() + cin.toString() + Campo(record, 53, 74).toString()).toStdString();
    const QStringView divisa = Campo(record, 75, 77);
    if (divisa != u"EUR")
        Difetto(numero, QStringLiteral("il conto è in %1: si importano solo conti in euro (EUR).").arg(Citato(divisa)));
    const auto data = Data(Campo(record, 78, 83), numero, "data del saldo iniziale");
    const auto saldo = Importo(Campo(record, 84, 84), Campo(record, 85, 99), numero, "saldo iniziale");
    if (data && saldo)
        corrente_.iniziale = SaldoDichiarato{*data, *saldo, numero};
}

void Lettura::Movimento62(const QString& record, int numero)
{
    movimentoAperto_ = false;
    if (!StessoEstratto(record, numero))
        return;
    const auto valuta = Data(Campo(record, 14, 19), numero, "data valuta");
    const auto contabile = Data(Campo(record, 20, 25), numero, "data contabile");
    const auto importo = Importo(Campo(record, 26, 26), Campo(record, 27, 41), numero, "movimento");
    if (!valuta || !contabile || !importo)
        return;
    Movimento m;
    m.dataValuta = *valuta;
    m.dataContabile = *contabile;
    m.importo = *importo;
    m.causaleCBI = Campo(record, 42, 43).trimmed().toString().toStdString();
    m.causaleBanca = Campo(record, 44, 45).trimmed().toString().toStdString();
    m.descrizione = Compatta(Campo(record, 87, 120)).toStdString();
    m.file = corrente_.file;
    m.riga = numero;
    corrente_.movimenti.push_back(std::move(m));
    movimentoAperto_ = true;
}

void Lettura::SaldoFinale(const QString& record, int numero)
{
    fase_ = Fase::Chiuso;
    movimentoAperto_ = false;
    if (!StessoEstratto(record, numero))
        return;
    const QStringView divisa = Campo(record, 11, 13);
    if (divisa != u"EUR")
        Difetto(numero, QStringLiteral("il saldo finale è in %1: si importano solo conti in euro (EUR).").arg(Citato(divisa)));
    const auto data = Data(Campo(record, 14, 19), numero, "data del saldo finale");
    const auto saldo = Importo(Campo(record, 20, 20), Campo(record, 21, 35), numero, "saldo finale");
    if (!data || !saldo)
        return;
    corrente_.finale = SaldoDichiarato{*data, *saldo, numero};
    // The statement is of one accounting day: a movement booked after it
    // would mean the two dates of the 62 were read the wrong way round.
    for (const Movimento& m : corrente_.movimenti)
        if (m.dataContabile > *data)
            Difetto(m.riga, QStringLiteral("la data contabile %1 è successiva a quella del saldo finale %2 (record %3).")
                                .arg(QString::fromStdString(TestoData(m.dataContabile)),
                                     QString::fromStdString(TestoData(*data)))
                                .arg(numero));
    if (corrente_.iniziale)
        esito_.estratti.push_back(std::move(corrente_));
    corrente_ = EstrattoConto{};
}

void Lettura::Coda(const QString& record, int numero)
{
    fase_ = Fase::Fine;
    bool ok1 = false, ok2 = false;
    const int rendicontazioni = Campo(record, 46, 52).toInt(&ok1);
    const int records = Campo(record, 83, 89).toInt(&ok2);
    if (!ok1 || !ok2) {
        Difetto(numero, QStringLiteral("i conteggi del record di coda EF non sono numeri (%1, %2).")
                            .arg(Citato(Campo(record, 46, 52)), Citato(Campo(record, 83, 89))));
        return;
    }
    if (rendicontazioni != rendicontazioni_)
        Difetto(numero, QStringLiteral("il record di coda EF dichiara %1 estratti, il file ne contiene %2.")
                            .arg(rendicontazioni)
                            .arg(rendicontazioni_));
    if (records != records_)
        Difetto(numero, QStringLiteral("il record di coda EF dichiara %1 record, il file ne contiene %2.")
                            .arg(records)
                            .arg(records_));
}

void Lettura::Record(const QString& record, int numero, bool troncato)
{
    ++records_;
    if (record.size() != Lunghezza || troncato) {
        Difetto(numero, QStringLiteral("il record è lungo %1%2 caratteri invece di %3.")
                            .arg(troncato ? QStringLiteral("più di ") : QString())
                            .arg(record.size())
                            .arg(Lunghezza));
        return;
    }
    const QStringView tipo = Campo(record, 2, 3);
    auto fuoriPosto = [&](const QString& perche) {
        Difetto(numero, QStringLiteral("record %1 fuori posto: %2.").arg(tipo.toString(), perche));
    };
    if (fase_ == Fase::Fine) {
        fuoriPosto(QStringLiteral("segue il record di coda EF"));
        return;
    }
    if (fase_ == Fase::Inizio && tipo != u"RH" && tipo != u"EC") {
        fuoriPosto(QStringLiteral("il file non inizia con il record di testa RH"));
        fase_ = Fase::Testa;  // one fault is enough for a missing header
        return;
    }
    if (tipo == u"RH" || tipo == u"EC") {
        if (fase_ != Fase::Inizio)
            fuoriPosto(QStringLiteral("il record di testa è già stato letto"));
        fase_ = Fase::Testa;
    } else if (tipo == u"61") {
        if (fase_ == Fase::Estratto)
            fuoriPosto(QStringLiteral("manca il saldo finale (record 64) dell'estratto precedente"));
        SaldoIniziale(record, numero);
    } else if (tipo == u"62") {
        if (fase_ != Fase::Estratto)
            fuoriPosto(QStringLiteral("manca il saldo iniziale (record 61) dell'estratto"));
        else
            Movimento62(record, numero);
    } else if (tipo == u"63") {
        if (fase_ != Fase::Estratto || !movimentoAperto_) {
            fuoriPosto(QStringLiteral("non segue un movimento (record 62)"));
        } else if (StessoEstratto(record, numero)) {
            const QString altro = Compatta(Campo(record, 14, 120));
            std::string& d = corrente_.movimenti.back().descrizione;
            if (!altro.isEmpty())
                d += (d.empty() ? "" : " ") + altro.toStdString();
        }
    } else if (tipo == u"64") {
        if (fase_ != Fase::Estratto)
            fuoriPosto(QStringLiteral("manca il saldo iniziale (record 61) dell'estratto"));
        else
            SaldoFinale(record, numero);
    } else if (tipo == u"65") {
        if (fase_ != Fase::Chiuso)
            fuoriPosto(QStringLiteral("non segue il saldo finale (record 64)"));
    } else if (tipo == u"EF") {
        if (fase_ == Fase::Estratto)
            fuoriPosto(QStringLiteral("manca il saldo finale (record 64) dell'ultimo estratto"));
        Coda(record, numero);
    } else {
        Difetto(numero, QStringLiteral("tipo di record %1 sconosciuto.").arg(Citato(tipo)));
    }
}

void Lettura::Fine(int ultimo)
{
    if (fase_ == Fase::Inizio)
        Difetto(0, QStringLiteral("il file non contiene alcun record."));
    else if (fase_ != Fase::Fine)
        Difetto(ultimo, QStringLiteral("il file finisce senza il record di coda EF: è troncato."));
}

} // namespace

bool PareCBI(QByteArrayView inizio)
{
    return inizio.size() >= 3 && inizio[0] == ' ' && (inizio.sliced(1, 2) == "RH" || inizio.sliced(1, 2) == "EC");
}

EsitoLettura LettoreCBI::Leggi(const QString& percorso, const QString& nome, const Avanzamento& avanzamento) const
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        EsitoLettura esito;
        esito.difetti.push_back({nome.toStdString(), 0, "il file non si apre (" + file.errorString().toStdString() + ").", "record"});
        return esito;
    }
    Lettura lettura(nome);
    DecodificaTesto decodifica;
    // Records end with a line end; in a file without any, every 120 characters.
    const bool aBlocchi = !file.peek(Lunghezza + 2).contains('\n') && file.size() > Lunghezza + 1;
    RigheFile righe(file, 4096);
    QByteArray byte;
    int numero = 0;
    for (;;) {
        if (aBlocchi) {
            byte = file.read(Lunghezza);
            if (byte.isEmpty())
                break;
            ++numero;
        } else {
            if (!righe.Prossima(byte))
                break;
            numero = righe.Numero();
            if (!righe.TroppoLunga() && byte.trimmed().isEmpty())
                continue;  // blank lines between or after records
        }
        lettura.Record(decodifica.Riga(byte), numero, !aBlocchi && righe.TroppoLunga());
        if (numero % 1024 == 0 && !avanzamento.Continua(file.pos()))
            return EsitoLettura::Annullata();
        if (lettura.Basta())
            return lettura.Esito();
    }
    lettura.Fine(numero);
    avanzamento.Segnala(file.pos());
    return lettura.Esito();
}
