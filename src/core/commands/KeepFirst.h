#pragma once

namespace q540 {

class History;
struct ModuleStatus;

// How many entries to read and keep before a write overwrites them: the
// module's, when the history's newest copy of this module does not hold as
// many; 0 when nothing need be read (no module, nothing in it, or kept).
// Unwritten memory claims 4096 entries, and a read takes at most the
// module's capacity.
int entriesToKeepFirst(const History& history, const ModuleStatus& status);

} // namespace q540
