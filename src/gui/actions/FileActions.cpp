#include "gui/actions/FileActions.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "commands/FileCommands.h"
#include "directory/DirectoryEditor.h"
#include "files/PasteReach.h"
#include "files/ResidentTable.h"
#include "gui/actions/UndoSteps.h"
#include "gui/dialogs/HistoryWindow.h"
#include "gui/dialogs/TableImportDialog.h"
#include "gui/main/MainMenus.h"
#include "gui/main/ModuleToolBar.h"
#include "gui/main/WindowModule.h"
#include "gui/seams/WidgetSink.h"
#include "module/ModuleMonitor.h"

#include <QAction>
#include <QMainWindow>

#include <optional>

namespace q540 {

FileActions::FileActions(const WindowParts& parts, UndoSteps& steps) : parts_(parts), steps_(steps)
{
}

void FileActions::finish(const Outcome& outcome, const EditStep& step)
{
    steps_.finishFileCommand(outcome.isDone() ? std::optional<EditStep>(step) : std::nullopt);
}

void FileActions::Nowy1Click()
{
    QString count;
    const Outcome outcome = parts_.files.newDirectory(count);
    if (outcome.isDone()) {
        parts_.module.monitor().status().entryCount = count.toInt();
        parts_.toolBar.showEntryCount(count);
    }
    finish(outcome, EditStep{EditStep::Kind::New});
}

void FileActions::Otwrz1Click()
{
    const Outcome outcome = parts_.files.openDirectoryFile();
    steps_.recordFileStep(EditStep::Kind::Open, outcome.isDone());
    if (const QString table = parts_.files.takeOfferedTable(); !table.isEmpty())
        importTable(table);
}

void FileActions::Importuj1Click()
{
    const Outcome outcome = parts_.files.importListFile();
    steps_.recordFileStep(EditStep::Kind::Import, outcome.isDone());
}

void FileActions::Zapisz1Click()
{
    parts_.files.save();
    steps_.finishFileCommand(std::nullopt);
}

void FileActions::Zapiszjako1Click()
{
    parts_.files.saveAs();
    steps_.finishFileCommand(std::nullopt);
}

bool FileActions::mayClose()
{
    if (!parts_.files.isModified())
        return true;
    switch (
        parts_.sink.askToSave(fixedText(FixedText::SaveBeforeClosing, parts_.texts.language()))) {
    case WidgetSink::SaveChoice::Save:
        Zapisz1Click();
        return !parts_.files.isModified();
    case WidgetSink::SaveChoice::Discard:
        return true;
    case WidgetSink::SaveChoice::Cancel:
        break;
    }
    return false;
}

void FileActions::historyClick()
{
    HistoryWindow window(parts_.history, parts_.texts.language(), &parts_.window);
    if (window.exec() != QDialog::Accepted || window.chosen().isEmpty())
        return;
    finish(parts_.files.openCopy(window.chosen()), EditStep{EditStep::Kind::HistoryCopy});
}

void FileActions::importTableClick()
{
    importTable(QString());
}

void FileActions::importTable(const QString& path)
{
    const auto choose = [this](TableRead& table, QByteArrayView bytes) {
        return askTableImport(
            table, parts_.texts.language(), &parts_.window, true,
            [bytes](std::optional<TableEncoding> encoding) { return parseTable(bytes, encoding); });
    };
    finish(parts_.files.importTable(choose, path), EditStep{EditStep::Kind::TableImport});
}

void FileActions::exportTableClick()
{
    parts_.files.exportTable();
}

void FileActions::pasteRows(int zone, int number, const QString& text)
{
    TableRead rows = parsePastedRows(text, zone, number);
    const int language = parts_.texts.language();
    if (!rows.findings.empty() && !askTableImport(rows, language, &parts_.window, false))
        return;
    // Entries that hold text, or lie on another tab, are not seen being replaced.
    const PasteReach reach = pasteReach(parts_.editor.grid(), rows, {zone, number});
    if (reach.count > 0 && !parts_.sink.askYesNo(pasteQuestion(reach, language), QString()))
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
