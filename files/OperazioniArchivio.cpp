#include "OperazioniArchivio.h"

#include "Archivio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

std::string Nome(const QString& nome) { return "\u00ab" + nome.toStdString() + "\u00bb"; }

std::string Percorso(const QString& p) { return QDir::toNativeSeparators(p).toStdString(); }

// The file of `nome`, which must be an ordinary file.
QString FileEsistente(const QString& cartella, const QString& nome, const std::string& intestazione)
{
    if (nome.isEmpty() || nome.contains(QLatin1Char('/')) || nome == QLatin1String(".") ||
        nome == QLatin1String(".."))
        throw ErroreConteggio(intestazione + "il nome non è valido per un file.");
    const QString percorso = PercorsoConteggio(cartella, nome);
    const QFileInfo info(percorso);
    if (!info.exists() && !info.isSymLink())
        throw ErroreConteggio(intestazione + "il file non esiste più\n" + Percorso(percorso));
    if (!info.isFile() || info.isSymLink())
        throw ErroreConteggio(intestazione + Percorso(percorso) + " non è un file di conteggio.");
    return percorso;
}

} // namespace

bool FileAperto(const QString& cartella, const QString& nome, const QString& fileAperto)
{
    return !fileAperto.isEmpty() && QFileInfo(fileAperto) == QFileInfo(PercorsoConteggio(cartella, nome));
}

void EliminaConteggio(const QString& cartella, const QString& nome, const QString& fileAperto)
{
    const std::string intestazione = "Il conteggio " + Nome(nome) + " non è stato eliminato: ";
    const QString percorso = FileEsistente(cartella, nome, intestazione);
    if (FileAperto(cartella, nome, fileAperto))
        throw ErroreConteggio(intestazione + "è il conteggio aperto.\nAprire prima un altro conteggio.");
    if (::unlink(QFile::encodeName(percorso).constData()) != 0) {
        const int e = errno;
        const char* causa = (e == EACCES || e == EPERM || e == EROFS)
                                ? "manca il permesso di cancellare il file nella cartella dell'archivio"
                                : std::strerror(e);
        throw ErroreConteggio(intestazione + causa + "\n" + Percorso(percorso));
    }
    // A journal left by an interrupted save would otherwise be applied to a
    // later calculation of the same name.
    QFile::remove(percorso + QStringLiteral("-journal"));
}

void DuplicaConteggio(const QString& cartella, const QString& da, const QString& a)
{
    const QString origine =
        FileEsistente(cartella, da, "Il conteggio " + Nome(da) + " non è stato duplicato: ");
    CreaFileConteggio(cartella, a, "duplicare", [&](const QString& temporaneo) {
        QFile in(origine);
        if (!in.open(QIODevice::ReadOnly))
            throw ErroreConteggio("il file " + Percorso(origine) + " non si può leggere.");
        QFile out(temporaneo);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw ErroreConteggio("non si può scrivere nella cartella dell'archivio.");
        char blocco[65536];
        for (;;) {
            const qint64 n = in.read(blocco, sizeof blocco);
            if (n < 0)
                throw ErroreConteggio("il file " + Percorso(origine) + " non si può leggere.");
            if (n == 0)
                break;
            if (out.write(blocco, n) != n)
                throw ErroreConteggio("errore di scrittura sul disco (" + out.errorString().toStdString() + ").");
        }
        if (!out.flush() || ::fsync(out.handle()) != 0)
            throw ErroreConteggio("errore di scrittura sul disco (" + out.errorString().toStdString() + ").");
    });
}
