#pragma once

#include "directory/ModuleOrder.h"

#include <QObject>

#include <array>

class QAction;
class QMenu;
class QMenuBar;
class QUndoStack;

namespace q540 {

class Localisation;

// The main window's menus: File, Program (Options in English) and Contact,
// with the actions the window connects to its commands.
class MainMenus final : public QObject {
    Q_OBJECT

public:
    MainMenus(QMenuBar& bar, const Localisation& texts);

    void retranslate();
    // Undo and Redo follow the window's steps, named after them.
    void showSteps(const QUndoStack& steps);

    QAction* newAction = nullptr;
    QAction* open = nullptr;
    QAction* import = nullptr;
    QAction* importTable = nullptr;
    QAction* exportTable = nullptr;
    QAction* save = nullptr;
    QAction* saveAs = nullptr;
    QAction* history = nullptr;
    QAction* print = nullptr;
    QAction* exportPdf = nullptr;
    QAction* exit = nullptr;
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* programLanguage = nullptr;
    QAction* checkVersion = nullptr;
    QAction* moduleLanguage = nullptr;
    QAction* connectionCheck = nullptr;
    QAction* contact = nullptr;
    // Options > Alphabetical order of the module: one checkable action a choice.
    std::array<QAction*, kModuleOrderCount> moduleOrders{};

private:
    const Localisation& texts_;
    QMenu* file_ = nullptr;
    QMenu* edit_ = nullptr;
    const QUndoStack* steps_ = nullptr;
    QMenu* program_ = nullptr;
    QMenu* moduleOrder_ = nullptr;
};

} // namespace q540
