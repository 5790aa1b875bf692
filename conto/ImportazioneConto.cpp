#include "ImportazioneConto.h"

#include "ConteggioAperto.h"
#include "Dichiarazioni.h"

#include <algorithm>

namespace {

bool Uguali(const Movimento& a, const Movimento& b)
{
    return a.dataContabile == b.dataContabile && a.dataValuta == b.dataValuta && a.importo == b.importo &&
           a.causaleCBI == b.causaleCBI && a.causaleBanca == b.causaleBanca && a.descrizione == b.descrizione &&
           a.classe == b.classe && a.regolaClasse == b.regolaClasse && a.file == b.file && a.riga == b.riga;
}

bool StessiSaldi(const SaldiEstratto& a, const SaldiEstratto& b)
{
    return a.dataIniziale == b.dataIniziale && a.dataFinale == b.dataFinale && a.saldoIniziale == b.saldoIniziale &&
           a.saldoFinale == b.saldoFinale;
}

bool Uguali(const SaldiEstratto& a, const SaldiEstratto& b)
{
    return StessiSaldi(a, b) && a.file == b.file && a.riga == b.riga;
}

bool Uguali(const DatiConto& a, const DatiConto& b)
{
    return a.intestatario == b.intestatario && a.banca == b.banca && a.iban == b.iban && a.abi == b.abi &&
           a.cab == b.cab && a.numero == b.numero && a.divisa == b.divisa;
}

bool Uguali(const CondizioniPeriodo& a, const CondizioniPeriodo& b)
{
    return a.dal == b.dal && a.accordato == b.accordato && a.tassoDebitore == b.tassoDebitore &&
           a.tassoDebitoreOltreFido == b.tassoDebitoreOltreFido && a.tassoCreditore == b.tassoCreditore &&
           a.percentualeCMS == b.percentualeCMS && a.baseCMS == b.baseCMS && a.speseFisse == b.speseFisse &&
           a.liquidazione == b.liquidazione && a.divisore == b.divisore && a.tassiPattuiti == b.tassiPattuiti &&
           a.usiPiazza == b.usiPiazza && a.capitalizzazionePattuita == b.capitalizzazionePattuita &&
           a.cmsPattuita == b.cmsPattuita && a.commissioniPattuite == b.commissioniPattuite;
}

template <typename T>
bool StesseListe(const std::vector<T>& a, const std::vector<T>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const T& x, const T& y) { return Uguali(x, y); });
}

// The account's particular, from the statement when the account has none.
void Completa(std::string& campo, const std::string& estratto)
{
    if (campo.empty())
        campo = estratto;
}

} // namespace

bool StessoConto(const ContoMovimenti& a, const ContoMovimenti& b)
{
    return Uguali(a.conto, b.conto) && a.regole == b.regole && StesseListe(a.movimenti, b.movimenti) &&
           StesseListe(a.saldi, b.saldi) && StesseListe(a.condizioni.periodi, b.condizioni.periodi) &&
           a.condizioni.autorizzazioneAddebito == b.condizioni.autorizzazioneAddebito;
}

bool AggiungeQualcosa(const ContoMovimenti& conto, const EsitoImportazione& esito)
{
    return !esito.movimenti.empty() ||
           std::any_of(esito.saldi.begin(), esito.saldi.end(), [&conto](const SaldiEstratto& s) {
               return std::none_of(conto.saldi.begin(), conto.saldi.end(),
                                   [&s](const SaldiEstratto& c) { return StessiSaldi(c, s); });
           });
}

std::size_t ApplicaImportazione(ContoMovimenti& conto, const EsitoImportazione& esito)
{
    // Everything is made apart first, then moved in: a lack of memory halfway
    // leaves the account whole.
    std::vector<Movimento> movimenti;
    movimenti.reserve(conto.movimenti.size() + esito.movimenti.size());
    movimenti = conto.movimenti;
    const ClassificatoreMovimenti classificatore(conto.regole);
    for (Movimento m : esito.movimenti) {
        std::tie(m.classe, m.regolaClasse) = classificatore.Classe(m);
        movimenti.push_back(std::move(m));
    }
    std::vector<SaldiEstratto> saldi = conto.saldi;
    for (const SaldiEstratto& s : esito.saldi)
        if (std::none_of(saldi.begin(), saldi.end(), [&s](const SaldiEstratto& c) { return StessiSaldi(c, s); }))
            saldi.push_back(s);
    DatiConto dati = conto.conto;
    Completa(dati.intestatario, esito.conto.intestatario);
    Completa(dati.banca, esito.conto.banca);
    Completa(dati.iban, esito.conto.iban);
    Completa(dati.abi, esito.conto.abi);
    Completa(dati.cab, esito.conto.cab);
    Completa(dati.numero, esito.conto.numero);

    conto.movimenti.swap(movimenti);
    conto.saldi.swap(saldi);
    conto.conto = std::move(dati);
    return esito.movimenti.size();
}

StoriaImportazioni& StoriaImportazioni::Di(ConteggioAperto& conteggio)
{
    if (auto* s = conteggio.findChild<StoriaImportazioni*>(QString(), Qt::FindDirectChildrenOnly))
        return *s;
    return *new StoriaImportazioni(conteggio);
}

StoriaImportazioni::StoriaImportazioni(ConteggioAperto& conteggio) : QObject(&conteggio), conteggio_(conteggio)
{
    setObjectName(QStringLiteral("StoriaImportazioni"));
    // A save makes the file the state to come back to; a load or a new
    // calculation is another account.
    connect(&conteggio, &ConteggioAperto::ConteggioCaricato, this, &StoriaImportazioni::dimentica);
    connect(&conteggio, &ConteggioAperto::ModificatoCambiato, this, [this](bool modificato) {
        if (!modificato)
            dimentica();
    });
}

std::size_t StoriaImportazioni::Importa(const EsitoImportazione& esito)
{
    ContoMovimenti& conto = conteggio_.Doc().ContoCorrente();
    ContoMovimenti prima = conto;
    const std::size_t aggiunti = ApplicaImportazione(conto, esito);
    prima_ = std::move(prima);
    dopo_ = conto;
    conteggio_.SegnaModifica();
    emit Cambiato();
    return aggiunti;
}

bool StoriaImportazioni::CambiatoDopo() const
{
    return dopo_ && !StessoConto(*dopo_, conteggio_.Doc().ContoCorrente());
}

bool StoriaImportazioni::Annulla()
{
    if (!prima_)
        return false;
    conteggio_.Doc().ContoCorrente() = std::move(*prima_);
    prima_.reset();
    dopo_.reset();
    conteggio_.SegnaModifica();
    emit Cambiato();
    return true;
}

void StoriaImportazioni::dimentica()
{
    if (!prima_)
        return;
    prima_.reset();
    dopo_.reset();
    emit Cambiato();
}
