#include "files/SettingsFile.h"

#include "base/AppInfo.h"
#include "base/PrivateFiles.h"
#include "directory/ModuleOrder.h"
#include "files/SafeFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace q540 {

namespace {

// Far more than any settings file holds; a larger one is not ours to rewrite.
constexpr qsizetype kSettingsFileMaxSize = 1 << 20;

constexpr QByteArrayView kSection = "Q540";
constexpr QByteArrayView kJezykKey = "Jezyk";
constexpr int kDefaultJezyk = 1;
constexpr QByteArrayView kVerifyKey = "Weryfikacja";
constexpr QByteArrayView kReadTwiceKey = "OdczytPodwojny";
constexpr QByteArrayView kOrderKey = "Kolejnosc";
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Only ASCII letters fold: the names we look for are ASCII, and comparing bytes leaves the
// file's encoding out of the question.
bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// Byte offsets into the file of what the profile routines would read or change.
struct KeyLocation {
    bool sectionFound = false;
    bool keyFound = false;
    // A key line without "=" counts as the key with an empty value.
    bool hasEquals = false;
    qsizetype valueBegin = 0;
    qsizetype valueEnd = 0;
    // Where a missing key goes: after the section's last non-blank line, so the key stays
    // ahead of the blank lines that part it from the next section; the end of the file
    // when the section is missing too.
    qsizetype insertAt = 0;
};

// Only the first section of the name counts, and in it only the first line of the key,
// as with the profile routines; lines ahead of every section belong to none.
KeyLocation locateKey(QByteArrayView data, QByteArrayView keyName)
{
    KeyLocation found;
    found.insertAt = data.size();
    bool inSection = false;
    qsizetype lineStart = data.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (lineStart < data.size()) {
        const qsizetype newline = data.indexOf('\n', lineStart);
        const qsizetype contentEnd = newline < 0 ? data.size() : newline;
        const qsizetype nextLine = newline < 0 ? data.size() : newline + 1;
        qsizetype begin = lineStart;
        qsizetype end = contentEnd;
        lineStart = nextLine;
        while (begin < end && isBlank(data[begin]))
            ++begin;
        while (end > begin && isBlank(data[end - 1]))
            --end;
        if (begin == end)
            continue;
        const QByteArrayView line = data.sliced(begin, end - begin);
        const qsizetype closing = line.lastIndexOf(']');
        if (line.front() == '[' && closing > 0) {
            if (inSection)
                return found;
            inSection = equalsIgnoringCase(line.sliced(1, closing - 1), kSection);
            if (inSection) {
                found.sectionFound = true;
                found.insertAt = nextLine;
            }
            continue;
        }
        if (!inSection)
            continue;
        found.insertAt = nextLine;
        const qsizetype equals = line.indexOf('=');
        qsizetype nameEnd = equals < 0 ? line.size() : equals;
        while (nameEnd > 0 && isBlank(line[nameEnd - 1]))
            --nameEnd;
        if (!equalsIgnoringCase(line.first(nameEnd), keyName))
            continue;
        found.keyFound = true;
        found.hasEquals = equals >= 0;
        found.valueBegin = equals < 0 ? end : begin + equals + 1;
        while (found.valueBegin < end && isBlank(data[found.valueBegin]))
            ++found.valueBegin;
        found.valueEnd = end;
        return found;
    }
    return found;
}

// Decimal with an optional sign, or hexadecimal after "0x" or "0X"; nothing else around
// the digits. Magnitudes saturate: every value beyond 0..2 means the default anyway, and
// a large number must not wrap around into a valid language.
std::optional<int> parseInteger(QByteArrayView text)
{
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text = text.sliced(2);
    } else if (!text.isEmpty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text = text.sliced(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    constexpr int kSaturated = 1000;
    int magnitude = 0;
    for (const char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        magnitude = std::min(magnitude * base + digit, kSaturated);
    }
    return negative ? -magnitude : magnitude;
}

// The profile routines hand out a value enclosed in matching quotes without them.
QByteArrayView withoutQuotes(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

QByteArray lineBreakOf(QByteArrayView data)
{
    const qsizetype newline = data.indexOf('\n');
    if (newline < 0 || (newline > 0 && data[newline - 1] == '\r'))
        return "\r\n";
    return "\n";
}

} // namespace

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}

QString SettingsFile::defaultPath()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return pathFor(QCoreApplication::applicationDirPath(), kInstalledProgramDir,
                   QDir(config).filePath(QStringLiteral("q540")));
}

QString SettingsFile::pathFor(const QString& programDir, const QString& installedProgramDir,
                              const QString& userConfigDir)
{
    const bool installed =
        QDir(programDir) == QDir(installedProgramDir) || !QFileInfo(programDir).isWritable();
    return QDir(installed ? userConfigDir : programDir).filePath(QStringLiteral("Q540.ini"));
}

std::optional<int> SettingsFile::readNumber(QByteArrayView keyName) const
{
    const FileRead read = readWholeFile(path_, kSettingsFileMaxSize);
    if (!read.bytes)
        return std::nullopt;
    const QByteArray& data = *read.bytes;
    const KeyLocation key = locateKey(data, keyName);
    if (!key.keyFound)
        return std::nullopt;
    const QByteArrayView value =
        QByteArrayView(data).sliced(key.valueBegin, key.valueEnd - key.valueBegin);
    return parseInteger(withoutQuotes(value));
}

int SettingsFile::readJezyk() const
{
    const std::optional<int> number = readNumber(kJezykKey);
    if (!number || *number < 0 || *number > 2)
        return kDefaultJezyk;
    return *number;
}

std::optional<QString> SettingsFile::writeJezyk(int value)
{
    return writeNumber(kJezykKey, value);
}

bool SettingsFile::readVerifyAfterWriting() const
{
    return readNumber(kVerifyKey) != 0;
}

std::optional<QString> SettingsFile::writeVerifyAfterWriting(bool verify)
{
    return writeNumber(kVerifyKey, verify ? 1 : 0);
}

bool SettingsFile::readReadTwice() const
{
    return readNumber(kReadTwiceKey).value_or(0) != 0;
}

std::optional<QString> SettingsFile::writeReadTwice(bool twice)
{
    return writeNumber(kReadTwiceKey, twice ? 1 : 0);
}

int SettingsFile::readModuleOrder() const
{
    const std::optional<int> choice = readNumber(kOrderKey);
    if (!choice || *choice < 0 || *choice >= kModuleOrderCount)
        return kModuleOrderSystem;
    return *choice;
}

std::optional<QString> SettingsFile::writeModuleOrder(int choice)
{
    return writeNumber(kOrderKey, choice);
}

std::optional<QString> SettingsFile::writeNumber(QByteArrayView keyName, int value)
{
    const QString failure = QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path_);

    // The old content is needed to keep it; an existing file that cannot be read or is
    // write-protected is refused rather than replaced.
    QByteArray data;
    if (QFileInfo::exists(path_)) {
        if (!QFileInfo(path_).isWritable())
            return failure;
        FileRead existing = readWholeFile(path_, kSettingsFileMaxSize);
        if (!existing.bytes || existing.bytes->size() > kSettingsFileMaxSize)
            return failure;
        data = std::move(*existing.bytes);
    }

    const KeyLocation key = locateKey(data, keyName);
    const QByteArray number = QByteArray::number(value);
    if (key.keyFound) {
        data.replace(key.valueBegin, key.valueEnd - key.valueBegin,
                     key.hasEquals ? number : '=' + number);
    } else {
        const QByteArray lineBreak = lineBreakOf(data);
        QByteArray lines;
        const qsizetype bom = data.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
        if (key.insertAt > bom && data[key.insertAt - 1] != '\n')
            lines += lineBreak;
        if (!key.sectionFound)
            lines += '[' + kSection.toByteArray() + ']' + lineBreak;
        lines += keyName.toByteArray() + '=' + number + lineBreak;
        data.insert(key.insertAt, lines);
    }

    // The user's configuration folder may not exist yet.
    if (makePrivateFolder(QFileInfo(path_).absolutePath()))
        return failure;
    // A write-protected folder still allows writing a writable file in place, as the
    // profile routines do; everywhere else the old file is replaced only when complete.
    if (saveFileSafely(path_, data, {FileAccess::OwnerOnly, DirectWrite::WhenFolderIsReadOnly}))
        return failure;
    return std::nullopt;
}

} // namespace q540
