#pragma once

#include "device/Link.h"
#include "protocol/ConfigurationBlock.h"

#include <QByteArray>
#include <QMetaType>

#include <array>
#include <optional>

namespace q540 {

class Clock;
class Link;

using protocol::ConfigurationNibbles;

// What one identification exchange found on the link. It holds no opinion
// about the program's fields: applying it belongs to the user-interface
// thread (ModuleStatus), so the poll's worker can run the exchange alone.
struct IdentificationOutcome {
    enum class Result {
        NoCable,     // the device did not open
        NoAnswer,    // opened, but no well-formed hello reply
        Unsupported, // well-formed hello with a code other than 70
        // Code 70 and the configuration block was read: nibbles is set.
        ConfigurationRead,
        // Code 70, the configuration was not asked for: the module is
        // already identified and nothing changes.
        ModuleKnown,
        // Code 70, but the configuration reply lacked its end byte: nothing
        // changes and the next poll asks again.
        ConfigurationMissing,
    };

    Result result = Result::NoCable;
    // The second byte of a well-formed hello reply; -1 without one.
    int deviceCode = -1;
    std::optional<ConfigurationNibbles> nibbles;
    // The cable chip's latency timer while the device was open, where the
    // driver tells it.
    std::optional<int> latencyTimerMs;
    // What the hello read returned, however little or wrong.
    QByteArray helloReply;
    // Result::NoCable: why the device did not open, and the port it tried.
    OpenProblem openProblem = OpenProblem::None;
    QString port;
};

// The link half of the module identification: opens the device, greets the
// module and, for a module of this kind when readConfiguration is set, reads
// the configuration block. The device is closed on every path. Runs on any
// thread; it touches nothing but the link and the clock.
IdentificationOutcome identifyModule(Link& link, Clock& clock, bool readConfiguration);

} // namespace q540

Q_DECLARE_METATYPE(q540::IdentificationOutcome)
