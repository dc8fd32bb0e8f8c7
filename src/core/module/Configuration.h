#pragma once

#include "protocol/ConfigurationBlock.h"

#include <QString>

#include <vector>

namespace q540 {

struct ModuleStatus;

// The configuration nibbles as the directory write sends them: the count
// field (entry count - 1, or 0 for an erase), the typed installer password,
// the reset-lock box, the module language, the intro time and the
// alphabetical-search box, the last four as the module status holds them.
protocol::ConfigurationNibbles configurationNibbles(int countField, const QString& typedPassword,
                                                    const ModuleStatus& status);

// A setting of the configuration block that the module holds otherwise than
// it was written. The module's variant digit is its own and never compared.
struct ConfigurationDifference {
    enum class Field { EntryCount, Password, ResetLock, Language, IntroTime, AlphabeticalSearch };
    Field field = Field::EntryCount;
    int written = 0;
    int held = 0;
    friend bool operator==(const ConfigurationDifference&,
                           const ConfigurationDifference&) = default;
};

// One setting as the nibbles hold it: the password as one number (12 34 is
// 1234), a switch as 1 or 0, the lock 1 when the reset is locked.
int configurationValue(const protocol::ConfigurationNibbles& nibbles,
                       ConfigurationDifference::Field field);

// Every setting that differs, in the order of Field.
std::vector<ConfigurationDifference>
compareConfiguration(const protocol::ConfigurationNibbles& sent,
                     const protocol::ConfigurationNibbles& held);

// A setting's name and one of its values in words, in a program language
// (0..2): "installer password", "1234"; "reset lock", "on".
QString configurationFieldText(ConfigurationDifference::Field field, int language);
QString configurationValueText(ConfigurationDifference::Field field, int value, int language);

// "installer password: written 1234, the module holds 1243".
QString differenceText(const ConfigurationDifference& difference, int language);

} // namespace q540
