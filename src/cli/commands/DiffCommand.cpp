#include "base/PrintableText.h"
#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"
#include "module/ModuleCompare.h"

namespace q540::cli {

namespace {

// One line a difference; 0 when the module holds what the file describes.
class DiffCommand final : public ModuleCommand {
public:
    DiffCommand()
        : ModuleCommand(
            {.name = "diff",
             .arguments = "FILE",
             .summary = "Read the module and print how it differs from a directory file (exit 3 "
                        "if it does).",
             .positionalCount = 1,
             .input = 0})
    {
    }

private:
    int talk(Session& s, Invocation& in) override
    {
        const ModuleComparison comparison =
            compareModule(s.workflow(), {*document_, std::nullopt, std::nullopt}, s.status);
        if (!comparison.outcome.isDone())
            return s.failed(in);
        const std::vector<ContentDifference>& differences = comparison.differences;
        for (ContentDifference d : differences) {
            d.directory = printableText(d.directory);
            d.module = printableText(d.module);
            in.out << differenceLineText(d, in.texts.language()) << '\n';
        }
        in.out << Qt::flush;
        return differences.empty() ? kDone : kDifferent;
    }
};

} // namespace

std::unique_ptr<Command> makeDiffCommand()
{
    return std::make_unique<DiffCommand>();
}

} // namespace q540::cli
