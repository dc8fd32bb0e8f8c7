#pragma once

#include "emulator/LatencyBuffer.h"
#include "simtool/Wire.h"

#include <QString>

namespace q540::sim {
class ModuleEmulator;
}

namespace q540::simtool {

// The module emulator behind a pseudo-terminal. The host opens the slave side
// as it would the cable's serial port, and may close and reopen it as often as
// it likes (the status poll does so every cycle): this side keeps the master
// open, opens the emulated device when a host opens the slave and closes it
// when the last host closes it, so each connection starts with a clean byte
// stream while the module's memory lives on. Both directions run at the
// speed of a 9600-baud line; with a latency timer, the replies then wait in
// the modelled cable chip as they would in the real one.
class PtyServer {
public:
    // latencyTimerMs 0: no chip, each reply byte passes as it arrives.
    explicit PtyServer(sim::ModuleEmulator& module, int latencyTimerMs = 0);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pair and puts the slave in raw mode at 9600 baud; false with
    // errorString() when the system has no pseudo-terminal to give.
    bool open();
    QString slavePath() const { return slavePath_; }
    QString errorString() const { return error_; }

    // Answers the host until stopFd becomes readable or hung up (true), or
    // until the terminal fails (false, with errorString()).
    bool serve(int stopFd);

private:
    bool configureSlave();
    void hostArrived();
    void hostLeft();
    void readHost(Wire::TimePoint now);
    void writeHost(std::span<const std::uint8_t> bytes);
    void exchange(Wire::TimePoint now);
    std::optional<Wire::TimePoint> nextArrival() const;
    std::vector<std::uint8_t> replyBytesBy(Wire::TimePoint now);
    std::int64_t sinceHostArrivedUs(Wire::TimePoint t) const;

    sim::ModuleEmulator& module_;
    int master_ = -1;
    QString slavePath_;
    QString error_;
    bool hostPresent_ = false;
    Wire toModule_;
    Wire toHost_;
    // The chip's timer runs from the host's open, on microseconds since then.
    std::optional<sim::LatencyBuffer> chip_;
    int latencyTimerMs_ = 0;
    Wire::TimePoint hostArrivedAt_{};
};

} // namespace q540::simtool
