// The time left that every transfer's progress shows: the estimate, its
// words in the three languages, and what a write over the modelled cable
// tells the user.

#include "TransferFixture.h"
#include "base/TimeLeft.h"
#include "module/DirectoryWrite.h"

#include <QTest>

using namespace q540;

class TimeLeftTest : public QObject {
    Q_OBJECT

private slots:
    void estimate_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<qint64>("elapsedMs");
        QTest::addColumn<int>("seconds"); // -1: none yet
        QTest::newRow("nothing done yet") << 0 << 1020 << 500LL << -1;
        QTest::newRow("first block of a full write") << 1 << 1020 << 40LL << 41;
        QTest::newRow("half way") << 510 << 1020 << 20'000LL << 20;
        QTest::newRow("rounded up, not down") << 999 << 1000 << 1000LL << 1;
        QTest::newRow("last block") << 1020 << 1020 << 41'000LL << 0;
        QTest::newRow("more steps than announced") << 5 << 4 << 100LL << 0;
        QTest::newRow("no blocks at all") << 1 << 0 << 100LL << -1;
    }

    void estimate()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(qint64, elapsedMs);
        QFETCH(int, seconds);
        QCOMPARE(secondsLeft(done, total, elapsedMs).value_or(-1), seconds);
    }

    void words_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("pl") << 38 << 0 << QStringLiteral("pozostało ok. 38 s");
        QTest::newRow("en") << 38 << 1 << QStringLiteral("about 38 s left");
        QTest::newRow("de") << 38 << 2 << QStringLiteral("noch etwa 38 s");
        QTest::newRow("a minute, en") << 65 << 1 << QStringLiteral("about 1 min 5 s left");
        QTest::newRow("a minute, pl") << 60 << 0 << QStringLiteral("pozostało ok. 1 min 0 s");
        QTest::newRow("just under, de") << 59 << 2 << QStringLiteral("noch etwa 59 s");
    }

    void words()
    {
        QFETCH(int, seconds);
        QFETCH(int, language);
        QFETCH(QString, text);
        QCOMPARE(timeLeftText(seconds, language), text);
    }

    // Over the modelled cable the first estimate is close to the time the
    // write then really took, each later one is no larger than the one
    // before by more than a second, and the last says nothing is left.
    void writeTellsTheTimeLeft()
    {
        test::TransferFixture f(1);
        f.link.modelCable({});
        std::vector<NameRow> rows;
        for (int apartment = 1; apartment <= 200; ++apartment)
            rows.push_back(
                test::entry(QStringLiteral("Kowalski %1").arg(apartment), {}, apartment, 2));
        f.sink.answerYes = true;
        QVERIFY(sendDirectory(f.context, rows, f.password, f.status).isDone());
        QVERIFY(f.sink.timeLeft.size() >= 5);
        QCOMPARE(f.sink.timeLeft.last(), QStringLiteral("about 0 s left"));
        const auto seconds = [](const QString& text) { return text.section(u' ', 1, 1).toInt(); };
        // 200 entries at about 40 ms each: 8 s, told as the first block is done.
        QVERIFY2(seconds(f.sink.timeLeft.first()) >= 7 && seconds(f.sink.timeLeft.first()) <= 9,
                 qPrintable(f.sink.timeLeft.first()));
        for (qsizetype i = 1; i < f.sink.timeLeft.size(); ++i)
            QVERIFY(seconds(f.sink.timeLeft[i]) <= seconds(f.sink.timeLeft[i - 1]) + 1);
    }
};

QTEST_GUILESS_MAIN(TimeLeftTest)
#include "tst_timeleft.moc"
