#pragma once

#include "directory/DocumentChange.h"
#include "directory/EditStep.h"

#include <QUndoCommand>

#include <functional>

namespace q540 {

// One step on the window's undo stack: the change the step made, already
// made when it is pushed. Typing in one field in one burst (mergeKey the
// same, not -1) joins into one step.
class DocumentStep final : public QUndoCommand {
public:
    using Apply = std::function<void(const DocumentChange&, bool undo)>;

    DocumentStep(EditStep step, DocumentChange change, int mergeKey, Apply apply);

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
    int mergeKey_;
    Apply apply_;
    // Pushing a command runs redo(): the first one finds the change made.
    bool made_ = true;
};

} // namespace q540
