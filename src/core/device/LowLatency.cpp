#include "device/LowLatency.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace q540 {

SerialFlagsIoctl systemSerialFlags()
{
#ifdef Q_OS_LINUX
    return {[](int fd, int& flags) {
                serial_struct serial{};
                if (::ioctl(fd, TIOCGSERIAL, &serial) != 0)
                    return false;
                flags = serial.flags;
                return true;
            },
            [](int fd, int flags) {
                serial_struct serial{};
                if (::ioctl(fd, TIOCGSERIAL, &serial) != 0)
                    return false;
                serial.flags = flags;
                return ::ioctl(fd, TIOCSSERIAL, &serial) == 0;
            }};
#else
    return {[](int, int&) { return false; }, [](int, int) { return false; }};
#endif
}

bool requestLowLatency(int fd, const SerialFlagsIoctl& ioctl)
{
#ifdef Q_OS_LINUX
    constexpr int kLowLatency = ASYNC_LOW_LATENCY;
#else
    constexpr int kLowLatency = 0x2000;
#endif
    int flags = 0;
    if (fd < 0 || !ioctl.get(fd, flags))
        return false;
    if (flags & kLowLatency)
        return true;
    return ioctl.set(fd, flags | kLowLatency);
}

} // namespace q540
