#include "gui/actions/UndoSteps.h"

#include "commands/FileCommands.h"
#include "directory/DirectoryEditor.h"
#include "gui/actions/ViewActions.h"
#include "gui/main/DocumentStep.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainMenus.h"
#include "gui/main/ModuleToolBar.h"
#include "gui/main/ZonePages.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QUndoStack>

namespace q540 {

UndoSteps::UndoSteps(const WindowParts& parts, ViewActions& view)
    : parts_(parts), view_(view), stack_(new QUndoStack(this))
{
    stack_->setUndoLimit(kUndoLimit);
    connect(stack_, &QUndoStack::indexChanged, this, [this] {
        parts_.menus.showSteps(*stack_);
        showModified();
    });
    connect(parts_.menus.undo, &QAction::triggered, stack_, &QUndoStack::undo);
    connect(parts_.menus.redo, &QAction::triggered, stack_, &QUndoStack::redo);
    parts_.menus.showSteps(*stack_);
    parts_.files.startSteps();
    fileBase_ = parts_.files.fileState();
    if (!parts_.files.isModified())
        markSaved();
    showFileState();
}

UndoSteps::~UndoSteps()
{
    // The stack's last signals, as it empties, find no menu to update.
    stack_->disconnect(this);
}

int UndoSteps::typingKey(int field, const EditStep& step) const
{
    return step.kind == EditStep::Kind::Typing ? burst_ * kFieldKeys + field : -1;
}

void UndoSteps::recordTyping(int editNumber, bool pasted)
{
    const FieldStep typed = fieldStep(parts_.editor.page().selectorIndex(), editNumber, pasted);
    recordStep(typed.step, typed.scope, typingKey(editNumber, typed.step));
}

void UndoSteps::recordAddress()
{
    EditStep step{parts_.toolBar.address()->isPasting() ? EditStep::Kind::Paste
                                                        : EditStep::Kind::Typing};
    step.field = EditStep::Field::Address;
    recordStep(step, ChangeScope::Address, typingKey(kAddressField, step));
}

void UndoSteps::recordStep(const EditStep& step, ChangeScope scope, int mergeKey)
{
    push(step, scope, mergeKey, false);
}

// A command that was done is a step even when it left the directory as it
// was, if Redo would otherwise apply an older edit to what it brought.
void UndoSteps::push(const EditStep& step, ChangeScope scope, int mergeKey, bool done)
{
    DocumentChange change = parts_.files.takeChange(scope);
    FileSides files{fileBase_, parts_.files.fileState()};
    fileBase_ = files.after;
    if (change.isEmpty() && files.before == files.after && !(done && stack_->canRedo())) {
        showFileState();
        return;
    }
    if (mergeKey < 0)
        ++burst_;
    // The steps Redo had are gone, and with them where a file was matched.
    std::erase_if(savedAt_, [this](const auto& saved) { return saved.second > stack_->index(); });
    const int before = stack_->index();
    const QUndoCommand* top = before > 0 ? stack_->command(before - 1) : nullptr;
    stack_->push(new DocumentStep(
        step, std::move(change), std::move(files), mergeKey,
        [this](const DocumentChange& c, const FileState* f, bool undo) { applyStep(c, f, undo); }));
    // Past the undo limit the oldest step went: every step moved down one.
    const bool added = stack_->index() > 0 && stack_->command(stack_->index() - 1) != top;
    if (added && stack_->count() == before) {
        std::erase_if(savedAt_, [](const auto& saved) { return saved.second == 0; });
        for (auto& saved : savedAt_)
            --saved.second;
    }
    showFileState();
}

void UndoSteps::finishFileCommand(const std::optional<EditStep>& step)
{
    const bool matchesFile = !parts_.files.isModified();
    if (step)
        push(*step, ChangeScope::Everything, -1, true);
    else // Save may have written a semicolon as the comma now shown: no step to undo.
        absorbAll();
    if (matchesFile)
        markSaved();
    showFileState();
}

void UndoSteps::recordFileStep(EditStep::Kind kind, bool done)
{
    EditStep step{kind};
    step.file = QFileInfo(parts_.files.fileName()).fileName();
    finishFileCommand(done ? std::optional<EditStep>(step) : std::nullopt);
}

// Save as gives the directory a file without a step: the next step starts there.
void UndoSteps::absorbAll()
{
    parts_.files.takeChange(ChangeScope::Everything);
    fileBase_ = parts_.files.fileState();
}

void UndoSteps::absorbModuleTime()
{
    parts_.files.absorbTime();
}

QString UndoSteps::fileKey() const
{
    const FileState file = parts_.files.fileState();
    // New keeps the last folder and name to suggest them: an untitled
    // directory is one file whatever they are.
    return file.saved ? file.path + u'/' + file.name : QString();
}

void UndoSteps::markSaved()
{
    savedAt_[fileKey()] = stack_->index();
    showModified();
}

// Unsaved exactly while the directory is not at the step where it matched
// the file it now has.
void UndoSteps::showModified()
{
    const auto saved = savedAt_.find(fileKey());
    parts_.files.setModified(saved == savedAt_.end() || saved->second != stack_->index());
    showFileState();
}

void UndoSteps::showFileState()
{
    parts_.window.setWindowTitle(parts_.files.caption() + QStringLiteral("[*]"));
    parts_.window.setWindowModified(parts_.files.isModified());
    parts_.menus.save->setEnabled(parts_.files.saveEnabled());
    parts_.toolBar.setSaveEnabled(parts_.files.saveEnabled());
}

void UndoSteps::applyStep(const DocumentChange& change, const FileState* file, bool undo)
{
    if (file) {
        parts_.files.restoreFileState(*file);
        fileBase_ = *file;
    }
    parts_.files.applyChange(change, undo);
    ++burst_;
    showChange(change);
    view_.refreshPreview();
    showFileState();
}

// The view goes to what the step changes.
void UndoSteps::showChange(const DocumentChange& change)
{
    const ChangeView view = viewOfChange(change);
    if (view.selectorIndex >= 0)
        view_.RadioGroup_StrefaClick(view.selectorIndex);
    if (view.slot > 0)
        parts_.pages.focusEntry(view.slot, view.line2);
    else if (view.introLine >= 0)
        parts_.pages.edit(introLineEditNumber(view.introLine))->setFocus(Qt::OtherFocusReason);
    else if (view.address)
        parts_.toolBar.address()->setFocus(Qt::OtherFocusReason);
}

} // namespace q540
