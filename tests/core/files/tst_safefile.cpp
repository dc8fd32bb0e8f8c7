#include "files/History.h"
#include "files/SafeFile.h"
#include "files/SettingsFile.h"
#include "support/FileSizeLimit.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace q540;

namespace {

// What stands at the path before the command.
enum class Before { Nothing, OldFile, Folder, Fifo, MissingFolder };

const QByteArray kOld = "the installer's old file";

QString prepare(const QTemporaryDir& dir, Before before)
{
    const QString path = dir.filePath(QStringLiteral("target.csv"));
    switch (before) {
    case Before::Nothing:
        break;
    case Before::OldFile: {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(kOld);
        break;
    }
    case Before::Folder:
        QDir(dir.path()).mkdir(QStringLiteral("target.csv"));
        break;
    case Before::Fifo:
        mkfifo(QFile::encodeName(path).constData(), 0600);
        break;
    case Before::MissingFolder:
        return dir.filePath(QStringLiteral("missing/target.csv"));
    }
    return path;
}

} // namespace

class SafeFileTest : public QObject {
    Q_OBJECT

private slots:
    // Each row: what is at the path, the size limit of files (0: none), the
    // failure expected (none: saved).
    void save_data()
    {
        QTest::addColumn<Before>("before");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("failure"); // -1 saved, else FileFailure::Kind
        const int failed = int(FileFailure::Kind::Failed);
        const int other = int(FileFailure::Kind::NotRegular);
        QTest::newRow("new file") << Before::Nothing << 0 << -1;
        QTest::newRow("over an old file") << Before::OldFile << 0 << -1;
        QTest::newRow("disk full over an old file") << Before::OldFile << 1000 << failed;
        QTest::newRow("disk full, no file yet") << Before::Nothing << 1000 << failed;
        QTest::newRow("a folder") << Before::Folder << 0 << other;
        QTest::newRow("a pipe") << Before::Fifo << 0 << other;
        QTest::newRow("missing folder") << Before::MissingFolder << 0 << failed;
    }

    void save()
    {
        QFETCH(Before, before);
        QFETCH(int, limit);
        QFETCH(int, failure);
        QTemporaryDir dir;
        const QString path = prepare(dir, before);
        // Smaller than Qt's write buffer: a buffered save fails only at its flush.
        const QByteArray bytes(5000, 'x');
        std::optional<FileFailure> result;
        {
            std::optional<test::FileSizeLimit> full;
            if (limit > 0)
                full.emplace(rlim_t(limit));
            result = saveFileSafely(path, bytes);
        }
        const QFileInfo after(path);
        if (failure < 0) {
            QVERIFY2(!result, result ? qPrintable(result->reason) : "");
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), bytes);
        } else {
            QVERIFY(result);
            QCOMPARE(int(result->kind), failure);
            QVERIFY(!result->reason.isEmpty());
            if (before == Before::OldFile) {
                QFile file(path);
                QVERIFY(file.open(QIODevice::ReadOnly));
                QCOMPARE(file.readAll(), kOld);
            }
            QCOMPARE(after.exists(), before != Before::Nothing && before != Before::MissingFolder);
            if (before == Before::Fifo)
                QVERIFY(!after.isFile());
        }
        // No temporary file is left behind, whatever happened.
        const QStringList left =
            QDir(dir.path())
                .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System | QDir::Hidden);
        const bool stood =
            before == Before::OldFile || before == Before::Folder || before == Before::Fifo;
        QCOMPARE(left.size(), stood || (before == Before::Nothing && failure < 0) ? 1 : 0);
    }

    // What the program keeps on its own is its owner's only from creation,
    // with every folder level it makes, whatever the umask; a folder that was
    // there stays as it was, and a file the user names follows the umask.
    void keptFilesAreOwnerOnly_data()
    {
        QTest::addColumn<QString>("keeper");
        QTest::addColumn<int>("umask");
        QTest::addColumn<QStringList>("modes"); // "path mode"; "@" is the kept file
        const QStringList history{"data 755", "data/q540 700", "data/q540/history 700", "@ 600"};
        QTest::newRow("history copy") << "history" << 022 << history;
        QTest::newRow("history, strict umask") << "history" << 0377 << history;
        QTest::newRow("settings file")
            << "settings" << 022 << QStringList{"config 700", "config/q540 700", "@ 600"};
        QTest::newRow("settings over a shared one")
            << "shared settings" << 022 << QStringList{"data 755", "@ 600"};
        QTest::newRow("a file the user names") << "user" << 022 << QStringList{"@ 644"};
    }

    void keptFilesAreOwnerOnly()
    {
        QFETCH(QString, keeper);
        QFETCH(int, umask);
        QFETCH(QStringList, modes);
        QTemporaryDir dir;
        const QDir root(dir.path());
        const mode_t old = ::umask(022);
        QVERIFY(root.mkdir(QStringLiteral("data")));
        QFile shared(root.filePath(QStringLiteral("data/Q540.ini")));
        if (keeper == u"shared settings") {
            QVERIFY(shared.open(QIODevice::WriteOnly));
            shared.write("[Q540]\nJezyk=0\n");
            shared.close();
        }
        ::umask(mode_t(umask));
        QString kept;
        if (keeper == u"history") {
            kept = History(root.filePath(QStringLiteral("data/q540/history")))
                       .keep({}, HistoryOperation::Read, 3, QDateTime::currentDateTime())
                       .path.value_or(QString());
        } else if (keeper == u"user") {
            kept = root.filePath(QStringLiteral("data/list.csv"));
            QVERIFY(!saveFileSafely(kept, "x"));
        } else {
            kept = keeper == u"settings" ? root.filePath(QStringLiteral("config/q540/Q540.ini"))
                                         : shared.fileName();
            QVERIFY(!SettingsFile(kept).writeJezyk(2));
            QCOMPARE(SettingsFile(kept).readJezyk(), 2);
        }
        ::umask(old);
        QVERIFY(QFileInfo(kept).isFile());
        for (const QString& expected : modes) {
            const QString name = expected.section(u' ', 0, 0);
            const QString path = name == u"@" ? kept : root.filePath(name);
            QCOMPARE(QStringLiteral("%1 %2").arg(name).arg(test::modeOf(path), 0, 8), expected);
        }
    }

    void read_data()
    {
        QTest::addColumn<QString>("path"); // "@" is the test's folder
        QTest::addColumn<int>("failure");  // -1 read, else FileFailure::Kind
        const int failed = int(FileFailure::Kind::Failed);
        const int other = int(FileFailure::Kind::NotRegular);
        QTest::newRow("file") << "@/file" << -1;
        QTest::newRow("pipe without a writer") << "@/fifo" << other;
        QTest::newRow("folder") << "@" << other;
        QTest::newRow("device") << "/dev/null" << other;
        QTest::newRow("missing") << "@/none" << failed;
    }

    void read()
    {
        QFETCH(QString, path);
        QFETCH(int, failure);
        QTemporaryDir dir;
        path.replace(u'@', dir.path());
        QFile file(dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("0123456789");
        file.close();
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600),
                 0);
        QElapsedTimer timer;
        timer.start();
        const FileRead result = readWholeFile(path, 4);
        QVERIFY(timer.elapsed() < 1000);
        if (failure < 0) {
            QVERIFY(result.bytes);
            QCOMPARE(*result.bytes, QByteArray("01234")); // the limit and one byte more
        } else {
            QVERIFY(!result.bytes);
            QCOMPARE(int(result.failure.kind), failure);
            QVERIFY(!result.failure.reason.isEmpty());
        }
    }

    void checkCanSaveLeavesNothing_data()
    {
        QTest::addColumn<Before>("before");
        QTest::addColumn<bool>("can");
        QTest::newRow("new file") << Before::Nothing << true;
        QTest::newRow("old file") << Before::OldFile << true;
        QTest::newRow("pipe") << Before::Fifo << false;
        QTest::newRow("folder") << Before::Folder << false;
        QTest::newRow("missing folder") << Before::MissingFolder << false;
    }

    void checkCanSaveLeavesNothing()
    {
        QFETCH(Before, before);
        QFETCH(bool, can);
        QTemporaryDir dir;
        const QString path = prepare(dir, before);
        const QStringList entries =
            QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System);
        QCOMPARE(!checkCanSave(path), can);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System),
                 entries);
        if (before == Before::OldFile) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), kOld);
        }
    }
};

QTEST_GUILESS_MAIN(SafeFileTest)
#include "tst_safefile.moc"
