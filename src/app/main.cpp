// The program's entry: the cable through the vendor driver or the serial port.

#include "device/CableLink.h"
#include "device/Clock.h"
#include "gui/startup/Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    q540::SystemClock clock;
    return q540::runProgram(
        app, [] { return q540::loadCableLink(); }, clock);
}
