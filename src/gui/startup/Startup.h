#pragma once

#include <functional>
#include <memory>

class QApplication;

namespace q540 {

class Clock;
class Link;

// Loads the cable's driver: the device link, or none when no driver can be used.
using CableLoader = std::function<std::unique_ptr<Link>()>;

// The program from its visual style to the end of the event loop, in the
// order of the start-up: style, title, the driver first (without one the
// program says so and ends with 1), the texts, the language from the
// settings file, the main window watching the cable, the splash. Returns
// the exit code.
// demo: the cable leads to the in-process demo module, and the window says so.
int runProgram(QApplication& app, const CableLoader& loadCable, Clock& clock, bool demo = false);

} // namespace q540
