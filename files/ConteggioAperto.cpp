#include "ConteggioAperto.h"

#include "Messaggi.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Virgolettato(const QString& nome)
{
    return "\u00ab" + Citazione(nome, 60).toStdString() + "\u00bb";
}

// A lock on the file at `percorso`: its descriptor, or -1 when another
// process holds one (`occupato`) or the file system has no locks (then the
// file opens without one).
int Blocca(const QString& percorso, bool& occupato)
{
    occupato = false;
    const int fd = ::open(QFile::encodeName(percorso).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;  // the load that follows says what is wrong with the file
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return fd;
    occupato = errno == EWOULDBLOCK;
    ::close(fd);
    return -1;
}

bool Identita(const QString& percorso, unsigned long long& dispositivo, unsigned long long& nodo)
{
    struct stat st {};
    if (::stat(QFile::encodeName(percorso).constData(), &st) != 0)
        return false;
    dispositivo = st.st_dev;
    nodo = st.st_ino;
    return true;
}

// The engine's count of the changes other connections made to the file.
long long VersioneDati(basedati::BaseDati& db)
{
    basedati::Istruzione i(db, "PRAGMA data_version");
    if (!i.Passo())
        return 0;
    const basedati::Valore v = i.Colonna(0);
    const auto* n = std::get_if<std::int64_t>(&v);
    return n ? *n : 0;
}

} // namespace

ConteggioAperto::ConteggioAperto(QObject* genitore) : QObject(genitore) {}

ConteggioAperto::~ConteggioAperto()
{
    Chiudi();
}

QString ConteggioAperto::Nome() const
{
    return QString::fromStdString(documento_.NomeConteggio());
}

void ConteggioAperto::Nuovo()
{
    Chiudi();
    documento_.InizializzaConteggio();
    impostaModificato(false);
    emit ConteggioCaricato();
}

void ConteggioAperto::Carica(const QString& cartella, const QString& nome, bool ancheSeInUso)
{
    const QString percorso = PercorsoConteggio(cartella, nome);
    unsigned long long dispositivo = 0, nodo = 0;
    const bool esiste = Identita(percorso, dispositivo, nodo);
    // The file open now is locked already, by this object.
    const bool stesso = esiste && blocco_ >= 0 && dispositivo == dispositivo_ && nodo == nodo_;
    bool occupato = false;
    int blocco = stesso ? -1 : Blocca(percorso, occupato);
    struct Rilascio {
        int& fd;
        ~Rilascio()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } rilascio{blocco};
    if (occupato && !ancheSeInUso)
        throw ConteggioInUso("Il conteggio " + Virgolettato(nome) +
                             " è già aperto in un'altra copia di Zelvi T.E.G.\n"
                             "Se lo si apre anche qui, una copia non vede ciò che l'altra salva: "
                             "il conteggio non potrà essere salvato qui dopo che l'altra copia lo avrà "
                             "salvato, ma solo con un altro nome.");

    auto file = std::make_unique<basedati::BaseDati>(CaricaConteggio(cartella, nome, documento_));
    versione_ = VersioneDati(*file);
    dispositivo_ = dispositivo;
    nodo_ = nodo;
    file_ = std::move(file);
    if (!stesso) {
        if (blocco_ >= 0)
            ::close(blocco_);
        blocco_ = blocco;
        blocco = -1;
    }
    cartella_ = cartella;
    percorso_ = percorso;
    impostaModificato(false);
    emit ConteggioCaricato();
}

bool ConteggioAperto::Apri(const QString& cartella, const QString& nome, QWidget* genitore)
{
    try {
        Carica(cartella, nome);
    } catch (const ConteggioInUso& e) {
        if (!Domanda(QString::fromUtf8(e.what()) + QStringLiteral("\n\nAprirlo comunque?"), genitore))
            return false;
        Carica(cartella, nome, true);
    }
    return true;
}

void ConteggioAperto::Salva()
{
    SalvaConteggio(cartella_, documento_, file_.get(),
                   [this](basedati::BaseDati& db) { controllaCambiamenti(db); });
    impostaModificato(false);
}

void ConteggioAperto::controllaCambiamenti(basedati::BaseDati& db) const
{
    // Runs inside the save's transaction, which keeps other writers out.
    unsigned long long dispositivo = 0, nodo = 0;
    const bool sostituito =
        Identita(percorso_, dispositivo, nodo) && (dispositivo != dispositivo_ || nodo != nodo_);
    if (!sostituito && VersioneDati(db) == versione_)
        return;
    throw ConteggioCambiato("Il conteggio " + Virgolettato(Nome()) + " non è stato salvato: " +
                            (sostituito ? "il suo file è stato sostituito da un altro programma"
                                        : "un'altra copia di Zelvi T.E.G. (o un altro programma) lo ha salvato") +
                            " dopo che era stato aperto qui. Salvandolo si perderebbero quelle modifiche; "
                            "il file è rimasto com'era.");
}

void ConteggioAperto::SalvaConNome(const QString& cartella, const QString& nome)
{
    SalvaConteggioConNome(cartella, nome, documento_);
    // The copy becomes the open calculation only once it loads as any other.
    try {
        Carica(cartella, nome);
    } catch (const std::exception& e) {
        RimuoviFileConteggio(cartella, nome);
        throw ErroreConteggio("Il conteggio \u00ab" + Citazione(nome, 60).toStdString() +
                              "\u00bb non è stato salvato:\n" + e.what());
    }
}

void ConteggioAperto::Chiudi()
{
    file_.reset();
    if (blocco_ >= 0)
        ::close(blocco_);
    blocco_ = -1;
    cartella_.clear();
    percorso_.clear();
}

void ConteggioAperto::SegnaModifica()
{
    impostaModificato(true);
    emit DocumentoCambiato();
}

void ConteggioAperto::impostaModificato(bool v)
{
    if (v == modificato_)
        return;
    modificato_ = v;
    emit ModificatoCambiato(v);
}
