#include "frmInfo.h"

#include "Immagini.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef ZELVI_VERSIONE
#define ZELVI_VERSIONE "1.0.0"
#endif

frmInfo::frmInfo(QWidget* genitore) : QWidget(genitore, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Informazioni"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* colonna = new QVBoxLayout(this);
    colonna->setContentsMargins(24, 20, 24, 16);
    colonna->setSpacing(10);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setPixmap(LogoProgramma());
    logo->setAlignment(Qt::AlignCenter);
    colonna->addWidget(logo);

    auto* nome = new QLabel(QStringLiteral("Zelvi T.E.G."), this);
    nome->setObjectName(QStringLiteral("Label1"));
    QFont f = nome->font();
    f.setPointSizeF(f.pointSizeF() * 1.5);
    f.setBold(true);
    nome->setFont(f);
    nome->setAlignment(Qt::AlignCenter);
    colonna->addWidget(nome);

    auto* versione = new QLabel(QStringLiteral("Versione " ZELVI_VERSIONE), this);
    versione->setObjectName(QStringLiteral("Label2"));
    versione->setAlignment(Qt::AlignCenter);
    colonna->addWidget(versione);

    auto* scopo = new QLabel(
        QStringLiteral("Calcolo del tasso effettivo globale (T.E.G.) per la verifica "
                       "dell'usura: conto corrente trimestre per trimestre, con la procedura "
                       "analitica e con la formula della Banca d'Italia, mutuo a rata costante, "
                       "operazioni finanziarie varie fino a dieci flussi datati e operazioni "
                       "di breve termine."),
        this);
    scopo->setObjectName(QStringLiteral("Label3"));
    scopo->setWordWrap(true);
    scopo->setAlignment(Qt::AlignJustify);
    scopo->setMinimumWidth(380);
    colonna->addWidget(scopo);

    auto* archivio = new QLabel(
        QStringLiteral("Ogni conteggio è conservato come file nella cartella "
                       "\u00abArchivio\u00bb accanto al programma."),
        this);
    archivio->setObjectName(QStringLiteral("Label4"));
    archivio->setWordWrap(true);
    colonna->addWidget(archivio);
    cartella_ = new QLabel(this);
    cartella_->setObjectName(QStringLiteral("Label5"));
    cartella_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cartella_->hide();
    colonna->addWidget(cartella_);

    // Who makes the program and where to turn for help.
    auto* produttore = new QLabel(
        QStringLiteral("<b>Produttore:</b> Zelvi T.E.G.<br>"
                       "<b>Assistenza:</b> vedere il file README distribuito con il programma."),
        this);
    produttore->setObjectName(QStringLiteral("Label6"));
    produttore->setTextFormat(Qt::RichText);
    produttore->setWordWrap(true);
    produttore->setFrameShape(QFrame::StyledPanel);
    produttore->setMargin(6);
    colonna->addWidget(produttore);

    colonna->addSpacing(6);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    command6_ = new QPushButton(QStringLiteral("Chiudi"), this);
    command6_->setObjectName(QStringLiteral("Command6"));
    command6_->setDefault(true);
    pulsanti->addWidget(command6_);
    colonna->addLayout(pulsanti);
    connect(command6_, &QPushButton::clicked, this, &QWidget::close);

    setFixedSize(sizeHint());
}

void frmInfo::MostraArchivio(const QString& cartella)
{
    findChild<QLabel*>(QStringLiteral("Label4"))
        ->setText(QStringLiteral("I conteggi sono conservati come file nella cartella:"));
    cartella_->setText(QDir::toNativeSeparators(cartella));
    cartella_->show();
    setFixedSize(sizeHint());
}

void frmInfo::Centra(const QRect& cornice)
{
    move(cornice.x() + (cornice.width() - width()) / 2,
         cornice.y() + (cornice.height() - height()) / 2);
}

void frmInfo::closeEvent(QCloseEvent* e)
{
    if (!chiuso_) {
        chiuso_ = true;
        emit Chiuso();
    }
    e->accept();
}

void frmInfo::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}
