// The modelled cable: the chip's latency timer against hand-computed
// release times, and the link that puts wire time and latency on the clock.

#include "core/module/TransferFixture.h"
#include "emulator/EmulatedLink.h"
#include "emulator/LatencyBuffer.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/DirectoryWrite.h"

#include <QTest>

using q540::sim::CableTiming;
using q540::sim::EmulatedLink;
using q540::sim::LatencyBuffer;
using q540::sim::ModuleEmulator;
using q540::sim::VirtualClock;

using Times = QList<qint64>;
Q_DECLARE_METATYPE(Times)

namespace {

// n arrivals, the first at firstUs, one every stepUs.
Times evenly(int n, qint64 firstUs, qint64 stepUs)
{
    Times t;
    for (int i = 0; i < n; ++i)
        t << firstUs + i * stepUs;
    return t;
}

Times repeated(int n, qint64 us)
{
    return Times(n, us);
}

} // namespace

class TestSimLatency : public QObject {
    Q_OBJECT

private slots:
    void releaseTimes_data()
    {
        QTest::addColumn<int>("timerMs");
        QTest::addColumn<qint64>("epochUs");
        QTest::addColumn<Times>("arrivals");
        QTest::addColumn<Times>("releases");
        // One byte time at 9600 baud is 1041 us; an acknowledgement after a
        // three-byte frame sent at 0 arrives at 4166 us.
        QTest::newRow("ack, chip default") << 16 << 0LL << Times{4166} << Times{16000};
        QTest::newRow("ack, 2 ms") << 2 << 0LL << Times{4166} << Times{6000};
        QTest::newRow("ack, 1 ms") << 1 << 0LL << Times{4166} << Times{5000};
        QTest::newRow("on a tick") << 2 << 0LL << Times{4000} << Times{4000};
        QTest::newRow("timer set later") << 16 << 5000LL << Times{6000} << Times{21000};
        QTest::newRow("reply across a tick")
            << 2 << 0LL << Times{1041, 2082, 3123} << Times{2000, 4000, 4000};
        QTest::newRow("reply within one period")
            << 16 << 0LL << Times{1041, 2082, 3123} << repeated(3, 16000);
        // A 33-byte block reply at 16 ms: 15 bytes are in by the first tick,
        // 15 more by the second, the last three by the third.
        QTest::newRow("block reply, 16 ms")
            << 16 << 0LL << evenly(33, 1041, 1041)
            << repeated(15, 16000) + repeated(15, 32000) + repeated(3, 48000);
        // A full packet goes out when its last byte is in, and the timer
        // starts again from then.
        QTest::newRow("full packet")
            << 16 << 0LL << evenly(63, 100, 100) << repeated(62, 6200) + Times{22200};
        QTest::newRow("full packet before a short timer's tick")
            << 2 << 0LL << repeated(62, 500) + Times{600} << repeated(62, 500) + Times{2500};
    }

    void releaseTimes()
    {
        QFETCH(int, timerMs);
        QFETCH(qint64, epochUs);
        QFETCH(Times, arrivals);
        QFETCH(Times, releases);
        LatencyBuffer chip(timerMs, epochUs);
        for (qint64 at : arrivals)
            chip.arrive(0x5A, at);
        Times got;
        for (std::size_t i = 1; chip.releaseOf(i); ++i)
            got << *chip.releaseOf(i);
        QCOMPARE(got, releases);
    }

    void takesOnlyWhatWasReleased()
    {
        LatencyBuffer chip(2, 0);
        chip.arrive(1, 1041);
        chip.arrive(2, 2082);
        chip.arrive(3, 3123);
        QCOMPARE(chip.take(1999).size(), std::size_t(0));
        QCOMPARE(chip.take(2000), std::vector<std::uint8_t>{1});
        QCOMPARE(chip.releasedBy(3999), std::size_t(0));
        QCOMPARE(chip.take(4000, 1), std::vector<std::uint8_t>{2});
        QCOMPARE(chip.take(4000), std::vector<std::uint8_t>{3});
        QVERIFY(chip.empty());
    }

    // A hello sent at 0 arrives at the module at 3125 us; its three reply
    // bytes reach the chip at 4166, 5208 and 6250 us.
    void helloOverTheModelledCable_data()
    {
        QTest::addColumn<bool>("driverSetsTimer");
        QTest::addColumn<int>("readTimeout");
        QTest::addColumn<int>("timer");
        QTest::addColumn<int>("got");
        QTest::addColumn<int>("returnedAt");
        QTest::newRow("program's timer") << true << 300 << 1 << 3 << 7;
        QTest::newRow("chip default") << false << 300 << 16 << 3 << 16;
        QTest::newRow("timeout before the tick") << false << 10 << 16 << 0 << 10;
        QTest::newRow("timeout between ticks") << true << 6 << 1 << 2 << 6;
    }

    void helloOverTheModelledCable()
    {
        QFETCH(bool, driverSetsTimer);
        QFETCH(int, readTimeout);
        QFETCH(int, timer);
        QFETCH(int, got);
        QFETCH(int, returnedAt);
        ModuleEmulator module;
        VirtualClock clock;
        clock.sleep(1000);
        EmulatedLink link(module, clock);
        link.modelCable({16, driverSetsTimer});
        QVERIFY(link.open());
        QCOMPARE(link.latencyTimerMs(), std::optional<int>(timer));
        link.setBaudRate(9600);
        link.setTimeouts(readTimeout, readTimeout);
        link.write(q540::protocol::frame(q540::protocol::kHello));
        std::array<std::uint8_t, 3> reply{};
        QCOMPARE(link.read(reply), std::size_t(got));
        QCOMPARE(clock.nowMs(), 1000 + returnedAt);
        link.close();
        QCOMPARE(link.latencyTimerMs(), std::nullopt);
    }

    // The model changes when the program learns of a reply, never what the
    // module receives: a directory write sends the same bytes either way,
    // and on the modelled cable it takes at least the wire's time.
    void sameBytesSlowerClock()
    {
        std::vector<q540::NameRow> rows;
        for (int apartment = 1; apartment <= 40; ++apartment)
            rows.push_back(q540::test::entry(QStringLiteral("Nowak %1").arg(apartment),
                                             QStringLiteral("Anna"), apartment, 1));
        QByteArray sent[2];
        qint64 took[2] = {};
        for (int modelled = 0; modelled < 2; ++modelled) {
            q540::test::TransferFixture f;
            if (modelled)
                f.link.modelCable({});
            f.module.clearTranscript();
            const qint64 start = f.clock.nowMs();
            QVERIFY(q540::sendDirectory(f.context, rows, f.password, f.status).isDone());
            took[modelled] = f.clock.nowMs() - start;
            sent[modelled] = f.module.sentBytes();
        }
        QCOMPARE(sent[1], sent[0]);
        const qint64 wireMs = qint64(sent[1].size() + 2 * 40) * 10'000 / 9600;
        QVERIFY2(took[1] - took[0] >= wireMs,
                 qPrintable(QStringLiteral("%1 ms over %2").arg(took[1] - took[0]).arg(wireMs)));
    }
};

QTEST_GUILESS_MAIN(TestSimLatency)
#include "tst_sim_latency.moc"
