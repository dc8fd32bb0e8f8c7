#include "module/Identification.h"

#include "device/Clock.h"
#include "device/Link.h"
#include "protocol/Protocol.h"

namespace q540 {

using namespace protocol;

namespace {

constexpr int kNibbleShift = 4;

IdentificationOutcome exchange(Link& link, Clock& clock, bool readConfiguration)
{
    using Result = IdentificationOutcome::Result;
    link.setBaudRate(kBaudRate);
    link.setTimeouts(kShortTimeoutMs, kShortTimeoutMs);

    // The reply is read over the frame just sent, as the driver's callers do:
    // a module that stays silent leaves 17, 22, 40, which does not check.
    Frame hello = frame(kHello);
    link.write(hello);
    clock.sleep(kHelloReplyDelayMs);
    link.read(hello);
    if (!isValidStatusReply(hello))
        return {Result::NoAnswer, -1, std::nullopt, std::nullopt, {}, {}};

    const int code = hello[1];
    if (code != kDeviceCodeQ540)
        return {Result::Unsupported, code, std::nullopt, std::nullopt, {}, {}};
    if (!readConfiguration)
        return {Result::ModuleKnown, code, std::nullopt, std::nullopt, {}, {}};

    clock.sleep(kConfigurationReadPauseMs);
    link.write(frame(kReadConfiguration));
    clock.sleep(kConfigurationReplyDelayMs);
    std::array<Byte, kConfigurationReplyLength> reply{};
    link.read(reply);
    if (reply[kConfigurationSize] != kEndByte)
        return {Result::ConfigurationMissing, code, std::nullopt, std::nullopt, {}, {}};

    ConfigurationNibbles nibbles{};
    for (std::size_t i = 0; i < nibbles.size(); ++i)
        nibbles[i] = reply[i] >> kNibbleShift;
    return {Result::ConfigurationRead, code, nibbles, std::nullopt, {}, {}};
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
