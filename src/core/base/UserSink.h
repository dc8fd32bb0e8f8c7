#pragma once

#include "base/TransferPhase.h"

#include <QString>

namespace q540 {

// Where the core's operations talk to the user: plain messages, the yes/no
// question and the progress bar. The GUI shows them with widgets, the
// headless tool prints them and the tests record them in order.
class UserSink {
public:
    virtual ~UserSink() = default;

    // A plain information message with one OK button and the application title.
    virtual void showMessage(const QString& text) = 0;
    // The Yes/No question with the exclamation icon; true when answered Yes.
    // An empty caption means the application title.
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;

    // The progress bar: shown from 0 to maximum at position 0, stepped by one, hidden.
    virtual void showProgress(int maximum) = 0;
    virtual void stepProgress() = 0;
    virtual void hideProgress() = 0;
    // The time the shown progress still needs, in words ("about 38 s left");
    // shown beside the bar until it is hidden. Sinks without a bar ignore it.
    virtual void showTimeLeft(const QString& /*text*/) {}
    // Which step of a workflow the progress that follows belongs to. Sinks
    // without a bar may ignore it.
    virtual void showPhase(TransferPhase /*phase*/) {}
    // Whether the user has asked the shown progress's transfer to stop (its
    // Cancel button, Esc, Ctrl+C). Asked between blocks, from the thread the
    // transfer runs on.
    virtual bool cancelRequested() { return false; }
};

} // namespace q540
