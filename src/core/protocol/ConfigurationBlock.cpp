#include "protocol/ConfigurationBlock.h"

namespace q540::protocol {

namespace {

constexpr int kNibbleBase = 16;
constexpr int kFlagBit = 8; // bit 3: reset allowed in nibble 6, alphabetical search in 12
constexpr int kUnusedNibble = kHighestNibble; // nibbles 13..15 are written all ones

enum Nibble {
    kCountLow = 0,
    kCountMiddle = 1,
    kCountHigh = 2,
    kPasswordFirstLow = kFirstPasswordNibble,
    kPasswordFirstHigh = 4,
    kPasswordSecondLow = 5,
    kPasswordSecondHighAndReset = kLastPasswordNibble,
    kLanguage = 7,
    kVariant = 9,
    kIntroTime = 11,
    kSwitches = 12,
};

} // namespace

ConfigurationNibbles encodeConfiguration(const ConfigurationFields& f)
{
    ConfigurationNibbles n{};
    n[kCountLow] = f.countField % kNibbleBase;
    n[kCountMiddle] = f.countField / kNibbleBase % kNibbleBase;
    n[kCountHigh] = f.countField / (kNibbleBase * kNibbleBase) % kNibbleBase;
    n[kPasswordFirstLow] = f.passwordFirst % kNibbleBase;
    n[kPasswordFirstHigh] = f.passwordFirst / kNibbleBase;
    n[kPasswordSecondLow] = f.passwordSecond % kNibbleBase;
    n[kPasswordSecondHighAndReset] =
        f.passwordSecond / kNibbleBase + (f.resetAllowed ? kFlagBit : 0);
    n[kLanguage] = f.languageCode;
    n[kVariant] = f.variant;
    n[kIntroTime] = f.introTimeSeconds;
    n[kSwitches] = f.alphabeticalSearch ? kFlagBit : 0;
    for (int i = kSwitches + 1; i < kConfigurationSize; ++i)
        n[static_cast<std::size_t>(i)] = kUnusedNibble;
    return n;
}

ConfigurationFields decodeConfiguration(const ConfigurationNibbles& n)
{
    ConfigurationFields f;
    f.countField =
        n[kCountLow] + kNibbleBase * n[kCountMiddle] + kNibbleBase * kNibbleBase * n[kCountHigh];
    f.passwordFirst = n[kPasswordFirstLow] + kNibbleBase * n[kPasswordFirstHigh];
    f.passwordSecond =
        n[kPasswordSecondLow] + kNibbleBase * (n[kPasswordSecondHighAndReset] % kFlagBit);
    f.resetAllowed = n[kPasswordSecondHighAndReset] >= kFlagBit;
    f.languageCode = n[kLanguage];
    f.variant = n[kVariant];
    f.introTimeSeconds = n[kIntroTime];
    f.alphabeticalSearch = n[kSwitches] >= kFlagBit;
    return f;
}

} // namespace q540::protocol
