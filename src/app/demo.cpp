// The demo program: the main window with the emulated module in place of
// the cable, holding a sample directory, so the program can be tried
// without a module.

#include "link/Clock.h"
#include "sim/DemoModule.h"
#include "sim/EmulatedLink.h"
#include "sim/ModuleEmulator.h"
#include "ui/Localisation.h"
#include "ui/Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    q540::SystemClock clock;
    q540::sim::ModuleEmulator module;
    q540::Localisation texts;
    texts.Wczytaj_WJ_do_tablicy();
    q540::sim::loadDemoModule(module, texts);
    const auto demoCable = [&module, &clock]() -> std::unique_ptr<q540::Link> {
        return std::make_unique<q540::sim::EmulatedLink>(module, clock);
    };
    return q540::runProgram(app, demoCable, clock, true);
}
