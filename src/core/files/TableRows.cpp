#include "files/TableRows.h"

namespace q540 {

namespace {

// The length of the line break that starts at i: 2 for CR LF, 1 for LF or a
// lone CR, 0 for none.
int lineBreakAt(QStringView text, qsizetype i)
{
    if (text[i] == u'\n')
        return 1;
    if (text[i] != u'\r')
        return 0;
    return i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
}

struct Scan {
    TableRow row;
    qsizetype next = 0; // where the following row starts
};

// One row from start, which is the beginning of line `line`: with quotes as
// RFC 4180 reads them, or as plain text (one line exactly). With quotes, a
// quote that does not close properly ends the scan with row.quoteRanTo set.
Scan scanRow(QStringView text, qsizetype start, int line, QChar separator, bool quotes)
{
    Scan scan;
    TableRow& row = scan.row;
    row.firstLine = line;
    QString field;
    bool fieldStart = true;
    const qsizetype size = text.size();
    qsizetype i = start;
    while (i < size) {
        const QChar c = text[i];
        if (const int lineBreak = lineBreakAt(text, i)) {
            i += lineBreak;
            break;
        }
        if (c == separator) {
            row.fields << field;
            field.clear();
            fieldStart = true;
            ++i;
            continue;
        }
        if (!quotes || c != u'"' || !fieldStart) {
            field += c;
            fieldStart = false;
            ++i;
            continue;
        }
        // A quoted field: up to the quote that is not doubled.
        fieldStart = false;
        for (++i; i < size; ++i) {
            if (text[i] == u'"' && (i + 1 == size || text[i + 1] != u'"'))
                break;
            if (text[i] == u'"')
                ++i; // the first of a doubled quote
            else if (const int lineBreak = lineBreakAt(text, i)) {
                ++line;
                if (lineBreak == 2)
                    field += text[i++];
            }
            field += text[i];
        }
        const bool closed = i < size;
        if (closed)
            ++i;
        if (!closed || (i < size && text[i] != separator && !lineBreakAt(text, i))) {
            // Where the quote would end: its closing quote, or the last line.
            row.quoteRanTo = closed || !lineBreakAt(text, size - 1) ? line : line - 1;
            return scan;
        }
    }
    row.fields << field;
    row.lastLine = line;
    scan.next = i;
    return scan;
}

} // namespace

std::vector<TableRow> splitTableRows(QStringView text, QChar separator)
{
    std::vector<TableRow> rows;
    qsizetype at = 0;
    int line = 1;
    while (at < text.size()) {
        Scan scan = scanRow(text, at, line, separator, true);
        if (const int ranTo = scan.row.quoteRanTo) {
            scan = scanRow(text, at, line, separator, false);
            scan.row.quoteRanTo = ranTo;
        }
        line = scan.row.lastLine + 1;
        at = scan.next;
        rows.push_back(std::move(scan.row));
    }
    return rows;
}

} // namespace q540
