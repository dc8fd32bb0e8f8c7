#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"

namespace q540::cli {

namespace {

class IntroWriteCommand final : public ModuleCommand {
public:
    IntroWriteCommand()
        : ModuleCommand({.name = "intro-write",
                         .arguments = "FILE",
                         .summary = "Write a directory file's intro screens and display time.",
                         .positionalCount = 1,
                         .input = 0})
    {
    }

private:
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption({QStringLiteral("verify"),
                          QStringLiteral("Read the screens and the time back and compare them.")});
    }

    Opening opening() const override { return Opening::Identified; }

    int talk(Session& s, Invocation& in) override
    {
        s.status.introTimeIndex = document_->fields.timeIndex;
        return writeIntroToModule(s.workflow(), document_->fields.intro,
                                  in.parser.isSet(QStringLiteral("verify")), s.status)
                       .isDone()
                   ? kDone
                   : s.failed(in);
    }
};

} // namespace

std::unique_ptr<Command> makeIntroWriteCommand()
{
    return std::make_unique<IntroWriteCommand>();
}

} // namespace q540::cli
