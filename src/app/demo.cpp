// The demo program: the main window with the emulated module in place of
// the cable, holding a sample directory, so the program can be tried
// without a module.

#include "base/Localisation.h"
#include "demo/DemoModule.h"
#include "device/Clock.h"
#include "gui/startup/Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    q540::SystemClock clock;
    q540::Localisation texts;
    texts.load();
    q540::sim::DemoModule module(texts);
    const auto demoCable = [&module, &clock] { return module.connect(clock); };
    return q540::runProgram(app, demoCable, clock, true);
}
