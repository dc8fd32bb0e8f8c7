#pragma once

#include "directory/DocumentChange.h"
#include "directory/EditStep.h"
#include "gui/actions/WindowParts.h"

#include <QObject>

#include <optional>

class QUndoStack;

namespace q540 {

class ViewActions;

// The window's undo and redo: every change of the directory, the address,
// the intro or the display time becomes a step on the stack, named in the
// Edit menu; undoing one shows what it changes. Typing in one field joins
// into one step until the focus moves or another step comes between; a
// paste is a step of its own.
class UndoSteps final : public QObject {
    Q_OBJECT

public:
    // The steps start from the directory as the file commands now read it.
    UndoSteps(const WindowParts& parts, ViewActions& view);
    ~UndoSteps() override;

    // A field of the pages typed or pasted into, and the address.
    void recordTyping(int editNumber, bool pasted);
    void recordAddress();
    // The focus moved: the next typing is a step of its own.
    void endTyping() { ++burst_; }
    void recordStep(const EditStep& step, ChangeScope scope = ChangeScope::Everything,
                    int mergeKey = -1);
    // After a file command: its step, if it changed the directory. A directory
    // that matches its file now (opened, saved, new) is the clean step.
    void finishFileCommand(const std::optional<EditStep>& step);
    // The same after a command that took a file in, its step naming the file.
    void recordFileStep(EditStep::Kind kind);
    // A change the module made (the display time a poll found, say) is no
    // step: the steps go on from the directory as it now is.
    void absorbChanges();

private:
    int typingKey(int field, const EditStep& step) const;
    void applyStep(const DocumentChange& change, bool undo);
    void showChange(const DocumentChange& change);

    static constexpr int kUndoLimit = 1000;
    static constexpr int kFieldKeys = 1024;
    static constexpr int kAddressField = 1000;

    WindowParts parts_;
    ViewActions& view_;
    QUndoStack* stack_ = nullptr;
    // The typing burst the next step may join.
    int burst_ = 0;
};

} // namespace q540
