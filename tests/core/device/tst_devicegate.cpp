#include "device/DeviceGate.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"

#include <QTest>

#include <atomic>
#include <thread>

using namespace q540;
using Kind = q540::sim::TranscriptEntry::Kind;

class DeviceGateTest : public QObject {
    Q_OBJECT

private slots:
    void secondUserWaitsForTheFirst();
    void failedOpenReleasesTheGate();
    void manyConnectionsNeverOverlap();
};

void DeviceGateTest::secondUserWaitsForTheFirst()
{
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink device(module, clock);
    DeviceGate gate;
    GatedLink poll(device, gate);
    GatedLink user(device, gate);

    QVERIFY(poll.open());
    QVERIFY(!poll.open()); // a user cannot open what it already holds
    std::atomic<bool> userOpened = false;
    std::thread other([&] {
        userOpened = user.open();
        user.close();
    });
    // The other thread must still be waiting for the gate after a while.
    QTest::qWait(50);
    QVERIFY(!userOpened);
    QVERIFY(gate.isHeld());
    poll.close();
    other.join();
    QVERIFY(userOpened);
    QVERIFY(!gate.isHeld());

    // The device saw open, close, open, close: never two opens in a row.
    QList<Kind> kinds;
    for (const auto& e : module.transcript())
        kinds << e.kind;
    QCOMPARE(kinds, (QList<Kind>{Kind::Open, Kind::Close, Kind::Open, Kind::Close}));
}

void DeviceGateTest::failedOpenReleasesTheGate()
{
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink device(module, clock);
    DeviceGate gate;
    GatedLink user(device, gate);
    module.setPlugged(false);
    QVERIFY(!user.open());
    QVERIFY(!gate.isHeld());
    user.close(); // closing what never opened is harmless
    QVERIFY(!gate.isHeld());
    module.setPlugged(true);
    QVERIFY(user.open());
    QVERIFY(gate.isHeld());
}

void DeviceGateTest::manyConnectionsNeverOverlap()
{
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink device(module, clock);
    DeviceGate gate;
    constexpr int kRounds = 200;
    std::atomic<int> failedOpens = 0;
    const auto run = [&] {
        GatedLink link(device, gate);
        for (int i = 0; i < kRounds; ++i) {
            // The emulator refuses a second open, as the driver does.
            if (!link.open())
                ++failedOpens;
            link.close();
        }
    };
    std::thread a(run);
    std::thread b(run);
    a.join();
    b.join();
    QCOMPARE(failedOpens.load(), 0);
    int opens = 0;
    for (const auto& e : module.transcript())
        opens += e.kind == Kind::Open;
    QCOMPARE(opens, 2 * kRounds);
}

QTEST_GUILESS_MAIN(DeviceGateTest)
#include "tst_devicegate.moc"
