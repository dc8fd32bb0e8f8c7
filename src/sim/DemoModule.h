#pragma once

#include "directory/DirectoryGrid.h"
#include "directory/IntroScreens.h"

namespace q540 {
class Localisation;
}

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

} // namespace q540::sim
