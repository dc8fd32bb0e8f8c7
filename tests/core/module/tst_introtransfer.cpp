#include "TransferFixture.h"

#include "module/IntroTransfer.h"

#include <QTest>

using namespace q540;
using namespace q540::test;

namespace {

using Blocks = QList<QByteArray>;

IntroLines lines(const QStringList& texts)
{
    IntroLines result;
    for (int i = 0; i < kIntroLineCount; ++i)
        result[std::size_t(i)] = texts.value(i);
    return result;
}

} // namespace

Q_DECLARE_METATYPE(IntroLines)

class IntroTransferTest : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void unshowableCharacterSendsNothing_data();
    void unshowableCharacterSendsNothing();
};

void IntroTransferTest::read_data()
{
    QTest::addColumn<int>("moduleTime");
    QTest::addColumn<bool>("malformed");
    QTest::addColumn<int>("timeIndex");
    QTest::newRow("time 7") << 7 << false << 6;
    QTest::newRow("time 0 selects 1") << 0 << false << 0;
    QTest::newRow("time 20 selects 15") << 20 << false << 14;
    QTest::newRow("malformed reply keeps the selection") << 7 << true << 4;
}

void IntroTransferTest::read()
{
    QFETCH(int, moduleTime);
    QFETCH(bool, malformed);
    QFETCH(int, timeIndex);
    TransferFixture f;
    f.setBlock(1020, asciiText("Witamy", 32));
    f.setBlock(1021, asciiText("", 16) + asciiText("  Dom 5", 16));
    f.setBlock(1022, QByteArray(32, char(0xFF)));
    f.setBlock(1023, bytes({4, 15, 100, 17}) + asciiText("", 12) + asciiText(" x ", 16));
    f.module.setIntroTime(std::uint8_t(moduleTime));
    if (malformed)
        f.module.injectFault(sim::FaultKind::BadCheckByte, 4, 1);
    const IntroLines before = lines({"a", "b", "c", "d", "e", "f", "g", "h"});
    const IntroLines after = receiveIntro(f.context, before, f.status).lines;

    QCOMPARE(after, lines({"Witamy", "", "", "  Dom 5", "", "", QStringLiteral("Łódź"), " x"}));
    QCOMPARE(f.status.introTimeIndex, timeIndex);
    QCOMPARE(f.frames(), (QList<QByteArray>{bytes({113, 252, 110}), bytes({113, 253, 111}),
                                            bytes({113, 254, 112}), bytes({113, 255, 113}),
                                            bytes({29, 200, 230})}));
    QVERIFY(f.sink.messages.isEmpty());
    QCOMPARE(f.sink.progressMaximum, 4);
    QCOMPARE(f.sink.progressPosition, 4);
    QVERIFY(f.endedCleanly());
}

void IntroTransferTest::write_data()
{
    QTest::addColumn<IntroLines>("intro");
    QTest::addColumn<int>("timeIndex");
    QTest::addColumn<Blocks>("blocks");
    QTest::addColumn<int>("timeByte");
    const QByteArray blank = asciiText("", 32);
    QTest::newRow("all empty, time 1") << lines({}) << 0 << Blocks{blank, blank, blank, blank} << 1;
    QTest::newRow("time 15, Polish letters")
        << lines({QStringLiteral("Łódź"), "Rynek 1"}) << 14
        << Blocks{bytes({4, 15, 100, 17}) + asciiText("", 12) + asciiText("Rynek 1", 16), blank,
                  blank, blank}
        << 15;
    QTest::newRow("20-character lines are cut to 16")
        << lines({"", "", "ABCDEFGHIJKLMNOPQRST", "abcdefghijklmnopqrst"}) << 1
        << Blocks{blank, "ABCDEFGHIJKLMNOPabcdefghijklmnop", blank, blank} << 2;
    QTest::newRow("no time selected sends 0")
        << lines({}) << -1 << Blocks{blank, blank, blank, blank} << 0;
}

void IntroTransferTest::write()
{
    QFETCH(IntroLines, intro);
    QFETCH(int, timeIndex);
    QFETCH(Blocks, blocks);
    QFETCH(int, timeByte);
    TransferFixture f;
    f.status.introTimeIndex = timeIndex;
    sendIntro(f.context, intro, f.status);

    QByteArray expected;
    for (int k = 0; k < 4; ++k) {
        expected += bytes({26, 252 + k, 23 + k}) + blocks[k];
        QCOMPARE(f.block(1020 + k), blocks[k]);
    }
    expected += bytes({13, 3, 17}) + char(timeByte) + bytes({17, 17, 35});
    QCOMPARE(f.module.sentBytes(), expected);
    QCOMPARE(int(f.module.introTime()), timeByte);
    QVERIFY(f.sink.messages.isEmpty());
    QCOMPARE(f.sink.progressMaximum, 5);
    QCOMPARE(f.sink.progressPosition, 5);
    QVERIFY(f.endedCleanly());
}

void IntroTransferTest::unshowableCharacterSendsNothing_data()
{
    QTest::addColumn<IntroLines>("intro");
    QTest::addColumn<QString>("message");
    QTest::newRow("euro in screen 3")
        << lines({"Jeden", "", "Dwa", "", "Trzy", QStringLiteral("€"), "Cztery"})
        << QStringLiteral("Sign ( € ) In Intro nr: 3  is not compatible with the module!");
    QTest::newRow("TAB in screen 1")
        << lines({"Je\tden"})
        << QStringLiteral("Sign ( U+0009 ) In Intro nr: 1  is not compatible with the module!");
    QTest::newRow("ESC in screen 4")
        << lines({"", "", "", "", "", "", "", "x\x1b"})
        << QStringLiteral("Sign ( U+001B ) In Intro nr: 4  is not compatible with the module!");
}

// The screens are checked before the device opens: the module keeps its intro.
void IntroTransferTest::unshowableCharacterSendsNothing()
{
    QFETCH(IntroLines, intro);
    QFETCH(QString, message);
    TransferFixture f(1);
    f.module.setIntroTime(9);
    sendIntro(f.context, intro, f.status);

    QCOMPARE(f.sink.messages, QStringList{message});
    QCOMPARE(f.module.transcript().size(), std::size_t(0));
    QVERIFY(f.poll.events.isEmpty()); // refused before the poll was stopped
    for (int p = 1020; p < 1024; ++p)
        QCOMPARE(f.block(p), QByteArray(32, char(0xFF)));
    QCOMPARE(int(f.module.introTime()), 9);
    QVERIFY(!f.link.isOpen());
}

QTEST_GUILESS_MAIN(IntroTransferTest)
#include "tst_introtransfer.moc"
