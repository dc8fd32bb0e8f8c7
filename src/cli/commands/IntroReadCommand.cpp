#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"

namespace q540::cli {

namespace {

class IntroReadCommand final : public ModuleCommand {
public:
    IntroReadCommand()
        : ModuleCommand(
            {.name = "intro-read",
             .arguments = "OUT",
             .summary = "Read the intro screens and display time into a directory file.",
             .positionalCount = 1,
             .output = 0})
    {
    }

private:
    Opening opening() const override { return Opening::Identified; }

    int talk(Session& s, Invocation& in) override
    {
        DirectoryDocument document = emptyDocument(in.texts);
        const IntroRead read = readIntroFromModule(s.workflow(), IntroLines{}, s.status);
        if (!read.outcome.isDone())
            return s.failed(in);
        document.fields.intro = read.lines;
        document.fields.timeIndex = s.status.introTimeIndex;
        document.fields.moduleLanguage = s.status.moduleLanguage;
        return saveDirectory(in, in.positional[0], document) ? kDone : kModuleFailed;
    }
};

} // namespace

std::unique_ptr<Command> makeIntroReadCommand()
{
    return std::make_unique<IntroReadCommand>();
}

} // namespace q540::cli
