#pragma once

#include "device/Link.h"
#include "device/LowLatency.h"

#include <QString>

#include <memory>

class QSerialPort;

namespace q540 {

// The cable as a serial port (the kernel's FTDI driver on Linux, the virtual
// COM port on Windows), or any port named explicitly, such as a
// pseudo-terminal in tests. The port object is created in open() and
// destroyed in close(), so each connection lives wholly in the thread that
// opened it.
class SerialLink final : public Link {
public:
    // With an empty port name, open() looks for the port whose USB product
    // string is exactly "VELKOR". open() asks for low latency through
    // serialFlags, which a test replaces to see that it does.
    explicit SerialLink(QString portName = {}, SerialFlagsIoctl serialFlags = systemSerialFlags());
    ~SerialLink() override;

    bool open() override;
    void setBaudRate(int baud) override;
    void setTimeouts(int readMs, int writeMs) override;
    void write(std::span<const std::uint8_t> bytes) override;
    std::size_t read(std::span<std::uint8_t> bytes) override;
    void close() override;
    bool isOpen() const override;
    // Read from sysfs, where the port is a USB serial device that has one.
    std::optional<int> latencyTimerMs() const override;
    OpenProblem openProblem() const override { return problem_; }
    // The port given, or the cable's port as the last open() found it.
    QString portName() const override;

private:
    QString portName_;
    QString foundPort_;
    OpenProblem problem_ = OpenProblem::None;
    SerialFlagsIoctl serialFlags_;
    std::unique_ptr<QSerialPort> port_;
    int readTimeoutMs_ = 0;
    int writeTimeoutMs_ = 0;
};

// The USB product string of the device above a tty, read from sysfs
// (<sysClassTty>/<ttyName>/device, then up the tree to the USB device that
// has a "product" file); empty when there is none.
QString usbProductOfTty(const QString& sysClassTty, const QString& ttyName);

// The latency timer of the USB serial device above a tty, in ms, from
// <sysClassTty>/<ttyName>/device/latency_timer; nothing when it has none.
std::optional<int> latencyTimerOfTty(const QString& sysClassTty, const QString& ttyName);

// A port name as QSerialPort takes it ("ttyUSB0" or a path) as a path.
QString portPath(const QString& portName);

// What keeps the path from being a port, judged without opening it: missing,
// not to be looked at, or something other than a character device.
OpenProblem pathProblem(const QString& path);

// Why the port at path cannot be opened, judged from what it is and from the
// system's answer to opening it: a missing path, something that is no
// serial port, no permission, or another program holding it (the system
// says busy, or the port opens and only the caller's own open failed, which
// happens when another program has locked it).
OpenProblem portProblem(const QString& path);

// The name of the first serial port whose USB product is "VELKOR"; empty when
// none is plugged in.
QString findCablePort();

} // namespace q540
