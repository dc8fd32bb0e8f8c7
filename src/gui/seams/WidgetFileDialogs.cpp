#include "gui/seams/WidgetFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace q540 {

namespace {

// start is a folder for the open dialog and a file for the save dialog, whose name is
// then offered in the name field.
QString run(QWidget* parent, QFileDialog::AcceptMode mode, const QString& filter,
            const QString& start)
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave && !start.isEmpty()) {
        const QFileInfo file(start);
        dialog.setDirectory(file.absolutePath());
        dialog.selectFile(file.fileName());
    } else if (!start.isEmpty()) {
        dialog.setDirectory(start);
    }
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // The save command asks about the name it really writes, in the program's words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString WidgetFileDialogs::openFileName(const QString& filter, const QString& folder)
{
    return run(parent_, QFileDialog::AcceptOpen, filter, folder);
}

QString WidgetFileDialogs::saveFileName(const QString& filter, const QString& suggestedPath)
{
    return run(parent_, QFileDialog::AcceptSave, filter, suggestedPath);
}

} // namespace q540
