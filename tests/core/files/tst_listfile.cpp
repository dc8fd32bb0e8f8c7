#include "files/ListFile.h"

#include <QTest>

using namespace q540;

namespace {

// The 521 lines of a list file, counted from 1 as the format counts them.
struct ListLines {
    QList<QByteArray> lines = QList<QByteArray>(521);
    ListLines(const QByteArray& header = "KOR-LCDv4") { lines[0] = header; }
    ListLines& set(int number, const QByteArray& value)
    {
        lines[number - 1] = value;
        return *this;
    }
    ListLines& entry(int j, const QByteArray& line1, const QByteArray& line2)
    {
        return set(2 * j, line1).set(2 * j + 1, line2);
    }
    QByteArray file(const char* ending = "\r\n") const { return lines.join(ending) + ending; }
};

} // namespace

class ListFileTest : public QObject {
    Q_OBJECT

private slots:
    void refused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("problem");
        const int wrong = int(FileProblem::WrongFile);
        QByteArray small = ListLines().file();
        small.truncate(934);
        QTest::newRow("934 bytes") << small << wrong;
        QTest::newRow("7178 bytes")
            << ListLines().set(521, QByteArray(7178 - 1051, '5')).file() << wrong;
        QTest::newRow("v43 and a space") << ListLines("KOR-Q540 v43 ").file() << wrong;
        QTest::newRow("directory header") << ListLines("KOR-Q540 v70;").file() << wrong;
        QTest::newRow("header in small letters") << ListLines("kor-lcdv4").file() << wrong;
        QTest::newRow("time a word")
            << ListLines().set(521, "trzy").file() << int(FileProblem::StructureError);
        QTest::newRow("time with a space")
            << ListLines().set(521, "3 ").file() << int(FileProblem::StructureError);
    }

    void refused()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, problem);
        const ListFileParse parse = parseListFile(file);
        QCOMPARE(int(parse.problem), problem);
        QVERIFY(!parse.list);
    }

    void sizeBounds_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("935") << 935;
        QTest::newRow("7177") << 7177;
    }

    void sizeBounds()
    {
        QFETCH(int, size);
        QByteArray file = ListLines().file();
        // A file cut short reads its missing lines as empty; padding goes into intro line 1.
        file = file.left(900) + QByteArray(size - 900, 'x');
        QVERIFY(parseListFile(file).list);
    }

    // Each row: the file and what it imports as entries "j:line1|line2" in order,
    // intro lines 1, 2 and 3, and the time index.
    void import_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("intro");
        QTest::addColumn<int>("timeIndex");
        const QStringList noIntro(3);
        // One-byte line ends need the unused line 514 to reach the smallest size.
        const QByteArray kPadding(500, 'p');
        QTest::newRow("header v43, empty file")
            << ListLines("KOR-Q540 v43").file() << QStringList() << noIntro << 2;
        QTest::newRow("entries kept whole; empty or space-led line 1 dropped")
            << ListLines()
                   .entry(1, "Kowalski", "Jan")
                   .entry(2, "", "bez nazwiska")
                   .entry(3, " Nowak", "Anna")
                   .entry(4, "ABCDEFGHIJKLMNOPQRST", "abcdefghijklmnopqrst")
                   .entry(5, "ma\xB3y;1", "")
                   .entry(255, "9 Ostatni", "x")
                   .file()
            << QStringList{"1:Kowalski|Jan", "4:ABCDEFGHIJKLMNOPQRST|abcdefghijklmnopqrst",
                           QStringLiteral("5:mały;1|"), "255:9 Ostatni|x"}
            << noIntro << 2;
        QTest::newRow("Windows-1250 letters")
            << ListLines()
                   .entry(7, "\xA3\xF3\x64\x9F \xAF\xF3\xB3\xE6", "\x8C\x9C\x8F\xA5\xB9")
                   .file()
            << QStringList{QStringLiteral("7:Łódź Żółć|ŚśŹĄą")} << noIntro << 2;
        QTest::newRow("intro lines, 514 dropped, cut to 16")
            << ListLines()
                   .set(512, "Witamy")
                   .set(513, "w bloku")
                   .set(514, "stara linia")
                   .set(515, "Trzecia linia ma dwadzieścia")
                   .set(521, "7")
                   .file()
            << QStringList() << QStringList{"Witamy", "w bloku", "Trzecia linia ma"} << 6;
        QTest::newRow("LF")
            << ListLines().entry(2, "Lis", "Ola").set(512, "A").set(514, kPadding).file("\n")
            << QStringList{"2:Lis|Ola"} << QStringList{"A", "", ""} << 2;
        QTest::newRow("lone CR")
            << ListLines().entry(2, "Lis", "Ola").set(514, kPadding).set(521, "1").file("\r")
            << QStringList{"2:Lis|Ola"} << noIntro << 0;
        QTest::newRow("time 0 is none")
            << ListLines().set(521, "0").file() << QStringList() << noIntro << -1;
        QTest::newRow("time 15") << ListLines().set(521, "15").file() << QStringList() << noIntro
                                 << 14;
        QTest::newRow("time 129 is 15")
            << ListLines().set(521, "129").file() << QStringList() << noIntro << 14;
        QTest::newRow("time 257 is 15")
            << ListLines().set(521, "257").file() << QStringList() << noIntro << 14;

        // Cut after entry 100: padded by entry 100's line 2 to the smallest size.
        ListLines cut;
        for (int j = 1; j <= 100; ++j)
            cut.entry(j, "N" + QByteArray::number(j), j == 100 ? QByteArray(400, 'z') : "");
        QStringList first100;
        for (int j = 1; j <= 100; ++j)
            first100 << QStringLiteral("%1:N%1|%2").arg(j).arg(j == 100 ? QString(400, u'z') : "");
        const QByteArray cutFile = cut.file().left(cut.file().indexOf(QByteArray(400, 'z')) + 400);
        QTest::newRow("cut after entry 100") << cutFile << first100 << noIntro << 2;
    }

    void import()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, intro);
        QFETCH(int, timeIndex);
        const ListFileParse parse = parseListFile(file);
        QCOMPARE(int(parse.problem), int(FileProblem::None));
        QVERIFY(parse.list);
        QStringList got;
        for (const ListEntry& e : parse.list->entries)
            got << QStringLiteral("%1:%2|%3").arg(e.apartment).arg(e.line1, e.line2);
        QCOMPARE(got, entries);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(parse.list->intro[static_cast<std::size_t>(i)], intro.at(i));
        QCOMPARE(parse.list->timeIndex, timeIndex);
    }
};

QTEST_GUILESS_MAIN(ListFileTest)
#include "tst_listfile.moc"
