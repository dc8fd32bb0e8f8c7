#include "directory/EditingRules.h"

#include "base/ControlCharacter.h"

namespace q540 {

namespace {

constexpr char16_t kSpace = u' ';

bool isSpaceAt(const QString& text, int index)
{
    return index >= 0 && index < text.size() && text.at(index) == QChar(kSpace);
}

bool refusedAsFirstCharacter(char16_t c)
{
    return (c >= 33 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 128);
}

bool isBackspace(char16_t c)
{
    return c == kBackspace || c == kDeleteCharacter;
}

} // namespace

std::optional<char16_t> Edit1KeyPress(int p, int s, const QString& text, char16_t c)
{
    if (p == 0) {
        if (refusedAsFirstCharacter(c))
            return std::nullopt;
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 32);
        if (c == kSpace)
            return std::nullopt;
        // Deleting the selection must not leave a space in front.
        if (isBackspace(c) && s < text.size() && isSpaceAt(text, s))
            return std::nullopt;
    }
    // Removing the first character must not bring a space to the front.
    if (p == 1 && isBackspace(c) && text.size() > 1 && isSpaceAt(text, 1))
        return std::nullopt;
    return line2Character(c);
}

bool line1KeyAllowed(int p, int s, const QString& text, int key)
{
    if (key != kDeleteKey || p != 0 || s >= text.size())
        return true;
    if (isSpaceAt(text, s))
        return false;
    return !(s == 0 && text.size() > 1 && isSpaceAt(text, 1));
}

char16_t line2Character(char16_t c)
{
    return c == u';' ? u',' : c;
}

QString conformingText(const QString& text, bool line1)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (isControlCharacter(unit))
            continue;
        if (line1 && result.isEmpty() && (unit == kSpace || refusedAsFirstCharacter(unit)))
            continue;
        result.append(QChar(line2Character(unit)));
    }
    if (line1 && !result.isEmpty() && result.at(0) >= u'a' && result.at(0) <= u'z')
        result[0] = result.at(0).toUpper();
    return result;
}

} // namespace q540
