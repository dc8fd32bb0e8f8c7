#include "device/SerialLink.h"

#include "device/LowLatency.h"
#include "protocol/Protocol.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q540 {

QString usbProductOfTty(const QString& sysClassTty, const QString& ttyName)
{
    // The tty's "device" link points at the USB interface; the product string
    // sits on the USB device one or two levels above it.
    QString dir =
        QFileInfo(sysClassTty + u'/' + ttyName + QStringLiteral("/device")).canonicalFilePath();
    for (int level = 0; level < 4 && !dir.isEmpty(); ++level) {
        QFile product(dir + QStringLiteral("/product"));
        if (QFileInfo::exists(dir + QStringLiteral("/idVendor"))
            && product.open(QIODevice::ReadOnly))
            return QString::fromUtf8(product.readAll()).trimmed();
        const QString parent = QFileInfo(dir).path();
        if (parent == dir)
            break;
        dir = parent;
    }
    return {};
}

std::optional<int> latencyTimerOfTty(const QString& sysClassTty, const QString& ttyName)
{
    QFile file(sysClassTty + u'/' + ttyName + QStringLiteral("/device/latency_timer"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const int ms = QString::fromLatin1(file.read(16)).trimmed().toInt(&ok);
    return ok ? std::optional<int>(ms) : std::nullopt;
}

QString findCablePort()
{
    const QString wanted = QString::fromLatin1(protocol::kDeviceDescription);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_LINUX
        // udev's model name (what description() gives) has spaces and
        // punctuation replaced; the product string itself is in sysfs.
        const QString product = usbProductOfTty(QStringLiteral("/sys/class/tty"), info.portName());
#else
        const QString product = info.description();
#endif
        if (product == wanted)
            return info.portName();
    }
    return {};
}

QString portPath(const QString& portName)
{
    return portName.startsWith(u'/') ? portName : QStringLiteral("/dev/") + portName;
}

OpenProblem pathProblem(const QString& path)
{
    struct stat facts {};
    if (::stat(QFile::encodeName(path).constData(), &facts) != 0)
        return errno == EACCES ? OpenProblem::PermissionDenied : OpenProblem::NoSuchPort;
    return S_ISCHR(facts.st_mode) ? OpenProblem::None : OpenProblem::NotATerminal;
}

OpenProblem portProblem(const QString& path)
{
    if (const OpenProblem problem = pathProblem(path); problem != OpenProblem::None)
        return problem;
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case EACCES:
        case EPERM:
            return OpenProblem::PermissionDenied;
        case EBUSY:
            return OpenProblem::PortBusy;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return OpenProblem::NoSuchPort;
        default:
            return OpenProblem::None;
        }
    }
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal ? OpenProblem::PortBusy : OpenProblem::NotATerminal;
}

SerialLink::SerialLink(QString portName, SerialFlagsIoctl serialFlags)
    : portName_(std::move(portName)), serialFlags_(std::move(serialFlags))
{
}

SerialLink::~SerialLink()
{
    close();
}

bool SerialLink::open()
{
    if (port_)
        return false;
    foundPort_ = portName_.isEmpty() ? findCablePort() : portName_;
    if (foundPort_.isEmpty()) {
        problem_ = OpenProblem::NoCable;
        return false;
    }
    // A path that is no device is judged without opening it: a FIFO must
    // not be opened as a port at all.
    const QString path = portPath(foundPort_);
    problem_ = pathProblem(path);
    if (problem_ != OpenProblem::None)
        return false;
    auto port = std::make_unique<QSerialPort>(foundPort_);
    if (!port->open(QIODevice::ReadWrite)) {
        port.reset();
        problem_ = portProblem(path);
        return false;
    }
    problem_ = OpenProblem::None;
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
#ifdef Q_OS_LINUX
    // Replies reach the program sooner; a port that cannot is used as it is.
    requestLowLatency(port->handle(), serialFlags_);
#endif
    // Bytes that reached the port before the open, such as the module's
    // answer to a write that was killed, would pass for the reply to the
    // first frame.
    port->clear(QSerialPort::AllDirections);
    port_ = std::move(port);
    return true;
}

void SerialLink::setBaudRate(int baud)
{
    if (port_)
        port_->setBaudRate(baud);
}

void SerialLink::setTimeouts(int readMs, int writeMs)
{
    readTimeoutMs_ = readMs;
    writeTimeoutMs_ = writeMs;
}

void SerialLink::write(std::span<const std::uint8_t> bytes)
{
    if (!port_)
        return;
    port_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    QDeadlineTimer deadline(writeTimeoutMs_);
    while (port_->bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!port_->waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
}

std::size_t SerialLink::read(std::span<std::uint8_t> bytes)
{
    if (!port_)
        return 0;
    std::size_t got = 0;
    QDeadlineTimer deadline(readTimeoutMs_);
    while (got < bytes.size()) {
        const qint64 n = port_->read(reinterpret_cast<char*>(bytes.data() + got),
                                     static_cast<qint64>(bytes.size() - got));
        if (n < 0)
            break;
        got += static_cast<std::size_t>(n);
        if (got == bytes.size() || deadline.hasExpired())
            break;
        if (!port_->waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
    }
    return got;
}

void SerialLink::close()
{
    port_.reset();
}

QString SerialLink::portName() const
{
    return foundPort_.isEmpty() ? portName_ : foundPort_;
}

std::optional<int> SerialLink::latencyTimerMs() const
{
    if (!port_)
        return std::nullopt;
    // A name given as a path, or as a link such as /dev/serial/by-id/..., is
    // the tty it leads to.
    const QString tty = QFileInfo(QFileInfo(port_->portName()).isAbsolute()
                                      ? QFileInfo(port_->portName()).canonicalFilePath()
                                      : port_->portName())
                            .fileName();
    return latencyTimerOfTty(QStringLiteral("/sys/class/tty"), tty);
}

bool SerialLink::isOpen() const
{
    return port_ != nullptr;
}

} // namespace q540
