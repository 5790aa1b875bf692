#include "frmNuovoPiano.h"

#include "Archivio.h"
#include "ConteggioAperto.h"
#include "Messaggi.h"
#include "Twips.h"

#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <exception>

namespace {

const QColor coloreConFuoco(255, 192, 128);
const QColor coloreSenzaFuoco(255, 255, 255);

bool carattereDiControllo(QChar c) { return c.category() == QChar::Other_Control; }

// Drops from the name box every character a calculation name cannot hold,
// whichever way the text arrives (typed, pasted, dropped or set).
class FiltroNome : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& testo, int& posizione) const override
    {
        QString pulito;
        pulito.reserve(testo.size());
        int nuovaPosizione = posizione;
        for (int i = 0; i < testo.size(); ++i) {
            const QChar c = testo.at(i);
            if (frmNuovoPiano::CarattereRifiutato(c) || carattereDiControllo(c)) {
                if (i < posizione)
                    --nuovaPosizione;
                continue;
            }
            pulito.append(c);
        }
        testo = pulito;
        posizione = nuovaPosizione;
        return Acceptable;
    }
};

void impostaSfondo(QLineEdit* e, const QColor& colore)
{
    QPalette p = e->palette();
    if (p.color(QPalette::Base) == colore)
        return;
    p.setColor(QPalette::Base, colore);
    e->setPalette(p);
}

} // namespace

bool frmNuovoPiano::CarattereRifiutato(QChar c)
{
    switch (c.unicode()) {
    case '"': case '*': case '/': case ':': case '<': case '>': case '?': case '\\': case '|':
        return true;
    default:
        return false;
    }
}

QString frmNuovoPiano::NomeNonValido(const QString& nome)
{
    const QString scegli = QStringLiteral(" Scegliere un nuovo nome.");
    for (QChar c : nome) {
        if (CarattereRifiutato(c))
            return QStringLiteral("Il nome non può contenere i caratteri \" * / : < > ? \\ |\n"
                                  "Scegliere un nuovo nome.");
    }
    for (QChar c : nome) {
        if (carattereDiControllo(c))
            return QStringLiteral("Il nome non può contenere caratteri di controllo.") + scegli;
    }
    if (nome.size() > LunghezzaMassimaNome || nome.toUtf8().size() + 4 > 255)
        return QStringLiteral("Il nome è troppo lungo: al massimo %1 caratteri (meno, se sono lettere "
                              "accentate o simboli).").arg(LunghezzaMassimaNome) + scegli;
    if (nome == QLatin1String(".") || nome == QLatin1String(".."))
        return QStringLiteral("Il nome \u00ab%1\u00bb non è ammesso.").arg(nome) + scegli;
    // A file whose name begins with a dot is hidden: the archive would never
    // list the calculation.
    if (nome.startsWith(QLatin1Char('.')))
        return QStringLiteral("Il nome non può cominciare con un punto: il conteggio non "
                              "comparirebbe nell'archivio.") + scegli;
    return {};
}

frmNuovoPiano::frmNuovoPiano(QWidget* principale, const QString& cartella,
                             std::function<void(const QString&)> carica)
    : DialogoArchivio(principale, std::move(carica)), cartella_(cartella)
{
    setObjectName(QStringLiteral("frmNuovoPiano"));
    setWindowTitle(QStringLiteral("Nuovo conteggio"));
    setFixedSize(TwipsAPixel(4260), TwipsAPixel(1950));

    etichetta_ = new QLabel(QStringLiteral("Nome conteggio"), this);
    etichetta_->setObjectName(QStringLiteral("Label1"));
    etichetta_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PosizionaTwips(etichetta_, 120, 360, 1560, 375);

    nome_ = new QLineEdit(this);
    nome_->setObjectName(QStringLiteral("XPText1"));
    nome_->setValidator(new FiltroNome(nome_));
    nome_->setMaxLength(LunghezzaMassimaNome);
    nome_->setText(QStringLiteral("Nuovo conteggio"));
    impostaSfondo(nome_, coloreSenzaFuoco);
    nome_->installEventFilter(this);
    PosizionaTwips(nome_, 1680, 360, 2415, 375);
    etichetta_->setBuddy(nome_);

    annulla_ = new QPushButton(QStringLiteral("Annulla"), this);
    annulla_->setObjectName(QStringLiteral("XPButton2"));
    PosizionaTwips(annulla_, 600, 1440, 1695, 375);

    crea_ = new QPushButton(QStringLiteral("Crea"), this);
    crea_->setObjectName(QStringLiteral("XPButton1"));
    crea_->setDefault(true);
    PosizionaTwips(crea_, 2400, 1440, 1695, 375);

    setTabOrder(nome_, annulla_);
    setTabOrder(annulla_, crea_);

    connect(crea_, &QPushButton::clicked, this, &frmNuovoPiano::Crea);
    connect(annulla_, &QPushButton::clicked, this, &frmNuovoPiano::Annulla);

    Blocca();
    nome_->setFocus();
}

void frmNuovoPiano::ImpostaOperazione(const QString& titolo, const QString& pulsante,
                                      const QString& proposto, std::function<void(const QString&)> opera)
{
    setWindowTitle(titolo);
    crea_->setText(pulsante);
    nome_->setText(proposto);
    nome_->selectAll();
    opera_ = std::move(opera);
}

bool frmNuovoPiano::eventFilter(QObject* o, QEvent* e)
{
    if (o == nome_) {
        switch (e->type()) {
        case QEvent::KeyPress: {
            // A refused character typed leaves the text as it was, selection
            // included.
            const QString t = static_cast<QKeyEvent*>(e)->text();
            if (!t.isEmpty() && std::all_of(t.begin(), t.end(), CarattereRifiutato))
                return true;
            break;
        }
        case QEvent::FocusIn: {
            const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
            impostaSfondo(nome_, coloreConFuoco);
            if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason) {
                nome_->selectAll();
                // A click places the cursor after the focus arrives: select
                // again once the click is over.
                if (r == Qt::MouseFocusReason)
                    QTimer::singleShot(0, nome_, [e = QPointer<QLineEdit>(nome_)] {
                        if (e && e->hasFocus())
                            e->selectAll();
                    });
            }
            break;
        }
        case QEvent::FocusOut: {
            const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
            // A context menu or another window in front does not take the
            // focus away from the box.
            if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason)
                impostaSfondo(nome_, coloreSenzaFuoco);
            break;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(o, e);
}

void frmNuovoPiano::rifiuta(const QString& messaggio)
{
    Messaggio(messaggio, QMessageBox::Warning, this);
    activateWindow();
    nome_->setFocus(Qt::OtherFocusReason);
    nome_->selectAll();
}

void frmNuovoPiano::Crea()
{
    if (InCorso())
        return;
    const QString nome = nome_->text().trimmed();
    if (nome.isEmpty()) {
        rifiuta(QStringLiteral("Inserire un nome valido"));
        return;
    }
    if (const QString motivo = NomeNonValido(nome); !motivo.isEmpty()) {
        rifiuta(motivo);
        return;
    }
    setInCorso(true);
    QString errore;
    try {
        if (EsisteConteggio(cartella_, nome)) {
            setInCorso(false);
            rifiuta(QStringLiteral("In archivio esiste già un conteggio con il nome scelto. "
                                   "Scegliere un nuovo nome."));
            return;
        }
        if (opera_)
            opera_(nome);
        else
            CreaConteggio(cartella_, nome);
    } catch (const ErroreConteggio& e) {
        errore = QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        errore = QStringLiteral("Impossibile creare il conteggio \u00ab%1\u00bb:\n%2")
                     .arg(nome, QString::fromUtf8(e.what()));
    }
    setInCorso(false);
    if (!errore.isEmpty()) {
        rifiuta(errore);
        return;
    }
    CaricaEChiudi(nome);
}

frmNuovoPiano* ApriSalvaConNome(QWidget* principale, ConteggioAperto& conteggio, const QString& cartella,
                                std::function<void(const QString&)> dopo)
{
    // A calculation opened from outside the archive is copied into the
    // archive: the user is told where it went.
    const bool altrove =
        !conteggio.Cartella().isEmpty() && QDir(conteggio.Cartella()).canonicalPath() != QDir(cartella).canonicalPath();
    auto salvato = [dopo = std::move(dopo), altrove, cartella, principale](const QString& nome) {
        if (altrove)
            Messaggio(QStringLiteral("Il conteggio \u00ab%1\u00bb è stato salvato nell'archivio:\n%2")
                          .arg(Citazione(nome, 60), QDir::toNativeSeparators(PercorsoConteggio(cartella, nome))),
                      QMessageBox::Information, principale);
        if (dopo)
            dopo(nome);
    };
    auto* d = new frmNuovoPiano(principale, cartella, std::move(salvato));
    d->ImpostaOperazione(QStringLiteral("Salva con nome"), QStringLiteral("Salva"), conteggio.Nome(),
                         [&conteggio, cartella](const QString& nome) { conteggio.SalvaConNome(cartella, nome); });
    d->show();
    return d;
}

void SalvaOppureConNome(ConteggioAperto& conteggio, const QString& cartella, QWidget* principale)
{
    try {
        conteggio.Salva();
    } catch (const ConteggioCambiato& e) {
        if (Domanda(QString::fromUtf8(e.what()) +
                        QStringLiteral("\n\nSalvare questa versione con un altro nome (\u00abSalva con nome\u2026\u00bb)?"),
                    principale))
            ApriSalvaConNome(principale, conteggio, cartella, {});
        throw ComandoInterrotto();
    }
}
