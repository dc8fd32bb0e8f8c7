#pragma once

#include "directory/DirectoryGrid.h"
#include "directory/DocumentChange.h"

#include <QString>

namespace q540 {

// One undoable step of editing, as the Edit menu names it: "Undo typing in
// zone 2, apartment 17", "Redo opening lista.csv".
struct EditStep {
    enum class Kind {
        Typing,
        Paste,
        PastedRows,
        New,
        Open,
        Import,
        TableImport,
        ModuleRead,
        IntroRead,
        HistoryCopy,
        TimeChange,
    };
    // Where a typing or paste step happened.
    enum class Field { Entry, IntroLine, Address, DisplayTime };

    Kind kind = Kind::Typing;
    Field field = Field::Entry;
    EntryPlace place{0, 0}; // an entry's place; for an intro line, its screen in number
    QString file{};         // the file's name of Open and Import

    // The step's name in a program language 0..2.
    QString name(int language) const;
};

// The step that typing or a paste in a field makes, and what it may change.
// Fields by their number ("EditN") on the page of selectorIndex, or
// kDisplayTimeField for the display-time list.
inline constexpr int kDisplayTimeField = 0;
struct FieldStep {
    EditStep step;
    ChangeScope scope;
};
FieldStep fieldStep(int selectorIndex, int editNumber, bool pasted);

// Where the view goes to show a change undone or redone: the page of the
// selector (-1 to stay), and there the entry's slot (its line 2 when only
// that changed), an intro line 0..7, or the address.
struct ChangeView {
    int selectorIndex = -1;
    int slot = 0;
    bool line2 = false;
    int introLine = -1;
    bool address = false;
};
ChangeView viewOfChange(const DocumentChange& change);

// The Edit menu's captions: "Undo …"/"Redo …" naming the step, or plain
// "Undo"/"Redo" without one (step null).
QString undoCaption(const EditStep* step, int language);
QString redoCaption(const EditStep* step, int language);
// "intro screen 2" in a program language.
QString introScreenText(int screen, int language);

} // namespace q540
