#pragma once

#include <functional>

namespace q540 {

// The kernel's request for a serial port's low latency (the tty's
// ASYNC_LOW_LATENCY flag, which the FTDI driver turns into a 1 ms latency
// timer), behind a seam over the two ioctls so that a test can stand in for
// the driver. Allowed without root for the kernel's FTDI driver; a port that
// does not support it (a pseudo-terminal) is left as it is.
struct SerialFlagsIoctl {
    // TIOCGSERIAL and TIOCSSERIAL on the flags: false when the call failed.
    std::function<bool(int fd, int& flags)> get;
    std::function<bool(int fd, int flags)> set;
};

// The real ioctls (on systems other than Linux, calls that always fail).
SerialFlagsIoctl systemSerialFlags();

// True when the port now runs with low latency; a failure is no error.
bool requestLowLatency(int fd, const SerialFlagsIoctl& ioctl = systemSerialFlags());

} // namespace q540
