#include "protocol/ModuleCharset.h"

#include "base/ControlCharacter.h"
#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TrailingSpaces.h"
#include "base/UserSink.h"
#include "protocol/CharacterTable.h"
#include "protocol/Protocol.h"

#include <algorithm>
#include <array>
#include <utility>

namespace q540 {

using charset::CodePair;
using charset::kLargestModuleCode;
using charset::kLatinLookAlikes;
using charset::kModuleCharacters;

namespace {

constexpr int kCodeUnitLimit = 0x10000;
constexpr int kNoModuleCode = -1;

// Both tables by character, for a binary search per position: a full directory write
// converts some thirty thousand characters.
constexpr auto kCodeOfCharacter = [] {
    std::array<CodePair, kModuleCharacters.size() + kLatinLookAlikes.size()> all{};
    const auto rest = std::copy(kModuleCharacters.begin(), kModuleCharacters.end(), all.begin());
    std::copy(kLatinLookAlikes.begin(), kLatinLookAlikes.end(), rest);
    std::sort(all.begin(), all.end(), [](CodePair a, CodePair b) { return a.unit < b.unit; });
    return all;
}();

static_assert(std::adjacent_find(kCodeOfCharacter.begin(), kCodeOfCharacter.end(),
                                 [](CodePair a, CodePair b) { return a.unit == b.unit; })
                  == kCodeOfCharacter.end(),
              "a character may have only one module code");
static_assert(std::all_of(kCodeOfCharacter.begin(), kCodeOfCharacter.end(),
                          [](CodePair p) { return p.code > 0 && p.code <= kLargestModuleCode; }),
              "a translated character must never count as unsupported");

// Every received byte's character; codes outside the table read as their code point.
constexpr auto kCharacterOfCode = [] {
    std::array<char16_t, 256> table{};
    for (std::size_t code = 0; code < table.size(); ++code)
        table[code] = static_cast<char16_t>(code);
    for (CodePair p : kModuleCharacters)
        table[static_cast<std::size_t>(p.code)] = p.unit;
    return table;
}();

static_assert(
    [] {
        std::array<bool, 256> seen{};
        for (CodePair p : kModuleCharacters) {
            if (std::exchange(seen[static_cast<std::size_t>(p.code)], true))
                return false;
        }
        return true;
    }(),
    "a module code may show only one character");

// The module code of a code unit; a value above kLargestModuleCode (or below
// zero) when the module cannot show it.
int moduleCode(int unit)
{
    if (isControlCharacter(unit))
        return kNoModuleCode;
    const auto it = std::lower_bound(kCodeOfCharacter.begin(), kCodeOfCharacter.end(), unit,
                                     [](CodePair p, int u) { return p.unit < u; });
    return (it != kCodeOfCharacter.end() && it->unit == unit) ? it->code : unit;
}

QChar characterOfCode(int code)
{
    if (code >= 0 && code < int(kCharacterOfCode.size()))
        return QChar(kCharacterOfCode[static_cast<std::size_t>(code)]);
    if (code > 0 && code < kCodeUnitLimit)
        return QChar(static_cast<char16_t>(code));
    return QChar(QChar::ReplacementCharacter);
}

// The character to name in the message. A character beyond the 16-bit range fills two
// positions; naming only its first half would show the user a broken glyph.
QString offendingCharacter(const CellBlock& cellBlock, std::size_t i, std::size_t end)
{
    const int unit = cellBlock[i];
    if (unit < 0 || unit >= kCodeUnitLimit)
        return QString(QChar::ReplacementCharacter);
    const QChar c(static_cast<char16_t>(unit));
    if (c.isHighSurrogate() && i + 1 < end) {
        const int next = cellBlock[i + 1];
        if (next >= 0 && QChar::isLowSurrogate(static_cast<char32_t>(next)))
            return QString(c) + QChar(static_cast<char16_t>(next));
    }
    if (c.isSurrogate())
        return QString(QChar::ReplacementCharacter);
    // An invisible character is named by its number.
    if (isControlCharacter(unit))
        return QStringLiteral("U+") + QString::number(unit, 16).toUpper().rightJustified(4, u'0');
    return QString(c);
}

} // namespace

std::optional<QString> unsupportedCharacterText(QStringView character, int entryNumber, bool intro,
                                                int languageIndex)
{
    if (languageIndex < 0 || languageIndex >= Localisation::kLanguageCount)
        return std::nullopt;
    // One pass over both placeholders, so a character that reads like one stays as typed.
    return fixedText(intro ? FixedText::UnsupportedInIntro : FixedText::UnsupportedInEntry,
                     languageIndex)
        .arg(character.toString(), QString::number(entryNumber));
}

bool isModuleCharacter(char16_t unit)
{
    const int code = moduleCode(unit);
    return code >= 0 && code <= kLargestModuleCode;
}

UnshowableCharacter firstUnshowable(QStringView text)
{
    CellBlock cellBlock{};
    const auto end = std::min<std::size_t>(std::size_t(text.size()), cellBlock.size());
    for (std::size_t i = 0; i < end; ++i)
        cellBlock[i] = text[qsizetype(i)].unicode();
    for (std::size_t i = 0; i < end; ++i) {
        if (!isModuleCharacter(text[qsizetype(i)].unicode()))
            return {qsizetype(i), offendingCharacter(cellBlock, i, end)};
    }
    return {};
}

std::optional<QChar> moduleShows(char16_t unit)
{
    if (!isModuleCharacter(unit))
        return std::nullopt;
    return characterOfCode(moduleCode(unit));
}

QString shownText(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text)
        shown += moduleShows(c.unicode()).value_or(c);
    return withoutTrailingSpaces(shown);
}

std::vector<CharacterFinding> findCharacterProblems(QStringView text)
{
    using Kind = CharacterFinding::Kind;
    std::vector<CharacterFinding> found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (const std::optional<QChar> shown = moduleShows(c.unicode())) {
            if (*shown != c)
                found.push_back({Kind::LookAlike, i, QString(c), c.unicode(), *shown});
            continue;
        }
        const bool pair =
            c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(c, text.at(i + 1)) : c.unicode();
        const Kind kind = isControlCharacter(int(code)) ? Kind::Control : Kind::Unsupported;
        found.push_back({kind, i, text.mid(i, pair ? 2 : 1).toString(), code, {}});
        i += pair ? 1 : 0;
    }
    return found;
}

bool toModuleCodes(CellBlock& cellBlock, int entryNumber, bool intro, bool& refused, UserSink& sink,
                   int languageIndex)
{
    const std::size_t end = intro ? protocol::kBlockSize : protocol::kTextLength;
    for (std::size_t i = 0; i < end; ++i) {
        const int code = moduleCode(cellBlock[i]);
        // Negative values are no code unit either; as bytes they would go out as garbage.
        if (code < 0 || code > kLargestModuleCode) {
            const auto text = unsupportedCharacterText(offendingCharacter(cellBlock, i, end),
                                                       entryNumber, intro, languageIndex);
            if (text)
                sink.showMessage(*text);
            refused = true;
            return false;
        }
        cellBlock[i] = code;
    }
    return true;
}

QString fromModuleCodes(CellBlock& cellBlock, QString source, int byteCount)
{
    const int count = std::clamp(byteCount, 0, int(cellBlock.size()));
    if (source.size() < count)
        source = source.leftJustified(count, u' ');
    for (int i = 0; i < count; ++i) {
        int& code = cellBlock[static_cast<std::size_t>(i)];
        if (code == protocol::kUnwrittenByte)
            code = ' ';
        source[i] = characterOfCode(code);
    }
    return source;
}

} // namespace q540
