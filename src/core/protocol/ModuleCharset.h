#pragma once

// The two conversions between the program's UTF-16 text and the module's display codes,
// both in place over the buffer cellBlock, and the message for a character the module
// cannot show.

#include "protocol/CellBlock.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace q540 {

class UserSink;

// Whether the module can show a UTF-16 code unit (a half of a surrogate pair
// never, a control character never).
bool isModuleCharacter(char16_t unit);
// The first character of text the module cannot show, as a refusal names it
// (an invisible one by its number), with its index; index -1 when there is none.
struct UnshowableCharacter {
    qsizetype index = -1;
    QString name;
};
UnshowableCharacter firstUnshowable(QStringView text);

// The character the module's display shows for a code unit it can show: its
// module code read back. Another character than the unit's own for the
// look-alikes (© shows as У, à as Д); none when the module cannot show it.
std::optional<QChar> moduleShows(char16_t unit);

// A text as the module's display shows it: each character the one its
// module code reads back as (one the module cannot show stays as it is, for
// a write refuses it anyway), without trailing spaces.
QString shownText(QStringView text);

// A character of a text that the module cannot show, or shows as another one.
struct CharacterFinding {
    enum class Kind { Unsupported, Control, LookAlike };
    Kind kind;
    qsizetype position = 0; // of its first code unit, from 0
    QString character;      // as written: two units beyond the 16-bit range
    char32_t codePoint = 0;
    QChar shownAs; // LookAlike: what the display shows instead
};

// Every character of text that the module cannot show (controls apart) and
// every one it would show as a different character, in order.
std::vector<CharacterFinding> findCharacterProblems(QStringView text);

// Converts cellBlock from UTF-16 code units to module codes: positions 0..29 of a directory
// entry (30 and 31 carry numbers and are not touched) or, with intro, all 32 positions of
// an intro screen. At the first character the module cannot show it shows the message
// naming entryNumber (the apartment number, or the intro screen number 1..4), sets refused
// and returns false; that position and the ones after it stay unconverted. refused is
// never cleared here: a caller that tests it clears it first.
bool toModuleCodes(CellBlock& cellBlock, int entryNumber, bool intro, bool& refused, UserSink& sink,
                   int languageIndex);

// Returns the template source (callers pass spaces) with its first byteCount characters
// replaced by the characters of the module codes cellBlock[0..byteCount-1]; characters after
// them stay. A code 255, unwritten memory, is first turned into a space in cellBlock itself.
// byteCount is limited to 0..32, and a template shorter than it is padded with spaces.
QString fromModuleCodes(CellBlock& cellBlock, QString source, int byteCount);

// The message for the unsupported character, in the user-interface language (0 Polish,
// 1 English, 2 German); other language indices show nothing.
std::optional<QString> unsupportedCharacterText(QStringView character, int entryNumber, bool intro,
                                                int languageIndex);

} // namespace q540
