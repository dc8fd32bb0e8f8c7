#pragma once

#include "files/ResidentTable.h"

#include <QString>

namespace q540 {

// What pasted rows would replace that the user did not see being filled:
// entries after the one pasted into that hold text or lie beyond the tab
// page on screen. The
// first and last are grid rows; count 0 means the paste needs no question.
struct PasteReach {
    int count = 0;
    int firstRow = 0;
    int lastRow = 0;
};

// The rows were pasted into the entry at pastedInto, whose tab is the one on
// screen (the additional numbers have one page).
PasteReach pasteReach(const DirectoryGrid& grid, const TableRead& rows, EntryPlace pastedInto);
// The question before such a paste, in a program language 0..2.
QString pasteQuestion(const PasteReach& reach, int language);

} // namespace q540
