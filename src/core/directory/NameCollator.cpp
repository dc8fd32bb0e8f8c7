#include "directory/NameCollator.h"

#include <QLocale>
#include <QVarLengthArray>
#include <QtGlobal>

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/tblcoll.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace q540 {

struct NameCollator::Collation {
    std::unique_ptr<icu::RuleBasedCollator> collator;
};

namespace {

constexpr char16_t kSoftHyphen = u'\u00AD';

// The characters that word sort keeps out of the letter, accent and case levels, and their
// weights in the special section: apostrophes before hyphens and dashes. Zero for all others.
char specialWeight(char16_t unit)
{
    switch (unit) {
    case u'\'':
        return 1;
    case u'\uFF07':
        return 2;
    case u'-':
        return 3;
    case u'\u2010':
    case u'\u2011':
    case u'\u2012':
    case u'\u2013':
    case u'\u2014':
        return static_cast<char>(4 + (unit - u'\u2010'));
    case u'\u2212':
        return 9;
    case u'\uFF0D':
        return 10;
    default:
        return 0;
    }
}

// A text split the way word sort reads it. The special section holds three bytes per hyphen or
// apostrophe: its position among the other characters, inverted because word sort ranks a mark
// further right before one further left, and its weight. Fixed-width entries make the byte order
// of two sections their entry-by-entry order, a section that ends first sorting first.
struct WordSortParts {
    explicit WordSortParts(const QString& text)
    {
        for (const QChar c : text) {
            const char16_t unit = c.unicode();
            if (unit == kSoftHyphen)
                continue;
            if (const char weight = specialWeight(unit)) {
                const int inverted =
                    0xFFFF - static_cast<int>(std::min<qsizetype>(base.size(), 0xFFFF));
                special.append(static_cast<char>(inverted >> 8));
                special.append(static_cast<char>(inverted & 0xFF));
                special.append(weight);
            } else {
                base.append(unit);
            }
        }
    }

    int32_t baseLength() const { return static_cast<int32_t>(base.size()); }

    QVarLengthArray<char16_t, 64> base;
    QVarLengthArray<char, 24> special;
};

// Space and the other symbols in lstrcmpW's order: the ASCII punctuation in code order, except
// that + < = > follow ~. Hyphen and apostrophe never reach the collator.
constexpr std::u16string_view kSymbolOrder = u" !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";

icu::UnicodeString symbolRules()
{
    // Chained right after the space, which keeps all of them ahead of the digits as in ICU's
    // root order. Each is quoted because most are syntax characters of ICU's rules, which have
    // no \u escapes: a backslash quotes only the "u" after it.
    icu::UnicodeString rules(u"&' '");
    for (const char16_t symbol : kSymbolOrder.substr(1)) {
        const char16_t quoted[] = {u'<', u'\'', symbol, u'\''};
        rules.append(quoted, 0, 4);
    }
    return rules;
}

std::unique_ptr<icu::RuleBasedCollator> makeCollator(const QString& localeName)
{
    // lstrcmpW orders by the user's locale, which is what QLocale::system() reports on every
    // platform.
    const QString name = localeName.isEmpty() ? QLocale::system().name() : localeName;
    const icu::Locale locale(name.toLatin1().constData());

    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString rules;
    const std::unique_ptr<icu::Collator> localeCollator(
        icu::Collator::createInstance(locale, status));
    if (const auto* ruleBased = dynamic_cast<const icu::RuleBasedCollator*>(localeCollator.get()))
        rules = ruleBased->getRules();
    rules += symbolRules();

    status = U_ZERO_ERROR;
    auto collator = std::make_unique<icu::RuleBasedCollator>(rules, status);
    if (U_FAILURE(status)) {
        // A locale whose own tailoring does not take ours still gets the symbol order, on
        // ICU's root order of the letters.
        status = U_ZERO_ERROR;
        collator = std::make_unique<icu::RuleBasedCollator>(symbolRules(), status);
    }
    if (U_FAILURE(status))
        qFatal("NameCollator: ICU cannot build a collator (%s)", u_errorName(status));

    // Polish, English and German are non-ignorable already, but some locales (Thai) shift
    // spaces and punctuation out of the comparison, and lstrcmpW always weighs them.
    collator->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, status);
    collator->setAttribute(UCOL_STRENGTH, UCOL_TERTIARY, status);
    return collator;
}

} // namespace

NameCollator::NameCollator(const QString& localeName)
    : collation_(std::make_shared<const Collation>(Collation{makeCollator(localeName)}))
{
}

QByteArray NameCollator::sortKey(const QString& text) const
{
    const WordSortParts parts(text);
    const icu::Collator& collator = *collation_->collator;

    // Large enough for any entry text, so the key is allocated once at its exact size.
    std::array<uint8_t, 256> buffer;
    const int32_t length = collator.getSortKey(parts.base.data(), parts.baseLength(), buffer.data(),
                                               static_cast<int32_t>(buffer.size()));
    // ICU's key ends in its only zero byte, so what follows it only orders texts that the
    // collator finds equal.
    QByteArray key(length + parts.special.size(), Qt::Uninitialized);
    auto* keyBytes = reinterpret_cast<uint8_t*>(key.data());
    if (length <= static_cast<int32_t>(buffer.size()))
        std::memcpy(keyBytes, buffer.data(), static_cast<std::size_t>(length));
    else
        collator.getSortKey(parts.base.data(), parts.baseLength(), keyBytes, length);
    std::memcpy(keyBytes + length, parts.special.data(),
                static_cast<std::size_t>(parts.special.size()));
    return key;
}

int NameCollator::compare(const QString& a, const QString& b) const
{
    const WordSortParts partsA(a);
    const WordSortParts partsB(b);
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult order = collation_->collator->compare(
        partsA.base.data(), partsA.baseLength(), partsB.base.data(), partsB.baseLength(), status);
    if (order != UCOL_EQUAL)
        return order;

    const qsizetype common = std::min(partsA.special.size(), partsB.special.size());
    if (const int bytes = std::memcmp(partsA.special.data(), partsB.special.data(),
                                      static_cast<std::size_t>(common)))
        return bytes < 0 ? -1 : 1;
    return (partsA.special.size() > common) - (partsB.special.size() > common);
}

} // namespace q540
