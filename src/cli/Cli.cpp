#include "cli/Cli.h"

#include "base/AppInfo.h"
#include "cli/commands/Commands.h"

#include <QTextStream>

#include <array>

namespace q540::cli {

namespace {

// The commands in the order the overview lists them.
constexpr std::array kCommands{
    makeListCommand,        makeCheckCommand,       makeImportCommand,
    makeExportTableCommand, makeImportTableCommand, makeExportPdfCommand,
    makeStatusCommand,      makeWriteCommand,       makeReadCommand,
    makeDiffCommand,        makeHistoryCommand,     makeIntroReadCommand,
    makeIntroWriteCommand,  makeSetPasswordCommand, makeModuleLanguageCommand,
    makeResetLockCommand,   makeDoctorCommand,
};

std::unique_ptr<Command> findCommand(const QString& name)
{
    for (const auto make : kCommands)
        if (std::unique_ptr<Command> command = make(); name == QLatin1String(command->info().name))
            return command;
    return nullptr;
}

QString overview()
{
    QString text =
        QStringLiteral("Usage: q540-cli COMMAND [options] [arguments]\n\n"
                       "The directory of a Q540 door panel from the command line: the same files,\n"
                       "checks and module transfers as the program's window.\n"
                       "q540-cli --version prints the version.\n\nCommands:\n");
    for (const auto make : kCommands) {
        const std::unique_ptr<Command> command = make();
        const CommandInfo& c = command->info();
        text +=
            QStringLiteral("  %1 %2\n      %3\n")
                .arg(QLatin1String(c.name), QLatin1String(c.arguments), QLatin1String(c.summary));
    }
    text += QStringLiteral(
        "\n'q540-cli COMMAND --help' shows a command's options.\n"
        "Exit codes: 0 done, 1 the module or the link failed, 2 bad usage or a bad file,\n"
        "3 diff found differences, 4 done, but the --trace file could not be written whole.\n");
    return text;
}

} // namespace

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help")
        || arguments.first() == QLatin1String("-h")) {
        (arguments.isEmpty() ? err : out) << overview() << Qt::flush;
        return arguments.isEmpty() ? kBadUsage : kDone;
    }
    if (arguments.first() == QLatin1String("--version")) {
        out << "q540-cli " << kVersion << Qt::endl;
        return kDone;
    }
    const std::unique_ptr<Command> command = findCommand(arguments.first());
    if (!command) {
        err << "q540-cli: unknown command " << arguments.first() << "\n\n"
            << overview() << Qt::flush;
        return kBadUsage;
    }
    return command->execute(arguments, out, err);
}

} // namespace q540::cli
