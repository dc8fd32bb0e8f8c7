#include "base/AppInfo.h"
#include "cli/Cli.h"
#include "cli/ConsoleSink.h"
#include "files/DirectoryFile.h"
#include "files/History.h"
#include "files/SystemFileName.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <dirent.h>
#include <sys/stat.h>

using namespace q540;
using namespace Qt::StringLiterals;

namespace {

// One run of the tool in-process: exit code, standard output and error.
struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run run(const QStringList& arguments)
{
    Run r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = cli::run(arguments, out, err);
    out.flush();
    err.flush();
    return r;
}

void put(DirectoryGrid& grid, int row, const QString& line1, const QString& line2 = {})
{
    for (int i = 0; i < line1.size(); ++i)
        grid.setCell(row, 1 + i, Cell(line1.at(i)));
    for (int i = 0; i < line2.size(); ++i)
        grid.setCell(row, kLine2FirstColumn + i, Cell(line2.at(i)));
}

// A small directory: two zones, an additional number, Polish letters.
DirectoryDocument smallDirectory()
{
    DirectoryDocument d;
    d.fields.address = QStringLiteral("Lipowa 12");
    d.fields.intro[0] = QStringLiteral("Witamy");
    put(d.grid, zoneRow(0, 1), QStringLiteral("Nowak"), QStringLiteral("Jan"));
    put(d.grid, zoneRow(0, 2), QStringLiteral("Żółw"), QStringLiteral("Łukasz"));
    put(d.grid, zoneRow(1, 3), QStringLiteral("Abacki"), QStringLiteral("Ewa"));
    put(d.grid, additionalNumberRow(1), QStringLiteral("Portier"));
    return d;
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void commands_data();
    void commands();
    void tooManyEntries();
    void systemNames_data();
    void systemNames();
    void rawFileNames();
    void importWritesADirectoryFile();
    void tables_data();
    void tables();
    void consoleSinkPrintsCodes();
    void commandHelp_data();
    void commandHelp();

private:
    QString write(const QString& name, const DirectoryDocument& document);
    QTemporaryDir dir_;
};

void CliTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    DirectoryDocument bad = smallDirectory();
    put(bad.grid, zoneRow(2, 9), QStringLiteral("Café €uro"), QStringLiteral("ok😀"));
    bad.fields.intro[3] = QStringLiteral("Ω");
    bad.fields.intro[4] = QStringLiteral("\u202E");
    write(QStringLiteral("small.csv"), smallDirectory());
    write(QStringLiteral("bad-characters.csv"), bad);
    DirectoryDocument lookAlikes = smallDirectory();
    put(lookAlikes.grid, zoneRow(0, 7), QStringLiteral("Àgata©"), QStringLiteral("à"));
    write(QStringLiteral("look-alikes.csv"), lookAlikes);
    DirectoryDocument controls = smallDirectory();
    put(controls.grid, zoneRow(1, 4), QStringLiteral("Ko\twal"), QStringLiteral("\x1b[2J"));
    controls.fields.intro[1] = QStringLiteral("a\x85");
    write(QStringLiteral("controls.csv"), controls);
    // What would set the terminal's title and clear its screen, a NUL, a C1
    // control and a direction override.
    DirectoryDocument escapes;
    put(escapes.grid, zoneRow(1, 4), QStringLiteral("Ko\x1B]2,x\x07\x1B[2J"),
        QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b\u009B\u202E"));
    write(QStringLiteral("escapes.csv"), escapes);
    // The history is kept in a folder whose name holds such characters too;
    // no test reaches the user's own.
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("data\x1B]2,x\x07\u0085/q540/history")));
    qputenv("XDG_DATA_HOME", dir_.filePath(QStringLiteral("data\x1B]2,x\x07\u0085")).toUtf8());
    QFile kept(History::defaultFolder() + QStringLiteral("/2026-01-02_03-04-05_read_K3_4.csv"));
    QVERIFY(kept.open(QIODevice::WriteOnly));
    DirectoryDocument cities;
    put(cities.grid, zoneRow(0, 1), QStringLiteral("Łódź"));
    put(cities.grid, zoneRow(0, 2), QStringLiteral("Lwów"));
    put(cities.grid, zoneRow(0, 3), QStringLiteral("Lodz"));
    write(QStringLiteral("cities.csv"), cities);
    QFile broken(dir_.filePath(QStringLiteral("broken.csv")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(2000, 'x'));
    for (const char* fifo : {"fifo.csv", "fifo.txt"})
        QCOMPARE(mkfifo(QFile::encodeName(dir_.filePath(QLatin1String(fifo))).constData(), 0600),
                 0);
}

QString CliTest::write(const QString& name, const DirectoryDocument& document)
{
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(directoryFileBytes(document));
    return file.fileName();
}

void CliTest::commands_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the test's folder
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString sortedRows = QStringLiteral("|Abacki          Ewa           | 3 2\n"
                                              "|Nowak           Jan           | 1 1\n"
                                              "|Portier                       | 1 5\n"
                                              "|Żółw            Łukasz        | 2 1\n");
    QTest::newRow("list") << QStringList{"list", "@/small.csv", "--lang", "en"} << 0
                          << sortedRows + "Number of entries: 4\n"
                          << "";
    QTest::newRow("list unsorted, Polish")
        << QStringList{"list", "--unsorted", "@/small.csv", "--lang", "pl"} << 0
        << QStringLiteral("|Nowak           Jan           | 1 1\n"
                          "|Żółw            Łukasz        | 2 1\n"
                          "|Abacki          Ewa           | 3 2\n"
                          "|Portier                       | 1 5\n"
                          "Ilość wpisów: 4\n")
        << "";
    const auto cityRow = [](const char* name, int apartment) {
        return QStringLiteral("|%1| %2 1\n")
            .arg(QString::fromUtf8(name).leftJustified(30))
            .arg(apartment);
    };
    QTest::newRow("list in Polish order")
        << QStringList{"list", "@/cities.csv", "--collation", "pl"} << 0
        << cityRow("Lodz", 3) + cityRow("Lwów", 2) + cityRow("Łódź", 1) + "Number of entries: 3\n"
        << "";
    QTest::newRow("list in English order")
        << QStringList{"list", "@/cities.csv", "--collation", "en_GB"} << 0
        << cityRow("Lodz", 3) + cityRow("Łódź", 1) + cityRow("Lwów", 2) + "Number of entries: 3\n"
        << "";
    QTest::newRow("no such order")
        << QStringList{"export-pdf", "@/cities.csv", "@/c.pdf", "--collation", "fr"} << 2 << ""
        << "--collation: system, pl, en, de, nb, sv, cs or ru, not fr\n";
    QTest::newRow("check clean") << QStringList{"check", "@/small.csv"} << 0 << ""
                                 << "";
    QTest::newRow("check finds all")
        << QStringList{"check", "@/bad-characters.csv"} << 1
        << QStringLiteral("zone 3, apartment 9, line 1, position 6: \"€\" U+20AC\n"
                          "zone 3, apartment 9, line 2, position 3: \"😀\" U+1F600\n"
                          "intro line 4, position 1: \"Ω\" U+03A9\n"
                          "intro line 5, position 1: \"\\u202E\" U+202E\n")
        << "";
    QTest::newRow("check warns of look-alikes only")
        << QStringList{"check", "@/look-alikes.csv"} << 0
        << QStringLiteral(
               "zone 1, apartment 7, line 1, position 1: warning: \"À\" U+00C0 shows as \"ч\"\n"
               "zone 1, apartment 7, line 1, position 6: warning: \"©\" U+00A9 shows as \"У\"\n"
               "zone 1, apartment 7, line 2, position 1: warning: \"à\" U+00E0 shows as \"Д\"\n")
        << "";
    QTest::newRow("check names control characters, never prints them")
        << QStringList{"check", "@/controls.csv"} << 1
        << QStringLiteral("zone 2, apartment 4, line 1, position 3: U+0009, a control character\n"
                          "zone 2, apartment 4, line 2, position 1: U+001B, a control character\n"
                          "intro line 2, position 2: U+0085, a control character\n")
        << "";
    // Text from files is printed with its control characters as codes.
    QTest::newRow("list with control characters")
        << QStringList{"list", "@/escapes.csv"} << 0
        << QStringLiteral("|Ko\\x1B]2,x\\x07\\x1B[2J    a\\x00b\\u009B\\u202E         | 4 2\n"
                          "Number of entries: 1\n")
        << "";
    QTest::newRow("history in a folder with control characters")
        << QStringList{"history"} << 0
        << QStringLiteral(
               "2026-01-02 03:04:05\tread\tQ540 K-3\t4\t"
               "@/data\\x1B]2,x\\x07\\u0085/q540/history/2026-01-02_03-04-05_read_K3_4.csv\n")
        << "";
    QTest::newRow("bad file") << QStringList{"list", "@/broken.csv", "--lang", "de"} << 2 << ""
                              << "@/broken.csv: Die falsche Datei!\n";
    QTest::newRow("missing file") << QStringList{"check", "@/none.csv"} << 2 << ""
                                  << "@/none.csv: No such file or directory\n";
    QTest::newRow("unknown command") << QStringList{"lsit"} << 2 << ""
                                     << "*";
    QTest::newRow("missing argument") << QStringList{"list"} << 2 << ""
                                      << "*";
    QTest::newRow("bad language") << QStringList{"list", "@/small.csv", "--lang", "fr"} << 2 << ""
                                  << "*";
    QTest::newRow("bad password") << QStringList{"status", "--password", "12a4"} << 2 << ""
                                  << "*";
    QTest::newRow("write with file and erase")
        << QStringList{"write", "@/small.csv", "--erase"} << 2 << ""
        << "write: give a FILE, or --erase without one\n";
    QTest::newRow("bad switch") << QStringList{"write", "@/small.csv", "--reset-lock", "yes"} << 2
                                << ""
                                << "--reset-lock: on or off, not yes\n";
    // Files the command would write, refused before any module is looked for.
    const QString exists =
        QStringLiteral("@/small.csv: the file exists; give --force to replace it\n");
    QTest::newRow("read onto a file") << QStringList{"read", "@/small.csv"} << 2 << "" << exists;
    QTest::newRow("intro-read onto a file")
        << QStringList{"intro-read", "@/small.csv", "--port", "@/none"} << 2 << "" << exists;
    QTest::newRow("import onto a file, .csv added")
        << QStringList{"import", "@/list.txt", "@/small"} << 2 << "" << exists;
    const QString pipe = QStringLiteral("@/fifo.csv: not a regular file\n");
    QTest::newRow("read into a pipe, forced")
        << QStringList{"read", "@/fifo.csv", "--force"} << 2 << "" << pipe;
    QTest::newRow("read into a folder") << QStringList{"read", "@", "--force"} << 2 << ""
                                        << "@: not a regular file\n";
    QTest::newRow("read into a missing folder") << QStringList{"read", "@/none/out.csv"} << 2 << ""
                                                << "*";
    QTest::newRow("trace into a pipe")
        << QStringList{"status", "--trace", "@/fifo.csv"} << 2 << "" << pipe;
    QTest::newRow("list a pipe") << QStringList{"list", "@/fifo.csv"} << 2 << "" << pipe;
    QTest::newRow("write a pipe") << QStringList{"write", "@/fifo.csv"} << 2 << "" << pipe;
    QTest::newRow("import a pipe") << QStringList{"import", "@/fifo.txt", "@/new"} << 2 << ""
                                   << "*";
    QTest::newRow("password of five digits") << QStringList{"set-password", "12345"} << 2 << ""
                                             << "set-password: NEW is one to four digits\n";
    QTest::newRow("password with a letter") << QStringList{"set-password", "12a"} << 2 << ""
                                            << "set-password: NEW is one to four digits\n";
    QTest::newRow("password empty, not 0000") << QStringList{"set-password", ""} << 2 << ""
                                              << "set-password: NEW is one to four digits\n";
    QTest::newRow("password of other digits") << QStringList{"set-password", "١٢"} << 2 << ""
                                              << "set-password: NEW is one to four digits\n";
    QTest::newRow("unknown module language")
        << QStringList{"module-language", "FR"} << 2 << ""
        << "module-language: CODE is one of PL, EN, NO, SV, DE, CS, RU, not FR\n";
    QTest::newRow("reset lock neither on nor off") << QStringList{"reset-lock", "yes"} << 2 << ""
                                                   << "reset-lock: on or off, not yes\n";
    // Each way a named port fails is told as such, where the state is told.
    QTest::newRow("port missing") << QStringList{"status", "--port", "@/none"} << 1
                                  << "state: Connection status: port @/none does not exist\n"
                                  << "";
    QTest::newRow("port is a file, in German")
        << QStringList{"status", "--port", "@/small.csv", "--lang", "de"} << 1
        << "state: Verbindungsstand: @/small.csv ist keine serielle Schnittstelle\n"
        << "";
    QTest::newRow("port is a pipe")
        << QStringList{"read", "@/new.csv", "--port", "@/fifo.csv"} << 1 << ""
        << "No device connected!\nConnection status: @/fifo.csv is not a serial port\n";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "*"
                          << "";
    QTest::newRow("command help") << QStringList{"write", "--help"} << 0 << "*"
                                  << "";
    // In-process the tool has no GUI application: export-pdf says so, nothing is written.
    QTest::newRow("export-pdf without painting")
        << QStringList{"export-pdf", "@/small.csv", "@/small.pdf"} << 1 << ""
        << "export-pdf: no GUI application to paint with\n";
    QTest::newRow("version") << QStringList{"--version"} << 0
                             << QStringLiteral("q540-cli %1\n").arg(kVersion) << "";
}

void CliTest::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    for (QString& a : arguments)
        a.replace(u'@', dir_.path());
    out.replace(u'@', dir_.path());
    err.replace(u'@', dir_.path());

    QElapsedTimer timer;
    timer.start();
    const Run r = run(arguments);

    // Nothing blocks: a pipe among the arguments is refused, not opened.
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(r.code, code);
    // "*" asks only that something was printed there.
    if (out == QLatin1String("*"))
        QVERIFY(!r.out.isEmpty());
    else
        QCOMPARE(r.out, out);
    if (err == QLatin1String("*"))
        QVERIFY(!r.err.isEmpty());
    else
        QCOMPARE(r.err, err);
}

void CliTest::tooManyEntries()
{
    DirectoryDocument full;
    for (int row = 1; row <= kGridRows; ++row)
        put(full.grid, row, QStringLiteral("Nazwisko %1").arg(row));
    const QString path = write(QStringLiteral("full.csv"), full);
    const Run listed = run({"list", path});
    QCOMPARE(listed.code, 1);
    QVERIFY(listed.out.endsWith(QStringLiteral("Number of entries: 1028\n")));
    QCOMPARE(listed.out.count(u'\n'), 1029);
    QVERIFY(listed.err.startsWith(QStringLiteral("Reduce the number of entries")));
    const Run checked = run({"check", path});
    QCOMPARE(checked.code, 1);
    QVERIFY(checked.out.endsWith(QStringLiteral(" 8\n")));
}

// Names go back to exactly their bytes; only bytes that are not UTF-8 are
// carried as raw bytes.
void CliTest::systemNames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("raw");
    QTest::newRow("UTF-8") << QByteArray("\xC5\xBB\xC3\xB3\xC5\x82w.csv") << false;
    QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x94\x91.csv") << false;
    QTest::newRow("Latin-1") << QByteArray("\xE9t\xE9.csv") << true;
    QTest::newRow("overlong slash") << QByteArray("a\xC0\xAF") << true;
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << true;
    QTest::newRow("cut short") << QByteArray("x\xE2\x82") << true;
    QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << true;
}

void CliTest::systemNames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, raw);
    const QString name = fileNameFromSystem(bytes);
    QCOMPARE(fileNameToSystem(name), bytes);
    QCOMPARE(hasRawBytes(name), raw);
    if (!raw)
        QCOMPARE(name, QString::fromUtf8(bytes));
}

// The files of a folder as the system lists them: Qt's listing cannot stat
// names that are not UTF-8. No stand-in may be left behind.
static int namesIn(const QByteArray& folder)
{
    int count = 0;
    DIR* listing = ::opendir(folder.constData());
    while (const dirent* entry = ::readdir(listing))
        count += entry->d_name[0] != '.' || entry->d_name[1] == 'q';
    ::closedir(listing);
    return count;
}

// A file whose name is not UTF-8 opens, and an output is written under
// exactly the bytes given, guarded by --force as any other.
void CliTest::rawFileNames()
{
    const QByteArray folder = QFile::encodeName(dir_.filePath(QStringLiteral("raw")));
    QVERIFY(QDir().mkpath(QString::fromUtf8(folder)));
    const QString plain = write(QStringLiteral("raw/plain.csv"), smallDirectory());
    const QByteArray input = folder + "/katalog-\xE9.csv";
    QCOMPARE(::rename(QFile::encodeName(plain).constData(), input.constData()), 0);
    const Run listed = run({"list", fileNameFromSystem(input)});
    QCOMPARE(listed.code, 0);
    QVERIFY(listed.out.contains(QStringLiteral("Nowak")));
    const QByteArray table = folder + "/lokatorzy-\xB3.csv";
    QFile tableFile(QString::fromUtf8(folder + "/table"));
    QVERIFY(tableFile.open(QIODevice::WriteOnly));
    tableFile.write("Zone;Apartment;Line 1;Line 2\r\n1;5;Kowalski;Jan\r\n");
    tableFile.close();
    QCOMPARE(::rename(QFile::encodeName(tableFile.fileName()).constData(), table.constData()), 0);
    const QString merged = dir_.filePath(QStringLiteral("merged.csv"));
    QCOMPARE(run({"import-table", fileNameFromSystem(table), merged, "--into",
                  fileNameFromSystem(input)})
                 .code,
             0);
    QVERIFY(run({"list", merged}).out.contains(QStringLiteral("Nowak")));

    const QByteArray output = folder + "/tabela-\xFF";
    const QStringList exportTable{"export-table", fileNameFromSystem(input),
                                  fileNameFromSystem(output)};
    QCOMPARE(run(exportTable).code, 0);
    struct stat info {};
    QCOMPARE(::stat(output.constData(), &info), 0);
    QVERIFY(info.st_size > 0);
    QCOMPARE(namesIn(folder), 3);
    const Run again = run(exportTable);
    QCOMPARE(again.code, 2);
    QVERIFY(again.err.endsWith(QStringLiteral(": the file exists; give --force to replace it\n")));
    QCOMPARE(run(exportTable + QStringList{"--force"}).code, 0);
    QCOMPARE(namesIn(folder), 3);
}

void CliTest::importWritesADirectoryFile()
{
    // An older list file: header, 255 entries of two lines, the intro, the time.
    QStringList lines{QStringLiteral("KOR-LCDv4")};
    for (int j = 1; j <= 255; ++j) {
        lines << (j == 2 ? QStringLiteral("Ślęzak Józef Długie") : QString())
              << (j == 2 ? QStringLiteral("m. 2") : QString());
    }
    lines << "Witamy"
          << "Blok 3"
          << "-"
          << ""
          << ""
          << ""
          << ""
          << ""
          << ""
          << "5";
    QByteArray bytes;
    for (const QString& l : lines)
        bytes += l.toLatin1() + "\r\n";
    // Windows-1250 for the Polish letters of entry 2.
    bytes.replace(QString(QStringLiteral("Ślęzak Józef Długie")).toLatin1(),
                  QByteArray("\x8Cl\xEAzak J\xF3zef D\xB3ugie"));
    while (bytes.size() < 935)
        bytes += "\r\n";
    QFile list(dir_.filePath(QStringLiteral("lista.txt")));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(bytes);
    list.close();

    const QString out = dir_.filePath(QStringLiteral("lista.csv"));
    const Run r = run({"import", list.fileName(), out});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QStringLiteral("zone 1, apartment 2, line 1: 19 characters, the field takes "
                                   "16; the rest was left out.\n"));
    const Run listed = run({"list", out});
    QCOMPARE(listed.out,
             QStringLiteral("|Ślęzak Józef Dłum. 2          | 2 1\nNumber of entries: 1\n"));
}

void CliTest::tables_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" the test's folder
    QTest::addColumn<QByteArray>("table");      // written to @/in-table.csv first
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("listed"); // q540-cli list of @/t-out.csv, unsorted
    const QString small = QStringLiteral("|Nowak           Jan           | 1 1\n"
                                         "|Żółw            Łukasz        | 2 1\n"
                                         "|Abacki          Ewa           | 3 2\n"
                                         "|Portier                       | 1 5\n"
                                         "Number of entries: 4\n");
    QTest::newRow("export, import back")
        << QStringList{"import-table", "@/exported.csv", "@/t-out"} << QByteArray() << 0
        << "Rows: 4, entries taken: 4, findings: 0 (encoding UTF-8).\n"
        << small;
    QTest::newRow("a row cut, one left out")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out"}
        << QByteArray("1;1;Kowalska-Nowakowska;\n7;1;X;\n") << 1
        << "row 1 (zone 1, apartment 1): line 1 is longer than 16 characters; the rest was cut\n"
           "row 2: unknown zone \u201c7\u201d; left out\n"
           "Rows: 2, entries taken: 1, findings: 2 (encoding UTF-8).\n"
        << "|Kowalska-Nowakow              | 1 1\nNumber of entries: 1\n";
    QTest::newRow("merged into a directory")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out", "--into", "@/small.csv"}
        << QByteArray("Zone;Apartment;Line 1;Line 2\n1;1;Kowal;Adam\n") << 0
        << "Rows: 1, entries taken: 1, findings: 0 (encoding UTF-8).\n"
        << QString(small).replace("Nowak           Jan  ", "Kowal           Adam ");
    // Rows that lack the name cells keep the names: said, and exit 1.
    QTest::newRow("two columns merged into a directory")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out", "--into", "@/small.csv"}
        << QByteArray("1;1\n1;2;Wilk\n") << 1
        << "row 1 (zone 1, apartment 1): no cell for line 1; line 1 keeps what the directory "
           "holds\n"
           "row 1 (zone 1, apartment 1): no cell for line 2; line 2 keeps what the directory "
           "holds\n"
           "row 2 (zone 1, apartment 2): no cell for line 2; line 2 keeps what the directory "
           "holds\n"
           "Rows: 2, entries taken: 1, findings: 3 (encoding UTF-8).\n"
        << QString(small).replace("Żółw            Łukasz", "Wilk            Łukasz");
    QTest::newRow("replacing a directory")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out",
                       "--into",       "@/small.csv",    "--replace"}
        << QByteArray("A;2;Serwis;\n") << 0
        << "Rows: 1, entries taken: 1, findings: 0 (encoding UTF-8).\n"
        << "|Serwis                        | 2 5\nNumber of entries: 1\n";
    QTest::newRow("control characters in the report")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out"}
        << "\x1B]2,x\x07\x1B[2J;1;Nowak;\n1;\0x\xC2\x9B;Nowak;\n"_ba << 1
        << "row 1: unknown zone \u201c\\x1B]2,x\\x07\\x1B[2J\u201d; left out\n"
           "row 2: number \u201c\\x00x\\u009B\u201d is outside the zone's range; left out\n"
           "Rows: 2, entries taken: 0, findings: 2 (encoding UTF-8).\n"
        << "Number of entries: 0\n";
    QTest::newRow("UTF-16 without a byte order mark")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out"} << "1\0;\0001\0;\0N\0;\0\n\0"_ba
        << 0 << "Rows: 1, entries taken: 1, findings: 0 (encoding UTF-16LE).\n"
        << "|N                             | 1 1\nNumber of entries: 1\n";
    // CP852's "ń" is windows-1250's "ä": the guess is told, and exits 1.
    const QByteArray manka = "1;1;Ma\xE4ka;\n";
    const QString mankaListed = u"|Mańka                         | 1 1\nNumber of entries: 1\n"_s;
    QTest::newRow("a doubtful code page")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out"} << manka << 1
        << "encoding: windows-1250 chosen, not CP852; both give letters here, so check the "
           "names or choose the encoding\n"
           "Rows: 1, entries taken: 1, findings: 0 (encoding windows-1250).\n"
        << QString(mankaListed).replace(u'ń', u'ä');
    QTest::newRow("the encoding given")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out", "--encoding", "Cp852"} << manka
        << 0 << "Rows: 1, entries taken: 1, findings: 0 (encoding CP852).\n"
        << mankaListed;
    QTest::newRow("an unknown encoding")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out", "--encoding", "latin1"} << manka
        << 2
        << "--encoding: utf-8, utf-16le, utf-16be, windows-1250, iso-8859-2, cp852; not latin1\n"
        << QString();
    QTest::newRow("not a table")
        << QStringList{"import-table", "@/in-table.csv", "@/t-out"} << QByteArray("Nowak\n") << 2
        << "This file cannot be read as a table: no semicolon, comma or tab in the first row\n"
        << QString();
    QTest::newRow("a pipe") << QStringList{"import-table", "@/fifo.csv", "@/t-out"} << QByteArray()
                            << 2 << "*" << QString();
    QTest::newRow("bad separator")
        << QStringList{"export-table", "@/small.csv", "@/t.csv", "--separator", "|"} << QByteArray()
        << 2 << "--separator: ';', ',' or tab, not |\n"
        << QString();
    QTest::newRow("existing OUT") << QStringList{"export-table", "@/small.csv", "@/small.csv"}
                                  << QByteArray() << 2 << "*" << QString();
}

// Tables out and in: the exported table of small.csv is first written to
// @/exported.csv with tabs; each row then runs one command.
void CliTest::tables()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, table);
    QFETCH(int, code);
    QFETCH(QString, err);
    QFETCH(QString, listed);
    const QString folder = dir_.path();
    QFile::remove(dir_.filePath("exported.csv"));
    QFile::remove(dir_.filePath("t-out.csv"));
    QCOMPARE(
        run({"export-table", folder + "/small.csv", folder + "/exported.csv", "--separator", "tab"})
            .code,
        0);
    QFile exported(dir_.filePath("exported.csv"));
    QVERIFY(exported.open(QIODevice::ReadOnly));
    QVERIFY(exported.readAll().startsWith("\xEF\xBB\xBFZone\tApartment\tLine 1\tLine 2\r\n"));
    if (!table.isNull()) {
        QFile in(dir_.filePath("in-table.csv"));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write(table);
    }
    for (QString& a : arguments)
        a.replace(u'@', folder);
    const Run r = run(arguments);
    QCOMPARE(r.code, code);
    if (err == u"*")
        QVERIFY(!r.err.isEmpty());
    else
        QCOMPARE(r.err, err);
    if (!listed.isEmpty())
        QCOMPARE(run({"list", "--unsorted", folder + "/t-out.csv"}).out, listed);
    else if (code == 2)
        QVERIFY(!QFile::exists(dir_.filePath("t-out.csv")));
}

// The core's messages and questions may embed a file's text; their own line
// breaks stay.
void CliTest::consoleSinkPrintsCodes()
{
    QString printed;
    {
        QTextStream err(&printed);
        cli::ConsoleSink sink(err, true);
        sink.showMessage(u"Entry \x1B[2J\u009B cut.\nSave?"_s);
        QVERIFY(sink.askYesNo(u"Replace \x1B]2,x\x07?"_s, {}));
    }
    QCOMPARE(printed, u"Entry \\x1B[2J\\u009B cut.\nSave?\nReplace \\x1B]2,x\\x07? yes\n"_s);
}

void CliTest::commandHelp_data()
{
    QTest::addColumn<QString>("usage");       // after "Usage: q540-cli [options] "
    QTest::addColumn<QStringList>("options"); // as the shell completion offers them
    const QStringList module{"--port", "--trace", "--password"};
    QTest::newRow("list") << "list FILE" << QStringList{"--unsorted", "--collation"};
    QTest::newRow("check") << "check FILE" << QStringList{};
    QTest::newRow("import") << "import LIST OUT" << QStringList{"--force"};
    QTest::newRow("export-table") << "export-table FILE OUT"
                                  << QStringList{"--force", "--separator"};
    QTest::newRow("import-table") << "import-table TABLE OUT"
                                  << QStringList{"--force", "--into", "--replace"};
    QTest::newRow("export-pdf") << "export-pdf FILE OUT" << QStringList{"--force", "--collation"};
    QTest::newRow("status") << "status" << module;
    QTest::newRow("write") << "write FILE"
                           << module + QStringList{"--erase",  "--reset-lock", "--alpha-search",
                                                   "--verify", "--backup",     "--collation"};
    QTest::newRow("read") << "read OUT" << module + QStringList{"--force", "--verify"};
    QTest::newRow("diff") << "diff FILE" << module;
    QTest::newRow("history") << "history" << QStringList{};
    QTest::newRow("intro-read") << "intro-read OUT" << module + QStringList{"--force"};
    QTest::newRow("intro-write") << "intro-write FILE" << module + QStringList{"--verify"};
    QTest::newRow("set-password") << "set-password NEW" << module;
    QTest::newRow("module-language") << "module-language [CODE]" << module;
    QTest::newRow("reset-lock") << "reset-lock on|off" << module;
    QTest::newRow("doctor") << "doctor" << module;
}

// Each command's help names its usage and every option the shell completion
// and the manual page offer for it.
void CliTest::commandHelp()
{
    QFETCH(QString, usage);
    QFETCH(QStringList, options);
    const Run r = run({usage.section(u' ', 0, 0), "--help"});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.startsWith("Usage: q540-cli [options] " + usage + '\n'), qPrintable(r.out));
    for (const QString& option : options + QStringList{"--lang", "-h, --help"})
        QVERIFY2(r.out.contains("  " + option + ' '), qPrintable(option));
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
