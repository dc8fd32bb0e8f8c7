#pragma once

#include "directory/DirectoryGrid.h"

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

// The Edit menu's captions: "Undo …"/"Redo …" naming the step, or plain
// "Undo"/"Redo" without one (step null).
QString undoCaption(const EditStep* step, int language);
QString redoCaption(const EditStep* step, int language);
// "intro screen 2" in a program language.
QString introScreenText(int screen, int language);

} // namespace q540
