#include "gui/actions/FileActions.h"

#include "base/Localisation.h"
#include "commands/FileCommands.h"
#include "directory/DirectoryEditor.h"
#include "files/ResidentTable.h"
#include "gui/actions/UndoSteps.h"
#include "gui/dialogs/HistoryWindow.h"
#include "gui/dialogs/TableImportDialog.h"
#include "gui/main/MainMenus.h"
#include "gui/main/ModuleToolBar.h"
#include "gui/main/WindowModule.h"
#include "module/ModuleMonitor.h"

#include <QAction>
#include <QMainWindow>

namespace q540 {

FileActions::FileActions(const WindowParts& parts, UndoSteps& steps) : parts_(parts), steps_(steps)
{
    showFileState();
}

// Save is available only while the directory has a file; Save as always is.
void FileActions::showFileState()
{
    parts_.window.setWindowTitle(parts_.files.caption());
    parts_.menus.save->setEnabled(parts_.files.saveEnabled());
    parts_.toolBar.setSaveEnabled(parts_.files.saveEnabled());
}

void FileActions::finish(const std::optional<EditStep>& step)
{
    steps_.finishFileCommand(step);
    showFileState();
}

void FileActions::Nowy1Click()
{
    QString count;
    if (parts_.files.newDirectory(count).isDone()) {
        parts_.module.monitor().status().entryCount = count.toInt();
        parts_.toolBar.showEntryCount(count);
    }
    finish(EditStep{EditStep::Kind::New});
}

void FileActions::Otwrz1Click()
{
    parts_.files.openDirectoryFile();
    steps_.recordFileStep(EditStep::Kind::Open);
    showFileState();
}

void FileActions::Importuj1Click()
{
    parts_.files.importListFile();
    steps_.recordFileStep(EditStep::Kind::Import);
    showFileState();
}

void FileActions::Zapisz1Click()
{
    parts_.files.save();
    finish(std::nullopt);
}

void FileActions::Zapiszjako1Click()
{
    parts_.files.saveAs();
    finish(std::nullopt);
}

void FileActions::historyClick()
{
    HistoryWindow window(parts_.history, parts_.texts.language(), &parts_.window);
    if (window.exec() != QDialog::Accepted || window.chosen().isEmpty())
        return;
    parts_.files.openCopy(window.chosen());
    finish(EditStep{EditStep::Kind::HistoryCopy});
}

void FileActions::importTableClick()
{
    parts_.files.importTable([this](TableRead& table, QByteArrayView bytes) {
        return askTableImport(
            table, parts_.texts.language(), &parts_.window, true,
            [bytes](std::optional<TableEncoding> encoding) { return parseTable(bytes, encoding); });
    });
    finish(EditStep{EditStep::Kind::TableImport});
}

void FileActions::exportTableClick()
{
    parts_.files.exportTable();
}

void FileActions::pasteRows(int zone, int number, const QString& text)
{
    TableRead rows = parsePastedRows(text, zone, number);
    if (!rows.findings.empty()
        && !askTableImport(rows, parts_.texts.language(), &parts_.window, false))
        return;
    DirectoryEditor& editor = parts_.editor;
    editor.grid() = applyTable(editor.grid(), rows, false);
    editor.page().refresh();
    parts_.files.markModified();
    EditStep step{EditStep::Kind::PastedRows};
    step.place = {zone, number};
    steps_.recordStep(step, ChangeScope::Grid);
}

} // namespace q540
