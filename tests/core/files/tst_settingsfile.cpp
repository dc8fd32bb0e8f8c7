#include "files/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace q540;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    // A null file means that no file exists.
    void read_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("expected");
        const auto row = [](const char* name, const char* file, int expected) {
            QTest::newRow(name) << (file ? QByteArray(file) : QByteArray()) << expected;
        };
        row("no file", nullptr, 1);
        row("hex 0", "[Q540]\r\nJezyk=0x0\r\n", 0);
        row("hex 2", "[Q540]\r\nJezyk=0x2\r\n", 2);
        row("hex upper X", "[Q540]\r\nJezyk=0X02\r\n", 2);
        row("decimal 2, LF, no last break", "[Q540]\nJezyk=2", 2);
        row("3", "[Q540]\nJezyk=3\n", 1);
        row("4", "[Q540]\nJezyk=4\n", 1);
        row("5", "[Q540]\nJezyk=5\n", 1);
        row("-1", "[Q540]\nJezyk=-1\n", 1);
        row("7", "[Q540]\nJezyk=7\n", 1);
        row("hex 3", "[Q540]\nJezyk=0x3\n", 1);
        row("2 past 32 bits", "[Q540]\nJezyk=4294967298\n", 1);
        row("hex 2 past 32 bits", "[Q540]\nJezyk=0x100000002\n", 1);
        row("word", "[Q540]\nJezyk=German\n", 1);
        row("empty", "[Q540]\nJezyk=\n", 1);
        row("trailing letter", "[Q540]\nJezyk=2a\n", 1);
        row("bare 0x", "[Q540]\nJezyk=0x\n", 1);
        row("double prefix", "[Q540]\nJezyk=0x0x2\n", 1);
        row("signed hex", "[Q540]\nJezyk=-0x2\n", 1);
        row("spaces and tabs", "  [Q540]  \r\n\tJezyk \t=  2 \t\r\n", 2);
        row("quoted", "[Q540]\nJezyk=\"2\"\n", 2);
        row("names in other case", "[q540]\nJEZYK=2\n", 2);
        row("UTF-8 mark", "\xEF\xBB\xBF[Q540]\r\nJezyk=2\r\n", 2);
        row("other section", "[Other]\nJezyk=2\n", 1);
        row("before every section", "Jezyk=2\n[Q540]\n", 1);
        row("in the next section", "[Q540]\nA=1\n[Other]\nJezyk=2\n", 1);
        row("longer key", "[Q540]\nJezyk2=2\n", 1);
        row("commented out", "[Q540]\n;Jezyk=2\n", 1);
        row("first one counts", "[Q540]\nJezyk=2\nJezyk=0\n", 2);
        row("first section counts", "[Q540]\nA=1\n[Q540]\nJezyk=2\n", 1);
    }
    void read()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("Q540.ini");
        if (!file.isNull())
            writeBytes(path, file);
        QCOMPARE(SettingsFile(path).readJezyk(), expected);
        QCOMPARE(QFile::exists(path), !file.isNull());
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("after");
        const auto row = [](const char* name, const char* before, int value, const char* after) {
            QTest::newRow(name) << (before ? QByteArray(before) : QByteArray()) << value
                                << QByteArray(after);
        };
        row("no file", nullptr, 2, "[Q540]\r\nJezyk=2\r\n");
        row("empty file", "", 0, "[Q540]\r\nJezyk=0\r\n");
        row("no section", "; notes\r\n[Other]\r\nA=1\r\n", 2,
            "; notes\r\n[Other]\r\nA=1\r\n[Q540]\r\nJezyk=2\r\n");
        row("no section, LF, no last break", "[Other]\nA=1", 0, "[Other]\nA=1\n[Q540]\nJezyk=0\n");
        row("no key", "[Q540]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n", 2,
            "[Q540]\r\nA=1\r\nJezyk=2\r\n\r\n[Other]\r\nB=2\r\n");
        row("overwrite, rest kept",
            "\xEF\xBB\xBF; ż\r\n[Other]\r\nJezyk=9\r\n[Q540]\r\n;c\r\n Jezyk = 0x1  \r\nB=\xFF\r\n",
            2,
            "\xEF\xBB\xBF; ż\r\n[Other]\r\nJezyk=9\r\n[Q540]\r\n;c\r\n Jezyk = 2  \r\nB=\xFF\r\n");
        row("overwrite names in other case", "[q540]\njezyk=0\n", 1, "[q540]\njezyk=1\n");
        row("overwrite quoted", "[Q540]\nJezyk='0'\n", 2, "[Q540]\nJezyk=2\n");
        row("overwrite the first only", "[Q540]\nJezyk=0\nJezyk=0\n", 2,
            "[Q540]\nJezyk=2\nJezyk=0\n");
        row("key without value", "[Q540]\nJezyk\n", 2, "[Q540]\nJezyk=2\n");
    }
    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, value);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath("Q540.ini");
        if (!before.isNull())
            writeBytes(path, before);
        SettingsFile settings(path);
        QCOMPARE(settings.writeJezyk(value), std::nullopt);
        QCOMPARE(readBytes(path), after);
        QCOMPARE(settings.readJezyk(), value);
    }

    // The verify switch shares the file with the language and other programs' notes.
    void verifySwitch_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("value");
        QTest::addColumn<QByteArray>("after");
        const auto row = [](const char* name, const char* before, bool read, bool value,
                            const char* after) {
            QTest::newRow(name) << (before ? QByteArray(before) : QByteArray()) << read << value
                                << QByteArray(after);
        };
        row("no file: on", nullptr, true, false, "[Q540]\r\nWeryfikacja=0\r\n");
        row("beside the language", "[Q540]\r\nJezyk=2\r\n", true, false,
            "[Q540]\r\nJezyk=2\r\nWeryfikacja=0\r\n");
        row("off, turned on", "[Q540]\nWeryfikacja=0\nJezyk=0\n[X]\nA=1\n", false, true,
            "[Q540]\nWeryfikacja=1\nJezyk=0\n[X]\nA=1\n");
        row("not a number: on", "[Q540]\nWeryfikacja=no\n", true, true, "[Q540]\nWeryfikacja=1\n");
    }
    void verifySwitch()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, read);
        QFETCH(bool, value);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath("Q540.ini");
        if (!before.isNull())
            writeBytes(path, before);
        SettingsFile settings(path);
        QCOMPARE(settings.readVerifyAfterWriting(), read);
        const int language = settings.readJezyk();
        QCOMPARE(settings.writeVerifyAfterWriting(value), std::nullopt);
        QCOMPARE(readBytes(path), after);
        QCOMPARE(settings.readVerifyAfterWriting(), value);
        QCOMPARE(settings.readJezyk(), language);
    }

    void moduleOrder_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("read");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("no file: the system's")
            << QByteArray() << 0 << QByteArray("[Q540]\r\nKolejnosc=4\r\n");
        QTest::newRow("kept beside the rest")
            << QByteArray("[Q540]\nJezyk=1\nKolejnosc=7\n[X]\nA=1\n") << 7
            << QByteArray("[Q540]\nJezyk=1\nKolejnosc=4\n[X]\nA=1\n");
        QTest::newRow("out of range: the system's")
            << QByteArray("[Q540]\nKolejnosc=8\n") << 0 << QByteArray("[Q540]\nKolejnosc=4\n");
    }
    void moduleOrder()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, read);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath("Q540.ini");
        if (!before.isNull())
            writeBytes(path, before);
        SettingsFile settings(path);
        QCOMPARE(settings.readModuleOrder(), read);
        QCOMPARE(settings.writeModuleOrder(4), std::nullopt);
        QCOMPARE(readBytes(path), after);
        QCOMPARE(settings.readModuleOrder(), 4);
    }

    // Tests run as root, so only a path that cannot be a file makes the write fail.
    void unwritable_data()
    {
        QTest::addColumn<bool>("blockerIsFolder");
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("folder is a file") << false << "blocker/Q540.ini";
        QTest::newRow("file is a folder") << true << "blocker";
    }
    void unwritable()
    {
        QFETCH(bool, blockerIsFolder);
        QFETCH(QString, relativePath);
        QTemporaryDir dir;
        const QString blocker = dir.filePath("blocker");
        if (blockerIsFolder)
            QVERIFY(QDir().mkdir(blocker));
        else
            writeBytes(blocker, "[Q540]\nJezyk=0\n");
        const QString path = dir.filePath(relativePath);
        QCOMPARE(SettingsFile(path).writeJezyk(2), "Unable to write to " + path);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"blocker"});
        if (!blockerIsFolder)
            QCOMPARE(readBytes(blocker), "[Q540]\nJezyk=0\n");
    }

    // Beside a portable copy; in the user's folder for the installed program.
    void place_data()
    {
        QTest::addColumn<QString>("program"); // the program's folder
        QTest::addColumn<bool>("inUserFolder");
        QTest::newRow("portable copy in a folder of its own") << "copy" << false;
        QTest::newRow("installed by the package") << "bin" << true;
        QTest::newRow("a folder that is not there") << "missing/bin" << true;
    }
    void place()
    {
        QFETCH(QString, program);
        QFETCH(bool, inUserFolder);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("copy") && QDir(dir.path()).mkpath("bin"));
        const QString config = dir.filePath("config/q540");
        const QString path =
            SettingsFile::pathFor(dir.filePath(program), dir.filePath("bin"), config);
        QCOMPARE(path, (inUserFolder ? config : dir.filePath(program)) + "/Q540.ini");
    }
    void writeMakesTheUsersFolder()
    {
        QTemporaryDir dir;
        SettingsFile settings(dir.filePath("config/q540/Q540.ini"));
        QCOMPARE(settings.writeJezyk(2), std::nullopt);
        QCOMPARE(settings.readJezyk(), 2);
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"
