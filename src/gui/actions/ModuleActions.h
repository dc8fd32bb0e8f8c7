#pragma once

#include "directory/IntroScreens.h"
#include "gui/actions/WindowParts.h"

#include <QObject>

#include <functional>

namespace q540 {

class UndoSteps;
class ViewActions;
class WorkflowQuestions;
struct ModuleStatus;
struct ModuleWorkflow;

// The module commands: the directory's and the intro's transfers (the name
// list's and the intro page's Write and Read), the comparison with the
// module, and the password and module-language panels. Each transfer runs
// one workflow on a worker over the module status; what it read becomes a
// step, and the window shows the status it left.
class ModuleActions final : public QObject {
    Q_OBJECT

public:
    ModuleActions(const WindowParts& parts, UndoSteps& steps, ViewActions& view);

    // The name list's Write and Read.
    void Button0Click();
    void Buttonz9Click();
    // "Compare with module": reads the module and shows what differs.
    void compareClick();
    // The intro page's Read and Write; with verify, the screens and the time
    // are read back and compared.
    void Button1Click();
    void Button2Click();
    // The password panel and the module-language panel.
    void Button_zmien_hasloClick();
    void Zmien_jezykClick();
    // Shows the module status on the tool bar and the controls that mirror the module.
    void showModuleStatus();

private:
    // A workflow over the module status it is given, asking through questions.
    using StatusTransfer = std::function<void(const ModuleWorkflow&, WorkflowQuestions& questions,
                                              ModuleStatus& status)>;
    void run(const StatusTransfer& transfer);
    // The read is put into the directory before its message is shown; true
    // when it changed the directory.
    bool readDirectory();
    // True when the screens read differ from the page's, which now shows them.
    bool readIntro();
    // A character the module cannot show is named, by zone, with the cursor
    // put on it, before a write starts: true when one was found.
    bool refuseUnshowable();
    bool refuseUnshowable(const IntroLines& lines);

    WindowParts parts_;
    UndoSteps& steps_;
    ViewActions& view_;
};

} // namespace q540
