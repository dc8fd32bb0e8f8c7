#include "gui/startup/Startup.h"

#include "base/AppInfo.h"
#include "base/Localisation.h"
#include "device/Clock.h"
#include "device/Link.h"
#include "files/History.h"
#include "files/SettingsFile.h"
#include "gui/main/MainWindow.h"
#include "gui/startup/Look.h"
#include "gui/startup/SplashWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>

namespace q540 {

int runProgram(QApplication& app, const CableLoader& loadCable, Clock& clock, bool demo)
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    else
        QMessageBox::warning(nullptr, QString(), QStringLiteral("The visual style is missing."));
    // No display name: Qt would append it to every window title, and the
    // main window's title already starts with the program's name.
    QApplication::setApplicationName(kApplicationTitle);

    std::unique_ptr<Link> cable = loadCable();
    if (!cable) {
        // The language is not known yet: this message is always Polish.
        QMessageBox::information(nullptr, kApplicationTitle,
                                 QStringLiteral("Zainstaluj sterownik USB!"));
        return 1;
    }
    Localisation texts;
    texts.load();
    const QString settingsPath = SettingsFile::defaultPath();
    texts.setLanguage(SettingsFile(settingsPath).readJezyk());

    MainWindow window(texts, settingsPath);
    window.attachModule(*cable, clock);
    if (demo) {
        window.showDemoNote();
        window.setHistoryFolder(History::defaultFolder(true));
    }
    // The splash stays above the main window until it has faded out and is gone.
    auto* splash = new SplashWindow(texts.language(), clock);
    showCentred(window);
    splash->show();
    splash->raise();
    return app.exec();
}

} // namespace q540
