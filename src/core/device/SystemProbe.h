#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace q540 {

// An FTDI USB device (vendor 0403) as the system lists it.
struct UsbSerialDevice {
    QString busId;     // "1-1.2"
    QString productId; // "6001"
    QString product;   // the USB product string; "VELKOR" for the cable
    QString interface; // its first interface, "1-1.2:1.0"
    QString driver;    // the interface's driver ("ftdi_sio"); empty when none holds it
    QString tty;       // the tty the kernel's driver made ("ttyUSB0"); empty without one
};

// What a path names, as far as the connection check cares: only a
// terminal can be the cable's port.
enum class PortKind { Missing, Terminal, Device, File, Fifo, Folder, Socket, Other };

// What is at a port's path, who owns it and whether this user may open it.
struct PortFacts {
    QString path;
    PortKind kind = PortKind::Missing;
    QString owner;
    QString group;
    unsigned mode = 0; // the permission bits
    bool userMayOpen = false;
};

// The user the program runs as, and the groups the running program has
// (inGroupsFile: the groups the system lists the user in, which a group
// added since the login is in, though the program does not have it yet).
struct UserFacts {
    QString name;
    QStringList groups;
    QStringList inGroupsFile;
};

struct ProcessFacts {
    int pid = 0;
    QString name;
    friend bool operator==(const ProcessFacts&, const ProcessFacts&) = default;
};

// What the connection check reads from the system, behind one interface so
// that each diagnosis can be tried on a made-up system; another platform
// gets its own implementation.
class SystemProbe {
public:
    virtual ~SystemProbe() = default;
    // Where the vendor's D2XX library is installed; empty when it is not.
    virtual QString vendorLibrary() const = 0;
    virtual std::vector<UsbSerialDevice> ftdiDevices() const = 0;
    virtual PortFacts port(const QString& path) const = 0;
    virtual UserFacts user() const = 0;
    // Other processes that have the very device (or file) at path open, where
    // they may be seen; another name for the same device counts, another
    // device does not.
    virtual std::vector<ProcessFacts> processesUsing(const QString& path) const = 0;
    // Running processes of these names.
    virtual std::vector<ProcessFacts> processesNamed(const QStringList& names) const = 0;
    // The latency timer the kernel's driver keeps for a tty.
    virtual std::optional<int> latencyTimer(const QString& tty) const = 0;
    // The USB serial ports there are ("/dev/ttyUSB0"), for a user who named
    // something else.
    virtual QStringList serialPorts() const = 0;
    // Where udev finds this program's rule for the cable; empty when it is
    // not installed.
    virtual QString udevRule() const = 0;
};

// The file name of the package's udev rule for the cable.
inline constexpr char kUdevRuleName[] = "70-q540-cable.rules";

// Linux: sysfs, /proc, /dev and the user and group files, all under root,
// which is "/" for the system and a folder of the same shape in tests.
// Whether the user may open a port is the kernel's own judgement (access
// lists included) on the system, and the owner, group and mode bits in a
// test folder.
class LinuxSystemProbe final : public SystemProbe {
public:
    explicit LinuxSystemProbe(QString root = QStringLiteral("/"));

    QString vendorLibrary() const override;
    std::vector<UsbSerialDevice> ftdiDevices() const override;
    PortFacts port(const QString& path) const override;
    UserFacts user() const override;
    std::vector<ProcessFacts> processesUsing(const QString& path) const override;
    std::vector<ProcessFacts> processesNamed(const QStringList& names) const override;
    std::optional<int> latencyTimer(const QString& tty) const override;
    QStringList serialPorts() const override;
    QString udevRule() const override;

private:
    QString at(const QString& path) const;
    bool isSystem() const;
    QString nameOf(const QString& file, unsigned id) const;
    bool isTerminal(unsigned major, unsigned minor) const;
    std::vector<ProcessFacts> processes() const;

    QString root_;
};

} // namespace q540
