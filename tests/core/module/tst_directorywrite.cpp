#include "TransferFixture.h"

#include "module/Configuration.h"
#include "module/DirectoryWrite.h"
#include "module/IntroTransfer.h"

#include <QTest>

using namespace q540;
using namespace q540::test;

namespace {

using Nibbles = QList<int>;

// n entries of zone 1..4 in turn, apartment p div 4 + 1, named after their position.
std::vector<NameRow> entries(int n)
{
    std::vector<NameRow> rows;
    for (int p = 0; p < n; ++p)
        rows.push_back(entry(QStringLiteral("N%1").arg(p), QStringLiteral("L%1").arg(p),
                             p / 4 % 255 + 1, p % 4 + 1));
    return rows;
}

} // namespace

class DirectoryWriteTest : public QObject {
    Q_OBJECT

private slots:
    void nibbles_data();
    void nibbles();
    void listSizes_data();
    void listSizes();
    void singleEntry_data();
    void singleEntry();
    void erase_data();
    void erase();
    void overLimit();
    void unshowableCharacterSendsNothing_data();
    void unshowableCharacterSendsNothing();
    void writtenDisplayTimeIsWhatTheIntroReadFinds_data();
    void writtenDisplayTimeIsWhatTheIntroReadFinds();
};

void DirectoryWriteTest::nibbles_data()
{
    QTest::addColumn<int>("countField");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("resetLocked");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("timeIndex");
    QTest::addColumn<bool>("alphabetical");
    QTest::addColumn<Nibbles>("expected");
    QTest::newRow("20 entries, reset allowed")
        << 19 << "1234" << false << 1 << 4 << true
        << Nibbles{3, 1, 0, 12, 0, 2, 10, 1, 0, 0, 0, 5, 8, 15, 15, 15};
    QTest::newRow("reset locked: second half div 16 alone")
        << 19 << "1234" << true << 1 << 4 << true
        << Nibbles{3, 1, 0, 12, 0, 2, 2, 1, 0, 0, 0, 5, 8, 15, 15, 15};
    QTest::newRow("1020 entries, password 9999")
        << 1019 << "9999" << false << 7 << 14 << false
        << Nibbles{11, 15, 3, 3, 6, 3, 14, 7, 0, 0, 0, 15, 0, 15, 15, 15};
    QTest::newRow("erase, no time selected")
        << 0 << "0000" << true << 0 << -1 << false
        << Nibbles{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15, 15, 15};
}

void DirectoryWriteTest::nibbles()
{
    QFETCH(int, countField);
    QFETCH(QString, password);
    QFETCH(bool, resetLocked);
    QFETCH(int, language);
    QFETCH(int, timeIndex);
    QFETCH(bool, alphabetical);
    QFETCH(Nibbles, expected);
    ModuleStatus status;
    status.chosen.resetLock = resetLocked;
    status.moduleLanguage = language;
    status.introTimeIndex = timeIndex;
    status.chosen.alphabeticalSearch = alphabetical;
    const ConfigurationNibbles n = configurationNibbles(countField, password, status);
    QCOMPARE(Nibbles(n.begin(), n.end()), expected);
}

void DirectoryWriteTest::listSizes_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("lastFrame");
    QTest::newRow("15: configuration sent apart") << 15 << bytes({22, 14, 37});
    QTest::newRow("16: configuration in the blocks") << 16 << bytes({22, 15, 38});
    QTest::newRow("20") << 20 << bytes({22, 19, 42});
    QTest::newRow("301: position 300 is 24, 44, 69") << 301 << bytes({24, 44, 69});
    QTest::newRow("1020") << 1020 << bytes({26, 251, 22});
}

void DirectoryWriteTest::listSizes()
{
    QFETCH(int, size);
    QFETCH(QByteArray, lastFrame);
    TransferFixture f;
    const std::vector<NameRow> rows = entries(size);
    sendDirectory(f.context, rows, f.password, f.status);

    QCOMPARE(f.sink.messages, QStringList{"Dane zostały zapisane do modułu!"});
    QVERIFY(f.endedCleanly());
    QCOMPARE(f.sink.progressMaximum, size - 1);
    QCOMPARE(f.sink.progressPosition, size);
    const QList<QByteArray> frames = f.frames();
    const bool apart = size < 16;
    QCOMPARE(frames.size(), 2 + size + (apart ? 1 : 0));
    QCOMPARE(frames.at(2 + size - 1), lastFrame);
    QCOMPARE(frames.last() == bytes({13, 2, 16}), apart);

    QCOMPARE(f.module.entryCount(), size);
    for (int p = 0; p < size; ++p) {
        const QByteArray b = f.block(p);
        QCOMPARE(b.left(30), rows[std::size_t(p)].text.toLatin1());
        QCOMPARE(int(quint8(b[30])), rows[std::size_t(p)].apartment);
        QCOMPARE(int(quint8(b[31])) & 0x0F, rows[std::size_t(p)].zone - 1);
        const int nibble = p < 16 ? TransferFixture::kNibbles[std::size_t(p)] : 0;
        // Nibbles 0..2 hold the count, compared as the module's entry count below.
        if (p >= 3)
            QCOMPARE(int(quint8(b[31])) >> 4, nibble);
    }
    QCOMPARE(f.module.passwordFirstHalf(), 12);
    QCOMPARE(f.module.passwordSecondHalf(), 34);
    QVERIFY(f.module.resetAllowed());
    QCOMPARE(f.module.languageCode(), 1);
    QCOMPARE(f.module.configurationNibble(11), 5);
    QVERIFY(f.module.alphabeticalSearch());
}

void DirectoryWriteTest::singleEntry_data()
{
    QTest::addColumn<NameRow>("row");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zone 2, apartment 7")
        << entry("KOWALSKI", "", 7, 2) << asciiText("KOWALSKI", 30);
    QTest::newRow("additional number 3") << entry("Portier", "", 3, 5) << asciiText("Portier", 30);
    QTest::newRow("Polish letters")
        << entry(QStringLiteral("Łódź"), QStringLiteral("ć"), 1, 1)
        << bytes({4, 15, 100, 17}) + asciiText("", 12) + bytes({11}) + asciiText("", 13);
}

void DirectoryWriteTest::singleEntry()
{
    QFETCH(NameRow, row);
    QFETCH(QByteArray, text);
    TransferFixture f;
    sendDirectory(f.context, {row}, f.password, f.status);

    const int zoneCode = row.zone - 1;
    QByteArray configuration;
    for (int k = 0; k < 16; ++k)
        configuration +=
            char(16 * TransferFixture::kNibbles[std::size_t(k)] + (k == 0 ? zoneCode : 0));
    const QByteArray expected = TransferFixture::identificationBytes() + bytes({22, 0, 23}) + text
                                + char(row.apartment) + char(zoneCode) + bytes({13, 2, 16})
                                + configuration;
    QCOMPARE(f.module.sentBytes(), expected);
    QCOMPARE(f.block(0).left(31), text + char(row.apartment));
    QCOMPARE(f.module.entryCount(), 1);
    QCOMPARE(f.sink.messages, QStringList{"Dane zostały zapisane do modułu!"});
    QVERIFY(f.endedCleanly());
}

void DirectoryWriteTest::erase_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("answered Yes") << true;
    QTest::newRow("answered No") << false;
}

void DirectoryWriteTest::erase()
{
    QFETCH(bool, yes);
    TransferFixture f;
    f.module.setEntryCount(40);
    f.sink.answerYes = yes;
    sendDirectory(f.context, {}, f.password, f.status);

    QCOMPARE(f.sink.questions,
             QStringList{QStringLiteral("Brak wpisów\nCzy skasować całą zawartość pamięci?   ")});
    if (!yes) {
        QVERIFY(f.module.transcript().empty());
        QVERIFY(f.poll.events.isEmpty());
        QVERIFY(f.sink.messages.isEmpty());
        return;
    }
    QByteArray configuration;
    for (int k = 0; k < 16; ++k)
        configuration += char(16 * TransferFixture::kNibbles[std::size_t(k)]);
    QCOMPARE(f.module.sentBytes(), TransferFixture::identificationBytes() + bytes({22, 0, 23})
                                       + asciiText("", 30) + bytes({1, 0}) + bytes({13, 2, 16})
                                       + configuration);
    QCOMPARE(f.module.entryCount(), 1);
    QCOMPARE(f.sink.messages, QStringList{"Dane zostały skasowane."});
    QVERIFY(f.endedCleanly());
}

void DirectoryWriteTest::overLimit()
{
    TransferFixture f(1);
    sendDirectory(f.context, entries(1021), f.password, f.status);
    QCOMPARE(f.sink.messages,
             QStringList{QStringLiteral(
                 "Przekroczono o:  1 ilość wpisów\n Maksymalna ilość to 1020 wpisów")});
    QCOMPARE(f.module.sentBytes(), TransferFixture::identificationBytes());
    QCOMPARE(f.sink.progressMaximum, 1020);
    QVERIFY(f.endedCleanly());
}

void DirectoryWriteTest::unshowableCharacterSendsNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("character");
    QTest::addColumn<QString>("message");
    QTest::newRow("euro in row 4")
        << 4 << 3 << 0x20AC
        << QStringLiteral("Znak ( € ) w Lokalu nr: 2  nie jest obsługiwany przez moduł!");
    QTest::newRow("TAB in row 0")
        << 0 << 5 << 0x09
        << QStringLiteral("Znak ( U+0009 ) w Lokalu nr: 1  nie jest obsługiwany przez moduł!");
    QTest::newRow("line feed in line 2 of row 7")
        << 7 << 20 << 0x0A
        << QStringLiteral("Znak ( U+000A ) w Lokalu nr: 2  nie jest obsługiwany przez moduł!");
    QTest::newRow("C1 control in the last row")
        << 7 << 0 << 0x9B
        << QStringLiteral("Znak ( U+009B ) w Lokalu nr: 2  nie jest obsługiwany przez moduł!");
}

// Every entry is converted before the first byte goes: the module keeps its
// old directory whole instead of a mixture of old and new.
void DirectoryWriteTest::unshowableCharacterSendsNothing()
{
    QFETCH(int, row);
    QFETCH(int, position);
    QFETCH(int, character);
    QFETCH(QString, message);
    TransferFixture f;
    std::vector<NameRow> rows = entries(8);
    rows[std::size_t(row)].text[position] = QChar(char16_t(character));
    sendDirectory(f.context, rows, f.password, f.status);

    QCOMPARE(f.sink.messages, QStringList{message});
    QCOMPARE(f.module.transcript().size(), std::size_t(0));
    QVERIFY(f.poll.events.isEmpty()); // refused before the poll was stopped
    for (int p = 0; p < 8; ++p)
        QCOMPARE(f.block(p).left(31), QByteArray(31, char(0xFF)));
}

void DirectoryWriteTest::writtenDisplayTimeIsWhatTheIntroReadFinds_data()
{
    QTest::addColumn<int>("entries"); // the configuration in the blocks, or after them
    QTest::newRow("in the entries' blocks") << 20;
    QTest::newRow("written on its own") << 3;
}

// The module keeps one display time: the one a directory write's configuration
// carries is the one its intro-time query answers afterwards.
void DirectoryWriteTest::writtenDisplayTimeIsWhatTheIntroReadFinds()
{
    QFETCH(int, entries);
    TransferFixture f;
    sendDirectory(f.context, ::entries(entries), f.password, f.status,
                  {[](ModuleStatus& status) { status.introTimeIndex = 8; }});
    QCOMPARE(f.module.introTime(), 9);
    f.status.introTimeIndex = 0;
    receiveIntro(f.context, IntroLines{}, f.status);
    QCOMPARE(f.status.introTimeIndex, 8);
}

QTEST_GUILESS_MAIN(DirectoryWriteTest)
#include "tst_directorywrite.moc"
