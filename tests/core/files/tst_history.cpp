// The history of module reads and writes: names, pruning on a set clock,
// the module's last read, and a folder that takes no file.

#include "files/DirectoryStore.h"
#include "files/History.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingSink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace q540;

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(6, 1, 32));

DirectoryDocument sample(int entries)
{
    DirectoryDocument d;
    for (int row = 1; row <= entries; ++row)
        d.grid.setCell(row, 1, Cell(u'A'));
    d.fields.intro[0] = QStringLiteral("Witamy");
    d.fields.timeIndex = 6;
    d.fields.moduleLanguage = 5;
    return d;
}

// An empty file under a history name, made the given days and minutes ago.
void plant(const QDir& folder, int daysAgo, int minute)
{
    const QDateTime when = kNow.addDays(-daysAgo).addSecs(-60 * minute);
    QFile file(folder.filePath(when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"))
                               + QStringLiteral("_read_K1_5.csv")));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    // Kept through the safe save, the file opens to the same directory.
    void keptFileOpensAgain_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("name");
        QTest::newRow("read") << int(HistoryOperation::Read) << 1020
                              << "2026-12-10_06-01-32_read_K3_1020.csv";
        QTest::newRow("write") << int(HistoryOperation::Write) << 7
                               << "2026-12-10_06-01-32_write_K3_7.csv";
        QTest::newRow("an empty module")
            << int(HistoryOperation::Read) << 0 << "2026-12-10_06-01-32_read_K3_0.csv";
    }
    void keptFileOpensAgain()
    {
        QFETCH(int, operation);
        QFETCH(int, entries);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const History history(dir.filePath(QStringLiteral("deep/history")));
        const DirectoryDocument document = sample(entries);
        const auto op = HistoryOperation(operation);
        const History::Kept kept = history.keep(document, op, 3, kNow);
        QVERIFY(!kept.failure);
        QCOMPARE(QFileInfo(*kept.path).fileName(), name);
        QCOMPARE(loadDirectoryFile(*kept.path).document, document);
        // The same second again: a second file, not the first replaced.
        const History::Kept again = history.keep(document, op, 3, kNow);
        QCOMPARE(QFileInfo(*again.path).fileName(), QString(name).replace(".csv", "_2.csv"));
        const std::vector<HistoryEntry> listed = history.entries();
        QCOMPARE(listed.size(), std::size_t(2));
        QCOMPARE(listed[0].when, kNow);
        QCOMPARE(listed[0].operation, op);
        QCOMPARE(listed[0].moduleVariant, 3);
        QCOMPARE(listed[0].entries, entries);
    }

    // Newest 500 kept, and nothing younger than 30 days removed; files of
    // other names are not the history's to remove.
    void prune_data()
    {
        QTest::addColumn<int>("recent"); // files of the last 29 days
        QTest::addColumn<int>("old");    // files of 31 days and more
        QTest::addColumn<int>("left");
        QTest::newRow("fewer than 500") << 10 << 300 << 310;
        QTest::newRow("500 and one old") << 400 << 101 << 500;
        QTest::newRow("all young, over 500") << 520 << 0 << 520;
        QTest::newRow("young over 500, old all go") << 510 << 40 << 510;
    }
    void prune()
    {
        QFETCH(int, recent);
        QFETCH(int, old);
        QFETCH(int, left);
        QTemporaryDir dir;
        const QDir folder(dir.path());
        for (int i = 0; i < recent; ++i)
            plant(folder, i % 29, i);
        for (int i = 0; i < old; ++i)
            plant(folder, 31 + i % 300, i);
        QFile other(folder.filePath(QStringLiteral("notes.csv")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        const History history(dir.path());
        const std::vector<QString> removed = history.prune(kNow);
        QCOMPARE(int(removed.size()), recent + old - left);
        const std::vector<HistoryEntry> kept = history.entries();
        QCOMPARE(int(kept.size()), left);
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("notes.csv"))));
        for (const QString& path : removed)
            QVERIFY(!QFile::exists(path));
        // Every young file stays.
        const QDateTime young = kNow.addDays(-History::kKeepDays);
        QCOMPARE(std::count_if(kept.begin(), kept.end(),
                               [&](const HistoryEntry& e) { return e.when >= young; }),
                 recent);
    }

    // The one copy a write may compare the module with: the newest of its
    // module, a read or a write, of any count; names of other kinds count too.
    void newestOf_data()
    {
        QTest::addColumn<QStringList>("names"); // oldest first
        QTest::addColumn<QString>("newest");    // empty: none
        QTest::newRow("nothing kept") << QStringList() << QString();
        QTest::newRow("a read") << QStringList{"2026-12-10_06-00-00_read_K1_5.csv"}
                                << "2026-12-10_06-00-00_read_K1_5.csv";
        QTest::newRow("read, then written") << QStringList{"2026-12-10_06-00-00_read_K1_5.csv",
                                                           "2026-12-10_06-01-00_write_K1_6.csv"}
                                            << "2026-12-10_06-01-00_write_K1_6.csv";
        QTest::newRow("a checked read") << QStringList{"2026-12-10_06-00-00_write_K1_5.csv",
                                                       "2026-12-10_06-02-00_read-checked_K1_7.csv"}
                                        << "2026-12-10_06-02-00_read-checked_K1_7.csv";
        QTest::newRow("another module since") << QStringList{"2026-12-10_06-00-00_read_K1_5.csv",
                                                             "2026-12-10_06-01-00_write_K2_9.csv"}
                                              << "2026-12-10_06-00-00_read_K1_5.csv";
    }
    void newestOf()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, newest);
        QTemporaryDir dir;
        for (const QString& name : names) {
            QFile file(QDir(dir.path()).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const std::optional<HistoryEntry> found = History(dir.path()).newestOf(1);
        QCOMPARE(found ? QFileInfo(found->path).fileName() : QString(), newest);
    }

    // A full disk or a folder that takes no file: the notice, no file left
    // half written, and nothing else happens.
    void failureGivesANotice_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::newRow("full disk") << true;
        QTest::newRow("a file where the folder should be") << false;
    }
    void failureGivesANotice()
    {
        QFETCH(bool, fullDisk);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("history"));
        if (!fullDisk) {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        test::RecordingSink sink;
        {
            std::optional<test::FileSizeLimit> full;
            if (fullDisk)
                full.emplace(rlim_t(1000));
            keepInHistory(History(folder), sample(1020), HistoryOperation::Read, 1, kNow, sink, 1);
        }
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages[0].startsWith(
            "The transfer succeeded, but no copy was kept in the history: "));
        if (fullDisk)
            QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"
