#include "base/Localisation.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/ModuleOperation.h"
#include "module/ModuleStatus.h"
#include "protocol/Protocol.h"
#include "support/RecordingSink.h"

#include <QTest>

using namespace q540;
using Kind = q540::sim::TranscriptEntry::Kind;

namespace {

struct CountingPoll final : PollControl {
    void suspend() override { events << QStringLiteral("suspend"); }
    void resume() override { events << QStringLiteral("resume"); }
    QStringList events;
};

} // namespace

class ModuleOperationTest : public QObject {
    Q_OBJECT

private slots:
    void preconditions_data();
    void preconditions();
    void portTakenSinceTheIdentification();
};

// Another program took the port between the identification and the
// transfer: the failure says so, not only "USB transmission failure".
void ModuleOperationTest::portTakenSinceTheIdentification()
{
    struct TakenPort final : Link {
        bool open() override { return false; }
        void setBaudRate(int) override {}
        void setTimeouts(int, int) override {}
        void write(std::span<const std::uint8_t>) override {}
        std::size_t read(std::span<std::uint8_t>) override { return 0; }
        void close() override {}
        bool isOpen() const override { return false; }
        OpenProblem openProblem() const override { return OpenProblem::PortBusy; }
        QString portName() const override { return QStringLiteral("/dev/ttyUSB0"); }
    } port;
    Localisation texts;
    texts.load();
    texts.setLanguage(1);
    test::RecordingSink sink;
    CountingPoll poll;
    ModuleOperation operation(poll, port, sink, texts);
    QVERIFY(!operation.begin(true, true, protocol::kTransferTimeoutMs));
    QCOMPARE(sink.messages, QStringList{QStringLiteral("USB Transmission failure!\n")
                                        + openProblemText(OpenProblem::PortBusy,
                                                          QStringLiteral("/dev/ttyUSB0"), 1)});
    QVERIFY(sink.messages[0].contains(QStringLiteral("/dev/ttyUSB0")));
}

void ModuleOperationTest::preconditions_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("present");
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("passwordMatches");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<Kind>>("calls");
    const QList<Kind> none;
    const QList<Kind> openClose{Kind::Open, Kind::Close};
    const QList<Kind> ready{Kind::Open, Kind::BaudRate, Kind::Timeouts, Kind::Close};
    QTest::newRow("ready") << 0 << true << true << true << QStringList() << ready;
    QTest::newRow("no module, Polish")
        << 0 << false << true << true << QStringList{"Brak urządzenia!"} << none;
    QTest::newRow("no module, German")
        << 2 << false << true << true << QStringList{"Kein Gerät!"} << none;
    QTest::newRow("open fails, English")
        << 1 << true << false << true << QStringList{"USB Transmission failure!"}
        << QList<Kind>{Kind::OpenFailed};
    QTest::newRow("wrong password, English")
        << 1 << true << true << false << QStringList{"Wrong password!"} << openClose;
    QTest::newRow("wrong password, Polish")
        << 0 << true << true << false << QStringList{"Błędne hasło!"} << openClose;
}

void ModuleOperationTest::preconditions()
{
    QFETCH(int, language);
    QFETCH(bool, present);
    QFETCH(bool, plugged);
    QFETCH(bool, passwordMatches);
    QFETCH(QStringList, messages);
    QFETCH(QList<Kind>, calls);
    Localisation texts;
    texts.load();
    texts.setLanguage(language);
    sim::ModuleEmulator module;
    module.setPlugged(plugged);
    sim::VirtualClock clock;
    sim::EmulatedLink link(module, clock);
    test::RecordingSink sink;
    CountingPoll poll;

    {
        ModuleOperation operation(poll, link, sink, texts);
        QCOMPARE(poll.events, QStringList{"suspend"});
        QCOMPARE(operation.begin(present, passwordMatches, protocol::kTransferTimeoutMs),
                 messages.isEmpty());
        QCOMPARE(link.isOpen(), messages.isEmpty());
    }

    // Whatever happened, the device is closed and the poll runs again.
    QVERIFY(!link.isOpen());
    QCOMPARE(poll.events, (QStringList{"suspend", "resume"}));
    QCOMPARE(sink.messages, messages);
    QList<Kind> kinds;
    for (const auto& e : module.transcript()) {
        kinds << e.kind;
        if (e.kind == Kind::Timeouts)
            QCOMPARE(e.first, protocol::kTransferTimeoutMs);
        if (e.kind == Kind::BaudRate)
            QCOMPARE(e.first, 9600);
    }
    QCOMPARE(kinds, calls);
    QCOMPARE(module.sentBytes(), QByteArray());
}

QTEST_GUILESS_MAIN(ModuleOperationTest)
#include "tst_moduleoperation.moc"
