#include "base/PrintableText.h"
#include "base/TextKeys.h"
#include "cli/Cli.h"
#include "cli/ConsoleSink.h"
#include "cli/commands/Commands.h"

namespace q540::cli {

namespace {

class ListCommand final : public Command {
public:
    ListCommand()
        : Command({.name = "list",
                   .arguments = "FILE",
                   .summary = "Print the name list of a directory file in the module's order.",
                   .positionalCount = 1,
                   .input = 0})
    {
    }

private:
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption({QStringLiteral("unsorted"), QStringLiteral("Zone order, not sorted.")});
        addCollationOption(parser);
    }

    int run(Invocation& in) override
    {
        ConsoleSink sink(in.err);
        const std::optional<NameList> list =
            nameListOf(in, *document_, sink, !in.parser.isSet(QStringLiteral("unsorted")));
        if (!list)
            return kBadUsage;
        for (const NameRow& row : list->rows())
            in.out << '|' << printableText(row.text) << "| " << row.apartment << ' ' << row.zone
                   << '\n';
        in.out << in.texts.text(textkey::kEntryCount).trimmed() << ": " << list->count()
               << Qt::endl;
        // More entries than the module holds: the warning has been shown.
        return list->count() <= kEntryCapacity ? kDone : kModuleFailed;
    }
};

} // namespace

std::unique_ptr<Command> makeListCommand()
{
    return std::make_unique<ListCommand>();
}

} // namespace q540::cli
