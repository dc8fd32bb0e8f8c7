// The program's entry: the start-up in its order, then the event loop.

#include "files/SettingsFile.h"
#include "link/CableLink.h"
#include "link/Clock.h"
#include "ui/AppInfo.h"
#include "ui/Localisation.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    else
        QMessageBox::warning(nullptr, QString(), QStringLiteral("The visual style is missing."));
    QApplication::setApplicationName(q540::kApplicationTitle);
    QApplication::setApplicationDisplayName(q540::kApplicationTitle);

    std::unique_ptr<q540::Link> cable = q540::loadCableLink();
    if (!cable) {
        // The language is not known yet: this message is always Polish.
        QMessageBox::information(nullptr, q540::kApplicationTitle,
                                 QStringLiteral("Zainstaluj sterownik USB!"));
        return 1;
    }
    q540::Localisation texts;
    texts.Wczytaj_WJ_do_tablicy();
    const QString settingsPath = q540::SettingsFile::defaultPath();
    texts.setNr_Jezyka(q540::SettingsFile(settingsPath).readJezyk());

    q540::MainWindow window(texts, settingsPath);
    q540::SystemClock clock;
    window.attachModule(*cable, clock);
    // The splash stays above the main window until it has faded out and is gone.
    auto* splash = new q540::SplashWindow(texts.Nr_Jezyka(), clock);
    window.show();
    splash->show();
    splash->raise();
    return QApplication::exec();
}
