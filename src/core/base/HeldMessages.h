#pragma once

#include "base/UserSink.h"

#include <vector>

namespace q540 {

// A sink that holds back the messages of the steps a workflow is made of,
// so that the user hears one ending after the last check, never a "done"
// before it. Questions, progress and cancel pass straight through.
class HeldMessages final : public UserSink {
public:
    explicit HeldMessages(UserSink& sink) : sink_(sink) {}
    void showMessage(const QString& text) override { held_.push_back(text); }
    bool askYesNo(const QString& text, const QString& caption) override
    {
        return sink_.askYesNo(text, caption);
    }
    void showProgress(int maximum) override { sink_.showProgress(maximum); }
    void stepProgress() override { sink_.stepProgress(); }
    void hideProgress() override { sink_.hideProgress(); }
    void showTimeLeft(const QString& text) override { sink_.showTimeLeft(text); }
    void showPhase(TransferPhase phase) override { sink_.showPhase(phase); }
    bool cancelRequested() override { return sink_.cancelRequested(); }

    // Shows what was held, in order, and forgets it.
    void release()
    {
        for (const QString& text : held_)
            sink_.showMessage(text);
        held_.clear();
    }
    void discard() { held_.clear(); }
    // What was held, in order, joined by line breaks.
    QString joined() const
    {
        QString text;
        for (const QString& held : held_)
            text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + held;
        return text;
    }

private:
    UserSink& sink_;
    std::vector<QString> held_;
};

} // namespace q540
