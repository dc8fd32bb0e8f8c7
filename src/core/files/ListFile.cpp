#include "files/ListFile.h"

#include "directory/DirectoryGrid.h"
#include "files/TextLines.h"

#include <unicode/ucnv.h>

#include <memory>

namespace q540 {

namespace {

const QString kHeaderV4 = QStringLiteral("KOR-LCDv4");
const QString kHeaderV43 = QStringLiteral("KOR-Q540 v43");
constexpr int kIntroLinesInFile = kIntroLineCount + 1;
// Line 514, the third of the file's intro lines, was dropped by later releases.
constexpr int kUnusedIntroLine = 2;
constexpr int kEmptyTimeValue = 3;

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

} // namespace

QString decodeWindows1250(QByteArrayView bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UConverter, ConverterCloser> converter(
        ucnv_open("windows-1250", &status));
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes.data(), bytes.size());
    // A single-byte code page gives one code unit a byte; the extra unit holds ICU's
    // terminating zero.
    QString text(bytes.size() + 1, Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(text.data()),
                                         static_cast<int32_t>(text.size()), bytes.data(),
                                         static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes.data(), bytes.size());
    text.truncate(length);
    return text;
}

ListFileParse parseListFile(QByteArrayView bytes)
{
    ListFileParse result;
    if (bytes.size() < kListFileMinSize || bytes.size() > kListFileMaxSize) {
        result.problem = FileProblem::WrongFile;
        return result;
    }
    const QString text = decodeWindows1250(bytes);
    TextLines lines(text);
    const QStringView header = lines.next();
    if (header != kHeaderV4 && header != kHeaderV43) {
        result.problem = FileProblem::WrongFile;
        return result;
    }

    ListImport list;
    std::vector<CutValue>& cuts = result.notes.cutValues;
    for (int j = 1; j <= kListFileEntryCount; ++j) {
        const QStringView line1 = lines.next();
        const QStringView line2 = lines.next();
        if (line1.isEmpty() || line1.front() == u' ')
            continue;
        list.entries.push_back({j, line1.toString(), line2.toString()});
        if (line1.size() > kLine1Length)
            cuts.push_back({CutValue::Field::Entry, 1, j, line1.size(), kLine1Length});
        if (line2.size() > kLine2Length)
            cuts.push_back({CutValue::Field::Entry, 2, j, line2.size(), kLine2Length});
    }
    auto intro = list.intro.begin();
    for (int i = 0, number = 1; i < kIntroLinesInFile; ++i) {
        const QStringView line = lines.next();
        if (i == kUnusedIntroLine)
            continue;
        if (line.size() > kIntroLineLength)
            cuts.push_back({CutValue::Field::Intro, number, 0, line.size(), kIntroLineLength});
        *intro++ = leftUnits(line, kIntroLineLength);
        ++number;
    }
    const QStringView timeLine = lines.next();
    const std::optional<int> time = timeLine.isEmpty() ? kEmptyTimeValue : parseInteger(timeLine);
    if (!time) {
        result.problem = FileProblem::StructureError;
        return result;
    }
    list.timeIndex = timeIndexOfValue(*time);
    result.notes.linesHeld = lines.linesHeld();
    result.notes.lineCount = kListFileLineCount;
    result.list = std::move(list);
    return result;
}

} // namespace q540
