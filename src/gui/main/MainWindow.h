#pragma once

#include "directory/DirectoryEditor.h"
#include "directory/IntroScreens.h"
#include "files/History.h"
#include "files/SettingsFile.h"
#include "gui/actions/FileActions.h"
#include "gui/actions/ModuleActions.h"
#include "gui/actions/ReportActions.h"
#include "gui/actions/UndoSteps.h"
#include "gui/actions/ViewActions.h"
#include "module/ModuleMonitor.h"

#include <QMainWindow>

#include <memory>
#include <optional>

namespace q540 {

class Clock;
class EntryEdit;
class FileCommands;
class FileDialogs;
class Link;
class Localisation;
class MainMenus;
class ModuleToolBar;
class NameListPanel;
class WidgetSink;
class WindowModule;
class ZonePages;
struct DocumentFields;

// The main window: the zone pages, the name list, the menus and the tool
// bar, arranged, and wired to the action classes that carry out their
// commands (files, module, reports, view, undo). It holds no directory
// logic of its own: its parts forward their changes to the directory
// editor and show what it holds.
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
    bool isModified() const;
    int jezyk_modulu() const;
    ModuleMonitor& module();

    // The window's commands, by what they work on.
    FileActions& fileActions() { return *fileActions_; }
    ModuleActions& moduleActions() { return *moduleActions_; }
    ReportActions& reportActions() { return *reportActions_; }
    ViewActions& viewActions() { return *viewActions_; }
    UndoSteps& undoSteps() { return *undoSteps_; }

    // Watches the module behind this device from now on: Timer1 runs and
    // its first poll comes one period later. Until then the window knows no
    // cable and does not poll.
    void attachModule(Link& device, Clock& clock);
    // A note in the status bar that the module is the demo one, in the program's language.
    void showDemoNote();
    // Replaces the open and save dialogs, so that a test can answer them.
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs);
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
    void createActions();
    void connectFileCommands();
    void connectPages();
    void connectListPanel();
    void connectMenus();
    void connectModuleOrder();
    void connectSteps();
    void connectMonitor();
    DocumentFields documentFields() const;
    void showDocumentFields(const DocumentFields& fields);

    Localisation& texts_;
    SettingsFile settings_;
    History history_{History::defaultFolder()};
    // Declared before the module, so that it outlives the monitor and its poll.
    std::unique_ptr<WidgetSink> sink_;
    std::unique_ptr<WindowModule> module_;
    std::unique_ptr<DirectoryEditor> editor_;
    MainMenus* menus_ = nullptr;
    ModuleToolBar* toolBar_ = nullptr;
    ZonePages* pages_ = nullptr;
    NameListPanel* listPanel_ = nullptr;
    std::unique_ptr<FileDialogs> dialogs_;
    std::unique_ptr<FileCommands> files_;
    // The actions reach everything above: declared last, they go first.
    std::unique_ptr<ViewActions> viewActions_;
    std::unique_ptr<UndoSteps> undoSteps_;
    std::unique_ptr<FileActions> fileActions_;
    std::unique_ptr<ModuleActions> moduleActions_;
    std::unique_ptr<ReportActions> reportActions_;
};

} // namespace q540
