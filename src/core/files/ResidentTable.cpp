#include "files/ResidentTable.h"

#include "base/ControlCharacter.h"
#include "base/FixedTexts.h"
#include "base/TrailingSpaces.h"
#include "directory/EditingRules.h"
#include "directory/NameList.h"
#include "files/TextLines.h"
#include "protocol/ModuleCharset.h"

#include <array>
#include <set>

namespace q540 {

namespace {

// ---- text to rows (RFC 4180) ------------------------------------------------------

QChar separatorChar(TableSeparator separator)
{
    switch (separator) {
    case TableSeparator::Comma:
        return u',';
    case TableSeparator::Tab:
        return u'\t';
    case TableSeparator::Semicolon:
        break;
    }
    return u';';
}

// The separator that the first row holds most often outside quotes; none
// when it holds none of the three.
std::optional<TableSeparator> detectSeparator(QStringView text)
{
    std::array<int, 3> counts{};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u';')
            ++counts[0];
        else if (!quoted && c == u',')
            ++counts[1];
        else if (!quoted && c == u'\t')
            ++counts[2];
    }
    const TableSeparator order[] = {TableSeparator::Semicolon, TableSeparator::Comma,
                                    TableSeparator::Tab};
    int best = -1;
    for (int i = 0; i < 3; ++i)
        if (counts[std::size_t(i)] > 0
            && (best < 0 || counts[std::size_t(i)] > counts[std::size_t(best)]))
            best = i;
    if (best < 0)
        return std::nullopt;
    return order[best];
}

// Rows of fields: a field in double quotes may hold the separator, a line
// break and a doubled quote; rows end at LF, CR LF or CR outside quotes.
std::vector<QStringList> splitRows(QStringView text, QChar separator)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool any = false;
    const auto endField = [&] {
        row << field;
        field.clear();
    };
    const auto endRow = [&] {
        endField();
        rows.push_back(row);
        row.clear();
        any = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                quoted = false;
            continue;
        }
        if (c == u'"' && field.isEmpty()) {
            quoted = true;
            any = true;
        } else if (c == separator) {
            endField();
            any = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !field.isEmpty() || !row.isEmpty())
        endRow();
    return rows;
}

// ---- cells a spreadsheet would run ----------------------------------------------------

// A spreadsheet opening the table runs a cell that starts with one of these as a
// formula, so a name such as "=cmd|..." would act on the reader's machine. The
// export writes such a cell behind an apostrophe, which spreadsheets take as
// "text follows", and the import takes that one apostrophe off again. A cell
// that already starts with apostrophes before such a character gets one more,
// so that a name that really starts with "'=" comes back as it was.
bool startsLikeFormula(QStringView cell)
{
    while (cell.startsWith(u'\''))
        cell = cell.sliced(1);
    return !cell.isEmpty() && QStringView(u"=+-@\t\r").contains(cell.front());
}

QString protectedCell(const QString& cell)
{
    return startsLikeFormula(cell) ? u'\'' + cell : cell;
}

QString unprotectedCell(const QString& cell)
{
    return cell.startsWith(u'\'') && startsLikeFormula(cell) ? cell.sliced(1) : cell;
}

// ---- the columns --------------------------------------------------------------------

enum Column { kZone, kApartment, kLine1, kLine2, kColumnCount };

// Header names in the three languages, lower case.
const std::array<QStringList, kColumnCount>& headerNames()
{
    static const std::array<QStringList, kColumnCount> names{
        QStringList{"zone", "strefa"},
        QStringList{"apartment", "lokal", "wohnung", "nr", "number", "numer", "nummer"},
        QStringList{"line 1", "linia 1", "zeile 1", "line1", "linia1", "zeile1"},
        QStringList{"line 2", "linia 2", "zeile 2", "line2", "linia2", "zeile2"},
    };
    return names;
}

// Where each column is, by a header row; none when the row is no header.
std::optional<std::array<int, kColumnCount>> headerColumns(const QStringList& row)
{
    std::array<int, kColumnCount> at{-1, -1, -1, -1};
    for (int i = 0; i < row.size(); ++i) {
        const QString name = row[i].trimmed().toLower();
        for (int c = 0; c < kColumnCount; ++c)
            if (at[std::size_t(c)] < 0 && headerNames()[std::size_t(c)].contains(name))
                at[std::size_t(c)] = i;
    }
    if (at[kZone] < 0 || at[kApartment] < 0 || at[kLine1] < 0)
        return std::nullopt;
    return at;
}

std::optional<int> zoneOf(const QString& value)
{
    const QString zone = value.trimmed().toUpper();
    if (zone == u"A")
        return kAdditionalNumberZone;
    const std::optional<int> number = parseInteger(zone);
    if (number && *number >= 1 && *number <= kAdditionalNumberZone)
        return number;
    return std::nullopt;
}

// ---- one line of an entry -----------------------------------------------------------

QString unitName(char32_t code)
{
    return QStringLiteral("U+%1").arg(
        QString::number(uint(code), 16).toUpper().rightJustified(4, u'0'));
}

// The line as taken, with what had to change and what the module will make of it.
QString takeLine(const QString& raw, int line, int limit, TableFinding where,
                 std::vector<TableFinding>& findings)
{
    QString withoutControls;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char16_t unit = raw[i].unicode();
        if (isControlCharacter(unit)) {
            where.kind = TableFinding::Kind::ControlCharacter;
            where.line = line;
            where.detail = unitName(unit);
            findings.push_back(where);
            continue;
        }
        withoutControls += raw[i];
    }
    QString taken = conformingText(raw, line == 1);
    where.line = line;
    if (taken != withoutControls) {
        where.kind = TableFinding::Kind::RulesApplied;
        where.detail = taken;
        findings.push_back(where);
    }
    taken = withoutTrailingSpaces(taken);
    if (taken.size() > limit) {
        where.kind = TableFinding::Kind::Cut;
        where.detail = QString::number(limit);
        findings.push_back(where);
        taken = leftUnits(taken, limit);
    }
    for (const CharacterFinding& f : findCharacterProblems(taken)) {
        where.kind = f.kind == CharacterFinding::Kind::LookAlike ? TableFinding::Kind::LookAlike
                                                                 : TableFinding::Kind::Unsupported;
        where.detail = f.kind == CharacterFinding::Kind::LookAlike
                           ? f.character + QStringLiteral(" → ") + f.shownAs
                           : f.character;
        findings.push_back(where);
    }
    return taken;
}

QString fieldOf(const QStringList& row, int at)
{
    return at >= 0 && at < row.size() ? row[at] : QString();
}

bool isEmptyRow(const QStringList& row)
{
    for (const QString& field : row)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}

// ---- the words of the report --------------------------------------------------------

// By TableFinding::Kind.
constexpr FixedText kFindings[] = {
    FixedText::TableCut,
    FixedText::TableRulesApplied,
    FixedText::TableControlCharacter,
    FixedText::TableUnsupported,
    FixedText::TableLookAlike,
    FixedText::TableUnknownZone,
    FixedText::TableApartmentOutOfRange,
    FixedText::TableDuplicate,
    FixedText::TableTooMany,
    FixedText::TableNoLine1,
};
static_assert(std::size(kFindings) == std::size_t(TableFinding::Kind::NoLine1) + 1);

// Takes the rows from first on, the columns where at says, into read.
void readRows(const std::vector<QStringList>& rows, std::size_t first,
              const std::array<int, kColumnCount>& at, TableRead& read)
{
    std::set<int> seen;
    int taken = 0;
    for (std::size_t i = first; i < rows.size(); ++i) {
        const QStringList& row = rows[i];
        if (isEmptyRow(row))
            continue;
        ++read.rows;
        TableFinding where{TableFinding::Kind::UnknownZone, int(i) + 1, 0, 0, 0, {}};
        const std::optional<int> zone = zoneOf(fieldOf(row, at[kZone]));
        if (!zone) {
            where.detail = fieldOf(row, at[kZone]).trimmed();
            read.findings.push_back(where);
            continue;
        }
        where.zone = *zone;
        const QString apartmentText = fieldOf(row, at[kApartment]).trimmed();
        const std::optional<int> number = parseInteger(apartmentText);
        const int highest =
            *zone == kAdditionalNumberZone ? kAdditionalNumberCount : kApartmentsPerZone;
        if (!number || *number < 1 || *number > highest) {
            where.kind = TableFinding::Kind::ApartmentOutOfRange;
            where.detail = apartmentText;
            read.findings.push_back(where);
            continue;
        }
        where.number = *number;
        const int gridRow = *zone == kAdditionalNumberZone ? additionalNumberRow(*number)
                                                           : zoneRow(*zone - 1, *number);
        if (!seen.insert(gridRow).second) {
            where.kind = TableFinding::Kind::Duplicate;
            read.findings.push_back(where);
            continue;
        }
        TableEntry entry{gridRow,
                         takeLine(fieldOf(row, at[kLine1]), 1, kLine1Length, where, read.findings),
                         takeLine(fieldOf(row, at[kLine2]), 2, kLine2Length, where, read.findings)};
        if (entry.line1.isEmpty() && !entry.line2.isEmpty()) {
            where.kind = TableFinding::Kind::NoLine1;
            read.findings.push_back(where);
            continue;
        }
        if (!entry.line1.isEmpty() && ++taken > kEntryCapacity) {
            where.kind = TableFinding::Kind::TooMany;
            read.findings.push_back(where);
            continue;
        }
        read.entries.push_back(std::move(entry));
    }
}

} // namespace

QByteArray tableBytes(const DirectoryGrid& grid, TableSeparator separator)
{
    const QChar sep = separatorChar(separator);
    const auto quoted = [sep](const QString& field) {
        if (!field.contains(sep) && !field.contains(u'"') && !field.contains(u'\n')
            && !field.contains(u'\r'))
            return field;
        return QStringLiteral("\"")
               + QString(field).replace(QStringLiteral("\""), QStringLiteral("\"\""))
               + QStringLiteral("\"");
    };
    const auto row = [&](const QStringList& fields) {
        QStringList out;
        for (const QString& f : fields)
            out << quoted(protectedCell(f));
        return out.join(sep) + QStringLiteral("\r\n");
    };
    QString text = row(tableHeader());
    for (int r = 1; r <= kGridRows; ++r) {
        if (grid.isEntryEmpty(r))
            continue;
        const EntryPlace place = placeOfRow(r);
        const QString entry = grid.entryText(r);
        const QString line1 = withoutTrailingSpaces(entry.left(kLine1Length));
        const QString line2 = withoutTrailingSpaces(entry.mid(kLine1Length, kLine2Length));
        text += row({place.zone == kAdditionalNumberZone ? QStringLiteral("A")
                                                         : QString::number(place.zone),
                     QString::number(place.number), line1, line2});
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

TableRead parseTable(QByteArrayView bytes, std::optional<TableEncoding> encoding)
{
    TableRead read;
    if (bytes.size() > kTableMaxSize) {
        read.refusal = QStringLiteral("larger than %1 bytes").arg(kTableMaxSize);
        return read;
    }
    const DecodedTable decoded = decodeTable(bytes, encoding);
    if (!decoded.text) {
        read.refusal =
            encoding ? QStringLiteral("not valid text in %1").arg(tableEncodingName(*encoding))
                     : QStringLiteral("not valid text in the encoding its byte order mark names");
        return read;
    }
    read.encoding = tableEncodingName(decoded.encoding);
    for (const TableEncoding other : decoded.alsoPlausible)
        read.alsoPlausible << tableEncodingName(other);
    const QString& text = *decoded.text;
    // The first row that holds anything: leading empty lines say nothing.
    QStringView firstRow = text;
    while (!firstRow.isEmpty() && (firstRow.front() == u'\n' || firstRow.front() == u'\r'))
        firstRow = firstRow.sliced(1);
    const std::optional<TableSeparator> separator = detectSeparator(firstRow);
    if (!separator) {
        read.refusal = QStringLiteral("no semicolon, comma or tab in the first row");
        return read;
    }
    read.separator = *separator;
    std::vector<QStringList> rows = splitRows(text, separatorChar(*separator));
    for (QStringList& row : rows)
        for (QString& field : row)
            field = unprotectedCell(field);
    std::array<int, kColumnCount> at{kZone, kApartment, kLine1, kLine2};
    std::size_t first = 0;
    if (!rows.empty()) {
        if (const auto header = headerColumns(rows.front())) {
            at = *header;
            read.header = true;
            first = 1;
        }
    }
    readRows(rows, first, at, read);
    return read;
}

bool isPastedRows(QStringView text)
{
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(u'\t');
}

TableRead parsePastedRows(QStringView text, int zone, int firstNumber)
{
    TableRead read;
    read.encoding = QStringLiteral("UTF-16");
    read.separator = TableSeparator::Tab;
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    std::vector<QStringList> rows;
    int number = firstNumber;
    for (const QStringList& cells : splitRows(text, u'\t')) {
        rows.push_back({zone == kAdditionalNumberZone ? QStringLiteral("A") : QString::number(zone),
                        QString::number(number++), cells.value(0), cells.value(1)});
    }
    readRows(rows, 0, {kZone, kApartment, kLine1, kLine2}, read);
    return read;
}

DirectoryGrid applyTable(const DirectoryGrid& current, const TableRead& table, bool replace)
{
    DirectoryGrid grid = current;
    if (replace)
        grid.clearEntries();
    for (const TableEntry& entry : table.entries) {
        for (int c = 1; c <= kEntryTextLength; ++c)
            grid.setCell(entry.gridRow, c, Cell());
        for (int c = 0; c < entry.line1.size(); ++c)
            grid.setCell(entry.gridRow, c + 1, Cell(entry.line1[c]));
        for (int c = 0; c < entry.line2.size(); ++c)
            grid.setCell(entry.gridRow, kLine2FirstColumn + c, Cell(entry.line2[c]));
    }
    return grid;
}

QString findingText(const TableFinding& f, int language)
{
    QString where = fixedText(FixedText::TableRow, language).arg(f.row);
    if (f.zone > 0 && f.number > 0) {
        where += QStringLiteral(" (") + entryPlaceText({f.zone, f.number}, language) + u')';
    }
    // Not arg(): a row finding's words name no line, and arg() would put the
    // line's number where the detail goes. The detail is the table's own
    // text, so it goes in last.
    QString what = fixedText(kFindings[static_cast<int>(f.kind)], language);
    what.replace(QStringLiteral("%1"), QString::number(f.line));
    what.replace(QStringLiteral("%2"), f.detail);
    return where + QStringLiteral(": ") + what;
}

QString tableReportText(const TableRead& table, int language)
{
    if (table.refusal)
        return fixedText(FixedText::TableRefused, language).arg(*table.refusal);
    QStringList lines;
    if (!table.alsoPlausible.isEmpty())
        lines << fixedText(FixedText::TableEncodingGuessed, language)
                     .arg(table.encoding, table.alsoPlausible.join(QStringLiteral(", ")));
    for (const TableFinding& f : table.findings)
        lines << findingText(f, language);
    lines << fixedText(FixedText::TableSummary, language)
                 .arg(table.rows)
                 .arg(table.entries.size())
                 .arg(table.findings.size())
                 .arg(table.encoding);
    return lines.join(u'\n');
}

} // namespace q540
