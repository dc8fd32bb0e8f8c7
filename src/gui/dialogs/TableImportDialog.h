#pragma once

#include "files/TableEncoding.h"

#include <functional>
#include <optional>

class QWidget;

namespace q540 {

struct TableRead;

// The table read again in the encoding the user chose; nothing: the guess.
using TableRereading = std::function<TableRead(std::optional<TableEncoding>)>;

// The report of a table about to be imported, every row that could not be
// taken as it stood, and the choice: replace the whole directory (true),
// merge the rows into it (false), or cancel (nothing). Rows pasted into the
// entries are only merged: offerReplace false leaves that choice out. With
// reread, the user may choose the encoding; table becomes that reading.
std::optional<bool> askTableImport(TableRead& table, int language, QWidget* parent,
                                   bool offerReplace = true, const TableRereading& reread = {});

} // namespace q540
