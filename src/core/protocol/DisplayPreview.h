#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <vector>

namespace q540 {

// What the panel's display will show of an entry or an intro screen: two rows
// of character cells, 16 and 14 for an entry, 16 and 16 for an intro screen.
// Each cell holds the character that the module's code for the typed one
// reads back as, so a look-alike (© typed, У shown) is seen before it is
// written.
inline constexpr int kDisplayRowLength = 16;
inline constexpr int kDisplayEntryRow2Length = 14;

enum class CellMark {
    None,
    LookAlike,   // the display shows another character than the one typed
    Unsupported, // the module cannot show it: a write refuses the entry
};

struct DisplayCell {
    QString typed; // as typed (both halves of a pair beyond 16 bits); empty when blank
    QChar shown;   // what the display shows; a space for a blank cell
    CellMark mark = CellMark::None;
    friend bool operator==(const DisplayCell&, const DisplayCell&) = default;
};

using DisplayRow = std::vector<DisplayCell>;
using DisplayPreview = std::array<DisplayRow, 2>;

// The cells of two lines, each cut or padded to its row length.
DisplayPreview displayPreview(QStringView line1, QStringView line2, int row2Length);
// The worst mark of a text (an entry's 30 characters, say): Unsupported
// before LookAlike before None.
CellMark textMark(QStringView text);
// The tool tip of a marked cell in a program language 0..2: what was typed
// and what will show, or that the module cannot show it. Empty for None.
QString cellNote(const DisplayCell& cell, int language);
// Every marked character of a text, one note a line; empty when none is.
QString textNotes(QStringView text, int language);

} // namespace q540
