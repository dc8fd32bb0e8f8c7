#include "base/Localisation.h"
#include "directory/DirectoryEditor.h"
#include "support/RecordingSink.h"

#include <QTest>

using namespace q540;

namespace {

void setEntry(DirectoryGrid& grid, int row, const QString& line1, const QString& line2 = {})
{
    for (int i = 0; i < line1.size(); ++i)
        grid.setCell(row, 1 + i, Cell(line1.at(i)));
    for (int i = 0; i < line2.size(); ++i)
        grid.setCell(row, kLine2FirstColumn + i, Cell(line2.at(i)));
}

QString padded(const QString& line1, const QString& line2 = {})
{
    return line1.leftJustified(kLine1Length) + line2.leftJustified(kLine2Length);
}

// Rows as "text|apartment|zone" with the text trimmed, for readable comparisons.
QStringList describe(const NameList& list)
{
    QStringList out;
    for (const NameRow& r : list.rows())
        out << QStringLiteral("%1|%2|%3").arg(r.text.trimmed()).arg(r.apartment).arg(r.zone);
    return out;
}

struct Fixture {
    Localisation texts;
    test::RecordingSink sink;
    std::unique_ptr<DirectoryEditor> editor;
    Fixture()
    {
        texts.load();
        texts.setLanguage(1);
        editor = std::make_unique<DirectoryEditor>(sink, texts, kModuleOrderPolish);
    }
    DirectoryGrid& grid() { return editor->grid(); }
    const NameList& list() { return editor->list(); }
};

} // namespace

class NameListTest : public QObject {
    Q_OBJECT

private slots:
    void rowsInZoneAndSortedOrder();
    void onlyNonBlankEntriesHaveRows();
    void limitWarnsOncePerCrossing_data();
    void limitWarnsOncePerCrossing();
    void lamps_data();
    void lamps();
    void disabledListIsNotRebuilt();
    void changedTextsGetNewKeys();
};

void NameListTest::rowsInZoneAndSortedOrder()
{
    Fixture f;
    setEntry(f.grid(), zoneRow(1, 3), QStringLiteral("Nowakowski"));
    setEntry(f.grid(), zoneRow(0, 9), QStringLiteral("Nowak"), QStringLiteral("Jan"));
    setEntry(f.grid(), zoneRow(3, 1), QStringLiteral("Abel"));
    setEntry(f.grid(), additionalNumberRow(2), QStringLiteral("Nowak"), QStringLiteral("Jan"));
    setEntry(f.grid(), zoneRow(0, 2), QStringLiteral("Nowak"));
    f.editor->page().refresh();

    // A prefix sorts first, line 2 decides between equal first lines, and
    // equal texts keep their zone order.
    QCOMPARE(describe(f.list()), (QStringList{"Abel|1|4", "Nowak|2|1", "Nowak           Jan|9|1",
                                              "Nowak           Jan|2|5", "Nowakowski|3|2"}));
    QCOMPARE(f.list().rows().front().text, padded(QStringLiteral("Abel")));

    f.editor->setSorted(false);
    QCOMPARE(describe(f.list()),
             (QStringList{"Nowak|2|1", "Nowak           Jan|9|1", "Nowakowski|3|2", "Abel|1|4",
                          "Nowak           Jan|2|5"}));
    f.editor->setSorted(true);
    QCOMPARE(f.list().rows().front().apartment, 1);
    QVERIFY(f.sink.events.isEmpty());
}

void NameListTest::onlyNonBlankEntriesHaveRows()
{
    Fixture f;
    f.editor->page().refresh();
    QCOMPARE(f.list().count(), 0);
    QVERIFY(!f.list().lamps()[0]);

    setEntry(f.grid(), zoneRow(0, 1), QString(16, u' '), QString(14, u' '));
    setEntry(f.grid(), zoneRow(0, 2), QString(), QStringLiteral("tylko linia 2"));
    setEntry(f.grid(), zoneRow(0, 3), QStringLiteral("Adam"));
    f.editor->rebuild();
    QCOMPARE(f.list().count(), 2);
    // Line 2 alone: 16 spaces first, so it sorts before names.
    QCOMPARE(f.list().rows()[0].text, padded(QString(), QStringLiteral("tylko linia 2")));
    QCOMPARE(f.list().rows()[1].apartment, 3);
}

// Each step sets the number of filled entries and rebuilds twice, as
// emptying line 1 does: the warning comes once per crossing of 1020.
void NameListTest::limitWarnsOncePerCrossing_data()
{
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<QList<int>>("excessTold");
    QTest::newRow("1020, full") << QList<int>{1020} << QList<int>{};
    QTest::newRow("every row filled") << QList<int>{1028} << QList<int>{8};
    QTest::newRow("typing on past 1020") << QList<int>{1019, 1021, 1022, 1023} << QList<int>{1};
    QTest::newRow("down and up again") << QList<int>{1021, 1020, 1022, 1025} << QList<int>{1, 2};
}

void NameListTest::limitWarnsOncePerCrossing()
{
    QFETCH(QList<int>, counts);
    QFETCH(QList<int>, excessTold);
    Fixture f;
    for (int count : counts) {
        for (int row = 1; row <= kGridRows; ++row)
            setEntry(f.grid(), row,
                     row <= count ? QStringLiteral("N%1").arg(row) : QString(6, u' '));
        f.editor->rebuild();
        f.editor->rebuild();
        QCOMPARE(f.list().count(), count);
    }
    QStringList expected;
    for (int excess : excessTold)
        expected << QStringLiteral("Reduce the number of entries - End of memory! The directory "
                                   "has %1 entries too many (the module holds 1020).")
                        .arg(excess);
    QCOMPARE(f.sink.messages, expected);
}

void NameListTest::lamps_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<QList<int>>("apartments"); // of zone 2
    QTest::addColumn<QList<int>>("lit");        // tab pages 0..8
    QTest::newRow("30 and 31") << 1 << QList<int>{30, 31} << QList<int>{0, 1};
    QTest::newRow("1 and 255") << 1 << QList<int>{1, 255} << QList<int>{0, 8};
    QTest::newRow("240 and 241") << 1 << QList<int>{240, 241} << QList<int>{7, 8};
    QTest::newRow("another zone selected") << 0 << QList<int>{30} << QList<int>{};
    QTest::newRow("additional numbers selected") << 4 << QList<int>{1} << QList<int>{};
    QTest::newRow("intro selected") << 5 << QList<int>{1} << QList<int>{};
}

void NameListTest::lamps()
{
    QFETCH(int, selector);
    QFETCH(QList<int>, apartments);
    QFETCH(QList<int>, lit);
    Fixture f;
    for (int a : apartments)
        setEntry(f.grid(), zoneRow(1, a), QStringLiteral("Lamp"));
    // An additional number with the same number never lights a zone page.
    setEntry(f.grid(), additionalNumberRow(1), QStringLiteral("Extra"));
    f.editor->page().selectPage(selector);
    QList<int> got;
    for (int page = 0; page < kTabPageCount; ++page) {
        if (f.list().lamps()[std::size_t(page)])
            got << page;
    }
    QCOMPARE(got, lit);
}

void NameListTest::disabledListIsNotRebuilt()
{
    Fixture f;
    f.editor->page().refresh();
    f.editor->list().setEnabled(false);
    setEntry(f.grid(), 1, QStringLiteral("Hidden"));
    f.editor->rebuild();
    QCOMPARE(f.list().count(), 0);
    f.editor->list().setEnabled(true);
    f.editor->rebuild();
    QCOMPARE(f.list().count(), 1);
}

void NameListTest::changedTextsGetNewKeys()
{
    Fixture f;
    setEntry(f.grid(), 1, QStringLiteral("Bartek"));
    setEntry(f.grid(), 2, QStringLiteral("Celina"));
    f.editor->page().refresh();
    QCOMPARE(describe(f.list()), (QStringList{"Bartek|1|1", "Celina|2|1"}));
    // Typed through the page: only row 2's key changes and must be recomputed.
    f.editor->page().line1Changed(2, QStringLiteral("Adam"));
    QCOMPARE(describe(f.list()), (QStringList{"Adam|2|1", "Bartek|1|1"}));
    f.editor->page().line1Changed(2, QString());
    QCOMPARE(describe(f.list()), (QStringList{"Bartek|1|1"}));
}

QTEST_GUILESS_MAIN(NameListTest)
#include "tst_namelist.moc"
