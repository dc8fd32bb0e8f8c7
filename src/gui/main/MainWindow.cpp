#include "gui/main/MainWindow.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "device/SystemProbe.h"
#include "device/TraceRecorder.h"
#include "files/ResidentTable.h"
#include "gui/dialogs/CompareWindow.h"
#include "gui/dialogs/HistoryWindow.h"
#include "gui/dialogs/TableImportDialog.h"
#include "gui/main/DisplayPreviewView.h"
#include "gui/main/DocumentStep.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainMenus.h"
#include "gui/main/ModuleStatusView.h"
#include "gui/main/ModuleToolBar.h"
#include "gui/main/NameListPanel.h"
#include "gui/main/SettingsPanel.h"
#include "gui/main/WindowTransfers.h"
#include "gui/main/ZonePages.h"
#include "gui/seams/WidgetFileDialogs.h"
#include "gui/startup/LanguageWindow.h"
#include "gui/startup/QtTranslations.h"
#include "gui/support/ConnectionCheckWindow.h"
#include "gui/support/ContactWindow.h"
#include "gui/support/SupportReportDialog.h"
#include "module/DirectoryRead.h"
#include "module/SupportReport.h"
#include "print/DirectoryPrint.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>
#include <QVBoxLayout>

namespace q540 {

MainWindow::MainWindow(Localisation& texts, const QString& settingsPath,
                       std::optional<int> moduleOrder, QWidget* parent)
    : QMainWindow(parent), texts_(texts), settings_(settingsPath), jezyk_(texts.Nr_Jezyka())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kApplicationTitle);
#ifdef Q_OS_LINUX
    system_ = std::make_unique<LinuxSystemProbe>();
#endif
    setWindowFlags((windowFlags() | Qt::WindowMinimizeButtonHint) & ~Qt::WindowMaximizeButtonHint);
    sink_ = std::make_unique<WidgetSink>(this, texts_);
    editor_ = std::make_unique<DirectoryEditor>(*sink_, texts_,
                                                moduleOrder.value_or(settings_.readModuleOrder()));
    editor_->onListRebuilt = [this] { listRebuilt(); };
    noCable_ = std::make_unique<AbsentLink>();
    monitor_ = std::make_unique<ModuleMonitor>(*noCable_, systemClock_, texts_, *sink_);

    menus_ = new MainMenus(*menuBar(), texts_);
    toolBar_ = new ModuleToolBar(texts_, this);
    addToolBar(toolBar_);
    setCentralWidget(buildWorkingArea());
    editor_->page().onSlotChanged = [this](int slot) { pages_->showSlot(slot); };
    transfers_ =
        std::make_unique<WindowTransfers>(*this, *sink_, texts_, history_, *editor_, *pages_);
    panel_ = new SettingsPanel(*monitor_, texts_, this);
    connectParts();
    connectMonitor();
    connectFileCommands();
    connectSteps();
    Ustaw_WJ_na_komponentach();
    RadioGroup_StrefaClick(0);
    showModuleStatus();
}

MainWindow::~MainWindow()
{
    // A poll on its worker thread may be inside the device: it ends here,
    // before anything it reaches goes.
    monitor_->stop();
    // The widgets outlive the members: nothing may show the directory once it is gone.
    listPanel_->detachList();
    // The stack's last signals, as it empties, find no menu to update.
    steps_->disconnect(this);
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
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(sink_->progressBar(), 1);
    progressRow->addWidget(sink_->cancelButton());
    middle->addLayout(progressRow);
    layout->addLayout(middle, 3);
    listPanel_ = new NameListPanel(editor_->list(), texts_);
    layout->addWidget(listPanel_, 2);
    return area;
}

void MainWindow::connectParts()
{
    const auto markModified = [this] { files_->markModified(); };
    connect(pages_, &ZonePages::edited, this, markModified);
    connect(pages_, &ZonePages::edited, this, &MainWindow::refreshPreview);
    connect(pages_, &ZonePages::fieldFocused, this, &MainWindow::previewField);
    connect(listPanel_, &NameListPanel::entrySelected, this, [this](int zone, int apartment) {
        previewRow_ = rowOfPlace({zone, apartment});
        previewScreen_ = 0;
        refreshPreview();
    });
    connect(pages_, &ZonePages::pageChosen, this, &MainWindow::RadioGroup_StrefaClick);
    connect(pages_, &ZonePages::rowsPasted, this, &MainWindow::pasteRows);
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
    connect(listPanel_, &NameListPanel::compareClicked, this, &MainWindow::compareClick);
    // Queued: a double-click's last events would take the focus back to the list.
    connect(
        listPanel_, &NameListPanel::entryChosen, this,
        [this](int zone, int apartment) {
            RadioGroup_StrefaClick(zone - 1);
            pages_->focusEntry(apartment);
        },
        Qt::QueuedConnection);
    listPanel_->setVerifyAfterWriting(settings_.readVerifyAfterWriting());
    connect(listPanel_, &NameListPanel::verifyClicked, this, [this](bool on) {
        if (const std::optional<QString> failure = settings_.writeVerifyAfterWriting(on))
            sink_->showMessage(*failure);
    });
    listPanel_->setReadTwice(settings_.readReadTwice());
    connect(listPanel_, &NameListPanel::readTwiceClicked, this, [this](bool on) {
        if (const std::optional<QString> failure = settings_.writeReadTwice(on))
            sink_->showMessage(*failure);
    });
    connect(menus_->exit, &QAction::triggered, this, &QWidget::close);
    const std::pair<QAction*, void (MainWindow::*)()> commands[] = {
        {menus_->newAction, &MainWindow::Nowy1Click},
        {menus_->open, &MainWindow::Otwrz1Click},
        {menus_->import, &MainWindow::Importuj1Click},
        {menus_->save, &MainWindow::Zapisz1Click},
        {menus_->saveAs, &MainWindow::Zapiszjako1Click},
        {menus_->history, &MainWindow::historyClick},
        {menus_->importTable, &MainWindow::importTableClick},
        {menus_->exportTable, &MainWindow::exportTableClick},
        {menus_->print, &MainWindow::printClick},
        {menus_->exportPdf, &MainWindow::exportPdfClick},
        {menus_->programLanguage, &MainWindow::Jzyk1Click},
        {menus_->checkVersion, &MainWindow::Sprwersj2Click},
        {menus_->moduleLanguage, &MainWindow::Zmien_jezykClick},
        {menus_->connectionCheck, &MainWindow::connectionCheckClick},
        {menus_->contact, &MainWindow::Informacja1Click}};
    for (const auto& [action, command] : commands)
        connect(action, &QAction::triggered, this, command);
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
            if (const std::optional<QString> failure = settings_.writeModuleOrder(choice))
                sink_->showMessage(*failure);
        });
}

void MainWindow::attachModule(Link& device, Clock& clock)
{
    delete panel_;
    // Every connection, the poll's and the window's, is traced for a support
    // report. The monitor that used the old recorder goes first.
    auto recorder = std::make_unique<TraceRecorder>(device, clock);
    monitor_ = std::make_unique<ModuleMonitor>(*recorder, clock, texts_, *sink_);
    recorder_ = std::move(recorder);
    panel_ = new SettingsPanel(*monitor_, texts_, this);
    connectMonitor();
    showModuleStatus();
    monitor_->resume();
}

void MainWindow::showDemoNote()
{
    // No cable leads to the demo's module: the system has nothing to say about it.
    system_.reset();
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
    // The statusChanged that follows takes the new time in without a step.
    connect(monitor_.get(), &ModuleMonitor::configurationRead, this,
            [this] { pages_->setIntroTimeIndex(monitor_->status().introTimeIndex); });
}

void MainWindow::previewField(int editNumber)
{
    const int selector = editor_->page().selectorIndex();
    const int slot = slotOfEditNumber(selector, editNumber);
    previewScreen_ = introScreenOfEditNumber(editNumber);
    previewRow_ = slot > 0 && pageKind(selector) != PageKind::Intro ? slotRow(selector, slot) : 0;
    refreshPreview();
}

// The preview follows every change of what it shows, typed or loaded.
void MainWindow::refreshPreview()
{
    DisplayPreviewView& view = *listPanel_->preview();
    if (previewScreen_ > 0) {
        const IntroLines lines = introLines();
        view.showIntroScreen(previewScreen_, lines[std::size_t(2 * previewScreen_ - 2)],
                             lines[std::size_t(2 * previewScreen_ - 1)]);
    } else if (previewRow_ > 0) {
        view.showEntry(placeOfRow(previewRow_), editor_->grid().entryText(previewRow_));
    }
}

void MainWindow::listRebuilt()
{
    refreshPreview();
    listPanel_->listRebuilt(editor_->list().count());
    pages_->showLamps(editor_->list().lamps());
}

void MainWindow::RadioGroup_StrefaClick(int index)
{
    pages_->selectPage(index);
    listPanel_->setEnabled(editor_->page().transferGroupEnabled());
}

void MainWindow::Nowy1Click()
{
    QString count;
    if (files_->Nowy1Click(count).isDone()) {
        monitor_->status().entryCount = count.toInt();
        toolBar_->showEntryCount(count);
    }
    finishFileCommand(EditStep{EditStep::Kind::New});
}

// ---- undo and redo ----------------------------------------------------------

void MainWindow::connectSteps()
{
    steps_ = new QUndoStack(this);
    steps_->setUndoLimit(kUndoLimit);
    connect(steps_, &QUndoStack::indexChanged, this, [this] { menus_->showSteps(*steps_); });
    connect(steps_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { files_->setModified(!clean); });
    connect(menus_->undo, &QAction::triggered, steps_, &QUndoStack::undo);
    connect(menus_->redo, &QAction::triggered, steps_, &QUndoStack::redo);
    connect(pages_, &ZonePages::fieldEdited, this, &MainWindow::recordTyping);
    connect(pages_, &ZonePages::fieldFocused, this, [this] { ++burst_; });
    connect(toolBar_, &ModuleToolBar::addressEdited, this, [this] {
        EditStep step{toolBar_->address()->isPasting() ? EditStep::Kind::Paste
                                                       : EditStep::Kind::Typing};
        step.field = EditStep::Field::Address;
        recordStep(step, ChangeScope::Address, typingKey(kAddressField, step));
    });
    menus_->showSteps(*steps_);
    files_->startSteps();
}

// Typing in one field joins into one step until the focus moves or another
// step comes between; a paste is a step of its own.
int MainWindow::typingKey(int field, const EditStep& step) const
{
    return step.kind == EditStep::Kind::Typing ? burst_ * kFieldKeys + field : -1;
}

void MainWindow::recordTyping(int editNumber, bool pasted)
{
    const FieldStep typed = fieldStep(editor_->page().selectorIndex(), editNumber, pasted);
    recordStep(typed.step, typed.scope, typingKey(editNumber, typed.step));
}

void MainWindow::recordStep(const EditStep& step, ChangeScope scope, int mergeKey)
{
    DocumentChange change = files_->takeChange(scope);
    if (change.isEmpty())
        return;
    if (mergeKey < 0)
        ++burst_;
    steps_->push(
        new DocumentStep(step, std::move(change), mergeKey,
                         [this](const DocumentChange& c, bool undo) { applyStep(c, undo); }));
}

// A change the module made (the display time a poll found, say) is no step:
// the steps go on from the directory as it now is.
void MainWindow::absorbChanges()
{
    if (files_)
        files_->takeChange(ChangeScope::Everything);
}

void MainWindow::applyStep(const DocumentChange& change, bool undo)
{
    files_->applyChange(change, undo);
    ++burst_;
    showChange(change);
    refreshPreview();
}

// The view goes to what the step changes.
void MainWindow::showChange(const DocumentChange& change)
{
    const ChangeView view = viewOfChange(change);
    if (view.selectorIndex >= 0)
        RadioGroup_StrefaClick(view.selectorIndex);
    if (view.slot > 0)
        pages_->focusEntry(view.slot, view.line2);
    else if (view.introLine >= 0)
        edit(introLineEditNumber(view.introLine))->setFocus(Qt::OtherFocusReason);
    else if (view.address)
        toolBar_->address()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::connectFileCommands()
{
    dialogs_ = std::make_unique<WidgetFileDialogs>(this);
    files_ = std::make_unique<FileCommands>(*editor_, *sink_, texts_, *dialogs_);
    files_->readFields = [this] { return documentFields(); };
    files_->showFields = [this](const DocumentFields& fields) { showDocumentFields(fields); };
    files_->selectPage = [this](int index) { RadioGroup_StrefaClick(index); };
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

void MainWindow::Otwrz1Click()
{
    files_->Otwrz1Click();
    recordFileStep(EditStep::Kind::Open);
}

void MainWindow::Importuj1Click()
{
    files_->Importuj1Click();
    recordFileStep(EditStep::Kind::Import);
}

void MainWindow::recordFileStep(EditStep::Kind kind)
{
    EditStep step{kind};
    step.file = QFileInfo(files_->NazwaProp()).fileName();
    finishFileCommand(step);
}

// After a file command: its step, if it changed the directory. A directory
// that matches its file now (opened, saved, new) is the clean step.
void MainWindow::finishFileCommand(const std::optional<EditStep>& step)
{
    const bool matchesFile = !files_->isModified();
    if (step)
        recordStep(*step);
    if (matchesFile)
        steps_->setClean();
    showFileState();
}

void MainWindow::Zapisz1Click()
{
    files_->Zapisz1Click();
    finishFileCommand(std::nullopt);
}

void MainWindow::Zapiszjako1Click()
{
    files_->Zapiszjako1Click();
    finishFileCommand(std::nullopt);
}

void MainWindow::Ustaw_WJ_na_komponentach()
{
    applyQtTranslations(texts_.Nr_Jezyka());
    menus_->retranslate();
    toolBar_->retranslate();
    pages_->retranslate(texts_);
    listPanel_->retranslate();
    sink_->cancelButton()->setText(fixedText(FixedText::CancelButton, texts_.Nr_Jezyka()));
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
    bool saveReport = false;
    window.offerSupportReport([&saveReport] { saveReport = true; });
    window.exec();
    // Asked once the contact window has gone.
    if (saveReport)
        saveSupportReport();
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

void MainWindow::setSystemProbe(std::unique_ptr<SystemProbe> system)
{
    system_ = std::move(system);
}

ConnectionReport MainWindow::runConnectionCheck()
{
    // The check greets the module itself: the poll waits meanwhile, and one
    // that is still under way finishes first (the device's gate).
    monitor_->suspend();
    ConnectionReport report = checkConnection(
        {system_.get(), monitor_->link(), monitor_->clock(), {}}, texts_.Nr_Jezyka());
    monitor_->resume();
    return report;
}

void MainWindow::connectionCheckClick()
{
    if (!monitor_)
        return;
    ConnectionCheckWindow window([this] { return runConnectionCheck(); }, texts_.Nr_Jezyka(), this);
    window.exec();
}

void MainWindow::saveSupportReport()
{
    const int language = texts_.Nr_Jezyka();
    const std::optional<bool> includeDirectory = askSupportReportOptions(language, this);
    if (!includeDirectory || !monitor_)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString check = reportText(runConnectionCheck(), language);
    QApplication::restoreOverrideCursor();
    const QString report =
        supportReportText({check, sink_->recentMessages(), recorder_->traces(), *includeDirectory});
    const QString suggested = QDir::home().filePath(
        QStringLiteral("q540-support-%1.txt")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmm"))));
    QString saved;
    if (files_->saveOtherFile(QStringLiteral("(*.txt)"), suggested, report.toUtf8(), &saved)
            .isDone())
        sink_->showMessage(fixedText(FixedText::SupportReportSaved, language)
                               .arg(QDir::toNativeSeparators(saved)));
}

void MainWindow::Zmien_jezykClick()
{
    panel_->execWithPollSuspended(SettingsPanel::kLanguageMode);
}

void MainWindow::showModuleStatus()
{
    absorbChanges();
    const ModuleStatus& status = monitor_->status();
    const ModuleStatusView view = presentModuleStatus(status, texts_);
    toolBar_->showStatus(view, monitor_->password(), status.resetLockTicked,
                         status.zmienHasloEnabled);
    listPanel_->setAlphabeticalSearch(status.alphabeticalSearchTicked);
}

void MainWindow::Button0Click()
{
    transfers_->writeDirectory(*monitor_, files_->document(), listPanel_->verifyAfterWriting());
    showModuleStatus();
}

// A read replaces the directory or the intro with what is in no file yet.
void MainWindow::Buttonz9Click()
{
    if (files_->mayReplaceWork()) {
        const WindowRead read = transfers_->readDirectory(*monitor_, listPanel_->readTwice());
        if (read.changed)
            files_->markModified();
        recordStep({EditStep::Kind::ModuleRead});
    }
    showModuleStatus();
}

void MainWindow::compareClick()
{
    const ExpectedContents expected{files_->document(), monitor_->status().alphabeticalSearchTicked,
                                    monitor_->status().resetLockTicked};
    const ModuleComparison comparison = transfers_->compare(*monitor_, expected);
    showModuleStatus();
    if (!comparison.outcome.isDone())
        return;
    CompareWindow window(comparison.differences, texts_.Nr_Jezyka(), this);
    window.exec();
}

void MainWindow::importTableClick()
{
    files_->importTable(
        [this](const TableRead& table) { return askTableImport(table, texts_.Nr_Jezyka(), this); });
    finishFileCommand(EditStep{EditStep::Kind::TableImport});
}

void MainWindow::pasteRows(int zone, int number, const QString& text)
{
    const TableRead rows = parsePastedRows(text, zone, number);
    if (!rows.findings.empty() && !askTableImport(rows, texts_.Nr_Jezyka(), this, false))
        return;
    editor_->grid() = applyTable(editor_->grid(), rows, false);
    editor_->page().refresh();
    files_->markModified();
    EditStep step{EditStep::Kind::PastedRows};
    step.place = {zone, number};
    recordStep(step, ChangeScope::Grid);
}

// What Print and Export PDF show: the open directory in the name list's
// order, which is the order a write sends.
static DirectoryPrintout printoutOf(const FileCommands& files, const DirectoryEditor& editor,
                                    int language)
{
    return {files.document(), editor.list().rows(), language, QDateTime::currentDateTime()};
}

void MainWindow::printClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kApplicationTitle);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    paintDirectory(printer, printoutOf(*files_, *editor_, texts_.Nr_Jezyka()));
}

void MainWindow::exportPdfClick()
{
    const QString folder =
        files_->SciezkaProp().isEmpty() ? QDir::homePath() : files_->SciezkaProp();
    const QString base = files_->NazwaProp().isEmpty()
                             ? QStringLiteral("q540")
                             : QFileInfo(files_->NazwaProp()).completeBaseName();
    files_->saveOtherFile(QStringLiteral("(*.pdf)"),
                          QDir(folder).filePath(base + QStringLiteral(".pdf")),
                          directoryPdf(printoutOf(*files_, *editor_, texts_.Nr_Jezyka())));
}

void MainWindow::exportTableClick()
{
    files_->exportTable();
}

void MainWindow::historyClick()
{
    HistoryWindow window(history_, texts_.Nr_Jezyka(), this);
    if (window.exec() != QDialog::Accepted || window.chosen().isEmpty())
        return;
    files_->openCopy(window.chosen());
    finishFileCommand(EditStep{EditStep::Kind::HistoryCopy});
}

void MainWindow::Button1Click()
{
    if (files_->mayReplaceWork() && transfers_->readIntro(*monitor_)) {
        files_->markModified();
        recordStep({EditStep::Kind::IntroRead});
    }
    showModuleStatus();
}

void MainWindow::Button2Click()
{
    transfers_->writeIntro(*monitor_, listPanel_->verifyAfterWriting());
    showModuleStatus();
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
    if (files_->isModified()
        && !sink_->askYesNo(texts_.text(textkey::kCloseWithUnsavedChanges), QString())) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace q540
