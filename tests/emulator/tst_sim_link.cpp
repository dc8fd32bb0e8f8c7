#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"

#include <QElapsedTimer>
#include <QTest>

#include <thread>
#include <vector>

using q540::sim::EmulatedLink;
using q540::sim::ModuleEmulator;
using q540::sim::VirtualClock;

class TestSimLink : public QObject {
    Q_OBJECT

private slots:
    void readWaitsOnlyWhenShort_data()
    {
        QTest::addColumn<int>("readTimeout");
        QTest::addColumn<bool>("sendHello");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("got");
        QTest::addColumn<int>("waited");
        QTest::newRow("whole reply") << 300 << true << 3 << 3 << 0;
        QTest::newRow("part of the reply") << 300 << true << 2 << 2 << 0;
        QTest::newRow("reply too short") << 300 << true << 17 << 3 << 300;
        QTest::newRow("silence") << 200 << false << 1 << 0 << 200;
        QTest::newRow("nothing asked") << 200 << false << 0 << 0 << 0;
    }

    void readWaitsOnlyWhenShort()
    {
        QFETCH(int, readTimeout);
        QFETCH(bool, sendHello);
        QFETCH(int, asked);
        QFETCH(int, got);
        QFETCH(int, waited);
        ModuleEmulator module;
        VirtualClock clock;
        clock.sleep(1000);
        EmulatedLink link(module, clock);
        QVERIFY(link.open());
        link.setTimeouts(readTimeout, readTimeout);
        const std::array<std::uint8_t, 3> hello{17, 22, 40};
        if (sendHello)
            link.write(hello);
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(asked));
        QCOMPARE(link.read(buffer), static_cast<std::size_t>(got));
        QCOMPARE(clock.nowMs(), 1000 + waited);
    }

    void timeoutsCostNoRealTime()
    {
        ModuleEmulator module;
        VirtualClock clock;
        EmulatedLink link(module, clock);
        QVERIFY(link.open());
        link.setTimeouts(2000, 2000);
        std::array<std::uint8_t, 1> byte{};
        QElapsedTimer real;
        real.start();
        for (int i = 0; i < 100; ++i)
            link.read(byte);
        QCOMPARE(clock.nowMs(), 200000);
        QVERIFY2(real.elapsed() < 1000, qPrintable(QString::number(real.elapsed())));
    }

    void clockIsSharedSafely()
    {
        VirtualClock clock;
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&clock] {
                for (int i = 0; i < 10000; ++i)
                    clock.sleep(1);
            });
        }
        for (auto& thread : threads)
            thread.join();
        QCOMPARE(clock.nowMs(), 40000);
    }
};

QTEST_GUILESS_MAIN(TestSimLink)
#include "tst_sim_link.moc"
