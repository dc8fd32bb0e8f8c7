#pragma once

#include "directory/DirectoryGrid.h"

#include <QString>

#include <functional>
#include <vector>

namespace q540 {

// The page selector's items: zone pages 0..3, the additional numbers, the intro screens.
inline constexpr int kSelectorAdditionalNumbers = 4;
inline constexpr int kSelectorIntro = 5;
inline constexpr int kSelectorCount = 6;

enum class PageKind { Zone, AdditionalNumbers, Intro };

PageKind pageKind(int selectorIndex);
// Slots of a page: 255 on a zone page, 8 on the additional-number page, none on the intro page.
int slotCount(int selectorIndex);
// The grid row of slot 1..slotCount() of a page.
int slotRow(int selectorIndex, int slot);
// Numbers of the "Edit" fields that show a slot's two lines: 2j-1 and 2j on a
// zone page, 2k+520 and 2k+521 on the additional-number page.
// The field numbers (objectName "EditN") of the pages: a slot's two lines,
// the slot of a field on the selected page (0 for none), an intro line's field.
int line1EditNumber(int selectorIndex, int slot);
int line2EditNumber(int selectorIndex, int slot);
int slotOfEditNumber(int selectorIndex, int editNumber);
int introLineEditNumber(int line);
// The intro screen 1..4 whose line an edit number shows; 0 for none.
int introScreenOfEditNumber(int editNumber);

struct PageSlot {
    QString line1;
    QString line2;
    friend bool operator==(const PageSlot&, const PageSlot&) = default;
};

// Writes the texts of every slot of a zone or additional-number page into the
// grid, one character a cell and empty cells after the end of each line. The
// intro page copies nothing.
void storePage(DirectoryGrid& grid, int selectorIndex, const std::vector<PageSlot>& page);

// The texts a page shows for the grid: each line without its trailing space
// cells, except that line 2 (and line 1 of an additional number) keeps its
// first character, so a line of spaces only shows as one space there.
std::vector<PageSlot> pageTexts(const DirectoryGrid& grid, int selectorIndex);

// The page that the main window shows, as values: the selected page, the
// texts of its slots, which line-2 fields are editable, and the page-fill
// flag. The window's fields only show these values and report their changes
// through line1Changed() and line2Changed().
class DirectoryPage {
public:
    explicit DirectoryPage(DirectoryGrid& grid);

    int selectorIndex() const { return selectorIndex_; }
    PageKind kind() const { return pageKind(selectorIndex_); }
    const std::vector<PageSlot>& pageSlots() const { return slots_; }
    const PageSlot& slot(int slot) const;
    // True while the program itself fills the page; stays true while the intro page is shown.
    bool fillingPage() const { return fillingPage_; }
    // The name-list group with the directory transfer buttons is usable on every page but the
    // intro.
    bool transferGroupEnabled() const { return kind() != PageKind::Intro; }

    // Line 2 of a slot is editable exactly while its line 1 is not empty.
    bool line2Enabled(int slot) const;

    // The text of a slot's line-1 field changed, typed or set by the program:
    // line 2 follows (enabled, or disabled and emptied), then, unless the
    // program is filling the page, the page is copied into the grid and the
    // name list rebuilt. Emptying line 1 thus copies and rebuilds twice, once
    // for the emptied line 2 and once for line 1.
    void line1Changed(int slot, const QString& text);
    // The text of a slot's line-2 field changed.
    void line2Changed(int slot, const QString& text);
    // One of the name list's check boxes (sorting, alphabetical search) was clicked.
    void listOptionClicked();

    // Enables line 2 of a slot; disables it and sets its text to empty.
    void OtworzEdit(int slot);
    void ZamknijEdit(int slot);

    // Copies the current page into the grid.
    void storePage();
    // Selects a page and fills it from the grid, then rebuilds the name list.
    void selectPage(int selectorIndex);
    // Refills the current page after the grid changed underneath it.
    void refresh() { selectPage(selectorIndex_); }
    // Empties the directory (columns 1..30), refills the page and sets the
    // module's entry count text to "0".
    void Zeruj_dane(QString& moduleEntryCount);

    // Called whenever the name list must be rebuilt.
    std::function<void()> onListRebuild;
    // Called whenever the program itself changes a slot's texts or the state
    // of its line 2, so that a view can show it.
    std::function<void(int slot)> onSlotChanged;

private:
    PageSlot& slotRef(int slot);
    void copyAndRebuild();
    void rebuildList();
    void notify(int slot);

    DirectoryGrid& grid_;
    int selectorIndex_ = 0;
    std::vector<PageSlot> slots_;
    std::vector<bool> line2Enabled_;
    bool fillingPage_ = false;
};

} // namespace q540
