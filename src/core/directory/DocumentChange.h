#pragma once

#include "directory/DirectoryDocument.h"

#include <vector>

namespace q540 {

// What one undo step changed of a directory document: the grid rows it
// changed, and the fields, each side as it was. The module language is no
// part of it: the module, not the user, decides it.
struct DocumentChange {
    struct RowChange {
        int row;
        DirectoryGrid::Row before;
        DirectoryGrid::Row after;
    };
    std::vector<RowChange> rows;
    DocumentFields fieldsBefore;
    DocumentFields fieldsAfter;

    bool isEmpty() const;
    // The first grid row the change touches; 0 when it touches none.
    int firstRow() const;
    // Whether it changes line 1 of a grid row (or else only line 2 or nothing).
    bool changesLine1(int row) const;
    // The first intro line (0..7) it changes; -1 for none.
    int firstIntroLine() const;
    bool changesAddress() const { return fieldsBefore.address != fieldsAfter.address; }
    bool changesTime() const { return fieldsBefore.timeIndex != fieldsAfter.timeIndex; }
};

// The parts of a document a step may have changed; whatever else differs is
// taken as it is, not undone.
enum class ChangeScope { Grid, Intro, Address, Everything };

// What differs between two documents within a scope.
DocumentChange changeBetween(const DirectoryDocument& before, const DirectoryDocument& after,
                             ChangeScope scope);
// Sets each row and field the change touches to its state before (undo) or
// after (redo); the rest of the document stays as it is now.
void applyChange(DirectoryDocument& document, const DocumentChange& change, bool undo);
// One change for two in a row (a typing burst): before of the first, after
// of the second.
DocumentChange joined(const DocumentChange& first, const DocumentChange& second);

} // namespace q540
