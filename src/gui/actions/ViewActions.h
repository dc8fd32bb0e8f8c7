#pragma once

#include "directory/DirectoryGrid.h"
#include "gui/actions/WindowParts.h"

#include <QObject>

class QLabel;

namespace q540 {

// What the window shows: the page of the selector, the display preview of
// the entry or intro screen in hand, and every control's text in the
// program's language, which the user chooses here.
class ViewActions final : public QObject {
    Q_OBJECT

public:
    explicit ViewActions(const WindowParts& parts);

    // Shows the page of a selector item (0..3 zones, 4 additional numbers, 5 intro).
    void RadioGroup_StrefaClick(int index);
    // Shows an entry's page and tab with the cursor in its line, at position
    // (-1 for the end).
    void showEntryField(EntryPlace place, bool line2 = false, int position = -1);
    // The same for an intro line 0..7 on the intro page.
    void showIntroField(int line, int position);
    // Puts the texts of the current language on every control.
    void Ustaw_WJ_na_komponentach();
    // The command Language: the program language chosen in its window.
    void Jzyk1Click();
    // A note in the status bar that the module is the demo one, in the program's language.
    void showDemoNote();

    // The preview shows the field that got the focus, or the entry selected
    // in the name list, and follows every change of it, typed or loaded.
    void previewField(int editNumber);
    void previewEntry(int zone, int apartment);
    void refreshPreview();
    // The name list, its count and the tabs' lamps after the list was rebuilt.
    void listRebuilt();

private:
    WindowParts parts_;
    int jezyk_ = 0;
    QLabel* demoNote_ = nullptr;
    // What the display preview shows: a grid row, or an intro screen 1..4.
    int previewRow_ = 0;
    int previewScreen_ = 0;
};

} // namespace q540
