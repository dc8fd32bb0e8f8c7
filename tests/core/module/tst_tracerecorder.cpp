// The traces a window keeps for a support report: one a connection, the
// poll's repeats counted, the last twenty kept, and the directory's text
// masked in every operation that carries names.

#include "TransferFixture.h"
#include "device/TraceRecorder.h"
#include "module/DirectoryRead.h"
#include "module/DirectoryWrite.h"
#include "module/Identification.h"
#include "module/IntroTransfer.h"

#include <QTest>

using namespace q540;

namespace {

// "KOWALSKI" as it goes over the cable, in the trace's hex.
const QString kNameHex = QStringLiteral("4B 4F 57 41 4C 53 4B 49");

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
    }

    void maskingTable()
    {
        QFETCH(QString, line);
        QFETCH(QString, masked);
        QCOMPARE(maskDirectoryText(line), masked);
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
