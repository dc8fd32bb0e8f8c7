#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QModelIndex;
class QTreeView;

namespace q540 {

class DisplayPreviewView;
class Localisation;
class NameList;
class NameListModel;
class NameListSearch;
struct NameRow;

// The name-list group of the main window: the list in the module's order,
// the entry count, the sort and alphabetical-search boxes, and the directory
// transfers' buttons.
class NameListPanel final : public QGroupBox {
    Q_OBJECT

public:
    NameListPanel(const NameList& list, const Localisation& texts, QWidget* parent = nullptr);

    // Shows the rebuilt list and its entry count.
    void listRebuilt(int count);
    void setAlphabeticalSearch(bool ticked);
    // "Verify after writing", beside Write.
    bool verifyAfterWriting() const;
    void setVerifyAfterWriting(bool on);
    // "Check by reading twice", beside it: for Read.
    bool readTwice() const;
    void setReadTwice(bool on);
    void retranslate();
    // Lets go of the list before the directory that holds it goes.
    void detachList();
    // Ctrl+F: the cursor to the search field, its text selected.
    void focusSearch();
    // What the panel's display will show of the selected or edited entry.
    DisplayPreviewView* preview() const { return preview_; }
    // Wide enough for every column; narrower only where the screen is.
    QSize sizeHint() const override;

signals:
    void sortClicked(bool on);
    void alphabeticalSearchClicked(bool on);
    void readClicked();
    void writeClicked();
    void compareClicked();
    // A row chosen in the list (Enter, a double-click, or Enter in the search
    // field for the first row found): zone 1..4, 5 additional numbers.
    void entryChosen(int zone, int apartment);
    // The list's current row moved to this entry.
    void entrySelected(int zone, int apartment);
    void verifyClicked(bool on);
    void readTwiceClicked(bool on);

private:
    void fitColumns();
    void choose(const QModelIndex& index);
    const NameRow* rowAt(const QModelIndex& index) const;

    const Localisation& texts_;
    NameListModel* model_ = nullptr;
    NameListSearch* search_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    const NameList& list_;
    QTreeView* view_ = nullptr;
    int listWidth_ = 0; // the columns' width, as the list would like it
    QLabel* countLabel_ = nullptr;
    QLineEdit* count_ = nullptr;
    QCheckBox* sortBox_ = nullptr;
    QCheckBox* alphaBox_ = nullptr;
    QPushButton* read_ = nullptr;
    QPushButton* write_ = nullptr;
    QPushButton* compare_ = nullptr;
    QCheckBox* verifyBox_ = nullptr;
    QCheckBox* readTwiceBox_ = nullptr;
    DisplayPreviewView* preview_ = nullptr;
};

} // namespace q540
