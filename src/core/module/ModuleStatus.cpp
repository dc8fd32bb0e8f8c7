#include "module/ModuleStatus.h"

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
constexpr int kResetAllowedBit = 8;       // bit 3 of nibble 6
constexpr int kAlphabeticalSearchBit = 8; // bit 3 of nibble 12

// Which configuration nibble carries what.
enum Nibble {
    kCountLow = 0,
    kCountMiddle = 1,
    kCountHigh = 2,
    kPasswordFirstLow = 3,
    kPasswordFirstHigh = 4,
    kPasswordSecondLow = 5,
    kPasswordSecondHighAndReset = 6,
    kLanguage = 7,
    kVariant = 9,
    kIntroTime = 11,
    kSwitches = 12,
};

void clearModule(ModuleStatus& status)
{
    status.Edit520.clear();
    status.haslo_zgodne = false;
    status.passwordColour = PasswordColour::Normal;
    status.jezyk_modulu = 0;
    status.jest_odpowiedz = false;
}

void setState(ModuleStatus& status, int image, int tag, const QString& text)
{
    status.stateImageIndex = image;
    status.stateTag = tag;
    status.statusText = text;
}

void applyConfiguration(ModuleStatus& status, const ConfigurationNibbles& n,
                        const QString& typedPassword, const Localisation& texts,
                        const ModuleStatusHandlers& handlers)
{
    status.jest_odpowiedz = true;
    status.Edit520 = QString::number(n[kCountLow] + 16 * n[kCountMiddle] + 256 * n[kCountHigh] + 1);

    PasswordPairs module{n[kPasswordFirstLow] + 16 * n[kPasswordFirstHigh],
                         n[kPasswordSecondLow] + 16 * (n[kPasswordSecondHighAndReset] % 8)};
    if (module.first > kHighestPasswordHalf || module.second > kHighestPasswordHalf)
        module = {0, 0};
    status.haslo_zgodne = passwordPairs(typedPassword) == module;
    status.passwordColour = status.haslo_zgodne ? PasswordColour::Green : PasswordColour::Red;

    status.jezyk_modulu =
        n[kLanguage] > protocol::kHighestLanguageCode ? kFallbackLanguageCode : n[kLanguage];
    status.introTimeIndex = n[kIntroTime] - 1;

    if (status.Odczyt_wyszukiwania_alfa == ModuleStatus::kAlphabeticalSearchUnknown) {
        const bool on = n[kSwitches] >= kAlphabeticalSearchBit;
        status.Odczyt_wyszukiwania_alfa =
            on ? ModuleStatus::kAlphabeticalSearchOn : ModuleStatus::kAlphabeticalSearchOff;
        const bool changed = status.alphabeticalSearchTicked != on;
        status.alphabeticalSearchTicked = on;
        if (changed && handlers.alphabeticalSearchClicked)
            handlers.alphabeticalSearchClicked(status);
    }

    setState(status, ModuleStatus::kImageModulePresent, ModuleStatus::kTagModulePresent,
             texts.text(textkey::kModuleConnected) + QStringLiteral(" Q540 v.7.0 K-")
                 + QString::number(n[kVariant]) + u' ' + moduleLanguageCode(status.jezyk_modulu));

    status.sprawdzanie_wersji = true;
    const bool locked = n[kPasswordSecondHighAndReset] < kResetAllowedBit;
    const bool changed = status.resetLockTicked != locked;
    status.resetLockTicked = locked;
    if (changed && handlers.resetLockClicked)
        handlers.resetLockClicked(status);
    status.sprawdzanie_wersji = false;
}

} // namespace

QString moduleLanguageCode(int jezyk_modulu)
{
    static const QString codes[] = {QString(),
                                    QStringLiteral("PL"),
                                    QStringLiteral("EN"),
                                    QStringLiteral("NO"),
                                    QStringLiteral("SV"),
                                    QStringLiteral("DE"),
                                    QStringLiteral("CS"),
                                    QStringLiteral("RU")};
    if (jezyk_modulu < 0 || jezyk_modulu > protocol::kHighestLanguageCode)
        return {};
    return codes[jezyk_modulu];
}

void applyIdentification(ModuleStatus& status, const IdentificationOutcome& outcome,
                         const QString& typedPassword, const Localisation& texts, UserSink& sink,
                         const ModuleStatusHandlers& handlers)
{
    const bool foundVersion43 = outcome.result == Result::Unsupported
                                && outcome.deviceCode == protocol::kDeviceCodeVersion43;
    const bool version43Before = status.previousFoundVersion43;
    status.previousFoundVersion43 = foundVersion43;

    switch (outcome.result) {
    case Result::NoCable:
        clearModule(status);
        setState(status, ModuleStatus::kImageNoCable, ModuleStatus::kTagNoModule,
                 texts.text(textkey::kCableNotFound));
        return;
    case Result::NoAnswer:
        clearModule(status);
        setState(status, ModuleStatus::kImageNoModule, ModuleStatus::kTagNoModule,
                 texts.text(textkey::kCableFound));
        return;
    case Result::Unsupported:
        if (foundVersion43 && !version43Before)
            sink.showMessage(texts.text(textkey::kVersion43Connected) + u'\n'
                             + texts.text(textkey::kUseOlderProgram));
        clearModule(status);
        setState(status, ModuleStatus::kImageNoModule, ModuleStatus::kTagNoModule,
                 texts.text(textkey::kDeviceUnsupported));
        return;
    case Result::ModuleKnown:
    case Result::ConfigurationMissing:
        status.zmienHasloEnabled = true;
        return;
    case Result::ConfigurationRead:
        status.zmienHasloEnabled = true;
        if (outcome.nibbles)
            applyConfiguration(status, *outcome.nibbles, typedPassword, texts, handlers);
        return;
    }
}

void Odczytaj_dane(ModuleStatus& status, Link& link, Clock& clock, const QString& typedPassword,
                   const Localisation& texts, UserSink& sink, const ModuleStatusHandlers& handlers)
{
    const IdentificationOutcome outcome = identifyModule(link, clock, !status.jest_odpowiedz);
    applyIdentification(status, outcome, typedPassword, texts, sink, handlers);
}

} // namespace q540
