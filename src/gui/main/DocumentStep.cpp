#include "gui/main/DocumentStep.h"

#include <utility>

namespace q540 {

DocumentStep::DocumentStep(EditStep step, DocumentChange change, FileSides files, int mergeKey,
                           Apply apply)
    : step_(std::move(step)), change_(std::move(change)), files_(std::move(files)),
      mergeKey_(mergeKey), apply_(std::move(apply))
{
}

void DocumentStep::undo()
{
    apply_(change_, files_.before == files_.after ? nullptr : &files_.before, true);
}

void DocumentStep::redo()
{
    if (std::exchange(made_, false))
        return;
    apply_(change_, files_.before == files_.after ? nullptr : &files_.after, false);
}

bool DocumentStep::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const DocumentStep*>(other);
    if (next->mergeKey_ != mergeKey_)
        return false;
    change_ = joined(change_, next->change_);
    files_.after = next->files_.after;
    return true;
}

} // namespace q540
