#pragma once

class QMainWindow;

namespace q540 {

class DirectoryEditor;
class FileCommands;
class History;
class Localisation;
class MainMenus;
class ModuleToolBar;
class NameListPanel;
class SettingsFile;
class WidgetSink;
class WindowModule;
class ZonePages;

// What the window's action classes share of it: the window itself (the
// owner of their dialogs), what it keeps, and the parts it arranges. The
// window makes every one of them before the actions and keeps them until
// the actions are gone.
struct WindowParts {
    QMainWindow& window;
    Localisation& texts;
    SettingsFile& settings;
    History& history;
    WidgetSink& sink;
    WindowModule& module;
    DirectoryEditor& editor;
    FileCommands& files;
    MainMenus& menus;
    ModuleToolBar& toolBar;
    ZonePages& pages;
    NameListPanel& listPanel;
};

} // namespace q540
