#include "AttivazioneFinestre.h"

#include "Routines.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

AttivazioneFinestre::AttivazioneFinestre(QMdiArea* area, const int& riordino,
                                         std::function<void(const QString&)> scegli, std::function<void()> riporta)
    : QObject(area), area_(area), riordino_(riordino), scegli_(std::move(scegli)), riporta_(std::move(riporta))
{
    connect(area_, &QMdiArea::subWindowActivated, this, &AttivazioneFinestre::attivata);
    // Installed after the area's own filters, these run first.
    area_->installEventFilter(this);
    qApp->installEventFilter(this);
}

bool AttivazioneFinestre::eventFilter(QObject* oggetto, QEvent* evento)
{
    const bool frame = oggetto == area_ && evento->type() == QEvent::WindowActivate;
    if (frame || evento->type() == QEvent::ApplicationActivate) {
        // The area is about to bring back a window of its own choice (at
        // once, while it handles this event); then the current one, or the
        // one the user clicked meanwhile, goes back in front.
        riattivazione_ = true;
        QTimer::singleShot(0, this, [this] {
            riattivazione_ = false;
            riporta_();
        });
    }
    return QObject::eventFilter(oggetto, evento);
}

void AttivazioneFinestre::attivata(QMdiSubWindow* sub)
{
    if (riattivazione_) {
        riattivazione_ = false;
        return;
    }
    if (riordino_ || !sub || !sub->widget() || !sub->isVisible())
        return;
    const QString nome = sub->widget()->objectName();
    if (FinestreFiglie().contains(nome))
        scegli_(nome);
}
