#include "files/TableEncoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

namespace q540 {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

// The bytes in the named ICU encoding, or nothing when they are not valid in it.
std::optional<QString> decodeStrictly(QByteArrayView bytes, const char* encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open(encoding, &status));
    if (U_FAILURE(status))
        return std::nullopt;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    // Never more code units than bytes, and ICU's terminating zero.
    QString text(bytes.size() + 1, Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(text.data()),
                                         static_cast<int32_t>(text.size()), bytes.data(),
                                         static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    return text;
}

// The upper half of code page 852. Not ICU's: its table for this code page
// swaps three ASCII controls, as the IBM mainframe tables do, and has no
// sign for 0xAA.
constexpr std::array<char16_t, 128> kCp852Upper{
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7, 0x0142, 0x00EB, 0x0150, 0x0151,
    0x00EE, 0x0179, 0x00C4, 0x0106, 0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A,
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x0104, 0x0105, 0x017D, 0x017E, 0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A, 0x015E, 0x2563, 0x2551, 0x2557,
    0x255D, 0x017B, 0x017C, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x0111, 0x0110, 0x010E, 0x00CB,
    0x010F, 0x0147, 0x00CD, 0x00CE, 0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161, 0x0154, 0x00DA, 0x0155, 0x0170,
    0x00FD, 0x00DD, 0x0163, 0x00B4, 0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0};

QString decodeCp852(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = byte < 0x80 ? QChar(byte) : QChar(kCp852Upper[byte - 0x80]);
    }
    return text;
}

const char* icuName(TableEncoding encoding)
{
    switch (encoding) {
    case TableEncoding::Utf8:
        return "UTF-8";
    case TableEncoding::Utf16LE:
        return "UTF-16LE";
    case TableEncoding::Utf16BE:
        return "UTF-16BE";
    case TableEncoding::Windows1250:
        return "windows-1250";
    case TableEncoding::Iso8859_2:
        return "ISO-8859-2";
    case TableEncoding::Cp852:
        break;
    }
    return "CP852";
}

std::optional<QString> decodeIn(QByteArrayView bytes, TableEncoding encoding)
{
    if (encoding == TableEncoding::Cp852)
        return decodeCp852(bytes);
    return decodeStrictly(bytes, icuName(encoding));
}

QByteArrayView byteOrderMark(TableEncoding encoding)
{
    switch (encoding) {
    case TableEncoding::Utf8:
        return "\xEF\xBB\xBF";
    case TableEncoding::Utf16LE:
        return "\xFF\xFE";
    case TableEncoding::Utf16BE:
        return "\xFE\xFF";
    default:
        return {};
    }
}

// A table's digits, separators and line ends are ASCII, and in UTF-16 each
// of them puts a zero byte in the same half of its code unit; text in one
// byte a character holds no zero bytes at all. A stray zero or two (a
// mangled cell) does not make a file UTF-16.
std::optional<TableEncoding> utf16ByItsZeros(QByteArrayView bytes)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0)
        return std::nullopt;
    std::array<qsizetype, 2> zeros{}; // in the first and the second byte of a unit
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes[i] == 0)
            ++zeros[std::size_t(i % 2)];
    const qsizetype units = bytes.size() / 2;
    const auto mostlyIn = [&](std::size_t half) {
        return zeros[half] * 4 >= units && zeros[1 - half] * 8 <= zeros[half];
    };
    if (mostlyIn(1))
        return TableEncoding::Utf16LE;
    if (mostlyIn(0))
        return TableEncoding::Utf16BE;
    return std::nullopt;
}

// ---- guessing the code page -------------------------------------------------------

// The letters of the languages these code pages were made for; Nordic and
// Cyrillic letters are in none of them but the Swedish and Finnish ones,
// which the German line holds. A table's names are mostly of one language,
// so a reading whose letters keep to one is likelier than one that mixes.
constexpr std::u16string_view kLanguageLetters[] = {
    u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ",                 // Polish
    u"äöüßÄÖÜ",                            // German
    u"áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ",     // Czech
    u"áäčďéíĺľňóôŕšťúýžÁÄČĎÉÍĹĽŇÓÔŔŠŤÚÝŽ", // Slovak
    u"áéíóöőúüűÁÉÍÓÖŐÚÜŰ",                 // Hungarian
};

// A letter whose case breaks its word's, as in "DĄbrowski" or "DąBROWSKI":
// names are written capitalised or in capitals, so such a letter is more
// likely another code page's reading of the writer's letter.
bool breaksItsWordsCase(QStringView text, qsizetype i)
{
    if (i == 0 || i + 1 >= text.size() || !text[i - 1].isLetter() || !text[i + 1].isLetter())
        return false;
    if (text[i].isUpper())
        return text[i + 1].isLower();
    return text[i - 1].isUpper() && text[i + 1].isUpper();
}

// How much a reading looks like names: letters count for it, the more when
// they keep to one language; letters out of case count against it, and
// signs, box-drawing characters and controls more so. ASCII reads the same
// in every code page and says nothing.
int readingScore(QStringView text)
{
    std::array<int, std::size(kLanguageLetters)> perLanguage{};
    int score = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80)
            continue;
        if (!c.isLetter()) {
            score -= 3;
        } else if (breaksItsWordsCase(text, i)) {
            score -= 2;
        } else {
            ++score;
            for (std::size_t l = 0; l < perLanguage.size(); ++l)
                if (kLanguageLetters[l].find(c.unicode()) != std::u16string_view::npos)
                    ++perLanguage[l];
        }
    }
    return score + *std::max_element(perLanguage.begin(), perLanguage.end());
}

// The code page whose reading scores highest, the earlier in this order on
// a tie (code page 852 reads any bytes, so there is always one); readings of
// other text that score about as well are named.
DecodedTable guessCodePage(QByteArrayView bytes)
{
    struct Reading {
        TableEncoding encoding;
        QString text;
        int score;
    };
    std::vector<Reading> readings;
    for (const TableEncoding encoding :
         {TableEncoding::Windows1250, TableEncoding::Iso8859_2, TableEncoding::Cp852}) {
        if (std::optional<QString> text = decodeIn(bytes, encoding))
            readings.push_back({encoding, *text, readingScore(*text)});
    }
    std::stable_sort(readings.begin(), readings.end(),
                     [](const Reading& a, const Reading& b) { return a.score > b.score; });
    const Reading& best = readings.front();
    DecodedTable decoded{best.text, best.encoding, {}};
    for (const Reading& other : readings) {
        const bool close = best.score - other.score <= std::max(2, best.score / 4);
        if (other.score > 0 && close && other.text != best.text)
            decoded.alsoPlausible.push_back(other.encoding);
    }
    return decoded;
}

} // namespace

QString tableEncodingName(TableEncoding encoding)
{
    return QString::fromLatin1(icuName(encoding));
}

std::optional<TableEncoding> tableEncodingNamed(QStringView name)
{
    for (const TableEncoding encoding : kTableEncodings)
        if (name.compare(tableEncodingName(encoding), Qt::CaseInsensitive) == 0)
            return encoding;
    return std::nullopt;
}

DecodedTable decodeTable(QByteArrayView bytes, std::optional<TableEncoding> given)
{
    if (given) {
        const QByteArrayView mark = byteOrderMark(*given);
        const QByteArrayView body =
            !mark.isEmpty() && bytes.startsWith(mark) ? bytes.sliced(mark.size()) : bytes;
        return {decodeIn(body, *given), *given, {}};
    }
    for (const TableEncoding encoding :
         {TableEncoding::Utf8, TableEncoding::Utf16LE, TableEncoding::Utf16BE}) {
        if (bytes.startsWith(byteOrderMark(encoding)))
            return decodeTable(bytes, encoding);
    }
    if (const std::optional<TableEncoding> utf16 = utf16ByItsZeros(bytes)) {
        if (std::optional<QString> text = decodeIn(bytes, *utf16))
            return {std::move(text), *utf16, {}};
    }
    if (std::optional<QString> text = decodeIn(bytes, TableEncoding::Utf8))
        return {std::move(text), TableEncoding::Utf8, {}};
    return guessCodePage(bytes);
}

} // namespace q540
