#include "frmCaricaFile.h"

#include "Archivio.h"
#include "Messaggi.h"
#include "OperazioniArchivio.h"
#include "frmNuovoPiano.h"
#include "Twips.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <exception>

namespace {

// Column headings and widths in twips; the last column takes what is left.
struct Colonna {
    const char* titolo;
    int larghezza;
};
constexpr Colonna colonne[] = {{"Conteggi disponibili", 3200},
                               {"Conto corrente", 1700},
                               {"Mutuo", 1700},
                               {"Operaz. brevi", 1700},
                               {"Varie", 1700}};

} // namespace

frmCaricaFile::frmCaricaFile(QWidget* principale, const QString& cartella,
                             std::function<void(const QString&)> carica, const QString& fileAperto)
    : DialogoArchivio(principale, std::move(carica)), cartella_(cartella), fileAperto_(fileAperto)
{
    setObjectName(QStringLiteral("frmCaricaFile"));
    setWindowTitle(QStringLiteral("Apri conteggio"));
    setFixedSize(TwipsAPixel(10245), TwipsAPixel(4095));

    lista_ = new QTreeWidget(this);
    lista_->setObjectName(QStringLiteral("ListView1"));
    lista_->setRootIsDecorated(false);
    lista_->setItemsExpandable(false);
    lista_->setUniformRowHeights(true);
    lista_->setAllColumnsShowFocus(true);
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista_->setTextElideMode(Qt::ElideRight);
    lista_->setColumnCount(std::size(colonne));
    QStringList titoli;
    for (const Colonna& c : colonne)
        titoli << QString::fromUtf8(c.titolo);
    lista_->setHeaderLabels(titoli);
    lista_->header()->setSectionsMovable(false);
    lista_->header()->setStretchLastSection(true);
    lista_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 0; i + 1 < int(std::size(colonne)); ++i)
        lista_->header()->resizeSection(i, TwipsAPixel(colonne[i].larghezza));
    PosizionaTwips(lista_, 120, 120, 9975, 3375);

    annulla_ = new QPushButton(QStringLiteral("Annulla"), this);
    annulla_->setObjectName(QStringLiteral("XPButton2"));
    PosizionaTwips(annulla_, 6600, 3600, 1695, 375);

    apri_ = new QPushButton(QStringLiteral("Apri"), this);
    apri_->setObjectName(QStringLiteral("XPButton1"));
    apri_->setDefault(true);
    apri_->setEnabled(false);
    PosizionaTwips(apri_, 8400, 3600, 1695, 375);

    elimina_ = new QPushButton(QStringLiteral("&Elimina"), this);
    elimina_->setObjectName(QStringLiteral("XPButton4"));
    elimina_->setEnabled(false);
    PosizionaTwips(elimina_, 120, 3600, 1695, 375);

    duplica_ = new QPushButton(QStringLiteral("&Duplica"), this);
    duplica_->setObjectName(QStringLiteral("XPButton3"));
    duplica_->setEnabled(false);
    PosizionaTwips(duplica_, 1920, 3600, 1695, 375);

    setTabOrder(lista_, elimina_);
    setTabOrder(elimina_, duplica_);
    setTabOrder(duplica_, annulla_);
    setTabOrder(annulla_, apri_);

    connect(duplica_, &QPushButton::clicked, this, &frmCaricaFile::Duplica);
    connect(elimina_, &QPushButton::clicked, this, &frmCaricaFile::Elimina);

    connect(apri_, &QPushButton::clicked, this, &frmCaricaFile::Apri);
    connect(annulla_, &QPushButton::clicked, this, &frmCaricaFile::Annulla);
    connect(lista_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* voce) {
                if (voce)
                    apriConteggio(voce->text(0));
            });
    // A row chosen with the keyboard can be opened as one chosen by a click.
    connect(lista_, &QTreeWidget::itemSelectionChanged, this, [this] {
        const bool scelta = !lista_->selectedItems().isEmpty();
        if (scelta)
            apri_->setEnabled(true);
        duplica_->setEnabled(scelta);
        elimina_->setEnabled(scelta);
    });
    lista_->viewport()->installEventFilter(this);

    riempi(cartella);

    Blocca();
    lista_->setFocus();
}

QIcon frmCaricaFile::ImageList1()
{
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

void frmCaricaFile::riempi(const QString& cartella)
{
    const QIcon icona = ImageList1();
    QList<QTreeWidgetItem*> righe;
    for (const VoceArchivio& v : ElencoArchivio(cartella)) {
        auto* r = new QTreeWidgetItem;
        r->setText(0, v.nome);
        r->setIcon(0, icona);
        r->setText(1, v.contoCorrente);
        r->setText(2, v.mutuo);
        r->setText(3, v.breve);
        r->setText(4, v.varie);
        for (int c = 1; c < 5; ++c) {
            if (!r->text(c).isEmpty())
                r->setToolTip(c, r->text(c));
        }
        if (!v.leggibile) {
            // Marked where the descriptions would be, greyed, the reason in
            // the tooltip of every column.
            r->setText(1, QStringLiteral("(file danneggiato)"));
            const QString perche = QStringLiteral("Il file di questo conteggio non può essere letto.") +
                                   (v.motivo.isEmpty() ? QString() : QLatin1Char('\n') + v.motivo);
            for (int c = 0; c < 5; ++c) {
                r->setToolTip(c, perche);
                r->setForeground(c, lista_->palette().brush(QPalette::Disabled, QPalette::Text));
            }
        }
        righe << r;
    }
    lista_->addTopLevelItems(righe);
}

bool frmCaricaFile::eventFilter(QObject* o, QEvent* e)
{
    // A click anywhere in a list that holds a row enables "Apri".
    if (o == lista_->viewport() && e->type() == QEvent::MouseButtonPress &&
        lista_->topLevelItemCount() > 0)
        apri_->setEnabled(true);
    return QDialog::eventFilter(o, e);
}

void frmCaricaFile::apriConteggio(const QString& nome)
{
    if (!InCorso() && !nome.isEmpty())
        CaricaEChiudi(nome);
}

QString frmCaricaFile::scelto() const
{
    const QList<QTreeWidgetItem*> scelte = lista_->selectedItems();
    return scelte.isEmpty() ? QString() : scelte.first()->text(0);
}

void frmCaricaFile::riempiEScegli(const QString& nome)
{
    lista_->clear();
    riempi(cartella_);
    for (int i = 0; i < lista_->topLevelItemCount(); ++i) {
        if (lista_->topLevelItem(i)->text(0) == nome) {
            lista_->setCurrentItem(lista_->topLevelItem(i));
            lista_->scrollToItem(lista_->topLevelItem(i));
        }
    }
    lista_->setFocus();
}

void frmCaricaFile::Duplica()
{
    const QString origine = scelto();
    if (InCorso() || origine.isEmpty())
        return;
    const QString cartella = cartella_;
    auto* d = new frmNuovoPiano(this, cartella, [this](const QString& copia) { riempiEScegli(copia); });
    d->ImpostaOperazione(QStringLiteral("Duplica conteggio"), QStringLiteral("Duplica"),
                         origine + QStringLiteral(" - copia"),
                         [cartella, origine](const QString& copia) { DuplicaConteggio(cartella, origine, copia); });
    d->show();
}

void frmCaricaFile::Elimina()
{
    const QString nome = scelto();
    if (InCorso() || nome.isEmpty())
        return;
    if (FileAperto(cartella_, nome, fileAperto_)) {
        Messaggio(QStringLiteral("Il conteggio \u00ab%1\u00bb è quello aperto e non può essere eliminato.\n"
                                 "Per eliminarlo aprire prima un altro conteggio.")
                      .arg(nome),
                  QMessageBox::Information, this);
        return;
    }
    if (!Domanda(QStringLiteral("Eliminare il conteggio \u00ab%1\u00bb?\n"
                                "Il file verrà cancellato dall'archivio e non potrà essere recuperato.")
                     .arg(nome),
                 this))
        return;
    try {
        EliminaConteggio(cartella_, nome, fileAperto_);
    } catch (const std::exception& e) {
        Messaggio(QString::fromUtf8(e.what()), QMessageBox::Warning, this);
    }
    riempiEScegli(QString());
}

void frmCaricaFile::Apri()
{
    const QList<QTreeWidgetItem*> scelte = lista_->selectedItems();
    if (scelte.isEmpty())
        return;
    apriConteggio(scelte.first()->text(0));
}
