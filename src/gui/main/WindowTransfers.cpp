#include "gui/main/WindowTransfers.h"

#include "base/Localisation.h"
#include "directory/DirectoryEditor.h"
#include "directory/ModuleOrder.h"
#include "gui/dialogs/VerifyDialog.h"
#include "gui/main/ZonePages.h"
#include "gui/seams/TransferRunner.h"
#include "module/ModuleMonitor.h"

namespace q540 {

StatusTransferEnd runStatusTransfer(QWidget& window, UserSink& sink, ModuleMonitor& monitor,
                                    const Localisation& texts, const History& history,
                                    int introTimeIndex, const StatusTransfer& transfer)
{
    TransferRunner runner(window, sink, monitor);
    ModuleStatus status = monitor.status();
    StatusTransferEnd end;
    runner.pollStopped = [&] {
        status = monitor.status();
        status.introTimeIndex = introTimeIndex;
        end.alphabeticalSearchBefore = status.alphabeticalSearchTicked;
        end.pollStopped = true;
    };
    const ModuleWorkflow workflow{
        {monitor.link(), monitor.clock(), runner, runner, texts}, monitor.password(), history};
    WindowQuestions questions(runner, window, texts.Nr_Jezyka());
    runner.run([&] { transfer(workflow, questions, status); });
    if (end.pollStopped)
        monitor.status() = status;
    return end;
}

WindowTransfers::WindowTransfers(QWidget& window, UserSink& sink, const Localisation& texts,
                                 const History& history, DirectoryEditor& editor, ZonePages& pages)
    : window_(window), sink_(sink), texts_(texts), history_(history), editor_(editor), pages_(pages)
{
}

void WindowTransfers::run(ModuleMonitor& monitor, const StatusTransfer& transfer)
{
    const StatusTransferEnd end = runStatusTransfer(window_, sink_, monitor, texts_, history_,
                                                    pages_.introTimeIndex(), transfer);
    if (!end.pollStopped)
        return;
    // What the transfer's identification selected, as its own would.
    const ModuleStatus& status = monitor.status();
    pages_.setIntroTimeIndex(status.introTimeIndex);
    if (status.alphabeticalSearchTicked != end.alphabeticalSearchBefore)
        editor_.setAlphabeticalSearch(status.alphabeticalSearchTicked);
}

DirectoryWriteResult WindowTransfers::writeDirectory(ModuleMonitor& monitor,
                                                     const DirectoryDocument& document, bool verify)
{
    DirectoryWriteRequest request;
    request.rows = editor_.list().rows();
    request.document = document;
    request.verify = verify;
    request.orderNote = moduleOrderNote(editor_.moduleOrder(), texts_.Nr_Jezyka());
    DirectoryWriteResult result;
    run(monitor,
        [&](const ModuleWorkflow& workflow, WorkflowQuestions& questions, ModuleStatus& status) {
            result = writeDirectoryToModule(workflow, request, status, questions);
        });
    return result;
}

WindowRead WindowTransfers::readDirectory(ModuleMonitor& monitor, bool readTwice)
{
    WindowRead read;
    const DirectoryReadRequest request{editor_.grid(), readTwice};
    run(monitor, [&](const ModuleWorkflow& workflow, WorkflowQuestions&, ModuleStatus& status) {
        read.outcome = readDirectoryFromModule(workflow, request, status);
    });
    read.changed = applyDirectoryRead(read.outcome.read, editor_);
    // "Read" once the grid shows what was read, never before.
    if (!read.outcome.message.isEmpty())
        sink_.showMessage(read.outcome.message);
    return read;
}

ModuleComparison WindowTransfers::compare(ModuleMonitor& monitor, const ExpectedContents& expected)
{
    ModuleComparison comparison;
    run(monitor, [&](const ModuleWorkflow& workflow, WorkflowQuestions&, ModuleStatus& status) {
        comparison = compareModule(workflow, expected, status);
    });
    return comparison;
}

void WindowTransfers::writeIntro(ModuleMonitor& monitor, bool verify)
{
    const IntroLines lines = pages_.introLines();
    run(monitor, [&](const ModuleWorkflow& workflow, WorkflowQuestions&, ModuleStatus& status) {
        writeIntroToModule(workflow, lines, verify, status);
    });
}

bool WindowTransfers::readIntro(ModuleMonitor& monitor)
{
    const IntroLines before = pages_.introLines();
    IntroLines lines = before;
    run(monitor, [&](const ModuleWorkflow& workflow, WorkflowQuestions&, ModuleStatus& status) {
        lines = readIntroFromModule(workflow, lines, status).lines;
    });
    if (lines == before)
        return false;
    pages_.setIntroLines(lines);
    return true;
}

} // namespace q540
