#pragma once

#include "directory/IntroScreens.h"
#include "files/CutValue.h"
#include "files/FileProblem.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace q540 {

// The list files of older releases (".txt"): 8-bit text in the Windows-1250 code
// page of the Polish systems they were made on, one value a line, no quoting.
// Line 1 is the header, lines 2j and 2j+1 the two lines of entry j (1..255) of
// zone 1, 512..520 the intro lines with an unused line at 514, 521 the display time.
inline constexpr qsizetype kListFileMinSize = 935;
inline constexpr qsizetype kListFileMaxSize = 7177;
inline constexpr int kListFileEntryCount = 255;

struct ListEntry {
    int apartment = 0; // 1..255 in zone 1
    QString line1;     // as in the file; the page keeps the first 16 characters
    QString line2;     // the page keeps the first 14
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// What a list file supplies; everything else in the directory stays as it is.
struct ListImport {
    // Only the entries whose line 1 is neither empty nor starts with a space.
    std::vector<ListEntry> entries;
    // Cut to the intro fields' 16 characters.
    IntroLines intro;
    int timeIndex = kIntroTimeNone;
};

// Header, 510 entry lines, nine intro lines and the display time.
inline constexpr int kListFileLineCount = 1 + 2 * kListFileEntryCount + 9 + 1;

struct ListFileParse {
    std::optional<ListImport> list; // set exactly when problem is None
    FileProblem problem = FileProblem::None;
    // The entries' lines longer than the page keeps (zone 1's rows), the intro
    // lines cut to their fields, and a file that ended early.
    ReadNotes notes;
};

// Reads a whole list file: size and header first (wrong file), then a display
// time that is not an integer (structure error). Missing lines at the end are
// empty; an empty display time counts as 3.
ListFileParse parseListFile(QByteArrayView bytes);

// Windows-1250 to UTF-16, through ICU's converter.
QString decodeWindows1250(QByteArrayView bytes);

} // namespace q540
