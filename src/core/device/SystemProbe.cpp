#include "device/SystemProbe.h"

#include "device/SerialLink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <unistd.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace q540 {

namespace {

constexpr char kFtdiVendor[] = "0403";

QString readLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine(4096)).trimmed();
}

// A symbolic link's target as it stands, without following it.
QString linkTarget(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    char target[4096];
    const ssize_t n = ::readlink(native.constData(), target, sizeof target - 1);
    return n <= 0 ? QString() : QFile::decodeName(QByteArray(target, n));
}

QString linkName(const QString& path)
{
    return QFileInfo(linkTarget(path)).fileName();
}

// The numbers after "Key:" in a /proc status file.
QStringList statusField(const QString& statusFile, const QString& key)
{
    QFile file(statusFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Files under /proc tell no size, so they are read to their end at once.
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& line : lines) {
        if (line.startsWith(key + u':'))
            return line.mid(key.size() + 1)
                .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }
    return {};
}

PortKind kindOf(mode_t mode, bool terminal)
{
    if (S_ISCHR(mode))
        return terminal ? PortKind::Terminal : PortKind::Device;
    if (S_ISREG(mode))
        return PortKind::File;
    if (S_ISFIFO(mode))
        return PortKind::Fifo;
    if (S_ISDIR(mode))
        return PortKind::Folder;
    if (S_ISSOCK(mode))
        return PortKind::Socket;
    return PortKind::Other;
}

// One device under two names (/dev/serial/by-id/... and /dev/ttyUSB0) is one
// device; a file is itself wherever it is linked.
bool sameFile(const struct stat& a, const struct stat& b)
{
    if (S_ISCHR(a.st_mode) || S_ISBLK(a.st_mode))
        return (a.st_mode & S_IFMT) == (b.st_mode & S_IFMT) && a.st_rdev == b.st_rdev;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool statOf(const QString& path, struct stat& st)
{
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

} // namespace

LinuxSystemProbe::LinuxSystemProbe(QString root) : root_(std::move(root)) {}

QString LinuxSystemProbe::at(const QString& path) const
{
    return isSystem() ? path : root_ + path;
}

bool LinuxSystemProbe::isSystem() const
{
    return root_ == u'/' || root_.isEmpty();
}

QString LinuxSystemProbe::vendorLibrary() const
{
    QStringList folders;
    if (isSystem())
        folders << qEnvironmentVariable("LD_LIBRARY_PATH").split(u':', Qt::SkipEmptyParts);
    for (const char* base : {"/usr/local/lib", "/usr/lib", "/lib"}) {
        folders << QString::fromLatin1(base);
        const QDir dir(at(QString::fromLatin1(base)));
        for (const QString& multiarch :
             dir.entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs | QDir::NoDotAndDotDot))
            folders << QString::fromLatin1(base) + u'/' + multiarch;
    }
    for (const QString& folder : folders) {
        const QDir dir(at(folder));
        const QStringList found = dir.entryList({QStringLiteral("libftd2xx.so*")}, QDir::Files);
        if (!found.isEmpty())
            return folder + u'/' + found.constFirst();
    }
    return {};
}

std::vector<UsbSerialDevice> LinuxSystemProbe::ftdiDevices() const
{
    std::vector<UsbSerialDevice> devices;
    const QString bus = at(QStringLiteral("/sys/bus/usb/devices"));
    for (const QString& busId :
         QDir(bus).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        const QString dir = bus + u'/' + busId;
        if (busId.contains(u':') || readLine(dir + QStringLiteral("/idVendor")) != kFtdiVendor)
            continue;
        UsbSerialDevice device;
        device.busId = busId;
        device.productId = readLine(dir + QStringLiteral("/idProduct"));
        device.product = readLine(dir + QStringLiteral("/product"));
        const QStringList interfaces =
            QDir(dir).entryList({busId + QStringLiteral(":*")}, QDir::Dirs, QDir::Name);
        if (!interfaces.isEmpty()) {
            device.interface = interfaces.constFirst();
            const QString interfaceDir = dir + u'/' + device.interface;
            device.driver = linkName(interfaceDir + QStringLiteral("/driver"));
            const QStringList ttys =
                QDir(interfaceDir).entryList({QStringLiteral("tty*")}, QDir::Dirs, QDir::Name);
            if (!ttys.isEmpty())
                device.tty = ttys.constFirst();
        }
        devices.push_back(device);
    }
    return devices;
}

QString LinuxSystemProbe::nameOf(const QString& file, unsigned id) const
{
    QFile list(at(file));
    if (list.open(QIODevice::ReadOnly)) {
        while (!list.atEnd()) {
            const QStringList fields = QString::fromUtf8(list.readLine(4096)).split(u':');
            if (fields.size() > 2 && fields[2].toUInt() == id && !fields[2].isEmpty())
                return fields[0];
        }
    }
    return QString::number(id);
}

PortFacts LinuxSystemProbe::port(const QString& path) const
{
    PortFacts facts;
    facts.path = path;
    struct stat st {};
    const QByteArray native = QFile::encodeName(at(path));
    if (::stat(native.constData(), &st) != 0)
        return facts;
    facts.kind =
        kindOf(st.st_mode, S_ISCHR(st.st_mode) && isTerminal(major(st.st_rdev), minor(st.st_rdev)));
    facts.owner = nameOf(QStringLiteral("/etc/passwd"), st.st_uid);
    facts.group = nameOf(QStringLiteral("/etc/group"), st.st_gid);
    facts.mode = st.st_mode & 07777;
    if (isSystem()) {
        facts.userMayOpen = ::access(native.constData(), R_OK | W_OK) == 0;
        return facts;
    }
    const UserFacts me = user();
    const QStringList uid =
        statusField(at(QStringLiteral("/proc/self/status")), QStringLiteral("Uid"));
    const bool isRoot = !uid.isEmpty() && uid.constFirst() == u'0';
    const unsigned rw = me.name == facts.owner            ? 0600
                        : me.groups.contains(facts.group) ? 0060
                                                          : 0006;
    facts.userMayOpen = isRoot || (facts.mode & rw) == rw;
    return facts;
}

UserFacts LinuxSystemProbe::user() const
{
    UserFacts me;
    const QString status = at(QStringLiteral("/proc/self/status"));
    const QStringList uid = statusField(status, QStringLiteral("Uid"));
    me.name = uid.isEmpty() ? QString() : nameOf(QStringLiteral("/etc/passwd"), uid[0].toUInt());
    for (const QString& gid : statusField(status, QStringLiteral("Groups")))
        me.groups << nameOf(QStringLiteral("/etc/group"), gid.toUInt());
    QFile groups(at(QStringLiteral("/etc/group")));
    if (groups.open(QIODevice::ReadOnly)) {
        while (!groups.atEnd()) {
            const QStringList fields =
                QString::fromUtf8(groups.readLine(4096)).trimmed().split(u':');
            if (fields.size() > 3 && fields[3].split(u',').contains(me.name))
                me.inGroupsFile << fields[0];
        }
    }
    return me;
}

std::vector<ProcessFacts> LinuxSystemProbe::processes() const
{
    std::vector<ProcessFacts> all;
    const QString proc = at(QStringLiteral("/proc"));
    const int self = isSystem() ? static_cast<int>(::getpid()) : -1;
    for (const QString& entry : QDir(proc).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const int pid = entry.toInt(&number);
        if (number && pid != self)
            all.push_back({pid, readLine(proc + u'/' + entry + QStringLiteral("/comm"))});
    }
    return all;
}

// The kernel's list of tty drivers by device number: what is not in it is
// no terminal, whatever its name.
bool LinuxSystemProbe::isTerminal(unsigned major, unsigned minor) const
{
    QFile drivers(at(QStringLiteral("/proc/tty/drivers")));
    // Without the list the open itself tells (the module step says why it failed).
    if (!drivers.open(QIODevice::ReadOnly))
        return true;
    // name, device prefix, major, minor or first-last minor, type
    const QStringList lines = QString::fromUtf8(drivers.readAll()).split(u'\n');
    for (const QString& line : lines) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() < 5 || fields[fields.size() - 3].toUInt() != major)
            continue;
        const QStringList range = fields[fields.size() - 2].split(u'-');
        if (range.constFirst().toUInt() <= minor && minor <= range.constLast().toUInt())
            return true;
    }
    return false;
}

std::vector<ProcessFacts> LinuxSystemProbe::processesUsing(const QString& path) const
{
    std::vector<ProcessFacts> holders;
    struct stat port {};
    if (!statOf(at(path), port))
        return holders;
    for (const ProcessFacts& process : processes()) {
        const QString fds = at(QStringLiteral("/proc/%1/fd").arg(process.pid));
        // Another user's descriptors cannot be listed; such a process is
        // found by its name instead. A descriptor's link leads to the open
        // file itself, which its target's text may not name.
        for (const QString& fd : QDir(fds).entryList(QDir::System | QDir::NoDotAndDotDot)) {
            if (struct stat open{}; statOf(fds + u'/' + fd, open) && sameFile(open, port)) {
                holders.push_back(process);
                break;
            }
        }
    }
    return holders;
}

std::vector<ProcessFacts> LinuxSystemProbe::processesNamed(const QStringList& names) const
{
    std::vector<ProcessFacts> found;
    for (const ProcessFacts& process : processes())
        if (names.contains(process.name))
            found.push_back(process);
    return found;
}

std::optional<int> LinuxSystemProbe::latencyTimer(const QString& tty) const
{
    return latencyTimerOfTty(at(QStringLiteral("/sys/class/tty")), tty);
}

QStringList LinuxSystemProbe::serialPorts() const
{
    QStringList ports;
    for (const QString& name :
         QDir(at(QStringLiteral("/dev")))
             .entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                        QDir::System | QDir::Files, QDir::Name))
        ports << QStringLiteral("/dev/") + name;
    return ports;
}

// The folders udev reads rules from: the administrator's, the package's
// and a local build's.
QString LinuxSystemProbe::udevRule() const
{
    for (const char* folder :
         {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d",
          "/usr/lib/udev/rules.d", "/lib/udev/rules.d"}) {
        const QString rule = QString::fromLatin1(folder) + u'/' + QLatin1String(kUdevRuleName);
        if (QFileInfo::exists(at(rule)))
            return rule;
    }
    return {};
}

} // namespace q540
