#include "base/Localisation.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/Identification.h"
#include "module/ModuleStatus.h"
#include "protocol/Protocol.h"
#include "support/Bytes.h"
#include "support/RecordingSink.h"

#include <QTest>

using namespace q540;
using Kind = q540::sim::TranscriptEntry::Kind;
using Result = q540::IdentificationOutcome::Result;
using q540::sim::FaultKind;

namespace {

using Nibbles = QList<int>;

struct Bench {
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink link{module, clock};
    test::RecordingSink sink;
    Localisation texts;
    ModuleStatus status;

    explicit Bench(int language = 0)
    {
        texts.load();
        texts.setLanguage(language);
    }
    // Nibbles default to 0; pairs of (nibble, value) override them.
    void configure(const Nibbles& pairs)
    {
        for (int i = 0; i < protocol::kConfigurationSize; ++i)
            module.setConfigurationNibble(i, 0);
        for (qsizetype i = 0; i + 1 < pairs.size(); i += 2)
            module.setConfigurationNibble(pairs[i], pairs[i + 1]);
    }
    void poll(const QString& typed = QStringLiteral("0000"), const ModuleStatusHandlers& h = {})
    {
        identifyAndApply(status, link, clock, typed, texts, sink, h);
    }
    int configurationReads() const
    {
        const auto frame = protocol::frame(protocol::kReadConfiguration);
        return int(
            module.sentBytes().count(QByteArray(reinterpret_cast<const char*>(frame.data()), 3)));
    }
};

using test::bytes;

} // namespace

class IdentificationTest : public QObject {
    Q_OBJECT

private slots:
    void exchange_data();
    void exchange();
    void latencyInForce_data();
    void latencyInForce();
    void configuration_data();
    void configuration();
    void switches_data();
    void switches();
    void pollSequence_data();
    void pollSequence();
};

void IdentificationTest::exchange_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("readConfiguration");
    QTest::addColumn<FaultKind>("fault");
    QTest::addColumn<int>("faultAfter");
    QTest::addColumn<Result>("result");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("endTime");
    const QByteArray hello = bytes({17, 22, 40});
    const QByteArray both = hello + bytes({13, 1, 15});
    const auto none = FaultKind::None;
    QTest::newRow("unplugged") << false << 70 << true << none << 0 << Result::NoCable
                               << QByteArray() << 0;
    // A silent module leaves the frame in the buffer; its read waits out the timeout.
    QTest::newRow("silent") << true << 70 << true << FaultKind::NoReply << 0 << Result::NoAnswer
                            << hello << 305;
    QTest::newRow("31,70,101: bad check")
        << true << 70 << true << FaultKind::BadCheckByte << 0 << Result::NoAnswer << hello << 5;
    QTest::newRow("version 4.3") << true << 43 << true << none << 0 << Result::Unsupported << hello
                                 << 5;
    QTest::newRow("known module") << true << 70 << false << none << 0 << Result::ModuleKnown
                                  << hello << 5;
    QTest::newRow("configuration")
        << true << 70 << true << none << 0 << Result::ConfigurationRead << both << 207;
    QTest::newRow("configuration without end byte")
        << true << 70 << true << FaultKind::BadCheckByte << 1 << Result::ConfigurationMissing
        << both << 207;
    QTest::newRow("short configuration") << true << 70 << true << FaultKind::ShortReply << 1
                                         << Result::ConfigurationMissing << both << 507;
}

void IdentificationTest::exchange()
{
    QFETCH(bool, plugged);
    QFETCH(int, code);
    QFETCH(bool, readConfiguration);
    QFETCH(FaultKind, fault);
    QFETCH(int, faultAfter);
    QFETCH(Result, result);
    QFETCH(QByteArray, sent);
    QFETCH(int, endTime);
    Bench bench;
    bench.module.setPlugged(plugged);
    bench.module.setDeviceCode(std::uint8_t(code));
    if (fault != FaultKind::None)
        bench.module.injectFault(fault, faultAfter, 1);

    const IdentificationOutcome outcome =
        identifyModule(bench.link, bench.clock, readConfiguration);

    QCOMPARE(outcome.result, result);
    const bool wellFormed = result != Result::NoCable && result != Result::NoAnswer;
    QCOMPARE(outcome.deviceCode, wellFormed ? code : -1);
    QCOMPARE(outcome.nibbles.has_value(), result == Result::ConfigurationRead);
    QCOMPARE(bench.module.sentBytes(), sent);
    QCOMPARE(int(bench.clock.nowMs()), endTime);
    const auto t = bench.module.transcript();
    QVERIFY(!bench.module.isOpen());
    if (!plugged) {
        QCOMPARE(t.size(), std::size_t(1));
        QCOMPARE(t.front().kind, Kind::OpenFailed);
        return;
    }
    QCOMPARE(t.back().kind, Kind::Close);
    QCOMPARE(t[1], (sim::TranscriptEntry{Kind::BaudRate, {}, 9600}));
    QCOMPARE(t[2], (sim::TranscriptEntry{Kind::Timeouts, {}, 300, 300}));
}

void IdentificationTest::latencyInForce_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("modelled");
    QTest::addColumn<int>("latency"); // -1: not known
    QTest::newRow("driver that cannot tell") << true << false << -1;
    QTest::newRow("chip set by the driver") << true << true << protocol::kLatencyTimerMs;
    QTest::newRow("cable unplugged") << false << true << -1;
}

// The timer the chip ran with reaches the status, and leaves it with the cable.
void IdentificationTest::latencyInForce()
{
    QFETCH(bool, plugged);
    QFETCH(bool, modelled);
    QFETCH(int, latency);
    Bench bench;
    bench.configure({});
    if (modelled)
        bench.link.modelCable({});
    bench.status.latencyTimerMs = 16;
    bench.module.setPlugged(plugged);
    bench.poll();
    QCOMPARE(bench.status.latencyTimerMs.value_or(-1), latency);
}

void IdentificationTest::configuration_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<Nibbles>("nibbles"); // (nibble, value) pairs over zeros
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("count");
    QTest::addColumn<PasswordCheck>("colour");
    QTest::addColumn<int>("jezyk");
    QTest::addColumn<int>("introIndex");
    QTest::addColumn<QString>("statusText");
    const auto green = PasswordCheck::Matches;
    const auto red = PasswordCheck::Differs;
    const QString pl = QStringLiteral("Stan połączenia: podłączony moduł Q540 v.7.0 K-");
    const QString en = QStringLiteral("Device status: module Q540 v.7.0 K-");
    QTest::newRow("count 20, Polish") << 0 << Nibbles{0, 3, 1, 1, 9, 3, 7, 1, 11, 2} << "0000"
                                      << "20" << green << 1 << 1 << pl + "3 PL";
    QTest::newRow("count 4096, English, no code")
        << 1 << Nibbles{0, 15, 1, 15, 2, 15, 9, 15, 11, 15} << "0000"
        << "4096" << green << 0 << 14 << en + "15 ";
    QTest::newRow("password 12 34 matches")
        << 1 << Nibbles{3, 12, 5, 2, 6, 2, 7, 5, 11, 0} << "1234"
        << "1" << green << 5 << -1 << en + "0 DE";
    QTest::newRow("second half differs") << 0 << Nibbles{3, 12, 5, 2, 6, 2} << "1235"
                                         << "1" << red << 0 << -1 << pl + "0 ";
    QTest::newRow("not four digits: 12 4") << 0 << Nibbles{3, 12, 5, 4} << "12 4"
                                           << "1" << red << 0 << -1 << pl + "0 ";
    QTest::newRow("first half 116: both 0") << 0 << Nibbles{3, 4, 4, 7, 5, 5} << "0000"
                                            << "1" << green << 0 << -1 << pl + "0 ";
    QTest::newRow("first half 116: typed 0005 differs") << 0 << Nibbles{3, 4, 4, 7, 5, 5} << "0005"
                                                        << "1" << red << 0 << -1 << pl + "0 ";
    QTest::newRow("second half 127: both 0") << 0 << Nibbles{3, 12, 5, 15, 6, 7} << "0000"
                                             << "1" << green << 0 << -1 << pl + "0 ";
    QTest::newRow("nibble 6 = 9: second half 18") << 0 << Nibbles{5, 2, 6, 9} << "0018"
                                                  << "1" << green << 0 << -1 << pl + "0 ";
    QTest::newRow("language 9 is 1") << 1 << Nibbles{7, 9} << "0000"
                                     << "1" << green << 1 << -1 << en + "0 PL";
}

void IdentificationTest::configuration()
{
    QFETCH(int, language);
    QFETCH(Nibbles, nibbles);
    QFETCH(QString, typed);
    QFETCH(QString, count);
    QFETCH(PasswordCheck, colour);
    QFETCH(int, jezyk);
    QFETCH(int, introIndex);
    QFETCH(QString, statusText);
    Bench bench(language);
    bench.configure(nibbles);

    bench.poll(typed);

    const ModuleStatus& s = bench.status;
    QVERIFY(s.configurationKnown);
    QCOMPARE(QString::number(s.entryCount), count);
    QCOMPARE(s.passwordConfirmed(), colour == PasswordCheck::Matches);
    QCOMPARE(s.passwordCheck, colour);
    QCOMPARE(s.moduleLanguage, jezyk);
    QCOMPARE(s.introTimeIndex, introIndex);
    QCOMPARE(moduleStateText(s, bench.texts), statusText);
    QCOMPARE(s.state, ModuleState::Present);
    QVERIFY(s.modulePresent());
    QVERIFY(bench.sink.events.isEmpty());
}

void IdentificationTest::switches_data()
{
    QTest::addColumn<int>("alfaBefore");
    QTest::addColumn<bool>("alfaTickBefore");
    QTest::addColumn<bool>("lockTickBefore");
    QTest::addColumn<Nibbles>("nibbles");
    QTest::addColumn<int>("alfa");
    QTest::addColumn<bool>("alfaTick");
    QTest::addColumn<bool>("lockTick");
    QTest::addColumn<QStringList>("clicks");
    QTest::newRow("search on, reset allowed clears the lock")
        << 115 << false << true << Nibbles{12, 8, 6, 9} << 8 << true << false
        << QStringList{"alfa"};
    QTest::newRow("search off, reset locked") << 115 << true << false << Nibbles{12, 7, 6, 7} << 0
                                              << false << true << QStringList{"alfa"};
    QTest::newRow("unchanged ticks do not click")
        << 115 << false << false << Nibbles{6, 8} << 0 << false << false << QStringList{};
    QTest::newRow("user's choice on is kept")
        << 8 << true << true << Nibbles{12, 0, 6, 15} << 8 << true << false << QStringList{};
}

void IdentificationTest::switches()
{
    QFETCH(int, alfaBefore);
    QFETCH(bool, alfaTickBefore);
    QFETCH(bool, lockTickBefore);
    QFETCH(Nibbles, nibbles);
    QFETCH(int, alfa);
    QFETCH(bool, alfaTick);
    QFETCH(bool, lockTick);
    QFETCH(QStringList, clicks);
    Bench bench;
    bench.configure(nibbles);
    bench.status.alphabeticalSearchRead = std::uint8_t(alfaBefore);
    bench.status.chosen.alphabeticalSearch = alfaTickBefore;
    bench.status.chosen.resetLock = lockTickBefore;
    QStringList seen;
    ModuleStatusHandlers handlers;
    handlers.alphabeticalSearchClicked = [&](const ModuleStatus&) {
        seen << QStringLiteral("alfa");
    };

    bench.poll(QStringLiteral("0000"), handlers);

    QCOMPARE(int(bench.status.alphabeticalSearchRead), alfa);
    QCOMPARE(bench.status.chosen.alphabeticalSearch, alfaTick);
    QCOMPARE(bench.status.chosen.resetLock, lockTick);
    QCOMPARE(seen, clicks);
    // Mirroring the module's lock sends no reset-lock command.
    QCOMPARE(bench.module.sentBytes(), bytes({17, 22, 40, 13, 1, 15}));
}

void IdentificationTest::pollSequence_data()
{
    // Each poll: "70", "43", "99" (device code), "unplugged", "silent", "no end byte".
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("polls");
    QTest::addColumn<QStringList>("statusTexts"); // after each poll
    QTest::addColumn<QStringList>("counts");      // Edit520 after each poll
    QTest::addColumn<int>("configurationReads");
    QTest::addColumn<int>("version43Messages");
    const QString present = QStringLiteral("Stan połączenia: podłączony moduł Q540 v.7.0 K-0 PL");
    const QString found = QStringLiteral("Stan połączenia: podłączono urządzenie KOR-USB");
    const QString notFound = QStringLiteral("Stan połączenia: nie znaleziono urządzenia KOR-USB");
    const QString unsupported = QStringLiteral("Stan połączenia: urządzenie nieobsługiwane");
    QTest::newRow("identified once")
        << 0 << QStringList{"70", "70", "70"} << QStringList{present, present, present}
        << QStringList{"5", "5", "5"} << 1 << 0;
    QTest::newRow("Polish texts; a failed hello clears, the next reads again")
        << 0 << QStringList{"70", "silent", "70", "unplugged", "99"}
        << QStringList{present, found, present, notFound, unsupported}
        << QStringList{"5", "", "5", "", ""} << 2 << 0;
    QTest::newRow("English texts") << 1 << QStringList{"70", "silent", "unplugged", "99"}
                                   << QStringList{"Device status: module Q540 v.7.0 K-0 PL",
                                                  "Connection status: KOR-USB device found",
                                                  "Connection status: KOR-USB device not found",
                                                  "Device status: device unsupported"}
                                   << QStringList{"5", "", "", ""} << 1 << 0;
    QTest::newRow("no end byte changes nothing, next poll reads")
        << 0 << QStringList{"silent", "no end byte", "70"} << QStringList{found, found, present}
        << QStringList{"", "", "5"} << 2 << 0;
    // A transfer clears configurationKnown before its own identification.
    QTest::newRow("cleared, no end byte keeps a present module")
        << 0 << QStringList{"70", "cleared, no end byte", "70"}
        << QStringList{present, present, present} << QStringList{"5", "5", "5"} << 3 << 0;
    QTest::newRow("4.3 kept connected: one message")
        << 0 << QStringList{"43", "43", "43"} << QStringList{unsupported, unsupported, unsupported}
        << QStringList{"", "", ""} << 0 << 1;
    QTest::newRow("4.3 reconnected: message again")
        << 0 << QStringList{"43", "unplugged", "43", "99", "43"}
        << QStringList{unsupported, notFound, unsupported, unsupported, unsupported}
        << QStringList{"", "", "", "", ""} << 0 << 3;
}

void IdentificationTest::pollSequence()
{
    QFETCH(int, language);
    QFETCH(QStringList, polls);
    QFETCH(QStringList, statusTexts);
    QFETCH(QStringList, counts);
    QFETCH(int, configurationReads);
    QFETCH(int, version43Messages);
    Bench bench(language);
    bench.configure({0, 4, 3, 12, 5, 2, 6, 2, 7, 1});

    for (qsizetype i = 0; i < polls.size(); ++i) {
        const QString& p = polls[i];
        bench.module.clearFaults();
        bench.module.setPlugged(p != "unplugged");
        bench.module.setDeviceCode(std::uint8_t(p.toInt() ? p.toInt() : 70));
        if (p == "silent")
            bench.module.injectFault(FaultKind::NoReply);
        if (p.endsWith("no end byte"))
            bench.module.injectFault(FaultKind::BadCheckByte, 1);
        const bool cleared = p.startsWith("cleared");
        if (cleared)
            bench.status.configurationKnown = false;
        const ModuleState stateBefore = bench.status.state;

        bench.poll(QStringLiteral("1234"));

        const ModuleStatus& s = bench.status;
        QCOMPARE(moduleStateText(s, bench.texts), statusTexts[i]);
        QCOMPARE(s.entryCount >= 0 ? QString::number(s.entryCount) : QString(), counts[i]);
        QCOMPARE(s.configurationKnown, !counts[i].isEmpty() && !cleared);
        QCOMPARE(s.passwordConfirmed(), !counts[i].isEmpty());
        QCOMPARE(s.passwordCheck,
                 counts[i].isEmpty() ? PasswordCheck::NotChecked : PasswordCheck::Matches);
        QCOMPARE(s.moduleLanguage, counts[i].isEmpty() ? 0 : 1);
        // A garbled reply changes nothing; otherwise the answer decides.
        if (p.endsWith("no end byte"))
            QCOMPARE(s.state, stateBefore);
        else if (p == "70")
            QCOMPARE(s.state, ModuleState::Present);
        else if (p == "unplugged")
            QCOMPARE(s.state, ModuleState::NoCable);
        else
            QCOMPARE(s.state, p == "silent" ? ModuleState::NoAnswer : ModuleState::Unsupported);
    }
    QCOMPARE(bench.configurationReads(), configurationReads);
    const QString message =
        language == 0
            ? QStringLiteral(
                "Podłączono moduł ver. 4.3\nProszę skorzystać ze starszej wersji programu.")
            : QStringLiteral("Modul ver. 4.3 connected.\nPlease use the older software version.");
    QCOMPARE(bench.sink.messages, QStringList(version43Messages, message));
}

QTEST_GUILESS_MAIN(IdentificationTest)
#include "tst_identification.moc"
