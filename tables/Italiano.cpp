#include "Italiano.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QTreeView>
#include <QValidator>

namespace {

QLocale Italiano() { return QLocale(QLocale::Italian, QLocale::Italy); }

// The columns of a file dialog with Italian sizes, types and dates: the
// file system model writes them with the system's locale, English when the
// session has none.
class ModelloFileItaliano : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& indice, int ruolo) const override
    {
        const auto* file = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (ruolo != Qt::DisplayRole || !file || indice.column() < 1 || indice.column() > 3)
            return QIdentityProxyModel::data(indice, ruolo);
        const QModelIndex origine = mapToSource(indice);
        const QFileInfo info = file->fileInfo(origine);
        switch (indice.column()) {
        case 1:
            return info.isFile() ? Italiano().formattedDataSize(info.size(), 2, QLocale::DataSizeTraditionalFormat) : QString();
        case 2: {
            const QString tipo = QIdentityProxyModel::data(indice, ruolo).toString();
            if (tipo == QLatin1String("Folder") || tipo == QLatin1String("Directory"))
                return QStringLiteral("Cartella");
            if (tipo == QLatin1String("Drive"))
                return QStringLiteral("Unità");
            if (tipo.endsWith(QLatin1String(" File")))
                return QStringLiteral("File ") + tipo.chopped(5);
            return tipo;
        }
        default:
            return Italiano().toString(info.lastModified(), QStringLiteral("dd/MM/yyyy HH:mm"));
        }
    }
};

void ItalianizzaDialogoFile(QFileDialog* dialogo)
{
    if (!dialogo->testOption(QFileDialog::DontUseNativeDialog) && dialogo->findChildren<QTreeView*>().isEmpty())
        return;  // the desktop's own dialog speaks the desktop's language
    if (!dynamic_cast<ModelloFileItaliano*>(dialogo->proxyModel()))
        dialogo->setProxyModel(new ModelloFileItaliano(dialogo));
    // Wide enough for the headings "Dimensione", "Tipo", "Data di modifica".
    if (auto* vista = dialogo->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* intestazione = vista->header();
        intestazione->setStretchLastSection(false);
        intestazione->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < intestazione->count(); ++c)
            intestazione->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
    QSize misura = dialogo->size().expandedTo(QSize(860, 500));
    if (const QScreen* schermo = dialogo->screen())
        misura = misura.boundedTo(schermo->availableGeometry().size());
    dialogo->resize(misura);
}

// The zoom of the print preview: Qt writes it with a decimal point and
// reads it only so. Shown with a comma, read with either.
void ItalianizzaAnteprima(QDialog* anteprima)
{
    QObject* vista = nullptr;
    for (QObject* o : anteprima->findChildren<QWidget*>())
        if (o->inherits("QPrintPreviewWidget"))
            vista = o;
    auto* zoom = anteprima->findChild<QComboBox*>();
    if (!vista || !zoom || !zoom->lineEdit() || zoom->property("Italiano").toBool())
        return;
    zoom->setProperty("Italiano", true);
    for (int i = 0; i < zoom->count(); ++i)
        zoom->setItemText(i, zoom->itemText(i).replace(QLatin1Char('.'), QLatin1Char(',')));
    if (auto* v = const_cast<QValidator*>(zoom->lineEdit()->validator()))
        v->setLocale(Italiano());
    QLineEdit* testo = zoom->lineEdit();
    const auto virgola = [testo] {
        if (testo->text().contains(QLatin1Char('.'))) {
            const int cursore = testo->cursorPosition();
            testo->setText(testo->text().replace(QLatin1Char('.'), QLatin1Char(',')));
            testo->setCursorPosition(cursore);
        }
    };
    QObject::connect(testo, &QLineEdit::textChanged, anteprima, virgola);
    virgola();
    const QPointer<QObject> guardata(vista);
    const auto leggi = [anteprima, guardata, testo] {
        QString t = testo->text();
        t.remove(QLatin1Char('%'));
        bool ok = false;
        const double fattore = Italiano().toDouble(t.trimmed(), &ok);
        if (!ok || !guardata)
            return;
        const double percento = std::clamp(fattore, 1.0, 1000.0);
        QMetaObject::invokeMethod(guardata, "setZoomFactor", Q_ARG(qreal, percento / 100));
        // A zoom of one's own is no longer "fit width" or "fit page".
        for (const char* nome : {"fitWidthAction", "fitPageAction"})
            if (auto* a = anteprima->findChild<QAction*>(QLatin1String(nome))) {
                if (a->actionGroup())
                    a->actionGroup()->setExclusive(false);
                a->setChecked(false);
            }
        testo->setText(Italiano().toString(percento, 'f', 1) + QLatin1Char('%'));
    };
    QObject::connect(testo, &QLineEdit::editingFinished, anteprima, leggi);
    QObject::connect(zoom, &QComboBox::textActivated, anteprima, leggi);
}

class Italianizzatore : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && o->isWidgetType()) {
            if (auto* dialogo = qobject_cast<QFileDialog*>(o))
                ItalianizzaDialogoFile(dialogo);
            else if (o->inherits("QPrintPreviewDialog"))
                ItalianizzaAnteprima(static_cast<QDialog*>(o));
        }
        return false;
    }
};

} // namespace

void InstallaItaliano()
{
    QCoreApplication* app = QCoreApplication::instance();
    const QString nome = QStringLiteral("Italianizzatore");
    if (!app || app->findChild<QObject*>(nome, Qt::FindDirectChildrenOnly))
        return;
    auto* filtro = new Italianizzatore(app);
    filtro->setObjectName(nome);
    app->installEventFilter(filtro);
}

QString ErroreFileInItaliano(const QString& errore)
{
    struct Voce {
        const char* inglese;
        const char* italiano;
    };
    static const Voce voci[] = {
        {"Read-only file system", "file system in sola lettura"},
        {"Permission denied", "permesso negato"},
        {"No space left on device", "spazio esaurito sul disco"},
        {"Disk quota exceeded", "quota del disco superata"},
        {"No such file or directory", "file o cartella inesistente"},
        {"Is a directory", "al suo posto c'è una cartella"},
        {"Not a directory", "una parte del percorso non è una cartella"},
        {"File exists", "il file esiste già"},
        {"File name too long", "nome del file troppo lungo"},
        {"Input/output error", "errore di lettura o scrittura sul dispositivo"},
        {"Device or resource busy", "dispositivo occupato"},
        {"Too many open files", "troppi file aperti"},
        {"Operation not permitted", "operazione non permessa"},
        {"Unknown error", "errore sconosciuto"},
    };
    QString r = errore;
    for (const Voce& v : voci)
        r.replace(QLatin1String(v.inglese), QString::fromUtf8(v.italiano), Qt::CaseInsensitive);
    return r;
}
