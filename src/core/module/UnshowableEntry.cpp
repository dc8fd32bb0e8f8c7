#include "module/UnshowableEntry.h"

#include "base/FixedTexts.h"
#include "protocol/ModuleCharset.h"

namespace q540 {

std::optional<UnshowableEntry> firstUnshowableEntry(const std::vector<NameRow>& rows)
{
    for (const NameRow& row : rows) {
        const UnshowableCharacter found = firstUnshowable(row.text);
        if (found.index < 0)
            continue;
        const bool line2 = found.index >= kLine1Length;
        return UnshowableEntry{{row.zone, row.apartment},
                               line2,
                               int(found.index) - (line2 ? kLine1Length : 0),
                               found.name};
    }
    return std::nullopt;
}

QString unshowableEntryText(const UnshowableEntry& entry, int language)
{
    return fixedText(FixedText::UnsupportedAtPlace, language)
        .arg(entry.character, entryPlaceText(entry.place, language));
}

} // namespace q540
