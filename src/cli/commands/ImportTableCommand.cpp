#include "base/PrintableText.h"
#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "commands/FileCommands.h"
#include "files/ResidentTable.h"
#include "files/SafeFile.h"

namespace q540::cli {

namespace {

// The report with the table's own text in it printable: a finding names
// the field as the file held it, whatever it holds.
QString printableReport(TableRead table, int language)
{
    for (TableFinding& f : table.findings)
        f.detail = printableText(f.detail);
    return tableReportText(table, language);
}

// Prints the report; 0 when every row was taken as it stood, 1 when some were
// cut, changed or left out or the encoding is in doubt, 2 for a file that is
// no table.
class ImportTableCommand final : public Command {
public:
    ImportTableCommand()
        : Command({.name = "import-table",
                   .arguments = "TABLE OUT",
                   .summary =
                       "Read a table of residents into a directory file; print what could not be "
                       "taken as it stood.",
                   .positionalCount = 2,
                   .output = 1,
                   .outputGetsCsv = true})
    {
    }

private:
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption({QStringLiteral("into"),
                          QStringLiteral("Start from this directory file (its intro and "
                                         "settings too); the table's rows replace its entries."),
                          QStringLiteral("FILE")});
        parser.addOption({QStringLiteral("replace"),
                          QStringLiteral("With --into: the table replaces the whole directory.")});
        parser.addOption({QStringLiteral("encoding"),
                          QStringLiteral("Read the table in this encoding, not the one it seems "
                                         "to be in: %1.")
                              .arg(encodingNames()),
                          QStringLiteral("NAME")});
    }

    // The encodings as the option takes them, in any case.
    static QString encodingNames()
    {
        QStringList names;
        for (const TableEncoding encoding : kTableEncodings)
            names << tableEncodingName(encoding).toLower();
        return names.join(QStringLiteral(", "));
    }

    // --encoding: one of the names, or none for the guess.
    std::optional<int> checkArguments(Invocation& in) override
    {
        const QString value = in.parser.value(QStringLiteral("encoding"));
        if (value.isEmpty())
            return std::nullopt;
        encoding_ = tableEncodingNamed(value);
        if (encoding_)
            return std::nullopt;
        in.err << "--encoding: " << encodingNames() << "; not " << value << Qt::endl;
        return kBadUsage;
    }

    int run(Invocation& in) override
    {
        const QString path = in.positional[0];
        const FileRead file = readWholeFile(path, kTableMaxSize);
        if (!file.bytes) {
            in.err << shown(path) << ": " << file.failure.reason << Qt::endl;
            return kBadUsage;
        }
        const TableRead table = parseTable(*file.bytes, encoding_);
        in.err << printableReport(table, in.texts.language()) << Qt::endl;
        if (table.refusal)
            return kBadUsage;
        DirectoryDocument document = emptyDocument(in.texts);
        const QString into = existingFile(in.parser.value(QStringLiteral("into")));
        if (!into.isEmpty()) {
            std::optional<DirectoryDocument> loaded = loadDirectory(in, into);
            if (!loaded)
                return kBadUsage;
            document = std::move(*loaded);
        }
        document.grid =
            applyTable(document.grid, table, in.parser.isSet(QStringLiteral("replace")));
        if (!saveDirectory(in, FileCommands::directoryFileName(in.positional[1]), document))
            return kModuleFailed;
        return table.takenAsItStood() ? kDone : kModuleFailed;
    }

    std::optional<TableEncoding> encoding_;
};

} // namespace

std::unique_ptr<Command> makeImportTableCommand()
{
    return std::make_unique<ImportTableCommand>();
}

} // namespace q540::cli
