#pragma once

#include "commands/ModuleWorkflows.h"
#include "directory/IntroScreens.h"

#include <functional>

class QWidget;

namespace q540 {

class DirectoryEditor;
class History;
class Localisation;
class ModuleMonitor;
class UserSink;
class ZonePages;
struct ModuleStatus;

// A workflow over the module status it is given, asking through questions.
using StatusTransfer =
    std::function<void(const ModuleWorkflow&, WorkflowQuestions& questions, ModuleStatus& status)>;

// What a window's transfer left: whether it stopped the poll (only then does
// the status it worked on replace the poll's), and the alphabetical-search
// tick at that moment, so the window can follow a change.
struct StatusTransferEnd {
    bool pollStopped = false;
    bool alphabeticalSearchBefore = false;
};

// Runs a workflow on a worker over a copy of the module status taken when the
// workflow stops the poll, not when it was asked for: the poll goes on until
// then and may meanwhile have found another module. The intro time is the
// window's own selection. A transfer that never stopped the poll leaves the
// poll's status alone.
StatusTransferEnd runStatusTransfer(QWidget& window, UserSink& sink, ModuleMonitor& monitor,
                                    const Localisation& texts, const History& history,
                                    int introTimeIndex, const StatusTransfer& transfer);

// What a window's directory read left: how it ended, and whether it changed
// the directory.
struct WindowRead {
    DirectoryReadOutcome outcome;
    bool changed = false;
};

// The module workflows as the main window runs them: each on a worker over
// the module status, with the window's directory and intro page. The window
// only presents what they return.
class WindowTransfers {
public:
    WindowTransfers(QWidget& window, UserSink& sink, const Localisation& texts,
                    const History& history, DirectoryEditor& editor, ZonePages& pages);

    DirectoryWriteResult writeDirectory(ModuleMonitor& monitor, const DirectoryDocument& document,
                                        bool verify);
    // The read is put into the directory before its message is shown.
    WindowRead readDirectory(ModuleMonitor& monitor, bool readTwice);
    ModuleComparison compare(ModuleMonitor& monitor, const ExpectedContents& expected);
    // With verify, the screens and the time are read back and compared.
    void writeIntro(ModuleMonitor& monitor, bool verify);
    bool readIntro(ModuleMonitor& monitor);

private:
    void run(ModuleMonitor& monitor, const StatusTransfer& transfer);

    QWidget& window_;
    UserSink& sink_;
    const Localisation& texts_;
    const History& history_;
    DirectoryEditor& editor_;
    ZonePages& pages_;
};

} // namespace q540
