#pragma once

#include "protocol/ConfigurationBlock.h"

#include <QString>

namespace q540 {

struct ModuleStatus;

// The configuration nibbles as the directory write sends them: the count
// field (entry count - 1, or 0 for an erase), the typed installer password,
// the reset-lock box, the module language, the intro time and the
// alphabetical-search box, the last four as the module status holds them.
protocol::ConfigurationNibbles configurationNibbles(int countField, const QString& typedPassword,
                                                    const ModuleStatus& status);

} // namespace q540
