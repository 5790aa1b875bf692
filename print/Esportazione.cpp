#include "Esportazione.h"

#include "Messaggi.h"
#include "modStampa.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <map>
#include <stdexcept>
#include <tuple>

#include <xlsxwriter.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

SceltaFileEsportazione sceltaFile;
QString ultimaCartella;  // where the last output file went, for the next proposal

[[noreturn]] void fallisci(const QString& testo) { throw std::runtime_error(testo.toStdString()); }

QString nomeFile(const QString& percorso) { return QDir::toNativeSeparators(percorso); }

// What the system reports (an errno value), in the user's words.
QString causaSistema(int e)
{
    switch (e) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("il disco è pieno");
    case EFBIG: return QStringLiteral("il file supera la dimensione consentita");
    case EACCES:
    case EPERM: return QStringLiteral("manca il permesso di scrivere nella cartella");
    case EROFS: return QStringLiteral("il disco è di sola lettura");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("la cartella non esiste");
    case EISDIR: return QStringLiteral("con questo nome c'è una cartella");
    case ENAMETOOLONG: return QStringLiteral("il nome è troppo lungo per un file");
    case EIO: return QStringLiteral("errore di lettura o scrittura sul disco");
    case EMFILE:
    case ENFILE: return QStringLiteral("troppi file aperti");
    default: return QStringLiteral("errore del sistema (codice %1)").arg(e);
    }
}

// Excel keeps at most 32767 characters in a cell.
QByteArray utf8(const QString& s) { return s.left(32767).toUtf8(); }

// The formats of one workbook, made once per kind of cell.
class Formati {
public:
    explicit Formati(lxw_workbook* wb) : wb_(wb) {}

    lxw_format* titolo(bool principale)
    {
        lxw_format*& f = titoli_[principale];
        if (!f) {
            f = workbook_add_format(wb_);
            format_set_bold(f);
            if (principale)
                format_set_font_size(f, 12);
        }
        return f;
    }

    lxw_format* cella(const CellaEsportazione& c)
    {
        const auto chiave =
            std::make_tuple(static_cast<int>(c.tipo), c.grassetto, c.decimali, c.euro, c.migliaia);
        lxw_format*& f = celle_[chiave];
        if (f)
            return f;
        f = workbook_add_format(wb_);
        if (c.grassetto)
            format_set_bold(f);
        // Number formats are stored locale-neutral: "," groups thousands and
        // "." marks decimals; Excel and LibreOffice show them the Italian way.
        const QString decimali =
            c.decimali > 0 ? QStringLiteral(".") + QString(c.decimali, QLatin1Char('0')) : QString();
        QString formato;
        switch (c.tipo) {
        case TipoCella::Importo:
            formato =
                (c.euro ? QStringLiteral("\"\u20AC \"") : QString()) + QStringLiteral("#,##0") + decimali;
            break;
        case TipoCella::Tasso:
            formato = QStringLiteral("0") + decimali + QLatin1Char('%');
            break;
        case TipoCella::Numero:
            formato = (c.migliaia ? QStringLiteral("#,##0") : QStringLiteral("0")) + decimali;
            break;
        case TipoCella::Data:
            formato = QStringLiteral("dd/mm/yyyy");
            break;
        default:
            break;
        }
        if (!formato.isEmpty())
            format_set_num_format(f, formato.toUtf8().constData());
        return f;
    }

private:
    lxw_workbook* wb_;
    std::map<bool, lxw_format*> titoli_;
    std::map<std::tuple<int, bool, int, bool, bool>, lxw_format*> celle_;
};

void verifica(lxw_error e)
{
    if (e != LXW_NO_ERROR)
        fallisci(QStringLiteral("errore nella scrittura del foglio (%1).")
                     .arg(QString::fromUtf8(lxw_strerror(e))));
}

void scriviCella(lxw_worksheet* ws, lxw_row_t r, lxw_col_t c, const CellaEsportazione& cella,
                 Formati& formati)
{
    lxw_format* f = formati.cella(cella);
    switch (cella.tipo) {
    case TipoCella::Vuota:
        if (cella.grassetto)
            verifica(worksheet_write_blank(ws, r, c, f));
        return;
    case TipoCella::Testo:
        verifica(worksheet_write_string(ws, r, c, utf8(cella.testo).constData(), f));
        return;
    case TipoCella::Data: {
        if (cella.data.year() < 1900) {  // before the spreadsheets' calendar
            verifica(worksheet_write_string(ws, r, c, utf8(cella.testo).constData(), nullptr));
            return;
        }
        lxw_datetime d{cella.data.year(), cella.data.month(), cella.data.day(), 0, 0, 0};
        verifica(worksheet_write_datetime(ws, r, c, &d, f));
        return;
    }
    default:
        verifica(worksheet_write_number(ws, r, c, cella.valore, f));
    }
}

void scriviFoglio(lxw_worksheet* ws, const TabellaEsportazione& t, Formati& formati)
{
    lxw_row_t r = 0;
    verifica(worksheet_write_string(ws, r++, 0, utf8(t.titolo).constData(), formati.titolo(true)));
    if (!t.sottotitolo.isEmpty())
        verifica(worksheet_write_string(ws, r++, 0, utf8(t.sottotitolo).constData(), formati.titolo(false)));
    ++r;  // an empty line, as on the printed page
    const lxw_row_t inizio = r;

    const int colonne = t.Colonne();
    std::vector<int> larghezze(static_cast<std::size_t>(colonne), 8);
    for (std::size_t i = 0; i < t.righe.size(); ++i) {
        const auto& riga = t.righe[i];
        for (std::size_t c = 0; c < riga.size(); ++c) {
            CellaEsportazione cella = riga[c];
            if (static_cast<int>(i) == t.rigaIntestazione)
                cella.grassetto = true;
            scriviCella(ws, inizio + static_cast<lxw_row_t>(i), static_cast<lxw_col_t>(c), cella, formati);
            larghezze[c] = std::max(larghezze[c], static_cast<int>(cella.testo.trimmed().size()) + 2);
        }
    }
    for (int c = 0; c < colonne; ++c)
        verifica(worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                      std::min(larghezze[c], 60), nullptr));

    worksheet_freeze_panes(
        ws, t.rigaIntestazione >= 0 ? inizio + static_cast<lxw_row_t>(t.rigaIntestazione) + 1 : inizio, 0);
    worksheet_set_paper(ws, 9);  // A4
    worksheet_set_portrait(ws);
    worksheet_fit_to_pages(ws, 1, 0);
}

QString estensione(FormatoEsportazione formato)
{
    return formato == FormatoEsportazione::Excel ? QStringLiteral("xlsx") : QStringLiteral("csv");
}

QString sceltaDiSistema(QWidget* genitore, const QString& proposto, FormatoEsportazione formato)
{
    const bool excel = formato == FormatoEsportazione::Excel;
    return QFileDialog::getSaveFileName(
        genitore, excel ? QStringLiteral("Esporta in Excel") : QStringLiteral("Esporta CSV"), proposto,
        excel ? QStringLiteral("Cartelle di lavoro Excel (*.xlsx)")
              : QStringLiteral("File CSV (separatore punto e virgola) (*.csv)"));
}

QString nomeProposto(const TabellaEsportazione& t, FormatoEsportazione formato)
{
    QString nome = t.titolo;
    if (!t.sottotitolo.isEmpty())
        nome += QStringLiteral(" - ") + t.sottotitolo;
    for (const QChar c : QStringLiteral("\\/:*?\"<>|"))
        nome.replace(c, QLatin1Char(' '));
    nome = nome.simplified();
    if (nome.isEmpty())
        nome = QStringLiteral("Zelvi T.E.G.");
    return QDir(CartellaUscite()).filePath(nome + QLatin1Char('.') + estensione(formato));
}

} // namespace

void ScriviFileIntero(const QString& percorso, const QByteArray& dati)
{
    // A link is followed: the file it names is the one replaced.
    const QFileInfo info(percorso);
    const QString destinazione = info.isSymLink() && info.exists() ? info.canonicalFilePath() : percorso;
    const auto errore = [&percorso](int e) {
        fallisci(QStringLiteral("Impossibile scrivere il file \u00ab%1\u00bb: %2.\n"
                                "Un file che avesse già questo nome è rimasto com'era.")
                     .arg(nomeFile(percorso), causaSistema(e)));
    };
    if (QFileInfo(destinazione).isDir())
        errore(EISDIR);

    // The new content goes into a hidden file of the same folder, which then
    // takes the name in one step: the old file stays whole until then.
    QByteArray temporaneo =
        QFile::encodeName(QFileInfo(destinazione).absolutePath() + QStringLiteral("/.zelvi-XXXXXX"));
    const int fd = ::mkstemp(temporaneo.data());
    if (fd < 0)
        errore(errno);
    struct Pulizia {
        const char* percorso;
        int fd;
        ~Pulizia()
        {
            if (fd >= 0)
                ::close(fd);
            if (percorso)
                ::unlink(percorso);
        }
    } pulizia{temporaneo.constData(), fd};

    // The permissions of the file replaced, else those of a new file.
    struct stat st {};
    mode_t modo = 0;
    if (::stat(QFile::encodeName(destinazione).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        modo = st.st_mode & 07777;
    } else {
        const mode_t maschera = ::umask(0);
        ::umask(maschera);
        modo = 0666 & ~maschera;
    }
    if (::fchmod(fd, modo) != 0)
        errore(errno);

    const char* p = dati.constData();
    qsizetype resto = dati.size();
    while (resto > 0) {
        const ssize_t scritti = ::write(fd, p, static_cast<std::size_t>(resto));
        if (scritti < 0) {
            if (errno == EINTR)
                continue;
            errore(errno);
        }
        p += scritti;
        resto -= scritti;
    }
    if (::fsync(fd) != 0 && errno != EINVAL)
        errore(errno);
    pulizia.fd = -1;
    if (::close(fd) != 0)
        errore(errno);
    if (::rename(temporaneo.constData(), QFile::encodeName(destinazione).constData()) != 0)
        errore(errno);
    pulizia.percorso = nullptr;
    ultimaCartella = QFileInfo(destinazione).absolutePath();
}

QString CartellaUscite()
{
    QString cartella = ultimaCartella;
    if (cartella.isEmpty() || !QFileInfo(cartella).isDir())
        cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (cartella.isEmpty() || !QFileInfo(cartella).isDir())
        cartella = QDir::homePath();
    return cartella;
}

void ScriviExcel(const std::vector<TabellaEsportazione>& tabelle, const QString& percorso)
{
    // The library writes to a path of its own choosing; it works in a private
    // folder and the finished workbook then replaces the target in one step.
    QTemporaryDir lavoro;
    if (!lavoro.isValid())
        fallisci(QStringLiteral("Impossibile creare una cartella temporanea per il file Excel: %1")
                     .arg(lavoro.errorString()));
    const QByteArray cartella = QFile::encodeName(lavoro.path());
    const QByteArray file = QFile::encodeName(lavoro.filePath(QStringLiteral("tabella.xlsx")));
    lxw_workbook_options opzioni{};
    opzioni.tmpdir = const_cast<char*>(cartella.constData());
    lxw_workbook* wb = workbook_new_opt(file.constData(), &opzioni);
    if (!wb)
        fallisci(QStringLiteral("Impossibile preparare il file Excel."));

    QString errore;
    try {
        const QByteArray titolo = utf8(tabelle.empty() ? QString() : tabelle.front().titolo);
        lxw_doc_properties proprieta{};
        proprieta.title = const_cast<char*>(titolo.constData());
        proprieta.author = const_cast<char*>("Zelvi T.E.G.");
        proprieta.comments = const_cast<char*>("Esportato da Zelvi T.E.G.");
        verifica(workbook_set_properties(wb, &proprieta));

        Formati formati(wb);
        QStringList nomi;
        for (const TabellaEsportazione& t : tabelle) {
            const QString nome = NomeFoglio(t.foglio.isEmpty() ? t.titolo : t.foglio, nomi);
            nomi << nome;
            lxw_worksheet* ws = workbook_add_worksheet(wb, utf8(nome).constData());
            if (!ws)
                fallisci(QStringLiteral("nome del foglio \u00ab%1\u00bb non accettato.").arg(nome));
            scriviFoglio(ws, t, formati);
        }
    } catch (const std::exception& e) {
        errore = QString::fromUtf8(e.what());
    }
    errno = 0;
    const lxw_error chiusura = workbook_close(wb);  // also frees the workbook
    if (errore.isEmpty() && chiusura != LXW_NO_ERROR)
        errore = errno != 0 ? causaSistema(errno) + QStringLiteral(" (cartella temporanea ") +
                                  nomeFile(lavoro.path()) + QLatin1Char(')')
                            : QStringLiteral("il file non si è potuto comporre (%1)")
                                  .arg(QString::fromUtf8(lxw_strerror(chiusura)));
    if (errore.endsWith(QLatin1Char('.')))
        errore.chop(1);
    if (!errore.isEmpty())
        fallisci(QStringLiteral("Impossibile scrivere il file Excel \u00ab%1\u00bb: %2.\n"
                                "Un file che avesse già questo nome è rimasto com'era.")
                     .arg(nomeFile(percorso), errore));

    QFile prodotto(QFile::decodeName(file));
    if (!prodotto.open(QIODevice::ReadOnly))
        fallisci(QStringLiteral("Impossibile scrivere il file Excel \u00ab%1\u00bb: %2")
                     .arg(nomeFile(percorso), prodotto.errorString()));
    ScriviFileIntero(percorso, prodotto.readAll());
}

void ScriviCSV(const TabellaEsportazione& t, const QString& percorso)
{
    ScriviFileIntero(percorso, TestoCSV(t));
}

void ImpostaSceltaFileEsportazione(SceltaFileEsportazione scelta) { sceltaFile = std::move(scelta); }

bool EsportaTabellaCorrente(const Rapporto* rapporto, FormatoEsportazione formato, QWidget* genitore)
{
    if (!rapporto) {
        Messaggio(QStringLiteral("Non c'è una tabella da esportare: aprire prima la tabella desiderata."),
                  QMessageBox::Information, genitore);
        return false;
    }
    const TabellaEsportazione t = TabellaDaRapporto(*rapporto);
    QString file = (sceltaFile ? sceltaFile : sceltaDiSistema)(genitore, nomeProposto(t, formato), formato);
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += QLatin1Char('.') + estensione(formato);
    if (formato == FormatoEsportazione::Excel)
        ScriviExcel({t}, file);
    else
        ScriviCSV(t, file);
    return true;
}
