#include "gui/WindowTransfers.h"

#include "base/Localisation.h"
#include "directory/ModuleOrder.h"

#include "directory/DirectoryEditor.h"
#include "gui/TransferRunner.h"
#include "gui/ZonePages.h"
#include "module/DirectoryRead.h"
#include "module/DirectoryWrite.h"
#include "module/IntroTransfer.h"
#include "module/ModuleMonitor.h"

namespace q540 {

StatusTransferEnd runStatusTransfer(QWidget& window, UserSink& sink, ModuleMonitor& monitor,
                                    const Localisation& texts, int introTimeIndex,
                                    const StatusTransfer& transfer)
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
    const QString password = monitor.password();
    const TransferContext context{monitor.link(), monitor.clock(), runner, runner, texts};
    runner.run([&] { transfer(context, password, status); });
    if (end.pollStopped)
        monitor.status() = status;
    return end;
}

WindowTransfers::WindowTransfers(QWidget& window, UserSink& sink, const Localisation& texts,
                                 DirectoryEditor& editor, ZonePages& pages)
    : window_(window), sink_(sink), texts_(texts), editor_(editor), pages_(pages)
{
}

void WindowTransfers::run(ModuleMonitor& monitor, const StatusTransfer& transfer)
{
    const StatusTransferEnd end =
        runStatusTransfer(window_, sink_, monitor, texts_, pages_.introTimeIndex(), transfer);
    if (!end.pollStopped)
        return;
    // What the transfer's identification selected, as its own would.
    const ModuleStatus& status = monitor.status();
    pages_.setIntroTimeIndex(status.introTimeIndex);
    if (status.alphabeticalSearchTicked != end.alphabeticalSearchBefore)
        editor_.setAlphabeticalSearch(status.alphabeticalSearchTicked);
}

WindowWrite WindowTransfers::writeDirectory(ModuleMonitor& monitor, bool verify)
{
    const std::vector<NameRow> rows = editor_.list().rows();
    const QString orderNote = moduleOrderNote(editor_.moduleOrder(), texts_.Nr_Jezyka());
    WindowWrite write;
    run(monitor,
        [&](const TransferContext& context, const QString& password, ModuleStatus& status) {
            write.outcome =
                Button0Click(context, rows, password, status, {{}, &write.written, orderNote});
            // An erase sends no entries: there is nothing to read back.
            if (verify && write.outcome.isDone() && !write.written.empty())
                write.verified = verifyDirectory(context, write.written, password, status);
        });
    return write;
}

VerifyResult WindowTransfers::writeAgain(ModuleMonitor& monitor, const WrittenBlocks& written,
                                         const std::vector<BlockDifference>& differences)
{
    VerifyResult verified;
    run(monitor,
        [&](const TransferContext& context, const QString& password, ModuleStatus& status) {
            verified.outcome = q540::writeAgain(context, differences, password, status);
            if (verified.outcome.isDone())
                verified = verifyDirectory(context, written, password, status);
        });
    return verified;
}

WindowRead WindowTransfers::readDirectory(ModuleMonitor& monitor)
{
    const DirectoryGrid current = editor_.grid();
    DirectoryReadResult result;
    run(monitor,
        [&](const TransferContext& context, const QString& password, ModuleStatus& status) {
            result = Buttonz9Click(context, current, password, status);
        });
    return {result.outcome, applyDirectoryRead(result, editor_)};
}

ModuleContentsRead WindowTransfers::readContents(ModuleMonitor& monitor)
{
    ModuleContentsRead read;
    run(monitor,
        [&](const TransferContext& context, const QString& password, ModuleStatus& status) {
            read = readModuleContents(context, password, status);
        });
    return read;
}

void WindowTransfers::writeIntro(ModuleMonitor& monitor, bool verify)
{
    const IntroLines lines = pages_.introLines();
    run(monitor, [&](const TransferContext& context, const QString&, ModuleStatus& status) {
        if (Button2Click(context, lines, status).isDone() && verify)
            verifyIntro(context, lines, status);
    });
}

bool WindowTransfers::readIntro(ModuleMonitor& monitor)
{
    const IntroLines before = pages_.introLines();
    IntroLines lines = before;
    run(monitor, [&lines](const TransferContext& context, const QString&, ModuleStatus& status) {
        lines = Button1Click(context, lines, status).lines;
    });
    if (lines == before)
        return false;
    pages_.setIntroLines(lines);
    return true;
}

} // namespace q540
