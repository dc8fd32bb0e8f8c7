#pragma once

#include "base/Outcome.h"
#include "gui/actions/WindowParts.h"

#include <QObject>

namespace q540 {

class UndoSteps;
struct EditStep;

// The File menu's commands and the tool bar's file buttons: the core's file
// commands decide, the window shows the outcome, and what changed the
// directory becomes a step.
class FileActions final : public QObject {
    Q_OBJECT

public:
    FileActions(const WindowParts& parts, UndoSteps& steps);

    // The command New: an empty directory, intro and display time, no file name.
    void Nowy1Click();
    void Otwrz1Click();
    void Importuj1Click();
    void Zapisz1Click();
    void Zapiszjako1Click();
    // Whether the window may close: at once without unsaved changes, else
    // as the user chooses; Save lets it close only once the file is written.
    bool mayClose();
    // File > History…: the kept reads and writes; one opens as a new document.
    void historyClick();
    // File > Import table… and Export table…: resident lists as spreadsheets keep them.
    void importTableClick();
    void exportTableClick();
    // Rows pasted into an entry: that entry and the following ones filled,
    // the report shown first when a row could not be taken as it stood.
    void pasteRows(int zone, int number, const QString& text);

private:
    void finish(const Outcome& outcome, const EditStep& step);
    // The table at path, or the one the user chooses (path empty).
    void importTable(const QString& path);

    WindowParts parts_;
    UndoSteps& steps_;
};

} // namespace q540
