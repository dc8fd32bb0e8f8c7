// The words of a table import's report.
#include "base/FixedTexts.h"
#include "files/ResidentTable.h"

namespace q540 {

namespace {

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
    FixedText::TableQuoteNotClosed,
    FixedText::TableRowsJoined,
    FixedText::TableExtraColumns,
    FixedText::TableShortRow,
    FixedText::TableNoLineColumn,
    FixedText::TableUnreadColumns,
};
static_assert(std::size(kFindings) == std::size_t(TableFinding::Kind::UnreadColumns) + 1);

// Not arg(): some texts name no line or no detail, and arg() would put the
// one where the other goes. The detail is the table's own text, so it goes
// in last, where a "%1" it holds stays as it is, and its line breaks are
// shown as marks: a finding is one line of the report.
QString filledIn(FixedText text, int language, int line, QString detail)
{
    QString words = fixedText(text, language);
    words.replace(QStringLiteral("%1"), QString::number(line));
    detail.replace(u'\r', u'\u240D').replace(u'\n', u'\u240A');
    words.replace(QStringLiteral("%2"), detail);
    return words;
}

} // namespace

QString findingText(const TableFinding& f, int language)
{
    QString where = f.lastRow > f.row
                        ? fixedText(FixedText::TableRows, language).arg(f.row).arg(f.lastRow)
                        : fixedText(FixedText::TableRow, language).arg(f.row);
    if (f.zone > 0 && f.number > 0)
        where += QStringLiteral(" (") + entryPlaceText({f.zone, f.number}, language) + u')';
    return where + QStringLiteral(": ")
           + filledIn(kFindings[static_cast<int>(f.kind)], language, f.line, f.detail);
}

QString tableReportText(const TableRead& table, int language)
{
    if (table.refusal)
        return fixedText(FixedText::TableRefused, language)
            .arg(filledIn(table.refusal->reason, language, 0, table.refusal->detail));
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
