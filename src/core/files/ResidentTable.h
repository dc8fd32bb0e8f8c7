#pragma once

#include "base/FixedTextKeys.h"
#include "directory/DirectoryGrid.h"
#include "files/TableEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace q540 {

// Resident lists as spreadsheets keep them: a table of zone, apartment and
// the entry's two lines, one row an entry. Read and written here for the
// window and the headless tool alike. A cell that a spreadsheet would run as
// a formula (it starts with =, +, -, @, a tab or a CR) is written behind an
// apostrophe, and read without that apostrophe again.

enum class TableSeparator { Semicolon, Comma, Tab };

// The header row the export writes.
inline const QStringList& tableHeader()
{
    static const QStringList header{QStringLiteral("Zone"), QStringLiteral("Apartment"),
                                    QStringLiteral("Line 1"), QStringLiteral("Line 2")};
    return header;
}

// The largest table read; a resident list of every entry is some 100 kB.
inline constexpr qsizetype kTableMaxSize = 2 * 1024 * 1024;

// The table of a directory: UTF-8 with a byte order mark, the English header,
// one row a non-empty entry in zone and apartment order (zone "A" for the
// additional numbers), lines without their trailing spaces, fields quoted as
// RFC 4180 says, rows ended by CR LF.
QByteArray tableBytes(const DirectoryGrid& grid,
                      TableSeparator separator = TableSeparator::Semicolon);

// One row that could not be taken as it stood, and what became of it.
struct TableFinding {
    enum class Kind {
        Cut,                 // a line longer than its field: taken cut (detail: the limit)
        RulesApplied,        // line 1 changed to obey the entry rules (detail: as taken)
        ControlCharacter,    // dropped (detail: its number)
        Unsupported,         // a character the module cannot show: taken, a write refuses it
        LookAlike,           // a character the module shows as another (detail: which)
        UnknownZone,         // refused (detail: the zone as written)
        ApartmentOutOfRange, // refused (detail: the number as written)
        Duplicate,           // a second row for the same entry: refused
        TooMany,             // past the module's capacity: refused
        NoLine1,             // line 2 without line 1: refused
        QuoteNotClosed, // the row read with its quotes as text (detail: where the quote ran to)
        RowsJoined,     // a quoted cell holds line breaks: the lines are one row
        ExtraColumns,   // cells past the read columns left out (detail: their text)
        ShortRow,       // no cell for a line: it keeps what the directory holds
        NoLineColumn,   // the header names no column for a line (about every row)
        UnreadColumns,  // header columns of no directory field (detail: their names)
    };
    Kind kind;
    int row = 0;     // the file's line where the table's row starts, from 1
    int lastRow = 0; // the row's last line when a quoted cell holds line breaks
    int zone = 0;    // 1..4, 5 for an additional number; 0 when unknown
    int number = 0;
    int line = 0; // 1 or 2 for a finding about one line
    QString detail;
};

// An entry as the table gives it, after the entry rules and the cuts. A
// line the row has no cell for is not given: it keeps what the directory
// holds.
struct TableEntry {
    int gridRow = 0;
    QString line1;
    QString line2;
    int row = 0; // the file's line where its row starts
    bool line1Given = true;
    bool line2Given = true;
};

// The columns a table's fields are read from, by their place in a row;
// -1 for a column the table does not have.
enum TableColumn { kZoneColumn, kApartmentColumn, kLine1Column, kLine2Column, kTableColumnCount };
using TableColumns = std::array<int, kTableColumnCount>;

// Why a file is no table: a text with one detail.
struct TableRefusal {
    FixedText reason;
    QString detail;
};

struct TableRead {
    // Set when the file cannot be read as a table at all; nothing is taken then.
    std::optional<TableRefusal> refusal;
    QString encoding; // as tableEncodingName() gives it
    // Code pages that read the table as other text about as plausible: the
    // names may be wrong, and the report says which encoding was chosen.
    QStringList alsoPlausible;
    TableSeparator separator = TableSeparator::Semicolon;
    int headerRow = 0; // the file's line of the header; 0 for a table without one
    TableColumns columns{0, 1, 2, 3};
    int width = kTableColumnCount; // the columns a row may fill; cells past them are left out
    int rows = 0;                  // data rows read, empty ones apart
    std::vector<TableEntry> entries;
    std::vector<TableFinding> findings;

    // Every row taken as it stood: nothing cut, changed or refused, and the
    // encoding beyond doubt.
    bool takenAsItStood() const { return !refusal && findings.empty() && alsoPlausible.empty(); }
};

// Reads a table: in the encoding given, or the one decodeTable() sees; the
// separator (";", "," or tab) that the first row and the rows after it
// agree on; a header in English, Polish or German naming the columns in
// any order, or none (zone, apartment, line 1, line 2).
TableRead parseTable(QByteArrayView bytes, std::optional<TableEncoding> encoding = std::nullopt);

// Whether pasted text holds rows of cells, as a spreadsheet puts a range on
// the clipboard (tabs between cells, a line a row): more than one line, or a
// tab. One cell with its line end is a plain paste.
bool isPastedRows(QStringView text);

// Rows pasted into the entry of zone (1..4, 5 for the additional numbers)
// and number, read as a table whose rows fill that entry and the following
// ones: one column is line 1, two are line 1 and line 2. The findings name
// the pasted rows from 1.
TableRead parsePastedRows(QStringView text, int zone, int firstNumber);

// The directory with the table's entries: on an emptied copy (replace), or
// over the entries the table names, the others kept (merge). An entry whose
// two lines are empty empties that entry.
DirectoryGrid applyTable(const DirectoryGrid& current, const TableRead& table, bool replace);

// A finding in words, in a program language (0..2): "row 7 (zone 2,
// apartment 17): line 1 is longer than 16 characters; the rest was cut".
QString findingText(const TableFinding& finding, int language);
// The whole report: the findings, then a summary line.
QString tableReportText(const TableRead& table, int language);

} // namespace q540
