#include "gui/main/MainWindow.h"

#include "base/AppInfo.h"
#include "base/Localisation.h"
#include "commands/FileCommands.h"
#include "gui/actions/WindowParts.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainMenus.h"
#include "gui/main/ModuleToolBar.h"
#include "gui/main/NameListPanel.h"
#include "gui/main/WindowModule.h"
#include "gui/main/ZonePages.h"
#include "gui/seams/WidgetFileDialogs.h"
#include "gui/seams/WidgetSink.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>

#include <initializer_list>
#include <utility>

namespace q540 {

namespace {

// Each menu action runs a command of one action class.
template <typename Actions>
void connectCommands(Actions& actions,
                     std::initializer_list<std::pair<QAction*, void (Actions::*)()>> commands)
{
    for (const auto& [action, command] : commands)
        QObject::connect(action, &QAction::triggered, &actions, command);
}

// A setting the file could not keep is told; the choice holds for this run.
// A scroll area that asks for all its content needs (QScrollArea asks for
// at most 36 by 24 lines) and gives way only when the screen is smaller.
class FittingScrollArea final : public QScrollArea {
public:
    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame, frame);
    }
};

QScrollArea* scrolling(QWidget* content)
{
    auto* scroll = new FittingScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // Tab goes to the fields inside, and the area follows them.
    scroll->setFocusPolicy(Qt::NoFocus);
    return scroll;
}

void showSettingFailure(WidgetSink& sink, const std::optional<QString>& failure)
{
    if (failure)
        sink.showMessage(*failure);
}

} // namespace

MainWindow::MainWindow(Localisation& texts, const QString& settingsPath,
                       std::optional<int> moduleOrder, QWidget* parent)
    : QMainWindow(parent), texts_(texts), settings_(settingsPath)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kApplicationTitle);
    setWindowFlags((windowFlags() | Qt::WindowMinimizeButtonHint) & ~Qt::WindowMaximizeButtonHint);
    sink_ = std::make_unique<WidgetSink>(this, texts_);
    editor_ = std::make_unique<DirectoryEditor>(*sink_, texts_,
                                                moduleOrder.value_or(settings_.readModuleOrder()));
    menus_ = new MainMenus(*menuBar(), texts_);
    toolBar_ = new ModuleToolBar(texts_, this);
    addToolBar(toolBar_);
    setCentralWidget(buildWorkingArea());
    editor_->page().onSlotChanged = [this](int slot) { pages_->showSlot(slot); };
    module_ = std::make_unique<WindowModule>(*this, texts_, *sink_);
    createActions();
    connectPages();
    connectListPanel();
    connectMenus();
    connectMonitor();
    connectSteps();
    viewActions_->Ustaw_WJ_na_komponentach();
    viewActions_->RadioGroup_StrefaClick(0);
    moduleActions_->showModuleStatus();
}

MainWindow::~MainWindow()
{
    // A poll on its worker thread may be inside the device: it ends here,
    // before anything it reaches goes.
    module_->monitor().stop();
    // The widgets outlive the members: nothing may show the directory once it is gone.
    listPanel_->detachList();
}

EntryEdit* MainWindow::edit(int number) const
{
    return pages_->edit(number);
}

bool MainWindow::isModified() const
{
    return files_->isModified();
}

int MainWindow::jezyk_modulu() const
{
    return module_->monitor().status().moduleLanguage;
}

ModuleMonitor& MainWindow::module()
{
    return module_->monitor();
}

// The zone pages scroll, and the names list narrows and shortens, when the
// screen is smaller than they would like (a 1280x720 laptop, or 200 % on
// 1920x1080): the window fits every screen, every control stays reachable
// and the Read and Write buttons stay in view. A transfer's progress shows
// in the status bar, whose height it keeps, so it moves nothing.
QWidget* MainWindow::buildWorkingArea()
{
    auto* area = new QWidget;
    auto* layout = new QHBoxLayout(area);
    pages_ = new ZonePages(*editor_);
    layout->addWidget(scrolling(pages_), 1);
    listPanel_ = new NameListPanel(editor_->list(), texts_);
    layout->addWidget(listPanel_);
    statusBar()->addPermanentWidget(sink_->progressBar(), 2);
    statusBar()->addPermanentWidget(sink_->cancelButton());
    statusBar()->setMinimumHeight(sink_->cancelButton()->sizeHint().height());
    return area;
}

// The file commands come first: the steps start from the document as they read it.
void MainWindow::createActions()
{
    dialogs_ = std::make_unique<WidgetFileDialogs>(this);
    files_ = std::make_unique<FileCommands>(*editor_, *sink_, texts_, *dialogs_);
    const WindowParts parts{*this,    texts_,  settings_, history_,  *sink_,  *module_,
                            *editor_, *files_, *menus_,   *toolBar_, *pages_, *listPanel_};
    viewActions_ = std::make_unique<ViewActions>(parts);
    editor_->onListRebuilt = [this] { viewActions_->listRebuilt(); };
    connectFileCommands();
    undoSteps_ = std::make_unique<UndoSteps>(parts, *viewActions_);
    fileActions_ = std::make_unique<FileActions>(parts, *undoSteps_);
    moduleActions_ = std::make_unique<ModuleActions>(parts, *undoSteps_, *viewActions_);
    reportActions_ = std::make_unique<ReportActions>(parts);
}

// The file commands read and show the window's fields through its parts.
void MainWindow::connectFileCommands()
{
    files_->readFields = [this] { return documentFields(); };
    files_->showFields = [this](const DocumentFields& fields) { showDocumentFields(fields); };
    files_->selectPage = [this](int index) { viewActions_->RadioGroup_StrefaClick(index); };
}

DocumentFields MainWindow::documentFields() const
{
    DocumentFields fields;
    fields.address = toolBar_->address()->text();
    fields.intro = introLines();
    fields.timeIndex = pages_->introTimeIndex();
    fields.moduleLanguage = module_->monitor().status().moduleLanguage;
    return fields;
}

void MainWindow::showDocumentFields(const DocumentFields& fields)
{
    toolBar_->address()->showText(fields.address);
    setIntroLines(fields.intro);
    pages_->setIntroTimeIndex(fields.timeIndex);
    module_->monitor().status().moduleLanguage = fields.moduleLanguage;
}

void MainWindow::setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
{
    files_->setDialogs(*dialogs);
    dialogs_ = std::move(dialogs);
}

// The editing side: the pages and the tool bar's address and module controls.
void MainWindow::connectPages()
{
    ViewActions* view = viewActions_.get();
    ModuleActions* module = moduleActions_.get();
    const auto markModified = [this] { files_->markModified(); };
    connect(pages_, &ZonePages::edited, this, markModified);
    connect(pages_, &ZonePages::edited, view, &ViewActions::refreshPreview);
    connect(pages_, &ZonePages::fieldFocused, view, &ViewActions::previewField);
    connect(pages_, &ZonePages::pageChosen, view, &ViewActions::RadioGroup_StrefaClick);
    connect(pages_, &ZonePages::rowsPasted, fileActions_.get(), &FileActions::pasteRows);
    connect(pages_, &ZonePages::readIntroClicked, module, &ModuleActions::Button1Click);
    connect(pages_, &ZonePages::writeIntroClicked, module, &ModuleActions::Button2Click);
    connect(toolBar_, &ModuleToolBar::addressEdited, this, markModified);
    connect(toolBar_, &ModuleToolBar::changePasswordClicked, module,
            &ModuleActions::Button_zmien_hasloClick);
    connect(toolBar_, &ModuleToolBar::resetLockClicked, this,
            [this](bool locked) { module_->monitor().changeResetLock(locked); });
}

void MainWindow::connectListPanel()
{
    ModuleActions* module = moduleActions_.get();
    connect(listPanel_, &NameListPanel::entrySelected, viewActions_.get(),
            &ViewActions::previewEntry);
    connect(listPanel_, &NameListPanel::sortClicked, this,
            [this](bool on) { editor_->setSorted(on); });
    connect(listPanel_, &NameListPanel::alphabeticalSearchClicked, this, [this](bool on) {
        module_->monitor().status().chosen.alphabeticalSearch = on;
        editor_->setAlphabeticalSearch(on);
    });
    connect(listPanel_, &NameListPanel::readClicked, module, &ModuleActions::Buttonz9Click);
    connect(listPanel_, &NameListPanel::writeClicked, module, &ModuleActions::Button0Click);
    connect(listPanel_, &NameListPanel::compareClicked, module, &ModuleActions::compareClick);
    // Queued: a double-click's last events would take the focus back to the list.
    connect(
        listPanel_, &NameListPanel::entryChosen, this,
        [this](int zone, int apartment) {
            viewActions_->showEntryField({zone, apartment});
        },
        Qt::QueuedConnection);
    listPanel_->setVerifyAfterWriting(settings_.readVerifyAfterWriting());
    connect(listPanel_, &NameListPanel::verifyClicked, this,
            [this](bool on) { showSettingFailure(*sink_, settings_.writeVerifyAfterWriting(on)); });
    listPanel_->setReadTwice(settings_.readReadTwice());
    connect(listPanel_, &NameListPanel::readTwiceClicked, this,
            [this](bool on) { showSettingFailure(*sink_, settings_.writeReadTwice(on)); });
}

void MainWindow::connectMenus()
{
    connect(menus_->exit, &QAction::triggered, this, &QWidget::close);
    connectCommands(*fileActions_, {{menus_->newAction, &FileActions::Nowy1Click},
                                    {menus_->open, &FileActions::Otwrz1Click},
                                    {menus_->import, &FileActions::Importuj1Click},
                                    {menus_->save, &FileActions::Zapisz1Click},
                                    {menus_->saveAs, &FileActions::Zapiszjako1Click},
                                    {menus_->history, &FileActions::historyClick},
                                    {menus_->importTable, &FileActions::importTableClick},
                                    {menus_->exportTable, &FileActions::exportTableClick}});
    connectCommands(*reportActions_,
                    {{menus_->print, &ReportActions::printClick},
                     {menus_->exportPdf, &ReportActions::exportPdfClick},
                     {menus_->checkVersion, &ReportActions::Sprwersj2Click},
                     {menus_->connectionCheck, &ReportActions::connectionCheckClick},
                     {menus_->contact, &ReportActions::Informacja1Click}});
    connectCommands(*viewActions_, {{menus_->programLanguage, &ViewActions::Jzyk1Click}});
    connectCommands(*moduleActions_, {{menus_->moduleLanguage, &ModuleActions::Zmien_jezykClick}});
    connectModuleOrder();
    // The tool bar's file buttons are the menu's commands.
    connect(toolBar_, &ModuleToolBar::newClicked, menus_->newAction, &QAction::trigger);
    connect(toolBar_, &ModuleToolBar::openClicked, menus_->open, &QAction::trigger);
    connect(toolBar_, &ModuleToolBar::saveClicked, menus_->save, &QAction::trigger);
    connect(toolBar_, &ModuleToolBar::saveAsClicked, menus_->saveAs, &QAction::trigger);
}

// A choice of the module's alphabetical order is kept in the settings file.
void MainWindow::connectModuleOrder()
{
    menus_->moduleOrders[std::size_t(editor_->moduleOrder())]->setChecked(true);
    for (QAction* action : menus_->moduleOrders)
        connect(action, &QAction::triggered, this, [this, action] {
            const int choice = action->data().toInt();
            editor_->setModuleOrder(choice);
            showSettingFailure(*sink_, settings_.writeModuleOrder(choice));
        });
}

// After the parts' own connections: an edit is marked and previewed before
// it becomes a step.
void MainWindow::connectSteps()
{
    UndoSteps* steps = undoSteps_.get();
    connect(pages_, &ZonePages::fieldEdited, steps, &UndoSteps::recordTyping);
    connect(pages_, &ZonePages::fieldFocused, steps, &UndoSteps::endTyping);
    connect(toolBar_, &ModuleToolBar::addressEdited, steps, &UndoSteps::recordAddress);
}

void MainWindow::connectMonitor()
{
    ModuleMonitor& monitor = module_->monitor();
    connect(&monitor, &ModuleMonitor::statusChanged, moduleActions_.get(),
            &ModuleActions::showModuleStatus);
    connect(&monitor, &ModuleMonitor::alphabeticalSearchSet, this, [this](bool ticked) {
        listPanel_->setAlphabeticalSearch(ticked);
        editor_->setAlphabeticalSearch(ticked);
    });
    // The module's time is no step, even while a message of a step is open.
    connect(&monitor, &ModuleMonitor::configurationRead, this, [this] {
        pages_->setIntroTimeIndex(module_->monitor().status().introTimeIndex);
        undoSteps_->absorbModuleTime();
    });
}

void MainWindow::attachModule(Link& device, Clock& clock)
{
    // Every connection, the poll's and the window's, is traced for a support report.
    module_->attach(device, clock);
    connectMonitor();
    moduleActions_->showModuleStatus();
    module_->monitor().resume();
}

void MainWindow::showDemoNote()
{
    // No cable leads to the demo's module: the system has nothing to say about it.
    reportActions_->setSystemProbe(nullptr);
    viewActions_->showDemoNote();
}

IntroLines MainWindow::introLines() const
{
    return pages_->introLines();
}

void MainWindow::setIntroLines(const IntroLines& lines)
{
    pages_->setIntroLines(lines);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing with unsaved work asks first, so a slip of the mouse loses nothing.
    if (fileActions_->mayClose())
        event->accept();
    else
        event->ignore();
}

} // namespace q540
