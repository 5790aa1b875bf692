#include "frmCaricaFile.h"

#include "Archivio.h"
#include "Messaggi.h"
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
                             std::function<void(const QString&)> carica)
    : DialogoArchivio(principale, std::move(carica))
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

    setTabOrder(lista_, annulla_);
    setTabOrder(annulla_, apri_);

    connect(apri_, &QPushButton::clicked, this, &frmCaricaFile::Apri);
    connect(annulla_, &QPushButton::clicked, this, &frmCaricaFile::Annulla);
    connect(lista_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* voce) {
                if (voce)
                    apriConteggio(voce->text(0));
            });
    // A row chosen with the keyboard can be opened as one chosen by a click.
    connect(lista_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!lista_->selectedItems().isEmpty())
            apri_->setEnabled(true);
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

void frmCaricaFile::Apri()
{
    const QList<QTreeWidgetItem*> scelte = lista_->selectedItems();
    if (scelte.isEmpty())
        return;
    apriConteggio(scelte.first()->text(0));
}
