#include "base/PrintableText.h"

#include "base/ControlCharacter.h"

namespace q540 {

namespace {

// Invisible characters that turn the direction of the text after them: a name
// could show as another.
constexpr bool isDirectionOverride(char16_t unit)
{
    return (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069);
}

// U+DC80..U+DCFF carry the bytes of a file name that are not UTF-8.
constexpr bool isRawByte(char16_t unit)
{
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

// The code of unit as \x.. below U+0080 (as a byte of ASCII) or for a raw
// byte of a file name (that byte, as a shell shows it), else \u.....
QString escapeOf(char16_t unit)
{
    const bool raw = isRawByte(unit);
    if (raw)
        unit -= 0xDC00;
    const bool ascii = unit < 0x80 || raw;
    return (ascii ? QStringLiteral("\\x") : QStringLiteral("\\u"))
           + QString::number(uint(unit), 16).toUpper().rightJustified(ascii ? 2 : 4, u'0');
}

QString escaped(QStringView text, bool keepLineBreaks)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if ((isControlCharacter(unit) && !(keepLineBreaks && unit == u'\n'))
            || isDirectionOverride(unit) || isRawByte(unit))
            out += escapeOf(unit);
        else
            out += c;
    }
    return out;
}

} // namespace

QString printableText(QStringView text)
{
    return escaped(text, false);
}

QString printableLines(QStringView text)
{
    return escaped(text, true);
}

} // namespace q540
