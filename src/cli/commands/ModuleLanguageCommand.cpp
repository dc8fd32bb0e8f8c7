#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "cli/commands/ModuleCommand.h"
#include "module/ModuleSettings.h"
#include "protocol/Protocol.h"

namespace q540::cli {

namespace {

// The module's language codes by name: PL is 1, RU is 7.
std::optional<int> moduleLanguageByName(const QString& name)
{
    for (int code = 1; code <= protocol::kHighestLanguageCode; ++code)
        if (moduleLanguageCode(code).compare(name, Qt::CaseInsensitive) == 0)
            return code;
    return std::nullopt;
}

// Without CODE the language is read; with it, set where the module is there.
class ModuleLanguageCommand final : public ModuleCommand {
public:
    ModuleLanguageCommand()
        : ModuleCommand(
            {.name = "module-language",
             .arguments = "[CODE]",
             .summary = "Print the module's language, or set it: PL, EN, NO, SV, DE, CS or RU.",
             .positionalCount = -1})
    {
    }

private:
    std::optional<int> checkArguments(Invocation& in) override
    {
        if (in.positional.isEmpty())
            return std::nullopt;
        code_ = moduleLanguageByName(in.positional[0]);
        if (code_)
            return std::nullopt;
        in.err << "module-language: CODE is one of PL, EN, NO, SV, DE, CS, RU, not "
               << in.positional[0] << Qt::endl;
        return kBadUsage;
    }

    Opening opening() const override { return code_ ? Opening::Present : Opening::Link; }

    int talk(Session& s, Invocation& in) override
    {
        if (code_)
            return changeConfirmed(s, in, ConfigurationDifference::Field::Language, *code_,
                                   s.password, [&](UserSink& sink) {
                                       return writeModuleLanguage(s.cable.link(), s.clock, *code_,
                                                                  sink, in.texts);
                                   });
        ModuleOperation operation(s.poll, s.cable.link(), s.sink, in.texts);
        const std::optional<LanguageReading> reading =
            readModuleLanguage(s.cable.link(), s.clock, s.sink, in.texts);
        if (!reading)
            return kModuleFailed;
        // Code 0 is what a reply that did not check leaves.
        if (reading->code == 0) {
            in.err << "module-language: the module's reply did not check" << Qt::endl;
            return kModuleFailed;
        }
        in.out << "language: " << reading->code << ' ' << moduleLanguageCode(reading->code) << ' '
               << reading->codeHint << Qt::endl;
        return kDone;
    }

    std::optional<int> code_;
};

} // namespace

std::unique_ptr<Command> makeModuleLanguageCommand()
{
    return std::make_unique<ModuleLanguageCommand>();
}

} // namespace q540::cli
