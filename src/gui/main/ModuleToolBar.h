#pragma once

#include <QStyle>
#include <QToolBar>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace q540 {

class EntryEdit;
class Localisation;
struct ModuleStatusView;

// The main window's tool bar: the file buttons, the module's state and
// status text, the address, the installer password with its button, and
// the reset lock.
class ModuleToolBar final : public QToolBar {
    Q_OBJECT

public:
    ModuleToolBar(const Localisation& texts, QWidget* parent = nullptr);

    EntryEdit* address() const { return address_; }
    void setSaveEnabled(bool enabled);
    // Shows the module's state, the password held and the reset lock's tick.
    void showStatus(const ModuleStatusView& view, const QString& password, bool resetLockTicked);
    void retranslate();
    // The hidden field that holds the module's entry count (Edit520).
    void showEntryCount(const QString& count);

signals:
    void newClicked();
    void openClicked();
    void saveClicked();
    void saveAsClicked();
    void changePasswordClicked();
    // Only the user's click: the poll's own changes of the tick do not emit it.
    void resetLockClicked(bool locked);
    void addressEdited();

private:
    QToolButton* fileButton(const char* name, QStyle::StandardPixmap icon);
    void buildPassword();

    const Localisation& texts_;
    QToolButton* new_ = nullptr;
    QToolButton* open_ = nullptr;
    QToolButton* save_ = nullptr;
    QToolButton* saveAs_ = nullptr;
    QToolButton* state_ = nullptr;
    QLineEdit* status_ = nullptr;
    EntryEdit* address_ = nullptr;
    QLabel* passwordLabel_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPushButton* changePassword_ = nullptr;
    QCheckBox* resetLock_ = nullptr;
    QLineEdit* entryCount_ = nullptr;
};

} // namespace q540
