#include "files/DirectoryFile.h"
#include "protocol/CharacterTable.h"

#include <QRandomGenerator>
#include <QTest>

#include <limits>

using namespace q540;

namespace {

QByteArray fileOf(const QStringList& lines, const char* ending = "\r\n", bool bom = true)
{
    QByteArray bytes = bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (const QString& line : lines)
        bytes += line.toUtf8() + ending;
    return bytes;
}

// The lines of an empty directory with the address placeholder, time 2 and language 1.
QStringList emptyLines()
{
    QStringList lines{QStringLiteral("KOR-Q540 v70;"), QStringLiteral("Adres:;")};
    for (int i = 0; i < 8; ++i)
        lines << QStringLiteral(";");
    lines << QStringLiteral("2;") << QStringLiteral("1;");
    while (lines.size() < 2068)
        lines << QStringLiteral(";");
    return lines;
}

// A file cut short must still reach the smallest size: a long address gets it there.
QStringList padded(QStringList lines)
{
    lines[1] = QString(1000, u'x') + u';';
    return lines;
}

// Line 13 + 2(r-1) holds line 1 of grid row r; counted from 0 here.
int line1Index(int row)
{
    return 12 + 2 * (row - 1);
}

void setLine(DirectoryGrid& grid, int row, int firstColumn, const QString& text)
{
    for (int i = 0; i < text.size(); ++i)
        grid.setCell(row, firstColumn + i, Cell(text.at(i)));
}

QString cells(const DirectoryGrid& grid, int row, int firstColumn)
{
    QString text;
    for (int c = firstColumn; c < firstColumn + 16; ++c) {
        if (!grid.cell(row, c).isEmpty())
            text += QChar(grid.cell(row, c).unit());
    }
    return text;
}

DirectoryDocument parsed(const QByteArray& bytes)
{
    DirectoryFileParse parse = parseDirectoryFile(bytes);
    if (!parse.document)
        qFatal("the file was refused");
    return *parse.document;
}

// Every character the module shows, the semicolon among them.
QString moduleCharacters()
{
    QString pool;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        pool += QChar(c);
    for (char16_t c = 0xA0; c <= charset::kLargestModuleCode; ++c)
        pool += QChar(c);
    for (const auto& pair : charset::kModuleCharacters)
        pool += QChar(pair.unit);
    for (const auto& pair : charset::kLatinLookAlikes)
        pool += QChar(pair.unit);
    return pool;
}

QString randomText(QRandomGenerator& random, const QString& pool, int maxLength)
{
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i)
        text += pool.at(random.bounded(static_cast<int>(pool.size())));
    return text;
}

} // namespace

class DirectoryFileTest : public QObject {
    Q_OBJECT

private slots:
    void emptyDirectoryIsWrittenAs2068Lines()
    {
        DirectoryDocument document;
        document.fields.address = QStringLiteral("Adres:");
        document.fields.moduleLanguage = 1;
        const QByteArray bytes = directoryFileBytes(document);
        QCOMPARE(bytes, fileOf(emptyLines()));
        QCOMPARE(bytes.count("\r\n"), 2068);
        QCOMPARE(parsed(bytes), document);
    }

    void smallDirectoryIsWrittenByteForByte()
    {
        DirectoryDocument document;
        document.fields.address = QStringLiteral("ul. Długa 5;");
        document.fields.intro[0] = QStringLiteral("Witamy");
        document.fields.intro[7] = QStringLiteral("Żółw ");
        document.fields.timeIndex = 14;
        document.fields.moduleLanguage = 2;
        setLine(document.grid, 1, 1, QStringLiteral("Kowalski"));
        setLine(document.grid, 1, 17, QStringLiteral("Jan"));
        setLine(document.grid, 256, 1, QStringLiteral("Nowak;Łucja "));
        setLine(document.grid, 1021, 1, QStringLiteral("Portiernia"));
        setLine(document.grid, 1021, 17, QStringLiteral("czynna 7-15 ABxy"));

        QStringList lines = emptyLines();
        lines[1] = QStringLiteral("ul. Długa 5,;");
        lines[2] = QStringLiteral("Witamy;");
        lines[9] = QStringLiteral("Żółw ;");
        lines[10] = QStringLiteral("15;");
        lines[11] = QStringLiteral("2;");
        lines[line1Index(1)] = QStringLiteral("Kowalski;");
        lines[line1Index(1) + 1] = QStringLiteral("Jan;");
        lines[line1Index(256)] = QStringLiteral("Nowak,Łucja ;");
        lines[line1Index(1021)] = QStringLiteral("Portiernia;");
        lines[line1Index(1021) + 1] = QStringLiteral("czynna 7-15 ABxy;");
        QCOMPARE(directoryFileBytes(document), fileOf(lines));
    }

    void noTimeIsWrittenAsZero()
    {
        DirectoryDocument document;
        document.fields.timeIndex = kIntroTimeNone;
        QStringList lines = emptyLines();
        lines[1] = QStringLiteral(";");
        lines[10] = QStringLiteral("0;");
        lines[11] = QStringLiteral("0;");
        QCOMPARE(directoryFileBytes(document), fileOf(lines));
        QCOMPARE(parsed(directoryFileBytes(document)).fields.timeIndex, kIntroTimeNone);
    }

    // Each row: the file, the problem, and what row 1's two lines, the address, the
    // time index and the language read as when there is none.
    void read_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<int>("timeIndex");
        QTest::addColumn<int>("language");
        const auto ok = [](const char* name, const QByteArray& file, const QString& line1,
                           const QString& line2 = QString(), int timeIndex = 1, int language = 1) {
            QTest::newRow(name) << file << int(FileProblem::None) << line1 << line2 << timeIndex
                                << language;
        };
        const auto refused = [](const char* name, const QByteArray& file, FileProblem problem) {
            QTest::newRow(name) << file << int(problem) << QString() << QString() << 0 << 0;
        };
        const auto with = [](int index, const QString& value) {
            QStringList lines = emptyLines();
            lines[1 + line1Index(1)] = QStringLiteral("Jan;");
            lines[index] = value;
            return lines;
        };
        const int row1 = line1Index(1);

        ok("as written", fileOf(with(row1, "Kowal;")), "Kowal", "Jan");
        ok("no byte order mark", fileOf(with(row1, "Kowal;"), "\r\n", false), "Kowal", "Jan");
        ok("LF", fileOf(with(row1, "Kowal;"), "\n"), "Kowal", "Jan");
        ok("lone CR", fileOf(with(row1, "Kowal;"), "\r"), "Kowal", "Jan");
        ok("last character dropped unchecked", fileOf(with(row1, "abc")), "ab", "Jan");
        ok("20 characters keep 16", fileOf(with(row1, "ABCDEFGHIJKLMNOPQRST;")), "ABCDEFGHIJKLMNOP",
           "Jan");
        ok("line 2 fills cells 17..32", fileOf(with(row1 + 1, "0123456789abcdefXY;")), "",
           "0123456789abcdef");
        ok("invalid UTF-8 reads as a replacement",
           fileOf(with(row1, "A")).replace("\r\nA\r\n", "\r\nA\xFF;\r\n"), "A\uFFFD", "Jan");
        ok("line 11 of 1 is the time 1", fileOf(with(10, "1;")), "", "Jan", 0);
        ok("empty language reads as 1", fileOf(with(11, "")), "", "Jan", 1, 1);
        ok("negative language", fileOf(with(11, "-7;")), "", "Jan", 1, -7);
        QStringList extra = with(row1, "Kowal;");
        extra << QStringLiteral("a;b;") << QStringLiteral("KOR-Q540 v70;");
        ok("lines after 2068 ignored", fileOf(extra), "Kowal", "Jan");
        ok("cut short after line 200", fileOf(padded(with(row1, "Kowal;").mid(0, 200))), "Kowal",
           "Jan");

        refused("header without semicolon", fileOf(with(0, "KOR-Q540 v70")),
                FileProblem::WrongFile);
        refused("header with a space", fileOf(with(0, "KOR-Q540 v70; ")), FileProblem::WrongFile);
        refused("older header", fileOf(with(0, "KOR-Q540 v43")), FileProblem::WrongFile);
        refused("semicolon inside an entry", fileOf(with(row1, "a;b;")),
                FileProblem::StructureError);
        refused("semicolon inside the address", fileOf(with(1, "Ad;res:;")),
                FileProblem::StructureError);
        refused("semicolon inside intro line 8", fileOf(with(9, ";;")),
                FileProblem::StructureError);
        refused("semicolon inside the last row", fileOf(with(2067, "x;y;")),
                FileProblem::StructureError);
        refused("empty time", fileOf(with(10, "")), FileProblem::StructureError);
        refused("time cut short", fileOf(padded(emptyLines().mid(0, 10))),
                FileProblem::StructureError);
        refused("time a word", fileOf(with(10, "dwa;")), FileProblem::StructureError);
        refused("time with a space", fileOf(with(10, " 2;")), FileProblem::StructureError);
        refused("time a fraction", fileOf(with(10, "1.5;")), FileProblem::StructureError);
        refused("time past int", fileOf(with(10, "2147483648;")), FileProblem::StructureError);
        refused("language a word", fileOf(with(11, "pl;")), FileProblem::StructureError);
    }

    void read()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, problem);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QFETCH(int, timeIndex);
        QFETCH(int, language);
        const DirectoryFileParse parse = parseDirectoryFile(file);
        QCOMPARE(int(parse.problem), problem);
        QCOMPARE(parse.document.has_value(), problem == int(FileProblem::None));
        if (!parse.document)
            return;
        QCOMPARE(cells(parse.document->grid, 1, 1), line1);
        QCOMPARE(cells(parse.document->grid, 1, 17), line2);
        QCOMPARE(parse.document->fields.timeIndex, timeIndex);
        QCOMPARE(parse.document->fields.moduleLanguage, language);
        // Nothing past row 1 was in any of these files.
        for (int row = 2; row <= kGridRows; ++row)
            QVERIFY(cells(parse.document->grid, row, 1).isEmpty());
    }

    void displayTime_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("timeIndex");
        const std::pair<const char*, int> rows[] = {
            {"-2147483648", -1}, {"-5", -1}, {"0", -1},   {"+1", 0},   {"1", 0},    {"2", 1},
            {"15", 14},          {"16", 14}, {"127", 14}, {"128", 14}, {"129", 14}, {"257", 14},
            {"2147483647", 14}};
        for (const auto& [value, index] : rows)
            QTest::newRow(value) << QString::fromLatin1(value) << index;
    }

    void displayTime()
    {
        QFETCH(QString, value);
        QFETCH(int, timeIndex);
        QStringList lines = emptyLines();
        lines[10] = value + u';';
        QCOMPARE(parsed(fileOf(lines)).fields.timeIndex, timeIndex);
    }

    void sizeBounds_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("934") << 934 << false;
        QTest::newRow("935") << 935 << true;
        QTest::newRow("40178, past the old bound") << 40178 << true;
        QTest::newRow("largest written") << int(kDirectoryFileMaxSize) << true;
        QTest::newRow("one byte more") << int(kDirectoryFileMaxSize) + 1 << false;
    }

    // Files of an exact size: a valid start, then the address padded to the size.
    void sizeBounds()
    {
        QFETCH(int, size);
        QFETCH(bool, accepted);
        QStringList lines = emptyLines().mid(0, 12);
        lines[1] = QStringLiteral(";");
        const int padding = size - int(fileOf(lines).size());
        QVERIFY(padding >= 0);
        lines[1] = QString(padding, u'x') + u';';
        const QByteArray file = fileOf(lines);
        QCOMPARE(int(file.size()), size);
        QCOMPARE(int(parseDirectoryFile(file).problem),
                 int(accepted ? FileProblem::None : FileProblem::WrongFile));
    }

    // Every value at its longest in characters of three UTF-8 bytes: the writer's
    // largest file, which the reader must take.
    void largestFileTheWriterCanProduceOpens()
    {
        const QChar euro(0x20AC);
        DirectoryDocument document;
        document.fields.address = QString(40, euro);
        for (QString& line : document.fields.intro)
            line = QString(30, euro);
        document.fields.timeIndex = 14;
        document.fields.moduleLanguage = std::numeric_limits<int>::min();
        for (int row = 1; row <= kGridRows; ++row) {
            for (int c = 1; c <= kGridColumns; ++c)
                document.grid.setCell(row, c, Cell(euro));
        }
        const QByteArray bytes = directoryFileBytes(document);
        QCOMPARE(bytes.size(), kDirectoryFileMaxSize);
        const DirectoryDocument back = parsed(bytes);
        QCOMPARE(back.grid, document.grid);
        QCOMPARE(back.fields.address, QString(kAddressLength, euro));
        QCOMPARE(back.fields.intro[7], QString(kIntroLineLength, euro));
        QCOMPARE(back.fields.moduleLanguage, document.fields.moduleLanguage);
    }

    void fullPolishDirectoryOpens()
    {
        const QString polish = QStringLiteral("ĄĆĘŁŃÓŚŹŻąćęłńóśźż");
        DirectoryDocument document;
        document.fields.address = QStringLiteral("Łódź, Żółkiewskiego");
        for (int row = 1; row <= kZoneCount * kApartmentsPerZone; ++row) {
            for (int c = 1; c <= kEntryTextLength; ++c)
                document.grid.setCell(row, c, Cell(polish.at((row + c) % polish.size())));
        }
        const QByteArray bytes = directoryFileBytes(document);
        QVERIFY(bytes.size() > 40177);
        QCOMPARE(parsed(bytes), document);
    }

    void roundTrip_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 6; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    // Random directories: every module character, spaces at the ends of lines, empty
    // and full lines, cells 31 and 32. Semicolons come back as commas.
    void roundTrip()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const QString pool = moduleCharacters() + QStringLiteral("     ");
        DirectoryDocument document;
        DocumentFields& fields = document.fields;
        fields.address = randomText(random, pool, kAddressLength);
        for (QString& line : fields.intro)
            line = randomText(random, pool, kIntroLineLength);
        fields.timeIndex = random.bounded(-1, kIntroTimeItemCount);
        fields.moduleLanguage = random.bounded(-1, 300);
        for (int row = 1; row <= kGridRows; ++row) {
            if (random.bounded(3) == 0)
                continue;
            setLine(document.grid, row, 1, randomText(random, pool, 16));
            setLine(document.grid, row, 17, randomText(random, pool, 16));
        }

        DirectoryDocument expected = document;
        expected.fields.address.replace(u';', u',');
        for (QString& line : expected.fields.intro)
            line.replace(u';', u',');
        for (int row = 1; row <= kGridRows; ++row) {
            for (int c = 1; c <= kGridColumns; ++c) {
                if (expected.grid.cell(row, c) == Cell(u';'))
                    expected.grid.setCell(row, c, Cell(u','));
            }
        }
        const DirectoryDocument back = parsed(directoryFileBytes(document));
        QCOMPARE(back.fields, expected.fields);
        QCOMPARE(back.grid, expected.grid);
    }
};

QTEST_GUILESS_MAIN(DirectoryFileTest)
#include "tst_directoryfile.moc"
