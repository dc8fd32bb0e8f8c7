#include "files/ResidentTable.h"

#include "base/ControlCharacter.h"
#include "base/FixedTexts.h"
#include "base/TrailingSpaces.h"
#include "directory/EditingRules.h"
#include "directory/NameList.h"
#include "files/TableRows.h"
#include "files/TextLines.h"
#include "protocol/ModuleCharset.h"

#include <algorithm>
#include <array>
#include <set>

namespace q540 {

namespace {

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

// Header names in the three languages, lower case, by TableColumn.
const std::array<QStringList, kTableColumnCount>& headerNames()
{
    static const std::array<QStringList, kTableColumnCount> names{
        QStringList{"zone", "strefa"},
        QStringList{"apartment", "lokal", "wohnung", "nr", "number", "numer", "nummer"},
        QStringList{"line 1", "linia 1", "zeile 1", "line1", "linia1", "zeile1"},
        QStringList{"line 2", "linia 2", "zeile 2", "line2", "linia2", "zeile2"},
    };
    return names;
}

// The column a header cell names, if any. A quote that stays in the cell
// because it never closed does not hide the name.
std::optional<int> namedColumn(const QString& cell)
{
    QString name = cell.trimmed().toLower();
    while (name.startsWith(u'"'))
        name = name.sliced(1).trimmed();
    while (name.endsWith(u'"'))
        name = name.chopped(1).trimmed();
    for (int c = 0; c < kTableColumnCount; ++c)
        if (headerNames()[std::size_t(c)].contains(name))
            return c;
    return std::nullopt;
}

// Where a header row puts each column (the first cell naming it); -1 where
// it names none.
TableColumns namedColumns(const QStringList& row)
{
    TableColumns at{-1, -1, -1, -1};
    for (int i = 0; i < row.size(); ++i)
        if (const std::optional<int> c = namedColumn(row[i]); c && at[std::size_t(*c)] < 0)
            at[std::size_t(*c)] = i;
    return at;
}

// A header names at least the zone, the apartment and line 1.
bool isHeader(const TableColumns& at)
{
    return at[kZoneColumn] >= 0 && at[kApartmentColumn] >= 0 && at[kLine1Column] >= 0;
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

// Whether a row's zone and apartment read as a place in the directory.
bool namesPlace(const QStringList& row, const TableColumns& at)
{
    return zoneOf(fieldOf(row, at[kZoneColumn]))
           && parseInteger(fieldOf(row, at[kApartmentColumn]).trimmed());
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

// ---- the rows -----------------------------------------------------------------------

constexpr TableColumns kPlainColumns{0, 1, 2, 3};

// How the rows of one table are read.
struct Layout {
    TableColumns at = kPlainColumns;
    int width = kTableColumnCount; // cells past it are left out, and told row by row
    // Columns the header names that no field of the directory takes: told
    // once, at the header, not on every row.
    std::vector<bool> toldAtHeader;
    QChar separator;
};

// What the reading keeps from row to row.
struct Taken {
    std::set<int> gridRows;
    int entries = 0; // with a line 1
};

// The text of a row's cells that no column takes, as the file joins them.
QString ignoredText(const QStringList& fields, const Layout& layout)
{
    QStringList ignored;
    for (int i = 0; i < fields.size(); ++i) {
        const bool read = std::find(layout.at.begin(), layout.at.end(), i) != layout.at.end();
        const bool told =
            i < int(layout.toldAtHeader.size()) && layout.toldAtHeader[std::size_t(i)];
        if (!read && !told && !fields[i].trimmed().isEmpty())
            ignored << fields[i];
    }
    return ignored.join(layout.separator);
}

TableFinding findingAt(const TableRow& row, TableFinding::Kind kind, QString detail = {})
{
    TableFinding f{};
    f.kind = kind;
    f.row = row.firstLine;
    f.lastRow = row.lastLine > row.firstLine ? row.lastLine : 0;
    f.detail = std::move(detail);
    return f;
}

// What the row's quotes did to it: a quote read as text, lines joined.
void tellShape(const TableRow& row, TableRead& read)
{
    if (row.quoteRanTo)
        read.findings.push_back(
            findingAt(row, TableFinding::Kind::QuoteNotClosed, QString::number(row.quoteRanTo)));
    if (row.lastLine > row.firstLine)
        read.findings.push_back(findingAt(row, TableFinding::Kind::RowsJoined));
}

// The directory's row the zone and apartment cells name; where gets them,
// or the finding that refuses the row is told.
std::optional<int> gridRowOf(const QStringList& fields, const Layout& layout, TableFinding& where,
                             TableRead& read)
{
    const std::optional<int> zone = zoneOf(fieldOf(fields, layout.at[kZoneColumn]));
    if (!zone) {
        where.kind = TableFinding::Kind::UnknownZone;
        where.detail = fieldOf(fields, layout.at[kZoneColumn]).trimmed();
        read.findings.push_back(where);
        return std::nullopt;
    }
    where.zone = *zone;
    const QString apartmentText = fieldOf(fields, layout.at[kApartmentColumn]).trimmed();
    const std::optional<int> number = parseInteger(apartmentText);
    const int highest =
        *zone == kAdditionalNumberZone ? kAdditionalNumberCount : kApartmentsPerZone;
    if (!number || *number < 1 || *number > highest) {
        where.kind = TableFinding::Kind::ApartmentOutOfRange;
        where.detail = apartmentText;
        read.findings.push_back(where);
        return std::nullopt;
    }
    where.number = *number;
    return *zone == kAdditionalNumberZone ? additionalNumberRow(*number)
                                          : zoneRow(*zone - 1, *number);
}

void readRow(const TableRow& row, const Layout& layout, Taken& taken, TableRead& read)
{
    tellShape(row, read);
    const QStringList& fields = row.fields;
    if (isEmptyRow(fields))
        return;
    ++read.rows;
    TableFinding where = findingAt(row, TableFinding::Kind::ExtraColumns);
    if (const QString ignored = ignoredText(fields, layout); !ignored.isEmpty()) {
        where.detail = ignored;
        read.findings.push_back(where);
    }
    const std::optional<int> gridRow = gridRowOf(fields, layout, where, read);
    if (!gridRow)
        return;
    // A line whose column the table has but this row lacks keeps what the
    // directory holds: a short row never empties a line.
    bool given[2]{};
    for (const int line : {1, 2}) {
        const int column = layout.at[kLine1Column + line - 1];
        given[line - 1] = column >= 0 && column < fields.size();
        if (column >= 0 && !given[line - 1]) {
            where.kind = TableFinding::Kind::ShortRow;
            where.line = line;
            where.detail.clear();
            read.findings.push_back(where);
        }
    }
    if (!given[0] && !given[1])
        return;
    if (!taken.gridRows.insert(*gridRow).second) {
        where.kind = TableFinding::Kind::Duplicate;
        read.findings.push_back(where);
        return;
    }
    TableEntry entry{*gridRow, {}, {}, row.firstLine, given[0], given[1]};
    if (given[0])
        entry.line1 = takeLine(fieldOf(fields, layout.at[kLine1Column]), 1, kLine1Length, where,
                               read.findings);
    if (given[1])
        entry.line2 = takeLine(fieldOf(fields, layout.at[kLine2Column]), 2, kLine2Length, where,
                               read.findings);
    // Line 2 without line 1, also where line 1 is the directory's: it may be empty.
    if (entry.line1.isEmpty() && !entry.line2.isEmpty()) {
        where.kind = TableFinding::Kind::NoLine1;
        where.line = 0;
        read.findings.push_back(where);
        return;
    }
    if (!entry.line1.isEmpty() && ++taken.entries > kEntryCapacity) {
        where.kind = TableFinding::Kind::TooMany;
        where.line = 0;
        read.findings.push_back(where);
        return;
    }
    read.entries.push_back(std::move(entry));
}

void readRows(const std::vector<TableRow>& rows, std::size_t first, const Layout& layout,
              TableRead& read)
{
    Taken taken;
    for (std::size_t i = first; i < rows.size(); ++i)
        readRow(rows[i], layout, taken, read);
}

// ---- the separator and the header ---------------------------------------------------------

// The rows of the first row that holds anything on.
std::size_t firstNonEmpty(const std::vector<TableRow>& rows)
{
    std::size_t i = 0;
    while (i < rows.size() && isEmptyRow(rows[i].fields))
        ++i;
    return i;
}

// How well a split reads, higher better: a header first, then how many of
// the first rows after it name a place in the directory, then how many
// cells the first row has; nothing when its first row has one cell.
std::optional<std::pair<int, qsizetype>> agreement(const std::vector<TableRow>& rows)
{
    constexpr int kRowsLooked = 50;
    std::size_t i = firstNonEmpty(rows);
    if (i == rows.size() || rows[i].fields.size() < 2)
        return std::nullopt;
    const qsizetype cells = rows[i].fields.size();
    TableColumns at = namedColumns(rows[i].fields);
    int score = 0;
    if (isHeader(at)) {
        score = kRowsLooked + 1;
        ++i;
    } else {
        at = kPlainColumns;
    }
    for (int looked = 0; i < rows.size() && looked < kRowsLooked; ++i) {
        if (isEmptyRow(rows[i].fields))
            continue;
        ++looked;
        score += namesPlace(rows[i].fields, at) ? 1 : 0;
    }
    return std::pair{score, cells};
}

struct Split {
    TableSeparator separator = TableSeparator::Semicolon;
    std::vector<TableRow> rows;
};

// The separator the header and the rows agree on, not merely the first or
// the most frequent in the first row: "1,5,Nowak; Jan,Kowalski" is a comma
// table, "1;5;Kowalski, Jan, Maria" a semicolon one. Ties go to the
// semicolon, then the comma.
std::optional<Split> splitBySeparator(QStringView text)
{
    std::optional<Split> best;
    std::optional<std::pair<int, qsizetype>> bestAgreement;
    for (const TableSeparator separator :
         {TableSeparator::Semicolon, TableSeparator::Comma, TableSeparator::Tab}) {
        std::vector<TableRow> rows = splitTableRows(text, separatorChar(separator));
        const auto how = agreement(rows);
        if (how && (!bestAgreement || *how > *bestAgreement)) {
            bestAgreement = how;
            best = Split{separator, std::move(rows)};
        }
    }
    return best;
}

// The columns by the first row: a header, or the plain order when it is
// none. A first row that names columns but not enough of them to be a
// header refuses the table, as it names what is missing.
Layout layoutOf(const TableRow& first, QChar separator, TableRead& read)
{
    Layout layout;
    layout.separator = separator;
    const TableColumns named = namedColumns(first.fields);
    if (!isHeader(named)) {
        const bool namesSome = named != TableColumns{-1, -1, -1, -1};
        if (namesSome && !namesPlace(first.fields, kPlainColumns)) {
            QStringList missing;
            for (int c = kZoneColumn; c <= kLine1Column; ++c)
                if (named[std::size_t(c)] < 0)
                    missing << tableHeader()[c];
            read.refusal = TableRefusal{FixedText::TableHeaderIncomplete, missing.join(u", ")};
        }
        return layout;
    }
    read.headerRow = first.firstLine;
    tellShape(first, read);
    layout.at = named;
    layout.width = int(first.fields.size());
    while (layout.width > 0 && first.fields[layout.width - 1].trimmed().isEmpty())
        --layout.width;
    layout.toldAtHeader.assign(std::size_t(layout.width), false);
    QStringList unread;
    for (int i = 0; i < layout.width; ++i) {
        const QString name = first.fields[i].trimmed();
        if (std::find(named.begin(), named.end(), i) == named.end() && !name.isEmpty()) {
            layout.toldAtHeader[std::size_t(i)] = true;
            unread << name;
        }
    }
    if (!unread.isEmpty())
        read.findings.push_back(
            findingAt(first, TableFinding::Kind::UnreadColumns, unread.join(QStringLiteral(", "))));
    if (named[kLine2Column] < 0) {
        TableFinding f = findingAt(first, TableFinding::Kind::NoLineColumn);
        f.line = 2;
        read.findings.push_back(f);
    }
    return layout;
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
        read.refusal = TableRefusal{FixedText::TableTooLarge, QString::number(kTableMaxSize)};
        return read;
    }
    const DecodedTable decoded = decodeTable(bytes, encoding);
    if (!decoded.text) {
        read.refusal = encoding
                           ? TableRefusal{FixedText::TableNotText, tableEncodingName(*encoding)}
                           : TableRefusal{FixedText::TableNotTextMarked, {}};
        return read;
    }
    read.encoding = tableEncodingName(decoded.encoding);
    for (const TableEncoding other : decoded.alsoPlausible)
        read.alsoPlausible << tableEncodingName(other);
    std::optional<Split> split = splitBySeparator(*decoded.text);
    if (!split) {
        read.refusal = TableRefusal{FixedText::TableNoSeparator, {}};
        return read;
    }
    read.separator = split->separator;
    for (TableRow& row : split->rows)
        for (QString& field : row.fields)
            field = unprotectedCell(field);
    // The first row that holds anything: leading empty lines say nothing.
    const std::size_t first = firstNonEmpty(split->rows);
    const Layout layout = layoutOf(split->rows[first], separatorChar(read.separator), read);
    if (read.refusal)
        return read;
    read.columns = layout.at;
    read.width = layout.width;
    readRows(split->rows, read.headerRow ? first + 1 : first, layout, read);
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
    std::vector<TableRow> rows = splitTableRows(text, u'\t');
    int number = firstNumber;
    for (TableRow& row : rows) {
        // One cell is line 1 alone: line 2 is emptied as the pasted range's
        // row would leave it.
        if (row.fields.size() == 1)
            row.fields << QString();
        row.fields.prepend(QString::number(number++));
        row.fields.prepend(zone == kAdditionalNumberZone ? QStringLiteral("A")
                                                         : QString::number(zone));
    }
    Layout layout;
    layout.separator = u'\t';
    readRows(rows, 0, layout, read);
    return read;
}

DirectoryGrid applyTable(const DirectoryGrid& current, const TableRead& table, bool replace)
{
    DirectoryGrid grid = current;
    if (replace)
        grid.clearEntries();
    // A line not given keeps the cells the directory holds.
    const auto setLine = [&grid](int gridRow, int firstColumn, int length, const QString& text) {
        for (int c = 0; c < length; ++c)
            grid.setCell(gridRow, firstColumn + c, c < text.size() ? Cell(text[c]) : Cell());
    };
    for (const TableEntry& entry : table.entries) {
        if (entry.line1Given)
            setLine(entry.gridRow, 1, kLine1Length, entry.line1);
        if (entry.line2Given)
            setLine(entry.gridRow, kLine2FirstColumn, kLine2Length, entry.line2);
    }
    return grid;
}

} // namespace q540
