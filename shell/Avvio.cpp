#include "Avvio.h"

#include "Archivio.h"
#include "SoglieInUso.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef ZELVI_VERSIONE
#define ZELVI_VERSIONE "1.0.0"
#endif
// From the installed executable's folder to the installed data, e.g.
// "../share/zelvi-teg"; set by the build from the install layout.
#ifndef ZELVI_DATI_DA_PROGRAMMA
#define ZELVI_DATI_DA_PROGRAMMA "../share/zelvi-teg"
#endif

namespace {

const QString Esteso = QStringLiteral(".ccc");

// The options, in the order --help lists them.
struct Opzione {
    QStringList nomi;
    const char* valore;  // name of its value, nullptr for a switch
    const char* spiegazione;
};

const QList<Opzione>& Opzioni()
{
    static const QList<Opzione> opzioni = {
        {{"archivio"}, "CARTELLA", "usa CARTELLA come archivio dei conteggi"},
        {{"h", "help"}, nullptr, "mostra questo aiuto ed esce"},
        {{"v", "version"}, nullptr, "mostra la versione ed esce"},
    };
    return opzioni;
}

} // namespace

RigaComando LeggiRigaComando(const QStringList& argomenti)
{
    QCommandLineParser p;
    p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const Opzione& o : Opzioni()) {
        p.addOption(o.valore ? QCommandLineOption(o.nomi, QString(), QLatin1String(o.valore))
                             : QCommandLineOption(o.nomi));
    }
    RigaComando r;
    const bool buona = p.parse(argomenti);
    // Help and version win over any other mistake on the line.
    r.aiuto = p.isSet(QStringLiteral("help"));
    r.versione = p.isSet(QStringLiteral("version"));
    if (!buona) {
        if (!p.unknownOptionNames().isEmpty()) {
            const QString nome = p.unknownOptionNames().constFirst();
            r.errore = QStringLiteral("opzione sconosciuta: %1%2")
                           .arg(nome.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), nome);
        } else {
            r.errore = QStringLiteral("l'opzione --archivio vuole il nome di una cartella");
        }
        return r;
    }
    const QStringList valori = p.values(QStringLiteral("archivio"));
    r.archivio = valori.isEmpty() ? QString() : valori.constLast();
    if (valori.size() == 1 && r.archivio.isEmpty())
        r.errore = QStringLiteral("l'opzione --archivio vuole il nome di una cartella");
    const QStringList file = p.positionalArguments();
    if (file.size() > 1)
        r.errore = QStringLiteral("si può aprire un solo conteggio alla volta");
    else if (file.size() == 1)
        r.file = file.constFirst();
    return r;
}

QString TestoAiuto(const QString& programma)
{
    QString t = QStringLiteral("Uso: %1 [opzioni] [CONTEGGIO.ccc]\n\n"
                               "Zelvi T.E.G.: calcolo del tasso effettivo globale per la verifica "
                               "dell'usura.\nApre il conteggio indicato oppure, se non se ne indica "
                               "nessuno, il conteggio Esempio dell'archivio.\n\nOpzioni:\n")
                    .arg(programma);
    for (const Opzione& o : Opzioni()) {
        QStringList nomi;
        for (const QString& n : o.nomi)
            nomi << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
        QString sinistra = QStringLiteral("  ") + nomi.join(QStringLiteral(", "));
        if (o.valore)
            sinistra += QLatin1Char(' ') + QLatin1String(o.valore);
        t += sinistra.leftJustified(26) + QString::fromUtf8(o.spiegazione) + QLatin1Char('\n');
    }
    t += QStringLiteral("\nSenza --archivio i conteggi stanno nella cartella \u00abArchivio\u00bb accanto al "
                        "programma\no, se il programma è installato o la sua cartella non è scrivibile,\n"
                        "in ~/.local/share/zelvi-teg/Archivio.\n");
    return t;
}

QString TestoVersione()
{
    return QStringLiteral("Zelvi T.E.G. " ZELVI_VERSIONE "\n");
}

QString CartellaDatiInstallati(const QString& cartellaProgramma)
{
    const QFileInfo dati(QDir(cartellaProgramma).filePath(QStringLiteral(ZELVI_DATI_DA_PROGRAMMA)));
    return dati.isDir() ? QDir::cleanPath(dati.absoluteFilePath()) : QString();
}

QString ScegliArchivio(const QString& cartellaProgramma, bool scrivibile, bool installato,
                       const QString& datiUtente, const QString& opzione)
{
    if (!opzione.isEmpty())
        return QDir::cleanPath(QDir::current().absoluteFilePath(opzione));
    const QString base = scrivibile && !installato ? cartellaProgramma : datiUtente;
    return QDir::cleanPath(QDir(base).absoluteFilePath(QStringLiteral("Archivio")));
}

QString PreparaArchivio(const QString& cartella, const QStringList& esempi)
{
    if (QFileInfo(cartella).isDir())
        return {};
    if (!QDir().mkpath(cartella))
        return QStringLiteral("La cartella dell'archivio non si può creare:\n") + QDir::toNativeSeparators(cartella);
    for (const QString& esempio : esempi) {
        const QFileInfo origine(esempio);
        const QString destinazione = QDir(cartella).filePath(origine.fileName());
        if (esempio.isEmpty() || !origine.isFile())
            continue;
        if (!QFile::copy(esempio, destinazione)) {
            QFile::remove(destinazione);
            return QStringLiteral("Il conteggio di esempio \u00ab%1\u00bb non si può copiare nell'archivio:\n")
                       .arg(origine.completeBaseName()) +
                   QDir::toNativeSeparators(cartella);
        }
        // The installed example is read-only; the user's copy is theirs to save.
        QFile copia(destinazione);
        copia.setPermissions(copia.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    }
    return {};
}

QStringList EsempiDelProgramma(const QString& cartellaDati)
{
    QStringList esempi;
    for (const char* nome : {"Esempio", "Esempio movimenti"})
        esempi << PercorsoConteggio(cartellaDati + QStringLiteral("/Archivio"), QString::fromUtf8(nome));
    return esempi;
}

QStringList AvvisiAvvio(const QString& cartella, const QStringList& esempi)
{
    QStringList avvisi;
    if (const QString e = PreparaArchivio(cartella, esempi); !e.isEmpty())
        avvisi << e;
    if (const QString e = AvvisoSoglie(); !e.isEmpty())
        avvisi << QStringLiteral("I tassi soglia aggiornati salvati nell'archivio non si possono usare.\n%1.\n"
                                 "Il programma usa la serie incorporata (%2); per rimediare ripetere "
                                 "\u00abAggiorna tassi soglia\u2026\u00bb.")
                      .arg(e, TestoUltimaDataSoglie().toLower());
    return avvisi;
}

FileConteggio DividiPercorso(const QString& percorso)
{
    const QFileInfo info(QDir::current().absoluteFilePath(percorso));
    const QString nomeFile = info.fileName();
    if (!nomeFile.endsWith(Esteso) || nomeFile.size() == Esteso.size())
        throw ErroreConteggio(("Il file \u00ab" + QDir::toNativeSeparators(percorso) +
                               "\u00bb non è un conteggio: i file dei conteggi finiscono in \u00ab.ccc\u00bb.")
                                  .toStdString());
    return {QDir::cleanPath(info.absolutePath()), nomeFile.chopped(Esteso.size())};
}
