#include "module/Identification.h"

#include "device/Clock.h"
#include "device/Link.h"
#include "protocol/Protocol.h"

#include <algorithm>

namespace q540 {

using namespace protocol;

namespace {

constexpr int kNibbleShift = 4;

IdentificationOutcome exchange(Link& link, Clock& clock, bool readConfiguration)
{
    using Result = IdentificationOutcome::Result;
    IdentificationOutcome outcome;
    outcome.result = Result::NoAnswer;
    link.setBaudRate(kBaudRate);
    link.setTimeouts(kShortTimeoutMs, kShortTimeoutMs);

    // The reply is read over the frame just sent, as the driver's callers do:
    // a module that stays silent leaves 17, 22, 40, which does not check.
    Frame hello = frame(kHello);
    link.write(hello);
    clock.sleep(kHelloReplyDelayMs);
    const std::size_t got = std::min(link.read(hello), hello.size());
    outcome.helloReply = QByteArray(reinterpret_cast<const char*>(hello.data()), qsizetype(got));
    if (!isValidStatusReply(hello))
        return outcome;

    outcome.deviceCode = hello[1];
    if (outcome.deviceCode != kDeviceCodeQ540) {
        outcome.result = Result::Unsupported;
        return outcome;
    }
    if (!readConfiguration) {
        outcome.result = Result::ModuleKnown;
        return outcome;
    }

    clock.sleep(kConfigurationReadPauseMs);
    link.write(frame(kReadConfiguration));
    clock.sleep(kConfigurationReplyDelayMs);
    std::array<Byte, kConfigurationReplyLength> reply{};
    link.read(reply);
    if (reply[kConfigurationSize] != kEndByte) {
        outcome.result = Result::ConfigurationMissing;
        return outcome;
    }

    ConfigurationNibbles nibbles{};
    for (std::size_t i = 0; i < nibbles.size(); ++i)
        nibbles[i] = reply[i] >> kNibbleShift;
    outcome.result = Result::ConfigurationRead;
    outcome.nibbles = nibbles;
    return outcome;
}

} // namespace

IdentificationOutcome identifyModule(Link& link, Clock& clock, bool readConfiguration)
{
    if (!link.open()) {
        IdentificationOutcome outcome;
        outcome.openProblem = link.openProblem();
        outcome.port = link.portName();
        return outcome;
    }
    IdentificationOutcome outcome = exchange(link, clock, readConfiguration);
    outcome.latencyTimerMs = link.latencyTimerMs();
    link.close();
    return outcome;
}

} // namespace q540
