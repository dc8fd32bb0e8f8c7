#include "gui/MainWindow.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "gui/ContactWindow.h"
#include "gui/EntryEdit.h"
#include "gui/LanguageWindow.h"
#include "gui/MainMenus.h"
#include "gui/ModuleStatusView.h"
#include "gui/ModuleToolBar.h"
#include "gui/NameListPanel.h"
#include "gui/QtTranslations.h"
#include "gui/SettingsPanel.h"
#include "gui/TransferRunner.h"
#include "gui/WidgetFileDialogs.h"
#include "gui/ZonePages.h"
#include "module/DirectoryRead.h"
#include "module/DirectoryWrite.h"
#include "module/IntroTransfer.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

namespace q540 {

MainWindow::MainWindow(Localisation& texts, const QString& settingsPath, const QString& localeName,
                       QWidget* parent)
    : QMainWindow(parent), texts_(texts), settings_(settingsPath), jezyk_(texts.Nr_Jezyka())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kApplicationTitle);
    setWindowFlags((windowFlags() | Qt::WindowMinimizeButtonHint) & ~Qt::WindowMaximizeButtonHint);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 255);
    progress_->hide();
    sink_ = std::make_unique<WidgetSink>(this, progress_);
    editor_ = std::make_unique<DirectoryEditor>(*sink_, texts_, localeName);
    editor_->onListRebuilt = [this] { listRebuilt(); };
    noCable_ = std::make_unique<AbsentLink>();
    monitor_ = std::make_unique<ModuleMonitor>(*noCable_, systemClock_, texts_, *sink_);

    menus_ = new MainMenus(*menuBar(), texts_);
    toolBar_ = new ModuleToolBar(texts_, this);
    addToolBar(toolBar_);
    setCentralWidget(buildWorkingArea());
    editor_->page().onSlotChanged = [this](int slot) { pages_->showSlot(slot); };
    panel_ = new SettingsPanel(*monitor_, texts_, this);
    connectParts();
    connectMonitor();
    connectFileCommands();
    Ustaw_WJ_na_komponentach();
    RadioGroup_StrefaClick(0);
    showModuleStatus();
}

MainWindow::~MainWindow()
{
    // The widgets outlive the members: nothing may show the directory once it is gone.
    listPanel_->detachList();
}

EntryEdit* MainWindow::edit(int number) const
{
    return pages_->edit(number);
}

QWidget* MainWindow::buildWorkingArea()
{
    auto* area = new QWidget;
    auto* layout = new QHBoxLayout(area);
    auto* middle = new QVBoxLayout;
    pages_ = new ZonePages(*editor_);
    middle->addWidget(pages_, 1);
    middle->addWidget(progress_);
    layout->addLayout(middle, 3);
    listPanel_ = new NameListPanel(editor_->list(), texts_);
    layout->addWidget(listPanel_, 2);
    return area;
}

void MainWindow::connectParts()
{
    const auto markModified = [this] { modified_ = true; };
    connect(pages_, &ZonePages::edited, this, markModified);
    connect(pages_, &ZonePages::pageChosen, this, &MainWindow::RadioGroup_StrefaClick);
    connect(pages_, &ZonePages::readIntroClicked, this, &MainWindow::Button1Click);
    connect(pages_, &ZonePages::writeIntroClicked, this, &MainWindow::Button2Click);
    connect(toolBar_, &ModuleToolBar::addressEdited, this, markModified);
    connect(toolBar_, &ModuleToolBar::changePasswordClicked, this,
            &MainWindow::Button_zmien_hasloClick);
    connect(toolBar_, &ModuleToolBar::resetLockClicked, this,
            [this](bool locked) { monitor_->CheckBox_blokada_resetuClick(locked); });
    connect(listPanel_, &NameListPanel::sortClicked, this,
            [this](bool on) { editor_->setSorted(on); });
    connect(listPanel_, &NameListPanel::alphabeticalSearchClicked, this, [this](bool on) {
        monitor_->status().alphabeticalSearchTicked = on;
        editor_->setAlphabeticalSearch(on);
    });
    connect(listPanel_, &NameListPanel::readClicked, this, &MainWindow::Buttonz9Click);
    connect(listPanel_, &NameListPanel::writeClicked, this, &MainWindow::Button0Click);
    connect(menus_->newAction, &QAction::triggered, this, &MainWindow::Nowy1Click);
    connect(toolBar_, &ModuleToolBar::newClicked, this, &MainWindow::Nowy1Click);
    connect(menus_->exit, &QAction::triggered, this, &QWidget::close);
    connect(menus_->programLanguage, &QAction::triggered, this, &MainWindow::Jzyk1Click);
    connect(menus_->checkVersion, &QAction::triggered, this, &MainWindow::Sprwersj2Click);
    connect(menus_->moduleLanguage, &QAction::triggered, this, &MainWindow::Zmien_jezykClick);
    connect(menus_->contact, &QAction::triggered, this, &MainWindow::Informacja1Click);
}

void MainWindow::attachModule(Link& device, Clock& clock)
{
    delete panel_;
    monitor_ = std::make_unique<ModuleMonitor>(device, clock, texts_, *sink_);
    panel_ = new SettingsPanel(*monitor_, texts_, this);
    connectMonitor();
    showModuleStatus();
    monitor_->resume();
}

void MainWindow::showCentred()
{
    if (const QScreen* where = screen()) {
        const QRect area = where->availableGeometry();
        adjustSize();
        move(area.center() - rect().center());
    }
    show();
}

void MainWindow::showDemoNote()
{
    if (!demoNote_) {
        demoNote_ = new QLabel;
        demoNote_->setObjectName(QStringLiteral("Label_demo"));
        statusBar()->addPermanentWidget(demoNote_, 1);
    }
    demoNote_->setText(fixedText(FixedText::DemoModuleNote, texts_.Nr_Jezyka()));
}

void MainWindow::connectMonitor()
{
    connect(monitor_.get(), &ModuleMonitor::statusChanged, this, &MainWindow::showModuleStatus);
    connect(monitor_.get(), &ModuleMonitor::alphabeticalSearchSet, this, [this](bool ticked) {
        listPanel_->setAlphabeticalSearch(ticked);
        editor_->setAlphabeticalSearch(ticked);
    });
    connect(monitor_.get(), &ModuleMonitor::configurationRead, this,
            [this] { pages_->setIntroTimeIndex(monitor_->status().introTimeIndex); });
}

void MainWindow::listRebuilt()
{
    listPanel_->listRebuilt(editor_->list().count());
    pages_->showLamps(editor_->list().lamps());
}

void MainWindow::RadioGroup_StrefaClick(int index)
{
    pages_->selectPage(index);
    listPanel_->setEnabled(editor_->page().transferGroupEnabled());
}

bool MainWindow::mayReplaceWork()
{
    return !modified_
           || sink_->askYesNo(FileCommands::unsavedChangesQuestion(texts_.Nr_Jezyka()), QString());
}

void MainWindow::Nowy1Click()
{
    if (!mayReplaceWork())
        return;
    QString count;
    files_->Nowy1Click(count);
    monitor_->status().entryCount = count.toInt();
    toolBar_->showEntryCount(count);
    showFileState();
    modified_ = false;
}

void MainWindow::connectFileCommands()
{
    dialogs_ = std::make_unique<WidgetFileDialogs>(this);
    files_ = std::make_unique<FileCommands>(*editor_, *sink_, texts_, *dialogs_);
    files_->readFields = [this] { return documentFields(); };
    files_->showFields = [this](const DocumentFields& fields) { showDocumentFields(fields); };
    files_->selectPage = [this](int index) { RadioGroup_StrefaClick(index); };
    connect(menus_->open, &QAction::triggered, this, &MainWindow::Otwrz1Click);
    connect(menus_->import, &QAction::triggered, this, &MainWindow::Importuj1Click);
    connect(menus_->save, &QAction::triggered, this, &MainWindow::Zapisz1Click);
    connect(menus_->saveAs, &QAction::triggered, this, &MainWindow::Zapiszjako1Click);
    connect(toolBar_, &ModuleToolBar::openClicked, this, &MainWindow::Otwrz1Click);
    connect(toolBar_, &ModuleToolBar::saveClicked, this, &MainWindow::Zapisz1Click);
    connect(toolBar_, &ModuleToolBar::saveAsClicked, this, &MainWindow::Zapiszjako1Click);
    showFileState();
}

void MainWindow::setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
{
    files_->setDialogs(*dialogs);
    dialogs_ = std::move(dialogs);
}

DocumentFields MainWindow::documentFields() const
{
    DocumentFields fields;
    fields.address = toolBar_->address()->text();
    fields.intro = introLines();
    fields.timeIndex = pages_->introTimeIndex();
    fields.moduleLanguage = monitor_->status().jezyk_modulu;
    return fields;
}

void MainWindow::showDocumentFields(const DocumentFields& fields)
{
    toolBar_->address()->showText(fields.address);
    setIntroLines(fields.intro);
    pages_->setIntroTimeIndex(fields.timeIndex);
    monitor_->status().jezyk_modulu = fields.moduleLanguage;
}

// Save is available only while the directory has a file; Save as always is.
void MainWindow::showFileState()
{
    setWindowTitle(files_->caption());
    menus_->save->setEnabled(files_->saveEnabled());
    toolBar_->setSaveEnabled(files_->saveEnabled());
}

void MainWindow::runFileCommand(Outcome (FileCommands::*command)(), bool modifiedAfter,
                                bool askFirst)
{
    if (askFirst && !mayReplaceWork())
        return;
    if ((files_.get()->*command)().isDone())
        modified_ = modifiedAfter;
    showFileState();
}

void MainWindow::Otwrz1Click()
{
    runFileCommand(&FileCommands::Otwrz1Click, false, true);
}

// The imported entries are not in any directory file yet.
void MainWindow::Importuj1Click()
{
    runFileCommand(&FileCommands::Importuj1Click, true, true);
}

void MainWindow::Zapisz1Click()
{
    runFileCommand(&FileCommands::Zapisz1Click, false, false);
}

void MainWindow::Zapiszjako1Click()
{
    runFileCommand(&FileCommands::Zapiszjako1Click, false, false);
}

void MainWindow::Ustaw_WJ_na_komponentach()
{
    applyQtTranslations(texts_.Nr_Jezyka());
    menus_->retranslate();
    toolBar_->retranslate();
    pages_->retranslate(texts_);
    listPanel_->retranslate();
    if (demoNote_)
        showDemoNote();
}

void MainWindow::Jzyk1Click()
{
    // A new window each time, so it always opens on the current language.
    LanguageWindow window(
        texts_, jezyk_, monitor_->status().jezyk_modulu, settings_, *sink_,
        [this] { Ustaw_WJ_na_komponentach(); }, this);
    window.exec();
}

void MainWindow::Informacja1Click()
{
    ContactWindow window(texts_.Nr_Jezyka(), {}, this);
    window.exec();
}

void MainWindow::Sprwersj2Click()
{
    panel_->Ustaw_Formatke_Panelow_Edycji(SettingsPanel::kVersionMode);
    panel_->exec();
}

void MainWindow::Button_zmien_hasloClick()
{
    panel_->execWithPollSuspended(SettingsPanel::kPasswordMode);
    // The entry cleared jest_odpowiedz: this poll judges the password now held.
    monitor_->pollNow();
    showModuleStatus();
}

void MainWindow::Zmien_jezykClick()
{
    panel_->execWithPollSuspended(SettingsPanel::kLanguageMode);
}

void MainWindow::showModuleStatus()
{
    const ModuleStatus& status = monitor_->status();
    const ModuleStatusView view = presentModuleStatus(status, texts_);
    toolBar_->showStatus(view, monitor_->password(), status.resetLockTicked,
                         status.zmienHasloEnabled);
    listPanel_->setAlphabeticalSearch(status.alphabeticalSearchTicked);
}

void MainWindow::runTransfer(const StatusTransfer& transfer)
{
    const StatusTransferEnd end =
        runStatusTransfer(*this, *sink_, *monitor_, texts_, pages_->introTimeIndex(), transfer);
    if (end.pollStopped) {
        // What the transfer's identification selected, as its own would.
        const ModuleStatus& status = monitor_->status();
        pages_->setIntroTimeIndex(status.introTimeIndex);
        if (status.alphabeticalSearchTicked != end.alphabeticalSearchBefore)
            editor_->setAlphabeticalSearch(status.alphabeticalSearchTicked);
    }
    showModuleStatus();
}

void MainWindow::Button0Click()
{
    const std::vector<NameRow> rows = editor_->list().rows();
    runTransfer(
        [&rows](const TransferContext& context, const QString& password, ModuleStatus& status) {
            q540::Button0Click(context, rows, password, status);
        });
}

void MainWindow::Buttonz9Click()
{
    if (!mayReplaceWork())
        return;
    const DirectoryGrid current = editor_->grid();
    DirectoryReadResult result;
    runTransfer([&](const TransferContext& context, const QString& password, ModuleStatus& status) {
        result = q540::Buttonz9Click(context, current, password, status);
    });
    applyDirectoryRead(result, *editor_);
    if (result.ending != DirectoryReadResult::Ending::Refused)
        modified_ = true;
}

void MainWindow::Button1Click()
{
    if (!mayReplaceWork())
        return;
    IntroLines lines = introLines();
    runTransfer([&lines](const TransferContext& context, const QString&, ModuleStatus& status) {
        lines = q540::Button1Click(context, lines, status).lines;
    });
    if (lines != introLines()) {
        setIntroLines(lines);
        modified_ = true;
    }
}

void MainWindow::Button2Click()
{
    const IntroLines lines = introLines();
    runTransfer([&lines](const TransferContext& context, const QString&, ModuleStatus& status) {
        q540::Button2Click(context, lines, status);
    });
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
    if (modified_ && !sink_->askYesNo(texts_.text(textkey::kCloseWithUnsavedChanges), QString())) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace q540
