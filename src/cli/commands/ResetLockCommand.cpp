#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"
#include "module/ModuleSettings.h"

namespace q540::cli {

namespace {

class ResetLockCommand final : public ModuleCommand {
public:
    ResetLockCommand()
        : ModuleCommand({.name = "reset-lock",
                         .arguments = "on|off",
                         .summary = "Lock or unlock the module's reset.",
                         .positionalCount = 1})
    {
    }

private:
    std::optional<int> checkArguments(Invocation& in) override
    {
        locked_ = onOffValue(in, QStringLiteral("reset-lock"), in.positional[0]);
        return locked_ ? std::nullopt : std::optional<int>(kBadUsage);
    }

    Opening opening() const override { return Opening::Present; }

    int talk(Session& s, Invocation& in) override
    {
        const bool locked = *locked_;
        const bool matches = s.status.passwordConfirmed();
        return changeConfirmed(s, in, ConfigurationDifference::Field::ResetLock, locked ? 1 : 0,
                               s.password, [&](UserSink& sink) {
                                   return sendResetLock(s.cable.link(), true, matches, locked, sink,
                                                        in.texts);
                               });
    }

    std::optional<bool> locked_;
};

} // namespace

std::unique_ptr<Command> makeResetLockCommand()
{
    return std::make_unique<ResetLockCommand>();
}

} // namespace q540::cli
