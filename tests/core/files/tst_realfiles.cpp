#include "files/DirectoryStore.h"
#include "files/ListFile.h"

#include <QFile>
#include <QTest>

#include <algorithm>

// Files as they reach the program, kept in tests/data/files: an older list
// file in Windows-1250, and the directory file the program made of it
// (q540-cli import older-list.txt program-directory). Reading them through the
// program's own loaders ties the formats to real bytes, not to the writer.

using namespace q540;

namespace {

QString dataFile(const char* name)
{
    return QStringLiteral(Q540_DATA_DIR "/files/") + QLatin1String(name);
}

QByteArray contents(const char* name)
{
    QFile file(dataFile(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", name);
    return file.readAll();
}

const IntroLines kIntro{QStringLiteral("Witamy"),        QStringLiteral("ul. Różana 3"),
                        QStringLiteral("Wybierz numer"), QStringLiteral("lokalu"),
                        QStringLiteral("Szukaj"),        QStringLiteral("nazwiska"),
                        QStringLiteral("Dziękujemy"),    QStringLiteral("Do widzenia")};

} // namespace

class RealFilesTest : public QObject {
    Q_OBJECT

private slots:
    void entries_data()
    {
        QTest::addColumn<int>("apartment");
        QTest::addColumn<QString>("line1"); // as the list file holds it
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QString>("entry"); // as the directory file holds it, 16 + 14
        QTest::newRow("plain") << 1 << "Kowalski"
                               << "Jan"
                               << "Kowalski        Jan           ";
        QTest::newRow("Polish letters") << 2 << "Łódź Żółć"
                                        << "Ęą"
                                        << "Łódź Żółć       Ęą            ";
        QTest::newRow("German letter") << 3 << "Müller"
                                       << "Hans"
                                       << "Müller          Hans          ";
        QTest::newRow("longer than the fields") << 7 << "Wiśniewska-Dąbrowska"
                                                << "Małgorzata Anna"
                                                << "Wiśniewska-DąbroMałgorzata Ann";
        QTest::newRow("last apartment") << 255 << "Ostatni"
                                        << "Lokal"
                                        << "Ostatni         Lokal         ";
    }

    void entries()
    {
        QFETCH(int, apartment);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QFETCH(QString, entry);
        const ListFileParse list = parseListFile(contents("older-list.txt"));
        QVERIFY(list.list);
        const auto found =
            std::find_if(list.list->entries.begin(), list.list->entries.end(),
                         [&](const ListEntry& e) { return e.apartment == apartment; });
        QVERIFY(found != list.list->entries.end());
        QCOMPARE(found->line1, line1);
        QCOMPARE(found->line2, line2);

        const DirectoryFileLoad directory = loadDirectoryFile(dataFile("program-directory.csv"));
        QVERIFY(directory.document);
        QCOMPARE(directory.document->grid.entryText(zoneRow(0, apartment)), entry);
    }

    void listFileHoldsItsIntroAndTime()
    {
        const ListFileParse parse = parseListFile(contents("older-list.txt"));
        QVERIFY(parse.list);
        QCOMPARE(parse.list->entries.size(), std::size_t(5));
        QCOMPARE(parse.list->intro, kIntro);
        QCOMPARE(parse.list->timeIndex, 3);
        // The two lines of apartment 7 are longer than the page keeps.
        QCOMPARE(parse.notes.cutValues.size(), std::size_t(2));
    }

    void directoryFileSavesByteForByte()
    {
        const DirectoryFileLoad load = loadDirectoryFile(dataFile("program-directory.csv"));
        QVERIFY(!load.failure);
        QVERIFY(load.document);
        QCOMPARE(load.document->fields.intro, kIntro);
        QCOMPARE(load.document->fields.timeIndex, 3);
        QVERIFY(load.notes.cutValues.empty());
        QCOMPARE(directoryFileBytes(*load.document), contents("program-directory.csv"));
    }
};

QTEST_GUILESS_MAIN(RealFilesTest)
#include "tst_realfiles.moc"
