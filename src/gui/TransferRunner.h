#pragma once

#include "base/UserSink.h"
#include "module/ModuleOperation.h"
#include "module/TransferSession.h"

#include <QObject>

#include <functional>

class QWidget;

namespace q540 {
class Localisation;
class ModuleMonitor;
struct ModuleStatus;
} // namespace q540

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
    void suspend() override;
    void resume() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Calls f on this object's thread and waits for it.
    void onWindowThread(const std::function<void()>& f);

    QWidget& window_;
    UserSink& sink_;
    PollControl& poll_;
    bool running_ = false;
};

// A transfer over the module status it is given, with the typed password.
using StatusTransfer =
    std::function<void(const TransferContext&, const QString& password, ModuleStatus& status)>;

// What a window's transfer left: whether it stopped the poll (only then does
// the status it worked on replace the poll's), and the alphabetical-search
// tick at that moment, so the window can follow a change.
struct StatusTransferEnd {
    bool pollStopped = false;
    bool alphabeticalSearchBefore = false;
};

// Runs a transfer on a worker over a copy of the module status taken when the
// transfer stops the poll, not when it was asked for: the poll goes on during
// a question (the erase question) and may meanwhile have found another
// module. The intro time is the window's own selection. A transfer that
// never stopped the poll leaves the poll's status alone.
StatusTransferEnd runStatusTransfer(QWidget& window, UserSink& sink, ModuleMonitor& monitor,
                                    const Localisation& texts, int introTimeIndex,
                                    const StatusTransfer& transfer);

} // namespace q540
