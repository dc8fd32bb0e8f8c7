#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace q540 {

// The encodings a resident table comes in: the Unicode ones spreadsheets
// save today, and the Central European code pages of older Windows
// spreadsheets, of Unix and of DOS-era programs.
enum class TableEncoding { Utf8, Utf16LE, Utf16BE, Windows1250, Iso8859_2, Cp852 };

inline constexpr TableEncoding kTableEncodings[] = {
    TableEncoding::Utf8,        TableEncoding::Utf16LE,   TableEncoding::Utf16BE,
    TableEncoding::Windows1250, TableEncoding::Iso8859_2, TableEncoding::Cp852};

// "UTF-8", "UTF-16LE", "UTF-16BE", "windows-1250", "ISO-8859-2", "CP852".
QString tableEncodingName(TableEncoding encoding);
// The encoding of a name in any case ("cp852", "UTF-8"); nothing for another name.
std::optional<TableEncoding> tableEncodingNamed(QStringView name);

struct DecodedTable {
    std::optional<QString> text; // nothing when the bytes are not valid in the encoding
    TableEncoding encoding = TableEncoding::Utf8;
    // Code pages that read the bytes as other text of about as many letters:
    // the guess may have been wrong, and only the reader can tell.
    std::vector<TableEncoding> alsoPlausible;
};

// The bytes in the given encoding (its byte order mark left out), or with
// none given, in the encoding they show: a byte order mark; UTF-16 by the
// zero bytes its ASCII characters hold; UTF-8 when valid; else the code
// page whose reading gives the most letters of one language.
DecodedTable decodeTable(QByteArrayView bytes, std::optional<TableEncoding> given);

} // namespace q540
