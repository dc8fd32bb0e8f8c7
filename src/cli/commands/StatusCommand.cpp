#include "base/FixedTexts.h"
#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"

namespace q540::cli {

namespace {

class StatusCommand final : public ModuleCommand {
public:
    StatusCommand()
        : ModuleCommand({.name = "status",
                         .arguments = "",
                         .summary = "Identify the module and print its state and settings.",
                         .positionalCount = 0})
    {
    }

private:
    Opening opening() const override { return Opening::Identified; }

    int talk(Session& s, Invocation& in) override
    {
        const ModuleStatus& st = s.status;
        in.out << "state: "
               << (st.configurationMissing
                       ? fixedText(FixedText::ConfigurationMissing, in.texts.language())
                       : moduleStateText(st, in.texts))
               << '\n';
        if (st.state != ModuleState::NoCable)
            in.out << "latency timer: "
                   << (st.latencyTimerMs ? QStringLiteral("%1 ms").arg(*st.latencyTimerMs)
                                         : QStringLiteral("unknown"))
                   << '\n';
        if (st.modulePresent()) {
            in.out << "entries: " << st.entryCount << '\n'
                   << "password: " << (st.passwordConfirmed() ? "matches" : "does not match")
                   << '\n'
                   << "language: " << st.moduleLanguage << ' '
                   << moduleLanguageCode(st.moduleLanguage) << '\n'
                   << "intro time: "
                   << (st.introTimeIndex < 0 ? QStringLiteral("none")
                                             : QString::number(st.introTimeIndex + 1))
                   << '\n'
                   << "alphabetical search: " << (st.chosen.alphabeticalSearch ? "on" : "off")
                   << '\n'
                   << "reset lock: " << (st.chosen.resetLock ? "on" : "off") << '\n';
        }
        in.out << Qt::flush;
        return st.modulePresent() ? kDone : kModuleFailed;
    }
};

} // namespace

std::unique_ptr<Command> makeStatusCommand()
{
    return std::make_unique<StatusCommand>();
}

} // namespace q540::cli
