#include "files/PasteReach.h"

#include "base/FixedTexts.h"
#include "directory/NameList.h"

namespace q540 {

namespace {

bool offPage(int row, EntryPlace shown)
{
    const EntryPlace place = placeOfRow(row);
    return place.zone != kAdditionalNumberZone
           && tabPageOfApartment(place.number) != tabPageOfApartment(shown.number);
}

} // namespace

PasteReach pasteReach(const DirectoryGrid& grid, const TableRead& rows, EntryPlace pastedInto)
{
    PasteReach reach;
    for (const TableEntry& entry : rows.entries) {
        // The entry pasted into is the one the user is looking at.
        if (entry.gridRow == rowOfPlace(pastedInto)
            || (grid.isEntryEmpty(entry.gridRow) && !offPage(entry.gridRow, pastedInto)))
            continue;
        if (reach.count++ == 0)
            reach.firstRow = entry.gridRow;
        reach.lastRow = entry.gridRow;
    }
    return reach;
}

QString pasteQuestion(const PasteReach& reach, int language)
{
    return fixedText(FixedText::PasteReplaces, language)
        .arg(reach.count)
        .arg(entryPlaceText(placeOfRow(reach.firstRow), language),
             entryPlaceText(placeOfRow(reach.lastRow), language));
}

} // namespace q540
