#include "base/PrintableText.h"
#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "files/History.h"

#include <QDir>

namespace q540::cli {

namespace {

class HistoryCommand final : public Command {
public:
    HistoryCommand()
        : Command({.name = "history",
                   .arguments = "",
                   .summary = "List the module reads and writes kept in the history, newest first.",
                   .positionalCount = 0})
    {
    }

private:
    int run(Invocation& in) override
    {
        const History history(History::defaultFolder());
        for (const HistoryEntry& e : history.entries())
            in.out << e.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << '\t'
                   << historyOperationName(e.operation) << "\tQ540 K-" << e.moduleVariant << '\t'
                   << e.entries << '\t' << printableText(QDir::toNativeSeparators(e.path)) << '\n';
        in.out << Qt::flush;
        return kDone;
    }
};

} // namespace

std::unique_ptr<Command> makeHistoryCommand()
{
    return std::make_unique<HistoryCommand>();
}

} // namespace q540::cli
