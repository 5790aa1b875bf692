#include "frmScalare.h"

#include "Dichiarazioni.h"
#include "RicercaElenco.h"
#include "Twips.h"
#include "frmCalcoli.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int margine = 120, spaziatura = 90;  // twips
}

frmScalare::frmScalare(ConteggioAperto& conteggio, QWidget* genitore)
    : FinestraFiglia(QStringLiteral("frmScalare"), QStringLiteral("1513506645"), conteggio.Doc(), genitore)
{
    setWindowTitle(QStringLiteral("Scalare"));
    PosizionaTwips(this, 0, 0, 15135, 6645);
    auto* layout = new QVBoxLayout(this);
    const int m = TwipsAPixel(margine), s = TwipsAPixel(spaziatura);
    layout->setContentsMargins(m, m, m, m);
    layout->setSpacing(s);
    layout->addWidget(CreaBandaTitolo(this, QStringLiteral("Scalare per valuta: le cifre di ogni trimestre")));

    auto* riga = new QHBoxLayout;
    auto* etichetta = new QLabel(QStringLiteral("&Anno"), this);
    anno_ = new QComboBox(this);
    anno_->setObjectName(QStringLiteral("Anno"));
    AbilitaRicercaDigitata(anno_);
    etichetta->setBuddy(anno_);
    riga->addWidget(etichetta);
    riga->addWidget(anno_);
    nota_ = new QLabel(this);
    nota_->setObjectName(QStringLiteral("Nota"));
    nota_->setWordWrap(true);
    riga->addWidget(nota_, 1);
    layout->addLayout(riga);

    auto* divisore = new QSplitter(Qt::Vertical, this);
    riepilogo_ = new VistaGriglia(divisore);
    riepilogo_->setObjectName(QStringLiteral("GridRiepilogo"));
    righe_ = new VistaGriglia(divisore);
    righe_->setObjectName(QStringLiteral("GridRighe"));
    divisore->setStretchFactor(0, 3);
    divisore->setStretchFactor(1, 2);
    layout->addWidget(divisore, 1);

    connect(anno_, &QComboBox::activated, this, [this](int i) { MostraAnno(anno_->itemData(i).toInt()); });
    // The other windows change the movements, the conditions or the rules.
    connect(&conteggio, &ConteggioAperto::DocumentoCambiato, this, &frmScalare::rinfresca);
}

void frmScalare::Pagina()
{
    CaricamentoGuardia g(*this);
    rinfrescoInAttesa_ = false;
    dati_ = PaginaScalare(Conteggio().ContoCorrente(), annoScelto_, Conteggio().AnnoRiferimento(),
                          QString::fromStdString(Conteggio().NomeConteggio()));
    annoScelto_ = dati_.anno;
    mostra();
    SegnaRiempita();
}

bool frmScalare::MostraAnno(int anno)
{
    if (std::find(dati_.anni.begin(), dati_.anni.end(), anno) == dati_.anni.end())
        return false;
    annoScelto_ = anno;
    Pagina();
    return true;
}

void frmScalare::mostra()
{
    anno_->blockSignals(true);
    anno_->clear();
    for (const int a : dati_.anni)
        anno_->addItem(QString::number(a), a);
    anno_->setCurrentIndex(anno_->findData(dati_.anno));
    anno_->setEnabled(!dati_.anni.empty());
    anno_->blockSignals(false);
    riepilogo_->Mostra(dati_.riepilogo);
    righe_->Mostra(dati_.righe);
    nota_->setText(dati_.errore.isEmpty() ? dati_.nota : dati_.errore);
    nota_->setStyleSheet(dati_.errore.isEmpty() ? QString() : QStringLiteral("color: #b00000"));
}

void frmScalare::rinfresca()
{
    // Once control returns to the event loop, and once for many edits.
    if (rinfrescoInAttesa_ || !Riempita())
        return;
    rinfrescoInAttesa_ = true;
    QTimer::singleShot(0, this, [this] {
        if (rinfrescoInAttesa_)
            Pagina();
    });
}

bool frmScalare::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        rinfresca();
    return FinestraFiglia::event(e);
}
