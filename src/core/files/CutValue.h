#pragma once

#include <QtGlobal>

#include <vector>

namespace q540 {

// A value of a file longer than the field it is read into: the address,
// intro line `index` (1..8), or line `index` (1, 2) of grid row `row`.
struct CutValue {
    enum class Field { Address, Intro, Entry };
    Field field;
    int index = 0;
    int row = 0;
    qsizetype length = 0;
    qsizetype limit = 0;

    friend bool operator==(const CutValue&, const CutValue&) = default;
};

// What a reader had to change to take a file, for the user to hear of: the
// values it cut, and how many lines a file that ended early held of how many.
struct ReadNotes {
    std::vector<CutValue> cutValues;
    int linesHeld = 0;
    int lineCount = 0;
};

} // namespace q540
