#pragma once

#include "directory/DirectoryDocument.h"
#include "files/CutValue.h"
#include "files/FileProblem.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace q540 {

// The directory file (".csv"): UTF-8 with a byte order mark, one value a line,
// each followed by a semicolon, lines ended by CR LF. Line 1 is the header,
// line 2 the address note, 3..10 the intro lines, 11 the display time (1..15,
// 0 for none), 12 the module's language code, then two lines for each of the
// 1028 grid rows: cells 1..16 and cells 17..32, empty cells adding nothing.
inline constexpr int kDirectoryFileLineCount = 13 + 2 * (kGridRows - 1) + 1; // 2068
inline constexpr qsizetype kDirectoryFileMinSize = 935;

// The largest file the writer can produce: every value at its longest and every
// character three bytes long in UTF-8, the most any single UTF-16 unit takes.
// Anything larger cannot have come from this program and is refused unread.
inline constexpr qsizetype kDirectoryFileMaxSize = [] {
    constexpr qsizetype kUnitBytes = 3;
    constexpr qsizetype kEnd = 3;            // ";" CR LF
    constexpr qsizetype kLongestNumber = 11; // "-2147483648"
    return qsizetype(3) + 13 + 2 + (kAddressLength * kUnitBytes + kEnd)
           + kIntroLineCount * (kIntroLineLength * kUnitBytes + kEnd) + (2 + kEnd)
           + (kLongestNumber + kEnd) + 2 * kGridRows * (kLine1Length * kUnitBytes + kEnd);
}();

// The value of one line after the header: an empty line is empty; otherwise the
// line without its last character, which the writer's semicolon occupies and
// which is therefore not checked. A semicolon anywhere before it breaks the
// format and gives nothing.
std::optional<QString> decodeFileLine(QStringView line);

// The bytes of the file for a document. A semicolon would end a value early and
// a line break would shift every later line, so each is written as a comma or a
// space: whatever the grid received from a list file or a module, the file opens
// again. The address and intro lines are cut to their fields' lengths.
QByteArray directoryFileBytes(const DirectoryDocument& document);

struct DirectoryFileParse {
    std::optional<DirectoryDocument> document; // set exactly when problem is None
    FileProblem problem = FileProblem::None;
    ReadNotes notes;
};

// Reads a whole file: size and header first (wrong file), then every line
// (structure error at a semicolon inside a value, or a display time or language
// that is not an integer). Missing lines at the end are empty, lines after the
// last are ignored, an empty language reads as 1. Longer values are cut to
// their fields and listed in cutValues.
DirectoryFileParse parseDirectoryFile(QByteArrayView bytes);

} // namespace q540
