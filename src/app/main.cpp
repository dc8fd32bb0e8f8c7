// The program's entry: the cable through the vendor driver or the serial port.

#include "link/CableLink.h"
#include "link/Clock.h"
#include "ui/Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    q540::SystemClock clock;
    return q540::runProgram(
        app, [] { return q540::loadCableLink(); }, clock);
}
