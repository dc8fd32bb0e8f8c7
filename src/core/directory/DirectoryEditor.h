#pragma once

#include "directory/DirectoryGrid.h"
#include "directory/DirectoryPage.h"
#include "directory/ModuleOrder.h"
#include "directory/NameList.h"

namespace q540 {

class Localisation;
class UserSink;

// The directory as the main window edits it: the grid, the page shown, and
// the name list, wired so that every change of the page rebuilds the list.
// The window forwards its fields' events to page() and shows what it holds.
class DirectoryEditor {
public:
    // The list sorts in the module's alphabetical order of ModuleOrder.h.
    DirectoryEditor(UserSink& sink, const Localisation& texts,
                    int moduleOrder = kModuleOrderSystem);
    DirectoryEditor(const DirectoryEditor&) = delete;
    DirectoryEditor& operator=(const DirectoryEditor&) = delete;

    DirectoryGrid& grid() { return grid_; }
    const DirectoryGrid& grid() const { return grid_; }
    DirectoryPage& page() { return page_; }
    const NameList& list() const { return list_; }
    NameList& list() { return list_; }

    // The two check boxes of the name list; a click rebuilds it like a change of a field.
    bool isSorted() const { return list_.isSorted(); }
    void setSorted(bool sorted);
    bool alphabeticalSearch() const { return alphabeticalSearch_; }
    void setAlphabeticalSearch(bool on);
    // The alphabetical order of the module (ModuleOrder.h); the list is rebuilt in it.
    int moduleOrder() const { return moduleOrder_; }
    void setModuleOrder(int choice);

    // Rebuilds the name list for the page shown.
    void rebuild();
    // Called after every rebuild, so a view can show the new rows, count and lamps.
    std::function<void()> onListRebuilt;

private:
    UserSink& sink_;
    const Localisation& texts_;
    DirectoryGrid grid_;
    DirectoryPage page_{grid_};
    NameList list_;
    bool alphabeticalSearch_ = true;
    int moduleOrder_;
};

} // namespace q540
