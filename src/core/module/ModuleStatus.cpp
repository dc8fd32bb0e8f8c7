#include "module/ModuleStatus.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"
#include "module/ModuleSettings.h"

#include <optional>

namespace q540 {

namespace {

using Result = IdentificationOutcome::Result;

constexpr int kFallbackLanguageCode = 1;
constexpr int kHighestPasswordHalf = 99;

void clearModule(ModuleStatus& status)
{
    status.entryCount = -1;
    status.passwordCheck = PasswordCheck::NotChecked;
    status.moduleLanguage = 0;
    status.configurationKnown = false;
    status.configuration.reset();
}

void applyConfiguration(ModuleStatus& status, const ConfigurationNibbles& nibbles,
                        const QString& typedPassword, const ModuleStatusHandlers& handlers)
{
    const protocol::ConfigurationFields n = protocol::decodeConfiguration(nibbles);
    status.configurationKnown = true;
    status.entryCount = n.countField + 1;
    status.variant = n.variant;

    PasswordPairs module{n.passwordFirst, n.passwordSecond};
    if (module.first > kHighestPasswordHalf || module.second > kHighestPasswordHalf)
        module = {0, 0};
    status.passwordCheck =
        passwordPairs(typedPassword) == module ? PasswordCheck::Matches : PasswordCheck::Differs;

    status.moduleLanguage =
        n.languageCode > protocol::kHighestLanguageCode ? kFallbackLanguageCode : n.languageCode;
    status.introTimeIndex = n.introTimeSeconds - 1;

    if (status.alphabeticalSearchRead == ModuleStatus::kAlphabeticalSearchUnknown) {
        const bool on = n.alphabeticalSearch;
        status.alphabeticalSearchRead =
            on ? ModuleStatus::kAlphabeticalSearchOn : ModuleStatus::kAlphabeticalSearchOff;
        const bool changed = status.chosen.alphabeticalSearch != on;
        status.chosen.alphabeticalSearch = on;
        if (changed && handlers.alphabeticalSearchClicked)
            handlers.alphabeticalSearchClicked(status);
    }

    status.state = ModuleState::Present;
    status.languageRead = status.moduleLanguage;

    status.chosen.resetLock = !n.resetAllowed;
}

} // namespace

QString moduleLanguageCode(int code)
{
    return QString::fromLatin1(protocol::languageName(code));
}

QString openProblemText(OpenProblem problem, const QString& port, int language)
{
    switch (problem) {
    case OpenProblem::None:
    case OpenProblem::NoCable:
        break;
    case OpenProblem::NoSuchPort:
        return fixedText(FixedText::PortMissing, language).arg(port);
    case OpenProblem::NotATerminal:
        return fixedText(FixedText::PortNotSerial, language).arg(port);
    case OpenProblem::PermissionDenied:
        return fixedText(FixedText::PortPermissionDenied, language).arg(port);
    case OpenProblem::PortBusy:
        return fixedText(FixedText::PortBusy, language).arg(port);
    }
    return {};
}

QString moduleStateText(const ModuleStatus& status, const Localisation& texts)
{
    switch (status.state) {
    case ModuleState::NotPolled:
        break;
    case ModuleState::NoCable:
        if (const QString problem =
                openProblemText(status.openProblem, status.port, texts.language());
            !problem.isEmpty())
            return problem;
        return texts.text(textkey::kCableNotFound);
    case ModuleState::NoAnswer:
        return texts.text(textkey::kCableFound);
    case ModuleState::Unsupported:
        return texts.text(textkey::kDeviceUnsupported);
    case ModuleState::Present:
        return texts.text(textkey::kModuleConnected) + QStringLiteral(" Q540 v.7.0 K-")
               + QString::number(status.variant) + u' ' + moduleLanguageCode(status.languageRead);
    }
    return {};
}

void applyIdentification(ModuleStatus& status, const IdentificationOutcome& outcome,
                         const QString& typedPassword, const Localisation& texts, UserSink& sink,
                         const ModuleStatusHandlers& handlers)
{
    const bool foundVersion43 = outcome.result == Result::Unsupported
                                && outcome.deviceCode == protocol::kDeviceCodeVersion43;
    const bool version43Before = status.previousFoundVersion43;
    status.previousFoundVersion43 = foundVersion43;
    status.latencyTimerMs = outcome.latencyTimerMs;
    status.openProblem = outcome.openProblem;
    status.port = outcome.port;
    status.configurationMissing = outcome.result == Result::ConfigurationMissing;

    switch (outcome.result) {
    case Result::NoCable:
        clearModule(status);
        status.state = ModuleState::NoCable;
        return;
    case Result::NoAnswer:
        clearModule(status);
        status.state = ModuleState::NoAnswer;
        return;
    case Result::Unsupported:
        if (foundVersion43 && !version43Before)
            sink.showMessage(texts.text(textkey::kVersion43Connected) + u'\n'
                             + texts.text(textkey::kUseOlderProgram));
        clearModule(status);
        status.state = ModuleState::Unsupported;
        return;
    case Result::ModuleKnown:
    case Result::ConfigurationMissing:
        return;
    case Result::ConfigurationRead:
        if (outcome.nibbles) {
            status.configuration = outcome.nibbles;
            applyConfiguration(status, *outcome.nibbles, typedPassword, handlers);
        }
        return;
    }
}

void identifyAndApply(ModuleStatus& status, Link& link, Clock& clock, const QString& typedPassword,
                      const Localisation& texts, UserSink& sink,
                      const ModuleStatusHandlers& handlers)
{
    const IdentificationOutcome outcome = identifyModule(link, clock, !status.configurationKnown);
    applyIdentification(status, outcome, typedPassword, texts, sink, handlers);
}

} // namespace q540
