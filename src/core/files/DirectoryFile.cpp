#include "files/DirectoryFile.h"

#include "files/TextLines.h"

#include <algorithm>

namespace q540 {

namespace {

constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";
const QString kHeader = QStringLiteral("KOR-Q540 v70;");
constexpr int kEmptyLanguageValue = 1;
constexpr int kGridLineCells = kGridColumns / 2;

void appendValue(QString& text, QStringView value)
{
    for (QChar c : value) {
        if (c == u';')
            c = u',';
        else if (c == u'\r' || c == u'\n')
            c = u' ';
        text.append(c);
    }
    text.append(QLatin1StringView(";\r\n"));
}

QString gridLine(const DirectoryGrid& grid, int row, int firstColumn)
{
    QString line;
    for (int c = firstColumn; c < firstColumn + kGridLineCells; ++c) {
        const Cell cell = grid.cell(row, c);
        if (!cell.isEmpty())
            line.append(QChar(cell.unit()));
    }
    return line;
}

// The value cut to limit units, noting the cut.
QString fitted(QStringView value, qsizetype limit, CutValue where, std::vector<CutValue>& cuts)
{
    if (value.size() > limit) {
        where.length = value.size();
        where.limit = limit;
        cuts.push_back(where);
    }
    return leftUnits(value, limit);
}

void fillGridLine(DirectoryGrid& grid, int row, int half, QStringView value,
                  std::vector<CutValue>& cuts)
{
    const int firstColumn = half == 1 ? 1 : kGridLineCells + 1;
    const QString cells = fitted(value, kGridLineCells, {CutValue::Field::Entry, half, row}, cuts);
    for (int i = 0; i < cells.size(); ++i)
        grid.setCell(row, firstColumn + i, Cell(cells.at(i)));
}

} // namespace

std::optional<QString> decodeFileLine(QStringView line)
{
    if (line.isEmpty())
        return QString();
    const QStringView value = line.chopped(1);
    if (value.contains(u';'))
        return std::nullopt;
    return value.toString();
}

QByteArray directoryFileBytes(const DirectoryDocument& document)
{
    const DocumentFields& fields = document.fields;
    QString text;
    text.reserve(kDirectoryFileLineCount * 8);
    text.append(kHeader).append(QLatin1StringView("\r\n"));
    appendValue(text, leftUnits(fields.address, kAddressLength));
    for (const QString& line : fields.intro)
        appendValue(text, leftUnits(line, kIntroLineLength));
    const int timeIndex = std::clamp(fields.timeIndex, kIntroTimeNone, kIntroTimeItemCount - 1);
    appendValue(text, QString::number(timeIndex + 1));
    appendValue(text, QString::number(fields.moduleLanguage));
    for (int row = 1; row <= kGridRows; ++row) {
        appendValue(text, gridLine(document.grid, row, 1));
        appendValue(text, gridLine(document.grid, row, kGridLineCells + 1));
    }
    return kByteOrderMark.toByteArray() + text.toUtf8();
}

DirectoryFileParse parseDirectoryFile(QByteArrayView bytes)
{
    DirectoryFileParse result;
    if (bytes.size() < kDirectoryFileMinSize || bytes.size() > kDirectoryFileMaxSize) {
        result.problem = FileProblem::WrongFile;
        return result;
    }
    if (bytes.startsWith(kByteOrderMark))
        bytes = bytes.sliced(kByteOrderMark.size());
    const QString text = QString::fromUtf8(bytes);
    TextLines lines(text);
    if (lines.next() != kHeader) {
        result.problem = FileProblem::WrongFile;
        return result;
    }

    result.problem = FileProblem::StructureError;
    DirectoryDocument document;
    DocumentFields& fields = document.fields;
    const std::optional<QString> address = decodeFileLine(lines.next());
    if (!address)
        return result;
    std::vector<CutValue>& cuts = result.notes.cutValues;
    fields.address = fitted(*address, kAddressLength, {CutValue::Field::Address}, cuts);
    for (int i = 0; i < kIntroLineCount; ++i) {
        const std::optional<QString> value = decodeFileLine(lines.next());
        if (!value)
            return result;
        fields.intro[std::size_t(i)] =
            fitted(*value, kIntroLineLength, {CutValue::Field::Intro, i + 1}, cuts);
    }
    const std::optional<QString> timeValue = decodeFileLine(lines.next());
    const std::optional<int> time = timeValue ? parseInteger(*timeValue) : std::nullopt;
    if (!time)
        return result;
    fields.timeIndex = timeIndexOfValue(*time);
    const std::optional<QString> languageValue = decodeFileLine(lines.next());
    if (!languageValue)
        return result;
    const std::optional<int> language =
        languageValue->isEmpty() ? kEmptyLanguageValue : parseInteger(*languageValue);
    if (!language)
        return result;
    fields.moduleLanguage = *language;
    for (int row = 1; row <= kGridRows; ++row) {
        for (const int half : {1, 2}) {
            const std::optional<QString> value = decodeFileLine(lines.next());
            if (!value)
                return result;
            fillGridLine(document.grid, row, half, *value, cuts);
        }
    }
    result.notes.linesHeld = lines.linesHeld();
    result.notes.lineCount = kDirectoryFileLineCount;
    result.document = std::move(document);
    result.problem = FileProblem::None;
    return result;
}

} // namespace q540
