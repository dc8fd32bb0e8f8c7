#include "module/Configuration.h"

#include "module/ModuleStatus.h"

namespace q540 {

namespace {

constexpr int kNibbleBase = 16;
constexpr int kResetAllowedBit = 8;       // added to nibble 6 while the reset-lock box is clear
constexpr int kAlphabeticalSearchBit = 8; // nibble 12
constexpr int kUnusedNibble = 15;         // nibbles 13..15 are written all ones

} // namespace

ConfigurationNibbles configurationNibbles(int countField, const QString& typedPassword,
                                          const ModuleStatus& status)
{
    // The password goes back as typed; the write runs only when it matches
    // the module's, so the module keeps its password.
    const int first = typedPassword.left(2).toInt();
    const int second = typedPassword.mid(2, 2).toInt();
    const int resetAllowed = status.resetLockTicked ? 0 : kResetAllowedBit;
    const int alphabetical = status.alphabeticalSearchTicked ? kAlphabeticalSearchBit : 0;
    // One nibble a line, in nibble order.
    return {
        countField % kNibbleBase,
        countField / kNibbleBase % kNibbleBase,
        countField / (kNibbleBase * kNibbleBase) % kNibbleBase,
        first % kNibbleBase,
        first / kNibbleBase,
        second % kNibbleBase,
        second / kNibbleBase + resetAllowed,
        status.jezyk_modulu,
        0,
        0, // the variant digit is the module's own
        0,
        introTimeSeconds(status.introTimeIndex),
        alphabetical,
        kUnusedNibble,
        kUnusedNibble,
        kUnusedNibble,
    };
}

} // namespace q540
