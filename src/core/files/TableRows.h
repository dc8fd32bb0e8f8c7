#pragma once

#include <QChar>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace q540 {

// One row of a table as the file holds it: its fields, and the lines of the
// file it takes up.
struct TableRow {
    QStringList fields;
    int firstLine = 0; // the file's lines, from 1
    int lastLine = 0;  // past firstLine when a quoted field holds line breaks
    // Not 0 when a quote opened in this row does not close properly: the
    // line where it would have ended (the last line when it never closes).
    // The row was then read with its quotes as plain text.
    int quoteRanTo = 0;
};

// The rows of a table's text, as RFC 4180 reads them: a field that starts
// with a double quote may hold the separator, line breaks and doubled
// quotes; rows end at LF, CR LF or CR outside quotes. A quote that opens a
// field and never closes, or closes with more text behind it than a
// separator or a line end, would swallow the rows that follow into one
// field: its row is read again with the quotes as plain text, and the
// reading goes on at the next line, so no row vanishes unnamed.
std::vector<TableRow> splitTableRows(QStringView text, QChar separator);

} // namespace q540
