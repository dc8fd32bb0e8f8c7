#include "device/TracingLink.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/Identification.h"
#include "support/Unprivileged.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace q540;
using q540::sim::FaultKind;

namespace {

// The trace lines every healthy exchange starts with.
const QByteArray kOpened = "0.000 open\n"
                           "0.000 baud 9600\n"
                           "0.000 timeouts 300 300\n"
                           "0.000 > 11 16 28\n";

} // namespace

class TracingLinkTest : public QObject {
    Q_OBJECT

private slots:
    void traceOfAnIdentification_data();
    void traceOfAnIdentification();
    void traceFile();
    void traceFileIsOwnerOnly_data();
    void traceFileIsOwnerOnly();
};

void TracingLinkTest::traceOfAnIdentification_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<int>("fault"); // a FaultKind
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QByteArray>("sent"); // what reached the module, in hex
    QTest::addColumn<bool>("modelled");   // over the modelled cable, latency 1 ms

    QTest::newRow("module answers")
        << true << int(FaultKind::None)
        << kOpened
               + "0.005 < 1F 46 66\n"
                 "0.205 > 0D 01 0F\n"
                 "0.207 < FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF F5\n"
                 "0.207 close\n"
        << QByteArray("111628 0d010f") << false;
    // The chip's timer in force, and the replies stamped when the timer let
    // them through: the hello's at the 7 ms tick, the configuration's at 228.
    QTest::newRow("modelled cable")
        << true << int(FaultKind::None)
        << QByteArray("0.000 open\n"
                      "0.000 latency timer 1 ms\n"
                      "0.000 baud 9600\n"
                      "0.000 timeouts 300 300\n"
                      "0.000 > 11 16 28\n"
                      "0.007 < 1F 46 66\n"
                      "0.207 > 0D 01 0F\n"
                      "0.228 < FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF F5\n"
                      "0.228 close\n")
        << QByteArray("111628 0d010f") << true;
    // A read that comes back short is stamped when its timeout ran out.
    QTest::newRow("module silent") << true << int(FaultKind::NoReply)
                                   << kOpened
                                          + "0.305 < (0 of 3)\n"
                                            "0.305 close\n"
                                   << QByteArray("111628") << false;
    QTest::newRow("hello cut short") << true << int(FaultKind::ShortReply)
                                     << kOpened
                                            + "0.305 < 1F 46 (2 of 3)\n"
                                              "0.305 close\n"
                                     << QByteArray("111628") << false;
    QTest::newRow("cable unplugged") << false << int(FaultKind::None)
                                     << QByteArray("0.000 open failed\n") << QByteArray() << false;
}

void TracingLinkTest::traceOfAnIdentification()
{
    QFETCH(bool, plugged);
    QFETCH(int, fault);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, sent);
    QFETCH(bool, modelled);
    sim::ModuleEmulator module;
    module.setPlugged(plugged);
    if (fault != int(FaultKind::None))
        module.injectFault(FaultKind(fault));
    sim::VirtualClock clock;
    // Times count from the tracing link's creation, not from the clock's zero.
    clock.sleep(61'000);
    sim::EmulatedLink emulated(module, clock);
    if (modelled)
        emulated.modelCable({});
    QBuffer trace;
    QVERIFY(trace.open(QIODevice::WriteOnly));
    TracingLink link(emulated, trace, clock);

    identifyModule(link, clock, true);

    QCOMPARE(trace.data(), expected);
    // The trace shows what the module saw, no more and no less.
    QCOMPARE(module.sentBytes(), QByteArray::fromHex(sent));
}

void TracingLinkTest::traceFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink emulated(module, clock);
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older trace, to be kept\n");
    old.close();

    QString error;
    auto link = TracingLink::toFile(emulated, path, clock, &error);
    QVERIFY2(link, qPrintable(error));
    QVERIFY(link->open());
    clock.sleep(12'345);
    link->write(std::array<std::uint8_t, 3>{0x16, 0x05, 0x1C});
    // Each line is in the file as soon as the call is made, before the link goes.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("an older trace, to be kept\n0.000 open\n12.345 > 16 05 1C\n"));

    QVERIFY(!TracingLink::toFile(emulated, dir.filePath(QStringLiteral("no/such/dir/t.txt")), clock,
                                 &error));
    QVERIFY(!error.isEmpty());
}

// A trace shows the password and the directory on the wire: owner-only from
// creation, an older trace made so before a line is added, and a file whose
// mode cannot be set (another account's) not written at all.
void TracingLinkTest::traceFileIsOwnerOnly_data()
{
    QTest::addColumn<int>("before"); // the file's mode before, 0: no file
    QTest::addColumn<bool>("anotherAccount");
    QTest::addColumn<int>("after"); // its mode after
    QTest::newRow("new trace") << 0 << false << 0600;
    QTest::newRow("older trace") << 0644 << false << 0600;
    QTest::newRow("another account's file") << 0666 << true << 0666;
}

void TracingLinkTest::traceFileIsOwnerOnly()
{
    QFETCH(int, before);
    QFETCH(bool, anotherAccount);
    QFETCH(int, after);
    if (anotherAccount && ::geteuid() != 0)
        QSKIP("needs root to act as another account");
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755)));
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    const mode_t old = ::umask(022);
    if (before != 0) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(before)), 0);
    }
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink emulated(module, clock);
    const auto open = [&] {
        auto link = TracingLink::toFile(emulated, path, clock);
        return link && link->open();
    };
    QCOMPARE(anotherAccount ? test::asUnprivilegedUser(open) : int(open()), int(!anotherAccount));
    ::umask(old);
    QCOMPARE(test::modeOf(path), after);
    QCOMPARE(QFileInfo(path).size() > 0, !anotherAccount);
}

QTEST_GUILESS_MAIN(TracingLinkTest)
#include "tst_tracinglink.moc"
