#include "AperturaEsterna.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <stdexcept>

namespace {

ControlloApertura controllo;

// On a free desktop, files are opened by xdg-open with the program that
// xdg-mime names for their type; without either nothing opens.
bool ControlloDiSistema(const QString& tipoMime)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // In a sandbox the desktop portal opens files: nothing to ask here.
    if (QFile::exists(QStringLiteral("/.flatpak-info")) || qEnvironmentVariableIsSet("SNAP"))
        return true;
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        return true;  // cannot ask: let xdg-open try
    QProcess p;
    p.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), tipoMime});
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(1000);
        return true;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 &&
           !p.readAllStandardOutput().trimmed().isEmpty();
#else
    Q_UNUSED(tipoMime);
    return true;
#endif
}

} // namespace

bool ApribileDalDesktop(const QString& tipoMime)
{
    return controllo ? controllo(tipoMime) : ControlloDiSistema(tipoMime);
}

void ImpostaControlloApertura(ControlloApertura c)
{
    controllo = std::move(c);
}

void ApriConDesktop(const QString& percorso, const QString& tipoMime, const QString& cosa)
{
    const QString nativo = QDir::toNativeSeparators(percorso);
    if (!ApribileDalDesktop(tipoMime))
        throw std::runtime_error(QStringLiteral("Sul computer non c'è un programma per aprire %1. "
                                                "Si può aprire a mano:\n%2")
                                     .arg(cosa, nativo)
                                     .toStdString());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(percorso)))
        throw std::runtime_error(QStringLiteral("Nessun programma ha potuto aprire %1. "
                                                "Si può aprire a mano:\n%2")
                                     .arg(cosa, nativo)
                                     .toStdString());
}
