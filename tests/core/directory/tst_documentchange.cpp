#include "directory/DocumentChange.h"
#include "directory/EditStep.h"

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
    void stepOfAField_data();
    void stepOfAField();
    void viewOfAChange_data();
    void viewOfAChange();
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

void DocumentChangeTest::stepOfAField_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("name");
    QTest::addColumn<ChangeScope>("scope");
    QTest::newRow("zone 2, line 1")
        << 1 << 33 << false << "typing in zone 2, apartment 17" << ChangeScope::Grid;
    QTest::newRow("zone 1, last line 2")
        << 0 << 510 << true << "paste into zone 1, apartment 255" << ChangeScope::Grid;
    QTest::newRow("additional number 3, line 2")
        << 4 << 527 << false << "typing in additional number 3" << ChangeScope::Grid;
    QTest::newRow("intro screen 2, line 2")
        << 5 << 514 << true << "paste into intro screen 2" << ChangeScope::Intro;
    QTest::newRow("display time") << 5 << kDisplayTimeField << false << "change of the display time"
                                  << ChangeScope::Intro;
}

void DocumentChangeTest::stepOfAField()
{
    QFETCH(int, selector);
    QFETCH(int, field);
    QFETCH(bool, pasted);
    QFETCH(QString, name);
    QFETCH(ChangeScope, scope);
    const FieldStep typed = fieldStep(selector, field, pasted);
    QCOMPARE(typed.step.name(1), name);
    QCOMPARE(typed.scope, scope);
}

void DocumentChangeTest::viewOfAChange_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<int>("selector");
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("line2");
    QTest::addColumn<int>("introLine");
    QTest::addColumn<bool>("address");
    QTest::newRow("zone 3, line 1")
        << Edit([](DirectoryDocument& d) { put(d, zoneRow(2, 40), "Nowak"); }) << 2 << 40 << false
        << -1 << false;
    QTest::newRow("additional number 2, line 2 only") << Edit([](DirectoryDocument& d) {
        d.grid.setCell(additionalNumberRow(2), kLine2FirstColumn, Cell(u'x'));
    }) << 4 << 2 << true << -1 << false;
    QTest::newRow("intro line 6") << Edit([](DirectoryDocument& d) { d.fields.intro[5] = "Hej"; })
                                  << 5 << 0 << false << 5 << false;
    QTest::newRow("address") << Edit([](DirectoryDocument& d) { d.fields.address = "Adres"; }) << -1
                             << 0 << false << -1 << true;
    QTest::newRow("display time") << Edit([](DirectoryDocument& d) { d.fields.timeIndex = 3; }) << 5
                                  << 0 << false << -1 << false;
}

// Undone or redone, a change shows the page and field it changes.
void DocumentChangeTest::viewOfAChange()
{
    QFETCH(Edit, edit);
    QFETCH(int, selector);
    QFETCH(int, slot);
    QFETCH(bool, line2);
    QFETCH(int, introLine);
    QFETCH(bool, address);
    DirectoryDocument before;
    DirectoryDocument after;
    edit(after);
    const ChangeView view = viewOfChange(changeBetween(before, after, ChangeScope::Everything));
    QCOMPARE(view.selectorIndex, selector);
    QCOMPARE(view.slot, slot);
    QCOMPARE(view.line2, line2);
    QCOMPARE(view.introLine, introLine);
    QCOMPARE(view.address, address);
}

QTEST_GUILESS_MAIN(DocumentChangeTest)
#include "tst_documentchange.moc"
