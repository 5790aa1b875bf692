// Zelvi T.E.G.: calculation of the effective global rate for the usury checks.
#include "Avvio.h"
#include "Italiano.h"
#include "Mainform.h"
#include "Messaggi.h"
#include "TassoLegaleInUso.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace {

const char* const SenzaSchermo =
    "Zelvi T.E.G.: nessuno schermo grafico disponibile; avviare il programma da una sessione "
    "grafica oppure con: xvfb-run -a %s\n";

const char* programma = "zelvi-teg";
QtMessageHandler predefinito = nullptr;
bool avviato = false;

// Qt ends the process when it cannot reach the display: say it plainly.
void Messaggi(QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo)
{
    if (tipo == QtFatalMsg) {
        if (testo.contains(QLatin1String("platform plugin")) ||
            testo.contains(QLatin1String("display"), Qt::CaseInsensitive)) {
            std::fprintf(stderr, SenzaSchermo, programma);
        } else {
            std::fprintf(stderr, "Zelvi T.E.G.: %s\n", qPrintable(testo));
        }
        std::_Exit(1);
    }
    // Until the display is reached, its plugin's complaints only precede the
    // one line above.
    if (!avviato && contesto.category &&
        QLatin1String(contesto.category).startsWith(QLatin1String("qt.qpa")))
        return;
    if (predefinito)
        predefinito(tipo, contesto, testo);
}

bool SchermoAssente()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 0 && argv[0])
        programma = argv[0];
    // Help and version are answered before any display is needed.
    QStringList argomenti;
    for (int i = 0; i < argc; ++i)
        argomenti << QString::fromLocal8Bit(argv[i]);
    const RigaComando prima = LeggiRigaComando(argomenti);
    if (prima.aiuto || prima.versione) {
        const QString testo = prima.aiuto ? TestoAiuto(QFileInfo(QString::fromLocal8Bit(programma)).fileName())
                                          : TestoVersione();
        std::fputs(testo.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (SchermoAssente()) {
        std::fprintf(stderr, SenzaSchermo, programma);
        return 1;
    }
    predefinito = qInstallMessageHandler(Messaggi);

    // The name of the user's data folder (~/.local/share/zelvi-teg) and of
    // the desktop entry.
    QApplication::setApplicationName(QStringLiteral("zelvi-teg"));
    QApplication app(argc, argv);
    avviato = true;
    QApplication::setApplicationVersion(QStringLiteral(ZELVI_VERSIONE));
    QGuiApplication::setDesktopFileName(QStringLiteral("zelvi-teg"));

    // Qt has taken its own options (-platform, -style...) off the line by now.
    const RigaComando riga = LeggiRigaComando(QApplication::arguments());
    if (!riga.errore.isEmpty()) {
        std::fprintf(stderr, "Zelvi T.E.G.: %s\nL'elenco delle opzioni: %s --help\n", qPrintable(riga.errore),
                     programma);
        return 2;
    }

    // Qt's own dialogs (file choice, printing) speak Italian too.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QTranslator traduzione;
    if (traduzione.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduzione);
    InstallaItaliano();

    Mainform finestra;
    finestra.Avvia(riga);
    // The legal rate series built in is read now: a damaged one is said at once.
    if (!AvvisoTassoLegale().isEmpty())
        Messaggio(AvvisoTassoLegale(), QMessageBox::Warning, &finestra);
    return QApplication::exec();
}
