#pragma once

#include "protocol/Protocol.h"

#include <array>

namespace q540::protocol {

// The module's configuration: sixteen nibbles, the high halves of the zone
// bytes of positions 0..15. The directory write sends them in its zone bytes
// and the configuration read (13,1) returns them; this is the one place that
// knows which nibble carries what.
using ConfigurationNibbles = std::array<int, kConfigurationSize>;

// What the nibbles say, field by field.
struct ConfigurationFields {
    int countField = 0;     // entry count - 1; 0 for an erased module (12 bits)
    int passwordFirst = 0;  // the first pair of the installer password
    int passwordSecond = 0; // the second pair
    bool resetAllowed = false;
    int languageCode = 0;     // as stored, 0..15
    int variant = 0;          // the module's own variant digit; written as 0
    int introTimeSeconds = 0; // 0..15
    bool alphabeticalSearch = false;

    friend bool operator==(const ConfigurationFields&, const ConfigurationFields&) = default;
};

// The nibbles that carry the installer password, the reset flag beside it in
// the last: a trace shown to others masks them.
inline constexpr int kFirstPasswordNibble = 3;
inline constexpr int kLastPasswordNibble = 6;

ConfigurationNibbles encodeConfiguration(const ConfigurationFields& fields);
ConfigurationFields decodeConfiguration(const ConfigurationNibbles& nibbles);

// A zone byte: the zone code in the low bits, a configuration nibble in the high half.
constexpr Byte zoneByte(int zoneCode, int nibble)
{
    return static_cast<Byte>((zoneCode + 16 * nibble) & 0xFF);
}

} // namespace q540::protocol
