#pragma once

#include "device/Link.h"
#include "directory/DirectoryGrid.h"
#include "directory/IntroScreens.h"
#include "emulator/ModuleEmulator.h"

#include <memory>

namespace q540 {
class Clock;
class Localisation;
} // namespace q540

namespace q540::sim {

class ModuleEmulator;

// The module of the demo program, so that every command can be tried
// without a cable: the program's default installer password, a sample
// directory of 200 Polish names in zones 1..3 and four intro screens, put
// into the emulator's memory by the program's own directory and intro
// writes.
inline constexpr int kDemoEntryCount = 200;

DirectoryGrid demoDirectory();
IntroLines demoIntro();

void loadDemoModule(ModuleEmulator& module, const Localisation& texts);

// Puts a directory, the intro screens and their display time into the
// module as the program writes them: the module's own password, reset lock
// and language stay. False when the directory does not fit the module (more
// than 1020 entries, or a character it cannot show).
bool preloadModule(ModuleEmulator& module, const DirectoryGrid& grid, const IntroLines& intro,
                   int introTimeIndex, const Localisation& texts);

// The demo program's module: the emulator holding the demo's contents, and the
// cable to it that the program opens like the real one, as fast as a real one
// (its wire and the chip's latency timer modelled).
class DemoModule {
public:
    explicit DemoModule(const Localisation& texts);
    std::unique_ptr<Link> connect(Clock& clock);

private:
    ModuleEmulator module_;
};

} // namespace q540::sim
