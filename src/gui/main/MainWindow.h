#pragma once

#include "commands/FileCommands.h"
#include "device/Clock.h"
#include "directory/DirectoryEditor.h"
#include "directory/DocumentChange.h"
#include "directory/EditStep.h"
#include "directory/IntroScreens.h"
#include "files/History.h"
#include "files/SettingsFile.h"
#include "gui/seams/WidgetSink.h"
#include "module/ConnectionCheck.h"
#include "module/ModuleMonitor.h"
#include "module/TransferSession.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QUndoStack;

namespace q540 {

class EntryEdit;
class Link;
class FileDialogs;
class Localisation;
class MainMenus;
class ModuleToolBar;
class NameListPanel;
class SystemProbe;
class TraceRecorder;
class SettingsPanel;
class WindowTransfers;
struct WindowWrite;
class ZonePages;

// The main window: the zone pages, the name list, the menus and the tool
// bar, and the commands that join them. It holds no directory logic of its
// own: its parts forward their changes to the directory editor and show
// what it holds.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    // The name list sorts in the module's alphabetical order that the
    // settings file names, unless moduleOrder gives one (tests do).
    MainWindow(Localisation& texts, const QString& settingsPath,
               std::optional<int> moduleOrder = std::nullopt, QWidget* parent = nullptr);
    ~MainWindow() override;

    DirectoryEditor& directory() { return *editor_; }
    EntryEdit* edit(int number) const;
    bool isModified() const { return files_->isModified(); }
    int jezyk() const { return jezyk_; }
    int jezyk_modulu() const { return monitor_->status().jezyk_modulu; }
    ModuleMonitor& module() { return *monitor_; }

    // Watches the module behind this device from now on: Timer1 runs and
    // its first poll comes one period later. Until then the window knows no
    // cable and does not poll.
    void attachModule(Link& device, Clock& clock);
    // A note in the status bar that the module is the demo one, in the program's language.
    void showDemoNote();

    // The command Language: the program language chosen in its window.
    void Jzyk1Click();
    // The command Contact: the contact window in the current language.
    void Informacja1Click();
    // The command Check version: the version page, with the update check in the browser.
    void Sprwersj2Click();
    // The command Connection check: the check's window, the poll held meanwhile.
    void connectionCheckClick();
    ConnectionReport runConnectionCheck();
    // What the connection check reads the system through; none for the demo,
    // whose module no cable leads to.
    void setSystemProbe(std::unique_ptr<SystemProbe> system);
    // "Save support report…" (offered in the contact window): asks whether the
    // directory goes in, runs the connection check and saves the report.
    void saveSupportReport();

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
    // "Compare with module": reads the module and shows what differs.
    void compareClick();
    // File > History…: the kept reads and writes; one opens as a new document.
    void historyClick();
    // File > Import table… and Export table…: resident lists as spreadsheets keep them.
    void importTableClick();
    void exportTableClick();
    // File > Print… and Export PDF…: the directory as the module will hold it.
    void printClick();
    void exportPdfClick();
    // Rows pasted into an entry: that entry and the following ones filled,
    // the report shown first when a row could not be taken as it stood.
    void pasteRows(int zone, int number, const QString& text);
    // Where the reads and writes are kept; tests give a folder of their own.
    void setHistoryFolder(const QString& folder) { history_ = History(folder); }
    const History& history() const { return history_; }

    // The intro lines as the intro page shows them (Edit511..Edit518).
    IntroLines introLines() const;
    void setIntroLines(const IntroLines& lines);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildWorkingArea();
    void connectParts();
    void connectMonitor();
    void connectFileCommands();
    void connectModuleOrder();
    void connectSteps();
    int typingKey(int field, const EditStep& step) const;
    void recordTyping(int editNumber, bool pasted);
    void recordStep(const EditStep& step, ChangeScope scope = ChangeScope::Everything,
                    int mergeKey = -1);
    void recordFileStep(EditStep::Kind kind);
    void finishFileCommand(const std::optional<EditStep>& step);
    void absorbChanges();
    void applyStep(const DocumentChange& change, bool undo);
    void showChange(const DocumentChange& change);
    void listRebuilt();
    void previewField(int editNumber);
    void refreshPreview();
    DocumentFields documentFields() const;
    void showDocumentFields(const DocumentFields& fields);
    void showFileState();

    Localisation& texts_;
    SettingsFile settings_;
    History history_{History::defaultFolder()};
    int jezyk_ = 0;
    // The module as the window knows it: before attachModule, behind a device
    // that is never there. What the monitor and its poll reach is declared
    // before it, so that it outlives the monitor.
    std::unique_ptr<Link> noCable_;
    SystemClock systemClock_;
    std::unique_ptr<TraceRecorder> recorder_;
    std::unique_ptr<WidgetSink> sink_;
    std::unique_ptr<ModuleMonitor> monitor_;
    std::unique_ptr<SystemProbe> system_;
    SettingsPanel* panel_ = nullptr;
    std::unique_ptr<DirectoryEditor> editor_;
    MainMenus* menus_ = nullptr;
    ModuleToolBar* toolBar_ = nullptr;
    ZonePages* pages_ = nullptr;
    NameListPanel* listPanel_ = nullptr;
    QLabel* demoNote_ = nullptr;
    std::unique_ptr<FileDialogs> dialogs_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<WindowTransfers> transfers_;
    // What the display preview shows: a grid row, or an intro screen 1..4.
    int previewRow_ = 0;
    int previewScreen_ = 0;
    // The undo stack, and the typing burst its next step may join.
    static constexpr int kUndoLimit = 1000;
    static constexpr int kFieldKeys = 1024;
    static constexpr int kAddressField = 1000;
    QUndoStack* steps_ = nullptr;
    int burst_ = 0;
};

} // namespace q540
