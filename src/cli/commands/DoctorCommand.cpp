#include "base/PrintableText.h"
#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"
#include "device/SystemProbe.h"
#include "module/ConnectionCheck.h"

namespace q540::cli {

namespace {

// Exit 0 when the module answered; every finding is printed either way.
class DoctorCommand final : public ModuleCommand {
public:
    DoctorCommand()
        : ModuleCommand({.name = "doctor",
                         .arguments = "",
                         .summary = "Check the connection step by step: driver, cable, port, other "
                                    "programs, module.",
                         .positionalCount = 0})
    {
    }

private:
    int talk(Session& s, Invocation& in) override
    {
#ifdef Q_OS_LINUX
        const LinuxSystemProbe system;
        const SystemProbe* probe = &system;
#else
        const SystemProbe* probe = nullptr;
#endif
        const ConnectionReport report = checkConnection(
            {probe, s.cable.link(), s.clock, in.parser.value(QStringLiteral("port"))},
            in.texts.language());
        // The cable's own descriptions are among the findings.
        in.out << printableLines(reportText(report, in.texts.language())) << Qt::flush;
        return report.moduleAnswered ? kDone : kModuleFailed;
    }
};

} // namespace

std::unique_ptr<Command> makeDoctorCommand()
{
    return std::make_unique<DoctorCommand>();
}

} // namespace q540::cli
