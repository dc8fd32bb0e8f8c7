#pragma once

#include "module/ModuleStatus.h"

#include <QColor>
#include <QString>

namespace q540 {

class Localisation;

// How the tool bar shows the module's state: the state icon's image index
// and Tag, its colour, the status field's text and the password field's
// colour. Computed from the core's facts; nothing here is stored.
struct ModuleStatusView {
    static constexpr int kImageNoCable = 5;
    static constexpr int kImageModulePresent = 6;
    static constexpr int kImageNoModule = 7; // no answer, or a module of another kind
    static constexpr int kImageNoState = 8;  // the design image, before the first poll
    static constexpr int kTagNoModule = -1;
    static constexpr int kTagModulePresent = 70;

    int imageIndex = kImageNoState;
    int tag = 0;
    QColor stateColour;
    QString text;
    QColor passwordColour; // invalid: the field's own colours
    QString entryCount;    // Edit520; empty without a module
};

ModuleStatusView presentModuleStatus(const ModuleStatus& status, const Localisation& texts);

} // namespace q540
