#pragma once

#include "base/Localisation.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/ModuleMonitor.h"
#include "support/RecordingSink.h"

namespace q540::test {

// A module monitor over the emulator on virtual time, with the Polish texts.
// The emulated module holds the program's default password.
struct MonitorBench {
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink device{module, clock};
    RecordingSink sink;
    Localisation texts;
    ModuleMonitor monitor{device, clock, texts, sink};

    MonitorBench()
    {
        texts.load();
        module.setPasswordFirstHalf(82);
        module.setPasswordSecondHalf(64);
    }
    int count(sim::TranscriptEntry::Kind kind) const
    {
        int n = 0;
        for (const auto& entry : module.transcript())
            n += entry.kind == kind ? 1 : 0;
        return n;
    }
};

} // namespace q540::test
