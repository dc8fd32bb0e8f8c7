#pragma once

#include <QString>

namespace q540 {

// The demo program's note that no cable is in use, by program language
// (0 Polish, 1 English, 2 German). It is ours, not a text of the texts
// table, which holds the module program's own texts only.
inline QString demoModuleNote(int jezyk)
{
    switch (jezyk) {
    case 0:
        return QStringLiteral("Moduł demonstracyjny: moduł jest symulowany w programie, bez kabla");
    case 2:
        return QStringLiteral("Demomodul: das Modul wird im Programm simuliert, ohne Kabel");
    default:
        return QStringLiteral("Demo module: the module is simulated in the program, no cable");
    }
}

} // namespace q540
