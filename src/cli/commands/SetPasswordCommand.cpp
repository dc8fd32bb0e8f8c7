#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"
#include "module/ModuleSettings.h"

namespace q540::cli {

namespace {

class SetPasswordCommand final : public ModuleCommand {
public:
    SetPasswordCommand()
        : ModuleCommand({.name = "set-password",
                         .arguments = "NEW",
                         .summary =
                             "Store NEW as the module's installer password; --password gives the "
                             "current one.",
                         .positionalCount = 1})
    {
    }

private:
    std::optional<int> checkArguments(Invocation& in) override
    {
        if (!newPasswordOf(in.positional[0])) {
            in.err << "set-password: NEW is one to four digits" << Qt::endl;
            return kBadUsage;
        }
        return std::nullopt;
    }

    Opening opening() const override { return Opening::PasswordConfirmed; }

    int talk(Session& s, Invocation& in) override
    {
        const QString password = *newPasswordOf(in.positional[0]);
        const PasswordPairs pairs = *passwordPairs(password);
        return changeConfirmed(s, in, ConfigurationDifference::Field::Password,
                               pairs.first * 100 + pairs.second, password, [&](UserSink& sink) {
                                   return storePassword(s.cable.link(), s.clock, password, sink,
                                                        in.texts);
                               });
    }
};

} // namespace

std::unique_ptr<Command> makeSetPasswordCommand()
{
    return std::make_unique<SetPasswordCommand>();
}

} // namespace q540::cli
