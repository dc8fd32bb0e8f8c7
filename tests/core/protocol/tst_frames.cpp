#include "protocol/Protocol.h"

#include <QTest>

using namespace q540::protocol;

using Bytes = QList<int>;

namespace {

Bytes toBytes(std::span<const Byte> bytes)
{
    return Bytes(bytes.begin(), bytes.end());
}

} // namespace

class FramesTest : public QObject {
    Q_OBJECT

private slots:
    void commandFrames_data();
    void commandFrames();
    void blockFrames_data();
    void blockFrames();
    void statusReplies_data();
    void statusReplies();
};

void FramesTest::commandFrames_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("parameter");
    QTest::addColumn<Bytes>("frame");
    const auto row = [](const char* name, Command c, Bytes frame) {
        QTest::newRow(name) << int(c.command) << int(c.parameter) << frame;
    };
    row("hello", kHello, {17, 22, 40});
    row("read configuration", kReadConfiguration, {13, 1, 15});
    row("write configuration", kWriteConfiguration, {13, 2, 16});
    row("write intro time", kWriteIntroTime, {13, 3, 17});
    row("write password", kWritePassword, {13, 4, 18});
    row("reset lock on", kResetLockOn, {13, 127, 141});
    row("reset lock off (wraps)", kResetLockOff, {13, 128, 142});
    row("read language", kReadLanguage, {14, 0, 15});
    row("write language 5", Command{kWriteLanguageCommand, 5}, {14, 5, 20});
    row("read intro time", kReadIntroTime, {29, 200, 230});
    row("close intro write", kCloseIntroWrite, {17, 17, 35});
    row("read intro screen 1 (wraps)", Command{113, 252}, {113, 252, 110});
    row("read intro screen 4 (wraps)", Command{113, 255}, {113, 255, 113});
    row("write intro screen 1 (wraps)", Command{26, 252}, {26, 252, 23});
}

void FramesTest::commandFrames()
{
    QFETCH(int, command);
    QFETCH(int, parameter);
    QFETCH(Bytes, frame);
    QCOMPARE(toBytes(q540::protocol::frame(Byte(command), Byte(parameter))), frame);
}

void FramesTest::blockFrames_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<Bytes>("writeFrame");
    QTest::addColumn<Bytes>("readFrame");
    QTest::newRow("first of bank 0") << 0 << Bytes{22, 0, 23} << Bytes{23, 0, 24};
    QTest::newRow("last of bank 0") << 255 << Bytes{22, 255, 22} << Bytes{23, 255, 23};
    QTest::newRow("first of bank 1") << 256 << Bytes{24, 0, 25} << Bytes{111, 0, 112};
    QTest::newRow("300 in bank 1") << 300 << Bytes{24, 44, 69} << Bytes{111, 44, 156};
    QTest::newRow("515 in bank 2") << 515 << Bytes{25, 3, 29} << Bytes{112, 3, 116};
    QTest::newRow("last entry 1019") << 1019 << Bytes{26, 251, 22} << Bytes{113, 251, 109};
    QTest::newRow("intro screen 4 at 1023") << 1023 << Bytes{26, 255, 26} << Bytes{113, 255, 113};
}

void FramesTest::blockFrames()
{
    QFETCH(int, position);
    QFETCH(Bytes, writeFrame);
    QFETCH(Bytes, readFrame);
    QCOMPARE(toBytes(blockWriteFrame(position)), writeFrame);
    QCOMPARE(toBytes(blockReadFrame(position)), readFrame);
}

void FramesTest::statusReplies_data()
{
    QTest::addColumn<Bytes>("reply");
    QTest::addColumn<bool>("valid");
    QTest::newRow("hello of this module") << Bytes{31, 70, 102} << true;
    QTest::newRow("hello of a 4.3 module") << Bytes{31, 43, 75} << true;
    QTest::newRow("wrong check byte") << Bytes{31, 70, 101} << false;
    QTest::newRow("wrong first byte") << Bytes{30, 70, 101} << false;
    QTest::newRow("unanswered frame left in the buffer") << Bytes{17, 22, 40} << false;
    QTest::newRow("language reply") << Bytes{31, 9, 5, 12, 58} << true;
    QTest::newRow("language reply, bad check") << Bytes{31, 9, 5, 12, 59} << false;
    QTest::newRow("check byte wraps") << Bytes{31, 250, 26} << true;
    QTest::newRow("too short") << Bytes{31, 32} << false;
}

void FramesTest::statusReplies()
{
    QFETCH(Bytes, reply);
    std::vector<Byte> bytes(reply.begin(), reply.end());
    QFETCH(bool, valid);
    QCOMPARE(isValidStatusReply(bytes), valid);
}

QTEST_GUILESS_MAIN(FramesTest)
#include "tst_frames.moc"
