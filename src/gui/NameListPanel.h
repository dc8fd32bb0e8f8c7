#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace q540 {

class Localisation;
class NameList;
class NameListModel;

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
    void retranslate();
    // Lets go of the list before the directory that holds it goes.
    void detachList();

signals:
    void sortClicked(bool on);
    void alphabeticalSearchClicked(bool on);
    void readClicked();
    void writeClicked();
    void compareClicked();
    void verifyClicked(bool on);

private:
    void fitColumns();

    const Localisation& texts_;
    NameListModel* model_ = nullptr;
    QTreeView* view_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QLineEdit* count_ = nullptr;
    QCheckBox* sortBox_ = nullptr;
    QCheckBox* alphaBox_ = nullptr;
    QPushButton* read_ = nullptr;
    QPushButton* write_ = nullptr;
    QPushButton* compare_ = nullptr;
    QCheckBox* verifyBox_ = nullptr;
};

} // namespace q540
