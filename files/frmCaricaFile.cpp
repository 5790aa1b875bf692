#include "frmCaricaFile.h"

#include "Archivio.h"
#include "Messaggi.h"
#include "OperazioniArchivio.h"
#include "frmNuovoPiano.h"
#include "Twips.h"

#include <QApplication>
#include <QBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <exception>
#include <limits>

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

// The rows the dialog has room for when it opens, and the widest a
// description column opens, in twips.
constexpr int RigheVisibili = 20;
constexpr int DescrizioneMassima = 3600;

} // namespace

frmCaricaFile::frmCaricaFile(QWidget* principale, const QString& cartella,
                             std::function<void(const QString&)> carica, const QString& fileAperto)
    : DialogoArchivio(principale, std::move(carica)), cartella_(cartella), fileAperto_(fileAperto)
{
    setObjectName(QStringLiteral("frmCaricaFile"));
    setWindowTitle(QStringLiteral("Apri conteggio"));
    setMinimumSize(TwipsAPixel(10245), TwipsAPixel(4095));

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

    const auto pulsante = [this](const QString& testo, const char* nome) {
        auto* b = new QPushButton(testo, this);
        b->setObjectName(QLatin1String(nome));
        b->setMinimumSize(TwipsAPixel(1695), TwipsAPixel(375));
        return b;
    };
    elimina_ = pulsante(QStringLiteral("&Elimina"), "XPButton4");
    elimina_->setEnabled(false);
    duplica_ = pulsante(QStringLiteral("&Duplica"), "XPButton3");
    duplica_->setEnabled(false);
    annulla_ = pulsante(QStringLiteral("Annulla"), "XPButton2");
    apri_ = pulsante(QStringLiteral("Apri"), "XPButton1");
    apri_->setDefault(true);
    apri_->setEnabled(false);

    // The list takes what the window gives; the buttons stay below it.
    const int m = TwipsAPixel(120);
    auto* colonna = new QVBoxLayout(this);
    colonna->setContentsMargins(m, m, m, m);
    colonna->setSpacing(m);
    colonna->addWidget(lista_, 1);
    auto* riga = new QHBoxLayout;
    riga->setSpacing(m);
    riga->addWidget(elimina_);
    riga->addWidget(duplica_);
    riga->addStretch(1);
    riga->addWidget(annulla_);
    riga->addWidget(apri_);
    colonna->addLayout(riga);

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
    dimensiona();

    Blocca();
    lista_->setFocus();
}

void frmCaricaFile::dimensiona()
{
    // Each column as wide as its longest text, the name never narrower than
    // designed, a description at most DescrizioneMassima (the tooltip has
    // the rest); room for RigheVisibili rows. Never beyond the screen.
    QHeaderView* intestazione = lista_->header();
    const QFontMetrics fm(lista_->font());
    const int margine = 2 * lista_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lista_) + 8;
    int larghezza = 0;
    for (int c = 0; c < int(std::size(colonne)); ++c) {
        int serve = intestazione->sectionSizeHint(c);
        for (int r = 0; r < lista_->topLevelItemCount(); ++r)
            serve = std::max(serve, fm.horizontalAdvance(lista_->topLevelItem(r)->text(c)) + margine +
                                        (c == 0 ? lista_->iconSize().width() + 8 : 0));
        const int minimo = TwipsAPixel(colonne[c].larghezza);
        const int massimo = c == 0 ? std::numeric_limits<int>::max() : TwipsAPixel(DescrizioneMassima);
        intestazione->resizeSection(c, std::clamp(serve, minimo, std::max(minimo, massimo)));
        larghezza += intestazione->sectionSize(c);
    }
    const int riga = lista_->topLevelItemCount() > 0 ? lista_->sizeHintForRow(0)
                                                     : lista_->fontMetrics().height() + 4;
    const int m = TwipsAPixel(120);
    const int barra = lista_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize voluta(larghezza + 2 * lista_->frameWidth() + barra + 2 * m + 2,
                 intestazione->sizeHint().height() + RigheVisibili * riga + 2 * lista_->frameWidth() +
                     apri_->minimumSize().height() + 3 * m);
    if (const QScreen* schermo = screen()) {
        const QSize massima = schermo->availableGeometry().size() * 0.9;
        if (voluta.width() > massima.width())
            voluta.rheight() += barra;  // room for the scroll bar across
        voluta = voluta.boundedTo(massima);
    }
    resize(voluta.expandedTo(minimumSize()));
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
