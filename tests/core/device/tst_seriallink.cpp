#include "device/LowLatency.h"
#include "device/SerialLink.h"
#include "emulator/ModuleEmulator.h"
#include "protocol/Protocol.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace q540;

Q_DECLARE_METATYPE(q540::OpenProblem)

namespace {

// The module emulator behind the master side of a pseudo-terminal: the
// serial backend talks to a real tty, byte for byte.
class PtyModule {
public:
    PtyModule()
    {
        char name[128] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return;
        termios raw{};
        tcgetattr(slave_, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
        slaveName_ = QString::fromLocal8Bit(name);
        module.open(protocol::kDeviceDescription);
        server_ = std::thread([this] { serve(); });
    }
    ~PtyModule()
    {
        stop_ = true;
        if (server_.joinable())
            server_.join();
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
    }
    QString slaveName() const { return slaveName_; }
    // Bytes the module sent that nobody read yet, waiting in the tty's input
    // when this returns.
    bool leaveUnread(const QByteArray& bytes)
    {
        pollfd p{slave_, POLLIN, 0};
        return ::write(master_, bytes.constData(), std::size_t(bytes.size())) == bytes.size()
               && ::poll(&p, 1, 1000) == 1;
    }

    sim::ModuleEmulator module;

private:
    void serve()
    {
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
                std::uint8_t buffer[256];
                const ssize_t n = ::read(master_, buffer, sizeof buffer);
                if (n > 0)
                    module.hostWrite(std::span(buffer, std::size_t(n)));
            }
            std::uint8_t reply[256];
            const std::size_t n = module.hostRead(reply);
            if (n > 0 && ::write(master_, reply, n) != ssize_t(n))
                return;
        }
    }

    int master_ = -1;
    int slave_ = -1;
    QString slaveName_;
    std::atomic<bool> stop_ = false;
    std::thread server_;
};

} // namespace

class SerialLinkTest : public QObject {
    Q_OBJECT

private slots:
    void usbProductFromSysfs_data();
    void usbProductFromSysfs();
    void exchangeOverAPseudoTerminal();
    void bytesFromBeforeTheOpenAreDropped();
    void openProblems_data();
    void openProblems();
    void portProblemsOfAUser_data();
    void portProblemsOfAUser();
    void lowLatency_data();
    void lowLatency();
    void lowLatencyOnAPseudoTerminalFailsSilently();
    void openAsksForLowLatency();
};

void SerialLinkTest::usbProductFromSysfs_data()
{
    QTest::addColumn<QString>("product"); // empty: the USB device has no product file
    QTest::addColumn<QString>("expected");
    QTest::newRow("the cable") << "VELKOR\n"
                               << "VELKOR";
    QTest::newRow("another converter") << "FT232R USB UART\n"
                                       << "FT232R USB UART";
    QTest::newRow("no product string") << ""
                                       << "";
}

void SerialLinkTest::usbProductFromSysfs()
{
    QFETCH(QString, product);
    QFETCH(QString, expected);
    // A tree shaped like sysfs: the tty's device link points at the USB
    // interface, whose parent is the USB device with idVendor and product.
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString usbDevice = root.path() + "/devices/usb1/1-1";
    const QString interface = usbDevice + "/1-1:1.0";
    QVERIFY(QDir().mkpath(interface + "/ttyUSB0"));
    QVERIFY(QDir().mkpath(root.path() + "/class/tty/ttyUSB0"));
    QVERIFY(QFile::link(interface, root.path() + "/class/tty/ttyUSB0/device"));
    QFile vendor(usbDevice + "/idVendor");
    QVERIFY(vendor.open(QIODevice::WriteOnly));
    vendor.write("0403\n");
    vendor.close();
    if (!product.isEmpty()) {
        QFile file(usbDevice + "/product");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(product.toUtf8());
    }

    QCOMPARE(usbProductOfTty(root.path() + "/class/tty", "ttyUSB0"), expected);
    QCOMPARE(usbProductOfTty(root.path() + "/class/tty", "ttyUSB1"), QString());
}

void SerialLinkTest::exchangeOverAPseudoTerminal()
{
    PtyModule pty;
    QVERIFY(!pty.slaveName().isEmpty());
    SerialLink link(pty.slaveName());
    QVERIFY(link.open());
    link.setBaudRate(protocol::kBaudRate);
    link.setTimeouts(300, 300);

    link.write(protocol::frame(protocol::kHello));
    std::array<std::uint8_t, 3> hello{};
    QCOMPARE(link.read(hello), std::size_t(3));
    QCOMPARE(hello, (std::array<std::uint8_t, 3>{31, 70, 102}));

    // A block read returns the whole 33-byte reply in one call, even when the
    // tty delivers it in pieces.
    link.write(protocol::blockReadFrame(0));
    std::array<std::uint8_t, 33> block{};
    QCOMPARE(link.read(block), std::size_t(33));
    QCOMPARE(block[32], protocol::kEndByte);

    // With nothing to come the read returns after its timeout with nothing.
    QElapsedTimer timer;
    timer.start();
    std::array<std::uint8_t, 1> none{};
    QCOMPARE(link.read(none), std::size_t(0));
    QVERIFY2(timer.elapsed() >= 250 && timer.elapsed() < 2000,
             qPrintable(QString::number(timer.elapsed())));
    link.close();
    QVERIFY(!link.isOpen());

    QCOMPARE(pty.module.sentBytes(), QByteArray("\x11\x16\x28\x17\x00\x18", 6));
}

// The answer to a write that was killed must not pass for the reply to the
// next connection's first frame.
void SerialLinkTest::bytesFromBeforeTheOpenAreDropped()
{
    PtyModule pty;
    QVERIFY(!pty.slaveName().isEmpty());
    QVERIFY(pty.leaveUnread(QByteArray("\x06\x1f\x46", 3)));
    SerialLink link(pty.slaveName());
    QVERIFY(link.open());
    link.setTimeouts(300, 300);
    std::array<std::uint8_t, 3> stale{};
    QCOMPARE(link.read(stale), std::size_t(0));

    link.write(protocol::frame(protocol::kHello));
    std::array<std::uint8_t, 3> hello{};
    QCOMPARE(link.read(hello), std::size_t(3));
    QCOMPARE(hello, (std::array<std::uint8_t, 3>{31, 70, 102}));
}

// Each way a named port can fail to open gets its own problem, and none of
// them blocks: a FIFO is judged without being opened.
void SerialLinkTest::openProblems_data()
{
    QTest::addColumn<QString>("port"); // "@" stands for the test's folder
    QTest::addColumn<OpenProblem>("problem");
    QTest::newRow("missing path") << "/dev/q540-no-such-port" << OpenProblem::NoSuchPort;
    QTest::newRow("missing name") << "ttyQ540none" << OpenProblem::NoSuchPort;
    QTest::newRow("regular file") << "@/file" << OpenProblem::NotATerminal;
    QTest::newRow("folder") << "@" << OpenProblem::NotATerminal;
    QTest::newRow("FIFO") << "@/fifo" << OpenProblem::NotATerminal;
    QTest::newRow("device that is no tty") << "/dev/null" << OpenProblem::NotATerminal;
}

void SerialLinkTest::openProblems()
{
    QFETCH(QString, port);
    QFETCH(OpenProblem, problem);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    port.replace(u'@', dir.path());

    SerialLink link(port);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!link.open());
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(link.openProblem(), problem);
    QCOMPARE(link.portName(), port);
    QVERIFY(!link.isOpen());
    QCOMPARE(link.read(std::span<std::uint8_t>()), std::size_t(0));
}

// What an ordinary user meets: a port without permission, and a port that
// another program holds (the serial backend takes it exclusively). Judged
// as an unprivileged user, since root may open either.
void SerialLinkTest::portProblemsOfAUser_data()
{
    QTest::addColumn<bool>("held");
    QTest::addColumn<int>("mode");
    QTest::addColumn<OpenProblem>("problem");
    QTest::newRow("no permission") << false << 0600 << OpenProblem::PermissionDenied;
    QTest::newRow("held by another program") << true << 0666 << OpenProblem::PortBusy;
    QTest::newRow("held, and no permission") << true << 0600 << OpenProblem::PermissionDenied;
}

void SerialLinkTest::portProblemsOfAUser()
{
    QFETCH(bool, held);
    QFETCH(int, mode);
    QFETCH(OpenProblem, problem);
    PtyModule pty;
    QVERIFY(!pty.slaveName().isEmpty());
    SerialLink holder(pty.slaveName());
    if (held)
        QVERIFY(holder.open());
    QCOMPARE(::chmod(QFile::encodeName(pty.slaveName()).constData(), mode_t(mode)), 0);
    QCOMPARE(
        OpenProblem(test::asUnprivilegedUser([&] { return int(portProblem(pty.slaveName())); })),
        problem);
}

// The tty's low-latency flag is asked for only when it is off, and a driver
// that does not have it (or refuses it) is no error.
void SerialLinkTest::lowLatency_data()
{
    QTest::addColumn<bool>("getWorks");
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("setWorks");
    QTest::addColumn<int>("setTo"); // -1: no set call
    QTest::addColumn<bool>("result");
    const int low = ASYNC_LOW_LATENCY;
    QTest::newRow("flag off: set with the others kept")
        << true << 0x40 << true << (0x40 | low) << true;
    QTest::newRow("already on: nothing set") << true << (0x40 | low) << true << -1 << true;
    QTest::newRow("driver refuses the set") << true << 0 << false << low << false;
    QTest::newRow("not a serial driver") << false << 0 << true << -1 << false;
}

void SerialLinkTest::lowLatency()
{
    QFETCH(bool, getWorks);
    QFETCH(int, flags);
    QFETCH(bool, setWorks);
    QFETCH(int, setTo);
    QFETCH(bool, result);
    int set = -1;
    const SerialFlagsIoctl fake{[&](int, int& f) {
                                    f = flags;
                                    return getWorks;
                                },
                                [&](int, int f) {
                                    set = f;
                                    return setWorks;
                                }};
    QCOMPARE(requestLowLatency(7, fake), result);
    QCOMPARE(set, setTo);
    // A port without a descriptor is never asked.
    set = -1;
    QVERIFY(!requestLowLatency(-1, fake));
    QCOMPARE(set, -1);
}

void SerialLinkTest::lowLatencyOnAPseudoTerminalFailsSilently()
{
    int master = -1;
    int slave = -1;
    QCOMPARE(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    QVERIFY(!requestLowLatency(slave));
    // The terminal still carries bytes.
    QCOMPARE(::write(slave, "x", 1), ssize_t(1));
    char c = 0;
    QCOMPARE(::read(master, &c, 1), ssize_t(1));
    QCOMPARE(c, 'x');
    ::close(slave);
    ::close(master);
}

void SerialLinkTest::openAsksForLowLatency()
{
    PtyModule pty;
    QVERIFY(!pty.slaveName().isEmpty());
    bool askedAPort = false;
    int set = -1;
    const SerialFlagsIoctl fake{[&](int fd, int& flags) {
                                    askedAPort = ::isatty(fd) == 1;
                                    flags = 0;
                                    return true;
                                },
                                [&](int, int flags) {
                                    set = flags;
                                    return true;
                                }};
    SerialLink link(pty.slaveName(), fake);
    QVERIFY(link.open());
    QVERIFY(askedAPort);
    QCOMPARE(set, ASYNC_LOW_LATENCY);
}

QTEST_GUILESS_MAIN(SerialLinkTest)
#include "tst_seriallink.moc"
