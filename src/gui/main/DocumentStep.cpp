#include "gui/main/DocumentStep.h"

#include <utility>

namespace q540 {

DocumentStep::DocumentStep(EditStep step, DocumentChange change, int mergeKey, Apply apply)
    : step_(std::move(step)), change_(std::move(change)), mergeKey_(mergeKey),
      apply_(std::move(apply))
{
}

void DocumentStep::undo()
{
    apply_(change_, true);
}

void DocumentStep::redo()
{
    if (std::exchange(made_, false))
        return;
    apply_(change_, false);
}

bool DocumentStep::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const DocumentStep*>(other);
    if (next->mergeKey_ != mergeKey_)
        return false;
    change_ = joined(change_, next->change_);
    return true;
}

} // namespace q540
