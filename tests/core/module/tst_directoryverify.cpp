// Verify after write: the configuration and every position read back and
// compared with what was sent, each difference named field by field, and
// written again.

#include "TransferFixture.h"
#include "module/DirectoryVerify.h"

#include <QTest>

using namespace q540;

namespace {

std::vector<NameRow> kowalskiRows(int count)
{
    // Zones 1..4 in turn, then the additional numbers from the seventeenth.
    std::vector<NameRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(test::entry(QStringLiteral("Kowalski %1").arg(i), {}, i / 5 + 1,
                                   i < 16 ? i % 4 + 1 : 5));
    return rows;
}

} // namespace

class DirectoryVerifyTest : public QObject {
    Q_OBJECT

private slots:
    void verify_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("corrupt"); // the position the module keeps wrongly; -1 none
        QTest::addColumn<int>("bit");     // the configuration bit it keeps wrongly; -1 none
        QTest::addColumn<QStringList>("differences");
        QTest::newRow("clean write") << 1 << 20 << -1 << -1 << QStringList();
        QTest::newRow("one block kept wrongly")
            << 1 << 20 << 5 << -1
            << QStringList{"zone 2, apartment 2: written \u201cKowalski 5\u201d, the module holds "
                           "\u201cJowalski 5\u201d"};
        QTest::newRow("the first block, in Polish")
            << 0 << 20 << 0 << -1
            << QStringList{"strefa 1, lokal 1: zapisano „Kowalski 0”, moduł ma „Jowalski 0”"};
        QTest::newRow("an additional number, in German")
            << 2 << 20 << 19 << -1
            << QStringList{"Zusatznummer 4: geschrieben \u201eKowalski 19\u201c, das Modul hält "
                           "\u201eJowalski 19\u201c"};
        // Fewer than sixteen entries: the configuration also goes on its own.
        QTest::newRow("5 entries, the count")
            << 1 << 5 << -1 << 0 << QStringList{"entry count: written 5, the module holds 6"};
        QTest::newRow("5 entries, the password: no lock-out, named")
            << 1 << 5 << -1 << 12
            << QStringList{"installer password: written 1234, the module holds 1334"};
        QTest::newRow("5 entries, the reset lock")
            << 1 << 5 << -1 << 27 << QStringList{"reset lock: written off, the module holds on"};
        QTest::newRow("5 entries, the language, in Polish")
            << 0 << 5 << -1 << 28 << QStringList{"język modułu: zapisano 1 PL, moduł ma 0"};
        QTest::newRow("5 entries, the display time")
            << 1 << 5 << -1 << 44 << QStringList{"display time: written 5, the module holds 4"};
        QTest::newRow("5 entries, the alphabetical search")
            << 1 << 5 << -1 << 51
            << QStringList{"alphabetical search: written on, the module holds off"};
        // Sixteen or more: the nibble travels in an entry's block, and is
        // named as the setting, not as an entry that differs in nothing.
        QTest::newRow("20 entries, the count in block 0")
            << 1 << 20 << -1 << 0 << QStringList{"entry count: written 20, the module holds 19"};
    }

    void verify()
    {
        QFETCH(int, language);
        QFETCH(int, entries);
        QFETCH(int, corrupt);
        QFETCH(int, bit);
        QFETCH(QStringList, differences);
        test::TransferFixture f(language);
        const std::vector<NameRow> rows = kowalskiRows(entries);
        f.module.corruptStoredBlock(corrupt);
        f.module.corruptStoredConfigurationBit(bit);
        WrittenDirectory written;
        QVERIFY(sendDirectory(f.context, rows, f.password, f.status, {{}, &written}).isDone());
        QCOMPARE(written.blocks.size(), rows.size());

        const VerifyResult verified = verifyDirectory(f.context, written, f.password, f.status);
        QCOMPARE(verified.outcome, Outcome::done());
        QCOMPARE(differenceLines(verified, language), differences);
        QVERIFY(f.endedCleanly() || !f.module.isOpen());
        if (differences.isEmpty())
            return;

        // Written again where the module keeps its memory well, it holds what
        // was sent, and only what differed went over the cable again.
        f.module.corruptStoredBlock(-1);
        f.module.corruptStoredConfigurationBit(-1);
        f.module.clearTranscript();
        QCOMPARE(writeAgain(f.context, written, verified, f.password, f.status).outcome,
                 Outcome::done());
        const QByteArray sent = f.module.sentBytes();
        if (corrupt >= 0) {
            QVERIFY(sent.contains(test::bytes(protocol::blockWriteFrame(corrupt))));
            QCOMPARE(f.module.block(corrupt), written.blocks[std::size_t(corrupt)]);
        }
        QCOMPARE(sent.contains(test::bytes(protocol::frame(protocol::kWriteConfiguration))),
                 bit >= 0);
        QVERIFY(verifyDirectory(f.context, written, f.password, f.status).matches());
    }

    // What a block that differs in more than its text is named by.
    void differenceNamesEveryField_data()
    {
        QTest::addColumn<int>("apartment"); // held
        QTest::addColumn<int>("zoneByte");  // held
        QTest::addColumn<QString>("text");  // held
        QTest::addColumn<QString>("line");
        QTest::newRow("the apartment number")
            << 3 << 0 << "Dozorca 2"
            << "zone 1, apartment 2: apartment number: written 2, the module holds 3";
        QTest::newRow("the zone") << 2 << 1 << "Dozorca 2"
                                  << "zone 1, apartment 2: zone: written 1, the module holds 2";
        QTest::newRow("text and zone")
            << 2 << 3 << "Dozorca 3"
            << "zone 1, apartment 2: text: written \u201cDozorca 2\u201d, the module holds "
               "\u201cDozorca 3\u201d; zone: written 1, the module holds 4";
    }
    void differenceNamesEveryField()
    {
        QFETCH(int, apartment);
        QFETCH(int, zoneByte);
        QFETCH(QString, text);
        QFETCH(QString, line);
        BlockDifference d;
        const QByteArray written = test::asciiText(QStringLiteral("Dozorca 2"), 30);
        const QByteArray held = test::asciiText(text, 30);
        std::copy(written.begin(), written.end(), d.written.begin());
        std::copy(held.begin(), held.end(), d.held.begin());
        d.written[protocol::kApartmentByte] = 2;
        d.held[protocol::kApartmentByte] = protocol::Byte(apartment);
        d.held[protocol::kZoneByte] = protocol::Byte(zoneByte);
        QCOMPARE(differenceText(d, 1), line);
    }
};

QTEST_GUILESS_MAIN(DirectoryVerifyTest)
#include "tst_directoryverify.moc"
