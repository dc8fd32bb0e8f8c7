#pragma once

#include "base/ModuleCapacity.h"
#include "directory/DirectoryGrid.h"
#include "directory/NameCollator.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace q540 {

class Localisation;
class UserSink;

inline constexpr int kTabPageCount = 9;
inline constexpr int kEntriesPerTabPage = 30;

// The tab page (0..8) that shows an apartment number 1..255.
constexpr int tabPageOfApartment(int apartment)
{
    return (apartment - 1) / kEntriesPerTabPage;
}

struct NameRow {
    QString text;  // 30 characters, empty cells as spaces
    int apartment; // 1..255, or 1..8 for an additional number
    int zone;      // 1..4, or 5 for an additional number
    friend bool operator==(const NameRow&, const NameRow&) = default;
};

// The name list: one row for every entry that holds any text, in the order the
// module stores the directory (alphabetical when sorting is on), with the page
// lamps of the selected zone. The rows in list order are what the directory
// write sends.
class NameList {
public:
    explicit NameList(const DirectoryGrid& grid, const QString& localeName = {});

    // While the list is disabled (a read or load fills the grid) no rebuild runs.
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isSorted() const { return sorted_; }
    // Sorts in another locale's order from the next rebuild on (empty: the system's).
    void setLocale(const QString& localeName);
    void setSorted(bool sorted) { sorted_ = sorted; }

    // Rebuilds the rows from the grid, warns when their count passes 1020
    // (nothing is blocked; not again until it has dropped to 1020), and
    // lights the lamps of the page selected by selectorIndex.
    void rebuild(int selectorIndex, UserSink& sink, const Localisation& texts);
    void Zapal_lampki(int selectorIndex);

    const std::vector<NameRow>& rows() const { return rows_; }
    int count() const { return static_cast<int>(rows_.size()); }
    const std::array<bool, kTabPageCount>& lamps() const { return lamps_; }

private:
    // What the last rebuild saw in a grid row, so that only changed texts get
    // a new sort key.
    struct CachedEntry {
        QString text;
        QByteArray key;
        bool blank = true;
        bool valid = false;
    };

    void refreshCache(int row);

    const DirectoryGrid& grid_;
    NameCollator collator_;
    std::vector<CachedEntry> cache_;
    std::vector<int> order_;
    std::vector<NameRow> rows_;
    std::array<bool, kTabPageCount> lamps_{};
    bool enabled_ = true;
    bool sorted_ = true;
    // The last rebuild found more rows than the module holds.
    bool overCapacity_ = false;
};

} // namespace q540
