#pragma once

#include "commands/FileCommands.h"
#include "device/Clock.h"
#include "directory/DirectoryEditor.h"
#include "directory/IntroScreens.h"
#include "files/SettingsFile.h"
#include "gui/WidgetSink.h"
#include "module/ModuleMonitor.h"
#include "module/TransferSession.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeView;

namespace q540 {

class EntryEdit;
class Link;
class FileDialogs;
class Localisation;
class NameListModel;
class SettingsPanel;

// The main window: the directory pages, the name list, the intro page, the
// menus and the tool bar. It holds no directory logic of its own: its fields
// forward their changes to the directory editor and show what it holds.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    // Fields numbered as the program addresses them: "Edit" followed by 1..538.
    static constexpr int kEditCount = 539;

    MainWindow(Localisation& texts, const QString& settingsPath, const QString& localeName = {},
               QWidget* parent = nullptr);
    ~MainWindow() override;

    DirectoryEditor& directory() { return *editor_; }
    EntryEdit* edit(int number) const { return edits_[static_cast<std::size_t>(number)]; }
    bool isModified() const { return modified_; }
    int jezyk() const { return jezyk_; }
    int jezyk_modulu() const { return monitor_->status().jezyk_modulu; }
    ModuleMonitor& module() { return *monitor_; }

    // Watches the module behind this device from now on: Timer1 runs and
    // its first poll comes one period later. Until then the window knows no
    // cable and does not poll.
    void attachModule(Link& device, Clock& clock);
    // Shows the window at its natural size in the middle of its screen.
    void showCentred();
    // A note in the status bar that the module is the demo one, in the program's language.
    void showDemoNote();

    // The command Language: the program language chosen in its window.
    void Jzyk1Click();
    // The command Contact: the contact window in the current language.
    void Informacja1Click();
    // The command Check version: the version page, with the update check in the browser.
    void Sprwersj2Click();

    // Puts the texts of the current language on every control.
    void Ustaw_WJ_na_komponentach();
    // The command New: an empty directory, intro and display time, no file name.
    void Nowy1Click();
    // The file commands; the core decides, the window shows the outcome.
    void Otwrz1Click();
    void Importuj1Click();
    void Zapisz1Click();
    void Zapiszjako1Click();
    // Replaces the open and save dialogs, so that a test can answer them.
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs);
    // Shows the page of a selector item (0..3 zones, 4 additional numbers, 5 intro).
    void RadioGroup_StrefaClick(int index);

    // The module settings commands: the password panel, the module-language panel.
    void Button_zmien_hasloClick();
    void Zmien_jezykClick();
    // Shows the module status on the tool bar and the controls that mirror the module.
    void showModuleStatus();

    // The module transfers: the directory (name list "Zapisz", "Odczytaj")
    // and the intro screens (intro page "Zapisz", "Odczytaj").
    void Button0Click();
    void Buttonz9Click();
    void Button1Click();
    void Button2Click();

    // The intro lines as the intro page shows them (Edit511..Edit518).
    IntroLines introLines() const;
    void setIntroLines(const IntroLines& lines);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    QWidget* buildWorkingArea();
    QWidget* buildSelector();
    QWidget* buildZonePages();
    QWidget* buildAdditionalNumbers();
    QWidget* buildIntro();
    QWidget* buildNameList();
    EntryEdit* makeEdit(int number, bool line1, int maxLength);
    void connectEntryField(int number, bool line1);

    // Which slot of the current page the field with this number shows; 0 for none.
    int slotOfEdit(int number) const;
    void showSlot(int slot);
    void listRebuilt();
    void connectMonitor();
    void fitListColumns();
    // Runs a transfer on a worker over a copy of the module status taken when
    // the transfer stops the poll, and shows what it left once it has ended.
    void runTransfer(const std::function<void(const TransferContext&, const QString& password,
                                              ModuleStatus& status)>& transfer);
    void connectFileCommands();
    DocumentFields documentFields() const;
    void showDocumentFields(const DocumentFields& fields);
    void showFileState();
    // True when nothing unsaved would be lost, or the user lets it go.
    bool mayReplaceWork();

    Localisation& texts_;
    SettingsFile settings_;
    int jezyk_ = 0;
    // The module as the window knows it: before attachModule, behind a device
    // that is never there.
    std::unique_ptr<Link> noCable_;
    SystemClock systemClock_;
    std::unique_ptr<ModuleMonitor> monitor_;
    SettingsPanel* panel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    std::unique_ptr<WidgetSink> sink_;
    std::unique_ptr<DirectoryEditor> editor_;
    NameListModel* model_ = nullptr;
    std::array<EntryEdit*, kEditCount> edits_{};
    QLineEdit* edit520_ = nullptr;
    EntryEdit* editAddress_ = nullptr;
    QLineEdit* editCount_ = nullptr;
    QButtonGroup* selector_ = nullptr;
    QGroupBox* selectorBox_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QGroupBox* additionalBox_ = nullptr;
    QGroupBox* introBox_ = nullptr;
    QGroupBox* listBox_ = nullptr;
    QComboBox* introTime_ = nullptr;
    QTreeView* listView_ = nullptr;
    QCheckBox* sortBox_ = nullptr;
    QCheckBox* alphaBox_ = nullptr;
    QAction* saveAction_ = nullptr;
    QToolButton* stateButton_ = nullptr;
    QLabel* demoNote_ = nullptr;
    QLineEdit* statusEdit_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QPushButton* changePassword_ = nullptr;
    QCheckBox* resetLockBox_ = nullptr;
    QToolButton* saveButton_ = nullptr;
    QToolButton* saveAsButton_ = nullptr;
    std::unique_ptr<FileDialogs> dialogs_;
    std::unique_ptr<FileCommands> files_;
    // The lamp each tab shows: -1 none yet, 0 dark, 1 lit.
    std::array<int, kTabPageCount> lampShown_ = [] {
        std::array<int, kTabPageCount> a{};
        a.fill(-1);
        return a;
    }();
    bool modified_ = false;
    // Set while the window writes the editor's values into its fields.
    bool showing_ = false;
};

} // namespace q540
