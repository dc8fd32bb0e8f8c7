#pragma once

#include "base/Outcome.h"
#include "directory/IntroScreens.h"
#include "module/TransferSession.h"

namespace q540 {

struct ModuleStatus;

// "Odczytaj" of the intro page (receiveIntro): reads the four intro screens
// and the display time. Returns current with the screens that arrived
// replaced, each line without its trailing spaces; a display time that
// arrives well-formed is selected in status.introTimeIndex, clamped to 1..15.
struct IntroRead {
    Outcome outcome;
    IntroLines lines;
};
IntroRead receiveIntro(const TransferContext& context, const IntroLines& current,
                       ModuleStatus& status);

// "Zapisz" of the intro page (sendIntro): writes the four screens, each
// line cut or padded to 16 characters, then the display time selected in
// status.introTimeIndex.
Outcome sendIntro(const TransferContext& context, const IntroLines& lines,
                  const ModuleStatus& status);

} // namespace q540
