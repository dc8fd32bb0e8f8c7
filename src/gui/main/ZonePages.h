#pragma once

#include "directory/IntroScreens.h"
#include "directory/NameList.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace q540 {

class DirectoryEditor;
class EntryEdit;
class Localisation;

// The editing side of the main window: the page selector, the nine tabs of a
// zone's 255 apartments, the additional numbers and the intro page. Its
// fields forward every change to the directory editor and show what it holds.
class ZonePages final : public QWidget {
    Q_OBJECT

public:
    // Fields numbered as the program addresses them: "Edit" followed by 1..538.
    static constexpr int kEditCount = 539;

    explicit ZonePages(DirectoryEditor& editor, QWidget* parent = nullptr);

    EntryEdit* edit(int number) const { return edits_[static_cast<std::size_t>(number)]; }
    // The number of a field of the pages, 0 for any other widget.
    int editNumberOf(const QWidget* widget) const;
    // Shows the page of a selector item (0..3 zones, 4 additional numbers, 5 intro).
    void selectPage(int index);
    void showSlot(int slot);
    // Shows the tab of the selected page's entry and puts the cursor in its
    // line 1, or in its line 2 when that one is asked for and editable: at
    // position, or at the end.
    void focusEntry(int slot, bool line2 = false, int position = -1);
    void showLamps(const std::array<bool, kTabPageCount>& lamps);
    IntroLines introLines() const;
    void setIntroLines(const IntroLines& lines);
    int introTimeIndex() const;
    void setIntroTimeIndex(int index);
    void retranslate(const Localisation& texts);

signals:
    // The user changed a field, an intro line or the display time.
    void edited();
    // The same, naming the field (its number, or EditStep.h's kDisplayTimeField) once the
    // directory holds the change, and whether it was pasted.
    void fieldEdited(int editNumber, bool pasted);
    // Rows pasted into the entry of zone (1..4, 5 additional numbers) and number.
    void rowsPasted(int zone, int number, const QString& text);
    void pageChosen(int index);
    // A field of the pages got the focus.
    void fieldFocused(int editNumber);
    void readIntroClicked();
    void writeIntroClicked();

private:
    QWidget* buildSelector();
    QWidget* buildZoneTabs();
    QWidget* buildAdditionalNumbers();
    QWidget* buildIntro();
    QLayout* buildIntroTime();
    EntryEdit* makeEdit(int number, bool line1, int maxLength);
    void connectEntryField(int number, bool line1);
    void nameFields();

    DirectoryEditor& editor_;
    std::array<EntryEdit*, kEditCount> edits_{};
    QLabel* verticalCaption_ = nullptr;
    int language_ = 0;
    int zoneShown_ = 1; // the zone the zone fields show, or showed last
    QButtonGroup* selector_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QGroupBox* additionalBox_ = nullptr;
    QGroupBox* introBox_ = nullptr;
    QComboBox* introTime_ = nullptr;
    QLabel* introTimeLabel1_ = nullptr;
    QLabel* introTimeLabel2_ = nullptr;
    QPushButton* readIntro_ = nullptr;
    QPushButton* writeIntro_ = nullptr;
    // The lamp each tab shows: -1 none yet, 0 dark, 1 lit.
    std::array<int, kTabPageCount> lampShown_ = [] {
        std::array<int, kTabPageCount> a{};
        a.fill(-1);
        return a;
    }();
    // Set while the pages write the editor's values into their fields.
    bool showing_ = false;
};

} // namespace q540
