#include "ui/WidgetFileDialogs.h"

#include <QFileDialog>

namespace q540 {

namespace {

QString run(QWidget* parent, QFileDialog::AcceptMode mode, const QString& filter,
            const QString& start)
{
    QFileDialog dialog(parent, QString(), start, filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
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
