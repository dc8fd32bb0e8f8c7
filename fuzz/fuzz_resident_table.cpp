// Any bytes given to the resident-table reader: no crash, no sanitizer report;
// what it takes keeps the entry rules and the fields' lengths, and a table
// written of what it took reads back to the same entries. And the import's
// promise: a second, plain reading of the same text finds every line of it
// either taken exactly as it stands or named in a finding.
#include "directory/EditingRules.h"
#include "files/ResidentTable.h"

#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>

using namespace q540;

namespace {

void check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

// The entries with text, in the directory's order (the export's).
std::vector<TableEntry> nonEmpty(const std::vector<TableEntry>& entries)
{
    std::vector<TableEntry> kept;
    for (const TableEntry& e : entries)
        if (!e.line1.isEmpty())
            kept.push_back(e);
    std::sort(kept.begin(), kept.end(),
              [](const TableEntry& a, const TableEntry& b) { return a.gridRow < b.gridRow; });
    return kept;
}

// ---- the second reading --------------------------------------------------------------

// The text's lines, split at every line break whatever quotes hold.
QStringList plainLines(const QString& text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') {
            line += text[i];
            continue;
        }
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        lines << line;
        line.clear();
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

// A line's cells, quotes read within the line only; nothing for a line
// whose quotes do not open and close in it as they should.
std::optional<QStringList> cellsOf(const QString& line, QChar separator)
{
    QStringList cells;
    QString cell;
    bool quoted = false, closed = false, start = true;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"')
                cell += line[++i];
            else if (c == u'"')
                quoted = false, closed = true;
            else
                cell += c;
        } else if (c == separator) {
            cells << cell;
            cell.clear();
            start = true, closed = false;
        } else if (closed) {
            return std::nullopt;
        } else if (c == u'"' && start) {
            quoted = true, start = false;
        } else {
            cell += c;
            start = false;
        }
    }
    if (quoted)
        return std::nullopt;
    return cells << cell;
}

// The export's guard against formulas, taken off: one apostrophe before
// apostrophes and a character a spreadsheet would run.
QString withoutGuard(const QString& cell)
{
    qsizetype i = 0;
    while (i < cell.size() && cell[i] == u'\'')
        ++i;
    const bool guarded = i > 0 && i < cell.size() && QStringView(u"=+-@\t\r").contains(cell[i]);
    return guarded ? cell.sliced(1) : cell;
}

QString trailingTrimmed(QString s)
{
    while (s.endsWith(u' '))
        s.chop(1);
    return s;
}

bool isBlank(const QStringList& cells)
{
    return std::all_of(cells.begin(), cells.end(),
                       [](const QString& c) { return c.trimmed().isEmpty(); });
}

// The place the zone and apartment cells name, as the directory's row.
std::optional<int> placeOf(const QString& zoneCell, const QString& apartmentCell)
{
    bool zoneOk = false, numberOk = false;
    const QString zoneText = zoneCell.trimmed().toUpper();
    const int zone = zoneText == u"A" ? kAdditionalNumberZone : zoneText.toInt(&zoneOk);
    const int number = apartmentCell.trimmed().toInt(&numberOk);
    if ((!zoneOk && zoneText != u"A") || !numberOk || zone < 1 || zone > kAdditionalNumberZone
        || number < 1)
        return std::nullopt;
    if (zone == kAdditionalNumberZone)
        return number <= kAdditionalNumberCount ? std::optional(additionalNumberRow(number))
                                                : std::nullopt;
    return number <= kApartmentsPerZone ? std::optional(zoneRow(zone - 1, number)) : std::nullopt;
}

QChar separatorOf(const TableRead& read)
{
    return read.separator == TableSeparator::Comma ? u','
           : read.separator == TableSeparator::Tab ? u'\t'
                                                   : u';';
}

// Every line the reader neither named in a finding nor skipped as empty or
// as the header gave the entry its cells hold, unchanged.
void checkEveryLineAccountedFor(const TableRead& read, const QString& text)
{
    const QStringList lines = plainLines(text);
    std::vector<bool> named(std::size_t(lines.size()) + 2);
    bool unreadTold = false, line2Told = false;
    for (const TableFinding& f : read.findings) {
        check(f.row >= 1 && f.row <= lines.size() && f.lastRow <= lines.size());
        for (int line = f.row; line <= std::max(f.row, f.lastRow); ++line)
            named[std::size_t(line)] = true;
        unreadTold |= f.kind == TableFinding::Kind::UnreadColumns;
        line2Told |= f.kind == TableFinding::Kind::NoLineColumn;
    }
    std::map<int, const TableEntry*> byLine;
    for (const TableEntry& e : read.entries)
        check(byLine.emplace(e.row, &e).second);
    const QChar separator = separatorOf(read);
    QStringList header;
    if (read.headerRow > 0)
        header = cellsOf(lines[read.headerRow - 1], separator)
                     .value_or(lines[read.headerRow - 1].split(separator));
    const auto cell = [](const QStringList& cells, int at) {
        return at >= 0 && at < cells.size() ? cells[at] : QString();
    };
    for (int n = 1; n <= lines.size(); ++n) {
        std::optional<QStringList> cells = cellsOf(lines[n - 1], separator);
        if (n == read.headerRow || named[std::size_t(n)])
            continue;
        check(cells.has_value());
        for (QString& c : *cells)
            c = withoutGuard(c);
        const auto entry = byLine.find(n);
        if (isBlank(*cells)) {
            check(entry == byLine.end());
            continue;
        }
        check(entry != byLine.end() && entry->second->line1Given);
        const TableEntry& e = *entry->second;
        check(placeOf(cell(*cells, read.columns[kZoneColumn]),
                      cell(*cells, read.columns[kApartmentColumn]))
              == e.gridRow);
        check(e.line1 == trailingTrimmed(cell(*cells, read.columns[kLine1Column])));
        if (read.columns[kLine2Column] >= 0)
            check(e.line2Given
                  && e.line2 == trailingTrimmed(cell(*cells, read.columns[kLine2Column])));
        else
            check(!e.line2Given && line2Told);
        for (int c = 0; c < cells->size(); ++c) {
            const bool read_ =
                std::find(read.columns.begin(), read.columns.end(), c) != read.columns.end();
            if (!read_ && !(*cells)[c].trimmed().isEmpty())
                check(c < read.width && !cell(header, c).trimmed().isEmpty() && unreadTold);
        }
    }
}

// The report: a line for each finding, naming its row, and the summary.
void checkReport(const TableRead& read)
{
    for (int language = 0; language < 3; ++language) {
        const QStringList report = tableReportText(read, language).split(u'\n');
        if (read.refusal) {
            check(report.size() == 1);
            continue;
        }
        const qsizetype told = read.alsoPlausible.isEmpty() ? 0 : 1;
        check(report.size() == qsizetype(read.findings.size()) + told + 1);
        if (language != 1)
            continue;
        for (std::size_t i = 0; i < read.findings.size(); ++i)
            check(report[qsizetype(i) + told].startsWith(
                (read.findings[i].lastRow ? QStringLiteral("rows %1–") : QStringLiteral("row %1"))
                    .arg(read.findings[i].row)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TableRead read = parseTable(bytes);
    check(!read.refusal || (read.entries.empty() && read.findings.empty()));
    std::set<int> rows;
    for (const TableEntry& e : read.entries) {
        check(e.gridRow >= 1 && e.gridRow <= kGridRows && rows.insert(e.gridRow).second);
        check(e.line1.size() <= kLine1Length && e.line2.size() <= kLine2Length);
        check(conformingText(e.line1, true) == e.line1);
        check(conformingText(e.line2, false) == e.line2);
    }
    check(nonEmpty(read.entries).size() <= std::size_t(1020));
    checkReport(read);
    if (!read.refusal)
        checkEveryLineAccountedFor(read,
                                   *decodeTable(bytes, tableEncodingNamed(read.encoding)).text);
    // Any bytes in any encoding the user may choose: a reading or a refusal,
    // and no doubt about the encoding told.
    for (const TableEncoding encoding : kTableEncodings) {
        const TableRead given = parseTable(bytes, encoding);
        check(given.encoding == tableEncodingName(encoding) || given.refusal);
        check(given.alsoPlausible.empty() && (!given.refusal || given.entries.empty()));
    }
    if (read.refusal)
        return 0;
    const TableRead again = parseTable(tableBytes(applyTable(DirectoryGrid{}, read, true)));
    check(!again.refusal);
    const std::vector<TableEntry> first = nonEmpty(read.entries);
    const std::vector<TableEntry> second = nonEmpty(again.entries);
    check(first.size() == second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        const auto trimmed = [](QString s) {
            while (s.endsWith(u' '))
                s.chop(1);
            return s;
        };
        check(second[i].gridRow == first[i].gridRow);
        check(second[i].line1 == trimmed(first[i].line1));
        check(second[i].line2 == trimmed(first[i].line2));
    }
    return 0;
}
