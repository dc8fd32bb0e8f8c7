#pragma once

#include "module/Identification.h"
#include "protocol/Protocol.h"

#include <QString>

namespace q540 {

struct ModuleStatus;

// The configuration nibbles as the directory write sends them: the count
// field (entry count - 1, or 0 for an erase), the typed installer password,
// the reset-lock box, the module language, the intro time and the
// alphabetical-search box, the last four as the module status holds them.
ConfigurationNibbles configurationNibbles(int countField, const QString& typedPassword,
                                          const ModuleStatus& status);

// A zone byte: the zone code in the low bits, a configuration nibble in the high half.
constexpr protocol::Byte zoneByte(int zoneCode, int nibble)
{
    return static_cast<protocol::Byte>((zoneCode + 16 * nibble) & 0xFF);
}

// The display time in seconds of the intro-time selection (items "1".."15" at
// indices 0..14); no selection (-1) gives 0.
constexpr int introTimeSeconds(int introTimeIndex)
{
    return introTimeIndex + 1;
}

} // namespace q540
