#include "files/FileNotices.h"

#include "base/FixedTexts.h"
#include "directory/DirectoryGrid.h"

#include <QStringList>

#include <algorithm>

namespace q540 {

namespace {

QString placeOf(const CutValue& cut, int language)
{
    switch (cut.field) {
    case CutValue::Field::Address:
        return fixedText(FixedText::NoticeAddress, language);
    case CutValue::Field::Intro:
        return fixedText(FixedText::NoticeIntroLine, language).arg(cut.index);
    case CutValue::Field::Entry:
        break;
    }
    const EntryPlace place = placeOfRow(cut.row);
    if (place.zone == kAdditionalNumberZone)
        return fixedText(FixedText::NoticeAdditionalNumber, language)
            .arg(place.number)
            .arg(cut.index);
    return fixedText(FixedText::NoticeEntry, language)
        .arg(place.zone)
        .arg(place.number)
        .arg(cut.index);
}

} // namespace

QString readNotice(const ReadNotes& notes, int language)
{
    // A message box has room for a few; the count says how many more there are.
    constexpr std::size_t kListed = 10;
    QStringList lines;
    const std::size_t cuts = notes.cutValues.size();
    for (std::size_t i = 0; i < std::min(cuts, kListed); ++i) {
        const CutValue& cut = notes.cutValues[i];
        lines << fixedText(FixedText::NoticeCut, language)
                     .arg(placeOf(cut, language))
                     .arg(cut.length)
                     .arg(cut.limit);
    }
    if (cuts > kListed)
        lines << QStringLiteral("(+%1)").arg(cuts - kListed);
    if (notes.linesHeld < notes.lineCount)
        lines << fixedText(FixedText::NoticeLinesMissing, language)
                     .arg(notes.linesHeld)
                     .arg(notes.lineCount);
    return lines.join(u'\n');
}

} // namespace q540
