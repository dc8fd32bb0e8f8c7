#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "files/ResidentTable.h"

namespace q540::cli {

namespace {

class ExportTableCommand final : public Command {
public:
    ExportTableCommand()
        : Command(
            {.name = "export-table",
             .arguments = "FILE OUT",
             .summary =
                 "Write a directory file's entries as a table (zone, apartment, line 1, line 2).",
             .positionalCount = 2,
             .input = 0,
             .output = 1})
    {
    }

private:
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption({QStringLiteral("separator"),
                          QStringLiteral("The table's separator: ';' (default), ',' or tab."),
                          QStringLiteral("SEP")});
    }

    // --separator: ";" (default), "," or "tab".
    std::optional<int> checkArguments(Invocation& in) override
    {
        const QString value = in.parser.value(QStringLiteral("separator"));
        if (value.isEmpty() || value == u";")
            separator_ = TableSeparator::Semicolon;
        else if (value == u",")
            separator_ = TableSeparator::Comma;
        else if (value == u"tab" || value == u"\t")
            separator_ = TableSeparator::Tab;
        else {
            in.err << "--separator: ';', ',' or tab, not " << value << Qt::endl;
            return kBadUsage;
        }
        return std::nullopt;
    }

    int run(Invocation& in) override
    {
        return saveFile(in, in.positional[1], tableBytes(document_->grid, separator_))
                   ? kDone
                   : kModuleFailed;
    }

    TableSeparator separator_ = TableSeparator::Semicolon;
};

} // namespace

std::unique_ptr<Command> makeExportTableCommand()
{
    return std::make_unique<ExportTableCommand>();
}

} // namespace q540::cli
