#pragma once

#include "directory/NameList.h"

#include <QString>

#include <optional>

namespace q540 {

// The entry a directory write would refuse, found before anything is sent,
// so the window can name it by zone and put the cursor on its character.
struct UnshowableEntry {
    EntryPlace place;
    bool line2 = false;
    int position = 0; // the character's index in its line
    QString character;
};

// The first entry of the rows, in the order the write sends them, holding a
// character the module cannot show.
std::optional<UnshowableEntry> firstUnshowableEntry(const std::vector<NameRow>& rows);
// The refusal in a program language 0..2: the character and the entry's place.
QString unshowableEntryText(const UnshowableEntry& entry, int language);

} // namespace q540
