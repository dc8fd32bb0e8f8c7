#pragma once

#include "commands/FileDialogs.h"

class QWidget;

namespace q540 {

// The platform's open and save dialogs over the main window, both with the
// default extension "csv".
class WidgetFileDialogs final : public FileDialogs {
public:
    explicit WidgetFileDialogs(QWidget* parent) : parent_(parent) {}

    QString openFileName(const QString& filter, const QString& folder) override;
    QString saveFileName(const QString& filter, const QString& suggestedPath) override;

private:
    QWidget* parent_;
};

} // namespace q540
