// Verify after write: every position read back and compared with what was
// sent, a block the module keeps wrongly named, and written again.

#include "TransferFixture.h"
#include "module/DirectoryVerify.h"

#include <QTest>

using namespace q540;

class DirectoryVerifyTest : public QObject {
    Q_OBJECT

private slots:
    void verify_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("corrupt"); // the position the module keeps wrongly; -1 none
        QTest::addColumn<QStringList>("differences");
        QTest::addColumn<QString>("message");
        QTest::newRow("clean write")
            << 1 << -1 << QStringList() << "Verified: the module holds all 20 entries as written.";
        QTest::newRow("one block kept wrongly")
            << 1 << 5
            << QStringList{"zone 2, apartment 2: written \u201cKowalski 5\u201d, the module holds "
                           "\u201cJowalski 5\u201d"}
            << "1 of 20 entries in the module differ from what was written.";
        QTest::newRow("the first block, in Polish")
            << 0 << 0
            << QStringList{"strefa 1, lokal 1: zapisano „Kowalski 0”, moduł ma „Jowalski 0”"}
            << "1 z 20 wpisów w module różni się od zapisanych.";
        QTest::newRow("an additional number, in German")
            << 2 << 19
            << QStringList{"Zusatznummer 4: geschrieben \u201eKowalski 19\u201c, das Modul hält "
                           "\u201eJowalski 19\u201c"}
            << "1 von 20 Einträgen im Modul weichen vom Geschriebenen ab.";
    }

    void verify()
    {
        QFETCH(int, language);
        QFETCH(int, corrupt);
        QFETCH(QStringList, differences);
        QFETCH(QString, message);
        test::TransferFixture f(language);
        // Zones 1..4 in turn, then the additional numbers: 20 entries.
        std::vector<NameRow> rows;
        for (int i = 0; i < 20; ++i)
            rows.push_back(test::entry(QStringLiteral("Kowalski %1").arg(i), {}, i / 5 + 1,
                                       i < 16 ? i % 4 + 1 : 5));
        f.module.corruptStoredBlock(corrupt);
        WrittenBlocks written;
        QVERIFY(Button0Click(f.context, rows, f.password, f.status, {{}, &written}).isDone());
        QCOMPARE(written.size(), rows.size());

        f.sink.messages.clear();
        const VerifyResult verified = verifyDirectory(f.context, written, f.password, f.status);
        QCOMPARE(verified.outcome, Outcome::done());
        QStringList found;
        for (const BlockDifference& d : verified.differences)
            found << differenceText(d, language);
        QCOMPARE(found, differences);
        QCOMPARE(f.sink.messages, QStringList{message});
        QVERIFY(!f.module.isOpen());
        if (differences.isEmpty())
            return;

        // Written again where the module keeps blocks well, the module now
        // holds what was sent, and only that position went over the cable.
        f.module.corruptStoredBlock(-1);
        f.module.clearTranscript();
        QCOMPARE(writeAgain(f.context, verified.differences, f.password, f.status),
                 Outcome::done());
        QVERIFY(f.module.sentBytes().contains(test::bytes(protocol::blockWriteFrame(corrupt))));
        QCOMPARE(f.module.block(corrupt), written[std::size_t(corrupt)]);
        QVERIFY(verifyDirectory(f.context, written, f.password, f.status).differences.empty());
    }
};

QTEST_GUILESS_MAIN(DirectoryVerifyTest)
#include "tst_directoryverify.moc"
