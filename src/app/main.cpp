// The program's entry. Until the main window is built, it starts what exists:
// the cable's driver, and tells which driver it found and whether the cable is there.

#include "link/CableLink.h"
#include "link/D2xxLink.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Q540 v7.3"));
    QTextStream out(stdout);

    std::unique_ptr<q540::Link> cable = q540::loadCableLink();
    if (!cable) {
        // The language is not known yet: this message is always Polish.
        out << "Zainstaluj sterownik USB!\n";
        return 1;
    }
    const bool vendorDriver = dynamic_cast<q540::D2xxLink*>(cable.get()) != nullptr;
    out << QCoreApplication::applicationName() << '\n'
        << "Driver: " << (vendorDriver ? "D2XX library" : "kernel serial driver") << '\n';
    const bool plugged = cable->open();
    cable->close();
    out << "Cable: " << (plugged ? "found" : "not found") << '\n'
        << "The main window is not part of this build yet; the tests exercise the core "
           "against the module emulator.\n";
    return 0;
}
