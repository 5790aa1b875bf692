#include "ImportaEstratti.h"

#include "LettoreCSV.h"
#include "TestoEstratti.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace std::chrono;

namespace {

// Enough of the start of a file to tell its format.
constexpr qint64 Inizio = 8192;

void Estendi(std::optional<sys_days>& dal, std::optional<sys_days>& al, sys_days giorno)
{
    dal = dal ? std::min(*dal, giorno) : giorno;
    al = al ? std::max(*al, giorno) : giorno;
}

QString Testo(const std::string& s)
{
    return QString::fromStdString(s);
}

// How a warning names an account.
QString NomeConto(const DatiConto& c)
{
    if (!c.iban.empty())
        return Testo(c.iban);
    if (!c.numero.empty())
        return QStringLiteral("ABI %1 CAB %2 n. %3").arg(Testo(c.abi), Testo(c.cab), Testo(c.numero));
    return {};
}

bool StessoConto(const DatiConto& a, const DatiConto& b)
{
    if (!a.iban.empty() && !b.iban.empty())
        return a.iban == b.iban;
    if (!a.numero.empty() && !b.numero.empty())
        return a.numero == b.numero && a.abi == b.abi && a.cab == b.cab;
    return true;  // one of them does not say
}

// Reads one file: its statements, or its faults.
EsitoLettura LeggiFile(const QString& percorso, EsitoFileEstratto& esito, const OpzioniImportazione& opzioni,
                       const Avanzamento& avanzamento, std::string& tipoRiga)
{
    EsitoLettura letto;
    auto rifiuta = [&](const QString& testo) {
        letto.difetti.push_back({esito.nome.toStdString(), 0, testo.toStdString()});
        return letto;
    };
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return rifiuta(QStringLiteral("il file non si apre (%1).").arg(file.errorString()));
    QString difetto;
    esito.formato = RiconosciFormato(file.read(Inizio), &difetto);
    file.close();
    if (esito.formato == FormatoEstratto::Sconosciuto)
        return rifiuta(difetto);
    std::unique_ptr<LettoreEstratto> lettore = LettorePerFormato(esito.formato);
    if (esito.formato == FormatoEstratto::CSV) {
        const ProfiloCSV* profilo = nullptr;
        if (const auto scelto = opzioni.profiliScelti.find(percorso); scelto != opzioni.profiliScelti.end())
            profilo = &scelto->second;
        else if (opzioni.profili)
            profilo = opzioni.profili->PerFile(percorso);
        if (!profilo) {
            esito.serveProfilo = true;
            return rifiuta(QStringLiteral("il formato non è CBI, camt.053 né OFX, e nessun profilo CSV ne riconosce "
                                          "l'intestazione: indicare come leggerne le colonne."));
        }
        esito.profilo = profilo->nome;
        lettore = std::make_unique<LettoreCSV>(*profilo);
    }
    tipoRiga = lettore->TipoRiga();
    return lettore->Leggi(percorso, esito.nome, avanzamento);
}

} // namespace

EsitoImportazione ImportaEstratti(const QStringList& percorsi, const std::vector<Movimento>& presenti,
                                  const OpzioniImportazione& opzioni)
{
    const sys_days oggi = opzioni.oggi == sys_days{} ? DaQDate(QDate::currentDate()) : opzioni.oggi;
    qint64 totale = 0;
    for (const QString& p : percorsi)
        totale += std::max<qint64>(QFileInfo(p).size(), 0);
    auto annullato = [&] {
        EsitoImportazione e;
        e.annullato = true;
        return e;
    };

    EsitoImportazione risultato;
    ControlloDuplicati duplicati(presenti);
    std::optional<DatiConto> primoConto;
    if (!NomeConto(opzioni.conto).isEmpty())
        primoConto = opzioni.conto;
    qint64 fatti = 0;
    for (const QString& percorso : percorsi) {
        if (opzioni.annulla && opzioni.annulla->load())
            return annullato();
        EsitoFileEstratto esito;
        esito.percorso = percorso;
        esito.nome = QFileInfo(percorso).fileName();
        Avanzamento avanzamento;
        avanzamento.annulla = opzioni.annulla;
        if (opzioni.avanzamento)
            avanzamento.passo = [&](qint64 letti) { opzioni.avanzamento(fatti + letti, totale); };
        std::string tipoRiga = "riga";
        EsitoLettura letto = LeggiFile(percorso, esito, opzioni, avanzamento, tipoRiga);
        if (letto.annullato || (opzioni.annulla && opzioni.annulla->load()))
            return annullato();
        fatti += std::max<qint64>(QFileInfo(percorso).size(), 0);
        if (opzioni.avanzamento)
            opzioni.avanzamento(fatti, totale);

        // The whole file is checked before any of it is taken.
        esito.difetti = std::move(letto.difetti);
        if (esito.difetti.empty())
            for (const EstrattoConto& e : letto.estratti) {
                auto d = ControllaEstratto(e, oggi, tipoRiga);
                esito.difetti.insert(esito.difetti.end(), d.begin(), d.end());
            }
        esito.accettato = esito.difetti.empty();
        if (!esito.accettato) {
            ++risultato.riepilogo.fileRifiutati;
            risultato.file.push_back(std::move(esito));
            continue;
        }
        ++risultato.riepilogo.fileAccettati;
        bool senzaSaldi = false;
        for (EstrattoConto& e : letto.estratti) {
            RiepilogoEstratto r;
            r.conto = e.conto;
            r.iniziale = e.iniziale;
            r.finale = e.finale;
            r.disponibile = e.disponibile;
            r.saldiControllati = e.iniziale && e.finale;
            senzaSaldi = senzaSaldi || !r.saldiControllati;
            r.movimenti = e.movimenti.size();
            for (const Movimento& m : e.movimenti)
                Estendi(r.dal, r.al, m.dataContabile);
            for (const auto& s : {e.iniziale, e.finale})
                if (s)
                    Estendi(r.dal, r.al, s->data);
            if (const auto saldi = e.Saldi())
                risultato.saldi.push_back(*saldi);
            std::vector<Movimento> nuovi = duplicati.Nuovi(std::move(e.movimenti), r.duplicati);
            r.aggiunti = nuovi.size();
            risultato.movimenti.insert(risultato.movimenti.end(), std::make_move_iterator(nuovi.begin()),
                                       std::make_move_iterator(nuovi.end()));
            esito.movimenti += r.movimenti;
            esito.aggiunti += r.aggiunti;
            esito.duplicati += r.duplicati;
            if (r.dal) {
                Estendi(risultato.riepilogo.dal, risultato.riepilogo.al, *r.dal);
                Estendi(risultato.riepilogo.dal, risultato.riepilogo.al, *r.al);
            }
            if (!NomeConto(e.conto).isEmpty()) {
                if (!primoConto)
                    primoConto = e.conto;
                else if (!StessoConto(*primoConto, e.conto)) {
                    const QString avviso = QStringLiteral("%1 è del conto %2, non del conto %3.")
                                               .arg(esito.nome, NomeConto(e.conto), NomeConto(*primoConto));
                    if (!risultato.avvisi.contains(avviso))
                        risultato.avvisi.push_back(avviso);
                }
                if (NomeConto(risultato.conto).isEmpty())
                    risultato.conto = e.conto;
            }
            esito.estratti.push_back(std::move(r));
        }
        if (senzaSaldi)
            risultato.avvisi.push_back(
                QStringLiteral("%1 non dichiara sia il saldo iniziale sia quello finale: i suoi movimenti non sono "
                               "stati controllati con i saldi.")
                    .arg(esito.nome));
        risultato.riepilogo.estratti += static_cast<int>(esito.estratti.size());
        risultato.riepilogo.movimentiLetti += esito.movimenti;
        risultato.riepilogo.movimentiAggiunti += esito.aggiunti;
        risultato.riepilogo.duplicati += esito.duplicati;
        risultato.file.push_back(std::move(esito));
    }
    return risultato;
}

QStringList TestoEsito(const EsitoImportazione& esito)
{
    if (esito.annullato)
        return {QStringLiteral("Importazione annullata: non è stato aggiunto nulla.")};
    const RiepilogoImportazione& r = esito.riepilogo;
    QStringList righe;
    if (r.fileAccettati > 0) {
        QString testo = QStringLiteral("%1 estratti da %2 file: %3 movimenti aggiunti, %4 già presenti")
                            .arg(r.estratti)
                            .arg(r.fileAccettati)
                            .arg(r.movimentiAggiunti)
                            .arg(r.duplicati);
        if (r.dal)
            testo += QStringLiteral(", dal %1 al %2").arg(Testo(TestoData(*r.dal)), Testo(TestoData(*r.al)));
        righe.push_back(testo + u'.');
    }
    for (const EsitoFileEstratto& f : esito.file)
        if (!f.accettato) {
            righe.push_back(QStringLiteral("%1 rifiutato, non è stato aggiunto nulla:").arg(f.nome));
            for (const DifettoEstratto& d : f.difetti)
                righe.push_back(QStringLiteral("  ") + Testo(d.Messaggio()));
        }
    righe += esito.avvisi;
    return righe;
}
