#pragma once

// For GUI tests only: the main window with no module behind it, shown, in a
// program language, its settings file in a folder of its own.

#include "base/Localisation.h"
#include "gui/main/MainWindow.h"

#include <QTemporaryDir>

#include <memory>

namespace q540::test {

struct PlainWindow {
    QTemporaryDir dir;
    Localisation texts;
    std::unique_ptr<MainWindow> window;

    explicit PlainWindow(int language = 1)
    {
        texts.load();
        texts.setLanguage(language);
        window = std::make_unique<MainWindow>(texts, dir.filePath(QStringLiteral("Q540.ini")),
                                              kModuleOrderPolish);
        window->show();
    }
};

} // namespace q540::test
