#include "directory/DirectoryPage.h"

#include "directory/IntroScreens.h"

#include <QtGlobal>

namespace q540 {

namespace {

constexpr int kFirstIntroEdit = 511;
// Edit522/523 are the first additional number's lines: two fields a slot after this.
constexpr int kAdditionalEditBase = 520;

void copyLine(DirectoryGrid& grid, int row, int firstColumn, int length, const QString& text)
{
    for (int i = 0; i < length; ++i) {
        const Cell value = i < text.size() ? Cell(text.at(i)) : Cell();
        grid.setCell(row, firstColumn + i, value);
    }
}

// Scans from the last character back to `lowestRemovable`, dropping cells that
// hold exactly one space; an empty cell or any other character ends the scan.
QString trimmedLine(const DirectoryGrid& grid, int row, int firstColumn, int length,
                    int lowestRemovable)
{
    int keep = length;
    while (keep >= lowestRemovable && grid.cell(row, firstColumn + keep - 1).isSpace())
        --keep;
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i) {
        const Cell c = grid.cell(row, firstColumn + i);
        if (i < keep && !c.isEmpty())
            text.append(QChar(c.unit()));
    }
    return text;
}

} // namespace

PageKind pageKind(int selectorIndex)
{
    Q_ASSERT(selectorIndex >= 0 && selectorIndex < kSelectorCount);
    if (selectorIndex == kSelectorIntro)
        return PageKind::Intro;
    if (selectorIndex == kSelectorAdditionalNumbers)
        return PageKind::AdditionalNumbers;
    return PageKind::Zone;
}

int slotCount(int selectorIndex)
{
    switch (pageKind(selectorIndex)) {
    case PageKind::Zone:
        return kApartmentsPerZone;
    case PageKind::AdditionalNumbers:
        return kAdditionalNumberCount;
    case PageKind::Intro:
        break;
    }
    return 0;
}

int slotRow(int selectorIndex, int slot)
{
    Q_ASSERT(slot >= 1 && slot <= slotCount(selectorIndex));
    return pageKind(selectorIndex) == PageKind::Zone ? zoneRow(selectorIndex, slot)
                                                     : additionalNumberRow(slot);
}

int line1EditNumber(int selectorIndex, int slot)
{
    return pageKind(selectorIndex) == PageKind::Zone ? 2 * slot - 1
                                                     : 2 * slot + kAdditionalEditBase;
}

int line2EditNumber(int selectorIndex, int slot)
{
    return line1EditNumber(selectorIndex, slot) + 1;
}

int slotOfEditNumber(int selectorIndex, int editNumber)
{
    if (pageKind(selectorIndex) == PageKind::Intro)
        return 0;
    const int first = line1EditNumber(selectorIndex, 1);
    const int slot = (editNumber - first) / 2 + 1;
    return editNumber >= first && slot <= slotCount(selectorIndex) ? slot : 0;
}

int introLineEditNumber(int line)
{
    return kFirstIntroEdit + line;
}

int introScreenOfEditNumber(int editNumber)
{
    const int line = editNumber - kFirstIntroEdit;
    return line >= 0 && line < kIntroLineCount ? line / 2 + 1 : 0;
}

void storePage(DirectoryGrid& grid, int selectorIndex, const std::vector<PageSlot>& page)
{
    const int count = slotCount(selectorIndex);
    Q_ASSERT(static_cast<int>(page.size()) == count);
    for (int j = 1; j <= count; ++j) {
        const int row = slotRow(selectorIndex, j);
        const PageSlot& s = page[static_cast<std::size_t>(j - 1)];
        copyLine(grid, row, 1, kLine1Length, s.line1);
        copyLine(grid, row, kLine2FirstColumn, kLine2Length, s.line2);
    }
}

std::vector<PageSlot> pageTexts(const DirectoryGrid& grid, int selectorIndex)
{
    const int count = slotCount(selectorIndex);
    // An additional number's line 1 keeps its first character like every line 2.
    const int line1Lowest = pageKind(selectorIndex) == PageKind::Zone ? 1 : 2;
    std::vector<PageSlot> page;
    page.reserve(static_cast<std::size_t>(count));
    for (int j = 1; j <= count; ++j) {
        const int row = slotRow(selectorIndex, j);
        page.push_back({trimmedLine(grid, row, 1, kLine1Length, line1Lowest),
                        trimmedLine(grid, row, kLine2FirstColumn, kLine2Length, 2)});
    }
    return page;
}

DirectoryPage::DirectoryPage(DirectoryGrid& grid)
    : grid_(grid), slots_(static_cast<std::size_t>(slotCount(0))),
      line2Enabled_(slots_.size(), false)
{
}

const PageSlot& DirectoryPage::slot(int slot) const
{
    Q_ASSERT(slot >= 1 && slot <= static_cast<int>(slots_.size()));
    return slots_[static_cast<std::size_t>(slot - 1)];
}

PageSlot& DirectoryPage::slotRef(int slot)
{
    Q_ASSERT(slot >= 1 && slot <= static_cast<int>(slots_.size()));
    return slots_[static_cast<std::size_t>(slot - 1)];
}

bool DirectoryPage::line2Enabled(int slot) const
{
    Q_ASSERT(slot >= 1 && slot <= static_cast<int>(slots_.size()));
    return line2Enabled_[static_cast<std::size_t>(slot - 1)];
}

void DirectoryPage::line1Changed(int slot, const QString& text)
{
    slotRef(slot).line1 = text;
    if (text.isEmpty())
        ZamknijEdit(slot);
    else
        OtworzEdit(slot);
    copyAndRebuild();
}

void DirectoryPage::line2Changed(int slot, const QString& text)
{
    slotRef(slot).line2 = text;
    copyAndRebuild();
}

void DirectoryPage::listOptionClicked()
{
    copyAndRebuild();
}

void DirectoryPage::OtworzEdit(int slot)
{
    line2Enabled_[static_cast<std::size_t>(slot - 1)] = true;
    // A fill tells the view once per slot, after both lines are written.
    if (!fillingPage_)
        notify(slot);
}

void DirectoryPage::ZamknijEdit(int slot)
{
    line2Enabled_[static_cast<std::size_t>(slot - 1)] = false;
    // Emptying line 2 is a change of its own, with its own copy and rebuild.
    slotRef(slot).line2.clear();
    if (!fillingPage_)
        notify(slot);
    copyAndRebuild();
}

void DirectoryPage::copyAndRebuild()
{
    if (fillingPage_)
        return;
    storePage();
    rebuildList();
}

void DirectoryPage::storePage()
{
    q540::storePage(grid_, selectorIndex_, slots_);
}

void DirectoryPage::selectPage(int selectorIndex)
{
    fillingPage_ = true;
    selectorIndex_ = selectorIndex;
    const std::vector<PageSlot> texts = pageTexts(grid_, selectorIndex);
    slots_.assign(texts.size(), PageSlot());
    line2Enabled_.assign(texts.size(), false);
    // Each slot is written as the fields are: line 1 first, which opens or
    // closes line 2, then line 2. A line 2 without a line 1 therefore shows
    // its text in a disabled field.
    for (int j = 1; j <= static_cast<int>(texts.size()); ++j) {
        const PageSlot& t = texts[static_cast<std::size_t>(j - 1)];
        line1Changed(j, t.line1);
        line2Changed(j, t.line2);
        notify(j);
    }
    // The intro page has no directory fields: the flag stays set until the
    // next directory page is filled, so nothing is copied meanwhile.
    if (kind() != PageKind::Intro)
        fillingPage_ = false;
    rebuildList();
}

void DirectoryPage::Zeruj_dane(QString& moduleEntryCount)
{
    grid_.clearEntries();
    refresh();
    moduleEntryCount = QStringLiteral("0");
}

void DirectoryPage::rebuildList()
{
    if (onListRebuild)
        onListRebuild();
}

void DirectoryPage::notify(int slot)
{
    if (onSlotChanged)
        onSlotChanged(slot);
}

} // namespace q540
