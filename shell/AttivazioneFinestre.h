#pragma once
// Which child window of the work area is the current one (the one printed,
// copied and exported) as the area activates its windows. The user bringing
// another window to the front (a click, Ctrl+Tab) makes it current. The area
// bringing one back on its own does not: when the frame becomes active again
// (after a dialog, a file chooser or the wait window) it reactivates the
// window it last had active, which may be an older one, the title window
// say; the current window is then put back in front.
#include <QObject>
#include <functional>

class QMdiArea;
class QMdiSubWindow;

class AttivazioneFinestre : public QObject {
public:
    // `riordino` is above 0 while the shell itself rearranges the windows:
    // activations then choose nothing. `scegli` receives the name of the
    // window the user chose; `riporta` puts the current window back in front.
    AttivazioneFinestre(QMdiArea* area, const int& riordino, std::function<void(const QString&)> scegli,
                        std::function<void()> riporta);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void attivata(QMdiSubWindow* sub);

    QMdiArea* area_;
    const int& riordino_;
    std::function<void(const QString&)> scegli_;
    std::function<void()> riporta_;
    bool riattivazione_ = false;
};
