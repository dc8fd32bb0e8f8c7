#pragma once

#include <QWidget>

class QShowEvent;
class QTimer;

namespace q540 {

class Clock;

// The picture shown over the main window at start, in the program's language; two
// seconds after it is first shown it fades out and deletes itself.
class SplashWindow final : public QWidget {
    Q_OBJECT

public:
    // language: 0 Polish, 1 English, 2 German; any other value shows the English picture.
    // The fade's pauses are slept on clock, which must outlive the window.
    explicit SplashWindow(int language, Clock& clock, QWidget* parent = nullptr);

signals:
    // Each opacity (0..255) that the fade-out gives the window, once it has been painted.
    void opacityChanged(int opacity);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Timer_SplashTimer();
    void setOpacity(int opacity);

    Clock& clock_;
    QTimer* Timer_Splash_;
    bool timerStarted_ = false;
};

} // namespace q540
