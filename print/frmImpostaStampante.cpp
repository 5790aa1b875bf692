#include "frmImpostaStampante.h"

#include "Messaggi.h"
#include "Stampanti.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A small printer, with a green tick when it is the current one.
QPixmap disegnaStampante(bool corrente)
{
    QPixmap px(32, 32);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 70), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9.5, 3.5, 13, 10));  // paper in
    p.setBrush(QColor(180, 186, 196));
    p.drawRoundedRect(QRectF(3.5, 12.5, 25, 11), 2, 2);  // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9.5, 20.5, 13, 9));  // paper out
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawLine(QPointF(11.5, 24), QPointF(20.5, 24));
    p.drawLine(QPointF(11.5, 26.5), QPointF(18.5, 26.5));
    if (corrente) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(46, 139, 58));
        p.drawEllipse(QRectF(18, 0, 14, 14));
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(21.5, 7), QPointF(24, 9.8), QPointF(28.5, 4.3)}));
    }
    return px;
}

QIcon iconaConsiglio()
{
    QPixmap px(24, 24);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(31, 78, 121));
    p.drawEllipse(QRectF(1, 1, 22, 22));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(15);
    p.setFont(f);
    p.drawText(QRectF(1, 1, 22, 22), Qt::AlignCenter, QStringLiteral("i"));
    return QIcon(px);
}

} // namespace

QIcon frmImpostaStampante::Icona(int indice)
{
    static const QIcon corrente(disegnaStampante(true));
    static const QIcon altra(disegnaStampante(false));
    return indice == 1 ? corrente : altra;
}

frmImpostaStampante::frmImpostaStampante(QWidget* principale)
    : QDialog(principale), principale_(principale)
{
    setObjectName(QStringLiteral("frmImpostaStampante"));
    setWindowTitle(QStringLiteral("Zelvi T.E.G."));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* titolo = new QLabel(QStringLiteral("Seleziona dispositivo di stampa"), this);
    titolo->setObjectName(QStringLiteral("XPButton2"));
    titolo->setAlignment(Qt::AlignCenter);
    titolo->setMinimumHeight(30);
    titolo->setStyleSheet(QStringLiteral(
        "QLabel { color: white; font-weight: bold; padding: 4px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3b6ea5, stop:1 #1f4e79);"
        " border-radius: 3px; }"));

    lista_ = new QListWidget(this);
    lista_->setObjectName(QStringLiteral("ListView1"));
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->setIconSize(QSize(32, 32));
    lista_->setSpacing(2);
    lista_->setMinimumSize(360, 200);
    connect(lista_, &QListWidget::itemDoubleClicked, this, &frmImpostaStampante::Fatto);

    auto* consiglio = new QToolButton(this);
    consiglio->setObjectName(QStringLiteral("XPButton4"));
    consiglio->setIcon(iconaConsiglio());
    consiglio->setIconSize(QSize(24, 24));
    consiglio->setAutoRaise(true);
    consiglio->setToolTip(QStringLiteral("Stampa in formato PDF"));
    connect(consiglio, &QToolButton::clicked, this, &frmImpostaStampante::Consiglio);

    auto* fatto = new QPushButton(QStringLiteral("Fatto"), this);
    fatto->setObjectName(QStringLiteral("Command6"));
    fatto->setDefault(true);
    connect(fatto, &QPushButton::clicked, this, &frmImpostaStampante::Fatto);
    auto* annulla = new QPushButton(QStringLiteral("Annulla"), this);
    annulla->setObjectName(QStringLiteral("Command5"));
    connect(annulla, &QPushButton::clicked, this, &frmImpostaStampante::Annulla);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(consiglio);
    pulsanti->addStretch();
    pulsanti->addWidget(fatto);
    pulsanti->addWidget(annulla);

    auto* l = new QVBoxLayout(this);
    l->addWidget(titolo);
    l->addWidget(lista_, 1);
    l->addLayout(pulsanti);
    adjustSize();
}

frmImpostaStampante::~frmImpostaStampante() { riabilita(); }

bool frmImpostaStampante::Apri()
{
    // Centred on the main window, or on the screen without one.
    QRect fuori;
    if (principale_)
        fuori = QRect(principale_->mapToGlobal(QPoint(0, 0)), principale_->size());
    else if (const QScreen* s = QGuiApplication::primaryScreen())
        fuori = s->availableGeometry();
    move(fuori.x() + (fuori.width() - width()) / 2, fuori.y() + (fuori.height() - height()) / 2);

    if (principale_)
        principale_->setEnabled(false);
    setEnabled(true);

    dispositivi_ = DispositiviStampa();
    if (dispositivi_.isEmpty()) {
        Messaggio(QStringLiteral("Impossibile procedere. Nessun dispositivo di stampa è installato."),
                  QMessageBox::Warning, principale_);
        riabilita();
        return false;
    }
    const QString corrente = StampanteCorrente();
    lista_->clear();
    for (int i = 1; i <= dispositivi_.size(); ++i) {
        const QString& nome = dispositivi_[i - 1];
        const int icona = nome == corrente ? 1 : 2;
        auto* voce = new QListWidgetItem(Icona(icona), nome, lista_);
        voce->setData(Qt::UserRole, QStringLiteral("k%1").arg(i));
        voce->setData(Qt::UserRole + 1, icona);
        if (icona == 1) {
            lista_->setCurrentItem(voce);
            voce->setSelected(true);
        }
    }
    return true;
}

void frmImpostaStampante::Fatto()
{
    const QList<QListWidgetItem*> scelte = lista_->selectedItems();
    if (scelte.isEmpty())
        return;  // a device must be chosen first
    const int i = lista_->row(scelte.first()) + 1;
    if (i >= 1 && i <= dispositivi_.size())
        ImpostaStampanteCorrente(dispositivi_[i - 1]);
    accept();
}

void frmImpostaStampante::Annulla() { reject(); }

void frmImpostaStampante::Consiglio()
{
    Messaggio(QStringLiteral(
                  "Per ottenere delle anteprime di stampa in formato PDF è consigliabile installare un "
                  "dispositivo virtuale di stampa (es. PDFCreator) facilmente e gratuitamente reperibile "
                  "in rete, e selezionarlo come dispositivo predefinito."),
              QMessageBox::Information, this);
}

void frmImpostaStampante::done(int esito)
{
    riabilita();
    QDialog::done(esito);
}

void frmImpostaStampante::riabilita()
{
    if (principale_)
        principale_->setEnabled(true);
}

void SelezionaStampante(QWidget* principale)
{
    auto* d = new frmImpostaStampante(principale);
    if (d->Apri())
        d->show();
    else
        delete d;
}
