#pragma once

#include "emulator/ModuleEmulator.h"
#include "protocol/Protocol.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace q540::simtool {

// One --fault option: the emulator's fault, the exchanges it waits out first
// and how many it covers (-1: every exchange from then on).
struct FaultOption {
    sim::FaultKind kind = sim::FaultKind::None;
    int afterExchanges = 0;
    int times = -1;

    friend bool operator==(const FaultOption&, const FaultOption&) = default;
};

// What the emulated module holds when the simulator starts. The defaults are
// a module that the program's own defaults can write to at once.
struct SimSettings {
    QString password = QString::fromLatin1(protocol::kDefaultPassword);
    int deviceCode = protocol::kDeviceCodeQ540;
    int languageCode = 1; // PL
    std::vector<FaultOption> faults;
    // A directory file whose directory and intro the module holds at start.
    QString loadPath;
    // The cable chip's latency timer on the replies, 1..255 ms; 0: none, each
    // reply byte reaches the host as soon as the wire has carried it.
    int latencyTimerMs = 0;
    // A position whose stored copy the module keeps with its first byte
    // changed, though every write to it is acknowledged; -1 none.
    int corruptBlock = -1;
};

struct SimCommandLine {
    enum class Action { Serve, ShowHelp, ShowVersion, Fail };
    Action action = Action::Fail;
    SimSettings settings; // Action::Serve
    QString text;         // the help or version text, or the error message
};

// "KIND[:AFTER[:TIMES]]" with KIND one of no-reply, wrong-byte, short-reply,
// bad-check-byte; nothing for any other text.
std::optional<FaultOption> parseFaultOption(const QString& text);

// The program's arguments, the program's name first.
SimCommandLine parseSimCommandLine(const QStringList& arguments);

// Sets the module up; the faults come last, so that loading the directory
// does not meet them. False, with the reason in *error, when the directory
// file cannot be read or does not fit the module.
bool applySettings(const SimSettings& settings, sim::ModuleEmulator& module,
                   QString* error = nullptr);

} // namespace q540::simtool
