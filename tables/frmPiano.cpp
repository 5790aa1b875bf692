#include "frmPiano.h"

#include "Twips.h"
#include "frmCalcoli.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Spacing of the window, in twips.
constexpr int margine = 120, spaziatura = 90;

QLabel* Etichetta(const QString& nome, QWidget* genitore)
{
    auto* l = new QLabel(genitore);
    l->setObjectName(nome);
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

} // namespace

frmPiano::frmPiano(Documento& documento, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmPiano"), QStringLiteral("1513506645"), documento, genitore)
{
    setWindowTitle(QStringLiteral("Piano di ammortamento"));
    PosizionaTwips(this, 0, 0, 15135, 6645);
    auto* layout = new QVBoxLayout(this);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    layout->setContentsMargins(m, m, m, m);
    layout->setSpacing(s);
    layout->addWidget(CreaBandaTitolo(this, QStringLiteral("Piano di ammortamento")));

    auto* cornice = new QFrame(this);
    cornice->setObjectName(QStringLiteral("CornicePiano"));
    cornice->setFrameShape(QFrame::StyledPanel);
    cornice->setFrameShadow(QFrame::Sunken);
    auto* interno = new QVBoxLayout(cornice);
    interno->setContentsMargins(m, m, m, s);
    interno->setSpacing(s);
    intestazione_ = Etichetta(QStringLiteral("LabelIntestazione"), cornice);
    interno->addWidget(intestazione_);
    vista_ = new VistaGriglia(cornice);
    interno->addWidget(vista_, 1);
    note_ = Etichetta(QStringLiteral("LabelNote"), cornice);
    interno->addWidget(note_);
    layout->addWidget(cornice, 1);
}

void frmPiano::Pagina()
{
    aggiorna();
    SegnaRiempita();
}

void frmPiano::aggiorna()
{
    rinfrescoInAttesa_ = false;
    dati_ = PaginaPiano(Conteggio());
    QStringList testa = dati_.intestazione;
    if (!dati_.errore.isEmpty())
        testa << dati_.errore;
    intestazione_->setText(testa.join(QLatin1Char('\n')));
    intestazione_->setStyleSheet(dati_.errore.isEmpty() ? QString() : QStringLiteral("color: #b00000;"));
    vista_->Mostra(GrigliaPiano(dati_));
    vista_->setVisible(!dati_.righe.empty());
    note_->setText(dati_.note.join(QLatin1Char('\n')));
    note_->setVisible(!dati_.note.isEmpty());
}

void frmPiano::rinfresca()
{
    // Rebuilt once control returns to the event loop.
    if (rinfrescoInAttesa_)
        return;
    rinfrescoInAttesa_ = true;
    QTimer::singleShot(0, this, [this] {
        if (rinfrescoInAttesa_)
            aggiorna();
    });
}

void frmPiano::showEvent(QShowEvent* e)
{
    FinestraFiglia::showEvent(e);
    if (Riempita())
        rinfresca();
}

bool frmPiano::event(QEvent* e)
{
    // Brought to the front: the mortgage window may have changed the contract.
    if (e->type() == QEvent::WindowActivate && Riempita())
        rinfresca();
    return FinestraFiglia::event(e);
}
