#include "simtool/SimOptions.h"

#include <QTest>

using namespace q540::simtool;
using q540::sim::FaultKind;
using Action = SimCommandLine::Action;

class SimOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
};

void SimOptionsTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error"); // what the message begins with; empty: serve
    // password halves, device code, language, latency timer (0: none)
    QTest::addColumn<QList<int>>("settings");
    QTest::addColumn<QList<int>>("faults"); // kind, after, times of each --fault

    QTest::newRow("defaults") << QStringList() << "" << QList<int>{82, 64, 70, 1, 0}
                              << QList<int>();
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
                                                 "bad-check-byte:0:1",
                                                 "--latency-timer",
                                                 "16"}
                                  << "" << QList<int>{5, 17, 43, 5, 16}
                                  << QList<int>{int(FaultKind::NoReply),      0, -1,
                                                int(FaultKind::ShortReply),   3, -1,
                                                int(FaultKind::WrongByte),    2, 4,
                                                int(FaultKind::BadCheckByte), 0, 1};

    const auto failing = [](const char* name, QStringList arguments, const char* error) {
        QTest::newRow(name) << arguments << error << QList<int>() << QList<int>();
    };
    failing("password of three digits", {"--password", "826"}, "bad --password \"826\"");
    failing("password with a letter", {"--password", "82a4"}, "bad --password");
    failing("device code too large", {"--device-code", "256"}, "bad --device-code");
    failing("signed device code", {"--device-code", "+7"}, "bad --device-code");
    failing("language above a nibble", {"--language", "16"}, "bad --language");
    failing("unknown fault", {"--fault", "unplugged"}, "bad --fault \"unplugged\"");
    failing("fault for no exchange", {"--fault", "no-reply:0:0"}, "bad --fault");
    failing("fault with a fourth part", {"--fault", "no-reply:1:2:3"}, "bad --fault");
    failing("latency timer of 0", {"--latency-timer", "0"}, "bad --latency-timer");
    failing("latency timer too long", {"--latency-timer", "256"}, "bad --latency-timer");
    failing("stray argument", {"/dev/pts/3"}, "unexpected argument \"/dev/pts/3\"");
}

void SimOptionsTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QFETCH(QList<int>, settings);
    QFETCH(QList<int>, faults);
    const SimCommandLine command = parseSimCommandLine(QStringList{"q540-sim"} + arguments);
    QCOMPARE(command.action, error.isEmpty() ? Action::Serve : Action::Fail);
    if (!error.isEmpty()) {
        QVERIFY2(command.text.startsWith(error), qPrintable(command.text));
        return;
    }

    // The settings as the module takes them.
    q540::sim::ModuleEmulator module;
    applySettings(command.settings, module);
    QCOMPARE((QList<int>{module.passwordFirstHalf(), module.passwordSecondHalf(),
                         command.settings.deviceCode, module.languageCode(),
                         command.settings.latencyTimerMs}),
             settings);
    QList<int> got;
    for (const FaultOption& f : command.settings.faults)
        got << int(f.kind) << f.afterExchanges << f.times;
    QCOMPARE(got, faults);
}

QTEST_GUILESS_MAIN(SimOptionsTest)
#include "tst_simoptions.moc"
