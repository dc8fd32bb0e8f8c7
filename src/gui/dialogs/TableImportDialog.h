#pragma once

#include <optional>

class QWidget;

namespace q540 {

struct TableRead;

// The report of a table about to be imported, every row that could not be
// taken as it stood, and the choice: replace the whole directory (true),
// merge the rows into it (false), or cancel (nothing). Rows pasted into the
// entries are only merged: offerReplace false leaves that choice out.
std::optional<bool> askTableImport(const TableRead& table, int language, QWidget* parent,
                                   bool offerReplace = true);

} // namespace q540
