#pragma once

#include "base/UserSink.h"

#include <QStringList>

namespace q540::test {

// Records every message, question and progress call in order, so a test can
// compare what the user would have seen, text for text.
class RecordingSink final : public UserSink {
public:
    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    void showProgress(int maximum) override;
    void stepProgress() override;
    void hideProgress() override;
    void showTimeLeft(const QString& text) override;
    // The user's Cancel, pressed once the progress has made this many steps.
    bool cancelRequested() override
    {
        return progressVisible && cancelAfterSteps >= 0 && progressPosition >= cancelAfterSteps;
    }
    int cancelAfterSteps = -1;

    // The answer that askYesNo gives.
    bool answerYes = true;

    QStringList messages;  // texts of showMessage, in order
    QStringList questions; // texts of askYesNo, in order
    QStringList
        events; // every call: "message:<text>", "question:<text>", "progress:<max>", "step", "hide"
    int progressMaximum = -1;
    int progressPosition = 0;
    bool progressVisible = false;
    QStringList timeLeft; // texts of showTimeLeft, in order (not among the events)
};

} // namespace q540::test
