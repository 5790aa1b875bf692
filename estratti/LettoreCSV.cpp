#include "LettoreCSV.h"

#include "TestoEstratti.h"

#include <QFile>

#include <deque>

namespace {

constexpr std::size_t DifettiMassimi = 20;
// A quoted field may go on over this many lines at most.
constexpr int RigheCampoMassime = 100;

// The running balance column checked in one order of the rows.
struct Coerenza {
    std::ptrdiff_t incoerente = -1;  // the first row that does not add up, or -1
    Centesimi atteso = 0;            // the balance it should have had
    std::optional<SaldoDichiarato> iniziale, finale;
};

Coerenza Controlla(const std::vector<Movimento>& movimenti, const std::vector<std::optional<Centesimi>>& saldi,
                   bool dalFondo)
{
    Coerenza c;
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(movimenti.size());
    auto indice = [&](std::ptrdiff_t k) { return dalFondo ? n - 1 - k : k; };
    std::optional<Centesimi> corrente;
    Centesimi primaDelPrimo = 0;  // amounts before the first row with a balance
    std::ptrdiff_t ultimo = -1;
    for (std::ptrdiff_t k = 0; k < n; ++k) {
        const std::ptrdiff_t i = indice(k);
        const Centesimi importo = movimenti[i].importo;
        if (corrente)
            *corrente += importo;
        else
            primaDelPrimo += importo;
        if (!saldi[i])
            continue;
        if (corrente && *corrente != *saldi[i] && c.incoerente < 0) {
            c.incoerente = i;
            c.atteso = *corrente;
        }
        if (!corrente)
            c.iniziale = SaldoDichiarato{movimenti[indice(0)].dataContabile, *saldi[i] - primaDelPrimo, movimenti[i].riga};
        corrente = saldi[i];
        ultimo = i;
    }
    if (corrente)
        c.finale = SaldoDichiarato{movimenti[indice(n - 1)].dataContabile, *corrente, movimenti[ultimo].riga};
    return c;
}

} // namespace

EsitoLettura LettoreCSV::Leggi(const QString& percorso, const QString& nome, const Avanzamento& avanzamento) const
{
    EsitoLettura esito;
    const std::string file = nome.toStdString();
    auto difetto = [&](int riga, const QString& testo) {
        if (esito.difetti.size() < DifettiMassimi)
            esito.difetti.push_back({file, riga, testo.toStdString()});
    };
    if (const QString d = profilo_.Difetto(); !d.isEmpty()) {
        difetto(0, d);
        return esito;
    }
    QFile dati(percorso);
    if (!dati.open(QIODevice::ReadOnly)) {
        difetto(0, QStringLiteral("il file non si apre (%1).").arg(dati.errorString()));
        return esito;
    }
    EstrattoConto estratto;
    estratto.file = file;
    std::vector<std::optional<Centesimi>> saldi;
    auto leggi = [&](int riga, const QString& testo) {
        const RigaCSV r = LeggiRigaCSV(DividiCSV(testo, profilo_.separatore), profilo_);
        if (!r.difetto.isEmpty()) {
            difetto(riga, r.difetto);
            return;
        }
        Movimento m = *r.movimento;
        m.file = file;
        m.riga = riga;
        estratto.movimenti.push_back(std::move(m));
        saldi.push_back(r.saldo);
    };

    DecodificaTesto decodifica;
    RigheFile righe(dati);
    // The last righeFinali rows wait here until a later one shows they are not last.
    std::deque<std::pair<int, QString>> inAttesa;
    QByteArray byte;
    while (righe.Prossima(byte)) {
        const int numero = righe.Numero();
        if (righe.TroppoLunga()) {
            difetto(numero, QStringLiteral("la riga è troppo lunga."));
            break;
        }
        QString testo = decodifica.Riga(byte);
        if (numero <= profilo_.righeIniziali)
            continue;
        // A quoted field that goes on to the next lines.
        bool aperte = false;
        DividiCSV(testo, profilo_.separatore, &aperte);
        for (int altre = 0; aperte && altre < RigheCampoMassime && righe.Prossima(byte); ++altre) {
            testo += u'\n' + decodifica.Riga(byte);
            DividiCSV(testo, profilo_.separatore, &aperte);
        }
        if (aperte) {
            difetto(numero, QStringLiteral("le virgolette aperte in questa riga non si chiudono."));
            break;
        }
        if (testo.trimmed().isEmpty())
            continue;
        inAttesa.emplace_back(numero, std::move(testo));
        if (static_cast<int>(inAttesa.size()) > profilo_.righeFinali) {
            leggi(inAttesa.front().first, inAttesa.front().second);
            inAttesa.pop_front();
        }
        if (numero % 1024 == 0 && !avanzamento.Continua(righe.Letti()))
            return EsitoLettura::Annullata();
        if (esito.difetti.size() >= DifettiMassimi)
            return esito;
    }
    avanzamento.Segnala(righe.Letti());
    if (!esito.difetti.empty())
        return esito;

    if (profilo_.colonnaSaldo >= 0 && !estratto.movimenti.empty()) {
        const Coerenza inOrdine = Controlla(estratto.movimenti, saldi, false);
        const Coerenza dalFondo = Controlla(estratto.movimenti, saldi, true);
        // Newest first when the dates go down or only that order adds up.
        const bool recentiPrima = inOrdine.incoerente >= 0 &&
                                  (dalFondo.incoerente < 0 ||
                                   estratto.movimenti.front().dataContabile > estratto.movimenti.back().dataContabile);
        const Coerenza& c = recentiPrima ? dalFondo : inOrdine;
        if (c.incoerente >= 0) {
            const std::size_t i = static_cast<std::size_t>(c.incoerente);
            difetto(estratto.movimenti[i].riga,
                    QStringLiteral("il saldo %1 non è quello della riga precedente più l'importo (%2).")
                        .arg(QString::fromStdString(TestoCentesimi(*saldi[i])),
                             QString::fromStdString(TestoCentesimi(c.atteso))));
            return esito;
        }
        estratto.iniziale = c.iniziale;
        estratto.finale = c.finale;
    }
    esito.estratti.push_back(std::move(estratto));
    return esito;
}
