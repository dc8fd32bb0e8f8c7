#include "TransferFixture.h"

#include "module/DirectoryRead.h"
#include "module/DirectoryWrite.h"
#include "module/IntroTransfer.h"
#include "module/ModuleSettings.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>

using namespace q540;
using namespace q540::test;

// Every byte of each module operation in both directions, every open, close,
// baud rate and timeout, each with the virtual time at which it reached the
// module, against a transcript kept in tests/data/transcripts. Any pause or
// timeout that is removed, shortened, lengthened or swapped changes a line.
//
// After a deliberate change of an operation, Q540_WRITE_TRANSCRIPTS=1 writes
// the files anew; the diff is then read line by line before it is committed.

namespace {

using Operation = std::function<void(TransferFixture&)>;

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString transcriptText(const TransferFixture& f, std::int64_t startMs)
{
    using Kind = sim::TranscriptEntry::Kind;
    QString text;
    for (const sim::TranscriptEntry& e : f.module.transcript()) {
        text += QStringLiteral("%1 ").arg(e.atMs - startMs, 6);
        switch (e.kind) {
        case Kind::Open:
            text += QStringLiteral("open");
            break;
        case Kind::OpenFailed:
            text += QStringLiteral("open failed");
            break;
        case Kind::Close:
            text += QStringLiteral("close");
            break;
        case Kind::BaudRate:
            text += QStringLiteral("baud %1").arg(e.first);
            break;
        case Kind::Timeouts:
            text += QStringLiteral("timeouts %1 %2").arg(e.first).arg(e.second);
            break;
        case Kind::HostToModule:
            text += QStringLiteral("> ") + hex(e.bytes);
            break;
        case Kind::ModuleToHost:
            text += QStringLiteral("< ") + hex(e.bytes);
            break;
        }
        text += u'\n';
    }
    for (const QString& message : f.sink.messages)
        text += QStringLiteral("message: ") + message + u'\n';
    text += QStringLiteral("ends at %1 ms\n").arg(f.clock.nowMs() - startMs);
    return text;
}

// A module holding three entries and four intro screens.
void fillModule(TransferFixture& f)
{
    const std::vector<NameRow> rows{entry("Adamski", "Jan", 2, 1), entry("Baran", "", 9, 2),
                                    entry("Cedro", "m. 5", 3, 5)};
    for (int p = 0; p < int(rows.size()); ++p) {
        const NameRow& row = rows[std::size_t(p)];
        f.setBlock(p, row.text.toLatin1() + char(row.apartment) + char(row.zone - 1));
    }
    f.module.setEntryCount(3);
    for (int screen = 0; screen < 4; ++screen)
        f.setBlock(1020 + screen, asciiText(QStringLiteral("Ekran %1").arg(screen + 1), 32));
    f.module.setIntroTime(7);
}

} // namespace

Q_DECLARE_METATYPE(Operation)

class GoldenTranscriptsTest : public QObject {
    Q_OBJECT

private slots:
    void operation_data()
    {
        QTest::addColumn<Operation>("operation");
        const std::vector<NameRow> rows{entry("Nowak", "Jan", 1, 1), entry("Zielinski", "", 7, 3),
                                        entry("Portier", "", 2, 5)};
        QTest::newRow("identification") << Operation([](TransferFixture& f) {
            ModuleStatus fresh;
            identifyAndApply(fresh, f.link, f.clock, f.password, f.texts, f.sink);
        });
        QTest::newRow("directory-write") << Operation([rows](TransferFixture& f) {
            f.status.introTimeIndex = 3;
            sendDirectory(f.context, rows, f.password, f.status);
        });
        QTest::newRow("erase") << Operation(
            [](TransferFixture& f) { sendDirectory(f.context, {}, f.password, f.status); });
        QTest::newRow("directory-read") << Operation([](TransferFixture& f) {
            receiveDirectory(f.context, DirectoryGrid(), f.password, f.status);
        });
        QTest::newRow("intro-read") << Operation(
            [](TransferFixture& f) { receiveIntro(f.context, IntroLines{}, f.status); });
        QTest::newRow("intro-write") << Operation([](TransferFixture& f) {
            f.status.introTimeIndex = 9;
            sendIntro(f.context, IntroLines{"Witamy", "", "Rynek 5"}, f.status);
        });
        QTest::newRow("password-store") << Operation([](TransferFixture& f) {
            storePassword(f.link, f.clock, QStringLiteral("4321"), f.sink, f.texts);
        });
        QTest::newRow("language-read") << Operation(
            [](TransferFixture& f) { readModuleLanguage(f.link, f.clock, f.sink, f.texts); });
        QTest::newRow("language-write") << Operation(
            [](TransferFixture& f) { writeModuleLanguage(f.link, f.clock, 5, f.sink, f.texts); });
        QTest::newRow("reset-lock-on") << Operation(
            [](TransferFixture& f) { sendResetLock(f.link, true, true, true, f.sink, f.texts); });
        QTest::newRow("reset-lock-off") << Operation(
            [](TransferFixture& f) { sendResetLock(f.link, true, true, false, f.sink, f.texts); });
    }

    void operation()
    {
        QFETCH(Operation, operation);
        TransferFixture f;
        fillModule(f);
        f.module.setClock(&f.clock);
        const std::int64_t start = f.clock.nowMs();
        operation(f);
        const QString actual = transcriptText(f, start);

        const QString path = QStringLiteral(Q540_TRANSCRIPTS_DIR "/%1.txt")
                                 .arg(QString::fromLatin1(QTest::currentDataTag()));
        QFile file(path);
        if (qEnvironmentVariableIsSet("Q540_WRITE_TRANSCRIPTS")) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(actual.toUtf8());
            return;
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        QCOMPARE(actual, QString::fromUtf8(file.readAll()));
    }
};

QTEST_GUILESS_MAIN(GoldenTranscriptsTest)
#include "tst_goldentranscripts.moc"
