#pragma once
// The title window: shown inside the main window until a calculation window
// is opened. Two title pictures on top of each other take turns every 700 ms.
#include <QWidget>

class QLabel;
class QTimer;

class frmTitolo : public QWidget {
    Q_OBJECT
public:
    explicit frmTitolo(QWidget* genitore = nullptr);

    // Puts Image3 where Image2 is, so that the two pictures overlap.
    void SovrapponiImmagini();

    QLabel* Image1() const { return image1_; }
    QLabel* Image2() const { return image2_; }
    QLabel* Image3() const { return image3_; }
    QTimer* Timer1() const { return timer1_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void Timer1_Timer();
    void Centra();

    QLabel* image1_;
    QLabel* image2_;
    QLabel* image3_;
    QTimer* timer1_;
};
