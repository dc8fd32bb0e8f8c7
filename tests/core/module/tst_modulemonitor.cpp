#include "support/MonitorBench.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace q540;
using Kind = q540::sim::TranscriptEntry::Kind;

using Bench = q540::test::MonitorBench;

class ModuleMonitorTest : public QObject {
    Q_OBJECT

private slots:
    void pollFindsTheModuleAndAppliesOnThisThread();
    void ticksInterleavedWithUserOperations();
    void outcomeOfAPollOvertakenByAnOperationIsDropped();
    void pollNowWhileAPollRunsPollsAgain();
};

void ModuleMonitorTest::pollFindsTheModuleAndAppliesOnThisThread()
{
    Bench b;
    QSignalSpy changed(&b.monitor, &ModuleMonitor::statusChanged);
    connect(&b.monitor, &ModuleMonitor::statusChanged, this,
            [this] { QCOMPARE(QThread::currentThread(), thread()); });
    b.monitor.Timer1Timer();
    QVERIFY(changed.wait(5000));
    QVERIFY(b.monitor.status().modulePresent());
    QCOMPARE(b.monitor.status().passwordCheck, PasswordCheck::Matches);

    // A lost module is told at the next poll.
    b.module.setPlugged(false);
    b.monitor.Timer1Timer();
    QVERIFY(changed.wait(5000));
    QCOMPARE(b.monitor.status().state, ModuleState::NoCable);
    QCOMPARE(b.monitor.status().passwordCheck, PasswordCheck::NotChecked);
}

void ModuleMonitorTest::ticksInterleavedWithUserOperations()
{
    Bench b;
    QSignalSpy changed(&b.monitor, &ModuleMonitor::statusChanged);
    int applied = 0;
    connect(&b.monitor, &ModuleMonitor::statusChanged, this, [&] {
        QCOMPARE(QThread::currentThread(), thread());
        ++applied;
    });
    for (int i = 0; i < 300; ++i) {
        b.monitor.Timer1Timer();
        switch (i % 7) {
        case 2:
            b.monitor.readLanguage();
            break;
        case 4:
            b.monitor.changeResetLock(i % 2 == 0);
            break;
        case 6:
            b.monitor.identifyNow();
            break;
        default:
            QCoreApplication::processEvents();
        }
    }
    QTRY_VERIFY_WITH_TIMEOUT(!b.module.isOpen(), 5000);
    QTest::qWait(20);
    // Two opens at once would have failed at the emulator.
    QCOMPARE(b.count(Kind::OpenFailed), 0);
    QCOMPARE(b.count(Kind::Open), b.count(Kind::Close));
    // 129 operations opened the device at least once each; the polls came on top.
    QVERIFY(b.count(Kind::Open) > 129);
    QVERIFY(applied > 0);
    QVERIFY(b.sink.messages.isEmpty());
}

void ModuleMonitorTest::outcomeOfAPollOvertakenByAnOperationIsDropped()
{
    Bench b;
    QSignalSpy changed(&b.monitor, &ModuleMonitor::statusChanged);
    b.monitor.Timer1Timer();
    // The operation starts before the poll's outcome arrives and finds the
    // module gone; the older outcome must not put the module back.
    b.monitor.suspend();
    b.module.setPlugged(false);
    b.monitor.identifyNow();
    QCOMPARE(changed.count(), 1);
    QTest::qWait(100);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(b.monitor.status().state, ModuleState::NoCable);
}

void ModuleMonitorTest::pollNowWhileAPollRunsPollsAgain()
{
    Bench b;
    QSignalSpy changed(&b.monitor, &ModuleMonitor::statusChanged);
    b.monitor.Timer1Timer();
    b.monitor.pollNow();
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 5000);
    QCOMPARE(b.count(Kind::Open), 2);
}

QTEST_GUILESS_MAIN(ModuleMonitorTest)
#include "tst_modulemonitor.moc"
