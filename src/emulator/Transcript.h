#pragma once

#include <QByteArray>

#include <cstdint>

namespace q540::sim {

// One call that reached the emulated module, in the order the calls came. Tests
// judge the program by these records, not by what the program believes it sent.
struct TranscriptEntry {
    enum class Kind { Open, OpenFailed, Close, BaudRate, Timeouts, HostToModule, ModuleToHost };
    Kind kind;
    // HostToModule: the bytes of one write call; ModuleToHost: what one read call
    // delivered; Open and OpenFailed: the description the host asked for.
    QByteArray bytes;
    int first = 0;  // BaudRate: the baud rate; Timeouts: the read timeout in ms
    int second = 0; // Timeouts: the write timeout in ms
    // When the call reached the module, in ms on the clock the module was given
    // (ModuleEmulator::setClock); 0 without one.
    std::int64_t atMs = 0;

    friend bool operator==(const TranscriptEntry&, const TranscriptEntry&) = default;
};

} // namespace q540::sim
