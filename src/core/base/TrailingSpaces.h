#pragma once

#include <QString>

namespace q540 {

// A text without the spaces at its end: the module pads every line with
// spaces, so a line is compared, printed and exported without them.
inline QString withoutTrailingSpaces(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    text.truncate(end);
    return text;
}

} // namespace q540
