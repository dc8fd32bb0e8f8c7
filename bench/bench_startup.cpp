// Times the start to the main window shown, the splash left out: from the
// moment the process is started (so loading the program and its libraries
// counts) through the texts table, the settings file and the main window,
// until the window has been painted once. Each run is a fresh process; the
// steady clock is the system's monotonic one, shared by both processes.
// Run: build/bench/bench_startup [runs]   (offscreen, or any display)

#include "base/Localisation.h"
#include "files/SettingsFile.h"
#include "gui/main/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The child: one start; prints the moment its window was painted.
int measureOnce(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir settings;
    q540::Localisation texts;
    texts.load();
    const QString settingsPath = settings.filePath(QStringLiteral("Q540.ini"));
    texts.setLanguage(q540::SettingsFile(settingsPath).readJezyk());
    q540::MainWindow window(texts, settingsPath);
    window.show();
    // Queued behind the first paint of the shown window.
    QTimer::singleShot(0, [&] {
        window.repaint();
        QTextStream(stdout) << Clock::now().time_since_epoch().count() << '\n';
        QApplication::quit();
    });
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string_view(argv[1]) == "--once")
        return measureOnce(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        const Clock::time_point start = Clock::now();
        child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--once")});
        if (!child.waitForFinished(30000) || child.exitCode() != 0)
            return 1;
        const Clock::time_point shown{
            Clock::duration(child.readAllStandardOutput().trimmed().toLongLong())};
        times.push_back(std::chrono::duration<double, std::milli>(shown - start).count());
    }
    std::sort(times.begin(), times.end());
    QTextStream(stdout) << runs << " starts: " << QString::number(times[times.size() / 2], 'f', 1)
                        << " ms median, " << QString::number(times.back(), 'f', 1) << " ms worst\n";
    return 0;
}
