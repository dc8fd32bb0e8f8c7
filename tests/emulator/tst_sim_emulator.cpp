#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "protocol/Protocol.h"
#include "support/Bytes.h"

#include <QTest>

#include <initializer_list>
#include <map>

using q540::sim::FaultKind;
using q540::sim::ModuleEmulator;
using q540::sim::TranscriptEntry;
using Kind = TranscriptEntry::Kind;
namespace protocol = q540::protocol;

Q_DECLARE_METATYPE(FaultKind)

namespace {

using q540::test::bytes;

QByteArray frame(int command, int parameter)
{
    const auto f = protocol::frame(static_cast<protocol::Byte>(command),
                                   static_cast<protocol::Byte>(parameter));
    return QByteArray(reinterpret_cast<const char*>(f.data()), 3);
}

const QByteArray kHello = frame(17, 22);
const QByteArray kHelloReply = bytes({31, 70, 102});

// Counts up from seed, so that a block from the wrong position or shifted by a byte shows.
QByteArray pattern(int seed)
{
    QByteArray result;
    for (int i = 0; i < 32; ++i)
        result += static_cast<char>(seed + i);
    return result;
}

// The zone bytes of blocks 0..15 of a prepared module, with some of them changed.
QByteArray zoneBytes(const std::map<int, int>& changes = {})
{
    QByteArray result(16, '\xFF');
    result[7] = 0x3F;
    result[15] = 0x0F;
    for (const auto& [i, value] : changes)
        result[i] = static_cast<char>(value);
    return result;
}

QByteArray zoneBytesOf(const ModuleEmulator& module)
{
    QByteArray result;
    for (int p = 0; p < 16; ++p)
        result += static_cast<char>(module.block(p)[protocol::kZoneByte]);
    return result;
}

void send(ModuleEmulator& module, const QByteArray& sent)
{
    module.hostWrite(std::span(reinterpret_cast<const std::uint8_t*>(sent.constData()),
                               static_cast<std::size_t>(sent.size())));
}

// Sends the bytes in one write call and takes every reply byte queued.
QByteArray exchange(ModuleEmulator& module, const QByteArray& sent)
{
    send(module, sent);
    QByteArray reply(static_cast<qsizetype>(module.pendingReplyBytes()), '\0');
    module.hostRead(std::span(reinterpret_cast<std::uint8_t*>(reply.data()),
                              static_cast<std::size_t>(reply.size())));
    return reply;
}

// An open module whose block 300, language code (3), nibble 15 (0), intro time and
// code bytes differ from the defaults, so that a reply taken from the wrong place shows.
void prepare(ModuleEmulator& module)
{
    std::array<std::uint8_t, 32> block;
    const QByteArray data = pattern(3);
    std::copy(data.begin(), data.end(), block.begin());
    module.setBlock(300, block);
    module.setIntroTime(7);
    module.setLanguageCodeBytes(12, 5);
    module.setLanguageCode(3);
    module.setConfigurationNibble(15, 0);
    QVERIFY(module.open(protocol::kDeviceDescription));
}

} // namespace

class TestSimEmulator : public QObject {
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("zone"); // zone bytes of blocks 0..15 afterwards

        const QByteArray config = bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
        const QByteArray ack = bytes({245});
        const QByteArray readTime = frame(29, 200);
        QTest::newRow("hello") << kHello << kHelloReply << zoneBytes();
        QTest::newRow("configuration read") << frame(13, 1) << zoneBytes() + ack << zoneBytes();
        QTest::newRow("configuration write") << frame(13, 2) + config << ack + ack << config;
        QTest::newRow("unwritten block")
            << frame(23, 5) << QByteArray(32, '\xFF') + ack << zoneBytes();
        QTest::newRow("intro time read") << readTime << bytes({31, 7, 39}) << zoneBytes();
        QTest::newRow("intro time write") << frame(13, 3) + bytes({9}) + readTime
                                          << ack + bytes({31, 9, 41}) << zoneBytes({{11, 0x9F}});
        QTest::newRow("intro time above 15")
            << frame(13, 3) + bytes({20}) << ack << zoneBytes({{11, 0x4F}});
        QTest::newRow("intro write close") << frame(17, 17) << QByteArray() << zoneBytes();
        // 12: N3 12, N4 0; 34: N5 2, N6 2 beside the kept reset bit 8.
        QTest::newRow("password write") << frame(13, 4) + bytes({12, 34}) << ack
                                        << zoneBytes({{3, 0xCF}, {4, 0x0F}, {5, 0x2F}, {6, 0xAF}});
        QTest::newRow("reset lock on") << frame(13, 127) << QByteArray() << zoneBytes({{6, 0x7F}});
        QTest::newRow("reset lock off")
            << frame(13, 127) + frame(13, 128) << QByteArray() << zoneBytes();
        QTest::newRow("language read") << frame(14, 0) << bytes({31, 3, 12, 5, 52}) << zoneBytes();
        QTest::newRow("language write") << frame(14, 5) << QByteArray() << zoneBytes({{7, 0x5F}});
        QTest::newRow("language above 7") << frame(14, 9) << QByteArray() << zoneBytes();
        QTest::newRow("wrong check byte") << bytes({17, 22, 41}) << QByteArray() << zoneBytes();
    }

    void commands()
    {
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, zone);
        ModuleEmulator module;
        prepare(module);
        QCOMPARE(exchange(module, sent), reply);
        QCOMPARE(zoneBytesOf(module), zone);
    }

    void blocks_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("write");
        QTest::addColumn<int>("read");
        QTest::newRow("bank 0") << 0 << 22 << 23;
        QTest::newRow("bank 1") << 300 << 24 << 111;
        QTest::newRow("bank 2") << 515 << 25 << 112;
        QTest::newRow("last entry") << 1019 << 26 << 113;
        QTest::newRow("intro screen 4") << 1023 << 26 << 113;
    }

    void blocks()
    {
        QFETCH(int, position);
        QFETCH(int, write);
        QFETCH(int, read);
        ModuleEmulator module;
        prepare(module);
        const QByteArray data = pattern(position % 200);
        QCOMPARE(exchange(module, frame(write, position % 256) + data), bytes({245, 245}));
        const auto stored = module.block(position);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(stored.data()), 32), data);
        QCOMPARE(module.block(position == 0 ? 1 : position - 1)[5], 255);
        QCOMPARE(exchange(module, frame(read, position % 256)), data + bytes({245}));
    }

    void otherModuleAnswersOnlyHello()
    {
        ModuleEmulator module;
        prepare(module);
        module.setDeviceCode(protocol::kDeviceCodeVersion43);
        QCOMPARE(exchange(module, frame(13, 1) + kHello + frame(111, 44)), bytes({31, 43, 75}));
    }

    void splitAndJoinedWrites_data()
    {
        QTest::addColumn<int>("chunk");
        for (int chunk : {1, 2, 4, 5, 34, 1000})
            QTest::addRow("%d bytes a call", chunk) << chunk;
    }

    void splitAndJoinedWrites()
    {
        QFETCH(int, chunk);
        const QByteArray stream =
            kHello + frame(24, 44) + pattern(70) + frame(13, 4) + bytes({1, 2}) + frame(111, 44);
        ModuleEmulator module;
        prepare(module);
        QByteArray reply;
        for (qsizetype i = 0; i < stream.size(); i += chunk)
            reply += exchange(module, stream.mid(i, chunk));
        QCOMPARE(reply, kHelloReply + bytes({245, 245, 245}) + pattern(70) + bytes({245}));
        QCOMPARE(module.passwordSecondHalf(), 2);
    }

    void closeDropsHalfReceivedData()
    {
        ModuleEmulator module;
        prepare(module);
        send(module, frame(24, 44) + pattern(70).left(9));
        module.close();
        QVERIFY(module.open(protocol::kDeviceDescription));
        QCOMPARE(module.pendingReplyBytes(), 0u);
        QCOMPARE(exchange(module, kHello), kHelloReply);
        QCOMPARE(module.block(300)[0], 3);
    }

    void faults_data()
    {
        QTest::addColumn<FaultKind>("kind");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("reply");

        const QByteArray write = frame(24, 44) + pattern(70);
        const QByteArray read = frame(111, 44);
        QTest::newRow("no reply") << FaultKind::NoReply << kHello << QByteArray();
        QTest::newRow("no acks") << FaultKind::NoReply << write << QByteArray();
        QTest::newRow("wrong start") << FaultKind::WrongByte << kHello << bytes({30, 70, 102});
        QTest::newRow("wrong acks") << FaultKind::WrongByte << write << bytes({0, 0});
        QTest::newRow("wrong data")
            << FaultKind::WrongByte << read << bytes({2}) + pattern(4).left(31) + bytes({245});
        QTest::newRow("short hello") << FaultKind::ShortReply << kHello << bytes({31, 70});
        QTest::newRow("short acks") << FaultKind::ShortReply << write << QByteArray();
        QTest::newRow("short data") << FaultKind::ShortReply << frame(13, 1) << zoneBytes();
        QTest::newRow("bad check")
            << FaultKind::BadCheckByte << frame(14, 0) << bytes({31, 3, 12, 5, 51});
        QTest::newRow("bad end byte") << FaultKind::BadCheckByte << read << pattern(3) + bytes({0});
    }

    void faults()
    {
        QFETCH(FaultKind, kind);
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, reply);
        ModuleEmulator module;
        prepare(module);
        module.injectFault(kind, 0, 1);
        QCOMPARE(exchange(module, sent), reply);
        QCOMPARE(exchange(module, kHello), kHelloReply);
    }

    void faultWindow_data()
    {
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("times");
        QTest::addColumn<QString>("answered"); // per hello: 'y' answered, '-' silent
        QTest::newRow("from the next on") << 0 << -1 << "-----";
        QTest::newRow("from the third on") << 2 << -1 << "yy---";
        QTest::newRow("two from the second") << 1 << 2 << "y--yy";
    }

    void faultWindow()
    {
        QFETCH(int, after);
        QFETCH(int, times);
        QFETCH(QString, answered);
        ModuleEmulator module;
        prepare(module);
        exchange(module, kHello);
        module.injectFault(FaultKind::NoReply, after, times);
        QString seen;
        // The frames that do not check are not exchanges, so they do not use up the window.
        for (int i = 0; i < answered.size(); ++i)
            seen += exchange(module, kHello + bytes({17, 22, 0})).isEmpty() ? u'-' : u'y';
        QCOMPARE(seen, answered);
        module.clearFaults();
        QCOMPARE(exchange(module, kHello), kHelloReply);
    }

    void openFailures_data()
    {
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<bool>("alreadyOpen");
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<bool>("opens");
        QTest::newRow("cable") << true << false << QByteArray("VELKOR") << true;
        QTest::newRow("unplugged") << false << false << QByteArray("VELKOR") << false;
        QTest::newRow("already open") << true << true << QByteArray("VELKOR") << false;
        QTest::newRow("other description") << true << false << QByteArray("velkor") << false;
    }

    void openFailures()
    {
        QFETCH(bool, plugged);
        QFETCH(bool, alreadyOpen);
        QFETCH(QByteArray, description);
        QFETCH(bool, opens);
        ModuleEmulator module;
        if (alreadyOpen)
            QVERIFY(module.open("VELKOR"));
        module.setPlugged(plugged);
        QCOMPARE(module.open(description), opens);
        QCOMPARE(module.isOpen(), opens || alreadyOpen);
        const TranscriptEntry last = module.transcript().back();
        QVERIFY((last == TranscriptEntry{opens ? Kind::Open : Kind::OpenFailed, description}));
    }

    void transcriptRecordsBothDirections()
    {
        ModuleEmulator module;
        q540::sim::VirtualClock clock;
        q540::sim::EmulatedLink link(module, clock);
        std::array<std::uint8_t, 8> buffer{};
        const std::array<std::uint8_t, 3> hello{17, 22, 40};
        QVERIFY(link.open());
        link.setBaudRate(9600);
        link.setTimeouts(300, 250);
        link.write(std::span(hello).first(2));
        link.write(std::span(hello).last(1));
        link.read(std::span(buffer).first(2));
        link.read(buffer);
        link.read(buffer);
        link.close();
        link.write(hello);

        const std::vector<TranscriptEntry> expected{
            {Kind::Open, "VELKOR"},         {Kind::BaudRate, {}, 9600},
            {Kind::Timeouts, {}, 300, 250}, {Kind::HostToModule, bytes({17, 22})},
            {Kind::HostToModule, "\x28"},   {Kind::ModuleToHost, bytes({31, 70})},
            {Kind::ModuleToHost, "\x66"},   {Kind::Close, {}},
        };
        QVERIFY(module.transcript() == expected);
        QCOMPARE(module.sentBytes(), kHello);
        QCOMPARE(module.receivedBytes(), kHelloReply);
    }

    void settersUseTheNibbleLayout()
    {
        ModuleEmulator module;
        prepare(module);
        module.setEntryCount(20); // count field 19: nibbles 3, 1, 0
        module.setVariantDigit(2);
        module.setAlphabeticalSearch(false);
        module.setResetAllowed(false);
        QCOMPARE(zoneBytesOf(module),
                 zoneBytes({{0, 0x3F}, {1, 0x1F}, {2, 0x0F}, {6, 0x7F}, {9, 0x2F}, {12, 0x7F}}));
        QCOMPARE(module.entryCount(), 20);
    }
};

QTEST_GUILESS_MAIN(TestSimEmulator)
#include "tst_sim_emulator.moc"
