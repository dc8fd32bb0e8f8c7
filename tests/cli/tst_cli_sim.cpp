#include "SimProcess.h"

#include "files/DirectoryFile.h"
#include "protocol/Protocol.h"
#include "support/FileSizeLimit.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/types.h>

using namespace q540;
using namespace Qt::StringLiterals;

namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

// The built q540-cli as a process of its own; with a limit, on a disk that is
// full past that many bytes of any file.
Result cli(const QStringList& arguments, rlim_t fileSizeLimit = 0)
{
    QProcess process;
    if (fileSizeLimit > 0)
        process.setChildProcessModifier(
            [fileSizeLimit] { test::FileSizeLimit::applyInChild(fileSizeLimit); });
    process.start(QStringLiteral(Q540_CLI_EXECUTABLE), arguments);
    Result r;
    if (!process.waitForFinished(120000))
        return r;
    r.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

QString writeDirectory(const QTemporaryDir& dir, int entries)
{
    DirectoryDocument d;
    for (int i = 0; i < entries; ++i) {
        const QString line1 = QStringLiteral("Łęcki %1").arg(i);
        for (int c = 0; c < line1.size(); ++c)
            d.grid.setCell(zoneRow(i % 4, i / 4 + 1), 1 + c, Cell(line1.at(c)));
    }
    d.fields.intro[0] = QStringLiteral("Witamy");
    d.fields.timeIndex = 4;
    QFile file(dir.filePath(QStringLiteral("in.csv")));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(directoryFileBytes(d));
    return file.fileName();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CliSimTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void diff_data();
    void diff();
    void controlCharactersPrintedAsCodes();
    void historyKeepsReadsAndWrites();
    void writeThenReadGivesTheSameDirectory();
    void faultEndsTheWriteWithTheTransmissionError();
    void failuresNameWhatFailed_data();
    void failuresNameWhatFailed();
    void simulatorStartsWithALoadedDirectory();
    void settingsCommandsChangeTheModule();
    void writeWithVerify_data();
    void writeWithVerify();
    void writeNamesAnotherOrder_data();
    void writeNamesAnotherOrder();
    void introWriteWithVerify_data();
    void introWriteWithVerify();
    void signalStopsATransfer_data();
    void signalStopsATransfer();
    void doctor_data();
    void doctor();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void traceOnAFullDisk_data();
    void traceOnAFullDisk();

private:
    // Where the tool keeps its history in these tests, not the user's.
    void freshHistory();
    std::optional<QTemporaryDir> dataHome_;
};

void CliSimTest::initTestCase()
{
    freshHistory();
}

void CliSimTest::freshHistory()
{
    dataHome_.emplace();
    qputenv("XDG_DATA_HOME", dataHome_->path().toUtf8());
}

void CliSimTest::diff_data()
{
    QTest::addColumn<QString>("change"); // what the file says otherwise than the module
    QTest::addColumn<bool>("simulator");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::newRow("equal") << QString() << true << 0 << QString();
    QTest::newRow("one entry changed") << "entry" << true << 3
                                       << "zone 1, apartment 1 (changed): directory "
                                          "\u201cKowal\u201d, module \u201c\u0141\u0119cki "
                                          "0\u201d\n";
    QTest::newRow("display time") << "time" << true << 3
                                  << "display time (setting): directory \u201c9 s\u201d, module "
                                     "\u201c5 s\u201d\n";
    QTest::newRow("no module") << QString() << false << 1 << QString();
    QTest::newRow("no FILE") << "none" << true << 2 << QString();
}

// diff against the simulator loaded with the same directory.
void CliSimTest::diff()
{
    QFETCH(QString, change);
    QFETCH(bool, simulator);
    QFETCH(int, code);
    QFETCH(QString, out);
    QTemporaryDir dir;
    const QString loaded = writeDirectory(dir, 9);
    DirectoryDocument d = *parseDirectoryFile(readAll(loaded)).document;
    if (change == u"entry")
        d.grid = [&] {
            DirectoryGrid g = d.grid;
            for (int c = 1; c <= kEntryTextLength; ++c)
                g.setCell(zoneRow(0, 1), c,
                          Cell(QStringLiteral("Kowal").leftJustified(kEntryTextLength).at(c - 1)));
            return g;
        }();
    if (change == u"time")
        d.fields.timeIndex = 8;
    const QString file = dir.filePath(QStringLiteral("compared.csv"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(directoryFileBytes(d));
    f.close();
    test::SimProcess sim;
    QString port = QStringLiteral("/dev/q540-none");
    if (simulator) {
        QVERIFY2(sim.start({"--load", loaded}), sim.errorOutput().constData());
        port = sim.portName();
    }
    const Result r =
        change == u"none" ? cli({"diff", "--port", port}) : cli({"diff", file, "--port", port});
    QCOMPARE(r.code, code);
    QCOMPARE(r.out, out);
    if (simulator)
        QCOMPARE(sim.stop(), 0);
}

// What the file and the module hold is printed with its control characters
// as codes. A module that keeps an entry's first byte one lower holds a C1
// control where the file said Б (and shows the Cyrillic а as a Latin a): the
// write's check names it while it writes again and in its ending, diff
// beside the file's own control characters.
void CliSimTest::controlCharactersPrintedAsCodes()
{
    QTemporaryDir dir;
    const auto save = [&dir](const QString& name, const QString& line1) {
        DirectoryDocument d;
        for (int c = 0; c < line1.size(); ++c)
            d.grid.setCell(zoneRow(0, 1), 1 + c, Cell(line1.at(c)));
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(directoryFileBytes(d)) > 0
                   ? file.fileName()
                   : QString();
    };
    test::SimProcess sim;
    QVERIFY2(sim.start({"--corrupt-block", "0", "--load", save("loaded.csv", u"Nowak"_s)}),
             sim.errorOutput().constData());
    const QStringList port{"--port", sim.portName()};
    // The backup goes to a history whose folder's name holds them too.
    const QString dataHome = dir.filePath(u"data\x1B]2,x\x07"_s);
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    const Result written =
        cli(QStringList{"write", save("written.csv", u"Бак"_s), "--verify", "--backup"} + port);
    freshHistory();
    QCOMPARE(written.code, 1);
    QVERIFY2(!written.err.contains(QChar(0x9F)) && !written.err.contains(QChar(0x1B)),
             qPrintable(written.err));
    QCOMPARE(written.err.count(u"the module holds \u201c\\u009Faк\u201d"_s), 2);
    QVERIFY2(written.err.contains(u"backup: "_s + dir.path() + u"/data\\x1B]2,x\\x07/q540/"_s),
             qPrintable(written.err));
    const Result r =
        cli(QStringList{"diff", save("compared.csv", u"Ko\x1B]2,x\x07\x1B[2J"_s)} + port);
    QCOMPARE(r.code, 3);
    QCOMPARE(r.out,
             u"zone 1, apartment 1 (changed): directory \u201cKo\\x1B]2,x\\x07\\x1B[2J\u201d, "
             "module \u201c\\u009Faк\u201d\n"_s);
    QCOMPARE(sim.stop(), 0);
}

// A read and a write each leave a file in the history that lists them; a
// write with --backup reads the module first: kept when the history has no
// copy like it, shown to equal the newest copy (and not kept twice) when it has.
void CliSimTest::historyKeepsReadsAndWrites()
{
    freshHistory();
    QTemporaryDir dir;
    const QString loaded = writeDirectory(dir, 9);
    test::SimProcess sim;
    QVERIFY2(sim.start({"--load", loaded}), sim.errorOutput().constData());
    const QStringList port{"--port", sim.portName()};
    const Result first = cli(QStringList{"write", loaded, "--backup"} + port);
    QCOMPARE(first.code, 0);
    QVERIFY2(first.err.contains("backup: reading the module's 9 entries first"),
             qPrintable(first.err));
    const Result read = cli(QStringList{"read", dir.filePath("out.csv")} + port);
    QCOMPARE(read.code, 0);
    // The history's newest holds what the module holds: read to show it,
    // no question, no second copy; the backup named is that newest copy.
    const Result second = cli(QStringList{"write", loaded, "--backup"} + port);
    QCOMPARE(second.code, 0);
    QVERIFY(!second.err.contains("backup: reading"));
    QCOMPARE(sim.stop(), 0);

    const Result listed = cli({"history"});
    QCOMPARE(listed.code, 0);
    const QStringList lines = listed.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    const QStringList operations{"write", "read", "write", "read"}; // newest first
    QVERIFY2(second.err.contains("backup: " + lines[1].section(u'\t', 4, 4)),
             qPrintable(second.err));
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList columns = lines[i].split(u'\t');
        QCOMPARE(columns.size(), 5);
        QCOMPARE(columns[1], operations[i]);
        QCOMPARE(columns[3], QStringLiteral("9"));
        const std::optional<DirectoryDocument> kept =
            parseDirectoryFile(readAll(columns[4])).document;
        QVERIFY(kept);
        QCOMPARE(kept->grid.entryText(zoneRow(0, 1)).trimmed(), QStringLiteral("Łęcki 0"));
    }
}

void CliSimTest::writeThenReadGivesTheSameDirectory()
{
    QTemporaryDir dir;
    const QString in = writeDirectory(dir, 12);
    test::SimProcess sim;
    QVERIFY2(sim.start({}), sim.errorOutput().constData());
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    const QString out = dir.filePath(QStringLiteral("out.csv"));

    const Result written = cli({"write", in, "--port", sim.portName(), "--trace", trace});
    QCOMPARE(written.code, 0);
    QVERIFY(written.err.contains(QStringLiteral("Data has been written to the module!")));
    const Result read = cli({"read", out, "--port", sim.portName()});
    QCOMPARE(read.code, 0);
    QVERIFY(read.err.contains(QStringLiteral("The data are read!")));
    QCOMPARE(sim.stop(), 0);

    // The module keeps 30 characters an entry, so the files differ in their
    // padding; the directories they hold are the same.
    const Result before = cli({"list", in});
    const Result after = cli({"list", out});
    QCOMPARE(after.code, 0);
    QCOMPARE(after.out, before.out);
    QVERIFY(before.out.endsWith(QStringLiteral("Number of entries: 12\n")));

    // The trace holds the write's frames: hello, then block 0 of bank 0.
    QFile traced(trace);
    QVERIFY(traced.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(traced.readAll());
    QVERIFY(text.contains(QStringLiteral("> 11 16 28")));
    QVERIFY(text.contains(QStringLiteral("> 16 00 17")));
    QVERIFY(text.contains(QStringLiteral("> 16 0B 22")));
}

void CliSimTest::faultEndsTheWriteWithTheTransmissionError()
{
    QTemporaryDir dir;
    const QString in = writeDirectory(dir, 3);
    test::SimProcess sim;
    // The hello and the configuration read go through; the first block does not.
    QVERIFY2(sim.start({"--fault", "no-reply:2"}), sim.errorOutput().constData());
    const Result written = cli({"write", in, "--port", sim.portName()});
    QCOMPARE(written.code, 1);
    QVERIFY2(written.err.contains(QStringLiteral("Transmision error!")), qPrintable(written.err));
    QCOMPARE(sim.stop(), 0);
}

void CliSimTest::failuresNameWhatFailed_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("said");
    const QString missing = QStringLiteral("The module answered, but its configuration did not "
                                           "arrive (a transmission error)");
    const QString notConfirmed =
        QStringLiteral(" was sent, but the module's configuration could not be read back to "
                       "confirm it.");
    // The hello goes through, its configuration reply comes one byte short.
    QTest::newRow("status, no configuration")
        << QStringList{"status"} << "short-reply:1:1" << missing;
    QTest::newRow("write, no configuration")
        << QStringList{"write", "IN"} << "short-reply:1:1" << missing;
    QTest::newRow("read, no configuration")
        << QStringList{"read", "OUT"} << "short-reply:1:1" << missing;
    QTest::newRow("reset lock, no configuration")
        << QStringList{"reset-lock", "on"} << "short-reply:1:1" << missing;
    // Hello, configuration and the change go through; the module is silent
    // from the confirmation's hello on.
    QTest::newRow("module language not confirmed")
        << QStringList{"module-language", "DE"} << "no-reply:3"
        << "The module language" + notConfirmed;
    QTest::newRow("reset lock not confirmed") << QStringList{"reset-lock", "on"} << "no-reply:3"
                                              << "The reset lock" + notConfirmed;
    QTest::newRow("password not confirmed") << QStringList{"set-password", "1357"} << "no-reply:3"
                                            << "The installer password" + notConfirmed;
}

// What did not go through is named, and the exit code is 1, never 0.
void CliSimTest::failuresNameWhatFailed()
{
    QFETCH(QStringList, command);
    QFETCH(QString, fault);
    QFETCH(QString, said);
    QTemporaryDir dir;
    command.replaceInStrings(QStringLiteral("IN"), writeDirectory(dir, 3));
    command.replaceInStrings(QStringLiteral("OUT"), dir.filePath(QStringLiteral("out.csv")));
    test::SimProcess sim;
    QVERIFY2(sim.start({"--fault", fault}), sim.errorOutput().constData());
    const Result r = cli(command + QStringList{"--port", sim.portName()});
    QCOMPARE(r.code, 1);
    QVERIFY2((r.err + r.out).contains(said), qPrintable(r.err + r.out));
    QCOMPARE(sim.stop(), 0);
}

void CliSimTest::simulatorStartsWithALoadedDirectory()
{
    QTemporaryDir dir;
    const QString in = writeDirectory(dir, 7);
    test::SimProcess sim;
    QVERIFY2(sim.start({"--load", in, "--password", "1234"}), sim.errorOutput().constData());
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    QCOMPARE(cli({"read", out, "--port", sim.portName()}).code, 1); // the default password
    const Result read = cli({"read", out, "--port", sim.portName(), "--password", "1234"});
    QCOMPARE(read.code, 0);
    QCOMPARE(cli({"list", out}).out, cli({"list", in}).out);
    QCOMPARE(sim.stop(), 0);

    test::SimProcess refused;
    QVERIFY(!refused.start({"--load", dir.filePath(QStringLiteral("none.csv"))}, 10000));
    QCOMPARE(refused.waitForExit(), 2);
}

void CliSimTest::settingsCommandsChangeTheModule()
{
    QTemporaryDir dir;
    const QString in = writeDirectory(dir, 5); // display time 5
    test::SimProcess sim;
    QVERIFY2(sim.start({}), sim.errorOutput().constData());
    const QStringList port{"--port", sim.portName()};
    const auto status = [&](const QStringList& more = {}) {
        return cli(QStringList{"status"} + port + more).out;
    };

    // A pseudo-terminal has no chip whose timer could be read.
    QVERIFY2(status().contains(QStringLiteral("latency timer: unknown\n")), qPrintable(status()));
    // The lock and the language are sent just before the port closes: they
    // must reach the module all the same.
    QCOMPARE(cli(QStringList{"reset-lock", "on"} + port).code, 0);
    QVERIFY2(status().contains(QStringLiteral("reset lock: on\n")), qPrintable(status()));
    QCOMPARE(cli(QStringList{"reset-lock", "off"} + port).code, 0);
    QVERIFY(status().contains(QStringLiteral("reset lock: off\n")));

    const Result language = cli(QStringList{"module-language", "de"} + port);
    QCOMPARE(language.code, 0);
    QVERIFY(!language.err.isEmpty()); // reset the module to take the language
    QVERIFY(cli(QStringList{"module-language"} + port)
                .out.startsWith(QStringLiteral("language: 5 DE ")));

    // A written directory's display time is what the module then reports.
    QCOMPARE(cli(QStringList{"write", in} + port).code, 0);
    QVERIFY(status().contains(QStringLiteral("intro time: 5\n")));

    QCOMPARE(cli(QStringList{"set-password", "42"} + port).code, 0);
    QVERIFY(status().contains(QStringLiteral("password: does not match\n")));
    QVERIFY(status({"--password", "0042"}).contains(QStringLiteral("password: matches\n")));
    // The old password no longer opens the gate: nothing is stored.
    const Result refused = cli(QStringList{"set-password", "1111"} + port);
    QCOMPARE(refused.code, 1);
    QVERIFY(refused.err.contains(QStringLiteral("Wrong password!")));
    QVERIFY(status({"--password", "0042"}).contains(QStringLiteral("password: matches\n")));
    QCOMPARE(cli(QStringList{"reset-lock", "on"} + port).code, 1);
    QVERIFY(status().contains(QStringLiteral("reset lock: off\n")));
    QCOMPARE(sim.stop(), 0);
}

void CliSimTest::writeWithVerify_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said");
    QTest::newRow("module keeps everything")
        << QStringList() << 0
        << "The data have been written to the module and checked: it holds all 10 entries and "
           "the settings as written.\n";
    // Written again, the block is kept wrongly again: named twice, exit 1.
    QTest::newRow("module keeps block 3 wrongly")
        << QStringList{"--corrupt-block", "3"} << 1
        << "The data were written, but the module still differs in 1 places; write again:\n";
}

// write --verify against the simulator: every entry read back and compared.
void CliSimTest::writeWithVerify()
{
    QFETCH(QStringList, simulator);
    QFETCH(int, code);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString in = writeDirectory(dir, 10);
    test::SimProcess sim;
    QVERIFY2(sim.start(simulator), sim.errorOutput().constData());
    const Result r = cli({"write", in, "--verify", "--port", sim.portName()});
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(said), qPrintable(r.err));
    if (code != 0) {
        QCOMPARE(r.err.count(QStringLiteral(", the module holds ")), 2);
        QVERIFY(r.err.contains(QStringLiteral("write: stopped at")) == false);
    }
    QCOMPARE(sim.stop(), 0);
}

void CliSimTest::writeNamesAnotherOrder_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("said");
    QTest::newRow("Polish order, English messages")
        << QStringList{"--collation", "pl_PL"}
        << "Data has been written to the module!\nAlphabetical order: Polish.\n";
    QTest::newRow("English order, English messages")
        << QStringList{"--collation", "en"} << "Data has been written to the module!\n";
    QTest::newRow("Swedish order, German messages")
        << QStringList{"--collation", "sv", "--lang", "de"}
        << "\nAlphabetische Reihenfolge: Schwedisch.\n";
}

// The write's message names the order when it is not the language's own.
void CliSimTest::writeNamesAnotherOrder()
{
    QFETCH(QStringList, options);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString in = writeDirectory(dir, 3);
    test::SimProcess sim;
    QVERIFY2(sim.start({}), sim.errorOutput().constData());
    const Result r = cli(QStringList{"write", in, "--port", sim.portName()} + options);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.endsWith(said), qPrintable(r.err));
    QCOMPARE(sim.stop(), 0);
}

void CliSimTest::introWriteWithVerify_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said");
    QTest::newRow("kept as written")
        << QStringList() << 0
        << "Verified: the module holds the intro screens and the display time as written.\n";
    QTest::newRow("screen 1 kept wrongly")
        << QStringList{"--corrupt-block", "1020"} << 1
        << "intro line 1 (setting): directory \u201cWitamy\u201d, module \u201cVitamy\u201d\n";
}

void CliSimTest::introWriteWithVerify()
{
    QFETCH(QStringList, simulator);
    QFETCH(int, code);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString in = writeDirectory(dir, 1);
    test::SimProcess sim;
    QVERIFY2(sim.start(simulator), sim.errorOutput().constData());
    const Result r = cli({"intro-write", in, "--verify", "--port", sim.portName()});
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(said), qPrintable(r.err));
    QCOMPARE(sim.stop(), 0);
}

void CliSimTest::signalStopsATransfer_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("block"); // how the trace shows a block of the first bank
    QTest::addColumn<QString>("said");
    const struct {
        const char* name;
        int signal;
        int code;
    } stops[] = {{"Ctrl+C", SIGINT, 130}, {"SIGTERM", SIGTERM, 143}, {"SIGHUP", SIGHUP, 129}};
    for (const auto& stop : stops) {
        QTest::addRow("%s mid-write", stop.name)
            << stop.signal << stop.code << "write" << QByteArray(" > 16 ")
            << "Writing was cancelled. Entries 1 to ";
        QTest::addRow("%s mid-read", stop.name)
            << stop.signal << stop.code << "read" << QByteArray(" > 17 ")
            << "Reading was cancelled; nothing that was read has been kept.\n";
    }
}

// A signal during a transfer of a full module at the wire's real pace (some
// 40 s): the transfer stops after its block in flight, says how far it got,
// and the tool exits 128 + the signal's number well before the transfer
// could have ended; a read leaves no file.
void CliSimTest::signalStopsATransfer()
{
    QFETCH(int, signal);
    QFETCH(int, code);
    QFETCH(QString, command);
    QFETCH(QByteArray, block);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString in = writeDirectory(dir, protocol::kEntryCapacity);
    test::SimProcess sim;
    QVERIFY2(sim.start({"--load", in}), sim.errorOutput().constData());
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    QProcess process;
    process.start(
        QStringLiteral(Q540_CLI_EXECUTABLE),
        {command, command == u"write" ? in : out, "--port", sim.portName(), "--trace", trace});
    QVERIFY(process.waitForStarted());
    // The trace reaches its file line by line: a few blocks in it, and the
    // transfer is under way however loaded the machine is.
    const QDeadlineTimer underWay(60000);
    while (readAll(trace).count(block) < 5) {
        QVERIFY2(!underWay.hasExpired() && !process.waitForFinished(20),
                 readAll(trace).right(500).constData());
    }
    ::kill(pid_t(process.processId()), signal);
    QVERIFY2(process.waitForFinished(10000), "still transferring 10 s after the signal");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), code);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.contains(said), qPrintable(err));
    QVERIFY(!QFileInfo::exists(out));
    QCOMPARE(sim.stop(), 0);
}

void CliSimTest::doctor_data()
{
    QTest::addColumn<QStringList>("simulator"); // empty: no simulator, the port below
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("finding");
    QTest::addColumn<QString>("port");
    const QString none = QStringLiteral("/dev/q540-none");
    QTest::newRow("module answers") << QStringList{"--latency-timer", "16"} << 0
                                    << "[ok] Module: answered: Q540 (device code 70)\n"
                                    << none;
    QTest::newRow("module silent")
        << QStringList{"--fault", "no-reply"} << 1 << "[!!] Module: no answer to the greeting\n"
        << none;
    QTest::newRow("bad check bytes") << QStringList{"--fault", "bad-check-byte"} << 1
                                     << "[!!] Module: answers with bad check bytes (1f 46 65)\n"
                                     << none;
    QTest::newRow("nothing there") << QStringList() << 1
                                   << "[!!] Module: Connection status: port /dev/q540-none does "
                                      "not exist\n"
                                   << none;
    // The report embeds what the system and the cable say: never as it is.
    QTest::newRow("a port named with control characters")
        << QStringList() << 1
        << "[!!] Module: Connection status: port /dev/q540-\\x1B[2J\\u009B does not exist\n"
        << QStringLiteral("/dev/q540-\x1B[2J\u009B");
}

// The check against the simulator on a pseudo-terminal, as an installer
// runs it: every finding printed, 0 only when the module answered.
void CliSimTest::doctor()
{
    QFETCH(QStringList, simulator);
    QFETCH(int, code);
    QFETCH(QString, finding);
    QFETCH(QString, port);
    test::SimProcess sim;
    if (!simulator.isEmpty()) {
        QVERIFY2(sim.start(simulator), sim.errorOutput().constData());
        port = sim.portName();
    }
    const Result r = cli({"doctor", "--port", port});
    QCOMPARE(r.code, code);
    QVERIFY2(r.out.contains(finding), qPrintable(r.out));
    // A pseudo-terminal is no FTDI device: said, but not held against it.
    QVERIFY2(r.out.contains(QStringLiteral("[--] FTDI USB devices (0403): none is plugged in")),
             qPrintable(r.out));
    if (!simulator.isEmpty())
        QCOMPARE(sim.stop(), 0);
}

void CliSimTest::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" is the output, "&" the list file
    QTest::newRow("read") << QStringList{"read", "@", "--force"};
    QTest::newRow("intro-read") << QStringList{"intro-read", "@", "--force"};
    QTest::newRow("import") << QStringList{"import", "&", "@", "--force"};
}

void CliSimTest::fullDiskKeepsTheOldFile()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    test::SimProcess sim;
    QVERIFY2(sim.start({"--load", writeDirectory(dir, 40)}), sim.errorOutput().constData());
    const QString out = dir.filePath(QStringLiteral("old.csv"));
    const QByteArray old = "the installer's prepared directory";
    QFile file(out);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(old);
    file.close();
    QByteArray list = "KOR-LCDv4\r\nKowalski\r\n";
    list += QByteArray(1000 - list.size(), '\n');
    QFile listFile(dir.filePath(QStringLiteral("list.txt")));
    QVERIFY(listFile.open(QIODevice::WriteOnly));
    listFile.write(list);
    listFile.close();
    for (QString& a : arguments) {
        a.replace(u'@', out);
        a.replace(u'&', listFile.fileName());
    }

    const Result full = cli(arguments
                                + QStringList{"--port", sim.portName()}.mid(
                                    arguments.first() == QLatin1String("import") ? 2 : 0),
                            200);
    QCOMPARE(full.code, 1);
    QVERIFY2(full.err.contains(out), qPrintable(full.err));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    file.close();
    // With room, the same command replaces it.
    QCOMPARE(cli(arguments
                 + QStringList{"--port", sim.portName()}.mid(
                     arguments.first() == QLatin1String("import") ? 2 : 0))
                 .code,
             0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("\xEF\xBB\xBFKOR-Q540 v70;"));
    QCOMPARE(sim.stop(), 0);
}

void CliSimTest::traceOnAFullDisk_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("limit");    // a trace grows past it; the history's copy does not
    QTest::addColumn<QString>("done"); // what the command says when it went through
    QTest::newRow("status") << "status" << 100 << "";
    QTest::newRow("write") << "write" << 15000 << "Data has been written to the module!";
}

// A trace the disk cannot take is told once, with its file; the command
// goes through all the same and exits 4.
void CliSimTest::traceOnAFullDisk()
{
    QFETCH(QString, command);
    QFETCH(int, limit);
    QFETCH(QString, done);
    QTemporaryDir dir;
    const QString in = writeDirectory(dir, 150);
    test::SimProcess sim;
    QVERIFY2(sim.start({}), sim.errorOutput().constData());
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    QStringList arguments{command, "--port", sim.portName(), "--trace", trace};
    if (command == u"write")
        arguments.insert(1, in);
    const Result r = cli(arguments, rlim_t(limit));
    QCOMPARE(r.code, 4);
    QCOMPARE(r.err.count("The byte trace cannot be written (" + trace + ": "), 1);
    QVERIFY2(r.err.contains(done) && !r.err.contains(QStringLiteral("history")), qPrintable(r.err));
    QCOMPARE(sim.stop(), 0);
}

QTEST_GUILESS_MAIN(CliSimTest)
#include "tst_cli_sim.moc"
