#include "commands/ModuleWorkflows.h"

#include "base/FixedTexts.h"
#include "base/HeldMessages.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"
#include "files/DirectoryFile.h"
#include "files/DirectoryStore.h"
#include "files/DiskRoom.h"
#include "files/History.h"
#include "module/ModuleOperation.h"
#include "module/ModuleStatus.h"

#include <QDir>

#include <algorithm>

namespace q540 {

namespace {

// The poll stays stopped from a workflow's first step to its last, so no
// poll runs between keeping the module's directory and overwriting it; the
// steps themselves run with no poll of their own to stop.
class Steps {
public:
    explicit Steps(const ModuleWorkflow& workflow)
        : workflow_(workflow), transfer_{workflow.transfer.link, workflow.transfer.clock,
                                         workflow.transfer.sink, noPoll_, workflow.transfer.texts}
    {
        workflow_.transfer.poll.suspend();
    }
    ~Steps() { workflow_.transfer.poll.resume(); }
    Steps(const Steps&) = delete;
    Steps& operator=(const Steps&) = delete;

    // A step's context whose messages go to sink (a HeldMessages, mostly).
    TransferContext with(UserSink& sink) const
    {
        return {transfer_.link, transfer_.clock, sink, transfer_.poll, transfer_.texts};
    }
    void phase(TransferPhase phase) const { sink().showPhase(phase); }
    UserSink& sink() const { return workflow_.transfer.sink; }
    int language() const { return workflow_.transfer.texts.language(); }
    const QString& password() const { return workflow_.password; }
    const History& history() const { return workflow_.history; }
    QDateTime now() const { return workflow_.now(); }
    TransferContext context() const { return transfer_; }

private:
    const ModuleWorkflow& workflow_;
    NoPoll noPoll_;
    TransferContext transfer_;
};

// Whether two directories hold the same entries, as the module shows them.
bool sameEntries(const DirectoryGrid& kept, const DirectoryGrid& module)
{
    ExpectedContents expected;
    expected.document.grid = kept;
    ModuleContents read;
    read.document.grid = module;
    for (const ContentDifference& d : compareWithModule(expected, read))
        if (d.kind != ContentDifference::Kind::Setting)
            return false;
    return true;
}

// The history's newest copy of this module when it has as many entries as
// the module reports: the one copy a read could show the module still holds.
struct Candidate {
    QString path;
    DirectoryDocument document;
};
std::optional<Candidate> candidateCopy(const History& history, const ModuleStatus& status,
                                       int entries)
{
    const std::optional<HistoryEntry> newest = history.newestOf(status.variant);
    if (!newest || newest->entries != entries)
        return std::nullopt;
    DirectoryFileLoad load = loadDirectoryFile(newest->path);
    if (!load.document)
        return std::nullopt;
    return Candidate{newest->path, std::move(*load.document)};
}

struct KeptFirst {
    bool mayWrite = false;
    Outcome outcome = Outcome::done();
    std::optional<QString> backup;
};

// Whether the history's copy and the files in savedTo each have room for a
// full directory, told with refusal (which takes "path: reason") when not:
// a read of up to 40 s is not started for what could not be kept.
bool roomToKeep(const Steps& steps, FixedText refusal, QStringList savedTo = {})
{
    savedTo.append(QDir(steps.history().folder()).filePath(QStringLiteral("copy.csv")));
    const std::optional<RoomFailure> none = checkRoomFor(savedTo, kDirectoryFileMaxSize);
    if (none)
        steps.sink().showMessage(
            fixedText(refusal, steps.language())
                .arg(none->path + QStringLiteral(": ") + none->failure.reason));
    return !none;
}

// Before the module's entries are overwritten: read them and keep them, or
// prove that the history already holds them, or the user's choice not to.
KeptFirst keepModuleFirst(const Steps& steps, ModuleStatus& status, WorkflowQuestions& questions)
{
    {
        HeldMessages held(steps.sink());
        TransferSession identification(steps.with(held));
        if (!identification.identifyAgain(status, steps.password())) {
            held.release();
            return {false, Outcome::failed(), {}};
        }
    }
    // Nothing to keep, or a write that will be refused anyway (no module,
    // the password not confirmed): the write says why itself.
    const int entries = std::min(status.entryCount, kEntryCapacity);
    if (!status.modulePresent() || !status.passwordConfirmed() || entries <= 0)
        return {true, Outcome::done(), {}};
    const std::optional<Candidate> candidate = candidateCopy(steps.history(), status, entries);
    if (!candidate) {
        switch (questions.keepFirst(entries, directoryReadSeconds(entries))) {
        case WorkflowQuestions::KeepChoice::WriteWithoutKeeping:
            return {true, Outcome::done(), {}};
        case WorkflowQuestions::KeepChoice::Cancel:
            return {false, Outcome::cancelled(), {}};
        case WorkflowQuestions::KeepChoice::ReadAndKeep:
            break;
        }
    }
    if (!roomToKeep(steps, FixedText::BackupNotSaved))
        return {false, Outcome::failed(), {}};
    steps.phase(TransferPhase::KeepingFirst);
    const ModuleContentsRead read = readModuleContents(steps.context(), steps.password(), status);
    if (!read.outcome.isDone()) {
        if (read.outcome.kind != Outcome::Kind::Cancelled)
            steps.sink().showMessage(fixedText(FixedText::BackupNotRead, steps.language()));
        return {false, read.outcome, {}};
    }
    if (candidate && sameEntries(candidate->document.grid, read.contents.document.grid))
        return {true, Outcome::done(), candidate->path};
    const History::Kept kept = steps.history().keep(read.contents.document, HistoryOperation::Read,
                                                    status.variant, steps.now());
    if (!kept.path) {
        steps.sink().showMessage(fixedText(FixedText::BackupNotSaved, steps.language())
                                     .arg(steps.history().failureText(kept)));
        return {false, Outcome::failed(), {}};
    }
    return {true, Outcome::done(), kept.path};
}

// Where a write that did not go through stopped.
WorkflowStep stepOfFailedWrite(const Outcome& outcome, const WrittenDirectory& sent)
{
    if (outcome.refusal == Outcome::Refusal::NoModule
        || outcome.refusal == Outcome::Refusal::WrongPassword
        || (outcome.kind == Outcome::Kind::Failed && sent.blocks.empty()))
        return WorkflowStep::Identification;
    return WorkflowStep::Writing;
}

// The check, and the differences written again for as long as the user asks.
// Returns the ending's message.
QString checkAndMend(const Steps& steps, const WrittenDirectory& sent, ModuleStatus& status,
                     WorkflowQuestions& questions, DirectoryWriteResult& result)
{
    const int language = steps.language();
    const auto check = [&]() -> std::optional<VerifyResult> {
        steps.phase(TransferPhase::Checking);
        HeldMessages held(steps.sink());
        VerifyResult found = verifyDirectory(steps.with(held), sent, steps.password(), status);
        if (found.outcome.isDone())
            return found;
        held.release();
        return std::nullopt;
    };
    std::optional<VerifyResult> found = check();
    for (int attempt = 1;
         found && !found->matches() && questions.writeAgain(*found, result.total, attempt);
         ++attempt) {
        steps.phase(TransferPhase::WritingAgain);
        HeldMessages held(steps.sink());
        const WriteAgainResult again =
            writeAgain(steps.with(held), sent, *found, steps.password(), status);
        result.writtenAgain += again.rewritten;
        if (!again.outcome.isDone()) {
            held.release();
            result.failed = WorkflowStep::WritingAgain;
            result.holds = ModuleHolds::WithDifferences;
            result.checked = found;
            return fixedText(FixedText::WriteAgainCancelled, language)
                .arg(again.rewritten)
                .arg(found->differenceCount());
        }
        found = check();
    }
    if (!found) {
        result.failed = WorkflowStep::Checking;
        result.holds = ModuleHolds::Unchecked;
        return fixedText(FixedText::WrittenUnchecked, language);
    }
    result.checked = found;
    if (!found->matches()) {
        result.holds = ModuleHolds::WithDifferences;
        return fixedText(FixedText::WrittenWithDifferences, language)
            .arg(found->differenceCount())
            .arg(differenceLines(*found, language).join(u'\n'));
    }
    result.holds = ModuleHolds::AsWritten;
    return result.writtenAgain > 0
               ? fixedText(FixedText::WrittenAgainAndVerified, language).arg(result.writtenAgain)
               : fixedText(FixedText::WrittenAndVerified, language).arg(result.total);
}

// Keeps what a transfer read or wrote; a copy not kept is told after the
// transfer's own ending, which it does not change.
std::optional<QString> keepCopy(const Steps& steps, const DirectoryDocument& document,
                                HistoryOperation operation, int variant)
{
    return keepInHistory(steps.history(), document, operation, variant, steps.now(), steps.sink(),
                         steps.language())
        .path;
}

// The rows two reads gave differently.
std::vector<int> differingRows(const DirectoryGrid& a, const DirectoryGrid& b)
{
    std::vector<int> rows;
    for (int row = 1; row <= kGridRows; ++row)
        if (a.entryText(row) != b.entryText(row))
            rows.push_back(row);
    return rows;
}

// One more read of the same module, its messages shown only when it failed.
std::optional<DirectoryGrid> readAgain(const Steps& steps, const DirectoryGrid& current,
                                       ModuleStatus& status)
{
    steps.phase(TransferPhase::ReadingAgain);
    HeldMessages held(steps.sink());
    DirectoryReadResult again =
        receiveDirectory(steps.with(held), current, steps.password(), status);
    if (again.outcome.isDone())
        return std::move(again.grid);
    held.release();
    return std::nullopt;
}

// A second read compared with the first; where they differ, a third decides
// entry by entry. Entries all three gave differently are named.
void readTwiceAndDecide(const Steps& steps, const DirectoryGrid& current, ModuleStatus& status,
                        DirectoryReadOutcome& outcome)
{
    const int language = steps.language();
    const std::optional<DirectoryGrid> second = readAgain(steps, current, status);
    if (!second)
        return;
    const std::vector<int> rows = differingRows(outcome.read.grid, *second);
    if (rows.empty()) {
        outcome.checked = true;
        outcome.message += u'\n' + fixedText(FixedText::ReadsAgreed, language);
        return;
    }
    const std::optional<DirectoryGrid> third = readAgain(steps, current, status);
    if (!third)
        return;
    DecidedReads decided = decideReads(outcome.read.grid, *second, *third);
    outcome.read.grid = std::move(decided.grid);
    for (const int row : decided.disagreeing)
        outcome.disagreeing << entryPlaceText(placeOfRow(row), language);
    outcome.checked = outcome.disagreeing.isEmpty();
    outcome.message +=
        u'\n'
        + (outcome.checked ? fixedText(FixedText::ReadsDecided, language).arg(rows.size())
                           : fixedText(FixedText::ReadsDisagree, language)
                                 .arg(outcome.disagreeing.size())
                                 .arg(outcome.disagreeing.join(u'\n')));
}

} // namespace

DirectoryWriteResult writeDirectoryToModule(const ModuleWorkflow& workflow,
                                            const DirectoryWriteRequest& request,
                                            ModuleStatus& status, WorkflowQuestions& questions)
{
    DirectoryWriteResult result;
    // Asked while the poll still runs, and before anything is read for a
    // backup that would be of no use.
    if (request.rows.empty() && !askToErase(workflow.transfer.sink, workflow.transfer.texts)) {
        result.outcome = Outcome::cancelled();
        return result;
    }
    const Steps steps(workflow);
    if (request.keepFirst) {
        const KeptFirst first = keepModuleFirst(steps, status, questions);
        result.backup = first.backup;
        if (!first.mayWrite) {
            result.outcome = first.outcome;
            result.failed = WorkflowStep::KeepingFirst;
            return result;
        }
    }

    steps.phase(TransferPhase::Writing);
    WrittenDirectory sent;
    HeldMessages held(steps.sink());
    result.outcome = sendDirectory(steps.with(held), request.rows, steps.password(), status,
                                   {request.chooseSettings, &sent, request.orderNote, true});
    result.total = request.rows.empty() ? 1 : int(request.rows.size());
    if (!result.outcome.isDone()) {
        held.release();
        const bool cancelled = result.outcome.kind == Outcome::Kind::Cancelled;
        result.written = std::max(0, int(sent.blocks.size()) - (cancelled ? 0 : 1));
        result.holds = result.written > 0 ? ModuleHolds::Incomplete : ModuleHolds::Unchanged;
        result.failed = stepOfFailedWrite(result.outcome, sent);
        return result;
    }
    result.written = result.total;
    // Without a check the write's own message is the ending; an erase checked
    // and found as written says it was erased.
    QString ending = held.joined();
    held.discard();
    if (request.verify) {
        const QString checked = checkAndMend(steps, sent, status, questions, result);
        if (!request.rows.empty() || result.holds != ModuleHolds::AsWritten)
            ending = request.orderNote.isEmpty() || request.rows.empty()
                         ? checked
                         : checked + u'\n' + request.orderNote;
    } else {
        result.holds = ModuleHolds::Unchecked;
    }
    steps.sink().showMessage(ending);

    DirectoryDocument document = request.rows.empty() ? DirectoryDocument{} : request.document;
    document.fields.moduleLanguage = status.moduleLanguage;
    // Filed under the module as it names itself after the write: the check
    // has just asked it; without one, the variant the written configuration
    // carries is what it will answer.
    const int variant =
        result.checked ? status.variant : protocol::decodeConfiguration(sent.configuration).variant;
    result.kept = keepCopy(steps, document, HistoryOperation::Write, variant);
    if (!result.kept && result.failed == WorkflowStep::None)
        result.failed = WorkflowStep::Keeping;
    return result;
}

DirectoryReadOutcome readDirectoryFromModule(const ModuleWorkflow& workflow,
                                             const DirectoryReadRequest& request,
                                             ModuleStatus& status)
{
    const Steps steps(workflow);
    DirectoryReadOutcome outcome;
    if (!roomToKeep(steps, FixedText::ReadNotStarted, request.savedTo)) {
        outcome.failed = WorkflowStep::CheckingRoom;
        return outcome;
    }
    steps.phase(TransferPhase::Reading);
    HeldMessages held(steps.sink());
    outcome.read = receiveDirectory(steps.with(held), request.current, steps.password(), status);
    if (!outcome.read.outcome.isDone()) {
        held.release();
        outcome.failed = WorkflowStep::Reading;
        return outcome;
    }
    outcome.message = held.joined();
    held.discard();
    if (request.readTwice && outcome.read.ending == DirectoryReadResult::Ending::Completed)
        readTwiceAndDecide(steps, request.current, status, outcome);
    // The directory read brings no intro screens: the copy keeps none.
    const DirectoryDocument document = contentsOf(outcome.read.grid, IntroLines{}, status).document;
    outcome.kept = keepCopy(
        steps, document, outcome.checked ? HistoryOperation::CheckedRead : HistoryOperation::Read,
        status.variant);
    if (!outcome.kept)
        outcome.failed = WorkflowStep::Keeping;
    return outcome;
}

DecidedReads decideReads(const DirectoryGrid& first, const DirectoryGrid& second,
                         const DirectoryGrid& third)
{
    DecidedReads decided{first, {}};
    for (const int row : differingRows(first, second)) {
        if (third.entryText(row) == second.entryText(row))
            decided.grid.setRow(row, second.row(row));
        else if (third.entryText(row) != first.entryText(row))
            decided.disagreeing.push_back(row);
    }
    return decided;
}

ModuleComparison compareModule(const ModuleWorkflow& workflow, const ExpectedContents& expected,
                               ModuleStatus& status)
{
    const Steps steps(workflow);
    steps.phase(TransferPhase::Reading);
    const ModuleContentsRead read = readModuleContents(steps.context(), steps.password(), status);
    ModuleComparison comparison{read.outcome, read.contents, {}};
    if (!read.outcome.isDone())
        return comparison;
    keepCopy(steps, read.contents.document, HistoryOperation::Read, status.variant);
    comparison.differences = compareWithModule(expected, read.contents);
    return comparison;
}

Outcome writeIntroToModule(const ModuleWorkflow& workflow, const IntroLines& lines, bool verify,
                           ModuleStatus& status)
{
    const Steps steps(workflow);
    steps.phase(TransferPhase::Writing);
    const Outcome written = sendIntro(steps.context(), lines, status);
    if (!written.isDone() || !verify)
        return written;
    steps.phase(TransferPhase::Checking);
    const IntroVerifyResult found = verifyIntro(steps.context(), lines, status);
    if (!found.outcome.isDone())
        steps.sink().showMessage(fixedText(FixedText::WrittenUnchecked, steps.language()));
    return found.outcome.isDone() && found.differences.empty() ? Outcome::done()
                                                               : Outcome::failed();
}

IntroRead readIntroFromModule(const ModuleWorkflow& workflow, const IntroLines& current,
                              ModuleStatus& status)
{
    const Steps steps(workflow);
    steps.phase(TransferPhase::Reading);
    return receiveIntro(steps.context(), current, status);
}

QString workflowStepName(WorkflowStep step)
{
    switch (step) {
    case WorkflowStep::None:
        break;
    case WorkflowStep::Identification:
        return QStringLiteral("identification");
    case WorkflowStep::KeepingFirst:
        return QStringLiteral("keeping first");
    case WorkflowStep::Writing:
        return QStringLiteral("writing");
    case WorkflowStep::Checking:
        return QStringLiteral("checking");
    case WorkflowStep::WritingAgain:
        return QStringLiteral("writing again");
    case WorkflowStep::Keeping:
        return QStringLiteral("keeping");
    case WorkflowStep::Reading:
        return QStringLiteral("reading");
    case WorkflowStep::CheckingRoom:
        return QStringLiteral("checking room");
    }
    return {};
}

} // namespace q540
