#include "directory/DirectoryGrid.h"

#include "base/FixedTexts.h"

#include <QtGlobal>

#include <algorithm>

namespace q540 {

QString entryPlaceText(EntryPlace place, int language)
{
    return place.zone == kAdditionalNumberZone
               ? fixedText(FixedText::DifferenceAtNumber, language).arg(place.number)
               : fixedText(FixedText::DifferenceAtEntry, language)
                     .arg(place.zone)
                     .arg(place.number);
}

std::size_t DirectoryGrid::index(int row, int column)
{
    Q_ASSERT(row >= 1 && row <= kGridRows && column >= 1 && column <= kGridColumns);
    return static_cast<std::size_t>((row - 1) * kGridColumns + (column - 1));
}

DirectoryGrid::Row DirectoryGrid::row(int row) const
{
    Row cells;
    std::copy_n(cells_.begin() + std::ptrdiff_t(index(row, 1)), kGridColumns, cells.begin());
    return cells;
}

void DirectoryGrid::setRow(int row, const Row& cells)
{
    std::copy(cells.begin(), cells.end(), cells_.begin() + std::ptrdiff_t(index(row, 1)));
}

QString DirectoryGrid::entryText(int row) const
{
    QString text(kEntryTextLength, Qt::Uninitialized);
    for (int c = 1; c <= kEntryTextLength; ++c)
        text[c - 1] = QChar(cell(row, c).unitOrSpace());
    return text;
}

bool DirectoryGrid::isEntryEmpty(int row) const
{
    for (int c = 1; c <= kEntryTextLength; ++c) {
        if (cell(row, c).unitOrSpace() != u' ')
            return false;
    }
    return true;
}

void DirectoryGrid::clearEntries()
{
    for (int r = 1; r <= kGridRows; ++r) {
        for (int c = 1; c <= kEntryTextLength; ++c)
            setCell(r, c, Cell());
    }
}

} // namespace q540
