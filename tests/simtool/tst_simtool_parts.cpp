#include "simtool/SimOptions.h"
#include "simtool/Wire.h"

#include <QTest>

using namespace q540::simtool;
using q540::sim::FaultKind;
using Action = SimCommandLine::Action;
using namespace std::chrono_literals;

class SimToolPartsTest : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void wirePacesBytes_data();
    void wirePacesBytes();
};

void SimToolPartsTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("deviceCode");
    QTest::addColumn<int>("language");
    QTest::addColumn<QList<int>>("faults"); // kind, after, times of each --fault
    QTest::addColumn<QString>("error");     // what the message begins with

    const auto serve = int(Action::Serve);
    const auto fail = int(Action::Fail);
    QTest::newRow("defaults") << QStringList() << serve << "8264" << 70 << 1 << QList<int>() << "";
    QTest::newRow("every option") << QStringList{"--password",
                                                 "0517",
                                                 "--device-code",
                                                 "43",
                                                 "--language",
                                                 "5",
                                                 "--fault",
                                                 "no-reply",
                                                 "--fault",
                                                 "short-reply:3",
                                                 "--fault=wrong-byte:2:4",
                                                 "--fault",
                                                 "bad-check-byte:0:1"}
                                  << serve << "0517" << 43 << 5
                                  << QList<int>{int(FaultKind::NoReply),      0, -1,
                                                int(FaultKind::ShortReply),   3, -1,
                                                int(FaultKind::WrongByte),    2, 4,
                                                int(FaultKind::BadCheckByte), 0, 1}
                                  << "";
    QTest::newRow("help") << QStringList{"--help"} << int(Action::ShowHelp) << "8264" << 70 << 1
                          << QList<int>() << "";

    const auto failing = [&](const char* name, QStringList arguments, const char* error) {
        QTest::newRow(name) << arguments << fail << "" << 0 << 0 << QList<int>() << error;
    };
    failing("password of three digits", {"--password", "826"}, "bad --password \"826\"");
    failing("password with a letter", {"--password", "82a4"}, "bad --password");
    failing("device code too large", {"--device-code", "256"}, "bad --device-code");
    failing("device code signed", {"--device-code", "+7"}, "bad --device-code");
    failing("language above a nibble", {"--language", "16"}, "bad --language");
    failing("unknown fault", {"--fault", "unplugged"}, "bad --fault \"unplugged\"");
    failing("fault for no exchange", {"--fault", "no-reply:0:0"}, "bad --fault");
    failing("fault with a word for a count", {"--fault", "no-reply:two"}, "bad --fault");
    failing("fault with a fourth part", {"--fault", "no-reply:1:2:3"}, "bad --fault");
    failing("unknown option", {"--load", "x.q54"}, "Unknown option 'load'");
    failing("stray argument", {"/dev/pts/3"}, "unexpected argument \"/dev/pts/3\"");
}

void SimToolPartsTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, error);
    const SimCommandLine command = parseSimCommandLine(QStringList{"q540-sim"} + arguments);
    QCOMPARE(int(command.action), action);
    if (command.action == Action::Fail) {
        QVERIFY2(command.text.startsWith(error), qPrintable(command.text));
        return;
    }
    if (command.action == Action::ShowHelp) {
        for (const char* option : {"--password", "--device-code", "--language", "--fault"})
            QVERIFY2(command.text.contains(QLatin1StringView(option)), option);
        return;
    }
    QFETCH(QString, password);
    QFETCH(int, deviceCode);
    QFETCH(int, language);
    QFETCH(QList<int>, faults);
    QCOMPARE(command.settings.password, password);
    QCOMPARE(command.settings.deviceCode, deviceCode);
    QCOMPARE(command.settings.languageCode, language);
    QList<int> got;
    for (const FaultSpec& f : command.settings.faults)
        got << int(f.kind) << f.afterExchanges << f.times;
    QCOMPARE(got, faults);
}

void SimToolPartsTest::wirePacesBytes_data()
{
    // Sends of (time in ms, byte count) on a line of 1 ms a byte.
    QTest::addColumn<QList<int>>("sends");
    QTest::addColumn<QList<int>>("arrivals"); // ms, one a byte
    QTest::newRow("one byte") << QList<int>{0, 1} << QList<int>{1};
    QTest::newRow("a frame") << QList<int>{5, 3} << QList<int>{6, 7, 8};
    QTest::newRow("queued behind the line's bytes")
        << QList<int>{0, 2, 1, 1} << QList<int>{1, 2, 3};
    QTest::newRow("after a quiet line") << QList<int>{0, 1, 10, 2} << QList<int>{1, 11, 12};
}

void SimToolPartsTest::wirePacesBytes()
{
    QFETCH(QList<int>, sends);
    QFETCH(QList<int>, arrivals);
    const Wire::TimePoint start{};
    Wire wire(1ms);
    std::uint8_t next = 0;
    for (qsizetype i = 0; i + 1 < sends.size(); i += 2) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(sends[i + 1]));
        for (auto& b : bytes)
            b = next++;
        wire.send(bytes, start + std::chrono::milliseconds(sends[i]));
    }

    // Nothing arrives a moment early, and bytes keep their order.
    QList<int> got;
    std::uint8_t expectedByte = 0;
    while (const auto due = wire.nextArrival()) {
        QVERIFY(wire.arrived(*due - 1us).empty());
        const std::vector<std::uint8_t> bytes = wire.arrived(*due);
        QCOMPARE(bytes.size(), std::size_t(1));
        QCOMPARE(bytes[0], expectedByte++);
        got << int(std::chrono::duration_cast<std::chrono::milliseconds>(*due - start).count());
        QCOMPARE(wire.lastArrival(), *due);
    }
    QCOMPARE(got, arrivals);
    // 8N1 at 9600 baud: ten bits a byte.
    QCOMPARE(byteTimeAt(9600), 1'041'666ns);
}

QTEST_GUILESS_MAIN(SimToolPartsTest)
#include "tst_simtool_parts.moc"
