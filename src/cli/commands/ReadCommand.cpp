#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"

namespace q540::cli {

namespace {

class ReadCommand final : public ModuleCommand {
public:
    ReadCommand()
        : ModuleCommand({.name = "read",
                         .arguments = "OUT",
                         .summary = "Read the module's directory into a new directory file.",
                         .positionalCount = 1,
                         .output = 0})
    {
    }

private:
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption({QStringLiteral("verify"),
                          QStringLiteral("Check by reading twice: a third read decides where two "
                                         "differ; exit 1 if entries still disagree.")});
    }

    int talk(Session& s, Invocation& in) override
    {
        const bool twice = in.parser.isSet(QStringLiteral("verify"));
        const DirectoryReadOutcome outcome = readDirectoryFromModule(
            s.workflow(), {DirectoryGrid{}, twice, {in.positional[0]}}, s.status);
        if (outcome.failed == WorkflowStep::CheckingRoom)
            return kBadUsage; // like any output that cannot be written
        if (!outcome.read.outcome.isDone())
            return outcome.read.outcome.kind == Outcome::Kind::Cancelled ? kInterrupted
                                                                         : s.failed(in);
        DirectoryDocument document = emptyDocument(in.texts);
        document.grid = outcome.read.grid;
        document.fields.timeIndex = s.status.introTimeIndex;
        document.fields.moduleLanguage = s.status.moduleLanguage;
        if (!saveDirectory(in, in.positional[0], document))
            return kModuleFailed;
        if (!outcome.message.isEmpty())
            s.sink.showMessage(outcome.message);
        return twice && !outcome.checked ? kModuleFailed : kDone;
    }
};

} // namespace

std::unique_ptr<Command> makeReadCommand()
{
    return std::make_unique<ReadCommand>();
}

} // namespace q540::cli
