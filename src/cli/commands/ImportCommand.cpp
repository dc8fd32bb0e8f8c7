#include "cli/Cli.h"
#include "cli/ConsoleSink.h"
#include "cli/commands/Commands.h"
#include "commands/FileCommands.h"
#include "commands/FileDialogs.h"
#include "directory/DirectoryEditor.h"

namespace q540::cli {

namespace {

// The dialogs of an import on the command line: the two names it was given.
class GivenFiles final : public FileDialogs {
public:
    GivenFiles(QString open, QString save) : open_(std::move(open)), save_(std::move(save)) {}
    QString openFileName(const QString&, const QString&) override { return open_; }
    QString saveFileName(const QString&, const QString&) override { return save_; }

private:
    QString open_;
    QString save_;
};

class ImportCommand final : public Command {
public:
    ImportCommand()
        : Command({.name = "import",
                   .arguments = "LIST OUT",
                   .summary = "Read an older list file into zone 1 and save a directory file.",
                   .positionalCount = 2,
                   .output = 1,
                   .outputGetsCsv = true})
    {
    }

private:
    int run(Invocation& in) override
    {
        ConsoleSink sink(in.err);
        DirectoryEditor editor(sink, in.texts);
        GivenFiles files(in.positional[0], QString());
        FileCommands commands(editor, sink, in.texts, files);
        DocumentFields fields = emptyDocument(in.texts).fields;
        commands.readFields = [&fields] { return fields; };
        commands.showFields = [&fields](const DocumentFields& f) { fields = f; };
        if (!commands.importListFile().isDone())
            return kBadUsage;
        const QString out = FileCommands::directoryFileName(in.positional[1]);
        return saveDirectory(in, out, commands.document()) ? kDone : kModuleFailed;
    }
};

} // namespace

std::unique_ptr<Command> makeImportCommand()
{
    return std::make_unique<ImportCommand>();
}

} // namespace q540::cli
