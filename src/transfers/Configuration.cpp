#include "transfers/Configuration.h"

#include "link/ModuleStatus.h"

namespace q540 {

namespace {

constexpr int kNibbleBase = 16;
constexpr int kResetAllowedBit = 8;       // added to nibble 6 while the reset-lock box is clear
constexpr int kAlphabeticalSearchBit = 8; // nibble 12
constexpr int kUnusedNibble = 15;         // nibbles 13..15 are written all ones

enum Nibble {
    kCountLow = 0,
    kCountMiddle = 1,
    kCountHigh = 2,
    kPasswordFirstLow = 3,
    kPasswordFirstHigh = 4,
    kPasswordSecondLow = 5,
    kPasswordSecondHighAndReset = 6,
    kLanguage = 7,
    kIntroTime = 11,
    kSwitches = 12,
    kFirstUnused = 13,
};

} // namespace

ConfigurationNibbles configurationNibbles(int countField, const QString& typedPassword,
                                          const ModuleStatus& status)
{
    // The password goes back as typed; the write runs only when it matches
    // the module's, so the module keeps its password.
    const int first = typedPassword.left(2).toInt();
    const int second = typedPassword.mid(2, 2).toInt();

    ConfigurationNibbles n{};
    n[kCountLow] = countField % kNibbleBase;
    n[kCountMiddle] = countField / kNibbleBase % kNibbleBase;
    n[kCountHigh] = countField / (kNibbleBase * kNibbleBase) % kNibbleBase;
    n[kPasswordFirstLow] = first % kNibbleBase;
    n[kPasswordFirstHigh] = first / kNibbleBase;
    n[kPasswordSecondLow] = second % kNibbleBase;
    n[kPasswordSecondHighAndReset] =
        second / kNibbleBase + (status.resetLockTicked ? 0 : kResetAllowedBit);
    n[kLanguage] = status.jezyk_modulu;
    n[kIntroTime] = introTimeSeconds(status.introTimeIndex);
    n[kSwitches] = status.alphabeticalSearchTicked ? kAlphabeticalSearchBit : 0;
    for (int i = kFirstUnused; i < protocol::kConfigurationSize; ++i)
        n[static_cast<std::size_t>(i)] = kUnusedNibble;
    return n;
}

} // namespace q540
