#pragma once

#include "base/UserSink.h"
#include "module/ModuleOperation.h"

#include <QObject>

#include <functional>

class QWidget;

namespace q540 {

// Runs one module transfer on a worker thread while the window stays
// painted and refuses the user's input, so a minute-long write neither
// freezes the window nor lets a second command start. The transfer's
// messages, questions and progress steps, and its stops and restarts of
// the poll, are carried to the window's thread and wait there for the user.
class TransferRunner final : public QObject, public UserSink, public PollControl {
    Q_OBJECT

public:
    TransferRunner(QWidget& window, UserSink& sink, PollControl& poll);

    // Runs transfer on the worker and returns when it has ended; events keep
    // being processed meanwhile. Not re-entrant: a second call while one
    // runs returns false at once.
    bool run(const std::function<void()>& transfer);
    bool isRunning() const { return running_; }

    // Called on the window's thread each time the transfer has stopped the
    // poll, while the transfer waits: from then on no poll changes the
    // module status until the transfer resumes it.
    std::function<void()> pollStopped;

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    void showProgress(int maximum) override;
    void stepProgress() override;
    void hideProgress() override;
    void showTimeLeft(const QString& text) override;
    // Asked on the worker; the window's sink keeps it where any thread may read it.
    bool cancelRequested() override { return sink_.cancelRequested(); }
    void showPhase(TransferPhase phase) override;
    void suspend() override;
    void resume() override;

    // Calls f on this object's thread and waits for it: how the transfer's
    // questions reach the window.
    void onWindowThread(const std::function<void()>& f);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    UserSink& sink_;
    PollControl& poll_;
    bool running_ = false;
};

} // namespace q540
