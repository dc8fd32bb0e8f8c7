#include "directory/EditingRules.h"

#include <QTest>

using namespace q540;

// A refused key is written as -1.
constexpr int kRefused = -1;

class EditingRulesTest : public QObject {
    Q_OBJECT

private slots:
    void line1KeyPress_data();
    void line1KeyPress();
    void line1Delete_data();
    void line1Delete();
    void line2KeyPress_data();
    void line2KeyPress();
    void conformingText_data();
    void conformingText();
};

void EditingRulesTest::line1KeyPress_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("s");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("result");
    const auto first = [](const char* name, int c, int result) {
        QTest::newRow(name) << 0 << 0 << QString() << c << result;
    };
    first("a first becomes A", 'a', 'A');
    first("z first becomes Z", 'z', 'Z');
    first("capital first", 'K', 'K');
    first("digit first", '7', kRefused);
    first("hyphen first", '-', kRefused);
    first("exclamation (33) first", '!', kRefused);
    first("at sign (64) first", '@', kRefused);
    first("square bracket first", '[', kRefused);
    first("backquote (96) first", '`', kRefused);
    first("curly bracket first", '{', kRefused);
    first("tilde first", '~', kRefused);
    first("128 first", 128, kRefused);
    first("129 first is let through", 129, 129);
    first("space first", ' ', kRefused);
    first("semicolon first", ';', kRefused);
    first("small l with stroke first, unchanged", 0x142, 0x142);
    first("control character first", 1, 1);
    const auto later = [](const char* name, int c, int result) {
        QTest::newRow(name) << 2 << 0 << QStringLiteral("Ab") << c << result;
    };
    later("digit later", '7', '7');
    later("small letter later", 'a', 'a');
    later("space later", ' ', ' ');
    later("hyphen later", '-', '-');
    later("semicolon later becomes comma", ';', ',');
    QTest::newRow("semicolon in the middle") << 1 << 0 << "Ab" << int(';') << int(',');
    QTest::newRow("replacing a selection at the start by a letter")
        << 0 << 2 << "AB C" << int('x') << int('X');
    // Backspace and 127 keep a space from becoming the first character.
    QTest::newRow("A space B, caret after A: Backspace") << 1 << 0 << "A B" << 8 << kRefused;
    QTest::newRow("A space B, caret after A: 127") << 1 << 0 << "A B" << 127 << kRefused;
    QTest::newRow("AB, caret after A: Backspace") << 1 << 0 << "AB" << 8 << 8;
    QTest::newRow("p=1 ignores the selection") << 1 << 2 << "A BC" << 8 << kRefused;
    QTest::newRow("AB C, first two selected: Backspace") << 0 << 2 << "AB C" << 8 << kRefused;
    QTest::newRow("AB C, all selected: Backspace") << 0 << 4 << "AB C" << 8 << 8;
    QTest::newRow("AB C, first selected: Backspace") << 0 << 1 << "AB C" << 8 << 8;
    QTest::newRow("caret at start, no selection, space next") << 0 << 0 << " A" << 8 << kRefused;
    QTest::newRow("Backspace later") << 3 << 0 << "A B" << 8 << 8;
}

void EditingRulesTest::line1KeyPress()
{
    QFETCH(int, p);
    QFETCH(int, s);
    QFETCH(QString, text);
    QFETCH(int, c);
    QFETCH(int, result);
    const std::optional<char16_t> typed = Edit1KeyPress(p, s, text, char16_t(c));
    QCOMPARE(typed ? int(*typed) : kRefused, result);
}

void EditingRulesTest::line1Delete_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("s");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("A space B, caret before A") << 0 << 0 << "A B" << kDeleteKey << false;
    QTest::newRow("AB, caret before A") << 0 << 0 << "AB" << kDeleteKey << true;
    QTest::newRow("AB C, first two selected") << 0 << 2 << "AB C" << kDeleteKey << false;
    QTest::newRow("AB C, all selected") << 0 << 4 << "AB C" << kDeleteKey << true;
    QTest::newRow("A BC, first selected: space follows") << 0 << 1 << "A BC" << kDeleteKey << false;
    QTest::newRow("one character") << 0 << 0 << "A" << kDeleteKey << true;
    QTest::newRow("later position") << 1 << 0 << "A B" << kDeleteKey << true;
    QTest::newRow("another key") << 0 << 0 << "A B" << 37 << true;
}

void EditingRulesTest::line1Delete()
{
    QFETCH(int, p);
    QFETCH(int, s);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(bool, allowed);
    QCOMPARE(line1KeyAllowed(p, s, text, key), allowed);
}

void EditingRulesTest::line2KeyPress_data()
{
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("result");
    QTest::newRow("semicolon") << int(';') << int(',');
    QTest::newRow("space") << int(' ') << int(' ');
    QTest::newRow("digit") << int('1') << int('1');
    QTest::newRow("small letter") << int('a') << int('a');
    QTest::newRow("Polish letter") << 0x105 << 0x105;
}

void EditingRulesTest::line2KeyPress()
{
    QFETCH(int, c);
    QFETCH(int, result);
    QCOMPARE(int(line2Character(char16_t(c))), result);
}

void EditingRulesTest::conformingText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("other"); // line 2, intro and address
    QTest::newRow("good text stays") << "Kowalski Jan"
                                     << "Kowalski Jan"
                                     << "Kowalski Jan";
    QTest::newRow("TAB, LF, CR, ESC, DEL and C1 go") << "Ko\twal\nski\r\x1b\x7f\u0085\u009f"
                                                     << "Kowalski"
                                                     << "Kowalski";
    QTest::newRow("NUL goes") << QString::fromLatin1("Ab\0c", 4) << "Abc"
                              << "Abc";
    QTest::newRow("semicolons become commas") << "Nowak;Jan;"
                                              << "Nowak,Jan,"
                                              << "Nowak,Jan,";
    QTest::newRow("leading space, digits and marks go from line 1") << " 12;.-nowak"
                                                                    << "Nowak"
                                                                    << " 12,.-nowak";
    QTest::newRow("a control before a space does not shield it") << "\t Zieliński"
                                                                 << "Zieliński"
                                                                 << " Zieliński";
    QTest::newRow("small ASCII letter in front") << "abacki"
                                                 << "Abacki"
                                                 << "abacki";
    QTest::newRow("small Polish letter stays") << "ćma"
                                               << "ćma"
                                               << "ćma";
    QTest::newRow("nothing but refused") << " \t1;"
                                         << ""
                                         << " 1,";
    QTest::newRow("marks inside stay") << "O'Neil-Smith 2"
                                       << "O'Neil-Smith 2"
                                       << "O'Neil-Smith 2";
}

void EditingRulesTest::conformingText()
{
    QFETCH(QString, text);
    QFETCH(QString, line1);
    QFETCH(QString, other);
    QCOMPARE(q540::conformingText(text, true), line1);
    QCOMPARE(q540::conformingText(text, false), other);
    // What conforms stays as it is.
    QCOMPARE(q540::conformingText(line1, true), line1);
    QCOMPARE(q540::conformingText(other, false), other);
}

QTEST_GUILESS_MAIN(EditingRulesTest)
#include "tst_editingrules.moc"
