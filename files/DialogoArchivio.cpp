#include "DialogoArchivio.h"

#include "Messaggi.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <exception>

DialogoArchivio::DialogoArchivio(QWidget* principale, std::function<void(const QString&)> carica)
    : QDialog(nullptr), principale_(principale), carica_(std::move(carica))
{
    setAttribute(Qt::WA_DeleteOnClose);
}

DialogoArchivio::~DialogoArchivio() { riabilita(); }

void DialogoArchivio::Blocca()
{
    const QScreen* s = principale_ ? principale_->screen() : nullptr;
    if (!s)
        s = QGuiApplication::primaryScreen();
    if (s) {
        const QRect r = s->availableGeometry();
        move(r.x() + r.width() / 2 - width() / 2, r.y() + r.height() / 2 - height() / 2);
    }
    if (principale_) {
        principale_->setEnabled(false);
        // The main window owns the dialog's lifetime even though the dialog
        // is a window of its own, so it is never disabled with it.
        connect(principale_, &QObject::destroyed, this, [this] {
            principale_ = nullptr;
            if (inCorso_)
                deleteLater();
            else
                delete this;
        });
    }
}

void DialogoArchivio::CaricaEChiudi(const QString& nome)
{
    inCorso_ = true;
    const QPointer<DialogoArchivio> vivo(this);
    try {
        if (carica_)
            carica_(nome);
    } catch (const std::exception& e) {
        Messaggio(QStringLiteral("Impossibile aprire il conteggio \u00ab%1\u00bb:\n%2")
                      .arg(nome, QString::fromUtf8(e.what())),
                  QMessageBox::Warning, this);
    }
    if (!vivo)
        return;
    inCorso_ = false;
    riabilita();
    close();
}

void DialogoArchivio::Annulla() { close(); }

void DialogoArchivio::reject() { close(); }

void DialogoArchivio::showEvent(QShowEvent* e)
{
    // Kept in front of the main window it belongs to.
    if (principale_ && principale_->window()->windowHandle()) {
        winId();
        if (QWindow* w = windowHandle())
            w->setTransientParent(principale_->window()->windowHandle());
    }
    QDialog::showEvent(e);
    activateWindow();
}

void DialogoArchivio::closeEvent(QCloseEvent* e)
{
    if (inCorso_) {
        e->ignore();  // closes by itself once the calculation is loaded
        return;
    }
    riabilita();
    e->accept();
}

void DialogoArchivio::riabilita()
{
    if (principale_)
        principale_->setEnabled(true);
}
