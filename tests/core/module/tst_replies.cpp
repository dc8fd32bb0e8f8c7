#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/Replies.h"
#include "protocol/Protocol.h"
#include "support/RecordingSink.h"

#include <QTest>

using namespace q540;
using namespace q540::protocol;
using q540::sim::FaultKind;
using q540::sim::TranscriptEntry;

namespace {

using Block = std::array<std::uint8_t, 32>;

// A module, a link to it on virtual time and a sink, with the device open at
// the directory transfers' timeouts.
struct Bench {
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink link{module, clock};
    test::RecordingSink sink;

    Bench()
    {
        link.open();
        link.setBaudRate(kBaudRate);
        link.setTimeouts(kTransferTimeoutMs, kTransferTimeoutMs);
    }
    // Asks for block 0, so its 32 bytes and the end byte are queued.
    void requestBlock0()
    {
        const Frame f = blockReadFrame(0);
        link.write(f);
    }
    bool closedByReader() const
    {
        const auto t = module.transcript();
        return !t.empty() && t.back().kind == TranscriptEntry::Kind::Close;
    }
};

Block filled(std::uint8_t value)
{
    Block b;
    b.fill(value);
    return b;
}

} // namespace

class RepliesTest : public QObject {
    Q_OBJECT

private slots:
    void acknowledgement_data();
    void acknowledgement();
    void acknowledgementFailureMessage_data();
    void acknowledgementFailureMessage();
    void dataReply_data();
    void dataReply();
    void shortConfigurationReplyFillsZeros();
};

void RepliesTest::acknowledgement_data()
{
    QTest::addColumn<int>("endBytePosition"); // -1: none in the block
    QTest::addColumn<bool>("received");
    QTest::addColumn<int>("bytesRead");
    QTest::newRow("end byte first") << 0 << true << 1;
    QTest::newRow("end byte as the 10th byte") << 9 << true << 10;
    QTest::newRow("end byte as the 11th byte is too late") << 10 << false << 10;
    QTest::newRow("ten wrong bytes") << -1 << false << 10;
}

void RepliesTest::acknowledgement()
{
    QFETCH(int, endBytePosition);
    QFETCH(bool, received);
    QFETCH(int, bytesRead);
    Bench bench;
    Block block = filled(65);
    if (endBytePosition >= 0)
        block[std::size_t(endBytePosition)] = kEndByte;
    bench.module.setBlock(0, block);
    bench.requestBlock0();

    QCOMPARE(CzyJestOdpZ(bench.link, bench.sink, 0), received);

    // Each attempt reads exactly one byte; the rest of the reply stays queued.
    QCOMPARE(int(bench.module.receivedBytes().size()), bytesRead);
    QCOMPARE(bench.closedByReader(), !received);
    QCOMPARE(bench.link.isOpen(), received);
    QCOMPARE(bench.sink.events.isEmpty(), received);
}

void RepliesTest::acknowledgementFailureMessage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("Polish") << 0 << QStringList{"message:Błąd transmisji!", "hide"};
    QTest::newRow("English") << 1 << QStringList{"message:Transmision error!", "hide"};
    QTest::newRow("German") << 2 << QStringList{"message:Übertragungsfehler!", "hide"};
    QTest::newRow("other index: no message") << 3 << QStringList{"hide"};
}

void RepliesTest::acknowledgementFailureMessage()
{
    QFETCH(int, language);
    QFETCH(QStringList, events);
    Bench bench;
    bench.module.injectFault(FaultKind::NoReply);
    bench.link.write(frame(kHello));
    const auto before = bench.clock.nowMs();

    QVERIFY(!CzyJestOdpZ(bench.link, bench.sink, language));

    QCOMPARE(bench.sink.events, events);
    QVERIFY(bench.closedByReader());
    // Ten reads of 200 ms each: about 2 s of silence, on virtual time.
    QCOMPARE(bench.clock.nowMs() - before, 10 * kTransferTimeoutMs);

    // The data reply reader reports the same way but leaves the device open.
    Bench data;
    data.module.injectFault(FaultKind::NoReply);
    data.requestBlock0();
    CellBlock cellBlock{};
    QVERIFY(!CzyJestOdpO2(data.link, data.sink, language, 32, cellBlock));
    QCOMPARE(data.sink.events, events);
    QVERIFY(data.link.isOpen());
}

void RepliesTest::dataReply_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("received");
    QTest::addColumn<int>("waitedMs");
    QTest::newRow("whole reply") << int(FaultKind::None) << true << 0;
    QTest::newRow("end byte altered: five bad replies")
        << int(FaultKind::BadCheckByte) << false << 4 * kTransferTimeoutMs;
    QTest::newRow("short reply") << int(FaultKind::ShortReply) << false << 5 * kTransferTimeoutMs;
    QTest::newRow("no reply") << int(FaultKind::NoReply) << false << 5 * kTransferTimeoutMs;
}

void RepliesTest::dataReply()
{
    QFETCH(int, fault);
    QFETCH(bool, received);
    QFETCH(int, waitedMs);
    Bench bench;
    Block block = filled(kUnwrittenByte);
    block[0] = 65;
    block[5] = kUnwrittenByte;
    block[29] = 10;
    block[30] = kUnwrittenByte;
    block[31] = 0x52;
    bench.module.setBlock(0, block);
    bench.module.injectFault(FaultKind(fault));
    bench.requestBlock0();
    CellBlock cellBlock;
    cellBlock.fill(-1);

    QCOMPARE(CzyJestOdpO2(bench.link, bench.sink, 1, 32, cellBlock), received);

    QCOMPARE(bench.clock.nowMs(), waitedMs);
    QVERIFY(bench.link.isOpen());
    if (!received) {
        QCOMPARE(bench.sink.events, (QStringList{"message:Transmision error!", "hide"}));
        QCOMPARE(cellBlock[0], -1);
        return;
    }
    QVERIFY(bench.sink.events.isEmpty());
    QCOMPARE(cellBlock[0], 65);
    QCOMPARE(cellBlock[1], int(' ')); // unwritten text reads as a space
    QCOMPARE(cellBlock[5], int(' '));
    QCOMPARE(cellBlock[29], 10);
    QCOMPARE(cellBlock[30], int(kUnwrittenByte)); // a number, not text
    QCOMPARE(cellBlock[31], 0x52);
}

void RepliesTest::shortConfigurationReplyFillsZeros()
{
    Bench bench;
    bench.module.setEntryCount(20);
    bench.link.write(frame(kReadConfiguration));
    CellBlock cellBlock;
    cellBlock.fill(-1);

    QVERIFY(CzyJestOdpO2(bench.link, bench.sink, 0, kConfigurationSize, cellBlock));

    QCOMPARE(cellBlock[0], 3 * 16 + 15); // count field 19: nibble 0 is 3, zone code bits unwritten
    QCOMPARE(cellBlock[16], int(kEndByte));
    for (std::size_t i = 17; i < cellBlock.size(); ++i)
        QCOMPARE(cellBlock[i], 0);
}

QTEST_GUILESS_MAIN(RepliesTest)
#include "tst_replies.moc"
