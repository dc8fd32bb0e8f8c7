#include "TransferFixture.h"

#include "directory/DirectoryEditor.h"
#include "module/DirectoryRead.h"
#include "module/DirectoryWrite.h"
#include "protocol/CharacterTable.h"

#include <QTest>

using namespace q540;
using namespace q540::test;
using Ending = q540::DirectoryReadResult::Ending;

namespace {

struct Placed {
    int position;
    QByteArray text; // module codes, padded to 30 with spaces
    int apartment;
    int zoneByte;
};
using Placements = QList<Placed>;
using RowTexts = QMap<int, QString>;

QByteArray blockOf(const Placed& p)
{
    return p.text.leftJustified(30, ' ') + char(p.apartment) + char(p.zoneByte);
}

QString line(const QString& text)
{
    return text.leftJustified(30, u' ');
}

// A grid with one entry in every zone and among the additional numbers, so
// that a read is seen to replace it.
DirectoryGrid userGrid()
{
    DirectoryGrid grid;
    for (int row : {5, 300, 1021}) {
        for (int column = 1; column <= 3; ++column)
            grid.setCell(row, column, Cell(u'U'));
    }
    return grid;
}

} // namespace

Q_DECLARE_METATYPE(Placements)
Q_DECLARE_METATYPE(Ending)
Q_DECLARE_METATYPE(DirectoryGrid)

class DirectoryReadTest : public QObject {
    Q_OBJECT

private slots:
    void cases_data();
    void cases();
    void fullCount_data();
    void fullCount();
    void applied_data();
    void applied();
    void roundTrip_data();
    void roundTrip();
    void readTakesTheModulesAlphabeticalSearch_data();
    void readTakesTheModulesAlphabeticalSearch();
};

void DirectoryReadTest::cases_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<Placements>("blocks");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<RowTexts>("rows");
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<int>("entryCount"); // the module's count afterwards
    const QStringList read{"Dane zostały odczytane!"};
    const QString readError = QStringLiteral("Błąd odczytu - proszę ponowić odczyt");

    QTest::newRow("erase blank") << 1 << Placements{{0, "", 1, 0}} << QStringList{"Brak wpisów"}
                                 << RowTexts{} << Ending::ErasedModule << 0;
    QTest::newRow("one real entry") << 1 << Placements{{0, "Adam", 1, 0x40}} << read
                                    << RowTexts{{1, line("Adam")}} << Ending::Completed << 1;
    QTest::newRow("line 1 starting with a space is no erase blank")
        << 1 << Placements{{0, " Adam", 1, 0}} << read << RowTexts{{1, line(" Adam")}}
        << Ending::Completed << 1;
    Placements zone4;
    RowTexts zone4Rows;
    for (int p = 0; p < 16; ++p) {
        zone4 << Placed{p, "Filler", p + 1, 0x03};
        zone4Rows[zoneRow(3, p + 1)] = line("Filler");
    }
    zone4 << Placed{16, "Brama", 2, 0x9C} << Placed{17, "Dozorca", 8, 0x04};
    zone4Rows[1022] = line("Brama");
    zone4Rows[1028] = line("Dozorca");
    QTest::newRow("zone byte 0x9C is an additional number")
        << 18 << zone4 << read << zone4Rows << Ending::Completed << 18;
    QTest::newRow("zone code ignores bit 3")
        << 1 << Placements{{0, "Ewa", 255, 0x0B}} << read << RowTexts{{1020, line("Ewa")}}
        << Ending::Completed << 1;
    QTest::newRow("same row twice: the later block wins")
        << 2 << Placements{{0, "Pierwszy", 4, 1}, {1, "Drugi", 4, 1}} << read
        << RowTexts{{259, line("Drugi")}} << Ending::Completed << 2;
    QTest::newRow("255 reads as a space, code 10 as a")
        << 1 << Placements{{0, QByteArray("Z") + char(10) + char(0xFF) + char(0xFF) + "B", 3, 2}}
        << read << RowTexts{{513, line(QStringLiteral("Zą  B"))}} << Ending::Completed << 1;
    QTest::newRow("apartment 0 in the middle")
        << 3 << Placements{{0, "Anna", 1, 0}, {1, "Zero", 0, 0}, {2, "Celina", 3, 0}}
        << QStringList{readError} << RowTexts{{3, line("Celina")}} << Ending::InvalidBlock << 0;
    QTest::newRow("zone code 5") << 1 << Placements{{0, "Nikt", 1, 5}} << QStringList{readError}
                                 << RowTexts{} << Ending::InvalidBlock << 0;
    QTest::newRow("additional number 9 has no row")
        << 1 << Placements{{0, "Nikt", 9, 4}} << QStringList{readError} << RowTexts{}
        << Ending::InvalidBlock << 0;
}

void DirectoryReadTest::cases()
{
    QFETCH(int, count);
    QFETCH(Placements, blocks);
    QFETCH(QStringList, messages);
    QFETCH(RowTexts, rows);
    QFETCH(Ending, ending);
    QFETCH(int, entryCount);
    TransferFixture f;
    for (const Placed& p : blocks)
        f.setBlock(p.position, blockOf(p));
    f.module.setEntryCount(count);
    const DirectoryReadResult result =
        receiveDirectory(f.context, userGrid(), f.password, f.status);

    QCOMPARE(result.ending, ending);
    QCOMPARE(f.sink.messages, messages);
    QCOMPARE(f.status.entryCount, entryCount);
    for (int row = 1; row <= kGridRows; ++row) {
        const QString expected = rows.value(row);
        QCOMPARE(result.grid.entryText(row), expected.isEmpty() ? line("") : expected);
    }
    QList<QByteArray> expectedFrames{bytes({17, 22, 40}), bytes({13, 1, 15})};
    for (int p = 0; p < count; ++p)
        expectedFrames << bytes({23, p, p + 24});
    QCOMPARE(f.frames(), expectedFrames);
    QVERIFY(f.endedCleanly());
}

void DirectoryReadTest::fullCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("probe"); // a position whose block goes to probeRow
    QTest::addColumn<QByteArray>("probeFrame");
    QTest::addColumn<int>("probeRow");
    QTest::newRow("position 515 of 516") << 516 << 515 << bytes({112, 3, 116}) << 522;
    QTest::newRow("count 1500 reads 0..1019") << 1500 << 1019 << bytes({113, 251, 109}) << 522;
}

void DirectoryReadTest::fullCount()
{
    QFETCH(int, count);
    QFETCH(int, probe);
    QFETCH(QByteArray, probeFrame);
    QFETCH(int, probeRow);
    TransferFixture f;
    // Every other position holds an entry of zone 4, which never lands on probeRow.
    for (int p = 0; p < 1024; ++p)
        f.setBlock(p, blockOf({p, "Filler", p % 255 + 1, 0x03}));
    f.setBlock(probe, blockOf({probe, "Probe", 12, 0x52}));
    f.module.setEntryCount(count);
    const DirectoryReadResult result =
        receiveDirectory(f.context, userGrid(), f.password, f.status);

    QCOMPARE(result.ending, Ending::Completed);
    QCOMPARE(result.grid.entryText(probeRow), line("Probe"));
    const QList<QByteArray> frames = f.frames();
    QCOMPARE(frames.size(), 2 + std::min(count, 1020));
    QCOMPARE(frames.last(), probeFrame);
    QCOMPARE(f.sink.progressMaximum, std::min(count, 1020) - 1);
    QCOMPARE(f.sink.messages, QStringList{"Dane zostały odczytane!"});
    QVERIFY(f.endedCleanly());
}

void DirectoryReadTest::applied_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("refused") << Ending::Refused << false;
    QTest::newRow("completed") << Ending::Completed << true;
    QTest::newRow("invalid block") << Ending::InvalidBlock << true;
}

void DirectoryReadTest::applied()
{
    QFETCH(Ending, ending);
    QFETCH(bool, replaced);
    RecordingSink sink;
    Localisation texts;
    texts.load();
    DirectoryEditor editor(sink, texts);
    editor.grid() = userGrid();
    editor.page().refresh();
    DirectoryReadResult result;
    result.ending = ending;
    result.grid.setCell(zoneRow(0, 2), 1, Cell(u'R'));
    applyDirectoryRead(result, editor);

    QCOMPARE(editor.grid() == result.grid, replaced);
    QCOMPARE(editor.list().count(), replaced ? 1 : 3);
    QCOMPARE(editor.page().slot(2).line1, replaced ? QStringLiteral("R") : QString());
}

void DirectoryReadTest::roundTrip_data()
{
    QTest::addColumn<DirectoryGrid>("grid");
    // Every character of the module's table and every printable ASCII
    // character, 30 to an entry, spread over the zones and additional numbers.
    QString all;
    for (char16_t c = u'!'; c <= u'~'; ++c)
        all += QChar(c);
    for (const auto& mapping : charset::kModuleCharacters)
        all += QChar(mapping.unit);
    DirectoryGrid characters;
    int row = 1;
    for (qsizetype i = 0; i < all.size(); i += 30, row += 150) {
        const QString text = all.mid(i, 30);
        for (int column = 1; column <= text.size(); ++column)
            characters.setCell(row, column, Cell(text.at(column - 1)));
    }
    for (int k = 1; k <= 8; ++k)
        characters.setCell(additionalNumberRow(k), 1, Cell(all.at(k)));
    QTest::newRow("every module character") << characters;

    DirectoryGrid full;
    for (int r = 1; r <= kZoneCount * kApartmentsPerZone; ++r) {
        const QString text = QStringLiteral("Mieszkaniec %1").arg(r);
        for (int column = 1; column <= text.size(); ++column)
            full.setCell(r, column, Cell(text.at(column - 1)));
        full.setCell(r, kLine2FirstColumn, Cell(u'a' + char16_t(r % 26)));
    }
    QTest::newRow("1020 entries") << full;
}

void DirectoryReadTest::roundTrip()
{
    QFETCH(DirectoryGrid, grid);
    TransferFixture f;
    NameList list(grid);
    list.rebuild(0, f.sink, f.texts);
    sendDirectory(f.context, list.rows(), f.password, f.status);
    const DirectoryReadResult result =
        receiveDirectory(f.context, userGrid(), f.password, f.status);

    QCOMPARE(result.ending, Ending::Completed);
    QCOMPARE(f.sink.messages,
             (QStringList{"Dane zostały zapisane do modułu!", "Dane zostały odczytane!"}));
    for (int r = 1; r <= kGridRows; ++r)
        QCOMPARE(result.grid.entryText(r), grid.entryText(r));
}

void DirectoryReadTest::readTakesTheModulesAlphabeticalSearch_data()
{
    QTest::addColumn<bool>("moduleOn");
    QTest::newRow("module's search off") << false;
    QTest::newRow("module's search on") << true;
}

// The poll takes the switch only once; a read takes it from the module again,
// whatever the tick said before.
void DirectoryReadTest::readTakesTheModulesAlphabeticalSearch()
{
    QFETCH(bool, moduleOn);
    TransferFixture f;
    f.module.setAlphabeticalSearch(moduleOn);
    f.status.chosen.alphabeticalSearch = !moduleOn;
    receiveDirectory(f.context, DirectoryGrid(), f.password, f.status);
    QCOMPARE(f.status.chosen.alphabeticalSearch, moduleOn);
}

QTEST_GUILESS_MAIN(DirectoryReadTest)
#include "tst_directoryread.moc"
