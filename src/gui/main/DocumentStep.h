#pragma once

#include "commands/FileCommands.h"
#include "directory/DocumentChange.h"
#include "directory/EditStep.h"

#include <QUndoCommand>

#include <functional>

namespace q540 {

// The open file before and after a step.
struct FileSides {
    FileState before;
    FileState after;
};

// One step on the window's undo stack: the change the step made, already
// made when it is pushed, and the file it left open. Typing in one field in
// one burst (mergeKey the same, not -1) joins into one step.
class DocumentStep final : public QUndoCommand {
public:
    // The file to give back, or none for a step that left the file as it was
    // (a Save as since then must hold).
    using Apply = std::function<void(const DocumentChange&, const FileState*, bool undo)>;

    DocumentStep(EditStep step, DocumentChange change, FileSides files, int mergeKey, Apply apply);

    const EditStep& step() const { return step_; }
    const DocumentChange& change() const { return change_; }

    void undo() override;
    void redo() override;
    int id() const override { return mergeKey_ < 0 ? -1 : kTypingId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    static constexpr int kTypingId = 1;

    EditStep step_;
    DocumentChange change_;
    FileSides files_;
    int mergeKey_;
    Apply apply_;
    // Pushing a command runs redo(): the first one finds the change made.
    bool made_ = true;
};

} // namespace q540
