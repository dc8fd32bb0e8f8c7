#pragma once

#include "base/Outcome.h"
#include "directory/DirectoryDocument.h"
#include "directory/NameList.h"
#include "module/DirectoryRead.h"
#include "module/DirectoryVerify.h"
#include "module/IntroTransfer.h"
#include "module/ModuleCompare.h"
#include "module/TransferSession.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace q540 {

class History;
struct ModuleStatus;

// Where a workflow asks the user. The window asks with its dialogs, the
// headless tool answers from its options; tests answer from a script. Asked
// on the thread the workflow runs on.
class WorkflowQuestions {
public:
    enum class KeepChoice { ReadAndKeep, WriteWithoutKeeping, Cancel };
    virtual ~WorkflowQuestions() = default;
    // The module holds entries the history may not have: read and keep them
    // before they are overwritten?
    virtual KeepChoice keepFirst(int entries, int readSeconds) = 0;
    // A check found differences; write them again? attempt counts from 1.
    virtual bool writeAgain(const VerifyResult& found, int entries, int attempt) = 0;
};

// What every module workflow works with: the transfer's link, clock, sink,
// poll and texts; the password the program holds; the history; the time.
struct ModuleWorkflow {
    TransferContext transfer;
    QString password;
    const History& history;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};

// The step of a workflow, to name the one that failed.
enum class WorkflowStep {
    None,
    Identification,
    KeepingFirst,
    Writing,
    Checking,
    WritingAgain,
    Keeping,
    Reading,
    CheckingRoom, // no room for what a read would keep: nothing was read
};

// What the module's directory holds after a write workflow.
enum class ModuleHolds {
    Unchanged,       // nothing of the write reached it
    AsWritten,       // written and read back as written
    Unchecked,       // written whole, but not read back (not asked, or the check failed)
    WithDifferences, // written whole, and the check found differences not mended
    Incomplete,      // the write stopped partway: the first `written` of `total` blocks
};

struct DirectoryWriteRequest {
    std::vector<NameRow> rows;  // in the module's order; empty offers to erase
    DirectoryDocument document; // what the history keeps of the write
    bool keepFirst = true;      // the module's directory is kept before it is overwritten
    bool verify = true;         // read back and compared after the write
    // May replace the settings the identification took from the module.
    std::function<void(ModuleStatus&)> chooseSettings{};
    QString orderNote{}; // the alphabetical order, when worth naming
};

struct DirectoryWriteResult {
    Outcome outcome = Outcome::failed();
    WorkflowStep failed = WorkflowStep::None; // where it stopped, or None
    ModuleHolds holds = ModuleHolds::Unchanged;
    int written = 0; // blocks the module acknowledged
    int total = 0;
    int writtenAgain = 0;                // differences written again
    std::optional<VerifyResult> checked; // the last check
    std::optional<QString> backup;       // the history copy of what the module held before
    std::optional<QString> kept;         // the history copy of what was written
};

// Keep first → write → check → write the differences again → keep. A write
// starts only when the module's directory was read and kept (or shown to
// equal the history's newest copy of this module), or the user chose to write
// without keeping it: a backup that cannot be read or saved stops it. Success
// is said after the check, never before; every ending says what the module
// holds.
DirectoryWriteResult writeDirectoryToModule(const ModuleWorkflow& workflow,
                                            const DirectoryWriteRequest& request,
                                            ModuleStatus& status, WorkflowQuestions& questions);

struct DirectoryReadRequest {
    DirectoryGrid current; // what the read replaces: all but the entries stay
    bool readTwice = false;
    QStringList savedTo{}; // files the front will save the read to
};

struct DirectoryReadOutcome {
    DirectoryReadResult read;
    WorkflowStep failed = WorkflowStep::None;
    bool checked = false;        // read twice and every entry agreed or was decided
    QStringList disagreeing;     // entries three reads gave differently
    QString message;             // the ending, for the front to show once the grid is shown
    std::optional<QString> kept; // the history copy
};

// Room checked → read (→ read again and decide) → keep. The read's "read" message is not
// shown but returned, for the front to show once what was read is on screen;
// failures are shown as they happen.
DirectoryReadOutcome readDirectoryFromModule(const ModuleWorkflow& workflow,
                                             const DirectoryReadRequest& request,
                                             ModuleStatus& status);

// Three reads of one module, entry by entry: where the first two differ, the
// third decides for whichever of them it agrees with; rows that all three
// gave differently keep the first read's entry and are listed.
struct DecidedReads {
    DirectoryGrid grid;
    std::vector<int> disagreeing; // grid rows
};
DecidedReads decideReads(const DirectoryGrid& first, const DirectoryGrid& second,
                         const DirectoryGrid& third);

// The module's directory, intro and settings read (and kept), then compared
// with expected. outcome done when the read went through.
struct ModuleComparison {
    Outcome outcome = Outcome::failed();
    ModuleContents contents;
    std::vector<ContentDifference> differences;
};
ModuleComparison compareModule(const ModuleWorkflow& workflow, const ExpectedContents& expected,
                               ModuleStatus& status);

// The intro screens and the display time written, then, with verify, read
// back and compared. Done only when written and (with verify) found as written.
Outcome writeIntroToModule(const ModuleWorkflow& workflow, const IntroLines& lines, bool verify,
                           ModuleStatus& status);
IntroRead readIntroFromModule(const ModuleWorkflow& workflow, const IntroLines& current,
                              ModuleStatus& status);

// A step's name for the headless tool's report ("keeping first").
QString workflowStepName(WorkflowStep step);

} // namespace q540
