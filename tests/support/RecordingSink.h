#pragma once

#include "base/UserSink.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

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
    void showPhase(TransferPhase phase) override
    {
        phases << phase;
        if (onPhase)
            onPhase(phase);
    }
    // Called as each phase begins: where a test injects the fault of that phase.
    std::function<void(TransferPhase)> onPhase;
    // The user's Cancel, pressed once the progress has made this many steps
    // (with cancelInPhase: the progress of that phase).
    bool cancelRequested() override
    {
        return progressVisible && cancelAfterSteps >= 0 && progressPosition >= cancelAfterSteps
               && (!cancelInPhase || (!phases.isEmpty() && phases.last() == *cancelInPhase));
    }
    int cancelAfterSteps = -1;
    std::optional<TransferPhase> cancelInPhase;
    QList<TransferPhase> phases; // every phase announced, in order

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
