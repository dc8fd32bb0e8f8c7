#include "directory/DocumentChange.h"

#include <algorithm>
#include <map>

namespace q540 {

bool DocumentChange::isEmpty() const
{
    return rows.empty() && fieldsBefore == fieldsAfter;
}

int DocumentChange::firstRow() const
{
    return rows.empty() ? 0 : rows.front().row;
}

bool DocumentChange::changesLine1(int row) const
{
    for (const RowChange& change : rows)
        if (change.row == row)
            return !std::equal(change.before.begin(), change.before.begin() + kLine1Length,
                               change.after.begin());
    return false;
}

int DocumentChange::firstIntroLine() const
{
    for (int line = 0; line < kIntroLineCount; ++line)
        if (fieldsBefore.intro[std::size_t(line)] != fieldsAfter.intro[std::size_t(line)])
            return line;
    return -1;
}

DocumentChange changeBetween(const DirectoryDocument& before, const DirectoryDocument& after,
                             ChangeScope scope)
{
    DocumentChange change;
    const bool everything = scope == ChangeScope::Everything;
    if (everything || scope == ChangeScope::Grid) {
        for (int row = 1; row <= kGridRows; ++row) {
            DirectoryGrid::Row was = before.grid.row(row);
            DirectoryGrid::Row is = after.grid.row(row);
            if (was != is)
                change.rows.push_back({row, was, is});
        }
    }
    // Fields out of scope read the same on both sides, so they are no change.
    change.fieldsBefore = after.fields;
    change.fieldsAfter = after.fields;
    if (everything || scope == ChangeScope::Address)
        change.fieldsBefore.address = before.fields.address;
    if (everything || scope == ChangeScope::Intro) {
        change.fieldsBefore.intro = before.fields.intro;
        change.fieldsBefore.timeIndex = before.fields.timeIndex;
    }
    return change;
}

namespace {

template <typename Value>
void takeIfChanged(Value& now, const Value& before, const Value& after, bool undo)
{
    if (before != after)
        now = undo ? before : after;
}

template <typename Value>
void joinField(DocumentChange& change, const DocumentChange& first, const DocumentChange& second,
               Value DocumentFields::*field)
{
    const Value& was = first.fieldsBefore.*field;
    change.fieldsBefore.*field = was != first.fieldsAfter.*field ? was : second.fieldsBefore.*field;
}

} // namespace

void applyChange(DirectoryDocument& document, const DocumentChange& change, bool undo)
{
    for (const DocumentChange::RowChange& row : change.rows)
        document.grid.setRow(row.row, undo ? row.before : row.after);
    const DocumentFields& before = change.fieldsBefore;
    const DocumentFields& after = change.fieldsAfter;
    DocumentFields& now = document.fields;
    takeIfChanged(now.address, before.address, after.address, undo);
    for (std::size_t line = 0; line < now.intro.size(); ++line)
        takeIfChanged(now.intro[line], before.intro[line], after.intro[line], undo);
    takeIfChanged(now.timeIndex, before.timeIndex, after.timeIndex, undo);
}

DocumentChange joined(const DocumentChange& first, const DocumentChange& second)
{
    std::map<int, DocumentChange::RowChange> rows;
    for (const DocumentChange::RowChange& row : first.rows)
        rows.emplace(row.row, row);
    for (const DocumentChange::RowChange& row : second.rows) {
        const auto [at, added] = rows.emplace(row.row, row);
        if (!added)
            at->second.after = row.after;
    }
    DocumentChange change;
    for (const auto& [number, row] : rows)
        if (row.before != row.after)
            change.rows.push_back(row);
    // Each field from its state before the first change of it to its state
    // after the last.
    change.fieldsBefore = first.fieldsBefore;
    change.fieldsAfter = second.fieldsAfter;
    joinField(change, first, second, &DocumentFields::address);
    joinField(change, first, second, &DocumentFields::timeIndex);
    for (std::size_t line = 0; line < first.fieldsBefore.intro.size(); ++line) {
        const auto& was = first.fieldsBefore.intro[line];
        const auto& between = first.fieldsAfter.intro[line];
        change.fieldsBefore.intro[line] = was != between ? was : second.fieldsBefore.intro[line];
    }
    change.fieldsBefore.moduleLanguage = change.fieldsAfter.moduleLanguage;
    return change;
}

} // namespace q540
