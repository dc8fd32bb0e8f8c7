// The traces a window keeps for a support report: one a connection, the
// poll's repeats counted, the last twenty kept, and the directory's text
// masked in every operation that carries names.

#include "TransferFixture.h"
#include "device/TraceRecorder.h"
#include "module/DirectoryRead.h"
#include "module/DirectoryWrite.h"
#include "module/Identification.h"
#include "module/IntroTransfer.h"
#include "module/ModuleSettings.h"
#include "module/SupportReport.h"
#include "protocol/ConfigurationBlock.h"

#include <QRegularExpression>
#include <QTest>

using namespace q540;

namespace {

// "KOWALSKI" as it goes over the cable, in the trace's hex.
const QString kNameHex = QStringLiteral("4B 4F 57 41 4C 53 4B 49");

// How a reader finds a password's digits in a trace: the high halves of a
// configuration's nibbles 3..6 (read or written), the zone bytes of blocks
// 3..6 (written or read, after an acknowledgement or not), and the two bytes
// that store a new password.
QStringList passwordPatterns(const QString& password)
{
    const PasswordPairs pairs = passwordPairs(password).value();
    const protocol::ConfigurationNibbles n = protocol::encodeConfiguration(
        {.passwordFirst = pairs.first, .passwordSecond = pairs.second, .resetAllowed = true});
    const auto hex = [](int value, int width) {
        return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
    };
    // The last also holds the reset flag.
    const auto nibble = [&](int i) {
        const int v = n[std::size_t(i)];
        return i == protocol::kLastPasswordNibble
                   ? QStringLiteral("[%1%2]").arg(hex(v & 7, 1), hex(v | 8, 1))
                   : hex(v, 1);
    };
    QStringList patterns{
        QStringLiteral("[<>] (?:.. ){3}%1. %2. %3. %4.")
            .arg(nibble(3), nibble(4), nibble(5), nibble(6)),
        QStringLiteral("> %1 %2\n").arg(hex(pairs.first, 2), hex(pairs.second, 2))};
    for (int p = 3; p <= 6; ++p)
        patterns << QStringLiteral("> 1[67] 0%1 ..\n(?:[0-9.]+ < F5\n)?[0-9.]+ [<>] (?:.. ){31}%2.")
                        .arg(p)
                        .arg(nibble(p));
    return patterns;
}

} // namespace

class TraceRecorderTest : public QObject {
    Q_OBJECT

private slots:
    void namesAreMasked_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("directory write") << "write";
        QTest::newRow("directory read") << "read";
        QTest::newRow("intro write") << "intro-write";
        QTest::newRow("intro read") << "intro-read";
    }

    void namesAreMasked()
    {
        QFETCH(QString, operation);
        test::TransferFixture f;
        TraceRecorder recorder(f.link, f.clock);
        const TransferContext context{recorder, f.clock, f.sink, f.poll, f.texts};
        const std::vector<NameRow> rows{test::entry(QStringLiteral("KOWALSKI"), {}, 7, 1)};
        IntroLines intro;
        intro[0] = QStringLiteral("KOWALSKI");
        // The module holds the name for the reads.
        QVERIFY(sendDirectory(f.context, rows, f.password, f.status).isDone());
        QVERIFY(sendIntro(f.context, intro, f.status).isDone());
        if (operation == u"write")
            QVERIFY(sendDirectory(context, rows, f.password, f.status).isDone());
        else if (operation == u"read")
            QVERIFY(
                receiveDirectory(context, DirectoryGrid(), f.password, f.status).outcome.isDone());
        else if (operation == u"intro-write")
            QVERIFY(sendIntro(context, intro, f.status).isDone());
        else
            QVERIFY(receiveIntro(context, IntroLines{}, f.status).outcome.isDone());

        QString all;
        for (const RecordedTrace& t : recorder.traces())
            all += t.text;
        QVERIFY2(all.contains(kNameHex), qPrintable(all));
        const QString masked = maskDirectoryText(all);
        QVERIFY2(!masked.contains(kNameHex), qPrintable(masked));
        QVERIFY(masked.contains(QStringLiteral("** ** **")));
        // Only text is masked: every line stays, and those without a block as they were.
        const QStringList before = all.split(u'\n');
        const QStringList after = masked.split(u'\n');
        QCOMPARE(after.size(), before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            if (!after[i].contains(u'*'))
                QCOMPARE(after[i], before[i]);
    }

    void maskingTable_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("masked");
        const QString block = QStringLiteral("4B ").repeated(30) + QStringLiteral("07 01");
        const QString stars = QStringLiteral("** ").repeated(30);
        QTest::newRow("block written") << "1.000 > " + block << "1.000 > " + stars + "07 01";
        QTest::newRow("block read") << "1.000 < " + block + " F5"
                                    << "1.000 < " + stars + "07 01 F5";
        QTest::newRow("block read short") << "1.000 < 4B 4B (2 of 33)"
                                          << "1.000 < ** ** (2 of 33)";
        QTest::newRow("hello reply") << "0.005 < 1F 46 66"
                                     << "0.005 < 1F 46 66";
        QTest::newRow("configuration") << "0.207 < " + QStringLiteral("FF ").repeated(16) + "F5"
                                       << "0.207 < " + QStringLiteral("FF ").repeated(16) + "F5";
        QTest::newRow("nothing read") << "0.305 < (0 of 33)"
                                      << "0.305 < (0 of 33)";
        // The password's nibbles go in the zone bytes of blocks 3..6 only.
        QTest::newRow("block 3 read") << "1.000 > 17 03 1B\n1.000 < " + block + " F5"
                                      << "1.000 > 17 03 1B\n1.000 < " + stars + "07 *1 F5";
        QTest::newRow("block 7 written")
            << "1.000 > 16 07 1E\n1.000 < F5\n1.000 > " + block
            << "1.000 > 16 07 1E\n1.000 < F5\n1.000 > " + stars + "07 01";
        QTest::newRow("password stored") << "0.010 > 0D 04 12\n0.015 < F5\n0.015 > 0D 39"
                                         << "0.010 > 0D 04 12\n0.015 < F5\n0.015 > ** **";
    }

    void maskingTable()
    {
        QFETCH(QString, line);
        QFETCH(QString, masked);
        QCOMPARE(maskDirectoryText(maskPassword(line)), masked);
    }

    // The support report shows no password: not the module's old one nor the
    // new one, in any exchange or on the command line, directory or not.
    void reportHidesThePassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("changedTo");
        QTest::newRow("factory password") << "8264"
                                          << "1357";
        QTest::newRow("another") << "4711"
                                 << "9035";
    }

    void reportHidesThePassword()
    {
        QFETCH(QString, password);
        QFETCH(QString, changedTo);
        test::TransferFixture f;
        const PasswordPairs pairs = passwordPairs(password).value();
        const protocol::ConfigurationNibbles nibbles = protocol::encodeConfiguration(
            {.passwordFirst = pairs.first, .passwordSecond = pairs.second, .resetAllowed = true});
        for (int i = 0; i < protocol::kConfigurationSize; ++i)
            f.module.setConfigurationNibble(i, nibbles[std::size_t(i)]);
        TraceRecorder recorder(f.link, f.clock);
        const TransferContext context{recorder, f.clock, f.sink, f.poll, f.texts};
        std::vector<NameRow> rows;
        for (int i = 0; i < 8; ++i)
            rows.push_back(test::entry(QStringLiteral("NAME %1").arg(i), {}, i + 1, 1));
        identifyAndApply(f.status, recorder, f.clock, password, f.texts, f.sink);
        QVERIFY(sendDirectory(context, rows, password, f.status).isDone());
        QVERIFY(receiveDirectory(context, DirectoryGrid(), password, f.status).outcome.isDone());
        QVERIFY(storePassword(recorder, f.clock, changedTo, f.sink, f.texts).isDone());
        // As the settings panel's close: the next poll reads the configuration again.
        f.status.configurationKnown = false;
        identifyAndApply(f.status, recorder, f.clock, changedTo, f.texts, f.sink);

        QString traced;
        for (const RecordedTrace& t : recorder.traces())
            traced += t.text;
        const QStringList commandLine{"q540-cli", "status", "--password", password,
                                      "--password=" + changedTo};
        for (const bool include : {false, true}) {
            const QString report =
                supportReportText({{}, commandLine, {}, recorder.traces(), include});
            QVERIFY(report.contains(QStringLiteral("--password **** --password=****")));
            for (const QString& secret : {password, changedTo}) {
                QVERIFY2(!report.contains(secret), qPrintable(secret));
                for (const QString& pattern : passwordPatterns(secret))
                    QVERIFY2(!report.contains(QRegularExpression(pattern)), qPrintable(pattern));
            }
        }
        // What the report hides is what a reader finds in the bare trace.
        const QStringList before = passwordPatterns(password);
        const QStringList after = passwordPatterns(changedTo);
        for (const QString& pattern : before.mid(2) + QStringList{before[0], after[0], after[1]})
            QVERIFY2(traced.contains(QRegularExpression(pattern)), qPrintable(pattern));
    }

    // A trace that cannot be kept is told once for all connections; the
    // connections go on as without it.
    void failureToldOnce()
    {
        sim::ModuleEmulator module;
        sim::VirtualClock clock;
        sim::EmulatedLink link(module, clock);
        TraceRecorder recorder(link, clock, TraceRecorder::kKept, QIODevice::ReadOnly);
        QStringList told;
        recorder.onFailure([&told](const QString& reason) { told << reason; });
        for (int i = 0; i < 3; ++i)
            QCOMPARE(identifyModule(recorder, clock, true).result,
                     IdentificationOutcome::Result::ConfigurationRead);
        QCOMPARE(told.size(), 1);
    }

    // The poll's connections collapse into one with a count; operations in
    // between stay in order; no more than the kept number survive.
    void keepsTheLastConnections()
    {
        sim::ModuleEmulator module;
        sim::VirtualClock clock;
        sim::EmulatedLink link(module, clock);
        TraceRecorder recorder(link, clock, 3);
        const auto poll = [&] { identifyModule(recorder, clock, false); };
        for (int i = 0; i < 5; ++i)
            poll();
        QCOMPARE(recorder.traces().size(), std::size_t(1));
        QCOMPARE(recorder.traces().front().repeats, 5);
        module.setPlugged(false);
        poll();
        module.setPlugged(true);
        identifyModule(recorder, clock, true);
        poll();
        const std::vector<RecordedTrace> kept = recorder.traces();
        QCOMPARE(kept.size(), std::size_t(3));
        QCOMPARE(kept[0].text.trimmed().section(u' ', 1), QStringLiteral("open failed"));
        QVERIFY(kept[1].text.contains(QStringLiteral("> 0D 01 0F")));
        QCOMPARE(kept[2].repeats, 1);
    }
};

QTEST_GUILESS_MAIN(TraceRecorderTest)
#include "tst_tracerecorder.moc"
