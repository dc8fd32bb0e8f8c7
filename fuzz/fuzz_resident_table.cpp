// Any bytes given to the resident-table reader: no crash, no sanitizer report;
// what it takes keeps the entry rules and the fields' lengths, and a table
// written of what it took reads back to the same entries.
#include "directory/EditingRules.h"
#include "files/ResidentTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
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
    for (int language = 0; language < 3; ++language)
        check(!tableReportText(read, language).isEmpty());
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
