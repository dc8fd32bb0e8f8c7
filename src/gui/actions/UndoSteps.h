#pragma once

#include "commands/FileCommands.h"
#include "directory/DocumentChange.h"
#include "directory/EditStep.h"
#include "gui/actions/WindowParts.h"

#include <QObject>

#include <map>

#include <optional>

class QUndoStack;

namespace q540 {

class ViewActions;

// The window's undo and redo: every change of the directory, the address,
// the intro or the display time becomes a step on the stack, named in the
// Edit menu; undoing one shows what it changes. Typing in one field joins
// into one step until the focus moves or another step comes between; a
// paste is a step of its own. A step is what the user's action changed: what
// arrives meanwhile (a poll while its message is open) is never taken in,
// except the display time the module holds.
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
    // After a file command: its step when it was done (none when it was
    // not, or changes nothing undoable, as Save), which empties Redo even when
    // the directory stayed the same. A directory that matches its file now
    // (opened, saved, new) is the clean step.
    void finishFileCommand(const std::optional<EditStep>& step);
    // The same after a command that took a file in, its step naming the file.
    void recordFileStep(EditStep::Kind kind, bool done);
    // The display time the module holds is no step: the steps go on from it.
    void absorbModuleTime();
    // The title (with the unsaved-changes mark) and Save as the open file has them.
    void showFileState();

private:
    int typingKey(int field, const EditStep& step) const;
    void push(const EditStep& step, ChangeScope scope, int mergeKey, bool done);
    void absorbAll();
    void applyStep(const DocumentChange& change, const FileState* file, bool undo);
    void showChange(const DocumentChange& change);
    QString fileKey() const;
    void markSaved();
    void showModified();

    static constexpr int kUndoLimit = 1000;
    static constexpr int kFieldKeys = 1024;
    static constexpr int kAddressField = 1000;

    WindowParts parts_;
    ViewActions& view_;
    QUndoStack* stack_ = nullptr;
    // The open file after the last step, which the next one is measured against.
    FileState fileBase_;
    // The typing burst the next step may join.
    int burst_ = 0;
    // For each file the directory has had (by path and name; "" untitled),
    // the step at which it matches that file. The undo stack keeps one clean
    // step only, which New or Open would take from the file before them, so
    // undoing them could not give its saved state back.
    std::map<QString, int> savedAt_;
};

} // namespace q540
