#include "ComandoImporta.h"

#include "ConteggioAperto.h"
#include "Dichiarazioni.h"
#include "DialogoEsitoImportazione.h"
#include "DialogoProfiloCSV.h"
#include "ImportaEstratti.h"
#include "ImportazioneConto.h"
#include "Messaggi.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <memory>
#include <set>

namespace {

RisposteImportazione& Risposte()
{
    static RisposteImportazione r;
    return r;
}

// Shows a dialog of the import and waits for the user's answer (or the
// test's).
int Esegui(QDialog& d)
{
    if (!Risposte().dialogo)
        return d.exec();
    d.show();
    Risposte().dialogo(d);
    if (d.isVisible())
        d.reject();
    return d.result();
}

QStringList ScegliFile(QWidget* genitore)
{
    if (Risposte().file)
        return Risposte().file();
    // The folder of the last files chosen, for the next statements.
    static QString cartella;
    if (cartella.isEmpty() || !QFileInfo(cartella).isDir())
        cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(cartella).isDir())
        cartella = QDir::homePath();
    const QStringList scelti = QFileDialog::getOpenFileNames(
        genitore, QStringLiteral("Importa estratto conto"), cartella,
        QStringLiteral("Estratti conto (*.cbi *.txt *.dat *.xml *.csv *.ofx *.qfx);;Tutti i file (*)"));
    if (!scelti.isEmpty())
        cartella = QFileInfo(scelti.constFirst()).absolutePath();
    return scelti;
}

// True when the file is a text export that needs a CSV profile none of
// `profili` and of `scelti` recognises by its header.
bool ServeProfilo(const QString& percorso, const ArchivioProfiliCSV& profili, const std::vector<ProfiloCSV>& scelti)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return false;  // the import says why
    QString difetto;
    if (RiconosciFormato(file.read(8192), &difetto) != FormatoEstratto::CSV)
        return false;
    file.close();
    if (profili.PerFile(percorso))
        return false;
    for (const ProfiloCSV& p : scelti)
        if (RiconosceIntestazione(p, PrimeRighe(percorso, p.righeIniziali)))
            return false;
    return true;
}

// Reads the files in another thread with the progress dialog up; empty when
// the user stopped it.
std::optional<EsitoImportazione> Leggi(const QStringList& percorsi, const std::vector<Movimento>& presenti,
                                       OpzioniImportazione opzioni, QWidget* genitore)
{
    constexpr int Passi = 1000;
    QProgressDialog avanzamento(QStringLiteral("Lettura e controllo degli estratti conto\u2026"),
                                QStringLiteral("Annulla"), 0, Passi, genitore);
    avanzamento.setObjectName(QStringLiteral("frmAvanzamentoImportazione"));
    avanzamento.setWindowTitle(TitoloProgramma);
    avanzamento.setWindowModality(Qt::ApplicationModal);
    avanzamento.setAutoClose(false);
    avanzamento.setAutoReset(false);
    avanzamento.setMinimumDuration(300);
    avanzamento.setValue(0);

    std::atomic<bool> annulla{false};
    std::atomic<qint64> letti{0}, totale{1};
    opzioni.annulla = &annulla;
    opzioni.avanzamento = [&letti, &totale](qint64 l, qint64 t) {
        letti.store(l, std::memory_order_relaxed);
        totale.store(std::max<qint64>(t, 1), std::memory_order_relaxed);
    };
    EsitoImportazione esito;
    std::exception_ptr errore;
    std::unique_ptr<QThread> lettura(QThread::create([&] {
        try {
            esito = ImportaEstratti(percorsi, presenti, opzioni);
        } catch (...) {
            errore = std::current_exception();
        }
    }));
    QEventLoop attesa;
    QObject::connect(lettura.get(), &QThread::finished, &attesa, &QEventLoop::quit);
    QObject::connect(&avanzamento, &QProgressDialog::canceled, &avanzamento, [&annulla] { annulla.store(true); });
    QTimer passo;
    QObject::connect(&passo, &QTimer::timeout, &avanzamento, [&] {
        avanzamento.setValue(static_cast<int>(Passi * letti.load(std::memory_order_relaxed) /
                                              totale.load(std::memory_order_relaxed)));
    });
    lettura->start();
    passo.start(50);
    if (Risposte().dialogo) {
        avanzamento.show();
        Risposte().dialogo(avanzamento);
    }
    if (!lettura->isFinished())
        attesa.exec(QEventLoop::AllEvents);
    lettura->wait();
    passo.stop();
    // Stopped by the user, however far the reading went: nothing changes.
    const bool fermato = annulla.load() || avanzamento.wasCanceled() || esito.annullato;
    avanzamento.hide();
    if (errore)
        std::rethrow_exception(errore);
    if (fermato)
        return std::nullopt;
    return esito;
}

} // namespace

void ImpostaRisposteImportazione(RisposteImportazione risposte)
{
    Risposte() = std::move(risposte);
}

std::optional<std::size_t> ImportaEstrattoConto(ConteggioAperto& conteggio, const QString& cartellaProfili, QWidget* genitore)
{
    const QStringList percorsi = ScegliFile(genitore);
    if (percorsi.isEmpty())
        return std::nullopt;

    ArchivioProfiliCSV profili(cartellaProfili);
    QString errore;
    const bool profiliLetti = profili.Carica(&errore);
    if (!profiliLetti)
        Messaggio(QStringLiteral("I profili dei file CSV non si leggono:\n%1\nUn profilo fatto ora vale solo per "
                                 "questa importazione e non viene salvato.")
                      .arg(errore),
                  QMessageBox::Warning, genitore);

    // A profile the user made is used for its file in this import and
    // saved for the next ones.
    OpzioniImportazione opzioni;
    const auto tieni = [&](const QString& percorso, const ProfiloCSV& p) {
        opzioni.profiliScelti[percorso] = p;
        if (!profiliLetti)
            return;
        profili.Metti(p);
        if (!profili.Salva(&errore))
            Messaggio(QStringLiteral("Il profilo \u00ab%1\u00bb non è stato salvato:\n%2\nVale solo per questa "
                                     "importazione.")
                          .arg(p.nome, errore),
                      QMessageBox::Warning, genitore);
    };

    // The profiles the text exports lack, asked before any reading.
    std::vector<ProfiloCSV> nuovi;
    for (const QString& percorso : percorsi) {
        if (!ServeProfilo(percorso, profili, nuovi))
            continue;
        DialogoProfiloCSV dialogo(percorso, ProfiloProposto(percorso), profili.Profili(), genitore);
        if (Esegui(dialogo) != QDialog::Accepted)
            continue;  // the file is refused, saying it needs a profile
        nuovi.push_back(dialogo.Profilo());
        tieni(percorso, nuovi.back());
    }

    ContoMovimenti& conto = conteggio.Doc().ContoCorrente();
    opzioni.profili = &profili;
    opzioni.conto = conto.conto;
    std::optional<EsitoImportazione> esito;
    std::set<QString> rivisti;
    while (true) {
        esito = Leggi(percorsi, conto.movimenti, opzioni, genitore);
        if (!esito)
            return std::nullopt;
        // A text export refused when read with a saved profile: the bank may
        // have changed its columns, or the profile was made wrong. The user
        // may correct it (once a file in each import) and read the files again.
        const auto rifiutato = std::find_if(esito->file.begin(), esito->file.end(), [&rivisti](const EsitoFileEstratto& f) {
            return !f.accettato && f.formato == FormatoEstratto::CSV && !f.profilo.isEmpty() && !f.difetti.empty() &&
                   !rivisti.contains(f.percorso);
        });
        if (rifiutato == esito->file.end())
            break;
        const QString percorso = rifiutato->percorso;
        rivisti.insert(percorso);
        const auto scelto = opzioni.profiliScelti.find(percorso);
        const ProfiloCSV* usato = scelto != opzioni.profiliScelti.end() ? &scelto->second
                                                                         : profili.Trova(rifiutato->profilo);
        if (!usato ||
            !Domanda(QStringLiteral("Il file \u00ab%1\u00bb, letto con il profilo \u00ab%2\u00bb, è stato rifiutato:\n%3\n"
                                    "Correggere il profilo e leggere di nuovo i file?")
                         .arg(rifiutato->nome, rifiutato->profilo,
                              QString::fromStdString(rifiutato->difetti.front().Messaggio())),
                     genitore))
            break;
        DialogoProfiloCSV dialogo(percorso, *usato, profili.Profili(), genitore, true);
        if (Esegui(dialogo) != QDialog::Accepted)
            break;
        tieni(percorso, dialogo.Profilo());
    }

    const bool applicabile = AggiungeQualcosa(conto, *esito);
    DialogoEsitoImportazione riepilogo(*esito, applicabile, genitore);
    if (Esegui(riepilogo) != QDialog::Accepted || !applicabile)
        return std::nullopt;
    return StoriaImportazioni::Di(conteggio).Importa(*esito);
}

bool AnnullaImportazione(ConteggioAperto& conteggio, QWidget* genitore)
{
    StoriaImportazioni& storia = StoriaImportazioni::Di(conteggio);
    if (!storia.Annullabile()) {
        Messaggio(QStringLiteral("Non c'è un'importazione da annullare: si può annullare solo l'ultima, finché il "
                                 "conteggio non viene salvato."),
                  QMessageBox::Information, genitore);
        return false;
    }
    if (storia.CambiatoDopo() &&
        !Domanda(QStringLiteral("Dopo l'importazione i movimenti o i dati del conto sono stati modificati.\n"
                                "Annullando l'importazione si perdono anche queste modifiche. Annullarla?"),
                 genitore))
        return false;
    return storia.Annulla();
}

bool ImportazioneAnnullabile(ConteggioAperto& conteggio)
{
    return StoriaImportazioni::Di(conteggio).Annullabile();
}
