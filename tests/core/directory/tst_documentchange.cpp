#include "directory/DocumentChange.h"

#include <QTest>

#include <functional>

using namespace q540;

namespace {

void put(DirectoryDocument& document, int row, const QString& text)
{
    for (int c = 0; c < text.size(); ++c)
        document.grid.setCell(row, c + 1, Cell(text.at(c)));
}

using Edit = std::function<void(DirectoryDocument&)>;

} // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(ChangeScope)

class DocumentChangeTest : public QObject {
    Q_OBJECT

private slots:
    void scopeKeepsOutWhatIsNotTheStep_data();
    void scopeKeepsOutWhatIsNotTheStep();
    void twoStepsJoinIntoOne_data();
    void twoStepsJoinIntoOne();
    void undoLeavesWhatCameLaterAlone();
};

void DocumentChangeTest::scopeKeepsOutWhatIsNotTheStep_data()
{
    QTest::addColumn<ChangeScope>("scope");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("address");
    QTest::addColumn<bool>("intro");
    QTest::newRow("grid") << ChangeScope::Grid << 2 << false << false;
    QTest::newRow("intro") << ChangeScope::Intro << 0 << false << true;
    QTest::newRow("address") << ChangeScope::Address << 0 << true << false;
    QTest::newRow("everything") << ChangeScope::Everything << 2 << true << true;
}

// Two rows, the address, an intro line, the time and the module language
// change; a step takes only what its scope holds, never the module language.
void DocumentChangeTest::scopeKeepsOutWhatIsNotTheStep()
{
    QFETCH(ChangeScope, scope);
    QFETCH(int, rows);
    QFETCH(bool, address);
    QFETCH(bool, intro);
    DirectoryDocument before;
    DirectoryDocument after;
    put(after, zoneRow(1, 17), "Nowak");
    put(after, additionalNumberRow(8), "Portier");
    after.fields.address = "ul. Długa 5";
    after.fields.intro[3] = "Witamy";
    after.fields.timeIndex = 9;
    after.fields.moduleLanguage = 4;
    const DocumentChange change = changeBetween(before, after, scope);
    QCOMPARE(int(change.rows.size()), rows);
    QCOMPARE(change.firstRow(), rows ? zoneRow(1, 17) : 0);
    QCOMPARE(change.changesAddress(), address);
    QCOMPARE(change.firstIntroLine(), intro ? 3 : -1);
    QCOMPARE(change.changesTime(), intro);
    DirectoryDocument undone = after;
    applyChange(undone, change, true);
    QCOMPARE(undone.grid == before.grid, rows > 0);
    QCOMPARE(undone.fields.address, address ? QString() : after.fields.address);
    QCOMPARE(undone.fields.intro[3], intro ? QString() : after.fields.intro[3]);
    QCOMPARE(undone.fields.moduleLanguage, 4);
    applyChange(undone, change, false);
    QVERIFY(undone == after);
}

void DocumentChangeTest::twoStepsJoinIntoOne_data()
{
    QTest::addColumn<Edit>("first");
    QTest::addColumn<Edit>("second");
    QTest::addColumn<int>("rows");
    QTest::newRow("one row typed on")
        << Edit([](DirectoryDocument& d) { put(d, 3, "Ko"); })
        << Edit([](DirectoryDocument& d) { put(d, 3, "Kowal"); }) << 1;
    QTest::newRow("typed and deleted again")
        << Edit([](DirectoryDocument& d) { put(d, 3, "K"); })
        << Edit([](DirectoryDocument& d) { d.grid.setCell(3, 1, Cell()); }) << 0;
    QTest::newRow("two rows, the address between") << Edit([](DirectoryDocument& d) {
        put(d, 3, "A");
        d.fields.address = "Adres";
    }) << Edit([](DirectoryDocument& d) {
        put(d, 4, "B");
        d.fields.intro[0] = "Intro";
    }) << 2;
}

// A burst joined gives back the state before its first change and after its
// last, whichever fields each part touched.
void DocumentChangeTest::twoStepsJoinIntoOne()
{
    QFETCH(Edit, first);
    QFETCH(Edit, second);
    QFETCH(int, rows);
    DirectoryDocument start;
    put(start, 1, "Stały");
    DirectoryDocument middle = start;
    first(middle);
    DirectoryDocument end = middle;
    second(end);
    const DocumentChange change = joined(changeBetween(start, middle, ChangeScope::Everything),
                                         changeBetween(middle, end, ChangeScope::Everything));
    QCOMPARE(int(change.rows.size()), rows);
    DirectoryDocument undone = end;
    applyChange(undone, change, true);
    QVERIFY(undone == start);
    applyChange(undone, change, false);
    QVERIFY(undone == end);
}

// Undoing an early step in a document that went on since keeps the later
// rows and fields.
void DocumentChangeTest::undoLeavesWhatCameLaterAlone()
{
    DirectoryDocument start;
    DirectoryDocument typed = start;
    put(typed, 5, "Nowak");
    const DocumentChange change = changeBetween(start, typed, ChangeScope::Grid);
    DirectoryDocument later = typed;
    put(later, 6, "Zięba");
    later.fields.intro[1] = "Hej";
    applyChange(later, change, true);
    QVERIFY(later.grid.isEntryEmpty(5));
    QCOMPARE(later.grid.entryText(6).trimmed(), "Zięba");
    QCOMPARE(later.fields.intro[1], "Hej");
}

QTEST_GUILESS_MAIN(DocumentChangeTest)
#include "tst_documentchange.moc"
