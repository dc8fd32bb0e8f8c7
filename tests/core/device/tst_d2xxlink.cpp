#include "device/D2xxLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "protocol/Protocol.h"

#include <QLibrary>
#include <QScopeGuard>
#include <QTest>

using namespace q540;
using Kind = q540::sim::TranscriptEntry::Kind;

namespace {

using Attach = void (*)(sim::ModuleEmulator*, Clock*);
using Latency = void (*)(int* calls, int* ms);
using LeaveStale = void (*)(const std::uint8_t* bytes, std::uint32_t count);

// The test library's extra entry point that hands it a module and a clock.
Attach attachment(const QString& library = QStringLiteral(FAKE_FTD2XX_PATH))
{
    return reinterpret_cast<Attach>(QLibrary::resolve(library, "fake_ftd2xx_attach"));
}

} // namespace

// The D2XX backend loaded for real, from the test library whose six entry
// points drive the module emulator.
class D2xxLinkTest : public QObject {
    Q_OBJECT

private slots:
    void loading_data();
    void loading();
    void callsReachTheModule();
    void openFailsWithoutCable();
    void latencyTimerAfterEveryOpen_data();
    void latencyTimerAfterEveryOpen();
    void staleBytesAtOpen_data();
    void staleBytesAtOpen();
};

void D2xxLinkTest::loading_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("all six entry points") << QStringLiteral(FAKE_FTD2XX_PATH) << true;
    QTest::newRow("FT_SetTimeouts missing") << QStringLiteral(FAKE_FTD2XX_INCOMPLETE_PATH) << false;
    QTest::newRow("no such library") << QStringLiteral("/nonexistent/libftd2xx.so") << false;
}

void D2xxLinkTest::loading()
{
    QFETCH(QString, library);
    QFETCH(bool, loaded);
    QCOMPARE(D2xxLink::load(library) != nullptr, loaded);
}

void D2xxLinkTest::callsReachTheModule()
{
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    auto link = D2xxLink::load(QStringLiteral(FAKE_FTD2XX_PATH));
    QVERIFY(link);
    // Declared after the link, so the module is detached before the link
    // unloads the library.
    const auto attach = attachment();
    QVERIFY(attach);
    attach(&module, &clock);
    const auto detach = qScopeGuard([&] { attach(nullptr, nullptr); });
    QVERIFY(link->open());
    QVERIFY(link->isOpen());
    link->setBaudRate(protocol::kBaudRate);
    link->setTimeouts(300, 300);
    link->write(protocol::frame(protocol::kHello));
    std::array<std::uint8_t, 3> reply{};
    QCOMPARE(link->read(reply), std::size_t(3));
    // Nothing more is queued: the read waits out its timeout and returns nothing.
    std::array<std::uint8_t, 1> none{7};
    QCOMPARE(link->read(none), std::size_t(0));
    QCOMPARE(none[0], 7);
    link->close();
    QVERIFY(!link->isOpen());

    QCOMPARE(reply, (std::array<std::uint8_t, 3>{31, 70, 102}));
    QCOMPARE(clock.nowMs(), 300);
    const auto t = module.transcript();
    QCOMPARE(int(t.size()), 6);
    QCOMPARE(t[0].kind, Kind::Open);
    QCOMPARE(t[0].bytes, QByteArray("VELKOR"));
    QCOMPARE(t[1].kind, Kind::BaudRate);
    QCOMPARE(t[1].first, 9600);
    QCOMPARE(t[2].kind, Kind::Timeouts);
    QCOMPARE(t[2].first, 300);
    QCOMPARE(t[2].second, 300);
    QCOMPARE(t[3].kind, Kind::HostToModule);
    QCOMPARE(t[3].bytes, QByteArray("\x11\x16\x28", 3));
    QCOMPARE(t[4].kind, Kind::ModuleToHost);
    QCOMPARE(t[5].kind, Kind::Close);
}

void D2xxLinkTest::openFailsWithoutCable()
{
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    module.setPlugged(false);
    auto link = D2xxLink::load(QStringLiteral(FAKE_FTD2XX_PATH));
    QVERIFY(link);
    const auto attach = attachment();
    QVERIFY(attach);
    attach(&module, &clock);
    const auto detach = qScopeGuard([&] { attach(nullptr, nullptr); });

    QVERIFY(!link->open());
    QVERIFY(!link->isOpen());
    // Calls on a device that is not open never reach the driver.
    link->write(protocol::frame(protocol::kHello));
    link->close();
    QCOMPARE(module.sentBytes(), QByteArray());
}

void D2xxLinkTest::latencyTimerAfterEveryOpen_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<int>("calls"); // FT_SetLatencyTimer calls after two opens
    QTest::newRow("library with FT_SetLatencyTimer") << QStringLiteral(FAKE_FTD2XX_PATH) << 2;
    QTest::newRow("older library without it")
        << QStringLiteral(FAKE_FTD2XX_WITHOUT_LATENCY_PATH) << 0;
}

// The chip is asked for the program's latency after every open; a library
// without the call works as before.
void D2xxLinkTest::latencyTimerAfterEveryOpen()
{
    QFETCH(QString, library);
    QFETCH(int, calls);
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    auto link = D2xxLink::load(library);
    QVERIFY(link);
    const auto attach = attachment(library);
    const auto latency =
        reinterpret_cast<Latency>(QLibrary::resolve(library, "fake_ftd2xx_latency"));
    QVERIFY(attach && latency);
    attach(&module, &clock);
    const auto detach = qScopeGuard([&] { attach(nullptr, nullptr); });
    for (int open = 0; open < 2; ++open) {
        QVERIFY(link->open());
        // What the chip reports back is what the program asked for.
        QCOMPARE(link->latencyTimerMs(),
                 calls ? std::optional<int>(protocol::kLatencyTimerMs) : std::nullopt);
        link->write(protocol::frame(protocol::kHello));
        std::array<std::uint8_t, 3> reply{};
        QCOMPARE(link->read(reply), std::size_t(3));
        link->close();
        QCOMPARE(link->latencyTimerMs(), std::nullopt);
    }
    int made = -1;
    int ms = -1;
    latency(&made, &ms);
    QCOMPARE(made, calls);
    QCOMPARE(ms, calls ? protocol::kLatencyTimerMs : 0);
}

void D2xxLinkTest::staleBytesAtOpen_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QByteArray>("read"); // by the first read after the open
    QTest::newRow("library with FT_Purge") << QStringLiteral(FAKE_FTD2XX_PATH) << QByteArray();
    QTest::newRow("library without it: opens all the same")
        << QStringLiteral(FAKE_FTD2XX_WITHOUT_PURGE_PATH) << QByteArray("\x06\x1f", 2);
}

// The answer to a write that was killed, still in the chip, must not pass for
// the reply to the next connection's first frame.
void D2xxLinkTest::staleBytesAtOpen()
{
    QFETCH(QString, library);
    QFETCH(QByteArray, read);
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    auto link = D2xxLink::load(library);
    QVERIFY(link);
    const auto attach = attachment(library);
    const auto leaveStale =
        reinterpret_cast<LeaveStale>(QLibrary::resolve(library, "fake_ftd2xx_leave_stale"));
    QVERIFY(attach && leaveStale);
    attach(&module, &clock);
    const auto detach = qScopeGuard([&] { attach(nullptr, nullptr); });
    const std::array<std::uint8_t, 2> stale{0x06, 0x1f};
    leaveStale(stale.data(), std::uint32_t(stale.size()));

    QVERIFY(link->open());
    link->setTimeouts(300, 300);
    std::array<std::uint8_t, 8> first{};
    const std::size_t got = link->read(first);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(first.data()), qsizetype(got)), read);
    link->write(protocol::frame(protocol::kHello));
    std::array<std::uint8_t, 3> reply{};
    QCOMPARE(link->read(reply), std::size_t(3));
    QCOMPARE(reply, (std::array<std::uint8_t, 3>{31, 70, 102}));
}

QTEST_GUILESS_MAIN(D2xxLinkTest)
#include "tst_d2xxlink.moc"
