#include "SimProcess.h"

#include "device/Clock.h"
#include "device/SerialLink.h"
#include "module/Identification.h"
#include "module/Replies.h"
#include "protocol/Protocol.h"
#include "support/RecordingSink.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

using namespace q540;
using Result = IdentificationOutcome::Result;

namespace {

constexpr int kEnglish = 1;

// Processor time the process has used so far, in ms.
qint64 cpuTimeMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // utime and stime are fields 14 and 15; the name in field 2 may hold spaces.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const qint64 ticks = fields.value(11).toLongLong() + fields.value(12).toLongLong();
    return ticks * 1000 / ::sysconf(_SC_CLK_TCK);
}

} // namespace

class SimToolPtyTest : public QObject {
    Q_OBJECT

private slots:
    void identifiesTheModule_data();
    void identifiesTheModule();
    void writesAndReadsABlock_data();
    void writesAndReadsABlock();
    void reopenedTerminalStartsClean_data();
    void reopenedTerminalStartsClean();
    void idlesWithoutAHost_data();
    void idlesWithoutAHost();
    void latencyTimerHoldsAReply();
    void stopsOnASignal_data();
    void stopsOnASignal();
    void refusesBadUsage();
};

void SimToolPtyTest::identifiesTheModule_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("deviceCode");
    QTest::addColumn<QList<int>>("stored"); // password halves and language, from the nibbles
    QTest::addColumn<int>("again");         // a second identification, in a new connection

    const auto present = int(Result::ConfigurationRead);
    const auto known = int(Result::ModuleKnown);
    const auto noAnswer = int(Result::NoAnswer);
    QTest::newRow("default module")
        << QStringList() << present << 70 << QList<int>{82, 64, 1} << known;
    QTest::newRow("older module") << QStringList{"--device-code", "43"} << int(Result::Unsupported)
                                  << 43 << QList<int>() << int(Result::Unsupported);
    QTest::newRow("chip at its default timer")
        << QStringList{"--latency-timer", "16"} << present << 70 << QList<int>{82, 64, 1} << known;
    QTest::newRow("silent module")
        << QStringList{"--fault", "no-reply"} << noAnswer << -1 << QList<int>() << noAnswer;
    QTest::newRow("bad check byte")
        << QStringList{"--fault", "bad-check-byte"} << noAnswer << -1 << QList<int>() << noAnswer;
    // Only the configuration reply of the first connection is cut short.
    QTest::newRow("configuration cut short")
        << QStringList{"--fault", "short-reply:1:1"} << int(Result::ConfigurationMissing) << 70
        << QList<int>() << known;
}

void SimToolPtyTest::identifiesTheModule()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, result);
    QFETCH(int, deviceCode);
    QFETCH(QList<int>, stored);
    QFETCH(int, again);
    test::SimProcess sim;
    QVERIFY2(sim.start(arguments), sim.errorOutput().constData());
    SerialLink link(sim.portName());
    SystemClock clock;

    const IdentificationOutcome outcome = identifyModule(link, clock, true);
    QCOMPARE(int(outcome.result), result);
    QCOMPARE(outcome.deviceCode, deviceCode);
    QList<int> got;
    if (const auto& n = outcome.nibbles)
        got << (*n)[3] + 16 * (*n)[4] << (*n)[5] + 16 * ((*n)[6] % 8) << (*n)[7];
    QCOMPARE(got, stored);
    QVERIFY(!link.isOpen());

    QCOMPARE(int(identifyModule(link, clock, false).result), again);
    QCOMPARE(sim.stop(), 0);
}

void SimToolPtyTest::writesAndReadsABlock_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("readBack");

    QTest::newRow("healthy module") << QStringList() << true << true;
    QTest::newRow("no acknowledgement") << QStringList{"--fault", "no-reply"} << false << false;
    // The write is exchange 0; the read's data reply loses its end byte.
    QTest::newRow("block reply cut short")
        << QStringList{"--fault", "short-reply:1"} << true << false;
}

void SimToolPtyTest::writesAndReadsABlock()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, written);
    QFETCH(bool, readBack);
    test::SimProcess sim;
    QVERIFY2(sim.start(arguments), sim.errorOutput().constData());
    SerialLink link(sim.portName());
    test::RecordingSink sink;
    constexpr int kPosition = 300; // bank 1
    std::array<std::uint8_t, protocol::kBlockSize> block{};
    for (std::size_t i = 0; i < protocol::kTextLength; ++i)
        block[i] = static_cast<std::uint8_t>('A' + i % 26);
    block[protocol::kApartmentByte] = 44;
    block[protocol::kZoneByte] = 2;

    // Write and read in connections of their own, as the program makes them.
    QVERIFY(link.open());
    link.setBaudRate(protocol::kBaudRate);
    link.setTimeouts(protocol::kTransferTimeoutMs, protocol::kTransferTimeoutMs);
    link.write(protocol::blockWriteFrame(kPosition));
    bool acknowledged = CzyJestOdpZ(link, sink, kEnglish);
    if (acknowledged) {
        link.write(block);
        acknowledged = CzyJestOdpZ(link, sink, kEnglish);
    }
    QCOMPARE(acknowledged, written);
    link.close();

    QVERIFY(link.open());
    link.setBaudRate(protocol::kBaudRate);
    link.setTimeouts(protocol::kTransferTimeoutMs, protocol::kTransferTimeoutMs);
    QElapsedTimer exchange;
    exchange.start();
    link.write(protocol::blockReadFrame(kPosition));
    CellBlock cellBlock{};
    QCOMPARE(CzyJestOdpO2(link, sink, kEnglish, protocol::kBlockSize, cellBlock), readBack);
    const qint64 exchangeMs = exchange.elapsed();
    link.close();
    // A 3-byte frame and a 33-byte reply take 37.5 ms on a 9600-baud line; a
    // loaded machine may make it longer, never shorter.
    QVERIFY2(exchangeMs >= 37, qPrintable(QString::number(exchangeMs)));

    if (readBack)
        QVERIFY(std::equal(block.begin(), block.end(), cellBlock.begin()));
    // Each reader that gave up said so once.
    const int failures = int(!written) + int(!readBack);
    QCOMPARE(sink.messages, QStringList(failures, *transmissionErrorText(kEnglish)));
    QCOMPARE(sim.stop(), 0);
}

void SimToolPtyTest::reopenedTerminalStartsClean_data()
{
    // How long a host stays after asking for a block (a 33-byte reply, about
    // 40 ms on the line) before it closes without reading anything.
    QTest::addColumn<int>("stayMs");
    QTest::newRow("leaves at once") << 0;
    QTest::newRow("leaves during the reply") << 15;
    QTest::newRow("leaves after the reply") << 80;
}

void SimToolPtyTest::reopenedTerminalStartsClean()
{
    QFETCH(int, stayMs);
    test::SimProcess sim;
    QVERIFY2(sim.start({}), sim.errorOutput().constData());
    const QByteArray path = sim.portName().toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    const auto request = protocol::blockReadFrame(0);
    QCOMPARE(::write(fd, request.data(), request.size()), ssize_t(request.size()));
    QThread::msleep(static_cast<unsigned long>(stayMs));
    ::close(fd);
    QThread::msleep(50);

    // The next host's hello reply must not be the old block's bytes.
    SerialLink link(sim.portName());
    SystemClock clock;
    QCOMPARE(int(identifyModule(link, clock, false).result), int(Result::ModuleKnown));
    QCOMPARE(sim.stop(), 0);
}

void SimToolPtyTest::idlesWithoutAHost_data()
{
    QTest::addColumn<bool>("hostCameAndWent");
    QTest::newRow("never opened") << false;
    QTest::newRow("after a host closed it") << true;
}

void SimToolPtyTest::idlesWithoutAHost()
{
    QFETCH(bool, hostCameAndWent);
    test::SimProcess sim;
    QVERIFY2(sim.start({}), sim.errorOutput().constData());
    if (hostCameAndWent) {
        SerialLink link(sim.portName());
        SystemClock clock;
        QCOMPARE(int(identifyModule(link, clock, false).result), int(Result::ModuleKnown));
    }
    // A terminal with no slave open reports a hang-up on every look; a server
    // that kept looking would burn a whole core here. Processor time does not
    // grow with the machine's load, so the bound holds on a busy machine.
    const qint64 before = cpuTimeMs(sim.processId());
    QVERIFY(before >= 0);
    QThread::msleep(1500);
    const qint64 used = cpuTimeMs(sim.processId()) - before;
    QVERIFY2(used < 300, qPrintable(QString::number(used)));
    QCOMPARE(sim.stop(), 0);
}

// The hello's reply is on the wire 6 ms after the hello; a chip whose timer
// started when the host opened the port passes it on only at the first tick,
// 100 ms after the open.
void SimToolPtyTest::latencyTimerHoldsAReply()
{
    test::SimProcess sim;
    QVERIFY2(sim.start({"--latency-timer", "100"}), sim.errorOutput().constData());
    SerialLink link(sim.portName());
    QVERIFY(link.open());
    link.setBaudRate(protocol::kBaudRate);
    link.setTimeouts(1000, 1000);
    QElapsedTimer sinceOpen;
    sinceOpen.start();
    link.write(protocol::frame(protocol::kHello));
    std::array<std::uint8_t, protocol::kHelloReplyLength> reply{};
    QCOMPARE(link.read(reply), reply.size());
    QVERIFY2(sinceOpen.elapsed() >= 90, qPrintable(QString::number(sinceOpen.elapsed())));
    QCOMPARE(reply[0], protocol::kStatusReplyStart);
    link.close();
    QCOMPARE(sim.stop(), 0);
}

void SimToolPtyTest::stopsOnASignal_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("hostOpen");
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGINT") << int(SIGINT) << false;
    QTest::newRow("SIGTERM with a host on the slave") << int(SIGTERM) << true;
}

void SimToolPtyTest::stopsOnASignal()
{
    QFETCH(int, signal);
    QFETCH(bool, hostOpen);
    test::SimProcess sim;
    QVERIFY2(sim.start({}), sim.errorOutput().constData());
    SerialLink link(sim.portName());
    if (hostOpen)
        QVERIFY(link.open());
    const QDateTime stopped = QDateTime::currentDateTime();
    QCOMPARE(sim.stop(signal), 0);
    // The pair went with the simulator; nothing but the one path was printed.
    // The kernel frees the terminal a moment after the process ends, and a
    // test running beside this one may be given the same number anew.
    link.close();
    const auto gone = [&sim, &stopped] {
        const QFileInfo port(sim.portName());
        return !port.exists() || port.metadataChangeTime() >= stopped;
    };
    QTRY_VERIFY_WITH_TIMEOUT(gone(), 5000);
    QCOMPARE(sim.standardOutput(), QByteArray());
}

void SimToolPtyTest::refusesBadUsage()
{
    test::SimProcess sim;
    QVERIFY(!sim.start({"--device-code", "700"}));
    QCOMPARE(sim.waitForExit(), 2);
    QVERIFY(sim.errorOutput().startsWith("q540-sim: bad --device-code \"700\""));
    QCOMPARE(sim.standardOutput(), QByteArray());
}

QTEST_GUILESS_MAIN(SimToolPtyTest)
#include "tst_simtool_pty.moc"
