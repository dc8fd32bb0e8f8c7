#pragma once

#include <QString>
#include <QStringView>

namespace q540 {

// Text that came from a file, a module or a table, made safe to print where a
// terminal acts on what it is given: an escape sequence could set the
// window's title or clear the screen, a NUL or a line break inside a value
// could hide or forge a line, and a direction override could show a name
// backwards. Each such character is written as its code, visibly: C0
// controls and DEL as \x1B, C1 controls and the invisible direction
// overrides (U+202A..U+202E, U+2066..U+2069) as \u0085 and \u202E. Every
// other character, a backslash too, stays as it is.
QString printableText(QStringView text);

// The same for a message of the program's own that may embed such text: its
// line breaks stay line breaks. A line break inside an embedded value cannot
// be told from the message's own, so values that may hold one are made
// printable on their own first.
QString printableLines(QStringView text);

} // namespace q540
