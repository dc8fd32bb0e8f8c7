#pragma once

#include "link/ModuleMonitor.h"
#include "sim/EmulatedLink.h"
#include "sim/ModuleEmulator.h"
#include "sim/VirtualClock.h"
#include "support/RecordingSink.h"
#include "ui/Localisation.h"

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
        texts.Wczytaj_WJ_do_tablicy();
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
