#pragma once

// For GUI tests only: needs QtWidgets, so it stays a header the support
// library does not compile.

#include "base/Localisation.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "gui/main/MainWindow.h"
#include "module/ModuleMonitor.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

namespace q540::test {

// The module's alphabetical order of the program's language (Polish, English,
// German), as on a PC set to that language: a write names no other order.
inline int orderOfLanguage(int language)
{
    return language == 0   ? kModuleOrderPolish
           : language == 2 ? kModuleOrderGerman
                           : kModuleOrderEnglish;
}

// The main window shown over the emulated module, its poll on virtual time;
// the module holds the program's default password. The history goes to a
// folder of the test's own; verify after writing is off unless asked for,
// so that a write's messages are the write's own.
struct EmulatedWindow {
    QTemporaryDir settings;
    Localisation texts;
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink device{module, clock};
    std::unique_ptr<MainWindow> window;

    explicit EmulatedWindow(int language = 0, bool verify = false)
    {
        QFile file(settings.filePath(QStringLiteral("Q540.ini")));
        if (!verify && file.open(QIODevice::WriteOnly))
            file.write("[Q540]\r\nWeryfikacja=0\r\n");
        file.close();
        texts.load();
        texts.setLanguage(language);
        module.setPasswordFirstHalf(82);
        module.setPasswordSecondHalf(64);
        window = std::make_unique<MainWindow>(texts, settings.filePath(QStringLiteral("Q540.ini")),
                                              orderOfLanguage(language));
        window->setHistoryFolder(settings.filePath(QStringLiteral("history")));
        window->attachModule(device, clock);
        window->show();
    }
    template <typename T> T* child(const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    // One poll as Timer1 would start it; false when its outcome did not come.
    bool poll()
    {
        QSignalSpy changed(&window->module(), &ModuleMonitor::statusChanged);
        window->module().Timer1Timer();
        return changed.wait(5000);
    }
};

} // namespace q540::test
