#include "directory/DirectoryPage.h"

#include <QHash>
#include <QSet>
#include <QTest>

using namespace q540;

namespace {

// Cells written as a pattern: '_' is an empty cell, '0' the code unit 0,
// any other character itself.
void setCells(DirectoryGrid& grid, int row, int firstColumn, const QString& pattern)
{
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        const Cell value = c == u'_' ? Cell() : c == u'0' ? Cell(u'\0') : Cell(c);
        grid.setCell(row, firstColumn + i, value);
    }
}

QString cellPattern(const DirectoryGrid& grid, int row, int firstColumn, int length)
{
    QString pattern;
    for (int i = 0; i < length; ++i) {
        const Cell c = grid.cell(row, firstColumn + i);
        pattern += c.isEmpty() ? QChar(u'_') : c.unit() == 0 ? QChar(u'0') : QChar(c.unit());
    }
    return pattern;
}

} // namespace

class DirectoryPageTest : public QObject {
    Q_OBJECT

private slots:
    void rowsAndFieldNumbers_data();
    void rowsAndFieldNumbers();
    void copyWritesCellsOfTheWholePage_data();
    void copyWritesCellsOfTheWholePage();
    void fillTrimsTrailingSpaceCells_data();
    void fillTrimsTrailingSpaceCells();
    void typingCopiesOnlyOutsideTheFill();
    void changesDuringTheFillOnlyFollowLine2();
    void switchingZonesShowsTheSameTexts();
    void introPageCopiesNothing();
    void emptyingKeepsColumns31And32();
};

void DirectoryPageTest::rowsAndFieldNumbers_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("line1Edit");
    QTest::addColumn<int>("line2Edit");
    QTest::newRow("zone 1 apartment 1") << 0 << 1 << 1 << 1 << 2;
    QTest::newRow("zone 1 apartment 255") << 0 << 255 << 255 << 509 << 510;
    QTest::newRow("zone 2 apartment 1") << 1 << 1 << 256 << 1 << 2;
    QTest::newRow("zone 3 apartment 7") << 2 << 7 << 517 << 13 << 14;
    QTest::newRow("zone 4 apartment 255") << 3 << 255 << 1020 << 509 << 510;
    QTest::newRow("additional 1") << 4 << 1 << 1021 << 522 << 523;
    QTest::newRow("additional 8") << 4 << 8 << 1028 << 536 << 537;
}

void DirectoryPageTest::rowsAndFieldNumbers()
{
    QFETCH(int, selector);
    QFETCH(int, slot);
    QFETCH(int, row);
    QFETCH(int, line1Edit);
    QFETCH(int, line2Edit);
    QCOMPARE(slotRow(selector, slot), row);
    QCOMPARE(line1EditNumber(selector, slot), line1Edit);
    QCOMPARE(line2EditNumber(selector, slot), line2Edit);
}

void DirectoryPageTest::copyWritesCellsOfTheWholePage_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    QTest::addColumn<QString>("line1Cells");
    QTest::addColumn<QString>("line2Cells");
    QTest::newRow("three characters leave empty cells, not spaces") << 2 << "Abc"
                                                                    << ""
                                                                    << "Abc_____________"
                                                                    << "______________";
    QTest::newRow("typed trailing spaces are space cells") << 0 << "Ab  "
                                                           << " x "
                                                           << "Ab  ____________"
                                                           << " x ___________";
    QTest::newRow("full lines") << 4 << "ABCDEFGHIJKLMNOP"
                                << "abcdefghijklmn"
                                << "ABCDEFGHIJKLMNOP"
                                << "abcdefghijklmn";
    QTest::newRow("longer texts are cut at the line length") << 1 << "ABCDEFGHIJKLMNOPQ"
                                                             << "abcdefghijklmnop"
                                                             << "ABCDEFGHIJKLMNOP"
                                                             << "abcdefghijklmn";
}

void DirectoryPageTest::copyWritesCellsOfTheWholePage()
{
    QFETCH(int, selector);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    DirectoryGrid grid;
    // Stale cells everywhere on the page, and one cell of the neighbouring zone.
    for (int j = 1; j <= slotCount(selector); ++j)
        setCells(grid, slotRow(selector, j), 1, QStringLiteral("zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"));
    setCells(grid, 300, 1, QStringLiteral("q"));
    std::vector<PageSlot> page(static_cast<std::size_t>(slotCount(selector)));
    page[6] = {line1, line2};

    storePage(grid, selector, page);

    QFETCH(QString, line1Cells);
    QFETCH(QString, line2Cells);
    const int row = slotRow(selector, 7);
    QCOMPARE(cellPattern(grid, row, 1, 16), line1Cells);
    QCOMPARE(cellPattern(grid, row, 17, 14), line2Cells);
    // Every other slot of the page is rewritten from its (empty) texts; columns
    // 31..32 and rows of other pages stay.
    QCOMPARE(cellPattern(grid, slotRow(selector, 1), 1, 32),
             QStringLiteral("______________________________zz"));
    QCOMPARE(cellPattern(grid, row, 31, 2), QStringLiteral("zz"));
    if (selector != 1)
        QCOMPARE(grid.cell(300, 1), Cell(u'q'));
}

void DirectoryPageTest::fillTrimsTrailingSpaceCells_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<QString>("line1Cells");
    QTest::addColumn<QString>("line2Cells");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    const QString spaces16(16, u' ');
    const QString spaces14(14, u' ');
    QTest::newRow("zone: spaces only") << 0 << spaces16 << spaces14 << ""
                                       << " ";
    QTest::newRow("additional: spaces only") << 4 << spaces16 << spaces14 << " "
                                             << " ";
    QTest::newRow("zone: all cells empty") << 1 << QString(16, u'_') << QString(14, u'_') << ""
                                           << "";
    QTest::newRow("trailing space cells of a full line") << 3 << "AB              "
                                                         << "x             "
                                                         << "AB"
                                                         << "x";
    QTest::newRow("an empty cell stops the scan") << 0 << "AB  ____________"
                                                  << " x ___________"
                                                  << "AB  "
                                                  << " x ";
    QTest::newRow("empty cells inside add nothing") << 2 << "A_B             "
                                                    << "_y            "
                                                    << "AB"
                                                    << "y";
    QTest::newRow("leading spaces stay") << 4 << "  Q             "
                                         << "  r           "
                                         << "  Q"
                                         << "  r";
    QTest::newRow("non-space last character") << 0 << "               Z"
                                              << "             z"
                                              << "               Z"
                                              << "             z";
    QTest::newRow("code unit 0 is a character")
        << 0 << "A0              "
        << "0             " << QStringLiteral("A") + QChar(u'\0') << QString(QChar(u'\0'));
}

void DirectoryPageTest::fillTrimsTrailingSpaceCells()
{
    QFETCH(int, selector);
    QFETCH(QString, line1Cells);
    QFETCH(QString, line2Cells);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    DirectoryGrid grid;
    const int row = slotRow(selector, 3);
    setCells(grid, row, 1, line1Cells);
    setCells(grid, row, 17, line2Cells);

    DirectoryPage page(grid);
    page.selectPage(selector);

    QCOMPARE(page.slot(3).line1, line1);
    QCOMPARE(page.slot(3).line2, line2);
    // The fill shows the grid; it does not change it.
    QCOMPARE(cellPattern(grid, row, 1, 16), line1Cells);
}

void DirectoryPageTest::typingCopiesOnlyOutsideTheFill()
{
    DirectoryGrid grid;
    setCells(grid, 520, 1, QStringLiteral("Kowalski"));
    // A line 2 without a line 1: shown, but in a disabled field.
    setCells(grid, 521, 17, QStringLiteral("Jan"));
    DirectoryPage page(grid);
    int rebuilds = 0;
    page.onListRebuild = [&] { ++rebuilds; };
    QSet<int> changed;
    page.onSlotChanged = [&](int slot) { changed << slot; };

    page.selectPage(2);
    QCOMPARE(changed.size(), 255);
    QCOMPARE(rebuilds, 1);
    QVERIFY(!page.fillingPage());
    QCOMPARE(page.slot(10).line1, QStringLiteral("Kowalski"));
    QVERIFY(page.line2Enabled(10));
    QCOMPARE(page.slot(11).line2, QStringLiteral("Jan"));
    QVERIFY(!page.line2Enabled(11));
    QVERIFY(!page.line2Enabled(7));

    // The first character typed into an empty line 1 opens line 2, empty.
    page.line1Changed(7, QStringLiteral("N"));
    QVERIFY(page.line2Enabled(7));
    QCOMPARE(page.slot(7).line2, QString());
    QCOMPARE(grid.cell(517, 1), Cell(u'N'));
    QCOMPARE(cellPattern(grid, 517, 2, 15), QString(15, u'_'));
    QCOMPARE(cellPattern(grid, 520, 1, 9), QStringLiteral("Kowalski_"));
    QCOMPARE(rebuilds, 2);

    page.line2Changed(7, QStringLiteral("x"));
    QCOMPARE(grid.cell(517, 17), Cell(u'x'));
    QCOMPARE(rebuilds, 3);

    // Emptying line 1 closes and empties line 2: two copies, two rebuilds.
    page.line1Changed(7, QString());
    QVERIFY(!page.line2Enabled(7));
    QCOMPARE(page.slot(7).line2, QString());
    QVERIFY(grid.isEntryEmpty(517));
    QCOMPARE(rebuilds, 5);

    page.listOptionClicked();
    QCOMPARE(rebuilds, 6);
}

void DirectoryPageTest::changesDuringTheFillOnlyFollowLine2()
{
    DirectoryGrid grid;
    DirectoryPage page(grid);
    int rebuilds = 0;
    page.onListRebuild = [&] { ++rebuilds; };
    page.selectPage(kSelectorIntro);
    rebuilds = 0;
    // With the intro page shown the flag stays set: the fields' changes (as
    // far as a directory page's slots exist) copy and rebuild nothing.
    page.listOptionClicked();
    QCOMPARE(rebuilds, 0);

    page.selectPage(0);
    rebuilds = 0;
    // A view whose fields report a text that really changed, as a line edit does.
    QHash<int, QString> shown;
    page.onSlotChanged = [&](int slot) {
        if (shown.value(slot) != page.slot(slot).line1) {
            shown[slot] = page.slot(slot).line1;
            page.line1Changed(slot, shown[slot]);
        }
    };
    setCells(grid, 3, 1, QStringLiteral("Abc"));
    page.refresh();
    QCOMPARE(rebuilds, 1);
    QVERIFY(page.line2Enabled(3));
    QVERIFY(!page.line2Enabled(4));
}

void DirectoryPageTest::switchingZonesShowsTheSameTexts()
{
    DirectoryGrid grid;
    setCells(grid, 5, 1, QStringLiteral("Nowak           Jan           "));
    DirectoryPage page(grid);
    page.selectPage(0);
    const std::vector<PageSlot> before = page.pageSlots();
    QCOMPARE(before[4], (PageSlot{QStringLiteral("Nowak"), QStringLiteral("Jan")}));
    page.selectPage(1);
    QCOMPARE(page.slot(5), PageSlot());
    page.selectPage(0);
    QCOMPARE(page.pageSlots(), before);
}

void DirectoryPageTest::introPageCopiesNothing()
{
    DirectoryGrid grid;
    setCells(grid, 1, 1, QStringLiteral("Abc"));
    DirectoryPage page(grid);
    int rebuilds = 0;
    page.onListRebuild = [&] { ++rebuilds; };
    page.selectPage(kSelectorIntro);
    QCOMPARE(rebuilds, 1);
    QVERIFY(page.pageSlots().empty());
    QVERIFY(!page.transferGroupEnabled());
    // The fill flag stays set while the intro page is shown.
    QVERIFY(page.fillingPage());
    const DirectoryGrid unchanged = grid;
    page.storePage();
    QVERIFY(grid == unchanged);

    page.selectPage(0);
    QVERIFY(!page.fillingPage());
    QVERIFY(page.transferGroupEnabled());
}

void DirectoryPageTest::emptyingKeepsColumns31And32()
{
    DirectoryGrid grid;
    for (int row : {1, 700, 1020, 1021, 1028})
        setCells(grid, row, 1, QString(32, u'x'));
    DirectoryPage page(grid);
    page.selectPage(4);
    QCOMPARE(page.slot(1).line1, QString(16, u'x'));
    int rebuilds = 0;
    page.onListRebuild = [&] { ++rebuilds; };
    QString entryCount = QStringLiteral("17");

    page.Zeruj_dane(entryCount);

    for (int row : {1, 700, 1020, 1021, 1028}) {
        QCOMPARE(cellPattern(grid, row, 1, 32), QString(30, u'_') + QStringLiteral("xx"));
        QVERIFY(grid.isEntryEmpty(row));
    }
    QCOMPARE(page.slot(1), PageSlot());
    QCOMPARE(page.selectorIndex(), 4);
    QCOMPARE(rebuilds, 1);
    QCOMPARE(entryCount, QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(DirectoryPageTest)
#include "tst_directorypage.moc"
