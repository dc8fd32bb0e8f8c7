#include "gui/actions/ModuleActions.h"

#include "base/Localisation.h"
#include "commands/FileCommands.h"
#include "commands/ModuleWorkflows.h"
#include "directory/DirectoryEditor.h"
#include "directory/ModuleOrder.h"
#include "gui/actions/UndoSteps.h"
#include "gui/actions/ViewActions.h"
#include "gui/dialogs/CompareWindow.h"
#include "gui/dialogs/VerifyDialog.h"
#include "gui/main/ModuleStatusView.h"
#include "gui/main/ModuleToolBar.h"
#include "gui/main/NameListPanel.h"
#include "gui/main/SettingsPanel.h"
#include "gui/main/WindowModule.h"
#include "gui/main/ZonePages.h"
#include "gui/seams/TransferRunner.h"
#include "gui/seams/WidgetSink.h"
#include "module/DirectoryRead.h"
#include "module/ModuleMonitor.h"
#include "module/UnshowableEntry.h"
#include "protocol/ModuleCharset.h"

#include <QMainWindow>

namespace q540 {

ModuleActions::ModuleActions(const WindowParts& parts, UndoSteps& steps, ViewActions& view)
    : parts_(parts), steps_(steps), view_(view)
{
}

// The workflow runs on a worker over a copy of the module status taken when
// it stops the poll, not when it was asked for: the poll goes on until then
// and may meanwhile have found another module. The intro time is the page's
// own selection. A transfer that never stopped the poll leaves the poll's
// status alone.
void ModuleActions::run(const StatusTransfer& transfer)
{
    ModuleMonitor& monitor = parts_.module.monitor();
    const int introTimeIndex = parts_.pages.introTimeIndex();
    TransferRunner runner(parts_.window, parts_.sink, monitor);
    ModuleStatus status = monitor.status();
    bool pollStopped = false;
    bool alphabeticalSearchBefore = false;
    runner.pollStopped = [&] {
        status = monitor.status();
        status.introTimeIndex = introTimeIndex;
        alphabeticalSearchBefore = status.chosen.alphabeticalSearch;
        pollStopped = true;
    };
    const ModuleWorkflow workflow{{monitor.link(), monitor.clock(), runner, runner, parts_.texts},
                                  monitor.password(),
                                  parts_.history};
    WindowQuestions questions(runner, parts_.window, parts_.texts.language());
    runner.run([&] { transfer(workflow, questions, status); });
    if (!pollStopped)
        return;
    monitor.status() = status;
    // What the transfer's identification selected, as its own would.
    parts_.pages.setIntroTimeIndex(status.introTimeIndex);
    steps_.absorbModuleTime();
    if (status.chosen.alphabeticalSearch != alphabeticalSearchBefore)
        parts_.editor.setAlphabeticalSearch(status.chosen.alphabeticalSearch);
}

void ModuleActions::Button0Click()
{
    if (refuseUnshowable())
        return;
    DirectoryWriteRequest request;
    request.rows = parts_.editor.list().rows();
    request.document = parts_.files.document();
    request.verify = parts_.listPanel.verifyAfterWriting();
    request.orderNote = moduleOrderNote(parts_.editor.moduleOrder(), parts_.texts.language());
    run([&](const ModuleWorkflow& workflow, WorkflowQuestions& questions, ModuleStatus& status) {
        writeDirectoryToModule(workflow, request, status, questions);
    });
    showModuleStatus();
}

bool ModuleActions::refuseUnshowable()
{
    const std::optional<UnshowableEntry> found = firstUnshowableEntry(parts_.editor.list().rows());
    if (!found)
        return false;
    parts_.sink.showMessage(unshowableEntryText(*found, parts_.texts.language()));
    view_.showEntryField(found->place, found->line2, found->position);
    return true;
}

// The write sends each line cut to the display's width: only that part counts.
bool ModuleActions::refuseUnshowable(const IntroLines& lines)
{
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const UnshowableCharacter found = firstUnshowable(lines[line].left(kIntroLineLength));
        if (found.index < 0)
            continue;
        if (const std::optional<QString> text = unsupportedCharacterText(
                found.name, int(line) / 2 + 1, true, parts_.texts.language()))
            parts_.sink.showMessage(*text);
        view_.showIntroField(int(line), int(found.index));
        return true;
    }
    return false;
}

// A read replaces the directory or the intro with what is in no file yet.
void ModuleActions::Buttonz9Click()
{
    if (parts_.files.mayReplaceWork()) {
        if (readDirectory())
            parts_.files.markModified();
        steps_.recordStep({EditStep::Kind::ModuleRead});
    }
    showModuleStatus();
}

bool ModuleActions::readDirectory()
{
    DirectoryReadOutcome outcome;
    const DirectoryReadRequest request{parts_.editor.grid(), parts_.listPanel.readTwice()};
    run([&](const ModuleWorkflow& workflow, WorkflowQuestions&, ModuleStatus& status) {
        outcome = readDirectoryFromModule(workflow, request, status);
    });
    const bool changed = applyDirectoryRead(outcome.read, parts_.editor);
    // "Read" once the grid shows what was read, never before.
    if (!outcome.message.isEmpty())
        parts_.sink.showMessage(outcome.message);
    return changed;
}

void ModuleActions::compareClick()
{
    const ModuleStatus& now = parts_.module.monitor().status();
    const ExpectedContents expected{parts_.files.document(), now.chosen.alphabeticalSearch,
                                    now.chosen.resetLock};
    ModuleComparison comparison;
    run([&](const ModuleWorkflow& workflow, WorkflowQuestions&, ModuleStatus& status) {
        comparison = compareModule(workflow, expected, status);
    });
    showModuleStatus();
    if (!comparison.outcome.isDone())
        return;
    CompareWindow window(comparison.differences, parts_.texts.language(), &parts_.window);
    window.exec();
}

void ModuleActions::Button1Click()
{
    if (parts_.files.mayReplaceWork() && readIntro()) {
        parts_.files.markModified();
        steps_.recordStep({EditStep::Kind::IntroRead});
    }
    showModuleStatus();
}

bool ModuleActions::readIntro()
{
    const IntroLines before = parts_.pages.introLines();
    IntroLines lines = before;
    run([&](const ModuleWorkflow& workflow, WorkflowQuestions&, ModuleStatus& status) {
        lines = readIntroFromModule(workflow, lines, status).lines;
    });
    if (lines == before)
        return false;
    parts_.pages.setIntroLines(lines);
    return true;
}

void ModuleActions::Button2Click()
{
    const IntroLines lines = parts_.pages.introLines();
    if (refuseUnshowable(lines))
        return;
    const bool verify = parts_.listPanel.verifyAfterWriting();
    run([&](const ModuleWorkflow& workflow, WorkflowQuestions&, ModuleStatus& status) {
        writeIntroToModule(workflow, lines, verify, status);
    });
    showModuleStatus();
}

void ModuleActions::Button_zmien_hasloClick()
{
    parts_.module.panel().execWithPollSuspended(SettingsPanel::kPasswordMode);
    // The entry cleared configurationKnown: this poll judges the password now held.
    parts_.module.monitor().pollNow();
    showModuleStatus();
}

void ModuleActions::Zmien_jezykClick()
{
    parts_.module.panel().execWithPollSuspended(SettingsPanel::kLanguageMode);
}

void ModuleActions::showModuleStatus()
{
    const ModuleMonitor& monitor = parts_.module.monitor();
    const ModuleStatus& status = monitor.status();
    const ModuleStatusView view = presentModuleStatus(status, parts_.texts);
    parts_.toolBar.showStatus(view, monitor.password(), status.chosen.resetLock);
    parts_.listPanel.setAlphabeticalSearch(status.chosen.alphabeticalSearch);
}

} // namespace q540
