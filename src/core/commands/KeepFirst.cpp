#include "commands/KeepFirst.h"

#include "directory/NameList.h"
#include "files/History.h"
#include "module/ModuleStatus.h"

#include <algorithm>

namespace q540 {

int entriesToKeepFirst(const History& history, const ModuleStatus& status)
{
    const int entries = std::min(status.entryCount, kNameListLimit);
    if (!status.modulePresent() || entries <= 0
        || history.holdsModuleContents(status.variant, entries))
        return 0;
    return entries;
}

} // namespace q540
