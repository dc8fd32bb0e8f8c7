#include "device/DeviceGate.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/PollWorker.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace q540;
using Kind = q540::sim::TranscriptEntry::Kind;
using Result = q540::IdentificationOutcome::Result;

class PollTest : public QObject {
    Q_OBJECT

private slots:
    void outcomeOnOwnerThread();
    void onePollAtATimeBehindTheGate();
};

void PollTest::outcomeOnOwnerThread()
{
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink device(module, clock);
    DeviceGate gate;
    PollWorker poll(device, gate, clock);
    QList<Result> delivered;
    connect(&poll, &PollWorker::finished, this, [&](const IdentificationOutcome& outcome) {
        QCOMPARE(QThread::currentThread(), thread());
        // The poll has ended when its outcome arrives.
        QVERIFY(!poll.isRunning());
        QVERIFY(!gate.isHeld());
        delivered << outcome.result;
    });
    QSignalSpy spy(&poll, &PollWorker::finished);

    QVERIFY(poll.start(true));
    QVERIFY(spy.wait(5000));

    QCOMPARE(delivered, QList<Result>{Result::ConfigurationRead});
    QVERIFY(!module.isOpen());
}

void PollTest::onePollAtATimeBehindTheGate()
{
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink device(module, clock);
    DeviceGate gate;
    PollWorker poll(device, gate, clock);
    QSignalSpy spy(&poll, &PollWorker::finished);

    // A user-started operation holds the device: the poll must wait, not open.
    gate.acquire();
    QVERIFY(poll.start(true));
    QVERIFY(!poll.start(true));
    QTest::qWait(50);
    QVERIFY(module.transcript().empty());
    QCOMPARE(spy.count(), 0);
    gate.release();

    QVERIFY(spy.wait(5000));
    QVERIFY(!poll.start(false) || spy.wait(5000));
    int opens = 0;
    for (const auto& entry : module.transcript())
        opens += entry.kind == Kind::Open ? 1 : 0;
    QCOMPARE(opens, spy.count());
    QCOMPARE(spy.count(), 2);
}

QTEST_GUILESS_MAIN(PollTest)
#include "tst_poll.moc"
