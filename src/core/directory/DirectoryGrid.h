#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace q540 {

// One cell of the directory grid: empty, or exactly one UTF-16 code unit.
// An empty cell and a space are different values; code unit 0 is a value too.
class Cell {
public:
    constexpr Cell() = default;
    constexpr explicit Cell(char16_t unit) : value_(unit) {}
    explicit Cell(QChar c) : value_(c.unicode()) {}

    constexpr bool isEmpty() const { return value_ < 0; }
    // The code unit; only meaningful when the cell is not empty.
    constexpr char16_t unit() const { return static_cast<char16_t>(value_); }
    // The cell as readers of an entry's text see it: an empty cell is a space.
    constexpr char16_t unitOrSpace() const { return isEmpty() ? u' ' : unit(); }
    // The cell's string: "" or one character.
    QString text() const { return isEmpty() ? QString() : QString(QChar(unit())); }
    constexpr bool isSpace() const { return value_ == u' '; }

    friend constexpr bool operator==(Cell, Cell) = default;

private:
    std::int32_t value_ = -1;
};

inline constexpr int kZoneCount = 4;
inline constexpr int kApartmentsPerZone = 255;
inline constexpr int kAdditionalNumberCount = 8;
inline constexpr int kGridRows = 1028;
inline constexpr int kGridColumns = 32;
inline constexpr int kFirstAdditionalRow = kZoneCount * kApartmentsPerZone + 1; // 1021
inline constexpr int kLine1Length = 16;
inline constexpr int kLine2Length = 14;
inline constexpr int kLine2FirstColumn = kLine1Length + 1;           // 17
inline constexpr int kEntryTextLength = kLine1Length + kLine2Length; // 30

// Grid rows of an entry: zone index 0..3 and apartment number 1..255, or
// additional number 1..8.
constexpr int zoneRow(int zoneIndex, int apartment)
{
    return zoneIndex * kApartmentsPerZone + apartment;
}
constexpr int additionalNumberRow(int k)
{
    return kZoneCount * kApartmentsPerZone + k;
}

// The other way round: where a grid row's entry is. The zone is 1..4, or 5 for
// an additional number, whose number is then 1..8; otherwise it is the
// apartment number 1..255.
struct EntryPlace {
    int zone;
    int number;
};
inline constexpr int kAdditionalNumberZone = 5;
constexpr EntryPlace placeOfRow(int row)
{
    if (row >= kFirstAdditionalRow)
        return {kAdditionalNumberZone, row - kFirstAdditionalRow + 1};
    return {(row - 1) / kApartmentsPerZone + 1, (row - 1) % kApartmentsPerZone + 1};
}

// An entry's place in words, in a program language: "zone 2, apartment 17"
// or "additional number 3".
QString entryPlaceText(EntryPlace place, int language);
// The grid row of a place; 0 for none.
constexpr int rowOfPlace(EntryPlace place)
{
    if (place.zone == kAdditionalNumberZone)
        return place.number >= 1 && place.number <= kAdditionalNumberCount
                   ? additionalNumberRow(place.number)
                   : 0;
    return place.zone >= 1 && place.zone <= kZoneCount && place.number >= 1
                   && place.number <= kApartmentsPerZone
               ? zoneRow(place.zone - 1, place.number)
               : 0;
}

// D1_Tablica_nazwisk4: the directory as 1028 rows by 32 cells, both counted from 1
// as the rest of the program counts them. Rows 1..1020 are the four zones,
// 1021..1028 the additional numbers; columns 1..16 line 1, 17..30 line 2,
// 31..32 belong to no line and are kept only by the directory file.
class DirectoryGrid {
public:
    Cell cell(int row, int column) const { return cells_[index(row, column)]; }
    void setCell(int row, int column, Cell value) { cells_[index(row, column)] = value; }

    // All 32 cells of a row, for what an undo step keeps.
    using Row = std::array<Cell, kGridColumns>;
    Row row(int row) const;
    void setRow(int row, const Row& cells);

    // Columns 1..30 of a row with empty cells read as spaces.
    QString entryText(int row) const;
    // True when the entry's 30 cells read as 30 spaces.
    bool isEntryEmpty(int row) const;

    // Empties columns 1..30 of every row; columns 31 and 32 stay.
    void clearEntries();

    friend bool operator==(const DirectoryGrid&, const DirectoryGrid&) = default;

private:
    static std::size_t index(int row, int column);

    std::array<Cell, kGridRows * kGridColumns> cells_{};
};

} // namespace q540
