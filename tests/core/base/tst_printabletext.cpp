// Text from files made printable: what is escaped, what stays, and where the
// line breaks of a message survive.

#include "base/PrintableText.h"

#include <QTest>

using namespace q540;
using namespace Qt::StringLiterals;

class PrintableTextTest : public QObject {
    Q_OBJECT

private slots:
    void escapes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printable");
        QTest::addColumn<QString>("lines"); // printableLines, where it differs
        const auto row = [](const char* name, const QString& text, const QString& printable,
                            const QString& lines = {}) {
            QTest::newRow(name) << text << printable << (lines.isNull() ? printable : lines);
        };
        row("letters, spaces, a backslash", u"Żółć Größe a\\b\u00A0c"_s,
            u"Żółć Größe a\\b\u00A0c"_s);
        row("title and clear screen", u"\x1B]2;x\x07\x1B[2J"_s, u"\\x1B]2;x\\x07\\x1B[2J"_s);
        row("NUL and DEL", u"a\0b\x7F"_s, u"a\\x00b\\x7F"_s);
        row("tab, CR, LF", u"a\tb\rc\nd"_s, u"a\\x09b\\x0Dc\\x0Ad"_s, u"a\\x09b\\x0Dc\nd"_s);
        row("C1 controls", u"\u0080\u0085\u009B\u009F"_s, u"\\u0080\\u0085\\u009B\\u009F"_s);
        row("direction overrides", u"\u202A\u202E\u2066\u2069"_s,
            u"\\u202A\\u202E\\u2066\\u2069"_s);
        row("bytes of a file name that are not UTF-8", u"caf\xDCE9\xDC80"_s, u"caf\\xE9\\x80"_s);
        row("their neighbours stay", u"\u2029\u202F\u2065\u206A"_s, u"\u2029\u202F\u2065\u206A"_s);
    }
    void escapes()
    {
        QFETCH(QString, text);
        QFETCH(QString, printable);
        QFETCH(QString, lines);
        QCOMPARE(printableText(text), printable);
        QCOMPARE(printableLines(text), lines);
    }
};

QTEST_GUILESS_MAIN(PrintableTextTest)
#include "tst_printabletext.moc"
